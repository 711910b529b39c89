// Opening the image combo box's list of 100 items with 16 x 16 images and
// painting it, next to a native extended combo box (WC_COMBOBOXEX) with the
// same image list and texts: each list is dropped down, painted at once and
// closed again. Prints both times and the ratio (target at most 2).
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxImageComboBox.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

constexpr int Items = 100;
constexpr int Opens = 30;
constexpr double Target = 2.0;

std::wstring Description(int AIndex) { return L"Image item number " + std::to_wstring(AIndex); }

// Lets the queued paints and posted requests run.
void Drain() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_USEREX_CLASSES};
    InitCommonControlsEx(&init);
    TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    form->SetBounds(100, 100, 520, 400);
    form->Show();
    auto* images = New<TCustomImageList>(form.get());
    images->SetSize(16, 16);
    for (int i = 0; i < Items; ++i) {
      TOwned<TBitmap> bitmap(New<TBitmap>());
      bitmap->SetSize(16, 16);
      HBRUSH brush = CreateSolidBrush(RGB(i * 2, 255 - i * 2, (i * 37) % 256));
      RECT all{0, 0, 16, 16};
      FillRect(bitmap->Canvas()->Handle(), &all, brush);
      DeleteObject(brush);
      images->Add(bitmap.get(), nullptr);
    }
    auto* combo = New<TcxImageComboBox>(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 220, 24);
    combo->Properties()->SetImages(images);
    combo->Properties()->SetDropDownRows(Items);
    for (int i = 0; i < Items; ++i) {
      TcxImageComboBoxItem* item = combo->Properties()->Items()->Add();
      item->SetValue(Variant(i));
      item->SetDescription(Description(i));
    }
    combo->SetEditValue(Variant(0));

    const HWND native = CreateWindowExW(0, WC_COMBOBOXEXW, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 260, 10,
                                        220, 400, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(native, WM_SETFONT, reinterpret_cast<WPARAM>(combo->Style()->GetVisibleFont()->Handle()), FALSE);
    SendMessageW(native, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images->Handle()));
    for (int i = 0; i < Items; ++i) {
      std::wstring text = Description(i);
      COMBOBOXEXITEMW item{};
      item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
      item.iItem = i;
      item.pszText = text.data();
      item.iImage = i;
      item.iSelectedImage = i;
      SendMessageW(native, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(native, CB_SETMINVISIBLE, Items, 0);
    SendMessageW(native, CB_SETCURSEL, 0, 0);
    Drain();

    int oursOpened = 0, nativeOpened = 0;
    const auto ours = [&] {
      for (int i = 0; i < Opens; ++i) {
        combo->SetDroppedDown(true);
        Drain();
        if (combo->DroppedDown()) {
          ++oursOpened;
          UpdateWindow(combo->LookupData()->List()->Handle());
        }
        combo->SetDroppedDown(false);
        Drain();
      }
    };
    const auto reference = [&] {
      for (int i = 0; i < Opens; ++i) {
        SendMessageW(native, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        const HWND combobox = reinterpret_cast<HWND>(SendMessageW(native, CBEM_GETCOMBOCONTROL, 0, 0));
        if (GetComboBoxInfo(combobox, &info) && IsWindowVisible(info.hwndList)) {
          ++nativeOpened;
          UpdateWindow(info.hwndList);
        }
        SendMessageW(native, CB_SHOWDROPDOWN, FALSE, 0);
        Drain();
      }
    };
    std::printf("stdctrls_imagecombo benchmark: a list of %d items with 16 x 16 images opened and painted %d times\n",
                Items, Opens);
    bench::TRatioReport report("image combo box", "WC_COMBOBOXEX", Target, 8);
    report.Add("open and paint", bench::BestOf(3, [] {}, ours), bench::BestOf(3, [] {}, reference));
    std::printf("lists shown: %d against %d\n", oursOpened, nativeOpened);
    if (oursOpened == 0 || nativeOpened == 0) std::printf("a list never opened: the comparison is void\n");
    if (report.Slower() > 0) std::printf("over the target of %.1f\n", Target);
    DestroyWindow(native);
  }
  FinalizeUnits();
  return 0;
}
