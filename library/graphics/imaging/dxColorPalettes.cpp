#include "library/graphics/imaging/dxColorPalettes.h"

#include <rpc.h>

// ---------------------------------------------------------------------------
// TdxCustomColorPalette

void TdxCustomColorPalette::AfterConstruction() {
  inherited::AfterConstruction();
  CalculateID();
}

bool TdxCustomColorPalette::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxColorPalette>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TdxCustomColorPalette::Changed() { CalculateID(); }

void TdxCustomColorPalette::CalculateID() { UuidCreate(&FID); }

// ---------------------------------------------------------------------------
// TdxSimpleColorPalette

void TdxSimpleColorPalette::Create(TdxAlphaColor AFillColor, TdxAlphaColor AStrokeColor) {
  inherited::Create();
  FFillColor = AFillColor;
  FStrokeColor = AStrokeColor;
}

TdxAlphaColor TdxSimpleColorPalette::GetFillColor(const String&) { return FFillColor; }

TdxAlphaColor TdxSimpleColorPalette::GetStrokeColor(const String&) { return FStrokeColor; }

void TdxSimpleColorPalette::SetFillColor(TdxAlphaColor AValue) {
  if (FFillColor == AValue) return;
  FFillColor = AValue;
  Changed();
}

void TdxSimpleColorPalette::SetStrokeColor(TdxAlphaColor AValue) {
  if (FStrokeColor == AValue) return;
  FStrokeColor = AValue;
  Changed();
}

void TdxSimpleColorPalette::CalculateID() {
  FID = GUID{};
  FID.Data1 = FFillColor;
  // Data2 and Data3 hold the stroke colour's bytes in memory order.
  FID.Data2 = static_cast<unsigned short>(FStrokeColor);
  FID.Data3 = static_cast<unsigned short>(FStrokeColor >> 16);
  // Two empty colours would give the zero GUID, the key of drawing without a
  // palette, although they draw no fill and no stroke; one marker byte keeps
  // the two apart in the caches.
  if (FFillColor == 0 && FStrokeColor == 0) FID.Data4[0] = 1;
}

// ---------------------------------------------------------------------------

void GetPaletteID(IdxColorPalette* APalette, GUID& AID) { AID = APalette ? APalette->GetID() : GUID{}; }
