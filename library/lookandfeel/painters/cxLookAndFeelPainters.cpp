// The base painter's life cycle and painter information, and the unit's
// start-up and shut-down.
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include "library/core/base/cxLibraryStrs.h"
#include "library/core/base/dxCore.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"
#include "library/lookandfeel/painters/dxOffice11.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"

namespace {

bool GPaintersFinalized = false;

}  // namespace

bool cxLookAndFeelPaintersFinalized() { return GPaintersFinalized; }

// ---------------------------------------------------------------------------
// TcxCustomLookAndFeelPainter: life cycle

void TcxCustomLookAndFeelPainter::Create() { inherited::Create(); }

void TcxCustomLookAndFeelPainter::Destroy() {
  FreeCachedResources();
  inherited::Destroy();
}

TOwned<TdxSkinDetails> TcxCustomLookAndFeelPainter::CreatePainterDetails() {
  TOwned<TdxSkinDetails> details(New<TdxSkinDetails>());
  const String name = LookAndFeelName();
  details->SetName(name);
  details->SetDisplayName(name);
  details->SetGroupName(LoadResString(&scxBuiltInLookAndFeelStyles));
  const String resource = L"CX_LOOKANDFEELSTYLEICON_" + AnsiUpperCase(name);
  details->GetIcon(sis16)->LoadFromResource(HInstance(), resource + L"16", L"PNG");
  details->GetIcon(sis48)->LoadFromResource(HInstance(), resource + L"48", L"PNG");
  return details;
}

TdxSkinDetails* TcxCustomLookAndFeelPainter::GetPainterDetailsObject() {
  if (!FLookAndFeelPainterDetailsCache) FLookAndFeelPainterDetailsCache = CreatePainterDetails();
  return FLookAndFeelPainterDetailsCache.get();
}

void TcxCustomLookAndFeelPainter::FreeCachedResources() {
  FClearButtonGlyph.reset();
  for (auto& glyph : FPasswordRevealButtonGlyphs) glyph.reset();
  FSearchButtonGlyph.reset();
  FLookAndFeelPainterDetailsCache.reset();
}

// ---------------------------------------------------------------------------
// TcxCustomLookAndFeelPainter: painter information

bool TcxCustomLookAndFeelPainter::GetPainterData(void*& AData) {
  AData = nullptr;
  return false;
}

bool TcxCustomLookAndFeelPainter::GetPainterDetails(TdxSkinDetails*& ADetails) {
  ADetails = GetPainterDetailsObject();
  return true;
}

bool TcxCustomLookAndFeelPainter::IsInternalPainter() { return false; }

String TcxCustomLookAndFeelPainter::LookAndFeelName() { return String(); }

TcxLookAndFeelStyle TcxCustomLookAndFeelPainter::LookAndFeelStyle() { return lfsStandard; }

bool TcxCustomLookAndFeelPainter::NeedRedrawOnResize() { return false; }

void TcxCustomLookAndFeelPainter::ResetLookAndFeelSettings() {}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

namespace {

// Run by the units loader: from here on the manager is not made again, and
// the painters give back what they cached.
void FinalizePainters() {
  GPaintersFinalized = true;
  if (TcxLookAndFeelPaintersManager* manager = cxPaintersManagerIfExists()) manager->FreePaintersCachedResources();
  cxFreeIndicatorImages();
}

// The radio images' Office11 colours come from the colour set.
class TPaintersRadioButtonColors : public TcxRadioButtonColors {
 public:
  TColor Office11DisabledTextColor() override { return Office11Color(::Office11DisabledTextColor); }
  TColor Office11HighlightBorderColor() override { return Office11Color(::Office11HighlightBorderColor); }
};

TPaintersRadioButtonColors GPaintersRadioButtonColors;

}  // namespace

void cxLookAndFeelPaintersInitialization() {
  GPaintersFinalized = false;
  cxSetRadioButtonColors(&GPaintersRadioButtonColors);
  if (TdxUnitsLoader* loader = GetUnitsLoader()) loader->AddUnit(nullptr, &FinalizePainters);
}

void cxLookAndFeelPaintersFinalization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&FinalizePainters);
  else
    FinalizePainters();
  cxFreePaintersManager();
  cxSetRadioButtonColors(nullptr);
}
