#include "library/editors/dropdown/cxDropDownEdit_Filtering.h"

#include "library/graphics/text/cxDrawTextUtils.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/ui/Forms.h"

#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what the search box hands to its helper.
class TRecordingFilterHelper : public TdxCustomIncrementalFilteringHelper {
  SK_CLASS(TRecordingFilterHelper, TdxCustomIncrementalFilteringHelper)
 public:
  std::vector<WORD> KeysDown;
  std::vector<wchar_t> Chars;
  std::vector<String> Texts;

  TcxCustomLookAndFeelPainter* GetPainter() override { return nullptr; }
  void SearchEditKeyDown(TObject*, WORD& Key, TShiftState) override { KeysDown.push_back(Key); }
  void HandleSearchKey(TObject*, wchar_t& Key) override { Chars.push_back(Key); }
  void SearchEditMouseWheel(TObject*, TShiftState, int, TPoint, bool&) override {}
  void SearchEditValueChanged(TObject*) override { Texts.push_back(GetSearchText()); }
};

TEST(IncrementalFilteringHelper, WiresTheSearchBoxAndFreesItTwiceHarmlessly) {
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->SetBounds(80, 80, 240, 90);
  form->Show();
  TOwned<TRecordingFilterHelper> helper(New<TRecordingFilterHelper>());
  EXPECT_EQ(helper->GetSearchText(), String());
  helper->CreateSearchEdit();
  helper->InitializeSearchEdit();
  TcxCustomTextEdit* box = helper->SearchEdit();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Owner(), nullptr);
  EXPECT_FALSE(box->BeepOnEnter());
  ASSERT_EQ(box->Properties()->Buttons()->Count(), 1);
  EXPECT_EQ(box->Properties()->Buttons()->Items(0)->Kind(), bkGlyph);
  box->SetParent(form.get());
  box->SetBounds(8, 8, 160, 22);
  SetForegroundWindow(form->Handle());
  PumpUntil([&] { return GetForegroundWindow() == form->Handle(); });
  box->SetFocus();
  PumpUntil([&] { return box->Focused(); });
  SendText(L"ab");
  PumpUntil([&] { return helper->Texts.size() >= 2; });
  PumpPending();
  EXPECT_EQ(helper->Texts, (std::vector<String>{L"a", L"ab"}));
  EXPECT_EQ(helper->Chars, (std::vector<wchar_t>{L'a', L'b'}));
  EXPECT_EQ(helper->GetSearchText(), L"ab");
  helper->DestroySearchEdit();
  EXPECT_EQ(helper->SearchEdit(), nullptr);
  helper->DestroySearchEdit();
  EXPECT_EQ(helper->GetSearchText(), String());
}

TEST(IncrementalFilteringPanel, MeasuresItsTextAndMirrorsItsFlags) {
  TOwned<TdxCustomIncrementalFilteringContainerViewInfo> info(New<TdxCustomIncrementalFilteringContainerViewInfo>());
  TOwned<TFont> font(New<TFont>());
  font->SetHeight(13);
  info->Font = font.get();
  TEXTMETRICW metrics{};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  GetTextMetricsW(dc, &metrics);
  SIZE extent{};
  const String text = L"No matches found";
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  ASSERT_GT(metrics.tmHeight, 0);

  EXPECT_EQ(info->GetSearchInfoPanelText(), text);
  EXPECT_EQ(info->GetSearchInfoPanelHeight(), metrics.tmHeight + 8);
  info->SearchInfoPanelHeight = 30;
  EXPECT_EQ(info->GetSearchInfoPanelHeight(), 30);
  EXPECT_EQ(info->GetSearchInfoPanelWidth(), extent.cx + 8);
  EXPECT_EQ(info->GetSearchInfoPanelTextDrawFlags(), 0x210u);
  info->UseRightToLeftAlignment = true;
  EXPECT_EQ(info->GetSearchInfoPanelTextDrawFlags(), 0x4000212u);
  EXPECT_FALSE(info->IsSearchInfoPanelVisible());
}

TEST(IncrementalFilteringPopup, CopiesThePanelSwitchIntoItsPaintRecord) {
  TOwned<TForm> owner(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  TOwned<TdxCustomIncrementalFilteringPopupWindow> popup(
      NewWith<TdxCustomIncrementalFilteringPopupWindow>([&](TdxCustomIncrementalFilteringPopupWindow* p) {
        p->CreateNew(owner.get());
      }));
  ASSERT_NE(popup->ViewInfo(), nullptr);
  EXPECT_FALSE(popup->ViewInfo()->ShowSearchInfoPanel);
  popup->SetShowSearchInfoPanel(true);
  EXPECT_TRUE(popup->ShowSearchInfoPanel());
  EXPECT_TRUE(popup->ViewInfo()->ShowSearchInfoPanel);
  EXPECT_EQ(popup->ViewInfo()->ScaleFactor()->Owner(), popup->ScaleFactor());
}

}  // namespace
