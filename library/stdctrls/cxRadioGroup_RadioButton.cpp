// The radio button: checking and groups, geometry, automatic size, hot
// tracking with the mark's cross-fade, painting and the accessibility node.
#include "library/stdctrls/cxRadioGroup.h"

#include "library/controls/control/cxControls.h"
#include "library/core/base/dxCore.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Menus.h"

#include <windowsx.h>

#include <algorithm>

// ---------------------------------------------------------------------------
// Text margins

TRect GetRadioButtonTextMargins(bool AIsInplace, bool ANativeStyle, bool AWordWrap, TAlignment AAlignment) {
  if (AIsInplace) return ANativeStyle ? TRect(3, 0, 0, 0) : TRect(5, 0, 1, 0);
  // [native][word wrap][caption right of the mark]
  static constexpr TRect margins[2][2][2] = {
      {{TRect(2, -1, 1, 0), TRect(5, -1, 0, 0)}, {TRect(2, -1, 6, 0), TRect(5, -1, 2, 0)}},
      {{TRect(2, 0, 1, 0), TRect(3, 0, 0, 0)}, {TRect(2, 0, 3, 0), TRect(3, 0, 0, 0)}}};
  return margins[ANativeStyle][AWordWrap][AAlignment != taLeftJustify];
}

void ApplyRadioButtonTextMargins(TRect& R, bool AIsInplace, bool ANativeStyle, bool AWordWrap, TAlignment AAlignment,
                                 bool AUseRightToLeftAlignment, const TdxScaleFactor* AScaleFactor) {
  TRect m = GetRadioButtonTextMargins(AIsInplace, ANativeStyle, AWordWrap, AAlignment);
  if (AUseRightToLeftAlignment) m = TdxRightToLeftLayoutConverter::ConvertOffsets(m);
  m = AScaleFactor->Apply(m);
  R.Left += m.Left;
  R.Top += m.Top;
  R.Right -= m.Right;
  R.Bottom -= m.Bottom;
}

namespace {

TcxButtonState RadioMarkButtonState(TcxRadioButtonState AState) {
  switch (AState) {
    case rbsDisabled: return cxbsDisabled;
    case rbsHot: return cxbsHot;
    case rbsPressed: return cxbsPressed;
    case rbsNormal: break;
  }
  return cxbsNormal;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxRadioButtonAccessibilityHelper

TcxRadioButton* TdxRadioButtonAccessibilityHelper::RadioButton() const {
  return static_cast<TcxRadioButton*>(OwnerObject());
}

String TdxRadioButtonAccessibilityHelper::GetName(int) { return RadioButton()->Caption(); }

HWND TdxRadioButtonAccessibilityHelper::OwnerObjectWindow() { return RadioButton()->Handle(); }

int TdxRadioButtonAccessibilityHelper::GetState(int) {
  TcxRadioButton* button = RadioButton();
  int result = STATE_SYSTEM_FOCUSABLE;
  if (button->Checked()) result |= STATE_SYSTEM_CHECKED;
  if (!button->Enabled())
    result |= STATE_SYSTEM_UNAVAILABLE;
  else if (button->Focused())
    result |= STATE_SYSTEM_FOCUSED;
  return result;
}

TRect TdxRadioButtonAccessibilityHelper::GetScreenBounds(int) {
  TcxRadioButton* button = RadioButton();
  TRect r(0, 0, button->Width(), button->Height());
  r.Offset(button->ClientOrigin());
  return r;
}

// ---------------------------------------------------------------------------
// TcxRadioButton

void TcxRadioButton::Publish(TPublisher<TcxRadioButton>& P) {
  P.Property(L"Height", &TControl::Height, &TControl::SetHeight).Stored(&TcxRadioButton::IsHeightStored);
  P.Property(L"Width", &TControl::Width, &TControl::SetWidth).Stored(&TcxRadioButton::IsWidthStored);
  P.Property(L"AutoSize", &TControl::AutoSize, &TcxRadioButton::SetAutoSize).Default(false);
  P.Property(L"Checked", &TRadioButton::Checked, &TRadioButton::SetCheckedState).Default(false);
  P.Property(L"GroupIndex", &TcxRadioButton::GroupIndex, &TcxRadioButton::SetGroupIndex).Default(0);
  PublishLookAndFeel(P);
  P.Property(L"ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground).Default(true);
  P.Property(L"ShowEndEllipsis", &TcxRadioButton::ShowEndEllipsis, &TcxRadioButton::SetShowEndEllipsis)
      .Default(false);
  P.Property(L"Transparent", &TcxRadioButton::Transparent, &TcxRadioButton::SetTransparent).Default(false);
  P.Message<&TcxRadioButton::CNDrawItem>(CN_DRAWITEM);
  P.Message<&TcxRadioButton::CNMeasureItem>(CN_MEASUREITEM);
  P.Message<&TcxRadioButton::CNKeyDown>(CN_KEYDOWN);
  P.Message<&TcxRadioButton::CNKeyDown>(CN_SYSKEYDOWN);
  P.Message<&TcxRadioButton::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxRadioButton::CMFontChanged>(CM_FONTCHANGED);
  P.Message<&TcxRadioButton::CMEnabledChanged>(CM_ENABLEDCHANGED);
  P.Message<&TcxRadioButton::CMHintShow>(CM_HINTSHOW);
  P.Message<&TcxRadioButton::CMSysColorChange>(CM_SYSCOLORCHANGE);
}

void TcxRadioButton::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FScaleFactor.reset(New<TdxScaleFactor>());
  FControlCanvas.reset(New<TCanvas>());
  FCanvas.reset(New<TcxCanvas>(FControlCanvas.get()));
  CreateLookAndFeel(this, BindEvent<&TcxRadioButton::LookAndFeelChanged>(this));
  FFadingHelper.reset(New<TcxRadioButtonFadingHelper>(this));
  FState = rbsNormal;
  SetParentBackground(true);
  GetRadioButtonImageList(FScaleFactor.get());
  FControlStyle.Include(csDoubleClicks).Include(csOverrideStylePaint);
  AddVisualRefinementsListener(this);
}

void TcxRadioButton::Destroy() {
  RemoveVisualRefinementsListener(this);
  // Its fade ends silently: the button is not asked to repaint.
  FFadingHelper.reset();
  NotifyAccessibilityHelperRemoved(FAccessibilityHelper);
  EndMouseTracking(this);
  FreeLookAndFeel();
  FCanvas.reset();
  FControlCanvas.reset();
  FScaleFactor.reset();
  inherited::Destroy();
}

bool TcxRadioButton::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxMouseTrackingCaller, IdxVisualRefinementsListener>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

void TcxRadioButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The window keeps input, focus and BN_CLICKED; the drawing is ours.
  Params.Style = (Params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TcxRadioButton::CreateWnd() {
  inherited::CreateWnd();
  SendMessageW(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (AutoSize()) AdjustSize();
}

void TcxRadioButton::CreateHandle() {
  inherited::CreateHandle();
  UpdateStateFromCursor();
}

void TcxRadioButton::SetShowEndEllipsis(bool AValue) {
  if (FShowEndEllipsis == AValue) return;
  FShowEndEllipsis = AValue;
  Invalidate();
}

void TcxRadioButton::SetTransparent(bool AValue) {
  if (FTransparent == AValue) return;
  FTransparent = AValue;
  Invalidate();
}

bool TcxRadioButton::Focused() {
  if (ComponentState().Contains(csDesigning)) return false;
  return inherited::Focused();
}

void TcxRadioButton::Invalidate() {
  if (!HandleAllocated()) return;
  const RECT r{0, 0, Width(), Height()};
  InvalidateRect(Handle(), &r, FALSE);
}

void TcxRadioButton::InvalidateCheckArea() {
  if (!HandleAllocated()) return;
  TRect r = GetCheckRect();
  r.Inflate(1, 1);
  const RECT rect = r;
  InvalidateRect(Handle(), &rect, FALSE);
}

TcxCustomLookAndFeelPainter* TcxRadioButton::Painter() const { return LookAndFeel()->GetAvailablePainter(totButton); }

bool TcxRadioButton::IsNativeStyle() { return LookAndFeel()->NativeStyle() && OpenTheme(totButton) != nullptr; }

bool TcxRadioButton::IsNativeBackground() {
  return IsNativeStyle() && ParentBackground() && !IsInplace() && !Transparent();
}

bool TcxRadioButton::IsTransparent() { return Transparent() && !IsInplace(); }

bool TcxRadioButton::IsTransparentBackground() { return IsNativeBackground() || IsTransparent(); }

// --- checking -----------------------------------------------------------------

void TcxRadioButton::SetChecked(bool AValue) {
  if (FChecked == AValue) return;
  FChecked = AValue;
  SetTabStop(AValue);
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, AValue ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!AValue) return;
  TControlTracker alive(this);
  TurnSiblingsOff();
  if (!alive.Alive()) return;
  if (TWinControl* parent = Parent()) parent->Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
  if (!ClicksDisabled()) Click();
  if (alive.Alive() && HandleAllocated())
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void TcxRadioButton::TurnSiblingsOff() {
  TWinControl* parent = Parent();
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
    if (!sibling || sibling == this) continue;
    auto* own = dynamic_cast<TcxRadioButton*>(sibling);
    if (own && own->GroupIndex() != FGroupIndex) continue;
    if (auto* action = dynamic_cast<TCustomAction*>(sibling->Action()); action && action->AutoCheck())
      action->SetChecked(false);
    sibling->SetCheckedState(false);
  }
}

void TcxRadioButton::DoEnter() {
  inherited::DoEnter();
  if (FChecked || ClicksDisabled() || FFocusingByMouse) return;
  SetClicksDisabled(true);
  TryFinally([this] { SetChecked(true); }, [this] { SetClicksDisabled(false); });
  if (!ComponentState().Contains(csLoading)) Click();
}

void TcxRadioButton::ActionChange(TObject* Sender, bool ACheckDefaults) {
  inherited::ActionChange(Sender, ACheckDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(Sender); action && (ACheckDefaults || FGroupIndex == 0))
    FGroupIndex = action->GroupIndex();
}

// --- geometry and size --------------------------------------------------------

namespace {

TAlignment EffectiveAlignment(TcxRadioButton* AButton) {
  const TAlignment alignment = AButton->Alignment();
  return AButton->UseRightToLeftAlignment() ? TdxRightToLeftLayoutConverter::ConvertAlignment(alignment) : alignment;
}

}  // namespace

TRect TcxRadioButton::GetCheckRect() {
  const TSize size = Painter()->ScaledRadioButtonSize(FScaleFactor.get());
  const bool flush = IsNativeStyle() || IsInplace() || LookAndFeel()->SkinPainter() != nullptr;
  TRect r;
  r.Top = (Height() - size.cy) / 2;
  r.Bottom = r.Top + size.cy;
  if (EffectiveAlignment(this) == taLeftJustify) {
    r.Right = flush ? Width() : Width() - 1;
    r.Left = r.Right - size.cx;
  } else {
    r.Left = flush ? 0 : 1;
    r.Right = r.Left + size.cx;
  }
  return r;
}

TRect TcxRadioButton::GetTextRect() {
  TRect r(0, 0, Width(), Height());
  const TRect mark = GetCheckRect();
  if (EffectiveAlignment(this) == taLeftJustify)
    r.Right = mark.Left;
  else
    r.Left = mark.Right;
  AdjustTextRect(r, IsNativeStyle());
  return r;
}

void TcxRadioButton::AdjustTextRect(TRect& R, bool ANativeStyle) {
  ApplyRadioButtonTextMargins(R, IsInplace(), ANativeStyle, WordWrap(), Alignment(), UseRightToLeftAlignment(),
                              FScaleFactor.get());
}

bool TcxRadioButton::CanResize(int& NewWidth, int& NewHeight) {
  const bool result = inherited::CanResize(NewWidth, NewHeight);
  if (AutoSize() && Align() != alClient) CalculateAutoSize(NewWidth, NewHeight);
  return result;
}

void TcxRadioButton::CalculateAutoSize(int& NewWidth, int& NewHeight) {
  const TRect mark = GetCheckRect();
  const TSize markSize(mark.Width(), mark.Height());
  const TAlignment alignment = EffectiveAlignment(this);
  const int gap = alignment == taRightJustify ? mark.Left : Width() - mark.Right;
  const String caption = Caption();
  const bool fixedWidth = Align() == alTop || Align() == alBottom;
  const bool fixedHeight = Align() == alLeft || Align() == alRight;
  if (caption.empty()) {
    if (!fixedWidth) NewWidth = markSize.cx + 2 * gap;
    if (!fixedHeight) NewHeight = markSize.cy + FScaleFactor->Apply(4);
    return;
  }
  const TRect m = FScaleFactor->Apply(GetRadioButtonTextMargins(IsInplace(), IsNativeStyle(), WordWrap(), Alignment()));
  const int available = std::max(NewWidth - markSize.cx - gap - m.Left - m.Right, 1);
  RECT text{0, 0, available, 0};
  UINT flags = DT_CALCRECT | DT_NOPREFIX | (WordWrap() ? DT_WORDBREAK : DT_SINGLELINE);
  if (FShowEndEllipsis) flags |= DT_END_ELLIPSIS;
  {
    const TScreenDC screen;
    const TSelectObject font(screen.Get(), Font()->Handle());
    DrawTextW(screen.Get(), caption.c_str(), static_cast<int>(caption.size()), &text, flags);
  }
  if (!fixedWidth) NewWidth = gap + markSize.cx + (text.right - text.left) + m.Left + m.Right + 2;
  if (!fixedHeight) NewHeight = std::max<int>(text.bottom - text.top, markSize.cy) + FScaleFactor->Apply(4);
}

void TcxRadioButton::ChangeScale(int M, int D, bool AIsDpiChange) {
  FScaleFactor->Change(M, D);
  inherited::ChangeScale(M, D, AIsDpiChange);
  LookAndFeel()->Refresh();
}

void TcxRadioButton::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  if (AutoSize()) AdjustSize();
  Invalidate();
}

void TcxRadioButton::RefinementsChanged() {
  AdjustSize();
  Invalidate();
}

// --- drawing state ------------------------------------------------------------

void TcxRadioButton::UpdateState(TMouseButton, TShiftState Shift, const TPoint& P) {
  TcxRadioButtonState state = rbsNormal;
  const bool inside = TRect(0, 0, Width(), Height()).Contains(P);
  if (!Enabled()) {
    state = rbsDisabled;
  } else if (!ComponentState().Contains(csDesigning)) {
    if (HandleAllocated() && GetCapture() == Handle())
      state = inside ? rbsPressed : rbsHot;
    else if (inside && IsPlainMouseMove(Shift))
      state = rbsHot;
  }
  SetState(state);
}

void TcxRadioButton::SetState(TcxRadioButtonState AValue) {
  if (FState == AValue) return;
  const TcxRadioButtonState old = FState;
  FState = AValue;
  StateChanged(old, AValue);
  InvalidateCheckArea();
}

void TcxRadioButton::StateChanged(TcxRadioButtonState AOldState, TcxRadioButtonState ANewState) {
  if (AOldState == ANewState || !FFadingHelper) return;
  if (AOldState == rbsNormal && ANewState == rbsHot)
    FFadingHelper->FadeIn();
  else if (AOldState == rbsHot && ANewState == rbsNormal)
    FFadingHelper->FadeOut();
  else
    FFadingHelper->StopFading();
}

void TcxRadioButton::UpdateStateFromCursor() {
  if (!HandleAllocated()) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  ::ScreenToClient(Handle(), &cursor);
  UpdateState(mbLeft, KeyboardStateToShiftState(), TPoint(cursor.x, cursor.y));
}

void TcxRadioButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  UpdateState(Button, Shift, TPoint(X, Y));
}

void TcxRadioButton::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  UpdateState(mbLeft, Shift, TPoint(X, Y));
  BeginMouseTracking(this, TRect(0, 0, Width(), Height()), this);
}

void TcxRadioButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  UpdateState(Button, Shift, TPoint(X, Y));
}

void TcxRadioButton::MouseEnter() {
  inherited::MouseEnter();
  UpdateStateFromCursor();
  BeginMouseTracking(this, TRect(0, 0, Width(), Height()), this);
}

void TcxRadioButton::MouseLeave() {
  UpdateState(mbLeft, TShiftState(), TPoint(-1, -1));
  EndMouseTracking(this);
}

bool TcxRadioButton::CanFade() { return IsNativeStyle() || LookAndFeel()->SkinPainter() != nullptr; }

void TcxRadioButton::GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) {
  const TRect mark = GetCheckRect();
  const auto render = [&](TcxRadioButtonState AState) {
    TOwned<TBitmap> image(New<TBitmap>());
    image->SetPixelFormat(pf32bit);
    image->SetSize(mark.Width(), mark.Height());
    TOwned<TcxCanvas> canvas(New<TcxCanvas>(image->Canvas()));
    canvas->FillRect(TRect(0, 0, mark.Width(), mark.Height()), clBlack);
    const TcxWindowOrgScope origin(canvas.get(), mark.TopLeft());
    DrawRadioMark(canvas.get(), AState);
    return image;
  };
  AFadeOutImage = render(rbsNormal);
  AFadeInImage = render(rbsHot);
}

// --- painting -------------------------------------------------------------------

bool TcxRadioButton::NeedsBufferedPaint() {
  return LookAndFeel()->SkinPainter() != nullptr || (FFadingHelper && FFadingHelper->Active()) ||
         IsWinSevenOrLater;
}

void TcxRadioButton::CNDrawItem(TMessage& Message) {
  Message.Result = TRUE;
  if (ComponentState().Contains(csDestroying)) return;
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  PaintTo(item.hDC, item.itemAction == ODA_FOCUS);
}

void TcxRadioButton::PaintTo(HDC DC, bool AFocusChangeOnly) {
  if (!DoubleBuffered() && NeedsBufferedPaint()) return PaintBuffered(DC, AFocusChangeOnly);
  const TCanvasDCScope drawing(FControlCanvas.get(), DC);
  DrawContent(FCanvas.get(), AFocusChangeOnly);
}

void TcxRadioButton::PaintBuffered(HDC DC, bool) {
  TMemoryDC buffer = TMemoryDC::Dib32(nullptr, Width(), Height());
  if (!buffer) return;
  {
    const TCanvasDCScope drawing(FControlCanvas.get(), buffer.DC());
    DrawContent(FCanvas.get(), false);
  }
  buffer.BlitTo(DC, 0, 0);
}

void TcxRadioButton::DrawContent(TcxCanvas* ACanvas, bool AFocusChangeOnly) {
  if (!AFocusChangeOnly) {
    DrawTransparentBackground(ACanvas);
    DrawBackground(ACanvas);
  }
  const TRect mark = GetCheckRect();
  if (!(FFadingHelper && FFadingHelper->Active() && FFadingHelper->DrawImage(ACanvas->Handle(), mark)))
    DrawRadioMark(ACanvas, FState);
  DrawCaption(ACanvas, IsNativeStyle());
}

void TcxRadioButton::DrawTransparentBackground(TcxCanvas* ACanvas) {
  const TRect r(0, 0, Width(), Height());
  if (IsTransparent())
    DrawParentBackground(this, ACanvas, r, false);
  else if (IsNativeBackground())
    DrawControlParentBackground(this, ACanvas, r);
}

void TcxRadioButton::DrawBackground(TcxCanvas* ACanvas) {
  if (!IsTransparentBackground()) FillRectByColor(ACanvas, TRect(0, 0, Width(), Height()), Color());
}

void TcxRadioButton::DrawRadioMark(TcxCanvas* ACanvas, TcxRadioButtonState AState) {
  const TRect mark = GetCheckRect();
  TColor background = Color();
  if (LookAndFeel()->SkinPainter())
    background = clNone;
  else if (IsTransparentBackground())
    background = clDefault;
  Painter()->DrawScaledRadioButton(ACanvas, mark.Left, mark.Top, RadioMarkButtonState(AState), FChecked, Focused(),
                                   background, FScaleFactor.get(), ComponentState().Contains(csDesigning));
}

TColor TcxRadioButton::GetTextColor() {
  TColor result = clDefault;
  if (Font()->Color() == clWindowText)
    result = Painter()->DefaultLabelTextColorEx(Enabled() ? esckNormal : esckDisabled);
  if (result == clDefault) result = Enabled() ? Font()->Color() : clGrayText;
  return result;
}

void TcxRadioButton::DrawCaption(TcxCanvas* ACanvas, bool ANativeStyle) {
  TWinControl* container = ContainerOfInnerControl();
  auto* groupBox = dynamic_cast<TcxCustomGroupBox*>(container);
  if (groupBox) {
    ACanvas->Font()->Assign(groupBox->CaptionFont());
    ACanvas->Font()->SetColor(groupBox->GetTextColor());
  } else {
    ACanvas->Font()->Assign(Font());
    ACanvas->Font()->SetColor(GetTextColor());
  }
  const TRect r = GetTextRect();
  ACanvas->Brush()->SetStyle(bsClear);
  int flags = UseRightToLeftAlignment() ? cxtfRight : cxtfLeft;
  if (UseRightToLeftReading()) flags |= cxtfRtlReading;
  flags |= cxtfCenterY | cxtfShowPrefix;
  if (WordWrap())
    flags |= cxtfWordBreak | cxtfNoClip;
  else if (FShowEndEllipsis)
    flags |= cxtfSingleLine | cxtfEndEllipsis;
  else
    flags |= cxtfSingleLine;
  if (IsNativeBackground()) ACanvas->Refresh();
  const String caption = Caption();
  const bool enabledLook = Painter()->DefaultEditorTextColor(false) != clDefault || groupBox != nullptr ||
                           ANativeStyle || Enabled();
  ACanvas->DrawTexT(caption, r, flags, enabledLook);
  ACanvas->Brush()->SetStyle(bsSolid);
  if (!Focused() || caption.empty()) return;
  TRect focus = r;
  ACanvas->TextExtent(caption, focus, flags);
  focus.Inflate(1, 1);
  if (!IsNativeStyle()) ++focus.Bottom;
  if (IsInplace()) {
    focus.Top = std::max(focus.Top, 1);
    focus.Bottom = std::min(focus.Bottom, Height() - 1);
    focus.Right = std::min(focus.Right, Width());
  } else {
    focus.Left = std::max(focus.Left, 0);
    focus.Top = std::max(focus.Top, 0);
    focus.Right = std::min(focus.Right, Width());
    focus.Bottom = std::min(focus.Bottom, Height());
    if (EffectiveAlignment(this) == taLeftJustify) focus.Right = std::min(focus.Right, GetCheckRect().Left);
  }
  ACanvas->DrawFocusRect(focus);
}

// --- context menu and keys ------------------------------------------------------

bool TcxRadioButton::ShowPopupMenu(TComponent* AMenu, int X, int Y) { return ShowPopupMenuAt(this, AMenu, X, Y); }

void TcxRadioButton::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  inherited::DoContextPopup(MousePos, Handled);
  if (Handled) return;
  const bool byKeyboard = MousePos.X == -1 && MousePos.Y == -1;
  const TPoint screen = ClientToScreen(byKeyboard ? TPoint() : MousePos);
  Handled = ShowPopupMenu(PopupMenu(), screen.X, screen.Y);
}

void TcxRadioButton::CNKeyDown(TMessage& Message) {
  if (HandlePopupMenuShortcut(PopupMenu(), Message)) {
    Message.Result = 1;
    return;
  }
  InheritedMessage<TcxRadioButton>(Message);
}

// --- messages -----------------------------------------------------------------

void TcxRadioButton::CNMeasureItem(TMessage& Message) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  item->itemWidth = static_cast<UINT>(Width());
  item->itemHeight = static_cast<UINT>(Height());
}

void TcxRadioButton::CMTextChanged(TMessage& Message) {
  if (AutoSize()) AdjustSize();
  InheritedMessage<TcxRadioButton>(Message);
  Invalidate();
}

void TcxRadioButton::CMFontChanged(TMessage& Message) {
  if (AutoSize()) AdjustSize();
  InheritedMessage<TcxRadioButton>(Message);
  Invalidate();
}

void TcxRadioButton::CMEnabledChanged(TMessage& Message) {
  InheritedMessage<TcxRadioButton>(Message);
  UpdateStateFromCursor();
  if (!Enabled()) SetState(rbsDisabled);
  Invalidate();
}

void TcxRadioButton::CMHintShow(TMessage& Message) {
  InheritedMessage<TcxRadioButton>(Message);
  if (auto* info = reinterpret_cast<THintInfo*>(Message.LParam)) info->CursorRect = ClientRect();
}

void TcxRadioButton::CMSysColorChange(TMessage& Message) {
  InheritedMessage<TcxRadioButton>(Message);
  Invalidate();
}

void TcxRadioButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_LBUTTONDOWN:
      FFocusingByMouse = true;
      TryFinally([&] { inherited::WndProc(Message); }, [this] { FFocusingByMouse = false; });
      return;
    case BM_SETCHECK:
      inherited::WndProc(Message);
      InvalidateCheckArea();
      return;
    case WM_WINDOWPOSCHANGED:
      inherited::WndProc(Message);
      if (!ComponentState().Contains(csDestroying) && IsTransparentBackground()) Invalidate();
      return;
    case WM_WINDOWPOSCHANGING: {
      if (ComponentState().Contains(csDestroying)) break;
      auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
      const int oldWidth = Width();
      const int oldHeight = Height();
      inherited::WndProc(Message);
      // A size of its own keeps the edge the control is aligned to.
      if (!(pos->flags & SWP_NOSIZE) && (pos->flags & SWP_NOMOVE) && (Align() == alRight || Align() == alBottom)) {
        pos->x = Left();
        pos->y = Top();
        if (Align() == alRight) pos->x += oldWidth - pos->cx;
        if (Align() == alBottom) pos->y += oldHeight - pos->cy;
        pos->flags &= ~static_cast<UINT>(SWP_NOMOVE);
      }
      return;
    }
    case WM_GETOBJECT:
      if (IsAccessibilitySupported() && (static_cast<LONG>(Message.LParam) == OBJID_CLIENT || Message.LParam == 0)) {
        if (!FAccessibilityHelper) {
          auto* node = New<TdxRadioButtonAccessibilityHelper>(this);
          FAccessibilityHelper = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(node));
        }
        Message.Result = ReturnAccessibleObject(Message.WParam, FAccessibilityHelper->GetHelper());
        return;
      }
      break;
    default:
      break;
  }
  inherited::WndProc(Message);
}
