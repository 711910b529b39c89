#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "tests/library_lookandfeel/LookAndFeelTesting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::ElementsAre;

TcxCustomLookAndFeelPainter* UltraFlat() { return GetPaintersManager()->GetPainter(lfsUltraFlat); }

TEST_F(TLookAndFeelFixture, NativeStyleOffAloneResolvesTheUltraFlatPainter) {
  const auto lf = NewLookAndFeel();
  lf->SetNativeStyle(false);
  EXPECT_EQ(lf->Kind(), lfUltraFlat);
  EXPECT_EQ(lf->AssignedValues(), TcxLookAndFeelValues{lfvNativeStyle});
  EXPECT_EQ(lf->ActiveStyle(), lfsUltraFlat);
  ASSERT_NE(UltraFlat(), nullptr);
  EXPECT_EQ(lf->Painter(), UltraFlat());
  EXPECT_EQ(lf->Painter()->LookAndFeelName(), L"UltraFlat");
  EXPECT_EQ(lf->SkinPainter(), nullptr);
}

TEST_F(TLookAndFeelFixture, NativeStyleOnResolvesTheNativeStyleWhileThemesAreActive) {
  // The test prefix runs Wine's light theme.
  ASSERT_TRUE(AreVisualStylesAvailable());
  const auto lf = NewLookAndFeel();
  EXPECT_TRUE(lf->NativeStyle());
  EXPECT_EQ(lf->ActiveStyle(), lfsNative);
  EXPECT_EQ(lf->Painter(), GetPaintersManager()->GetPainter(lfsNative));
  lf->SetKind(lfFlat);
  EXPECT_EQ(lf->ActiveStyle(), lfsNative) << "the native style outranks the kind";
}

TEST_F(TLookAndFeelFixture, AssigningTheInheritedValueMarksItAndReportsNothing) {
  const auto lf = NewLookAndFeel();
  const auto listener = Listen(lf.get(), "L");
  lf->SetKind(lfUltraFlat);
  EXPECT_TRUE(lf->AssignedValues().Contains(lfvKind));
  lf->SetAssignedValues(TcxLookAndFeelValues());
  EXPECT_TRUE(lf->AssignedValues().Empty());
  EXPECT_TRUE(Log.empty());
  lf->SetKind(lfOffice11);
  EXPECT_THAT(Log, ElementsAre("L:begin", "L:changed[lfvKind]", "L:end"));
}

TEST_F(TLookAndFeelFixture, ARootChangeReachesThreeDeepAndSkipsThoseThatAssignTheValue) {
  const auto a = NewLookAndFeel();
  const auto b = NewLookAndFeel(a.get());
  const auto c = NewLookAndFeel(b.get());
  const auto la = Listen(a.get(), "A");
  const auto lc = Listen(c.get(), "C");
  Root()->SetKind(lfFlat);
  EXPECT_EQ(c->Kind(), lfFlat);
  EXPECT_NE(std::ranges::find(Log, "C:changed[lfvKind]"), Log.end());

  // B assigns the kind: C follows B, and a change of the root's kind no
  // longer reaches it.
  b->SetKind(lfOffice11);
  Log.clear();
  Root()->SetKind(lfStandard);
  EXPECT_EQ(a->Kind(), lfStandard);
  EXPECT_EQ(c->Kind(), lfOffice11);
  EXPECT_THAT(Log, ElementsAre("A:begin", "A:changed[lfvKind]", "A:end"));
  // Other values still pass B.
  Log.clear();
  Root()->SetScrollMode(scmSmooth);
  EXPECT_EQ(c->ScrollMode(), scmSmooth);
  EXPECT_NE(std::ranges::find(Log, "C:changed[lfvScrollMode]"), Log.end());
}

TEST_F(TLookAndFeelFixture, ChangesWhileLockedAreReportedOnceAsTheirUnion) {
  const auto lf = NewLookAndFeel();
  const auto listener = Listen(lf.get(), "L");
  int events = 0;
  TcxLookAndFeelValues reported;
  struct TSink : TObject {
    int* Events;
    TcxLookAndFeelValues* Reported;
    void Changed(TcxLookAndFeel*, TcxLookAndFeelValues AValues) {
      ++*Events;
      *Reported = AValues;
    }
  } sink;
  sink.Events = &events;
  sink.Reported = &reported;
  lf->SetOnChanged(BindEvent<&TSink::Changed>(&sink));
  lf->BeginUpdate();
  lf->SetKind(lfFlat);
  lf->SetNativeStyle(false);
  lf->SetScrollMode(scmSmooth);
  lf->SetKind(lfStandard);
  // The painter follows at once; the listeners wait.
  EXPECT_EQ(lf->Painter(), GetPaintersManager()->GetPainter(lfsStandard));
  EXPECT_TRUE(Log.empty());
  lf->EndUpdate();
  EXPECT_THAT(Log, ElementsAre("L:begin", "L:changed[lfvKind,lfvNativeStyle,lfvScrollMode]", "L:end"));
  EXPECT_EQ(events, 1);
  EXPECT_EQ(reported, (TcxLookAndFeelValues{lfvKind, lfvNativeStyle, lfvScrollMode}));
  lf->SetOnChanged(nullptr);
}

TEST_F(TLookAndFeelFixture, RefreshReportsAllSixValues) {
  const auto lf = NewLookAndFeel();
  const auto listener = Listen(lf.get(), "L");
  lf->Refresh();
  EXPECT_THAT(Log, ElementsAre("L:begin",
                               "L:changed[lfvKind,lfvNativeStyle,lfvSkinName,lfvScrollbarMode,lfvRenderMode,"
                               "lfvScrollMode]",
                               "L:end"));
}

TEST_F(TLookAndFeelFixture, AMasterDestroyedFirstLeavesItsListenersWithTheRoot) {
  auto master = NewLookAndFeel();
  master->SetKind(lfFlat);
  master->SetRenderMode(rmGDI);
  const auto lf = NewLookAndFeel(master.get());
  lf->SetRenderMode(rmGDI);
  ASSERT_EQ(lf->Kind(), lfFlat);
  const auto listener = Listen(lf.get(), "L");
  master.reset();
  EXPECT_EQ(lf->MasterLookAndFeel(), Root());
  EXPECT_EQ(lf->Kind(), lfUltraFlat);
  // Only the values that differ are reported: lf assigns its render mode.
  EXPECT_THAT(Log, ElementsAre("L:begin", "L:changed[lfvKind]", "L:end"));
  Log.clear();
  Root()->SetKind(lfOffice11);
  EXPECT_EQ(lf->Kind(), lfOffice11) << "it listens to the root now";
}

TEST_F(TLookAndFeelFixture, AListenerThatLeavesDuringANotificationSkipsNoOther) {
  const auto lf = NewLookAndFeel();
  auto first = Listen(lf.get(), "1");
  const auto second = Listen(lf.get(), "2");
  const auto third = Listen(lf.get(), "3");
  first->OnChanged = [&](TcxLookAndFeel*) { first->Leave(); };
  lf->SetKind(lfFlat);
  EXPECT_THAT(Log, ElementsAre("1:begin", "2:begin", "3:begin", "1:changed[lfvKind]", "2:changed[lfvKind]",
                               "3:changed[lfvKind]", "2:end", "3:end"));
  // A listener that frees another one: the one freed is not called.
  Log.clear();
  second->OnChanged = [&](TcxLookAndFeel*) { first.reset(); };
  lf->SetKind(lfStandard);
  EXPECT_THAT(Log, ElementsAre("2:begin", "3:begin", "2:changed[lfvKind]", "3:changed[lfvKind]", "2:end", "3:end"));
}

TEST_F(TLookAndFeelFixture, MastersThatLeadBackAreRefused) {
  const auto a = NewLookAndFeel();
  const auto b = NewLookAndFeel(a.get());
  const auto c = NewLookAndFeel(b.get());
  a->SetMasterLookAndFeel(a.get());
  EXPECT_EQ(a->MasterLookAndFeel(), Root());
  a->SetMasterLookAndFeel(b.get());
  EXPECT_EQ(a->MasterLookAndFeel(), Root());
  a->SetMasterLookAndFeel(c.get());
  EXPECT_EQ(a->MasterLookAndFeel(), Root());
  // Taking over the master of a look-and-feel that follows this one.
  a->Assign(c.get());
  EXPECT_EQ(a->MasterLookAndFeel(), Root());
  // The chain still resolves and reports, and it ends.
  const auto listener = Listen(c.get(), "C");
  Root()->SetKind(lfFlat);
  EXPECT_EQ(c->Kind(), lfFlat);
  EXPECT_THAT(Log, ElementsAre("C:begin", "C:changed[lfvKind]", "C:end"));
  // The root takes no master at all.
  Root()->SetMasterLookAndFeel(a.get());
  EXPECT_EQ(Root()->MasterLookAndFeel(), Root());
}

TEST_F(TLookAndFeelFixture, AssignTakesTheValuesAndTheMasterAndReportsTheDifferences) {
  const auto master = NewLookAndFeel();
  master->SetScrollbarMode(sbmHybrid);
  const auto source = NewLookAndFeel(master.get());
  source->SetKind(lfOffice11);
  source->SetNativeStyle(false);
  const auto lf = NewLookAndFeel();
  lf->SetKind(lfOffice11);
  const auto listener = Listen(lf.get(), "L");
  lf->Assign(source.get());
  EXPECT_EQ(lf->AssignedValues(), (TcxLookAndFeelValues{lfvKind, lfvNativeStyle}));
  EXPECT_EQ(lf->MasterLookAndFeel(), master.get());
  EXPECT_EQ(lf->ScrollbarMode(), sbmHybrid);
  EXPECT_THAT(Log, ElementsAre("L:begin", "L:changed[lfvNativeStyle,lfvScrollbarMode]", "L:end"));
}

TEST_F(TLookAndFeelFixture, SetStyleChoosesNativeStyleOrAKind) {
  struct TRow {
    TcxLookAndFeelStyle Style;
    bool NativeStyle;
    TcxLookAndFeelKind Kind;
  };
  const TRow rows[] = {{lfsFlat, false, lfFlat},           {lfsStandard, false, lfStandard},
                       {lfsUltraFlat, false, lfUltraFlat}, {lfsNative, true, lfUltraFlat},
                       {lfsOffice11, false, lfOffice11},   {lfsSkin, false, lfUltraFlat}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Style);
    const auto lf = NewLookAndFeel();
    lf->SetStyle(row.Style);
    EXPECT_EQ(lf->NativeStyle(), row.NativeStyle);
    EXPECT_EQ(lf->Kind(), row.Kind);
  }
}

TEST_F(TLookAndFeelFixture, TheLastControllerToLeaveResetsTheRoot) {
  TOwned<TcxLookAndFeelController> first(New<TcxLookAndFeelController>(nullptr));
  TOwned<TcxLookAndFeelController> second(New<TcxLookAndFeelController>(nullptr));
  first->SetKind(lfFlat);
  second->SetNativeStyle(false);
  EXPECT_EQ(Root()->AssignedValues(), (TcxLookAndFeelValues{lfvKind, lfvNativeStyle}));
  EXPECT_EQ(second->Kind(), lfFlat);
  first.reset();
  EXPECT_EQ(Root()->Kind(), lfFlat);
  second.reset();
  EXPECT_TRUE(Root()->AssignedValues().Empty());
  EXPECT_EQ(Root()->Kind(), lfUltraFlat);
  EXPECT_TRUE(Root()->NativeStyle());
  // A look-and-feel takes no controller.
  const auto lf = NewLookAndFeel();
  TOwned<TcxLookAndFeelController> third(New<TcxLookAndFeelController>(nullptr));
  lf->AddChangeListener(third.get());
  third->SetKind(lfStandard);
  lf->RemoveChangeListener(third.get());
  EXPECT_EQ(Root()->Kind(), lfStandard) << "leaving a look-and-feel resets nothing";
}

TEST_F(TLookAndFeelFixture, TouchModeRefreshesTheRootEvenWithNothingToReport) {
  TOwned<TcxLookAndFeelController> controller(New<TcxLookAndFeelController>(nullptr));
  const auto lf = NewLookAndFeel();
  lf->SetKind(lfFlat);
  lf->SetNativeStyle(false);
  lf->SetScrollbarMode(sbmClassic);
  lf->SetScrollMode(scmClassic);
  lf->SetRenderMode(rmGDI);
  lf->SetSkinName(L"");
  const auto listener = Listen(lf.get(), "L");
  controller->SetTouchMode(true);
  EXPECT_TRUE(controller->TouchMode());
  EXPECT_THAT(Log, ElementsAre("L:begin", "L:changed[]", "L:end"));
  Log.clear();
  controller->SetTouchMode(true);
  EXPECT_TRUE(Log.empty());
  controller.reset();
  EXPECT_FALSE(cxIsTouchModeEnabled()) << "the root's reset turns it off";
}

// ---------------------------------------------------------------------------
// Form streams

class TLookAndFeelHolder : public TComponent, public TcxLookAndFeelOwner {
  SK_CLASS(TLookAndFeelHolder, TComponent)
 public:
  static void Publish(TPublisher<TLookAndFeelHolder>& P) { PublishLookAndFeel(P); }
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    CreateLookAndFeel(this);
  }
  void Destroy() override {
    FreeLookAndFeel();
    inherited::Destroy();
  }
};

TOwned<TComponent> Read(const String& AText) {
  RegisterClasses({TLookAndFeelHolder::ClassInfo(), TcxLookAndFeelController::ClassInfo()});
  return TOwned<TComponent>(ReadComponentFromText(AText));
}

TEST_F(TLookAndFeelFixture, OnlyAssignedValuesAreStoredAndAnEmptySkinNameSurvives) {
  const TOwned<TComponent> holder = Read(
      L"object H: TLookAndFeelHolder\n"
      L"  LookAndFeel.NativeStyle = False\n"
      L"  LookAndFeel.SkinName = ''\n"
      L"  LookAndFeel.ScrollMode = scmSmooth\n"
      L"end\n");
  TcxLookAndFeel* lf = static_cast<TLookAndFeelHolder*>(holder.get())->LookAndFeel();
  EXPECT_EQ(lf->AssignedValues(), (TcxLookAndFeelValues{lfvNativeStyle, lfvSkinName, lfvScrollMode}));
  EXPECT_EQ(WriteComponentToText(holder.get()),
            L"object H: TLookAndFeelHolder\r\n"
            L"  LookAndFeel.NativeStyle = False\r\n"
            L"  LookAndFeel.ScrollMode = scmSmooth\r\n"
            L"  LookAndFeel.SkinName = ''\r\n"
            L"end\r\n");
  // A name that is not empty is written by the published property.
  lf->SetSkinName(L"Lilian");
  const String written = WriteComponentToText(holder.get());
  EXPECT_NE(written.find(L"LookAndFeel.SkinName = 'Lilian'"), String::npos) << UTF8Encode(written);
}

TEST_F(TLookAndFeelFixture, OldStreamsSetTheScrollBarModeFromTouchScrollUIMode) {
  struct TRow {
    const wchar_t* Mode;
    TdxScrollbarMode Expected;
  };
  for (const TRow& row : {TRow{L"tsmDefault", sbmDefault}, TRow{L"tsmEnabled", sbmTouch},
                          TRow{L"tsmDisabled", sbmClassic}}) {
    SCOPED_TRACE(UTF8Encode(row.Mode));
    const TOwned<TComponent> holder = Read(String(L"object H: TLookAndFeelHolder\n  LookAndFeel.TouchScrollUIMode = ") +
                                           row.Mode + L"\nend\n");
    TcxLookAndFeel* lf = static_cast<TLookAndFeelHolder*>(holder.get())->LookAndFeel();
    EXPECT_EQ(lf->ScrollbarMode(), row.Expected);
    EXPECT_TRUE(lf->AssignedValues().Contains(lfvScrollbarMode));
    EXPECT_EQ(WriteComponentToText(holder.get()).find(L"TouchScrollUIMode"), String::npos);
  }
  // The controller's old Boolean changes the root only when it differs.
  {
    const TOwned<TComponent> controller = Read(L"object C: TcxLookAndFeelController\n  TouchScrollUIMode = True\nend\n");
    EXPECT_FALSE(Root()->AssignedValues().Contains(lfvScrollbarMode));
  }
  const TOwned<TComponent> controller = Read(L"object C: TcxLookAndFeelController\n  TouchScrollUIMode = False\nend\n");
  EXPECT_EQ(Root()->ScrollbarMode(), sbmClassic);
  EXPECT_FALSE(IsTouchScrollUIEnabled());
}

// ---------------------------------------------------------------------------
// Shut-down

TEST_F(TLookAndFeelFixture, AfterShutDownThereIsNoRootAndNothingIsReported) {
  const auto lf = NewLookAndFeel();
  Root()->SetKind(lfFlat);
  ASSERT_EQ(lf->Kind(), lfFlat);
  const auto listener = Listen(lf.get(), "L");
  cxLookAndFeelsFinalization();
  const TScopeExit restart([] { cxLookAndFeelsInitialization(); });
  EXPECT_FALSE(HasRootLookAndFeel());
  EXPECT_EQ(GetRootLookAndFeel(), nullptr);
  EXPECT_TRUE(IsTouchScrollUIEnabled());
  lf->Refresh();
  lf->SetKind(lfOffice11);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(lf->MasterLookAndFeel(), nullptr);
  // A controller without a root reads its stand-in values.
  TOwned<TcxLookAndFeelController> controller(New<TcxLookAndFeelController>(nullptr));
  EXPECT_EQ(controller->ScrollMode(), scmClassic);
  EXPECT_EQ(controller->RenderMode(), rmGDI);
  controller->SetKind(lfFlat);
  EXPECT_EQ(controller->Kind(), lfUltraFlat);
}

}  // namespace
