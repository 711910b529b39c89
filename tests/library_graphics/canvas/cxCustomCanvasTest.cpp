// The abstract canvas's resources, their shared handles and pools, and the
// fill, stroke and font options: who shares what, who frees what, and what
// a resource is once its canvas is gone.
#include "tests/library_graphics/CanvasTesting.h"

#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------------------
// Pools

class CanvasResources : public CanvasTest {};

TEST_F(CanvasResources, EqualPensShareOneHandleUntilTheLastIsFreed) {
  TSurfaceCanvas* canvas = Canvas();
  TcxGdiCanvasBasedSharedPens* pool = TcxGdiCanvasBasedSharedPens::Instance();
  TOwned<TcxCanvasBasedPen> first = canvas->CreatePeN(0xFF000000, 1, TdxStrokeStyle::Solid);
  TOwned<TcxCanvasBasedPen> second = canvas->CreatePeN(0xFF000000, 1, TdxStrokeStyle::Solid);
  ASSERT_NE(first->Handle(), nullptr);
  EXPECT_EQ(first->Handle(), second->Handle());
  EXPECT_EQ(pool->Count(), 2) << "two references on one handle";
  TOwned<TcxCanvasBasedPen> other = canvas->CreatePeN(0xFF000000, 2, TdxStrokeStyle::Solid);
  EXPECT_NE(other->Handle(), first->Handle());

  // GDI+ makes the pen on first use.
  ASSERT_NE(As<TcxGdiCanvasBasedPenHandle>(first->Handle())->Pen()->GpHandle(), nullptr);
  const int penObjects = TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Pen);
  first.reset();
  EXPECT_FALSE(second->IsEmpty()) << "the other keeps the handle";
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Pen), penObjects);
  second.reset();
  other.reset();
  EXPECT_EQ(pool->Count(), 0);
  EXPECT_LT(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::Pen), penObjects) << "the last one freed the GDI+ pen";
}

TEST_F(CanvasResources, BrushesShareByTheirMode) {
  TSurfaceCanvas* canvas = Canvas();
  TOwned<TdxFillOptions> clearA(New<TdxFillOptions>(nullptr));
  TOwned<TdxFillOptions> clearB(New<TdxFillOptions>(nullptr));
  clearA->SetMode(TdxFillOptionsMode::Clear);
  clearB->SetMode(TdxFillOptionsMode::Clear);
  clearA->SetColor(0xFFFF0000);
  clearB->SetColor(0xFF00FF00);
  EXPECT_EQ(clearA->GetHandle(canvas)->Handle(), clearB->GetHandle(canvas)->Handle()) << "clear ignores colours";

  const TOwned<TcxCanvasBasedBrush> red = canvas->CreateBrush(0xFFFF0000);
  const TOwned<TcxCanvasBasedBrush> green = canvas->CreateBrush(0xFF00FF00);
  const TOwned<TcxCanvasBasedBrush> red2 = canvas->CreateBrush(0xFFFF0000);
  EXPECT_NE(red->Handle(), green->Handle());
  EXPECT_EQ(red->Handle(), red2->Handle());

  // Gradients share by both colours and the mode; hatches by both colours and the style.
  TOwned<TdxFillOptions> gradient(New<TdxFillOptions>(nullptr));
  gradient->SetMode(TdxFillOptionsMode::Gradient);
  gradient->SetColor(0xFFFF0000);
  gradient->SetColor2(0xFF0000FF);
  TOwned<TdxFillOptions> gradient2(New<TdxFillOptions>(nullptr));
  gradient2->Assign(gradient.get());
  EXPECT_EQ(gradient->GetHandle(canvas)->Handle(), gradient2->GetHandle(canvas)->Handle());
  gradient2->SetGradientMode(TdxFillOptionsGradientMode::Vertical);
  EXPECT_NE(gradient->GetHandle(canvas)->Handle(), gradient2->GetHandle(canvas)->Handle());
  TOwned<TdxFillOptions> hatch(New<TdxFillOptions>(nullptr));
  hatch->Assign(gradient.get());
  hatch->SetMode(TdxFillOptionsMode::Hatch);
  EXPECT_NE(hatch->GetHandle(canvas)->Handle(), gradient->GetHandle(canvas)->Handle());
}

TEST_F(CanvasResources, FontsShareByValueWithNamesCaseSensitive) {
  TSurfaceCanvas* canvas = Canvas();
  TOwned<TdxFontOptions> upper(New<TdxFontOptions>(nullptr, String(L"Segoe UI"), 9));
  TOwned<TdxFontOptions> same(New<TdxFontOptions>(nullptr, String(L"Segoe UI"), 9));
  TOwned<TdxFontOptions> lower(New<TdxFontOptions>(nullptr, String(L"segoe ui"), 9));
  EXPECT_EQ(upper->GetHandle(canvas)->Handle(), same->GetHandle(canvas)->Handle());
  EXPECT_NE(upper->GetHandle(canvas)->Handle(), lower->GetHandle(canvas)->Handle());

  // A TFont of the same values shares the handle of the options.
  TOwned<TFont> font(New<TFont>());
  font->Assign(upper.get());
  const TOwned<TcxCanvasBasedFont> fromFont = canvas->CreateFonT(font.get(), ooReferenced);
  EXPECT_EQ(fromFont->Handle(), upper->GetHandle(canvas)->Handle());
  same->SetBold(true);
  EXPECT_NE(same->GetHandle(canvas)->Handle(), upper->GetHandle(canvas)->Handle());
}

TEST_F(CanvasResources, EmptyColoursAndNilArguments) {
  TSurfaceCanvas* canvas = Canvas();
  EXPECT_EQ(canvas->CreateBrush(TdxAlphaColors::Empty), nullptr);
  EXPECT_EQ(canvas->CreateBrush(static_cast<TdxFillOptions*>(nullptr)), nullptr);
  EXPECT_EQ(canvas->CreateFonT(static_cast<TFont*>(nullptr), ooReferenced), nullptr);
  EXPECT_EQ(canvas->CreateImageList(nullptr), nullptr);
  const TOwned<TcxCanvasBasedPen> pen = canvas->CreatePeN(TdxAlphaColors::Empty);
  ASSERT_NE(pen, nullptr) << "a pen even of no colour";
  EXPECT_NE(pen->Handle(), nullptr);
}

TEST_F(CanvasResources, ResourcesOutliveTheirCanvasEmpty) {
  TSurfaceCanvas* canvas = Canvas();
  TOwned<TcxCanvasBasedBrush> brush = canvas->CreateBrush(0xFF112233);
  const TOwned<TdxFontOptions> fontOptions(New<TdxFontOptions>(nullptr));
  TOwned<TcxCanvasBasedFont> font = canvas->CreateFonT(fontOptions.get());
  TOwned<TcxCanvasBasedTextLayout> layout = canvas->CreateTextLayout();
  layout->SetFont(font.get(), ooReferenced);
  TOwned<TCustomImageList> list(New<TCustomImageList>(nullptr));
  TOwned<TcxCanvasBasedImageList> images = canvas->CreateImageList(list.get());
  EXPECT_FALSE(brush->IsEmpty());
  EXPECT_GT(font->LineHeight(), 0);

  FCanvas.reset();
  for (TcxCanvasBasedResource* resource : {static_cast<TcxCanvasBasedResource*>(brush.get()),
                                           static_cast<TcxCanvasBasedResource*>(font.get()),
                                           static_cast<TcxCanvasBasedResource*>(layout.get()),
                                           static_cast<TcxCanvasBasedResource*>(images.get())}) {
    EXPECT_EQ(resource->Canvas(), nullptr);
    EXPECT_TRUE(resource->IsEmpty());
  }
  EXPECT_EQ(font->LineHeight(), 0);
  const auto abandoned = [](const auto& ACall) {
    try {
      ACall();
    } catch (const EInvalidOperation& E) {
      return E.Message() == L"Resource is in abandoned state";
    }
    return false;
  };
  EXPECT_TRUE(abandoned([&] { layout->Draw(TRect(0, 0, 10, 10)); }));
  EXPECT_TRUE(abandoned([&] { images->Draw(TRect(0, 0, 10, 10), 0); }));
  EXPECT_TRUE(abandoned([&] { layout->SetFont(static_cast<TFont*>(nullptr), ooReferenced); }));
  EXPECT_EQ(TcxGdiCanvasBasedSharedBrushes::Instance()->Count(), 0) << "released handles are let go";
  EXPECT_EQ(TcxGdiCanvasBasedSharedFonts::Instance()->Count(), 0);
}

TEST_F(CanvasResources, APoolReleasedBeforeItsHandlesLeavesThemEmpty) {
  TSurfaceCanvas* canvas = Canvas();
  const TOwned<TcxCanvasBasedPen> pen = canvas->CreatePeN(0xFF000000);
  EXPECT_FALSE(pen->IsEmpty());
  cxCustomCanvasFinalization();
  EXPECT_TRUE(pen->IsEmpty()) << "the native pen went with the pool";
  cxCustomCanvasInitialization();
}

TEST_F(CanvasResources, ACachedImageStaysWithItsCanvas) {
  TSurfaceCanvas* canvas = Canvas();
  // Only high-quality stretching draws through a canvas image.
  canvas->SetImageStretchQuality(isqHigh);
  const TOwned<TdxFastDIB> dib(New<TdxFastDIB>(4, 4, true));
  TOwned<TcxCanvasBasedImage> cache;
  canvas->DrawBitmap(dib.get(), TRect(0, 0, 4, 4), afIgnored, &cache);
  ASSERT_NE(cache, nullptr);
  TcxCanvasBasedImage* first = cache.get();
  canvas->DrawBitmap(dib.get(), TRect(0, 0, 4, 4), afIgnored, &cache);
  EXPECT_EQ(cache.get(), first) << "reused";
  TPixelSurface otherSurface(4, 4);
  const TOwned<TSurfaceCanvas> other(New<TSurfaceCanvas>(&otherSurface));
  other->SetImageStretchQuality(isqHigh);
  other->DrawBitmap(dib.get(), TRect(0, 0, 4, 4), afIgnored, &cache);
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(cache->Canvas(), other.get()) << "replaced by one of the other canvas";
  cache.reset();
}

TEST_F(CanvasResources, RightToLeftAlignment) {
  TSurfaceCanvas* canvas = Canvas();
  canvas->ControlRightToLeft = true;
  EXPECT_TRUE(canvas->UseRightToLeftAlignment()) << "follows the control by default";
  canvas->SetUseRightToLeftAlignment(false);
  EXPECT_FALSE(canvas->UseRightToLeftAlignment());
  canvas->ControlRightToLeft = false;
  canvas->SetUseRightToLeftAlignment(true);
  EXPECT_TRUE(canvas->UseRightToLeftAlignment());
}

// ---------------------------------------------------------------------------
// Options

// Counts the OnChange calls it receives.
class TOptionsChangeCounter : public TObject {
  SK_CLASS(TOptionsChangeCounter, TObject)
 public:
  void Changed(TObject*) { ++Count; }
  int Count = 0;
};

class CanvasOptions : public CanvasTest {
 protected:
  TNotifyEvent CountChanges() { return BindEvent<&TOptionsChangeCounter::Changed>(FCounter.get()); }
  int Changes() const { return FCounter->Count; }

 private:
  TOwned<TOptionsChangeCounter> FCounter{New<TOptionsChangeCounter>()};
};

TEST_F(CanvasOptions, StrokeWidth) {
  TOwned<TdxStrokeOptions> stroke(New<TdxStrokeOptions>(nullptr));
  stroke->SetOnChange(CountChanges());
  stroke->SetWidth(-2);
  EXPECT_EQ(stroke->Width(), 0);
  EXPECT_EQ(Changes(), 1);
  stroke->SetWidth(1);
  stroke->SetWidth(1.0000001f);
  EXPECT_EQ(Changes(), 2) << "within the tolerance: no change";
  stroke->ChangeScale(3, 2);
  EXPECT_FLOAT_EQ(stroke->Width(), 1.5f);
  EXPECT_EQ(Changes(), 3);
}

TEST_F(CanvasOptions, FillColourTwoCountsOnlyWhereTheModeUsesIt) {
  TOwned<TdxFillOptions> fill(New<TdxFillOptions>(nullptr));
  fill->SetOnChange(CountChanges());
  fill->SetColor2(0xFF00FF00);
  fill->SetGradientMode(TdxFillOptionsGradientMode::Vertical);
  fill->SetHatchStyle(TdxFillOptionsHatchStyle::Cross);
  EXPECT_EQ(Changes(), 0);
  EXPECT_EQ(fill->Color2(), 0xFF00FF00u) << "stored all the same";
  fill->SetMode(TdxFillOptionsMode::Gradient);
  EXPECT_EQ(Changes(), 1);
  fill->SetGradientMode(TdxFillOptionsGradientMode::Horizontal);
  fill->SetHatchStyle(TdxFillOptionsHatchStyle::Wave);
  EXPECT_EQ(Changes(), 2);
  fill->BeginUpdate();
  fill->SetColor(1);
  fill->SetColor(2);
  fill->EndUpdate();
  EXPECT_EQ(Changes(), 3) << "one report for an update";
}

TEST_F(CanvasOptions, ActualColours) {
  TOwned<TdxFillOptions> plain(New<TdxFillOptions>(nullptr));
  EXPECT_EQ(plain->ActualColor(), TdxAlphaColors::Default);
  TOwned<TdxFillOptions> withDefaults(
      New<TdxFillOptions>(nullptr, TdxAlphaColorFunc([] { return 0xFF102030u; }), TdxAlphaColorFunc()));
  EXPECT_EQ(withDefaults->ActualColor(), 0xFF102030u);
  EXPECT_EQ(withDefaults->ActualColor2(), TdxAlphaColors::Default);
  withDefaults->SetColor(0xFF000001);
  EXPECT_EQ(withDefaults->ActualColor(), 0xFF000001u);
  TOwned<TdxStrokeOptions> stroke(New<TdxStrokeOptions>(nullptr, TdxAlphaColorFunc([] { return 0xFFABCDEFu; })));
  EXPECT_EQ(stroke->ActualColor(), 0xFFABCDEFu);
}

TEST_F(CanvasOptions, FontSizeAndHeight) {
  TOwned<TdxFontOptions> font(New<TdxFontOptions>(nullptr, String(L"Tahoma"), 8));
  EXPECT_EQ(font->Charset(), TFontCharset(DEFAULT_CHARSET));
  font->SetSize(9);
  EXPECT_EQ(font->Height(), -12);
  font->SetHeight(-13);
  EXPECT_EQ(font->Size(), 10);
  font->ChangeScale(2, 1);
  EXPECT_EQ(font->Height(), -26);
  TOwned<TdxFontOptions> standard(New<TdxFontOptions>(nullptr));
  EXPECT_EQ(standard->Name(), DefFontData().Name);
  EXPECT_EQ(standard->Size(), -MulDiv(DefFontData().Height, 72, 96));
}

// Fixed and variable pitches keep their meaning both ways: the two
// enumerations list them in opposite orders.
TEST_F(CanvasOptions, PitchTravelsByMeaning) {
  struct TCase {
    TdxFontPitch Options;
    TFontPitch Font;
  };
  const TCase cases[] = {{TdxFontPitch::Default, fpDefault}, {TdxFontPitch::Fixed, fpFixed},
                         {TdxFontPitch::Variable, fpVariable}};
  TSurfaceCanvas* canvas = Canvas();
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Options));
    TOwned<TdxFontOptions> options(New<TdxFontOptions>(nullptr));
    options->SetPitch(c.Options);
    TOwned<TFont> font(New<TFont>());
    font->Assign(options.get());
    EXPECT_EQ(font->Pitch(), c.Font);
    TOwned<TdxFontOptions> back(New<TdxFontOptions>(nullptr));
    back->Assign(font.get());
    EXPECT_EQ(back->Pitch(), c.Options);

    // The GDI font handle's own font, made from the options' values.
    TcxCanvasBasedFont* resource = options->GetHandle(canvas);
    TFont* native = As<TcxGdiCanvasBasedFontHandle>(resource->Handle())->Font();
    EXPECT_EQ(native->Pitch(), c.Font);
    EXPECT_EQ(As<TcxCanvasBasedFontHandle>(canvas->CreateFonT(font.get(), ooReferenced)->Handle())->Pitch(), c.Options);
  }
}

TEST_F(CanvasOptions, QualityTravelsByPositionClearTypeIncluded) {
  TOwned<TFont> font(New<TFont>());
  font->SetQuality(fqClearTypeNatural);
  TOwned<TdxFontOptions> options(New<TdxFontOptions>(nullptr));
  options->Assign(font.get());
  EXPECT_EQ(static_cast<int>(options->Quality()), 6);
  TOwned<TFont> back(New<TFont>());
  back->Assign(options.get());
  EXPECT_EQ(back->Quality(), fqClearTypeNatural);
  options->SetQuality(TdxFontQuality::NonAntialiased);
  back->Assign(options.get());
  EXPECT_EQ(back->Quality(), fqNonAntialiased);
}

TEST_F(CanvasOptions, FontOptionsFromAndToAFont) {
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Courier New");
  font->SetHeight(-20);
  font->SetStyle({fsItalic, fsUnderline});
  font->SetCharset(TFontCharset(RUSSIAN_CHARSET));
  TOwned<TdxFontOptions> options(New<TdxFontOptions>(nullptr));
  options->SetOnChange(CountChanges());
  options->Assign(font.get());
  EXPECT_EQ(Changes(), 1) << "one update";
  EXPECT_EQ(options->Name(), L"Courier New");
  EXPECT_EQ(options->Height(), -20);
  EXPECT_TRUE(options->Italic());
  EXPECT_TRUE(options->Underline());
  EXPECT_FALSE(options->Bold());
  EXPECT_EQ(options->Charset(), TFontCharset(DEFAULT_CHARSET)) << "the charset is not taken";
  TOwned<TdxFontOptions> copy(New<TdxFontOptions>(nullptr));
  copy->Assign(options.get());
  EXPECT_EQ(copy->Name(), options->Name());
  EXPECT_EQ(copy->Style(), options->Style());
}

TEST_F(CanvasOptions, TexturesSetTheModeAndShareByTheirPixels) {
  TSurfaceCanvas* canvas = Canvas(8, 8);
  const auto image = [](TdxAlphaColor AColor) {
    return TOwned<TdxSmartImage>(NewWith<TdxSmartImage>([&](TdxSmartImage* AImage) { AImage->CreateSize(2, 2, AColor); }));
  };
  TOwned<TdxFillOptions> fill(New<TdxFillOptions>(nullptr));
  fill->SetOnChange(CountChanges());
  const TOwned<TdxSmartImage> red = image(0xFFFF0000);
  fill->SetTexture(red.get());
  EXPECT_EQ(fill->Mode(), TdxFillOptionsMode::Texture);
  EXPECT_EQ(Changes(), 1);
  EXPECT_NE(fill->Texture(), red.get()) << "a copy";

  TOwned<TdxFillOptions> same(New<TdxFillOptions>(nullptr));
  same->Assign(fill.get());
  EXPECT_EQ(same->Mode(), TdxFillOptionsMode::Texture);
  EXPECT_EQ(same->GetHandle(canvas)->Handle(), fill->GetHandle(canvas)->Handle()) << "equal pixels share";
  TOwned<TdxFillOptions> other(New<TdxFillOptions>(nullptr));
  const TOwned<TdxSmartImage> blue = image(0xFF0000FF);
  other->SetTexture(blue.get());
  EXPECT_NE(other->GetHandle(canvas)->Handle(), fill->GetHandle(canvas)->Handle());

  // The texture brush paints the image's pixels.
  canvas->FillRect(TdxRectF(0, 0, 8, 8), fill->GetHandle(canvas));
  EXPECT_EQ(Surface().Count(RGB(255, 0, 0)), 64);

  const TOwned<TdxSmartImage> empty(New<TdxSmartImage>());
  fill->SetTexture(empty.get());
  EXPECT_EQ(fill->Mode(), TdxFillOptionsMode::Clear);
  EXPECT_FALSE(IsStoredProp(fill.get(), FindPropInfo(fill.get(), L"Texture")));
  EXPECT_TRUE(IsStoredProp(other.get(), FindPropInfo(other.get(), L"Texture")));
}

TEST_F(CanvasOptions, HandlesStayWithOneCanvas) {
  TSurfaceCanvas* canvas = Canvas();
  TOwned<TdxStrokeOptions> stroke(New<TdxStrokeOptions>(nullptr));
  stroke->SetColor(0xFF000000);
  TcxCanvasBasedPen* first = stroke->GetHandle(canvas);
  EXPECT_EQ(stroke->GetHandle(canvas), first);
  TPixelSurface otherSurface(4, 4);
  const TOwned<TSurfaceCanvas> other(New<TSurfaceCanvas>(&otherSurface));
  TcxCanvasBasedPen* second = stroke->GetHandle(other.get());
  EXPECT_EQ(second->Canvas(), other.get());
  EXPECT_EQ(TcxGdiCanvasBasedSharedPens::Instance()->Count(), 1) << "the first resource was freed";
  stroke->SetWidth(3);
  EXPECT_EQ(TcxGdiCanvasBasedSharedPens::Instance()->Count(), 0) << "a change frees the cached resource";
  IPtr<IcxCanvasCacheControl> control = Supports<IcxCanvasCacheControl>(stroke.get());
  ASSERT_TRUE(control);
  stroke->GetHandle(canvas);
  control->FlushCache();
  EXPECT_EQ(TcxGdiCanvasBasedSharedPens::Instance()->Count(), 0);
}

TEST_F(CanvasOptions, PublishedProperties) {
  TOwned<TdxFontOptions> font(New<TdxFontOptions>(nullptr, String(L"Tahoma"), 8));
  for (const wchar_t* name : {L"Charset", L"Height", L"Name", L"Pitch", L"Quality", L"Size", L"Style", L"Bold",
                              L"Italic", L"Underline", L"StrikeOut", L"OnChange"})
    EXPECT_NE(FindPropInfo(font.get(), name), nullptr) << name;
  EXPECT_FALSE(IsStoredProp(font.get(), FindPropInfo(font.get(), L"Name"))) << "the default name";
  EXPECT_FALSE(IsStoredProp(font.get(), FindPropInfo(font.get(), L"Size"))) << "the default size";
  font->SetName(L"Arial");
  EXPECT_TRUE(IsStoredProp(font.get(), FindPropInfo(font.get(), L"Name")));
  TOwned<TdxStrokeOptions> stroke(New<TdxStrokeOptions>(nullptr));
  EXPECT_FALSE(IsStoredProp(stroke.get(), FindPropInfo(stroke.get(), L"Width")));
  stroke->SetWidth(2);
  EXPECT_TRUE(IsStoredProp(stroke.get(), FindPropInfo(stroke.get(), L"Width")));
  TOwned<TdxFillOptions> fill(New<TdxFillOptions>(nullptr));
  SetEnumProp(fill.get(), FindPropInfo(fill.get(), L"HatchStyle"), L"SolidDiamond");
  EXPECT_EQ(fill->HatchStyle(), TdxFillOptionsHatchStyle::SolidDiamond);
}

}  // namespace
