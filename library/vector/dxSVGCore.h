// SVG pictures: the value parsers and formatters (dxSVGCore_Parsers.cpp),
// the element tree with its tag registry and styles (dxSVGCore_Elements.cpp),
// the renderers (dxSVGCore_Rendering.cpp) and the importer and exporter
// (dxSVGCore_Filer.cpp).
//
// Classes in this file:
//   TdxSVGValue, TdxSVGUnitsType   a length with its unit
//   TdxSVGFill                     a paint: a colour or the id of a paint server
//   TdxSVGList, TdxSVGValues, TdxSVGPoints, TdxSVGRect   number, point and rectangle values
//   TdxSVGPath                     a GDI+ path built from path data, keeping the text
//   TdxSVGParserPathCommand ...    one command of path data (MoveTo, Open, Close,
//                                  Line, CurveTo, QuadraticCurveTo, Arc)
//   TdxSVGParserPath               path data to commands
//   TdxSVGParserNumbers, TdxSVGParserValue, TdxSVGParserRect, TdxSVGParserTransform,
//   TdxSVGParserImage, TdxSVGInlineStyles, TdxSVGFontFamilyString,
//   TdxSVGFontStyleString          the text forms of attribute values
//   TdxSVGAttributeConverter       reading and writing attributes of a node
//   TdxMap                         a two-way dictionary (the tag registry)
//   TdxSVGStyle, TdxSVGStyles      CSS rules and the style sheet of a picture
//   TdxSVGElement and its descendants   one class per supported tag
//   TdxSVGBrush, TdxSVGPen         GDI+ brush and pen with SVG gradients
//   TdxSVGCustomRenderer, TdxSVGRenderer, TdxSVGRendererClipPath   drawing a tree
//   TdxSVGFiler, TdxSVGImporter, TdxSVGExporter, TdxSVGReferenceFixup   XML to tree and back
//
// Lengths are pixels at 96 DPI once converted; numbers are read and written
// with '.' as the decimal separator. Reading is lenient: a value that does
// not parse is treated as not given (the element keeps what it had), so one
// bad attribute never loses the picture.
//
// A tree is used by one thread at a time. Drawing may move an element under
// a use element for the time it is drawn there (and back); nothing else
// changes the tree while it is drawn.
#pragma once

#include "library/core/geometry/cxGeometry.h"
#include "library/graphics/imaging/dxColorPalettes.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/vector/dxXMLDoc.h"
#include "platform/classes/Persistent.h"
#include "platform/ui/Graphics.h"

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

class TdxSVGBrush;
class TdxSVGPen;
class TdxSVGCustomRenderer;
class TdxSVGElement;
class TdxSVGElementRoot;
class TdxSVGStyle;

// ---------------------------------------------------------------------------
// Values

enum TdxSVGUnitsType { utPx, utMm, utCm, utIn, utPc, utPt, utPercents };
enum TdxSVGContentUnits { cuUserSpaceOnUse, cuObjectBoundingBox };
enum TdxSVGFillMode { fmNonZero, fmEvenOdd, fmInherit };
enum TdxSVGLineCapStyle { lcsDefault, lcsButt, lcsSquare, lcsRound };
enum TdxSVGTextAnchor { taStart, taMiddle, taEnd, taInherit };

struct TdxSVGValue {
  float Data = 0;
  TdxSVGUnitsType UnitsType = utPx;

  static TdxSVGValue Create(float AData, TdxSVGUnitsType AUnitsType = utPx) { return {AData, AUnitsType}; }
  // Data within 0.0001 of zero.
  bool IsEmpty() const;
  // A percentage raises EArgumentException "TdxSVGValue.ToPixels".
  float ToPixels(float ADpi = 96) const;
  // A percentage is of AReference.
  float ToPixels(float ADpi, float AReference) const;
  friend bool operator==(const TdxSVGValue&, const TdxSVGValue&) = default;
};

// A colour, the id of the paint server (gradient, pattern) that paints with
// the colour to use when no element has that id, or the element's current
// colour ("currentColor": its inherited "color" property).
class TdxSVGFill {
 public:
  // The default-colour marker: no value was set.
  static constexpr TdxAlphaColor DefaultColor = TdxAlphaColors::Default;

  static TdxSVGFill Create(TdxAlphaColor AColor) { return TdxSVGFill(AColor); }
  // AFallback paints when no element has the id (0: nothing).
  static TdxSVGFill Create(const String& AReference, TdxAlphaColor AFallback = 0) {
    TdxSVGFill result{TReference{AReference}};
    result.FFallback = AFallback;
    return result;
  }
  static TdxSVGFill CurrentColor() { return TdxSVGFill(TCurrentColor{}); }
  static TdxSVGFill Default() { return TdxSVGFill(DefaultColor); }

  bool IsDefault() const { return IsColor() && AsColor() == DefaultColor; }
  // An empty reference or the colour 0 ("none").
  bool IsEmpty() const { return IsReference() ? AsReference().empty() : IsColor() && AsColor() == 0; }
  bool IsReference() const { return std::holds_alternative<TReference>(FValue); }
  bool IsCurrentColor() const { return std::holds_alternative<TCurrentColor>(FValue); }
  // Replaces a reference equal to AOldID (ignoring ASCII case) by ANewID.
  void UpdateReference(const String& AOldID, const String& ANewID);
  // 0 for a reference or the current colour.
  TdxAlphaColor AsColor() const { return IsColor() ? std::get<TdxAlphaColor>(FValue) : 0; }
  // Empty for a colour.
  String AsReference() const { return IsReference() ? std::get<TReference>(FValue).ID : String(); }
  // What a reference paints when nothing has its id.
  TdxAlphaColor Fallback() const { return FFallback; }
  friend bool operator==(const TdxSVGFill&, const TdxSVGFill&) = default;

 private:
  struct TReference {
    String ID;
    friend bool operator==(const TReference&, const TReference&) = default;
  };
  struct TCurrentColor {
    friend bool operator==(const TCurrentColor&, const TCurrentColor&) = default;
  };
  explicit TdxSVGFill(TdxAlphaColor AColor) : FValue(AColor) {}
  explicit TdxSVGFill(TReference AReference) : FValue(std::move(AReference)) {}
  explicit TdxSVGFill(TCurrentColor AValue) : FValue(AValue) {}
  bool IsColor() const { return std::holds_alternative<TdxAlphaColor>(FValue); }
  std::variant<TdxAlphaColor, TReference, TCurrentColor> FValue;
  TdxAlphaColor FFallback = 0;
};

template <class T>
class TdxSVGList {
 public:
  void Add(const T& AItem) { FItems.push_back(AItem); }
  // Cleared, sized for the source, then every item of it appended.
  void Assign(const TdxSVGList& ASource) { FItems.assign(ASource.FItems.begin(), ASource.FItems.end()); }
  void Clear() { FItems.clear(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  bool Empty() const { return FItems.empty(); }
  int Capacity() const { return static_cast<int>(FItems.capacity()); }
  void SetCapacity(int AValue) { FItems.reserve(static_cast<std::size_t>(std::max(AValue, 0))); }
  const T& Items(int AIndex) const { return FItems.at(static_cast<std::size_t>(AIndex)); }
  const std::vector<T>& List() const { return FItems; }
  std::vector<T>& List() { return FItems; }
  friend bool operator==(const TdxSVGList&, const TdxSVGList&) = default;

 protected:
  std::vector<T> FItems;
};

using TdxSVGValues = TdxSVGList<float>;

class TdxSVGPoints : public TdxSVGList<TdxPointF> {
 public:
  using TdxSVGList<TdxPointF>::Assign;
  void Assign(std::span<const TdxPointF> APoints) { FItems.assign(APoints.begin(), APoints.end()); }
  void Assign(std::span<const TPoint> APoints);
  // The smallest rectangle holding every point; the null rectangle for none.
  TdxRectF BoudingRect() const;
};

class TdxSVGRect {
 public:
  TdxSVGRect() = default;
  explicit TdxSVGRect(const TdxRectF& AValue) : FValue(AValue) {}
  const TdxRectF& Value() const { return FValue; }
  void SetValue(const TdxRectF& AValue) { FValue = AValue; }
  float Width() const { return FValue.Width(); }
  float Height() const { return FValue.Height(); }
  // Width or height not above zero.
  bool IsEmpty() const { return FValue.IsEmpty(); }
  friend bool operator==(const TdxSVGRect&, const TdxSVGRect&) = default;

 private:
  TdxRectF FValue;
};

// "0.#####" with '.' as the decimal separator: at most five decimals, no exponent.
String dxSVGFloatToString(float AValue);

// ---------------------------------------------------------------------------
// Path data

class TdxSVGParserPathCommand : public TObject {
  SK_CLASS(TdxSVGParserPathCommand, TObject)
 public:
  virtual void Append(TdxGPPath*) {}
  TdxPointF FinishPoint;
};

class TdxSVGParserPathCommandMoveTo : public TdxSVGParserPathCommand {
  SK_CLASS(TdxSVGParserPathCommandMoveTo, TdxSVGParserPathCommand)
};

// Starts a new figure.
class TdxSVGParserPathCommandOpen : public TdxSVGParserPathCommand {
  SK_CLASS(TdxSVGParserPathCommandOpen, TdxSVGParserPathCommand)
 public:
  void Append(TdxGPPath* APath) override;
};

// Closes the current figure; FinishPoint is where its subpath started.
class TdxSVGParserPathCommandClose : public TdxSVGParserPathCommand {
  SK_CLASS(TdxSVGParserPathCommandClose, TdxSVGParserPathCommand)
 public:
  void Append(TdxGPPath* APath) override;
};

class TdxSVGParserPathCommandLine : public TdxSVGParserPathCommand {
  SK_CLASS(TdxSVGParserPathCommandLine, TdxSVGParserPathCommand)
 public:
  void Append(TdxGPPath* APath) override;
  TdxPointF StartPoint;
};

class TdxSVGParserPathCommandCurveTo : public TdxSVGParserPathCommand {
  SK_CLASS(TdxSVGParserPathCommandCurveTo, TdxSVGParserPathCommand)
 public:
  void Append(TdxGPPath* APath) override;
  TdxPointF StartPoint;
  TdxPointF Point1;
  TdxPointF Point2;
};

// Added as the equivalent cubic curve.
class TdxSVGParserPathCommandQuadraticCurveTo : public TdxSVGParserPathCommand {
  SK_CLASS(TdxSVGParserPathCommandQuadraticCurveTo, TdxSVGParserPathCommand)
 public:
  void Append(TdxGPPath* APath) override;
  TdxPointF MiddlePoint;
  TdxPointF StartPoint;
};

// An elliptical arc, added as cubic curves of at most a quarter turn each.
class TdxSVGParserPathCommandArc : public TdxSVGParserPathCommand {
  SK_CLASS(TdxSVGParserPathCommandArc, TdxSVGParserPathCommand)
 public:
  void Append(TdxGPPath* APath) override;
  float Angle = 0;  // degrees
  bool LargeArc = false;
  TdxPointF Radius;
  TdxPointF StartPoint;
  bool Sweep = false;
};

class TdxSVGParserPath : public TObject {
  SK_CLASS(TdxSVGParserPath, TObject)
 public:
  void Create();

  // Appends the commands of the path data S.
  void Parse(const String& S);
  int CommandCount() const { return static_cast<int>(FCommands.size()); }
  TdxSVGParserPathCommand* GetCommand(int AIndex) const { return FCommands.at(static_cast<std::size_t>(AIndex)).get(); }

 protected:
  using TCommandProc = void (TdxSVGParserPath::*)(std::wstring_view AArguments, bool ARelative);
  // Fills the table of command letters (lower case) and their handlers.
  virtual void InitializeCommandProcs();

 private:
  TdxPointF CurrentPoint() const;
  TdxSVGParserPathCommand* LastCommand() const { return FCommands.empty() ? nullptr : FCommands.back().get(); }
  template <class T>
  T* AddCommand(const TdxPointF& AFinishPoint);
  TdxPointF Absolute(const TdxPointF& P, bool ARelative) const;

  void DoArc(std::wstring_view AArguments, bool ARelative);
  void DoClose(std::wstring_view AArguments, bool ARelative);
  void DoCurveTo(std::wstring_view AArguments, bool ARelative);
  void DoHorizontalLine(std::wstring_view AArguments, bool ARelative);
  void DoLine(std::wstring_view AArguments, bool ARelative);
  void DoMoveTo(std::wstring_view AArguments, bool ARelative);
  void DoQuadraticCurveTo(std::wstring_view AArguments, bool ARelative);
  void DoSmoothCurveTo(std::wstring_view AArguments, bool ARelative);
  void DoSmoothQuadraticCurveTo(std::wstring_view AArguments, bool ARelative);
  void DoVerticalLine(std::wstring_view AArguments, bool ARelative);

  std::vector<TdxPointF> FBufferPoints;
  std::vector<float> FBufferValues;
  std::unordered_map<wchar_t, TCommandProc> FCommandProcs;
  std::vector<TOwned<TdxSVGParserPathCommand>> FCommands;
  TdxSVGParserPathCommandOpen* FLastOpen;
};

// A GDI+ path that remembers the path data it was built from.
class TdxSVGPath : public TdxGPPath {
  SK_CLASS(TdxSVGPath, TdxGPPath)
 public:
  // Only from another TdxSVGPath: anything else raises EArgumentException
  // with an empty message.
  void Assign(TdxGPPath* ASource) override;
  // Resets the path, keeps S and appends its commands.
  void FromString(const String& S);
  const String& ToString() const { return FCommandLine; }

 private:
  String FCommandLine;
};

// ---------------------------------------------------------------------------
// Parsers and formatters

class TdxSVGParserNumbers {
 public:
  using TNumberProc = std::function<void(float AValue)>;
  using TPointProc = std::function<void(const TdxPointF& APoint)>;

  // Every number of S. A number runs over digits, 'e' and 'E', one '.', and
  // a sign right after the exponent letter; '+', '-' and '.' elsewhere start
  // the next number; other characters separate. A number followed by '%' is
  // taken as that percentage of APercentBase; runs that are no number
  // ("1e") are dropped.
  static TdxSVGValues AsNumbers(std::wstring_view S, float APercentBase = 100);
  static void AsNumbers(std::wstring_view S, const TNumberProc& AProc);
  // The same numbers into AValues (cleared first).
  static void AsNumbers(std::wstring_view S, std::vector<float>& AValues, float APercentBase = 100);
  // Consecutive pairs of numbers; an odd last number is dropped.
  static void AsPoints(std::wstring_view S, TdxSVGPoints& APoints);
  static void AsPoints(std::wstring_view S, std::vector<TdxPointF>& APoints);
  static void AsPoints(std::wstring_view S, const TPointProc& AProc);
  static void AsPoints(const TdxSVGValues& AValues, const TPointProc& AProc);
};

class TdxSVGParserValue {
 public:
  // A number with an optional unit ("px", "mm", "cm", "in", "pc", "pt", "%",
  // any letter case); without one, pixels. False for empty text, text
  // without a digit, an unknown unit or a number that does not convert.
  static bool Parse(const String& S, TdxSVGValue& AValue);
};

class TdxSVGParserRect {
 public:
  // "x y w h" (a leading "new" removed) as (x, y, x + w, y + h); any other
  // count of numbers gives the null rectangle.
  static TdxRectF Parse(const String& S);
};

class TdxSVGParserTransform {
 public:
  // The transform list: each operator applied before those that follow it
  // act. Unknown operators are skipped. The matrix starts as the identity.
  static void Parse(const String& S, TdxMatrix* AMatrix);
};

// Images in data URIs ("data:<mime type>;base64,<data>").
class TdxSVGParserImage {
 public:
  // Clears the target, then loads it from the decoded data (any registered
  // format). Text that is no Base64 data URI leaves the target empty; a
  // Base64 error raises EdxBase64FormatException or EArgumentException.
  static void StringToImage(TdxSmartImage* ATarget, const String& S);
  // The image in its own format when that has a MIME type and is no bitmap,
  // else as PNG.
  static String ImageToString(TdxSmartImage* ASource);
};

class TdxSVGInlineStyles {
 public:
  // "name: value; ..." into the rule's attributes (a later declaration
  // replaces an earlier one of the same name).
  static void Parse(TdxXMLNode* AStyle, std::wstring_view S);
};

class TdxSVGFontFamilyString {
 public:
  // The names of a family list, trimmed and unquoted, joined by ','.
  static String Decode(const String& S);
  // A name with a space in double quotes.
  static String Encode(const String& S);
  // S and the name joined by ',', or whichever is not empty.
  static String Include(const String& S, const String& AName);
};

class TdxSVGFontStyleString {
 public:
  // The CSS font shorthand: style words, the first length (percentages of
  // 8 pixels) and the family names. True with a family and a positive size.
  static bool Parse(const String& S, String& AName, TFontStyles& AStyles, float& ASize);
  // "[italic ][bold ]<size>px <family>".
  static String Build(const String& AName, TFontStyles AStyles, float ASize);
  // "bold", "italic", "underline", "line-through" (case-sensitive).
  static bool TryStringToFontStyle(const String& S, TFontStyle& AStyle);
};

// Reading and writing attribute values. The readers answer false for text
// that is no valid value; the Read... forms then leave AValue as it was.
class TdxSVGAttributeConverter {
 public:
  // "rgb(r, g, b)" (percentages of 255), "#rgb", "#rrggbb", a colour or
  // system colour name; "inherit" is the default-colour marker; unknown
  // names are 0 ("none"). False for "#" without three or six hexadecimal
  // digits and for "rgb(" without exactly three numbers.
  static bool TryStringToColor(const String& S, TdxAlphaColor& AColor);
  // As TryStringToColor, the default-colour marker for a malformed "rgb(";
  // a malformed "#" colour raises EConvertError.
  static TdxAlphaColor StringToColor(const String& S);
  // "none" for 0, empty for the default-colour marker, else "#rrggbb".
  static String ColorToString(TdxAlphaColor AColor);
  // "url(#id)" (any case of url, blanks allowed) or "#id": the id; empty
  // for anything else.
  static String StringToReference(const String& S);
  // "#id" when ABare, else "url(#id)"; empty for an empty id.
  static String ReferenceToString(const String& AID, bool ABare = false);
  // A reference, or a colour as TryStringToColor reads it; a "url(" without
  // an id gives the default paint.
  static bool TryStringToFill(const String& S, TdxSVGFill& AFill);

  static TdxSVGContentUnits StringToContentUnits(const String& S);
  static TdxSVGFillMode StringToFillMode(const String& S);
  static TdxSVGLineCapStyle StringToLineCapStyle(const String& S);
  static TdxGpLineJoin StringToLineJoin(const String& S);
  static TdxSVGTextAnchor StringToTextAnchor(const String& S);
  static String ContentUnitsToString(TdxSVGContentUnits AValue);
  static String FillModeToString(TdxSVGFillMode AValue);
  static String LineCapStyleToString(TdxSVGLineCapStyle AValue);
  static String LineJoinToString(TdxGpLineJoin AValue);
  static String TextAnchorToString(TdxSVGTextAnchor AValue);

  // Attribute readers: true when the attribute is present and valid.
  static bool ReadString(TdxXMLNode* ANode, const TdxXMLString& AName, String& AValue);
  static bool ReadFloat(TdxXMLNode* ANode, const TdxXMLString& AName, float& AValue);
  static bool ReadValue(TdxXMLNode* ANode, const TdxXMLString& AName, TdxSVGValue& AValue);
  static bool ReadColor(TdxXMLNode* ANode, const TdxXMLString& AName, TdxAlphaColor& AValue);
  static bool ReadFill(TdxXMLNode* ANode, const TdxXMLString& AName, TdxSVGFill& AValue);
  static bool ReadValues(TdxXMLNode* ANode, const TdxXMLString& AName, TdxSVGValues& AValue);
  static bool ReadMatrix(TdxXMLNode* ANode, const TdxXMLString& AName, TdxMatrix* AValue);
  static bool ReadRect(TdxXMLNode* ANode, const TdxXMLString& AName, TdxSVGRect& AValue);
  static bool ReadReference(TdxXMLNode* ANode, const TdxXMLString& AName, String& AValue);

  // Attribute writers: each adds the attribute and sets its text, unless
  // the value is the one that is not written (see each).
  static void WriteColor(TdxXMLNode* ANode, const TdxXMLString& AName, TdxAlphaColor AValue);  // not the marker
  static void WriteFill(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxSVGFill& AValue);  // not Default
  static void WriteFloat(TdxXMLNode* ANode, const TdxXMLString& AName, float AValue, float ADefault);
  static void WriteString(TdxXMLNode* ANode, const TdxXMLString& AName, const String& AValue);  // not empty
  static void WriteValue(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxSVGValue& AValue);
  static void WriteValues(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxSVGValues& AValue);
  static void WriteMatrix(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxMatrix* AValue);  // not identity
  static void WriteRect(TdxXMLNode* ANode, const TdxXMLString& AName, const TdxSVGRect& AValue,
                        const String& APrefix = String());  // not empty
};

// ---------------------------------------------------------------------------
// The tag registry

// A dictionary that is also read backwards: each value belongs to one key.
// GetKey and GetValue raise EListError for an unknown entry.
template <class TKey, class TValue, class THashKey = std::hash<TKey>, class THashValue = std::hash<TValue>>
class TdxMap {
 public:
  // False (and nothing added) when the key or the value is there already.
  bool Add(const TKey& AKey, const TValue& AValue);
  void Clear() {
    FKeyToValue.clear();
    FValueToKey.clear();
  }
  bool DeleteByKey(const TKey& AKey);
  bool DeleteByValue(const TValue& AValue);
  const TKey& GetKey(const TValue& AValue) const;
  const TValue& GetValue(const TKey& AKey) const;
  bool TryGetKey(const TValue& AValue, TKey& AKey) const;
  bool TryGetValue(const TKey& AKey, TValue& AValue) const;
  int Count() const { return static_cast<int>(FKeyToValue.size()); }

 private:
  std::unordered_map<TKey, TValue, THashKey> FKeyToValue;
  std::unordered_map<TValue, TKey, THashValue> FValueToKey;
};

template <class TKey, class TValue, class THashKey, class THashValue>
bool TdxMap<TKey, TValue, THashKey, THashValue>::Add(const TKey& AKey, const TValue& AValue) {
  if (!FKeyToValue.emplace(AKey, AValue).second) return false;
  if (!FValueToKey.emplace(AValue, AKey).second) {
    FKeyToValue.erase(AKey);
    return false;
  }
  return true;
}

template <class TKey, class TValue, class THashKey, class THashValue>
bool TdxMap<TKey, TValue, THashKey, THashValue>::DeleteByKey(const TKey& AKey) {
  const auto it = FKeyToValue.find(AKey);
  if (it == FKeyToValue.end()) return false;
  FValueToKey.erase(it->second);
  FKeyToValue.erase(it);
  return true;
}

template <class TKey, class TValue, class THashKey, class THashValue>
bool TdxMap<TKey, TValue, THashKey, THashValue>::DeleteByValue(const TValue& AValue) {
  const auto it = FValueToKey.find(AValue);
  if (it == FValueToKey.end()) return false;
  FKeyToValue.erase(it->second);
  FValueToKey.erase(it);
  return true;
}

void dxSVGRaiseMapEntryNotFound();

template <class TKey, class TValue, class THashKey, class THashValue>
const TKey& TdxMap<TKey, TValue, THashKey, THashValue>::GetKey(const TValue& AValue) const {
  const auto it = FValueToKey.find(AValue);
  if (it == FValueToKey.end()) dxSVGRaiseMapEntryNotFound();
  return it->second;
}

template <class TKey, class TValue, class THashKey, class THashValue>
const TValue& TdxMap<TKey, TValue, THashKey, THashValue>::GetValue(const TKey& AKey) const {
  const auto it = FKeyToValue.find(AKey);
  if (it == FKeyToValue.end()) dxSVGRaiseMapEntryNotFound();
  return it->second;
}

template <class TKey, class TValue, class THashKey, class THashValue>
bool TdxMap<TKey, TValue, THashKey, THashValue>::TryGetKey(const TValue& AValue, TKey& AKey) const {
  const auto it = FValueToKey.find(AValue);
  if (it == FValueToKey.end()) return false;
  AKey = it->second;
  return true;
}

template <class TKey, class TValue, class THashKey, class THashValue>
bool TdxMap<TKey, TValue, THashKey, THashValue>::TryGetValue(const TKey& AKey, TValue& AValue) const {
  const auto it = FKeyToValue.find(AKey);
  if (it == FKeyToValue.end()) return false;
  AValue = it->second;
  return true;
}

// A class reference of an element class.
using TdxSVGElementClass = TClass;
using TdxSVGElementClasses = TdxMap<TdxXMLString, TdxSVGElementClass>;

// The nineteen tags and their classes; nil outside the unit's lifetime.
TdxSVGElementClasses* dxSVGElementClasses();

// ---------------------------------------------------------------------------
// Styles

// One CSS rule: its declarations are its attributes, so applying it reads
// them as the element's attributes of the same names.
class TdxSVGStyle : public TdxXMLNode {
  SK_CLASS(TdxSVGStyle, TdxXMLNode)
 public:
  void Create(const String& AName);
  void Apply(TdxSVGElement* AElement);
  const String& Name() const { return FName; }

 private:
  String FName;
};

// The rules of a picture by name (case-sensitive), each element's inline
// rule among them.
class TdxSVGStyles : public TObject {
  SK_CLASS(TdxSVGStyles, TObject)
 public:
  void Create() {}
  // The rule of that name, made when missing.
  TdxSVGStyle* Add(const String& AName);
  // The rule "_inline_%p" of the element.
  TdxSVGStyle* AddInline(TdxSVGElement* AElement);
  // False for an empty name.
  bool TryGetStyle(const String& AName, TdxSVGStyle*& AStyle) const;
  // Nil when there is none.
  TdxSVGStyle* GetItem(const String& AName) const;
  // For the element and then each child, depth first: the rules its
  // StyleName names, in that order, then its inline rule.
  void Apply(TdxSVGElement* AElement);
  int Count() const { return static_cast<int>(FItems.size()); }

 private:
  static String InlineName(const TdxSVGElement* AElement);
  std::unordered_map<String, TOwned<TdxSVGStyle>> FItems;
};

// ---------------------------------------------------------------------------
// Elements

// Every element: presentation values, the transform and the children. Each
// class reads its attributes from a node (its own or a style rule's) and
// writes them back for the exporter.
class TdxSVGElement : public TPersistent {
  SK_CLASS(TdxSVGElement, TPersistent)
 public:
  virtual void Create();
  // Created with AParent as its parent (appended to its children).
  virtual void Create(TdxSVGElement* AParent);
  void Destroy() override;

  // From another element: the own children freed, the attributes copied,
  // and a copy of each child of the source appended.
  void Assign(TPersistent* ASource) override;
  // The attributes only, through a node the source writes.
  virtual void AssignAttributes(TdxSVGElement* ASource);
  // A new element of the same class assigned from this one; the caller owns it.
  TdxSVGElement* Clone();

  // The root of the tree; nil outside a tree.
  virtual TdxSVGElementRoot* Root();
  // Whether the importer copies the attributes of the element that an
  // "xlink:href" names into this one.
  virtual bool CanResolveReference() const { return true; }
  // In this element and its subtree: an id and the references equal to
  // AOldID (ignoring ASCII case) become ANewID.
  virtual void ReplaceReference(const String& AOldID, const String& ANewID);

  // The renderer's brush (pen) set up for drawing AElement.
  virtual void InitializeBrush(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement);
  virtual void InitializePen(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement);
  // The element's own shape.
  virtual void DrawCore(TdxSVGCustomRenderer*) {}
  virtual TdxRectF GetBounds();
  virtual void ReadAttributes(TdxXMLNode* ANode);
  virtual void WriteAttributes(TdxXMLNode* ANode);
  // Opacity, transform, pen and brush, clip, then the own shape and the children.
  virtual void Draw(TdxSVGCustomRenderer* ARenderer);
  // Ignoring ASCII case: the direct children first, then each subtree; false
  // for an empty id.
  virtual bool FindByID(const String& AID, TdxSVGElement*& AElement);
  // Through the root, of the class (or a descendant).
  bool FindByID(const String& AID, TdxSVGElementClass AClass, TdxSVGElement*& AElement);

  // Children. GetElement raises EArgumentException for a bad index.
  int Count() const { return static_cast<int>(FChildren.size()); }
  TdxSVGElement* GetElement(int AIndex) const;
  int IndexOf(const TdxSVGElement* AElement) const;
  // Whether this element is AElement or lies above it.
  bool IsAncestorOf(const TdxSVGElement* AElement) const;

  // Inherited values, with the palette's colours for the element's StyleName
  // where a palette is given (nil: none).
  TdxAlphaColor ActualFill(IdxColorPalette* APalette, TdxSVGFill* AFill = nullptr);
  TdxSVGFill ActualFillPaint(IdxColorPalette* APalette);
  TdxSVGFill ActualStrokePaint(IdxColorPalette* APalette);
  // The "color" property ("currentColor" paints with it): opaque black above the root.
  TdxAlphaColor ActualColor();
  float ActualFillOpacity();
  float ActualStrokeOpacity();
  TdxSVGFillMode ActualFillMode();
  TdxSVGFillMode ActualClipRule();
  float ActualStrokeWidth();
  const TdxSVGValues& ActualStrokeDashArray();
  float ActualStrokeDashOffset();
  TdxSVGLineCapStyle ActualStrokeLineCap();

  // Properties
  const String& ID() const { return FID; }
  void SetID(const String& AValue) { FID = AValue; }
  const String& ClipPath() const { return FClipPath; }
  void SetClipPath(const String& AValue) { FClipPath = AValue; }
  TdxSVGFillMode ClipRule() const { return FClipRule; }
  void SetClipRule(TdxSVGFillMode AValue) { FClipRule = AValue; }
  // The "color" property; the default-colour marker: inherited.
  TdxAlphaColor CurrentColor() const { return FCurrentColor; }
  void SetCurrentColor(TdxAlphaColor AValue) { FCurrentColor = AValue; }
  const TdxSVGFill& Fill() const { return FFill; }
  void SetFill(const TdxSVGFill& AValue) { FFill = AValue; }
  TdxSVGFillMode FillMode() const { return FFillMode; }
  void SetFillMode(TdxSVGFillMode AValue) { FFillMode = AValue; }
  float FillOpacity() const { return FFillOpacity; }
  void SetFillOpacity(float AValue);
  float Opacity() const { return FOpacity; }
  void SetOpacity(float AValue);
  const TdxSVGFill& Stroke() const { return FStroke; }
  void SetStroke(const TdxSVGFill& AValue) { FStroke = AValue; }
  const TdxSVGValues& StrokeDashArray() const { return FStrokeDashArray; }
  void SetStrokeDashArray(const TdxSVGValues& AValue) { FStrokeDashArray.Assign(AValue); }
  // -1: not set.
  float StrokeDashOffset() const { return FStrokeDashOffset; }
  void SetStrokeDashOffset(float AValue) { FStrokeDashOffset = AValue; }
  TdxSVGLineCapStyle StrokeLineCap() const { return FStrokeLineCap; }
  void SetStrokeLineCap(TdxSVGLineCapStyle AValue) { FStrokeLineCap = AValue; }
  TdxGpLineJoin StrokeLineJoin() const { return FStrokeLineJoin; }
  void SetStrokeLineJoin(TdxGpLineJoin AValue) { FStrokeLineJoin = AValue; }
  float StrokeMiterLimit() const { return FStrokeMiterLimit; }
  void SetStrokeMiterLimit(float AValue) { FStrokeMiterLimit = AValue; }
  float StrokeOpacity() const { return FStrokeOpacity; }
  void SetStrokeOpacity(float AValue);
  // Pixels; 0: not set.
  float StrokeSize() const { return FStrokeSize; }
  void SetStrokeSize(float AValue) { FStrokeSize = AValue; }
  // The names of the rules that apply, separated by spaces.
  const String& StyleName() const { return FStyleName; }
  void SetStyleName(const String& AValue) { FStyleName = AValue; }
  TdxMatrix* Transform() const { return FTransform.get(); }
  void SetTransform(const TdxMatrix* AValue) { FTransform->Assign(AValue); }
  TdxSVGElement* Parent() const { return FParent; }
  // Leaves the old parent's children (not freed) and joins the new one's
  // at their end; the new parent owns the element.
  void SetParent(TdxSVGElement* AValue);
  // Moves the element among AParent's children to AIndex (appended when
  // out of range); as SetParent, the new parent owns it.
  void InsertInto(TdxSVGElement* AParent, int AIndex);

 protected:
  // Whether ANode is the element's own node, not a style rule.
  static bool IsOwnNode(TdxXMLNode* ANode);
  // Root size in pixels for percentages: width for x, height for y.
  float PixelsX(const TdxSVGValue& AValue);
  float PixelsY(const TdxSVGValue& AValue);
  // The content: DrawCore, then every child.
  void DrawContent(TdxSVGCustomRenderer* ARenderer);
  // The element whose id a reference names, when the renderer is not
  // already resolving it (a reference back into itself draws nothing).
  TdxSVGElement* FindReference(TdxSVGCustomRenderer* ARenderer, const String& AID);

  std::vector<TOwned<TdxSVGElement>> FChildren;
  TdxSVGFillMode FClipRule;
  String FClipPath;
  TdxAlphaColor FCurrentColor;
  TdxSVGFill FFill = TdxSVGFill::Default();
  TdxSVGFillMode FFillMode;
  float FFillOpacity;
  bool FFillOpacityAssigned;
  String FID;
  float FOpacity;
  TdxSVGFill FStroke = TdxSVGFill::Default();
  TdxSVGValues FStrokeDashArray;
  float FStrokeDashOffset;
  TdxSVGLineCapStyle FStrokeLineCap;
  TdxGpLineJoin FStrokeLineJoin;
  float FStrokeMiterLimit;
  float FStrokeOpacity;
  bool FStrokeOpacityAssigned;
  float FStrokeSize;
  String FStyleName;
  TOwned<TdxMatrix> FTransform;
  TdxSVGElement* FParent;

 private:
  TOwned<TdxSVGElement> Extract(TdxSVGElement* AChild);
  // The dash pattern (in pen widths) emptied, and the pen's colour faded,
  // where the dashes would be too fine or too many to make one by one.
  void FadeDashesBeyondTheBounds(TdxSVGCustomRenderer* ARenderer, TdxSVGPen* APen, std::vector<float>& APattern);
  void ApplyPaint(TdxSVGCustomRenderer* ARenderer, const TdxSVGFill& APaint, float AOpacity, TdxGPBrush* ABrush,
                  bool AStroke);
};

// The elements with children of their own only: "g" (and "svg").
class TdxSVGElementGroup : public TdxSVGElement {
  SK_CLASS(TdxSVGElementGroup, TdxSVGElement)
 public:
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  const String& Tag() const { return FTag; }
  void SetTag(const String& AValue) { FTag = AValue; }

 protected:
  String FTag;
};

// How a view box fits a viewport of another shape ("preserveAspectRatio"):
// without alignment it is stretched; otherwise it is scaled alike in both
// directions to fit inside (meet) or to cover (slice) and placed at the
// minimum, middle or maximum of each direction.
struct TdxSVGAspectRatio {
  enum TAlign { aNone, aMin, aMid, aMax };
  TAlign AlignX = aMid;
  TAlign AlignY = aMid;
  bool Slice = false;

  // False (and the value as it was) for text that is no such value.
  static bool TryParse(const String& S, TdxSVGAspectRatio& AValue);
  String ToString() const;
  // The matrix that maps ABox onto ATarget.
  XFORM Fit(const TdxRectF& ABox, const TdxRectF& ATarget) const;
  friend bool operator==(const TdxSVGAspectRatio&, const TdxSVGAspectRatio&) = default;
};

class TdxSVGElementRoot : public TdxSVGElementGroup {
  SK_CLASS(TdxSVGElementRoot, TdxSVGElementGroup)
 public:
  TdxSVGElementRoot* Root() override { return this; }
  TdxRectF GetBounds() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  using TdxSVGElementGroup::Draw;
  // The view box fitted into R as the aspect ratio says (centred and whole
  // by default).
  void Draw(TdxSVGCustomRenderer* ARenderer, const TdxRectF& R);
  const TdxSVGAspectRatio& AspectRatio() const { return FAspectRatio; }
  void SetAspectRatio(const TdxSVGAspectRatio& AValue) { FAspectRatio = AValue; }

  // The view box's size with the width and height attributes in its place
  // where they are set and not percentages.
  TdxSizeF Size() const;
  // The view box, a zero width or height taken from the attribute (a
  // percentage there raises EArgumentException).
  TdxRectF ActualViewBox() const;

  TdxSVGRect& Background() { return FBackground; }
  const TdxSVGValue& Height() const { return FHeight; }
  void SetHeight(const TdxSVGValue& AValue) { FHeight = AValue; }
  TdxSVGRect& ViewBox() { return FViewBox; }
  const TdxSVGRect& ViewBox() const { return FViewBox; }
  const TdxSVGValue& Width() const { return FWidth; }
  void SetWidth(const TdxSVGValue& AValue) { FWidth = AValue; }
  const TdxSVGValue& X() const { return FX; }
  const TdxSVGValue& Y() const { return FY; }

 private:
  TdxSVGAspectRatio FAspectRatio;
  TdxSVGRect FBackground;
  TdxSVGValue FHeight;
  TdxSVGRect FViewBox;
  TdxSVGValue FWidth;
  TdxSVGValue FX;
  TdxSVGValue FY;
};

class TdxSVGElementCircle : public TdxSVGElement {
  SK_CLASS(TdxSVGElementCircle, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxRectF GetBounds() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;

 private:
  TdxSVGValue FRadius;
  TdxSVGValue FCenterX;
  TdxSVGValue FCenterY;
};

class TdxSVGElementEllipse : public TdxSVGElement {
  SK_CLASS(TdxSVGElementEllipse, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxRectF GetBounds() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  // Centre and radii from a rectangle, in AUnits.
  void SetBounds(const TdxRectF& R, TdxSVGUnitsType AUnits = utPx);
  void SetBounds(const TRect& R, TdxSVGUnitsType AUnits = utPx) { SetBounds(TdxRectF(R), AUnits); }

 private:
  TdxSVGValue FCenterX;
  TdxSVGValue FCenterY;
  TdxSVGValue FRadiusX;
  TdxSVGValue FRadiusY;
};

class TdxSVGElementLine : public TdxSVGElement {
  SK_CLASS(TdxSVGElementLine, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxRectF GetBounds() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;

 private:
  TdxSVGValue FX2;
  TdxSVGValue FY2;
  TdxSVGValue FX1;
  TdxSVGValue FY1;
};

// A raster or vector image from a data URI; without width or height, the
// image's own.
class TdxSVGElementImage : public TdxSVGElement {
  SK_CLASS(TdxSVGElementImage, TdxSVGElement)
 public:
  using inherited::Create;
  void Create() override;
  void Destroy() override;
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxRectF GetBounds() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  void SetBounds(const TdxRectF& R);
  void SetBounds(const TRect& R) { SetBounds(TdxRectF(R)); }
  TdxSmartImage* Image() const { return FImage.get(); }

 private:
  TdxSVGValue FHeight;
  TOwned<TdxSmartImage> FImage;
  TdxSVGValue FWidth;
  TdxSVGValue FX;
  TdxSVGValue FY;
};

class TdxSVGElementPath : public TdxSVGElement {
  SK_CLASS(TdxSVGElementPath, TdxSVGElement)
 public:
  using inherited::Create;
  void Create() override;
  void Destroy() override;
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxRectF GetBounds() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  TdxSVGPath* Path() const { return FPath.get(); }

 private:
  TOwned<TdxSVGPath> FPath;
};

class TdxSVGElementPolygon : public TdxSVGElement {
  SK_CLASS(TdxSVGElementPolygon, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxRectF GetBounds() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  const TdxSVGPoints& Points() const { return FPoints; }

 protected:
  TdxSVGPoints FPoints;
};

// Outlined; drawn as a closed polygon when it has a fill.
class TdxSVGElementPolyline : public TdxSVGElementPolygon {
  SK_CLASS(TdxSVGElementPolyline, TdxSVGElementPolygon)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
};

class TdxSVGElementRectangle : public TdxSVGElement {
  SK_CLASS(TdxSVGElementRectangle, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxRectF GetBounds() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  void SetBounds(const TdxRectF& R);
  void SetBounds(const TRect& R) { SetBounds(TdxRectF(R)); }

 private:
  TdxSVGValue FCornerRadiusX;
  bool FCornerRadiusXAssigned;
  TdxSVGValue FCornerRadiusY;
  bool FCornerRadiusYAssigned;
  TdxSVGValue FHeight;
  TdxSVGValue FWidth;
  TdxSVGValue FX;
  TdxSVGValue FY;
};

class TdxSVGElementText : public TdxSVGElement {
  SK_CLASS(TdxSVGElementText, TdxSVGElement)
 public:
  using inherited::Create;
  void Create() override;
  void Destroy() override;
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;

  // The own family list, else the default.
  String ActualFontName();
  // The own size when positive, else the default.
  float ActualFontSize();
  TFontStyles ActualFontStyles();
  const String& Text() const { return FText; }
  void SetText(const String& AValue) { FText = AValue; }
  bool TextAssigned() const { return !FText.empty(); }
  TdxSVGTextAnchor TextAnchor() const { return FTextAnchor; }

 protected:
  virtual String GetDefaultFontName();
  virtual float GetDefaultFontSize();
  virtual TFontStyles GetDefaultFontStyles();

 private:
  // The family drawn with, found (with its fallbacks) on first use.
  TdxGPFontFamily* FontFamily();

  TdxSVGValue FDX;
  TdxSVGValue FDY;
  String FFontName;
  float FFontSize;
  TFontStyles FFontStyles;
  bool FFontStylesAssigned;
  String FText;
  TdxSVGTextAnchor FTextAnchor;
  TdxSVGValue FX;
  TdxSVGValue FY;
  TOwned<TdxGPFontFamily> FCachedFontFamily;
};

// Its defaults are the actual values of a text parent.
class TdxSVGElementTSpan : public TdxSVGElementText {
  SK_CLASS(TdxSVGElementTSpan, TdxSVGElementText)
 public:
  using inherited::Create;
  // Inside a text element, with that element's attributes and no transform of its own.
  void Create(TdxSVGElement* AParent) override;

 protected:
  String GetDefaultFontName() override;
  float GetDefaultFontSize() override;
  TFontStyles GetDefaultFontStyles() override;

 private:
  TdxSVGElementText* TextParent() const;
};

// Draws the element its reference names, translated by (x, y).
class TdxSVGElementUse : public TdxSVGElement {
  SK_CLASS(TdxSVGElementUse, TdxSVGElement)
 public:
  bool CanResolveReference() const override { return false; }
  void ReplaceReference(const String& AOldID, const String& ANewID) override;
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  const String& Reference() const { return FReference; }

 private:
  String FReference;
  TdxSVGValue FX;
  TdxSVGValue FY;
};

// Elements that only serve others: drawing them draws nothing.
class TdxSVGElementNeverRendered : public TdxSVGElement {
  SK_CLASS(TdxSVGElementNeverRendered, TdxSVGElement)
 public:
  void Draw(TdxSVGCustomRenderer*) override {}
};

class TdxSVGElementDefinitions : public TdxSVGElementNeverRendered {
  SK_CLASS(TdxSVGElementDefinitions, TdxSVGElementNeverRendered)
};

class TdxSVGElementClipPath : public TdxSVGElementNeverRendered {
  SK_CLASS(TdxSVGElementClipPath, TdxSVGElementNeverRendered)
 public:
  // Intersects the renderer's clip with the children's outlines, in the
  // user space AElement is drawn in.
  void ApplyTo(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement);
};

class TdxSVGElementGradientStop : public TdxSVGElementNeverRendered {
  SK_CLASS(TdxSVGElementGradientStop, TdxSVGElementNeverRendered)
 public:
  using inherited::Create;
  void Create() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;

  TdxAlphaColor Color() const { return FColor; }
  void SetColor(TdxAlphaColor AValue) {
    FColor = AValue;
    FColorIsCurrent = false;
  }
  // The colour it paints with: its own, or the current colour for "currentColor".
  TdxAlphaColor ActualStopColor() { return FColorIsCurrent ? ActualColor() : FColor; }
  float ColorOpacity() const { return FColorOpacity; }
  void SetColorOpacity(float AValue) { FColorOpacity = AValue; }
  const TdxSVGValue& Offset() const { return FOffset; }
  void SetOffset(const TdxSVGValue& AValue) { FOffset = AValue; }

 private:
  TdxAlphaColor FColor;
  bool FColorIsCurrent;
  float FColorOpacity;
  TdxSVGValue FOffset;
};

// Paint servers: what a fill or stroke reference names.
class TdxSVGElementCustomPattern : public TdxSVGElementNeverRendered {
  SK_CLASS(TdxSVGElementCustomPattern, TdxSVGElementNeverRendered)
 public:
  using inherited::Create;
  void Create() override;
  void Destroy() override;
  void InitializeBrush(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement) override;
  void InitializePen(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement) override;
  // Sets ABrush up to paint AElement.
  virtual void InitializePaint(TdxSVGCustomRenderer*, TdxSVGElement*, TdxSVGBrush*) {}

  TdxMatrix* PatternTransform() const { return FPatternTransform.get(); }
  TdxSVGContentUnits PatternUnitsType() const { return FPatternUnitsType; }
  void SetPatternUnitsType(TdxSVGContentUnits AValue) { FPatternUnitsType = AValue; }

 protected:
  // The box that bounding-box units refer to.
  TdxRectF CalculateUnitBox(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement);

  TOwned<TdxMatrix> FPatternTransform;
  TdxSVGContentUnits FPatternUnitsType;
};

class TdxSVGElementPattern : public TdxSVGElementCustomPattern {
  SK_CLASS(TdxSVGElementPattern, TdxSVGElementCustomPattern)
 public:
  void InitializePaint(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement, TdxSVGBrush* ABrush) override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;

 private:
  TdxSVGValue FX;
  TdxSVGValue FY;
  TdxSVGValue FHeight;
  TdxSVGValue FWidth;
  TdxSVGRect FViewBox;
};

// The colours of a gradient from 0 to 1 at even steps, premultiplied, padded
// with the end colours outside.
class TdxSVGGradientRamp {
 public:
  static constexpr int Steps = 1024;
  struct TStop {
    float Offset;  // 0..1, not falling
    TdxAlphaColor Color;
  };
  explicit TdxSVGGradientRamp(const std::vector<TStop>& AStops);
  // The premultiplied ARGB colour at AT.
  std::uint32_t At(double AT) const;

 private:
  std::vector<std::uint32_t> FColors;
};

// Gradients are painted through a texture of the gradient computed here, in
// the gradient's own space (the bounding box's fractions or the user space,
// before "gradientTransform"), so that every stop shows and uneven scales
// and skews of either transform bend the gradient as SVG has it: GDI+ path
// gradients lose their preset blends on Wine, and line gradients would keep
// their bands perpendicular in user space.
class TdxSVGElementCustomGradient : public TdxSVGElementCustomPattern {
  SK_CLASS(TdxSVGElementCustomGradient, TdxSVGElementCustomPattern)
 public:
  // Stops of one colour, or a gradient without extent, paint solid with
  // the last stop's colour; no stops paint nothing.
  void InitializePaint(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement, TdxSVGBrush* ABrush) override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  // A stop of that colour; its opacity is the colour's alpha times AOpacity.
  void AddStop(TdxAlphaColor AColor, float AOpacity, float AOffsetInPercents);

  // The stops with the renderer's opacity applied, offsets clamped to 0..1
  // and never falling back.
  std::vector<TdxSVGGradientRamp::TStop> ActualStops(TdxSVGCustomRenderer* ARenderer);
  // From the gradient's space to the user space of a shape with AUnitBox.
  XFORM GradientToUser(const TdxRectF& AUnitBox) const;
  // The texture that paints AArea (a rectangle of the gradient's space)
  // and the matrix from its pixels to the gradient's space; false when the
  // gradient has no extent. APixelScale: device pixels per unit of AArea.
  virtual bool CreateTexture(const TdxSVGGradientRamp& ARamp, const TdxRectF& AArea, const TdxSizeF& APixelScale,
                             TdxGpOwnedImage& ATexture, XFORM& ATextureToGradient) = 0;

 protected:
  // In the gradient's space: fractions in bounding-box units (a plain
  // number or a percentage), pixels in user units (percentages of the
  // root's size).
  float GradientX(const TdxSVGValue& AValue);
  float GradientY(const TdxSVGValue& AValue);
  // A radius: in user units a percentage is of the root's normalised diagonal.
  float GradientLength(const TdxSVGValue& AValue);
};

enum TdxSVGLinearGradientDirection { lgdHorizontal, lgdVertical, lgdForwardDiagonal, lgdBackwardDiagonal };

class TdxSVGElementLinearGradient : public TdxSVGElementCustomGradient {
  SK_CLASS(TdxSVGElementLinearGradient, TdxSVGElementCustomGradient)
 public:
  using inherited::Create;
  void Create() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;
  // The vector in percentages for a GDI+ gradient direction.
  void SetBounds(TdxSVGLinearGradientDirection ADirection);
  void SetBounds(TdxSVGUnitsType AUnits, float X1, float Y1, float X2, float Y2);

  // A strip along the vector over the part of it that AArea projects onto.
  bool CreateTexture(const TdxSVGGradientRamp& ARamp, const TdxRectF& AArea, const TdxSizeF& APixelScale,
                     TdxGpOwnedImage& ATexture, XFORM& ATextureToGradient) override;

 private:
  TdxSVGValue FX1;
  TdxSVGValue FX2;
  TdxSVGValue FY1;
  TdxSVGValue FY2;
};

class TdxSVGElementRadialGradient : public TdxSVGElementCustomGradient {
  SK_CLASS(TdxSVGElementRadialGradient, TdxSVGElementCustomGradient)
 public:
  using inherited::Create;
  void Create() override;
  void ReadAttributes(TdxXMLNode* ANode) override;
  void WriteAttributes(TdxXMLNode* ANode) override;

  // AArea itself, each pixel the colour of the circle through it between
  // the focal circle (0) and the outer circle (1).
  bool CreateTexture(const TdxSVGGradientRamp& ARamp, const TdxRectF& AArea, const TdxSizeF& APixelScale,
                     TdxGpOwnedImage& ATexture, XFORM& ATextureToGradient) override;

 private:
  TdxSVGValue FCenterX;
  TdxSVGValue FCenterY;
  TdxSVGValue FFocalRadius;
  TdxSVGValue FFocalX;
  TdxSVGValue FFocalY;
  TdxSVGValue FRadius;
};

// ---------------------------------------------------------------------------
// Brush and pen

enum TdxSVGBrushGradientMode { sbgmLinear, sbgmRadial, sbgmNative };

// A GDI+ brush whose gradients follow SVG: a line gradient between the two
// points a gradient box holds, or a path gradient over the ellipse of the
// box around a focal point.
class TdxSVGBrush : public TdxGPBrush {
  SK_CLASS(TdxSVGBrush, TdxGPBrush)
 public:
  void Assign(TdxGPCustomGraphicObject* ASource) override;

  const TdxRectF& GradientBox() const { return FGradientBox; }
  void SetGradientBox(const TdxRectF& AValue);
  const TdxPointF& GradientFocalPoint() const { return FGradientFocalPoint; }
  void SetGradientFocalPoint(const TdxPointF& AValue);
  TdxSVGBrushGradientMode GradientMode() const { return FGradientMode; }
  void SetGradientMode(TdxSVGBrushGradientMode AValue);
  TdxGPBrushGradientMode GradientModeNative() const { return TdxGPBrush::GradientMode(); }
  void SetGradientModeNative(TdxGPBrushGradientMode AValue) { TdxGPBrush::SetGradientMode(AValue); }

 protected:
  void CreateGradientHandle(TdxGpHandle& AHandle) override;
  void CreateTextureHandle(TdxGpHandle& AHandle) override;
  // A pattern lies in user space, not over the shape it fills.
  void TargetRectChanged() override;
  bool IsTargetRectDependent() override;

 private:
  TdxRectF FGradientBox;
  TdxPointF FGradientFocalPoint;
  TdxSVGBrushGradientMode FGradientMode;
};

class TdxSVGPen : public TdxGPPen {
  SK_CLASS(TdxSVGPen, TdxGPPen)
 public:
  TdxSVGBrush* Brush() const { return static_cast<TdxSVGBrush*>(TdxGPPen::Brush()); }
  // Dashes in pen widths, shifted by AOffset pen widths; an empty array
  // makes the pen solid.
  void SetDashes(const std::vector<float>& ADashes, float AOffset);

 protected:
  TdxGPBrush* CreateBrush() override { return New<TdxSVGBrush>(); }
  void CreateHandle(TdxGpHandle& AHandle) override;

 private:
  float FDashOffset;
};

// ---------------------------------------------------------------------------
// Renderers

// What the drawing of one picture shares among its renderers (those of
// pattern tiles and clip paths included): the references being resolved,
// so that a reference back into one of them draws nothing; the number of
// references resolved inside others (uses of uses, patterns of patterns),
// which is bounded, as is the depth of nested drawing.
// The tiles of the patterns drawn so far are kept for the shapes that
// follow, up to a bounded number of pixels. A picture draws a bounded
// number of elements, each use of an element counted again: uses side by
// side multiply as uses inside uses do, and no icon comes near the bound.
struct TdxSVGRenderState {
  static constexpr int MaxDepth = 1100;
  static constexpr int MaxDrawnElements = 20000;
  static constexpr int MaxReferences = 20000;
  static constexpr double MaxTilePixels = 32.0 * 1024 * 1024;

  // A pattern tile: its image size, the scale and opacity it was drawn at.
  using TTileKey = std::tuple<const TdxSVGElement*, int, int, float, float>;

  std::unordered_set<const TdxSVGElement*> References;
  int Depth = 0;
  int DrawnElements = 0;
  int ReferenceCount = 0;
  std::map<TTileKey, TdxGpOwnedImage> Tiles;
  double TilePixels = 0;
};

class TdxSVGCustomRenderer : public TObject {
  SK_CLASS(TdxSVGCustomRenderer, TObject)
 public:
  virtual void Create(IdxColorPalette* APalette);
  void Destroy() override;

  virtual TdxSVGBrush* CreateBrush() { return New<TdxSVGBrush>(); }
  virtual TdxSVGPen* CreatePen() { return New<TdxSVGPen>(); }
  // A width of the user space in the pixels of the target.
  virtual float TransformStrokeWidth(float AWidth) { return AWidth; }
  // The element's pen, then its brush.
  virtual void InitializeAppearance(TdxSVGElement* AElement);

  virtual void Draw(TdxSmartImage* AImage, const TdxRectF& R) = 0;
  virtual void Ellipse(const TdxRectF& R) = 0;
  virtual void Line(float X1, float Y1, float X2, float Y2) = 0;
  virtual void Path(TdxGPPath* APath) = 0;
  virtual void Polygon(const TdxSVGPoints& APoints) = 0;
  virtual void Polyline(const TdxSVGPoints& APoints) = 0;
  virtual void Rectangle(const TdxRectF& R) = 0;
  virtual void RoundRect(const TdxRectF& R, float ARadiusX, float ARadiusY) = 0;
  virtual void TextOut(const String& AText, TdxGPFont* AFont, float X, float Y) = 0;

  // AOpacity times the renderer's; a visible colour's alpha scaled by it.
  virtual TdxAlphaColor MakeColor(TdxAlphaColor AColor, float AOpacity);
  // Multiplies the opacity by AOpacity; answers the previous one.
  virtual float ModifyOpacity(float AOpacity);
  virtual void SetOpacity(float AOpacity);

  virtual void RestoreClipRegion() = 0;
  virtual void SaveClipRegion() = 0;
  virtual void SetClipRegion(TdxGPPath* APath, TdxGPCombineMode AMode) = 0;

  // AMatrix applied before the current transform.
  virtual void ModifyWorldTransform(TdxGPMatrix* AMatrix);
  void ModifyWorldTransform(const XFORM& AXForm);
  virtual void RestoreWorldTransform();
  virtual void SaveWorldTransform();

  // Nested drawing and references (see TdxSVGRenderState). EnterReference
  // answers false, and records nothing, for a reference already being
  // resolved or beyond the budget.
  bool EnterReference(const TdxSVGElement* AElement);
  void LeaveReference(const TdxSVGElement* AElement);
  bool EnterDrawing();
  void LeaveDrawing();
  // From now on this renderer shares AOuter's state.
  void ShareStateWith(TdxSVGCustomRenderer* AOuter) { FState = AOuter->FState; }
  TdxSVGRenderState& State() const { return *FState; }

  TdxSVGBrush* Brush() const { return FBrush.get(); }
  float Opacity() const { return FOpacity; }
  IdxColorPalette* Palette() const { return FPalette.Get(); }
  TdxSVGPen* Pen() const { return FPen.get(); }
  TdxGPMatrix* WorldTransform() const { return FWorldTransform.get(); }

 protected:
  TOwned<TdxSVGBrush> FBrush;
  float FOpacity;
  bool FOpacityAssigned;
  IPtr<IdxColorPalette> FPalette;
  TOwned<TdxSVGPen> FPen;
  TOwned<TdxGPMatrix> FWorldTransform;
  std::vector<TOwned<TdxGPMatrix>> FSavedWorldTransforms;
  std::shared_ptr<TdxSVGRenderState> FState;
};

// Draws on a GDI+ canvas with the renderer's pen and brush.
class TdxSVGRenderer : public TdxSVGCustomRenderer {
  SK_CLASS(TdxSVGRenderer, TdxSVGCustomRenderer)
 public:
  using TdxSVGCustomRenderer::Create;
  virtual void Create(TdxGPCanvas* ACanvas, IdxColorPalette* APalette);

  // |T(w, w)| / sqrt 2 with T the canvas's transform without its
  // translation; 0 for a width not above 0.
  float TransformStrokeWidth(float AWidth) override;

  void Draw(TdxSmartImage* AImage, const TdxRectF& R) override;
  void Ellipse(const TdxRectF& R) override;
  void Line(float X1, float Y1, float X2, float Y2) override;
  void Path(TdxGPPath* APath) override;
  void Polygon(const TdxSVGPoints& APoints) override;
  void Polyline(const TdxSVGPoints& APoints) override;
  void Rectangle(const TdxRectF& R) override;
  void RoundRect(const TdxRectF& R, float ARadiusX, float ARadiusY) override;
  void TextOut(const String& AText, TdxGPFont* AFont, float X, float Y) override;

  void RestoreClipRegion() override;
  void SaveClipRegion() override;
  void SetClipRegion(TdxGPPath* APath, TdxGPCombineMode AMode) override;

  using TdxSVGCustomRenderer::ModifyWorldTransform;
  void ModifyWorldTransform(TdxGPMatrix* AMatrix) override;
  void RestoreWorldTransform() override;
  void SaveWorldTransform() override;

  TdxGPCanvas* Canvas() const { return FCanvas; }

 private:
  // Whether a shape of those bounds, outlined with APen (nil: none), lies
  // wholly outside what the canvas shows.
  bool IsOutside(const TdxRectF& ABounds, TdxGPPen* APen);
  // APath with its curves as lines fine enough for the device; nil when it
  // has no curves.
  TOwned<TdxGPPath> FlattenedForDevice(TdxGPPath* APath);
  // Nil for an empty pen or brush: nothing to draw with.
  TdxGPPen* ActivePen() const;
  TdxGPCustomBrush* ActiveBrush() const;

  TdxGPCanvas* FCanvas;
};

// Collects the outlines of what it is asked to draw into one path.
class TdxSVGRendererClipPath : public TdxSVGCustomRenderer {
  SK_CLASS(TdxSVGRendererClipPath, TdxSVGCustomRenderer)
 public:
  using TdxSVGCustomRenderer::Create;
  virtual void Create(TdxSVGFillMode AClipRule);
  void Destroy() override;

  // Also the clip rule of the element as the path's fill mode.
  void InitializeAppearance(TdxSVGElement* AElement) override;

  void Draw(TdxSmartImage*, const TdxRectF&) override {}
  void Ellipse(const TdxRectF& R) override;
  void Line(float X1, float Y1, float X2, float Y2) override;
  void Path(TdxGPPath* APath) override;
  void Polygon(const TdxSVGPoints& APoints) override;
  void Polyline(const TdxSVGPoints& APoints) override;
  void Rectangle(const TdxRectF& R) override;
  void RoundRect(const TdxRectF& R, float ARadiusX, float ARadiusY) override;
  void TextOut(const String& AText, TdxGPFont* AFont, float X, float Y) override;

  void RestoreClipRegion() override {}
  void SaveClipRegion() override {}
  void SetClipRegion(TdxGPPath*, TdxGPCombineMode) override {}

  using TdxSVGCustomRenderer::ModifyWorldTransform;
  void ModifyWorldTransform(TdxGPMatrix* AMatrix) override;
  void RestoreWorldTransform() override;
  void SaveWorldTransform() override;

  TdxGPPath* ClipPath() const { return FClipPath.get(); }

 private:
  // Adds APath (owned by the caller) transformed by the collected transforms.
  void AddTransformed(TdxGPPath* APath);
  // R through the transforms, kept axis-aligned (both corners).
  TdxRectF TransformRect(const TdxRectF& R) const;

  TOwned<TdxGPPath> FClipPath;
  std::vector<int> FSavedTransforms;
  std::vector<TOwned<TdxGPMatrix>> FTransforms;
  TdxGPFillMode FFillMode;
};

// ---------------------------------------------------------------------------
// Import and export

class TdxSVGFiler : public TObject {
  SK_CLASS(TdxSVGFiler, TObject)
};

// An element that names another with "xlink:href", and its own node.
class TdxSVGReferenceFixup : public TObject {
  SK_CLASS(TdxSVGReferenceFixup, TObject)
 public:
  void Create(TdxSVGElement* AElement, const String& AReference, TdxXMLNode* ANode);
  TdxSVGElement* Element;
  TdxXMLNode* Node;
  String Reference;
};

class TdxSVGImporter : public TdxSVGFiler {
  SK_CLASS(TdxSVGImporter, TdxSVGFiler)
 public:
  // The tree of the document's first top-level "svg" element, with its
  // style sheet applied and its references resolved; false (and no root)
  // without one. The caller owns the root.
  static bool Import(TdxXMLDocument* ADocument, TdxSVGElementRoot*& ARoot);
  // The "svg" element's Size, rounded, from its own attributes only.
  static bool GetSize(TdxXMLDocument* ADocument, TSize& ASize);

  void Create();

  // A tree holds at most this many elements; references that would copy
  // more are dropped.
  static constexpr int MaxElementCount = 250000;

 private:
  static TdxXMLNode* FindSVGNode(TdxXMLDocument* ADocument);
  void ImportNode(TdxXMLNode* ANode, TdxSVGElement* AElement);
  void ImportStyleSheet(const String& AText);
  void ResolveFixups(TdxSVGElementRoot* ARoot);
  // AElement takes ATarget's attributes (and, without children of its own,
  // copies of its children), then reads its own node again.
  void Resolve(TdxSVGElement* AElement, TdxSVGElement* ATarget, TdxXMLNode* ANode);

  std::vector<TOwned<TdxSVGReferenceFixup>> FFixups;
  TOwned<TdxSVGStyles> FStyles;
  int FElementCount;  // made so far, copies included
};

class TdxSVGExporter : public TdxSVGFiler {
  SK_CLASS(TdxSVGExporter, TdxSVGFiler)
 public:
  // The document holds only the tree, as one top-level "svg" element.
  static void Export(TdxSVGElementRoot* ARoot, TdxXMLDocument* ADocument);

 private:
  static void ExportElement(TdxSVGElement* AElement, TdxXMLNode* ANode);
};

// A size rounded to whole pixels; a side that is not positive (or not a
// number) is 0, and a huge one is limited to a quarter of the integer range.
TSize dxSVGRoundSize(const TdxSizeF& ASize);

void dxSVGCoreInitialization();
void dxSVGCoreFinalization();
