// The regular-expression engine of the masked editors. A pattern compiles into
// a nondeterministic automaton that is fed one character at a time: it tells
// whether a character may follow the text so far (Next), takes characters back
// (Prev) and whether the text is a complete match (IsFinal). With UpdateOn it
// also types the characters the pattern forces next (OnSymbolUpdate) and takes
// them back with the character that forced them (OnSymbolDelete).
//
// Classes in this file:
//   TcxRegExprLexemCode, TcxLexem, TcxLexems   the pattern's lexems
//   TcxRegExprError, TcxRegExprErrors          compile errors with their positions
//   EcxRegExprError                            a failed compilation
//   TcxRegExpr                                 the engine
//
// Syntax: literals, quoted text ('it''s'), escapes (\d \D \w \W \s \S, \a \e
// \f \n \r \t, \p the decimal separator at compile time, \xhh, \N a copy of
// group N's pattern), '.', '/' and ':' (the date and time separators at match
// time), classes [a-z] [^...], groups, '|', and the quantifiers ? * + {n}
// {n,} {n,m}. White space outside quoted text is ignored. There are no anchors.
//
// Limits that keep a hostile pattern from exhausting the machine: groups nest
// at most MaxNesting deep (by parentheses, and again by quantifier wraps,
// brace expansions and group copies); a pattern expands to at most
// MaxExpandedItems character tests (a class counts its members too). A
// pattern beyond them fails to compile with the message of the construct
// that overflowed.
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "platform/classes/Streams.h"

#include <memory>
#include <vector>

enum TcxRegExprLexemCode {
  relcSymbol,
  relcSpecial,
  relcInteger,
  relcAll,
  relcId,
  relcNotId,
  relcDigit,
  relcNotDigit,
  relcSpace,
  relcNotSpace,
  relcReference,
  relcDateSeparator,
  relcTimeSeparator
};

struct TcxLexem {
  int Char = 0;  // column of the lexem's first character
  TcxRegExprLexemCode Code = relcSymbol;
  int Line = 0;
  String Value;  // the character, an integer's digits, or a class escape's letter
};

class TcxLexems {
 public:
  void Add(const TcxLexem& ALexem) { FItems.push_back(ALexem); }
  void Clear() { FItems.clear(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  const TcxLexem& GetItems(int AIndex) const { return FItems.at(static_cast<std::size_t>(AIndex)); }

 private:
  std::vector<TcxLexem> FItems;
};

class TcxRegExprError {
 public:
  TcxRegExprError(int ALine, int AChar, String AMessage)
      : FLine(ALine), FChar(AChar), FMessage(std::move(AMessage)) {}

  int Line() const { return FLine; }
  int Char() const { return FChar; }
  const String& Message() const { return FMessage; }
  // "Line2, Char7: message"; the position parts only where they are above 0.
  String FullMessage() const;
  TcxRegExprError Clone() const { return *this; }

 private:
  int FLine;
  int FChar;
  String FMessage;
};

class TcxRegExprErrors {
 public:
  void Add(TcxRegExprError AError) { FItems.push_back(std::move(AError)); }
  void Clear() { FItems.clear(); }
  TcxRegExprErrors Clone() const { return *this; }
  int Count() const { return static_cast<int>(FItems.size()); }
  const TcxRegExprError& GetItems(int AIndex) const { return FItems.at(static_cast<std::size_t>(AIndex)); }

 private:
  std::vector<TcxRegExprError> FItems;
};

// Carries the errors of the failed compilation. A copy, not the engine's own
// list: the exception may outlive the engine (a temporary engine that tests a
// mask), and a later compilation must not change what it reports.
class EcxRegExprError : public EcxEditError {
 public:
  explicit EcxRegExprError(TcxRegExprErrors AErrors) : FErrors(std::move(AErrors)) {}
  const TcxRegExprErrors& Errors() const { return FErrors; }

 private:
  TcxRegExprErrors FErrors;
};

class TcxRegExprAutomat;
class TcxRegExprParserAlts;
class TcxRegExprParserItem;
class TcxRegExprParserBlockItem;

using TcxSymbolDeleteEvent = Delegate<void()>;
using TcxSymbolUpdateEvent = Delegate<void(wchar_t ASymbol)>;

class TcxRegExpr : public TObject {
  SK_CLASS(TcxRegExpr, TObject)
 public:
  static constexpr int MaxNesting = 400;
  static constexpr int MaxExpandedItems = 65536;

  void Create() {}
  void Destroy() override;

  // Compiles the whole content of AStream, read as UTF-8 text; raises
  // EcxRegExprError with every error found.
  void Compile(TStream* AStream);
  void Compile(const String& S);
  bool IsCompiled() const { return FCompiled; }

  // Feeds one character; true when it may follow. Case-insensitively matched
  // characters come back in AToken as the pattern writes them.
  bool Next(wchar_t& AToken);
  // Feeds each character in turn, skipping the rejected ones; the accepted
  // ones as they stood. Never types forced characters.
  String NextEx(const String& AString);
  // Takes back the last accepted character (and, with UpdateOn, the forced
  // characters after it first).
  bool Prev();
  void Reset();
  bool IsStart();
  bool IsFinal();
  // A dump of the parse tree; empty when not compiled.
  String Print() const;

  bool CaseInsensitive() const { return FCaseInsensitive; }
  void SetCaseInsensitive(bool AValue) { FCaseInsensitive = AValue; }
  // The compiled source (UTF-8), nil when not compiled.
  TStream* Stream() const { return FCompiled ? FStream.get() : nullptr; }
  bool UpdateOn() const { return FUpdateOn; }
  void SetUpdateOn(bool AValue);

  TcxSymbolDeleteEvent OnSymbolDelete() const { return FOnSymbolDelete; }
  void SetOnSymbolDelete(TcxSymbolDeleteEvent AValue) { FOnSymbolDelete = AValue; }
  TcxSymbolUpdateEvent OnSymbolUpdate() const { return FOnSymbolUpdate; }
  void SetOnSymbolUpdate(TcxSymbolUpdateEvent AValue) { FOnSymbolUpdate = AValue; }

  // The lexems of the last compilation (kept for inspection).
  const TcxLexems& Lexems() const { return FLexems; }

 private:
  friend class TcxRegExprAutomat;
  class TParser;

  void CheckCompiled() const;
  void ClearCompiled();
  [[noreturn]] void RaiseErrors();
  void AddError(int ALine, int AChar, const String& AMessage);

  // Reading the source.
  bool AtEnd() const { return FIndex >= static_cast<int>(FSource.size()); }
  wchar_t Peek() const { return FSource[static_cast<std::size_t>(FIndex)]; }
  wchar_t ReadChar();
  void AddLexem(TcxRegExprLexemCode ACode, int ALine, int AChar, String AValue);
  void ErrorAtEnd(const String& AMessage) { AddError(FLine, FChar + 1, AMessage); }

  void ScanLexems();
  void ScanEscape();
  void ScanHexCode(int ALine, int AChar);
  void ScanCharClass();
  void ScanQuantifierBraces();
  void ScanQuotedText();
  void ParseExpression();

  // Frees the automaton where its class is complete.
  struct TAutomatDeleter {
    void operator()(TcxRegExprAutomat* AAutomat) const;
  };
  std::unique_ptr<TcxRegExprAutomat, TAutomatDeleter> FAutomat;
  int FChar = 0;
  bool FCaseInsensitive = false;
  bool FCompiled = false;
  TcxRegExprErrors FErrors;
  bool FFirstExpr = true;
  int FIndex = 0;
  TcxLexems FLexems;
  int FLine = 1;
  TcxSymbolDeleteEvent FOnSymbolDelete;
  TcxSymbolUpdateEvent FOnSymbolUpdate;
  TOwned<TMemoryStream> FStream;
  String FSource;  // the source copy decoded
  bool FUpdateOn = false;
};
