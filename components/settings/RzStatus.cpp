#include "components/settings/RzStatus.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/ExtCtrls.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

TRzBlinkingControlsList* GBlinkingList = nullptr;

String ModuleFileName() {
  // A buffer of 261 characters, as the record of a path has always been read.
  wchar_t buffer[261] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  return String(buffer, std::min<DWORD>(n, static_cast<DWORD>(std::size(buffer))));
}

// The version resource of a file, whole; empty when it has none.
std::vector<std::uint8_t> ReadVersionResource(const String& AFileName) {
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(AFileName.c_str(), &handle);
  std::vector<std::uint8_t> data(size);
  if (size == 0 || !::GetFileVersionInfoW(AFileName.c_str(), 0, size, data.data())) data.clear();
  return data;
}

// "StringFileInfo\llllcccc\" of the first translation; "StringFileInfo\\"
// when there is no translation table.
String StringTablePrefix(std::vector<std::uint8_t>& AData) {
  void* value = nullptr;
  UINT length = 0;
  String language, codePage;
  if (::VerQueryValueW(AData.data(), L"\\VarFileInfo\\Translation", &value, &length) && value &&
      length >= sizeof(DWORD)) {
    WORD pair[2];
    std::memcpy(pair, value, sizeof pair);
    language = Format(L"%.4x", {static_cast<int>(pair[0])});
    codePage = Format(L"%.4x", {static_cast<int>(pair[1])});
  }
  return L"StringFileInfo\\" + language + codePage + L"\\";
}

// The text of a key; false when the key is missing.
bool QueryText(std::vector<std::uint8_t>& AData, const String& AKey, String& AText) {
  void* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(AData.data(), AKey.c_str(), &value, &length) || !value) return false;
  const auto* text = static_cast<const wchar_t*>(value);
  // The length counts characters, the terminating one included when present.
  std::size_t count = length;
  while (count > 0 && text[count - 1] == L'\0') --count;
  AText.assign(text, count);
  return true;
}

const wchar_t* const StringKeys[VersionInfoFieldCount] = {
    L"CompanyName",      L"FileDescription", L"FileVersion",   L"InternalName",   L"LegalCopyright",
    L"LegalTrademarks", L"OriginalFilename", L"ProductName",   L"ProductVersion", L"Comments"};

const wchar_t* const FieldPlaceholders[VersionInfoFieldCount] = {
    L"{CompanyName}",  L"{FileDescription}",  L"{FileVersion}", L"{InternalName}",   L"{Copyright}",
    L"{Trademarks}",   L"{OriginalFilename}", L"{ProductName}", L"{ProductVersion}", L"{Comments}"};

// Halves toward minus infinity.
int HalfDown(int AValue) { return AValue >= 0 ? AValue / 2 : -((-AValue + 1) / 2); }

}  // namespace

// ---------------------------------------------------------------------------
// TRzVersionInfo

void TRzVersionInfo::Publish(TPublisher<TRzVersionInfo>& P) {
  P.Property(L"FilePath", &TRzVersionInfo::FilePath, &TRzVersionInfo::SetFilePath);
  P.Property(L"VersionInfoAvailable", &TRzVersionInfo::VersionInfoAvailable);
  P.Property(L"CompanyName", &TRzVersionInfo::CompanyName);
  P.Property(L"FileDescription", &TRzVersionInfo::FileDescription);
  P.Property(L"FileVersion", &TRzVersionInfo::FileVersion);
  P.Property(L"InternalName", &TRzVersionInfo::InternalName);
  P.Property(L"Copyright", &TRzVersionInfo::Copyright);
  P.Property(L"Trademarks", &TRzVersionInfo::Trademarks);
  P.Property(L"OriginalFilename", &TRzVersionInfo::OriginalFilename);
  P.Property(L"ProductName", &TRzVersionInfo::ProductName);
  P.Property(L"ProductVersion", &TRzVersionInfo::ProductVersion);
  P.Property(L"Comments", &TRzVersionInfo::Comments);
  P.Property(L"MajorVersion", &TRzVersionInfo::MajorVersion);
  P.Property(L"MinorVersion", &TRzVersionInfo::MinorVersion);
  P.Property(L"Release", &TRzVersionInfo::Release);
  P.Property(L"Build", &TRzVersionInfo::Build);
  P.Property(L"DebugBuild", &TRzVersionInfo::DebugBuild);
  P.Property(L"PreRelease", &TRzVersionInfo::PreRelease);
  P.Property(L"PrivateBuild", &TRzVersionInfo::PrivateBuild);
  P.Property(L"SpecialBuild", &TRzVersionInfo::SpecialBuild);
  P.Property(L"FileDateTime", &TRzVersionInfo::FileDateTime);
}

void TRzVersionInfo::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  if (!Designing()) ReadVersionInfo();
}

void TRzVersionInfo::Destroy() {
  FPanes.clear();
  inherited::Destroy();
}

void TRzVersionInfo::SetFilePath(const String& AValue) {
  if (FFilePath == AValue) return;
  FFilePath = AValue;
  if (Designing() || ComponentState().Contains(csLoading)) return;
  ReadVersionInfo();
  UpdateStatusPanes();
}

void TRzVersionInfo::Loaded() {
  inherited::Loaded();
  if (Designing()) return;
  ReadVersionInfo();
  UpdateStatusPanes();
}

void TRzVersionInfo::ReadVersionInfo() {
  if (FFilePath.empty()) FFilePath = ModuleFileName();
  std::vector<std::uint8_t> data = ReadVersionResource(FFilePath);
  FVersionInfoAvailable = !data.empty();
  std::vector<String> texts(VersionInfoFieldCount);
  FMajorVersion = FMinorVersion = FRelease = FBuild = 0;
  FDebugBuild = FPreRelease = FPrivateBuild = FSpecialBuild = false;
  if (FVersionInfoAvailable) {
    const String prefix = StringTablePrefix(data);
    for (int i = 0; i < VersionInfoFieldCount; ++i) QueryText(data, prefix + StringKeys[i], texts[i]);
    void* value = nullptr;
    UINT length = 0;
    if (::VerQueryValueW(data.data(), L"\\", &value, &length) && value && length >= sizeof(VS_FIXEDFILEINFO)) {
      VS_FIXEDFILEINFO info;
      std::memcpy(&info, value, sizeof info);
      FMajorVersion = HIWORD(info.dwFileVersionMS);
      FMinorVersion = LOWORD(info.dwFileVersionMS);
      FRelease = HIWORD(info.dwFileVersionLS);
      FBuild = LOWORD(info.dwFileVersionLS);
      FDebugBuild = (info.dwFileFlags & VS_FF_DEBUG) != 0;
      FPreRelease = (info.dwFileFlags & VS_FF_PRERELEASE) != 0;
      FPrivateBuild = (info.dwFileFlags & VS_FF_PRIVATEBUILD) != 0;
      FSpecialBuild = (info.dwFileFlags & VS_FF_SPECIALBUILD) != 0;
    }
  } else {
    std::fill(texts.begin(), texts.end(), String(NotAvailable));
  }
  FTexts = std::move(texts);
}

String TRzVersionInfo::GetField(TRzVersionInfoField AField) const {
  const auto index = static_cast<std::size_t>(AField);
  return index < FTexts.size() ? FTexts[index] : String();
}

String TRzVersionInfo::GetCustomKeyValue(const String& AKey) {
  const String file = FFilePath.empty() ? ModuleFileName() : FFilePath;
  std::vector<std::uint8_t> data = ReadVersionResource(file);
  if (data.empty()) return NotAvailable;
  String text;
  return QueryText(data, StringTablePrefix(data) + AKey, text) ? text : String(NotAvailable);
}

TDateTime TRzVersionInfo::FileDateTime() const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(ModuleFileName().c_str(), GetFileExInfoStandard, &data)) return 0;
  FILETIME local{};
  SYSTEMTIME time{};
  if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &time)) return 0;
  return SystemTimeToDateTime(time);
}

void TRzVersionInfo::AddStatus(TRzVersionInfoStatus* APane) {
  if (APane && std::find(FPanes.begin(), FPanes.end(), APane) == FPanes.end()) FPanes.push_back(APane);
}

void TRzVersionInfo::RemoveStatus(TRzVersionInfoStatus* APane) {
  FPanes.erase(std::remove(FPanes.begin(), FPanes.end(), APane), FPanes.end());
  if (FPanes.empty()) FPanes.shrink_to_fit();
}

void TRzVersionInfo::UpdateStatusPanes() {
  const std::vector<TRzVersionInfoStatus*> panes = FPanes;
  for (TRzVersionInfoStatus* pane : panes) pane->UpdateCaption();
}

// ---------------------------------------------------------------------------
// TRzBlinkingControlsList

void TRzBlinkingControlsList::Create() {
  FPhase = bsOff;
  FIntervalOn = 500;
  FIntervalOff = 500;
  FTimer.reset(New<TTimer>(nullptr));
  FTimer->SetInterval(500);
  FTimer->SetOnTimer(BindEvent<&TRzBlinkingControlsList::TimerFired>(this));
  FTimer->SetEnabled(true);
}

void TRzBlinkingControlsList::Destroy() {
  FTimer.reset();
  FControls.clear();
  inherited::Destroy();
}

void TRzBlinkingControlsList::Add(TControl* AControl) {
  if (AControl && std::find(FControls.begin(), FControls.end(), AControl) == FControls.end())
    FControls.push_back(AControl);
}

void TRzBlinkingControlsList::Remove(TControl* AControl) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
}

void TRzBlinkingControlsList::TimerFired(TObject*) {
  FPhase = FPhase == bsOn ? bsOff : bsOn;
  FTimer->SetInterval(FPhase == bsOn ? FIntervalOff : FIntervalOn);
  // A copy: a pane may go while it is told.
  const std::vector<TControl*> controls = FControls;
  for (TControl* control : controls) {
    if (std::find(FControls.begin(), FControls.end(), control) == FControls.end()) continue;
    if (control->Perform(BlinkQueryMessage, 0, 0) == 1)
      control->Perform(BlinkPhaseMessage, static_cast<WPARAM>(FPhase), 0);
  }
}

TRzBlinkingControlsList* BlinkingControlsList() { return GBlinkingList; }

namespace {

void ReleaseBlinkingList(TControl* AControl) {
  if (!GBlinkingList) return;
  GBlinkingList->Remove(AControl);
  if (GBlinkingList->Count() == 0) FreeAndNil(GBlinkingList);
}

}  // namespace

// ---------------------------------------------------------------------------
// TRzCustomStatusPane

void TRzCustomStatusPane::Publish(TPublisher<TRzCustomStatusPane>& P) {
  P.Property(L"Alignment", &TRzCustomStatusPane::Alignment, &TRzCustomStatusPane::SetAlignment)
      .Default(taLeftJustify);
  P.Property(L"AutoSize", &TRzCustomStatusPane::AutoSize, &TRzCustomStatusPane::SetAutoSize).Default(false);
  P.Property(L"DefaultWidth", &TRzCustomStatusPane::DefaultWidth, &TRzCustomStatusPane::SetDefaultWidth).Default(40);
  P.Property(L"Blinking", &TRzCustomStatusPane::Blinking, &TRzCustomStatusPane::SetBlinking).Default(false);
  P.Property(L"BlinkColor", &TRzCustomStatusPane::BlinkColor, &TRzCustomStatusPane::SetBlinkColor)
      .Default(clHighlight);
  P.Property(L"BlinkIntervalOff", &TRzCustomStatusPane::BlinkIntervalOff, &TRzCustomStatusPane::SetBlinkIntervalOff)
      .Default(500);
  P.Property(L"BlinkIntervalOn", &TRzCustomStatusPane::BlinkIntervalOn, &TRzCustomStatusPane::SetBlinkIntervalOn)
      .Default(500);
  P.Property(L"BorderWidth", &TRzCustomStatusPane::BorderWidth, &TRzCustomStatusPane::SetBorderWidth).Default(1);
  P.Property(L"CaptionOffset", &TRzCustomStatusPane::CaptionOffset, &TRzCustomStatusPane::SetCaptionOffset)
      .Default(2);
  P.Property(L"FillColor", &TRzCustomStatusPane::FillColor, &TRzCustomStatusPane::SetFillColor)
      .Stored(&TRzCustomStatusPane::IsFillColorStored);
  P.Property(L"ParentFillColor", &TRzCustomStatusPane::ParentFillColor, &TRzCustomStatusPane::SetParentFillColor)
      .Default(true);
  P.Property(L"FlatColor", &TRzCustomStatusPane::FlatColor, &TRzCustomStatusPane::SetFlatColor)
      .Default(clBtnShadow);
  P.Property(L"FlatColorAdjustment", &TRzCustomStatusPane::FlatColorAdjustment,
             &TRzCustomStatusPane::SetFlatColorAdjustment)
      .Default(30);
  P.Property(L"FrameStyle", &TRzCustomStatusPane::FrameStyle, &TRzCustomStatusPane::SetFrameStyle).Default(fsFlat);
  P.Property(L"FrameController", &TRzCustomStatusPane::FrameController, &TRzCustomStatusPane::SetFrameController);
  P.Property(L"FrameControllerNotifications", &TRzCustomStatusPane::FrameControllerNotifications,
             &TRzCustomStatusPane::SetFrameControllerNotifications)
      .Default(AllFrameControllerNotifications());
  P.Property(L"Transparent", &TRzCustomStatusPane::Transparent, &TRzCustomStatusPane::SetTransparent).Default(true);
  P.Property(L"AutoHint", &TRzCustomStatusPane::AutoHint, &TRzCustomStatusPane::SetAutoHint).Default(false);
  P.Property(L"Caption", &TRzCustomStatusPane::Caption, &TRzCustomStatusPane::SetCaption);

  P.Message<&TRzCustomStatusPane::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TRzCustomStatusPane::CMFontChanged>(CM_FONTCHANGED);
  P.Message<&TRzCustomStatusPane::CMColorChanged>(CM_COLORCHANGED);
  P.Message<&TRzCustomStatusPane::CMParentColorChanged>(CM_PARENTCOLORCHANGED);
  P.Message<&TRzCustomStatusPane::CMEnabledChanged>(CM_ENABLEDCHANGED);
  // CM_BASE + $51: the visual style changed.
  P.Message<&TRzCustomStatusPane::CMStyleChanged>(CM_THEMECHANGED);
  P.Message<&TRzCustomStatusPane::CMStyleChanged>(CM_STYLEELEMENTSCHANGED);
  P.Message<&TRzCustomStatusPane::CMMouseEnter>(CM_MOUSEENTER);
  P.Message<&TRzCustomStatusPane::WMNCHitTest>(WM_NCHITTEST);
  P.Message<&TRzCustomStatusPane::BlinkQuery>(BlinkQueryMessage);
  P.Message<&TRzCustomStatusPane::BlinkPhase>(BlinkPhaseMessage);
}

void TRzCustomStatusPane::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FAlignment = taLeftJustify;
  FDefaultWidth = 40;
  FBlinkColor = clHighlight;
  FBorderWidth = 1;
  FCaptionOffset = 2;
  FFillColor = Color();
  FParentFillColor = true;
  FFlatColor = clBtnShadow;
  FFlatColorAdjustment = 30;
  FFrameStyle = fsFlat;
  FFrameControllerNotifications = AllFrameControllerNotifications();
  FTransparent = true;
  ControlStyle().Exclude(csOpaque);
  SetParentColor(true);
  SetBounds(Left(), Top(), 100, 20);
  FFontColor = Font()->Color();
  FCaptionColor = FFontColor;
  if (!GBlinkingList) GBlinkingList = New<TRzBlinkingControlsList>();
  GBlinkingList->Add(this);
}

void TRzCustomStatusPane::Destroy() {
  if (FFrameController) {
    FFrameController->RemoveControl(this);
    FFrameController = nullptr;
  }
  ReleaseBlinkingList(this);
  inherited::Destroy();
}

bool TRzCustomStatusPane::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IRzCustomFramingNotification>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

bool TRzCustomStatusPane::Reading() const {
  return ComponentState().Contains(csReading) || ComponentState().Contains(csLoading);
}

void TRzCustomStatusPane::Loaded() {
  inherited::Loaded();
  if (!ParentColor()) SetTransparent(false);
  FFontColor = Font()->Color();
  if (!FBlinkState) FCaptionColor = NormalCaptionColor();
  ApplyAutoSize();
}

void TRzCustomStatusPane::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FFrameController) FFrameController = nullptr;
}

// Setters

void TRzCustomStatusPane::SetAlignment(TAlignment AValue) {
  if (FAlignment == AValue) return;
  FAlignment = AValue;
  Invalidate();
}

void TRzCustomStatusPane::SetAutoSize(bool AValue) {
  if (FAutoSize == AValue) return;
  FAutoSize = AValue;
  ApplyAutoSize();
}

void TRzCustomStatusPane::SetDefaultWidth(int AValue) {
  if (FDefaultWidth == AValue) return;
  FDefaultWidth = AValue;
  ApplyAutoSize();
}

void TRzCustomStatusPane::SetBlinking(bool AValue) {
  if (FBlinking == AValue) return;
  FBlinking = AValue;
  if (!AValue) {
    FBlinkState = false;
    FCaptionColor = NormalCaptionColor();
  }
  Invalidate();
}

void TRzCustomStatusPane::SetBlinkColor(TColor AValue) {
  if (FBlinkColor == AValue) return;
  FBlinkColor = AValue;
  if (FBlinkState) FCaptionColor = AValue;
  Invalidate();
}

std::uint16_t TRzCustomStatusPane::BlinkIntervalOff() const {
  return GBlinkingList ? GBlinkingList->IntervalOff() : std::uint16_t{500};
}

void TRzCustomStatusPane::SetBlinkIntervalOff(std::uint16_t AValue) {
  if (GBlinkingList) GBlinkingList->SetIntervalOff(AValue);
}

std::uint16_t TRzCustomStatusPane::BlinkIntervalOn() const {
  return GBlinkingList ? GBlinkingList->IntervalOn() : std::uint16_t{500};
}

void TRzCustomStatusPane::SetBlinkIntervalOn(std::uint16_t AValue) {
  if (GBlinkingList) GBlinkingList->SetIntervalOn(AValue);
}

void TRzCustomStatusPane::SetBorderWidth(int AValue) {
  if (FBorderWidth == AValue) return;
  FBorderWidth = AValue;
  Invalidate();
}

void TRzCustomStatusPane::SetCaptionOffset(int AValue) {
  if (FCaptionOffset == AValue) return;
  FCaptionOffset = AValue;
  ApplyAutoSize();
  Invalidate();
}

void TRzCustomStatusPane::SetFillColor(TColor AValue) {
  FParentFillColor = false;
  if (FFillColor == AValue) return;
  FFillColor = AValue;
  Invalidate();
}

void TRzCustomStatusPane::SetParentFillColor(bool AValue) {
  if (FParentFillColor == AValue) return;
  FParentFillColor = AValue;
  if (AValue) FFillColor = Color();
  Invalidate();
}

void TRzCustomStatusPane::SetFlatColor(TColor AValue) {
  if (FFlatColor == AValue) return;
  FFlatColor = AValue;
  Invalidate();
}

void TRzCustomStatusPane::SetFlatColorAdjustment(int AValue) {
  if (FFlatColorAdjustment == AValue) return;
  FFlatColorAdjustment = AValue;
  Invalidate();
}

void TRzCustomStatusPane::SetFrameStyle(TFrameStyle AValue) {
  if (FFrameStyle == AValue) return;
  FFrameStyle = AValue;
  Invalidate();
}

void TRzCustomStatusPane::SetFrameController(TRzFrameController* AValue) {
  if (FFrameController == AValue) return;
  if (FFrameController) {
    FFrameController->RemoveControl(this);
    FFrameController->RemoveFreeNotification(this);
  }
  FFrameController = AValue;
  if (FFrameController) {
    FFrameController->FreeNotification(this);
    FFrameController->AddControl(this);
  }
}

void TRzCustomStatusPane::SetFrameControllerNotifications(TRzFrameControllerNotifications AValue) {
  FFrameControllerNotifications = AValue;
}

void TRzCustomStatusPane::SetTransparent(bool AValue) {
  if (FTransparent == AValue) return;
  FTransparent = AValue;
  if (AValue) ControlStyle().Exclude(csOpaque);
  else ControlStyle().Include(csOpaque);
  Invalidate();
}

void TRzCustomStatusPane::SetCaption(const String& AValue) {
  // The text change message repaints and sizes the pane.
  if (Caption() != AValue) inherited::SetCaption(AValue);
}

bool TRzCustomStatusPane::ExecuteAction(TBasicAction* Action) {
  if (auto* hint = dynamic_cast<THintAction*>(Action); hint && FAutoHint) {
    SetCaption(hint->Hint());
    return true;
  }
  return inherited::ExecuteAction(Action);
}

bool TRzCustomStatusPane::IsAtGripEdge(const TRect& ARect) {
  TWinControl* parent = Parent();
  if (!parent) return false;
  IRzStatusBarSizeGrip* bar = SupportsRaw<IRzStatusBarSizeGrip>(parent);
  return bar && bar->SizeGripVisible() && ARect.Right >= parent->ClientWidth();
}

// Layout and painting

TColor TRzCustomStatusPane::NormalCaptionColor() const {
  if (!UsesStyledFont(const_cast<TRzCustomStatusPane*>(this)))
    return GetStyledFontColor(const_cast<TRzCustomStatusPane*>(this), sfStatusText);
  return FFontColor;
}

TSize TRzCustomStatusPane::MeasureText(const String& AText, UINT AFormat) {
  const TScreenDC dc;
  const TSelectObject font(dc.Get(), Font()->Handle());
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc.Get(), AText.c_str(), static_cast<int>(AText.size()), &r, AFormat | DT_CALCRECT);
  return TSize(r.right - r.left, r.bottom - r.top);
}

int TRzCustomStatusPane::GetAutoSizeWidth() {
  const String caption = Caption();
  if (caption.empty()) return FDefaultWidth;
  return MeasureText(caption, DT_EXPANDTABS | DT_NOPREFIX).cx + 2 * FBorderWidth + FCaptionOffset + 6;
}

void TRzCustomStatusPane::ApplyAutoSize() {
  if (!FAutoSize || Reading()) return;
  SetWidth(GetAutoSizeWidth());
}

TRect TRzCustomStatusPane::GetCaptionRect() {
  TRect r = ClientRect();
  int inset = FBorderWidth;
  if (FFrameStyle >= fsGroove && FFrameStyle <= fsButtonUp) inset += 2;
  else if (FFrameStyle == fsFlatBold) inset += 2;
  else if (FFrameStyle == fsFlat || FFrameStyle == fsStatus || FFrameStyle == fsPopup) inset += 1;
  r.Inflate(-inset, -inset);
  return r;
}

void TRzCustomStatusPane::DrawBorder() {
  TCanvas* canvas = Canvas();
  TRect r = ClientRect();
  if (!FTransparent) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(IsSystemStyle() ? Color() : GetStyledSystemColor(this, clBtnFace));
    canvas->FillRect(r);
  }
  r.Inflate(-FBorderWidth, -FBorderWidth);
  if (FFrameStyle == fsFlat || FFrameStyle == fsFlatBold) {
    const TColor color = AdjustColor(FFlatColor, FFlatColorAdjustment);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(color);
    if (FFrameStyle == fsFlat) {
      // Four lines that leave the corner pixels out.
      canvas->MoveTo(r.Left + 1, r.Top);
      canvas->LineTo(r.Right - 1, r.Top);
      canvas->MoveTo(r.Left + 1, r.Bottom - 1);
      canvas->LineTo(r.Right - 1, r.Bottom - 1);
      canvas->MoveTo(r.Left, r.Top + 1);
      canvas->LineTo(r.Left, r.Bottom - 1);
      canvas->MoveTo(r.Right - 1, r.Top + 1);
      canvas->LineTo(r.Right - 1, r.Bottom - 1);
    } else {
      DrawFrameLines(canvas, r, color, sdAllSides, color, 2);
    }
    return;
  }
  DrawFrameAllSides(canvas, r, FFrameStyle);
}

void TRzCustomStatusPane::DrawTextAt(const TRect& R, int X, int Y, const String& AText, TColor AColor,
                                     UINT ATextAlign) {
  TCanvas* canvas = Canvas();
  if (FTransparent) {
    canvas->Brush()->SetStyle(bsClear);
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(IsSystemStyle() ? FFillColor : GetStyledSystemColor(this, clBtnFace));
  }
  canvas->Font()->SetColor(AColor);
  HDC dc = canvas->Handle();
  const UINT oldAlign = ::SetTextAlign(dc, ATextAlign);
  canvas->TextRect(R, X, Y, AText);
  ::SetTextAlign(dc, oldAlign);
}

void TRzCustomStatusPane::DrawCaption(const String& AText) {
  const TRect r = GetCaptionRect();
  TAlignment alignment = FAlignment;
  if (UseRightToLeftReading() && alignment != taCenter)
    alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
  int x = 0;
  UINT align = TA_LEFT;
  switch (alignment) {
    case taRightJustify:
      x = r.Right - FCaptionOffset - 1;
      align = TA_RIGHT;
      break;
    case taCenter:
      x = HalfDown(r.Left + r.Right);
      align = TA_CENTER;
      break;
    default:
      x = r.Left + FCaptionOffset + 1;
      break;
  }
  const int y = r.Top + HalfDown(r.Height() - Canvas()->TextHeight(L"Pp"));
  DrawTextAt(r, x, y, AText, Enabled() ? FCaptionColor : DisabledCaptionColor(), align);
}

void TRzCustomStatusPane::Paint() {
  DrawBorder();
  DrawCaption(Caption());
}

void TRzCustomStatusPane::ApplyFrameController() {
  TRzFrameController* controller = FFrameController;
  if (!controller || !controller->FrameVisible()) return;
  const TRzFrameControllerNotifications takes = FFrameControllerNotifications;
  if (takes.Contains(fcpFrameStyle)) FFrameStyle = controller->FrameStyle();
  if (takes.Contains(fcpFrameColor)) {
    FFlatColor = controller->FrameColor();
    FFlatColorAdjustment = 0;
  }
  if (takes.Contains(fcpColor)) SetFillColor(controller->Color());
  if (takes.Contains(fcpParentColor)) SetParentColor(controller->ParentColor());
  Invalidate();
}

void TRzCustomStatusPane::SetBlinkPhase(bool AFlag) {
  if (!FBlinking) return;
  FBlinkState = AFlag;
  FCaptionColor = AFlag ? FBlinkColor : NormalCaptionColor();
  Repaint();
}

// Messages

void TRzCustomStatusPane::CMTextChanged(TMessage&) {
  Invalidate();
  ApplyAutoSize();
}

void TRzCustomStatusPane::CMFontChanged(TMessage& Message) {
  InheritedMessage<TRzCustomStatusPane>(Message);
  if (Reading()) return;
  FFontColor = Font()->Color();
  if (!FBlinkState) FCaptionColor = NormalCaptionColor();
  ApplyAutoSize();
}

void TRzCustomStatusPane::CMColorChanged(TMessage& Message) {
  InheritedMessage<TRzCustomStatusPane>(Message);
  if (FParentFillColor) FFillColor = Color();
  Invalidate();
}

void TRzCustomStatusPane::CMParentColorChanged(TMessage& Message) {
  InheritedMessage<TRzCustomStatusPane>(Message);
  if (FParentFillColor) FFillColor = Color();
  Invalidate();
}

void TRzCustomStatusPane::CMEnabledChanged(TMessage& Message) {
  InheritedMessage<TRzCustomStatusPane>(Message);
  Invalidate();
}

void TRzCustomStatusPane::CMStyleChanged(TMessage&) {
  if (!FBlinkState) FCaptionColor = NormalCaptionColor();
  Invalidate();
}

void TRzCustomStatusPane::CMMouseEnter(TMessage& Message) {
  if (ComponentState().Contains(csDesigning)) return;
  InheritedMessage<TRzCustomStatusPane>(Message);
}

void TRzCustomStatusPane::WMNCHitTest(TMessage& Message) {
  // Over a size grip the pane answers as its parent does without it, so the
  // grip works through the pane.
  TWinControl* parent = Parent();
  if (parent && IsAtGripEdge(BoundsRect()) &&
      parent->ScreenToClient(PointFromLParam(Message.LParam)).X >= parent->ClientWidth() - SizeGripWidth) {
    TMessage own{WM_NCHITTEST, Message.WParam, Message.LParam, 0};
    parent->Dispatch(own);
    Message.Result = own.Result;
    return;
  }
  InheritedMessage<TRzCustomStatusPane>(Message);
}

void TRzCustomStatusPane::BlinkQuery(TMessage& Message) { Message.Result = FBlinking ? 1 : 0; }

void TRzCustomStatusPane::BlinkPhase(TMessage& Message) { SetBlinkPhase((Message.WParam & 0xFF) != 0); }

// ---------------------------------------------------------------------------
// TRzCustomFieldStatus

void TRzCustomFieldStatus::Publish(TPublisher<TRzCustomFieldStatus>& P) {
  P.Property(L"FieldLabel", &TRzCustomFieldStatus::FieldLabel, &TRzCustomFieldStatus::SetFieldLabel);
  P.Property(L"FieldLabelColor", &TRzCustomFieldStatus::FieldLabelColor, &TRzCustomFieldStatus::SetFieldLabelColor)
      .Default(clHighlight);
}

void TRzCustomFieldStatus::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FFieldLabelColor = clHighlight;
}

void TRzCustomFieldStatus::SetFieldLabel(const String& AValue) {
  if (FFieldLabel == AValue) return;
  FFieldLabel = AValue;
  ApplyAutoSize();
  Invalidate();
}

void TRzCustomFieldStatus::SetFieldLabelColor(TColor AValue) {
  if (FFieldLabelColor == AValue) return;
  FFieldLabelColor = AValue;
  Invalidate();
}

int TRzCustomFieldStatus::GetAutoSizeWidth() {
  return inherited::GetAutoSizeWidth() + MeasureText(FFieldLabel).cx + 2 * CaptionOffset();
}

TRect TRzCustomFieldStatus::GetCaptionRect() {
  TRect r = inherited::GetCaptionRect();
  // The label takes the leading side.
  const int label = MeasureText(FFieldLabel).cx + 2 * CaptionOffset();
  if (UseRightToLeftReading()) r.Right -= label;
  else r.Left += label;
  return r;
}

void TRzCustomFieldStatus::DrawCaption(const String& AText) {
  inherited::DrawCaption(AText);
  if (FFieldLabel.empty()) return;
  TRect r = inherited::GetCaptionRect();
  const int width = MeasureText(FFieldLabel).cx + CaptionOffset() + 2;
  int x = 0;
  UINT align = TA_LEFT;
  if (UseRightToLeftReading()) {
    r.Left = r.Right - width;
    x = r.Right - CaptionOffset() - 1;
    align = TA_RIGHT;
  } else {
    r.Right = r.Left + width;
    x = r.Left + CaptionOffset() + 1;
  }
  const int y = r.Top + HalfDown(r.Height() - Canvas()->TextHeight(L"Pp"));
  TColor color = FFieldLabelColor;
  if (!Enabled()) color = DisabledCaptionColor();
  else if (!IsSystemStyle()) color = GetStyledFontColor(this, sfFieldLabel);
  DrawTextAt(r, x, y, FFieldLabel, color, align);
}

// ---------------------------------------------------------------------------
// TRzVersionInfoStatus

void TRzVersionInfoStatus::Publish(TPublisher<TRzVersionInfoStatus>& P) {
  P.Property(L"Field", &TRzVersionInfoStatus::Field, &TRzVersionInfoStatus::SetField).Default(vifProductVersion);
  P.Property(L"VersionInfo", &TRzVersionInfoStatus::VersionInfo, &TRzVersionInfoStatus::SetVersionInfo);
}

void TRzVersionInfoStatus::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FField = vifProductVersion;
}

void TRzVersionInfoStatus::Destroy() {
  if (FVersionInfo) {
    FVersionInfo->RemoveStatus(this);
    FVersionInfo = nullptr;
  }
  inherited::Destroy();
}

void TRzVersionInfoStatus::SetField(TRzVersionInfoField AValue) {
  FField = AValue;
  UpdateCaption();
}

void TRzVersionInfoStatus::SetVersionInfo(TRzVersionInfo* AValue) {
  if (FVersionInfo == AValue) return;
  if (FVersionInfo) {
    FVersionInfo->RemoveStatus(this);
    FVersionInfo->RemoveFreeNotification(this);
  }
  FVersionInfo = AValue;
  if (FVersionInfo) {
    FVersionInfo->FreeNotification(this);
    FVersionInfo->AddStatus(this);
  }
  UpdateCaption();
}

void TRzVersionInfoStatus::UpdateCaption() {
  const auto index = static_cast<std::size_t>(FField);
  if (ComponentState().Contains(csDesigning)) {
    if (index < std::size(FieldPlaceholders)) SetCaption(FieldPlaceholders[index]);
    return;
  }
  if (FVersionInfo) SetCaption(FVersionInfo->GetField(FField));
}

void TRzVersionInfoStatus::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FVersionInfo) FVersionInfo = nullptr;
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void RzStatusInitialization() {
  RegisterClasses({TRzVersionInfo::ClassInfo(), TRzVersionInfoStatus::ClassInfo()});
}

void RzStatusFinalization() {
  // Panes still alive at shut-down leave no timer behind.
  FreeAndNil(GBlinkingList);
}
