// TGraphic's common behaviour, TPicture and the registry of graphic classes
// by file extension and clipboard format.
#include "platform/ui/Graphics.h"

#include <algorithm>
#include <cwctype>

const wchar_t* const SAllFilter = L"Alle";

// ---------------------------------------------------------------------------
// TGraphic

void TGraphic::SetSize(int AWidth, int AHeight) {
  SetWidth(AWidth);
  SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool AValue) {
  if (FTransparent == AValue) return;
  FTransparent = AValue;
  Changed(this);
}

void TGraphic::SetModified(bool AValue) {
  if (AValue) Changed(this);
  else FModified = false;
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  CallEvent(FOnChange, this);
}

void TGraphic::LoadFromClipboardFormat(UINT AFormat, HANDLE, HPALETTE) {
  throw EInvalidGraphic(L"Zwischenablageformat %u wird von %s nicht unterstützt", {AFormat, ClassName()});
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphic(L"%s kann nicht in die Zwischenablage kopiert werden", {ClassName()});
}

TGraphic* NewGraphic(TGraphicClass AClass) {
  if (!AClass || !AClass->InheritsFrom(TGraphic::ClassInfo()))
    throw EInvalidGraphic(L"%s ist keine Grafikklasse", {AClass ? AClass->ClassName() : String(L"nil")});
  return NewOfClass<TGraphic>(AClass);
}

// ---------------------------------------------------------------------------
// Registry

namespace {

struct TFileFormat {
  String Extension;
  String Description;
  TGraphicClass Class;
};

struct TClipboardFormat {
  UINT Format;
  TGraphicClass Class;
};

struct TRegistry {
  std::vector<TFileFormat> Files;
  std::vector<TClipboardFormat> Clipboard;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

String NormalExtension(const String& AExtension) {
  String s = AExtension;
  if (!s.empty() && s[0] == L'.') s.erase(0, 1);
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

}  // namespace

void TPicture::RegisterFileFormat(const String& AExtension, const String& ADescription, TGraphicClass AClass) {
  if (!AClass || !AClass->InheritsFrom(TGraphic::ClassInfo()))
    throw EInvalidGraphic(L"%s ist keine Grafikklasse", {AClass ? AClass->ClassName() : String(L"nil")});
  Registry().Files.push_back({NormalExtension(AExtension), ADescription, AClass});
}

void TPicture::RegisterClipboardFormat(UINT AFormat, TGraphicClass AClass) {
  if (!AClass || !AClass->InheritsFrom(TGraphic::ClassInfo()))
    throw EInvalidGraphic(L"%s ist keine Grafikklasse", {AClass ? AClass->ClassName() : String(L"nil")});
  Registry().Clipboard.push_back({AFormat, AClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass AClass) {
  if (!AClass) return;
  auto& r = Registry();
  std::erase_if(r.Files, [&](const TFileFormat& f) { return f.Class->InheritsFrom(AClass); });
  std::erase_if(r.Clipboard, [&](const TClipboardFormat& f) { return f.Class->InheritsFrom(AClass); });
}

TGraphicClass TPicture::FindFileFormat(const String& AExtension) {
  const String ext = NormalExtension(AExtension);
  const auto& files = Registry().Files;
  // The latest registration wins.
  for (auto it = files.rbegin(); it != files.rend(); ++it)
    if (it->Extension == ext) return it->Class;
  return nullptr;
}

TGraphicClass TPicture::FindClipboardFormat(UINT AFormat) {
  const auto& formats = Registry().Clipboard;
  for (auto it = formats.rbegin(); it != formats.rend(); ++it)
    if (it->Format == AFormat) return it->Class;
  return nullptr;
}

bool TPicture::SupportsClipboardFormat(UINT AFormat) { return FindClipboardFormat(AFormat) != nullptr; }

String TPicture::GraphicFilter(TGraphicClass AClass) {
  if (!AClass) AClass = TGraphic::ClassInfo();
  String all;
  String entries;
  int count = 0;
  for (const TFileFormat& f : Registry().Files) {
    // A class registered without an extension names no files.
    if (!f.Class->InheritsFrom(AClass) || f.Extension.empty()) continue;
    const String pattern = L"*." + f.Extension;
    if (count > 0) {
      all += L";";
      entries += L"|";
    }
    all += pattern;
    entries += f.Description + L" (" + pattern + L")|" + pattern;
    ++count;
  }
  if (count > 1) return String(SAllFilter) + L" (" + all + L")|" + all + L"|" + entries;
  return entries;
}

String TPicture::GraphicExtension(TGraphicClass AClass) {
  for (const TFileFormat& f : Registry().Files)
    if (f.Class == AClass) return f.Extension;
  return {};
}

std::vector<TGraphicClass> TPicture::GraphicClasses() {
  std::vector<TGraphicClass> classes;
  auto add = [&](TGraphicClass AClass) {
    if (std::find(classes.begin(), classes.end(), AClass) == classes.end()) classes.push_back(AClass);
  };
  const auto& r = Registry();
  for (auto it = r.Files.rbegin(); it != r.Files.rend(); ++it) add(it->Class);
  for (auto it = r.Clipboard.rbegin(); it != r.Clipboard.rend(); ++it) add(it->Class);
  return classes;
}

// ---------------------------------------------------------------------------
// TPicture

void TPicture::Create() { inherited::Create(); }

void TPicture::Destroy() {
  FGraphic.reset();
  inherited::Destroy();
}

void TPicture::TakeGraphic(TOwned<TGraphic> AGraphic) {
  FGraphic = std::move(AGraphic);
  if (FGraphic) FGraphic->SetOnChange(BindEvent<&TPicture::Changed>(this));
}

void TPicture::SetGraphic(TGraphic* AValue) {
  if (AValue == FGraphic.get()) return;
  TOwned<TGraphic> copy;
  if (AValue) {
    copy.reset(NewGraphic(AValue->ClassType()));
    copy->Assign(AValue);
  }
  TakeGraphic(std::move(copy));
  Changed(this);
}

void TPicture::ForceType(TGraphicClass AClass) {
  if (FGraphic && FGraphic->ClassType() == AClass) return;
  TakeGraphic(TOwned<TGraphic>(NewGraphic(AClass)));
  Changed(this);
}

TBitmap* TPicture::Bitmap() {
  // A descendant of TBitmap (a library bitmap) serves as it is.
  if (!Is<TBitmap>(FGraphic.get())) ForceType(TBitmap::ClassInfo());
  return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
  if (!Is<TIcon>(FGraphic.get())) ForceType(TIcon::ClassInfo());
  return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::Assign(TPersistent* ASource) {
  if (!ASource) SetGraphic(nullptr);
  else if (auto* picture = dynamic_cast<TPicture*>(ASource)) SetGraphic(picture->Graphic());
  else if (auto* graphic = dynamic_cast<TGraphic*>(ASource)) SetGraphic(graphic);
  else inherited::Assign(ASource);
}

void TPicture::AssignTo(TPersistent* ADest) {
  if (FGraphic && Is<TGraphic>(ADest) && FGraphic->InheritsFrom(ADest->ClassType())) ADest->Assign(FGraphic.get());
  else inherited::AssignTo(ADest);
}

void TPicture::Changed(TObject*) { CallEvent(FOnChange, this); }

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void GraphicsInitialization() {
  ScreenLogPixels();
  RegisterClasses({TBitmap::ClassInfo(), TIcon::ClassInfo(), TMetafile::ClassInfo(), TPicture::ClassInfo(),
                   TFont::ClassInfo(), TPen::ClassInfo(), TBrush::ClassInfo()});
  TPicture::RegisterFileFormat(L"bmp", L"Bitmaps", TBitmap::ClassInfo());
  TPicture::RegisterFileFormat(L"ico", L"Symbole", TIcon::ClassInfo());
  TPicture::RegisterFileFormat(L"emf", L"Erweiterte Metadateien", TMetafile::ClassInfo());
  TPicture::RegisterFileFormat(L"wmf", L"Metadateien", TMetafile::ClassInfo());
  TPicture::RegisterClipboardFormat(CF_BITMAP, TBitmap::ClassInfo());
  TPicture::RegisterClipboardFormat(CF_ENHMETAFILE, TMetafile::ClassInfo());
}

void GraphicsFinalization() {
  Registry().Files.clear();
  Registry().Clipboard.clear();
}
