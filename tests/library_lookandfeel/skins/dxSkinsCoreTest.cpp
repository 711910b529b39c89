#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "tests/library_lookandfeel/skins/SkinFixtures.h"

#include <gtest/gtest.h>

#include <vector>

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

// ---------------------------------------------------------------------------
// The skin object model

class TSkinChangeLog : public TObject {
 public:
  void Changed(TObject*, TdxSkinChanges AChanges) { Calls.push_back(AChanges); }
  std::vector<TdxSkinChanges> Calls;
};

TEST(SkinProperty, SizeChangesAreReportedAsContentAndEqualSizesAreNot) {
  const TOwned<TdxSkinSizeProperty> size(New<TdxSkinSizeProperty>(nullptr, L"Size"));
  const TOwned<TdxSkinSizeProperty> source(New<TdxSkinSizeProperty>(nullptr, L"Size"));
  source->SetValue(TSize(9, 9));
  TSkinChangeLog log;
  size->SetOnChange(BindEvent<&TSkinChangeLog::Changed>(&log));
  struct {
    const char* Name;
    void (*Change)(TdxSkinSizeProperty*, TdxSkinSizeProperty*);
    TSize Expected;
    bool Reported;
  } const rows[] = {
      {"value", [](TdxSkinSizeProperty* p, TdxSkinSizeProperty*) { p->SetValue(TSize(3, 4)); }, TSize(3, 4), true},
      {"same value", [](TdxSkinSizeProperty* p, TdxSkinSizeProperty*) { p->SetValue(TSize(3, 4)); }, TSize(3, 4), false},
      {"cx", [](TdxSkinSizeProperty* p, TdxSkinSizeProperty*) { p->Setcx(5); }, TSize(5, 4), true},
      {"cy", [](TdxSkinSizeProperty* p, TdxSkinSizeProperty*) { p->Setcy(6); }, TSize(5, 6), true},
      {"same cy", [](TdxSkinSizeProperty* p, TdxSkinSizeProperty*) { p->Setcy(6); }, TSize(5, 6), false},
      {"assign", [](TdxSkinSizeProperty* p, TdxSkinSizeProperty* s) { p->Assign(s); }, TSize(9, 9), true},
      {"assign again", [](TdxSkinSizeProperty* p, TdxSkinSizeProperty* s) { p->Assign(s); }, TSize(9, 9), false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    log.Calls.clear();
    row.Change(size.get(), source.get());
    EXPECT_EQ(size->Value(), row.Expected);
    if (row.Reported) {
      ASSERT_EQ(log.Calls.size(), 1u);
      EXPECT_EQ(log.Calls[0], TdxSkinChanges({scContent}));
    } else {
      EXPECT_TRUE(log.Calls.empty());
    }
  }
}

TEST(SkinProperty, UpdatesReportTheUnionOnceAndCancelledUpdatesNothing) {
  const TOwned<TdxSkinIntegerProperty> p(New<TdxSkinIntegerProperty>(nullptr, L"Value"));
  TSkinChangeLog log;
  p->SetOnChange(BindEvent<&TSkinChangeLog::Changed>(&log));
  p->BeginUpdate();
  p->Changed({scContent});
  p->Changed({scStruct});
  p->Changed({scContent});
  EXPECT_TRUE(log.Calls.empty());
  p->EndUpdate();
  ASSERT_EQ(log.Calls.size(), 1u);
  EXPECT_EQ(log.Calls[0], TdxSkinChanges({scStruct, scContent}));

  log.Calls.clear();
  p->BeginUpdate();
  p->SetValue(5);
  p->CancelUpdate();
  EXPECT_TRUE(log.Calls.empty());
  EXPECT_EQ(p->Value(), 5);
  p->Changed({});
  EXPECT_TRUE(log.Calls.empty()) << "what the cancelled update gathered is gone";
}

TEST(SkinProperty, DescriptionDropsThePrefixAndSuffix) {
  const struct {
    TClass Class;
    const wchar_t* Expected;
  } rows[] = {{TdxSkinIntegerProperty::ClassInfo(), L"Integer"},
              {TdxSkinColor::ClassInfo(), L"Color"},
              {TdxSkinWideStringProperty::ClassInfo(), L"WideString"},
              {TdxSkinAlternateImageAttributes::ClassInfo(), L"AlternateImageAttributes"}};
  for (const auto& row : rows) {
    const TOwned<TdxSkinProperty> p(NewOfClass<TdxSkinProperty>(row.Class, nullptr, L"x"));
    EXPECT_EQ(p->Description(), row.Expected);
  }
}

TEST(SkinColors, AReferenceResolvesThroughTheActivePaletteAndFallsBackToItsDefault) {
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Palettes"));
  skin->ColorPalettes()->Add(L"Default")->Add(L"Accent", TColor(0x00112233));
  skin->ColorPalettes()->Add(L"Plain")->Add(L"Other", TColor(0x00445566));
  TdxSkinElement* element = skin->AddGroup(L"Common")->AddElement(L"Button");
  element->SetColorReference(L"Accent");
  TdxSkinColor* color = skin->AddColor(L"Brush", TColor(0x00ABCDEF));
  color->SetValueReference(L"Accent");

  const struct {
    const char* Name;
    const wchar_t* Palette;
    TColor Expected;
  } rows[] = {{"the default palette names it", L"Default", TColor(0x00112233)},
              {"a palette without the name", L"Plain", clDefault},
              {"back to the default palette", L"Default", TColor(0x00112233)},
              {"an unknown palette chooses \"Default\"", L"Nothing", TColor(0x00112233)}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    skin->SetActiveColorPaletteName(row.Palette);
    EXPECT_EQ(element->Color(), row.Expected);
    EXPECT_EQ(color->Value(), row.Expected);
  }
  EXPECT_EQ(skin->ActiveColorPaletteName(), L"Default");

  // Clearing the reference keeps the value it resolved to.
  color->SetValueReference(String());
  skin->SetActiveColorPaletteName(L"Plain");
  EXPECT_EQ(color->Value(), TColor(0x00112233));
}

TEST(SkinColors, TheActivePaletteIsACopy) {
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Palettes"));
  TdxSkinColorPalette* source = skin->ColorPalettes()->Add(L"Default");
  source->Add(L"Accent", TColor(0x00112233));
  TdxSkinGeneralColorPalette* active = skin->ActiveColorPalette();
  ASSERT_EQ(active->Count(), 1);
  EXPECT_NE(static_cast<TdxSkinColorPalette*>(active), source);
  static_cast<TdxSkinColor*>(active->GetItem(0))->SetValue(TColor(0x00FFFFFF));
  EXPECT_EQ(static_cast<TdxSkinColor*>(source->GetItem(0))->Value(), TColor(0x00112233));
  // A change of the palettes chooses again, from the palette.
  source->Add(L"Second", TColor(0x00000001));
  ASSERT_EQ(active->Count(), 2);
  EXPECT_EQ(static_cast<TdxSkinColor*>(active->GetItem(0))->Value(), TColor(0x00112233));
  skin->ColorPalettes()->Clear();
  EXPECT_EQ(active->Count(), 0);
  EXPECT_EQ(skin->ActiveColorPaletteName(), L"Default");
}

TEST(SkinColors, AReferenceThatLeadsBackToItselfTakesTheDefault) {
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Cycle"));
  TdxSkinColorPalette* palette = skin->ColorPalettes()->Add(L"Default");
  palette->Add(L"A", String(L"B"));
  palette->Add(L"B", String(L"A"));
  palette->Add(L"Self", String(L"Self"));
  TdxSkinElement* element = skin->AddGroup(L"Common")->AddElement(L"Button");
  for (const wchar_t* name : {L"A", L"B", L"Self"}) {
    SCOPED_TRACE(UTF8Encode(name));
    element->SetColorReference(name);
    EXPECT_EQ(element->Color(), clDefault);
  }
  TdxSkinProperty* a = nullptr;
  ASSERT_TRUE(skin->ActiveColorPalette()->Find(L"A", a));
  EXPECT_EQ(static_cast<TdxSkinColor*>(a)->Value(), clDefault);
}

TEST(SkinElement, TextColorsFallBackToTheNormalStateWithAPrefix) {
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Text"));
  TdxSkinElement* element = skin->AddGroup(L"Common")->AddElement(L"Button");
  element->SetTextColor(TColor(0x00000010));
  element->AddPropertyColor(L"TabTextColorNormal", TColor(0x00000020));
  element->AddPropertyColor(L"TabTextColorPressed", TColor(0x00000030));
  element->AddPropertyColor(L"TextColorDisabled", TColor(0x00000040));
  const struct {
    const char* Name;
    TdxSkinElementState State;
    const wchar_t* Prefix;
    TColor Expected;
  } rows[] = {{"prefixed state present", esPressed, L"Tab", TColor(0x00000030)},
              {"prefixed state absent: the prefixed normal colour", esHot, L"Tab", TColor(0x00000020)},
              {"unprefixed state present", esDisabled, L"", TColor(0x00000040)},
              {"unprefixed state absent: TextColor", esHot, L"", TColor(0x00000010)},
              {"no such prefix: TextColor", esHot, L"Nothing", TColor(0x00000010)}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(element->GetTextColor(row.State, row.Prefix), row.Expected);
  }
  EXPECT_EQ(element->FindColor(String()), clDefault);
  EXPECT_EQ(element->GetTextColor(String(L"Missing")), TColor(0x00000010));
}

TEST(SkinElement, ButtonStateTextColorsFallBackToDisabledTextThenNormal) {
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Text"));
  TdxSkinElement* element = skin->AddGroup(L"Common")->AddElement(L"Button");
  element->SetTextColor(TColor(0x00000010));
  element->AddPropertyColor(L"TabTextColor", TColor(0x00000020));
  element->AddPropertyColor(L"TabTextColorSelected", TColor(0x00000030));
  element->AddPropertyColor(L"TabDisabledText", TColor(0x00000040));
  element->AddPropertyColor(L"TextColorHot", TColor(0x00000050));
  const struct {
    const char* Name;
    TcxButtonState State;
    const wchar_t* Prefix;
    TColor Expected;
  } rows[] = {{"default reads the selected colour", cxbsDefault, L"Tab", TColor(0x00000030)},
              {"hot without its colour: the prefixed normal colour", cxbsHot, L"Tab", TColor(0x00000020)},
              {"disabled without its colour: DisabledText", cxbsDisabled, L"Tab", TColor(0x00000040)},
              {"unprefixed hot present", cxbsHot, L"", TColor(0x00000050)},
              {"unprefixed pressed absent: TextColor", cxbsPressed, L"", TColor(0x00000010)}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(element->GetTextColor(row.State, row.Prefix), row.Expected);
  }
}

TEST(SkinLists, FindSortsFirstAndAgainAfterAnAddition) {
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Find"));
  for (const wchar_t* name : {L"Gamma", L"alpha", L"Beta"}) skin->AddGroup(name);
  EXPECT_EQ(skin->GetGroup(0)->Name(), L"Gamma") << "in the order added until a lookup";
  ASSERT_TRUE(skin->GetGroupByName(L"Beta"));
  // The locale's order: case follows the letter.
  EXPECT_EQ(skin->GetGroup(0)->Name(), L"alpha");
  EXPECT_EQ(skin->GetGroup(1)->Name(), L"Beta");
  EXPECT_EQ(skin->GetGroup(2)->Name(), L"Gamma");
  skin->AddGroup(L"Aardvark");
  EXPECT_EQ(skin->GetGroup(3)->Name(), L"Aardvark");
  EXPECT_TRUE(skin->GetGroupByName(L"Aardvark"));
  EXPECT_EQ(skin->GetGroup(0)->Name(), L"Aardvark");
  EXPECT_FALSE(skin->GetGroupByName(L"beta")) << "the lookup itself keeps case";
  TdxSkinControlGroup* group = nullptr;
  EXPECT_FALSE(skin->GetGroupByName(L"Delta", group));
  EXPECT_EQ(group, nullptr);
}

TEST(SkinCompare, ACloneIsEqualAndEachChangeMakesItDiffer) {
  const TOwned<TdxSkin> skin = BuildLilianSkin();
  struct {
    const char* Name;
    void (*Change)(TdxSkin*);
  } const rows[] = {
      {"nothing", [](TdxSkin*) {}},
      {"a colour", [](TdxSkin* s) { s->GetColor(0)->SetValue(TColor(0x00000001)); }},
      {"a reference", [](TdxSkin* s) { s->GetColor(1)->SetValueReference(L"Other"); }},
      {"an element's alpha", [](TdxSkin* s) { s->GetGroup(0)->GetElement(0)->SetAlpha(1); }},
      {"an image margin", [](TdxSkin* s) { s->GetGroup(0)->GetElement(0)->Image()->SetMargins(TRect(1, 1, 1, 1)); }},
      {"a border", [](TdxSkin* s) { s->GetGroup(0)->GetElement(0)->Borders()->Top()->SetThin(4); }},
      {"a palette colour",
       [](TdxSkin* s) { static_cast<TdxSkinColor*>(s->ColorPalettes()->Items(0)->GetItem(0))->SetValue(clRed); }},
      {"a string's case", [](TdxSkin* s) {
         static_cast<TdxSkinStringProperty*>(s->GetProperty(4))->SetValue(L"SCH\u00d6N");
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const TOwned<TdxSkin> clone = skin->Clone(L"ignored");
    EXPECT_EQ(clone->Name(), L"Lilian") << "a clone carries the skin's name";
    EXPECT_TRUE(clone->Compare(skin.get()));
    row.Change(clone.get());
    EXPECT_EQ(clone->Compare(skin.get()), std::string(row.Name) == "nothing");
  }
}

class TSkinListener : public TInterfacedObject, public IdxSkinChangeListener2 {
  SK_CLASS(TSkinListener, TInterfacedObject)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxSkinChangeListener2>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void SkinChanged(TdxSkin* ASkin, TdxSkinChanges AChanges) override {
    Calls.push_back(AChanges);
    // A listener's own change is not reported again.
    ASkin->AddColor(L"ByListener" + IntToStr(static_cast<int>(Calls.size())), clRed);
  }
  std::vector<TdxSkinChanges> Calls;
};

TEST(SkinListeners, AreToldOfEachChangeBeforeOnChange) {
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Listened"));
  IPtr<TSkinListener> listener(New<TSkinListener>());
  skin->AddListener(static_cast<IdxSkinChangeListener2*>(listener.Get()));
  TSkinChangeLog log;
  skin->SetOnChange(BindEvent<&TSkinChangeLog::Changed>(&log));
  skin->AddGroup(L"Common");
  ASSERT_EQ(listener->Calls.size(), 1u);
  EXPECT_EQ(listener->Calls[0], TdxSkinChanges({scStruct}));
  EXPECT_EQ(log.Calls.size(), 1u);
  skin->Details()->SetNotes(L"n");
  ASSERT_EQ(listener->Calls.size(), 2u);
  EXPECT_EQ(listener->Calls[1], TdxSkinChanges({scDetails}));
  skin->RemoveListener(static_cast<IdxSkinChangeListener2*>(listener.Get()));
  skin->AddGroup(L"Grid");
  EXPECT_EQ(listener->Calls.size(), 2u);
  EXPECT_EQ(log.Calls.size(), 3u);
}

TEST(SkinProperties, DeletingFromASkinFindsTheListThatHoldsIt) {
  const TOwned<TdxSkin> skin = BuildLilianSkin();
  skin->DeleteProperty(skin->GetColor(0));
  EXPECT_EQ(skin->ColorCount(), 1);
  skin->DeleteProperty(skin->GetProperty(0));
  EXPECT_EQ(skin->PropertyCount(), 5);
  skin->DeletePropertyByName(L"NoSuchProperty");
  EXPECT_EQ(skin->PropertyCount(), 5);
}

}  // namespace
