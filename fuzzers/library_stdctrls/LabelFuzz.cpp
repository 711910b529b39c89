#include "fuzzers/library_stdctrls/LabelFuzz.h"

#include "fuzzers/support/AccessibilityInput.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/stdctrls/cxLabel.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <cstdint>

namespace {

String NextCaption(TInputReader& AReader) {
  static const wchar_t* const Texts[] = {L"Port",     L"&Baudrate", L"&&", L"&",      L"",
                                         L"a&\r\nb&", L"Wort Wort Wort Wort Wort Wort", L"\t&x&y&",
                                         L"\u00C4\u00D6&\u00DC"};
  String text = Texts[AReader.Next(1) % std::size(Texts)];
  // Now and then a long one, so wrapping and the ellipsis have work.
  const std::uint32_t repeat = AReader.Next(1) % 16;
  const String piece = text;
  for (std::uint32_t i = 1; i < repeat; ++i) text += piece;
  return text;
}

int NextAngle(TInputReader& AReader) {
  static constexpr int Specials[] = {0, 90, 180, 270, 360, 450, -270, -1, 1, 45, 2147483647, -2147483647 - 1};
  const std::uint32_t pick = AReader.Next(1);
  if (pick < 128) return Specials[pick % std::size(Specials)];
  return static_cast<int>(AReader.Next(4));
}

// A small checker pattern, the picture the text is filled with.
void AssignPicture(TcxCustomLabelProperties* AProperties, TInputReader& AReader) {
  const int size = 1 + static_cast<int>(AReader.Next(1) % 8);
  TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      SetPixel(bitmap->Canvas()->Handle(), x, y, (x + y) % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255));
  AProperties->Glyph()->Assign(bitmap.get());
}

void CheckRects(TcxCustomLabelViewInfo* AViewInfo) {
  // Rectangles that wrapped around Integer show as huge or inverted spans.
  constexpr int Limit = 1 << 24;
  for (const TRect& r : {AViewInfo->TextRect, AViewInfo->LineRect()})
    if (r.Left < -Limit || r.Top < -Limit || r.Right > Limit || r.Bottom > Limit)
      FuzzInvariantBroken("a label rectangle ran away");
}

void Paint(TcxLabel* ALabel) {
  // An auto-sized label can grow far past the screen; the target stays small.
  TMemoryDC target =
      TMemoryDC::Dib32(nullptr, std::clamp(ALabel->Width(), 1, 2000), std::clamp(ALabel->Height(), 1, 2000));
  ALabel->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.DC()), PRF_CLIENT);
  CheckRects(ALabel->ViewInfo());
}

}  // namespace

std::vector<std::string> LabelSettingsSeeds() {
  return {std::string("\x00\x81\x01\x02\xe8\x03\x03\x01\x04\x02\x05\x01\x03\x07\x03\x0b", 16),
          std::string("\x06\x05\x05\x08\x02\x09\x30\x00\x0a\x01\x00\x90\x01\x0c\x00\x0d", 16)};
}

void RunLabelSettings(const std::string& AInput, TForm* AForm) {
  TInputReader reader(AInput);
  auto* label = New<TcxLabel>(AForm);
  const TOwned<TcxLabel> owned(label);
  label->SetParent(AForm);
  TcxLabelProperties* p = label->Properties();
  int rounds = 0;
  while (reader.More() && rounds++ < 48) {
    switch (reader.Next(1) % 16) {
      case 0: p->SetAngle(NextAngle(reader)); break;
      case 1: p->SetDepth(static_cast<std::uint16_t>(reader.Next(2) % 1001)); break;
      case 2: p->SetLabelEffect(static_cast<TcxLabelEffect>(reader.Next(1) % 4)); break;
      case 3: p->SetLabelStyle(static_cast<TcxLabelStyle>(reader.Next(1) % 4)); break;
      case 4: p->SetOrientation(static_cast<TcxLabelOrientation>(reader.Next(1) % 8)); break;
      case 5: label->SetCaption(NextCaption(reader)); break;
      case 6: {
        static const wchar_t* const Faces[] = {L"Tahoma", L"System", L"Arial", L"Courier", L"Terminal"};
        label->Style()->Font()->SetName(Faces[reader.Next(1) % std::size(Faces)]);
        break;
      }
      case 7: label->Style()->Font()->SetHeight(static_cast<int>(static_cast<std::int16_t>(reader.Next(2))) % 600); break;
      case 8: p->SetWordWrap(reader.Next(1) & 1); p->SetShowEndEllipsis(reader.Next(1) & 1); break;
      case 9: p->SetPenWidth(static_cast<int>(static_cast<std::int8_t>(reader.Next(1)))); break;
      case 10: label->SetBounds(0, 0, static_cast<int>(reader.Next(2) % 2001), static_cast<int>(reader.Next(2) % 2001)); break;
      case 11: p->LineOptions()->SetVisible(reader.Next(1) & 1); p->LineOptions()->SetAlignment(static_cast<TcxLabelLineAlignment>(reader.Next(1) % 3)); break;
      case 12: AssignPicture(p, reader); break;
      case 13: p->SetShowAccelChar(reader.Next(1) & 1); break;
      case 14: {
        // There and back, so the sizes stay in range over many rounds.
        static constexpr int Scales[][2] = {{240, 96}, {96, 240}, {144, 96}, {3, 1}};
        const auto& s = Scales[reader.Next(1) % std::size(Scales)];
        label->ScaleBy(s[0], s[1]);
        Paint(label);
        label->ScaleBy(s[1], s[0]);
        break;
      }
      case 15: label->SetAutoSize(reader.Next(1) & 1); break;
    }
    // A deep effect in a huge font takes long to draw: every few settings.
    if (rounds % 6 == 0) Paint(label);
  }
  Paint(label);
}
