#include "library/controls/container/cxContainer.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"

#include <gtest/gtest.h>

namespace {

// Counts the change notifications of a style.
class TChangeCounter : public TObject {
  SK_CLASS(TChangeCounter, TObject)
 public:
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

// A controller installed as the default one for the test's length.
class TDefaultControllerScope {
 public:
  explicit TDefaultControllerScope(TcxStyleController* AController) : FSaved(GetDefaultStyleController()) {
    SetDefaultStyleController(AController);
  }
  ~TDefaultControllerScope() { SetDefaultStyleController(FSaved); }
  TDefaultControllerScope(const TDefaultControllerScope&) = delete;
  TDefaultControllerScope& operator=(const TDefaultControllerScope&) = delete;

 private:
  TcxStyleController* FSaved;
};

struct ContainerStyles : testing::Test {
  TOwned<TcxContainerStyles> Styles{New<TcxContainerStyles>(nullptr, nullptr)};
  TcxContainerStyle* Normal() { return Styles->Style(); }
};

// ---------------------------------------------------------------------------
// The chain: own value, the controller's, the controller's controller's, default

struct TChainCase {
  const char* Name;
  bool OnStyle, OnFirst, OnSecond;
  TColor Expected;
};

TEST_F(ContainerStyles, ValuesFallBackThroughChainedControllers) {
  constexpr TColor own = TColor(RGB(1, 2, 3)), first = TColor(RGB(4, 5, 6)), second = TColor(RGB(7, 8, 9));
  const TChainCase cases[] = {
      {"own value wins", true, true, true, own},
      {"first controller", false, true, true, first},
      {"controller's controller", false, false, true, second},
      {"nothing assigns: default", false, false, false, clNone},
  };
  for (const TChainCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (TcxContainerStateItem state : {csNormal, csActive, csDisabled, csHotTrack}) {
      SCOPED_TRACE(static_cast<int>(state));
      const TOwned<TcxStyleController> firstController(New<TcxStyleController>(nullptr));
      const TOwned<TcxStyleController> secondController(New<TcxStyleController>(nullptr));
      const TOwned<TcxContainerStyles> styles(New<TcxContainerStyles>(nullptr, nullptr));
      styles->Style()->SetStyleController(firstController.get());
      firstController->Style()->SetStyleController(secondController.get());
      const TColor fallback = styles->GetStyle(state)->BorderColor();
      if (c.OnStyle) styles->GetStyle(state)->SetBorderColor(own);
      if (c.OnFirst) firstController->GetInternalStyle(state)->SetBorderColor(first);
      if (c.OnSecond) secondController->GetInternalStyle(state)->SetBorderColor(second);
      TcxContainerStyle* style = styles->GetStyle(state);
      EXPECT_EQ(style->BorderColor(), c.Expected == clNone ? fallback : c.Expected);
      EXPECT_EQ(style->IsValueAssigned(svBorderColor), c.Expected != clNone);
      EXPECT_EQ(style->AssignedValues().Contains(svBorderColor), c.OnStyle);
    }
  }
}

TEST_F(ContainerStyles, DisabledValueOfTheControllerReachesEveryLinkedDisabledStyle) {
  const TOwned<TcxStyleController> controller(New<TcxStyleController>(nullptr));
  const TOwned<TcxContainerStyles> other(New<TcxContainerStyles>(nullptr, nullptr));
  Normal()->SetStyleController(controller.get());
  other->Style()->SetStyleController(controller.get());
  other->StyleDisabled()->SetTextColor(clRed);
  controller->StyleDisabled()->SetTextColor(clLime);
  EXPECT_EQ(Styles->StyleDisabled()->TextColor(), clLime);
  EXPECT_EQ(other->StyleDisabled()->TextColor(), clRed);
  // The other states are not touched by the disabled style's value.
  EXPECT_NE(Styles->StyleFocused()->TextColor(), clLime);
}

TEST_F(ContainerStyles, DefaultsWithoutAnyAssignment) {
  EXPECT_EQ(Normal()->BorderColor(), clWindowFrame);
  EXPECT_EQ(Styles->StyleDisabled()->BorderColor(), clBtnShadow);
  EXPECT_EQ(Styles->StyleDisabled()->TextColor(), clBtnShadow);
  Normal()->SetBorderColor(clRed);
  Normal()->SetTextColor(clBlue);
  Normal()->SetTextStyle({fsItalic});
  for (TcxContainerStyle* state : {Styles->StyleFocused(), Styles->StyleHot()}) {
    EXPECT_EQ(state->BorderColor(), clRed);
    EXPECT_EQ(state->TextColor(), clBlue);
    EXPECT_EQ(state->TextStyle(), TFontStyles{fsItalic});
  }
  EXPECT_EQ(Styles->StyleDisabled()->BorderColor(), clBtnShadow);
  // The normal style's text colour and style come from its font.
  Normal()->SetAssignedValues({});
  Normal()->Font()->SetColor(clGreen);
  Normal()->Font()->SetStyle({fsBold});
  EXPECT_EQ(Normal()->TextColor(), clGreen);
  EXPECT_EQ(Normal()->TextStyle(), TFontStyles{fsBold});
  EXPECT_TRUE(Normal()->HotTrack());
  EXPECT_FALSE(Normal()->Shadow());
  EXPECT_TRUE(Normal()->TransparentBorder());
  EXPECT_EQ(Normal()->Edges(), (TcxBorders{bLeft, bTop, bRight, bBottom}));
}

// Without a container every style counts as parent-coloured.
TEST_F(ContainerStyles, DefaultColorFollowsTheNormalStyle) {
  EXPECT_EQ(Normal()->Color(), clBtnFace);
  for (TcxContainerStateItem state : {csActive, csDisabled, csHotTrack}) EXPECT_EQ(Styles->GetStyle(state)->Color(), clBtnFace);
  Normal()->SetColor(clYellow);
  for (TcxContainerStateItem state : {csActive, csDisabled, csHotTrack}) EXPECT_EQ(Styles->GetStyle(state)->Color(), clYellow);
  Styles->StyleHot()->SetColor(clAqua);
  EXPECT_EQ(Styles->StyleHot()->Color(), clAqua);
  EXPECT_EQ(Normal()->Color(), clYellow);
}

// ---------------------------------------------------------------------------
// Border style

TEST_F(ContainerStyles, NormalBorderStyleFollowsTheLookAndFeelKind) {
  const std::pair<TcxLookAndFeelKind, TcxContainerBorderStyle> cases[] = {
      {lfFlat, cbsFlat}, {lfStandard, cbs3D}, {lfUltraFlat, cbsUltraFlat}, {lfOffice11, cbsOffice11}};
  for (const auto& [kind, expected] : cases) {
    SCOPED_TRACE(static_cast<int>(kind));
    Normal()->LookAndFeel()->SetKind(kind);
    EXPECT_EQ(Normal()->BorderStyle(), expected);
    EXPECT_EQ(Styles->StyleDisabled()->BorderStyle(), expected);
  }
}

struct TBorderCase {
  TcxContainerBorderStyle Normal, HotTracking;
};

TEST_F(ContainerStyles, StateBorderStylesAreHeavierOnlyWhileHotTracking) {
  // The normal style's border, and what the focused and hot states draw
  // with hot tracking on; without it, and in the disabled state, they keep
  // the normal style's border.
  const TBorderCase cases[] = {{cbsNone, cbsFlat},          {cbsSingle, cbsThick}, {cbsThick, cbsThick},
                               {cbsFlat, cbs3D},            {cbs3D, cbs3D},        {cbsUltraFlat, cbsUltraFlat},
                               {cbsOffice11, cbsOffice11}};
  for (const TBorderCase& c : cases) {
    SCOPED_TRACE(TEnumInfo<TcxContainerBorderStyle>::Names[c.Normal]);
    Normal()->SetBorderStyle(c.Normal);
    for (bool hotTrack : {true, false}) {
      SCOPED_TRACE(hotTrack ? "hot tracking" : "no hot tracking");
      Normal()->SetHotTrack(hotTrack);
      EXPECT_EQ(Styles->StyleFocused()->BorderStyle(), hotTrack ? c.HotTracking : c.Normal);
      EXPECT_EQ(Styles->StyleHot()->BorderStyle(), hotTrack ? c.HotTracking : c.Normal);
      EXPECT_EQ(Styles->StyleDisabled()->BorderStyle(), c.Normal);
    }
  }
}

// ---------------------------------------------------------------------------
// Values only the normal style keeps

TEST_F(ContainerStyles, NormalOnlyValuesSetOnAStateStyleChangeTheNormalStyle) {
  struct TCase {
    const wchar_t* Name;
    TcxContainerStyleValue Value;
    std::function<void(TcxContainerStyle*)> Set;
  };
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-20);
  const TCase cases[] = {
      {L"Edges", svEdges, [](TcxContainerStyle* s) { s->SetEdges({bLeft}); }},
      {L"Font", svFont, [&](TcxContainerStyle* s) { s->SetFont(font.get()); }},
      {L"HotTrack", svHotTrack, [](TcxContainerStyle* s) { s->SetHotTrack(false); }},
      {L"Shadow", svShadow, [](TcxContainerStyle* s) { s->SetShadow(true); }},
      {L"TransparentBorder", svTransparentBorder, [](TcxContainerStyle* s) { s->SetTransparentBorder(false); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TcxContainerStyles> styles(New<TcxContainerStyles>(nullptr, nullptr));
    c.Set(styles->StyleHot());
    EXPECT_TRUE(styles->Style()->AssignedValues().Contains(c.Value));
    EXPECT_FALSE(styles->StyleHot()->AssignedValues().Contains(c.Value));
    EXPECT_TRUE(styles->StyleFocused()->IsValueAssigned(c.Value));
    EXPECT_FALSE(styles->StyleHot()->IsExtendedStylePropertyPublished(c.Name));
  }
  Styles->StyleHot()->SetFont(font.get());
  EXPECT_EQ(Normal()->Font()->Height(), -20);
  EXPECT_EQ(Styles->StyleDisabled()->Font(), Normal()->Font());
}

TEST_F(ContainerStyles, ValueNames) {
  TcxContainerStyleValue value{};
  EXPECT_TRUE(Normal()->GetStyleValue(L"transparentborder", value));
  EXPECT_EQ(value, svTransparentBorder);
  EXPECT_FALSE(Normal()->GetStyleValue(L"Painter", value));
  String name = L"x";
  EXPECT_FALSE(Normal()->GetStyleValueName(static_cast<TcxContainerStyleValue>(10), name));
  EXPECT_TRUE(name.empty());
  EXPECT_FALSE(Normal()->IsExtendedStylePropertyPublished(L"LookAndFeel"));
  EXPECT_FALSE(Normal()->IsExtendedStylePropertyPublished(L"StyleController"));
  EXPECT_TRUE(Normal()->IsExtendedStylePropertyPublished(L"BorderColor"));
  EXPECT_TRUE(Normal()->IsExtendedStylePropertyPublished(L"SomethingElse"));
}

// ---------------------------------------------------------------------------
// Controllers

TEST_F(ContainerStyles, ControllerCyclesAreRefused) {
  const TOwned<TcxStyleController> a(New<TcxStyleController>(nullptr));
  const TOwned<TcxStyleController> b(New<TcxStyleController>(nullptr));
  const TOwned<TcxStyleController> c(New<TcxStyleController>(nullptr));
  a->Style()->SetStyleController(b.get());
  b->Style()->SetStyleController(c.get());
  c->Style()->SetStyleController(a.get());  // would close a → b → c → a
  EXPECT_EQ(c->Style()->StyleController(), nullptr);
  a->Style()->SetStyleController(a.get());
  EXPECT_EQ(a->Style()->StyleController(), b.get());
  // A value nobody assigns still resolves (the walk ends).
  EXPECT_EQ(a->StyleHot()->BorderColor(), clWindowFrame);
}

TEST_F(ContainerStyles, LinkingFollowsTheControllerLookAndFeelAndReportsOnce) {
  const TOwned<TcxStyleController> controller(New<TcxStyleController>(nullptr));
  TChangeCounter counter;
  Styles->SetOnChanged(BindEvent<&TChangeCounter::Changed>(&counter));
  Normal()->SetStyleController(controller.get());
  EXPECT_EQ(controller->Listeners(), std::vector<TcxContainerStyle*>{Normal()});
  EXPECT_GE(counter.Count, 1);
  controller->Style()->LookAndFeel()->SetKind(lfFlat);
  EXPECT_EQ(Normal()->LookAndFeel()->Kind(), lfFlat);
  EXPECT_EQ(Normal()->BorderStyle(), cbsFlat);
  // A change of a controller style reaches the linked style's owner.
  const int before = counter.Count;
  controller->StyleHot()->SetBorderColor(clRed);
  EXPECT_EQ(counter.Count, before + 1);
  // Linking the same controller again changes nothing.
  Normal()->SetStyleController(controller.get());
  EXPECT_EQ(counter.Count, before + 1);
  EXPECT_EQ(controller->Listeners().size(), 1u);
}

TEST_F(ContainerStyles, FreedControllerRelinksToTheDefaultAndTheFontFollows) {
  const TOwned<TcxStyleController> defaultController(New<TcxStyleController>(nullptr));
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Courier New");
  font->SetHeight(-17);
  defaultController->Style()->SetFont(font.get());
  const TDefaultControllerScope scope(defaultController.get());
  const TOwned<TcxContainerStyles> styles(New<TcxContainerStyles>(nullptr, nullptr));
  EXPECT_EQ(styles->Style()->ActiveStyleController(), defaultController.get());
  EXPECT_EQ(styles->Style()->StyleController(), nullptr);
  EXPECT_EQ(styles->Style()->Font()->Name(), L"Courier New");

  TOwned<TcxStyleController> controller(New<TcxStyleController>(nullptr));
  font->SetName(L"Tahoma");
  font->SetHeight(-23);
  controller->Style()->SetFont(font.get());
  styles->Style()->SetStyleController(controller.get());
  EXPECT_EQ(styles->Style()->Font()->Name(), L"Tahoma");
  EXPECT_EQ(styles->Style()->Font()->Height(), -23);
  EXPECT_FALSE(styles->Style()->AssignedValues().Contains(svFont));
  EXPECT_TRUE(styles->Style()->IsValueAssigned(svFont));

  controller.reset();
  EXPECT_EQ(styles->Style()->ActiveStyleController(), defaultController.get());
  EXPECT_EQ(styles->Style()->Font()->Name(), L"Courier New");
  EXPECT_EQ(styles->Style()->Font()->Height(), -17);
  EXPECT_EQ(defaultController->Listeners(), std::vector<TcxContainerStyle*>{styles->Style()});
}

TEST_F(ContainerStyles, FreedDefaultControllerLeavesTheStylesOnTheirOwn) {
  TOwned<TcxStyleController> defaultController(New<TcxStyleController>(nullptr));
  defaultController->Style()->SetBorderColor(clRed);
  TDefaultControllerScope scope(defaultController.get());
  const TOwned<TcxContainerStyles> styles(New<TcxContainerStyles>(nullptr, nullptr));
  EXPECT_EQ(styles->Style()->BorderColor(), clRed);
  {
    TDefaultControllerScope gone(nullptr);
    defaultController.reset();
  }
  EXPECT_EQ(styles->Style()->ActiveStyleController(), nullptr);
  EXPECT_EQ(styles->Style()->BorderColor(), clWindowFrame);
}

// ---------------------------------------------------------------------------
// Notifications

TEST_F(ContainerStyles, ABatchNotifiesOnce) {
  TChangeCounter counter;
  Styles->SetOnChanged(BindEvent<&TChangeCounter::Changed>(&counter));
  Normal()->BeginUpdate();
  Normal()->SetBorderColor(clRed);
  Normal()->SetShadow(true);
  Normal()->SetTextColor(clBlue);
  EXPECT_EQ(counter.Count, 0);
  Normal()->EndUpdate();
  EXPECT_EQ(counter.Count, 1);
  // An equal assigned value is no change.
  Normal()->SetBorderColor(clRed);
  Normal()->SetTextColor(clBlue);
  EXPECT_EQ(counter.Count, 1);
  Normal()->RestoreDefaults();
  EXPECT_EQ(counter.Count, 2);
  EXPECT_TRUE(Normal()->AssignedValues().Empty());
}

TEST_F(ContainerStyles, AssignCopiesValuesAndAssignedSet) {
  const TOwned<TcxContainerStyles> source(New<TcxContainerStyles>(nullptr, nullptr));
  source->Style()->SetBorderStyle(cbsThick);
  source->Style()->SetTextColor(clMaroon);
  source->Style()->SetShadow(true);
  Normal()->SetColor(clYellow);
  Normal()->Assign(source->Style());
  EXPECT_EQ(Normal()->AssignedValues(), source->Style()->AssignedValues());
  EXPECT_EQ(Normal()->BorderStyle(), cbsThick);
  EXPECT_EQ(Normal()->TextColor(), clMaroon);
  EXPECT_TRUE(Normal()->Shadow());
  EXPECT_EQ(Normal()->Color(), clBtnFace);
}

// ---------------------------------------------------------------------------
// Streaming

TEST(ContainerStylesStream, StoredValuesAndAssignedFontReadBackEqual) {
  const TOwned<TcxStyleController> controller(New<TcxStyleController>(nullptr));
  controller->SetName(L"Controller");
  controller->Style()->SetBorderStyle(cbsSingle);
  controller->Style()->SetEdges({bLeft, bBottom});
  controller->Style()->SetTransparentBorder(false);
  controller->StyleHot()->SetBorderColor(clRed);
  controller->StyleDisabled()->SetTextStyle({fsItalic, fsUnderline});
  // A font equal to the default one is still the style's own once assigned.
  TOwned<TFont> font(New<TFont>());
  font->Assign(controller->Style()->Font());
  controller->Style()->SetFont(font.get());
  const String text = WriteComponentToText(controller.get());
  EXPECT_NE(text.find(L"IsFontAssigned = True"), String::npos) << text;
  // Unassigned values are not written.
  EXPECT_EQ(text.find(L"Shadow"), String::npos) << text;
  EXPECT_EQ(text.find(L"StyleFocused.BorderColor"), String::npos) << text;

  const TOwned<TcxStyleController> read(static_cast<TcxStyleController*>(ReadComponentFromText(text)));
  ASSERT_NE(read.get(), nullptr);
  for (TcxContainerStateItem state : {csNormal, csActive, csDisabled, csHotTrack}) {
    SCOPED_TRACE(static_cast<int>(state));
    TcxContainerStyle* original = controller->GetInternalStyle(state);
    TcxContainerStyle* copy = read->GetInternalStyle(state);
    EXPECT_EQ(copy->AssignedValues(), original->AssignedValues());
    EXPECT_EQ(copy->BorderStyle(), original->BorderStyle());
    EXPECT_EQ(copy->BorderColor(), original->BorderColor());
    EXPECT_EQ(copy->Edges(), original->Edges());
    EXPECT_EQ(copy->TransparentBorder(), original->TransparentBorder());
    EXPECT_EQ(copy->TextStyle(), original->TextStyle());
  }
  EXPECT_TRUE(read->Style()->AssignedValues().Contains(svFont));
  EXPECT_EQ(read->Style()->Font()->Name(), font->Name());
  EXPECT_EQ(WriteComponentToText(read.get()), text);
}

}  // namespace
