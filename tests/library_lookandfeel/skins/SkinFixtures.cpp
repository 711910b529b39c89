#include "tests/library_lookandfeel/skins/SkinFixtures.h"

#include "platform/runtime/SysUtils.h"

std::string ReadSkinFixture(const String& AName) {
  wchar_t module[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  // BUILD\tests\test_library_lookandfeel.exe -> BUILD\testdata\library_lookandfeel
  const String build = ExtractFilePath(ExcludeTrailingPathDelimiter(ExtractFilePath(String(module, length))));
  TOwned<TMemoryStream> file(New<TMemoryStream>());
  file->LoadFromFile(build + L"testdata\\library_lookandfeel\\" + AName);
  return BytesOf(file.get());
}

TOwned<TMemoryStream> StreamOf(const std::string& ABytes) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  stream->SetPosition(0);
  return stream;
}

std::string BytesOf(TMemoryStream* AStream) {
  return std::string(static_cast<const char*>(AStream->Memory()), static_cast<std::size_t>(AStream->Size()));
}

namespace {

void LoadImageBytes(TdxSmartImage* AImage, const std::string& ABytes) {
  TOwned<TMemoryStream> stream = StreamOf(ABytes);
  AImage->LoadFromStream(stream.get());
}

void SetBorders(TdxSkinBorders* ABorders, const std::array<std::pair<TColor, int>, 4>& AValues) {
  for (TcxBorder side : {bLeft, bTop, bRight, bBottom}) {
    ABorders->Items(side)->SetColor(AValues[side].first);
    ABorders->Items(side)->SetThin(AValues[side].second);
  }
}

}  // namespace

TOwned<TdxSkin> BuildLilianSkin() {
  TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Lilian"));
  TdxSkinDetails* details = skin->Details();
  details->SetDisplayName(L"Lilian Blue");
  details->SetGroupName(L"Custom");
  details->SetNotes(L"Notes \u2713");
  LoadImageBytes(details->GetIcon(sis16), ReadSkinFixture(L"icon16.png"));

  skin->AddColor(L"Paint", TColor(0x00FF8040));
  skin->AddColor(L"Brush", TColor(0x00010203))->SetValueReference(L"Accent");

  skin->AddPropertyInteger(L"Spacing", -7);
  skin->AddPropertyBool(L"Flat", true);
  static_cast<TdxSkinRectProperty*>(skin->AddProperty(L"Padding", TdxSkinRectProperty::ClassInfo()))
      ->SetValue(TRect(1, 2, 3, 4));
  static_cast<TdxSkinSizeProperty*>(skin->AddProperty(L"GlyphSize", TdxSkinSizeProperty::ClassInfo()))
      ->SetValue(TSize(16, 12));
  static_cast<TdxSkinStringProperty*>(skin->AddProperty(L"Caption", TdxSkinStringProperty::ClassInfo()))
      ->SetValue(L"Sch\u00f6n");
  static_cast<TdxSkinStringProperty*>(skin->AddProperty(L"Hint", TdxSkinWideStringProperty::ClassInfo()))
      ->SetValue(L"\u03a9 hint");

  TdxSkinControlGroup* common = skin->AddGroup(L"Common");
  TdxSkinElement* button = common->AddElement(L"Button");
  button->SetColor(TColor(0x00C0C0C0));
  button->SetAlpha(200);
  button->SetContentOffset(TRect(2, 3, 4, 5));
  button->Glyph()->SetImageCount(2);
  TdxSkinImage* image = button->Image();
  image->SetMargins(TRect(8, 4, 8, 4));
  image->SetImageLayout(ilVertical);
  image->SetImageCount(2);
  image->SetStates({esNormal, esHot, esPressed});
  image->SetStretch(smTile);
  image->SetGradientBeginColor(TColor(0x000000FF));
  image->SetGradientEndColor(TColor(0x0000FF00));
  image->SetGradient(gmVertical);
  LoadImageBytes(image->Texture(), ReadSkinFixture(L"texture.png"));
  auto* fill = static_cast<TdxSkinAlphaColor*>(image->ColorPalettes()->Add(L"Hot")->Add(L"Fill", TColor(0x00336699)));
  fill->SetValueAlpha(128);
  image->SetInterpolationMode(imNearestNeighbor);
  image->SetMarginsScaled(true);
  SetBorders(button->Borders(), {{{TColor(0x000000FF), 2}, {clNone, 1}, {clNone, 1}, {TColor(0x00808080), 3}}});
  button->SetTextColor(TColor(0x00202020));
  button->SetMinSize(TSize(20, 10));
  static_cast<TdxSkinColor*>(button->AddProperty(L"TextColorHot", TdxSkinColor::ClassInfo()))
      ->SetValue(TColor(0x000000FF));
  TdxSkinAlternateImageAttributes* alternate = button->AddAlternateImageAttributes(esHot, 0);
  alternate->SetAlpha(100);
  alternate->SetGradient(gmBackwardDiagonal);
  alternate->SetGradientBeginColor(TColor(0x00FFFFFF));
  SetBorders(alternate->Borders(), {{{TColor(0x00111111), 1}, {TColor(0x00111111), 1},
                                     {TColor(0x00111111), 1}, {TColor(0x00111111), 1}}});
  alternate->SetContentOffsets(TRect(1, 1, 1, 1));
  common->AddPropertyInteger(L"Indent", 12);
  skin->AddGroup(L"Grid");

  skin->ColorPalettes()->Add(L"Dark")->Add(L"Accent", TColor(0x00445566));
  skin->ColorPalettes()->Add(L"Default")->Add(L"Accent", TColor(0x00112233));
  return skin;
}
