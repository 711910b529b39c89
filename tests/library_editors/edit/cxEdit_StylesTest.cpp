// Editor styles: value resolution through the style, the controller's style
// of the same state, the normal style and the defaults; storing; the
// controller; the content alignment.
#include "library/editors/edit/cxEdit.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The base editor: stores none of the editor style's own values.
class TPlainStyleEdit : public TcxCustomEdit {
  SK_CLASS(TPlainStyleEdit, TcxCustomEdit)
};

// An editor kind with buttons and a drop-down: shows ButtonStyle,
// ButtonTransparency, PopupBorderStyle and GradientButtons again.
class TButtonedStyleEdit : public TcxCustomEdit {
  SK_CLASS(TButtonedStyleEdit, TcxCustomEdit)
 protected:
  TcxContainerStyleValues HiddenStyleValues() override { return {svGradient, svGradientDirection}; }
};

class TChangeCounter : public TObject {
  SK_CLASS(TChangeCounter, TObject)
 public:
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

constexpr TcxContainerStateItem States[] = {csNormal, csActive, csDisabled, csHotTrack};
constexpr TcxLookAndFeelKind Kinds[] = {lfFlat, lfStandard, lfUltraFlat, lfOffice11};

const char* StateName(TcxContainerStateItem AState) {
  switch (AState) {
    case csNormal: return "normal";
    case csActive: return "focused";
    case csDisabled: return "disabled";
    case csHotTrack: return "hot";
  }
  return "?";
}

String Text(std::int64_t AValue) { return IntToStr(AValue); }
String SetText(TcxBorders AValue) {
  String s;
  for (TcxBorder b : {bLeft, bTop, bRight, bBottom}) s += AValue.Contains(b) ? L"1" : L"0";
  return s;
}
String SetText(TFontStyles AValue) {
  String s;
  for (TFontStyle f : {fsBold, fsItalic, fsUnderline, fsStrikeOut}) s += AValue.Contains(f) ? L"1" : L"0";
  return s;
}

// One style value: how to write three distinct values (0 in the style
// itself, 1 in a controller, 2 in the normal style), how to read it, and
// what it reads when nothing assigns it.
struct TStyleValueProbe {
  const char* Name;
  TcxContainerStyleValue Value;
  bool NormalOnly;
  std::function<void(TcxEditStyle*, int)> Write;
  std::function<String(TcxEditStyle*)> Read;
  std::vector<String> Written;  // what Write(style, i) reads back
  // The unassigned value of a state for the given look-and-feel kind.
  std::function<String(TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind)> Default;
  // What a state reads when only the normal style assigns Written[2]
  // (per-state values only; normal-only values read Written[2] everywhere).
  std::function<String(TcxContainerStateItem)> FromNormal;
};

// Focused and hot styles of a hot-tracking editor draw a heavier border.
TcxEditBorderStyle Heavier(TcxEditBorderStyle AStyle) {
  static const std::map<TcxEditBorderStyle, TcxEditBorderStyle> heavier = {
      {ebsNone, ebsFlat}, {ebsSingle, ebsThick}, {ebsThick, ebsThick}, {ebsFlat, ebs3D},
      {ebs3D, ebs3D},     {ebsUltraFlat, ebsUltraFlat}, {ebsOffice11, ebsOffice11}};
  return heavier.at(AStyle);
}

TcxEditBorderStyle KindBorder(TcxLookAndFeelKind AKind) {
  switch (AKind) {
    case lfFlat: return ebsFlat;
    case lfStandard: return ebs3D;
    case lfUltraFlat: return ebsUltraFlat;
    case lfOffice11: return ebsOffice11;
  }
  return ebsNone;
}

bool DrawsHeavier(TcxContainerStateItem AState) { return AState == csActive || AState == csHotTrack; }

std::vector<TStyleValueProbe> Probes() {
  using S = TcxEditStyle;
  std::vector<TStyleValueProbe> probes;
  const auto same = [](String AValue) { return [AValue](TcxContainerStateItem) { return AValue; }; };

  {
    const TColor values[] = {clRed, clGreen, clBlue};
    probes.push_back({"BorderColor", svBorderColor, false,
                      [=](S* s, int i) { s->SetBorderColor(values[i]); },
                      [](S* s) { return Text(s->BorderColor()); },
                      {Text(clRed), Text(clGreen), Text(clBlue)},
                      [](TcxCustomEdit*, TcxContainerStateItem st, TcxLookAndFeelKind) {
                        return Text(st == csDisabled ? clBtnShadow : clWindowFrame);
                      },
                      [](TcxContainerStateItem st) { return Text(st == csDisabled ? clBtnShadow : clBlue); }});
  }
  {
    const TcxEditBorderStyle values[] = {ebsSingle, ebsThick, ebsNone};
    probes.push_back({"BorderStyle", svBorderStyle, false,
                      [=](S* s, int i) { s->SetBorderStyle(values[i]); },
                      [](S* s) { return Text(s->BorderStyle()); },
                      {Text(ebsSingle), Text(ebsThick), Text(ebsNone)},
                      [](TcxCustomEdit*, TcxContainerStateItem st, TcxLookAndFeelKind kind) {
                        return Text(DrawsHeavier(st) ? Heavier(KindBorder(kind)) : KindBorder(kind));
                      },
                      [](TcxContainerStateItem st) { return Text(DrawsHeavier(st) ? Heavier(ebsNone) : ebsNone); }});
  }
  {
    const TColor values[] = {clYellow, clAqua, clFuchsia};
    probes.push_back({"Color", svColor, false,
                      [=](S* s, int i) { s->SetColor(values[i]); },
                      [](S* s) { return Text(s->Color()); },
                      {Text(clYellow), Text(clAqua), Text(clFuchsia)},
                      [](TcxCustomEdit*, TcxContainerStateItem st, TcxLookAndFeelKind) {
                        return Text(st == csDisabled ? clBtnFace : clWindow);
                      },
                      [](TcxContainerStateItem st) { return Text(st == csDisabled ? clBtnFace : clFuchsia); }});
  }
  {
    const TcxBorders values[] = {{bLeft}, {bTop}, {bRight, bBottom}};
    probes.push_back({"Edges", svEdges, true,
                      [=](S* s, int i) { s->SetEdges(values[i]); },
                      [](S* s) { return SetText(s->Edges()); },
                      {L"1000", L"0100", L"0011"},
                      [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return String(L"1111"); },
                      nullptr});
  }
  {
    const wchar_t* values[] = {L"Courier New", L"Arial", L"Times New Roman"};
    probes.push_back({"Font", svFont, true,
                      [=](S* s, int i) {
                        TOwned<TFont> font(New<TFont>());
                        font->SetName(values[i]);
                        s->SetFont(font.get());
                      },
                      [](S* s) { return s->Font()->Name(); },
                      {values[0], values[1], values[2]},
                      [](TcxCustomEdit* e, TcxContainerStateItem, TcxLookAndFeelKind) { return e->Font()->Name(); },
                      nullptr});
  }
  probes.push_back({"HotTrack", svHotTrack, true, [](S* s, int) { s->SetHotTrack(false); },
                    [](S* s) { return Text(s->HotTrack()); }, {L"0", L"0", L"0"},
                    [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return String(L"1"); }, nullptr});
  probes.push_back({"Shadow", svShadow, true, [](S* s, int) { s->SetShadow(true); },
                    [](S* s) { return Text(s->Shadow()); }, {L"1", L"1", L"1"},
                    [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return String(L"0"); }, nullptr});
  {
    const TColor values[] = {clMaroon, clNavy, clOlive};
    probes.push_back({"TextColor", svTextColor, false,
                      [=](S* s, int i) { s->SetTextColor(values[i]); },
                      [](S* s) { return Text(s->TextColor()); },
                      {Text(clMaroon), Text(clNavy), Text(clOlive)},
                      [](TcxCustomEdit* e, TcxContainerStateItem st, TcxLookAndFeelKind) {
                        return Text(st == csDisabled ? clBtnShadow : e->Font()->Color());
                      },
                      [](TcxContainerStateItem st) { return Text(st == csDisabled ? clBtnShadow : clOlive); }});
  }
  {
    const TFontStyles values[] = {{fsBold}, {fsItalic}, {fsUnderline}};
    probes.push_back({"TextStyle", svTextStyle, false,
                      [=](S* s, int i) { s->SetTextStyle(values[i]); },
                      [](S* s) { return SetText(s->TextStyle()); },
                      {L"1000", L"0100", L"0010"},
                      [](TcxCustomEdit* e, TcxContainerStateItem, TcxLookAndFeelKind) {
                        return SetText(e->Font()->Style());
                      },
                      same(L"0010")});
  }
  probes.push_back({"TransparentBorder", svTransparentBorder, true, [](S* s, int) { s->SetTransparentBorder(false); },
                    [](S* s) { return Text(s->TransparentBorder()); }, {L"0", L"0", L"0"},
                    [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return String(L"1"); }, nullptr});
  {
    const TcxEditButtonStyle values[] = {bts3D, btsFlat, btsUltraFlat};
    probes.push_back({"ButtonStyle", svButtonStyle, false,
                      [=](S* s, int i) { s->SetButtonStyle(values[i]); },
                      [](S* s) { return Text(s->ButtonStyle()); },
                      {Text(bts3D), Text(btsFlat), Text(btsUltraFlat)},
                      [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return Text(btsDefault); },
                      same(Text(btsUltraFlat))});
  }
  {
    const TcxEditButtonTransparency values[] = {ebtAlways, ebtInactive, ebtHideInactive};
    probes.push_back({"ButtonTransparency", svButtonTransparency, true,
                      [=](S* s, int i) { s->SetButtonTransparency(values[i]); },
                      [](S* s) { return Text(s->ButtonTransparency()); },
                      {Text(ebtAlways), Text(ebtInactive), Text(ebtHideInactive)},
                      [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return Text(ebtNone); },
                      nullptr});
  }
  {
    const TcxEditPopupBorderStyle values[] = {epbsSingle, epbsFrame3D, epbsFlat};
    probes.push_back({"PopupBorderStyle", svPopupBorderStyle, true,
                      [=](S* s, int i) { s->SetPopupBorderStyle(values[i]); },
                      [](S* s) { return Text(s->PopupBorderStyle()); },
                      {Text(epbsSingle), Text(epbsFrame3D), Text(epbsFlat)},
                      [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return Text(epbsDefault); },
                      nullptr});
  }
  probes.push_back({"GradientButtons", svGradientButtons, true, [](S* s, int) { s->SetGradientButtons(true); },
                    [](S* s) { return Text(s->GradientButtons()); }, {L"1", L"1", L"1"},
                    [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return String(L"0"); }, nullptr});
  probes.push_back({"Gradient", svGradient, true, [](S* s, int) { s->SetGradient(true); },
                    [](S* s) { return Text(s->Gradient()); }, {L"1", L"1", L"1"},
                    [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return String(L"0"); }, nullptr});
  {
    const TcxEditGradientDirection values[] = {dirLeft, dirUp, dirRight};
    probes.push_back({"GradientDirection", svGradientDirection, true,
                      [=](S* s, int i) { s->SetGradientDirection(values[i]); },
                      [](S* s) { return Text(s->GradientDirection()); },
                      {Text(dirLeft), Text(dirUp), Text(dirRight)},
                      [](TcxCustomEdit*, TcxContainerStateItem, TcxLookAndFeelKind) { return Text(dirDown); },
                      nullptr});
  }
  return probes;
}

// Where the value is assigned before a state style reads it.
enum TSource { InTheStyle, InTheControllersStyle, OnlyInTheNormalStyle, Nowhere, InControllerAndNormal };
const char* SourceName(TSource ASource) {
  switch (ASource) {
    case InTheStyle: return "in the style";
    case InTheControllersStyle: return "in the controller's style of that state";
    case OnlyInTheNormalStyle: return "only in the normal style";
    case Nowhere: return "nowhere";
    case InControllerAndNormal: return "in the controller's style and the normal style";
  }
  return "?";
}

TcxEditStyle* StyleOf(TcxCustomEdit* AEdit, TcxContainerStateItem AState) {
  return static_cast<TcxEditStyle*>(AEdit->Styles()->GetStyle(AState));
}

TEST(EditStyleResolution, EveryValueInEveryStateFromEverySourceAndKind) {
  const std::vector<TStyleValueProbe> probes = Probes();
  ASSERT_EQ(probes.size(), 16u);
  for (const TStyleValueProbe& probe : probes) {
    for (TSource source : {InTheStyle, InTheControllersStyle, OnlyInTheNormalStyle, Nowhere, InControllerAndNormal}) {
      for (TcxContainerStateItem state : States) {
        for (TcxLookAndFeelKind kind : Kinds) {
          SCOPED_TRACE(std::string(probe.Name) + ", " + SourceName(source) + ", " + StateName(state) +
                       ", kind " + std::to_string(kind));
          const TOwned<TPlainStyleEdit> edit(New<TPlainStyleEdit>(nullptr));
          const TOwned<TcxEditStyleController> controller(New<TcxEditStyleController>(nullptr));
          edit->Style()->SetStyleController(controller.get());
          edit->Style()->LookAndFeel()->SetKind(kind);
          TcxEditStyle* style = StyleOf(edit.get(), state);
          String expected;
          switch (source) {
            case InTheStyle:
              probe.Write(style, 0);
              expected = probe.Written[0];
              break;
            case InTheControllersStyle:
              probe.Write(controller->GetInternalStyle(state), 1);
              expected = probe.Written[1];
              break;
            case OnlyInTheNormalStyle:
              probe.Write(edit->Style(), 2);
              expected = probe.NormalOnly || state == csNormal ? probe.Written[2] : probe.FromNormal(state);
              break;
            case Nowhere:
              expected = probe.Default(edit.get(), state, kind);
              break;
            case InControllerAndNormal:
              // The editor's own normal style is nearer than the controller
              // for a normal-only value; for a per-state value the
              // controller's style of the same state comes first.
              probe.Write(controller->GetInternalStyle(state), 1);
              probe.Write(edit->Style(), 2);
              expected = probe.NormalOnly || state == csNormal ? probe.Written[2] : probe.Written[1];
              break;
          }
          EXPECT_EQ(probe.Read(style), expected);
          if (source == InTheStyle && state != csNormal) {
            // A normal-only value written on a state style lands on the
            // normal style; a per-state value stays in its state.
            EXPECT_EQ(probe.Read(edit->Style()),
                      probe.NormalOnly ? probe.Written[0] : probe.Default(edit.get(), csNormal, kind));
            EXPECT_EQ(edit->Style()->AssignedValues().Contains(probe.Value), probe.NormalOnly);
            EXPECT_EQ(style->AssignedValues().Contains(probe.Value), !probe.NormalOnly);
          }
        }
      }
    }
  }
}

// Whether a value counts as assigned for the editor values: in the style or
// through its controller chain, never through the normal style.
TEST(EditStyleResolution, IsValueAssignedFollowsTheStyleAndTheControllerChain) {
  const TOwned<TPlainStyleEdit> edit(New<TPlainStyleEdit>(nullptr));
  const TOwned<TcxEditStyleController> outer(New<TcxEditStyleController>(nullptr));
  const TOwned<TcxEditStyleController> inner(New<TcxEditStyleController>(nullptr));
  edit->Style()->SetStyleController(inner.get());
  inner->Style()->SetStyleController(outer.get());

  EXPECT_FALSE(edit->StyleFocused()->IsValueAssigned(svButtonStyle));
  outer->StyleFocused()->SetButtonStyle(btsHotFlat);
  EXPECT_TRUE(edit->StyleFocused()->IsValueAssigned(svButtonStyle)) << "two controllers away";
  EXPECT_EQ(edit->StyleFocused()->ButtonStyle(), btsHotFlat);
  EXPECT_FALSE(edit->Style()->IsValueAssigned(svButtonStyle)) << "another state";
  EXPECT_EQ(edit->Style()->ButtonStyle(), btsDefault);

  edit->Style()->SetButtonStyle(btsSimple);
  EXPECT_FALSE(edit->StyleHot()->IsValueAssigned(svButtonStyle)) << "the normal style does not count";
  EXPECT_EQ(edit->StyleHot()->ButtonStyle(), btsSimple) << "yet its value is the default";

  // A state style's value in the controller wins over the editor's normal style.
  inner->StyleHot()->SetButtonStyle(btsOffice11);
  EXPECT_EQ(edit->StyleHot()->ButtonStyle(), btsOffice11);
}

TEST(EditStyleResolution, StyleValueNames) {
  const TOwned<TcxEditStyle> style(New<TcxEditStyle>(nullptr, false));
  EXPECT_EQ(style->GetStyleValueCount(), 16);
  const std::map<int, String> names = {
      {0, L"BorderColor"},  {1, L"BorderStyle"},      {2, L"Color"},      {3, L"Edges"},
      {4, L"Font"},         {5, L"HotTrack"},         {6, L"Shadow"},     {7, L"TextColor"},
      {8, L"TextStyle"},    {9, L"TransparentBorder"}, {10, L"ButtonStyle"}, {11, L"ButtonTransparency"},
      {12, L"PopupBorderStyle"}, {13, L"GradientButtons"}, {14, L"Gradient"}, {15, L"GradientDirection"}};
  for (int i = 0; i <= 17; ++i) {
    SCOPED_TRACE(i);
    String name = L"stale";
    const bool known = style->GetStyleValueName(static_cast<TcxContainerStyleValue>(i), name);
    const auto it = names.find(i);
    EXPECT_EQ(known, it != names.end());
    EXPECT_EQ(name, it != names.end() ? it->second : String());
    TcxContainerStyleValue found;
    if (known) {
      EXPECT_TRUE(style->GetStyleValue(AnsiLowerCase(name), found));
      EXPECT_EQ(static_cast<int>(found), i);
      // Every value but GradientButtons is a published property of the style.
      EXPECT_EQ(GetPropInfo(style.get(), name) != nullptr, i != 13) << std::wstring(name);
    }
  }
}

TEST(EditStyleResolution, WritesAreReportedOnceAndOnlyWhenTheyChangeSomething) {
  const TOwned<TPlainStyleEdit> edit(New<TPlainStyleEdit>(nullptr));
  const TOwned<TChangeCounter> counter(New<TChangeCounter>());
  const int& changes = counter->Count;
  const TNotifyEvent previous = edit->Style()->OnChanged();
  edit->Style()->SetOnChanged(BindEvent<&TChangeCounter::Changed>(counter.get()));
  edit->Style()->SetButtonTransparency(ebtNone);
  EXPECT_EQ(changes, 1) << "the default value written counts as assigned";
  EXPECT_TRUE(edit->Style()->AssignedValues().Contains(svButtonTransparency));
  edit->Style()->SetButtonTransparency(ebtNone);
  EXPECT_EQ(changes, 1) << "equal and assigned: ignored";
  edit->StyleHot()->SetButtonTransparency(ebtAlways);
  EXPECT_EQ(changes, 2) << "a state style's write reaches the normal style";

  // A copy from another style is one change.
  const TOwned<TcxEditStyle> source(New<TcxEditStyle>(nullptr, false));
  source->SetButtonStyle(btsFlat);
  source->SetGradient(true);
  source->SetBorderColor(clRed);
  edit->Style()->Assign(source.get());
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(edit->Style()->ButtonStyle(), btsFlat);
  EXPECT_TRUE(edit->Style()->Gradient());
  EXPECT_EQ(edit->Style()->BorderColor(), clRed);
  EXPECT_EQ(edit->Style()->ButtonTransparency(), ebtNone) << "the source's unassigned value came along";
  EXPECT_FALSE(edit->Style()->AssignedValues().Contains(svButtonTransparency));
  edit->Style()->SetOnChanged(previous);
}

// ---------------------------------------------------------------------------
// Storing

// The "Prefix.Name" of every style property line the writer produced.
std::set<std::wstring> StyleLines(const String& AText) {
  std::set<std::wstring> lines;
  std::size_t start = 0;
  while (start < AText.size()) {
    std::size_t end = AText.find(L'\n', start);
    if (end == String::npos) end = AText.size();
    std::wstring line(AText.substr(start, end - start));
    start = end + 1;
    const std::size_t first = line.find_first_not_of(L' ');
    if (first == std::wstring::npos) continue;
    line = line.substr(first);
    const std::size_t eq = line.find(L" = ");
    if (line.rfind(L"Style", 0) == 0 && eq != std::wstring::npos) lines.insert(line.substr(0, eq));
  }
  return lines;
}

struct TStoreCase {
  const char* Name;
  TcxCustomEdit* (*Make)();
  std::set<std::wstring> Expected;
};

template <class T>
TcxCustomEdit* MakeEdit() {
  return New<T>(nullptr);
}

// Assigns a value of every kind on every style, some through state styles.
void AssignAcrossStyles(TcxCustomEdit* AEdit) {
  AEdit->Style()->SetBorderColor(clRed);
  AEdit->StyleFocused()->SetBorderStyle(ebsThick);
  AEdit->StyleDisabled()->SetColor(clSilver);
  AEdit->StyleHot()->SetTextColor(clNavy);
  AEdit->StyleHot()->SetTextStyle({fsBold});
  AEdit->StyleFocused()->SetButtonStyle(btsFlat);
  AEdit->StyleHot()->SetButtonTransparency(ebtAlways);  // lands on Style
  AEdit->StyleDisabled()->SetPopupBorderStyle(epbsFlat);  // lands on Style
  AEdit->Style()->SetGradientButtons(true);  // public, never published
  AEdit->Style()->SetGradient(true);
  AEdit->StyleFocused()->SetGradientDirection(dirUp);  // lands on Style
  AEdit->StyleHot()->SetShadow(true);  // lands on Style
  AEdit->StyleDisabled()->SetHotTrack(false);  // lands on Style
  AEdit->Style()->LookAndFeel()->SetNativeStyle(false);
}

// Each style writes the look and feel it shares with the normal style, as
// form descriptions hold it.
const std::set<std::wstring> CommonLines = {
    L"Style.BorderColor",       L"StyleFocused.BorderStyle", L"StyleDisabled.Color",
    L"StyleHot.TextColor",      L"StyleHot.TextStyle",       L"Style.Shadow",
    L"Style.HotTrack",          L"Style.LookAndFeel.NativeStyle", L"StyleDisabled.LookAndFeel.NativeStyle",
    L"StyleFocused.LookAndFeel.NativeStyle", L"StyleHot.LookAndFeel.NativeStyle"};

std::set<std::wstring> With(std::set<std::wstring> ALines, std::initializer_list<const wchar_t*> AMore) {
  for (const wchar_t* line : AMore) ALines.insert(line);
  return ALines;
}

class EditStyleStore : public testing::TestWithParam<TStoreCase> {};

TEST_P(EditStyleStore, WritesExactlyTheAssignedPublishedValuesAndReadsBackEqual) {
  RegisterClasses({TPlainStyleEdit::ClassInfo(), TButtonedStyleEdit::ClassInfo()});
  const TOwned<TcxCustomEdit> edit(GetParam().Make());
  edit->SetName(L"Edit");
  AssignAcrossStyles(edit.get());
  const String text = WriteComponentToText(edit.get());
  EXPECT_EQ(StyleLines(text), GetParam().Expected) << std::wstring(text);

  const TOwned<TcxCustomEdit> read(static_cast<TcxCustomEdit*>(ReadComponentFromText(text)));
  ASSERT_NE(read.get(), nullptr);
  EXPECT_EQ(WriteComponentToText(read.get()), text);
  for (const TStyleValueProbe& probe : Probes())
    for (TcxContainerStateItem state : States) {
      SCOPED_TRACE(std::string(probe.Name) + ", " + StateName(state));
      const String written = probe.Read(StyleOf(edit.get(), state));
      // What the editor kind does not store reads back as its default.
      String name;
      edit->Style()->GetStyleValueName(probe.Value, name);
      const bool stored = edit->IsStylePropertyPublished(name, false) && probe.Value != svGradientButtons;
      EXPECT_EQ(probe.Read(StyleOf(read.get(), state)),
                stored ? written : probe.Read(StyleOf(TOwned<TcxCustomEdit>(GetParam().Make()).get(), state)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EditStyles, EditStyleStore,
    testing::Values(
        TStoreCase{"BaseEditorHidesTheEditorValues", &MakeEdit<TPlainStyleEdit>, CommonLines},
        TStoreCase{"ButtonedEditorStoresItsShownValues", &MakeEdit<TButtonedStyleEdit>,
                   With(CommonLines, {L"StyleFocused.ButtonStyle", L"Style.ButtonTransparency",
                                      L"Style.PopupBorderStyle"})}),
    [](const testing::TestParamInfo<TStoreCase>& AInfo) { return AInfo.param.Name; });

TEST(EditStyleStore, ControllerStylesWriteTheirAssignedValuesAndReadBackEqual) {
  const TOwned<TcxEditStyleController> controller(New<TcxEditStyleController>(nullptr));
  controller->SetName(L"Controller");
  controller->StyleFocused()->SetButtonStyle(btsUltraFlat);
  controller->StyleHot()->SetButtonTransparency(ebtHideUnselected);
  controller->Style()->SetBorderStyle(ebsOffice11);
  const String text = WriteComponentToText(controller.get());
  const std::set<std::wstring> expected = {L"StyleFocused.ButtonStyle", L"Style.ButtonTransparency",
                                           L"Style.BorderStyle"};
  EXPECT_EQ(StyleLines(text), expected) << std::wstring(text);
  EXPECT_NE(text.find(L"ebsOffice11"), String::npos) << "the editors' border names";

  const TOwned<TcxEditStyleController> read(static_cast<TcxEditStyleController*>(ReadComponentFromText(text)));
  ASSERT_NE(read.get(), nullptr);
  EXPECT_EQ(read->StyleFocused()->ButtonStyle(), btsUltraFlat);
  EXPECT_EQ(read->Style()->ButtonTransparency(), ebtHideUnselected);
  EXPECT_EQ(read->StyleDisabled()->ButtonTransparency(), ebtHideUnselected);
  EXPECT_EQ(read->Style()->BorderStyle(), ebsOffice11);
  EXPECT_EQ(WriteComponentToText(read.get()), text);
}

// ---------------------------------------------------------------------------
// The controller link

TEST(EditStyleController, TheDefaultOneIsSharedReadsAsNoneAndOutlivesFreedControllers) {
  ASSERT_NE(DefaultEditStyleController(), nullptr);
  EXPECT_EQ(GetDefaultStyleController(), DefaultEditStyleController()) << "also the containers' default";
  const TOwned<TPlainStyleEdit> edit(New<TPlainStyleEdit>(nullptr));
  EXPECT_EQ(edit->Style()->StyleController(), nullptr);
  EXPECT_EQ(edit->Style()->ActiveStyleController(), DefaultEditStyleController());
  EXPECT_EQ(edit->StyleHot()->ActiveStyleController(), DefaultEditStyleController());

  {
    const TOwned<TcxEditStyleController> controller(New<TcxEditStyleController>(nullptr));
    edit->Style()->SetStyleController(controller.get());
    controller->StyleHot()->SetButtonStyle(bts3D);
    EXPECT_EQ(edit->Style()->StyleController(), controller.get());
    EXPECT_EQ(edit->StyleHot()->ButtonStyle(), bts3D);
    // The look and feel follows the controller's unless assigned.
    controller->Style()->LookAndFeel()->SetKind(lfOffice11);
    EXPECT_EQ(edit->Style()->LookAndFeel()->Kind(), lfOffice11);
    EXPECT_EQ(edit->StyleDisabled()->BorderStyle(), ebsOffice11);
  }
  EXPECT_EQ(edit->Style()->StyleController(), nullptr) << "a freed controller is dropped";
  EXPECT_EQ(edit->Style()->ActiveStyleController(), DefaultEditStyleController());
  EXPECT_EQ(edit->StyleHot()->ButtonStyle(), btsDefault);
  EXPECT_EQ(edit->Style()->LookAndFeel()->Kind(), lfUltraFlat);

  // None falls back on the default controller.
  const TOwned<TcxEditStyleController> other(New<TcxEditStyleController>(nullptr));
  edit->Style()->SetStyleController(other.get());
  edit->Style()->SetStyleController(nullptr);
  EXPECT_EQ(edit->Style()->ActiveStyleController(), DefaultEditStyleController());
}

TEST(EditStyleController, AControllerLeadingBackToTheStyleIsRefused) {
  const TOwned<TcxEditStyleController> first(New<TcxEditStyleController>(nullptr));
  const TOwned<TcxEditStyleController> second(New<TcxEditStyleController>(nullptr));
  first->Style()->SetStyleController(second.get());
  second->Style()->SetStyleController(first.get());
  EXPECT_NE(second->Style()->StyleController(), first.get());
  // Resolution still ends.
  EXPECT_EQ(first->StyleHot()->ButtonStyle(), btsDefault);
}

TEST(EditStyleController, StateStylesShareTheNormalStylesLookAndFeel) {
  const TOwned<TPlainStyleEdit> edit(New<TPlainStyleEdit>(nullptr));
  std::set<TcxLookAndFeel*> seen;
  for (TcxContainerStateItem state : States) seen.insert(StyleOf(edit.get(), state)->LookAndFeel());
  EXPECT_EQ(seen.size(), 1u);
  const TOwned<TcxLookAndFeel> source(New<TcxLookAndFeel>(nullptr));
  source->SetNativeStyle(false);
  edit->StyleDisabled()->SetLookAndFeel(source.get());
  EXPECT_FALSE(edit->Style()->LookAndFeel()->NativeStyle());
  EXPECT_TRUE(edit->Style()->LookAndFeel()->AssignedValues().Contains(lfvNativeStyle));
  EXPECT_TRUE(edit->Style()->PopupCloseButton());
  EXPECT_TRUE(edit->StyleHot()->PopupCloseButton());
  EXPECT_EQ(edit->Style()->Edit(), edit.get());
  EXPECT_EQ(edit->StyleHot()->BaseStyle(), edit->Style());
}

// ---------------------------------------------------------------------------
// TcxEditAlignment

TEST(EditAlignment, HorzStoredWhileAssignedOrOffTheDefaultVertOnlyOffTheDefault) {
  struct TRow {
    const char* Name;
    std::function<void(TcxEditAlignment*)> Act;
    TAlignment Horz;
    TcxEditVertAlignment Vert;
    bool HorzStored;
    bool VertStored;
    int Changes;
  };
  const TRow rows[] = {
      {"fresh", [](TcxEditAlignment*) {}, taLeftJustify, taTopJustify, false, false, 0},
      {"right then reset",
       [](TcxEditAlignment* a) {
         a->SetHorz(taRightJustify);
         a->Reset();
       },
       taRightJustify, taTopJustify, true, false, 2},
      {"left then reset",
       [](TcxEditAlignment* a) {
         a->SetHorz(taLeftJustify);
         a->Reset();
       },
       taLeftJustify, taTopJustify, false, false, 2},
      {"left assigned", [](TcxEditAlignment* a) { a->SetHorz(taLeftJustify); }, taLeftJustify, taTopJustify, true,
       false, 1},
      {"left twice", [](TcxEditAlignment* a) { a->SetHorz(taLeftJustify); a->SetHorz(taLeftJustify); },
       taLeftJustify, taTopJustify, true, false, 1},
      {"vert default written", [](TcxEditAlignment* a) { a->SetVert(taTopJustify); }, taLeftJustify, taTopJustify,
       false, false, 0},
      {"vert centred", [](TcxEditAlignment* a) { a->SetVert(taVCenter); }, taLeftJustify, taVCenter, false, true, 1},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TOwned<TcxEditAlignment> alignment(New<TcxEditAlignment>(nullptr));
    const TOwned<TChangeCounter> counter(New<TChangeCounter>());
    alignment->SetOnChanged(BindEvent<&TChangeCounter::Changed>(counter.get()));
    row.Act(alignment.get());
    EXPECT_EQ(alignment->Horz(), row.Horz);
    EXPECT_EQ(alignment->Vert(), row.Vert);
    EXPECT_EQ(alignment->IsHorzStored(), row.HorzStored);
    EXPECT_EQ(alignment->IsVertStored(), row.VertStored);
    EXPECT_EQ(counter->Count, row.Changes);

    // A copy carries the values and the assigned flag.
    const TOwned<TcxEditAlignment> copy(New<TcxEditAlignment>(nullptr, taRightJustify, taBottomJustify));
    copy->Assign(alignment.get());
    EXPECT_EQ(copy->Horz(), row.Horz);
    EXPECT_EQ(copy->Vert(), row.Vert);
    EXPECT_EQ(copy->IsHorzAssigned(), alignment->IsHorzAssigned());
  }
}

}  // namespace

namespace {

class TProviderTestProperties : public TcxCustomEditProperties {
  SK_CLASS(TProviderTestProperties, TcxCustomEditProperties)
};

// A freed provider leaves no properties object pointing at it, and only
// its own users lose theirs.
TEST(EditDefaultValuesProvider, AFreedProviderIsDroppedByEveryPropertiesObjectUsingIt) {
  const TOwned<TProviderTestProperties> first(New<TProviderTestProperties>(nullptr));
  const TOwned<TProviderTestProperties> second(New<TProviderTestProperties>(nullptr));
  const TOwned<TProviderTestProperties> third(New<TProviderTestProperties>(nullptr));
  TcxCustomEditDefaultValuesProvider* provider = New<TcxCustomEditDefaultValuesProvider>(nullptr);
  const TOwned<TcxCustomEditDefaultValuesProvider> kept(New<TcxCustomEditDefaultValuesProvider>(nullptr));
  first->SetDefaultValuesProvider(provider);
  second->SetDefaultValuesProvider(provider);
  third->SetDefaultValuesProvider(kept.get());
  provider->Free();
  EXPECT_EQ(first->DefaultValuesProvider(), nullptr);
  EXPECT_EQ(second->DefaultValuesProvider(), nullptr);
  EXPECT_EQ(third->DefaultValuesProvider(), kept.get());
}

}  // namespace
