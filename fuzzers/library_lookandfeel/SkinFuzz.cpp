// Fuzzing drivers of the skin stream, seeded with the fixtures that
// tests/library_lookandfeel/skins/make-skin-fixtures writes: a mutated skin
// stream either loads, and then saves and loads back equal, or raises the
// reader's error (a stream error, the class-not-found error or the skin
// error) and leaves the skin as it was; a container catalogues and loads
// what it can; a skin's details read or answer False.
//
// Usage: fuzz_library_lookandfeel.exe [skin-stream] [container] [details] [--rounds N] [--seed S]
// Memory: every length and count is checked against the stream before
// anything is allocated, so one input costs a few times its own size.
#include "fuzzers/support/FuzzMain.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "library/vector/VectorUnits.h"
#include "platform/runtime/WinApi.h"

#include <psapi.h>
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SkinSeeds() { return FileSeeds(SK_SKIN_FIXTURES_DIR, {L".skin", L".skinres"}, false); }

TOwned<TMemoryStream> StreamOf(const std::string& ABytes) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  stream->SetPosition(0);
  return stream;
}

// The reader's errors; anything else escaping a load is a fault.
template <class TWork>
bool Rejected(TWork&& AWork) {
  try {
    AWork();
    return false;
  } catch (const EStreamError&) {
    return true;
  } catch (const EdxSkinError&) {
    return true;
  }
}

TOwned<TdxSkin> SkinBeforeLoading() {
  TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Before"));
  skin->AddColor(L"Paint", TColor(0x00102030));
  skin->AddGroup(L"Common")->AddElement(L"Button")->SetAlpha(7);
  skin->ColorPalettes()->Add(L"Default")->Add(L"Accent", TColor(0x00405060));
  return skin;
}

void RunSkinStream(const std::string& AInput) {
  const TOwned<TdxSkin> skin = SkinBeforeLoading();
  const TOwned<TdxSkin> before = skin->Clone(String());
  TOwned<TMemoryStream> input = StreamOf(AInput);
  if (Rejected([&] { skin->LoadFromStream(input.get()); })) {
    if (!skin->Compare(before.get())) FuzzInvariantBroken("a rejected stream changed the skin");
    return;
  }
  TOwned<TMemoryStream> saved(New<TMemoryStream>());
  skin->SaveToStream(saved.get());
  saved->SetPosition(0);
  const TOwned<TdxSkin> again(New<TdxSkin>(nullptr, String()));
  if (Rejected([&] { again->LoadFromStream(saved.get()); })) FuzzInvariantBroken("a saved skin does not load");
  if (!again->Compare(skin.get())) FuzzInvariantBroken("a saved skin loads back different");
}

void RunContainer(const std::string& AInput) {
  TOwned<TMemoryStream> input = StreamOf(AInput);
  TOwned<TdxSkinBinaryReader> reader;
  if (Rejected([&] { reader.reset(New<TdxSkinBinaryReader>(input.get())); })) return;
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, String()));
  for (int i = 0; i < reader->Count(); ++i) {
    if (reader->GetSkinOffset(i) < 0 || reader->GetSkinOffset(i) >= input->Size())
      FuzzInvariantBroken("a catalogued skin lies outside the stream");
    Rejected([&] {
      if (!reader->LoadSkin(skin.get(), reader->GetSkinName(i))) FuzzInvariantBroken("a catalogued name is not found");
    });
  }
  if (reader->LoadSkin(skin.get(), reader->Count())) FuzzInvariantBroken("an index past the catalogue loaded");
}

void RunDetails(const std::string& AInput) {
  TOwned<TMemoryStream> input = StreamOf(AInput);
  const TOwned<TdxSkinDetails> details(New<TdxSkinDetails>());
  Rejected([&] { details->LoadFromStream(input.get()); });
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits()});
  static const TFuzzDriver drivers[] = {
      {L"skin-stream", &SkinSeeds, &RunSkinStream},
      {L"container", &SkinSeeds, &RunContainer},
      {L"details", &SkinSeeds, &RunDetails},
  };
  const int result = RunFuzzDrivers(argc, argv, drivers);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    std::printf("peak working set %.1f MB\n", static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
  FinalizeUnits();
  return result;
}
