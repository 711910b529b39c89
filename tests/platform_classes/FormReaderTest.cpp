#include "platform/classes/FormReader.h"

#include "tests/platform_classes/FormTestClasses.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class FormReaderTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterTestFormClasses(); }
  void SetUp() override {
    GTestLog.clear();
    FLiveBefore = GLiveTestObjects;
  }
  void TearDown() override { EXPECT_EQ(GLiveTestObjects, FLiveBefore) << "test objects leaked"; }

  int FLiveBefore = 0;
};

template <class T>
T* Find(TComponent* ARoot, const wchar_t* AName) {
  TComponent* c = ARoot->FindComponent(AName);
  EXPECT_NE(c, nullptr) << "no component " << String(AName).size();
  return dynamic_cast<T*>(c);
}

// A form with every kind of stored value: nested sub-objects, a string list,
// a collection, a reference declared before its target, binary data and events.
const wchar_t* const KMainForm =
    L"object MainForm: TTestForm\n"
    L"  Left = 426\n"
    L"  Caption = 'Skarnivel - '#214'ffnen'\n"
    L"  Color = clBtnFace\n"
    L"  Font.Name = 'Tahoma'\n"
    L"  Font.Height = -11\n"
    L"  OnShow = FormShow\n"
    L"  object Panel1: TTestPanel\n"
    L"    Caption = 'it''s' +\n"
    L"      ' joined'#13#10\n"
    L"    Width = $7F\n"
    L"    Visible = False\n"
    L"    Align = taClient\n"
    L"    Anchors = [akLeft, akRight]\n"
    L"    Ratio = 76.000000000000000000\n"
    L"    Accel = 'x'\n"
    L"    Partner = Panel2\n"
    L"    Items.Strings = (\n"
    L"      '9600'\n"
    L"      '19200')\n"
    L"    Columns = <\n"
    L"      item\n"
    L"        Caption = 'first'\n"
    L"        Value = 3\n"
    L"        Link = Panel2\n"
    L"        Image.Data = {\n"
    L"          0102FF\n"
    L"          10}\n"
    L"      end\n"
    L"      item\n"
    L"        Caption = 'second'\n"
    L"      end>\n"
    L"    OptionsImage.Images = Store1\n"
    L"    OptionsImage.ImageIndex = 11\n"
    L"    OnClick = ButtonClick\n"
    L"    object Inner: TTestPanel\n"
    L"      Font.Color = clRed\n"
    L"      Small = 255\n"
    L"    end\n"
    L"  end\n"
    L"  object Panel2: TTestPanel\n"
    L"    Big = -5000000000\n"
    L"    Ratio = 1.5E3\n"
    L"    Partner = MainForm.Panel1\n"
    L"  end\n"
    L"  object Store1: TTestStore\n"
    L"    Count = 7\n"
    L"    Blob.Data = {0A0B}\n"
    L"    FormatVersion = 1\n"
    L"  end\n"
    L"end\n";

TEST_F(FormReaderTest, ReadsTheMainCaseIntoLiveComponents) {
  TComponent* root = ReadComponentFromText(KMainForm);
  auto* form = dynamic_cast<TTestForm*>(root);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), L"MainForm");
  EXPECT_EQ(form->Left(), 426);
  EXPECT_EQ(form->Caption(), L"Skarnivel - \u00D6ffnen");
  EXPECT_EQ(form->Color(), tcBtnFace);
  EXPECT_EQ(form->Font()->Name(), L"Tahoma");
  EXPECT_EQ(form->Font()->Height(), -11);
  ASSERT_EQ(form->ComponentCount(), 4);

  auto* panel1 = Find<TTestPanel>(form, L"Panel1");
  auto* panel2 = Find<TTestPanel>(form, L"Panel2");
  auto* inner = Find<TTestPanel>(form, L"Inner");
  auto* store = Find<TTestStore>(form, L"Store1");
  ASSERT_TRUE(panel1 && panel2 && inner && store);
  EXPECT_EQ(panel1->Caption(), L"it's joined\r\n");
  EXPECT_EQ(panel1->Width(), 127);
  EXPECT_FALSE(panel1->Visible());
  EXPECT_EQ(panel1->Align(), taClient);
  EXPECT_EQ(panel1->Anchors(), (TTestAnchors{akLeft, akRight}));
  EXPECT_DOUBLE_EQ(panel1->Ratio(), 76.0);
  EXPECT_EQ(panel1->Accel(), L'x');
  EXPECT_EQ(LinesOf(panel1->Items()), (std::vector<String>{L"9600", L"19200"}));
  EXPECT_EQ(inner->Font()->Color(), tcRed);
  EXPECT_EQ(inner->Small(), 255);
  EXPECT_EQ(panel2->Big(), -5000000000LL);
  EXPECT_DOUBLE_EQ(panel2->Ratio(), 1500.0);
  EXPECT_EQ(store->Count(), 7);
  EXPECT_EQ(store->FormatVersion(), 1);

  // Ownership and placement.
  for (TComponent* c : {static_cast<TComponent*>(panel1), static_cast<TComponent*>(inner),
                        static_cast<TComponent*>(panel2), static_cast<TComponent*>(store)})
    EXPECT_EQ(c->Owner(), form);
  EXPECT_EQ(inner->ParentPanel(), panel1);
  EXPECT_EQ(panel1->Children(), (std::vector<TTestPanel*>{inner}));
  EXPECT_EQ(panel1->ParentPanel(), nullptr);

  // References, also to a component further down and by Owner.Name.
  EXPECT_EQ(panel1->Partner(), panel2);
  EXPECT_EQ(panel2->Partner(), panel1);
  ASSERT_EQ(panel1->Columns()->Count(), 2);
  auto* first = dynamic_cast<TTestItem*>(panel1->Columns()->Items(0));
  auto* second = dynamic_cast<TTestItem*>(panel1->Columns()->Items(1));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->Caption(), L"first");
  EXPECT_EQ(first->Value(), 3);
  EXPECT_EQ(first->Link(), panel2);
  EXPECT_EQ(second->Caption(), L"second");
  EXPECT_EQ(second->Link(), nullptr);
  EXPECT_EQ(panel1->OptionsImage()->Images(), store);
  EXPECT_EQ(panel1->OptionsImage()->ImageIndex(), 11);

  // Events are bound to the root's methods.
  CallEvent(form->OnShow(), form);
  CallEvent(panel1->OnClick(), panel1);
  EXPECT_EQ(form->ShowCount, 1);
  EXPECT_EQ(form->ClickCount, 1);

  EXPECT_EQ(first->Image()->Bytes, (std::vector<std::uint8_t>{0x01, 0x02, 0xFF, 0x10}));
  EXPECT_EQ(store->Blob()->Bytes, (std::vector<std::uint8_t>{0x0A, 0x0B}));

  // Loaded once each, root first, then in creation order; states cleared.
  EXPECT_EQ(GTestLog, (std::vector<String>{L"Loaded MainForm", L"Loaded Panel1", L"Loaded Inner",
                                           L"Loaded Panel2", L"Loaded Store1"}));
  EXPECT_TRUE(panel1->CaptionSetWhileLoading());
  for (int i = 0; i < form->ComponentCount(); ++i) {
    EXPECT_FALSE(form->Components(i)->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form->Components(i)->ComponentState().Contains(csReading));
  }
  EXPECT_FALSE(form->ComponentState().Contains(csLoading));
  form->Free();
}

TEST_F(FormReaderTest, ReadsIntoAGivenRootAndKeepsItsOwner) {
  TComponent* owner = New<TComponent>(nullptr);
  TTestForm* taken = New<TTestForm>(owner);
  taken->SetName(L"MainForm");
  TTestForm* form = New<TTestForm>(owner);
  EXPECT_EQ(ReadComponentFromText(L"object MainForm: TTestForm\n  Left = 3\nend", form), form);
  // The name is taken by a sibling: the root gets the next free one.
  EXPECT_EQ(form->Name(), L"MainForm_1");
  EXPECT_EQ(form->Left(), 3);
  EXPECT_EQ(form->Owner(), owner);
  owner->Free();
}

TEST_F(FormReaderTest, ReferenceToTheRootAndNilValues) {
  TComponent* root = ReadComponentFromText(
      L"object F: TTestForm\n"
      L"  OnShow = nil\n"
      L"  object P: TTestPanel\n"
      L"    Partner = nil\n"
      L"  end\n"
      L"end\n");
  auto* p = Find<TTestPanel>(root, L"P");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Partner(), nullptr);
  root->Free();
}

TEST_F(FormReaderTest, AnUnnamedObjectAndTheDescriptionOfAnotherClassIsRefused) {
  TComponent* root = ReadComponentFromText(L"object TTestForm\n  object TTestPanel\n  end\nend");
  EXPECT_EQ(root->Name(), L"");
  ASSERT_EQ(root->ComponentCount(), 1);
  EXPECT_EQ(root->Components(0)->Name(), L"");
  root->Free();

  TTestPanel* panel = New<TTestPanel>(nullptr);
  EXPECT_THROW(ReadComponentFromText(L"object F: TTestForm\nend", panel), EReadError);
  panel->Free();
}

TEST_F(FormReaderTest, ARecollectedCollectionDropsReferencesOfItsOldItems) {
  // The first Columns value is replaced by the second; its reference to a
  // component that does not exist must not be resolved against a freed item.
  TComponent* root = ReadComponentFromText(
      L"object F: TTestForm\n"
      L"  object P: TTestPanel\n"
      L"    Columns = <\n"
      L"      item\n"
      L"        Link = Ghost\n"
      L"      end>\n"
      L"    Columns = <\n"
      L"      item\n"
      L"        Link = P\n"
      L"      end\n"
      L"      item\n"
      L"      end>\n"
      L"  end\n"
      L"end\n");
  auto* p = Find<TTestPanel>(root, L"P");
  ASSERT_EQ(p->Columns()->Count(), 2);
  EXPECT_EQ(dynamic_cast<TTestItem*>(p->Columns()->Items(0))->Link(), p);
  root->Free();
}

TEST_F(FormReaderTest, ErrorInAGivenRootFreesWhatWasCreatedAndClearsStates) {
  TTestForm* form = New<TTestForm>(nullptr);
  EXPECT_THROW(ReadComponentFromText(L"object F: TTestForm\n"
                                     L"  Left = 5\n"
                                     L"  object A: TTestPanel\n"
                                     L"    object B: TTestPanel\n"
                                     L"    end\n"
                                     L"  end\n"
                                     L"  object C: TTestPanel\n"
                                     L"    Partner = Nobody\n"
                                     L"  end\n"
                                     L"end\n",
                                     form),
               EReadError);
  EXPECT_EQ(form->ComponentCount(), 0);
  EXPECT_EQ(form->Left(), 5);  // assigned before the error: kept
  EXPECT_FALSE(form->ComponentState().Contains(csLoading));
  EXPECT_FALSE(form->ComponentState().Contains(csReading));
  EXPECT_TRUE(GTestLog.empty()) << "Loaded must not run for a failed read";
  form->Free();
}

TEST_F(FormReaderTest, AcceptsTheLessCommonForms) {
  // CR-only and CR LF line breaks, tabs, a byte order mark, hexadecimal
  // character codes, negative hexadecimal numbers, float type suffixes,
  // item and object indexes, inline objects, obsolete stored data.
  TComponent* root = ReadComponentFromText(
      L"\uFEFFobject F: TTestForm\r"
      L"\tCaption = #$41'b'#$10000\r\n"
      L"\tLeft = -$10\n"
      L"  inline P: TTestPanel [0]\n"
      L"    Ratio = 1.5s\n"
      L"    Columns = <\n"
      L"      item[0]\n"
      L"        Value = $7FFFFFFF\n"
      L"      end>\n"
      L"  end\n"
      L"  object S: TTestStore\n"
      L"    OldSet = [a, b]\n"
      L"    OldFlag = True\n"
      L"    Dropped = (1 (2 'x') <item Value = 3 end> [c] {00} nil)\n"
      L"    Count = 4\n"
      L"  end\n"
      L"end\n");
  auto* form = dynamic_cast<TTestForm*>(root);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Caption(), L"Ab\U00010000");
  EXPECT_EQ(form->Left(), -16);
  auto* p = Find<TTestPanel>(form, L"P");
  auto* s = Find<TTestStore>(form, L"S");
  ASSERT_TRUE(p && s);
  EXPECT_TRUE(p->ComponentState().Contains(csInline));
  EXPECT_DOUBLE_EQ(p->Ratio(), 1.5);
  ASSERT_EQ(p->Columns()->Count(), 1);
  EXPECT_EQ(dynamic_cast<TTestItem*>(p->Columns()->Items(0))->Value(), 0x7FFFFFFF);
  EXPECT_EQ(s->OldSet, L"a,b,");
  EXPECT_TRUE(s->OldFlag);
  EXPECT_EQ(s->Count(), 4);
  root->Free();
}

TEST_F(FormReaderTest, HexadecimalDigitsGiveTheBitsOfA32BitValue) {
  TComponent* root = ReadComponentFromText(L"object F: TTestForm\n  Color = $FFFFFFFF\nend\n");
  EXPECT_EQ(dynamic_cast<TTestForm*>(root)->Color(), TTestColor(-1));
  root->Free();
}

// ---------------------------------------------------------------------------
// Malformed descriptions

enum class TErrorKind { Parser, Read, ClassNotFound };

struct TBadCase {
  const char* Name;
  String Text;
  TErrorKind Kind;
  int Line;
  const wchar_t* Fragment;  // part of the message
};

String Nested(int ADepth) {
  String text;
  for (int i = 0; i < ADepth; ++i) text += L"object P" + std::to_wstring(i) + L": TTestPanel\n";
  for (int i = 0; i < ADepth; ++i) text += L"end\n";
  return L"object F: TTestForm\n" + text + L"end\n";
}

String InForm(const String& ABody) { return L"object F: TTestForm\n  object P: TTestPanel\n" + ABody + L"  end\nend\n"; }

class FormReaderBadInput : public FormReaderTest, public testing::WithParamInterface<TBadCase> {};

TEST_P(FormReaderBadInput, RaisesWithLineAndLeaksNothing) {
  const TBadCase& c = GetParam();
  String message;
  bool rightClass = false;
  try {
    ReadComponentFromText(c.Text)->Free();
    ADD_FAILURE() << "no exception";
  } catch (const EParserError& e) {
    message = e.Message();
    rightClass = c.Kind == TErrorKind::Parser;
  } catch (const EClassNotFound& e) {
    message = e.Message();
    rightClass = c.Kind == TErrorKind::ClassNotFound;
  } catch (const EReadError& e) {
    message = e.Message();
    rightClass = c.Kind == TErrorKind::Read;
  }
  SCOPED_TRACE(testing::Message() << "message: " << Exception(message).what());
  EXPECT_TRUE(rightClass);
  EXPECT_NE(message.find(L"Zeile " + std::to_wstring(c.Line) + L":"), String::npos);
  EXPECT_NE(message.find(c.Fragment), String::npos);
}

const TBadCase KBadCases[] = {
    {"empty", L"", TErrorKind::Parser, 1, L"'object' erwartet"},
    {"bad_token", InForm(L"    Width = 1;\n"), TErrorKind::Parser, 3, L"';'"},
    {"unknown_property", InForm(L"    Width = 1\n    Nope = 1\n"), TErrorKind::Read, 4, L"P.Nope"},
    {"unknown_sub_property", InForm(L"    Font.Nope = 1\n"), TErrorKind::Read, 3, L"P.Font.Nope"},
    {"not_a_sub_object", InForm(L"    Width.X = 1\n"), TErrorKind::Read, 3, L"Width"},
    {"unknown_class", InForm(L"    object Q: TNoSuchClass\n    end\n"), TErrorKind::ClassNotFound, 3,
     L"TNoSuchClass"},
    {"not_a_component_class", InForm(L"    object Q: TTestItem\n    end\n"), TErrorKind::Read, 3, L"TTestItem"},
    {"string_for_integer", InForm(L"    Width = 'abc'\n"), TErrorKind::Read, 3, L"P.Width"},
    {"integer_for_string", InForm(L"    Caption = 12\n"), TErrorKind::Read, 3, L"P.Caption"},
    {"unknown_enum", InForm(L"    Align = alWrong\n"), TErrorKind::Read, 3, L"alWrong"},
    {"unknown_set_element", InForm(L"    Anchors = [akLeft, akMiddle]\n"), TErrorKind::Read, 3, L"akMiddle"},
    {"unterminated_set", InForm(L"    Anchors = [akLeft\n"), TErrorKind::Parser, 4, L"','"},
    {"unknown_ident_color", InForm(L"    Font.Color = clPurple\n"), TErrorKind::Read, 3, L"clPurple"},
    {"unterminated_object", L"object F: TTestForm\n  object P: TTestPanel\n  end\n", TErrorKind::Parser, 4,
     L"'end' erwartet"},
    {"unterminated_list", InForm(L"    Items.Strings = (\n      'a'\n"), TErrorKind::Read, 5, L"Zeichenkette"},
    {"unterminated_string", InForm(L"    Caption = 'abc\n"), TErrorKind::Parser, 3, L"nicht abgeschlossen"},
    {"unterminated_collection", InForm(L"    Columns = <\n      item\n      end\n"), TErrorKind::Parser, 6,
     L"'item' oder '>'"},
    {"binary_runs_into_text", InForm(L"    Columns = <\n      item\n        Image.Data = {0102\n"),
     TErrorKind::Parser, 6, L"Binärdaten"},
    {"unterminated_binary", L"object F: TTestForm\n  object P: TTestPanel\n    Columns = <\n      item\n"
                            L"        Image.Data = {0102\n  0A0B\n",
     TErrorKind::Parser, 5, L"nicht abgeschlossen"},
    {"odd_binary", InForm(L"    Columns = <\n      item\n        Image.Data = {010}\n      end>\n"),
     TErrorKind::Parser, 5, L"ungerader"},
    {"unknown_method", InForm(L"    OnClick = NoSuchHandler\n"), TErrorKind::Read, 3, L"NoSuchHandler"},
    {"method_of_other_type", InForm(L"    OnClick = KeyPress\n"), TErrorKind::Read, 3, L"P.OnClick"},
    {"huge_integer", InForm(L"    Width = 99999999999999999999\n"), TErrorKind::Parser, 3, L"99999999999999999999"},
    {"integer_out_of_range", InForm(L"    Width = 5000000000\n"), TErrorKind::Read, 3, L"P.Width"},
    {"byte_out_of_range", InForm(L"    Small = 256\n"), TErrorKind::Read, 3, L"P.Small"},
    {"float_overflow", InForm(L"    Ratio = 1E999\n"), TErrorKind::Parser, 3, L"1E999"},
    {"huge_hex", InForm(L"    Width = $12345678901234567\n"), TErrorKind::Parser, 3, L"16"},
    {"huge_char_code", InForm(L"    Caption = #99999999\n"), TErrorKind::Parser, 3, L"#"},
    {"deep_nesting", Nested(400), TErrorKind::Read, 202, L"verschachtelt"},
    {"unknown_reference", InForm(L"    Width = 1\n    Partner = Ghost\n"), TErrorKind::Read, 4, L"Ghost"},
    {"unknown_qualified_reference", InForm(L"    Partner = Other.P\n"), TErrorKind::Read, 3, L"Other.P"},
    {"reference_of_wrong_class", L"object F: TTestForm\n  object P: TTestPanel\n    Partner = S\n  end\n"
                                 L"  object S: TTestStore\n  end\nend\n",
     TErrorKind::Read, 3, L"TTestPanel"},
    {"reference_for_sub_object", InForm(L"    Font = P\n"), TErrorKind::Read, 3, L"P.Font"},
    {"creation_fails", InForm(L"    object B: TTestBroken\n    end\n"), TErrorKind::Read, 3, L"kaputt"},
    {"duplicate_name", InForm(L"  end\n  object P: TTestPanel\n"), TErrorKind::Read, 4, L"P"},
    {"invalid_name", L"object F: TTestForm\n  object 9P: TTestPanel\n  end\nend\n", TErrorKind::Parser, 2,
     L"9P"},
    {"trailing_text", L"object F: TTestForm\nend\nend\n", TErrorKind::Parser, 3, L"Ende der Beschreibung erwartet"},
    {"inherited_missing", L"object F: TTestForm\n  inherited P: TTestPanel\n  end\nend\n", TErrorKind::Read, 2,
     L"P"},
    {"property_after_children", InForm(L"    object Q: TTestPanel\n    end\n    Width = 3\n"), TErrorKind::Parser,
     5, L"'end' erwartet"},
    {"missing_equals", InForm(L"    Width 3\n"), TErrorKind::Parser, 3, L"'='"},
    {"defined_integer_out_of_range", L"object F: TTestForm\n  object S: TTestStore\n    FormatVersion = 5000000000\n"
                                     L"  end\nend\n",
     TErrorKind::Read, 3, L"5000000000"},
    {"defined_list_left_open", L"object F: TTestForm\n  object S: TTestStore\n    HalfList = ('a' 'b')\n"
                               L"  end\nend\n",
     TErrorKind::Read, 3, L"HalfList"},
    {"line_numbers_with_cr_only", L"object F: TTestForm\r  object P: TTestPanel\r    Width = x\r  end\rend",
     TErrorKind::Read, 3, L"P.Width"},
    {"defined_property_wrong_type", InForm(L"    Items.Strings = 'a'\n"), TErrorKind::Read, 3, L"'('"},
};

INSTANTIATE_TEST_SUITE_P(Table, FormReaderBadInput, testing::ValuesIn(KBadCases),
                         [](const testing::TestParamInfo<TBadCase>& I) { return std::string(I.param.Name); });

// Damaged copies of the main case: each either reads or raises one of the
// reader's exceptions, and nothing leaks either way.
TEST_F(FormReaderTest, DamagedDescriptionsNeverCrashNorLeak) {
  const String original = KMainForm;
  const wchar_t pieces[] = L"=:.,[]()<>+-'#${}\n 0aZ";
  std::uint32_t seed = 12345;
  auto next = [&seed](std::uint32_t ABound) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % ABound;
  };
  int readOk = 0;
  for (int round = 0; round < 3000; ++round) {
    String text = original;
    const int edits = 1 + static_cast<int>(next(3));
    for (int e = 0; e < edits && !text.empty(); ++e) {
      const std::size_t at = next(static_cast<std::uint32_t>(text.size()));
      switch (next(4)) {
        case 0: text.erase(at, 1 + next(8)); break;
        case 1: text.insert(at, 1, pieces[next(sizeof pieces / sizeof pieces[0] - 1)]); break;
        case 2: text[at] = pieces[next(sizeof pieces / sizeof pieces[0] - 1)]; break;
        default: text.insert(at, text.substr(next(static_cast<std::uint32_t>(text.size())), 1 + next(40))); break;
      }
    }
    SCOPED_TRACE(round);
    try {
      ReadComponentFromText(text)->Free();
      ++readOk;
    } catch (const EParserError&) {
    } catch (const EFilerError&) {
    } catch (const std::exception& e) {
      ADD_FAILURE() << "unexpected exception: " << e.what();
    }
    ASSERT_EQ(GLiveTestObjects, FLiveBefore);
  }
  EXPECT_GT(readOk, 0);
}

// ---------------------------------------------------------------------------
// Resources of the test program

TEST_F(FormReaderTest, ReadsAFormFromAResourceOfTheProgram) {
  TOwned<TTestForm> formOwner(New<TTestForm>(nullptr));
  TTestForm* form = formOwner.get();
  EXPECT_EQ(ReadComponentRes(L"TTestForm", form), form);
  EXPECT_EQ(form->Caption(), L"Aus der Ressource \u00D6ffnen");
  auto* button = Find<TTestPanel>(form, L"Button1");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(LinesOf(button->Items()), (std::vector<String>{L"\u00E4", L"b"}));
  formOwner.reset();

  TTestForm* other = New<TTestForm>(nullptr);
  EXPECT_THROW(ReadComponentRes(L"NoSuchForm", other), EResNotFound);
  other->Free();
}

TEST_F(FormReaderTest, InheritedComponentReadsTheAncestorsDescriptionFirst) {
  TOwned<TTestChildForm> formOwner(New<TTestChildForm>(nullptr));
  TTestChildForm* form = formOwner.get();
  EXPECT_TRUE(InitInheritedComponent(form, TComponent::ClassInfo()));
  auto* button = Find<TTestPanel>(form, L"Button1");
  auto* extra = Find<TTestPanel>(form, L"Extra");
  ASSERT_TRUE(button && extra);
  EXPECT_EQ(form->Caption(), L"Abgeleitet");
  EXPECT_EQ(button->Caption(), L"Ge\u00E4ndert");  // the derived description changes it
  EXPECT_EQ(button->Items()->Count(), 2);   // the ancestor's value stays
  EXPECT_EQ(extra->Partner(), button);
  EXPECT_EQ(form->ComponentCount(), 2);
  formOwner.reset();

  // Nothing to read below the root ancestor itself.
  TTestForm* plain = New<TTestForm>(nullptr);
  EXPECT_FALSE(InitInheritedComponent(plain, TTestForm::ClassInfo()));
  plain->Free();
}

}  // namespace
