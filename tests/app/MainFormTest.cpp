#include "app/MainUnit.h"

#include "app/UDefines.h"
#include "app/UHexLoad.h"
#include "components/settings/RzCommon.h"
#include "components/settings/RzStatus.h"
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/graphics/imaging/cxImageList.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxGroupBox.h"
#include "library/stdctrls/cxLabel.h"
#include "library/stdctrls/cxListBox.h"
#include "library/stdctrls/cxProgressBar.h"
#include "library/stdctrls/dxActivityIndicator.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/classes/Streams.h"
#include "platform/ui/ExtCtrls.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/MainFormFixture.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// The form as its description makes it

struct TComponentRow {
  const wchar_t* Name;
  const wchar_t* Class;
  const wchar_t* Parent;  // null: a component without a parent control
  int Left = -1, Top = -1, Width = -1, Height = -1;
  const wchar_t* Caption = nullptr;
  bool Enabled = true;
  bool Visible = true;
  int TabOrder = -1;
};

const TComponentRow ComponentTable[] = {
    {L"cxGroupBox1", L"TcxGroupBox", L"MainForm", 8, 39, 201, 89, L"Verbindungsparameter", true, true, 0},
    {L"CB_Comport", L"TcxComboBox", L"cxGroupBox1", 66, 24, 121, -1, nullptr, true, true, 0},
    {L"cxLabel1", L"TcxLabel", L"cxGroupBox1", 12, 25, -1, -1, L"Anschluss"},
    {L"cxLabel2", L"TcxLabel", L"cxGroupBox1", 12, 52, -1, -1, L"Baudrate"},
    {L"CB_Baudrate", L"TcxComboBox", L"cxGroupBox1", 66, 51, 121, -1, nullptr, true, true, 3},
    {L"cxImageList1", L"TcxImageList", nullptr},
    {L"BTN_Beenden", L"TcxButton", L"MainForm", 8, 8, 49, 25, L"", true, true, 1},
    {L"BTN_Connect", L"TcxButton", L"MainForm", 151, 8, 82, 25, L"Verbinden", false, true, 2},
    {L"LB_Info", L"TcxListBox", L"MainForm", 8, 164, 313, 185, nullptr, true, true, 3},
    {L"BTN_Oeffnen", L"TcxButton", L"MainForm", 63, 8, 82, 25, L"Öffnen", true, true, 4},
    {L"OD", L"TOpenDialog", nullptr},
    {L"BTN_Flash", L"TcxButton", L"MainForm", 239, 8, 82, 25, L"Flash", false, true, 5},
    {L"PB", L"TcxProgressBar", L"MainForm", 8, 352, 313, -1, nullptr, true, true, 6},
    {L"cxGroupBox2", L"TcxGroupBox", L"MainForm", 215, 39, 106, 89, L"Optionen", true, true, 7},
    {L"CB_Flash", L"TcxCheckBox", L"cxGroupBox2", 11, 18, -1, -1, L"Flash", false, true, 0},
    {L"CB_EEprom", L"TcxCheckBox", L"cxGroupBox2", 11, 37, -1, -1, L"EEprom", false, true, 1},
    {L"CB_UserRow", L"TcxCheckBox", L"cxGroupBox2", 11, 57, -1, -1, L"UserRow", false, false, 2},
    {L"Running", L"TdxActivityIndicator", L"MainForm", 182, 376, 133, 11},
    {L"cxGroupBox3", L"TcxGroupBox", L"MainForm", 8, 127, 313, 34, L"", true, true, 9},
    {L"CB_EndAfterFlash", L"TcxCheckBox", L"cxGroupBox3", 3, 9, -1, -1, L"Nach erfolgreichem Flashen schließen", true,
     true, 0},
    {L"Timer1", L"TTimer", nullptr},
    {L"RzVersionInfo1", L"TRzVersionInfo", nullptr},
    {L"RzVersionInfoStatus2", L"TRzVersionInfoStatus", L"MainForm", 109, 371},
    {L"RzVersionInfoStatus1", L"TRzVersionInfoStatus", L"MainForm", 8, 371, 101},
    {L"Store", L"TRzPropertyStore", nullptr},
    {L"RzRegIniFile1", L"TRzRegIniFile", nullptr},
};

TEST_F(MainFormFixture, EveryComponentOfTheDescriptionInItsPlace) {
  ASSERT_EQ(Form->ComponentCount(), static_cast<int>(std::size(ComponentTable)));
  for (int i = 0; i < static_cast<int>(std::size(ComponentTable)); ++i) {
    const TComponentRow& row = ComponentTable[i];
    SCOPED_TRACE(UTF8Encode(row.Name));
    TComponent* c = Form->Components(i);  // declaration order is creation order
    EXPECT_EQ(c->Name(), row.Name);
    EXPECT_EQ(c->ClassName(), row.Class);
    auto* control = dynamic_cast<TControl*>(c);
    ASSERT_EQ(control != nullptr, row.Parent != nullptr);
    if (!control) continue;
    ASSERT_NE(control->Parent(), nullptr);
    EXPECT_EQ(control->Parent()->Name(), row.Parent);
    EXPECT_EQ(control->Left(), row.Left);
    EXPECT_EQ(control->Top(), row.Top);
    if (row.Width >= 0) {
      EXPECT_EQ(control->Width(), row.Width);
    }
    if (row.Height >= 0) {
      EXPECT_EQ(control->Height(), row.Height);
    }
    if (row.Caption) {
      EXPECT_EQ(control->Caption(), row.Caption);
    }
    EXPECT_EQ(control->Enabled(), row.Enabled);
    EXPECT_EQ(control->Visible(), row.Visible);
    if (row.TabOrder >= 0) {
      EXPECT_EQ(static_cast<TWinControl*>(control)->TabOrder(), row.TabOrder);
    }
  }
  // The published fields hold the components of their names.
  EXPECT_EQ(Form->BTN_Flash, Form->FindComponent(L"BTN_Flash"));
  EXPECT_EQ(Form->RzRegIniFile1, Form->FindComponent(L"RzRegIniFile1"));
}

TEST_F(MainFormFixture, TheFormsOwnSettingsAndEvents) {
  EXPECT_EQ(Form->Caption(), L"Skarnivel - Torvik");
  EXPECT_EQ(Form->BorderStyle(), bsDialog);
  EXPECT_EQ(Form->BorderIcons(), (TBorderIcons{biSystemMenu, biMinimize}));
  EXPECT_EQ(Form->Position(), poDesktopCenter);
  EXPECT_EQ(Form->ClientWidth(), 329);
  EXPECT_EQ(Form->ClientHeight(), 391);
  EXPECT_EQ(Form->Color(), clBtnFace);
  EXPECT_EQ(Form->Font()->Name(), L"Tahoma");
  EXPECT_EQ(Form->Font()->Height(), -11);
  EXPECT_EQ(Form->TextHeight(), 13);
  EXPECT_EQ(Form->OnShow(), BindEvent<&TMainForm::FormShow>(Form));
  EXPECT_EQ(Form->OnCloseQuery(), BindEvent<&TMainForm::FormCloseQuery>(Form));
  EXPECT_EQ(Form->OnClose(), BindEvent<&TMainForm::FormClose>(Form));
  EXPECT_EQ(Form->BTN_Beenden->OnClick(), BindEvent<&TMainForm::BTN_BeendenClick>(Form));
  EXPECT_EQ(Form->BTN_Oeffnen->OnClick(), BindEvent<&TMainForm::BTN_OeffnenClick>(Form));
  EXPECT_EQ(Form->BTN_Connect->OnClick(), BindEvent<&TMainForm::BTN_ConnectClick>(Form));
  EXPECT_EQ(Form->BTN_Flash->OnClick(), BindEvent<&TMainForm::BTN_FlashClick>(Form));
  EXPECT_EQ(Form->Timer1->OnTimer(), BindEvent<&TMainForm::Timer1Timer>(Form));
  EXPECT_TRUE(Form->Timer1->Enabled());
  EXPECT_EQ(Form->Timer1->Interval(), 1000u);
}

TEST_F(MainFormFixture, StoredValuesOfTheControls) {
  const std::vector<String> rates = {L"9600",   L"19200",  L"38400",  L"57600",   L"100000",
                                     L"115200", L"200000", L"230400", L"460800",  L"500000",
                                     L"576000", L"921600", L"1000000", L"1500000", L"2000000"};
  TStrings* items = Form->CB_Baudrate->Properties()->Items();
  ASSERT_EQ(items->Count(), static_cast<int>(rates.size()));
  for (int i = 0; i < items->Count(); ++i) EXPECT_EQ(items->Strings(i), rates[static_cast<std::size_t>(i)]);
  EXPECT_EQ(Form->CB_Baudrate->Text(), L"9600");
  EXPECT_EQ(Form->CB_Baudrate->Properties()->DropDownListStyle(), lsEditFixedList);
  EXPECT_EQ(Form->CB_Comport->Properties()->DropDownListStyle(), lsFixedList);
  for (TcxComboBox* combo : {Form->CB_Comport, Form->CB_Baudrate}) {
    EXPECT_TRUE(combo->Style()->HotTrack());
    EXPECT_EQ(combo->Style()->ButtonTransparency(), ebtNone);
    for (TcxEditStyle* style : {combo->Style(), combo->StyleDisabled(), combo->StyleFocused(), combo->StyleHot()})
      EXPECT_FALSE(style->LookAndFeel()->NativeStyle());
  }
  for (TcxButton* button : {Form->BTN_Beenden, Form->BTN_Connect, Form->BTN_Oeffnen, Form->BTN_Flash}) {
    EXPECT_EQ(button->OptionsImage()->Images(), Form->cxImageList1);
    EXPECT_FALSE(button->LookAndFeel()->NativeStyle());
  }
  EXPECT_EQ(Form->BTN_Beenden->OptionsImage()->ImageIndex(), 11);
  EXPECT_EQ(Form->BTN_Oeffnen->OptionsImage()->ImageIndex(), 12);
  EXPECT_EQ(Form->BTN_Connect->OptionsImage()->ImageIndex(), 13);
  EXPECT_EQ(Form->BTN_Flash->OptionsImage()->ImageIndex(), 14);
  EXPECT_FALSE(Form->LB_Info->ExtendedSelect());
  EXPECT_EQ(Form->cxImageList1->SourceDPI(), 96);
  EXPECT_EQ(Form->cxImageList1->FormatVersion(), 1);
  // The 15 stored items are kept as read: PNG files for the smart images,
  // and the native list holds one image for each.
  TcxImageInfoCollection* images = Form->cxImageList1->Images();
  ASSERT_EQ(images->Count(), 15);
  EXPECT_EQ(Form->cxImageList1->Count(), 15);
  EXPECT_EQ(Form->cxImageList1->Width(), 16);
  EXPECT_EQ(Form->cxImageList1->Height(), 16);
  for (int i = 0; i < images->Count(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(images->Items(i)->ImageClass(), L"TdxPNGImage");
    ASSERT_TRUE(Is<TdxPNGImage>(images->Items(i)->Image()));
    const TOwned<TMemoryStream> data(New<TMemoryStream>());
    images->Items(i)->Image()->SaveToStream(data.get());
    ASSERT_GT(data->Size(), 8);
    const auto* bytes = static_cast<const std::uint8_t*>(data->Memory());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + 8),
              (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}));
  }
  EXPECT_FALSE(Form->cxGroupBox1->ParentBackground());

  EXPECT_EQ(Form->PB->Properties()->BeginColor(), TColor(0x0080FF));
  EXPECT_EQ(Form->PB->Properties()->PeakValue(), 76.0);
  EXPECT_TRUE(Form->PB->Properties()->SolidTextColor());
  EXPECT_EQ(Form->PB->Font()->Name(), L"Tahoma");
  EXPECT_EQ(Form->PB->Font()->Color(), clBlack);
  EXPECT_EQ(Form->PB->Position(), 0.0);

  EXPECT_EQ(Form->Running->PropertiesClassName(), L"TdxActivityIndicatorHorizontalDotsProperties");
  auto* dots = dynamic_cast<TdxActivityIndicatorHorizontalDotsProperties*>(Form->Running->Properties());
  ASSERT_NE(dots, nullptr);
  EXPECT_EQ(dots->AnimationTime(), 3000u);
  EXPECT_EQ(static_cast<std::uint32_t>(dots->DotColor()), 0xFFFF8000u);
  EXPECT_EQ(dots->DotSize(), 5);
  EXPECT_FALSE(Form->Running->Active());

  EXPECT_EQ(Form->OD->DefaultExt(), L"*.PPRO");
  EXPECT_EQ(Form->OD->Filter(), L"Torvik Projekt|*.PPRO");
  EXPECT_EQ(Form->OD->Title(), L"Torvik Projekt öffnen");
  EXPECT_EQ(Form->OD->Options(), (TOpenOptions{ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing}));

  EXPECT_EQ(Form->RzVersionInfoStatus1->Field(), vifFileVersion);
  EXPECT_EQ(Form->RzVersionInfoStatus1->FieldLabel(), L"Version:");
  EXPECT_EQ(Form->RzVersionInfoStatus2->Field(), vifCompanyName);
  EXPECT_EQ(Form->RzVersionInfoStatus1->VersionInfo(), Form->RzVersionInfo1);
  EXPECT_EQ(Form->Store->Section(), L"Skarnivel configuration");
  EXPECT_EQ(Form->Store->RegIniFile(), Form->RzRegIniFile1);
  ASSERT_EQ(Form->Store->Properties()->Count(), 2);
  EXPECT_EQ(Form->Store->Properties()->Items(0)->DisplayName(), L"CB_Baudrate.Text");
  EXPECT_EQ(Form->Store->Properties()->Items(1)->DisplayName(), L"CB_EndAfterFlash.Checked");
}

// ---------------------------------------------------------------------------
// Closing

// The lines of ABlock, without their indentation and without empty lines.
std::vector<String> TrimmedLines(const String& ABlock) {
  std::vector<String> lines;
  std::size_t start = 0;
  while (start < ABlock.size()) {
    std::size_t stop = ABlock.find(L'\n', start);
    if (stop == String::npos) stop = ABlock.size();
    String line = ABlock.substr(start, stop - start);
    const std::size_t first = line.find_first_not_of(L" \t\r");
    const std::size_t last = line.find_last_not_of(L" \t\r");
    if (first != String::npos) lines.push_back(line.substr(first, last - first + 1));
    start = stop + 1;
  }
  return lines;
}

TEST_F(MainFormFixture, TheImageListsFormDataWrittenAgainAreTheResources) {
  // The list's object in the form description the program carries.
  const String form = ReadResourceText(GetModuleHandleW(nullptr), L"TMAINFORM");
  const std::size_t start = form.find(L"object cxImageList1: TcxImageList");
  ASSERT_NE(start, String::npos);
  const std::size_t stop = form.find(L"end>", start);
  ASSERT_NE(stop, String::npos);
  const std::vector<String> stored = TrimmedLines(form.substr(start, stop + 4 - start));

  const String written = WriteComponentToText(Form->cxImageList1);
  std::vector<String> lines = TrimmedLines(written);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), L"end");
  lines.pop_back();
  // Design information is written beside what the resource holds; no
  // native data for a list of raster images.
  const auto designInfo = std::find_if(lines.begin(), lines.end(), [](const String& ALine) {
    return ALine.starts_with(L"DesignInfo = ");
  });
  ASSERT_NE(designInfo, lines.end()) << written;
  lines.erase(designInfo);
  EXPECT_EQ(written.find(L"Bitmap"), String::npos);
  EXPECT_EQ(lines, stored);

  const TOwned<TcxImageList> read(static_cast<TcxImageList*>(ReadComponentFromText(written)));
  ASSERT_NE(read.get(), nullptr);
  EXPECT_TRUE(read->Equals(Form->cxImageList1));
  EXPECT_EQ(read->Count(), 15);
}

TEST_F(MainFormFixture, CloseQueryAsksOnlyWhileFlashing) {
  struct TRow {
    std::uint8_t State;
    int Answer;
    bool Asks;
    bool CanClose;
  };
  const TRow rows[] = {{StateIdle, IDNO, false, true},     {StateReady, IDNO, false, true},
                       {StateFinished, IDNO, false, true}, {StateFinishing, IDNO, false, true},
                       {StateFlashing, IDNO, true, false}, {StateFlashing, IDYES, true, true}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "state " << int(row.State) << " answer " << row.Answer);
    Dialogs->Clear();
    Dialogs->AnswerBox = row.Answer;
    FlasherState = row.State;
    bool canClose = true;
    Form->FormCloseQuery(Form, canClose);
    EXPECT_EQ(canClose, row.CanClose);
    ASSERT_EQ(Dialogs->Boxes.size(), row.Asks ? 1u : 0u);
    if (!row.Asks) continue;
    EXPECT_EQ(Dialogs->Boxes[0].Text,
              L"Aktuell wird eine MCU beschrieben.\r\n\r\nSoll das Programm wirklich beendet werden?\r\n\r\n"
              L"Vorsicht : Die MCU kann unbrauchbar werden!");
    EXPECT_EQ(Dialogs->Boxes[0].Caption, L"Beenden");
    EXPECT_EQ(Dialogs->Boxes[0].Flags, static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING));
  }
}

TEST_F(MainFormFixture, AnsweringNoKeepsTheWindowWhileFlashing) {
  ShowForm();
  FlasherState = StateFlashing;
  Dialogs->AnswerBox = IDNO;
  Form->Close();
  EXPECT_TRUE(Form->Visible());
  EXPECT_FALSE(Application()->Terminated());
  Dialogs->AnswerBox = IDYES;
  Form->Close();
  EXPECT_TRUE(Application()->Terminated());
}

TEST_F(MainFormFixture, TimerClosesOnlyAfterASuccessfulFlashWithTheOptionChecked) {
  struct TRow {
    bool EndAfterFlash;
    bool FlashedOK;
    bool Closes;
  };
  for (const TRow& row : {TRow{false, false, false}, TRow{true, false, false}, TRow{false, true, false},
                          TRow{true, true, true}}) {
    SCOPED_TRACE(testing::Message() << row.EndAfterFlash << row.FlashedOK);
    Application()->ResetTerminated();
    DrainQuit();
    Form->CB_EndAfterFlash->SetChecked(row.EndAfterFlash);
    FlashedOK = row.FlashedOK;
    FlasherState = StateFinished;
    Form->Timer1Timer(Form->Timer1);
    EXPECT_EQ(Application()->Terminated(), row.Closes);
    EXPECT_TRUE(Dialogs->Boxes.empty()) << "closing after a flash asks nothing";
  }
}

TEST_F(MainFormFixture, TheRunningTimerClosesTheWindowWithinASecond) {
  ShowForm();
  Form->CB_EndAfterFlash->SetChecked(true);
  FlashedOK = true;
  FlasherState = StateFinished;
  const std::uint64_t start = TickCount();
  EXPECT_TRUE(PumpUntil([] { return Application()->Terminated(); }, 3000));
  EXPECT_LE(TicksSince(start), 1500u);
}

TEST_F(MainFormFixture, CloseSavesTheSettingsAndClosesAnOpenPort) {
  Form->CB_Baudrate->SetText(L"115200");
  Form->CB_EndAfterFlash->SetChecked(true);
  TCloseAction action = caHide;
  Form->FormClose(Form, action);
  const std::string text = FileText(Dir.File(L"Skarnivel.cfg"));
  EXPECT_NE(text.find("[Skarnivel configuration]"), std::string::npos) << text;
  EXPECT_NE(text.find("CB_Baudrate.Text=115200"), std::string::npos) << text;
  EXPECT_NE(text.find("CB_EndAfterFlash.Checked=True"), std::string::npos) << text;
}

TEST_F(MainFormFixture, ShowLoadsTheStoredSettingsEvenAnUnlistedRate) {
  Dir.Write(L"Skarnivel.cfg",
            "[Skarnivel configuration]\r\nCB_Baudrate.Text=123456\r\nCB_EndAfterFlash.Checked=True\r\n");
  Form->Store->Load();
  EXPECT_EQ(Form->CB_Baudrate->Text(), L"123456");
  EXPECT_TRUE(Form->CB_EndAfterFlash->Checked());
}

TEST_F(MainFormFixture, QuitButtonAndTheUnboundHandlerClose) {
  ShowForm();
  Form->BTN_BeendenClick(Form->BTN_Beenden);
  EXPECT_TRUE(Application()->Terminated());
  Application()->ResetTerminated();
  DrainQuit();
  ShowForm();
  Form->dxBarButton1Click(nullptr);
  EXPECT_TRUE(Application()->Terminated());
}

// ---------------------------------------------------------------------------
// Connect button: what this build does of it

TEST_F(MainFormFixture, DisconnectResetsTheControls) {
  Connected = true;
  Form->BTN_Connect->SetEnabled(true);
  Form->BTN_Connect->SetCaption(L"Verbunden");
  Form->BTN_Connect->Colors()->SetDefault(clLime);
  Form->CB_Comport->SetEnabled(false);
  Form->CB_Baudrate->SetEnabled(false);
  Form->BTN_Flash->SetEnabled(true);
  Form->BTN_Oeffnen->SetEnabled(false);
  Form->LB_Info->Items()->Add(L"Device ID : $1E9702");

  Form->BTN_ConnectClick(Form->BTN_Connect);

  EXPECT_FALSE(Connected);
  EXPECT_EQ(Form->BTN_Connect->Caption(), L"Verbinden");
  EXPECT_EQ(Form->BTN_Connect->Colors()->Default(), clDefault);
  EXPECT_FALSE(Form->BTN_Connect->Colors()->IsAssigned(TcxButtonColors::iDefault));
  EXPECT_FALSE(Form->BTN_Connect->Enabled());
  EXPECT_TRUE(Form->CB_Comport->Enabled());
  EXPECT_TRUE(Form->CB_Baudrate->Enabled());
  EXPECT_FALSE(Form->BTN_Flash->Enabled());
  EXPECT_TRUE(Form->BTN_Oeffnen->Enabled());
  EXPECT_EQ(Form->LB_Info->Items()->Count(), 0);
}

TEST_F(MainFormFixture, APortThatCannotBeOpenedIsReported) {
  Form->CB_Comport->Properties()->Items()->SetCommaText(L"COM98");
  Form->CB_Comport->SetItemIndex(0);
  Form->BTN_Connect->SetEnabled(true);
  Form->BTN_ConnectClick(Form->BTN_Connect);
  ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
  EXPECT_EQ(Dialogs->Dialogs[0].Text, L"Der angegebene Port ist nicht bereit, Daten zu senden/empfangen.");
  EXPECT_FALSE(Connected);
  EXPECT_TRUE(Form->BTN_Connect->Enabled());
  EXPECT_EQ(Form->BTN_Connect->Caption(), L"Verbinden");
}

// ---------------------------------------------------------------------------
// Dialog position and the real dialog window

TEST_F(MainFormFixture, DialogsStandAtTheMainWindowPlusOneHundred) {
  ShowForm();
  RECT r{};
  GetWindowRect(Form->Handle(), &r);
  // poDesktopCenter moved the window away from the stored 426, 617.
  EXPECT_EQ(Form->Left(), r.left);
  EXPECT_EQ(Form->Top(), r.top);
  LoadHexFile(Dir.File(L"absent.hex"), TargetFlash);
  ASSERT_EQ(Dialogs->Dialogs.size(), 1u);
  EXPECT_EQ(Dialogs->Dialogs[0].X, r.left + 100);
  EXPECT_EQ(Dialogs->Dialogs[0].Y, r.top + 100);
}

}  // namespace

namespace {

// What the real dialog showed, seen from a timer while it was open.
struct TSeenDialog {
  bool Found = false;
  String Caption;
  String Texts;
  RECT Rect{};
};
TSeenDialog GSeen;

BOOL CALLBACK CollectText(HWND AWnd, LPARAM) {
  wchar_t text[512] = {};
  GetWindowTextW(AWnd, text, 512);
  GSeen.Texts += String(text) + L"|";
  return TRUE;
}

BOOL CALLBACK FindMessageForm(HWND AWnd, LPARAM AFound) {
  wchar_t cls[64] = {};
  GetClassNameW(AWnd, cls, 64);
  if (String(cls) != L"TMessageForm" || !IsWindowVisible(AWnd)) return TRUE;
  *reinterpret_cast<HWND*>(AFound) = AWnd;
  return FALSE;
}

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR ATimer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindMessageForm, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, ATimer);
  GSeen.Found = true;
  wchar_t caption[256] = {};
  GetWindowTextW(dialog, caption, 256);
  GSeen.Caption = caption;
  GetWindowRect(dialog, &GSeen.Rect);
  EnumChildWindows(dialog, &CollectText, 0);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

TEST_F(MainFormFixture, TheLoadersDialogIsARealWindowBesideTheMainWindow) {
  ShowForm();
  TScratchDir dir;
  const String file = dir.Write(L"bad.hex", HexRecord(7, 0, {}) + "\r\n");
  GSeen = TSeenDialog{};
  TDialogProvider* recorder = SetDialogProvider(nullptr);  // the real dialogs
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &AnswerDialog);
  const int result = LoadHexFile(file, TargetFlash);
  KillTimer(nullptr, timer);
  SetDialogProvider(recorder);

  EXPECT_EQ(result, -1);
  ASSERT_TRUE(GSeen.Found) << "no dialog window appeared";
  EXPECT_EQ(GSeen.Caption, L"Fehler");
  EXPECT_NE(GSeen.Texts.find(L"Error in Hex-File!\r+File :\rbad.hex\rLine : 1"), String::npos)
      << UTF8Encode(GSeen.Texts);
  EXPECT_EQ(GSeen.Rect.left, Form->Left() + 100);
  EXPECT_EQ(GSeen.Rect.top, Form->Top() + 100);
  EXPECT_EQ(Dialogs->Beeps, 1);
}

}  // namespace

namespace {

TEST_F(MainFormFixture, ProgressPositionsAreClampedToTheRange) {
  struct TRow {
    double Written;
    double Read;
    const wchar_t* Text;
  };
  for (const TRow& row : {TRow{0, 0, L"0 %"}, TRow{42, 42, L"42 %"}, TRow{100, 100, L"100 %"},
                          TRow{150, 100, L"100 %"}, TRow{-5, 0, L"0 %"}}) {
    SCOPED_TRACE(row.Written);
    Form->PB->SetPosition(row.Written);
    EXPECT_EQ(Form->PB->Position(), row.Read);
    EXPECT_EQ(Form->PB->ViewInfo()->GetText(), row.Text);
  }
  Form->PB->SetPosition(50);
  // Half the content, to the pixel. The bar is a container with the form's
  // default transparent border: a 2-pixel margin on each side (its 1-pixel
  // ring is the margin's inner pixel), so the content is 4 pixels narrower
  // than the control, not 2 as inside a plain 1-pixel frame.
  // The layout runs in the bar's window.
  Form->PB->HandleNeeded();
  Form->PB->SetPosition(0);
  Form->PB->SetPosition(50);
  EXPECT_NEAR(Form->PB->ViewInfo()->ProgressBarRect.Width(), (Form->PB->Width() - 2 * 2) / 2.0, 0.5);
}

TEST_F(MainFormFixture, TheActivityIndicatorRunsOnlyWhileActive) {
  ShowForm();
  const auto* controller = Form->Running->AnimationController();
  EXPECT_FALSE(controller->Timer()->Enabled());
  Form->Running->SetActive(true);
  const std::uint64_t start = TickCount();
  EXPECT_TRUE(PumpUntil([&] { return TicksSince(start) >= 100; }, 1000));
  // The first dot crosses in about 1712 ms: 100 ms move it at least 5.8% on.
  EXPECT_GE(controller->Progress(), 100 / 1712.5);
  Form->Running->SetActive(false);
  EXPECT_FALSE(controller->Timer()->Enabled());
  EXPECT_FALSE(Form->Running->Active());
}

}  // namespace
