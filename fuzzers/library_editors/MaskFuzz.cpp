// Fuzzing drivers of the masks: mutated regular expressions must compile or
// raise EcxRegExprError with at least one error, and a compiled one must
// take any text, step back to its start and print; mutated classic masks
// with texts go through Format, Format2, IsValid and IsFullValid.
//
// Usage: fuzz_library_editors.exe [regexpr] [regexpr-fragments] [standard-mask] [edit-input] [text-format] [text-typing] [mask-typing] [--rounds N] [--seed S]
// Memory: a pattern expands to at most TcxRegExpr::MaxExpandedItems tests
// (each under 200 bytes with its states), so one input stays under ~20 MB.
#include "fuzzers/library_editors/EditInputFuzz.h"
#include "fuzzers/library_editors/MaskTypingFuzz.h"
#include "fuzzers/library_editors/TextFormatFuzz.h"
#include "fuzzers/library_editors/TextTypingFuzz.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/editors/masks/cxRegExpr.h"
#include "library/editors/masks/cxStandardMask.h"
#include "library/graphics/GraphicsUnits.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/WinApi.h"

#include <psapi.h>
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> RegExprSeeds() {
  return {"\\d\\d/\\d\\d/\\d\\d\\d\\d",
          "'+1 '\\d{3}' '\\d{3}-\\d{4}",
          "(ab|cd)+?[^x-z]{2,5}\\w*",
          "[-a-c'x''y'\\d/:\\p]",
          "(a?){1,}(\\1|b)*c",
          "((a|b)(c|d)?)\\2\\1{0,3}",
          "\\x41\\t\\n.'it''s'\\s\\S\\W\\D",
          "(((a?)?)?)?b{2}|c{1,}",
          "(0?[1-9]|1[012])/(0?[1-9]|[12][0-9]|3[01])/\\d\\d(\\d\\d)?",
          "a**(b{3,2}[c-a][]{2}\\xG",
          "line one\r\nline 'two'\r\n[three"};
}

void RunRegExprOnce(const std::string& AInput) {
  TOwned<TMemoryStream> source(New<TMemoryStream>());
  source->WriteBuffer(AInput.data(), static_cast<std::int64_t>(AInput.size()));
  for (const bool updateOn : {false, true}) {
    TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
    engine->SetUpdateOn(updateOn);
    engine->SetCaseInsensitive(AInput.size() % 2 == 1);
    try {
      source->SetPosition(0);
      engine->Compile(source.get());
    } catch (const EcxRegExprError& E) {
      if (E.Errors().Count() < 1) FuzzInvariantBroken("a failed compilation reported no error");
      if (engine->IsCompiled()) FuzzInvariantBroken("a failed compilation left the engine compiled");
      for (int i = 0; i < E.Errors().Count(); ++i)
        if (E.Errors().GetItems(i).FullMessage().empty()) FuzzInvariantBroken("an error without a message");
      return;
    }
    if (!engine->IsCompiled()) FuzzInvariantBroken("compiled without error but not compiled");
    engine->Print();
    // Feed the pattern's own text, then some of its characters' neighbours.
    const String text = UTF8ToString(AInput);
    engine->Reset();
    int accepted = 0;
    for (wchar_t c : text + text) {
      wchar_t token = c;
      if (engine->Next(token)) ++accepted;
      token = static_cast<wchar_t>(c + 1);
      if (engine->Next(token)) ++accepted;
    }
    engine->IsFinal();
    if (!updateOn) {
      for (int i = 0; i < accepted; ++i)
        if (!engine->Prev()) FuzzInvariantBroken("fewer steps back than characters accepted");
      if (!engine->IsStart() || engine->Prev()) FuzzInvariantBroken("not at the start after every step back");
    } else {
      while (engine->Prev()) {
      }
    }
    engine->NextEx(text);
  }
}

// One input must not take a second, whatever its pattern.
void RunRegExpr(const std::string& AInput) {
  const ULONGLONG start = GetTickCount64();
  RunRegExprOnce(AInput);
  if (GetTickCount64() - start > 1000) {
    std::fprintf(stderr, "%zu bytes: %s\n", AInput.size(), AInput.c_str());
    FuzzInvariantBroken("one pattern took more than a second");
  }
}

// Each byte picks a fragment of the syntax, so that most inputs are patterns
// that parse far, with nesting, quantifiers, classes and references.
void RunRegExprFragments(const std::string& AInput) {
  static const char* const fragments[] = {
      "a", "b", "\\d", "\\w", ".", "/", ":", "\\p", "'x'", "''", "(", ")", "(", ")", "|", "*", "+", "?",
      "{2}", "{0,3}", "{1,}", "{3,1}", "{", "}", ",", "[", "]", "[^", "-", "a-c", "\\1", "\\2", "\\x4", "1",
      " ", "\\", "{65535}", "{0,390}", "\r\n"};
  std::string pattern;
  for (unsigned char byte : AInput) pattern += fragments[byte % (sizeof fragments / sizeof fragments[0])];
  RunRegExpr(pattern);
}

std::vector<std::string> StandardMaskSeeds() {
  return {"(999) 000-0000;1;_\x01" "5551234567",
          "!>LL<ll\\-00/00:00;0;*\x01" "abCD12 3456",
          "#9AaCcLl0\x01" "-1xX%q y7",
          "00;x\\\x01" "12;x",
          "<>C>c<a\x01" "\xc3\xa9\xc3\x9f",
          "\x01",
          "0000000000000000000000000000000000000000;0\x01" "1 2 3 4 5"};
}

void RunStandardMask(const std::string& AInput) {
  const std::size_t split = AInput.find('\x01');
  const String mask = UTF8ToString(AInput.substr(0, split));
  const String text = split == std::string::npos ? String() : UTF8ToString(AInput.substr(split + 1));
  TOwned<TcxStandardMask> compiled(New<TcxStandardMask>());
  compiled->Compile(mask);
  const std::size_t positions = static_cast<std::size_t>(compiled->Count());
  if (compiled->FullEmptyString().size() != positions) FuzzInvariantBroken("full empty string of another length");
  for (const bool changeCase : {false, true})
    for (const bool match : {false, true}) {
      String formatted = text;
      compiled->Format(formatted, changeCase, match);
      if (formatted.size() != positions) FuzzInvariantBroken("formatted text of another length");
      String stored = formatted;
      compiled->Format2(stored);
      if (stored.size() > positions) FuzzInvariantBroken("stored value longer than the positions");
      String check = formatted;
      compiled->IsFullValid(check);
      check = formatted;
      if (changeCase && !compiled->IsValid(check)) FuzzInvariantBroken("a formatted text is not valid");
    }
  String raw = text;
  compiled->IsValid(raw);
  raw = text;
  compiled->IsFullValid(raw);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryControlsUnits(),
                   LibraryEditorsUnits()});
  static const TFuzzDriver drivers[] = {
      {L"regexpr", &RegExprSeeds, &RunRegExpr},
      {L"regexpr-fragments", &RegExprSeeds, &RunRegExprFragments},
      {L"standard-mask", &StandardMaskSeeds, &RunStandardMask},
      {L"edit-input", &EditInputSeeds, &RunEditInput},
      {L"text-format", &TextFormatSeeds, &RunTextFormat},
      {L"text-typing", &TextTypingSeeds, &RunTextTyping},
      {L"mask-typing", &MaskTypingSeeds, &RunMaskTyping},
  };
  const int result = RunFuzzDrivers(argc, argv, drivers);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    std::printf("peak working set %.1f MB\n", static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
  FinalizeUnits();
  return result;
}
