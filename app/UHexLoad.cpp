#include "app/UHexLoad.h"

#include "app/UDefines.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/TextFiles.h"
#include "platform/ui/Forms.h"

#include <algorithm>
#include <span>

namespace {

// A fault of the file: the text of its dialog.
struct EHexFileError {
  String Text;
};

bool IsBlank(wchar_t AChar) { return AChar == L' ' || AChar == L'\t'; }

bool IsBlankLine(const String& ALine) { return std::ranges::all_of(ALine, IsBlank); }

int HexDigit(wchar_t AChar) {
  if (AChar >= L'0' && AChar <= L'9') return AChar - L'0';
  if (AChar >= L'A' && AChar <= L'F') return AChar - L'A' + 10;
  if (AChar >= L'a' && AChar <= L'f') return AChar - L'a' + 10;
  return -1;
}

// The digits of a record line after its ':', trailing blanks not counted.
std::size_t RecordDigits(const String& ALine) {
  std::size_t end = ALine.size();
  while (end > 1 && IsBlank(ALine[end - 1])) --end;
  return end - 1;
}

// The byte count that each record type other than data must carry.
int FixedCount(int AType) {
  switch (AType) {
    case 0x01: return 0;
    case 0x02: return 2;
    case 0x03: return 4;
    default: return -1;
  }
}

// One call of LoadHexFile.
class THexLoader {
 public:
  THexLoader(const String& AFileName, std::span<std::uint8_t> AImage)
      : FFileName(AFileName), FShortName(ExtractFileName(AFileName)), FImage(AImage) {}

  int Run();

 private:
  // Reads the next line and handles its record; true after the end record.
  bool ReadRecord();
  // The next ADigits (2 or 4) characters of the line read as a hexadecimal
  // number; fewer at the end of the line. Adds the value's two bytes to the
  // record sum.
  std::uint16_t ReadHexValue(int ADigits);
  // "Line" of the dialogs: the file without its directory and the line number.
  String Where() const { return L"File :\r" + FShortName + L"\rLine : " + IntToStr(FLineNo); }
  EHexFileError Overflow(int AAddress, bool AAtStart) const;
  static EHexFileError FormatError() { return {L"Error in Hex-File!"}; }
  int Size() const { return static_cast<int>(FImage.size()); }
  void Close() {
    if (FFile.IsOpen()) FFile.Close();
  }
  static void Fail(const String& AText) {
    Beep();
    MainFormMessageDlg(AText, mtError, mbAbort);
  }

  String FFileName;
  String FShortName;
  std::span<std::uint8_t> FImage;
  TTextFile FFile;
  String FLine;
  std::size_t FPos = 0;
  std::uint8_t FSum = 0;
  int FSegment = 0;
  int FLineNo = 0;
  int FResult = 0;
};

std::uint16_t THexLoader::ReadHexValue(int ADigits) {
  if (FPos >= FLine.size()) throw FormatError();
  const std::size_t end = std::min(FLine.size(), FPos + static_cast<std::size_t>(ADigits));
  unsigned value = 0;
  for (std::size_t i = FPos; i < end; ++i) {
    const int digit = HexDigit(FLine[i]);
    if (digit < 0) throw FormatError();
    value = value * 16 + static_cast<unsigned>(digit);
  }
  FPos += static_cast<std::size_t>(ADigits);
  FSum = static_cast<std::uint8_t>(FSum + (value & 0xFF) + (value >> 8));
  return static_cast<std::uint16_t>(value);
}

EHexFileError THexLoader::Overflow(int AAddress, bool AAtStart) const {
  // Only the test at a record's start names the address, and only to XMEGA
  // projects.
  if (AAtStart && DeviceFamily == FamilyXmega)
    return {L"Buffer overflow!\rXMega application area exceeded at addr:\r$" + IntToHex(AAddress, 5) + L"\r" +
            Where()};
  return {L"Buffer overflow!\r" + Where()};
}

bool THexLoader::ReadRecord() {
  if (FFile.Eof()) throw EHexFileError{L"unexpected end of file!"};
  FFile.ReadLn(FLine);
  ++FLineNo;
  if (IsBlankLine(FLine)) return false;
  if (FLine[0] != L':') throw FormatError();
  FPos = 1;
  FSum = 0;
  const int count = ReadHexValue(2);
  // Count, offset, type, the data and the checksum, and nothing else: a
  // digit too few or a second record on the line would be taken silently.
  if (RecordDigits(FLine) != 2 * (5 + static_cast<std::size_t>(count))) throw FormatError();
  int address = ReadHexValue(4) + FSegment * 16;
  if (address >= Size()) throw Overflow(address, true);
  const int type = ReadHexValue(2);
  if (type > 0x03) throw EHexFileError{L"Error in Hex-File!\r+" + Where()};
  if (type != 0x00 && count != FixedCount(type)) throw FormatError();
  switch (type) {
    case 0x00:
      for (int i = 0; i < count; ++i) {
        if (address >= Size()) throw Overflow(address, false);
        FImage[static_cast<std::size_t>(address++)] = static_cast<std::uint8_t>(ReadHexValue(2));
      }
      FResult = std::max(FResult, address);
      break;
    case 0x02:
      FSegment = ReadHexValue(4);
      break;
    case 0x03:
      for (int i = 0; i < count; ++i) ReadHexValue(2);
      break;
    default:
      break;
  }
  ReadHexValue(2);
  if (FSum != 0) throw EHexFileError{L"checksum error!\r+" + Where()};
  return type == 0x01;
}

int THexLoader::Run() {
  try {
    FFile.Assign(FFileName);
    FFile.Reset();
  } catch (const EInOutError&) {
    Fail(L"File " + FFileName + L" not found!");
    return -1;
  }
  if (FFile.Eof()) {
    Close();
    Fail(L"unexpected end of file!");
    return 0;
  }
  try {
    while (!ReadRecord()) {
    }
  } catch (const EHexFileError& E) {
    // What was stored before the fault stays in the image, but a partial
    // image must never count as loaded.
    Close();
    Fail(E.Text);
    return -1;
  }
  Close();
  return FResult;
}

}  // namespace

int LoadHexFile(const String& AFileName, std::uint8_t ATarget) {
  THexLoader loader(AFileName, TargetImage(ATarget));
  return loader.Run();
}

void WaitPumping(unsigned AMilliseconds) {
  const std::uint64_t start = TickCount();
  for (;;) {
    const std::uint64_t elapsed = TicksSince(start);
    if (elapsed >= AMilliseconds) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(AMilliseconds - elapsed), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    if (Application()) {
      Application()->ProcessMessages();
    } else {
      MSG msg{};
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
}

TModalResult MainFormMessageDlg(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgBtn AButton) {
  int x = -1;
  int y = -1;
  if (TApplication* app = Application(); app && app->MainForm()) {
    x = app->MainForm()->Left() + 100;
    y = app->MainForm()->Top() + 100;
  }
  return MessageDlgPos(AMsg, ADlgType, TMsgDlgButtons{AButton}, 0, x, y);
}
