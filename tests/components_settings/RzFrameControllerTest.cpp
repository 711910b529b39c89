#include "components/settings/RzCommon.h"

#include "platform/classes/FormReader.h"
#include "tests/components_settings/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// A control that publishes the framing properties under their usual names.
class TFramedControl : public TGraphicControl {
  SK_CLASS(TFramedControl, TGraphicControl)
 public:
  static void Publish(TPublisher<TFramedControl>& P) {
    P.Property(L"FocusColor", &TFramedControl::FocusColor, &TFramedControl::SetFocusColor);
    P.Property(L"FrameColor", &TFramedControl::FrameColor, &TFramedControl::SetFrameColor);
    P.Property(L"FrameStyle", &TFramedControl::FrameStyle, &TFramedControl::SetFrameStyle);
    P.Property(L"FrameSides", &TFramedControl::FrameSides, &TFramedControl::SetFrameSides);
    P.Property(L"FrameVisible", &TFramedControl::FrameVisible, &TFramedControl::SetFrameVisible);
    P.Property(L"FrameControllerNotifications", &TFramedControl::Notifications, &TFramedControl::SetNotifications);
  }
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    FNotifications = AllFrameControllerNotifications();
  }
  TColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor A) { FFocusColor = A; }
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor A) { FFrameColor = A; }
  TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle A) { FFrameStyle = A; }
  TSides FrameSides() const { return FFrameSides; }
  void SetFrameSides(TSides A) { FFrameSides = A; }
  bool FrameVisible() const { return FFrameVisible; }
  void SetFrameVisible(bool A) { FFrameVisible = A; }
  TRzFrameControllerNotifications Notifications() const { return FNotifications; }
  void SetNotifications(TRzFrameControllerNotifications A) { FNotifications = A; }

 private:
  TColor FFocusColor;
  TColor FFrameColor;
  TFrameStyle FFrameStyle;
  TSides FFrameSides;
  bool FFrameVisible;
  TRzFrameControllerNotifications FNotifications;
};

// Only what every control has: Color, ParentColor.
class TPlainControl : public TGraphicControl {
  SK_CLASS(TPlainControl, TGraphicControl)
};

class TSelfFramingControl : public TNoRefCount<TGraphicControl>, public IRzCustomFramingNotification {
  SK_CLASS(TSelfFramingControl, TGraphicControl)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IRzCustomFramingNotification>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void CustomFramingChanged() override { ++Changes; }
  int Changes = 0;
};

class TRecordingController : public TRzFrameController {
  SK_CLASS(TRecordingController, TRzFrameController)
 public:
  std::vector<std::pair<TControl*, TRzFrameControllerProperty>> Calls;

 protected:
  void UpdateControl(TControl* AControl, TRzFrameControllerProperty AProperty) override {
    Calls.emplace_back(AControl, AProperty);
    inherited::UpdateControl(AControl, AProperty);
  }
};

class FrameController : public testing::Test {
 protected:
  void SetUp() override {
    Root = New<TComponent>(nullptr);
    Controller = New<TRecordingController>(Root);
  }
  void TearDown() override { Root->Free(); }
  template <class T>
  T* NewControl() {
    auto* control = New<T>(Root);
    Controller->AddControl(control);
    return control;
  }
  TComponent* Root;
  TRecordingController* Controller;
};

TEST_F(FrameController, AChangeInsideAnUpdateReachesEachControlOnceAtTheEnd) {
  std::vector<TFramedControl*> controls;
  for (int i = 0; i < 10; ++i) controls.push_back(NewControl<TFramedControl>());
  Controller->Calls.clear();
  Controller->BeginUpdate();
  Controller->SetFrameColor(clRed);
  Controller->SetFrameStyle(fsGroove);
  EXPECT_TRUE(Controller->Calls.empty());
  EXPECT_EQ(controls[0]->FrameColor(), clBtnShadow);
  Controller->EndUpdate();
  ASSERT_EQ(Controller->Calls.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(Controller->Calls[i].first, controls[i]);
    EXPECT_EQ(Controller->Calls[i].second, fcpAll);
    EXPECT_EQ(controls[i]->FrameColor(), clRed);
    EXPECT_EQ(controls[i]->FrameStyle(), fsGroove);
  }
}

TEST_F(FrameController, NestedUpdatesNotifyAtTheOutermostEnd) {
  NewControl<TFramedControl>();
  Controller->Calls.clear();
  Controller->BeginUpdate();
  Controller->BeginUpdate();
  Controller->SetFrameVisible(true);
  Controller->EndUpdate();
  EXPECT_TRUE(Controller->Calls.empty());
  Controller->EndUpdate();
  EXPECT_EQ(Controller->Calls.size(), 1u);
  // An unmatched EndUpdate still notifies and leaves the count at zero.
  Controller->EndUpdate();
  Controller->SetFrameVisible(false);
  EXPECT_EQ(Controller->Calls.size(), 3u);
}

TEST_F(FrameController, SingleChangesReachTheNamedProperty) {
  TFramedControl* framed = NewControl<TFramedControl>();
  TPlainControl* plain = NewControl<TPlainControl>();
  Controller->SetFrameSides({sdLeft, sdBottom});
  EXPECT_EQ(framed->FrameSides(), (TSides{sdLeft, sdBottom}));
  // A control without FocusColor is left alone.
  const TColor before = plain->Color();
  Controller->SetFocusColor(clYellow);
  EXPECT_EQ(framed->FocusColor(), clYellow);
  EXPECT_EQ(plain->Color(), before);
  Controller->SetColor(clAqua);
  EXPECT_EQ(plain->Color(), clAqua);
}

TEST_F(FrameController, AControlTakesOnlyWhatItsNotificationsList) {
  TFramedControl* framed = NewControl<TFramedControl>();
  framed->SetNotifications({fcpFrameStyle});
  Controller->SetFrameColor(clRed);
  Controller->SetFrameStyle(fsBump);
  Controller->UpdateControls();
  EXPECT_EQ(framed->FrameStyle(), fsBump);
  EXPECT_NE(framed->FrameColor(), clRed);
}

TEST_F(FrameController, AFullUpdateLeavesTheColourToTheParentWhileParentColorIsOn) {
  TPlainControl* plain = NewControl<TPlainControl>();
  plain->SetColor(clLime);
  Controller->BeginUpdate();
  Controller->SetColor(clNavy);
  Controller->SetParentColor(true);
  Controller->EndUpdate();
  EXPECT_EQ(plain->Color(), clLime);
  EXPECT_TRUE(plain->ParentColor());
}

TEST_F(FrameController, ASelfFramingControlIsOnlyToldOfTheChange) {
  TSelfFramingControl* control = NewControl<TSelfFramingControl>();
  EXPECT_EQ(control->Changes, 1);
  const TColor before = control->Color();
  Controller->SetFrameColor(clFuchsia);
  EXPECT_EQ(control->Changes, 2);
  // The control's own published Color is not touched by the controller.
  Controller->SetColor(clFuchsia);
  EXPECT_GT(control->Changes, 2);
  EXPECT_EQ(control->Color(), before);
}

TEST_F(FrameController, FreedAndRemovedControlsAreNoLongerTold) {
  TFramedControl* gone = NewControl<TFramedControl>();
  TFramedControl* removed = NewControl<TFramedControl>();
  TFramedControl* staying = NewControl<TFramedControl>();
  gone->Free();
  Controller->RemoveControl(removed);
  Controller->Calls.clear();
  Controller->SetFrameColor(clGreen);
  ASSERT_EQ(Controller->Calls.size(), 1u);
  EXPECT_EQ(Controller->Calls[0].first, staying);
  EXPECT_EQ(Controller->ControlCount(), 1);
}

TEST_F(FrameController, ColorCarriesFocusColorAlongAndHotTrackShowsTheFrame) {
  Controller->SetParentColor(true);
  Controller->SetColor(clCream);
  EXPECT_EQ(Controller->FocusColor(), clCream);
  EXPECT_FALSE(Controller->ParentColor());
  Controller->SetFocusColor(clYellow);
  Controller->SetColor(clWhite);
  EXPECT_EQ(Controller->FocusColor(), clYellow);

  Controller->SetFrameSides({sdTop});
  Controller->SetFrameHotTrack(true);
  EXPECT_TRUE(Controller->FrameVisible());
  EXPECT_EQ(Controller->FrameSides(), sdAllSides);
}

TEST_F(FrameController, AssignCopiesEverySettingAndTellsOnce) {
  TFramedControl* framed = NewControl<TFramedControl>();
  TOwned<TRzFrameController> source(New<TRzFrameController>(nullptr));
  source->SetFrameColor(clMaroon);
  source->SetFrameStyle(fsRaised);
  source->SetReadOnlyColor(clSilver);
  source->SetFramingPreference(fpCustomFraming);
  Controller->Calls.clear();
  Controller->Assign(source.get());
  EXPECT_EQ(Controller->Calls.size(), 1u);
  EXPECT_EQ(Controller->ReadOnlyColor(), clSilver);
  EXPECT_EQ(Controller->FramingPreference(), fpCustomFraming);
  EXPECT_EQ(framed->FrameColor(), clMaroon);
  EXPECT_EQ(framed->FrameStyle(), fsRaised);
}

TEST_F(FrameController, SaveAndLoadThroughTheStorage) {
  TTempDir dir;
  auto* ini = New<TRzRegIniFile>(Root);
  ini->SetPath(dir.File(L"frames.cfg"));
  Controller->SetRegIniFile(ini);
  Controller->SetColor(clRed);
  Controller->SetFrameHotStyle(fsLowered);
  Controller->SetFrameSides({sdLeft, sdRight});
  Controller->SetFrameVisible(true);
  Controller->Save(L"Frames");
  EXPECT_EQ(ini->ReadInteger(L"Frames", L"FrameHotStyle", -1), static_cast<int>(fsLowered));
  EXPECT_EQ(ini->ReadString(L"Frames", L"FrameSides_Top", String()), L"0");

  auto* loaded = New<TRecordingController>(Root);
  TFramedControl* framed = New<TFramedControl>(Root);
  loaded->AddControl(framed);
  loaded->Calls.clear();
  loaded->SetRegIniFile(ini);
  loaded->Load(L"Frames");
  EXPECT_EQ(loaded->Calls.size(), 1u);
  EXPECT_EQ(loaded->Color(), clRed);
  EXPECT_EQ(loaded->FrameHotStyle(), fsLowered);
  EXPECT_EQ(loaded->FrameSides(), (TSides{sdLeft, sdRight}));
  EXPECT_TRUE(loaded->FrameVisible());
  EXPECT_EQ(framed->FrameSides(), (TSides{sdLeft, sdRight}));
}

TEST_F(FrameController, LoadingAnEmptySectionGivesTheStorageDefaults) {
  TTempDir dir;
  auto* ini = New<TRzRegIniFile>(Root);
  ini->SetPath(dir.File(L"frames.cfg"));
  ini->WriteInteger(L"Frames", L"FrameStyle", 99);  // no frame style
  Controller->SetRegIniFile(ini);
  Controller->SetFrameVisible(true);
  Controller->Load(L"Frames");
  // DisabledColor defaults to clWindow here, unlike a new controller's clBtnFace.
  EXPECT_EQ(Controller->DisabledColor(), clWindow);
  EXPECT_EQ(Controller->FrameStyle(), fsFlat);
  EXPECT_EQ(Controller->FrameHotStyle(), fsFlatBold);
  EXPECT_FALSE(Controller->FrameVisible());
  EXPECT_EQ(Controller->FrameSides(), sdAllSides);
  EXPECT_EQ(Controller->FramingPreference(), fpXPThemes);
}

TEST_F(FrameController, WithoutStorageLoadAndSaveRaise) {
  try {
    Controller->Load(L"X");
    ADD_FAILURE();
  } catch (const ENoRegIniFile& E) {
    EXPECT_EQ(E.Message(), L"Cannot load Custom Framing settings--No TRzRegIniFile component specified");
  }
  try {
    Controller->Save(L"X");
    ADD_FAILURE();
  } catch (const ENoRegIniFile& E) {
    EXPECT_EQ(E.Message(), L"Cannot save Custom Framing settings--No TRzRegIniFile component specified");
  }
  auto* ini = New<TRzRegIniFile>(Root);
  Controller->SetRegIniFile(ini);
  ini->Free();
  EXPECT_EQ(Controller->RegIniFile(), nullptr);
}

// ---------------------------------------------------------------------------
// Obsolete stored properties

TEST(FrameControllerOldProperties, FormFilesWithObsoletePropertiesStillRead) {
  struct TCase {
    const wchar_t* Name;
    const wchar_t* Lines;
    bool HotTrack;
    TFrameStyle Style;
    TFrameStyle HotStyle;
  };
  const TCase cases[] = {
      {L"FrameFlat true", L"FrameFlat = True\n", true, fsStatus, fsLowered},
      {L"FrameFlat false", L"FrameFlat = False\n", false, fsFlat, fsFlatBold},
      {L"FrameFocusStyle", L"FrameFocusStyle = fsGroove\n", false, fsFlat, fsGroove},
      {L"FrameFlatStyle is dropped", L"FrameFlatStyle = fsBump\nFrameStyle = fsPopup\n", false, fsPopup, fsFlatBold},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TRzFrameController> controller(New<TRzFrameController>(nullptr));
    ReadComponentFromText(String(L"object FC: TRzFrameController\n") + c.Lines + L"end\n", controller.get());
    EXPECT_EQ(controller->FrameHotTrack(), c.HotTrack);
    EXPECT_EQ(controller->FrameStyle(), c.Style);
    EXPECT_EQ(controller->FrameHotStyle(), c.HotStyle);
  }
}

class TOldProps : public TComponent {
  SK_CLASS(TOldProps, TComponent)
 public:
  static void Publish(TPublisher<TOldProps>& P) { P.Property(L"Tag2", &TOldProps::Tag2, &TOldProps::SetTag2); }
  int Tag2() const { return FTag2; }
  void SetTag2(int A) { FTag2 = A; }

 protected:
  void DefineProperties(TFiler* AFiler) override {
    inherited::DefineProperties(AFiler);
    AFiler->DefineProperty(L"OldBool", &TRzOldPropReader::ReadOldBooleanProp, nullptr, false);
    AFiler->DefineProperty(L"OldEnum", &TRzOldPropReader::ReadOldEnumProp, nullptr, false);
    AFiler->DefineProperty(L"OldIdent", &TRzOldPropReader::ReadOldIdentProp, nullptr, false);
    AFiler->DefineProperty(L"OldInt", &TRzOldPropReader::ReadOldIntegerProp, nullptr, false);
    AFiler->DefineProperty(L"OldSet", &TRzOldPropReader::ReadOldSetProp, nullptr, false);
    AFiler->DefineProperty(L"OldString", &TRzOldPropReader::ReadOldStringProp, nullptr, false);
  }

 private:
  int FTag2;
};

TEST(FrameControllerOldProperties, TheReaderDropsAValueOfEachKind) {
  TOwned<TOldProps> object(New<TOldProps>(nullptr));
  ReadComponentFromText(
      L"object X: TOldProps\n OldBool = True\n OldEnum = fsFlat\n OldIdent = clRed\n OldInt = 12\n"
      L" OldSet = [sdLeft, sdTop]\n OldString = 'gone'\n Tag2 = 5\nend\n",
      object.get());
  EXPECT_EQ(object->Tag2(), 5);
}

// Takes the places of the protected operations too.
class TControllerSlots : public TRzFrameController {
 public:
  static std::vector<std::ptrdiff_t> Added() {
    return {VirtualSlot(&TControllerSlots::UpdateControl),
            VirtualSlot(&TControllerSlots::NotifyControls),
            VirtualSlot(&TControllerSlots::SetColor),
            VirtualSlot(&TControllerSlots::SetParentColor),
            VirtualSlot(&TControllerSlots::SetFlatButtonColor),
            VirtualSlot(&TControllerSlots::SetFlatButtons),
            VirtualSlot(&TControllerSlots::SetDisabledColor),
            VirtualSlot(&TControllerSlots::SetReadOnlyColor),
            VirtualSlot(&TControllerSlots::SetReadOnlyColorOnFocus),
            VirtualSlot(&TControllerSlots::SetFocusColor),
            VirtualSlot(&TControllerSlots::SetFrameColor),
            VirtualSlot(&TControllerSlots::SetFrameHotColor),
            VirtualSlot(&TControllerSlots::SetFrameHotTrack),
            VirtualSlot(&TControllerSlots::SetFrameHotStyle),
            VirtualSlot(&TControllerSlots::SetFrameSides),
            VirtualSlot(&TControllerSlots::SetFrameStyle),
            VirtualSlot(&TControllerSlots::SetFrameVisible),
            VirtualSlot(&TControllerSlots::SetFramingPreference),
            VirtualSlot(&TControllerSlots::SetRegIniFile)};
  }
};

TEST(FrameControllerSlots, TheAddedVirtualOperationsFollowOneAnotherInTheirOrder) {
  EXPECT_TRUE(FollowOneAnother(TControllerSlots::Added()));
}

}  // namespace
