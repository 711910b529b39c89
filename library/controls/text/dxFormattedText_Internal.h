// The layout engine of formatted text, shared by the unit's sources.
#pragma once

#include "library/controls/text/dxFormattedText.h"

class TdxFormattedTextLayoutBuilder : public TObject {
  SK_CLASS(TdxFormattedTextLayoutBuilder, TObject)
 public:
  void Create();
  void Destroy() override;

  // Lays AFormattedText's internal runs out into ALayout with the fonts
  // selected into ADC in turn; ADC's font is given back at the end.
  void Calculate(HDC ADC, TdxFormattedTextLayout* ALayout, TdxFormattedText* AFormattedText,
                 const TdxFormattedTextLayoutBuilderInitialData& AInitialData);

  TdxFormattedTextBoxMeasurer* Measurer() const { return FMeasurer.get(); }

 private:
  // A place to lay out from again: a text position in a run.
  struct TRollbackInfo {
    int TextPosition = -1;
    int RunIndex = -1;
  };

  void Reset();
  void EnterRun(int AIndex, bool AJump);
  void SelectCurrentFont();
  int AvailableWidth();
  int TextHeight() const;
  int EllipsisWidth();
  bool RunEditControlTest();
  void StartRow();
  void RememberRowStart();
  void AddBox(TdxFormattedTextLayoutBox* ABox);
  TdxFormattedTextTextLayoutBox* NewTextBox(const String& AText);
  void AddSeparatorBoxes();
  void AddLineBreak();
  bool AddSpaceOrTabBox(bool ATab);
  void AddWord();
  int LongestPrefixThatFits(const String& AWord, int ARoom, bool AEmptyRow);
  void RollBackToLastRowStart();
  void PlaceRows();

  TdxFontCache* FFontCache;
  TdxFormattedTextRunStack FRunStack;
  TRollbackInfo FAbilityBreakLineBoxRollbackInfo;
  TRollbackInfo FPreviousRollbackInfo;
  TRollbackInfo FLastRowRollbackInfo;
  int FHyperlinkIndex;
  TdxFormattedTextLayout* FLayout;
  TOwned<TdxFormattedTextBoxMeasurer> FMeasurer;
  HDC FDCHandle;
  int FAbilityBreakLineBoxIndex;
  TdxFormattedTextCharacterProperties FCurrentCharacterProperties;
  TdxFontInfo* FCurrentFontInfo;
  bool FMeasureTrailingSpaces;
  bool FIsClippedText;
  bool FIsEndEllipsisRow;
  bool FEllipsisRolledBack;
  TdxFormattedTextLayoutRow* FRow;
  int FRowTextWidth;
  int FRunIndex;
  TdxFormattedTextRuns* FRuns;
  TdxFormattedTextRun* FRun;
  const String* FText;
  int FTextStart;
  int FTextFinish;
  TcxTextParams FTextParams;
  TdxFormattedTextLayoutBuilderInitialData FInitialData;
};

// Frees the process-wide builder (the unit's shut-down).
void dxFreeFormattedTextLayoutBuilder();
