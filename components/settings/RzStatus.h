// The program's version record and the status panes that show one line of
// text in a frame.
//
// Classes in this file:
//   TRzVersionInfoField        the ten texts of a version record
//   TRzVersionInfo             reads a file's version resource (by default the program's)
//   TBlinkState, BlinkQueryMessage, BlinkPhaseMessage
//   TRzBlinkingControlsList    the one timer that makes every blinking pane blink
//   IRzStatusBarSizeGrip       how a pane asks its status bar about the size grip
//   TRzCustomStatusPane        caption in a frame, aligned, optionally blinking
//   TRzCustomFieldStatus       a pane with a label before its caption
//   TRzVersionInfoStatus       a pane that shows one field of a TRzVersionInfo
//
// Panes are windowless: their parent paints them. They always draw with
// their own frame styles, never with the system's visual styles. Reading
// right to left flips the caption's alignment and puts a field label on the
// right.
#pragma once

#include "components/settings/RzCommon.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/UITypes.h"

#include <array>
#include <cstdint>
#include <vector>

class TRzVersionInfoStatus;

// ---------------------------------------------------------------------------
// TRzVersionInfo

enum TRzVersionInfoField {
  vifCompanyName, vifFileDescription, vifFileVersion, vifInternalName, vifCopyright, vifTrademarks,
  vifOriginalFilename, vifProductName, vifProductVersion, vifComments
};
template <>
struct TEnumInfo<TRzVersionInfoField> {
  static constexpr const wchar_t* Name = L"TRzVersionInfoField";
  static constexpr const wchar_t* Names[] = {L"vifCompanyName",    L"vifFileDescription", L"vifFileVersion",
                                             L"vifInternalName",   L"vifCopyright",       L"vifTrademarks",
                                             L"vifOriginalFilename", L"vifProductName",   L"vifProductVersion",
                                             L"vifComments"};
  static constexpr TRzVersionInfoField Last = vifComments;
};
constexpr int VersionInfoFieldCount = 10;

class TRzVersionInfo : public TComponent {
  SK_CLASS(TRzVersionInfo, TComponent)
 public:
  static void Publish(TPublisher<TRzVersionInfo>& P);

  // The text of every field of a file without version record.
  static constexpr const wchar_t* NotAvailable = L"Value Not Available";

  // Reads the version record at once (not while designing).
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Properties
  // The file whose record is read; empty means the program itself (and
  // becomes its path when read).
  const String& FilePath() const { return FFilePath; }
  void SetFilePath(const String& AValue);
  bool VersionInfoAvailable() const { return FVersionInfoAvailable; }
  String CompanyName() const { return GetField(vifCompanyName); }
  String FileDescription() const { return GetField(vifFileDescription); }
  String FileVersion() const { return GetField(vifFileVersion); }
  String InternalName() const { return GetField(vifInternalName); }
  String Copyright() const { return GetField(vifCopyright); }
  String Trademarks() const { return GetField(vifTrademarks); }
  String OriginalFilename() const { return GetField(vifOriginalFilename); }
  String ProductName() const { return GetField(vifProductName); }
  String ProductVersion() const { return GetField(vifProductVersion); }
  String Comments() const { return GetField(vifComments); }
  std::uint16_t MajorVersion() const { return FMajorVersion; }
  std::uint16_t MinorVersion() const { return FMinorVersion; }
  std::uint16_t Release() const { return FRelease; }
  std::uint16_t Build() const { return FBuild; }
  bool DebugBuild() const { return FDebugBuild; }
  bool PreRelease() const { return FPreRelease; }
  bool PrivateBuild() const { return FPrivateBuild; }
  bool SpecialBuild() const { return FSpecialBuild; }
  // The modification time of the program's own file (whatever FilePath
  // says); 0 when it cannot be read.
  TDateTime FileDateTime() const;

  // Operations
  String GetField(TRzVersionInfoField AField) const;
  // Any key of the file's first string table, read from the file now;
  // NotAvailable when the file has no record or the key is missing.
  String GetCustomKeyValue(const String& AKey);
  void AddStatus(TRzVersionInfoStatus* APane);
  void RemoveStatus(TRzVersionInfoStatus* APane);
  // Every attached pane takes its caption anew.
  void UpdateStatusPanes();

 protected:
  void Loaded() override;
  virtual void ReadVersionInfo();

 private:
  bool Designing() const { return ComponentState().Contains(csDesigning); }

  String FFilePath;
  bool FVersionInfoAvailable;
  std::vector<String> FTexts;  // in field order; empty until read
  std::uint16_t FMajorVersion;
  std::uint16_t FMinorVersion;
  std::uint16_t FRelease;
  std::uint16_t FBuild;
  bool FDebugBuild;
  bool FPreRelease;
  bool FPrivateBuild;
  bool FSpecialBuild;
  std::vector<TRzVersionInfoStatus*> FPanes;
};

// ---------------------------------------------------------------------------
// Blinking

enum TBlinkState { bsOn, bsOff };

// Answered 1 by a pane that blinks, else 0.
constexpr UINT BlinkQueryMessage = 0x08FB;
// The list's new phase in the low byte of WPARAM.
constexpr UINT BlinkPhaseMessage = 0x08FC;

class TRzBlinkingControlsList : public TObject {
  SK_CLASS(TRzBlinkingControlsList, TObject)
 public:
  void Create();
  void Destroy() override;

  void Add(TControl* AControl);
  void Remove(TControl* AControl);
  int Count() const { return static_cast<int>(FControls.size()); }

  TBlinkState Phase() const { return FPhase; }
  std::uint16_t IntervalOn() const { return FIntervalOn; }
  void SetIntervalOn(std::uint16_t AValue) { FIntervalOn = AValue; }
  std::uint16_t IntervalOff() const { return FIntervalOff; }
  void SetIntervalOff(std::uint16_t AValue) { FIntervalOff = AValue; }
  TTimer* Timer() const { return FTimer.get(); }

  // One tick: flips the phase, sets the next interval (IntervalOff after
  // the flip to bsOn, IntervalOn after the flip to bsOff) and tells every
  // pane that blinks.
  void TimerFired(TObject* Sender);

 private:
  TBlinkState FPhase;
  std::uint16_t FIntervalOn;
  std::uint16_t FIntervalOff;
  TOwned<TTimer> FTimer;
  std::vector<TControl*> FControls;
};

// The process-wide list: it exists from the first pane's creation to the
// last pane's destruction; null otherwise.
TRzBlinkingControlsList* BlinkingControlsList();

// ---------------------------------------------------------------------------
// Status panes

// The family's status bar, as its panes see their parent: whether it shows a
// size grip at its right client edge.
struct IRzStatusBarSizeGrip : virtual IInterface {
  static constexpr GUID IID = {0x3b8e6f12, 0x5c47, 0x4d2a, {0x9e, 0x61, 0x0f, 0xa4, 0x7c, 0x25, 0xd8, 0x93}};
  virtual bool SizeGripVisible() = 0;

 protected:
  ~IRzStatusBarSizeGrip() = default;
};

// The virtual operations this class adds stand in the order of its table of
// virtual operations, which descendants of the family rely on: the drawing
// and framing steps, then the property accessors, then IsAtGripEdge.
class TRzCustomStatusPane : public TNoRefCount<TGraphicControl>, public IRzCustomFramingNotification {
  SK_CLASS(TRzCustomStatusPane, TGraphicControl)
 public:
  static void Publish(TPublisher<TRzCustomStatusPane>& P);

  // The pixels left of a size grip's edge in which the grip works through the pane.
  static constexpr int SizeGripWidth = 12;

  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;
  void CustomFramingChanged() override { ApplyFrameController(); }

 protected:
  // Overridables
  virtual int GetAutoSizeWidth();
  virtual TRect GetCaptionRect();
  virtual void DrawCaption(const String& AText);
  virtual void DrawBorder();
  virtual void ApplyFrameController();
  // A non-zero flag is the blink phase (BlinkColor), zero the normal colour.
  virtual void SetBlinkPhase(bool AFlag);

 public:
  // Properties
  TAlignment Alignment() const { return FAlignment; }
  virtual void SetAlignment(TAlignment AValue);
  int DefaultWidth() const { return FDefaultWidth; }
  virtual void SetDefaultWidth(int AValue);
  bool Blinking() const { return FBlinking; }
  virtual void SetBlinking(bool AValue);
  TColor BlinkColor() const { return FBlinkColor; }
  virtual void SetBlinkColor(TColor AValue);
  // The blink list's phase lengths: shared by every pane.
  virtual std::uint16_t BlinkIntervalOff() const;
  virtual void SetBlinkIntervalOff(std::uint16_t AValue);
  virtual std::uint16_t BlinkIntervalOn() const;
  virtual void SetBlinkIntervalOn(std::uint16_t AValue);
  int BorderWidth() const { return FBorderWidth; }
  virtual void SetBorderWidth(int AValue);
  // Replaces the class library's caption setter for the family.
  virtual void SetCaption(const String& AValue);
  int CaptionOffset() const { return FCaptionOffset; }
  virtual void SetCaptionOffset(int AValue);
  TColor FillColor() const { return FFillColor; }
  virtual void SetFillColor(TColor AValue);
  bool ParentFillColor() const { return FParentFillColor; }
  virtual void SetParentFillColor(bool AValue);
  TColor FlatColor() const { return FFlatColor; }
  virtual void SetFlatColor(TColor AValue);
  int FlatColorAdjustment() const { return FFlatColorAdjustment; }
  virtual void SetFlatColorAdjustment(int AValue);
  TFrameStyle FrameStyle() const { return FFrameStyle; }
  virtual void SetFrameStyle(TFrameStyle AValue);
  TRzFrameController* FrameController() const { return FFrameController; }
  virtual void SetFrameController(TRzFrameController* AValue);
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool AValue);

 protected:
  // Whether ARect (the pane's bounds) reaches the right client edge of a
  // parent that is the family's status bar showing its size grip.
  virtual bool IsAtGripEdge(const TRect& ARect);

 public:
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool AValue) override;
  TRzFrameControllerNotifications FrameControllerNotifications() const { return FFrameControllerNotifications; }
  void SetFrameControllerNotifications(TRzFrameControllerNotifications AValue);
  // A hint action (the application's hint when it has no OnHint) becomes the
  // caption.
  bool AutoHint() const { return FAutoHint; }
  void SetAutoHint(bool AValue) { FAutoHint = AValue; }
  // Panes draw their own frames, never the system's visual styles.
  bool UseThemes() const { return false; }

  // The colour the caption has now (the font's, or BlinkColor in the blink phase).
  TColor CaptionColor() const { return FCaptionColor; }

  bool ExecuteAction(TBasicAction* Action) override;

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;

  // Helpers for descendants
  // The size of AText in the pane's font (measured on the screen).
  TSize MeasureText(const String& AText, UINT AFormat = DT_SINGLELINE | DT_NOPREFIX);
  // The caption's colour when enabled: the font's (or the style's).
  TColor NormalCaptionColor() const;
  TColor DisabledCaptionColor() const { return GetStyledSystemColor(nullptr, clGrayText); }
  // Draws AText clipped to R at (X, Y) in AColor with the pane's background rules.
  void DrawTextAt(const TRect& R, int X, int Y, const String& AText, TColor AColor, UINT ATextAlign);
  void ApplyAutoSize();
  bool Reading() const;

  // Message handlers
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMParentColorChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  // The visual style or the control's style elements changed.
  void CMStyleChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void BlinkQuery(TMessage& Message);
  void BlinkPhase(TMessage& Message);

 private:
  bool IsFillColorStored() const { return !FParentFillColor; }

  TAlignment FAlignment;
  bool FAutoSize;
  int FDefaultWidth;
  bool FBlinking;
  TColor FBlinkColor;
  int FBorderWidth;
  int FCaptionOffset;
  TColor FFillColor;
  bool FParentFillColor;
  TColor FFlatColor;
  int FFlatColorAdjustment;
  TFrameStyle FFrameStyle;
  TRzFrameController* FFrameController;
  TRzFrameControllerNotifications FFrameControllerNotifications;
  bool FTransparent;
  bool FAutoHint;
  TColor FFontColor;     // remembered from Font
  TColor FCaptionColor;  // the font colour or BlinkColor
  bool FBlinkState;      // BlinkColor shown now
};

class TRzCustomFieldStatus : public TRzCustomStatusPane {
  SK_CLASS(TRzCustomFieldStatus, TRzCustomStatusPane)
 public:
  static void Publish(TPublisher<TRzCustomFieldStatus>& P);

  void Create(TComponent* AOwner) override;

  const String& FieldLabel() const { return FFieldLabel; }
  virtual void SetFieldLabel(const String& AValue);
  TColor FieldLabelColor() const { return FFieldLabelColor; }
  virtual void SetFieldLabelColor(TColor AValue);

 protected:
  int GetAutoSizeWidth() override;
  TRect GetCaptionRect() override;
  void DrawCaption(const String& AText) override;

 private:
  String FFieldLabel;
  TColor FFieldLabelColor;
};

class TRzVersionInfoStatus : public TRzCustomFieldStatus {
  SK_CLASS(TRzVersionInfoStatus, TRzCustomFieldStatus)
 public:
  static void Publish(TPublisher<TRzVersionInfoStatus>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  TRzVersionInfo* VersionInfo() const { return FVersionInfo; }
  virtual void SetVersionInfo(TRzVersionInfo* AValue);
  TRzVersionInfoField Field() const { return FField; }
  // Always takes the caption anew, even for the same field.
  virtual void SetField(TRzVersionInfoField AValue);

  // The field's text of the attached record; at design time "{FieldName}".
  void UpdateCaption();

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  TRzVersionInfoField FField;
  TRzVersionInfo* FVersionInfo;
};

// The unit's start-up and shut-down.
void RzStatusInitialization();
void RzStatusFinalization();
