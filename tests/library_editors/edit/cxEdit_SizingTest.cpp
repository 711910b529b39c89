// Automatic size against measured text, the anchor a self-sizing editor
// keeps, the sizes and anchors a form file holds and their rescaling, the
// window made early for the height, and the fader's two images.
#include "library/editors/edit/cxEdit.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// Settings of the test kind: the content alignment its layout calculator
// hands on, and a fixed content size that replaces the measured text.
class TSizingProperties : public TcxCustomEditProperties {
  SK_CLASS(TSizingProperties, TcxCustomEditProperties)
 public:
  TClass GetViewDataClassType() override;
  TAlignment Horz = taRightJustify;
  TcxEditVertAlignment Vert = taBottomJustify;
  TSize FixedContent{-1, -1};
  // Every value handed to the layout calculator to draw.
  std::vector<std::wstring> DrawnValues;
};

// Content is the value's text in the style's font, as a label's is.
class TSizingViewData : public TcxCustomEditViewData {
  SK_CLASS(TSizingViewData, TcxCustomEditViewData)
 public:
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override {
    static_cast<TSizingProperties*>(Properties())->DrawnValues.push_back(std::wstring(VarToStr(AEditValue)));
    inherited::EditValueToDrawValue(AEditValue, AViewInfo);
  }

 protected:
  void InitializeFromProperties() override {
    inherited::InitializeFromProperties();
    const auto* properties = static_cast<TSizingProperties*>(Properties());
    HorzAlignment = properties->Horz;
    VertAlignment = properties->Vert;
  }
  void GetValueContentSize(TcxCanvas* ACanvas, const Variant& AEditValue, TSize& ASize,
                           const TcxEditSizeProperties&) override {
    const auto* properties = static_cast<TSizingProperties*>(Properties());
    if (properties->FixedContent.cx >= 0) {
      ASize = properties->FixedContent;
      return;
    }
    ACanvas->Font()->Assign(Style()->GetVisibleFont());
    ASize = ACanvas->TextExtent(AEditValue.IsNull() ? String() : VarToStr(AEditValue));
  }
};

TClass TSizingProperties::GetViewDataClassType() { return TSizingViewData::ClassInfo(); }

// A kind sized by its content on both axes.
class TSizingEdit : public TcxCustomEdit {
  SK_CLASS(TSizingEdit, TcxCustomEdit)
 public:
  TSizingProperties* Properties() { return static_cast<TSizingProperties*>(InternalProperties()); }
  TClass GetPropertiesClass() override { return TSizingProperties::ClassInfo(); }
  void SetContent(const String& AText) {
    Properties()->FixedContent = TSize(-1, -1);
    SetEditValue(Variant(AText));
    Properties()->Changed();
  }
  void SetFixedContent(int AWidth, int AHeight) {
    Properties()->FixedContent = TSize(AWidth, AHeight);
    Properties()->Changed();
  }
  int StoredHeight() const { return TControl::Height(); }
  int AutoSizeChangedCount = 0;
  bool HorizontalAnchor = false;
  bool VerticalAnchor = false;
  bool WordWrapped = false;
  using TcxCustomEdit::GetFadeImages;
  using TcxCustomEdit::NeedsDoubleBuffering;

 protected:
  bool CanAutoWidth() override { return true; }
  bool IsWordWrapped() override { return WordWrapped; }
  bool KeepsHorizontalAnchor() override { return HorizontalAnchor; }
  bool KeepsVerticalAnchor() override { return VerticalAnchor; }
  void AutoSizeChanged() override { ++AutoSizeChangedCount; }
};

// The kinds a form file names: one keeps its right edge, as a label does,
// one also wraps its words.
class TAnchoredEdit : public TSizingEdit {
  SK_CLASS(TAnchoredEdit, TSizingEdit)
 public:
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    HorizontalAnchor = true;
  }
};

class TWrappedEdit : public TSizingEdit {
  SK_CLASS(TWrappedEdit, TSizingEdit)
 public:
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    HorizontalAnchor = true;
    WordWrapped = true;
  }
};

TForm* NewForm(bool AShown) {
  TForm* form = NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); });
  form->SetBoundsRect(TRect(200, 150, 700, 450));
  if (AShown) {
    form->Show();
    PumpPending();
  }
  return form;
}

template <class T = TSizingEdit>
T* NewEdit(TForm* AForm, const TRect& ABounds) {
  T* edit = NewWith<T>([AForm](T* e) { e->Create(AForm); });
  edit->SetParent(AForm);
  edit->SetBoundsRect(ABounds);
  edit->EnsureHandle();
  return edit;
}

// What GDI measures for the text in the editor's font.
struct TMeasured {
  int Width;
  int Height;
};
TMeasured Measure(TSizingEdit* AEdit, const std::wstring& AText) {
  const TScreenDC screen;
  const TSelectObject font(screen.Get(), AEdit->Style()->GetVisibleFont()->Handle());
  SIZE extent{};
  GetTextExtentPoint32W(screen.Get(), AText.c_str(), static_cast<int>(AText.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.Get(), &metrics);
  return {extent.cx, metrics.tmHeight};
}

// ---------------------------------------------------------------------------
// Measured content

TEST(EditAutoSize, TheContentAreaHoldsExactlyTheMeasuredText) {
  const TOwned<TForm> form(NewForm(true));
  TSizingEdit* edit = NewEdit(form.get(), TRect(10, 10, 200, 80));
  for (const std::wstring text : {L"W", L"Skarnivel flasht", L"iiiiiiiiiiiiiiiiiiiiiii WWW"}) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    edit->SetContent(text);
    const TMeasured measured = Measure(edit, text);
    const TRect client = edit->ViewInfo()->ClientRect;
    EXPECT_EQ(client.Width(), measured.Width);
    EXPECT_EQ(client.Height(), measured.Height);
    // The frame around the content is what the bounds add to it.
    EXPECT_EQ(edit->Width() - measured.Width, edit->ViewInfo()->Bounds.Width() - client.Width());
    EXPECT_EQ(edit->Height() - measured.Height, edit->ViewInfo()->Bounds.Height() - client.Height());
  }
}

// ---------------------------------------------------------------------------
// Anchors and the edge cases of automatic size

struct TAnchorCase {
  const char* Name;
  TAnchors Anchors;
  bool HorizontalAnchor;
  bool VerticalAnchor;
  bool WordWrapped;
  TAlignment Horz;
  // What must hold after the content grew from the first text to the second.
  bool KeepsWidth;
  bool KeepsHeight;
  bool KeepsRightEdge;
  bool KeepsLeft;
  bool KeepsHorizontalMiddle;
  bool KeepsBottomEdge;
};

TEST(EditAutoSize, GrowingContentKeepsWhatTheAnchorsAndKindSay) {
  const TAnchors leftTop{akLeft, akTop};
  const TAnchorCase cases[] = {
      {"plain: grows to the right", leftTop, false, false, false, taLeftJustify, false, false, false, true, false,
       false},
      {"right anchor keeps the right edge", leftTop, true, false, false, taLeftJustify, false, false, true, false,
       false, false},
      {"centred anchor keeps the middle", leftTop, true, false, false, taCenter, false, false, false, false, true,
       false},
      {"bottom anchor keeps the bottom edge", leftTop, false, true, false, taLeftJustify, false, false, false, true,
       false, true},
      {"anchored left and right never changes its width", {akLeft, akTop, akRight}, false, false, false,
       taLeftJustify, true, false, false, true, false, false},
      {"anchored top and bottom never changes its height", {akLeft, akTop, akBottom}, false, false, false,
       taLeftJustify, false, true, false, true, false, false},
      {"word-wrapped is never moved to its anchor", leftTop, true, false, true, taLeftJustify, false, false, false,
       true, false, false},
  };
  const TOwned<TForm> form(NewForm(true));
  for (const TAnchorCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSizingEdit* edit = NewWith<TSizingEdit>([&form](TSizingEdit* e) { e->Create(form.get()); });
    edit->HorizontalAnchor = c.HorizontalAnchor;
    edit->VerticalAnchor = c.VerticalAnchor;
    edit->WordWrapped = c.WordWrapped;
    edit->Properties()->Horz = c.Horz;
    edit->SetParent(form.get());
    edit->SetBounds(150, 100, 90, 40);
    edit->EnsureHandle();
    edit->SetAnchors(c.Anchors);
    edit->SetContent(L"Wg");
    const TRect before = edit->BoundsRect();
    // Larger on both axes.
    edit->Style()->Font()->SetSize(edit->Style()->Font()->Size() * 2);
    edit->SetContent(L"Wg Wg Wg");
    const TRect after = edit->BoundsRect();
    const TMeasured measured = Measure(edit, L"Wg Wg Wg");
    const TRect client = edit->ViewInfo()->ClientRect;

    if (c.KeepsWidth) {
      EXPECT_EQ(after.Width(), before.Width());
    } else {
      EXPECT_EQ(client.Width(), measured.Width) << "the width follows the content";
    }
    if (c.KeepsHeight) {
      EXPECT_EQ(after.Height(), before.Height());
    } else {
      EXPECT_EQ(client.Height(), measured.Height) << "the height follows the content";
    }
    EXPECT_EQ(after.Width() > before.Width(), !c.KeepsWidth);
    if (c.KeepsRightEdge) {
      EXPECT_EQ(after.Right, before.Right);
    }
    if (c.KeepsLeft) {
      EXPECT_EQ(after.Left, before.Left);
    }
    if (c.KeepsHorizontalMiddle) {
      EXPECT_EQ(after.Left + (after.Width() + 1) / 2, before.Left + (before.Width() + 1) / 2);
    }
    if (c.KeepsBottomEdge) {
      EXPECT_EQ(after.Bottom, before.Bottom);
    } else {
      EXPECT_EQ(after.Top, before.Top);
    }
    edit->Free();
  }
}

// The extra pixel of an odd width sits left of a centred anchor.
TEST(EditAutoSize, OddWidthsAroundACentredAnchor) {
  const TOwned<TForm> form(NewForm(true));
  TSizingEdit* edit = NewEdit(form.get(), TRect(10, 10, 60, 30));
  edit->Properties()->Horz = taCenter;
  edit->SetFixedContent(0, 10);
  const int frame = edit->Width();
  ASSERT_LE(frame, 5) << "the frame alone must fit the widths below";
  edit->HorizontalAnchor = true;
  edit->SetFixedContent(5 - frame, 10);
  edit->SetLeft(10);
  ASSERT_EQ(edit->Width(), 5);
  ASSERT_EQ(edit->Left(), 10);
  struct TStep {
    int Width;
    int Left;
  };
  // Left 10 and width 5 put the anchor at 13.
  for (const TStep step : {TStep{7, 9}, TStep{6, 10}, TStep{9, 8}, TStep{5, 10}}) {
    SCOPED_TRACE(step.Width);
    edit->SetFixedContent(step.Width - frame, 10);
    EXPECT_EQ(edit->Width(), step.Width);
    EXPECT_EQ(edit->Left(), step.Left);
  }
}

TEST(EditAutoSize, WritingAutoSizeIsIgnoredInPlaceAndForTheSameValue) {
  const TOwned<TForm> form(NewForm(true));
  TSizingEdit* standalone = NewEdit(form.get(), TRect(10, 10, 200, 80));
  EXPECT_TRUE(standalone->AutoSize());
  standalone->SetAutoSize(true);
  EXPECT_EQ(standalone->AutoSizeChangedCount, 0);
  standalone->SetAutoSize(false);
  EXPECT_EQ(standalone->AutoSizeChangedCount, 1);
  EXPECT_FALSE(standalone->AutoSize());
  standalone->SetBounds(10, 10, 200, 80);
  standalone->SetContent(L"W");
  EXPECT_EQ(standalone->BoundsRect(), TRect(10, 10, 210, 90)) << "no longer sized by its content";
  standalone->SetAutoSize(true);
  EXPECT_EQ(standalone->ViewInfo()->ClientRect.Width(), Measure(standalone, L"W").Width) << "sized again at once";

  TSizingEdit* inplace = NewWith<TSizingEdit>([&form](TSizingEdit* e) { e->Create(form.get(), true); });
  inplace->SetParent(form.get());
  inplace->SetBounds(10, 100, 200, 80);
  inplace->EnsureHandle();
  EXPECT_FALSE(inplace->AutoSize());
  inplace->SetAutoSize(true);
  EXPECT_FALSE(inplace->AutoSize());
  EXPECT_EQ(inplace->AutoSizeChangedCount, 0);
  inplace->SetContent(L"W");
  EXPECT_EQ(inplace->BoundsRect(), TRect(10, 100, 210, 180));
}

// Without a parent chain there is no window and no layout to measure with.
TEST(EditAutoSize, WithoutAWindowTheSizeIsTheOneAskedFor) {
  const TOwned<TSizingEdit> edit(NewWith<TSizingEdit>([](TSizingEdit* e) { e->Create(nullptr); }));
  edit->SetContent(L"W");
  edit->SetBounds(3, 4, 77, 55);
  EXPECT_EQ(edit->Width(), 77);
  EXPECT_EQ(edit->Height(), 55);
  EXPECT_FALSE(edit->HandleAllocated());
}

// A parent that sizes itself to its children hears of every change of the
// editor's size, and of nothing else.
class TAutoSizedPanel : public TWinControl {
  SK_CLASS(TAutoSizedPanel, TWinControl)
 public:
  int AdjustSizeCount = 0;
  void AdjustSize() override {
    ++AdjustSizeCount;
    inherited::AdjustSize();
  }
};

TEST(EditAutoSize, AParentWithAutoSizeFollowsTheEditorsNewSize) {
  const TOwned<TForm> form(NewForm(true));
  auto* panel = New<TAutoSizedPanel>(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 400, 200);
  TSizingEdit* edit = NewWith<TSizingEdit>([&form](TSizingEdit* e) { e->Create(form.get()); });
  edit->SetParent(panel);
  edit->EnsureHandle();
  edit->SetContent(L"W");
  panel->SetAutoSize(true);
  struct TStep {
    const char* Name;
    const wchar_t* Text;
    bool Resized;
  };
  for (const TStep step :
       {TStep{"wider", L"WWWW", true}, TStep{"the same text again", L"WWWW", false}, TStep{"narrower", L"W", true}}) {
    SCOPED_TRACE(step.Name);
    const TSize before(edit->Width(), edit->Height());
    const int count = panel->AdjustSizeCount;
    edit->SetContent(step.Text);
    EXPECT_EQ(TSize(edit->Width(), edit->Height()) != before, step.Resized);
    EXPECT_EQ(panel->AdjustSizeCount > count, step.Resized);
  }
}

// ---------------------------------------------------------------------------
// The window made for the height

// Its window asks for the height while it is being made, and the first
// attempt fails.
class TReentrantEdit : public TSizingEdit {
  SK_CLASS(TReentrantEdit, TSizingEdit)
 public:
  int CreateWndCount = 0;
  bool FailOnce = false;

 protected:
  void CreateWnd() override {
    ++CreateWndCount;
    if (std::exchange(FailOnce, false)) throw Exception(L"no window this time");
    (void)Height();
    inherited::CreateWnd();
    (void)Height();
  }
};

TEST(EditAutoSize, ReadingTheHeightMakesTheWindowOnceAndRecoversFromAFailure) {
  // Hidden: the parent makes no window for the editor by itself.
  const TOwned<TForm> form(NewForm(false));
  auto* edit = NewWith<TReentrantEdit>([&form](TReentrantEdit* e) { e->Create(form.get()); });
  edit->SetParent(form.get());
  edit->FailOnce = true;
  EXPECT_THROW((void)edit->Height(), Exception);
  EXPECT_FALSE(edit->HandleAllocated());
  const int height = edit->Height();
  EXPECT_TRUE(edit->HandleAllocated());
  EXPECT_EQ(edit->CreateWndCount, 2) << "the nested reads made no second window";
  EXPECT_EQ(height, edit->StoredHeight());
}

// ---------------------------------------------------------------------------
// Form files

std::vector<std::wstring> LinesOf(const String& AText, const std::wstring& AObject) {
  std::vector<std::wstring> result;
  const std::wstring text(AText);
  std::size_t at = text.find(L"object " + AObject + L":");
  if (at == std::wstring::npos) return result;
  at = text.find(L'\n', at) + 1;
  for (std::size_t end; (end = text.find(L'\n', at)) != std::wstring::npos; at = end + 1) {
    std::wstring line = text.substr(at, end - at);
    line.erase(0, line.find_first_not_of(L' '));
    if (line.ends_with(L'\r')) line.pop_back();
    if (line == L"end" || line.starts_with(L"object ")) break;
    for (const wchar_t* name : {L"Height =", L"Width =", L"AnchorX =", L"AnchorY ="})
      if (line.starts_with(name)) result.push_back(line);
  }
  return result;
}

TEST(EditFormFile, HeightWidthAndAnchorsAreWrittenWhereTheContentDoesNotDecideThem) {
  RegisterClasses({TSizingEdit::ClassInfo(), TAnchoredEdit::ClassInfo(), TWrappedEdit::ClassInfo()});
  const TOwned<TForm> form(NewForm(true));
  form->SetName(L"Source");
  auto name = [](TSizingEdit* AEdit, const wchar_t* AName) {
    AEdit->SetName(AName);
    AEdit->SetContent(L"Wg");
    return AEdit;
  };
  TSizingEdit* automatic = name(NewEdit(form.get(), TRect(10, 10, 100, 40)), L"Automatic");
  TSizingEdit* fixed = name(NewEdit(form.get(), TRect(10, 50, 100, 90)), L"Fixed");
  fixed->SetAutoSize(false);
  fixed->SetBounds(10, 50, 133, 37);
  TSizingEdit* anchored = name(NewEdit<TAnchoredEdit>(form.get(), TRect(10, 100, 100, 140)), L"Anchored");
  TSizingEdit* wrapped = name(NewEdit<TWrappedEdit>(form.get(), TRect(10, 150, 100, 190)), L"Wrapped");
  TSizingEdit* bottom = name(NewEdit(form.get(), TRect(10, 200, 100, 240)), L"Bottom");
  bottom->VerticalAnchor = true;
  auto line = [](const wchar_t* AName, int AValue) { return std::wstring(AName) + L" = " + std::to_wstring(AValue); };

  const String text = WriteComponentToText(form.get());
  struct TCase {
    const char* Name;
    const wchar_t* Object;
    std::vector<std::wstring> Lines;
  };
  const TCase cases[] = {
      {"sized by its content: nothing", L"Automatic", {}},
      {"fixed size: both", L"Fixed", {line(L"Height", 37), line(L"Width", 133)}},
      {"right anchor: its right edge", L"Anchored", {line(L"AnchorX", anchored->Left() + anchored->Width())}},
      {"word-wrapped: the width and the anchor",
       L"Wrapped",
       {line(L"Width", wrapped->Width()), line(L"AnchorX", wrapped->Left() + wrapped->Width())}},
      {"bottom anchor: its bottom edge", L"Bottom", {line(L"AnchorY", bottom->Top() + bottom->StoredHeight())}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(LinesOf(text, c.Object), c.Lines) << std::wstring(text);
  }
  (void)automatic;

  // Read back, the fixed size and the anchor come back as written.
  const TOwned<TForm> target(NewForm(true));
  ReadComponentFromText(text, target.get());
  auto* readFixed = static_cast<TSizingEdit*>(target->FindComponent(L"Fixed"));
  auto* readAnchored = static_cast<TSizingEdit*>(target->FindComponent(L"Anchored"));
  ASSERT_TRUE(readFixed && readAnchored);
  EXPECT_EQ(readFixed->BoundsRect(), TRect(10, 50, 143, 87));
  EXPECT_FALSE(readFixed->AutoSize());
  readAnchored->SetContent(L"Wg");
  EXPECT_EQ(readAnchored->Left() + readAnchored->Width(), anchored->Left() + anchored->Width());
}

// Wine has one resolution: the form is moved to 144 DPI the way a monitor
// change moves it.
TEST(EditFormFile, OnlyAnchorsReadFromTheFileAreRescaledAndOnlyOnce) {
  RegisterClasses({TAnchoredEdit::ClassInfo()});
  const String text =
      L"object Target: TForm\n"
      L"  Left = 200\n"
      L"  Top = 150\n"
      L"  Width = 500\n"
      L"  Height = 300\n"
      L"  object Streamed: TAnchoredEdit\n"
      L"    Left = 40\n"
      L"    Top = 20\n"
      L"    AnchorX = 101\n"
      L"  end\n"
      L"end\n";
  const TOwned<TForm> form(NewForm(false));
  ReadComponentFromText(text, form.get());
  auto* streamed = static_cast<TAnchoredEdit*>(form->FindComponent(L"Streamed"));
  ASSERT_NE(streamed, nullptr);
  // Made in code before the change, laid out at 96 DPI.
  auto* made = NewWith<TAnchoredEdit>([&form](TAnchoredEdit* e) { e->Create(form.get()); });
  made->SetParent(form.get());
  made->SetBounds(40, 60, 30, 20);

  form->ScaleForPPI(144);
  form->Show();
  PumpPending();
  streamed->SetFixedContent(20, 10);
  made->SetFixedContent(20, 10);
  EXPECT_EQ(streamed->Left() + streamed->Width(), MulDiv(101, 144, 96)) << "the file's anchor, rescaled";
  const int width = made->Width();
  EXPECT_EQ(made->Left() + made->Width(), MulDiv(40 + 30, 144, 96)) << "the run-time anchor: the scaled right edge";

  // A second change: the anchor read from the file was rescaled already;
  // from now on it comes from the bounds.
  const int left = streamed->Left();
  form->ScaleForPPI(192);
  streamed->SetFixedContent(20, 10);
  made->SetFixedContent(20, 10);
  EXPECT_EQ(streamed->Left(), MulDiv(left, 192, 144));
  EXPECT_EQ(made->Width(), width);
}

// ---------------------------------------------------------------------------
// Painting a copy on a data-aware panel

class TStorageProvider : public TcxCustomEditDefaultValuesProvider {
  SK_CLASS(TStorageProvider, TcxCustomEditDefaultValuesProvider)
 public:
  bool IsDataStorage() override { return true; }
};

// Bound to a value source that holds another value than the editor shows.
class TStorageBinding : public TcxEditDataBinding {
  SK_CLASS(TStorageBinding, TcxEditDataBinding)
 public:
  TClass GetDefaultValuesProviderClass() override { return TStorageProvider::ClassInfo(); }
  Variant GetStoredValue() override { return Variant(String(L"stored")); }
};

class TStorageBoundEdit : public TSizingEdit {
  SK_CLASS(TStorageBoundEdit, TSizingEdit)
 protected:
  TClass GetDataBindingClass() override { return TStorageBinding::ClassInfo(); }
};

// The data-aware panel is known by its class name.
class TDBCtrlPanel : public TWinControl {
  SK_CLASS(TDBCtrlPanel, TWinControl)
};
class TOtherPanel : public TWinControl {
  SK_CLASS(TOtherPanel, TWinControl)
};

TEST(EditPainting, ACopyOnADataAwarePanelDrawsTheStoredValue) {
  struct TCase {
    const char* Name;
    bool OnDataPanel, PaintCopy, BoundToStorage, ModifiedAfterEnter;
    bool DrawsStoredValue;
  };
  const TCase cases[] = {
      {"a copy on the panel, bound to a source", true, true, true, false, true},
      {"another panel", false, true, true, false, false},
      {"not a copy", true, false, true, false, false},
      {"no value source", true, true, false, false, false},
      {"being edited", true, true, true, true, false},
  };
  const TOwned<TForm> form(NewForm(true));
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TWinControl* panel = c.OnDataPanel ? static_cast<TWinControl*>(New<TDBCtrlPanel>(form.get()))
                                       : static_cast<TWinControl*>(New<TOtherPanel>(form.get()));
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 300, 100);
    TSizingEdit* edit = c.BoundToStorage
                            ? static_cast<TSizingEdit*>(NewWith<TStorageBoundEdit>(
                                  [&form](TStorageBoundEdit* e) { e->Create(form.get()); }))
                            : NewWith<TSizingEdit>([&form](TSizingEdit* e) { e->Create(form.get()); });
    edit->SetParent(panel);
    edit->SetBounds(10, 10, 120, 30);
    edit->SetContent(L"shown");
    edit->EnsureHandle();
    if (c.ModifiedAfterEnter) edit->SetModifiedAfterEnter(true);
    if (c.PaintCopy) edit->ControlState().Include(csPaintCopy);
    edit->Properties()->DrawnValues.clear();
    RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<std::wstring>& drawn = edit->Properties()->DrawnValues;
    EXPECT_EQ(std::ranges::count(drawn, L"stored"), c.DrawsStoredValue ? 1 : 0);
    edit->ControlState().Exclude(csPaintCopy);
    panel->Free();
  }
}

// ---------------------------------------------------------------------------
// Fading

struct TFadeCase {
  const char* Name;
  TColor Border, Background, HotBorder, HotBackground;
};

// The fader keeps no pure black: it would read it as transparent.
COLORREF Faded(TColor AColor) {
  const COLORREF rgb = static_cast<COLORREF>(ColorToRGB(AColor));
  return rgb == RGB(0, 0, 0) ? RGB(1, 1, 1) : rgb;
}

TEST(EditFading, TheTwoImagesAreTheFrameAndBackgroundMouseAwayAndInTheMiddle) {
  const TFadeCase cases[] = {
      {"coloured", TColor(RGB(20, 40, 200)), TColor(RGB(250, 240, 200)), TColor(RGB(200, 30, 30)),
       TColor(RGB(210, 250, 210))},
      {"black hot frame and background", TColor(RGB(20, 40, 200)), TColor(RGB(250, 240, 200)), clBlack, clBlack},
      {"black at rest", clBlack, clBlack, TColor(RGB(200, 30, 30)), clWindow},
  };
  const TOwned<TForm> form(NewForm(true));
  for (const TFadeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSizingEdit* edit = NewEdit(form.get(), TRect(10, 10, 100, 40));
    edit->SetAutoSize(false);
    edit->SetBounds(10, 10, 90, 30);
    edit->Style()->LookAndFeel()->SetKind(lfFlat);
    edit->Style()->LookAndFeel()->SetNativeStyle(false);
    edit->Style()->SetBorderStyle(ebsSingle);
    edit->Style()->SetBorderColor(c.Border);
    edit->Style()->SetColor(c.Background);
    edit->StyleHot()->SetBorderColor(c.HotBorder);
    edit->StyleHot()->SetColor(c.HotBackground);
    TOwned<TcxBitmap32> normal, hot;
    edit->GetFadeImages(normal, hot);
    ASSERT_TRUE(normal && hot);
    for (TcxBitmap32* image : {normal.get(), hot.get()}) {
      EXPECT_EQ(image->Width(), 90);
      EXPECT_EQ(image->Height(), 30);
    }
    TPixelSurface atRest(90, 30), inside(90, 30);
    BitBlt(atRest.DC(), 0, 0, 90, 30, normal->Canvas()->Handle(), 0, 0, SRCCOPY);
    BitBlt(inside.DC(), 0, 0, 90, 30, hot->Canvas()->Handle(), 0, 0, SRCCOPY);
    // A one-pixel frame ring one pixel inside the bounds (the outer ring is
    // left to the parent), the background inside it; nothing pure black.
    const TRect frame(1, 1, 89, 29), background(2, 2, 88, 28);
    const int ring = 2 * (frame.Width() + frame.Height()) - 4, area = background.Width() * background.Height();
    struct TLook {
      const char* Name;
      const TPixelSurface& Image;
      TColor Border, Background;
    };
    for (const TLook& look : {TLook{"normal", atRest, c.Border, c.Background},
                              TLook{"hot", inside, c.HotBorder, c.HotBackground}}) {
      SCOPED_TRACE(look.Name);
      const COLORREF border = Faded(look.Border), fill = Faded(look.Background);
      EXPECT_EQ(look.Image.Count(frame, border) - look.Image.Count(background, border), ring)
          << look.Image.Picture(border);
      EXPECT_EQ(look.Image.Count(background, fill), area) << look.Image.Picture(fill);
      EXPECT_EQ(look.Image.Count(frame, RGB(0, 0, 0)), 0);
    }
    edit->Free();
  }
}

}  // namespace
