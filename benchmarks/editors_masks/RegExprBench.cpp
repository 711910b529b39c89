// The masks' regular-expression engine at 10^4 strings of 20 characters
// through 20 patterns: each string fed one character at a time (Next per
// character, IsFinal at the end, as a masked editor drives it), beside
// std::regex_match of the same pattern and strings in the same run. Each line
// prints the best of several runs and the ratio; the target is at most 1.5.
#include "benchmarks/editors_masks/MaskTypingBench.h"
#include "benchmarks/support/Ratios.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/editors/masks/cxRegExpr.h"
#include "library/graphics/GraphicsUnits.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr int Strings = 10000;
constexpr int Length = 20;
constexpr int Runs = 5;

// The masks' syntax and the same language in std::regex's.
struct TPattern {
  const wchar_t* Ours;
  const wchar_t* Std;
};

constexpr TPattern Patterns[] = {
    {L"\\d+", L"\\d+"},
    {L"\\d{3}-\\d{4}", L"\\d{3}-\\d{4}"},
    {L"[a-z]+", L"[a-z]+"},
    {L"\\w+@\\w+'.'\\w+", L"\\w+@\\w+\\.\\w+"},
    {L"(ab|cd)*", L"(ab|cd)*"},
    {L"[a-d][0-9a-z]*", L"[a-d][0-9a-z]*"},
    {L"\\d\\d/\\d\\d/\\d\\d\\d\\d", L"\\d\\d/\\d\\d/\\d\\d\\d\\d"},
    {L"(0?[1-9]|1[012]):[0-5]\\d", L"(0?[1-9]|1[012]):[0-5]\\d"},
    {L".*x", L".*x"},
    {L"[^' ']+", L"[^ ]+"},
    {L"a?b?c?d?x?y?z?", L"a?b?c?d?x?y?z?"},
    {L"(\\d{1,3}'.'){3}\\d{1,3}", L"(\\d{1,3}\\.){3}\\d{1,3}"},
    {L"[+\\-]?\\d+('.'\\d+)?", L"[+\\-]?\\d+(\\.\\d+)?"},
    {L"(a|b)*abb", L"(a|b)*abb"},
    {L"[0-9a-f]{20}", L"[0-9a-f]{20}"},
    {L"\\s*\\w+\\s*", L"\\s*\\w+\\s*"},
    {L"x{0,5}y{0,5}z{0,10}", L"x{0,5}y{0,5}z{0,10}"},
    {L"(\\w\\w)+", L"(\\w\\w)+"},
    {L"[A-Za-z_]\\w*", L"[A-Za-z_]\\w*"},
    {L"a'b'+c", L"ab+c"},
};

volatile int GSink;

// Random strings over the characters the patterns use, a quarter of them
// from the few characters a pattern repeats, so that many are fed far.
std::vector<String> MakeStrings(std::mt19937& ARandom) {
  static const String alphabets[] = {L"0123456789abcdxyz.-/:@ ", L"0123456789", L"abcdef", L"xyz1."};
  std::vector<String> result(Strings);
  for (String& s : result) {
    const String& alphabet = alphabets[ARandom() % 4];
    for (int i = 0; i < Length; ++i) s += alphabet[ARandom() % alphabet.size()];
  }
  return result;
}

int Bench() {
  FormatSettings.DateSeparator = L'/';
  FormatSettings.TimeSeparator = L':';
  std::mt19937 random(20261210);
  const std::vector<String> strings = MakeStrings(random);
  bench::TRatioReport report("engine", "std::regex_match", 1.5, 28);
  int disagreements = 0;
  double oursTotal = 0, stdTotal = 0;
  for (const TPattern& pattern : Patterns) {
    TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
    engine->Compile(pattern.Ours);
    const std::wregex reference(pattern.Std);
    std::vector<char> oursResult(strings.size()), stdResult(strings.size());
    const double ours = bench::BestOf(Runs, [] {}, [&] {
      for (std::size_t i = 0; i < strings.size(); ++i) {
        engine->Reset();
        bool all = true;
        for (wchar_t c : strings[i]) all = engine->Next(c) && all;
        oursResult[i] = all && engine->IsFinal();
      }
    });
    const double standard = bench::BestOf(Runs, [] {}, [&] {
      for (std::size_t i = 0; i < strings.size(); ++i) stdResult[i] = std::regex_match(strings[i], reference);
    });
    const std::string name(pattern.Std, pattern.Std + wcslen(pattern.Std));
    report.Add(name.c_str(), ours, standard);
    oursTotal += ours;
    stdTotal += standard;
    for (std::size_t i = 0; i < strings.size(); ++i) disagreements += oursResult[i] != stdResult[i];
  }
  report.Add("all twenty", oursTotal, stdTotal);
  std::printf("%d strings where the two engines disagree\n", disagreements);
  GSink = disagreements;
  return report.Slower() + disagreements;
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryControlsUnits(),
                   LibraryEditorsUnits()});
  const int failed = Bench() + RunMaskTyping();
  FinalizeUnits();
  return failed == 0 ? 0 : 1;
}
