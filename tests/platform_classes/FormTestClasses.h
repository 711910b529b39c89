// Small component classes for the form reader and writer tests.
//
// Classes in this file:
//   TTestColor, TTestAlign, TTestAnchor   published value types
//   TTestFont               a sub-object read in place (Font.Name = ...)
//   TTestBlob               binary data stored as Data = { ... }
//   TTestOptions            a sub-object holding a component reference
//   TTestItem, TTestItems   a collection with component references
//   TTestPanel              a nested, parented component
//   TTestForm               the root, with published event handlers
#pragma once

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Lists.h"

#include <cstdint>
#include <vector>

enum class TTestColor : std::int32_t {};
constexpr TTestColor tcRed = TTestColor(0x0000FF);
constexpr TTestColor tcBtnFace = TTestColor(-16777201);

template <>
struct TIntegerIdents<TTestColor> {
  static constexpr const wchar_t* Name = L"TTestColor";
  static bool ToIdent(std::int64_t AValue, String& AIdent);
  static bool FromIdent(const String& AIdent, std::int64_t& AValue);
};

enum TTestAlign { taNone, taTop, taClient };
template <>
struct TEnumInfo<TTestAlign> {
  static constexpr const wchar_t* Name = L"TTestAlign";
  static constexpr const wchar_t* Names[] = {L"taNone", L"taTop", L"taClient"};
  static constexpr TTestAlign Last = taClient;
};

enum TTestAnchor { akLeft, akTop, akRight, akBottom };
template <>
struct TEnumInfo<TTestAnchor> {
  static constexpr const wchar_t* Name = L"TTestAnchor";
  static constexpr const wchar_t* Names[] = {L"akLeft", L"akTop", L"akRight", L"akBottom"};
  static constexpr TTestAnchor Last = akBottom;
};
using TTestAnchors = TSet<TTestAnchor>;

using TKeyPressEvent = Delegate<void(TObject* Sender, wchar_t& Key)>;

// Live instances of every class below, for leak checks.
extern int GLiveTestObjects;
// "Loaded Name" and other events in the order they happened.
extern std::vector<String> GTestLog;
void RegisterTestFormClasses();
// The lines of a string list, for comparisons.
std::vector<String> LinesOf(const TStrings* AStrings);

class TTestFont : public TPersistent {
  SK_CLASS(TTestFont, TPersistent)
 public:
  static void Publish(TPublisher<TTestFont>& P);
  void Create();
  void Destroy() override;
  String Name() const { return FName; }
  void SetName(const String& AValue) { FName = AValue; }
  int Height() const { return FHeight; }
  void SetHeight(int AValue) { FHeight = AValue; }
  TTestColor Color() const { return FColor; }
  void SetColor(TTestColor AValue) { FColor = AValue; }

 private:
  String FName;
  int FHeight;
  TTestColor FColor;
};

class TTestBlob : public TPersistent {
  SK_CLASS(TTestBlob, TPersistent)
 public:
  void Create();
  void Destroy() override;
  std::vector<std::uint8_t> Bytes;

 protected:
  void DefineProperties(TFiler* AFiler) override;
};

class TTestPanel;
class TTestStore;

class TTestOptions : public TPersistent {
  SK_CLASS(TTestOptions, TPersistent)
 public:
  static void Publish(TPublisher<TTestOptions>& P);
  void Create();
  void Destroy() override;
  TTestStore* Images() const { return FImages; }
  void SetImages(TTestStore* AValue) { FImages = AValue; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int AValue) { FImageIndex = AValue; }

 private:
  TTestStore* FImages;
  int FImageIndex;
};

class TTestItem : public TCollectionItem {
  SK_CLASS(TTestItem, TCollectionItem)
 public:
  static void Publish(TPublisher<TTestItem>& P);
  void Create(TCollection* ACollection) override;
  void Destroy() override;
  String Caption() const { return FCaption; }
  void SetCaption(const String& AValue) { FCaption = AValue; }
  int Value() const { return FValue; }
  void SetValue(int AValue) { FValue = AValue; }
  TTestPanel* Link() const { return FLink; }
  void SetLink(TTestPanel* AValue) { FLink = AValue; }
  TTestBlob* Image() const { return FImage; }

 private:
  String FCaption;
  int FValue;
  TTestPanel* FLink;
  TTestBlob* FImage;
};

class TTestPanel : public TComponent {
  SK_CLASS(TTestPanel, TComponent)
 public:
  static void Publish(TPublisher<TTestPanel>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  String Caption() const { return FCaption; }
  void SetCaption(const String& AValue);
  int Width() const { return FWidth; }
  void SetWidth(int AValue) { FWidth = AValue; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue) { FVisible = AValue; }
  TTestAlign Align() const { return FAlign; }
  void SetAlign(TTestAlign AValue) { FAlign = AValue; }
  TTestAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TTestAnchors AValue) { FAnchors = AValue; }
  double Ratio() const { return FRatio; }
  void SetRatio(double AValue) { FRatio = AValue; }
  std::int64_t Big() const { return FBig; }
  void SetBig(std::int64_t AValue) { FBig = AValue; }
  std::uint8_t Small() const { return FSmall; }
  void SetSmall(std::uint8_t AValue) { FSmall = AValue; }
  wchar_t Accel() const { return FAccel; }
  void SetAccel(wchar_t AValue) { FAccel = AValue; }
  TTestFont* Font() const { return FFont; }
  TStrings* Items() const { return FItems; }
  TCollection* Columns() const { return FColumns; }
  TTestOptions* OptionsImage() const { return FOptionsImage; }
  TTestPanel* Partner() const { return FPartner; }
  void SetPartner(TTestPanel* AValue);
  TNotifyEvent OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent AValue) { FOnClick = AValue; }
  TKeyPressEvent OnKeyPress() const { return FOnKeyPress; }
  void SetOnKeyPress(TKeyPressEvent AValue) { FOnKeyPress = AValue; }
  TTestPanel* ParentPanel() const { return FParentPanel; }
  const std::vector<TTestPanel*>& Children() const { return FChildren; }
  // Whether csLoading was set when Caption was assigned.
  bool CaptionSetWhileLoading() const { return FCaptionSetWhileLoading; }

  void GetChildren(const TGetChildProc& AProc, TComponent* ARoot) override;
  TComponent* GetParentComponent() override;
  bool HasParent() override;
  void SetParentComponent(TComponent* AValue) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  String FCaption;
  int FWidth;
  bool FVisible;
  TTestAlign FAlign;
  TTestAnchors FAnchors;
  double FRatio;
  std::int64_t FBig;
  std::uint8_t FSmall;
  wchar_t FAccel;
  TTestFont* FFont;
  TStringList* FItems;
  TCollection* FColumns;
  TTestOptions* FOptionsImage;
  TTestPanel* FPartner;
  TNotifyEvent FOnClick;
  TKeyPressEvent FOnKeyPress;
  TTestPanel* FParentPanel;
  std::vector<TTestPanel*> FChildren;
  bool FCaptionSetWhileLoading;
};

// A component with no parent (like a timer or an image list).
class TTestStore : public TComponent {
  SK_CLASS(TTestStore, TComponent)
 public:
  static void Publish(TPublisher<TTestStore>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  int Count() const { return FCount; }
  void SetCount(int AValue) { FCount = AValue; }
  TTestBlob* Blob() const { return FBlob; }
  int FormatVersion() const { return FFormatVersion; }
  void SetFormatVersion(int AValue) { FFormatVersion = AValue; }
  // Read-only stored data of older descriptions: "OldSet" (names joined by
  // commas), "OldFlag", "Dropped" (ignored), "HalfList" (a faulty procedure
  // that leaves its list open).
  String OldSet;
  bool OldFlag = false;

 protected:
  void Loaded() override;
  void DefineProperties(TFiler* AFiler) override;

 private:
  int FCount;
  TTestBlob* FBlob;
  int FFormatVersion;
};

// A component whose creation fails.
class TTestBroken : public TComponent {
  SK_CLASS(TTestBroken, TComponent)
 public:
  void Create(TComponent* AOwner) override;
};

class TTestForm : public TComponent {
  SK_CLASS(TTestForm, TComponent)
 public:
  static void Publish(TPublisher<TTestForm>& P);
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  String Caption() const { return FCaption; }
  void SetCaption(const String& AValue) { FCaption = AValue; }
  int Left() const { return FLeft; }
  void SetLeft(int AValue) { FLeft = AValue; }
  TTestColor Color() const { return FColor; }
  void SetColor(TTestColor AValue) { FColor = AValue; }
  TTestFont* Font() const { return FFont; }
  TNotifyEvent OnShow() const { return FOnShow; }
  void SetOnShow(TNotifyEvent AValue) { FOnShow = AValue; }

  void FormShow(TObject* Sender);
  void ButtonClick(TObject* Sender);
  void KeyPress(TObject* Sender, wchar_t& Key);
  int ShowCount = 0;
  int ClickCount = 0;

  void GetChildren(const TGetChildProc& AProc, TComponent* ARoot) override;

 protected:
  void Loaded() override;

 private:
  String FCaption;
  int FLeft;
  TTestColor FColor;
  TTestFont* FFont;
  TNotifyEvent FOnShow;
};

// A form class whose description adds to TTestForm's.
class TTestChildForm : public TTestForm {
  SK_CLASS(TTestChildForm, TTestForm)
};
