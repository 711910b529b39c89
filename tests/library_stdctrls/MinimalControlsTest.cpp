// What the minimal library controls share: the four state styles, sizing to
// the caption, the style's font and the owned look and feel.
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/dxActivityIndicator.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// ---------------------------------------------------------------------------
// The four state styles

struct TStyledControlCase {
  const char* Name;
  TControl* (*Make)();
};

template <class T>
TControl* MakeControl() {
  return New<T>(nullptr);
}

const TStyledControlCase StyledControls[] = {
    {"CheckBox", &MakeControl<TcxCheckBox>},
    {"ComboBox", &MakeControl<TcxComboBox>},
};

class StateStyles : public testing::TestWithParam<TStyledControlCase> {};

TEST_P(StateStyles, ArePublishedByNameAsFourStylesOfTheControl) {
  TOwned<TControl> control(GetParam().Make());
  auto* owner = dynamic_cast<TcxEditStylesOwner*>(control.get());
  ASSERT_NE(owner, nullptr);
  const std::pair<const wchar_t*, TcxEditStyle*> styles[] = {{L"Style", owner->Style()},
                                                             {L"StyleDisabled", owner->StyleDisabled()},
                                                             {L"StyleFocused", owner->StyleFocused()},
                                                             {L"StyleHot", owner->StyleHot()}};
  std::set<TObject*> seen;
  for (const auto& [name, style] : styles) {
    SCOPED_TRACE(std::wstring(name));
    const TPropInfo* prop = GetPropInfo(control.get(), name);
    ASSERT_NE(prop, nullptr);
    ASSERT_EQ(prop->Kind(), tkClass);
    TObject* value = GetObjectProp(control.get(), prop);
    EXPECT_EQ(value, style);
    EXPECT_TRUE(Is<TcxEditStyle>(value));
    seen.insert(value);
  }
  EXPECT_EQ(seen.size(), 4u) << "four styles of their own";

  // Written by property, a style is copied into the control's own; a state
  // style keeps its per-state values and shares the normal style's look and feel.
  TOwned<TcxEditStyle> source(New<TcxEditStyle>(nullptr, false));
  source->SetBorderColor(clRed);
  source->SetButtonStyle(btsFlat);
  SetObjectProp(control.get(), GetPropInfo(control.get(), L"StyleHot"), source.get());
  EXPECT_NE(owner->StyleHot(), source.get());
  EXPECT_EQ(owner->StyleHot()->BorderColor(), clRed);
  EXPECT_EQ(owner->StyleHot()->ButtonStyle(), btsFlat);
  EXPECT_EQ(owner->Style()->ButtonStyle(), btsDefault) << "the other styles stay";
  EXPECT_EQ(owner->StyleHot()->LookAndFeel(), owner->Style()->LookAndFeel());
  // A normal-only value written on a state style lands on the normal style.
  owner->StyleHot()->SetHotTrack(false);
  EXPECT_FALSE(owner->Style()->HotTrack());
}

INSTANTIATE_TEST_SUITE_P(MinimalControls, StateStyles, testing::ValuesIn(StyledControls),
                         [](const testing::TestParamInfo<TStyledControlCase>& AInfo) { return AInfo.param.Name; });

// ---------------------------------------------------------------------------
// Sizing to the caption

TEST(CaptionSize, LeavesAcceleratorMarksOutAndFollowsTheFont) {
  TOwned<TFont> font(New<TFont>());
  const TcxCaptionSize plain = cxCaptionSize(font.get(), L"Open file");
  const TcxCaptionSize marked = cxCaptionSize(font.get(), L"&Open file");
  const TcxCaptionSize shorter = cxCaptionSize(font.get(), L"Open");
  EXPECT_GT(plain.Width, 0);
  EXPECT_GT(plain.LineHeight, 0);
  EXPECT_EQ(marked.Width, plain.Width);
  EXPECT_LT(shorter.Width, plain.Width);
  EXPECT_EQ(shorter.LineHeight, plain.LineHeight);
  EXPECT_EQ(cxCaptionSize(font.get(), String()).Width, 0);
  font->SetHeight(font->Height() * 2);
  const TcxCaptionSize larger = cxCaptionSize(font.get(), L"Open file");
  EXPECT_GT(larger.Width, plain.Width);
  EXPECT_GT(larger.LineHeight, plain.LineHeight);
}

// ---------------------------------------------------------------------------
// The owned look and feel

class TStyleChangeCounter : public TObject {
  SK_CLASS(TStyleChangeCounter, TObject)
 public:
  int Changes = 0;
  void Changed(TObject*) { ++Changes; }
};

TEST(LookAndFeelOwner, IsPublishedCopiedOnWriteAndHeardByItsStyle) {
  TOwned<TcxButton> button(New<TcxButton>(nullptr));
  TOwned<TdxActivityIndicator> indicator(New<TdxActivityIndicator>(nullptr));
  TOwned<TcxEditStyle> style(New<TcxEditStyle>(nullptr, false));
  TOwned<TcxLookAndFeel> source(New<TcxLookAndFeel>(nullptr));
  source->SetKind(lfOffice11);
  source->SetNativeStyle(false);
  const std::pair<TObject*, TcxLookAndFeelOwner*> owners[] = {
      {button.get(), button.get()}, {indicator.get(), indicator.get()}};
  std::set<TcxLookAndFeel*> seen;
  for (const auto& [object, owner] : owners) {
    SCOPED_TRACE(std::wstring(object->ClassName()));
    const TPropInfo* prop = GetPropInfo(object, L"LookAndFeel");
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(GetObjectProp(object, prop), owner->LookAndFeel());
    EXPECT_EQ(owner->LookAndFeel()->Kind(), lfUltraFlat);
    EXPECT_TRUE(owner->LookAndFeel()->NativeStyle());
    SetObjectProp(object, prop, source.get());
    EXPECT_NE(owner->LookAndFeel(), source.get());
    EXPECT_EQ(owner->LookAndFeel()->Kind(), lfOffice11);
    EXPECT_FALSE(owner->LookAndFeel()->NativeStyle());
    seen.insert(owner->LookAndFeel());
  }
  EXPECT_EQ(seen.size(), 2u);

  // A style hears the changes of its look and feel.
  TOwned<TStyleChangeCounter> counter(New<TStyleChangeCounter>());
  style->SetOnChanged(BindEvent<&TStyleChangeCounter::Changed>(counter.get()));
  style->LookAndFeel()->SetKind(lfFlat);
  EXPECT_EQ(counter->Changes, 1);
}

}  // namespace
