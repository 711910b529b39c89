#include "library/lookandfeel/skins/dxSkinsCore.h"

#include <gtest/gtest.h>

namespace {

class TChangeCounter : public TObject {
 public:
  void Changed(TObject*) { ++Count; }
  int Count = 0;
};

TEST(SkinDetails, EachNewTextIsReportedAndAnUpdateReportsOnce) {
  const TOwned<TdxSkinDetails> details(New<TdxSkinDetails>());
  TChangeCounter counter;
  details->SetOnChange(BindEvent<&TChangeCounter::Changed>(&counter));
  details->SetName(L"Lilian");
  details->SetName(L"Lilian");
  details->SetDisplayName(L"Lilian Blue");
  EXPECT_EQ(counter.Count, 2);

  counter.Count = 0;
  details->BeginUpdate();
  details->SetGroupName(L"Custom");
  details->SetNotes(L"Notes");
  details->BeginUpdate();
  details->SetName(L"Other");
  details->EndUpdate();
  EXPECT_EQ(counter.Count, 0);
  details->EndUpdate();
  EXPECT_EQ(counter.Count, 1);

  counter.Count = 0;
  details->BeginUpdate();
  details->SetName(L"Other");
  details->EndUpdate();
  EXPECT_EQ(counter.Count, 0) << "nothing changed inside the update";
}

TEST(SkinDetails, AssignCopiesTextsAndIconsAndClearEmptiesThem) {
  const TOwned<TdxSkinDetails> source(New<TdxSkinDetails>());
  source->SetName(L"Lilian");
  source->SetDisplayName(L"Lilian Blue");
  source->SetGroupName(L"Custom");
  source->SetNotes(L"Notes");
  source->ResetIcon(sis16);
  source->ResetIcon(sis48);
  // The test program carries the small default icon only.
  ASSERT_EQ(source->GetIcon(sis16)->Width(), 16);
  EXPECT_TRUE(source->GetIcon(sis48)->Empty());

  const TOwned<TdxSkinDetails> details(New<TdxSkinDetails>());
  TChangeCounter counter;
  details->SetOnChange(BindEvent<&TChangeCounter::Changed>(&counter));
  details->Assign(source.get());
  EXPECT_EQ(counter.Count, 1);
  EXPECT_EQ(details->Name(), L"Lilian");
  EXPECT_EQ(details->DisplayName(), L"Lilian Blue");
  EXPECT_EQ(details->GroupName(), L"Custom");
  EXPECT_EQ(details->Notes(), L"Notes");
  EXPECT_EQ(details->GetIcon(sis16)->Width(), 16);

  details->Clear();
  EXPECT_EQ(details->Name(), L"");
  EXPECT_EQ(details->DisplayName(), L"");
  EXPECT_EQ(details->GroupName(), L"");
  EXPECT_EQ(details->Notes(), L"");
  EXPECT_TRUE(details->GetIcon(sis16)->Empty());
}

}  // namespace
