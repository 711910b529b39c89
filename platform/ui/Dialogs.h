// Message dialogs, the simple message, the application's message box and the
// open-file dialog.
//
// Classes in this file:
//   TMsgDlgType, TMsgDlgBtn, TMsgDlgButtons   the kind and buttons of a message dialog
//   TMessageDlgParams     one message dialog, as a provider receives it
//   TMessageBoxParams     one system message box, as a provider receives it
//   TDialogProvider       shows every dialog of this unit; tests install their own
//   TOpenOption, TOpenOptions
//   TCommonDialog, TOpenDialog
//   MessageDlg, MessageDlgPos, ShowMessage, ShowMessagePos, DialogMessageBox
//
// Every dialog goes through the current TDialogProvider. The default one shows
// real windows: the message dialog is a window of our own (class
// "TMessageForm") with a type icon, the text and German button captions, run
// modally by a loop that dispatches every message of the thread, so timers,
// paints of other windows and work queued for the UI thread go on while it is
// open; the message box and the open dialog are the system's. A test
// replaces the provider to observe and answer dialogs without a person.
#pragma once

#include "platform/classes/Component.h"
#include "platform/classes/Lists.h"
#include "platform/ui/UITypes.h"

#include <vector>

// A dialog the system could not show, or a request it cannot be built from.
class EDialogError : public Exception { public: using Exception::Exception; };

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
template <>
struct TEnumInfo<TMsgDlgType> {
  static constexpr const wchar_t* Name = L"TMsgDlgType";
  static constexpr const wchar_t* Names[] = {L"mtWarning", L"mtError", L"mtInformation",
                                             L"mtConfirmation", L"mtCustom"};
  static constexpr TMsgDlgType Last = mtCustom;
};

// Buttons appear in this order, left to right.
enum TMsgDlgBtn {
  mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose
};
template <>
struct TEnumInfo<TMsgDlgBtn> {
  static constexpr const wchar_t* Name = L"TMsgDlgBtn";
  static constexpr const wchar_t* Names[] = {L"mbYes",   L"mbNo",    L"mbOK",      L"mbCancel",
                                             L"mbAbort", L"mbRetry", L"mbIgnore",  L"mbAll",
                                             L"mbNoToAll", L"mbYesToAll", L"mbHelp", L"mbClose"};
  static constexpr TMsgDlgBtn Last = mbClose;
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline const TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// The caption of a dialog type ("Warnung", "Fehler", "Information",
// "Bestätigen"); empty for mtCustom, which shows the application's title.
String MsgDlgTypeCaption(TMsgDlgType AType);
// The caption of a button ("&Ja", "&Nein", "OK", "Abbrechen", ...).
String MsgDlgButtonCaption(TMsgDlgBtn AButton);
// The modal result a button answers (mbYes -> mrYes, ...).
TModalResult MsgDlgButtonResult(TMsgDlgBtn AButton);
// The sound a dialog type plays (a MessageBeep type); 0 for mtCustom.
UINT MsgDlgTypeSound(TMsgDlgType AType);
// The application's title; without one, the program file's name without its
// extension.
String DialogApplicationTitle();

// One message dialog, complete: what the user would see.
struct TMessageDlgParams {
  String Caption;                // the type's caption, or the application title
  String Text;
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons Buttons;        // never empty
  TMsgDlgBtn DefaultButton = mbOK;  // one of Buttons; Enter presses it
  TMsgDlgBtn CancelButton = mbOK;   // one of Buttons; Esc presses it (see HasCancelButton)
  bool HasCancelButton = false;
  int X = -1;                    // screen position of the window's top-left corner
  int Y = -1;                    // (may be negative); -1 centres it on that axis
  int HelpCtx = 0;
};

// One system message box (the application object's MessageBox).
struct TMessageBoxParams {
  HWND Owner = nullptr;
  String Text;
  String Caption;
  UINT Flags = 0;  // MB_* as for MessageBoxW
};

class TOpenDialog;

// Shows the dialogs. The default provider shows the real ones; a test derives
// its own and installs it with SetDialogProvider.
class TDialogProvider : public TObject {
  SK_CLASS(TDialogProvider, TObject)
 public:
  // Plays the type's sound, then shows the dialog and waits for its answer.
  virtual TModalResult MessageDlg(const TMessageDlgParams& AParams);
  // MessageBoxW: answers IDOK, IDYES, ... (0 when the box could not be shown).
  virtual int MessageBox(const TMessageBoxParams& AParams);
  // GetOpenFileNameW for the dialog's settings; on confirmation writes the
  // chosen names, filter index and read-only state back into ADialog.
  virtual bool ExecuteOpenDialog(TOpenDialog* ADialog);
  // The system sound of a message dialog (MessageBeep).
  virtual void MessageSound(UINT ASound);
};

// The provider every dialog goes through.
TDialogProvider* DialogProvider();
// Installs AProvider (null: the default one) and returns the one it replaces.
// The caller keeps ownership of the providers it installs.
TDialogProvider* SetDialogProvider(TDialogProvider* AProvider);

// The message dialog, centred on the screen. The default button is ADefault,
// else OK, Yes or Retry when present, else the first button. The answer is
// the modal result of the pressed button; closing the window answers the
// cancel button's result (Cancel, No, OK or a single button), else mrCancel.
// An empty button set shows OK.
TModalResult MessageDlg(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons, int AHelpCtx);
TModalResult MessageDlg(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons, int AHelpCtx,
                        TMsgDlgBtn ADefault);
// The message dialog with its top-left corner at (AX, AY) on the screen; -1
// centres it on that axis.
TModalResult MessageDlgPos(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons, int AHelpCtx,
                           int AX, int AY);
TModalResult MessageDlgPos(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons, int AHelpCtx,
                           int AX, int AY, TMsgDlgBtn ADefault);
// A dialog with the application's title, the text and one OK button.
void ShowMessage(const String& AMsg);
void ShowMessagePos(const String& AMsg, int AX, int AY);
// The system message box, through the provider (the application object's
// MessageBox shows its box here).
int DialogMessageBox(HWND AOwner, const String& AText, const String& ACaption, UINT AFlags);

// The message dialog's parameters as MessageDlgPos builds them (defaults
// filled in), for providers and tests.
TMessageDlgParams MakeMessageDlgParams(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons,
                                       int AHelpCtx, int AX, int AY, const TMsgDlgBtn* ADefault);

// ---------------------------------------------------------------------------
// The open-file dialog

enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
  ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
  ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
  ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent,
  ofForceShowHidden
};
template <>
struct TEnumInfo<TOpenOption> {
  static constexpr const wchar_t* Name = L"TOpenOption";
  static constexpr const wchar_t* Names[] = {
      L"ofReadOnly",        L"ofOverwritePrompt",  L"ofHideReadOnly",        L"ofNoChangeDir",
      L"ofShowHelp",        L"ofNoValidate",       L"ofAllowMultiSelect",    L"ofExtensionDifferent",
      L"ofPathMustExist",   L"ofFileMustExist",    L"ofCreatePrompt",        L"ofShareAware",
      L"ofNoReadOnlyReturn", L"ofNoTestFileCreate", L"ofNoNetworkButton",    L"ofNoLongNames",
      L"ofOldStyleDialog",  L"ofNoDereferenceLinks", L"ofEnableIncludeNotify", L"ofEnableSizing",
      L"ofDontAddToRecent", L"ofForceShowHidden"};
  static constexpr TOpenOption Last = ofForceShowHidden;
};
using TOpenOptions = TSet<TOpenOption>;

// The OFN_* flags of a set of options.
DWORD OpenOptionsToFlags(const TOpenOptions& AOptions);

class TCommonDialog : public TComponent {
  SK_CLASS(TCommonDialog, TComponent)
 public:
  static void Publish(TPublisher<TCommonDialog>& P);

  virtual bool Execute() = 0;

  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int AValue) { FHelpContext = AValue; }
  TNotifyEvent OnShow() const { return FOnShow; }
  void SetOnShow(TNotifyEvent AValue) { FOnShow = AValue; }
  TNotifyEvent OnClose() const { return FOnClose; }
  void SetOnClose(TNotifyEvent AValue) { FOnClose = AValue; }

 protected:
  void DoShow() { CallEvent(FOnShow, this); }
  void DoClose() { CallEvent(FOnClose, this); }

 private:
  int FHelpContext;
  TNotifyEvent FOnShow;
  TNotifyEvent FOnClose;
};

class TOpenDialog : public TCommonDialog {
  SK_CLASS(TOpenDialog, TCommonDialog)
 public:
  static void Publish(TPublisher<TOpenDialog>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Shows the dialog (through the provider); true when the user confirmed.
  bool Execute() override;

  // Properties
  // The extension added to a name typed without one; a leading "*." or "."
  // is dropped ("*.PPRO" and ".PPRO" both mean "PPRO").
  const String& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const String& AValue) { FDefaultExt = AValue; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& AValue) { FFileName = AValue; }
  // The chosen files (one unless ofAllowMultiSelect), full paths.
  TStrings* Files() const { return FFiles.get(); }
  // "Description|Pattern|Description|Pattern..."
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& AValue) { FFilter = AValue; }
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int AValue) { FFilterIndex = AValue; }
  const String& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& AValue) { FInitialDir = AValue; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions AValue) { FOptions = AValue; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& AValue) { FTitle = AValue; }

  // What a provider writes back after the user confirmed.
  void SetResult(const std::vector<String>& AFiles, int AFilterIndex, bool AReadOnly,
                 bool AExtensionDifferent);

 private:
  String FDefaultExt;
  String FFileName;
  TOwned<TStringList> FFiles;
  String FFilter;
  int FFilterIndex;
  String FInitialDir;
  TOpenOptions FOptions;
  String FTitle;
};

// Unit start-up and shut-down: class registration, the dialog window class.
void DialogsInitialization();
void DialogsFinalization();
