// Paging through the self-drawn item list next to a native owner-drawn list
// box: 10^4 captions in lists of the same size and font, each moved a page at
// a time from the first row to the last and printed into a 32-bit DIB after
// every page. The native list's parent draws each row with DrawTextW on the
// window colour (the selected row on the highlight), as the item list does.
// Prints both times and the ratio (target at most 1.5).
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxListBox.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <string>

namespace {

constexpr int Items = 10000;
constexpr double Target = 1.5;
constexpr int Width = 200, Height = 300, RowHeight = 16;

// The native list's parent: draws every row the list asks for.
LRESULT CALLBACK HostProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
  if (AMessage == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(ALParam)->itemHeight = RowHeight;
    return TRUE;
  }
  if (AMessage != WM_DRAWITEM) return DefWindowProcW(AWindow, AMessage, AWParam, ALParam);
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(ALParam);
  if (item->itemID == static_cast<UINT>(-1)) return TRUE;
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  FillRect(item->hDC, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  wchar_t text[64];
  const LRESULT length = SendMessageW(item->hwndItem, LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text));
  SetBkMode(item->hDC, TRANSPARENT);
  SetTextColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT r{item->rcItem.left + 2, item->rcItem.top + 2, item->rcItem.right - 2, item->rcItem.bottom - 2};
  DrawTextW(item->hDC, text, static_cast<int>(length), &r,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  return TRUE;
}

// Pixels that are not the window colour: both lists must have drawn rows.
int Inked(HDC ADC) {
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  int result = 0;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) result += GetPixel(ADC, x, y) != window;
  return result;
}

std::wstring Caption(int AIndex) { return L"Item number " + std::to_wstring(AIndex); }

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  {
    TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(100, 100, 2 * Width + 40, Height + 60);
    form->Show();
    auto* list = New<TdxCustomListBox>(form.get());
    list->SetParent(form.get());
    list->SetBorderStyle(cxcbsNone);
    list->LookAndFeel()->SetNativeStyle(false);
    list->LookAndFeel()->SetScrollbarMode(sbmClassic);
    list->SetBounds(0, 0, Width, Height);
    list->BeginUpdate();
    for (int i = 0; i < Items; ++i) list->Add(Caption(i));
    list->EndUpdate();
    list->SetItemIndex(0);

    WNDCLASSW host{};
    host.lpfnWndProc = HostProc;
    host.hInstance = GetModuleHandleW(nullptr);
    host.lpszClassName = L"SkListBenchHost";
    RegisterClassW(&host);
    const HWND parent = CreateWindowExW(0, host.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, Width + 40, Height + 60,
                                        nullptr, nullptr, host.hInstance, nullptr);
    const HWND native = CreateWindowExW(0, L"LISTBOX", L"",
                                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                            LBS_NOINTEGRALHEIGHT,
                                        0, 0, Width, Height, parent, nullptr, host.hInstance, nullptr);
    SendMessageW(native, WM_SETFONT, reinterpret_cast<WPARAM>(list->Font()->Handle()), FALSE);
    SendMessageW(native, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < Items; ++i)
      SendMessageW(native, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Caption(i).c_str()));
    SendMessageW(native, WM_SETREDRAW, TRUE, 0);
    SendMessageW(native, LB_SETCURSEL, 0, 0);

    TMemoryDC target = TMemoryDC::Dib32(nullptr, Width, Height);
    const int page = list->VisibleCount();
    const auto ours = [&] {
      for (int top = 0; top < Items; top += page) {
        list->SetTopIndex(top);
        list->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.DC()), PRF_CLIENT);
      }
    };
    const auto reference = [&] {
      for (int top = 0; top < Items; top += page) {
        SendMessageW(native, LB_SETTOPINDEX, top, 0);
        SendMessageW(native, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.DC()), PRF_CLIENT);
      }
    };
    ours();
    const int oursInk = Inked(target.DC());
    reference();
    const int referenceInk = Inked(target.DC());
    if (oursInk == 0 || referenceInk == 0) std::printf("a list drew nothing: the comparison is void\n");
    std::printf("stdctrls_listbox benchmark: %d items paged %d rows at a time through a %d x %d list\n", Items, page,
                Width, Height);
    bench::TRatioReport report("item list", "native owner-drawn", Target, 8);
    report.Add("paging", bench::BestOf(3, [] {}, ours), bench::BestOf(3, [] {}, reference));
    std::printf("last page: %d pixels of text and highlight against %d\n", oursInk, referenceInk);
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
    DestroyWindow(parent);
  }
  FinalizeUnits();
  return 0;
}
