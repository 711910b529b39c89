// The hint of a text editor under the real mouse: the full text over a text
// that does not fit, the editor's own hint (or none) over one that does.
#include "library/editors/text/cxTextEdit.h"

#include "platform/ui/Forms.h"

#include "tests/support/CommonControls6.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

namespace {

constexpr int HintPauseMs = 20;
const String LongText = L"9600 14400 19200 28800 38400 57600 115200 230400";

// The visible hint window of this process, found as any other program would
// find it; empty when none shows.
String ShownHintText() {
  const String className = HintWindowClass()->ClassName();
  for (HWND wnd = FindWindowW(className.c_str(), nullptr); wnd;
       wnd = FindWindowExW(nullptr, wnd, className.c_str(), nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(wnd)) continue;
    wchar_t buffer[256] = {};
    GetWindowTextW(wnd, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
  }
  return String();
}

struct TextEditHoverHint : testing::Test {
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxTextEdit* Narrow = nullptr;
  TcxTextEdit* Wide = nullptr;
  int SavedPause = 0;
  int SavedShortPause = 0;

  TcxTextEdit* AddEdit(int ATop, int AWidth, const String& AText) {
    auto* edit = New<TcxTextEdit>(Form.get());
    edit->SetParent(Form.get());
    edit->SetBounds(10, ATop, AWidth, 24);
    edit->Style()->LookAndFeel()->SetNativeStyle(false);
    edit->SetText(AText);
    edit->SetShowHint(true);
    return edit;
  }

  void SetUp() override {
    ASSERT_TRUE(Controls6.Active());
    SavedPause = Application()->HintPause();
    SavedShortPause = Application()->HintShortPause();
    Application()->SetHintPause(HintPauseMs);
    Application()->SetHintShortPause(HintPauseMs);
    Form->SetBounds(100, 100, 460, 140);
    Narrow = AddEdit(10, 90, LongText);
    Wide = AddEdit(50, 420, LongText);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
    PumpPending();
  }

  void TearDown() override {
    // Off the form first: the form's own area hides whatever hint shows.
    SendMouseMove(Form->ClientToScreen(TPoint(440, 100)));
    Application()->CancelHint();
    Application()->SetHintPause(SavedPause);
    Application()->SetHintShortPause(SavedShortPause);
  }
};

TEST_F(TextEditHoverHint, OnlyAClippedTextShowsInFullOverTheText) {
  struct TRow {
    const char* Name;
    bool OnNarrow;
    bool BelowText;  // inside the editor, under its text rectangle
    String OwnHint;
    String Expected;
  };
  const TRow rows[] = {
      {"clipped text", true, false, L"", LongText},
      {"clipped text wins over the own hint", true, false, L"Baud rate", LongText},
      {"text that fits", false, false, L"", L""},
      {"text that fits keeps the own hint", false, false, L"Baud rate", L"Baud rate"},
      {"clipped text, pointer below the text", true, true, L"", L""},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TcxTextEdit* edit = row.OnNarrow ? Narrow : Wide;
    edit->SetHint(row.OwnHint);
    const TRect text = static_cast<TcxCustomTextEditViewInfo*>(edit->ViewInfo())->TextRect;
    const TPoint point(text.Left + 20, row.BelowText ? text.Bottom + 1 : (text.Top + text.Bottom) / 2);
    ASSERT_LT(point.Y, edit->Height() - 1);
    // From the form's empty area, so that the pointer really enters the editor.
    ASSERT_TRUE(MoveUntil(Form->ClientToScreen(TPoint(440, 100)), [&] { return ShownHintText().empty(); }));
    const TPoint target = edit->ClientToScreen(point);
    TControl* under = FindControl(WindowFromPoint(POINT{target.X, target.Y}));
    ASSERT_TRUE(under == edit || under == edit->InnerControl());
    if (!row.Expected.empty()) {
      MoveUntil(target, [&] { return ShownHintText() == row.Expected; });
      EXPECT_EQ(ShownHintText(), row.Expected);
      continue;
    }
    // The pointer came to the editor: well past the pause, no hint follows.
    ASSERT_TRUE(MoveUntil(target, [&] { return Application()->HintControl() == under; }));
    PumpFor(HintPauseMs * 10);
    EXPECT_EQ(ShownHintText(), L"");
  }
}

}  // namespace
