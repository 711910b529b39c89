// TCustomImageList over the native image list.
//
// Bitmaps handed to the native list must not be selected into any device
// context (it selects them into its own), so every bitmap lets go of its
// canvas context (Dormant) before it is passed on.
#include "platform/ui/ImgList.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"

#include <algorithm>

namespace {

COLORREF ListColor(TColor AColor) {
  if (AColor == clNone) return CLR_NONE;
  if (AColor == clDefault) return CLR_DEFAULT;
  return ColorToColorRef(AColor);
}

constexpr UINT GStyleFlags[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};

// A 32-bit top-down DIB section in its own memory context, zeroed, read and
// written pixel by pixel.
class TScratch {
 public:
  TScratch(int AWidth, int AHeight) : FMemory(TMemoryDC::Dib32(nullptr, AWidth, AHeight)) {
    if (!FMemory || !FMemory.Bits()) RaiseGraphicsApiError(L"CreateDIBSection");
  }
  HDC DC() const { return FMemory.DC(); }
  std::uint32_t& At(int X, int Y) {
    GdiFlush();
    return FMemory.Bits()[static_cast<std::size_t>(Y) * static_cast<std::size_t>(FMemory.Width()) +
                          static_cast<std::size_t>(X)];
  }
  void Fill(std::uint32_t AValue) {
    GdiFlush();
    std::fill_n(FMemory.Bits(), static_cast<std::size_t>(FMemory.Width()) * static_cast<std::size_t>(FMemory.Height()),
                AValue);
  }

 private:
  TMemoryDC FMemory;
};

// A bitmap that lets go of its canvas context for the length of a call.
HBITMAP Unselected(TBitmap* ABitmap) {
  if (!ABitmap) return nullptr;
  ABitmap->Dormant();
  return ABitmap->Handle();
}

}  // namespace

// ---------------------------------------------------------------------------
// TChangeLink

void TChangeLink::Destroy() {
  if (FSender) FSender->UnRegisterChanges(this);
  inherited::Destroy();
}

void TChangeLink::Change() {
  if (FSender) CallEvent(FOnChange, FSender);
}

// ---------------------------------------------------------------------------
// TCustomImageList
//
// Operations built on other operations call this class's own versions, so
// that a descendant overriding one of them sees each change once.

void TCustomImageList::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  Initialize();
}

void TCustomImageList::Initialize() {
  FWidth = 16;
  FHeight = 16;
  FAllocBy = 4;
  FBkColor = clNone;
  FBlendColor = clNone;
  FColorDepth = cdDeviceDependent;
  FDrawingStyle = dsNormal;
  FImageType = itImage;
  FMasked = true;
}

void TCustomImageList::Destroy() {
  for (TChangeLink* link : FClients) link->SetSender(nullptr);
  FClients.clear();
  FreeHandle();
  inherited::Destroy();
}

UINT TCustomImageList::CreateFlags() const {
  static constexpr UINT depths[] = {ILC_COLORDDB, ILC_COLOR4, ILC_COLOR8, ILC_COLOR16, ILC_COLOR24, ILC_COLOR32};
  return depths[FColorDepth] | (FMasked ? ILC_MASK : 0);
}

void TCustomImageList::HandleNeeded(int ACapacity) {
  if (FHandle) return;
  FHandle = ImageList_Create(FWidth, FHeight, CreateFlags(), std::max(FAllocBy, ACapacity), FAllocBy);
  if (!FHandle) RaiseGraphicsApiError(L"ImageList_Create");
  ImageList_SetBkColor(FHandle, ListColor(FBkColor));
}

HIMAGELIST TCustomImageList::Handle() {
  HandleNeeded();
  return FHandle;
}

void TCustomImageList::FreeHandle() {
  if (FHandle && !FShareImages) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

void TCustomImageList::RecreateHandle(int ACapacity) {
  if (!FHandle) return;
  FreeHandle();
  HandleNeeded(ACapacity);
}

void TCustomImageList::SetHandle(HIMAGELIST AValue) {
  if (AValue == FHandle) return;
  FreeHandle();
  FHandle = AValue;
  if (FHandle) {
    int w = 0, h = 0;
    if (ImageList_GetIconSize(FHandle, &w, &h)) {
      FWidth = w;
      FHeight = h;
    }
  }
  Change();
}

int TCustomImageList::Count() { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

void TCustomImageList::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(1, AWidth);
  AHeight = std::max(1, AHeight);
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  // A new size empties the native list.
  if (FHandle) ImageList_SetIconSize(FHandle, FWidth, FHeight);
  Change();
}

void TCustomImageList::SetBkColor(TColor AValue) {
  if (AValue == FBkColor) return;
  FBkColor = AValue;
  if (FHandle) ImageList_SetBkColor(FHandle, ListColor(FBkColor));
  Change();
}

void TCustomImageList::SetBlendColor(TColor AValue) {
  if (AValue == FBlendColor) return;
  FBlendColor = AValue;
  Change();
}

void TCustomImageList::SetColorDepth(TColorDepth AValue) {
  if (AValue == FColorDepth) return;
  FColorDepth = AValue;
  RecreateHandle();
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle AValue) {
  if (AValue == FDrawingStyle) return;
  FDrawingStyle = AValue;
  Change();
}

void TCustomImageList::SetImageType(TImageType AValue) {
  if (AValue == FImageType) return;
  FImageType = AValue;
  Change();
}

void TCustomImageList::SetMasked(bool AValue) {
  if (AValue == FMasked) return;
  FMasked = AValue;
  RecreateHandle();
  Change();
}

void TCustomImageList::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TCustomImageList*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  if (source == this) return;
  WithUpdate(this, [&] {
    FreeHandle();
    FWidth = source->FWidth;
    FHeight = source->FHeight;
    FAllocBy = source->FAllocBy;
    FBkColor = source->FBkColor;
    FBlendColor = source->FBlendColor;
    FColorDepth = source->FColorDepth;
    FDrawingStyle = source->FDrawingStyle;
    FImageType = source->FImageType;
    FMasked = source->FMasked;
    if (source->FHandle) {
      FHandle = ImageList_Duplicate(source->FHandle);
      if (!FHandle) RaiseGraphicsApiError(L"ImageList_Duplicate");
    }
    FChanged = true;
  });
}

// ---------------------------------------------------------------------------
// Changes

void TCustomImageList::Change() {
  FChanged = true;
  if (FUpdateCount > 0) return;
  const TComponentState& state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csDestroying)) return;
  FChanged = false;
  // A link's handler may unregister links (its own or others).
  const std::vector<TChangeLink*> links = FClients;
  for (TChangeLink* link : links)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
  CallEvent(FOnChange, this);
}

void TCustomImageList::Loaded() {
  inherited::Loaded();
  if (FChanged) Change();
}

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0 && FChanged) Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* AValue) {
  if (!AValue) return;
  if (AValue->Sender() && AValue->Sender() != this) AValue->Sender()->UnRegisterChanges(AValue);
  AValue->SetSender(this);
  if (std::find(FClients.begin(), FClients.end(), AValue) == FClients.end()) FClients.push_back(AValue);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* AValue) {
  const auto it = std::find(FClients.begin(), FClients.end(), AValue);
  if (it == FClients.end()) return;
  FClients.erase(it);
  AValue->SetSender(nullptr);
}

// ---------------------------------------------------------------------------
// Adding, deleting, moving

void TCustomImageList::CheckIndex(int AIndex, int ACount) const {
  if (AIndex < 0 || AIndex >= ACount) throw EInvalidOperation(L"Ungültiger Bildindex %d", {AIndex});
}

int TCustomImageList::AddCells(TBitmap* AImage, TBitmap* AMask, TColor AMaskColor) {
  if (!AImage || AImage->Empty()) return -1;
  HandleNeeded();
  int index;
  if (AMaskColor != clNone) {
    // The native call blackens the masked colour in the bitmap it gets:
    // give it a copy.
    const TOwned<TBitmap> copy(New<TBitmap>());
    copy->Assign(AImage);
    const TColor key = AMaskColor == clDefault ? AImage->TransparentColor() : AMaskColor;
    index = ImageList_AddMasked(FHandle, Unselected(copy.get()), ColorToColorRef(key));
  } else {
    index = ImageList_Add(FHandle, Unselected(AImage), Unselected(AMask));
  }
  if (index >= Count()) index = -1;
  Change();
  return index;
}

int TCustomImageList::Add(TBitmap* AImage, TBitmap* AMask) { return AddCells(AImage, AMask, clNone); }

int TCustomImageList::AddMasked(TBitmap* AImage, TColor AMaskColor) {
  // clNone would mean "no mask" here: take the bottom-left pixel as well.
  return AddCells(AImage, nullptr, AMaskColor == clNone ? clDefault : AMaskColor);
}

int TCustomImageList::AddIcon(TIcon* AImage) {
  if (!AImage || AImage->Empty()) return -1;
  HandleNeeded();
  const int index = ImageList_ReplaceIcon(FHandle, -1, AImage->Handle());
  Change();
  return index;
}

int TCustomImageList::AddImage(TCustomImageList* AValue, int AIndex) {
  if (!AValue || AIndex < 0 || AIndex >= AValue->Count()) return -1;
  const TOwned<TBitmap> image(New<TBitmap>());
  const TOwned<TBitmap> mask(New<TBitmap>());
  AValue->GetBitmap(AIndex, image.get());
  if (AValue->Masked()) AValue->GetMask(AIndex, mask.get());
  return TCustomImageList::Add(image.get(), AValue->Masked() ? mask.get() : nullptr);
}

void TCustomImageList::AddImages(TCustomImageList* AValue) {
  if (!AValue || AValue == this) return;
  WithUpdate(this, [&] {
    const int n = AValue->Count();
    for (int i = 0; i < n; ++i) AddImage(AValue, i);
  });
}

void TCustomImageList::MoveImage(int AFrom, int ATo) {
  if (AFrom == ATo) return;
  // The image waits in a spare slot at the end while its neighbours move
  // up or down one place each (swapping within one list is unreliable).
  const int count = ImageList_GetImageCount(FHandle);
  if (!ImageList_SetImageCount(FHandle, static_cast<UINT>(count + 1)))
    RaiseGraphicsApiError(L"ImageList_SetImageCount");
  ImageList_Copy(FHandle, count, FHandle, AFrom, ILCF_MOVE);
  for (; AFrom < ATo; ++AFrom) ImageList_Copy(FHandle, AFrom, FHandle, AFrom + 1, ILCF_MOVE);
  for (; AFrom > ATo; --AFrom) ImageList_Copy(FHandle, AFrom, FHandle, AFrom - 1, ILCF_MOVE);
  ImageList_Copy(FHandle, ATo, FHandle, count, ILCF_MOVE);
  ImageList_SetImageCount(FHandle, static_cast<UINT>(count));
}

void TCustomImageList::Move(int ACurIndex, int ANewIndex) {
  const int n = Count();
  CheckIndex(ACurIndex, n);
  CheckIndex(ANewIndex, n);
  if (ACurIndex == ANewIndex) return;
  MoveImage(ACurIndex, ANewIndex);
  Change();
}

void TCustomImageList::InsertAdded(int AIndex, const std::function<int()>& AAdd) {
  CheckIndex(AIndex, Count() + 1);
  WithUpdate(this, [&] {
    const int before = Count();
    const int first = AAdd();
    if (first >= 0)
      for (int k = 0; k < Count() - before; ++k) MoveImage(first + k, AIndex + k);
  });
}

void TCustomImageList::Insert(int AIndex, TBitmap* AImage, TBitmap* AMask) {
  InsertAdded(AIndex, [&] { return TCustomImageList::Add(AImage, AMask); });
}

void TCustomImageList::InsertMasked(int AIndex, TBitmap* AImage, TColor AMaskColor) {
  InsertAdded(AIndex, [&] { return TCustomImageList::AddMasked(AImage, AMaskColor); });
}

void TCustomImageList::InsertIcon(int AIndex, TIcon* AImage) {
  InsertAdded(AIndex, [&] { return TCustomImageList::AddIcon(AImage); });
}

void TCustomImageList::Replace(int AIndex, TBitmap* AImage, TBitmap* AMask) {
  CheckIndex(AIndex, Count());
  if (!AImage || AImage->Empty()) return;
  if (!ImageList_Replace(FHandle, AIndex, Unselected(AImage), Unselected(AMask)))
    throw EInvalidOperation(L"Das Bild %d kann nicht ersetzt werden", {AIndex});
  Change();
}

void TCustomImageList::ReplaceMasked(int AIndex, TBitmap* AImage, TColor AMaskColor) {
  CheckIndex(AIndex, Count());
  WithUpdate(this, [&] {
    const int before = Count();
    TCustomImageList::InsertMasked(AIndex, AImage, AMaskColor);
    if (Count() > before) TCustomImageList::Delete(AIndex + (Count() - before));
  });
}

void TCustomImageList::ReplaceIcon(int AIndex, TIcon* AImage) {
  CheckIndex(AIndex, Count());
  if (!AImage || AImage->Empty()) return;
  if (ImageList_ReplaceIcon(FHandle, AIndex, AImage->Handle()) < 0)
    throw EInvalidOperation(L"Das Bild %d kann nicht ersetzt werden", {AIndex});
  Change();
}

void TCustomImageList::Delete(int AIndex) {
  if (AIndex != -1) CheckIndex(AIndex, Count());
  if (FHandle) ImageList_Remove(FHandle, AIndex);
  Change();
}

// ---------------------------------------------------------------------------
// Drawing

void TCustomImageList::Draw(TCanvas* ACanvas, int X, int Y, int AIndex, bool AEnabled) {
  Draw(ACanvas, X, Y, AIndex, FDrawingStyle, FImageType, AEnabled);
}

void TCustomImageList::Draw(TCanvas* ACanvas, int X, int Y, int AIndex, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool AEnabled) {
  if (!ACanvas || !FHandle || AIndex < 0 || AIndex >= Count()) return;
  const UINT style = GStyleFlags[ADrawingStyle] | (AImageType == itMask ? ILD_MASK : 0);
  DoDraw(AIndex, ACanvas, X, Y, style, AEnabled);
}

void TCustomImageList::DrawOverlay(TCanvas* ACanvas, int X, int Y, int AImageIndex, int AOverlay, bool AEnabled) {
  if (!ACanvas || !FHandle || AImageIndex < 0 || AImageIndex >= Count() || AOverlay < 0 || AOverlay > 14) return;
  DoDraw(AImageIndex, ACanvas, X, Y, ILD_NORMAL | INDEXTOOVERLAYMASK(AOverlay + 1), AEnabled);
}

bool TCustomImageList::Overlay(int AImageIndex, int AOverlay) {
  if (!FHandle) return false;
  return ImageList_SetOverlayImage(FHandle, AImageIndex, AOverlay + 1) != FALSE;
}

void TCustomImageList::DoDraw(int AIndex, TCanvas* ACanvas, int X, int Y, UINT AStyle, bool AEnabled) {
  if (!AEnabled) {
    DrawDisabled(AIndex, ACanvas, X, Y);
    return;
  }
  ImageList_DrawEx(FHandle, AIndex, ACanvas->Handle(), X, Y, 0, 0, ListColor(FBkColor), ListColor(FBlendColor),
                   AStyle);
}

void TCustomImageList::DrawDisabled(int AIndex, TCanvas* ACanvas, int X, int Y) {
  // The embossed look: the image's shape in the highlight colour one pixel
  // down and right, then in the shadow colour on top.
  const int w = FWidth, h = FHeight;
  TScratch mask(w, h);
  mask.Fill(0x00FFFFFF);
  ImageList_DrawEx(FHandle, AIndex, mask.DC(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
  bool hasAlpha = false;
  TScratch image(w, h);
  if (FColorDepth == cd32Bit) {
    ImageList_DrawEx(FHandle, AIndex, image.DC(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_IMAGE | ILD_PRESERVEALPHA);
    for (int y = 0; y < h && !hasAlpha; ++y)
      for (int x = 0; x < w && !hasAlpha; ++x) hasAlpha = (image.At(x, y) >> 24) != 0;
  }
  const TOwnedBitmap mono(CreateBitmap(w, h, 1, 1, nullptr));
  if (!mono) RaiseGraphicsApiError(L"CreateBitmap");
  const TBitmapDC monoDC(mono.Get());
  if (!monoDC) RaiseGraphicsApiError(L"CreateCompatibleDC");
  PatBlt(monoDC.DC(), 0, 0, w, h, WHITENESS);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool shaped = (mask.At(x, y) & 0x00FFFFFF) == 0;
      const bool opaque = !hasAlpha || (image.At(x, y) >> 24) >= 0x80;
      if (shaped && opaque) SetPixelV(monoDC.DC(), x, y, RGB(0, 0, 0));
    }
  const TOwnedBrush highlight(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
  const TOwnedBrush shadow(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
  HDC dst = ACanvas->Handle();
  // Colours and brush go back before the brushes are deleted.
  const TSavedDC saved(dst);
  SetTextColor(dst, RGB(0, 0, 0));
  ::SetBkColor(dst, RGB(255, 255, 255));
  // Where the mask is black the brush paints; elsewhere the target stays.
  constexpr DWORD ropPaintWhereBlack = 0x00B8074A;
  SelectObject(dst, highlight.Get());
  BitBlt(dst, X + 1, Y + 1, w, h, monoDC.DC(), 0, 0, ropPaintWhereBlack);
  SelectObject(dst, shadow.Get());
  BitBlt(dst, X, Y, w, h, monoDC.DC(), 0, 0, ropPaintWhereBlack);
}

// ---------------------------------------------------------------------------
// Reading images back

bool TCustomImageList::GetBitmap(int AIndex, TBitmap* AImage) {
  if (!AImage || !FHandle || AIndex < 0 || AIndex >= Count()) return false;
  if (FColorDepth == cd32Bit) {
    // The exact pixels, alpha included, on zero.
    AImage->SetPixelFormat(pf32bit);
    AImage->SetSize(FWidth, FHeight);
    TScratch scratch(FWidth, FHeight);
    ImageList_DrawEx(FHandle, AIndex, scratch.DC(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_IMAGE | ILD_PRESERVEALPHA);
    for (int y = 0; y < FHeight; ++y) {
      auto* row = static_cast<std::uint32_t*>(AImage->ScanLine(y));
      for (int x = 0; x < FWidth; ++x) row[x] = scratch.At(x, y);
    }
    AImage->Changed(AImage);
    return true;
  }
  AImage->SetSize(FWidth, FHeight);
  TCanvas* canvas = AImage->Canvas();
  canvas->Brush()->SetColor(FBkColor == clNone ? clWhite : FBkColor);
  canvas->FillRect(TRect(0, 0, FWidth, FHeight));
  ImageList_DrawEx(FHandle, AIndex, canvas->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
  AImage->Changed(AImage);
  return true;
}

bool TCustomImageList::GetMask(int AIndex, TBitmap* AMask) {
  if (!AMask || !FHandle || AIndex < 0 || AIndex >= Count()) return false;
  AMask->SetMonochrome(true);
  AMask->SetSize(FWidth, FHeight);
  TScratch scratch(FWidth, FHeight);
  scratch.Fill(0x00FFFFFF);
  ImageList_DrawEx(FHandle, AIndex, scratch.DC(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
  BitBlt(AMask->Canvas()->Handle(), 0, 0, FWidth, FHeight, scratch.DC(), 0, 0, SRCCOPY);
  AMask->Changed(AMask);
  return true;
}

void TCustomImageList::GetIcon(int AIndex, TIcon* AImage) {
  if (!AImage || !FHandle || AIndex < 0 || AIndex >= Count()) return;
  HICON icon = ImageList_GetIcon(FHandle, AIndex, ILD_NORMAL);
  if (!icon) RaiseGraphicsApiError(L"ImageList_GetIcon");
  AImage->SetHandle(icon);
}

HBITMAP TCustomImageList::GetImageBitmap() {
  IMAGEINFO info{};
  if (Count() == 0 || !ImageList_GetImageInfo(FHandle, 0, &info)) return nullptr;
  return info.hbmImage;
}

HBITMAP TCustomImageList::GetMaskBitmap() {
  IMAGEINFO info{};
  if (Count() == 0 || !ImageList_GetImageInfo(FHandle, 0, &info)) return nullptr;
  return info.hbmMask;
}

// ---------------------------------------------------------------------------
// Resources and files

bool TCustomImageList::LoadNative(HINSTANCE AInstance, TResType AResType, const String& AName, int AWidth,
                                  UINT AFlags, TColor AMaskColor) {
  static constexpr UINT types[] = {IMAGE_BITMAP, IMAGE_CURSOR, IMAGE_ICON};
  HIMAGELIST list = ImageList_LoadImageW(AInstance, AName.c_str(), AWidth, FAllocBy, ListColor(AMaskColor),
                                         types[AResType], AFlags | LR_CREATEDIBSECTION);
  if (!list) return false;
  SetHandle(list);
  return true;
}

bool TCustomImageList::GetInstRes(HINSTANCE AInstance, TResType AResType, const String& AName, int AWidth,
                                  TLoadResources ALoadFlags, TColor AMaskColor) {
  static constexpr UINT flags[] = {LR_DEFAULTCOLOR, LR_DEFAULTSIZE, LR_LOADFROMFILE,
                                   LR_LOADMAP3DCOLORS, LR_LOADTRANSPARENT, LR_MONOCHROME};
  UINT f = 0;
  for (int i = 0; i <= lrMonoChrome; ++i)
    if (ALoadFlags.Contains(static_cast<TLoadResource>(i))) f |= flags[i];
  return LoadNative(AInstance, AResType, AName, AWidth, f, AMaskColor);
}

bool TCustomImageList::GetResource(TResType AResType, const String& AName, int AWidth, TLoadResources ALoadFlags,
                                   TColor AMaskColor) {
  return TCustomImageList::GetInstRes(GetModuleHandleW(nullptr), AResType, AName, AWidth, ALoadFlags,
                                      AMaskColor);
}

bool TCustomImageList::FileLoad(TResType AResType, const String& AName, TColor AMaskColor) {
  return TCustomImageList::GetInstRes(nullptr, AResType, AName, FWidth, {lrFromFile}, AMaskColor);
}

bool TCustomImageList::ResourceLoad(TResType AResType, const String& AName, TColor AMaskColor) {
  return TCustomImageList::GetResource(AResType, AName, FWidth, {}, AMaskColor);
}

bool TCustomImageList::ResInstLoad(HINSTANCE AInstance, TResType AResType, const String& AName, TColor AMaskColor) {
  return TCustomImageList::GetInstRes(AInstance, AResType, AName, FWidth, {}, AMaskColor);
}

// ---------------------------------------------------------------------------
// Form data

void TCustomImageList::ReadData(TStream* AStream) {
  const TComRef<IStream> adapter(New<TStreamAdapter>(AStream));
  HIMAGELIST list = ImageList_Read(adapter.Get());
  if (!list) throw EReadError(L"Die Bildliste kann nicht gelesen werden");
  SetHandle(list);
}

void TCustomImageList::WriteData(TStream* AStream) {
  const TComRef<IStream> adapter(New<TStreamAdapter>(AStream));
  if (!ImageList_Write(Handle(), adapter.Get())) throw EWriteError(L"Die Bildliste kann nicht geschrieben werden");
}

void TCustomImageList::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineBinaryProperty(
      L"Bitmap", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, Count() > 0);
}

// ---------------------------------------------------------------------------
// TDragImageList

bool TDragImageList::SetDragImage(int AIndex, int AHotSpotX, int AHotSpotY) {
  FDragIndex = AIndex;
  FDragHotspot = TPoint(AHotSpotX, AHotSpotY);
  if (FDragging) return ImageList_SetDragCursorImage(Handle(), AIndex, AHotSpotX, AHotSpotY) != FALSE;
  return true;
}

bool TDragImageList::BeginDrag(HWND AWindow, int X, int Y) {
  if (FDragging || FDragIndex < 0 || FDragIndex >= Count()) return false;
  if (!ImageList_BeginDrag(Handle(), FDragIndex, FDragHotspot.X, FDragHotspot.Y)) return false;
  FDragWindow = AWindow;
  FDragging = true;
  ImageList_DragEnter(AWindow, X, Y);
  return true;
}

bool TDragImageList::DragMove(int X, int Y) { return FDragging && ImageList_DragMove(X, Y); }

bool TDragImageList::EndDrag() {
  if (!FDragging) return false;
  ImageList_DragLeave(FDragWindow);
  ImageList_EndDrag();
  FDragging = false;
  FDragWindow = nullptr;
  return true;
}

bool TDragImageList::DragLock(HWND AWindow, int X, int Y) {
  if (!FDragging) return false;
  FDragWindow = AWindow;
  return ImageList_DragEnter(AWindow, X, Y) != FALSE;
}

void TDragImageList::DragUnlock() {
  if (FDragging) ImageList_DragLeave(FDragWindow);
}

void TDragImageList::ShowDragImage() {
  if (FDragging) ImageList_DragShowNolock(TRUE);
}

void TDragImageList::HideDragImage() {
  if (FDragging) ImageList_DragShowNolock(FALSE);
}

// ---------------------------------------------------------------------------
// TImageList

void TImageList::Publish(TPublisher<TImageList>& P) {
  P.Property(L"AllocBy", &TImageList::AllocBy, &TImageList::SetAllocBy).Default(4);
  P.Property(L"BlendColor", &TImageList::BlendColor, &TImageList::SetBlendColor).Default(clNone);
  P.Property(L"BkColor", &TImageList::BkColor, &TImageList::SetBkColor).Default(clNone);
  P.Property(L"ColorDepth", &TImageList::ColorDepth, &TImageList::SetColorDepth).Default(cdDeviceDependent);
  P.Property(L"DrawingStyle", &TImageList::DrawingStyle, &TImageList::SetDrawingStyle).Default(dsNormal);
  P.Property(L"Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
  P.Property(L"ImageType", &TImageList::ImageType, &TImageList::SetImageType).Default(itImage);
  P.Property(L"Masked", &TImageList::Masked, &TImageList::SetMasked).Default(true);
  P.Property(L"OnChange", &TImageList::OnChange, &TImageList::SetOnChange);
  P.Property(L"ShareImages", &TImageList::ShareImages, &TImageList::SetShareImages).Default(false);
  P.Property(L"Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
}

void ImgListInitialization() {
  RegisterClasses({TCustomImageList::ClassInfo(), TDragImageList::ClassInfo(), TImageList::ClassInfo()});
}
