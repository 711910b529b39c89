#include "tests/platform_classes/FormTestClasses.h"

#include "platform/classes/Streams.h"

#include <algorithm>

int GLiveTestObjects = 0;
std::vector<String> GTestLog;

bool TIntegerIdents<TTestColor>::ToIdent(std::int64_t AValue, String& AIdent) {
  if (AValue == static_cast<std::int64_t>(tcRed)) AIdent = L"clRed";
  else if (AValue == static_cast<std::int64_t>(tcBtnFace)) AIdent = L"clBtnFace";
  else return false;
  return true;
}

bool TIntegerIdents<TTestColor>::FromIdent(const String& AIdent, std::int64_t& AValue) {
  if (AIdent == L"clRed") AValue = static_cast<std::int64_t>(tcRed);
  else if (AIdent == L"clBtnFace") AValue = static_cast<std::int64_t>(tcBtnFace);
  else return false;
  return true;
}

void RegisterTestFormClasses() {
  RegisterClasses({TTestPanel::ClassInfo(), TTestStore::ClassInfo(), TTestForm::ClassInfo(),
                   TTestBroken::ClassInfo(), TTestItem::ClassInfo()});
}

std::vector<String> LinesOf(const TStrings* AStrings) {
  std::vector<String> lines;
  for (int i = 0; i < AStrings->Count(); ++i) lines.push_back(AStrings->Strings(i));
  return lines;
}

// ---------------------------------------------------------------------------

void TTestFont::Publish(TPublisher<TTestFont>& P) {
  P.Property(L"Name", &TTestFont::Name, &TTestFont::SetName);
  P.Property(L"Height", &TTestFont::Height, &TTestFont::SetHeight).Default(0);
  P.Property(L"Color", &TTestFont::Color, &TTestFont::SetColor).Default(TTestColor(0));
}

void TTestFont::Create() { ++GLiveTestObjects; }

void TTestFont::Destroy() {
  --GLiveTestObjects;
  inherited::Destroy();
}

void TTestBlob::Create() { ++GLiveTestObjects; }

void TTestBlob::Destroy() {
  --GLiveTestObjects;
  inherited::Destroy();
}

void TTestBlob::DefineProperties(TFiler* AFiler) {
  AFiler->DefineBinaryProperty(
      L"Data",
      [this](TStream* S) {
        Bytes.assign(static_cast<std::size_t>(S->Size()), 0);
        if (!Bytes.empty()) S->ReadBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
      },
      [this](TStream* S) {
        if (!Bytes.empty()) S->WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
      },
      !Bytes.empty());
}

void TTestOptions::Publish(TPublisher<TTestOptions>& P) {
  P.Property(L"Images", &TTestOptions::Images, &TTestOptions::SetImages);
  P.Property(L"ImageIndex", &TTestOptions::ImageIndex, &TTestOptions::SetImageIndex).Default(-1);
}

void TTestOptions::Create() {
  ++GLiveTestObjects;
  FImageIndex = -1;
}

void TTestOptions::Destroy() {
  --GLiveTestObjects;
  inherited::Destroy();
}

// ---------------------------------------------------------------------------

void TTestItem::Publish(TPublisher<TTestItem>& P) {
  P.Property(L"Caption", &TTestItem::Caption, &TTestItem::SetCaption);
  P.Property(L"Value", &TTestItem::Value, &TTestItem::SetValue).Default(0);
  P.Property(L"Link", &TTestItem::Link, &TTestItem::SetLink);
  P.Property(L"Image", &TTestItem::Image);
}

void TTestItem::Create(TCollection* ACollection) {
  ++GLiveTestObjects;
  FImage = New<TTestBlob>();
  inherited::Create(ACollection);
}

void TTestItem::Destroy() {
  --GLiveTestObjects;
  FreeAndNil(FImage);
  inherited::Destroy();
}

// ---------------------------------------------------------------------------

void TTestPanel::Publish(TPublisher<TTestPanel>& P) {
  P.Property(L"Caption", &TTestPanel::Caption, &TTestPanel::SetCaption);
  P.Property(L"Width", &TTestPanel::Width, &TTestPanel::SetWidth).Default(50);
  P.Property(L"Visible", &TTestPanel::Visible, &TTestPanel::SetVisible).Default(true);
  P.Property(L"Align", &TTestPanel::Align, &TTestPanel::SetAlign).Default(taNone);
  P.Property(L"Anchors", &TTestPanel::Anchors, &TTestPanel::SetAnchors).Default(TTestAnchors{akLeft, akTop});
  P.Property(L"Ratio", &TTestPanel::Ratio, &TTestPanel::SetRatio);
  P.Property(L"Big", &TTestPanel::Big, &TTestPanel::SetBig).Default(0);
  P.Property(L"Small", &TTestPanel::Small, &TTestPanel::SetSmall).Default(0);
  P.Property(L"Accel", &TTestPanel::Accel, &TTestPanel::SetAccel).Default(0);
  P.Property(L"Font", &TTestPanel::Font);
  P.Property(L"Items", &TTestPanel::Items);
  P.Property(L"Columns", &TTestPanel::Columns);
  P.Property(L"OptionsImage", &TTestPanel::OptionsImage);
  P.Property(L"Partner", &TTestPanel::Partner, &TTestPanel::SetPartner);
  P.Property(L"OnClick", &TTestPanel::OnClick, &TTestPanel::SetOnClick);
  P.Property(L"OnKeyPress", &TTestPanel::OnKeyPress, &TTestPanel::SetOnKeyPress);
}

void TTestPanel::Create(TComponent* AOwner) {
  ++GLiveTestObjects;
  FWidth = 50;
  FVisible = true;
  FAnchors = {akLeft, akTop};
  FFont = New<TTestFont>();
  FItems = New<TStringList>();
  FColumns = New<TCollection>(TTestItem::ClassInfo());
  FOptionsImage = New<TTestOptions>();
  inherited::Create(AOwner);
}

void TTestPanel::Destroy() {
  --GLiveTestObjects;
  SetParentComponent(nullptr);
  for (TTestPanel* child : FChildren) child->FParentPanel = nullptr;
  FChildren.clear();
  FreeAndNil(FOptionsImage);
  FreeAndNil(FColumns);
  FreeAndNil(FItems);
  FreeAndNil(FFont);
  inherited::Destroy();
}

void TTestPanel::SetCaption(const String& AValue) {
  FCaption = AValue;
  FCaptionSetWhileLoading = ComponentState().Contains(csLoading);
}

void TTestPanel::SetPartner(TTestPanel* AValue) {
  if (FPartner == AValue) return;
  FPartner = AValue;
  if (AValue) AValue->FreeNotification(this);
}

void TTestPanel::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FPartner) FPartner = nullptr;
}

void TTestPanel::GetChildren(const TGetChildProc& AProc, TComponent*) {
  for (TTestPanel* child : FChildren) AProc(child);
}

TComponent* TTestPanel::GetParentComponent() { return FParentPanel; }
bool TTestPanel::HasParent() { return true; }

void TTestPanel::SetParentComponent(TComponent* AValue) {
  auto* panel = dynamic_cast<TTestPanel*>(AValue);
  if (panel == FParentPanel) return;
  if (FParentPanel) std::erase(FParentPanel->FChildren, this);
  FParentPanel = panel;
  if (panel) panel->FChildren.push_back(this);
}

void TTestPanel::Loaded() {
  inherited::Loaded();
  GTestLog.push_back(L"Loaded " + Name());
}

// ---------------------------------------------------------------------------

void TTestStore::Publish(TPublisher<TTestStore>& P) {
  P.Property(L"Count", &TTestStore::Count, &TTestStore::SetCount).Default(0);
  P.Property(L"Blob", &TTestStore::Blob);
}

void TTestStore::Create(TComponent* AOwner) {
  ++GLiveTestObjects;
  FBlob = New<TTestBlob>();
  inherited::Create(AOwner);
}

void TTestStore::Destroy() {
  --GLiveTestObjects;
  FreeAndNil(FBlob);
  inherited::Destroy();
}

void TTestStore::Loaded() {
  inherited::Loaded();
  GTestLog.push_back(L"Loaded " + Name());
}

void TTestStore::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineProperty(
      L"FormatVersion", [this](TReader* R) { FFormatVersion = R->ReadInteger(); },
      [](TWriter* W) { W->WriteInteger(1); }, true);
  AFiler->DefineProperty(
      L"OldSet",
      [this](TReader* R) {
        for (const String& name : R->ReadSet()) OldSet += name + L",";
      },
      nullptr, false);
  AFiler->DefineProperty(L"OldFlag", [this](TReader* R) { OldFlag = R->ReadBoolean(); }, nullptr, false);
  AFiler->DefineProperty(L"Dropped", [](TReader*) {}, nullptr, false);
  AFiler->DefineProperty(
      L"HalfList",
      [](TReader* R) {
        R->ReadListBegin();
        R->ReadString();
      },
      nullptr, false);
}

void TTestBroken::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  throw EComponentError(L"kaputt");
}

// ---------------------------------------------------------------------------

void TTestForm::Publish(TPublisher<TTestForm>& P) {
  P.Property(L"Caption", &TTestForm::Caption, &TTestForm::SetCaption);
  P.Property(L"Left", &TTestForm::Left, &TTestForm::SetLeft).Default(0);
  P.Property(L"Color", &TTestForm::Color, &TTestForm::SetColor).Default(tcBtnFace);
  P.Property(L"Font", &TTestForm::Font);
  P.Property(L"OnShow", &TTestForm::OnShow, &TTestForm::SetOnShow);
  P.Method<&TTestForm::FormShow>(L"FormShow");
  P.Method<&TTestForm::ButtonClick>(L"ButtonClick");
  P.Method<&TTestForm::KeyPress>(L"KeyPress");
}

void TTestForm::Create(TComponent* AOwner) {
  ++GLiveTestObjects;
  FColor = tcBtnFace;
  FFont = New<TTestFont>();
  inherited::Create(AOwner);
}

void TTestForm::Destroy() {
  --GLiveTestObjects;
  inherited::Destroy();
  FreeAndNil(FFont);
}

void TTestForm::FormShow(TObject*) { ++ShowCount; }
void TTestForm::ButtonClick(TObject*) { ++ClickCount; }
void TTestForm::KeyPress(TObject*, wchar_t& Key) { Key = 0; }

void TTestForm::GetChildren(const TGetChildProc& AProc, TComponent*) {
  // Panels placed on the form, then components without a parent.
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* panel = dynamic_cast<TTestPanel*>(Components(i)); panel && !panel->ParentPanel()) AProc(panel);
  for (int i = 0; i < ComponentCount(); ++i)
    if (!Components(i)->HasParent()) AProc(Components(i));
}

void TTestForm::Loaded() {
  inherited::Loaded();
  GTestLog.push_back(L"Loaded " + Name());
}
