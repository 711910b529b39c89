#include "app/MainUnit.h"

#include "app/UDefines.h"
#include "app/UHexLoad.h"
#include "app/serial/BlockSerial.h"
#include "app/serial/SerialUtils.h"
#include "components/settings/RzCommon.h"
#include "components/settings/RzStatus.h"
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/graphics/imaging/cxImageList.h"
#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxGroupBox.h"
#include "library/stdctrls/cxLabel.h"
#include "library/stdctrls/cxListBox.h"
#include "library/stdctrls/cxProgressBar.h"
#include "library/stdctrls/dxActivityIndicator.h"
#include "platform/classes/IniFiles.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/ExtCtrls.h"

#include <algorithm>
#include <climits>

TMainForm* MainForm;
TBlockSerial* SerialPort;
std::atomic<bool> Connected;
std::atomic<bool> FlashedOK;
std::atomic<std::uint8_t> FlasherState;
IPtr<ITask> FlashTask;

namespace {

const wchar_t* const ProgramCaption = L"Skarnivel";
const wchar_t* const ProjectSection = L"MainParams";

// A relative image name is taken relative to the project's directory.
String ImageName(const String& AMainFile, const wchar_t* AExtension) {
  String name = ChangeFileExt(AMainFile, AExtension);
  if (ExtractFileDrive(name).empty() && !(name.size() > 0 && (name[0] == L'\\' || name[0] == L'/')))
    name = IncludeTrailingPathDelimiter(ProjectDir) + name;
  return ExpandFileName(name);
}

}  // namespace

void TMainForm::Publish(TPublisher<TMainForm>& P) {
  P.Field<&TMainForm::cxGroupBox1>(L"cxGroupBox1");
  P.Field<&TMainForm::CB_Comport>(L"CB_Comport");
  P.Field<&TMainForm::cxLabel1>(L"cxLabel1");
  P.Field<&TMainForm::cxLabel2>(L"cxLabel2");
  P.Field<&TMainForm::CB_Baudrate>(L"CB_Baudrate");
  P.Field<&TMainForm::cxImageList1>(L"cxImageList1");
  P.Field<&TMainForm::BTN_Beenden>(L"BTN_Beenden");
  P.Field<&TMainForm::BTN_Connect>(L"BTN_Connect");
  P.Field<&TMainForm::LB_Info>(L"LB_Info");
  P.Field<&TMainForm::BTN_Oeffnen>(L"BTN_Oeffnen");
  P.Field<&TMainForm::OD>(L"OD");
  P.Field<&TMainForm::BTN_Flash>(L"BTN_Flash");
  P.Field<&TMainForm::PB>(L"PB");
  P.Field<&TMainForm::cxGroupBox2>(L"cxGroupBox2");
  P.Field<&TMainForm::CB_Flash>(L"CB_Flash");
  P.Field<&TMainForm::CB_EEprom>(L"CB_EEprom");
  P.Field<&TMainForm::CB_UserRow>(L"CB_UserRow");
  P.Field<&TMainForm::Running>(L"Running");
  P.Field<&TMainForm::cxGroupBox3>(L"cxGroupBox3");
  P.Field<&TMainForm::CB_EndAfterFlash>(L"CB_EndAfterFlash");
  P.Field<&TMainForm::Timer1>(L"Timer1");
  P.Field<&TMainForm::RzVersionInfo1>(L"RzVersionInfo1");
  P.Field<&TMainForm::RzVersionInfoStatus2>(L"RzVersionInfoStatus2");
  P.Field<&TMainForm::RzVersionInfoStatus1>(L"RzVersionInfoStatus1");
  P.Field<&TMainForm::Store>(L"Store");
  P.Field<&TMainForm::RzRegIniFile1>(L"RzRegIniFile1");

  P.Method<&TMainForm::FormShow>(L"FormShow");
  P.Method<&TMainForm::FormCloseQuery>(L"FormCloseQuery");
  P.Method<&TMainForm::FormClose>(L"FormClose");
  P.Method<&TMainForm::Timer1Timer>(L"Timer1Timer");
  P.Method<&TMainForm::BTN_BeendenClick>(L"BTN_BeendenClick");
  P.Method<&TMainForm::BTN_OeffnenClick>(L"BTN_OeffnenClick");
  P.Method<&TMainForm::BTN_ConnectClick>(L"BTN_ConnectClick");
  P.Method<&TMainForm::BTN_FlashClick>(L"BTN_FlashClick");
  P.Method<&TMainForm::LoadFiles>(L"LoadFiles");
  P.Method<&TMainForm::GetDevice>(L"GetDevice");
  P.Method<&TMainForm::dxBarButton1Click>(L"dxBarButton1Click");
}

// ---------------------------------------------------------------------------
// Start and end

void TMainForm::FormShow(TObject*) {
  // A damaged or unreadable settings file is reported, and the window still
  // gets its port list.
  try {
    Store->Load();
  } catch (...) {
    Application()->HandleException(this);
  }
  TStrings* ports = CB_Comport->Properties()->Items();
  ports->SetDelimiter(L',');
  ports->SetCommaText(ListSerialPorts());
  if (ports->Count() == 0) {
    Application()->MessageBox(
        L"Auf diesem System wurde kein Kommunikationsport gefunden.\r\n\r\nDas Programm wird beendet.",
        ProgramCaption, MB_OK | MB_ICONERROR);
    Application()->Terminate();
  }
  CB_Comport->SetItemIndex(0);
}

void TMainForm::FormCloseQuery(TObject*, bool& CanClose) {
  if (FlasherState != StateFlashing) return;
  const int answer = Application()->MessageBox(
      L"Aktuell wird eine MCU beschrieben.\r\n\r\nSoll das Programm wirklich beendet werden?\r\n\r\n"
      L"Vorsicht : Die MCU kann unbrauchbar werden!",
      L"Beenden", MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING);
  CanClose = answer != IDNO;
}

void TMainForm::FormClose(TObject*, TCloseAction&) {
  // A running flashing task owns the port until it has stopped.
  if (!AbandonFlash() && Connected && SerialPort) SerialPort->CloseSocket();
  // Settings that cannot be written are reported; the window still closes.
  try {
    Store->Save();
  } catch (...) {
    Application()->HandleException(this);
  }
}

void TMainForm::Timer1Timer(TObject*) {
  if (CB_EndAfterFlash->Checked() && FlashedOK) Close();
}

void TMainForm::BTN_BeendenClick(TObject*) { Close(); }

void TMainForm::dxBarButton1Click(TObject*) { Close(); }

void TMainForm::BTN_OeffnenClick(TObject*) {
  // A click that comes before the flashing task disabled the button would
  // replace the images it is writing.
  if (FlashTaskActive()) return;
  if (OD->Execute()) LoadFiles(OD->FileName());
}

// ---------------------------------------------------------------------------
// The project

void TMainForm::LoadFiles(const String& FileName) {
  LB_Info->Clear();
  FlashSize = 0;
  EepromSize = 0;
  UserRowSize = 0;
  FlashLimit = -1;
  EepromLimit = -1;
  RequestedLoaderID = -1;
  FlasherState = StateIdle;
  EraseImages();

  ProjectFile = ExpandFileName(FileName);
  String extension = ExtractFileExt(ProjectFile);
  if (extension.empty()) return;
  extension = UpperCase(Trim(extension));
  ProjectDir = ExtractFileDir(ProjectFile);
  ChDir(ProjectDir);

  TStrings* lines = LB_Info->Items();
  if (extension == L".PPRO" && FileExists(ProjectFile)) {
    // Nothing reads the project's INI object after this, so it goes now.
    const TOwned<TIniFile> ini(New<TIniFile>(ProjectFile));
    const String mainFile = ini->ReadString(ProjectSection, L"MainFile", String());
    ExpectedDeviceID = ini->ReadInteger(ProjectSection, L"DeviceID", 0);

    const String cpu = AnsiUpperCase(ini->ReadString(ProjectSection, L"CPUname", L"---"));
    DeviceFamily = StartsText(L"XMEGA", cpu) ? FamilyXmega : FamilyClassic;
    lines->Add(L"----- MCU -----");
    lines->Add(cpu);
    CB_UserRow->SetEnabled(DeviceFamily == FamilyXmega);

    RequestedLoaderID = ini->ReadInteger(ProjectSection, L"BootLoaderID", 0);
    FlashLimit = ini->ReadInteger(ProjectSection, L"FlashMax", 0);
    lines->Add(L"Flash " + IntToStr(FlashLimit) + L" Bytes");
    EepromLimit = ini->ReadInteger(ProjectSection, L"EEpromMax", 0);
    lines->Add(L"EEprom " + IntToStr(EepromLimit) + L" Bytes");
    // Saturated: a page size beyond reason must not wrap into a small one.
    const long long pageBytes = 2LL * ini->ReadInteger(ProjectSection, L"PageSize", 0);
    BlockSize = static_cast<int>(std::clamp<long long>(pageBytes, INT_MIN, INT_MAX));
    EepromPageSize = ini->ReadInteger(ProjectSection, L"EPageSize", 0);

    const String hexFile = ImageName(mainFile, L".hex");
    if (FileExists(hexFile)) FlashSize = LoadHexFile(hexFile, TargetFlash);
    const String eepFile = ImageName(mainFile, L".eep");
    if (FileExists(eepFile)) EepromSize = LoadHexFile(eepFile, TargetEeprom);
    if (DeviceFamily == FamilyXmega) {
      const String usrFile = ImageName(mainFile, L".usr");
      if (FileExists(usrFile)) UserRowSize = LoadHexFile(usrFile, TargetUserRow);
    }
  }

  if (FlashSize > 0 || EepromSize > 0) {
    lines->Add(L"----- Bytes to write -----");
    lines->Add(L"Flash : " + IntToStr(FlashSize) + L" Bytes");
    lines->Add(L"EEprom : " + IntToStr(EepromSize) + L" Bytes");
  }
  FlasherState = StateReady;

  CB_Flash->SetChecked(FlashSize > 0);
  CB_EEprom->SetChecked(EepromSize > 0);
  CB_UserRow->SetChecked(DeviceFamily == FamilyXmega);
  BTN_Connect->SetEnabled(true);
  CB_Flash->SetEnabled(true);
  CB_EEprom->SetEnabled(true);
  CB_UserRow->SetEnabled(true);
}
