// Colour palettes: what a vector image asks for the fill and stroke colour
// of each element instead of the colours it stores, so that one monochrome
// glyph serves several looks. Raster images take a palette and ignore it.
//
// Classes in this file:
//   IdxColorPalette         the palette as drawing operations receive it (counted)
//   TdxCustomColorPalette   the base: an identity that changes with the colours
//   TdxSimpleColorPalette   one fill and one stroke colour for every element
//
// Caches of rendered images key their entries on a palette's identity
// (GetPaletteID), never on the palette object: the identity changes whenever
// the colours do, and the zero GUID stands for drawing without a palette.
#pragma once

#include "library/core/colors/dxCoreGraphics.h"
#include "platform/runtime/System.h"

struct IdxColorPalette : public virtual IInterface {
  static constexpr GUID IID = {0x5C39C925, 0xE8B5, 0x4709, {0xAA, 0x96, 0xB0, 0x54, 0xE7, 0x27, 0x47, 0x35}};
  virtual GUID GetID() = 0;
  // AID names the element being drawn; a palette may answer per element or
  // ignore it.
  virtual TdxAlphaColor GetFillColor(const String& AID) = 0;
  virtual TdxAlphaColor GetStrokeColor(const String& AID) = 0;

 protected:
  ~IdxColorPalette() = default;
};

// A new random identity after construction and after every change.
class TdxCustomColorPalette : public TInterfacedObject, public IdxColorPalette {
  SK_CLASS(TdxCustomColorPalette, TInterfacedObject)
 public:
  void AfterConstruction() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  GUID GetID() final { return FID; }
  TdxAlphaColor GetFillColor(const String& AID) override = 0;
  TdxAlphaColor GetStrokeColor(const String& AID) override = 0;

 protected:
  virtual void Changed();
  virtual void CalculateID();

  GUID FID;
};

class TdxSimpleColorPalette : public TdxCustomColorPalette {
  SK_CLASS(TdxSimpleColorPalette, TdxCustomColorPalette)
 public:
  void Create(TdxAlphaColor AFillColor, TdxAlphaColor AStrokeColor);

  // The stored colours, whatever the element.
  TdxAlphaColor GetFillColor(const String& AID) override;
  TdxAlphaColor GetStrokeColor(const String& AID) override;

  TdxAlphaColor FillColor() const { return FFillColor; }
  void SetFillColor(TdxAlphaColor AValue);
  TdxAlphaColor StrokeColor() const { return FStrokeColor; }
  void SetStrokeColor(TdxAlphaColor AValue);

 protected:
  // Not random: the fill colour in the first four bytes, the stroke colour
  // in the next four, zeros after (but for two empty colours, which must not
  // look like no palette); equal colours give equal identities.
  void CalculateID() override;

 private:
  TdxAlphaColor FFillColor;
  TdxAlphaColor FStrokeColor;
};

// The palette's identity, or the zero GUID for no palette.
void GetPaletteID(IdxColorPalette* APalette, GUID& AID);
