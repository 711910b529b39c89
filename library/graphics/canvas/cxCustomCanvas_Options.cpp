// Fill, stroke and font options: a fill, a stroke and a font described
// apart from any back end, each keeping the resource it last made.
#include "library/graphics/canvas/cxCustomCanvas.h"

#include <cmath>

namespace {

TdxAlphaColor ResolveDefaultColor(TdxAlphaColor AColor, const TdxAlphaColorFunc& AGetDefault) {
  return AColor == TdxAlphaColors::Default && AGetDefault ? AGetDefault() : AColor;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxFillOptions

void TdxFillOptions::Publish(TPublisher<TdxFillOptions>& P) {
  using T = TdxFillOptions;
  P.Property(L"Color", &T::Color, &T::SetColor).Default(TdxAlphaColors::Default);
  P.Property(L"Color2", &T::Color2, &T::SetColor2).Default(TdxAlphaColors::Default);
  P.Property(L"GradientMode", &T::GradientMode, &T::SetGradientMode).Default(TdxFillOptionsGradientMode::Horizontal);
  P.Property(L"HatchStyle", &T::HatchStyle, &T::SetHatchStyle).Default(TdxFillOptionsHatchStyle::Horizontal);
  P.Property(L"Mode", &T::Mode, &T::SetMode).Default(TdxFillOptionsMode::Solid);
  P.Property(L"Texture", &T::Texture, &T::SetTexture).Stored(&T::IsTextureStored);
  P.Property(L"OnChange", &T::OnChange, &T::SetOnChange);
}

void TdxFillOptions::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FColor = TdxAlphaColors::Default;
  FColor2 = TdxAlphaColors::Default;
  FGradientMode = TdxFillOptionsGradientMode::Horizontal;
  FHatchStyle = TdxFillOptionsHatchStyle::Horizontal;
  FMode = TdxFillOptionsMode::Solid;
  FTexture.reset(New<TdxSmartImage>());
  FTexture->SetOnChange(BindEvent<&TdxFillOptions::TextureChanged>(this));
}

void TdxFillOptions::Create(TPersistent* AOwner, TdxAlphaColorFunc AGetDefaultColorFunc,
                            TdxAlphaColorFunc AGetDefaultColor2Func) {
  Create(AOwner);
  FOnGetDefaultColor = std::move(AGetDefaultColorFunc);
  FOnGetDefaultColor2 = std::move(AGetDefaultColor2Func);
}

void TdxFillOptions::Destroy() {
  FCachedBrush.reset();
  FTexture.reset();
  inherited::Destroy();
}

bool TdxFillOptions::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxCanvasCacheControl>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

TcxCanvasBasedBrush* TdxFillOptions::GetHandle(TcxCustomCanvas* ACanvas) {
  if (!ACanvas->CheckIsValid(FCachedBrush)) FCachedBrush = ACanvas->CreateBrush(this);
  return FCachedBrush.get();
}

void TdxFillOptions::FlushCache() { FCachedBrush.reset(); }

TdxAlphaColor TdxFillOptions::ActualColor() const { return ResolveDefaultColor(FColor, FOnGetDefaultColor); }

TdxAlphaColor TdxFillOptions::ActualColor2() const { return ResolveDefaultColor(FColor2, FOnGetDefaultColor2); }

void TdxFillOptions::SetColor(TdxAlphaColor AValue) {
  if (FColor == AValue) return;
  FColor = AValue;
  Changed();
}

void TdxFillOptions::SetColor2(TdxAlphaColor AValue) {
  if (FColor2 == AValue) return;
  FColor2 = AValue;
  if (FMode == TdxFillOptionsMode::Gradient || FMode == TdxFillOptionsMode::Hatch) Changed();
}

void TdxFillOptions::SetGradientMode(TdxFillOptionsGradientMode AValue) {
  if (FGradientMode == AValue) return;
  FGradientMode = AValue;
  if (FMode == TdxFillOptionsMode::Gradient) Changed();
}

void TdxFillOptions::SetHatchStyle(TdxFillOptionsHatchStyle AValue) {
  if (FHatchStyle == AValue) return;
  FHatchStyle = AValue;
  if (FMode == TdxFillOptionsMode::Hatch) Changed();
}

void TdxFillOptions::SetMode(TdxFillOptionsMode AValue) {
  if (FMode == AValue) return;
  FMode = AValue;
  Changed();
}

void TdxFillOptions::SetTexture(TdxSmartImage* AValue) { FTexture->Assign(AValue); }

void TdxFillOptions::TextureChanged(TObject*) {
  // The mode follows the image directly: its setter would not report a
  // texture changed within the same mode.
  FMode = FTexture->Empty() ? TdxFillOptionsMode::Clear : TdxFillOptionsMode::Texture;
  Changed();
}

void TdxFillOptions::DoAssign(TPersistent* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxFillOptions*>(ASource)) {
    SetColor(source->Color());
    SetColor2(source->Color2());
    SetTexture(source->Texture());
    SetGradientMode(source->GradientMode());
    SetHatchStyle(source->HatchStyle());
    SetMode(source->Mode());
  }
}

void TdxFillOptions::DoChanged() {
  FCachedBrush.reset();
  CallEvent(FOnChange, this);
}

// ---------------------------------------------------------------------------
// TdxStrokeOptions

void TdxStrokeOptions::Publish(TPublisher<TdxStrokeOptions>& P) {
  using T = TdxStrokeOptions;
  P.Property(L"Color", &T::Color, &T::SetColor).Default(TdxAlphaColors::Default);
  P.Property(L"Style", &T::Style, &T::SetStyle).Default(TdxStrokeStyle::Solid);
  P.Property(L"Width", &T::Width, &T::SetWidth).Stored(&T::IsWidthStored);
  P.Property(L"OnChange", &T::OnChange, &T::SetOnChange);
}

void TdxStrokeOptions::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FColor = TdxAlphaColors::Default;
  FStyle = TdxStrokeStyle::Solid;
  FWidth = 1;
}

void TdxStrokeOptions::Create(TPersistent* AOwner, TdxAlphaColorFunc AGetDefaultColorFunc) {
  Create(AOwner);
  FOnGetDefaultColor = std::move(AGetDefaultColorFunc);
}

void TdxStrokeOptions::Destroy() {
  FCachedPen.reset();
  inherited::Destroy();
}

bool TdxStrokeOptions::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxCanvasCacheControl>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

TcxCanvasBasedPen* TdxStrokeOptions::GetHandle(TcxCustomCanvas* ACanvas) {
  if (!ACanvas->CheckIsValid(FCachedPen)) FCachedPen = ACanvas->CreatePeN(this);
  return FCachedPen.get();
}

void TdxStrokeOptions::FlushCache() { FCachedPen.reset(); }

void TdxStrokeOptions::ChangeScale(int M, int D) {
  WithUpdate(this, [&] { SetWidth(static_cast<float>(static_cast<double>(FWidth) * M / D)); });
}

TdxAlphaColor TdxStrokeOptions::ActualColor() const { return ResolveDefaultColor(FColor, FOnGetDefaultColor); }

void TdxStrokeOptions::SetColor(TdxAlphaColor AValue) {
  if (FColor == AValue) return;
  FColor = AValue;
  Changed();
}

void TdxStrokeOptions::SetStyle(TdxStrokeStyle AValue) {
  if (FStyle == AValue) return;
  FStyle = AValue;
  Changed();
}

void TdxStrokeOptions::SetWidth(float AValue) {
  AValue = std::max(AValue, 0.0f);
  if (dxSameValue(FWidth, AValue)) return;
  FWidth = AValue;
  Changed();
}

void TdxStrokeOptions::DoAssign(TPersistent* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxStrokeOptions*>(ASource)) {
    SetColor(source->Color());
    SetStyle(source->Style());
    SetWidth(source->Width());
  }
}

void TdxStrokeOptions::DoChanged() {
  FCachedPen.reset();
  CallEvent(FOnChange, this);
}

// ---------------------------------------------------------------------------
// TdxFontOptions

void TdxFontOptions::Publish(TPublisher<TdxFontOptions>& P) {
  using T = TdxFontOptions;
  P.Property(L"Charset", &T::Charset, &T::SetCharset);
  P.Property(L"Height", &T::Height, &T::SetHeight).NoDefault();
  P.Property(L"Name", &T::Name, &T::SetName).Stored(&T::IsNameStored);
  P.Property(L"Pitch", &T::Pitch, &T::SetPitch).Default(TdxFontPitch::Default);
  P.Property(L"Quality", &T::Quality, &T::SetQuality).Default(TdxFontQuality::Default);
  P.Property(L"Size", &T::Size, &T::SetSize).Stored(&T::IsSizeStored);
  P.Property(L"Style", &T::Style, &T::SetStyle);
  // Members of Style: stored there.
  P.Property(L"Bold", &T::Bold, &T::SetBold).Stored(false);
  P.Property(L"Italic", &T::Italic, &T::SetItalic).Stored(false);
  P.Property(L"Underline", &T::Underline, &T::SetUnderline).Stored(false);
  P.Property(L"StrikeOut", &T::StrikeOut, &T::SetStrikeOut).Stored(false);
  P.Property(L"OnChange", &T::OnChange, &T::SetOnChange);
}

void TdxFontOptions::Create(TPersistent* AOwner) {
  const TFontData& data = DefFontData();
  Create(AOwner, data.Name, -MulDiv(data.Height, 72, 96));
}

void TdxFontOptions::Create(TPersistent* AOwner, const String& ADefaultName, int ADefaultSize) {
  inherited::Create(AOwner);
  FDefaultName = ADefaultName;
  FDefaultSize = ADefaultSize;
  FCharset = TFontCharset(DEFAULT_CHARSET);
  FName = ADefaultName;
  FHeight = -MulDiv(ADefaultSize, 96, 72);
}

void TdxFontOptions::Destroy() {
  FCachedFont.reset();
  inherited::Destroy();
}

bool TdxFontOptions::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxCanvasCacheControl>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TdxFontOptions::Assign(TPersistent* ASource) {
  auto* font = dynamic_cast<TFont*>(ASource);
  if (!font) {
    inherited::Assign(ASource);
    return;
  }
  WithUpdate(this, [&] {
    SetName(font->Name());
    SetHeight(font->Height());
    SetPitch(FontPitchToDxFontPitch(font->Pitch()));
    SetStyle(font->Style());
    SetQuality(FontQualityToDxFontQuality(font->Quality()));
  });
}

void TdxFontOptions::AssignTo(TPersistent* ADest) {
  auto* font = dynamic_cast<TFont*>(ADest);
  if (!font) {
    inherited::AssignTo(ADest);
    return;
  }
  font->SetName(FName);
  font->SetCharset(FCharset);
  font->SetHeight(FHeight);
  font->SetStyle(FStyle);
  font->SetPitch(dxFontPitchToFontPitch(FPitch));
  font->SetQuality(dxFontQualityToFontQuality(FQuality));
}

TcxCanvasBasedFont* TdxFontOptions::GetHandle(TcxCustomCanvas* ACanvas) {
  if (!ACanvas->CheckIsValid(FCachedFont)) FCachedFont = ACanvas->CreateFonT(this);
  return FCachedFont.get();
}

void TdxFontOptions::FlushCache() { FCachedFont.reset(); }

void TdxFontOptions::ChangeScale(int M, int D) { SetHeight(MulDiv(FHeight, M, D)); }

void TdxFontOptions::SetCharset(TFontCharset AValue) {
  if (FCharset == AValue) return;
  FCharset = AValue;
  Changed();
}

void TdxFontOptions::SetHeight(int AValue) {
  if (FHeight == AValue) return;
  FHeight = AValue;
  Changed();
}

void TdxFontOptions::SetName(const String& AValue) {
  if (FName == AValue) return;
  FName = AValue;
  Changed();
}

void TdxFontOptions::SetPitch(TdxFontPitch AValue) {
  if (FPitch == AValue) return;
  FPitch = AValue;
  Changed();
}

void TdxFontOptions::SetQuality(TdxFontQuality AValue) {
  if (FQuality == AValue) return;
  FQuality = AValue;
  Changed();
}

int TdxFontOptions::Size() const { return -MulDiv(FHeight, 72, 96); }

void TdxFontOptions::SetSize(int AValue) {
  if (Size() != AValue) SetHeight(-MulDiv(AValue, 96, 72));
}

void TdxFontOptions::SetStyle(TFontStyles AValue) {
  if (FStyle == AValue) return;
  FStyle = AValue;
  Changed();
}

void TdxFontOptions::SetStyleMember(TFontStyle AMember, bool AValue) {
  TFontStyles style = FStyle;
  if (AValue)
    style.Include(AMember);
  else
    style.Exclude(AMember);
  SetStyle(style);
}

void TdxFontOptions::DoAssign(TPersistent* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxFontOptions*>(ASource)) {
    SetCharset(source->Charset());
    SetHeight(source->Height());
    SetName(source->Name());
    SetPitch(source->Pitch());
    SetQuality(source->Quality());
    SetStyle(source->Style());
  }
}

void TdxFontOptions::DoChanged() {
  FCachedFont.reset();
  CallEvent(FOnChange, this);
}
