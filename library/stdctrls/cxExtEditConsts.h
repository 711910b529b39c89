// The extended editors' resource strings (label, progress bar, check group,
// check combo box and the other extended kinds) and the two routines they
// share. The unit's start-up registers the 44 strings with the
// resource-string repository under ExtEditorsProductName; its shut-down
// removes them. Read a text through LoadLocalizedResString when it is shown.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/graphics/canvas/cxGraphics.h"

extern const TResStringRec scxSEditRepositoryColorComboBoxItem;
extern const TResStringRec scxSEditRepositoryColorEditItem;
extern const TResStringRec scxSEditRepositoryFontNameComboBoxItem;
extern const TResStringRec scxSEditRepositoryLabelItem;
extern const TResStringRec scxSEditRepositoryProgressBarItem;
extern const TResStringRec scxSEditRepositoryTrackBarItem;
extern const TResStringRec scxSEditRepositoryRangeTrackBarItem;
extern const TResStringRec scxSEditRepositorySpinButtonItem;
extern const TResStringRec scxSEditRepositoryCheckComboBox;
extern const TResStringRec scxSEditRepositoryShellComboBoxItem;
extern const TResStringRec scxSEditRepositoryCheckGroupItem;
extern const TResStringRec scxSEditRepositoryRatingControlItem;
extern const TResStringRec scxUDAssociated;
extern const TResStringRec scxHotZoneStyleMediaPlayer9;
extern const TResStringRec scxHotZoneStyleMediaPlayer8;
extern const TResStringRec scxHotZoneStyleXPTaskBar;
extern const TResStringRec scxHotZoneStyleSimple;
extern const TResStringRec scxLoadingFonts;
extern const TResStringRec cxSEditCheckGroupCaptionStateDelimiter;
extern const TResStringRec cxSEditCheckGroupFilterColumnSeparator;
extern const TResStringRec cxSEditCheckGroupChecked;
extern const TResStringRec cxSEditCheckGroupGrayed;
extern const TResStringRec cxSEditCheckGroupUnchecked;
extern const TResStringRec cxSCheckComboBoxStatesItemsPropertyDlgCaption;
extern const TResStringRec cxSCheckControlIncorrectItemCount;
extern const TResStringRec cxSCheckGroupStatesItemsPropertyDlgCaption;
extern const TResStringRec cxSCheckComboBoxEmptySelectionText;
extern const TResStringRec cxSColorComboBoxDefaultDescription;
extern const TResStringRec cxSEditRichEditLibraryError;
extern const TResStringRec cxSEditRichEditLineInsertionError;
extern const TResStringRec cxSEditRichEditLoadFail;
extern const TResStringRec cxSEditRichEditSaveFail;
extern const TResStringRec cxSEditRichEditSelectionSaveFail;
extern const TResStringRec cxSEditRichEditOleInterfaceFail;
extern const TResStringRec cxSEditRichEditCallBackFail;
extern const TResStringRec cxSEditRichEditLinkFail;
extern const TResStringRec scxSEditRepositoryRichEditItem;
extern const TResStringRec cxSEditRichEditUndoCaption;
extern const TResStringRec cxSEditRichEditRedoCaption;
extern const TResStringRec cxSEditRichEditCutCaption;
extern const TResStringRec cxSEditRichEditCopyCaption;
extern const TResStringRec cxSEditRichEditPasteCaption;
extern const TResStringRec cxSEditRichEditDeleteCaption;
extern const TResStringRec cxSEditRichEditSelectAllCaption;

// The product under which the set is registered.
extern const wchar_t* const ExtEditorsProductName;

// The offset that centres something ASize high in ARect, truncated toward
// zero: negative halves become 0, not -1.
int GetCenteringOffset(const TRect& ARect, int ASize);
// AFont becomes the canvas font; for a TrueType font and an angle that is not
// a whole turn, the canvas font is replaced by one turned counter-clockwise
// by AAngle degrees, owned by the canvas font. Whether the font is TrueType.
bool PrepareCanvasFontForAngle(TcxCanvas* ACanvas, TFont* AFont, int AAngle);
// The angle in 0 .. 359 for a TrueType font; 0 for any other, which GDI
// cannot turn.
int GetEffectiveTextAngle(int AAngle, bool AIsTrueType);

void cxExtEditConstsInitialization();
void cxExtEditConstsFinalization();
