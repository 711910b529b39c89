#include "platform/classes/Streams.h"
#include "platform/ui/Graphics.h"

#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// A metafile of 40 x 20 pixels with a red left half.
TMetafile* RecordHalfRed() {
  TMetafile* m = New<TMetafile>();
  m->SetWidth(40);
  m->SetHeight(20);
  TMetafileCanvas* c = New<TMetafileCanvas>(m, nullptr);
  c->Brush()->SetColor(clRed);
  c->FillRect(TRect(0, 0, 20, 20));
  c->Free();
  return m;
}

// The drawing of a metafile stretched to a rectangle, on white.
struct TPlayed {
  TPixelSurface Surface{60, 40, White};
  explicit TPlayed(TGraphic* G, const TRect& R) {
    TCanvas* c = New<TCanvas>();
    c->SetHandle(Surface.DC());
    c->StretchDraw(R, G);
    c->Free();
  }
};

TEST(GraphicsMetafile, RecordingAndPlaying) {
  TMetafile* m = RecordHalfRed();
  ASSERT_FALSE(m->Empty());
  EXPECT_NEAR(m->Width(), 40, 1);
  EXPECT_NEAR(m->Height(), 20, 1);
  TPlayed played(m, TRect(0, 0, 40, 20));
  const TRect red = played.Surface.BoundsOf(RGB(255, 0, 0));
  EXPECT_NEAR(red.Left, 0, 1);
  EXPECT_NEAR(red.Right, 20, 1);
  EXPECT_EQ(played.Surface.Pixel(30, 10), White);
  m->Free();
}

TEST(GraphicsMetafile, EnhancedAndWindowsFilesRoundTrip) {
  for (bool enhanced : {true, false}) {
    SCOPED_TRACE(enhanced ? "EMF" : "WMF");
    TMetafile* m = RecordHalfRed();
    m->SetEnhanced(enhanced);
    TOwned<TBytesStream> sOwner(New<TBytesStream>());
    TBytesStream* s = sOwner.get();
    m->SaveToStream(s);
    const std::int64_t size = s->Size();
    ASSERT_GT(size, 0);
    const std::uint8_t tail = 0x77;
    s->WriteBuffer(&tail, 1);
    s->SetPosition(0);
    EXPECT_TRUE(ClassMeta<TGraphic>(TMetafile::ClassInfo())->CanLoadFromStream(s));
    EXPECT_FALSE(ClassMeta<TGraphic>(TBitmap::ClassInfo())->CanLoadFromStream(s));
    TMetafile* back = New<TMetafile>();
    back->LoadFromStream(s);
    EXPECT_EQ(s->Position(), size) << "reads only the metafile";
    EXPECT_EQ(back->Enhanced(), enhanced);
    EXPECT_NEAR(back->Width(), 40, 2);
    EXPECT_NEAR(back->Height(), 20, 2);
    TPlayed played(back, TRect(0, 0, 40, 20));
    EXPECT_GT(played.Surface.Count(TRect(2, 2, 18, 18), RGB(255, 0, 0)), 200);
    EXPECT_EQ(played.Surface.Pixel(32, 10), White);
    back->Free();
    sOwner.reset();
    m->Free();
  }
}

TEST(GraphicsMetafile, DamagedFilesRaise) {
  TMetafile* good = RecordHalfRed();
  TBytesStream* s = New<TBytesStream>();
  good->SaveToStream(s);
  TBytes bytes(s->Bytes().begin(), s->Bytes().begin() + s->Size());
  s->Free();
  good->Free();
  const std::vector<std::pair<const char*, TBytes>> cases = {
      {"empty", {}},
      {"junk", {1, 2, 3, 4, 5, 6, 7, 8}},
      {"truncated", TBytes(bytes.begin(), bytes.begin() + 60)},
      {"size beyond the end", [&] { TBytes b = bytes; b[48] = 0xFF; b[49] = 0xFF; b[50] = 0xFF; return b; }()},
      {"placeable without a body", {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 10, 0, 10, 0, 96, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& [name, data] : cases) {
    SCOPED_TRACE(name);
    TMetafile* m = New<TMetafile>();
    TBytesStream* in = New<TBytesStream>(data);
    EXPECT_THROW(m->LoadFromStream(in), EInvalidGraphic);
    EXPECT_TRUE(m->Empty());
    in->Free();
    m->Free();
  }
}

TEST(GraphicsMetafile, PictureFilesAndAssign) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  TMetafile* m = RecordHalfRed();
  for (const wchar_t* name : {L"sk_graphics_test.emf", L"sk_graphics_test.wmf"}) {
    SCOPED_TRACE(testing::Message() << name);
    const String file = String(dir) + name;
    m->SaveToFile(file);
    TOwned<TPicture> pictureOwner(New<TPicture>());
    TPicture* picture = pictureOwner.get();
    picture->LoadFromFile(file);
    ASSERT_TRUE(Is<TMetafile>(picture->Graphic()));
    EXPECT_EQ(static_cast<TMetafile*>(picture->Graphic())->Enhanced(), String(name).ends_with(L".emf"));
    TPlayed played(picture->Graphic(), TRect(0, 0, 40, 20));
    EXPECT_GT(played.Surface.Count(RGB(255, 0, 0)), 200);
    pictureOwner.reset();
    DeleteFileW(file.c_str());
  }
  TMetafile* copy = New<TMetafile>();
  copy->Assign(m);
  EXPECT_NE(copy->Handle(), m->Handle());
  EXPECT_EQ(copy->MMWidth(), m->MMWidth());
  copy->Free();
  m->Free();
}

// A listener whose change handler raises, as a user's OnChange may.
class TRaisingListener : public TObject {
  SK_CLASS(TRaisingListener, TObject)
 public:
  void Changed(TObject*) { throw EInvalidGraphic(L"listener failed"); }
};

TEST(GraphicsMetafile, ARecordingStaysTheMetafilesWhenItsChangeEventRaises) {
  const TOwned<TMetafile> m(New<TMetafile>());
  const TOwned<TRaisingListener> listener(New<TRaisingListener>());
  m->SetOnChange(BindEvent<&TRaisingListener::Changed>(listener.get()));
  TOwned<TMetafileCanvas> canvas(New<TMetafileCanvas>(m.get(), nullptr));
  canvas->Brush()->SetColor(clRed);
  canvas->FillRect(TRect(0, 0, 20, 20));
  canvas.reset();  // hands the recording over; the event's error goes nowhere
  ASSERT_FALSE(m->Empty());
  EXPECT_EQ(GetObjectType(m->Handle()), static_cast<DWORD>(OBJ_ENHMETAFILE));
  m->SetOnChange(TNotifyEvent());
  TPlayed played(m.get(), TRect(0, 0, 40, 20));
  EXPECT_GT(played.Surface.Count(RGB(255, 0, 0)), 0);
}

TEST(GraphicsMetafile, CreateAndFreeLeaksNoGdiObjects) {
  auto cycle = [] {
    TMetafile* m = RecordHalfRed();
    TMetafile* c = New<TMetafile>();
    c->Assign(m);
    TPlayed played(c, TRect(0, 0, 10, 10));
    c->Free();
    m->Free();
  };
  cycle();
  const int before = GdiObjectCount();
  for (int i = 0; i < 3; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
