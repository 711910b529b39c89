// The editors' resource strings: every user-visible text of the editors and
// the editor kinds' descriptions. The unit's start-up registers the set with
// the resource-string repository under EditorsProductName, its shut-down
// removes it. Read a text through LoadLocalizedResString at the moment it is
// shown, so that a translation installed later is seen at the next use.
//
// The SMsgDlg strings are the message dialogs' captions, registered here so
// that one translation covers the editors and the message boxes.
//
// Classes in this file:
//   TcxResourceStringsUnit   the counted start-up and shut-down of a string unit
#pragma once

#include "library/core/base/dxCore.h"

// A string unit's start-up and shut-down, counted: the first start-up
// registers the product with its filling procedure, the last shut-down
// removes the product; a shut-down without a start-up does nothing.
class TcxResourceStringsUnit {
 public:
  constexpr TcxResourceStringsUnit(const wchar_t* AProductName, TdxAddResourceStringsProcedure AAddStrings)
      : FProductName(AProductName), FAddStrings(AAddStrings) {}

  void Initialize() {
    if (FStartCount++ == 0) RegisterResourceStringsProduct(FProductName, FAddStrings);
  }
  void Finalize() {
    if (FStartCount > 0 && --FStartCount == 0) UnregisterResourceStringsProduct(FProductName);
  }

 private:
  const wchar_t* FProductName;
  TdxAddResourceStringsProcedure FAddStrings;
  int FStartCount = 0;
};

extern const TResStringRec cxSEditButtonCancel;
extern const TResStringRec cxSEditButtonOK;
extern const TResStringRec cxSEditDateConvertError;
extern const TResStringRec cxSEditInvalidRepositoryItem;
extern const TResStringRec cxSEditNumericValueConvertError;
extern const TResStringRec cxSEditPopupCircularReferencingError;
extern const TResStringRec cxSEditPostError;
extern const TResStringRec cxSEditTimeConvertError;
extern const TResStringRec cxSEditValidateErrorText;
extern const TResStringRec cxSEditValueOutOfBounds;
extern const TResStringRec cxSEditCheckBoxChecked;
extern const TResStringRec cxSEditCheckBoxGrayed;
extern const TResStringRec cxSEditCheckBoxUnchecked;
extern const TResStringRec cxSRadioGroupDefaultCaption;
extern const TResStringRec cxSTextTrue;
extern const TResStringRec cxSTextFalse;
extern const TResStringRec cxSNoMatchesFound;
extern const TResStringRec cxSBlobButtonOK;
extern const TResStringRec cxSBlobButtonCancel;
extern const TResStringRec cxSBlobButtonClose;
extern const TResStringRec cxSBlobMemo;
extern const TResStringRec cxSBlobMemoEmpty;
extern const TResStringRec cxSBlobPicture;
extern const TResStringRec cxSBlobPictureEmpty;
extern const TResStringRec cxSMenuItemCaptionCut;
extern const TResStringRec cxSMenuItemCaptionCopy;
extern const TResStringRec cxSMenuItemCaptionPaste;
extern const TResStringRec cxSMenuItemCaptionDelete;
extern const TResStringRec cxSMenuItemCaptionLoad;
extern const TResStringRec cxSMenuItemCaptionSave;
extern const TResStringRec cxSMenuItemCaptionAssignFromWebCam;
extern const TResStringRec cxSDatePopupClear;
extern const TResStringRec cxSDatePopupNow;
extern const TResStringRec cxSDatePopupOK;
extern const TResStringRec cxSDatePopupToday;
extern const TResStringRec cxSDatePopupCancel;
extern const TResStringRec cxSDateError;
extern const TResStringRec scxSCalcError;
extern const TResStringRec scxSHyperLinkPrefix;
extern const TResStringRec scxSHyperLinkDoubleSlash;
extern const TResStringRec cxNavigatorHint_First;
extern const TResStringRec cxNavigatorHint_Prior;
extern const TResStringRec cxNavigatorHint_PriorPage;
extern const TResStringRec cxNavigatorHint_Next;
extern const TResStringRec cxNavigatorHint_NextPage;
extern const TResStringRec cxNavigatorHint_Last;
extern const TResStringRec cxNavigatorHint_Insert;
extern const TResStringRec cxNavigatorHint_Append;
extern const TResStringRec cxNavigatorHint_Delete;
extern const TResStringRec cxNavigatorHint_Edit;
extern const TResStringRec cxNavigatorHint_Post;
extern const TResStringRec cxNavigatorHint_Cancel;
extern const TResStringRec cxNavigatorHint_Refresh;
extern const TResStringRec cxNavigatorHint_SaveBookmark;
extern const TResStringRec cxNavigatorHint_GotoBookmark;
extern const TResStringRec cxNavigatorHint_Filter;
extern const TResStringRec cxNavigator_DeleteRecordQuestion;
extern const TResStringRec cxNavigatorInfoPanelDefaultDisplayMask;
extern const TResStringRec scxSEditRepositoryBlobItem;
extern const TResStringRec scxSEditRepositoryButtonItem;
extern const TResStringRec scxSEditRepositoryCalcItem;
extern const TResStringRec scxSEditRepositoryCheckBoxItem;
extern const TResStringRec scxSEditRepositoryComboBoxItem;
extern const TResStringRec scxSEditRepositoryCurrencyItem;
extern const TResStringRec scxSEditRepositoryDateItem;
extern const TResStringRec scxSEditRepositoryHyperLinkItem;
extern const TResStringRec scxSEditRepositoryImageComboBoxItem;
extern const TResStringRec scxSEditRepositoryImageItem;
extern const TResStringRec scxSEditRepositoryLookupComboBoxItem;
extern const TResStringRec scxSEditRepositoryMaskItem;
extern const TResStringRec scxSEditRepositoryMemoItem;
extern const TResStringRec scxSEditRepositoryMRUItem;
extern const TResStringRec scxSEditRepositoryPopupItem;
extern const TResStringRec scxSEditRepositorySpinItem;
extern const TResStringRec scxSEditRepositoryRadioGroupItem;
extern const TResStringRec scxSEditRepositoryTextItem;
extern const TResStringRec scxSEditRepositoryTimeItem;
extern const TResStringRec scxSEditRepositoryToggleSwitchItem;
extern const TResStringRec scxSEditRepositoryDateTimeWheelPickerItem;
extern const TResStringRec scxSEditRepositorySparklineItem;
extern const TResStringRec scxSEditRepositoryLookupSparklineItem;
extern const TResStringRec scxSEditRepositoryBarCodeItem;
extern const TResStringRec scxSEditRepositoryTokenItem;
extern const TResStringRec scxSEditRepositoryNumericWheelPickerItem;
extern const TResStringRec scxSEditRepositoryFormattedLabelItem;
extern const TResStringRec scxRegExprLine;
extern const TResStringRec scxRegExprChar;
extern const TResStringRec scxRegExprNotAssignedSourceStream;
extern const TResStringRec scxRegExprEmptySourceStream;
extern const TResStringRec scxRegExprCantUsePlusQuantifier;
extern const TResStringRec scxRegExprCantUseStarQuantifier;
extern const TResStringRec scxRegExprCantCreateEmptyAlt;
extern const TResStringRec scxRegExprCantCreateEmptyBlock;
extern const TResStringRec scxRegExprIllegalSymbol;
extern const TResStringRec scxRegExprIllegalQuantifier;
extern const TResStringRec scxRegExprNotSupportQuantifier;
extern const TResStringRec scxRegExprIllegalIntegerValue;
extern const TResStringRec scxRegExprTooBigReferenceNumber;
extern const TResStringRec scxRegExprCantCreateEmptyEnum;
extern const TResStringRec scxRegExprSubrangeOrder;
extern const TResStringRec scxRegExprHexNumberExpected0;
extern const TResStringRec scxRegExprHexNumberExpected;
extern const TResStringRec scxRegExprMissing;
extern const TResStringRec scxRegExprUnnecessary;
extern const TResStringRec scxRegExprIncorrectSpace;
extern const TResStringRec scxRegExprNotCompiled;
extern const TResStringRec scxRegExprIncorrectParameterQuantifier;
extern const TResStringRec scxRegExprCantUseParameterQuantifier;
extern const TResStringRec scxMaskEditRegExprError;
extern const TResStringRec scxMaskEditInvalidEditValue;
extern const TResStringRec scxMaskEditNoMask;
extern const TResStringRec scxMaskEditIllegalFileFormat;
extern const TResStringRec scxMaskEditEmptyMaskCollectionFile;
extern const TResStringRec scxMaskEditMaskCollectionFiles;
extern const TResStringRec cxSSpinEditInvalidNumericValue;
extern const TResStringRec sdxAlertWindowNavigationPanelDefaultDisplayMask;
extern const TResStringRec sdxAlertWindowPreviousMessage;
extern const TResStringRec sdxAlertWindowNextMessage;
extern const TResStringRec sdxAlertWindowPin;
extern const TResStringRec sdxAlertWindowClose;
extern const TResStringRec sdxAlertWindowDropdown;
extern const TResStringRec sdxBreadcrumbEditInvalidPath;
extern const TResStringRec sdxBreadcrumbEditInvalidStreamVersion;
extern const TResStringRec sdxColorGalleryThemeColors;
extern const TResStringRec sdxColorGalleryStandardColors;
extern const TResStringRec sdxColorDialogAddToCustomColors;
extern const TResStringRec sdxColorDialogApply;
extern const TResStringRec sdxColorDialogCancel;
extern const TResStringRec sdxColorDialogDefineCustomColor;
extern const TResStringRec sdxColorDialogBasicColors;
extern const TResStringRec sdxColorDialogCustomColors;
extern const TResStringRec sdxColorDialogCaption;
extern const TResStringRec scxShellBrowserDlgCaption;
extern const TResStringRec scxShellBrowserDlgCurrentFolderCaption;
extern const TResStringRec sdxColorPickerAlphaLabel;
extern const TResStringRec sdxColorPickerBlueLabel;
extern const TResStringRec sdxColorPickerGreenLabel;
extern const TResStringRec sdxColorPickerHexCodeLabel;
extern const TResStringRec sdxColorPickerHueLabel;
extern const TResStringRec sdxColorPickerLightnessLabel;
extern const TResStringRec sdxColorPickerRedLabel;
extern const TResStringRec sdxColorPickerSaturationLabel;
extern const TResStringRec sdxCameraDialogAssign;
extern const TResStringRec sdxCameraDialogCancel;
extern const TResStringRec sdxCameraDialogPause;
extern const TResStringRec sdxCameraDialogPlay;
extern const TResStringRec sdxCameraDialogCaption;
extern const TResStringRec sdxCameraInactive;
extern const TResStringRec sdxCameraRunning;
extern const TResStringRec sdxCameraPaused;
extern const TResStringRec sdxCameraNotDetected;
extern const TResStringRec sdxCameraInitializing;
extern const TResStringRec sdxCameraIsBusy;
extern const TResStringRec sdxCameraControlSettingsFormSettings;
extern const TResStringRec sdxCameraControlSettingsFormDevice;
extern const TResStringRec sdxCameraControlSettingsFormDevices;
extern const TResStringRec sdxCameraControlSettingsFormResolution;
extern const TResStringRec sdxCameraControlSettingsFormResolutions;
extern const TResStringRec sdxDefaultToggleSwitchOffText;
extern const TResStringRec sdxDefaultToggleSwitchOnText;
extern const TResStringRec sdxDateTimeWheelPickerHours;
extern const TResStringRec sdxDateTimeWheelPickerMinutes;
extern const TResStringRec sdxDateTimeWheelPickerSeconds;
extern const TResStringRec sdxSparklineNoData;
extern const TResStringRec sdxBarCodeInvalidCharactersError;
extern const TResStringRec sdxBarCodeInvalidTextFormatError;
extern const TResStringRec sdxBarCodeControlTooNarrowError;
extern const TResStringRec sdxTokenEditMoreTokensCaption;
extern const TResStringRec sdxTokenEditMoreTokensHint;
extern const TResStringRec sdxRangeControlRangeIsEmpty;
extern const TResStringRec sdxExcelFilterFromValueText;
extern const TResStringRec sdxExcelFilterToValueText;
extern const TResStringRec sdxExcelFilterTopNBottomNValueLabel;
extern const TResStringRec sdxExcelFilterTopNBottomNTypeLabel;
extern const TResStringRec sdxExcelFilterCustomFilterAndOperatorLabel;
extern const TResStringRec sdxExcelFilterCustomFilterOrOperatorLabel;
extern const TResStringRec sdxExcelFilterCustomFilterFirstConditionLabel;
extern const TResStringRec sdxExcelFilterCustomFilterSecondConditionLabel;
extern const TResStringRec sdxExcelFilterValuesTabCaption;
extern const TResStringRec sdxExcelFilterDateFiltersTabCaption;
extern const TResStringRec sdxExcelFilterTextFiltersTabCaption;
extern const TResStringRec sdxExcelFilterTimeFiltersTabCaption;
extern const TResStringRec sdxExcelFilterNumericFiltersTabCaption;
extern const TResStringRec sdxExcelFilterSelectValueHintText;
extern const TResStringRec sdxExcelFilterSelectDateHintText;
extern const TResStringRec sdxExcelFilterEnterValueHintText;
extern const TResStringRec sdxExcelFilterSpecificDatePeriodsConditionText;
extern const TResStringRec sdxExcelFilterEqualsConditionText;
extern const TResStringRec sdxExcelFilterDoesNotEqualConditionText;
extern const TResStringRec sdxExcelFilterBeginsWithConditionText;
extern const TResStringRec sdxExcelFilterEndsWithConditionText;
extern const TResStringRec sdxExcelFilterContainsConditionText;
extern const TResStringRec sdxExcelFilterDoesNotContainConditionText;
extern const TResStringRec sdxExcelFilterIsBlankConditionText;
extern const TResStringRec sdxExcelFilterIsNotBlankConditionText;
extern const TResStringRec sdxExcelFilterBetweenConditionText;
extern const TResStringRec sdxExcelFilterGreaterThanConditionText;
extern const TResStringRec sdxExcelFilterGreaterThanOrEqualToConditionText;
extern const TResStringRec sdxExcelFilterLessThanConditionText;
extern const TResStringRec sdxExcelFilterLessEqualThanOrEqualToConditionText;
extern const TResStringRec sdxExcelFilterTopNConditionText;
extern const TResStringRec sdxExcelFilterBottomNConditionText;
extern const TResStringRec sdxExcelFilterAboveAverageConditionText;
extern const TResStringRec sdxExcelFilterBelowAverageConditionText;
extern const TResStringRec sdxExcelFilterBeforeConditionText;
extern const TResStringRec sdxExcelFilterAfterConditionText;
extern const TResStringRec sdxExcelFilterYesterdayConditionText;
extern const TResStringRec sdxExcelFilterTodayConditionTypeText;
extern const TResStringRec sdxExcelFilterTomorrowConditionText;
extern const TResStringRec sdxExcelFilterLastWeekConditionText;
extern const TResStringRec sdxExcelFilterThisWeekConditionText;
extern const TResStringRec sdxExcelFilterNextWeekConditionText;
extern const TResStringRec sdxExcelFilterLastMonthConditionText;
extern const TResStringRec sdxExcelFilterThisMonthConditionText;
extern const TResStringRec sdxExcelFilterNextMonthConditionText;
extern const TResStringRec sdxExcelFilterLastYearConditionText;
extern const TResStringRec sdxExcelFilterThisYearConditionText;
extern const TResStringRec sdxExcelFilterNextYearConditionText;
extern const TResStringRec sdxExcelFilterCustomFilterConditionText;
extern const TResStringRec sdxExcelFilterPredefinedFiltersConditionText;
extern const TResStringRec sdxExcelFilterTopNBottomNItemsText;
extern const TResStringRec sdxExcelFilterTopNBottomNPercentText;
extern const TResStringRec sdxFilterPopupWindowClearButtonCaption;
extern const TResStringRec sdxFilterPopupWindowCloseButtonCaption;
extern const TResStringRec sdxFilterPopupWindowCancelButtonCaption;
extern const TResStringRec sdxFilterPopupWindowOKButtonCaption;
extern const TResStringRec sdxFileDialogFileNotExistWarning;
extern const TResStringRec sdxFileDialogBackDisabledHint;
extern const TResStringRec sdxFileDialogBackEnabledHint;
extern const TResStringRec sdxFileDialogFileNameCaption;
extern const TResStringRec sdxFileDialogFilePreviewHidePaneHint;
extern const TResStringRec sdxFileDialogFilePreviewShowPaneHint;
extern const TResStringRec sdxFileDialogForwardDisabledHint;
extern const TResStringRec sdxFileDialogForwardEnabledHint;
extern const TResStringRec sdxFileDialogHistoryHint;
extern const TResStringRec sdxFileDialogNewFolderCaption;
extern const TResStringRec sdxFileDialogNewFolderHint;
extern const TResStringRec sdxFileDialogSearchNullstring;
extern const TResStringRec sdxFileDialogUpHint;
extern const TResStringRec sdxFileDialogViewsHint;
extern const TResStringRec sdxShellViewsCaption;
extern const TResStringRec sdxShellExtraLargeIconsCaption;
extern const TResStringRec sdxShellLargeIconsCaption;
extern const TResStringRec sdxShellMediumIconsCaption;
extern const TResStringRec sdxShellSmallIconsCaption;
extern const TResStringRec sdxShellIconsCaption;
extern const TResStringRec sdxShellListCaption;
extern const TResStringRec sdxShellDetailsCaption;
extern const TResStringRec sdxOpenFileDialogOkCaption;
extern const TResStringRec sdxOpenFileDialogDefaultTitle;
extern const TResStringRec sdxSaveFileDialogOkCaption;
extern const TResStringRec sdxSaveFileDialogDefaultTitle;
extern const TResStringRec sdxShellListViewMenuItemPaste;
extern const TResStringRec sdxShellListViewMenuItemRefresh;
extern const TResStringRec sdxShellListViewMenuItemSort;
extern const TResStringRec sdxShellListViewMenuItemSortAscending;
extern const TResStringRec sdxShellListViewMenuItemSortDescending;
extern const TResStringRec sdxShellListViewWorkingOnIt;
extern const TResStringRec sdxShellListViewNoItemsMatch;
extern const TResStringRec sdxDetails;
extern const TResStringRec sdxColumnWidthCaption;
extern const TResStringRec sdxSelectDetailsCaption;
extern const TResStringRec sdxChooseDetails;
extern const TResStringRec sdxMoveUp;
extern const TResStringRec sdxMoveDown;
extern const TResStringRec sdxHide;
extern const TResStringRec sdxShow;
extern const TResStringRec sdxFilePreviewPanePreviewMessageEmpty;
extern const TResStringRec sdxFilePreviewPanePreviewMessageNoFile;
extern const TResStringRec SMsgDlgAbort;
extern const TResStringRec SMsgDlgAll;
extern const TResStringRec SMsgDlgCancel;
extern const TResStringRec SMsgDlgClose;
extern const TResStringRec SMsgDlgConfirm;
extern const TResStringRec SMsgDlgError;
extern const TResStringRec SMsgDlgHelp;
extern const TResStringRec SMsgDlgIgnore;
extern const TResStringRec SMsgDlgInformation;
extern const TResStringRec SMsgDlgNo;
extern const TResStringRec SMsgDlgNoToAll;
extern const TResStringRec SMsgDlgOK;
extern const TResStringRec SMsgDlgRetry;
extern const TResStringRec SMsgDlgWarning;
extern const TResStringRec SMsgDlgYes;
extern const TResStringRec SMsgDlgYesToAll;

// The product under which the set is registered.
extern const wchar_t* const EditorsProductName;

void cxEditConstsInitialization();
void cxEditConstsFinalization();
