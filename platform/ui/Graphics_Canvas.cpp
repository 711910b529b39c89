// TCanvas: drawing on a device context.
//
// The canvas selects its font, pen and brush into the device context only
// when an operation needs them (RequiredState), remembers what it replaced,
// and puts that back when it lets go of the context (DeselectHandles), so a
// borrowed context (a paint DC, a memory DC of a bitmap) is left as found.
// When a drawing object changes, the canvas takes it out of the context
// before the object deletes its old handle.
#include "platform/classes/ClassErrors.h"
#include "platform/ui/Graphics.h"

#include <algorithm>

void TCanvas::Create() {
  inherited::Create();
  FFont.reset(New<TFont>());
  FFont->SetOnChange(BindEvent<&TCanvas::FontChanged>(this));
  FPen.reset(New<TPen>());
  FPen->SetOnChange(BindEvent<&TCanvas::PenChanged>(this));
  FBrush.reset(New<TBrush>());
  FBrush->SetOnChange(BindEvent<&TCanvas::BrushChanged>(this));
  FCopyMode = cmSrcCopy;
}

void TCanvas::Destroy() {
  // A descendant that owns its context frees it in its own Destroy first.
  if (FHandle) SetHandle(nullptr);
  FFont.reset();
  FPen.reset();
  FBrush.reset();
  inherited::Destroy();
}

HDC TCanvas::Handle() {
  // Whoever takes the handle draws on it directly (DrawTextW, themes), so the
  // canvas's font, pen and brush must be in it.
  RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC AValue) {
  if (FHandle == AValue) return;
  if (FHandle) {
    DeselectHandles();
    FPenPos = PenPos();
    FHandle = nullptr;
    FState.Exclude(csHandleValid);
  }
  if (AValue) {
    FState.Include(csHandleValid);
    FHandle = AValue;
    MoveToEx(FHandle, FPenPos.X, FPenPos.Y, nullptr);
  }
}

void TCanvas::RequiredState(const TCanvasState& AState) {
  const TCanvasState needed = AState - FState;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation(L"Die Zeichenfläche erlaubt kein Zeichnen");
  }
  if (needed.Contains(csFontValid)) CreateFont();
  if (needed.Contains(csPenValid)) CreatePen();
  if (needed.Contains(csBrushValid)) CreateBrush();
}

void TCanvas::CreateFont() {
  HGDIOBJ old = SelectObject(FHandle, FFont->Handle());
  if (!FOldFont) FOldFont = old;
  SetTextColor(FHandle, ColorToColorRef(FFont->Color()));
  FState.Include(csFontValid);
}

void TCanvas::CreatePen() {
  HGDIOBJ old = SelectObject(FHandle, FPen->Handle());
  if (!FOldPen) FOldPen = old;
  SetROP2(FHandle, PenModeToROP2(FPen->Mode()));
  FState.Include(csPenValid);
}

void TCanvas::CreateBrush() {
  UnrealizeObject(FBrush->Handle());
  HGDIOBJ old = SelectObject(FHandle, FBrush->Handle());
  if (!FOldBrush) FOldBrush = old;
  // Text and hatch backgrounds follow the brush.
  SetBkColor(FHandle, ColorToColorRef(FBrush->Color()));
  SetBkMode(FHandle, FBrush->Style() == bsSolid ? OPAQUE : TRANSPARENT);
  FState.Include(csBrushValid);
}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FOldFont) SelectObject(FHandle, std::exchange(FOldFont, nullptr));
  if (FOldPen) SelectObject(FHandle, std::exchange(FOldPen, nullptr));
  if (FOldBrush) SelectObject(FHandle, std::exchange(FOldBrush, nullptr));
  FState -= TCanvasState{csFontValid, csPenValid, csBrushValid};
}

void TCanvas::FontChanged(TObject*) {
  if (FState.Contains(csFontValid)) {
    FState.Exclude(csFontValid);
    // The old font is about to be deleted: take it out of the context.
    if (FOldFont) SelectObject(FHandle, std::exchange(FOldFont, nullptr));
  }
}

void TCanvas::PenChanged(TObject*) {
  if (FState.Contains(csPenValid)) {
    FState.Exclude(csPenValid);
    if (FOldPen) SelectObject(FHandle, std::exchange(FOldPen, nullptr));
  }
}

void TCanvas::BrushChanged(TObject*) {
  if (FState.Contains(csBrushValid)) {
    FState.Exclude(csBrushValid);
    if (FOldBrush) SelectObject(FHandle, std::exchange(FOldBrush, nullptr));
  }
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::Changing() { CallEvent(FOnChanging, this); }

void TCanvas::Changed() { CallEvent(FOnChange, this); }

// ---------------------------------------------------------------------------
// Properties

TPoint TCanvas::PenPos() {
  if (!FHandle) return FPenPos;
  POINT p{};
  GetCurrentPositionEx(FHandle, &p);
  return TPoint(p);
}

TCanvasOrientation TCanvas::CanvasOrientation() {
  RequiredState({csHandleValid});
  return (GetLayout(FHandle) & LAYOUT_RTL) ? coRightToLeft : coLeftToRight;
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  TRect r;
  GetClipBox(FHandle, r.WinRect());
  return r;
}

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState({csHandleValid});
  const COLORREF c = GetPixel(FHandle, X, Y);
  // Outside the clip region there is no pixel: answer clNone.
  if (c == CLR_INVALID) return clNone;
  return TColor(static_cast<std::int32_t>(c));
}

void TCanvas::SetPixels(int X, int Y, TColor AValue) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  SetPixel(FHandle, X, Y, ColorToColorRef(AValue));
  Changed();
}

// ---------------------------------------------------------------------------
// Locking

void TCanvas::Lock() {
  FLock.lock();
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  FLock.unlock();
}

bool TCanvas::TryLock() {
  if (!FLock.try_lock()) return false;
  ++FLockCount;
  return true;
}

// ---------------------------------------------------------------------------
// Lines and shapes

void TCanvas::MoveTo(int X, int Y) {
  RequiredState({csHandleValid});
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> APoints) {
  if (APoints.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polygon(FHandle, APoints.data()->WinPoint(), static_cast<int>(APoints.size()));
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> APoints) {
  if (APoints.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polyline(FHandle, APoints.data()->WinPoint(), static_cast<int>(APoints.size()));
  Changed();
}

void TCanvas::PolyBezier(std::span<const TPoint> APoints) {
  // A Bezier needs 1 + 3n points; anything else draws nothing.
  if (APoints.size() < 4 || (APoints.size() - 1) % 3 != 0) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::PolyBezier(FHandle, APoints.data()->WinPoint(), static_cast<DWORD>(APoints.size()));
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, R.WinRect(), FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(FHandle, R.WinRect(), FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::DrawFocusRect(FHandle, R.WinRect());
  Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor AColor, TFillStyle AFillStyle) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ExtFloodFill(FHandle, X, Y, ColorToColorRef(AColor), AFillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

// ---------------------------------------------------------------------------
// Text

void TCanvas::TextOut(int X, int Y, const String& AText) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOutW(FHandle, X, Y, static_cast<UINT>(FTextFlags), nullptr, AText.c_str(), static_cast<UINT>(AText.size()),
              nullptr);
  // The pen moves on to the end of the text.
  MoveToEx(FHandle, X + TextWidth(AText), Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& AText) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED | static_cast<UINT>(FTextFlags);
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutW(FHandle, X, Y, options, R.WinRect(), AText.c_str(), static_cast<UINT>(AText.size()), nullptr);
  Changed();
}

void TCanvas::TextRect(TRect& R, String& AText, const TTextFormat& AFormat) {
  const UINT flags = TextFormatToDrawTextFlags(AFormat);
  const bool measure = AFormat.Contains(tfCalcRect);
  if (!measure) Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  if (AFormat.Contains(tfModifyString)) {
    // DrawText may write up to four characters beyond the text.
    std::vector<wchar_t> buffer(AText.begin(), AText.end());
    buffer.resize(AText.size() + 5, L'\0');
    DrawTextW(FHandle, buffer.data(), static_cast<int>(AText.size()), R.WinRect(), flags);
    AText.assign(buffer.data());
  } else {
    DrawTextW(FHandle, AText.c_str(), static_cast<int>(AText.size()), R.WinRect(), flags);
  }
  if (!measure) Changed();
}

TSize TCanvas::TextExtent(const String& AText) {
  RequiredState({csHandleValid, csFontValid});
  TSize s;
  GetTextExtentPoint32W(FHandle, AText.c_str(), static_cast<int>(AText.size()), s.WinSize());
  return s;
}

// ---------------------------------------------------------------------------
// Graphics and blocks

void TCanvas::Draw(int X, int Y, TGraphic* AGraphic) {
  if (!AGraphic || AGraphic->Empty()) return;
  StretchDraw(Bounds(X, Y, AGraphic->Width(), AGraphic->Height()), AGraphic);
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* AGraphic) {
  if (!AGraphic || AGraphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  AGraphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& ADest, TCanvas* ASource, const TRect& ASourceRect) {
  if (!ASource) return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC source = ASource->Handle();
  StretchBlt(FHandle, ADest.Left, ADest.Top, ADest.Width(), ADest.Height(), source, ASourceRect.Left,
             ASourceRect.Top, ASourceRect.Width(), ASourceRect.Height(), FCopyMode);
  Changed();
}
