// The main window's look-and-feels as its form description makes them: every
// control and every style resolves the UltraFlat painter, and the form
// written back stores the same LookAndFeel lines.
#include "app/MainUnit.h"

#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "tests/app/MainFormFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// The look-and-feels an object publishes, through any depth of published
// persistent objects (components are visited by their owner).
void CollectLookAndFeels(TObject* AObject, const String& APath, std::vector<std::pair<String, TcxLookAndFeel*>>& AFound,
                         std::set<TObject*>& ASeen) {
  if (!ASeen.insert(AObject).second) return;
  for (const TPropInfo* prop : GetPropList(AObject)) {
    if (prop->Kind() != tkClass) continue;
    TObject* value = GetObjectProp(AObject, prop);
    if (!value || Is<TComponent>(value)) continue;
    const String path = APath + L"." + prop->Name;
    if (auto* lookAndFeel = dynamic_cast<TcxLookAndFeel*>(value))
      AFound.push_back({path, lookAndFeel});
    else if (Is<TPersistent>(value))
      CollectLookAndFeels(value, path, AFound, ASeen);
  }
}

// The lines of a form description that name a look-and-feel value, without
// their indentation.
std::vector<String> LookAndFeelLines(const String& AText) {
  std::vector<String> lines;
  std::size_t start = 0;
  while (start < AText.size()) {
    std::size_t stop = AText.find(L'\n', start);
    if (stop == String::npos) stop = AText.size();
    const String line = Trim(AText.substr(start, stop - start));
    if (line.find(L"LookAndFeel.") != String::npos) lines.push_back(line);
    start = stop + 1;
  }
  return lines;
}

TEST_F(MainFormFixture, EveryControlAndStyleResolvesTheUltraFlatPainter) {
  std::vector<std::pair<String, TcxLookAndFeel*>> found;
  std::set<TObject*> seen;
  for (int i = 0; i < Form->ComponentCount(); ++i)
    CollectLookAndFeels(Form->Components(i), Form->Components(i)->Name(), found, seen);
  // As many as the description names.
  const std::vector<String> stored = LookAndFeelLines(ReadResourceText(GetModuleHandleW(nullptr), L"TMAINFORM"));
  ASSERT_EQ(found.size(), stored.size());
  ASSERT_EQ(found.size(), 57u);
  TcxCustomLookAndFeelPainter* ultraFlat = GetPaintersManager()->GetPainter(lfsUltraFlat);
  ASSERT_NE(ultraFlat, nullptr);
  for (const auto& [path, lookAndFeel] : found) {
    SCOPED_TRACE(UTF8Encode(path));
    EXPECT_FALSE(lookAndFeel->NativeStyle());
    EXPECT_EQ(lookAndFeel->Kind(), lfUltraFlat);
    EXPECT_EQ(lookAndFeel->AssignedValues(), TcxLookAndFeelValues{lfvNativeStyle});
    EXPECT_EQ(lookAndFeel->ActiveStyle(), lfsUltraFlat);
    EXPECT_EQ(lookAndFeel->Painter(), ultraFlat);
    EXPECT_EQ(lookAndFeel->GetAvailablePainter(totButton), ultraFlat);
    EXPECT_EQ(lookAndFeel->SkinPainter(), nullptr);
  }
}

TEST_F(MainFormFixture, TheFormWrittenBackStoresTheResourcesLookAndFeelLines) {
  const std::vector<String> stored = LookAndFeelLines(ReadResourceText(GetModuleHandleW(nullptr), L"TMAINFORM"));
  ASSERT_FALSE(stored.empty());
  EXPECT_EQ(LookAndFeelLines(WriteComponentToText(Form)), stored);
}

}  // namespace
