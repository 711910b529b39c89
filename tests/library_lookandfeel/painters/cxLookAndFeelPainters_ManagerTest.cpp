#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/LookAndFeelTesting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

using testing::ElementsAre;

TcxLookAndFeelPaintersManager* Manager() { return GetPaintersManager(); }

TOwned<TcxCustomLookAndFeelPainter> TestPainter(const String& AName, TcxLookAndFeelStyle AStyle,
                                                bool* AFreed = nullptr) {
  return TOwned<TcxCustomLookAndFeelPainter>(New<TTestPainter>(AName, AStyle, AFreed));
}

// Unregisters the test's painters whatever the test left.
class TPaintersManagerFixture : public TLookAndFeelFixture {
 protected:
  void TearDown() override {
    for (int i = Manager()->Count() - 1; i >= 0; --i)
      if (Is<TTestPainter>(Manager()->GetItem(i))) Manager()->Unregister(Manager()->GetItem(i)->LookAndFeelName());
    // A test painter that took a built-in painter's style left the style
    // empty when it went: the built-in painter comes back in a new instance.
    for (int i = Manager()->Count() - 1; i >= 0; --i) {
      TcxCustomLookAndFeelPainter* painter = Manager()->GetItem(i);
      if (Manager()->GetPainter(painter->LookAndFeelStyle()) == painter) continue;
      const TClass builtIn = painter->ClassType();
      Manager()->Unregister(painter->LookAndFeelName());
      Manager()->Register(TOwned<TcxCustomLookAndFeelPainter>(NewOfClass<TcxCustomLookAndFeelPainter>(builtIn)));
    }
    TLookAndFeelFixture::TearDown();
  }
};

std::vector<String> Names() {
  std::vector<String> r;
  for (int i = 0; i < Manager()->Count(); ++i) r.push_back(Manager()->GetItem(i)->LookAndFeelName());
  return r;
}

// Records what it hears; may raise when a painter goes.
class TPainterListener : public TNoRefCount<TObject>, public IcxLookAndFeelPainterListener {
  SK_CLASS(TPainterListener, TObject)
 public:
  void Create(const String& AName, std::vector<String>* ALog) {
    FName = AName;
    FLog = ALog;
  }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxLookAndFeelPainterListener>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void PainterAdded(TcxCustomLookAndFeelPainter* APainter) override {
    FLog->push_back(FName + L" added " + APainter->LookAndFeelName());
  }
  void PainterRemoved(TcxCustomLookAndFeelPainter* APainter) override {
    FLog->push_back(FName + L" removed " + APainter->LookAndFeelName());
    if (RaiseOnRemove) throw std::runtime_error("listener failed");
  }
  bool RaiseOnRemove = false;

 private:
  String FName;
  std::vector<String>* FLog;
};

TEST_F(TPaintersManagerFixture, TheBuiltInPaintersAreFiledByStyleAndName) {
  ASSERT_NE(Manager(), nullptr);
  EXPECT_EQ(Manager(), GetPaintersManager());
  TcxCustomLookAndFeelPainter* ultraFlat = Manager()->GetPainter(lfsUltraFlat);
  ASSERT_NE(ultraFlat, nullptr);
  EXPECT_TRUE(Is<TcxUltraFlatLookAndFeelPainter>(ultraFlat));
  EXPECT_EQ(Manager()->GetPainter(lfsSkin), nullptr);
  for (const wchar_t* name : {L"UltraFlat", L"ultraflat", L"ULTRAFLAT"}) {
    SCOPED_TRACE(UTF8Encode(name));
    TcxCustomLookAndFeelPainter* found = nullptr;
    EXPECT_TRUE(Manager()->GetPainter(String(name), found));
    EXPECT_EQ(found, ultraFlat);
  }
  TcxCustomLookAndFeelPainter* none = ultraFlat;
  EXPECT_FALSE(Manager()->GetPainter(L"Lilian", none));
  EXPECT_EQ(none, nullptr);
  EXPECT_FALSE(Manager()->GetPainter(lfsSkin, none));
}

TEST_F(TPaintersManagerFixture, ANameTakenAlreadyIsRefusedAndItsPainterFreed) {
  TcxCustomLookAndFeelPainter* ultraFlat = Manager()->GetPainter(lfsUltraFlat);
  const int count = Manager()->Count();
  bool freed = false;
  EXPECT_FALSE(Manager()->Register(TestPainter(L"ultraFLAT", lfsUltraFlat, &freed)));
  EXPECT_TRUE(freed);
  EXPECT_EQ(Manager()->Count(), count);
  EXPECT_EQ(Manager()->GetPainter(lfsUltraFlat), ultraFlat);
  EXPECT_EQ(Manager()->GetPainter(L"UltraFlat"), ultraFlat);
  EXPECT_FALSE(Manager()->Unregister(L"Lilian"));
  EXPECT_EQ(Manager()->Count(), count);
}

TEST_F(TPaintersManagerFixture, PaintersAreKeptInTheLocaleOrderOfTheirNames) {
  for (const wchar_t* name : {L"zeta", L"\u00C4ther", L"Beta", L"alpha", L"gamma"})
    ASSERT_TRUE(Manager()->Register(TestPainter(name, lfsSkin))) << UTF8Encode(name);
  EXPECT_FALSE(Manager()->Register(TestPainter(L"beta", lfsSkin))) << "names are compared ignoring case";
  std::vector<String> expected = Names();
  std::ranges::sort(expected, [](const String& A, const String& B) {
    return CompareStringW(LOCALE_USER_DEFAULT, 0, A.c_str(), -1, B.c_str(), -1) == CSTR_LESS_THAN;
  });
  EXPECT_EQ(Names(), expected);
  // Not the order of the code units, where capitals come first and
  // letters with marks last.
  EXPECT_LT(std::ranges::find(expected, L"\u00C4ther"), std::ranges::find(expected, L"zeta"));
  EXPECT_LT(std::ranges::find(expected, L"alpha"), std::ranges::find(expected, L"Beta"));

  // Skin names are the names of the skin painters, added to what the list holds.
  const TOwned<TStringList> skins(New<TStringList>());
  skins->Add(L"kept");
  Manager()->PopulateSkinNames(skins.get());
  EXPECT_EQ(skins->Count(), 6);
  EXPECT_EQ(skins->Strings(0), L"kept");
}

TEST_F(TPaintersManagerFixture, ANewPainterOfAStyleReplacesItAndRefreshesTheRootUnlessLocked) {
  const auto listener = Listen(Root(), "Root");
  ASSERT_TRUE(Manager()->Register(TestPainter(L"First", lfsFlat)));
  TcxCustomLookAndFeelPainter* first = Manager()->GetPainter(L"First");
  EXPECT_EQ(Manager()->GetPainter(lfsFlat), first);
  EXPECT_EQ(Log.size(), 3u) << "the root is refreshed";

  Log.clear();
  Manager()->BeginUpdate();
  ASSERT_TRUE(Manager()->Register(TestPainter(L"Second", lfsFlat)));
  TcxCustomLookAndFeelPainter* second = Manager()->GetPainter(L"Second");
  EXPECT_EQ(Manager()->GetPainter(lfsFlat), second);
  EXPECT_TRUE(Log.empty());
  Manager()->EndUpdate();
  EXPECT_EQ(Log.size(), 3u) << "once when the lock ends";

  // Removing the painter that was replaced leaves the style to its successor.
  EXPECT_TRUE(Manager()->Unregister(L"first"));
  EXPECT_EQ(Manager()->GetPainter(lfsFlat), second);
  EXPECT_TRUE(Manager()->Unregister(L"Second"));
  EXPECT_EQ(Manager()->GetPainter(lfsFlat), nullptr);

  Log.clear();
  Manager()->BeginUpdate();
  ASSERT_TRUE(Manager()->Register(TestPainter(L"Third", lfsFlat)));
  Manager()->CancelUpdate();
  EXPECT_TRUE(Log.empty()) << "a cancelled lock refreshes nothing";
}

TEST_F(TPaintersManagerFixture, ListenersAreToldFromTheLastToTheFirst) {
  std::vector<String> log;
  const TOwned<TPainterListener> a(New<TPainterListener>(L"A", &log));
  const TOwned<TPainterListener> b(New<TPainterListener>(L"B", &log));
  Manager()->AddListener(a.get());
  Manager()->AddListener(b.get());
  Manager()->AddListener(a.get());
  Manager()->Register(TestPainter(L"Test", lfsSkin));
  Manager()->Unregister(L"Test");
  Manager()->RemoveListener(a.get());
  Manager()->RemoveListener(b.get());
  EXPECT_THAT(log, ElementsAre(L"B added Test", L"A added Test", L"B removed Test", L"A removed Test"));
}

TEST_F(TPaintersManagerFixture, APainterIsFreedAndForgottenEvenWhenAListenerRaises) {
  std::vector<String> log;
  const TOwned<TPainterListener> listener(New<TPainterListener>(L"A", &log));
  bool freed = false;
  Manager()->Register(TestPainter(L"Test", lfsFlat, &freed));
  const auto lf = NewLookAndFeel();
  lf->SetNativeStyle(false);
  lf->SetKind(lfFlat);
  ASSERT_EQ(lf->Painter(), Manager()->GetPainter(L"Test"));
  listener->RaiseOnRemove = true;
  Manager()->AddListener(listener.get());
  EXPECT_THROW(Manager()->Unregister(L"Test"), std::runtime_error);
  Manager()->RemoveListener(listener.get());
  EXPECT_TRUE(freed);
  EXPECT_EQ(Manager()->GetPainter(L"Test"), nullptr);
  EXPECT_EQ(lf->Painter(), nullptr);
}

TEST_F(TPaintersManagerFixture, NoLookAndFeelKeepsAFreedPainter) {
  ASSERT_TRUE(Manager()->Register(TestPainter(L"Flat1", lfsFlat)));
  ASSERT_TRUE(Manager()->Register(TestPainter(L"Lilian", lfsSkin)));
  // Every value assigned: a refresh of the root passes it by.
  const auto all = NewLookAndFeel();
  all->SetKind(lfFlat);
  all->SetNativeStyle(false);
  all->SetSkinName(L"");
  all->SetScrollbarMode(sbmDefault);
  all->SetScrollMode(scmDefault);
  all->SetRenderMode(rmDefault);
  // A skin painter found by name.
  const auto skinned = NewLookAndFeel();
  skinned->SetNativeStyle(false);
  skinned->SetKind(lfUltraFlat);
  skinned->SetSkinName(L"lilian");
  ASSERT_EQ(skinned->SkinPainter(), Manager()->GetPainter(L"Lilian"));
  EXPECT_EQ(skinned->ActiveStyle(), lfsSkin);
  EXPECT_EQ(skinned->Painter(), skinned->SkinPainter());
  // Following the root, while the manager is locked.
  const auto following = NewLookAndFeel();
  following->SetNativeStyle(false);
  Root()->SetKind(lfFlat);
  ASSERT_EQ(all->Painter(), Manager()->GetPainter(L"Flat1"));
  ASSERT_EQ(following->Painter(), Manager()->GetPainter(L"Flat1"));

  Manager()->BeginUpdate();
  EXPECT_TRUE(Manager()->Unregister(L"Flat1"));
  EXPECT_TRUE(Manager()->Unregister(L"Lilian"));
  EXPECT_EQ(all->Painter(), nullptr);
  EXPECT_EQ(following->Painter(), nullptr);
  EXPECT_EQ(skinned->SkinPainter(), nullptr);
  EXPECT_EQ(skinned->Painter(), Manager()->GetPainter(lfsUltraFlat));
  ASSERT_TRUE(Manager()->Register(TestPainter(L"Flat2", lfsFlat)));
  Manager()->EndUpdate();
  EXPECT_EQ(following->Painter(), Manager()->GetPainter(L"Flat2")) << "the root's refresh reaches it";
}

}  // namespace
