#include "library/controls/scrollbars/dxScrollbarAnnotations.h"

#include "library/controls/control/cxControls.h"
#include "library/controls/scrollbars/cxScrollBar.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/library_controls/ScrollbarAnnotationsTesting.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

namespace {

TdxScrollbarAnnotationKinds Kinds(std::initializer_list<int> AKinds) {
  TdxScrollbarAnnotationKinds k;
  for (int kind : AKinds) k.set(static_cast<std::size_t>(kind));
  return k;
}

// A renderer that writes down what it was told.
class TRecordingRenderer : public TcxIUnknownObject, public IdxScrollbarAnnotationRenderer {
  SK_CLASS(TRecordingRenderer, TcxIUnknownObject)
 public:
  TdxScrollbarAnnotations* Source = nullptr;
  int Updates = 0;
  std::vector<TdxScrollbarAnnotationKinds> UpdatedKinds;
  std::vector<TdxScrollbarAnnotationRowIndexLists> ListsSeen;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxScrollbarAnnotationRenderer>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void SetAnnotations(TdxScrollbarAnnotations* AAnnotations) override {
    if (Source) Source->RemoveRenderer(this);
    Source = AAnnotations;
    if (Source) Source->AddRenderer(this);
  }
  void ScrollbarAnnotationsInvalidate(const TdxScrollbarAnnotationKinds&) override {}
  void ScrollbarAnnotationsUpdate() override {
    ++Updates;
    UpdatedKinds.push_back(Source->ChangedKinds());
    ListsSeen.push_back(Source->ItemLists());
  }
};

// ---------------------------------------------------------------------------
// The source

TEST(ScrollbarAnnotationSource, RowsArriveSortedOnceAndOutOfRangeRowsStayOut) {
  TOwned<TTestAnnotations> source(New<TTestAnnotations>());
  TOwned<TRecordingRenderer> renderer(New<TRecordingRenderer>());
  renderer->SetAnnotations(source.get());
  source->Rows[1] = {10, 3, 25, -1, 7};
  source->Rows[200] = {19, 0};
  source->Update();
  ASSERT_EQ(renderer->Updates, 1);
  EXPECT_EQ(renderer->UpdatedKinds[0], Kinds({1, 200}));
  EXPECT_EQ(renderer->ListsSeen[0].at(1), (std::vector<int>{3, 7, 10}));
  EXPECT_EQ(renderer->ListsSeen[0].at(200), (std::vector<int>{0, 19}));
  EXPECT_TRUE(source->ChangedKinds().none());

  // A kind that is no longer shown loses its rows; the renderers hear of it.
  source->Rows.erase(200);
  source->Update();
  ASSERT_EQ(renderer->Updates, 2);
  EXPECT_TRUE(source->ItemLists().at(200).empty());
  EXPECT_EQ(source->ItemLists().at(1), (std::vector<int>{3, 7, 10}));

  // Destroying the source detaches its renderers.
  source.reset();
  EXPECT_EQ(renderer->Source, nullptr);
}

TEST(ScrollbarAnnotationSource, GoToNextOnTheWorkedExample) {
  TOwned<TTestAnnotations> source(New<TTestAnnotations>());
  source->Rows[1] = {3, 10};
  source->Rows[2] = {7};
  source->Update();
  const auto both = Kinds({1, 2});
  struct TRow {
    const char* Name;
    int Current;
    bool Forward;
    bool Cycle;
    bool Found;
    int Result;
  };
  const TRow rows[] = {
      {"forward from 4", 4, true, false, true, 7},
      {"backward from 4", 4, false, false, true, 3},
      {"forward from 10, cycling", 10, true, true, true, 3},
      {"forward from 10", 10, true, false, false, 10},
      {"forward from the last row", 19, true, false, false, 19},
      {"forward from the last row, cycling", 19, true, true, true, 3},
      {"backward from 3, cycling", 3, false, true, true, 10},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    source->Current = row.Current;
    EXPECT_EQ(source->GoToNext(both, row.Forward, row.Cycle), row.Found);
    EXPECT_EQ(source->Current, row.Result);
  }
  source->Current = 4;
  EXPECT_FALSE(source->GoToNext(TdxScrollbarAnnotationKinds(), true, true));
  EXPECT_EQ(source->Current, 4);
}

// The next annotated row by a plain scan over every row of the kinds.
int ScanNext(const std::set<int>& ARows, int ACurrent, int AFirst, int ALast, bool AForward, bool ACycle) {
  if (ARows.empty()) return -1;
  if (AForward) {
    if (ACurrent >= ALast && !ACycle) return -1;
    const int start = ACurrent < ALast ? ACurrent + 1 : AFirst;
    for (int r = start; r <= ALast; ++r)
      if (ARows.count(r)) return r;
    return ACycle ? *ARows.begin() : -1;
  }
  if (AFirst >= ACurrent && !ACycle) return -1;
  const int start = AFirst < ACurrent ? ACurrent - 1 : ALast;
  for (int r = start; r >= AFirst; --r)
    if (ARows.count(r)) return r;
  return ACycle ? *ARows.rbegin() : -1;
}

TEST(ScrollbarAnnotationSource, GoToNextMatchesAPlainScanOnRandomRows) {
  std::mt19937 random(36);
  TOwned<TTestAnnotations> source(New<TTestAnnotations>());
  for (int round = 0; round < 10000; ++round) {
    source->Count = 1 + static_cast<int>(random() % 60);
    source->Rows.clear();
    const int kindCount = static_cast<int>(random() % 4);
    for (int k = 0; k < kindCount; ++k) {
      std::vector<int>& rows = source->Rows[static_cast<int>(random() % 6)];
      const int n = static_cast<int>(random() % 6);
      for (int i = 0; i < n; ++i) rows.push_back(static_cast<int>(random() % source->Count));
    }
    source->Update();
    TdxScrollbarAnnotationKinds asked;
    for (int k = 0; k < 6; ++k)
      if (random() % 2) asked.set(static_cast<std::size_t>(k));
    std::set<int> rows;
    for (const auto& [kind, list] : source->ItemLists())
      if (asked.test(kind)) rows.insert(list.begin(), list.end());
    const int current = static_cast<int>(random() % source->Count);
    const bool forward = random() % 2;
    const bool cycle = random() % 2;
    const int expected = asked.none() ? -1 : ScanNext(rows, current, 0, source->Count - 1, forward, cycle);
    source->Current = current;
    const bool found = source->GoToNext(asked, forward, cycle);
    ASSERT_EQ(found, expected != -1) << "round " << round;
    ASSERT_EQ(source->Current, found ? expected : current) << "round " << round;
  }
}

// ---------------------------------------------------------------------------
// Marks on a bar

class AnnotationLayout : public ::testing::Test {
 protected:
  // A vertical bar whose track between the arrows is ATrack pixels long.
  void SetUp() override {
    Form = NewShownForm(TRect(100, 100, 300, 400));
    Bar = New<TcxScrollBar>(Form);
    Bar->SetParent(Form);
    Bar->SetKind(sbVertical);
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    Bar->SetBounds(20, 10, GetSystemMetrics(SM_CXVSCROLL), 100 + 2 * arrow + 2);
    // As an owner does when it shows its bar.
    Bar->Helper()->SetVisible(true);
    Source.reset(New<TTestAnnotations>());
    Source->Count = 40;
    Bar->SetAnnotations(Source.get());
  }
  void TearDown() override {
    Source.reset();
    Form->Free();
  }
  const TRect& Track() const { return Bar->Helper()->ViewInfo()->AnnotationInfosBounds(); }
  const TcxScrollbarAnnotationInfoList& Marks(int AKind) const {
    static const TcxScrollbarAnnotationInfoList none;
    const auto& infos = Bar->Helper()->ViewInfo()->AnnotationInfos()->Infos();
    const auto it = infos.find(static_cast<TdxScrollbarAnnotationKind>(AKind));
    return it == infos.end() ? none : it->second;
  }
  std::vector<int> Lengths(int AKind) const {
    std::vector<int> lengths;
    for (const auto& m : Marks(AKind)) lengths.push_back(m->Bounds().Height());
    return lengths;
  }
  void Style(int AKind, int AMin, int AMax) {
    TdxScrollbarAnnotationStyle style;
    style.MinHeight = AMin;
    style.MaxHeight = AMax;
    style.Width = 4;
    style.Color = 0xFF102030;
    Source->Styles[AKind] = style;
  }

  TForm* Form = nullptr;
  TcxScrollBar* Bar = nullptr;
  TOwned<TTestAnnotations> Source;
};

TEST_F(AnnotationLayout, MarkLengthsFollowTheRecordsAndTheLimits) {
  ASSERT_EQ(Track().Height(), 100);
  struct TRow {
    const char* Name;
    int Count;
    int Min;
    int Max;
    int Length;
  };
  // 100 pixels over the records: 2.5 rounds to even, 3.5 too.
  const TRow rows[] = {
      {"40 records, no limits", 40, 0, 0, 2},
      {"40 records, at least 3", 40, 3, 0, 3},
      {"28 records (3.57)", 28, 0, 0, 4},
      {"10 records, at most 3", 10, 0, 3, 3},
      {"10 records, at least 5 but at most 3", 10, 5, 3, 3},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Source->Count = row.Count;
    Style(1, row.Min, row.Max);
    Source->Rows[1] = {0, 5};
    Source->Update();
    EXPECT_EQ(Lengths(1), (std::vector<int>{row.Length, row.Length}));
  }
}

TEST_F(AnnotationLayout, RowsOnOnePixelShareAMarkAndTheLastMarkLiesFlushWithTheEnd) {
  Source->Count = 400;  // a quarter pixel per record
  Style(1, 3, 0);
  Source->Rows[1] = {9, 8, 20, 399};
  Source->Update();
  const auto& marks = Marks(1);
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(marks[0]->RecordIndexes(), (std::vector<int>{8, 9}));  // rows 8 and 9 both start at pixel 2
  EXPECT_EQ(marks[0]->Bounds().Top, Track().Top + 2);
  EXPECT_EQ(marks[1]->RecordIndexes(), (std::vector<int>{20}));
  EXPECT_EQ(marks[1]->Bounds().Top, Track().Top + 5);
  // Row 399 starts at pixel 99: moved back so that its 3 pixels end on the track's end.
  EXPECT_EQ(marks[2]->Bounds().Bottom, Track().Bottom);
  EXPECT_EQ(marks[2]->Bounds().Height(), 3);
  // The band across the bar: 4 pixels from the near side; the colour as styled.
  EXPECT_EQ(marks[0]->Bounds().Left, Track().Left);
  EXPECT_EQ(marks[0]->Bounds().Width(), 4);
  EXPECT_EQ(marks[0]->Color(), 0xFF102030u);
}

TEST_F(AnnotationLayout, MillionsOfPixelsMapOntoTheTrackWithoutOverflow) {
  Source->ByPixels = true;
  Source->Count = 3;
  Source->PixelSize = 30'000'000;  // 100 × 28,000,000 does not fit in 32 bits
  Source->PixelPositions = {0, 14'000'000, 28'000'000};
  Style(1, 0, 0);
  Source->Rows[1] = {1, 2};
  Source->Update();
  const auto& marks = Marks(1);
  ASSERT_EQ(marks.size(), 2u);
  // 100 × 14e6 / 30e6 = 46.67 and 100 × 28e6 / 30e6 = 93.33; bands of 14e6 and 2e6 pixels.
  EXPECT_EQ(marks[0]->Bounds().Top, Track().Top + 46);
  EXPECT_EQ(marks[0]->Bounds().Height(), 47);
  EXPECT_EQ(marks[1]->Bounds().Top, Track().Top + 93);
  EXPECT_EQ(marks[1]->Bounds().Height(), 7);

  // Data that reports no pixel extent gives no marks.
  Source->PixelSize = 0;
  Source->Update();
  EXPECT_TRUE(Marks(1).empty());
}

TEST_F(AnnotationLayout, DefaultColoursComeFromThePainterAndKindsStayStaleUntilLaidOut) {
  TdxScrollbarAnnotationStyle style;
  style.Width = 3;
  Source->Styles[241] = style;
  Source->Rows[241] = {4};
  Source->Update();
  ASSERT_EQ(Marks(241).size(), 1u);
  EXPECT_EQ(Marks(241)[0]->Color(), Bar->Helper()->GetAnnotationDefaultColor(241));
  EXPECT_NE(Marks(241)[0]->Color(), dxScrollbarAnnotationDefaultColor);

  // Invalidation replaces the stale set.
  Bar->ScrollbarAnnotationsInvalidate(Kinds({3}));
  Bar->ScrollbarAnnotationsInvalidate(Kinds({5}));
  EXPECT_EQ(Bar->Helper()->ViewInfo()->AnnotationInfos()->ChangedAnnotationKinds(), Kinds({5}));
}

TEST_F(AnnotationLayout, RightToLeftMirrorsTheMarks) {
  Style(1, 0, 0);
  Source->Rows[1] = {10};
  Source->Update();
  const TRect leftToRight = Marks(1).at(0)->Bounds();
  Bar->SetBiDiMode(bdRightToLeft);
  Bar->ScrollbarAnnotationsInvalidate(AllScrollbarAnnotationKinds());
  Bar->Helper()->Calculate();
  ASSERT_TRUE(Bar->Helper()->UseRightToLeft());
  const TRect mirrored = Marks(1).at(0)->Bounds();
  EXPECT_EQ(mirrored.Right, Track().Right - (leftToRight.Left - Track().Left));
  EXPECT_EQ(mirrored.Width(), leftToRight.Width());
  EXPECT_EQ(mirrored.Top, leftToRight.Top);
}

// The hot mark on a real bar: its hint shows under the mouse, a click makes
// its row current and does not scroll the page.
TEST_F(AnnotationLayout, TheHotMarkHintsAndAClickMakesItsRowCurrent) {
  Style(1, 6, 0);
  Source->Rows[1] = {30};
  Source->Update();
  ASSERT_EQ(Marks(1).size(), 1u);
  const TRect mark = Marks(1)[0]->Bounds();
  const TPoint onMark = Bar->ClientToScreen(TPoint(mark.Left + 1, mark.Top + 2));
  TcxScrollBarController* controller = Bar->Helper()->Controller();
  const auto hintShowing = [controller] {
    THintWindow* w = controller->HintHelper()->HintWindow();
    return w && w->IsShowing();
  };
  ASSERT_TRUE(MoveUntil(onMark, [&] { return controller->HotAnnotationRowIndex() == 30; }));
  // Waiting without moving again: each move would start the hint's pause anew.
  ASSERT_TRUE(PumpUntil(hintShowing, 3000));
  EXPECT_EQ(controller->HintHelper()->HintWindow()->Caption(), Source->Hint);
  RECT hint{};
  GetWindowRect(controller->HintHelper()->HintWindow()->Handle(), &hint);
  EXPECT_EQ(hint.left, onMark.X);
  EXPECT_GT(hint.top, onMark.Y);

  const int position = Bar->Position();
  SendMouseButtons(onMark, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(PumpUntil([&] { return !hintShowing(); }, 1000));
  SendMouseButtons(onMark, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return Source->Current == 30; }, 1000));
  EXPECT_EQ(Source->ClickedRows, (std::vector<int>{30}));
  EXPECT_EQ(Bar->Position(), position);

  // Off the mark the hint goes.
  ASSERT_TRUE(MoveUntil(Bar->ClientToScreen(TPoint(mark.Left + 1, Track().Top + 2)),
                        [&] { return controller->HotAnnotationRowIndex() == -1; }));
}

}  // namespace
