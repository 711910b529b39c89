// Support for the application's tests: scratch directories, HEX records, a
// dialog provider and beep hook that record what the user would see, and the
// real program started as a process of its own.
#pragma once

#include "platform/runtime/SysUtils.h"
#include "platform/ui/Dialogs.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// A fresh directory under the system's temporary folder, removed with
// everything in it at the end of the scope.
class TScratchDir {
 public:
  TScratchDir();
  ~TScratchDir();
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;

  const String& Path() const { return FPath; }
  String File(const String& AName) const { return FPath + L"\\" + AName; }
  // Writes the bytes to a file of the directory (subdirectories are made)
  // and answers its full name.
  String Write(const String& AName, const std::string& ABytes) const;

 private:
  String FPath;
};

// The whole file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const String& AFileName);

// One Intel HEX record line with its checksum, without the line end.
std::string HexRecord(int AType, int AOffset, std::initializer_list<std::uint8_t> AData);
std::string HexRecord(int AType, int AOffset, const std::vector<std::uint8_t>& AData);
// The end record ":00000001FF".
std::string HexEnd();

// Records every dialog and beep while it is installed; answers each message
// dialog with AnswerDlg and each message box with AnswerBox.
class TDialogRecorder : public TDialogProvider {
  SK_CLASS(TDialogRecorder, TDialogProvider)
 public:
  std::vector<TMessageDlgParams> Dialogs;
  std::vector<TMessageBoxParams> Boxes;
  std::vector<String> OpenTitles;
  TModalResult AnswerDlg = mrAbort;
  int AnswerBox = IDOK;
  String ChosenFile;  // the open dialog's answer; empty: cancelled
  int Beeps = 0;
  // Called with each message dialog or box while it is "open".
  std::function<void()> WhileOpen;

  TModalResult MessageDlg(const TMessageDlgParams& AParams) override;
  int MessageBox(const TMessageBoxParams& AParams) override;
  bool ExecuteOpenDialog(TOpenDialog* ADialog) override;
  void MessageSound(UINT) override {}

  void Clear() {
    Dialogs.clear();
    Boxes.clear();
    OpenTitles.clear();
    Beeps = 0;
  }
};

// Installs a TDialogRecorder and a beep hook that counts into it for the
// lifetime of the object.
class TRecordedDialogs {
 public:
  TRecordedDialogs();
  ~TRecordedDialogs();
  TRecordedDialogs(const TRecordedDialogs&) = delete;
  TRecordedDialogs& operator=(const TRecordedDialogs&) = delete;
  TDialogRecorder* operator->() const { return FRecorder; }
  TDialogRecorder& operator*() const { return *FRecorder; }

 private:
  TDialogRecorder* FRecorder;
  TDialogProvider* FPrevious;
  TBeepHook FPreviousBeep;
};

// Skarnivel.exe, started in ADirectory (its settings file lies there) for the
// scope; a program still running at the end is ended.
class TRunningProgram {
 public:
  explicit TRunningProgram(const String& ADirectory);
  ~TRunningProgram();
  TRunningProgram(const TRunningProgram&) = delete;
  TRunningProgram& operator=(const TRunningProgram&) = delete;

  // The visible top-level window of the program with that title and (when
  // given) that class; waits up to ATimeoutMs for it.
  HWND FindWindow(const String& ATitle, const wchar_t* AClass = nullptr, unsigned ATimeoutMs = 10000);
  // Waits for the program to end; its exit code, or -1 when it did not end.
  int WaitForExit(unsigned ATimeoutMs = 10000);

 private:
  PROCESS_INFORMATION FInfo{};
};
