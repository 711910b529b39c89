#include "fuzzers/library_stdctrls/ProgressBarFuzz.h"

#include "fuzzers/support/AccessibilityInput.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/stdctrls/cxProgressBar.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

#include <bit>
#include <cstring>
#include <limits>

namespace {

double NextDouble(TInputReader& AReader) {
  static constexpr double Specials[] = {0, 1, -1, 50, 100, 150, 1e308, -1e308, 4.9e-324, -4.9e-324,
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::quiet_NaN(), 2.5, 0.5};
  const std::uint32_t pick = AReader.Next(1);
  if (pick < 200) return Specials[pick % std::size(Specials)];
  const std::uint64_t bits = AReader.Next(4) | static_cast<std::uint64_t>(AReader.Next(4)) << 32;
  return std::bit_cast<double>(bits);
}

String NextString(TInputReader& AReader) {
  static const wchar_t* const Texts[] = {L"37.5", L"1e400", L"-", L"nan", L"12,5", L"", L" 7 ", L"0x10"};
  return Texts[AReader.Next(1) % std::size(Texts)];
}

void CheckInside(TcxCustomProgressBarViewInfo* AViewInfo) {
  const TRect content = AViewInfo->BarContentRect;
  if (content.IsEmpty()) return;
  const TRect progress = AViewInfo->ProgressBarRect;
  if (progress.Left < content.Left || progress.Right > content.Right || progress.Top < content.Top ||
      progress.Bottom > content.Bottom)
    FuzzInvariantBroken("the progress rectangle left the content");
}

}  // namespace

std::vector<std::string> ProgressBarSettingsSeeds() {
  return {std::string("\x00\x05\x01\x03\x02\x0a\x0b\x10\x07\x20", 10),
          std::string("\x04\x01\x05\x0c\x06\xff\x00\x00\x00\x00\x00\x00\xf0\x7f\x08\x02", 16)};
}

void RunProgressBarSettings(const std::string& AInput, TForm* AForm) {
  TInputReader reader(AInput);
  auto* bar = New<TcxProgressBar>(AForm);
  const TOwned<TcxProgressBar> owned(bar);
  bar->SetParent(AForm);
  bar->SetAutoSize(false);
  TcxProgressBarProperties* p = bar->Properties();
  int rounds = 0;
  while (reader.More() && rounds++ < 64) {
    switch (reader.Next(1) % 14) {
      case 0: p->SetMin(NextDouble(reader)); break;
      case 1: p->SetMax(NextDouble(reader)); break;
      case 2: bar->SetPosition(NextDouble(reader)); break;
      case 3: p->SetOverloadValue(NextDouble(reader)); p->SetShowOverload(true); break;
      case 4: p->SetPeakValue(NextDouble(reader)); p->SetShowPeak(true); break;
      case 5: bar->SetEditValue(Variant(NextString(reader))); break;
      case 6: bar->SetBounds(0, 0, static_cast<int>(reader.Next(2) % 2001), static_cast<int>(reader.Next(2) % 2001)); break;
      case 7: p->SetBarStyle(static_cast<TcxProgressBarBarStyle>(reader.Next(1) % 8)); break;
      case 8: p->SetOrientation(static_cast<TcxProgressBarOrientation>(reader.Next(1) % 2)); break;
      case 9: p->SetMarquee(reader.Next(1) & 1); break;
      case 10: p->SetShowTextStyle(static_cast<TcxProgressBarTextStyle>(reader.Next(1) % 3)); break;
      case 11: p->SetBarBevelOuter(static_cast<TcxProgressBarBevelOuter>(reader.Next(1) % 3)); break;
      case 12: p->SetBorderWidth(static_cast<int>(reader.Next(1))); break;
      case 13: p->SetPeakSize(static_cast<int>(reader.Next(1))); break;
    }
    CheckInside(bar->ViewInfo());
  }
  const int width = std::max(1, bar->Width());
  const int height = std::max(1, bar->Height());
  TMemoryDC target = TMemoryDC::Dib32(nullptr, width, height);
  bar->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.DC()), PRF_CLIENT);
  if (bar->ViewInfo()->IsAnimationActive() && bar->ViewInfo()->AnimationTimer())
    for (int i = 0; i < 8; ++i) bar->ViewInfo()->AnimationTimerTick(nullptr);
  bar->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.DC()), PRF_CLIENT);
}
