#include "library/editors/text/cxTextEdit.h"

#include "library/controls/windows/cxDWMApi.h"
#include "platform/ui/Forms.h"

#include "tests/support/AccessibilityClient.h"
#include "tests/support/CommonControls6.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A text editor that records what its edit window hands it.
class TRecordingTextEdit : public TcxCustomTextEdit {
  SK_CLASS(TRecordingTextEdit, TcxCustomTextEdit)
 public:
  struct TEntry {
    std::string Where;
    UINT Msg;
    WPARAM WParam;
    std::wstring Text;  // the edit window's text at that moment
  };
  std::vector<TEntry> Entries;
  UINT Watched = 0;               // recorded by the container's filter too
  UINT SwallowedByMenuHandler = 0;
  bool MarksModifiedOnKeyPress = false;
  bool AllowsEditing = true;
  bool InPlaceTab = false;
  bool PopupOpen = false;
  std::vector<WORD> AfterKeyDownKeys;
  int ClearCount = 0;
  int UndoCount = 0;
  int SelChangeCount = 0;
  std::vector<UINT> Hooked;

  using TcxCustomTextEdit::HookInnerEditWindowProc;
  using TcxCustomTextEdit::UnhookInnerEditWindowProc;
  using TcxCustomTextEdit::WindowProcObject;
  using TcxCustomTextEdit::IsInnerControlMissing;

  using TcxCustomTextEdit::FBeepOnEnter;
  using TcxCustomTextEdit::FIsPopupWindowJustClosed;
  std::vector<TPoint> MouseDowns;

  using TcxCustomTextEdit::Create;
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    SetOnAfterKeyDown(BindEvent<&TRecordingTextEdit::AfterKeyDown>(this));
    SetOnEditing(BindEvent<&TRecordingTextEdit::Editing>(this));
  }
  TcxCustomInnerTextEdit* Inner() const { return static_cast<TcxCustomInnerTextEdit*>(InnerControl()); }
  HWND InnerHandle() const { return Inner()->Handle(); }
  std::wstring InnerText() const {
    wchar_t buffer[256] = {};
    if (!Inner() || !Inner()->HandleAllocated()) return L"";
    GetWindowTextW(Inner()->Handle(), buffer, 256);
    return buffer;
  }
  int Count(const std::string& AWhere, UINT AMsg) const {
    int n = 0;
    for (const TEntry& e : Entries) n += e.Where == AWhere && e.Msg == AMsg;
    return n;
  }
  bool CharReachedEdit(wchar_t C) const {
    for (const TEntry& e : Entries)
      if (e.Where == "process" && e.Msg == WM_CHAR && e.WParam == static_cast<WPARAM>(C)) return true;
    return false;
  }

  void ProcessInnerEditMessage(TMessage& Message) override {
    Entries.push_back({"process", Message.Msg, Message.WParam, InnerText()});
  }
  bool InnerControlMenuHandler(TMessage& Message) override {
    return SwallowedByMenuHandler != 0 && Message.Msg == SwallowedByMenuHandler;
  }
  bool WantsTabKey() override { return InPlaceTab || inherited::WantsTabKey(); }
  bool HasPopupWindow() override { return PopupOpen; }
  void ClearSelection() override {
    ++ClearCount;
    inherited::ClearSelection();
  }
  void UndoPerformed() override { ++UndoCount; }
  void SelChange(TObject*) { ++SelChangeCount; }

 protected:
  bool FilterInnerControlMessage(TMessage& Message) override {
    if (Watched && Message.Msg == Watched) Entries.push_back({"default", Message.Msg, Message.WParam, InnerText()});
    return inherited::FilterInnerControlMessage(Message);
  }
  void InnerEditWindowProc(TMessage& Message) override {
    Hooked.push_back(Message.Msg);
    inherited::InnerEditWindowProc(Message);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    MouseDowns.push_back(TPoint(X, Y));
    inherited::MouseDown(Button, Shift, X, Y);
  }
  void KeyPress(wchar_t& Key) override {
    // As the typing rules of a text editor do: every character counts as
    // an edit.
    if (MarksModifiedOnKeyPress) {
      SetEditModified(true);
      SetModifiedAfterEnter(true);
    }
    inherited::KeyPress(Key);
  }

 private:
  void AfterKeyDown(TObject*, WORD& Key, TShiftState) { AfterKeyDownKeys.push_back(Key); }
  void Editing(TObject*, bool& AAllow) { AAllow = AllowsEditing; }
};

// A kind whose inner control serves no editing interface.
class TPlainInnerEdit : public TcxCustomTextEdit {
  SK_CLASS(TPlainInnerEdit, TcxCustomTextEdit)
 public:
  using TcxCustomTextEdit::IsInnerControlMissing;

 protected:
  TClass GetInnerControlClass() override { return TEdit::ClassInfo(); }
};

// A kind without inner control.
class TNoInnerEdit : public TcxCustomEdit {
  SK_CLASS(TNoInnerEdit, TcxCustomEdit)
 public:
  using TcxCustomEdit::IsInnerControlMissing;
};

struct InnerTextEdit : testing::Test {
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TRecordingTextEdit* Edit = nullptr;
  HWND Native = nullptr;

  void SetUp() override {
    ASSERT_TRUE(Controls6.Active());
    Form->SetBounds(100, 100, 420, 200);
    Form->Show();
    Edit = New<TRecordingTextEdit>(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 10, 200, 24);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->InnerControl()->SetBounds(2, 2, 196, 20);
    Native = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 220, 12, 196, 20,
                             Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(Native, WM_SETFONT, reinterpret_cast<WPARAM>(Edit->InnerControl()->Font()->Handle()), 0);
    // The same margins as the editor's edit window, so that carets compare.
    const LRESULT margins = SendMessageW(Edit->InnerHandle(), EM_GETMARGINS, 0, 0);
    SendMessageW(Native, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, margins);
    PumpPending();
  }
  void TearDown() override {
    if (Native) DestroyWindow(Native);
  }

  void Activate() {
    SetForegroundWindow(Form->Handle());
    PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); });
  }
  // Dispatches until the keyboard input sent so far has been taken.
  static void Settle() {
    PumpUntil([] { return GetQueueStatus(QS_INPUT | QS_POSTMESSAGE) == 0; }, 2000);
    PumpPending();
  }
  static void Keys(std::initializer_list<std::pair<WORD, bool>> AKeys) {
    for (const auto& [key, up] : AKeys) SendKey(key, up);
    Settle();
  }
  static void Press(WORD AKey) { Keys({{AKey, false}, {AKey, true}}); }
  void Focus(HWND AWnd) {
    Activate();
    SetFocus(AWnd);
    PumpUntil([&] { return GetFocus() == AWnd; });
  }
};

struct TWindowState {
  std::wstring Text;
  DWORD SelStart = 0;
  DWORD SelEnd = 0;
  POINT Caret{};
};

TWindowState ReadState(HWND AWnd) {
  TWindowState s;
  wchar_t buffer[256] = {};
  GetWindowTextW(AWnd, buffer, 256);
  s.Text = buffer;
  SendMessageW(AWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s.SelStart), reinterpret_cast<LPARAM>(&s.SelEnd));
  GetCaretPos(&s.Caret);
  return s;
}

// Each row from the text "hello world" with the caret at its end.
struct TInputRow {
  const char* Name;
  void (*Send)();
  // The editor takes the key before the edit window: its text and selection
  // stay, and the native EDIT is no reference.
  bool Intercepted;
  // The editor consumes the key down itself (a standalone editor's Tab moves
  // the focus through the form), so the edit window never processes it.
  bool ConsumedByTheEditor = false;
};

void TypeAbc() {
  SendText(L"abc");
  InnerTextEdit::Settle();
}
void HomeKey() { InnerTextEdit::Press(VK_HOME); }
void HomeThenEnd() {
  InnerTextEdit::Press(VK_HOME);
  InnerTextEdit::Press(VK_END);
}
void ShiftLeftTwice() {
  InnerTextEdit::Keys({{VK_SHIFT, false}, {VK_LEFT, false}, {VK_LEFT, true}, {VK_LEFT, false}, {VK_LEFT, true},
                       {VK_SHIFT, true}});
}
void ShiftHome() { InnerTextEdit::Keys({{VK_SHIFT, false}, {VK_HOME, false}, {VK_HOME, true}, {VK_SHIFT, true}}); }
void Backspace() { InnerTextEdit::Press(VK_BACK); }
void HomeThenDelete() {
  InnerTextEdit::Press(VK_HOME);
  InnerTextEdit::Press(VK_DELETE);
}
void CtrlA() { InnerTextEdit::Keys({{VK_CONTROL, false}, {'A', false}, {'A', true}, {VK_CONTROL, true}}); }
void TypeThenCtrlZ() {
  SendText(L"xy");
  InnerTextEdit::Settle();
  InnerTextEdit::Keys({{VK_CONTROL, false}, {'Z', false}, {'Z', true}, {VK_CONTROL, true}});
}
void EnterKey() { InnerTextEdit::Press(VK_RETURN); }
void TabKey() { InnerTextEdit::Press(VK_TAB); }

TEST_F(InnerTextEdit, RealKeysActAsOnTheNativeEditUnlessTheEditorTakesThem) {
  Edit->FBeepOnEnter = false;
  const TInputRow rows[] = {
      {"Typing", &TypeAbc, false},         {"Home", &HomeKey, false},
      {"End", &HomeThenEnd, false},        {"ShiftLeft", &ShiftLeftTwice, false},
      {"ShiftHome", &ShiftHome, false},    {"Backspace", &Backspace, false},
      {"Delete", &HomeThenDelete, false},  {"CtrlA", &CtrlA, false},
      {"CtrlZ", &TypeThenCtrlZ, false},    {"EnterWithoutBeep", &EnterKey, true},
      {"Tab", &TabKey, true, true},
  };
  const std::wstring start = L"hello world";
  for (const TInputRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TWindowState states[2];
    const HWND windows[2] = {Edit->InnerHandle(), Native};
    for (int i = 0; i < 2; ++i) {
      Focus(windows[i]);
      SetWindowTextW(windows[i], start.c_str());
      SendMessageW(windows[i], EM_SETSEL, start.size(), start.size());
      SendMessageW(windows[i], EM_EMPTYUNDOBUFFER, 0, 0);
      Edit->Entries.clear();
      row.Send();
      states[i] = ReadState(windows[i]);
      if (i == 0 && !row.ConsumedByTheEditor) {
        EXPECT_GT(Edit->Count("process", WM_KEYDOWN) + Edit->Count("process", WM_KEYUP), 0) << "no input came";
      }
    }
    const TWindowState& editor = states[0];
    const TWindowState& native = states[1];
    if (row.Intercepted) {
      EXPECT_EQ(editor.Text, start);
      EXPECT_EQ(editor.SelStart, start.size());
      EXPECT_EQ(editor.SelEnd, start.size());
      EXPECT_FALSE(Edit->CharReachedEdit(L'\r'));
      EXPECT_FALSE(Edit->CharReachedEdit(L'\t'));
      continue;
    }
    EXPECT_EQ(editor.Text, native.Text);
    EXPECT_EQ(editor.SelStart, native.SelStart);
    EXPECT_EQ(editor.SelEnd, native.SelEnd);
    EXPECT_EQ(editor.Caret.x, native.Caret.x);
  }
}

TEST_F(InnerTextEdit, SelectingEverythingLeavesTheEditorUnmodified) {
  Edit->MarksModifiedOnKeyPress = true;
  Edit->SetText(L"abc");
  Edit->SetEditModified(false);
  Focus(Edit->InnerHandle());
  CtrlA();
  EXPECT_EQ(ReadState(Edit->InnerHandle()).SelEnd, 3u);
  EXPECT_FALSE(Edit->EditModified());
  EXPECT_FALSE(Edit->ModifiedAfterEnter());
  // A typed character is an edit: the flags are the editor's to set.
  SendText(L"x");
  Settle();
  EXPECT_TRUE(Edit->EditModified());
  EXPECT_TRUE(Edit->ModifiedAfterEnter());
}

TEST_F(InnerTextEdit, AfterKeyDownComesOnlyForKeysThatChangedNothing) {
  // Entering the editor shows its value again, so the text goes through the editor.
  Edit->SetText(L"abc");
  SendMessageW(Edit->InnerHandle(), EM_SETSEL, 3, 3);
  Focus(Edit->InnerHandle());
  Press(VK_F5);
  EXPECT_EQ(Edit->AfterKeyDownKeys, std::vector<WORD>{VK_F5});
  Press(VK_LEFT);
  EXPECT_EQ(Edit->AfterKeyDownKeys, std::vector<WORD>{VK_F5}) << "Left moved the caret";
  Press(VK_HOME);
  Press(VK_LEFT);  // at the start already: nothing moves
  EXPECT_EQ(Edit->AfterKeyDownKeys, (std::vector<WORD>{VK_F5, VK_LEFT}));
}

TEST_F(InnerTextEdit, TheEditorsDefaultHandlerComesBeforeTheNativeEditAndItsHookAfter) {
  Edit->Watched = WM_SETTEXT;
  SetWindowTextW(Edit->InnerHandle(), L"old");
  Edit->Entries.clear();
  SetWindowTextW(Edit->InnerHandle(), L"new");
  std::vector<std::pair<std::string, std::wstring>> seen;
  for (const auto& e : Edit->Entries)
    if (e.Msg == WM_SETTEXT) seen.emplace_back(e.Where, e.Text);
  const std::vector<std::pair<std::string, std::wstring>> expected = {{"default", L"old"}, {"process", L"new"}};
  EXPECT_EQ(seen, expected);

  // What the menu handler takes goes no further.
  Edit->SwallowedByMenuHandler = WM_SETTEXT;
  Edit->Entries.clear();
  SetWindowTextW(Edit->InnerHandle(), L"never");
  EXPECT_EQ(Edit->InnerText(), L"new");
  EXPECT_EQ(Edit->Count("default", WM_SETTEXT) + Edit->Count("process", WM_SETTEXT), 0);
}

// The edit window's client area as the edit paints it at rest, and the same
// text drawn by DrawTextW on a second surface.
void ExpectPaintedAtRest(TRecordingTextEdit* AEdit, const std::wstring& AShownText) {
  HWND inner = AEdit->InnerHandle();
  RECT client{};
  GetClientRect(inner, &client);
  TPixelSurface painted(client.right, client.bottom, RGB(1, 2, 3));
  SendMessageW(inner, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.DC()), PRF_CLIENT);

  TPixelSurface reference(client.right, client.bottom, RGB(1, 2, 3));
  const DWORD margins = static_cast<DWORD>(SendMessageW(inner, EM_GETMARGINS, 0, 0));
  EXPECT_EQ(LOWORD(margins), 0);
  EXPECT_EQ(HIWORD(margins), 1);
  TcxCustomInnerTextEdit* edit = AEdit->Inner();
  const HBRUSH brush = CreateSolidBrush(ColorToColorRef(edit->Color()));
  FillRect(reference.DC(), &client, brush);
  DeleteObject(brush);
  const HGDIOBJ oldFont = SelectObject(reference.DC(), edit->Font()->Handle());
  SetBkMode(reference.DC(), TRANSPARENT);
  SetTextColor(reference.DC(), ColorToColorRef(edit->Font()->Color()));
  RECT r = {0, 0, client.right - 1, client.bottom};
  DrawTextW(reference.DC(), AShownText.c_str(), static_cast<int>(AShownText.size()), &r, DT_RIGHT | DT_NOPREFIX);
  SelectObject(reference.DC(), oldFont);

  EXPECT_GT(painted.CountOther(painted.ClientRect(), ColorToColorRef(edit->Color())), 0) << "no text painted";
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (painted.Pixel(x, y) != reference.Pixel(x, y)) {
        ADD_FAILURE() << "first difference at " << x << "," << y;
        return;
      }
}

struct TProbeScope {
  TcxInnerTextEditSystemProbe Saved;
  TProbeScope(bool AWin7, bool AThemes)
      : Saved(cxSetInnerTextEditSystemProbe({[AWin7] { return AWin7; }, [AThemes] { return AThemes; }})) {}
  ~TProbeScope() { cxSetInnerTextEditSystemProbe(Saved); }
};

TEST_F(InnerTextEdit, AtRestTheTextShowsTheEditorsAlignment) {
  Edit->ActiveProperties()->Alignment()->SetHorz(taRightJustify);
  SetWindowTextW(Edit->InnerHandle(), L"right side");
  PumpPending();
  ExpectPaintedAtRest(Edit, L"right side");
  // While editing the native window shows the text at the left.
  EXPECT_EQ(GetWindowLongW(Edit->InnerHandle(), GWL_STYLE) & (ES_RIGHT | ES_CENTER), 0);
}

TEST_F(InnerTextEdit, AtRestAPasswordShowsTheMaskCharacter) {
  const TProbeScope probe(false, false);
  Edit->ActiveProperties()->SetEchoMode(eemPassword);
  Edit->InnerTextEdit()->SetEchoMode(eemPassword);
  Edit->ActiveProperties()->Alignment()->SetHorz(taRightJustify);
  SetWindowTextW(Edit->InnerHandle(), L"secret");
  PumpPending();
  ExpectPaintedAtRest(Edit, L"******");
}

TEST_F(InnerTextEdit, TheMaskCharacterFollowsTheSystemAndTheLookAndFeel) {
  struct TRow {
    const char* Name;
    bool Native, Win7, Themes;
    wchar_t Own;
    wchar_t Expected;
  };
  const TRow rows[] = {
      {"NativeWin7Themed", true, true, true, 0, L'\x25CF'},
      {"NotNative", false, true, true, 0, L'*'},
      {"BeforeWin7", true, false, true, 0, L'*'},
      {"NoThemes", true, true, false, 0, L'*'},
      {"OwnCharacter", true, true, true, L'#', L'#'},
  };
  Edit->ActiveProperties()->SetEchoMode(eemPassword);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TProbeScope probe(row.Win7, row.Themes);
    Edit->Style()->LookAndFeel()->SetNativeStyle(row.Native);
    Edit->ActiveProperties()->SetPasswordChar(row.Own);
    EXPECT_EQ(Edit->Inner()->PasswordDisplayChar(), row.Expected);
  }
}

TEST_F(InnerTextEdit, AnEchoModeChangeRemakesTheWindow) {
  const HWND before = Edit->InnerHandle();
  Edit->InnerTextEdit()->SetEchoMode(eemNormal);  // the value it has: nothing happens
  EXPECT_EQ(Edit->InnerHandle(), before);
  Edit->SetText(L"kept");
  Edit->ActiveProperties()->SetEchoMode(eemPassword);
  const HWND after = Edit->InnerHandle();
  EXPECT_NE(after, before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_NE(GetWindowLongW(after, GWL_STYLE) & ES_PASSWORD, 0);
  // Without the native look the mask is the asterisk, sent to the window.
  EXPECT_EQ(SendMessageW(after, EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(Edit->InnerText(), L"kept");
}

TEST_F(InnerTextEdit, BoundsSetWhileLockedAreIgnored) {
  TWinControl* inner = Edit->InnerControl();
  const TRect before = inner->BoundsRect();
  Edit->InnerEdit()->LockBounds(true);
  inner->SetBounds(5, 5, 50, 10);
  EXPECT_EQ(inner->BoundsRect(), before);
  RECT window{};
  GetWindowRect(Edit->InnerHandle(), &window);
  EXPECT_EQ(window.right - window.left, before.Width());
  Edit->InnerEdit()->LockBounds(false);
  inner->SetBounds(5, 5, 50, 10);
  EXPECT_EQ(inner->BoundsRect(), TRect(5, 5, 55, 15));
  EXPECT_EQ(Edit->Inner()->LockBoundsCount(), 0);
}

TEST_F(InnerTextEdit, DialogCodesFollowTheEditorsNeeds) {
  struct TRow {
    const char* Name;
    bool WantsTab, PopupOpen, ModifiedAndEscape;
    LRESULT Added;
  };
  const TRow rows[] = {
      {"Standalone", false, false, false, DLGC_WANTCHARS},
      {"WantsTab", true, false, false, DLGC_WANTCHARS | DLGC_WANTTAB},
      {"PopupOpen", false, true, false, DLGC_WANTCHARS | DLGC_WANTALLKEYS},
      {"ModifiedWithEscapeDown", false, false, true, DLGC_WANTCHARS | DLGC_WANTALLKEYS},
  };
  const LRESULT native = Edit->InnerEdit()->CallDefWndProc(WM_GETDLGCODE, 0, 0);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Edit->InPlaceTab = row.WantsTab;
    Edit->PopupOpen = row.PopupOpen;
    Edit->SetModifiedAfterEnter(row.ModifiedAndEscape);
    // The thread's key state as while Escape is held.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE escape = keys[VK_ESCAPE];
    if (row.ModifiedAndEscape) keys[VK_ESCAPE] |= 0x80;
    SetKeyboardState(keys);
    const LRESULT code = SendMessageW(Edit->InnerHandle(), WM_GETDLGCODE, 0, 0);
    keys[VK_ESCAPE] = escape;
    SetKeyboardState(keys);
    EXPECT_EQ(code, native | row.Added);
  }
}

TEST_F(InnerTextEdit, InputMethodMessages) {
  ASSERT_TRUE(IsWindowUnicode(Edit->InnerHandle()));
  SetWindowTextW(Edit->InnerHandle(), L"abcd");
  SendMessageW(Edit->InnerHandle(), EM_SETSEL, 1, 3);
  SendMessageW(Edit->InnerHandle(), WM_IME_CHAR, 0x8140, 0);
  // A Unicode window counts nothing: the selection read is the window's.
  EXPECT_EQ(Edit->Inner()->ImeCharCount(), 0);
  EXPECT_EQ(Edit->InnerTextEdit()->GetImeLastChar(), 0);
  SendMessageW(Edit->InnerHandle(), EM_SETSEL, 2, 4);
  EXPECT_EQ(Edit->InnerTextEdit()->GetSelStart(), 2);
  EXPECT_EQ(Edit->InnerTextEdit()->GetSelLength(), 2);

  Edit->Entries.clear();
  Edit->AllowsEditing = false;
  SendMessageW(Edit->InnerHandle(), WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  EXPECT_EQ(Edit->Count("process", WM_IME_COMPOSITION), 0) << "a refused composition is swallowed";
  Edit->AllowsEditing = true;
  SendMessageW(Edit->InnerHandle(), WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  EXPECT_EQ(Edit->Count("process", WM_IME_COMPOSITION), 1);
}

struct TCompositionScope {
  TdxDwmApi Saved = dxDwmApi();
  bool SavedBound = IsDwmApiBound();
  explicit TCompositionScope(BOOL AComposed) {
    static BOOL composed;
    composed = AComposed;
    TdxDwmApi api = Saved;
    api.DwmIsCompositionEnabled = [](BOOL* AValue) -> HRESULT {
      *AValue = composed;
      return S_OK;
    };
    dxSetDwmApi(api, true);
  }
  ~TCompositionScope() { dxSetDwmApi(Saved, SavedBound); }
};

TEST_F(InnerTextEdit, OnGlassTheColourMessageDefersARepaint) {
  Edit->SetOnGlass(true);
  const HWND inner = Edit->InnerHandle();
  const TPixelSurface surface(4, 4);
  {
    const TCompositionScope composition(FALSE);
    Edit->Entries.clear();
    SendMessageW(inner, CN_CTLCOLOREDIT, reinterpret_cast<WPARAM>(surface.DC()), reinterpret_cast<LPARAM>(inner));
    EXPECT_EQ(Edit->Count("process", WM_SETREDRAW), 0) << "no composition, no deferred repaint";
    EXPECT_FALSE(Edit->Inner()->RepaintOnGlassPending());
  }
  const TCompositionScope composition(TRUE);
  Edit->Entries.clear();
  for (int i = 0; i < 2; ++i)
    SendMessageW(inner, CN_CTLCOLOREDIT, reinterpret_cast<WPARAM>(surface.DC()), reinterpret_cast<LPARAM>(inner));
  ASSERT_EQ(Edit->Count("process", WM_SETREDRAW), 1) << "one repaint pending at a time";
  EXPECT_TRUE(Edit->Inner()->RepaintOnGlassPending());
  MSG posted{};
  EXPECT_TRUE(PeekMessageW(&posted, inner, DXM_INNEREDITREPAINTONGLASS, DXM_INNEREDITREPAINTONGLASS, PM_NOREMOVE));
  PumpUntil([&] { return !Edit->Inner()->RepaintOnGlassPending(); }, 2000);
  EXPECT_FALSE(Edit->Inner()->RepaintOnGlassPending());
  std::vector<WPARAM> redraw;
  for (const auto& e : Edit->Entries)
    if (e.Msg == WM_SETREDRAW) redraw.push_back(e.WParam);
  EXPECT_EQ(redraw, (std::vector<WPARAM>{FALSE, TRUE}));
  Edit->SetOnGlass(false);
}

TEST_F(InnerTextEdit, EnterEscapeAndTabReachTheEditOnlyWhenTheEditorLeavesThem) {
  struct TRow {
    const char* Name;
    bool Inplace, BeepOnEnter, PopupJustClosed;
    wchar_t Char;
    bool Reaches;
  };
  const TRow rows[] = {
      {"EnterBeeping", false, true, false, L'\r', true},
      {"EnterSilent", false, false, false, L'\r', false},
      {"LineFeedSilent", false, false, false, L'\n', false},
      {"EnterInPlace", true, true, false, L'\r', false},
      {"EscapeInPlace", true, true, false, 27, false},
      {"EscapeStandalone", false, true, false, 27, true},
      {"EscapeAfterPopup", false, true, true, 27, false},
      {"Tab", false, true, false, L'\t', false},
      {"Letter", true, false, true, L'q', true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    auto* edit = New<TRecordingTextEdit>(Form.get(), row.Inplace);
    edit->SetParent(Form.get());
    edit->FBeepOnEnter = row.BeepOnEnter;
    edit->FIsPopupWindowJustClosed = row.PopupJustClosed;
    edit->Entries.clear();
    SendMessageW(edit->InnerHandle(), WM_CHAR, row.Char, 1);
    EXPECT_EQ(edit->CharReachedEdit(row.Char), row.Reaches);
    EXPECT_EQ(edit->InnerTextEdit()->GetInternalUpdating(), !row.Reaches);
    if (row.PopupJustClosed) {
      EXPECT_EQ(edit->FIsPopupWindowJustClosed, row.Reaches) << "consumed with the key";
    }
    edit->Free();
  }
}

TEST_F(InnerTextEdit, APressOnTheEditReachesTheEditorAtItsOwnCoordinates) {
  TWinControl* inner = Edit->InnerControl();
  SendMessageW(Edit->InnerHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 5));
  SendMessageW(Edit->InnerHandle(), WM_LBUTTONUP, 0, MAKELPARAM(7, 5));
  ASSERT_EQ(Edit->MouseDowns.size(), 1u);
  POINT p{7, 5};
  MapWindowPoints(Edit->InnerHandle(), Edit->Handle(), &p, 1);
  EXPECT_EQ(Edit->MouseDowns[0], TPoint(p.x, p.y));
  EXPECT_EQ(Edit->MouseDowns[0], TPoint(inner->Left() + 7, inner->Top() + 5));
}

TEST_F(InnerTextEdit, AnInnerControlWithoutItsInterfaceCountsAsMissing) {
  EXPECT_FALSE(Edit->IsInnerControlMissing());
  auto* plain = New<TPlainInnerEdit>(Form.get());
  EXPECT_FALSE(plain->HasInnerEdit());
  EXPECT_TRUE(plain->IsInnerControlMissing());
  auto* none = New<TNoInnerEdit>(Form.get());
  EXPECT_FALSE(none->HasInnerEdit());
  EXPECT_FALSE(none->IsInnerControlMissing());
}

TEST_F(InnerTextEdit, TheEditorReachesItsEditOnlyThroughItsInterfaces) {
  IcxCustomInnerEdit* inner = Edit->InnerEdit();
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->GetControl(), Edit->InnerControl());
  EXPECT_EQ(inner->GetControlContainer(), Edit);
  EXPECT_EQ(Edit->InnerControl()->Parent(), Edit);
  EXPECT_NE(Edit->InnerTextEdit(), nullptr);
  EXPECT_FALSE(inner->CanProcessClipboardMessages());
  EXPECT_FALSE(Edit->InnerTextEdit()->GetMultiLine());
  inner->SetEditValue(Variant(String(L"value")));
  EXPECT_EQ(Edit->InnerText(), L"value");
  EXPECT_EQ(VarToStr(inner->GetEditValue()), String(L"value"));
}

TEST_F(InnerTextEdit, ClearUndoAndSelectionMessagesReachTheEditor) {
  SetWindowTextW(Edit->InnerHandle(), L"abcdef");
  // A refused edit keeps the text.
  Edit->AllowsEditing = false;
  SendMessageW(Edit->InnerHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"Z"));
  EXPECT_EQ(Edit->InnerText(), L"abcdef");
  Edit->AllowsEditing = true;
  Edit->InnerTextEdit()->SetOnSelChange(BindEvent<&TRecordingTextEdit::SelChange>(Edit));
  SendMessageW(Edit->InnerHandle(), EM_SETSEL, 1, 3);
  EXPECT_EQ(Edit->SelChangeCount, 1);
  SendMessageW(Edit->InnerHandle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(Edit->ClearCount, 1);
  EXPECT_EQ(Edit->InnerText(), L"adef");
  EXPECT_EQ(Edit->InnerTextEdit()->GetSelStart(), 1);
  SendMessageW(Edit->InnerHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"XY"));
  EXPECT_EQ(Edit->InnerText(), L"aXYdef");
  SendMessageW(Edit->InnerHandle(), WM_UNDO, 0, 0);
  EXPECT_EQ(Edit->UndoCount, 1);
  EXPECT_EQ(Edit->InnerText(), L"adef") << "the native edit undid the replacement";
  // A read-only edit clears nothing.
  Edit->InnerEdit()->SetReadOnly(true);
  SendMessageW(Edit->InnerHandle(), EM_SETSEL, 0, 2);
  SendMessageW(Edit->InnerHandle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(Edit->ClearCount, 1);
  EXPECT_EQ(Edit->InnerText(), L"adef");
}

TEST_F(InnerTextEdit, TheHookSeesTheInnerWindowsMessagesUntilRemoved) {
  Edit->HookInnerEditWindowProc();
  ASSERT_NE(Edit->WindowProcObject(), nullptr);
  SetWindowTextW(Edit->InnerHandle(), L"hooked");
  EXPECT_NE(std::find(Edit->Hooked.begin(), Edit->Hooked.end(), static_cast<UINT>(WM_SETTEXT)), Edit->Hooked.end());
  EXPECT_EQ(Edit->InnerText(), L"hooked") << "the hook passes messages on";
  Edit->UnhookInnerEditWindowProc();
  EXPECT_EQ(Edit->WindowProcObject(), nullptr);
  Edit->Hooked.clear();
  SetWindowTextW(Edit->InnerHandle(), L"free");
  EXPECT_TRUE(Edit->Hooked.empty());
  EXPECT_EQ(Edit->InnerText(), L"free");
}

TEST_F(InnerTextEdit, AnAccessibilityClientSeesATextField) {
  SetWindowTextW(Edit->InnerHandle(), L"read me");
  TComPtr<IAccessible> client = AccessibleClientOf(Edit->InnerHandle());
  ASSERT_TRUE(client);
  VARIANT role;
  VariantInit(&role);
  ASSERT_EQ(client->get_accRole(AccessibleChild(CHILDID_SELF), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
  TBstr value;
  ASSERT_EQ(client->get_accValue(AccessibleChild(CHILDID_SELF), &value.Value), S_OK);
  EXPECT_EQ(value.Text(), String(L"read me"));
  long x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(client->accLocation(&x, &y, &w, &h, AccessibleChild(CHILDID_SELF)), S_OK);
  RECT window{};
  GetWindowRect(Edit->InnerHandle(), &window);
  EXPECT_EQ(TRect(x, y, x + w, y + h), TRect(window));
  VARIANT state;
  VariantInit(&state);
  ASSERT_EQ(client->get_accState(AccessibleChild(CHILDID_SELF), &state), S_OK);
  EXPECT_EQ(state.lVal & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_INVISIBLE),
            STATE_SYSTEM_FOCUSABLE);
  Focus(Edit->InnerHandle());
  ASSERT_EQ(client->get_accState(AccessibleChild(CHILDID_SELF), &state), S_OK);
  EXPECT_NE(state.lVal & STATE_SYSTEM_FOCUSED, 0);
  BSTR written = SysAllocString(L"written");
  EXPECT_EQ(client->put_accValue(AccessibleChild(CHILDID_SELF), written), S_OK);
  SysFreeString(written);
  EXPECT_EQ(Edit->InnerText(), L"written");
}

}  // namespace
