// The annotation source the scroll-bar tests show on their bars.
#pragma once

#include "library/controls/scrollbars/dxScrollbarAnnotations.h"

#include <map>
#include <vector>

// A source over a list of Count records whose indexes equal their scrollable
// indexes; the rows of each kind are given, in any order.
class TTestAnnotations;

// Kinds with rows are shown, in the style given for them.
class TTestOptions : public TcxIUnknownObject, public IdxScrollbarAnnotationOptions {
  SK_CLASS(TTestOptions, TcxIUnknownObject)
 public:
  TTestAnnotations* Source = nullptr;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxScrollbarAnnotationOptions>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  bool IsKindVisible(TdxScrollbarAnnotationKind AKind) override;
  void GetStyle(TdxScrollbarAnnotationKind AKind, TdxScrollbarAnnotationStyle& AStyle) override;
};

class TTestAnnotations : public TdxScrollbarAnnotations {
  SK_CLASS(TTestAnnotations, TdxScrollbarAnnotations)
 public:
  TOwned<TTestOptions> Options;
  int Count = 20;
  int Current = -1;
  std::map<int, std::vector<int>> Rows;
  std::map<int, TdxScrollbarAnnotationStyle> Styles;
  // Pixel-based rendering: each record's pixel position; the total extent.
  bool ByPixels = false;
  std::vector<int> PixelPositions;
  int PixelSize = 0;
  String Hint = L"annotated";
  std::vector<int> ClickedRows;

  void Create() override {
    inherited::Create();
    Options.reset(New<TTestOptions>());
    Options->Source = this;
  }
  void Destroy() override {
    Options.reset();
    inherited::Destroy();
  }
  IdxScrollbarAnnotationOptions* GetAnnotationOptions() override { return Options.get(); }
  int CurrentRecordIndex() override { return Current; }
  void SetCurrentRecordIndex(int AValue) override { Current = AValue; }
  int GetScrollableRecordCount() override { return Count; }
  void PopulateRowIndexes(TdxScrollbarAnnotationKind AKind, TdxScrollbarAnnotationRowIndexList& AList) override {
    for (int row : Rows[AKind]) AList.push_back(row);
  }
  bool IsRecordIndexBasedRendering() override { return !ByPixels; }
  int GetPixelScrollSize() override { return PixelSize; }
  int GetRecordPixelScrollPosition(int ARecordIndex) override {
    return ARecordIndex < static_cast<int>(PixelPositions.size()) ? PixelPositions[ARecordIndex] : PixelSize;
  }
  void GetHint(const TdxScrollbarAnnotationRowIndexLists& ALists, String& AHint) override {
    if (!ALists.empty()) AHint = Hint;
  }
  void Click(const TdxScrollbarAnnotationRowIndexLists& ALists, bool&) override {
    for (const auto& [kind, rows] : ALists) ClickedRows.insert(ClickedRows.end(), rows.begin(), rows.end());
  }
  void Update() { UpdateKinds(AllScrollbarAnnotationKinds()); }
};

inline bool TTestOptions::IsKindVisible(TdxScrollbarAnnotationKind AKind) { return Source->Rows.contains(AKind); }
inline void TTestOptions::GetStyle(TdxScrollbarAnnotationKind AKind, TdxScrollbarAnnotationStyle& AStyle) {
  if (Source->Styles.contains(AKind)) AStyle = Source->Styles[AKind];
}
