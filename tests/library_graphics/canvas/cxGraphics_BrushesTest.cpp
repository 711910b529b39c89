#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/system/cxSystemPaletteChangedNotifier.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"
#include "tests/support/SystemColors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

COLORREF BrushColor(HBRUSH ABrush) {
  LOGBRUSH info{};
  GetObjectW(ABrush, sizeof(info), &info);
  EXPECT_EQ(info.lbStyle, static_cast<UINT>(BS_SOLID));
  return info.lbColor;
}

TEST(SolidBrushCache, OneBrushPerColorThatPaintsTheColor) {
  TdxSolidBrushCache::Clear();
  const HBRUSH red = TdxSolidBrushCache::Get(clRed);
  ASSERT_NE(red, nullptr);
  EXPECT_EQ(TdxSolidBrushCache::Get(clRed), red);
  EXPECT_EQ(BrushColor(red), RGB(255, 0, 0));
  TPixelSurface surface(4, 4);
  const RECT r{0, 0, 4, 4};
  FillRect(surface.DC(), &r, red);
  EXPECT_EQ(surface.Count(RGB(255, 0, 0)), 16);

  // A system colour and its present RGB are two keys.
  const HBRUSH face = TdxSolidBrushCache::Get(clBtnFace);
  EXPECT_EQ(BrushColor(face), GetSysColor(COLOR_BTNFACE));
  EXPECT_NE(TdxSolidBrushCache::Get(TColor(GetSysColor(COLOR_BTNFACE))), face);
}

TEST(SolidBrushCache, TheOldestBrushGoesWhenTheCacheIsFull) {
  TdxSolidBrushCache::Clear();
  const HBRUSH first = TdxSolidBrushCache::Get(clRed);
  std::vector<HBRUSH> others;
  for (int i = 1; i < TdxSolidBrushCache::Capacity; ++i) others.push_back(TdxSolidBrushCache::Get(TColor(i)));
  EXPECT_EQ(TdxSolidBrushCache::Get(clRed), first) << "127 others fit beside it";
  others.push_back(TdxSolidBrushCache::Get(TColor(TdxSolidBrushCache::Capacity)));
  EXPECT_FALSE(GdiObjectAlive(first)) << "the 129th colour deleted the oldest brush";
  const HBRUSH again = TdxSolidBrushCache::Get(clRed);
  EXPECT_TRUE(GdiObjectAlive(again));
  EXPECT_EQ(BrushColor(again), RGB(255, 0, 0));
  EXPECT_FALSE(GdiObjectAlive(others.front())) << "and made room by deleting the next oldest";
  EXPECT_TRUE(GdiObjectAlive(others.back()));
}

TEST(SolidBrushCache, ClearingAndShutDownDeleteEveryBrush) {
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 10; ++i) brushes.push_back(TdxSolidBrushCache::Get(TColor(0x10000 + i)));
  TdxSolidBrushCache::Clear();
  for (HBRUSH b : brushes) EXPECT_FALSE(GdiObjectAlive(b));

  const HBRUSH kept = TdxSolidBrushCache::Get(clLime);
  cxGraphicsFinalization();
  EXPECT_FALSE(GdiObjectAlive(kept));
  EXPECT_EQ(TdxSolidBrushCache::Get(clLime), nullptr) << "no cache after shut-down";
  cxGraphicsInitialization();
  EXPECT_NE(TdxSolidBrushCache::Get(clLime), nullptr);
}

TEST(PaletteNotifier, TheSharedWindowLivesWithTheNotifiers) {
  // The graphics unit's own notifier keeps the window; one more adds none.
  const int windows = ThreadWindowCount();
  TOwned<TcxSystemPaletteChangedNotifier> extra(New<TcxSystemPaletteChangedNotifier>(false));
  EXPECT_EQ(ThreadWindowCount(), windows);
  extra.reset();
  cxGraphicsFinalization();
  EXPECT_EQ(ThreadWindowCount(), windows - 1) << "the last notifier takes the window along";
  cxGraphicsInitialization();
  EXPECT_EQ(ThreadWindowCount(), windows);
}

// ---------------------------------------------------------------------------
// Changes of the system colours (a suite that ctest runs apart)

TEST(SystemColorChange, BrushesOfSystemColorsAreMadeAgain) {
  const HBRUSH before = TdxSolidBrushCache::Get(clInfoBk);
  const HBRUSH plain = TdxSolidBrushCache::Get(clOlive);
  TSystemColorsChange change({{COLOR_INFOBK, RGB(0x12, 0x34, 0x56)}});
  EXPECT_FALSE(GdiObjectAlive(before));
  EXPECT_FALSE(GdiObjectAlive(plain)) << "the whole cache goes";
  EXPECT_EQ(BrushColor(TdxSolidBrushCache::Get(clInfoBk)), RGB(0x12, 0x34, 0x56));
}

class TNotifierLog : public TObject {
  SK_CLASS(TNotifierLog, TObject)
 public:
  std::vector<std::string> Calls;
  std::vector<TcxSystemPaletteChangedNotifier*> Names;
  TcxSystemPaletteChangedNotifier* FreeOnCall = nullptr;

  void Changed(TObject* Sender) {
    for (std::size_t i = 0; i < Names.size(); ++i)
      if (Names[i] == Sender) Calls.push_back(std::to_string(i));
    if (FreeOnCall) FreeAndNil(FreeOnCall);
  }
};

TEST(SystemColorChange, PrimaryNotifiersFirstThenTheOthersEachLastFirst) {
  TOwned<TNotifierLog> log(New<TNotifierLog>());
  std::vector<TOwned<TcxSystemPaletteChangedNotifier>> notifiers;
  for (bool primary : {false, true, false, true}) {
    notifiers.emplace_back(New<TcxSystemPaletteChangedNotifier>(primary));
    notifiers.back()->SetOnSystemPaletteChanged(BindEvent<&TNotifierLog::Changed>(log.get()));
    log->Names.push_back(notifiers.back().get());
  }
  {
    TSystemColorsChange change({{COLOR_INFOBK, RGB(1, 2, 3)}});
    EXPECT_EQ(log->Calls, (std::vector<std::string>{"3", "1", "2", "0"}));
  }
  // A handler may free a notifier that is still to be told.
  // The first one told (3) frees the next primary one (1), which is skipped.
  log->Calls.clear();
  log->FreeOnCall = notifiers[1].release();
  TSystemColorsChange change({{COLOR_INFOBK, RGB(3, 2, 1)}});
  EXPECT_EQ(log->Calls, (std::vector<std::string>{"3", "2", "0"}));
}

TEST(SystemColorChange, TheLastNotifierMayFreeItself) {
  cxGraphicsFinalization();  // the brush cache's notifier goes
  const int windows = ThreadWindowCount();
  TOwned<TNotifierLog> log(New<TNotifierLog>());
  TcxSystemPaletteChangedNotifier* only = New<TcxSystemPaletteChangedNotifier>(true);
  only->SetOnSystemPaletteChanged(BindEvent<&TNotifierLog::Changed>(log.get()));
  log->Names.push_back(only);
  log->FreeOnCall = only;
  EXPECT_EQ(ThreadWindowCount(), windows + 1);
  {
    TSystemColorsChange change({{COLOR_INFOBK, RGB(7, 8, 9)}});
    EXPECT_EQ(log->Calls, std::vector<std::string>{"0"});
    EXPECT_EQ(log->FreeOnCall, nullptr);
    EXPECT_EQ(ThreadWindowCount(), windows) << "the window went with its last notifier";
  }
  cxGraphicsInitialization();
}

}  // namespace
