// Reading text form descriptions into live components.
//
// Classes in this file:
//   EParserError            a description that is not well formed
//   TParser                 the tokeniser, with line numbers
//   TFormReader             the concrete TReader
//   ReadComponentFromText, ReadComponentRes, InitInheritedComponent,
//   ReadCollectionFromStream ...
//
// Reading creates each `object` by its registered class, owned by the root
// and placed in the enclosing component (SetParentComponent), sets csLoading
// and csReading, and lets the component read its block (TComponent::ReadState,
// which a class may extend); `inherited` blocks read into the component of
// that name that exists already. Properties are applied in the order they
// stand; component references are resolved once the whole description is
// read; then Loaded runs on the root and every read component in creation
// order.
//
// On any error the reader frees every component it created (last first) and
// clears csLoading/csReading of the rest; a root passed in by the caller
// survives with whatever properties had been assigned before the error, a
// root the reader created itself is freed too. Messages name the line and the
// property path ("Zeile 12: ... Button1.Font.Name").
#pragma once

#include "platform/classes/Filer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class EParserError : public Exception { public: using Exception::Exception; };

// ---------------------------------------------------------------------------
// TParser: splits a description into tokens. Token() is one of the kinds
// below or the punctuation character itself ('=', ':', '.', ',', '[', ']',
// '(', ')', '<', '>', '+').

class TParser : public TObject {
  SK_CLASS(TParser, TObject)
 public:
  static constexpr wchar_t toEOF = 0;
  static constexpr wchar_t toSymbol = 1;   // identifier
  static constexpr wchar_t toString = 2;   // 'text'#13#10'more' as one value
  static constexpr wchar_t toInteger = 3;  // 12, -12, $FF
  static constexpr wchar_t toFloat = 4;    // 1.5, 1E10, -2.5E-3
  static constexpr wchar_t toBinary = 5;   // { hex digits }

  void Create(const String& AText);

  wchar_t Token() const { return FToken; }
  // Moves to the next token and answers its kind.
  wchar_t NextToken();
  // The identifier or the number as written.
  const String& TokenString() const { return FTokenString; }
  // The value of a toString token.
  const String& TokenWideString() const { return FTokenValue; }
  std::int64_t TokenInt() const { return FTokenInt; }
  double TokenFloat() const { return FTokenFloat; }
  const std::vector<std::uint8_t>& TokenBinary() const { return FTokenBinary; }
  // The line (from 1) on which the current token starts.
  int SourceLine() const { return FTokenLine; }

  bool TokenSymbolIs(const String& ASymbol) const;
  // Raises EParserError unless the current token is of kind AToken.
  void CheckToken(wchar_t AToken) const;
  void CheckTokenSymbol(const String& ASymbol) const;
  // Reads a dotted name A.B.C starting at the current symbol; leaves the
  // parser on the token after it.
  String TokenComponentIdent();
  // A readable description of the current token for messages.
  String TokenDescription() const;

  [[noreturn]] void Error(const String& AMessage) const;

 private:
  void SkipBlanks();
  void ReadNumber();
  void ReadStringToken();
  void ReadBinaryToken();

  String FText;
  std::size_t FPos;
  int FLine;
  int FTokenLine;
  wchar_t FToken;
  String FTokenString;
  String FTokenValue;
  std::int64_t FTokenInt;
  double FTokenFloat;
  std::vector<std::uint8_t> FTokenBinary;
};

// ---------------------------------------------------------------------------
// TFormReader

class TFormReader : public TReader {
  SK_CLASS(TFormReader, TReader)
 public:
  // The nesting of objects, lists and collections a description may use.
  static constexpr int MaxDepth = 200;

  void Create(const String& AText);
  void Destroy() override;

  // Reads the description into ARoot, or into a new instance of the stored
  // class when ARoot is null; answers the root.
  TComponent* ReadRootComponent(TComponent* ARoot);
  // Reads a description that holds only a collection value < item ... end >
  // into ACollection. ARoot binds events and resolves references; without
  // one, either raises EReadError.
  void ReadCollectionValue(TCollection* ACollection, TComponent* ARoot);

  // TFiler
  void DefineProperty(const String& AName, const TReaderProc& AReadData, const TWriterProc& AWriteData,
                      bool AHasData) override;
  void DefineBinaryProperty(const String& AName, const TStreamProc& AReadData, const TStreamProc& AWriteData,
                            bool AHasData) override;

  // TReader
  TValueType NextValue() override;
  bool EndOfList() override;
  void ReadListBegin() override;
  void ReadListEnd() override;
  String ReadString() override;
  std::int64_t ReadInt64() override;
  int ReadInteger() override;
  bool ReadBoolean() override;
  double ReadFloat() override;
  String ReadIdent() override;
  void ReadCollection(TCollection* ACollection) override;
  std::vector<String> ReadSet() override;
  Variant ReadVariant() override;
  void SkipValue() override;
  void ReadData(TComponent* AInstance) override;

  TParser* Parser() const { return FParser.get(); }

 private:
  struct TState;
  struct TFixup;

  void ReadObjectHeader(String& AName, String& AClassName);
  // An optional position `[n]` after an object's or item's keyword, which
  // this reader does not need.
  void SkipPosition();
  TComponent* ReadComponentBlock(TComponent* AEnclosing);
  void ReadProperties(TPersistent* AInstance);
  void ReadPropertyLine(TPersistent* AInstance);
  void ReadPropValue(TPersistent* AInstance, const TPropInfo* AProp, const String& APath,
                     const std::vector<String>& ASubPath);
  void ReadCollectionItems(TCollection* ACollection, const String& ADisplay);
  void ReadBinaryValue(const TStreamProc& AReadData, int ALine, const String& ADisplay);
  String ReadStringValue();
  // Reads a Variant value into AValue; false, reading nothing, when the
  // current token is no such value.
  bool TakeVariant(Variant& AValue);
  TComponent* FindReference(const String& AName) const;
  void ResolveFixups();
  void Enter();
  void Leave() { --FDepth; }
  void ExpectValue(wchar_t AToken, const wchar_t* AWhat);
  [[noreturn]] void ReadError(const String& AMessage) const;
  [[noreturn]] void PropertyError(int ALine, const String& AMessage, const String& APath) const;
  String DisplayPath(const String& AProp) const;

  TOwned<TParser> FParser;
  std::shared_ptr<TState> FState;  // shared_ptr: TState is private to the .cpp
  int FDepth;
};

// ---------------------------------------------------------------------------
// Entry points

// Reads a description into ARoot (or a new instance of the stored class when
// ARoot is null) and answers the root.
TComponent* ReadComponentFromText(const String& AText, TComponent* ARoot = nullptr);

// A collection kept apart from a form (an image list's own stream): the
// text WriteCollectionToStream wrote, UTF-8, from the stream's position to
// its end.
void ReadCollectionFromText(const String& AText, TCollection* ACollection, TComponent* ARoot = nullptr);
void ReadCollectionFromStream(TStream* AStream, TCollection* ACollection, TComponent* ARoot = nullptr);

// The text of an RCDATA resource of AModule: UTF-8 (with or without BOM),
// UTF-16 with BOM, otherwise the ANSI code page. Raises EResNotFound.
String ReadResourceText(HMODULE AModule, const String& AResName);
// Whether AModule has an RCDATA resource of that name.
bool FindComponentRes(HMODULE AModule, const String& AResName);

// Reads the RCDATA resource AResName of the running program into AInstance
// (a new instance of the stored class when null). Raises EResNotFound.
TComponent* ReadComponentRes(const String& AResName, TComponent* AInstance);
TComponent* ReadComponentResEx(HMODULE AModule, const String& AResName, TComponent* AInstance);

// Reads, for each class from the one below ARootAncestor down to the
// instance's own class, the resource named after that class, so a derived
// form gets its ancestors' descriptions first. Answers whether any resource
// was found.
bool InitInheritedComponent(TComponent* AInstance, TClass ARootAncestor);

// Resolves the first part of a qualified reference ("Form2.Button1") that is
// not the root being read: the windowed layer registers a lookup of its forms.
using TFindGlobalComponent = TComponent* (*)(const String& AName);
void RegisterFindGlobalComponent(TFindGlobalComponent AFind);
void UnRegisterFindGlobalComponent(TFindGlobalComponent AFind);
TComponent* FindGlobalComponent(const String& AName);
