// What the minimal library controls share: sizing to the caption and the
// owned look and feel.
#include "library/editors/edit/cxEdit.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/dxActivityIndicator.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

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
