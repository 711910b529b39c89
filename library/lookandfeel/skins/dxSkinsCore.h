// The skin core: skins, their colours, typed properties, groups of elements
// and colour palettes, and their binary stream.
//
// Classes in this file:
//   TdxSkinChange, TdxSkinElementState ...   the model's enumerations
//   TdxSkinColorValue        a colour that may name a palette colour supplying its value
//   IdxSkinColorPalette      answers palette colours by name (the skin does)
//   TdxSkinCustomObject      named object with gathered change notification
//   TdxSkinCustomObjectList  owning list of named objects, sorted for Find
//     TdxSkinProperties, TdxSkinColors, TdxSkinControlGroups, TdxSkinElements
//   TdxSkinPersistent        an object with a list of properties
//   TdxSkinProperty          base of named typed values, and its classes:
//     TdxSkinIntegerProperty, TdxSkinBooleanProperty, TdxSkinColor,
//     TdxSkinAlphaColor, TdxSkinRectProperty, TdxSkinSizeProperty,
//     TdxSkinBorder, TdxSkinBorders, TdxSkinStringProperty,
//     TdxSkinWideStringProperty, TdxSkinAlternateImageAttributes,
//     TdxSkinCustomListProperty, TdxSkinColorPalette,
//     TdxSkinGeneralColorPalette, TdxSkinColorPalettes
//   TdxSkinImage             a texture cut into frames by state and image index
//   TdxSkinElementCache, TdxSkinElementCacheList   drawn elements kept for reuse
//   TdxSkinElement           colours, borders, image and glyph of one part
//   TdxSkinControlGroup      the elements of one kind of control
//   TdxSkin                  the whole skin
//   TdxSkinDetails           name, display name, group, notes and icons of a
//                            skin or of a built-in painter
//   TdxSkinBinaryWriter, TdxSkinBinaryReader   skin containers
//   dxSkinFitMargins, dxSkinImageParts         nine-part geometry
//   EdxSkinError             the error of the skin units
//
// Changes travel up: an item reports to its list, a list to its owner, and
// the skin tells its listeners and OnChange. Inside BeginUpdate/EndUpdate
// changes are gathered and reported once by the outermost EndUpdate.
// The stream reader (dxSkinsCore_Stream.cpp) checks every length and count
// against what is left of the stream, and a skin takes over what it read only
// when the whole stream was read. UI thread only.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxColorPalettes.h"
#include "library/lookandfeel/painters/cxButtonState.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class EdxSkinError : public EdxException {
 public:
  using EdxException::EdxException;
};

enum TdxSkinChange { scStruct, scContent, scDetails };
// Which image attributes elements draw: their images (imsOriginal), their
// alternate attributes (imsAlternate), or the images unless a drawing goes
// to a low-colour device (imsDefault).
enum TdxSkinImageSet { imsDefault, imsOriginal, imsAlternate };
// The process-wide choice, imsDefault at start.
TdxSkinImageSet dxSkinImageSet();
void dxSetSkinImageSet(TdxSkinImageSet AValue);
using TdxSkinChanges = TSet<TdxSkinChange>;
enum TdxSkinObjectState { sosUnassigned, sosUnused };
using TdxSkinObjectStates = TSet<TdxSkinObjectState>;
enum TdxSkinElementState {
  esNormal, esHot, esPressed, esDisabled, esActive, esFocused, esDroppedDown, esChecked, esHotCheck,
  esActiveDisabled, esCheckPressed
};
using TdxSkinElementStates = TSet<TdxSkinElementState>;
enum TdxSkinImageLayout { ilHorizontal, ilVertical };
enum TdxSkinStretchMode { smStretch, smTile, smNoResize };
enum TdxSkinGradientMode { gmHorizontal, gmVertical, gmForwardDiagonal, gmBackwardDiagonal };
enum TdxSkinIconSize { sis16, sis48 };

// The names of the element states, by ordinal ("Normal" ... "CheckPressed").
const String& dxSkinElementStateName(TdxSkinElementState AState);

class TdxSkinCustomObject;
class TdxSkin;
class TdxSkinColor;
class TdxSkinElement;
class TdxSkinControlGroup;
class TdxSkinImage;

using TdxSkinChangeNotify = Delegate<void(TObject* Sender, TdxSkinChanges AChanges)>;

// The format version the writer writes; the reader takes 1.0 and later.
constexpr double dxSkinStreamVersion = 1.26;

// ---------------------------------------------------------------------------
// Colour values

// Answers a palette colour by name; the skin answers from its active palette.
struct IdxSkinColorPalette {
  virtual bool GetColorByName(const String& AName, TColor& AColor) = 0;

 protected:
  ~IdxSkinColorPalette() = default;
};

// A colour with a default and, optionally, the name of a palette colour that
// supplies it. The referenced value is looked up through the owner chain on
// first read and kept until FlushCache.
class TdxSkinColorValue {
 public:
  static constexpr TColor Unresolved = TColor(0x1FFFFFFE);

  TdxSkinColorValue(TPersistent* AOwner, TColor ADefaultValue)
      : FDefaultValue(ADefaultValue), FOwner(AOwner), FValue(ADefaultValue) {}

  TColor DefaultValue() const { return FDefaultValue; }
  TColor Value() const;
  // Clears the reference.
  void SetValue(TColor AValue);
  const String& ValueReference() const { return FValueReference; }
  // An empty name keeps the value it resolved to.
  void SetValueReference(const String& AValue);
  // The colour as stored, unresolved marker included (what the stream keeps).
  TColor StoredValue() const { return FValue; }
  // Reading: value and reference at once, as the stream holds them.
  void Load(TColor AStoredValue, const String& AReference);
  void FlushCache();
  // Same default and reference, and without a reference the same value.
  bool operator==(const TdxSkinColorValue& AOther) const;
  void Assign(const TdxSkinColorValue& ASource);

 private:
  TColor FDefaultValue;
  TPersistent* FOwner;
  mutable TColor FValue;
  String FValueReference;
  // A reference that leads back to this colour resolves to the default.
  mutable bool FResolving = false;
};

// ---------------------------------------------------------------------------
// Objects and lists

class TdxSkinCustomObject : public TInterfacedPersistent {
  SK_CLASS(TdxSkinCustomObject, TInterfacedPersistent)
 public:
  virtual void Create(TPersistent* AOwner, const String& AName);

  // Inside one update: DoAssign.
  void Assign(TPersistent* ASource) override;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // Leaves the update and drops what it gathered.
  void CancelUpdate();
  virtual void Changed(TdxSkinChanges AChanges);
  // Puts the marker back into every colour that has a reference.
  virtual void FlushCache() {}
  virtual void ReadData(TStream* AStream, double AVersion);
  virtual void WriteData(TStream* AStream);

  virtual const String& Name() const { return FName; }
  virtual void SetName(const String& AValue);
  TPersistent* Owner() const { return FOwner; }
  TdxSkinObjectStates State() const { return FState; }
  void SetState(TdxSkinObjectStates AValue) { FState = AValue; }
  std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t AValue) { FTag = AValue; }
  TdxSkinChangeNotify OnChange() const { return FOnChange; }
  void SetOnChange(TdxSkinChangeNotify AValue) { FOnChange = AValue; }

 protected:
  TPersistent* GetOwner() override { return FOwner; }
  virtual void DoAssign(TdxSkinCustomObject* ASource);
  virtual void DoChanged(TdxSkinChanges AChanges);
  int UpdateCount() const { return FUpdateCount; }

 private:
  TdxSkinChanges FChanges;
  String FName;
  TPersistent* FOwner;
  TdxSkinObjectStates FState;
  std::intptr_t FTag;
  int FUpdateCount;
  TdxSkinChangeNotify FOnChange;
};

// Owns its items; Find and IndexOf by name, Find through a sorted list.
class TdxSkinCustomObjectList : public TObject {
  SK_CLASS(TdxSkinCustomObjectList, TObject)
 public:
  virtual void Create(TPersistent* AOwner);
  // Reports its changes to AChangeHandler.
  void Create(TPersistent* AOwner, TdxSkinChangeNotify AChangeHandler);
  void Destroy() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  TdxSkinCustomObject* Items(int AIndex) const { return FItems.at(AIndex).get(); }
  // Takes AItem over and reports scStruct.
  void Add(TOwned<TdxSkinCustomObject> AItem);
  void Delete(int AIndex);
  // Deletes AItem when the list holds it; whether it did.
  bool Remove(TdxSkinCustomObject* AItem);
  void Clear();
  void Exchange(int AIndex1, int AIndex2);
  // Sorts first when the list is not sorted.
  bool Find(const String& AName, TdxSkinCustomObject*& AObject);
  int IndexOf(const String& AName) const;
  int IndexOfObject(const TdxSkinCustomObject* AObject) const;
  // By name in the locale's case-sensitive order; children too with ASortChildren.
  void Sort(bool ASortChildren);
  void FlushCache();

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  virtual void Changed(TdxSkinChanges AChanges);

  // A list of items of the stream: the count, then the items, read inside
  // one update. The count is checked against what is left of the stream.
  void ReadData(TStream* AStream, double AVersion);
  void WriteData(TStream* AStream);
  TPersistent* Owner() const { return FOwner; }

 protected:
  virtual void DataReadItem(TStream* AStream, double AVersion) = 0;
  virtual void DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) = 0;
  // The fewest bytes one item takes in a stream.
  virtual int MinItemSize() const = 0;
  virtual void SortChildren() {}

 private:
  void ItemChanged(TObject* Sender, TdxSkinChanges AChanges);

  std::vector<TOwned<TdxSkinCustomObject>> FItems;
  TdxSkinChanges FChanges;
  TPersistent* FOwner;
  bool FSorted;
  int FUpdateCount;
  TdxSkinChangeNotify FOnChange;
};

class TdxSkinProperty;
using TdxSkinPropertyClass = TClass;

class TdxSkinProperties : public TdxSkinCustomObjectList {
  SK_CLASS(TdxSkinProperties, TdxSkinCustomObjectList)
 public:
  TdxSkinProperty* Items(int AIndex) const;
  // The class every item of the list is (a stream naming another is refused).
  virtual TClass ItemClass() const;
  void SetItemClass(TClass AValue) { FItemClass = AValue; }

 protected:
  void DataReadItem(TStream* AStream, double AVersion) override;
  void DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) override;
  int MinItemSize() const override { return 8; }
  void SortChildren() override;

 private:
  TClass FItemClass;
};

class TdxSkinColors : public TdxSkinProperties {
  SK_CLASS(TdxSkinColors, TdxSkinProperties)
 public:
  TClass ItemClass() const override;
};

// ---------------------------------------------------------------------------
// Properties

class TdxSkinPersistent : public TdxSkinCustomObject {
  SK_CLASS(TdxSkinPersistent, TdxSkinCustomObject)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;
  void Destroy() override;

  virtual void Clear();
  virtual void DeleteProperty(TdxSkinProperty* AProperty);
  virtual void Sort(bool ASortChildren);
  void FlushCache() override;

  TdxSkinProperty* AddProperty(const String& AName, TClass AClass);
  TdxSkinProperty* AddPropertyBool(const String& AName, bool AValue);
  TdxSkinProperty* AddPropertyColor(const String& AName, TColor AValue);
  TdxSkinProperty* AddPropertyInteger(const String& AName, int AValue);
  void DeletePropertyByName(const String& AName);
  void ExchangeProperty(int AIndex1, int AIndex2) { FProperties->Exchange(AIndex1, AIndex2); }
  TdxSkinProperty* GetPropertyByName(const String& AName) const;
  bool GetPropertyByName(const String& AName, TdxSkinProperty*& AProperty) const;
  TdxSkinProperty* GetProperty(int AIndex) const { return FProperties->Items(AIndex); }
  int PropertyCount() const { return FProperties->Count(); }
  TdxSkinProperties* Properties() const { return FProperties.get(); }

  bool Modified() const { return FModified; }
  void SetModified(bool AValue) { FModified = AValue; }

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;
  void DoChanged(TdxSkinChanges AChanges) override;
  void SubItemChanged(TObject* Sender, TdxSkinChanges AChanges);

 private:
  bool FModified;
  TOwned<TdxSkinProperties> FProperties;
};

class TdxSkinProperty : public TdxSkinCustomObject {
  SK_CLASS(TdxSkinProperty, TdxSkinCustomObject)
 public:
  // The class name without "TdxSkin" and "Property".
  String Description() const;
  // Same name ignoring ASCII case, same class, equal values.
  virtual bool Compare(TdxSkinProperty* AProperty);

  // The process-wide list of the classes a stream may name.
  static void Register(TClass AClass);
  static void Unregister(TClass AClass);
  // A registered property class by name; raises EClassNotFound for any other
  // name, a registered class that is no property included.
  static TClass FindPropertyClass(const String& AClassName);
};

class TdxSkinIntegerProperty : public TdxSkinProperty {
  SK_CLASS(TdxSkinIntegerProperty, TdxSkinProperty)
 public:
  int Value() const { return FValue; }
  void SetValue(int AValue);
  bool Compare(TdxSkinProperty* AProperty) override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  int FValue;
};

class TdxSkinBooleanProperty : public TdxSkinProperty {
  SK_CLASS(TdxSkinBooleanProperty, TdxSkinProperty)
 public:
  bool Value() const { return FValue; }
  void SetValue(bool AValue);
  bool Compare(TdxSkinProperty* AProperty) override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  bool FValue;
};

class TdxSkinColor : public TdxSkinProperty {
  SK_CLASS(TdxSkinColor, TdxSkinProperty)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;

  TColor Value() const { return FValue.Value(); }
  void SetValue(TColor AValue);
  const String& ValueReference() const { return FValue.ValueReference(); }
  void SetValueReference(const String& AValue);
  virtual TdxAlphaColor ValueAsAlphaColor() const;
  const TdxSkinColorValue& ColorValue() const { return FValue; }

  bool Compare(TdxSkinProperty* AProperty) override;
  void FlushCache() override { FValue.FlushCache(); }
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  TdxSkinColorValue FValue{this, clDefault};
};

class TdxSkinAlphaColor : public TdxSkinColor {
  SK_CLASS(TdxSkinAlphaColor, TdxSkinColor)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;

  std::uint8_t ValueAlpha() const { return FValueAlpha; }
  void SetValueAlpha(std::uint8_t AValue);
  TdxAlphaColor ValueAsAlphaColor() const override;

  bool Compare(TdxSkinProperty* AProperty) override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  std::uint8_t FValueAlpha;
};

class TdxSkinRectProperty : public TdxSkinProperty {
  SK_CLASS(TdxSkinRectProperty, TdxSkinProperty)
 public:
  const TRect& Value() const { return FValue; }
  void SetValue(const TRect& AValue);
  bool Compare(TdxSkinProperty* AProperty) override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  TRect FValue;
};

class TdxSkinSizeProperty : public TdxSkinProperty {
  SK_CLASS(TdxSkinSizeProperty, TdxSkinProperty)
 public:
  const TSize& Value() const { return FValue; }
  void SetValue(const TSize& AValue);
  int cx() const { return FValue.cx; }
  void Setcx(int AValue) { SetValue(TSize(AValue, FValue.cy)); }
  int cy() const { return FValue.cy; }
  void Setcy(int AValue) { SetValue(TSize(FValue.cx, AValue)); }
  bool Compare(TdxSkinProperty* AProperty) override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  TSize FValue;
};

class TdxSkinStringProperty : public TdxSkinProperty {
  SK_CLASS(TdxSkinStringProperty, TdxSkinProperty)
 public:
  const String& Value() const { return FValue; }
  void SetValue(const String& AValue);
  bool Compare(TdxSkinProperty* AProperty) override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  String FValue;
};

// Stored as UTF-16 in the stream.
class TdxSkinWideStringProperty : public TdxSkinStringProperty {
  SK_CLASS(TdxSkinWideStringProperty, TdxSkinStringProperty)
 public:
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;
};

// One side of an element's frame; named after its side.
class TdxSkinBorder : public TdxSkinProperty {
  SK_CLASS(TdxSkinBorder, TdxSkinProperty)
 public:
  void Create(TPersistent* AOwner, TcxBorder AKind);

  TColor Color() const { return FColor.Value(); }
  void SetColor(TColor AValue);
  const String& ColorReference() const { return FColor.ValueReference(); }
  void SetColorReference(const String& AValue);
  int Thin() const { return FThin; }
  void SetThin(int AValue);
  TcxBorder Kind() const { return FKind; }
  // The width when the border is drawn, else 0.
  int ContentMargin() const { return FColor.Value() == clNone ? 0 : FThin; }
  void ResetToDefaults();
  // Its side of R, Thin wide (scaled when a factor is given), opaque.
  void Draw(TdxGPCanvas* ACanvas, const TRect& R, TdxScaleFactor* AScaleFactor);

  // Side, width and colour.
  bool Compare(TdxSkinProperty* AProperty) override;
  void FlushCache() override { FColor.FlushCache(); }
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  TdxSkinColorValue FColor{this, clNone};
  TcxBorder FKind;
  int FThin;
};

class TdxSkinBorders : public TdxSkinProperty {
  SK_CLASS(TdxSkinBorders, TdxSkinProperty)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;
  void Destroy() override;

  TdxSkinBorder* Items(TcxBorder ASide) const { return FBorders[ASide].get(); }
  TdxSkinBorder* Left() const { return Items(bLeft); }
  TdxSkinBorder* Top() const { return Items(bTop); }
  TdxSkinBorder* Right() const { return Items(bRight); }
  TdxSkinBorder* Bottom() const { return Items(bBottom); }
  TRect ContentMargins() const;
  void ResetToDefaults();
  // Left, top, right, bottom.
  void Draw(TdxGPCanvas* ACanvas, const TRect& R, TdxScaleFactor* AScaleFactor);

  bool Compare(TdxSkinProperty* AProperty) override;
  void FlushCache() override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  void BorderChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }

  std::array<TOwned<TdxSkinBorder>, 4> FBorders;
};

// What an element draws instead of its own image attributes for one state
// and image set.
class TdxSkinAlternateImageAttributes : public TdxSkinProperty {
  SK_CLASS(TdxSkinAlternateImageAttributes, TdxSkinProperty)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;
  void Destroy() override;

  std::uint8_t Alpha() const { return FAlpha; }
  void SetAlpha(std::uint8_t AValue);
  TdxSkinBorders* Borders() const { return FBorders.get(); }
  TdxSkinBorders* BordersInner() const { return FBordersInner.get(); }
  const TRect& ContentOffsets() const { return FContentOffsets; }
  void SetContentOffsets(const TRect& AValue);
  TdxSkinGradientMode Gradient() const { return FGradient; }
  void SetGradient(TdxSkinGradientMode AValue);
  const TdxSkinColorValue& GradientBeginColor() const { return FGradientBeginColor; }
  void SetGradientBeginColor(TColor AValue);
  const TdxSkinColorValue& GradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor AValue);
  bool IsAlphaUsed() const { return FAlpha < 255; }
  // What the element draws instead of its image (dxSkinsCore_Drawing.cpp):
  // R less ContentOffsets filled with the gradient at Alpha, the borders on
  // it and the inner borders inside them. Borders scale with AScaleFactor
  // when one is given.
  void Draw(TdxGPCanvas* ACanvas, const TRect& R, TdxScaleFactor* AScaleFactor);
  // Whether the drawing leaves pixels of R uncovered or translucent.
  bool UsesAlpha() const { return IsAlphaUsed() || FContentOffsets != TRect(); }

  bool Compare(TdxSkinProperty* AProperty) override;
  void FlushCache() override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  void PartChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }

  std::uint8_t FAlpha;
  TOwned<TdxSkinBorders> FBorders;
  TOwned<TdxSkinBorders> FBordersInner;
  TRect FContentOffsets;
  TdxSkinGradientMode FGradient;
  TdxSkinColorValue FGradientBeginColor{this, clNone};
  TdxSkinColorValue FGradientEndColor{this, clNone};
};

class TdxSkinCustomListProperty : public TdxSkinProperty {
  SK_CLASS(TdxSkinCustomListProperty, TdxSkinProperty)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;
  void Destroy() override;

  int Count() const { return FProperties->Count(); }
  TdxSkinProperty* GetItem(int AIndex) const { return FProperties->Items(AIndex); }
  void Clear();
  void Delete(TdxSkinProperty* AProperty);
  void Delete(int AIndex);
  void Delete(const String& AName);
  bool Find(const String& AName, TdxSkinProperty*& AProperty);
  void Sort(bool ASortChildren) { FProperties->Sort(ASortChildren); }
  TdxSkinProperties* Properties() const { return FProperties.get(); }

  // Item by item.
  bool Compare(TdxSkinProperty* AProperty) override;
  void FlushCache() override { FProperties->FlushCache(); }
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

 protected:
  virtual TOwned<TdxSkinProperties> CreateProperties();
  void DoAssign(TdxSkinCustomObject* ASource) override;
  void ItemsChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }

 private:
  TOwned<TdxSkinProperties> FProperties;
};

// Named colours; image palettes add alpha colours.
class TdxSkinColorPalette : public TdxSkinCustomListProperty {
  SK_CLASS(TdxSkinColorPalette, TdxSkinCustomListProperty)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;

  TdxSkinColor* Add(const String& AName, TColor AValue);
  TdxSkinColor* Add(const String& AName, const String& AValueReference);
  TClass DefaultColorClass() const { return FDefaultColorClass; }
  void SetDefaultColorClass(TClass AValue) { FDefaultColorClass = AValue; }

 protected:
  TOwned<TdxSkinProperties> CreateProperties() override;

 private:
  TClass FDefaultColorClass;
};

// The skin's active palette: a copy of one of its palettes.
class TdxSkinGeneralColorPalette : public TdxSkinColorPalette {
  SK_CLASS(TdxSkinGeneralColorPalette, TdxSkinColorPalette)
};

class TdxSkinColorPalettes : public TdxSkinCustomListProperty {
  SK_CLASS(TdxSkinColorPalettes, TdxSkinCustomListProperty)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;

  TdxSkinColorPalette* Add(const String& AName);
  TdxSkinColorPalette* Items(int AIndex) const;
  TClass DefaultColorClass() const { return FDefaultColorClass; }
  void SetDefaultColorClass(TClass AValue) { FDefaultColorClass = AValue; }

 protected:
  TOwned<TdxSkinProperties> CreateProperties() override;

 private:
  TClass FDefaultColorClass;
};

// ---------------------------------------------------------------------------
// Images, elements, groups

// A texture: for each image index one frame per state present, in state
// order, along the layout. Its geometry and drawing come with element drawing.
class TdxSkinImage : public TPersistent {
  SK_CLASS(TdxSkinImage, TPersistent)
 public:
  void Create(TdxSkinElement* AOwner);
  void Destroy() override;

  // Only from another skin image.
  void Assign(TPersistent* ASource) override;
  void Clear();
  bool Compare(TdxSkinImage* AImage);
  void FlushCache();
  void ReadData(TStream* AStream, double AVersion);
  void WriteData(TStream* AStream);

  bool Empty() const { return FSourceName.empty() && FTexture->Empty(); }
  TdxSkinElement* Owner() const { return FOwner; }
  TdxSkinColorPalettes* ColorPalettes() const { return FColorPalettes.get(); }
  TdxSkinGradientMode Gradient() const { return FGradient; }
  void SetGradient(TdxSkinGradientMode AValue);
  const TdxSkinColorValue& GradientBeginColor() const { return FGradientBeginColor; }
  void SetGradientBeginColor(TColor AValue);
  void SetGradientBeginColorReference(const String& AValue);
  const TdxSkinColorValue& GradientEndColor() const { return FGradientEndColor; }
  void SetGradientEndColor(TColor AValue);
  void SetGradientEndColorReference(const String& AValue);
  int ImageCount() const { return FImageCount; }
  // At least 1.
  void SetImageCount(int AValue);
  TdxSkinImageLayout ImageLayout() const { return FImageLayout; }
  void SetImageLayout(TdxSkinImageLayout AValue);
  TdxGPInterpolationMode InterpolationMode() const { return FInterpolationMode; }
  void SetInterpolationMode(TdxGPInterpolationMode AValue);
  const TRect& Margins() const { return FMargins; }
  void SetMargins(const TRect& AValue);
  bool MarginsScaled() const { return FMarginsScaled; }
  void SetMarginsScaled(bool AValue);
  TdxSkinElementStates States() const { return FStates; }
  void SetStates(TdxSkinElementStates AValue);
  int StateCount() const;
  TdxSkinStretchMode Stretch() const { return FStretch; }
  void SetStretch(TdxSkinStretchMode AValue);
  TdxSmartImage* Texture() const { return FTexture.get(); }

  // Names and files. Name: empty for an empty image or one without owner;
  // otherwise the element's name, "_Glyph" or "_Image", then ".svg" for a
  // vector texture or ".png". Writing it loads the file of that name.
  String Name() const;
  void SetName(const String& AValue);
  // The file the texture was last loaded from or saved to; else, for an
  // owned image with a texture, the element's path followed by Name.
  String SourceName() const;
  // The file name becomes the source name once the texture is loaded.
  void LoadFromFile(const String& AFileName);
  void LoadFromResource(HINSTANCE AInstance, const String& AName, const wchar_t* AType);
  void LoadFromStream(TStream* AStream);
  // Nothing for an empty image; otherwise into the file name with the
  // extension of Name, which becomes the source name.
  void SaveToFile(const String& AFileName);
  // In the stored encoding, or as PNG where the stream format asks for it.
  void SaveToStream(TStream* AStream);

  // One frame on ABitmap, sized to it, over ABackgroundColor (clNone: over
  // what the bitmap holds; clDefault: over its brush colour), at 96 DPI.
  void GetBitmap(int AImageIndex, TdxSkinElementState AState, TBitmap* ABitmap, TColor ABackgroundColor = clNone);
  // A raster texture becomes a strip of one frame per listed state: the
  // k-th frame is the picture the image had for the k-th listed state
  // (transparent for a state it lacked) and serves the k-th of the new
  // States in their order, so a list out of that order moves pictures
  // between states. A state listed again is not counted twice.
  void SetStateMapping(std::span<const TdxSkinElementState> ATargetStateOrder);

  // Drawing (dxSkinsCore_Drawing.cpp). Frame sizes and margins are 96-DPI
  // pixels. A vector texture holds one frame per image index for all
  // states, rasterised at the target size in the state's palette.
  // Whether the texture is a vector picture (decodes it to tell).
  bool TextureIsVector() const;
  // A state the image lacks draws its lowest state; an index past the last,
  // the last.
  TdxSkinElementState NormalizedState(TdxSkinElementState AState) const;
  int NormalizedImageIndex(int AImageIndex) const { return std::clamp(AImageIndex, 0, FImageCount - 1); }
  // Whether the frame drawn for the index and state lets anything through:
  // a vector texture, an empty one, a frame centred without resizing or one
  // with a pixel below full alpha.
  bool IsAlphaUsed(int AImageIndex, TdxSkinElementState AState);
  // The size of one frame: the texture divided along the layout by
  // ImageCount for a vector texture, else by StateCount x ImageCount.
  TSize Size() const;
  // The palette named after the state, else the normal state's; for the
  // normal state without one, the skin's active palette when allowed and
  // the image belongs to a skin. Nil: no recolouring.
  IPtr<IdxColorPalette> GetPalette(TdxSkinElementState AState, bool ACanUseGlobalPalette) const;
  // The frame of a state in the texture (empty for a state not in States).
  TRect GetStateBounds(int AImageIndex, TdxSkinElementState AState) const;
  // Nine parts stretched or tiled (the corners never scaled beyond the
  // margins), or the frame centred at its scaled size for smNoResize.
  void DrawEx(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex,
              TdxSkinElementState AState);
  void Draw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex = 0,
            TdxSkinElementState AState = esNormal);
  // Draw, mirrored about the rectangle's vertical centre line when
  // AIsRightToLeftLayout.
  void RightToLeftDependentDraw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor, bool AIsRightToLeftLayout,
                                int AImageIndex = 0, TdxSkinElementState AState = esNormal);
  // On any canvas: its native drawing, keyed for back ends that keep what
  // they drew by the image, size, state (with the mirroring), index and DPI.
  void Draw(TcxCustomCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex = 0,
            TdxSkinElementState AState = esNormal);
  void RightToLeftDependentDraw(TcxCustomCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                                bool AIsRightToLeftLayout, int AImageIndex = 0, TdxSkinElementState AState = esNormal);

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  TPersistent* GetOwner() override;

 private:
  void Changed();
  void PalettesChanged(TObject*, TdxSkinChanges) { Changed(); }

  TdxSkinElement* FOwner;
  TOwned<TdxSkinColorPalettes> FColorPalettes;
  TdxSkinGradientMode FGradient;
  TdxSkinColorValue FGradientBeginColor{this, clNone};
  TdxSkinColorValue FGradientEndColor{this, clNone};
  int FImageCount;
  TdxSkinImageLayout FImageLayout;
  TdxGPInterpolationMode FInterpolationMode;
  TRect FMargins;
  bool FMarginsScaled;
  String FSourceName;
  TdxSkinElementStates FStates;
  TdxSkinStretchMode FStretch;
  TOwned<TdxSmartImage> FTexture;
  TNotifyEvent FOnChange;
};

// One cached drawing of an element: its picture and what it was drawn for.
class TdxSkinElementCache : public TObject {
  SK_CLASS(TdxSkinElementCache, TObject)
 public:
  void Create();
  // Renders the element again unless the picture was drawn for the same
  // element, state, image index, image set, size and scale factor; then
  // draws it.
  void Draw(TdxGPCanvas* ACanvas, TdxSkinElement* AElement, const TRect& ARect, TdxScaleFactor* AScaleFactor,
            int AImageIndex, TdxSkinElementState AState);
  // Forgets the element and the picture.
  void Flush();

  TdxSkinElement* Element() const { return FElement; }
  int ImageIndex() const { return FImageIndex; }
  TdxSkinElementState State() const { return FState; }
  const TSize& Size() const { return FSize; }
  // Whether the picture was kept without alpha (the element covers its
  // rectangle) and is copied rather than blended.
  bool Opaque() const { return static_cast<bool>(FCacheOpaque); }

 private:
  void Render(TdxSkinElement* AElement, TdxScaleFactor* AScaleFactor);

  TOwned<TdxSmartImage> FPicture;
  // Made once when rendered, so that a draw is one GDI+ image call.
  TdxGpOwnedImage FCacheOpaque;
  TdxSkinElement* FElement;
  TdxSkinImageSet FImageSet;
  int FImageIndex;
  TOwned<TdxScaleFactor> FScaleFactor;
  TSize FSize;
  TdxSkinElementState FState;
};

// The cached drawings of an element, oldest first; a full list reuses its
// oldest entry.
class TdxSkinElementCacheList : public TObject {
  SK_CLASS(TdxSkinElementCacheList, TObject)
 public:
  void Create(int ACapacity);
  void DrawElement(TdxGPCanvas* ACanvas, TdxSkinElement* AElement, const TRect& R, TdxScaleFactor* AScaleFactor,
                   TdxSkinElementState AState, int AImageIndex);
  void Clear() { FData.clear(); }

  int Capacity() const { return FCapacity; }
  // At least 1; lowering it drops the oldest entries.
  void SetCapacity(int AValue);
  int Count() const { return static_cast<int>(FData.size()); }
  TdxSkinElementCache* Items(int AIndex) const { return FData.at(static_cast<std::size_t>(AIndex)).get(); }

 private:
  TdxSkinElementCache* EntryFor(TdxSkinElement* AElement, const TSize& ASize, TdxSkinElementState AState,
                                int AImageIndex);

  int FCapacity;
  std::vector<TOwned<TdxSkinElementCache>> FData;
};

class TdxSkinElement : public TdxSkinPersistent {
  SK_CLASS(TdxSkinElement, TdxSkinPersistent)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;
  void Destroy() override;

  // Names ignoring case, resolved colours, alpha, minimum size, content
  // offset, borders, properties, image and glyph.
  virtual bool Compare(TdxSkinElement* AElement);
  void FlushCache() override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

  // The property named by the alternate-attribute rule, added.
  TdxSkinAlternateImageAttributes* AddAlternateImageAttributes(TdxSkinElementState AState, int AImageIndex);
  // The alternate attributes of the image index and state, normalised as
  // the image normalises them (nil when there are none).
  TdxSkinAlternateImageAttributes* GetAlternateImageAttributes(int AImageIndex, TdxSkinElementState AState);
  // The TdxSkinColor named prefix + name, else clDefault.
  TColor FindColor(const String& AName, const String& ANamePrefix = String()) const;
  TColor GetTextColor(TdxSkinElementState AState, const String& ANamePrefix = String()) const;
  // The state's text colour ("DisabledText" as well when disabled), then as
  // the element state form does.
  TColor GetTextColor(TcxButtonState AState, const String& ANamePrefix) const;
  TColor GetTextColor(const String& AName) const;

  std::uint8_t Alpha() const { return FAlpha; }
  void SetAlpha(std::uint8_t AValue);
  TdxSkinBorders* Borders() const { return FBorders.get(); }
  TColor Color() const { return FColor.Value(); }
  void SetColor(TColor AValue);
  const String& ColorReference() const { return FColor.ValueReference(); }
  void SetColorReference(const String& AValue);
  const TRect& ContentOffset() const { return FContentOffset; }
  void SetContentOffset(const TRect& AValue);
  TdxSkinImage* Glyph() const { return FGlyph.get(); }
  TdxSkinImage* Image() const { return FImage.get(); }
  const TSize& MinSize() const { return FMinSize; }
  void SetMinSize(const TSize& AValue);
  TColor TextColor() const { return FTextColor.Value(); }
  void SetTextColor(TColor AValue);
  const String& TextColorReference() const { return FTextColor.ValueReference(); }
  void SetTextColorReference(const String& AValue);
  bool UseCache() const { return FUseCache; }
  // Caching stays off without an image, and for a vector image without
  // margins (it is drawn whole, in proportion, at any size).
  void SetUseCache(bool AValue);
  int CacheCapacity() const { return FCacheCapacity; }
  void SetCacheCapacity(int AValue);
  bool ScaleBorders() const { return FScaleBorders; }
  void SetScaleBorders(bool AValue);
  TdxSkinControlGroup* Group() const;
  // The group's name and a backslash.
  String Path() const;

  // The colour at Alpha, the image (or its alternate attributes, when the
  // image is empty or the image set asks for them), the borders (scaled
  // with ScaleBorders) and the glyph inside ContentOffset.
  virtual void DrawEx(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex,
                      TdxSkinElementState AState);
  // Through the cache when caching.
  void Draw(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex = 0,
            TdxSkinElementState AState = esNormal);
  // The cache, or none when not caching.
  TdxSkinElementCacheList* Cache() const { return FCache.get(); }
  // MinSize, raised per axis to the frame size of an image or glyph that
  // does not resize.
  TSize CalculateMinSize() const;
  // A new picture of ASize (a zero side: the minimum size scaled) with the
  // element drawn into it; the caller owns it.
  TOwned<TdxSmartImage> GetImage(int AImageIndex, const TSize& ASize, TdxScaleFactor* AScaleFactor,
                                 TdxSkinElementState AState = esNormal);
  // Nothing for an empty rectangle or one the device context does not show.
  void Draw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex = 0,
            TdxSkinElementState AState = esNormal);
  // Draw, mirrored about the rectangle's vertical centre line when
  // AIsRightToLeftLayout.
  void RightToLeftDependentDraw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor, bool AIsRightToLeftLayout,
                                int AImageIndex = 0, TdxSkinElementState AState = esNormal);
  void RightToLeftDependentDraw(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                                bool AIsRightToLeftLayout, int AImageIndex = 0, TdxSkinElementState AState = esNormal);
  // Only inside AClipRect (nothing when it misses ARect); the device
  // context's state comes back as it was.
  void Draw(HDC DC, const TRect& ARect, const TRect& AClipRect, TdxScaleFactor* AScaleFactor, int AImageIndex = 0,
            TdxSkinElementState AState = esNormal);
  // On any canvas: its native drawing, keyed by the element, size, state,
  // index and DPI (the state with the mirroring for the right-to-left form).
  void Draw(TcxCustomCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor, int AImageIndex = 0,
            TdxSkinElementState AState = esNormal);
  void Draw(TcxCustomCanvas* ACanvas, const TRect& ARect, const TRect& AClipRect, TdxScaleFactor* AScaleFactor,
            int AImageIndex = 0, TdxSkinElementState AState = esNormal);
  void RightToLeftDependentDraw(TcxCustomCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                                bool AIsRightToLeftLayout, int AImageIndex = 0, TdxSkinElementState AState = esNormal);

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;
  void DoChanged(TdxSkinChanges AChanges) override;

 private:
  void ImageChanged(TObject*) { Changed({scContent}); }
  // Whether the alternate attributes replace the image in this drawing.
  bool UsesAlternateImageSet(bool ALowColors) const;
  // Whether a drawing for the index and state may leave pixels of its
  // rectangle uncovered or partly transparent.
  bool IsAlphaUsed(bool ALowColors, int AImageIndex, TdxSkinElementState AState);
  friend class TdxSkinElementCache;

  std::uint8_t FAlpha;
  // The alternate attributes of one image index, by state; rebuilt when
  // another index is asked for or the element's structure changed.
  std::array<TdxSkinAlternateImageAttributes*, esCheckPressed + 1> FAlternateImageSet{};
  bool FAlternateImageSetDirty = true;
  int FAlternateImageSetIndex = -1;
  TOwned<TdxSkinBorders> FBorders;
  TOwned<TdxSkinElementCacheList> FCache;
  int FCacheCapacity;
  TdxSkinColorValue FColor{this, clDefault};
  TRect FContentOffset;
  TOwned<TdxSkinImage> FGlyph;
  TOwned<TdxSkinImage> FImage;
  TSize FMinSize;
  bool FScaleBorders;
  TdxSkinColorValue FTextColor{this, clDefault};
  bool FUseCache;
};

class TdxSkinElements : public TdxSkinCustomObjectList {
  SK_CLASS(TdxSkinElements, TdxSkinCustomObjectList)
 public:
  TdxSkinElement* Items(int AIndex) const { return static_cast<TdxSkinElement*>(inherited::Items(AIndex)); }

 protected:
  void DataReadItem(TStream* AStream, double AVersion) override;
  void DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) override;
  int MinItemSize() const override;
  void SortChildren() override;
};

class TdxSkinControlGroup : public TdxSkinPersistent {
  SK_CLASS(TdxSkinControlGroup, TdxSkinPersistent)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;
  void Destroy() override;

  void Clear() override;
  void Sort(bool ASortChildren) override;
  void FlushCache() override;
  void ReadData(TStream* AStream, double AVersion) override;
  void WriteData(TStream* AStream) override;

  TdxSkinElement* AddElement(const String& AName) { return AddElementEx(AName, TdxSkinElement::ClassInfo()); }
  TdxSkinElement* AddElementEx(const String& AName, TClass AElementClass);
  void Delete(int AIndex) { FElements->Delete(AIndex); }
  void ExchangeElements(int AIndex1, int AIndex2) { FElements->Exchange(AIndex1, AIndex2); }
  void RemoveElement(TdxSkinElement* AElement) { FElements->Remove(AElement); }
  void RemoveElementByName(const String& AName);
  TdxSkinElement* GetElementByName(const String& AName) const;
  bool GetElementByName(const String& AName, TdxSkinElement*& AElement) const;
  TdxSkinElement* GetElement(int AIndex) const { return FElements->Items(AIndex); }
  // Assigns into the existing element.
  void SetElement(int AIndex, TdxSkinElement* AElement) { FElements->Items(AIndex)->Assign(AElement); }
  int Count() const { return FElements->Count(); }
  bool HasMissingElements() const;
  TdxSkin* Skin() const;
  // Same name, properties and elements.
  bool Compare(TdxSkinControlGroup* AGroup);

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;

 private:
  TOwned<TdxSkinElements> FElements;
};

class TdxSkinControlGroups : public TdxSkinCustomObjectList {
  SK_CLASS(TdxSkinControlGroups, TdxSkinCustomObjectList)
 public:
  TdxSkinControlGroup* Items(int AIndex) const {
    return static_cast<TdxSkinControlGroup*>(inherited::Items(AIndex));
  }

 protected:
  void DataReadItem(TStream* AStream, double AVersion) override;
  void DataWriteItem(TStream* AStream, TdxSkinCustomObject* AItem) override;
  int MinItemSize() const override { return 12; }
  void SortChildren() override;
};

// ---------------------------------------------------------------------------
// Details

class TdxSkinDetails : public TPersistent {
  SK_CLASS(TdxSkinDetails, TPersistent)
 public:
  void Create();
  void Destroy() override;

  // From other details: texts and icons, reported as one change.
  void Assign(TPersistent* ASource) override;
  // Empties the texts and both icons.
  virtual void Clear();

  void BeginUpdate();
  void EndUpdate();

  // The details of a skin stream: the name, and from 1.04 on the texts and icons.
  virtual void ReadData(TStream* AStream, double AVersion);
  virtual void WriteData(TStream* AStream);
  // Reads the details of the skin stream that starts at the stream's
  // position, which becomes DataOffset; False when the header is not valid.
  // Streams before 1.04 are read whole to find their name.
  bool LoadFromStream(TStream* AStream);

  const String& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const String& AValue) { SetText(FDisplayName, AValue); }
  const String& GroupName() const { return FGroupName; }
  void SetGroupName(const String& AValue) { SetText(FGroupName, AValue); }
  const String& Name() const { return FName; }
  void SetName(const String& AValue) { SetText(FName, AValue); }
  const String& Notes() const { return FNotes; }
  void SetNotes(const String& AValue) { SetText(FNotes, AValue); }
  // Where the skin's data start in a skin container.
  std::int64_t DataOffset() const { return FDataOffset; }
  void SetDataOffset(std::int64_t AValue) { FDataOffset = AValue; }

  TdxSmartImage* GetIcon(TdxSkinIconSize ASize) const { return FIcons[ASize].get(); }
  // Loads the default icon of that size from the module's resources
  // ("DEFAULTSKINICONSMALL" or "DEFAULTSKINICONLARGE", type "DXSKINS"); an
  // icon without its resource is left empty.
  void ResetIcon(TdxSkinIconSize ASize);
  // Loads an icon from a module's resource; without that resource the icon
  // is left empty (a module need not ship every icon).
  void LoadIcon(TdxSkinIconSize ASize, HINSTANCE AInstance, const String& AName, const wchar_t* AType);

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  virtual void Changed();

 private:
  void SetText(String& AField, const String& AValue);

  String FDisplayName;
  String FGroupName;
  std::array<TOwned<TdxSmartImage>, 2> FIcons;
  String FName;
  String FNotes;
  int FUpdateCount;
  bool FChangedInUpdate;
  TNotifyEvent FOnChange;
  std::int64_t FDataOffset;
};

// ---------------------------------------------------------------------------
// The skin

// Told of a skin's changes (tried first).
struct IdxSkinChangeListener2 : public virtual IInterface {
  static constexpr GUID IID = {0x3B0E5A41, 0x6C2D, 0x4F18, {0x9A, 0x57, 0x21, 0xC4, 0x8E, 0x0D, 0x73, 0x5B}};
  virtual void SkinChanged(TdxSkin* ASkin, TdxSkinChanges AChanges) = 0;

 protected:
  ~IdxSkinChangeListener2() = default;
};

struct IdxSkinChangeListener : public virtual IInterface {
  static constexpr GUID IID = {0x7F2A9C14, 0x0B6E, 0x4D3A, {0x85, 0x1F, 0xC9, 0x36, 0x4A, 0xE2, 0x10, 0x6D}};
  virtual void SkinChanged(TdxSkin* ASkin) = 0;

 protected:
  ~IdxSkinChangeListener() = default;
};

class TdxSkin : public TdxSkinPersistent, public IdxSkinColorPalette {
  SK_CLASS(TdxSkin, TdxSkinPersistent)
 public:
  void Create(TPersistent* AOwner, const String& AName) override;
  // A skin of that name; loaded from the module's "DXSKINS" resource of the
  // same name when ALoadOnCreate.
  virtual void Create(const String& AName, bool ALoadOnCreate, HINSTANCE AInstance);
  void BeforeDestruction() override;
  void Destroy() override;

  // A new skin of this class with this skin assigned; the caller owns it.
  virtual TOwned<TdxSkin> Clone(const String& AName);
  void Clear() override;
  virtual void DeleteGroup(TdxSkinControlGroup* AGroup);
  void DeleteProperty(TdxSkinProperty* AProperty) override;
  void Sort(bool ASortChildren) override;
  void FlushCache() override;
  // Same details' name, colours, properties, groups and palettes.
  bool Compare(TdxSkin* ASkin);

  // One skin stream. Loading reads into a new skin and takes it over only
  // when the whole stream was read; on an error this skin keeps what it had.
  virtual void LoadFromStream(TStream* AStream);
  virtual void SaveToStream(TStream* AStream);
  void LoadFromFile(const String& AFileName);
  void SaveToFile(const String& AFileName);
  virtual void LoadFromResource(HINSTANCE AInstance);
  // A skin container: skin 0 of it, or one holding this skin.
  void LoadFromBinaryStream(TStream* AStream);
  void SaveToBinaryStream(TStream* AStream);
  void LoadFromBinaryFile(const String& AFileName);
  void SaveToBinaryFile(const String& AFileName);

  TdxSkinColor* AddColor(const String& AName, TColor AColor);
  TdxSkinControlGroup* AddGroup(const String& AName);
  void AddListener(IInterface* AListener);
  void RemoveListener(IInterface* AListener);
  void ClearModified();
  void ExchangeColors(int AIndex1, int AIndex2) { FColors->Exchange(AIndex1, AIndex2); }
  void ExchangeGroups(int AIndex1, int AIndex2) { FGroups->Exchange(AIndex1, AIndex2); }
  TdxSkinColor* GetColorByName(const String& AName) const;
  TdxSkinControlGroup* GetGroupByName(const String& AName) const;
  bool GetGroupByName(const String& AName, TdxSkinControlGroup*& AGroup) const;
  TdxSkinColor* GetColor(int AIndex) const { return static_cast<TdxSkinColor*>(FColors->Items(AIndex)); }
  TdxSkinControlGroup* GetGroup(int AIndex) const { return FGroups->Items(AIndex); }
  int ColorCount() const { return FColors->Count(); }
  int GroupCount() const { return FGroups->Count(); }
  bool HasMissingElements() const;

  const String& Name() const override { return FDetails->Name(); }
  void SetName(const String& AValue) override { FDetails->SetName(AValue); }
  // The details' display name, else the name.
  const String& DisplayName() const;
  TdxSkinDetails* Details() const { return FDetails.get(); }
  TdxSkinColorPalettes* ColorPalettes() const { return FColorPalettes.get(); }
  // A copy of the chosen palette, not the palette itself.
  TdxSkinGeneralColorPalette* ActiveColorPalette() const { return FColorPalette.get(); }
  const String& ActiveColorPaletteName() const { return FColorPalette->Name(); }
  void SetActiveColorPaletteName(const String& AValue);

  // IdxSkinColorPalette: the active palette's colours.
  bool GetColorByName(const String& AName, TColor& AColor) override;

 protected:
  void DoAssign(TdxSkinCustomObject* ASource) override;
  void DoChanged(TdxSkinChanges AChanges) override;
  // Reads the body of a stream whose header was read: details, colours,
  // properties, groups and, from 1.15, palettes.
  void ReadBody(TStream* AStream, double AVersion);

 private:
  // Copies the palette named AName, else "Default", else the first one.
  void ChooseActivePalette(const String& AName);
  void DetailsChanged(TObject*) { Changed({scDetails}); }
  void PalettesChanged(TObject*, TdxSkinChanges AChanges);

  TOwned<TdxSkinGeneralColorPalette> FColorPalette;
  TOwned<TdxSkinColorPalettes> FColorPalettes;
  bool FDestroying;
  TOwned<TdxSkinDetails> FDetails;
  TOwned<TdxSkinControlGroups> FGroups;
  std::vector<IPtr<IInterface>> FListeners;
  TOwned<TdxSkinColors> FColors;
};

// ---------------------------------------------------------------------------
// Containers

// Writes a container: the header and count where the stream stood, then each
// skin with its size. Destroying the writer writes the final count.
class TdxSkinBinaryWriter : public TObject {
  SK_CLASS(TdxSkinBinaryWriter, TObject)
 public:
  void Create(TStream* AStream);
  void Destroy() override;
  void AddSkin(TdxSkin* ASkin);

 private:
  void WriteHeader();

  TStream* FStream;
  std::int64_t FStreamPosition;
  int FCount;
};

// The catalogue of a container, or of a plain skin stream (one skin).
class TdxSkinBinaryReader : public TObject {
  SK_CLASS(TdxSkinBinaryReader, TObject)
 public:
  void Create(TStream* AStream);
  void Destroy() override;

  int Count() const { return static_cast<int>(FSkins.size()); }
  TdxSkinDetails* GetSkinDetails(int AIndex) const { return FSkins.at(AIndex).get(); }
  const String& GetSkinName(int AIndex) const { return GetSkinDetails(AIndex)->Name(); }
  const String& GetSkinDisplayName(int AIndex) const { return GetSkinDetails(AIndex)->DisplayName(); }
  std::int64_t GetSkinOffset(int AIndex) const { return GetSkinDetails(AIndex)->DataOffset(); }
  // False for an index outside the catalogue.
  bool LoadSkin(TdxSkin* ASkin, int ASkinIndex);
  // The first skin of that name ignoring ASCII case (the first skin for an empty name).
  bool LoadSkin(TdxSkin* ASkin, const String& ASkinName);

 private:
  bool ReadContainer();

  TStream* FStream;
  std::vector<TOwned<TdxSkinDetails>> FSkins;
};

// The margins drawn into a destination of ASize: negative ones become 0, and
// where left + right (top + bottom) exceed the size each loses its share of
// the excess, rounded to nearest.
TRect dxSkinFitMargins(const TRect& AMargins, const TSize& ASize);
// The nine parts of AFrame split by AMargins: top-left, top, top-right, left,
// centre, right, bottom-left, bottom, bottom-right.
std::array<TRect, 9> dxSkinImageParts(const TRect& AFrame, const TRect& AMargins);
// Nothing for clNone or clDefault; a gradient when AColor2 is another real
// colour, else a solid fill; both at AAlpha.
void dxSkinFillRectByGradient(TdxGPCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                              TdxSkinGradientMode AMode, std::uint8_t AAlpha);

// The unit's start-up: the shared empty element and the class registrations.
void dxSkinsCoreInitialization();
void dxSkinsCoreFinalization();
// The element drawn for one a skin lacks.
TdxSkinElement* dxSkinEmptyElement();
