#include "platform/ui/Clipbrd.h"

#include "platform/ui/WindowAllocation.h"

#include <cstring>

namespace {
TClipboard* GClipboard = nullptr;
}  // namespace

TClipboard* Clipboard() {
  if (!GClipboard) GClipboard = New<TClipboard>();
  return GClipboard;
}

TClipboard* SetClipboard(TClipboard* AValue) { return std::exchange(GClipboard, AValue); }

void ClipbrdFinalization() { FreeAndNil(GClipboard); }

void TClipboard::Destroy() {
  if (FOpenCount > 0) {
    FOpenCount = 1;
    Close();
  }
  DeallocateHWnd(std::exchange(FWindow, nullptr));
  inherited::Destroy();
}

void TClipboard::WndProc(TMessage& Message) {
  Message.Result = DefWindowProcW(FWindow, Message.Msg, Message.WParam, Message.LParam);
}

void TClipboard::Open() {
  if (FOpenCount == 0) {
    if (!FWindow) FWindow = AllocateHWnd(BindEvent<&TClipboard::WndProc>(this));
    // Another program may hold it for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 10 && !opened; ++attempt) {
      opened = OpenClipboard(FWindow) != FALSE;
      if (!opened) Sleep(10);
    }
    if (!opened) throw EClipboardException(L"Zwischenablage kann nicht geöffnet werden");
    FEmptied = false;
  }
  ++FOpenCount;
}

void TClipboard::Close() {
  if (FOpenCount == 0) return;
  if (--FOpenCount == 0) CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  FEmptied = true;
  Close();
}

void TClipboard::Adding() {
  if (FOpenCount > 0 && !FEmptied) {
    EmptyClipboard();
    FEmptied = true;
  }
}

bool TClipboard::HasFormat(UINT AFormat) const { return IsClipboardFormatAvailable(AFormat) != FALSE; }

int TClipboard::FormatCount() { return CountClipboardFormats(); }

UINT TClipboard::Formats(int AIndex) {
  Open();
  UINT format = 0;
  for (int i = 0; i <= AIndex; ++i) {
    format = EnumClipboardFormats(format);
    if (format == 0) break;
  }
  Close();
  if (format == 0) throw EListError(L"Listenindex überschreitet das Maximum (%d)", {AIndex});
  return format;
}

HANDLE TClipboard::GetAsHandle(UINT AFormat) {
  Open();
  HANDLE data = GetClipboardData(AFormat);
  Close();
  return data;
}

void TClipboard::SetAsHandle(UINT AFormat, HANDLE AValue) {
  Open();
  TScopeExit close([this] { Close(); });
  Adding();
  if (!SetClipboardData(AFormat, AValue)) throw EClipboardException(L"Daten können nicht in die Zwischenablage");
}

String TClipboard::AsText() {
  Open();
  TScopeExit close([this] { Close(); });
  String text;
  const TGlobalLock lock(GetClipboardData(CF_UNICODETEXT));
  if (const auto* chars = static_cast<const wchar_t*>(lock.Data())) {
    // Up to the terminator, never beyond the block.
    const std::size_t max = lock.Size() / sizeof(wchar_t);
    std::size_t n = 0;
    while (n < max && chars[n]) ++n;
    text.assign(chars, n);
  }
  return text;
}

void TClipboard::SetAsText(const String& AValue) {
  const std::size_t bytes = (AValue.size() + 1) * sizeof(wchar_t);
  TGlobalMemory data(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!data) throw EOutOfResources(L"Nicht genügend Speicher für die Zwischenablage");
  {
    const TGlobalLock lock(data.Get());
    std::memcpy(lock.Data(), AValue.c_str(), bytes);
  }
  SetAsHandle(CF_UNICODETEXT, data.Get());
  static_cast<void>(data.Release());  // the clipboard's now
}

void TClipboard::Assign(TPersistent* ASource) {
  TGraphic* graphic = dynamic_cast<TGraphic*>(ASource);
  if (auto* picture = dynamic_cast<TPicture*>(ASource)) graphic = picture->Graphic();
  if (!graphic) {
    inherited::Assign(ASource);
    return;
  }
  Open();
  TScopeExit close([this] { Close(); });
  UINT format = 0;
  HANDLE data = nullptr;
  HPALETTE palette = nullptr;
  graphic->SaveToClipboardFormat(format, data, palette);
  if (data) SetAsHandle(format, data);
  if (palette) SetAsHandle(CF_PALETTE, palette);
}

void TClipboard::AssignTo(TPersistent* ADest) {
  auto* picture = dynamic_cast<TPicture*>(ADest);
  auto* graphic = dynamic_cast<TGraphic*>(ADest);
  if (!picture && !graphic) {
    inherited::AssignTo(ADest);
    return;
  }
  Open();
  TScopeExit close([this] { Close(); });
  // The first registered format the clipboard holds, for a class that fits
  // the destination.
  UINT format = 0;
  TGraphicClass cls = nullptr;
  for (UINT f = EnumClipboardFormats(0); f && !cls; f = EnumClipboardFormats(f)) {
    TGraphicClass c = TPicture::FindClipboardFormat(f);
    if (c && (picture || ADest->ClassType()->InheritsFrom(c) || c->InheritsFrom(ADest->ClassType()))) {
      cls = c;
      format = f;
    }
  }
  if (!cls) throw EClipboardException(L"Die Zwischenablage enthält kein passendes Format");
  HANDLE data = GetClipboardData(format);
  auto* palette = static_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
  if (graphic) {
    graphic->LoadFromClipboardFormat(format, data, palette);
  } else {
    const TOwned<TGraphic> made(NewGraphic(cls));
    made->LoadFromClipboardFormat(format, data, palette);
    picture->SetGraphic(made.get());
  }
}
