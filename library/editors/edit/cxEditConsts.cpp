#include "library/editors/edit/cxEditConsts.h"

#include <cstdint>

namespace {

// The default texts are the string table of cxEditConsts.rc: one id each,
// counting up from here in the order below.
constexpr std::uint16_t FirstId = 0xE000;

constexpr const wchar_t* ProductName = L"cxEditors";

}  // namespace

constinit const TResStringRec cxSEditButtonCancel = {nullptr, FirstId + 0};
constinit const TResStringRec cxSEditButtonOK = {nullptr, FirstId + 1};
constinit const TResStringRec cxSEditDateConvertError = {nullptr, FirstId + 2};
constinit const TResStringRec cxSEditInvalidRepositoryItem = {nullptr, FirstId + 3};
constinit const TResStringRec cxSEditNumericValueConvertError = {nullptr, FirstId + 4};
constinit const TResStringRec cxSEditPopupCircularReferencingError = {nullptr, FirstId + 5};
constinit const TResStringRec cxSEditPostError = {nullptr, FirstId + 6};
constinit const TResStringRec cxSEditTimeConvertError = {nullptr, FirstId + 7};
constinit const TResStringRec cxSEditValidateErrorText = {nullptr, FirstId + 8};
constinit const TResStringRec cxSEditValueOutOfBounds = {nullptr, FirstId + 9};
constinit const TResStringRec cxSEditCheckBoxChecked = {nullptr, FirstId + 10};
constinit const TResStringRec cxSEditCheckBoxGrayed = {nullptr, FirstId + 11};
constinit const TResStringRec cxSEditCheckBoxUnchecked = {nullptr, FirstId + 12};
constinit const TResStringRec cxSRadioGroupDefaultCaption = {nullptr, FirstId + 13};
constinit const TResStringRec cxSTextTrue = {nullptr, FirstId + 14};
constinit const TResStringRec cxSTextFalse = {nullptr, FirstId + 15};
constinit const TResStringRec cxSNoMatchesFound = {nullptr, FirstId + 16};
constinit const TResStringRec cxSBlobButtonOK = {nullptr, FirstId + 17};
constinit const TResStringRec cxSBlobButtonCancel = {nullptr, FirstId + 18};
constinit const TResStringRec cxSBlobButtonClose = {nullptr, FirstId + 19};
constinit const TResStringRec cxSBlobMemo = {nullptr, FirstId + 20};
constinit const TResStringRec cxSBlobMemoEmpty = {nullptr, FirstId + 21};
constinit const TResStringRec cxSBlobPicture = {nullptr, FirstId + 22};
constinit const TResStringRec cxSBlobPictureEmpty = {nullptr, FirstId + 23};
constinit const TResStringRec cxSMenuItemCaptionCut = {nullptr, FirstId + 24};
constinit const TResStringRec cxSMenuItemCaptionCopy = {nullptr, FirstId + 25};
constinit const TResStringRec cxSMenuItemCaptionPaste = {nullptr, FirstId + 26};
constinit const TResStringRec cxSMenuItemCaptionDelete = {nullptr, FirstId + 27};
constinit const TResStringRec cxSMenuItemCaptionLoad = {nullptr, FirstId + 28};
constinit const TResStringRec cxSMenuItemCaptionSave = {nullptr, FirstId + 29};
constinit const TResStringRec cxSMenuItemCaptionAssignFromWebCam = {nullptr, FirstId + 30};
constinit const TResStringRec cxSDatePopupClear = {nullptr, FirstId + 31};
constinit const TResStringRec cxSDatePopupNow = {nullptr, FirstId + 32};
constinit const TResStringRec cxSDatePopupOK = {nullptr, FirstId + 33};
constinit const TResStringRec cxSDatePopupToday = {nullptr, FirstId + 34};
constinit const TResStringRec cxSDatePopupCancel = {nullptr, FirstId + 35};
constinit const TResStringRec cxSDateError = {nullptr, FirstId + 36};
constinit const TResStringRec scxSCalcError = {nullptr, FirstId + 37};
constinit const TResStringRec scxSHyperLinkPrefix = {nullptr, FirstId + 38};
constinit const TResStringRec scxSHyperLinkDoubleSlash = {nullptr, FirstId + 39};
constinit const TResStringRec cxNavigatorHint_First = {nullptr, FirstId + 40};
constinit const TResStringRec cxNavigatorHint_Prior = {nullptr, FirstId + 41};
constinit const TResStringRec cxNavigatorHint_PriorPage = {nullptr, FirstId + 42};
constinit const TResStringRec cxNavigatorHint_Next = {nullptr, FirstId + 43};
constinit const TResStringRec cxNavigatorHint_NextPage = {nullptr, FirstId + 44};
constinit const TResStringRec cxNavigatorHint_Last = {nullptr, FirstId + 45};
constinit const TResStringRec cxNavigatorHint_Insert = {nullptr, FirstId + 46};
constinit const TResStringRec cxNavigatorHint_Append = {nullptr, FirstId + 47};
constinit const TResStringRec cxNavigatorHint_Delete = {nullptr, FirstId + 48};
constinit const TResStringRec cxNavigatorHint_Edit = {nullptr, FirstId + 49};
constinit const TResStringRec cxNavigatorHint_Post = {nullptr, FirstId + 50};
constinit const TResStringRec cxNavigatorHint_Cancel = {nullptr, FirstId + 51};
constinit const TResStringRec cxNavigatorHint_Refresh = {nullptr, FirstId + 52};
constinit const TResStringRec cxNavigatorHint_SaveBookmark = {nullptr, FirstId + 53};
constinit const TResStringRec cxNavigatorHint_GotoBookmark = {nullptr, FirstId + 54};
constinit const TResStringRec cxNavigatorHint_Filter = {nullptr, FirstId + 55};
constinit const TResStringRec cxNavigator_DeleteRecordQuestion = {nullptr, FirstId + 56};
constinit const TResStringRec cxNavigatorInfoPanelDefaultDisplayMask = {nullptr, FirstId + 57};
constinit const TResStringRec scxSEditRepositoryBlobItem = {nullptr, FirstId + 58};
constinit const TResStringRec scxSEditRepositoryButtonItem = {nullptr, FirstId + 59};
constinit const TResStringRec scxSEditRepositoryCalcItem = {nullptr, FirstId + 60};
constinit const TResStringRec scxSEditRepositoryCheckBoxItem = {nullptr, FirstId + 61};
constinit const TResStringRec scxSEditRepositoryComboBoxItem = {nullptr, FirstId + 62};
constinit const TResStringRec scxSEditRepositoryCurrencyItem = {nullptr, FirstId + 63};
constinit const TResStringRec scxSEditRepositoryDateItem = {nullptr, FirstId + 64};
constinit const TResStringRec scxSEditRepositoryHyperLinkItem = {nullptr, FirstId + 65};
constinit const TResStringRec scxSEditRepositoryImageComboBoxItem = {nullptr, FirstId + 66};
constinit const TResStringRec scxSEditRepositoryImageItem = {nullptr, FirstId + 67};
constinit const TResStringRec scxSEditRepositoryLookupComboBoxItem = {nullptr, FirstId + 68};
constinit const TResStringRec scxSEditRepositoryMaskItem = {nullptr, FirstId + 69};
constinit const TResStringRec scxSEditRepositoryMemoItem = {nullptr, FirstId + 70};
constinit const TResStringRec scxSEditRepositoryMRUItem = {nullptr, FirstId + 71};
constinit const TResStringRec scxSEditRepositoryPopupItem = {nullptr, FirstId + 72};
constinit const TResStringRec scxSEditRepositorySpinItem = {nullptr, FirstId + 73};
constinit const TResStringRec scxSEditRepositoryRadioGroupItem = {nullptr, FirstId + 74};
constinit const TResStringRec scxSEditRepositoryTextItem = {nullptr, FirstId + 75};
constinit const TResStringRec scxSEditRepositoryTimeItem = {nullptr, FirstId + 76};
constinit const TResStringRec scxSEditRepositoryToggleSwitchItem = {nullptr, FirstId + 77};
constinit const TResStringRec scxSEditRepositoryDateTimeWheelPickerItem = {nullptr, FirstId + 78};
constinit const TResStringRec scxSEditRepositorySparklineItem = {nullptr, FirstId + 79};
constinit const TResStringRec scxSEditRepositoryLookupSparklineItem = {nullptr, FirstId + 80};
constinit const TResStringRec scxSEditRepositoryBarCodeItem = {nullptr, FirstId + 81};
constinit const TResStringRec scxSEditRepositoryTokenItem = {nullptr, FirstId + 82};
constinit const TResStringRec scxSEditRepositoryNumericWheelPickerItem = {nullptr, FirstId + 83};
constinit const TResStringRec scxSEditRepositoryFormattedLabelItem = {nullptr, FirstId + 84};
constinit const TResStringRec scxRegExprLine = {nullptr, FirstId + 85};
constinit const TResStringRec scxRegExprChar = {nullptr, FirstId + 86};
constinit const TResStringRec scxRegExprNotAssignedSourceStream = {nullptr, FirstId + 87};
constinit const TResStringRec scxRegExprEmptySourceStream = {nullptr, FirstId + 88};
constinit const TResStringRec scxRegExprCantUsePlusQuantifier = {nullptr, FirstId + 89};
constinit const TResStringRec scxRegExprCantUseStarQuantifier = {nullptr, FirstId + 90};
constinit const TResStringRec scxRegExprCantCreateEmptyAlt = {nullptr, FirstId + 91};
constinit const TResStringRec scxRegExprCantCreateEmptyBlock = {nullptr, FirstId + 92};
constinit const TResStringRec scxRegExprIllegalSymbol = {nullptr, FirstId + 93};
constinit const TResStringRec scxRegExprIllegalQuantifier = {nullptr, FirstId + 94};
constinit const TResStringRec scxRegExprNotSupportQuantifier = {nullptr, FirstId + 95};
constinit const TResStringRec scxRegExprIllegalIntegerValue = {nullptr, FirstId + 96};
constinit const TResStringRec scxRegExprTooBigReferenceNumber = {nullptr, FirstId + 97};
constinit const TResStringRec scxRegExprCantCreateEmptyEnum = {nullptr, FirstId + 98};
constinit const TResStringRec scxRegExprSubrangeOrder = {nullptr, FirstId + 99};
constinit const TResStringRec scxRegExprHexNumberExpected0 = {nullptr, FirstId + 100};
constinit const TResStringRec scxRegExprHexNumberExpected = {nullptr, FirstId + 101};
constinit const TResStringRec scxRegExprMissing = {nullptr, FirstId + 102};
constinit const TResStringRec scxRegExprUnnecessary = {nullptr, FirstId + 103};
constinit const TResStringRec scxRegExprIncorrectSpace = {nullptr, FirstId + 104};
constinit const TResStringRec scxRegExprNotCompiled = {nullptr, FirstId + 105};
constinit const TResStringRec scxRegExprIncorrectParameterQuantifier = {nullptr, FirstId + 106};
constinit const TResStringRec scxRegExprCantUseParameterQuantifier = {nullptr, FirstId + 107};
constinit const TResStringRec scxMaskEditRegExprError = {nullptr, FirstId + 108};
constinit const TResStringRec scxMaskEditInvalidEditValue = {nullptr, FirstId + 109};
constinit const TResStringRec scxMaskEditNoMask = {nullptr, FirstId + 110};
constinit const TResStringRec scxMaskEditIllegalFileFormat = {nullptr, FirstId + 111};
constinit const TResStringRec scxMaskEditEmptyMaskCollectionFile = {nullptr, FirstId + 112};
constinit const TResStringRec scxMaskEditMaskCollectionFiles = {nullptr, FirstId + 113};
constinit const TResStringRec cxSSpinEditInvalidNumericValue = {nullptr, FirstId + 114};
constinit const TResStringRec sdxAlertWindowNavigationPanelDefaultDisplayMask = {nullptr, FirstId + 115};
constinit const TResStringRec sdxAlertWindowPreviousMessage = {nullptr, FirstId + 116};
constinit const TResStringRec sdxAlertWindowNextMessage = {nullptr, FirstId + 117};
constinit const TResStringRec sdxAlertWindowPin = {nullptr, FirstId + 118};
constinit const TResStringRec sdxAlertWindowClose = {nullptr, FirstId + 119};
constinit const TResStringRec sdxAlertWindowDropdown = {nullptr, FirstId + 120};
constinit const TResStringRec sdxBreadcrumbEditInvalidPath = {nullptr, FirstId + 121};
constinit const TResStringRec sdxBreadcrumbEditInvalidStreamVersion = {nullptr, FirstId + 122};
constinit const TResStringRec sdxColorGalleryThemeColors = {nullptr, FirstId + 123};
constinit const TResStringRec sdxColorGalleryStandardColors = {nullptr, FirstId + 124};
constinit const TResStringRec sdxColorDialogAddToCustomColors = {nullptr, FirstId + 125};
constinit const TResStringRec sdxColorDialogApply = {nullptr, FirstId + 126};
constinit const TResStringRec sdxColorDialogCancel = {nullptr, FirstId + 127};
constinit const TResStringRec sdxColorDialogDefineCustomColor = {nullptr, FirstId + 128};
constinit const TResStringRec sdxColorDialogBasicColors = {nullptr, FirstId + 129};
constinit const TResStringRec sdxColorDialogCustomColors = {nullptr, FirstId + 130};
constinit const TResStringRec sdxColorDialogCaption = {nullptr, FirstId + 131};
constinit const TResStringRec scxShellBrowserDlgCaption = {nullptr, FirstId + 132};
constinit const TResStringRec scxShellBrowserDlgCurrentFolderCaption = {nullptr, FirstId + 133};
constinit const TResStringRec sdxColorPickerAlphaLabel = {nullptr, FirstId + 134};
constinit const TResStringRec sdxColorPickerBlueLabel = {nullptr, FirstId + 135};
constinit const TResStringRec sdxColorPickerGreenLabel = {nullptr, FirstId + 136};
constinit const TResStringRec sdxColorPickerHexCodeLabel = {nullptr, FirstId + 137};
constinit const TResStringRec sdxColorPickerHueLabel = {nullptr, FirstId + 138};
constinit const TResStringRec sdxColorPickerLightnessLabel = {nullptr, FirstId + 139};
constinit const TResStringRec sdxColorPickerRedLabel = {nullptr, FirstId + 140};
constinit const TResStringRec sdxColorPickerSaturationLabel = {nullptr, FirstId + 141};
constinit const TResStringRec sdxCameraDialogAssign = {nullptr, FirstId + 142};
constinit const TResStringRec sdxCameraDialogCancel = {nullptr, FirstId + 143};
constinit const TResStringRec sdxCameraDialogPause = {nullptr, FirstId + 144};
constinit const TResStringRec sdxCameraDialogPlay = {nullptr, FirstId + 145};
constinit const TResStringRec sdxCameraDialogCaption = {nullptr, FirstId + 146};
constinit const TResStringRec sdxCameraInactive = {nullptr, FirstId + 147};
constinit const TResStringRec sdxCameraRunning = {nullptr, FirstId + 148};
constinit const TResStringRec sdxCameraPaused = {nullptr, FirstId + 149};
constinit const TResStringRec sdxCameraNotDetected = {nullptr, FirstId + 150};
constinit const TResStringRec sdxCameraInitializing = {nullptr, FirstId + 151};
constinit const TResStringRec sdxCameraIsBusy = {nullptr, FirstId + 152};
constinit const TResStringRec sdxCameraControlSettingsFormSettings = {nullptr, FirstId + 153};
constinit const TResStringRec sdxCameraControlSettingsFormDevice = {nullptr, FirstId + 154};
constinit const TResStringRec sdxCameraControlSettingsFormDevices = {nullptr, FirstId + 155};
constinit const TResStringRec sdxCameraControlSettingsFormResolution = {nullptr, FirstId + 156};
constinit const TResStringRec sdxCameraControlSettingsFormResolutions = {nullptr, FirstId + 157};
constinit const TResStringRec sdxDefaultToggleSwitchOffText = {nullptr, FirstId + 158};
constinit const TResStringRec sdxDefaultToggleSwitchOnText = {nullptr, FirstId + 159};
constinit const TResStringRec sdxDateTimeWheelPickerHours = {nullptr, FirstId + 160};
constinit const TResStringRec sdxDateTimeWheelPickerMinutes = {nullptr, FirstId + 161};
constinit const TResStringRec sdxDateTimeWheelPickerSeconds = {nullptr, FirstId + 162};
constinit const TResStringRec sdxSparklineNoData = {nullptr, FirstId + 163};
constinit const TResStringRec sdxBarCodeInvalidCharactersError = {nullptr, FirstId + 164};
constinit const TResStringRec sdxBarCodeInvalidTextFormatError = {nullptr, FirstId + 165};
constinit const TResStringRec sdxBarCodeControlTooNarrowError = {nullptr, FirstId + 166};
constinit const TResStringRec sdxTokenEditMoreTokensCaption = {nullptr, FirstId + 167};
constinit const TResStringRec sdxTokenEditMoreTokensHint = {nullptr, FirstId + 168};
constinit const TResStringRec sdxRangeControlRangeIsEmpty = {nullptr, FirstId + 169};
constinit const TResStringRec sdxExcelFilterFromValueText = {nullptr, FirstId + 170};
constinit const TResStringRec sdxExcelFilterToValueText = {nullptr, FirstId + 171};
constinit const TResStringRec sdxExcelFilterTopNBottomNValueLabel = {nullptr, FirstId + 172};
constinit const TResStringRec sdxExcelFilterTopNBottomNTypeLabel = {nullptr, FirstId + 173};
constinit const TResStringRec sdxExcelFilterCustomFilterAndOperatorLabel = {nullptr, FirstId + 174};
constinit const TResStringRec sdxExcelFilterCustomFilterOrOperatorLabel = {nullptr, FirstId + 175};
constinit const TResStringRec sdxExcelFilterCustomFilterFirstConditionLabel = {nullptr, FirstId + 176};
constinit const TResStringRec sdxExcelFilterCustomFilterSecondConditionLabel = {nullptr, FirstId + 177};
constinit const TResStringRec sdxExcelFilterValuesTabCaption = {nullptr, FirstId + 178};
constinit const TResStringRec sdxExcelFilterDateFiltersTabCaption = {nullptr, FirstId + 179};
constinit const TResStringRec sdxExcelFilterTextFiltersTabCaption = {nullptr, FirstId + 180};
constinit const TResStringRec sdxExcelFilterTimeFiltersTabCaption = {nullptr, FirstId + 181};
constinit const TResStringRec sdxExcelFilterNumericFiltersTabCaption = {nullptr, FirstId + 182};
constinit const TResStringRec sdxExcelFilterSelectValueHintText = {nullptr, FirstId + 183};
constinit const TResStringRec sdxExcelFilterSelectDateHintText = {nullptr, FirstId + 184};
constinit const TResStringRec sdxExcelFilterEnterValueHintText = {nullptr, FirstId + 185};
constinit const TResStringRec sdxExcelFilterSpecificDatePeriodsConditionText = {nullptr, FirstId + 186};
constinit const TResStringRec sdxExcelFilterEqualsConditionText = {nullptr, FirstId + 187};
constinit const TResStringRec sdxExcelFilterDoesNotEqualConditionText = {nullptr, FirstId + 188};
constinit const TResStringRec sdxExcelFilterBeginsWithConditionText = {nullptr, FirstId + 189};
constinit const TResStringRec sdxExcelFilterEndsWithConditionText = {nullptr, FirstId + 190};
constinit const TResStringRec sdxExcelFilterContainsConditionText = {nullptr, FirstId + 191};
constinit const TResStringRec sdxExcelFilterDoesNotContainConditionText = {nullptr, FirstId + 192};
constinit const TResStringRec sdxExcelFilterIsBlankConditionText = {nullptr, FirstId + 193};
constinit const TResStringRec sdxExcelFilterIsNotBlankConditionText = {nullptr, FirstId + 194};
constinit const TResStringRec sdxExcelFilterBetweenConditionText = {nullptr, FirstId + 195};
constinit const TResStringRec sdxExcelFilterGreaterThanConditionText = {nullptr, FirstId + 196};
constinit const TResStringRec sdxExcelFilterGreaterThanOrEqualToConditionText = {nullptr, FirstId + 197};
constinit const TResStringRec sdxExcelFilterLessThanConditionText = {nullptr, FirstId + 198};
constinit const TResStringRec sdxExcelFilterLessEqualThanOrEqualToConditionText = {nullptr, FirstId + 199};
constinit const TResStringRec sdxExcelFilterTopNConditionText = {nullptr, FirstId + 200};
constinit const TResStringRec sdxExcelFilterBottomNConditionText = {nullptr, FirstId + 201};
constinit const TResStringRec sdxExcelFilterAboveAverageConditionText = {nullptr, FirstId + 202};
constinit const TResStringRec sdxExcelFilterBelowAverageConditionText = {nullptr, FirstId + 203};
constinit const TResStringRec sdxExcelFilterBeforeConditionText = {nullptr, FirstId + 204};
constinit const TResStringRec sdxExcelFilterAfterConditionText = {nullptr, FirstId + 205};
constinit const TResStringRec sdxExcelFilterYesterdayConditionText = {nullptr, FirstId + 206};
constinit const TResStringRec sdxExcelFilterTodayConditionTypeText = {nullptr, FirstId + 207};
constinit const TResStringRec sdxExcelFilterTomorrowConditionText = {nullptr, FirstId + 208};
constinit const TResStringRec sdxExcelFilterLastWeekConditionText = {nullptr, FirstId + 209};
constinit const TResStringRec sdxExcelFilterThisWeekConditionText = {nullptr, FirstId + 210};
constinit const TResStringRec sdxExcelFilterNextWeekConditionText = {nullptr, FirstId + 211};
constinit const TResStringRec sdxExcelFilterLastMonthConditionText = {nullptr, FirstId + 212};
constinit const TResStringRec sdxExcelFilterThisMonthConditionText = {nullptr, FirstId + 213};
constinit const TResStringRec sdxExcelFilterNextMonthConditionText = {nullptr, FirstId + 214};
constinit const TResStringRec sdxExcelFilterLastYearConditionText = {nullptr, FirstId + 215};
constinit const TResStringRec sdxExcelFilterThisYearConditionText = {nullptr, FirstId + 216};
constinit const TResStringRec sdxExcelFilterNextYearConditionText = {nullptr, FirstId + 217};
constinit const TResStringRec sdxExcelFilterCustomFilterConditionText = {nullptr, FirstId + 218};
constinit const TResStringRec sdxExcelFilterPredefinedFiltersConditionText = {nullptr, FirstId + 219};
constinit const TResStringRec sdxExcelFilterTopNBottomNItemsText = {nullptr, FirstId + 220};
constinit const TResStringRec sdxExcelFilterTopNBottomNPercentText = {nullptr, FirstId + 221};
constinit const TResStringRec sdxFilterPopupWindowClearButtonCaption = {nullptr, FirstId + 222};
constinit const TResStringRec sdxFilterPopupWindowCloseButtonCaption = {nullptr, FirstId + 223};
constinit const TResStringRec sdxFilterPopupWindowCancelButtonCaption = {nullptr, FirstId + 224};
constinit const TResStringRec sdxFilterPopupWindowOKButtonCaption = {nullptr, FirstId + 225};
constinit const TResStringRec sdxFileDialogFileNotExistWarning = {nullptr, FirstId + 226};
constinit const TResStringRec sdxFileDialogBackDisabledHint = {nullptr, FirstId + 227};
constinit const TResStringRec sdxFileDialogBackEnabledHint = {nullptr, FirstId + 228};
constinit const TResStringRec sdxFileDialogFileNameCaption = {nullptr, FirstId + 229};
constinit const TResStringRec sdxFileDialogFilePreviewHidePaneHint = {nullptr, FirstId + 230};
constinit const TResStringRec sdxFileDialogFilePreviewShowPaneHint = {nullptr, FirstId + 231};
constinit const TResStringRec sdxFileDialogForwardDisabledHint = {nullptr, FirstId + 232};
constinit const TResStringRec sdxFileDialogForwardEnabledHint = {nullptr, FirstId + 233};
constinit const TResStringRec sdxFileDialogHistoryHint = {nullptr, FirstId + 234};
constinit const TResStringRec sdxFileDialogNewFolderCaption = {nullptr, FirstId + 235};
constinit const TResStringRec sdxFileDialogNewFolderHint = {nullptr, FirstId + 236};
constinit const TResStringRec sdxFileDialogSearchNullstring = {nullptr, FirstId + 237};
constinit const TResStringRec sdxFileDialogUpHint = {nullptr, FirstId + 238};
constinit const TResStringRec sdxFileDialogViewsHint = {nullptr, FirstId + 239};
constinit const TResStringRec sdxShellViewsCaption = {nullptr, FirstId + 240};
constinit const TResStringRec sdxShellExtraLargeIconsCaption = {nullptr, FirstId + 241};
constinit const TResStringRec sdxShellLargeIconsCaption = {nullptr, FirstId + 242};
constinit const TResStringRec sdxShellMediumIconsCaption = {nullptr, FirstId + 243};
constinit const TResStringRec sdxShellSmallIconsCaption = {nullptr, FirstId + 244};
constinit const TResStringRec sdxShellIconsCaption = {nullptr, FirstId + 245};
constinit const TResStringRec sdxShellListCaption = {nullptr, FirstId + 246};
constinit const TResStringRec sdxShellDetailsCaption = {nullptr, FirstId + 247};
constinit const TResStringRec sdxOpenFileDialogOkCaption = {nullptr, FirstId + 248};
constinit const TResStringRec sdxOpenFileDialogDefaultTitle = {nullptr, FirstId + 249};
constinit const TResStringRec sdxSaveFileDialogOkCaption = {nullptr, FirstId + 250};
constinit const TResStringRec sdxSaveFileDialogDefaultTitle = {nullptr, FirstId + 251};
constinit const TResStringRec sdxShellListViewMenuItemPaste = {nullptr, FirstId + 252};
constinit const TResStringRec sdxShellListViewMenuItemRefresh = {nullptr, FirstId + 253};
constinit const TResStringRec sdxShellListViewMenuItemSort = {nullptr, FirstId + 254};
constinit const TResStringRec sdxShellListViewMenuItemSortAscending = {nullptr, FirstId + 255};
constinit const TResStringRec sdxShellListViewMenuItemSortDescending = {nullptr, FirstId + 256};
constinit const TResStringRec sdxShellListViewWorkingOnIt = {nullptr, FirstId + 257};
constinit const TResStringRec sdxShellListViewNoItemsMatch = {nullptr, FirstId + 258};
constinit const TResStringRec sdxDetails = {nullptr, FirstId + 259};
constinit const TResStringRec sdxColumnWidthCaption = {nullptr, FirstId + 260};
constinit const TResStringRec sdxSelectDetailsCaption = {nullptr, FirstId + 261};
constinit const TResStringRec sdxChooseDetails = {nullptr, FirstId + 262};
constinit const TResStringRec sdxMoveUp = {nullptr, FirstId + 263};
constinit const TResStringRec sdxMoveDown = {nullptr, FirstId + 264};
constinit const TResStringRec sdxHide = {nullptr, FirstId + 265};
constinit const TResStringRec sdxShow = {nullptr, FirstId + 266};
constinit const TResStringRec sdxFilePreviewPanePreviewMessageEmpty = {nullptr, FirstId + 267};
constinit const TResStringRec sdxFilePreviewPanePreviewMessageNoFile = {nullptr, FirstId + 268};
constinit const TResStringRec SMsgDlgAbort = {nullptr, FirstId + 269};
constinit const TResStringRec SMsgDlgAll = {nullptr, FirstId + 270};
constinit const TResStringRec SMsgDlgCancel = {nullptr, FirstId + 271};
constinit const TResStringRec SMsgDlgClose = {nullptr, FirstId + 272};
constinit const TResStringRec SMsgDlgConfirm = {nullptr, FirstId + 273};
constinit const TResStringRec SMsgDlgError = {nullptr, FirstId + 274};
constinit const TResStringRec SMsgDlgHelp = {nullptr, FirstId + 275};
constinit const TResStringRec SMsgDlgIgnore = {nullptr, FirstId + 276};
constinit const TResStringRec SMsgDlgInformation = {nullptr, FirstId + 277};
constinit const TResStringRec SMsgDlgNo = {nullptr, FirstId + 278};
constinit const TResStringRec SMsgDlgNoToAll = {nullptr, FirstId + 279};
constinit const TResStringRec SMsgDlgOK = {nullptr, FirstId + 280};
constinit const TResStringRec SMsgDlgRetry = {nullptr, FirstId + 281};
constinit const TResStringRec SMsgDlgWarning = {nullptr, FirstId + 282};
constinit const TResStringRec SMsgDlgYes = {nullptr, FirstId + 283};
constinit const TResStringRec SMsgDlgYesToAll = {nullptr, FirstId + 284};

const wchar_t* const EditorsProductName = ProductName;

namespace {

constexpr TdxResourceStringName EditorsNames[] = {
    {L"cxSEditButtonCancel", &cxSEditButtonCancel},
    {L"cxSEditButtonOK", &cxSEditButtonOK},
    {L"cxSEditDateConvertError", &cxSEditDateConvertError},
    {L"cxSEditInvalidRepositoryItem", &cxSEditInvalidRepositoryItem},
    {L"cxSEditNumericValueConvertError", &cxSEditNumericValueConvertError},
    {L"cxSEditPopupCircularReferencingError", &cxSEditPopupCircularReferencingError},
    {L"cxSEditPostError", &cxSEditPostError},
    {L"cxSEditTimeConvertError", &cxSEditTimeConvertError},
    {L"cxSEditValidateErrorText", &cxSEditValidateErrorText},
    {L"cxSEditValueOutOfBounds", &cxSEditValueOutOfBounds},
    {L"cxSEditCheckBoxChecked", &cxSEditCheckBoxChecked},
    {L"cxSEditCheckBoxGrayed", &cxSEditCheckBoxGrayed},
    {L"cxSEditCheckBoxUnchecked", &cxSEditCheckBoxUnchecked},
    {L"cxSRadioGroupDefaultCaption", &cxSRadioGroupDefaultCaption},
    {L"cxSTextTrue", &cxSTextTrue},
    {L"cxSTextFalse", &cxSTextFalse},
    {L"cxSNoMatchesFound", &cxSNoMatchesFound},
    {L"cxSBlobButtonOK", &cxSBlobButtonOK},
    {L"cxSBlobButtonCancel", &cxSBlobButtonCancel},
    {L"cxSBlobButtonClose", &cxSBlobButtonClose},
    {L"cxSBlobMemo", &cxSBlobMemo},
    {L"cxSBlobMemoEmpty", &cxSBlobMemoEmpty},
    {L"cxSBlobPicture", &cxSBlobPicture},
    {L"cxSBlobPictureEmpty", &cxSBlobPictureEmpty},
    {L"cxSMenuItemCaptionCut", &cxSMenuItemCaptionCut},
    {L"cxSMenuItemCaptionCopy", &cxSMenuItemCaptionCopy},
    {L"cxSMenuItemCaptionPaste", &cxSMenuItemCaptionPaste},
    {L"cxSMenuItemCaptionDelete", &cxSMenuItemCaptionDelete},
    {L"cxSMenuItemCaptionLoad", &cxSMenuItemCaptionLoad},
    {L"cxSMenuItemCaptionSave", &cxSMenuItemCaptionSave},
    {L"cxSMenuItemCaptionAssignFromWebCam", &cxSMenuItemCaptionAssignFromWebCam},
    {L"cxSDatePopupClear", &cxSDatePopupClear},
    {L"cxSDatePopupNow", &cxSDatePopupNow},
    {L"cxSDatePopupOK", &cxSDatePopupOK},
    {L"cxSDatePopupToday", &cxSDatePopupToday},
    {L"cxSDatePopupCancel", &cxSDatePopupCancel},
    {L"cxSDateError", &cxSDateError},
    {L"scxSCalcError", &scxSCalcError},
    {L"scxSHyperLinkPrefix", &scxSHyperLinkPrefix},
    {L"scxSHyperLinkDoubleSlash", &scxSHyperLinkDoubleSlash},
    {L"cxNavigatorHint_First", &cxNavigatorHint_First},
    {L"cxNavigatorHint_Prior", &cxNavigatorHint_Prior},
    {L"cxNavigatorHint_PriorPage", &cxNavigatorHint_PriorPage},
    {L"cxNavigatorHint_Next", &cxNavigatorHint_Next},
    {L"cxNavigatorHint_NextPage", &cxNavigatorHint_NextPage},
    {L"cxNavigatorHint_Last", &cxNavigatorHint_Last},
    {L"cxNavigatorHint_Insert", &cxNavigatorHint_Insert},
    {L"cxNavigatorHint_Append", &cxNavigatorHint_Append},
    {L"cxNavigatorHint_Delete", &cxNavigatorHint_Delete},
    {L"cxNavigatorHint_Edit", &cxNavigatorHint_Edit},
    {L"cxNavigatorHint_Post", &cxNavigatorHint_Post},
    {L"cxNavigatorHint_Cancel", &cxNavigatorHint_Cancel},
    {L"cxNavigatorHint_Refresh", &cxNavigatorHint_Refresh},
    {L"cxNavigatorHint_SaveBookmark", &cxNavigatorHint_SaveBookmark},
    {L"cxNavigatorHint_GotoBookmark", &cxNavigatorHint_GotoBookmark},
    {L"cxNavigatorHint_Filter", &cxNavigatorHint_Filter},
    {L"cxNavigator_DeleteRecordQuestion", &cxNavigator_DeleteRecordQuestion},
    {L"cxNavigatorInfoPanelDefaultDisplayMask", &cxNavigatorInfoPanelDefaultDisplayMask},
    {L"scxSEditRepositoryBlobItem", &scxSEditRepositoryBlobItem},
    {L"scxSEditRepositoryButtonItem", &scxSEditRepositoryButtonItem},
    {L"scxSEditRepositoryCalcItem", &scxSEditRepositoryCalcItem},
    {L"scxSEditRepositoryCheckBoxItem", &scxSEditRepositoryCheckBoxItem},
    {L"scxSEditRepositoryComboBoxItem", &scxSEditRepositoryComboBoxItem},
    {L"scxSEditRepositoryCurrencyItem", &scxSEditRepositoryCurrencyItem},
    {L"scxSEditRepositoryDateItem", &scxSEditRepositoryDateItem},
    {L"scxSEditRepositoryHyperLinkItem", &scxSEditRepositoryHyperLinkItem},
    {L"scxSEditRepositoryImageComboBoxItem", &scxSEditRepositoryImageComboBoxItem},
    {L"scxSEditRepositoryImageItem", &scxSEditRepositoryImageItem},
    {L"scxSEditRepositoryLookupComboBoxItem", &scxSEditRepositoryLookupComboBoxItem},
    {L"scxSEditRepositoryMaskItem", &scxSEditRepositoryMaskItem},
    {L"scxSEditRepositoryMemoItem", &scxSEditRepositoryMemoItem},
    {L"scxSEditRepositoryMRUItem", &scxSEditRepositoryMRUItem},
    {L"scxSEditRepositoryPopupItem", &scxSEditRepositoryPopupItem},
    {L"scxSEditRepositorySpinItem", &scxSEditRepositorySpinItem},
    {L"scxSEditRepositoryRadioGroupItem", &scxSEditRepositoryRadioGroupItem},
    {L"scxSEditRepositoryTextItem", &scxSEditRepositoryTextItem},
    {L"scxSEditRepositoryTimeItem", &scxSEditRepositoryTimeItem},
    {L"scxSEditRepositoryToggleSwitchItem", &scxSEditRepositoryToggleSwitchItem},
    {L"scxSEditRepositoryDateTimeWheelPickerItem", &scxSEditRepositoryDateTimeWheelPickerItem},
    {L"scxSEditRepositorySparklineItem", &scxSEditRepositorySparklineItem},
    {L"scxSEditRepositoryLookupSparklineItem", &scxSEditRepositoryLookupSparklineItem},
    {L"scxSEditRepositoryBarCodeItem", &scxSEditRepositoryBarCodeItem},
    {L"scxSEditRepositoryTokenItem", &scxSEditRepositoryTokenItem},
    {L"scxSEditRepositoryNumericWheelPickerItem", &scxSEditRepositoryNumericWheelPickerItem},
    {L"scxSEditRepositoryFormattedLabelItem", &scxSEditRepositoryFormattedLabelItem},
    {L"scxRegExprLine", &scxRegExprLine},
    {L"scxRegExprChar", &scxRegExprChar},
    {L"scxRegExprNotAssignedSourceStream", &scxRegExprNotAssignedSourceStream},
    {L"scxRegExprEmptySourceStream", &scxRegExprEmptySourceStream},
    {L"scxRegExprCantUsePlusQuantifier", &scxRegExprCantUsePlusQuantifier},
    {L"scxRegExprCantUseStarQuantifier", &scxRegExprCantUseStarQuantifier},
    {L"scxRegExprCantCreateEmptyAlt", &scxRegExprCantCreateEmptyAlt},
    {L"scxRegExprCantCreateEmptyBlock", &scxRegExprCantCreateEmptyBlock},
    {L"scxRegExprIllegalSymbol", &scxRegExprIllegalSymbol},
    {L"scxRegExprIllegalQuantifier", &scxRegExprIllegalQuantifier},
    {L"scxRegExprNotSupportQuantifier", &scxRegExprNotSupportQuantifier},
    {L"scxRegExprIllegalIntegerValue", &scxRegExprIllegalIntegerValue},
    {L"scxRegExprTooBigReferenceNumber", &scxRegExprTooBigReferenceNumber},
    {L"scxRegExprCantCreateEmptyEnum", &scxRegExprCantCreateEmptyEnum},
    {L"scxRegExprSubrangeOrder", &scxRegExprSubrangeOrder},
    {L"scxRegExprHexNumberExpected0", &scxRegExprHexNumberExpected0},
    {L"scxRegExprHexNumberExpected", &scxRegExprHexNumberExpected},
    {L"scxRegExprMissing", &scxRegExprMissing},
    {L"scxRegExprUnnecessary", &scxRegExprUnnecessary},
    {L"scxRegExprIncorrectSpace", &scxRegExprIncorrectSpace},
    {L"scxRegExprNotCompiled", &scxRegExprNotCompiled},
    {L"scxRegExprIncorrectParameterQuantifier", &scxRegExprIncorrectParameterQuantifier},
    {L"scxRegExprCantUseParameterQuantifier", &scxRegExprCantUseParameterQuantifier},
    {L"scxMaskEditRegExprError", &scxMaskEditRegExprError},
    {L"scxMaskEditInvalidEditValue", &scxMaskEditInvalidEditValue},
    {L"scxMaskEditNoMask", &scxMaskEditNoMask},
    {L"scxMaskEditIllegalFileFormat", &scxMaskEditIllegalFileFormat},
    {L"scxMaskEditEmptyMaskCollectionFile", &scxMaskEditEmptyMaskCollectionFile},
    {L"scxMaskEditMaskCollectionFiles", &scxMaskEditMaskCollectionFiles},
    {L"cxSSpinEditInvalidNumericValue", &cxSSpinEditInvalidNumericValue},
    {L"sdxAlertWindowNavigationPanelDefaultDisplayMask", &sdxAlertWindowNavigationPanelDefaultDisplayMask},
    {L"sdxAlertWindowPreviousMessage", &sdxAlertWindowPreviousMessage},
    {L"sdxAlertWindowNextMessage", &sdxAlertWindowNextMessage},
    {L"sdxAlertWindowPin", &sdxAlertWindowPin},
    {L"sdxAlertWindowClose", &sdxAlertWindowClose},
    {L"sdxAlertWindowDropdown", &sdxAlertWindowDropdown},
    {L"sdxBreadcrumbEditInvalidPath", &sdxBreadcrumbEditInvalidPath},
    {L"sdxBreadcrumbEditInvalidStreamVersion", &sdxBreadcrumbEditInvalidStreamVersion},
    {L"sdxColorGalleryThemeColors", &sdxColorGalleryThemeColors},
    {L"sdxColorGalleryStandardColors", &sdxColorGalleryStandardColors},
    {L"sdxColorDialogAddToCustomColors", &sdxColorDialogAddToCustomColors},
    {L"sdxColorDialogApply", &sdxColorDialogApply},
    {L"sdxColorDialogCancel", &sdxColorDialogCancel},
    {L"sdxColorDialogDefineCustomColor", &sdxColorDialogDefineCustomColor},
    {L"sdxColorDialogBasicColors", &sdxColorDialogBasicColors},
    {L"sdxColorDialogCustomColors", &sdxColorDialogCustomColors},
    {L"sdxColorDialogCaption", &sdxColorDialogCaption},
    {L"scxShellBrowserDlgCaption", &scxShellBrowserDlgCaption},
    {L"scxShellBrowserDlgCurrentFolderCaption", &scxShellBrowserDlgCurrentFolderCaption},
    {L"sdxColorPickerAlphaLabel", &sdxColorPickerAlphaLabel},
    {L"sdxColorPickerBlueLabel", &sdxColorPickerBlueLabel},
    {L"sdxColorPickerGreenLabel", &sdxColorPickerGreenLabel},
    {L"sdxColorPickerHexCodeLabel", &sdxColorPickerHexCodeLabel},
    {L"sdxColorPickerHueLabel", &sdxColorPickerHueLabel},
    {L"sdxColorPickerLightnessLabel", &sdxColorPickerLightnessLabel},
    {L"sdxColorPickerRedLabel", &sdxColorPickerRedLabel},
    {L"sdxColorPickerSaturationLabel", &sdxColorPickerSaturationLabel},
    {L"sdxCameraDialogAssign", &sdxCameraDialogAssign},
    {L"sdxCameraDialogCancel", &sdxCameraDialogCancel},
    {L"sdxCameraDialogPause", &sdxCameraDialogPause},
    {L"sdxCameraDialogPlay", &sdxCameraDialogPlay},
    {L"sdxCameraDialogCaption", &sdxCameraDialogCaption},
    {L"sdxCameraInactive", &sdxCameraInactive},
    {L"sdxCameraRunning", &sdxCameraRunning},
    {L"sdxCameraPaused", &sdxCameraPaused},
    {L"sdxCameraNotDetected", &sdxCameraNotDetected},
    {L"sdxCameraInitializing", &sdxCameraInitializing},
    {L"sdxCameraIsBusy", &sdxCameraIsBusy},
    {L"sdxCameraControlSettingsFormSettings", &sdxCameraControlSettingsFormSettings},
    {L"sdxCameraControlSettingsFormDevice", &sdxCameraControlSettingsFormDevice},
    {L"sdxCameraControlSettingsFormDevices", &sdxCameraControlSettingsFormDevices},
    {L"sdxCameraControlSettingsFormResolution", &sdxCameraControlSettingsFormResolution},
    {L"sdxCameraControlSettingsFormResolutions", &sdxCameraControlSettingsFormResolutions},
    {L"sdxDefaultToggleSwitchOffText", &sdxDefaultToggleSwitchOffText},
    {L"sdxDefaultToggleSwitchOnText", &sdxDefaultToggleSwitchOnText},
    {L"sdxDateTimeWheelPickerHours", &sdxDateTimeWheelPickerHours},
    {L"sdxDateTimeWheelPickerMinutes", &sdxDateTimeWheelPickerMinutes},
    {L"sdxDateTimeWheelPickerSeconds", &sdxDateTimeWheelPickerSeconds},
    {L"sdxSparklineNoData", &sdxSparklineNoData},
    {L"sdxBarCodeInvalidCharactersError", &sdxBarCodeInvalidCharactersError},
    {L"sdxBarCodeInvalidTextFormatError", &sdxBarCodeInvalidTextFormatError},
    {L"sdxBarCodeControlTooNarrowError", &sdxBarCodeControlTooNarrowError},
    {L"sdxTokenEditMoreTokensCaption", &sdxTokenEditMoreTokensCaption},
    {L"sdxTokenEditMoreTokensHint", &sdxTokenEditMoreTokensHint},
    {L"sdxRangeControlRangeIsEmpty", &sdxRangeControlRangeIsEmpty},
    {L"sdxExcelFilterFromValueText", &sdxExcelFilterFromValueText},
    {L"sdxExcelFilterToValueText", &sdxExcelFilterToValueText},
    {L"sdxExcelFilterTopNBottomNValueLabel", &sdxExcelFilterTopNBottomNValueLabel},
    {L"sdxExcelFilterTopNBottomNTypeLabel", &sdxExcelFilterTopNBottomNTypeLabel},
    {L"sdxExcelFilterCustomFilterAndOperatorLabel", &sdxExcelFilterCustomFilterAndOperatorLabel},
    {L"sdxExcelFilterCustomFilterOrOperatorLabel", &sdxExcelFilterCustomFilterOrOperatorLabel},
    {L"sdxExcelFilterCustomFilterFirstConditionLabel", &sdxExcelFilterCustomFilterFirstConditionLabel},
    {L"sdxExcelFilterCustomFilterSecondConditionLabel", &sdxExcelFilterCustomFilterSecondConditionLabel},
    {L"sdxExcelFilterValuesTabCaption", &sdxExcelFilterValuesTabCaption},
    {L"sdxExcelFilterDateFiltersTabCaption", &sdxExcelFilterDateFiltersTabCaption},
    {L"sdxExcelFilterTextFiltersTabCaption", &sdxExcelFilterTextFiltersTabCaption},
    {L"sdxExcelFilterTimeFiltersTabCaption", &sdxExcelFilterTimeFiltersTabCaption},
    {L"sdxExcelFilterNumericFiltersTabCaption", &sdxExcelFilterNumericFiltersTabCaption},
    {L"sdxExcelFilterSelectValueHintText", &sdxExcelFilterSelectValueHintText},
    {L"sdxExcelFilterSelectDateHintText", &sdxExcelFilterSelectDateHintText},
    {L"sdxExcelFilterEnterValueHintText", &sdxExcelFilterEnterValueHintText},
    {L"sdxExcelFilterSpecificDatePeriodsConditionText", &sdxExcelFilterSpecificDatePeriodsConditionText},
    {L"sdxExcelFilterEqualsConditionText", &sdxExcelFilterEqualsConditionText},
    {L"sdxExcelFilterDoesNotEqualConditionText", &sdxExcelFilterDoesNotEqualConditionText},
    {L"sdxExcelFilterBeginsWithConditionText", &sdxExcelFilterBeginsWithConditionText},
    {L"sdxExcelFilterEndsWithConditionText", &sdxExcelFilterEndsWithConditionText},
    {L"sdxExcelFilterContainsConditionText", &sdxExcelFilterContainsConditionText},
    {L"sdxExcelFilterDoesNotContainConditionText", &sdxExcelFilterDoesNotContainConditionText},
    {L"sdxExcelFilterIsBlankConditionText", &sdxExcelFilterIsBlankConditionText},
    {L"sdxExcelFilterIsNotBlankConditionText", &sdxExcelFilterIsNotBlankConditionText},
    {L"sdxExcelFilterBetweenConditionText", &sdxExcelFilterBetweenConditionText},
    {L"sdxExcelFilterGreaterThanConditionText", &sdxExcelFilterGreaterThanConditionText},
    {L"sdxExcelFilterGreaterThanOrEqualToConditionText", &sdxExcelFilterGreaterThanOrEqualToConditionText},
    {L"sdxExcelFilterLessThanConditionText", &sdxExcelFilterLessThanConditionText},
    {L"sdxExcelFilterLessEqualThanOrEqualToConditionText", &sdxExcelFilterLessEqualThanOrEqualToConditionText},
    {L"sdxExcelFilterTopNConditionText", &sdxExcelFilterTopNConditionText},
    {L"sdxExcelFilterBottomNConditionText", &sdxExcelFilterBottomNConditionText},
    {L"sdxExcelFilterAboveAverageConditionText", &sdxExcelFilterAboveAverageConditionText},
    {L"sdxExcelFilterBelowAverageConditionText", &sdxExcelFilterBelowAverageConditionText},
    {L"sdxExcelFilterBeforeConditionText", &sdxExcelFilterBeforeConditionText},
    {L"sdxExcelFilterAfterConditionText", &sdxExcelFilterAfterConditionText},
    {L"sdxExcelFilterYesterdayConditionText", &sdxExcelFilterYesterdayConditionText},
    {L"sdxExcelFilterTodayConditionTypeText", &sdxExcelFilterTodayConditionTypeText},
    {L"sdxExcelFilterTomorrowConditionText", &sdxExcelFilterTomorrowConditionText},
    {L"sdxExcelFilterLastWeekConditionText", &sdxExcelFilterLastWeekConditionText},
    {L"sdxExcelFilterThisWeekConditionText", &sdxExcelFilterThisWeekConditionText},
    {L"sdxExcelFilterNextWeekConditionText", &sdxExcelFilterNextWeekConditionText},
    {L"sdxExcelFilterLastMonthConditionText", &sdxExcelFilterLastMonthConditionText},
    {L"sdxExcelFilterThisMonthConditionText", &sdxExcelFilterThisMonthConditionText},
    {L"sdxExcelFilterNextMonthConditionText", &sdxExcelFilterNextMonthConditionText},
    {L"sdxExcelFilterLastYearConditionText", &sdxExcelFilterLastYearConditionText},
    {L"sdxExcelFilterThisYearConditionText", &sdxExcelFilterThisYearConditionText},
    {L"sdxExcelFilterNextYearConditionText", &sdxExcelFilterNextYearConditionText},
    {L"sdxExcelFilterCustomFilterConditionText", &sdxExcelFilterCustomFilterConditionText},
    {L"sdxExcelFilterPredefinedFiltersConditionText", &sdxExcelFilterPredefinedFiltersConditionText},
    {L"sdxExcelFilterTopNBottomNItemsText", &sdxExcelFilterTopNBottomNItemsText},
    {L"sdxExcelFilterTopNBottomNPercentText", &sdxExcelFilterTopNBottomNPercentText},
    {L"sdxFilterPopupWindowClearButtonCaption", &sdxFilterPopupWindowClearButtonCaption},
    {L"sdxFilterPopupWindowCloseButtonCaption", &sdxFilterPopupWindowCloseButtonCaption},
    {L"sdxFilterPopupWindowCancelButtonCaption", &sdxFilterPopupWindowCancelButtonCaption},
    {L"sdxFilterPopupWindowOKButtonCaption", &sdxFilterPopupWindowOKButtonCaption},
    {L"sdxFileDialogFileNotExistWarning", &sdxFileDialogFileNotExistWarning},
    {L"sdxFileDialogBackDisabledHint", &sdxFileDialogBackDisabledHint},
    {L"sdxFileDialogBackEnabledHint", &sdxFileDialogBackEnabledHint},
    {L"sdxFileDialogFileNameCaption", &sdxFileDialogFileNameCaption},
    {L"sdxFileDialogFilePreviewHidePaneHint", &sdxFileDialogFilePreviewHidePaneHint},
    {L"sdxFileDialogFilePreviewShowPaneHint", &sdxFileDialogFilePreviewShowPaneHint},
    {L"sdxFileDialogForwardDisabledHint", &sdxFileDialogForwardDisabledHint},
    {L"sdxFileDialogForwardEnabledHint", &sdxFileDialogForwardEnabledHint},
    {L"sdxFileDialogHistoryHint", &sdxFileDialogHistoryHint},
    {L"sdxFileDialogNewFolderCaption", &sdxFileDialogNewFolderCaption},
    {L"sdxFileDialogNewFolderHint", &sdxFileDialogNewFolderHint},
    {L"sdxFileDialogSearchNullstring", &sdxFileDialogSearchNullstring},
    {L"sdxFileDialogUpHint", &sdxFileDialogUpHint},
    {L"sdxFileDialogViewsHint", &sdxFileDialogViewsHint},
    {L"sdxShellViewsCaption", &sdxShellViewsCaption},
    {L"sdxShellExtraLargeIconsCaption", &sdxShellExtraLargeIconsCaption},
    {L"sdxShellLargeIconsCaption", &sdxShellLargeIconsCaption},
    {L"sdxShellMediumIconsCaption", &sdxShellMediumIconsCaption},
    {L"sdxShellSmallIconsCaption", &sdxShellSmallIconsCaption},
    {L"sdxShellIconsCaption", &sdxShellIconsCaption},
    {L"sdxShellListCaption", &sdxShellListCaption},
    {L"sdxShellDetailsCaption", &sdxShellDetailsCaption},
    {L"sdxOpenFileDialogOkCaption", &sdxOpenFileDialogOkCaption},
    {L"sdxOpenFileDialogDefaultTitle", &sdxOpenFileDialogDefaultTitle},
    {L"sdxSaveFileDialogOkCaption", &sdxSaveFileDialogOkCaption},
    {L"sdxSaveFileDialogDefaultTitle", &sdxSaveFileDialogDefaultTitle},
    {L"sdxShellListViewMenuItemPaste", &sdxShellListViewMenuItemPaste},
    {L"sdxShellListViewMenuItemRefresh", &sdxShellListViewMenuItemRefresh},
    {L"sdxShellListViewMenuItemSort", &sdxShellListViewMenuItemSort},
    {L"sdxShellListViewMenuItemSortAscending", &sdxShellListViewMenuItemSortAscending},
    {L"sdxShellListViewMenuItemSortDescending", &sdxShellListViewMenuItemSortDescending},
    {L"sdxShellListViewWorkingOnIt", &sdxShellListViewWorkingOnIt},
    {L"sdxShellListViewNoItemsMatch", &sdxShellListViewNoItemsMatch},
    {L"sdxDetails", &sdxDetails},
    {L"sdxColumnWidthCaption", &sdxColumnWidthCaption},
    {L"sdxSelectDetailsCaption", &sdxSelectDetailsCaption},
    {L"sdxChooseDetails", &sdxChooseDetails},
    {L"sdxMoveUp", &sdxMoveUp},
    {L"sdxMoveDown", &sdxMoveDown},
    {L"sdxHide", &sdxHide},
    {L"sdxShow", &sdxShow},
    {L"sdxFilePreviewPanePreviewMessageEmpty", &sdxFilePreviewPanePreviewMessageEmpty},
    {L"sdxFilePreviewPanePreviewMessageNoFile", &sdxFilePreviewPanePreviewMessageNoFile},
    {L"SMsgDlgAbort", &SMsgDlgAbort},
    {L"SMsgDlgAll", &SMsgDlgAll},
    {L"SMsgDlgCancel", &SMsgDlgCancel},
    {L"SMsgDlgClose", &SMsgDlgClose},
    {L"SMsgDlgConfirm", &SMsgDlgConfirm},
    {L"SMsgDlgError", &SMsgDlgError},
    {L"SMsgDlgHelp", &SMsgDlgHelp},
    {L"SMsgDlgIgnore", &SMsgDlgIgnore},
    {L"SMsgDlgInformation", &SMsgDlgInformation},
    {L"SMsgDlgNo", &SMsgDlgNo},
    {L"SMsgDlgNoToAll", &SMsgDlgNoToAll},
    {L"SMsgDlgOK", &SMsgDlgOK},
    {L"SMsgDlgRetry", &SMsgDlgRetry},
    {L"SMsgDlgWarning", &SMsgDlgWarning},
    {L"SMsgDlgYes", &SMsgDlgYes},
    {L"SMsgDlgYesToAll", &SMsgDlgYesToAll},
};

void AddEditorsResourceStringNames(TdxProductResourceStrings* AProduct) { AddResourceStringNames(AProduct, EditorsNames); }

constinit TcxResourceStringsUnit GUnit(ProductName, &AddEditorsResourceStringNames);

}  // namespace

void cxEditConstsInitialization() { GUnit.Initialize(); }
void cxEditConstsFinalization() { GUnit.Finalize(); }
