// The classic edit mask: a mask text such as "(999) 000-0000;1;_" compiled
// into one item per character position, each a literal or an input position
// with a character class, an optional flag and a case conversion. The mask
// lays a text onto its positions (Format), turns a formatted text into the
// stored value (Format2), tests texts (IsValid, IsFullValid) and gives the
// empty forms of the text.
//
// Classes in this file:
//   TcxCaseControl                          the case an input position converts to
//   TcxStandardMaskCustomItem               one position
//   TcxStandardMaskLiteralItem              a fixed character
//   TcxStandardMaskManyItem and descendants an input position: digit, digit or
//                                           sign, letter, letter or digit, any
//   TcxStandardMask                         the compiled mask
//
// Mask characters: 0 digit, 9 optional digit, # optional digit or sign, L/l
// letter, A/a letter or digit, C/c any character (upper case required, lower
// case optional); / and : the locale's date and time separators (taken at
// compilation); \x the literal x; > upper case and < lower case from here on,
// <> no conversion; a leading ! fills from the right; a final ";1" or ";0"
// keeps or drops the literals in the stored value, ";1;x" or ";0;x" also sets
// the blank to x. Letters and digits are those of the system's character-type
// table, so other scripts' letters and digits count too.
#pragma once

#include "platform/runtime/System.h"

#include <memory>
#include <vector>

enum TcxCaseControl { ccUpperCase, ccLowerCase, ccUserCase };

class TcxStandardMaskCustomItem {
 public:
  virtual ~TcxStandardMaskCustomItem() = default;
  // Whether AChar fits; an input position also converts AChar's case in
  // place, whether it fits or not.
  virtual bool Check(wchar_t& AChar) const = 0;
  virtual bool IsLiteral() const { return false; }
};

class TcxStandardMaskLiteralItem : public TcxStandardMaskCustomItem {
 public:
  explicit TcxStandardMaskLiteralItem(wchar_t ALiteral) : FLiteral(ALiteral) {}
  bool Check(wchar_t& AChar) const override { return AChar == FLiteral; }
  bool IsLiteral() const override { return true; }
  wchar_t Literal() const { return FLiteral; }

 private:
  wchar_t FLiteral;
};

class TcxStandardMaskManyItem : public TcxStandardMaskCustomItem {
 public:
  TcxStandardMaskManyItem(TcxCaseControl ACaseControl, bool AOptional)
      : FCaseControl(ACaseControl), FOptional(AOptional) {}
  bool Check(wchar_t& AChar) const final;
  TcxCaseControl CaseControl() const { return FCaseControl; }
  bool Optional() const { return FOptional; }

 protected:
  virtual bool Accepts(wchar_t AChar) const = 0;

 private:
  TcxCaseControl FCaseControl;
  bool FOptional;
};

class TcxStandardMaskNumericItem : public TcxStandardMaskManyItem {
 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool Accepts(wchar_t AChar) const override;
};

// Always optional, whatever is asked at creation.
class TcxStandardMaskNumericSymbolItem : public TcxStandardMaskManyItem {
 public:
  explicit TcxStandardMaskNumericSymbolItem(TcxCaseControl ACaseControl)
      : TcxStandardMaskManyItem(ACaseControl, true) {}

 protected:
  bool Accepts(wchar_t AChar) const override;
};

class TcxStandardMaskAlphaItem : public TcxStandardMaskManyItem {
 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool Accepts(wchar_t AChar) const override;
};

class TcxStandardMaskAlphaNumericItem : public TcxStandardMaskManyItem {
 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool Accepts(wchar_t AChar) const override;
};

class TcxStandardMaskASCIIItem : public TcxStandardMaskManyItem {
 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool Accepts(wchar_t) const override { return true; }
};

class TcxStandardMask : public TObject {
  SK_CLASS(TcxStandardMask, TObject)
 public:
  void Create() {}

  void Compile(const String& AMask);
  // Lays AText onto the positions: with AChangeCharCase the positions'
  // case conversion applies; without AMatchForBlanksAndLiterals a text of
  // another length than the mask's is taken to come without its literals
  // when the mask does not save them.
  void Format(String& AText, bool AChangeCharCase = true, bool AMatchForBlanksAndLiterals = true) const;
  // A formatted text to the stored value: blanks become spaces, literals
  // stay only when saved.
  void Format2(String& AText) const;
  bool IsValid(String& AText) const;
  bool IsFullValid(String& AText) const;

  // One character per position: literals, and the blank at input positions.
  String FullEmptyString() const;
  // Spaces at input positions, and the literals when they are saved.
  String EmptyString() const;

  wchar_t Blank() const { return FBlank; }
  void SetBlank(wchar_t AValue) { FBlank = AValue; }
  int Count() const { return static_cast<int>(FItems.size()); }
  const TcxStandardMaskCustomItem* Items(int AIndex) const { return FItems.at(static_cast<std::size_t>(AIndex)).get(); }
  bool Leading() const { return FLeading; }
  const String& Mask() const { return FMask; }
  bool SaveLiteralCharacters() const { return FSaveLiteralCharacters; }

 private:
  bool IsBlank(wchar_t AChar) const { return AChar == FBlank || AChar == L' '; }
  void ParseMask(const String& AMask);

  wchar_t FBlank = L'_';
  std::vector<std::unique_ptr<TcxStandardMaskCustomItem>> FItems;
  bool FLeading = false;
  bool FSaveLiteralCharacters = true;
  String FMask;
};
