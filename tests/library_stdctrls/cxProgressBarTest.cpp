// The progress bar as a container: the container's four state styles and
// ring, the bar filling the content inside it.
#include "library/stdctrls/cxProgressBar.h"

#include "platform/runtime/TypInfo.h"
#include "platform/ui/Forms.h"

#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <set>

namespace {

COLORREF Sys(int AIndex) { return GetSysColor(AIndex); }

struct ProgressBar : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxProgressBar* Bar = nullptr;
  static constexpr COLORREF Outside = RGB(1, 2, 3);

  void SetUp() override {
    Form->SetBounds(100, 100, 300, 200);
    Form->Show();
    Bar = New<TcxProgressBar>(Form.get());
    Bar->SetParent(Form.get());
    Bar->SetBounds(10, 10, 204, 21);
    for (TcxContainerStyle* style : {Bar->Style(), Bar->StyleDisabled(), Bar->StyleFocused(), Bar->StyleHot()})
      style->LookAndFeel()->SetNativeStyle(false);
    Bar->Properties()->SetBeginColor(TColor(RGB(0, 128, 255)));
    PumpPending();
  }

  TPixelSurface Paint() {
    TPixelSurface surface(Bar->Width(), Bar->Height(), Outside);
    Bar->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
    return surface;
  }
};

TEST_F(ProgressBar, TheStatePublishedStylesAreTheContainersFour) {
  const std::pair<const wchar_t*, TcxContainerStyle*> styles[] = {{L"Style", Bar->Style()},
                                                                  {L"StyleDisabled", Bar->StyleDisabled()},
                                                                  {L"StyleFocused", Bar->StyleFocused()},
                                                                  {L"StyleHot", Bar->StyleHot()}};
  std::set<TObject*> seen;
  for (const auto& [name, style] : styles) {
    SCOPED_TRACE(std::wstring(name));
    const TPropInfo* prop = GetPropInfo(Bar, name);
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(GetObjectProp(Bar, prop), style);
    seen.insert(style);
  }
  EXPECT_EQ(seen.size(), 4u);
  // The normal style's font is the font the bar shows.
  Bar->Style()->Font()->SetName(L"Courier New");
  Bar->Style()->Font()->SetHeight(-20);
  EXPECT_EQ(Bar->Font()->Name(), L"Courier New");
  EXPECT_EQ(Bar->Font()->Height(), -20);
}

TEST_F(ProgressBar, TheBarFillsItsShareOfTheContentInsideTheContainersRing) {
  const COLORREF begin = RGB(0, 128, 255);
  // The transparent margin is 2 pixels on each side, the ring its inner pixel.
  const TRect ring(1, 1, Bar->Width() - 1, Bar->Height() - 1);
  const TRect content(2, 2, Bar->Width() - 2, Bar->Height() - 2);
  const struct {
    const char* Name;
    double Position;
    int Filled;  // columns of the content in BeginColor
  } rows[] = {{"empty", 0, 0}, {"a quarter", 25, 50}, {"half", 50, 100}, {"full", 100, 200}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Bar->SetPosition(row.Position);
    const TPixelSurface s = Paint();
    EXPECT_EQ(s.BoundsOf(Sys(COLOR_BTNSHADOW)), ring) << s.Picture(Outside);
    // The top content row carries no text: it shows exactly the bar.
    const TRect topRow(content.Left, content.Top, content.Right, content.Top + 1);
    EXPECT_EQ(s.Count(topRow, begin), row.Filled);
    EXPECT_EQ(s.Count(topRow, Sys(COLOR_WINDOW)), content.Width() - row.Filled);
    if (row.Filled > 0) {
      EXPECT_EQ(s.Pixel(content.Left, content.Top), begin);
    }
    EXPECT_EQ(Bar->BarRect(), TRect(content.Left, content.Top, content.Left + row.Filled, content.Bottom));
  }
}

}  // namespace
