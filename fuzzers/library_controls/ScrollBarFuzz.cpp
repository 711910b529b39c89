// Fuzzing driver of the windowless scroll bar: it gets
// scroll parameters from the whole Integer range (pages beyond the range and
// below zero included), each set followed by a thumb drag to random points and
// scroll steps by code. Invalid sets must be refused with the range error and
// leave the bar as it was; the position must stay within Min..Max whatever
// the mouse does.
// Run it with: tools/fuzz library_controls -- scroll-params --rounds 100000
#include "fuzzers/library_controls/ScrollBarFuzz.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/controls/control/cxControls.h"
#include "library/controls/scrollbars/cxScrollBar.h"
#include "platform/ui/Forms.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

class TFuzzPainter : public TcxScrollBarPainter {
  SK_CLASS(TFuzzPainter, TcxScrollBarPainter)
 public:
  int MinThumb = 8;
  int MinThumbnailSize() override { return MinThumb; }
  bool IsButtonHotTrack() override { return true; }

 protected:
  void DrawLookBackground(TcxCustomCanvas*, const TRect&) override {}
  void DrawLookPart(TcxCustomCanvas*, const TRect&, TcxButtonState, TcxScrollBarPart) override {}
};

class TFuzzBar : public TcxScrollBarHelper {
  SK_CLASS(TFuzzBar, TcxScrollBarHelper)
 protected:
  TClass GetPainterClass() override { return TFuzzPainter::ClassInfo(); }
};

class TFuzzOwner : public TcxIUnknownObject, public IcxScrollBarOwner {
  SK_CLASS(TFuzzOwner, TcxIUnknownObject)
 public:
  TOwned<TdxScaleFactor> Factor;
  void Create() { Factor.reset(New<TdxScaleFactor>()); }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxScrollBarOwner>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TWinControl* GetControl() override { return nullptr; }
  TcxLookAndFeel* GetLookAndFeel() override { return nullptr; }
  TdxScaleFactor* GetScaleFactor() override { return Factor.get(); }
};

// The input read as 32-bit numbers; missing ones are 0.
class TNumberReader {
 public:
  explicit TNumberReader(const std::string& AData) : FData(AData) {}
  int Next() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i, ++FAt)
      if (FAt < FData.size()) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(FData[FAt])) << (8 * i);
    int result;
    std::memcpy(&result, &value, sizeof result);
    return result;
  }
  bool AtEnd() const { return FAt >= FData.size(); }

 private:
  const std::string& FData;
  std::size_t FAt = 0;
};

std::string Numbers(std::initializer_list<int> AValues) {
  std::string result;
  for (int value : AValues)
    for (int i = 0; i < 4; ++i) result.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i)));
  return result;
}

}  // namespace

std::vector<std::string> ScrollParamsSeeds() {
  return {
      Numbers({0, 0, 200, 8, 0, 100, 10, 50, 30, 40, 0, 1, 2}),
      Numbers({1, 17, 150, 8, INT32_MIN, INT32_MAX, 0, 0, 500, -500, 3, 6, 7}),
      Numbers({0, 0, 74, 40, 0, 100, 90, 5, 10, -10, 5, 4, 8}),
      Numbers({1, 0, 300, 8, -50, 50, 200, 0, 1000, 0, 1, 1, 1}),
      Numbers({0, 0, 20, 8, 5, 5, 0, 5, -3, 3, 2, 3, 0}),
  };
}

namespace {

void Check(bool ACondition, const char* AWhat) {
  if (!ACondition) FuzzInvariantBroken(AWhat);
}

void CheckPosition(const TcxScrollBarHelper* ABar) {
  Check(ABar->Position() >= ABar->Min() && ABar->Position() <= ABar->Max(), "the position left Min..Max");
}

}  // namespace

void RunScrollParams(const std::string& AData) {
  TNumberReader in(AData);
  TOwned<TFuzzOwner> owner(New<TFuzzOwner>());
  TOwned<TFuzzBar> bar(New<TFuzzBar>(static_cast<IcxScrollBarOwner*>(owner.get())));
  const bool vertical = (in.Next() & 1) != 0;
  const int thickness = static_cast<int>(static_cast<unsigned>(in.Next()) % 64);
  const int length = static_cast<int>(static_cast<unsigned>(in.Next()) % 2000);
  static_cast<TFuzzPainter*>(bar->Painter())->MinThumb = static_cast<int>(static_cast<unsigned>(in.Next()) % 300);
  bar->SetKind(vertical ? sbVertical : sbHorizontal);
  bar->SetBoundsRect(vertical ? TRect(0, 0, thickness, length) : TRect(0, 0, length, thickness));
  bar->Calculate();
  while (!in.AtEnd()) {
    const int min = in.Next(), max = in.Next(), page = in.Next(), position = in.Next();
    const bool valid = min <= max && page >= 0 && static_cast<std::int64_t>(max) - min >= page;
    const int oldMin = bar->Min(), oldMax = bar->Max(), oldPage = bar->PageSize(), oldPosition = bar->Position();
    bool refused = false;
    try {
      bar->SetScrollParams(min, max, position, page, true);
    } catch (const EInvalidOperation&) {
      refused = true;
    }
    Check(refused != valid, "a parameter set was refused or taken against the rule");
    if (refused)
      Check(bar->Min() == oldMin && bar->Max() == oldMax && bar->PageSize() == oldPage &&
                bar->Position() == oldPosition,
            "a refused set changed the bar");
    CheckPosition(bar.get());

    // A drag from the thumb (or wherever it would be) to two random points.
    const TRect thumb = bar->ViewInfo()->PartBounds(sbpThumbnail);
    const TPoint from = thumb.IsEmpty() ? TPoint(thickness / 2, length / 2) : thumb.GetCenter();
    TcxScrollBarController* controller = bar->Controller();
    controller->MouseDown(mbLeft, {ssLeft}, from.X, from.Y);
    for (int i = 0; i < 2; ++i) {
      const int dx = in.Next() % 4000, dy = in.Next() % 4000;
      controller->MouseMove({ssLeft}, from.X + dx, from.Y + dy);
      CheckPosition(bar.get());
    }
    controller->MouseUp(mbLeft, {}, from.X, from.Y);
    CheckPosition(bar.get());

    // Steps by code, as a wheel or the keyboard sends them.
    for (int i = 0; i < 3; ++i) {
      bar->Scroll(static_cast<TScrollCode>(static_cast<unsigned>(in.Next()) % (scEndScroll + 1)));
      CheckPosition(bar.get());
    }
  }
}


// ---------------------------------------------------------------------------
// Main scroll bars of a control

namespace {

// One bar's parameters as the control gives them.
struct TBarParams {
  int Min = 0, Max = 0, Page = 0, Pos = 0;
  bool AllowShow = true, AllowHide = true;
};

// Takes whatever parameters the input says and moves its content where the
// bars scroll to.
class TFuzzMainBarsControl : public TcxControl {
  SK_CLASS(TFuzzMainBarsControl, TcxControl)
 public:
  std::array<TBarParams, 2> Params;
  using TcxControl::GestureScroll;
  using TcxControl::RefreshScrollBars;

 protected:
  void SetupScrollBars() override {
    for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
      const TBarParams& p = Params[kind];
      SetScrollBarInfo(kind, p.Min, p.Max, 1, p.Page, p.Pos, p.AllowShow, p.AllowHide);
    }
  }
  void HandleScroll(TScrollBarKind AKind, TScrollCode, int& APosition) override {
    Params[AKind].Pos = APosition;
    RefreshScrollBars();
  }
};

void CheckBar(IcxControlScrollBar* ABar) {
  Check(ABar->GetPosition() >= ABar->GetMin() && ABar->GetPosition() <= ABar->GetMax(),
        "a main bar's position left Min..Max");
}

}  // namespace

std::vector<std::string> MainScrollBarsSeeds() {
  return {
      Numbers({0, 99, 10, 0, 3, 0, 999, 100, 500, 3, 40, -40, 120}),
      Numbers({INT32_MIN, INT32_MAX, INT32_MAX, 0, 1, 5, 4, 0, 5, 2, -3000, 3000, -120}),
      Numbers({10, 20, 30, 15, 0, -50, 50, 0, -60, 3, 7, 7, 240}),
  };
}

void RunMainScrollBars(const std::string& AData) {
  static TOwned<TForm> form;
  if (!form) {
    form.reset(New<TForm>(nullptr));
    form->SetBounds(10, 10, 400, 300);
    form->Show();
  }
  TNumberReader in(AData);
  TOwned<TFuzzMainBarsControl> control(New<TFuzzMainBarsControl>(nullptr));
  control->SetParent(form.get());
  control->SetBounds(10, 10, 200, 150);
  control->HandleNeeded();
  while (!in.AtEnd()) {
    for (TBarParams& p : control->Params) {
      p.Min = in.Next();
      p.Max = in.Next();
      p.Page = in.Next();
      p.Pos = in.Next();
      const int flags = in.Next();
      p.AllowShow = (flags & 1) != 0;
      p.AllowHide = (flags & 2) != 0;
    }
    std::array<std::array<int, 3>, 2> before{};
    for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
      IcxControlScrollBar* bar = kind == sbHorizontal ? control->GetHorzScrollBar() : control->GetVertScrollBar();
      before[kind] = {bar->GetMin(), bar->GetMax(), bar->GetPageSize()};
    }
    control->RefreshScrollBars();
    for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
      IcxControlScrollBar* bar = kind == sbHorizontal ? control->GetHorzScrollBar() : control->GetVertScrollBar();
      const TcxScrollBarData& data = bar->GetData();
      // A page grown by the other bar's thickness may have made it invalid
      // after the setup: the data decides.
      if (!data.FIsValid || !data.FVisible) {
        const std::array<int, 3> now{bar->GetMin(), bar->GetMax(), bar->GetPageSize()};
        Check(now == before[kind], "invalid main-bar data was applied");
      }
      CheckBar(bar);
    }
    // A thumb drag on the vertical bar, gesture pixels and wheel notches.
    auto* vert = static_cast<TcxControlScrollBar*>(control->GetVertScrollBar()->GetControl());
    const TRect thumb = vert->Helper()->ViewInfo()->PartBounds(sbpThumbnail);
    const TPoint from = thumb.IsEmpty() ? TPoint(5, 20) : thumb.GetCenter();
    vert->Helper()->Controller()->MouseDown(mbLeft, {ssLeft}, from.X, from.Y);
    vert->Helper()->Controller()->MouseMove({ssLeft}, from.X + in.Next() % 500, from.Y + in.Next() % 4000);
    vert->Helper()->Controller()->MouseUp(mbLeft, {}, from.X, from.Y);
    control->GestureScroll(in.Next() % 5000, in.Next() % 5000);
    control->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(in.Next() % 1000)), 0);
    CheckBar(control->GetHorzScrollBar());
    CheckBar(control->GetVertScrollBar());
  }
}
