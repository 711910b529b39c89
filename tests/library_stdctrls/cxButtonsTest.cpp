// The push button draws through the painter its look-and-feel resolves:
// the face and frame of its state, the caption in the symbol colour, the
// focus rectangle, hot while the mouse is over it.
#include "library/stdctrls/cxButtons.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>
#include <cmath>
#include <memory>

namespace {

constexpr COLORREF Bg = RGB(10, 200, 60);

COLORREF Sys(int AIndex) { return GetSysColor(AIndex); }

// The hot and pressed faces: button face, highlight and window mixed with
// signed per-cent weights, each product rounded, the sum clamped.
COLORREF SystemMix(int AFace, int AHighlight, int AWindow) {
  const COLORREF f = Sys(COLOR_BTNFACE), h = Sys(COLOR_HIGHLIGHT), w = Sys(COLOR_WINDOW);
  const auto channel = [&](int cf, int ch, int cw) {
    const long sum = std::lround(cf * AFace / 100.0) + std::lround(ch * AHighlight / 100.0) +
                     std::lround(cw * AWindow / 100.0);
    return static_cast<int>(std::clamp(sum, 0L, 255L));
  };
  return RGB(channel(GetRValue(f), GetRValue(h), GetRValue(w)), channel(GetGValue(f), GetGValue(h), GetGValue(w)),
             channel(GetBValue(f), GetBValue(h), GetBValue(w)));
}

class TButtonPainting : public testing::Test {
 protected:
  void SetUp() override {
    Button.reset(New<TcxButton>(nullptr));
    Button->SetCaption(L"Flash");
    Button->LookAndFeel()->SetNativeStyle(false);
    Button->Font()->SetName(L"Tahoma");
    Button->Font()->SetHeight(-11);
  }
  // What the button paints for the item's flags, on a surface of its size.
  void Paint(UINT AItemState) {
    Surface = std::make_unique<TPixelSurface>(82, 25, Bg);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemState = AItemState;
    item.hDC = Surface->DC();
    item.rcItem = RECT{0, 0, 82, 25};
    Button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  int Ring(const TRect& R, COLORREF AColor) const {
    TRect inner = R;
    inner.Deflate(1);
    return Surface->Count(R, AColor) - Surface->Count(inner, AColor);
  }
  static int RingLength(const TRect& R) { return 2 * (R.Width() + R.Height()) - 4; }

  TOwned<TcxButton> Button;
  std::unique_ptr<TPixelSurface> Surface;
};

TEST_F(TButtonPainting, TheButtonResolvesTheUltraFlatPainter) {
  EXPECT_EQ(Button->LookAndFeel()->ActiveStyle(), lfsUltraFlat);
  EXPECT_EQ(Button->LookAndFeel()->Painter(), GetPaintersManager()->GetPainter(lfsUltraFlat));
}

TEST_F(TButtonPainting, EachStateShowsItsFrameFaceAndCaptionColour) {
  struct TRow {
    const char* Name;
    UINT ItemState;
    bool Hot;
    bool Enabled;
    int Frames;
    COLORREF Frame;
    COLORREF Face;
    COLORREF Caption;
  };
  const TRow rows[] = {
      {"normal", 0, false, true, 1, Sys(COLOR_BTNTEXT), Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT)},
      {"focused", ODS_FOCUS, false, true, 2, Sys(COLOR_WINDOWFRAME), Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT)},
      {"hot", 0, true, true, 1, Sys(COLOR_HIGHLIGHT), SystemMix(-2, 30, 72), Sys(COLOR_BTNTEXT)},
      {"pressed", ODS_SELECTED, true, true, 1, Sys(COLOR_HIGHLIGHT), SystemMix(14, 44, 40), Sys(COLOR_HIGHLIGHTTEXT)},
      {"disabled", 0, false, false, 1, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE), Sys(COLOR_BTNSHADOW)},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Button->SetEnabled(row.Enabled);
    Button->Perform(row.Hot ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Button->IsHot(), row.Hot);
    Paint(row.ItemState);
    TRect r(0, 0, 82, 25);
    for (int i = 0; i < row.Frames; ++i, r.Deflate(1)) EXPECT_EQ(Ring(r, row.Frame), RingLength(r)) << "frame " << i;
    // The face at its corners (the caption and focus rectangle lie inside).
    for (const TPoint& p : {TPoint(r.Left, r.Top), TPoint(r.Right - 1, r.Top), TPoint(r.Left, r.Bottom - 1),
                            TPoint(r.Right - 1, r.Bottom - 1)})
      EXPECT_EQ(Surface->Pixel(p.X, p.Y), row.Face) << p.X << "," << p.Y;
    EXPECT_GT(Surface->Count(r, row.Caption), 10) << "the caption";
    EXPECT_GT(Surface->Count(r, row.Face), r.Width() * r.Height() / 2);
  }
}

TEST_F(TButtonPainting, TheFocusRectangleLiesWhereThePainterPutsIt) {
  Button->SetCaption(L"");
  Paint(0);
  const COLORREF face = Sys(COLOR_BTNFACE);
  EXPECT_EQ(Surface->Count(TRect(1, 1, 81, 24), face), 80 * 23);
  Paint(ODS_FOCUS);
  // Three pixels in from the edge: inside the two frames of the focused
  // look, one pixel of face between.
  const TRect focus(3, 3, 79, 22);
  EXPECT_EQ(Surface->Count(TRect(2, 2, 80, 23), face) - Surface->Count(TRect(3, 3, 79, 22), face), 2 * 78 + 2 * 19);
  EXPECT_GT(focus.Width() * focus.Height() - Surface->Count(focus, face), 2 * 76 / 2) << "a dotted frame";
  TRect inside = focus;
  inside.Deflate(1);
  EXPECT_EQ(Surface->Count(inside, face), inside.Width() * inside.Height());
}

TEST_F(TButtonPainting, AssignedColoursTakeThePlaceOfThePaintersOwn) {
  Button->Colors()->SetDefault(clLime);
  Paint(0);
  EXPECT_EQ(Surface->Pixel(1, 1), RGB(0, 255, 0)) << "the normal look takes Default";
  Paint(ODS_FOCUS);
  EXPECT_EQ(Surface->Pixel(2, 2), RGB(0, 255, 0));
  Button->Perform(CM_MOUSEENTER, 0, 0);
  Paint(0);
  EXPECT_EQ(Surface->Pixel(1, 1), SystemMix(-2, 30, 72)) << "but not the hot one";
  Button->Perform(CM_MOUSELEAVE, 0, 0);
  Button->Colors()->SetNormalText(clRed);
  Button->Colors()->SetDefault(clDefault);
  Paint(0);
  EXPECT_EQ(Surface->Pixel(1, 1), Sys(COLOR_BTNFACE));
  EXPECT_GT(Surface->Count(RGB(255, 0, 0)), 10) << "a text colour of its own";
}

}  // namespace

namespace {

// Which colour each paint state takes: its own where assigned; otherwise the
// normal state borrows Default, every other state Normal; unassigned the
// painter's (clDefault).
TEST(TButtonColors, EachStateFallsBackAsItsRowSays) {
  TOwned<TcxButton> button(New<TcxButton>(nullptr));
  TcxButtonColors* colors = button->Colors();
  const TColor a = static_cast<TColor>(0x000011), b = static_cast<TColor>(0x002200),
               c = static_cast<TColor>(0x330000);
  struct TRow {
    const char* Name;
    std::vector<std::pair<int, TColor>> Assigned;
    // Default, Normal, Hot, Pressed, Disabled: backgrounds, then texts.
    std::array<TColor, 5> Faces, Texts;
  };
  const TColor d = clDefault;
  const TRow rows[] = {
      {"nothing assigned", {}, {d, d, d, d, d}, {d, d, d, d, d}},
      {"Default colours the normal look too", {{TcxButtonColors::iDefault, a}}, {a, a, d, d, d}, {d, d, d, d, d}},
      {"Normal colours every other look",
       {{TcxButtonColors::iNormal, b}, {TcxButtonColors::iNormalText, c}},
       {b, b, b, b, b},
       {c, c, c, c, c}},
      {"own colours win",
       {{TcxButtonColors::iDefault, a}, {TcxButtonColors::iNormal, b}, {TcxButtonColors::iHot, c},
        {TcxButtonColors::iDefaultText, c}, {TcxButtonColors::iDisabledText, a}},
       {a, b, c, b, b},
       {c, c, d, d, a}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    for (int i = 0; i < TcxButtonColors::ColorCount; ++i) colors->SetColor(i, clNone);
    for (const auto& [index, color] : row.Assigned) colors->SetColor(index, color);
    for (TcxButtonState state : {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
      EXPECT_EQ(colors->BackgroundColor(state), row.Faces[state]) << "face of state " << state;
      EXPECT_EQ(colors->TextColor(state), row.Texts[state]) << "text of state " << state;
    }
  }
  colors->SetColor(TcxButtonColors::iHot, clDefault);
  EXPECT_FALSE(colors->IsAssigned(TcxButtonColors::iHot));
  EXPECT_EQ(colors->Hot(), clDefault);
}

// The form description holds the assigned colours only; reading it back
// gives the same colours and the same assigned set. At run time the
// assigned set cannot be written.
TEST(TButtonColors, TheFormDescriptionHoldsTheAssignedColoursOnly) {
  TOwned<TcxButton> button(New<TcxButton>(nullptr));
  button->SetName(L"BTN_Connect");
  button->Colors()->SetDefault(static_cast<TColor>(RGB(0, 255, 0)));
  button->Colors()->SetHotText(static_cast<TColor>(RGB(1, 2, 3)));
  const String text = WriteComponentToText(button.get());
  EXPECT_NE(text.find(L"Colors.Default = clLime"), String::npos) << text;
  EXPECT_NE(text.find(L"Colors.HotText = "), String::npos) << text;
  for (const wchar_t* absent : {L"Colors.Normal", L"Colors.Pressed ", L"Colors.Disabled", L"AssignedColors"})
    EXPECT_EQ(text.find(absent), String::npos) << absent;
  const TOwned<TcxButton> read(static_cast<TcxButton*>(ReadComponentFromText(text)));
  EXPECT_EQ(read->Colors()->Default(), static_cast<TColor>(RGB(0, 255, 0)));
  EXPECT_EQ(read->Colors()->HotText(), static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(read->Colors()->AssignedColors(), button->Colors()->AssignedColors());
  EXPECT_EQ(read->Colors()->AssignedColors(), (1u << TcxButtonColors::iDefault) | (1u << TcxButtonColors::iHotText));

  button->Colors()->SetAssignedColors(0);
  EXPECT_EQ(button->Colors()->Default(), static_cast<TColor>(RGB(0, 255, 0))) << "ignored at run time";
  button->Colors()->SetDefault(clDefault);
  const String cleared = WriteComponentToText(button.get());
  EXPECT_EQ(cleared.find(L"Colors.Default"), String::npos) << cleared;
}

// With AutoSize on, the button takes the caption's width plus three "R"
// and 14/8 of the font's height, whatever size it is given, and follows
// caption and font changes.
TEST(TButtonAutoSize, TheButtonTakesItsOptimalSize) {
  TOwned<TcxButton> button(New<TcxButton>(nullptr));
  button->Font()->SetName(L"Tahoma");
  button->Font()->SetHeight(-11);
  button->SetCaption(L"Flash");
  const auto expected = [&] {
    TPixelSurface s(1, 1);
    const TSelectObject font(s.DC(), button->Font()->Handle());
    SIZE caption{}, r{};
    GetTextExtentPoint32W(s.DC(), button->Caption().c_str(), static_cast<int>(button->Caption().size()), &caption);
    GetTextExtentPoint32W(s.DC(), L"R", 1, &r);
    TEXTMETRICW tm{};
    GetTextMetricsW(s.DC(), &tm);
    // 14/8 of the height, rounded half up.
    return TSize(caption.cx + 3 * r.cx, (tm.tmHeight * 14 + 4) / 8);
  };
  button->SetBounds(0, 0, 200, 60);
  EXPECT_EQ(button->Width(), 200) << "off: any size";
  button->SetAutoSize(true);
  EXPECT_EQ(TSize(button->Width(), button->Height()), expected());
  button->SetBounds(0, 0, 10, 10);
  EXPECT_EQ(TSize(button->Width(), button->Height()), expected());
  button->SetCaption(L"Verbinden und flashen");
  EXPECT_EQ(TSize(button->Width(), button->Height()), expected());
  button->Font()->SetHeight(-20);
  EXPECT_EQ(TSize(button->Width(), button->Height()), expected());
}

}  // namespace
