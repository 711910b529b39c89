// Scroll-bar annotations: coloured marks along a bar's track, one per
// annotated row (or per rows that fall on the same pixel), in up to 256
// kinds. This unit holds the source side: per kind a sorted list of rows and
// the renderers (scroll bars) it tells of changes. The layout, painting and
// hit testing of the marks live with the scroll bar (cxScrollBar.h).
//
// Classes in this file:
//   TdxScrollbarAnnotationKind(s), TdxScrollbarAnnotationRowIndexList(s)
//   TdxScrollbarAnnotationAlignment, TdxScrollbarAnnotationStyle
//   IdxScrollbarAnnotationRenderer     a scroll bar that shows a source
//   IdxScrollbarAnnotationOptions      what answers a kind's style and visibility
//   TdxScrollbarAnnotations            the source
//
// Every question the source asks about the scrolled data is a virtual
// operation with a neutral answer, so a source that overrides none of them
// yields no marks.
#pragma once

#include "library/core/colors/dxCoreGraphics.h"
#include "platform/runtime/System.h"

#include <bitset>
#include <cstdint>
#include <map>
#include <vector>

using TdxScrollbarAnnotationKind = std::uint8_t;
using TdxScrollbarAnnotationKinds = std::bitset<256>;
using TdxScrollbarAnnotationRowIndexList = std::vector<int>;
// Kind to rows, in ascending kind order.
using TdxScrollbarAnnotationRowIndexLists = std::map<TdxScrollbarAnnotationKind, TdxScrollbarAnnotationRowIndexList>;

// The kinds with a colour of their own in the painter.
constexpr TdxScrollbarAnnotationKind dxSelectedRowsAnnotationKind = 240;
constexpr TdxScrollbarAnnotationKind dxFocusedRowAnnotationKind = 241;
constexpr TdxScrollbarAnnotationKind dxSearchResultsAnnotationKind = 242;
constexpr TdxScrollbarAnnotationKind dxErrorsAnnotationKind = 243;

// A style colour asking for the painter's colour of the kind.
constexpr TdxAlphaColor dxScrollbarAnnotationDefaultColor = 0x00010203;

inline TdxScrollbarAnnotationKinds AllScrollbarAnnotationKinds() { return TdxScrollbarAnnotationKinds().set(); }

enum TdxScrollbarAnnotationAlignment { saaNear, saaCenter, saaFar, saaClient };

// Sizes in pixels at 96 DPI, scaled by the bar's factor; Offset is applied as
// it stands.
struct TdxScrollbarAnnotationStyle {
  TdxScrollbarAnnotationAlignment Alignment = saaNear;
  TdxAlphaColor Color = dxScrollbarAnnotationDefaultColor;
  int MaxHeight = 0;
  int MinHeight = 0;
  int Offset = 0;
  int Width = 0;
  bool IsEqual(const TdxScrollbarAnnotationStyle& AStyle) const {
    return Alignment == AStyle.Alignment && Color == AStyle.Color && MaxHeight == AStyle.MaxHeight &&
           MinHeight == AStyle.MinHeight && Offset == AStyle.Offset && Width == AStyle.Width;
  }
};

class TdxScrollbarAnnotations;

struct IdxScrollbarAnnotationRenderer : public virtual IInterface {
  static constexpr GUID IID = {0x5B1E8D03, 0x6C47, 0x4F2A, {0x9D, 0x18, 0xE3, 0x70, 0x2B, 0xA4, 0x5C, 0x91}};
  virtual void SetAnnotations(TdxScrollbarAnnotations* AAnnotations) = 0;
  // The kinds are stale: laid out again at the bar's next calculation.
  virtual void ScrollbarAnnotationsInvalidate(const TdxScrollbarAnnotationKinds& AAnnotationKinds) = 0;
  // The source's changed kinds are laid out again now and shown.
  virtual void ScrollbarAnnotationsUpdate() = 0;

 protected:
  ~IdxScrollbarAnnotationRenderer() = default;
};

struct IdxScrollbarAnnotationOptions : public virtual IInterface {
  static constexpr GUID IID = {0xA07C4B96, 0x15E8, 0x4D3B, {0x82, 0x6F, 0x3B, 0xD1, 0x09, 0x7E, 0xC2, 0x54}};
  virtual bool IsKindVisible(TdxScrollbarAnnotationKind AKind) = 0;
  virtual void GetStyle(TdxScrollbarAnnotationKind AKind, TdxScrollbarAnnotationStyle& AStyle) = 0;

 protected:
  ~IdxScrollbarAnnotationOptions() = default;
};

class TdxScrollbarAnnotations : public TObject {
  SK_CLASS(TdxScrollbarAnnotations, TObject)
 public:
  virtual void Create();
  // Every renderer, last first, lets go of the source.
  void Destroy() override;

  // Renderers: nil is ignored; one may stand in the list twice.
  void AddRenderer(IdxScrollbarAnnotationRenderer* ARenderer);
  // Its first occurrence.
  void RemoveRenderer(IdxScrollbarAnnotationRenderer* ARenderer);
  int RendererCount() const { return static_cast<int>(FRenderers.size()); }
  void InvalidateRenderers(const TdxScrollbarAnnotationKinds& AAnnotationKinds);

  // Makes the next annotated row of the kinds current (after the current one
  // going forward, before it going back); past the end it starts again at
  // the other end when AGoOnCycle. False when none was found.
  bool GoToNext(const TdxScrollbarAnnotationKinds& AKinds, bool AGoForward, bool AGoOnCycle);

  const TdxScrollbarAnnotationKinds& ChangedKinds() const { return FChangedKinds; }
  // Sorted ascending once the renderers have been told.
  const TdxScrollbarAnnotationRowIndexLists& ItemLists() const { return FItemLists; }
  int GetDataScrollSize();
  int GetFirstRecordIndex() { return GetRecordIndexByScrollableRecordIndex(0); }
  int GetLastRecordIndex() { return GetRecordIndexByScrollableRecordIndex(GetScrollableRecordCount() - 1); }

  // The scrolled data (neutral answers here)
  virtual int CurrentRecordIndex() { return -1; }
  virtual void SetCurrentRecordIndex(int) {}
  virtual IdxScrollbarAnnotationOptions* GetAnnotationOptions() { return nullptr; }
  virtual int GetPixelScrollSize() { return 0; }
  virtual int GetRecordIndexByScrollableRecordIndex(int AIndex) { return AIndex; }
  virtual bool IsKindVisible(TdxScrollbarAnnotationKind AKind);
  // Appends the rows that carry the kind.
  virtual void PopulateRowIndexes(TdxScrollbarAnnotationKind, TdxScrollbarAnnotationRowIndexList&) {}
  // Builds the lists of the kinds again; the renderers hear once.
  virtual void UpdateKinds(const TdxScrollbarAnnotationKinds& AAnnotationKinds);
  virtual void Click(const TdxScrollbarAnnotationRowIndexLists&, bool&) {}
  virtual void GetHint(const TdxScrollbarAnnotationRowIndexLists&, String&) {}
  virtual int GetLastIndexInScrollBand(int ARecordIndex) { return ARecordIndex; }
  virtual int GetRecordPixelScrollPosition(int) { return 0; }
  virtual int GetScrollableRecordCount() { return 0; }
  virtual int GetScrollableRecordIndexByRecordIndex(int ARecordIndex) { return ARecordIndex; }
  virtual void GetStyle(TdxScrollbarAnnotationKind AKind, TdxScrollbarAnnotationStyle& AStyle);
  virtual bool IsRecordIndexBasedRendering() { return true; }

 protected:
  // Rows outside the first to the last scrollable record are not added.
  void AddRowIndex(TdxScrollbarAnnotationKind AKind, int ARowIndex);
  // A kind without a list is left alone.
  void ClearKind(TdxScrollbarAnnotationKind AKind);
  void Changed(const TdxScrollbarAnnotationKinds& AKinds);
  void BeginUpdate() { ++FLockCount; }
  void EndUpdate();

 private:
  void NotifyRenderers();

  TdxScrollbarAnnotationKinds FChangedKinds;
  TdxScrollbarAnnotationRowIndexLists FItemLists;
  int FLockCount;
  std::vector<IPtr<IdxScrollbarAnnotationRenderer>> FRenderers;
};
