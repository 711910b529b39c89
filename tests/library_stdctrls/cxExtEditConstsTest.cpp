// The extended editors' 44 strings as registered and loaded, and the two
// routines they share.
#include "library/stdctrls/cxExtEditConsts.h"

#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

struct TExtEditStringCase {
  const wchar_t* Name;
  PResStringRec Record;
  const wchar_t* Text;
};

const TExtEditStringCase ExtEditStrings[] = {
    {L"scxSEditRepositoryColorComboBoxItem", &scxSEditRepositoryColorComboBoxItem, L"ColorComboBox|Represents a combo box to allow selection of a color"},
    {L"scxSEditRepositoryColorEditItem", &scxSEditRepositoryColorEditItem, L"ColorEdit|Represents an editor with a dropdown color gallery"},
    {L"scxSEditRepositoryFontNameComboBoxItem", &scxSEditRepositoryFontNameComboBoxItem, L"FontNameComboBox|Represents a combo box to allow selection of a font"},
    {L"scxSEditRepositoryLabelItem", &scxSEditRepositoryLabelItem, L"Label|Represents a label"},
    {L"scxSEditRepositoryProgressBarItem", &scxSEditRepositoryProgressBarItem, L"ProgressBar|Represents an advanced progress bar control"},
    {L"scxSEditRepositoryTrackBarItem", &scxSEditRepositoryTrackBarItem, L"TrackBar|Represents an editor that provides a slider to select a value on its bar"},
    {L"scxSEditRepositoryRangeTrackBarItem", &scxSEditRepositoryRangeTrackBarItem, L"RangeTrackBar|Represents an editor that provides two sliders to select a range of values on its bar"},
    {L"scxSEditRepositorySpinButtonItem", &scxSEditRepositorySpinButtonItem, L"SpinButton|Represents a spin button"},
    {L"scxSEditRepositoryCheckComboBox", &scxSEditRepositoryCheckComboBox, L"CheckComboBox|Represents a combo box with a dropdown check list"},
    {L"scxSEditRepositoryShellComboBoxItem", &scxSEditRepositoryShellComboBoxItem, L"ShellComboBox|Represents a combo box with a dropdown shell tree view"},
    {L"scxSEditRepositoryCheckGroupItem", &scxSEditRepositoryCheckGroupItem, L"CheckGroup|Represents an editor that provides a set of check boxes"},
    {L"scxSEditRepositoryRatingControlItem", &scxSEditRepositoryRatingControlItem, L"RatingControl|Represents a rating control"},
    {L"scxUDAssociated", &scxUDAssociated, L" is already associated with "},
    {L"scxHotZoneStyleMediaPlayer9", &scxHotZoneStyleMediaPlayer9, L"MediaPlayer9"},
    {L"scxHotZoneStyleMediaPlayer8", &scxHotZoneStyleMediaPlayer8, L"MediaPlayer8"},
    {L"scxHotZoneStyleXPTaskBar", &scxHotZoneStyleXPTaskBar, L"XPTaskBar"},
    {L"scxHotZoneStyleSimple", &scxHotZoneStyleSimple, L"Simple"},
    {L"scxLoadingFonts", &scxLoadingFonts, L"Loading ..."},
    {L"cxSEditCheckGroupCaptionStateDelimiter", &cxSEditCheckGroupCaptionStateDelimiter, L": "},
    {L"cxSEditCheckGroupFilterColumnSeparator", &cxSEditCheckGroupFilterColumnSeparator, L"; "},
    {L"cxSEditCheckGroupChecked", &cxSEditCheckGroupChecked, L"Checked"},
    {L"cxSEditCheckGroupGrayed", &cxSEditCheckGroupGrayed, L"Grayed"},
    {L"cxSEditCheckGroupUnchecked", &cxSEditCheckGroupUnchecked, L"Unchecked"},
    {L"cxSCheckComboBoxStatesItemsPropertyDlgCaption", &cxSCheckComboBoxStatesItemsPropertyDlgCaption, L"cxCheckComboBox - CheckStates editor"},
    {L"cxSCheckControlIncorrectItemCount", &cxSCheckControlIncorrectItemCount, L"The number\u00A0of items cannot be greater than 64, if the EditValueFormat is cvfInteger"},
    {L"cxSCheckGroupStatesItemsPropertyDlgCaption", &cxSCheckGroupStatesItemsPropertyDlgCaption, L"cxCheckGroup - CheckStates editor"},
    {L"cxSCheckComboBoxEmptySelectionText", &cxSCheckComboBoxEmptySelectionText, L"None selected"},
    {L"cxSColorComboBoxDefaultDescription", &cxSColorComboBoxDefaultDescription, L"Color not selected"},
    {L"cxSEditRichEditLibraryError", &cxSEditRichEditLibraryError, L"Cannot load a RichEdit library"},
    {L"cxSEditRichEditLineInsertionError", &cxSEditRichEditLineInsertionError, L"RichEdit line insertion error"},
    {L"cxSEditRichEditLoadFail", &cxSEditRichEditLoadFail, L"Failed to Load Stream"},
    {L"cxSEditRichEditSaveFail", &cxSEditRichEditSaveFail, L"Failed to Save Stream"},
    {L"cxSEditRichEditSelectionSaveFail", &cxSEditRichEditSelectionSaveFail, L"Failed to selection Save Stream"},
    {L"cxSEditRichEditOleInterfaceFail", &cxSEditRichEditOleInterfaceFail, L"RichEdit: failed to get IRichEditOle interface"},
    {L"cxSEditRichEditCallBackFail", &cxSEditRichEditCallBackFail, L"RichEdit: failed to set callback"},
    {L"cxSEditRichEditLinkFail", &cxSEditRichEditLinkFail, L"RichEdit: cannot link to an invalid source"},
    {L"scxSEditRepositoryRichEditItem", &scxSEditRepositoryRichEditItem, L"RichEdit|Represents an editor that provides rich text formatting capabilities"},
    {L"cxSEditRichEditUndoCaption", &cxSEditRichEditUndoCaption, L"&Undo"},
    {L"cxSEditRichEditRedoCaption", &cxSEditRichEditRedoCaption, L"&Redo"},
    {L"cxSEditRichEditCutCaption", &cxSEditRichEditCutCaption, L"Cu&t"},
    {L"cxSEditRichEditCopyCaption", &cxSEditRichEditCopyCaption, L"&Copy"},
    {L"cxSEditRichEditPasteCaption", &cxSEditRichEditPasteCaption, L"&Paste"},
    {L"cxSEditRichEditDeleteCaption", &cxSEditRichEditDeleteCaption, L"&Delete"},
    {L"cxSEditRichEditSelectAllCaption", &cxSEditRichEditSelectAllCaption, L"Select &All"},
};

TEST(ExtEditConsts, EveryStringLoadsItsDefaultTextUnderItsOwnName) {
  ASSERT_EQ(std::size(ExtEditStrings), 44u);
  std::set<std::wstring> names;
  for (const TExtEditStringCase& c : ExtEditStrings) {
    SCOPED_TRACE(std::wstring(c.Name));
    EXPECT_EQ(LoadResString(c.Record), c.Text);
    EXPECT_EQ(LoadLocalizedResString(c.Record), c.Text);
    names.insert(c.Name);
  }
  EXPECT_EQ(names.size(), 44u);
}

TEST(ExtEditConsts, TheCountMessageKeepsItsNoBreakSpace) {
  const String text = LoadResString(&cxSCheckControlIncorrectItemCount);
  EXPECT_NE(text.find(L"number\u00A0of"), String::npos);
  EXPECT_EQ(text.find(L"number of"), String::npos);
}

TEST(ExtEditConsts, CenteringOffsetTruncatesTowardZero) {
  EXPECT_EQ(GetCenteringOffset(TRect(0, 0, 10, 20), 13), 3);
  EXPECT_EQ(GetCenteringOffset(TRect(0, 5, 10, 17), 13), 0);
  EXPECT_EQ(GetCenteringOffset(TRect(0, 0, 10, 10), 13), -1);
}

int CanvasEscapement(TcxCanvas* ACanvas) {
  LOGFONTW logFont{};
  GetObjectW(GetCurrentObject(ACanvas->Handle(), OBJ_FONT), sizeof(logFont), &logFont);
  return logFont.lfEscapement;
}

TEST(ExtEditConsts, PrepareCanvasFontForAngleTurnsOnlyTrueTypeFaces) {
  TPixelSurface surface(4, 4);
  const TcxPaintCanvasScope paint(surface.DC());
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetSize(10);
  struct {
    int Angle;
    int Escapement;
  } const cases[] = {{-270, 900}, {90, 900}, {450, 900}, {360, 0}, {-30, 3300}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Angle);
    EXPECT_TRUE(PrepareCanvasFontForAngle(paint.Canvas(), font.get(), c.Angle));
    EXPECT_EQ(CanvasEscapement(paint.Canvas()), c.Escapement);
    EXPECT_EQ(paint->Font()->Name(), L"Tahoma");
  }
  // The turned font belongs to the canvas font: the next preparation frees it.
  PrepareCanvasFontForAngle(paint.Canvas(), font.get(), 90);
  const HFONT turned = paint->Font()->Handle();
  PrepareCanvasFontForAngle(paint.Canvas(), font.get(), 0);
  paint->Font()->Handle();
  EXPECT_FALSE(GdiObjectAlive(turned));

  font->SetName(L"System");
  EXPECT_FALSE(PrepareCanvasFontForAngle(paint.Canvas(), font.get(), 90));
  EXPECT_EQ(CanvasEscapement(paint.Canvas()), 0);
}

}  // namespace
