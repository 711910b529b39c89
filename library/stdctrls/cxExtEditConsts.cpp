#include "library/stdctrls/cxExtEditConsts.h"

#include "library/editors/edit/cxEditConsts.h"

#include <cstdint>

namespace {

// The default texts are the string table of cxExtEditConsts.rc: one id each,
// counting up from here in the order below.
constexpr std::uint16_t FirstId = 0xE4C0;

constexpr const wchar_t* ProductName = L"cxExtEditors";

}  // namespace

constinit const TResStringRec scxSEditRepositoryColorComboBoxItem = {nullptr, FirstId + 0};
constinit const TResStringRec scxSEditRepositoryColorEditItem = {nullptr, FirstId + 1};
constinit const TResStringRec scxSEditRepositoryFontNameComboBoxItem = {nullptr, FirstId + 2};
constinit const TResStringRec scxSEditRepositoryLabelItem = {nullptr, FirstId + 3};
constinit const TResStringRec scxSEditRepositoryProgressBarItem = {nullptr, FirstId + 4};
constinit const TResStringRec scxSEditRepositoryTrackBarItem = {nullptr, FirstId + 5};
constinit const TResStringRec scxSEditRepositoryRangeTrackBarItem = {nullptr, FirstId + 6};
constinit const TResStringRec scxSEditRepositorySpinButtonItem = {nullptr, FirstId + 7};
constinit const TResStringRec scxSEditRepositoryCheckComboBox = {nullptr, FirstId + 8};
constinit const TResStringRec scxSEditRepositoryShellComboBoxItem = {nullptr, FirstId + 9};
constinit const TResStringRec scxSEditRepositoryCheckGroupItem = {nullptr, FirstId + 10};
constinit const TResStringRec scxSEditRepositoryRatingControlItem = {nullptr, FirstId + 11};
constinit const TResStringRec scxUDAssociated = {nullptr, FirstId + 12};
constinit const TResStringRec scxHotZoneStyleMediaPlayer9 = {nullptr, FirstId + 13};
constinit const TResStringRec scxHotZoneStyleMediaPlayer8 = {nullptr, FirstId + 14};
constinit const TResStringRec scxHotZoneStyleXPTaskBar = {nullptr, FirstId + 15};
constinit const TResStringRec scxHotZoneStyleSimple = {nullptr, FirstId + 16};
constinit const TResStringRec scxLoadingFonts = {nullptr, FirstId + 17};
constinit const TResStringRec cxSEditCheckGroupCaptionStateDelimiter = {nullptr, FirstId + 18};
constinit const TResStringRec cxSEditCheckGroupFilterColumnSeparator = {nullptr, FirstId + 19};
constinit const TResStringRec cxSEditCheckGroupChecked = {nullptr, FirstId + 20};
constinit const TResStringRec cxSEditCheckGroupGrayed = {nullptr, FirstId + 21};
constinit const TResStringRec cxSEditCheckGroupUnchecked = {nullptr, FirstId + 22};
constinit const TResStringRec cxSCheckComboBoxStatesItemsPropertyDlgCaption = {nullptr, FirstId + 23};
constinit const TResStringRec cxSCheckControlIncorrectItemCount = {nullptr, FirstId + 24};
constinit const TResStringRec cxSCheckGroupStatesItemsPropertyDlgCaption = {nullptr, FirstId + 25};
constinit const TResStringRec cxSCheckComboBoxEmptySelectionText = {nullptr, FirstId + 26};
constinit const TResStringRec cxSColorComboBoxDefaultDescription = {nullptr, FirstId + 27};
constinit const TResStringRec cxSEditRichEditLibraryError = {nullptr, FirstId + 28};
constinit const TResStringRec cxSEditRichEditLineInsertionError = {nullptr, FirstId + 29};
constinit const TResStringRec cxSEditRichEditLoadFail = {nullptr, FirstId + 30};
constinit const TResStringRec cxSEditRichEditSaveFail = {nullptr, FirstId + 31};
constinit const TResStringRec cxSEditRichEditSelectionSaveFail = {nullptr, FirstId + 32};
constinit const TResStringRec cxSEditRichEditOleInterfaceFail = {nullptr, FirstId + 33};
constinit const TResStringRec cxSEditRichEditCallBackFail = {nullptr, FirstId + 34};
constinit const TResStringRec cxSEditRichEditLinkFail = {nullptr, FirstId + 35};
constinit const TResStringRec scxSEditRepositoryRichEditItem = {nullptr, FirstId + 36};
constinit const TResStringRec cxSEditRichEditUndoCaption = {nullptr, FirstId + 37};
constinit const TResStringRec cxSEditRichEditRedoCaption = {nullptr, FirstId + 38};
constinit const TResStringRec cxSEditRichEditCutCaption = {nullptr, FirstId + 39};
constinit const TResStringRec cxSEditRichEditCopyCaption = {nullptr, FirstId + 40};
constinit const TResStringRec cxSEditRichEditPasteCaption = {nullptr, FirstId + 41};
constinit const TResStringRec cxSEditRichEditDeleteCaption = {nullptr, FirstId + 42};
constinit const TResStringRec cxSEditRichEditSelectAllCaption = {nullptr, FirstId + 43};

const wchar_t* const ExtEditorsProductName = ProductName;

namespace {

constexpr TdxResourceStringName ExtEditorsNames[] = {
    {L"scxSEditRepositoryColorComboBoxItem", &scxSEditRepositoryColorComboBoxItem},
    {L"scxSEditRepositoryColorEditItem", &scxSEditRepositoryColorEditItem},
    {L"scxSEditRepositoryFontNameComboBoxItem", &scxSEditRepositoryFontNameComboBoxItem},
    {L"scxSEditRepositoryLabelItem", &scxSEditRepositoryLabelItem},
    {L"scxSEditRepositoryProgressBarItem", &scxSEditRepositoryProgressBarItem},
    {L"scxSEditRepositoryTrackBarItem", &scxSEditRepositoryTrackBarItem},
    {L"scxSEditRepositoryRangeTrackBarItem", &scxSEditRepositoryRangeTrackBarItem},
    {L"scxSEditRepositorySpinButtonItem", &scxSEditRepositorySpinButtonItem},
    {L"scxSEditRepositoryCheckComboBox", &scxSEditRepositoryCheckComboBox},
    {L"scxSEditRepositoryShellComboBoxItem", &scxSEditRepositoryShellComboBoxItem},
    {L"scxSEditRepositoryCheckGroupItem", &scxSEditRepositoryCheckGroupItem},
    {L"scxSEditRepositoryRatingControlItem", &scxSEditRepositoryRatingControlItem},
    {L"scxUDAssociated", &scxUDAssociated},
    {L"scxHotZoneStyleMediaPlayer9", &scxHotZoneStyleMediaPlayer9},
    {L"scxHotZoneStyleMediaPlayer8", &scxHotZoneStyleMediaPlayer8},
    {L"scxHotZoneStyleXPTaskBar", &scxHotZoneStyleXPTaskBar},
    {L"scxHotZoneStyleSimple", &scxHotZoneStyleSimple},
    {L"scxLoadingFonts", &scxLoadingFonts},
    {L"cxSEditCheckGroupCaptionStateDelimiter", &cxSEditCheckGroupCaptionStateDelimiter},
    {L"cxSEditCheckGroupFilterColumnSeparator", &cxSEditCheckGroupFilterColumnSeparator},
    {L"cxSEditCheckGroupChecked", &cxSEditCheckGroupChecked},
    {L"cxSEditCheckGroupGrayed", &cxSEditCheckGroupGrayed},
    {L"cxSEditCheckGroupUnchecked", &cxSEditCheckGroupUnchecked},
    {L"cxSCheckComboBoxStatesItemsPropertyDlgCaption", &cxSCheckComboBoxStatesItemsPropertyDlgCaption},
    {L"cxSCheckControlIncorrectItemCount", &cxSCheckControlIncorrectItemCount},
    {L"cxSCheckGroupStatesItemsPropertyDlgCaption", &cxSCheckGroupStatesItemsPropertyDlgCaption},
    {L"cxSCheckComboBoxEmptySelectionText", &cxSCheckComboBoxEmptySelectionText},
    {L"cxSColorComboBoxDefaultDescription", &cxSColorComboBoxDefaultDescription},
    {L"cxSEditRichEditLibraryError", &cxSEditRichEditLibraryError},
    {L"cxSEditRichEditLineInsertionError", &cxSEditRichEditLineInsertionError},
    {L"cxSEditRichEditLoadFail", &cxSEditRichEditLoadFail},
    {L"cxSEditRichEditSaveFail", &cxSEditRichEditSaveFail},
    {L"cxSEditRichEditSelectionSaveFail", &cxSEditRichEditSelectionSaveFail},
    {L"cxSEditRichEditOleInterfaceFail", &cxSEditRichEditOleInterfaceFail},
    {L"cxSEditRichEditCallBackFail", &cxSEditRichEditCallBackFail},
    {L"cxSEditRichEditLinkFail", &cxSEditRichEditLinkFail},
    {L"scxSEditRepositoryRichEditItem", &scxSEditRepositoryRichEditItem},
    {L"cxSEditRichEditUndoCaption", &cxSEditRichEditUndoCaption},
    {L"cxSEditRichEditRedoCaption", &cxSEditRichEditRedoCaption},
    {L"cxSEditRichEditCutCaption", &cxSEditRichEditCutCaption},
    {L"cxSEditRichEditCopyCaption", &cxSEditRichEditCopyCaption},
    {L"cxSEditRichEditPasteCaption", &cxSEditRichEditPasteCaption},
    {L"cxSEditRichEditDeleteCaption", &cxSEditRichEditDeleteCaption},
    {L"cxSEditRichEditSelectAllCaption", &cxSEditRichEditSelectAllCaption},
};

void AddExtEditorsResourceStringNames(TdxProductResourceStrings* AProduct) {
  AddResourceStringNames(AProduct, ExtEditorsNames);
}

constinit TcxResourceStringsUnit GUnit(ProductName, &AddExtEditorsResourceStringNames);

}  // namespace

int GetCenteringOffset(const TRect& ARect, int ASize) { return (ARect.Height() - ASize) / 2; }

int GetEffectiveTextAngle(int AAngle, bool AIsTrueType) {
  return AIsTrueType ? ((AAngle % 360) + 360) % 360 : 0;
}

bool PrepareCanvasFontForAngle(TcxCanvas* ACanvas, TFont* AFont, int AAngle) {
  ACanvas->Font()->Assign(AFont);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(ACanvas->Handle(), &metrics);
  const bool trueType = (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
  const int angle = GetEffectiveTextAngle(AAngle, trueType);
  if (angle != 0) {
    LOGFONTW logFont = AFont->LogFont();
    logFont.lfEscapement = angle * 10;
    // The canvas font takes the new handle over and frees it.
    ACanvas->Font()->SetHandle(::CreateFontIndirectW(&logFont));
  }
  return trueType;
}

void cxExtEditConstsInitialization() { GUnit.Initialize(); }
void cxExtEditConstsFinalization() { GUnit.Finalize(); }
