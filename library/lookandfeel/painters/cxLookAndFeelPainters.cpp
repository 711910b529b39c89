// The base painter's life cycle and painter information, and the unit's
// start-up and shut-down.
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include "library/core/base/cxLibraryStrs.h"
#include "library/core/base/dxCore.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"
#include "library/lookandfeel/painters/dxOffice11.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "platform/ui/GdiScopes.h"

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
  details->LoadIcon(sis16, HInstance(), resource + L"16", L"PNG");
  details->LoadIcon(sis48, HInstance(), resource + L"48", L"PNG");
  return details;
}

TdxSkinDetails* TcxCustomLookAndFeelPainter::GetPainterDetailsObject() {
  if (!FLookAndFeelPainterDetailsCache) FLookAndFeelPainterDetailsCache = CreatePainterDetails();
  return FLookAndFeelPainterDetailsCache.get();
}

void TcxCustomLookAndFeelPainter::FreeCachedResources() {
  FFilterControlAddButtonGlyph.reset();
  FFilterControlRemoveButtonGlyph.reset();
  FFilterPanelRemoveButtonGlyph.reset();
  FFindPanelNextButtonGlyph.reset();
  FFindPanelPreviousButtonGlyph.reset();
  FGroupByBoxSearchButtonGlyph.reset();
  FSmartTagGlyph.reset();
  FBackButton.reset();
  FClockFace.reset();
  FClockGlass.reset();
  FFixedGroupIndicator.reset();
  FRatingControlIndicator.reset();
  FClearButtonGlyph.reset();
  for (auto& glyph : FPasswordRevealButtonGlyphs) glyph.reset();
  FSearchButtonGlyph.reset();
  FMapPushpin.reset();
  FNavigationBarCustomizationButton.reset();
  FPinGlyph.reset();
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
// Unit start-up, shut-down and the shared caches

namespace {

// The predefined bitmap of the system's check boxes: four columns and three
// rows of cells.
constexpr WORD ObmCheckBoxes = 32759;

int GInitializationCount = 0;
TSize GStandardCheckBoxSize;

struct THalftoneBrush {
  TOwned<TBitmap> Pattern;
  TOwned<TBrush> Brush;
};
std::array<THalftoneBrush, 2> GHalftoneBrushes;

// The radio images follow the system colours before any look-and-feel
// reports the change.
class TSystemPaletteChangedNotifier : public TcxSystemPaletteChangedNotifier {
  SK_CLASS(TSystemPaletteChangedNotifier, TcxSystemPaletteChangedNotifier)
 public:
  void DoSystemPaletteChanged() override { TcxRadioButtonImageListManager::Reset(); }
};
TOwned<TSystemPaletteChangedNotifier> GSystemPaletteChangedNotifier;

void MeasureStandardCheckBox() {
  const TOwnedBitmap bitmap(LoadBitmapW(nullptr, MAKEINTRESOURCEW(ObmCheckBoxes)));
  BITMAP info{};
  if (bitmap && GetObjectW(bitmap.Get(), sizeof(info), &info))
    GStandardCheckBoxSize = TSize(info.bmWidth / 4, info.bmHeight / 3);
}

void FreeHalftoneBrushes() {
  for (THalftoneBrush& halftone : GHalftoneBrushes) {
    halftone.Brush.reset();
    halftone.Pattern.reset();
  }
}

// Run by the units loader at once in the program.
void StartPainters() {
  UpdateHalftoneBrushes();
  MeasureStandardCheckBox();
}

// Run by the units loader: from here on the manager is not made again, and
// the painters give back what they cached.
void FinalizePainters() {
  GPaintersFinalized = true;
  if (TcxLookAndFeelPaintersManager* manager = cxPaintersManagerIfExists()) manager->FreePaintersCachedResources();
  TcxRadioButtonImageListManager::Free();
  FreeHalftoneBrushes();
  cxFreeIndicatorImages();
}

// The radio images' body colours come from the painter of each kind's
// style (the base rule while that style has no painter), their Office11
// colours from the colour set.
class TPaintersRadioButtonColors : public TcxRadioButtonColors {
 public:
  TColor BodyColor(TcxLookAndFeelKind AKind, TcxButtonState AState) override {
    static constexpr TcxLookAndFeelStyle Styles[] = {lfsFlat, lfsStandard, lfsUltraFlat, lfsOffice11};
    TcxLookAndFeelPaintersManager* manager = GetPaintersManager();
    if (!manager) return TcxRadioButtonColors::BodyColor(AKind, AState);
    if (TcxCustomLookAndFeelPainter* painter = manager->GetPainter(Styles[AKind]))
      return painter->RadioButtonBodyColor(AState);
    if (manager->Count() > 0) return manager->GetItem(0)->TcxCustomLookAndFeelPainter::RadioButtonBodyColor(AState);
    return TcxRadioButtonColors::BodyColor(AKind, AState);
  }
  TColor Office11DisabledTextColor() override { return Office11Color(::Office11DisabledTextColor); }
  TColor Office11HighlightBorderColor() override { return Office11Color(::Office11HighlightBorderColor); }
};

TPaintersRadioButtonColors GPaintersRadioButtonColors;

}  // namespace

TSize cxStandardCheckBoxSize() { return GStandardCheckBoxSize; }

TBrush* cxLookAndFeelHalftoneBrush(int AIndex) {
  THalftoneBrush& halftone = GHalftoneBrushes.at(static_cast<std::size_t>(AIndex));
  if (!halftone.Brush) UpdateHalftoneBrushes();
  return halftone.Brush.get();
}

void UpdateHalftoneBrushes() {
  // Pixels whose column and row have the same parity take the first colour.
  static constexpr std::array<std::pair<TColor, TColor>, 2> Colors = {
      {{clBtnFace, clBtnHighlight}, {clBlack, cl3DDkShadow}}};
  for (std::size_t i = 0; i < GHalftoneBrushes.size(); ++i) {
    THalftoneBrush& halftone = GHalftoneBrushes[i];
    if (!halftone.Pattern) {
      halftone.Pattern.reset(New<TBitmap>());
      halftone.Pattern->SetSize(8, 8);
    }
    const HDC dc = halftone.Pattern->Canvas()->Handle();
    const COLORREF even = ColorToColorRef(Colors[i].first);
    const COLORREF odd = ColorToColorRef(Colors[i].second);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) SetPixelV(dc, x, y, (x + y) % 2 == 0 ? even : odd);
    if (!halftone.Brush) halftone.Brush.reset(New<TBrush>());
    // Setting the pattern again makes the brush take the new pixels.
    halftone.Brush->SetBitmap(nullptr);
    halftone.Brush->SetBitmap(halftone.Pattern.get());
  }
}

void cxLookAndFeelPaintersInitialization() {
  if (GInitializationCount++ > 0) return;
  GPaintersFinalized = false;
  cxSetRadioButtonColors(&GPaintersRadioButtonColors);
  GSystemPaletteChangedNotifier.reset(New<TSystemPaletteChangedNotifier>(true));
  if (TdxUnitsLoader* loader = GetUnitsLoader()) loader->AddUnit(&StartPainters, &FinalizePainters);
}

void cxLookAndFeelPaintersFinalization() {
  if (GInitializationCount == 0 || --GInitializationCount > 0) return;
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&FinalizePainters);
  else
    FinalizePainters();
  GSystemPaletteChangedNotifier.reset();
  cxFreePaintersManager();
  cxSetRadioButtonColors(nullptr);
}
