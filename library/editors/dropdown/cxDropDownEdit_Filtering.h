// Incremental filtering of a drop-down list: the search box a popup shows
// above its list and the "no matches" panel at its bottom.
//
// Classes in this file:
//   TdxCustomIncrementalFilteringHelper             owns and wires the search box
//   TdxCustomIncrementalFilteringContainerViewInfo  lays out and draws the panel
//   TdxCustomIncrementalFilteringPopupWindow        a popup that can show the panel
#pragma once

#include "library/controls/container/cxContainer.h"
#include "library/editors/text/cxTextEdit.h"

class TcxCustomLookAndFeelPainter;

// The search box exists only between CreateSearchEdit and DestroySearchEdit;
// descendants answer its events.
class TdxCustomIncrementalFilteringHelper : public TObject {
  SK_CLASS(TdxCustomIncrementalFilteringHelper, TObject)
 public:
  void Destroy() override;

  TcxCustomTextEdit* SearchEdit() const { return FSearchEdit.get(); }

  virtual void CreateSearchEdit();
  // Harmless when there is no search box.
  virtual void DestroySearchEdit();
  // Draws the magnifier on the box's background colour, without a face.
  virtual void SearchEditDrawButton(TcxEditButtonViewInfo* Sender, TcxCanvas* ACanvas, bool& AHandled);
  virtual TcxCustomLookAndFeelPainter* GetPainter() = 0;
  virtual TRect GetSearchEditOffsets() { return TRect(1, 1, 1, 1); }
  // Called by the descendant after CreateSearchEdit.
  virtual void InitializeSearchEdit();
  virtual void SearchEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) = 0;
  virtual void HandleSearchKey(TObject* Sender, wchar_t& Key) = 0;
  virtual void SearchEditMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos,
                                    bool& Handled) = 0;
  virtual void SearchEditValueChanged(TObject* Sender) = 0;
  virtual String GetSearchText();

 protected:
  TOwned<TcxCustomTextEdit> FSearchEdit;
};

class TdxCustomIncrementalFilteringContainerViewInfo : public TcxContainerViewInfo {
  SK_CLASS(TdxCustomIncrementalFilteringContainerViewInfo, TcxContainerViewInfo)
 public:
  void Create() override;

  virtual void DrawSearchInfoPanel(TcxCanvas* ACanvas);
  virtual int GetSearchInfoPanelDefaultHeight();
  virtual int GetSearchInfoPanelHeight();
  virtual String GetSearchInfoPanelText();
  virtual std::uint32_t GetSearchInfoPanelTextDrawFlags();
  virtual int GetSearchInfoPanelTextOffset() { return 4; }
  virtual int GetSearchInfoPanelWidth();
  // The editor popup's paint record draws the panel from ShowSearchInfoPanel
  // in its own paint step; this one never does.
  virtual bool IsSearchInfoPanelVisible() { return false; }

  TdxOwnedScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }

  TRect SearchInfoPanelBounds;
  // 0: the default height.
  int SearchInfoPanelHeight = 0;
  bool ShowSearchInfoPanel = false;
  bool UseRightToLeftAlignment = false;

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;

 private:
  TOwned<TdxOwnedScaleFactor> FScaleFactor;
};

class TdxCustomIncrementalFilteringPopupWindow : public TcxCustomPopupWindow {
  SK_CLASS(TdxCustomIncrementalFilteringPopupWindow, TcxCustomPopupWindow)
 public:
  // The paint record's scale factor follows the window's.
  void CreateNew(TComponent* AOwnerControl) override;

  TClass GetViewInfoClass() override { return TdxCustomIncrementalFilteringContainerViewInfo::ClassInfo(); }
  TdxCustomIncrementalFilteringContainerViewInfo* ViewInfo() const;

  bool ShowSearchInfoPanel() const { return FShowSearchInfoPanel; }
  // No repaint: the next calculation places the panel.
  void SetShowSearchInfoPanel(bool AValue);

 private:
  bool FShowSearchInfoPanel = false;
};
