// The search box of a filtering popup and the "no matches" panel.
#include "library/editors/dropdown/cxDropDownEdit_Filtering.h"

#include "library/editors/edit/cxEditConsts.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

// ---------------------------------------------------------------------------
// TdxCustomIncrementalFilteringHelper

void TdxCustomIncrementalFilteringHelper::Destroy() {
  DestroySearchEdit();
  inherited::Destroy();
}

void TdxCustomIncrementalFilteringHelper::CreateSearchEdit() {
  FSearchEdit.reset(New<TcxTextEdit>(static_cast<TComponent*>(nullptr)));
}

void TdxCustomIncrementalFilteringHelper::DestroySearchEdit() { FSearchEdit.reset(); }

void TdxCustomIncrementalFilteringHelper::InitializeSearchEdit() {
  TcxCustomTextEdit* edit = FSearchEdit.get();
  if (!edit) return;
  edit->Properties()->SetOnChange(BindEvent<&TdxCustomIncrementalFilteringHelper::SearchEditValueChanged>(this));
  edit->SetOnKeyDown(BindEvent<&TdxCustomIncrementalFilteringHelper::SearchEditKeyDown>(this));
  edit->SetOnKeyPress(BindEvent<&TdxCustomIncrementalFilteringHelper::HandleSearchKey>(this));
  edit->Properties()->Buttons()->Add()->SetKind(bkGlyph);
  edit->ViewInfo()->SetOnDrawButton(BindEvent<&TdxCustomIncrementalFilteringHelper::SearchEditDrawButton>(this));
  edit->SetOnMouseWheel(BindEvent<&TdxCustomIncrementalFilteringHelper::SearchEditMouseWheel>(this));
  edit->SetBeepOnEnter(false);
}

void TdxCustomIncrementalFilteringHelper::SearchEditDrawButton(TcxEditButtonViewInfo* Sender, TcxCanvas* ACanvas,
                                                               bool& AHandled) {
  AHandled = true;
  if (!ACanvas) return;
  if (!Sender->Data.UseSkins && !Sender->Data.NativeStyle) ACanvas->FillRect(Sender->Bounds, Sender->Data.BackgroundColor);
  if (TcxCustomLookAndFeelPainter* painter = GetPainter())
    painter->DrawScaledSearchEditButtonGlyph(ACanvas, Sender->Bounds, cxbsNormal, Sender->ScaleFactor());
}

String TdxCustomIncrementalFilteringHelper::GetSearchText() {
  return FSearchEdit ? FSearchEdit->Text() : String();
}

// ---------------------------------------------------------------------------
// TdxCustomIncrementalFilteringContainerViewInfo

void TdxCustomIncrementalFilteringContainerViewInfo::Create() {
  inherited::Create();
  FScaleFactor.reset(New<TdxOwnedScaleFactor>());
}

void TdxCustomIncrementalFilteringContainerViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  inherited::InternalPaint(ACanvas);
  if (IsSearchInfoPanelVisible()) DrawSearchInfoPanel(ACanvas);
}

String TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelText() {
  return LoadLocalizedResString(&cxSNoMatchesFound);
}

namespace {

// The extent of AText in AFont, measured on a screen-compatible DC.
TSize MeasureInFont(TFont* AFont, const String& AText) {
  TcxScreenCanvas* canvas = SharedScreenCanvas();
  TcxCanvasStateScope state(canvas);
  canvas->Font()->Assign(AFont);
  return canvas->TextExtent(AText.empty() ? String(L"Wg") : AText);
}

}  // namespace

int TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelDefaultHeight() {
  return (Font ? MeasureInFont(Font, String()).cy : 0) + 8;
}

int TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelHeight() {
  return SearchInfoPanelHeight != 0 ? SearchInfoPanelHeight : GetSearchInfoPanelDefaultHeight();
}

int TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelWidth() {
  return (Font ? MeasureInFont(Font, GetSearchInfoPanelText()).cx : 0) + 2 * GetSearchInfoPanelTextOffset();
}

std::uint32_t TdxCustomIncrementalFilteringContainerViewInfo::GetSearchInfoPanelTextDrawFlags() {
  const std::uint32_t flags = cxtoCenterY | cxtoSingleLine;
  return UseRightToLeftAlignment ? flags | cxtoRight | cxtoRTLReading : flags;
}

void TdxCustomIncrementalFilteringContainerViewInfo::DrawSearchInfoPanel(TcxCanvas* ACanvas) {
  if (!Painter) return;
  Painter->DrawWindowContent(ACanvas, SearchInfoPanelBounds);
  std::uint32_t flags = GetSearchInfoPanelTextDrawFlags();
  if (ACanvas->TextFlags() & ETO_RTLREADING) flags |= cxtoRTLReading;
  TRect r = SearchInfoPanelBounds;
  const int offset = GetSearchInfoPanelTextOffset();
  DrawTextFormattedDefaultColors(ACanvas->Handle(), GetSearchInfoPanelText(), r, flags, Font, 0, offset, offset,
                                 Painter->GetWindowContentTextColor());
}

// ---------------------------------------------------------------------------
// TdxCustomIncrementalFilteringPopupWindow

void TdxCustomIncrementalFilteringPopupWindow::CreateNew(TComponent* AOwnerControl) {
  inherited::CreateNew(AOwnerControl);
  ViewInfo()->ScaleFactor()->SetOwner(ScaleFactor());
}

TdxCustomIncrementalFilteringContainerViewInfo* TdxCustomIncrementalFilteringPopupWindow::ViewInfo() const {
  return static_cast<TdxCustomIncrementalFilteringContainerViewInfo*>(inherited::ViewInfo());
}

void TdxCustomIncrementalFilteringPopupWindow::SetShowSearchInfoPanel(bool AValue) {
  FShowSearchInfoPanel = AValue;
  ViewInfo()->ShowSearchInfoPanel = AValue;
}
