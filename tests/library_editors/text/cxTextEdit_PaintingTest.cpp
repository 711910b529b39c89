// A text editor whose text the native edit window does not show (a fixed
// list) painting itself in a real window: its text against DrawTextW with the
// same font, rectangle and system colours, plain and on the selection bar.
#include "library/editors/text/cxTextEdit.h"

#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

namespace {

// Drop-down editors put the selection bar on after the text layout.
class TBarPaintTextViewData : public TcxCustomTextEditViewData {
  SK_CLASS(TBarPaintTextViewData, TcxCustomTextEditViewData)
 public:
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override {
    inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
    static_cast<TcxCustomTextEditViewInfo*>(AViewInfo)->DrawSelectionBar = true;
  }
};

// A fixed list as the port box's list style makes it, with or without the bar.
class TFixedListPaintProperties : public TcxCustomTextEditProperties {
  SK_CLASS(TFixedListPaintProperties, TcxCustomTextEditProperties)
 public:
  TcxEditEditingStyle GetEditingStyle() override { return esFixedList; }
  TClass GetViewDataClassType() override {
    return SelectionBar ? TBarPaintTextViewData::ClassInfo() : TcxCustomTextEditViewData::ClassInfo();
  }
  TClass GetViewInfoClass() override { return TcxCustomTextEditViewInfo::ClassInfo(); }
  bool SelectionBar = false;
};

class TFixedListPaintEdit : public TcxCustomTextEdit {
  SK_CLASS(TFixedListPaintEdit, TcxCustomTextEdit)
 public:
  TClass GetPropertiesClass() override { return TFixedListPaintProperties::ClassInfo(); }
  TFixedListPaintProperties* TestProperties() { return static_cast<TFixedListPaintProperties*>(ActiveProperties()); }

 protected:
  // A fixed list shows its text itself.
  bool IsEditClass() override { return false; }
};

constexpr int W = 121, H = 21;

class FixedListTextPainting : public testing::Test {
 protected:
  void SetUp() override {
    Form.reset(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    Form->SetBoundsRect(TRect(200, 150, 500, 350));
    Form->Show();
    SetForegroundWindow(Form->Handle());
    ASSERT_TRUE(PumpUntil([this] { return GetForegroundWindow() == Form->Handle(); }));
  }
  void TearDown() override {
    Edit.reset();
    Form.reset();
  }

  void MakeEdit(bool ASelectionBar, TAlignment AAlignment, const String& AText) {
    Edit.reset(NewWith<TFixedListPaintEdit>([](TFixedListPaintEdit* e) { e->Create(nullptr); }));
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->Style()->SetBorderStyle(ebsUltraFlat);
    Edit->TestProperties()->SelectionBar = ASelectionBar;
    Edit->ActiveProperties()->Alignment()->SetHorz(AAlignment);
    Edit->SetParent(Form.get());
    Edit->SetAutoSize(false);
    Edit->SetBounds(20, 20, W, H);
    Edit->InnerControl()->SetVisible(false);
    Edit->SetEditValue(Variant(AText));
    PumpPending();
    RedrawWindow(Edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }

  TPixelSurface Shown() const {
    UpdateWindow(Edit->Handle());
    TPixelSurface result(W, H, Bg);
    const TWindowDC dc(Edit->Handle());
    BitBlt(result.DC(), 0, 0, W, H, dc.Get(), 0, 0, SRCCOPY);
    return result;
  }

  // The client area as GDI draws it: the background (the bar inside a ring
  // of it), then DrawTextW of the text in the text rectangle.
  TPixelSurface Reference(bool ASelectionBar, TAlignment AAlignment, const String& AText) const {
    const TcxCustomTextEditViewInfo* vi = static_cast<TcxCustomTextEditViewInfo*>(Edit->ViewInfo());
    TPixelSurface result(W, H, Bg);
    const HDC DC = result.DC();
    GdiFill(DC, vi->ClientRect, Sys(COLOR_WINDOW));
    TRect bar = vi->ClientRect;
    bar.Inflate(-1, -1);
    if (ASelectionBar) GdiFill(DC, bar, Sys(COLOR_HIGHLIGHT));
    const TSelectObject font(DC, Edit->Style()->GetVisibleFont()->Handle());
    SetTextColor(DC, ASelectionBar ? Sys(COLOR_HIGHLIGHTTEXT) : Sys(COLOR_WINDOWTEXT));
    SetBkMode(DC, TRANSPARENT);
    RECT R = *vi->TextRect.WinRect();
    const UINT align = AAlignment == taRightJustify ? DT_RIGHT : AAlignment == taCenter ? DT_CENTER : DT_LEFT;
    DrawTextW(DC, AText.c_str(), static_cast<int>(AText.size()), &R, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return result;
  }

  TOwned<TForm> Form;
  TOwned<TFixedListPaintEdit> Edit;
};

// Pixels inside R that differ between the two surfaces.
int DifferingIn(const TPixelSurface& A, const TPixelSurface& B, const TRect& R) {
  int result = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) result += A.Pixel(x, y) != B.Pixel(x, y);
  return result;
}

}  // namespace

TEST_F(FixedListTextPainting, TheTextIsDrawTextWithTheSameFontRectangleAndColours) {
  struct Row {
    const char* Name;
    bool SelectionBar;
    TAlignment Alignment;
    String Text;
  };
  const Row rows[] = {
      {"plain, left", false, taLeftJustify, L"COM3"},
      {"plain, right", false, taRightJustify, L"115200"},
      {"plain, centre", false, taCenter, L"9600"},
      {"selection bar, left", true, taLeftJustify, L"COM12"},
      {"selection bar, right", true, taRightJustify, L"2000000"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    MakeEdit(row.SelectionBar, row.Alignment, row.Text);
    ASSERT_FALSE(Edit->Focused());
    const auto* vi = static_cast<const TcxCustomTextEditViewInfo*>(Edit->ViewInfo());
    ASSERT_EQ(vi->Text, row.Text);
    ASSERT_EQ(vi->DrawSelectionBar, row.SelectionBar);
    const TPixelSurface shown = Shown();
    const TPixelSurface reference = Reference(row.SelectionBar, row.Alignment, row.Text);
    const COLORREF ink = row.SelectionBar ? Sys(COLOR_HIGHLIGHTTEXT) : Sys(COLOR_WINDOWTEXT);
    EXPECT_GT(shown.Count(vi->TextRect, ink), 10) << "the text is there";
    EXPECT_EQ(DifferingIn(shown, reference, vi->ClientRect), 0)
        << shown.Picture(Sys(row.SelectionBar ? COLOR_HIGHLIGHT : COLOR_WINDOW)) << "\n"
        << reference.Picture(Sys(row.SelectionBar ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    Edit.reset();
  }
}
