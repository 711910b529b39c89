#include "components/settings/RzCommon.h"

#include "platform/classes/FormReader.h"
#include "platform/ui/Forms.h"
#include "tests/components_settings/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace {

enum TFruit { frApple, frBanana, frCherry };
enum TColourBit { cbRed, cbGreen, cbBlue };
using TColourBits = TSet<TColourBit>;

}  // namespace

template <>
struct TEnumInfo<TFruit> {
  static constexpr const wchar_t* Name = L"TFruit";
  static constexpr const wchar_t* Names[] = {L"frApple", L"frBanana", L"frCherry"};
  static constexpr TFruit Last = frCherry;
};
template <>
struct TEnumInfo<TColourBit> {
  static constexpr const wchar_t* Name = L"TColourBit";
  static constexpr const wchar_t* Names[] = {L"cbRed", L"cbGreen", L"cbBlue"};
  static constexpr TColourBit Last = cbBlue;
};

namespace {

class TSubjectItem : public TCollectionItem {
  SK_CLASS(TSubjectItem, TCollectionItem)
 public:
  static void Publish(TPublisher<TSubjectItem>& P) {
    P.Property(L"Caption", &TSubjectItem::Caption, &TSubjectItem::SetCaption);
    P.Property(L"Value", &TSubjectItem::Value, &TSubjectItem::SetValue);
    P.Property(L"Fruit", &TSubjectItem::Fruit, &TSubjectItem::SetFruit);
  }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& A) { FCaption = A; }
  int Value() const { return FValue; }
  void SetValue(int A) { FValue = A; }
  TFruit Fruit() const { return FFruit; }
  void SetFruit(TFruit A) { FFruit = A; }

 private:
  String FCaption;
  int FValue;
  TFruit FFruit;
};

// A nested object stored property by property, one level deep.
class TSubjectOptions : public TPersistent {
  SK_CLASS(TSubjectOptions, TPersistent)
 public:
  static void Publish(TPublisher<TSubjectOptions>& P) {
    P.Property(L"Width", &TSubjectOptions::Width, &TSubjectOptions::SetWidth);
    P.Property(L"Title", &TSubjectOptions::Title, &TSubjectOptions::SetTitle);
    P.Property(L"Inner", &TSubjectOptions::Inner, &TSubjectOptions::SetInner);
  }
  int Width() const { return FWidth; }
  void SetWidth(int A) { FWidth = A; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& A) { FTitle = A; }
  TStringList* Inner() const { return FInner; }
  void SetInner(TStringList* A) { FInner = A; }

 private:
  int FWidth;
  String FTitle;
  TStringList* FInner;
};

// One published property of every kind the store knows, and some it skips.
class TSubject : public TComponent {
  SK_CLASS(TSubject, TComponent)
 public:
  static void Publish(TPublisher<TSubject>& P) {
    P.Property(L"Count", &TSubject::Count, &TSubject::SetCount);
    P.Property(L"Letter", &TSubject::Letter, &TSubject::SetLetter);
    P.Property(L"Fruit", &TSubject::Fruit, &TSubject::SetFruit);
    P.Property(L"Checked", &TSubject::Checked, &TSubject::SetChecked);
    P.Property(L"Ratio", &TSubject::Ratio, &TSubject::SetRatio);
    P.Property(L"Text", &TSubject::Text, &TSubject::SetText);
    P.Property(L"Colours", &TSubject::Colours, &TSubject::SetColours);
    P.Property(L"Big", &TSubject::Big, &TSubject::SetBig);
    P.Property(L"Colour", &TSubject::Colour, &TSubject::SetColour);
    P.Property(L"Small", &TSubject::Small, &TSubject::SetSmall);
    P.Property(L"Huge", &TSubject::Huge, &TSubject::SetHuge);
    P.Property(L"Lines", &TSubject::Lines, &TSubject::SetLines);
    P.Property(L"Items", &TSubject::Items, &TSubject::SetItems);
    P.Property(L"Options", &TSubject::Options);
    P.Property(L"Partner", &TSubject::Partner, &TSubject::SetPartner);
    P.Property(L"OnChange", &TSubject::OnChange, &TSubject::SetOnChange);
    P.Property(L"ReadOnlyCount", &TSubject::Count);
  }
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    FLines = New<TStringList>();
    FItems = New<TCollection>(TSubjectItem::ClassInfo());
    FOptions = New<TSubjectOptions>();
    FInner = New<TStringList>();
    FOptions->SetInner(FInner);
  }
  void Destroy() override {
    FreeAndNil(FLines);
    FreeAndNil(FItems);
    FreeAndNil(FOptions);
    FreeAndNil(FInner);
    inherited::Destroy();
  }

  int Count() const { return FCount; }
  void SetCount(int A) { FCount = A; }
  wchar_t Letter() const { return FLetter; }
  void SetLetter(wchar_t A) { FLetter = A; }
  TFruit Fruit() const { return FFruit; }
  void SetFruit(TFruit A) { FFruit = A; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool A) { FChecked = A; }
  double Ratio() const { return FRatio; }
  void SetRatio(double A) { FRatio = A; }
  const String& Text() const { return FText; }
  void SetText(const String& A) { FText = A; }
  TColourBits Colours() const { return FColours; }
  void SetColours(TColourBits A) { FColours = A; }
  std::uint32_t Big() const { return FBig; }
  void SetBig(std::uint32_t A) { FBig = A; }
  TColor Colour() const { return FColour; }
  void SetColour(TColor A) { FColour = A; }
  std::uint8_t Small() const { return FSmall; }
  void SetSmall(std::uint8_t A) { FSmall = A; }
  std::int64_t Huge() const { return FHuge; }
  void SetHuge(std::int64_t A) { FHuge = A; }
  TStringList* Lines() const { return FLines; }
  void SetLines(TStringList* A) { FLines->Assign(A); }
  TCollection* Items() const { return FItems; }
  void SetItems(TCollection* A) { FItems->Assign(A); }
  TSubjectOptions* Options() const { return FOptions; }
  TComponent* Partner() const { return FPartner; }
  void SetPartner(TComponent* A) { FPartner = A; }
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent A) { FOnChange = A; }
  void Changed(TObject*) {}

  TSubjectItem* AddItem(const String& ACaption, int AValue, TFruit AFruit) {
    auto* item = static_cast<TSubjectItem*>(FItems->Add());
    item->SetCaption(ACaption);
    item->SetValue(AValue);
    item->SetFruit(AFruit);
    return item;
  }

 private:
  int FCount;
  wchar_t FLetter;
  TFruit FFruit;
  bool FChecked;
  double FRatio;
  String FText;
  TColourBits FColours;
  std::uint32_t FBig;
  TColor FColour;
  std::uint8_t FSmall;
  std::int64_t FHuge;
  TStringList* FLines;
  TCollection* FItems;
  TSubjectOptions* FOptions;
  TStringList* FInner;
  TComponent* FPartner;
  TNotifyEvent FOnChange;
};

const wchar_t* const AllProperties[] = {L"Count",  L"Letter", L"Fruit",   L"Checked", L"Ratio",   L"Text",
                                        L"Colours", L"Big",   L"Colour",  L"Small",   L"Huge",    L"Lines",
                                        L"Items",  L"Options", L"Partner", L"OnChange", L"ReadOnlyCount"};

// A store and its storage in a scratch file, owned by one root component.
class PropertyStore : public testing::Test {
 protected:
  void SetUp() override {
    Root = New<TComponent>(nullptr);
    Ini = New<TRzRegIniFile>(Root);
    Ini->SetPath(Dir.File(L"store.cfg"));
    Store = New<TRzPropertyStore>(Root);
    Store->SetRegIniFile(Ini);
    Store->SetSection(L"Test");
  }
  void TearDown() override { Root->Free(); }

  TSubject* NewSubject(const String& AName) {
    auto* subject = New<TSubject>(Root);
    subject->SetName(AName);
    return subject;
  }
  void StoreAll(TSubject* ASubject) {
    for (const wchar_t* name : AllProperties) Store->AddProperty(ASubject, name);
  }
  String Value(const String& AKey) { return Ini->ReadString(L"Test", AKey, L"<missing>"); }

  TTempDir Dir;
  TComponent* Root;
  TRzRegIniFile* Ini;
  TRzPropertyStore* Store;
};

void Fill(TSubject* S) {
  S->SetCount(-123456);
  S->SetLetter(L'Z');
  S->SetFruit(frCherry);
  S->SetChecked(true);
  S->SetRatio(0.375);
  S->SetText(L"115200");
  S->SetColours({cbRed, cbBlue});
  S->SetBig(3000000000u);
  S->SetColour(clBtnFace);
  S->SetSmall(200);
  S->SetHuge(1);
  S->Lines()->SetText(L"first\r\nsecond\r\n");
  S->AddItem(L"one", 1, frApple);
  S->AddItem(L"two", 2, frBanana);
  S->Options()->SetWidth(77);
  S->Options()->SetTitle(L"Optionen");
  S->Options()->Inner()->Add(L"not stored");
}

TEST_F(PropertyStore, EveryKindRoundTripsThroughTheFile) {
  TSubject* source = NewSubject(L"Subject");
  Fill(source);
  source->SetPartner(Root);
  StoreAll(source);
  Store->Save();

  // The next run: a fresh component of the same name reads the file.
  source->Free();
  Store->Properties()->Clear();
  Ini->SetPath(String());
  Ini->SetPath(Dir.File(L"store.cfg"));
  TSubject* target = NewSubject(L"Subject");
  StoreAll(target);
  Store->Load();
  EXPECT_EQ(target->Count(), -123456);
  EXPECT_EQ(target->Letter(), L'Z');
  EXPECT_EQ(target->Fruit(), frCherry);
  EXPECT_TRUE(target->Checked());
  EXPECT_DOUBLE_EQ(target->Ratio(), 0.375);
  EXPECT_EQ(target->Text(), L"115200");
  EXPECT_EQ(target->Colours(), (TColourBits{cbRed, cbBlue}));
  EXPECT_EQ(target->Big(), 3000000000u);
  EXPECT_EQ(target->Colour(), clBtnFace);
  EXPECT_EQ(target->Small(), 200);
  EXPECT_EQ(target->Lines()->ToStringArray(), (std::vector<String>{L"first", L"second"}));
  ASSERT_EQ(target->Items()->Count(), 2);
  auto* second = static_cast<TSubjectItem*>(target->Items()->Items(1));
  EXPECT_EQ(second->Caption(), L"two");
  EXPECT_EQ(second->Value(), 2);
  EXPECT_EQ(second->Fruit(), frBanana);
  EXPECT_EQ(target->Options()->Width(), 77);
  EXPECT_EQ(target->Options()->Title(), L"Optionen");
  // What the store does not keep stays as it was.
  EXPECT_EQ(target->Huge(), 0);
  EXPECT_EQ(target->Partner(), nullptr);
  EXPECT_EQ(target->Options()->Inner()->Count(), 0);
}

TEST_F(PropertyStore, KeysAndValuesAsTheFileHoldsThem) {
  TSubject* subject = NewSubject(L"Subject");
  Fill(subject);
  StoreAll(subject);
  Store->Save();
  struct TKey {
    const wchar_t* Key;
    const wchar_t* Value;
  };
  const TKey keys[] = {
      {L"Subject.Count", L"-123456"},       {L"Subject.Letter", L"90"},
      {L"Subject.Fruit", L"frCherry"},      {L"Subject.Checked", L"True"},
      {L"Subject.Text", L"115200"},         {L"Subject.Colours", L"cbRed,cbBlue"},
      {L"Subject.Colour", L"-16777201"},    {L"Subject.Lines_Count", L"2"},
      {L"Subject.Lines[1]", L"second"},     {L"Subject.Items_Count", L"2"},
      {L"Subject.Items[0].Caption", L"one"}, {L"Subject.Items[1].Fruit", L"frBanana"},
      {L"Subject.Options.Width", L"77"},    {L"Subject.Options.Title", L"Optionen"},
      {L"Subject.Huge", L"<missing>"},      {L"Subject.Partner", L"<missing>"},
      {L"Subject.OnChange", L"<missing>"},  {L"Subject.Options.Inner", L"<missing>"},
      {L"Subject.Options.Inner_Count", L"<missing>"},
  };
  for (const TKey& k : keys) {
    SCOPED_TRACE(k.Key);
    EXPECT_EQ(Value(k.Key), k.Value);
  }
}

TEST_F(PropertyStore, TheMainWindowsTwoSettingsInTheirSection) {
  TSubject* baud = NewSubject(L"CB_Baudrate");
  TSubject* end = NewSubject(L"CB_EndAfterFlash");
  baud->SetText(L"115200");
  end->SetChecked(false);
  Store->SetSection(L"Skarnivel configuration");
  Store->AddProperty(baud, L"Text");
  Store->AddProperty(end, L"Checked");
  Store->Save();
  EXPECT_EQ(FileBytes(Dir.File(L"store.cfg")),
            "[Skarnivel configuration]\r\nCB_Baudrate.Text=115200\r\nCB_EndAfterFlash.Checked=False\r\n\r\n");
}

TEST_F(PropertyStore, OnlyKeysThatExistAreApplied) {
  WriteFileBytes(Dir.File(L"store.cfg"), "[Test]\r\nS.Text=57600\r\n");
  Ini->SetPath(String());
  Ini->SetPath(Dir.File(L"store.cfg"));
  TSubject* subject = NewSubject(L"S");
  subject->SetText(L"9600");
  subject->SetChecked(true);
  subject->SetCount(5);
  Store->AddProperty(subject, L"Text");
  Store->AddProperty(subject, L"Checked");
  Store->AddProperty(subject, L"Count");
  Store->Load();
  EXPECT_EQ(subject->Text(), L"57600");
  EXPECT_TRUE(subject->Checked());
  EXPECT_EQ(subject->Count(), 5);
}

TEST_F(PropertyStore, UnusableEntriesAreSkippedSilently) {
  TDialogRecorder dialogs;
  TSubject* subject = NewSubject(L"S");
  subject->SetCount(3);
  Store->AddProperty(subject, L"NoSuchProperty");
  Store->AddProperty(nullptr, L"Count");
  Store->AddProperty(subject, L"");
  Store->AddProperty(subject, L"Count");
  Store->Save();
  EXPECT_EQ(Value(L"S.Count"), L"3");
  TOwned<TStringList> names(New<TStringList>());
  Ini->ReadSection(L"Test", names.get());
  EXPECT_EQ(names->Count(), 1);
  Store->Load();
  EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(PropertyStore, ACollectionTakesTheStoredCount) {
  TSubject* subject = NewSubject(L"S");
  Store->AddProperty(subject, L"Items");
  for (int i = 0; i < 3; ++i) subject->AddItem(L"stored", i, frApple);
  Store->Save();
  subject->Items()->Clear();
  for (int i = 0; i < 5; ++i) subject->AddItem(L"present", i, frCherry);
  Store->Load();
  ASSERT_EQ(subject->Items()->Count(), 3);
  EXPECT_EQ(static_cast<TSubjectItem*>(subject->Items()->Items(2))->Caption(), L"stored");

  // A stored count of 0 leaves the collection as it is.
  Ini->WriteInteger(L"Test", L"S.Items_Count", 0);
  Store->Load();
  EXPECT_EQ(subject->Items()->Count(), 3);
}

TEST_F(PropertyStore, AnEmptyListWritesNothingAndLoadsNothing) {
  TSubject* subject = NewSubject(L"S");
  Store->AddProperty(subject, L"Lines");
  Store->Save();
  EXPECT_EQ(Value(L"S.Lines_Count"), L"<missing>");
  subject->Lines()->Add(L"kept");
  Store->Load();
  EXPECT_EQ(subject->Lines()->ToStringArray(), std::vector<String>{L"kept"});
}

TEST_F(PropertyStore, ABadEnumerationNameStopsTheLoadWithTheConversionError) {
  TSubject* subject = NewSubject(L"S");
  Ini->WriteString(L"Test", L"S.Text", L"19200");
  Ini->WriteString(L"Test", L"S.Checked", L"Vielleicht");
  Ini->WriteString(L"Test", L"S.Count", L"9");
  Store->AddProperty(subject, L"Text");
  Store->AddProperty(subject, L"Checked");
  Store->AddProperty(subject, L"Count");
  try {
    Store->Load();
    ADD_FAILURE() << "no error";
  } catch (const EPropertyConvertError& E) {
    EXPECT_EQ(E.Message(), L"Ungültiges Eigenschaftselement: Vielleicht");
  }
  EXPECT_EQ(subject->Text(), L"19200");
  EXPECT_FALSE(subject->Checked());
  EXPECT_EQ(subject->Count(), 0);
}

TEST_F(PropertyStore, EnumerationNamesAreNotCaseSensitive) {
  TSubject* subject = NewSubject(L"S");
  Ini->WriteString(L"Test", L"S.Checked", L"true");
  Ini->WriteString(L"Test", L"S.Fruit", L"FRBANANA");
  Store->AddProperty(subject, L"Checked");
  Store->AddProperty(subject, L"Fruit");
  Store->Load();
  EXPECT_TRUE(subject->Checked());
  EXPECT_EQ(subject->Fruit(), frBanana);
}

TEST_F(PropertyStore, HostileStoredValuesGiveClearErrors) {
  struct TCase {
    const wchar_t* Name;
    const wchar_t* Property;
    const wchar_t* Key;
    const wchar_t* Value;
  };
  const TCase cases[] = {
      {L"byte out of range", L"Small", L"S.Small", L"300"},
      {L"negative byte", L"Small", L"S.Small", L"-1"},
      {L"collection count beyond reason", L"Items", L"S.Items_Count", L"2000000000"},
      {L"list count beyond reason", L"Lines", L"S.Lines_Count", L"999999999"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Store->Properties()->Clear();
    TSubject* subject = NewSubject(L"S");
    subject->AddItem(L"kept", 1, frApple);
    Ini->EraseSection(L"Test");
    Ini->WriteString(L"Test", c.Key, c.Value);
    Store->AddProperty(subject, c.Property);
    EXPECT_THROW(Store->Load(), ERzPropertyStoreError);
    EXPECT_EQ(subject->Small(), 0);
    EXPECT_EQ(subject->Items()->Count(), 1);
    subject->Free();
  }
}

TEST_F(PropertyStore, OverlongTextsAreRefused) {
  TSubject* subject = NewSubject(L"S");
  subject->SetText(L"kept");
  Store->AddProperty(subject, L"Text");
  Store->AddProperty(subject, L"Lines");
  const String longest(TRzPropertyStore::MaxStoredTextLength, L'7');
  Ini->WriteString(L"Test", L"S.Text", longest);
  Store->Load();
  EXPECT_EQ(subject->Text(), longest);
  Ini->WriteString(L"Test", L"S.Text", longest + L"7");
  EXPECT_THROW(Store->Load(), ERzPropertyStoreError);
  EXPECT_EQ(subject->Text(), longest);
  Ini->WriteString(L"Test", L"S.Text", L"short");
  Ini->WriteInteger(L"Test", L"S.Lines_Count", 1);
  Ini->WriteString(L"Test", L"S.Lines[0]", longest + L"7");
  EXPECT_THROW(Store->Load(), ERzPropertyStoreError);
  EXPECT_EQ(subject->Text(), L"short");
}

TEST_F(PropertyStore, AnUnknownSetElementIsAConversionError) {
  TSubject* subject = NewSubject(L"S");
  Ini->WriteString(L"Test", L"S.Colours", L"cbRed,cbPurple");
  Store->AddProperty(subject, L"Colours");
  EXPECT_THROW(Store->Load(), EPropertyConvertError);
  EXPECT_TRUE(subject->Colours().Empty());
}

TEST_F(PropertyStore, WithoutStorageBothShowTheirErrorDialog) {
  TDialogRecorder dialogs;
  Store->SetRegIniFile(nullptr);
  Store->AddProperty(NewSubject(L"S"), L"Count");
  EXPECT_NO_THROW(Store->Save());
  EXPECT_NO_THROW(Store->Load());
  ASSERT_EQ(dialogs.Shown().size(), 2u);
  EXPECT_EQ(dialogs.Shown()[0].Text, L"Cannot save property settings--No TRzRegIniFile component specified");
  EXPECT_EQ(dialogs.Shown()[1].Text, L"Cannot load property settings--No TRzRegIniFile component specified");
  for (const TMessageDlgParams& shown : dialogs.Shown()) {
    EXPECT_EQ(shown.DlgType, mtError);
    EXPECT_EQ(shown.Buttons, TMsgDlgButtons{mbOK});
    EXPECT_EQ(shown.X, -1);
  }
  EXPECT_FALSE(FileThere(Dir.File(L"store.cfg")));
}

TEST_F(PropertyStore, FreedComponentsAreDropped) {
  TSubject* subject = NewSubject(L"S");
  TRzPropertyItem* item = Store->AddProperty(subject, L"Count");
  subject->Free();
  EXPECT_EQ(item->Component(), nullptr);
  EXPECT_EQ(item->DisplayName(), L"<CompName>.Count");
  Ini->Free();
  EXPECT_EQ(Store->RegIniFile(), nullptr);
}

TEST_F(PropertyStore, ItemsCopyAndNameThemselves) {
  TSubject* subject = NewSubject(L"Baud");
  TRzPropertyItem* item = Store->Properties()->AddProperty(subject, L"Text");
  EXPECT_EQ(item->DisplayName(), L"Baud.Text");
  TRzPropertyItem* other = Store->Properties()->Add();
  EXPECT_EQ(other->DisplayName(), L"<CompName>.<PropName>");
  Store->Properties()->SetItems(1, item);
  EXPECT_EQ(other->Component(), subject);
  EXPECT_EQ(other->PropertyName(), L"Text");
  TOwned<TRzPropertyStore> copy(New<TRzPropertyStore>(nullptr));
  copy->SetProperties(Store->Properties());
  ASSERT_EQ(copy->Properties()->Count(), 2);
  EXPECT_EQ(copy->Properties()->Items(0)->DisplayName(), L"Baud.Text");
  // The copy also hears when the component goes.
  subject->Free();
  EXPECT_EQ(copy->Properties()->Items(0)->Component(), nullptr);
}

TEST(PropertyStoreSection, NamedAfterTheFormOrGeneric) {
  TOwned<TForm> form(New<TForm>(nullptr));
  auto* onForm = New<TRzPropertyStore>(form.get());
  EXPECT_EQ(onForm->GetSectionName(), L"TForm_Properties");
  form->SetName(L"MainForm");
  EXPECT_EQ(onForm->GetSectionName(), L"MainForm_Properties");
  onForm->SetSection(L"Skarnivel configuration");
  EXPECT_EQ(onForm->GetSectionName(), L"Skarnivel configuration");
  TOwned<TComponent> plain(New<TComponent>(nullptr));
  EXPECT_EQ(New<TRzPropertyStore>(plain.get())->GetSectionName(), L"Properties");
}

}  // namespace

namespace {

TEST(PropertyStoreDescription, AStoreReadFromAFormDescriptionSavesAndLoads) {
  RegisterClass(TSubject::ClassInfo());
  TStartDirFile file(L"rz_described.cfg");
  const String text =
      L"object Holder: TComponent\n"
      L"  object CB_Baudrate: TSubject\n    Text = '9600'\n  end\n"
      L"  object CB_EndAfterFlash: TSubject\n  end\n"
      L"  object Store: TRzPropertyStore\n"
      L"    Properties = <\n"
      L"      item\n        Component = CB_Baudrate\n        PropertyName = 'Text'\n      end\n"
      L"      item\n        Component = CB_EndAfterFlash\n        PropertyName = 'Checked'\n      end>\n"
      L"    RegIniFile = RzRegIniFile1\n"
      L"    Section = 'Skarnivel configuration'\n"
      L"  end\n"
      L"  object RzRegIniFile1: TRzRegIniFile\n    Path = '.\\" + file.Name() + L"'\n  end\n"
      L"end\n";
  auto run = [&](const std::function<void(TComponent*)>& AAction) {
    TOwned<TComponent> holder(New<TComponent>(nullptr));
    ReadComponentFromText(text, holder.get());
    AAction(holder.get());
  };
  run([](TComponent* AHolder) {
    auto* store = static_cast<TRzPropertyStore*>(AHolder->FindComponent(L"Store"));
    ASSERT_NE(store, nullptr);
    ASSERT_EQ(store->Properties()->Count(), 2);
    EXPECT_EQ(store->Properties()->Items(1)->DisplayName(), L"CB_EndAfterFlash.Checked");
    ASSERT_NE(store->RegIniFile(), nullptr);
    store->Load();
    static_cast<TSubject*>(AHolder->FindComponent(L"CB_Baudrate"))->SetText(L"500000");
    static_cast<TSubject*>(AHolder->FindComponent(L"CB_EndAfterFlash"))->SetChecked(true);
    store->Save();
  });
  EXPECT_EQ(FileBytes(file.Full()),
            "[Skarnivel configuration]\r\nCB_Baudrate.Text=500000\r\nCB_EndAfterFlash.Checked=True\r\n\r\n");
  run([](TComponent* AHolder) {
    static_cast<TRzPropertyStore*>(AHolder->FindComponent(L"Store"))->Load();
    EXPECT_EQ(static_cast<TSubject*>(AHolder->FindComponent(L"CB_Baudrate"))->Text(), L"500000");
    EXPECT_TRUE(static_cast<TSubject*>(AHolder->FindComponent(L"CB_EndAfterFlash"))->Checked());
  });
}

}  // namespace
