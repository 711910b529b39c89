#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "tests/library_lookandfeel/skins/SkinFixtures.h"
#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class TSkinChangeCounter : public TObject {
 public:
  void Changed(TObject*, TdxSkinChanges) { ++Count; }
  int Count = 0;
};

TOwned<TdxSkin> LoadSkin(const std::string& ABytes) {
  TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, String()));
  TOwned<TMemoryStream> stream = StreamOf(ABytes);
  skin->LoadFromStream(stream.get());
  return skin;
}

std::string SaveSkin(TdxSkin* ASkin) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  ASkin->SaveToStream(stream.get());
  return BytesOf(stream.get());
}

template <class T>
T* PropertyAs(TdxSkinPersistent* AOwner, const String& AName) {
  auto* property = dynamic_cast<T*>(AOwner->GetPropertyByName(AName));
  if (!property) ADD_FAILURE() << "no property of that class: " << UTF8Encode(AName);
  return property;
}

// ---------------------------------------------------------------------------
// Each version of the format

struct TVersionCase {
  const char* Name;
  double Version;
};

class SkinStreamVersion : public testing::TestWithParam<TVersionCase> {};

TEST_P(SkinStreamVersion, LoadsTheValuesTheFixtureWrote) {
  const double version = GetParam().Version;
  const TOwned<TdxSkin> skin = LoadSkin(ReadSkinFixture(L"lilian-" + UTF8ToString(GetParam().Name) + L".skin"));

  EXPECT_EQ(skin->Name(), L"Lilian");
  if (version >= 1.04) {
    EXPECT_EQ(skin->DisplayName(), L"Lilian Blue");
    EXPECT_EQ(skin->Details()->GroupName(), L"Custom");
    EXPECT_EQ(skin->Details()->Notes(), L"Notes \u2713");
    EXPECT_EQ(skin->Details()->GetIcon(sis16)->Width(), 16);
  } else {
    EXPECT_EQ(skin->DisplayName(), L"Lilian") << "no display name before 1.04: the name";
    EXPECT_EQ(skin->Details()->GroupName(), L"");
  }

  ASSERT_EQ(skin->ColorCount(), 2);
  EXPECT_EQ(skin->GetColor(0)->Name(), L"Paint");
  EXPECT_EQ(skin->GetColor(0)->Value(), TColor(0x00FF8040));
  TdxSkinColor* brush = skin->GetColor(1);
  if (version >= 1.15) {
    EXPECT_EQ(brush->ValueReference(), L"Accent");
    EXPECT_EQ(brush->Value(), TColor(0x00112233)) << "from the active palette, \"Default\"";
  } else {
    EXPECT_EQ(brush->ValueReference(), L"");
    EXPECT_EQ(brush->Value(), TColor(0x00010203));
  }

  ASSERT_EQ(skin->PropertyCount(), 6);
  EXPECT_EQ(PropertyAs<TdxSkinIntegerProperty>(skin.get(), L"Spacing")->Value(), -7);
  EXPECT_TRUE(PropertyAs<TdxSkinBooleanProperty>(skin.get(), L"Flat")->Value());
  EXPECT_EQ(PropertyAs<TdxSkinRectProperty>(skin.get(), L"Padding")->Value(), TRect(1, 2, 3, 4));
  EXPECT_EQ(PropertyAs<TdxSkinSizeProperty>(skin.get(), L"GlyphSize")->Value(), TSize(16, 12));
  EXPECT_EQ(PropertyAs<TdxSkinStringProperty>(skin.get(), L"Caption")->Value(), L"Sch\u00f6n");
  EXPECT_EQ(PropertyAs<TdxSkinWideStringProperty>(skin.get(), L"Hint")->Value(), L"\u03a9 hint");

  ASSERT_EQ(skin->GroupCount(), 2);
  TdxSkinControlGroup* common = skin->GetGroupByName(L"Common");
  ASSERT_TRUE(common);
  EXPECT_EQ(PropertyAs<TdxSkinIntegerProperty>(common, L"Indent")->Value(), 12);
  ASSERT_EQ(common->Count(), 1);
  TdxSkinElement* button = common->GetElementByName(L"Button");
  ASSERT_TRUE(button);
  EXPECT_EQ(button->Path(), L"Common\\");
  EXPECT_EQ(button->Color(), TColor(0x00C0C0C0));
  EXPECT_EQ(button->Alpha(), 200);
  EXPECT_EQ(button->ContentOffset(), TRect(2, 3, 4, 5));
  EXPECT_EQ(button->TextColor(), TColor(0x00202020));
  EXPECT_EQ(button->MinSize(), TSize(20, 10));
  EXPECT_EQ(button->GetTextColor(esHot), TColor(0x000000FF));
  EXPECT_TRUE(button->Glyph()->Empty());
  EXPECT_EQ(button->Glyph()->ImageCount(), 2);

  TdxSkinImage* image = button->Image();
  EXPECT_EQ(image->Margins(), TRect(8, 4, 8, 4));
  EXPECT_EQ(image->ImageLayout(), ilVertical);
  EXPECT_EQ(image->ImageCount(), 2) << (version < 1.1 ? "the element's count" : "the image's own count");
  EXPECT_EQ(image->States(), TdxSkinElementStates({esNormal, esHot, esPressed})) << "bit 15 names no state";
  EXPECT_EQ(image->StateCount(), 3);
  EXPECT_EQ(image->Stretch(), smTile);
  EXPECT_EQ(image->Texture()->Width(), 12);
  EXPECT_EQ(image->Texture()->Height(), 60);
  if (version >= 1.02) {
    EXPECT_EQ(image->GradientBeginColor().Value(), TColor(0x000000FF));
    EXPECT_EQ(image->GradientEndColor().Value(), TColor(0x0000FF00));
    EXPECT_EQ(image->Gradient(), gmVertical);
  } else {
    EXPECT_EQ(image->GradientBeginColor().Value(), clNone);
    EXPECT_EQ(image->Gradient(), gmHorizontal);
  }
  if (version >= 1.15) {
    ASSERT_EQ(image->ColorPalettes()->Count(), 1);
    TdxSkinColorPalette* hot = image->ColorPalettes()->Items(0);
    EXPECT_EQ(hot->Name(), L"Hot");
    auto* fill = dynamic_cast<TdxSkinAlphaColor*>(hot->GetItem(0));
    ASSERT_TRUE(fill);
    EXPECT_EQ(fill->Value(), TColor(0x00336699));
    EXPECT_EQ(fill->ValueAlpha(), 128);
  } else {
    EXPECT_EQ(image->ColorPalettes()->Count(), 0);
  }
  EXPECT_EQ(image->InterpolationMode(), version >= 1.24 ? imNearestNeighbor : imDefault);
  EXPECT_EQ(image->MarginsScaled(), version >= 1.26);

  // Before 1.1 each border follows two texts that are read and dropped.
  TdxSkinBorders* borders = button->Borders();
  EXPECT_EQ(borders->Left()->Color(), TColor(0x000000FF));
  EXPECT_EQ(borders->Left()->Thin(), 2);
  EXPECT_EQ(borders->Top()->Color(), clNone);
  EXPECT_EQ(borders->Bottom()->Color(), TColor(0x00808080));
  EXPECT_EQ(borders->Bottom()->Thin(), 3);
  EXPECT_EQ(borders->ContentMargins(), TRect(2, 0, 0, 3));

  auto* alternate = PropertyAs<TdxSkinAlternateImageAttributes>(button, L"AlternateImage1Hot");
  ASSERT_TRUE(alternate);
  EXPECT_EQ(alternate->Alpha(), 100);
  EXPECT_EQ(alternate->Gradient(), gmBackwardDiagonal);
  EXPECT_EQ(alternate->GradientBeginColor().Value(), TColor(0x00FFFFFF));
  EXPECT_EQ(alternate->Borders()->Right()->Color(), TColor(0x00111111));
  EXPECT_EQ(alternate->BordersInner()->Right()->Color(), clNone);
  EXPECT_EQ(alternate->ContentOffsets(), TRect(1, 1, 1, 1));

  EXPECT_EQ(skin->ColorPalettes()->Count(), version >= 1.15 ? 2 : 0);
  EXPECT_EQ(skin->ActiveColorPaletteName(), L"Default");
}

TEST_P(SkinStreamVersion, SavesAndLoadsBackEqual) {
  const TOwned<TdxSkin> skin = LoadSkin(ReadSkinFixture(L"lilian-" + UTF8ToString(GetParam().Name) + L".skin"));
  const std::string saved = SaveSkin(skin.get());
  const TOwned<TdxSkin> again = LoadSkin(saved);
  EXPECT_TRUE(again->Compare(skin.get()));
  EXPECT_TRUE(SaveSkin(again.get()) == saved) << "a second round trip changes nothing";
}

INSTANTIATE_TEST_SUITE_P(Versions, SkinStreamVersion,
                         testing::Values(TVersionCase{"1.0", 1.0}, TVersionCase{"1.02", 1.02},
                                         TVersionCase{"1.04", 1.04}, TVersionCase{"1.09", 1.09},
                                         TVersionCase{"1.1", 1.1}, TVersionCase{"1.15", 1.15},
                                         TVersionCase{"1.24", 1.24}, TVersionCase{"1.26", 1.26}),
                         [](const auto& info) {
                           std::string name = std::string("v") + info.param.Name;
                           std::erase(name, '.');
                           return name;
                         });

TEST(SkinStream, TheSkinBuiltInCodeSavesTheBytesOfTheFixture) {
  const TOwned<TdxSkin> skin = BuildLilianSkin();
  const std::string fixture = ReadSkinFixture(L"lilian-1.26.skin");
  const std::string saved = SaveSkin(skin.get());
  ASSERT_EQ(saved.size(), fixture.size());
  EXPECT_TRUE(saved == fixture) << "first difference at byte "
                                << std::mismatch(saved.begin(), saved.end(), fixture.begin()).first - saved.begin();
  EXPECT_TRUE(LoadSkin(fixture)->Compare(skin.get()));
}

TEST(SkinStream, ALoadIsReportedOnceAndReplacesWhatTheSkinHeld) {
  const TOwned<TdxSkin> skin = BuildLilianSkin();
  skin->AddGroup(L"Extra");
  TSkinChangeCounter counter;
  skin->SetOnChange(BindEvent<&TSkinChangeCounter::Changed>(&counter));
  TOwned<TMemoryStream> stream = StreamOf(ReadSkinFixture(L"lilian-1.0.skin"));
  skin->LoadFromStream(stream.get());
  EXPECT_EQ(counter.Count, 1);
  EXPECT_EQ(skin->GroupCount(), 2);
  EXPECT_FALSE(skin->GetGroupByName(L"Extra"));
  EXPECT_EQ(skin->ColorPalettes()->Count(), 0);
}

// ---------------------------------------------------------------------------
// Damaged streams

// The offset of the first (or ASkip + 1st) occurrence of ANeedle.
std::size_t OffsetOf(const std::string& AHaystack, const std::string& ANeedle, int ASkip = 0) {
  std::size_t at = AHaystack.find(ANeedle);
  while (ASkip-- > 0 && at != std::string::npos) at = AHaystack.find(ANeedle, at + 1);
  EXPECT_NE(at, std::string::npos);
  return at;
}

void PutInt32(std::string& ABytes, std::size_t AOffset, std::uint32_t AValue) {
  std::memcpy(ABytes.data() + AOffset, &AValue, 4);
}

std::string Int32Bytes(int AValue) { return std::string(reinterpret_cast<const char*>(&AValue), 4); }

enum class TExpectedError { Read, Format, ClassNotFound };

struct TDamageCase {
  const char* Name;
  std::string (*Damage)(std::string);
  TExpectedError Error;
};

const std::string MarginsOfTheImage = Int32Bytes(8) + Int32Bytes(4) + Int32Bytes(8) + Int32Bytes(4);

const TDamageCase DamageCases[] = {
    {"skin name longer than the stream",
     [](std::string s) { PutInt32(s, 18, 0x7FFFFFFF); return s; }, TExpectedError::Read},
    {"notes longer than the stream",
     [](std::string s) { PutInt32(s, OffsetOf(s, "Custom") + 6, 0x40000000); return s; }, TExpectedError::Read},
    {"more colours than the stream holds",
     [](std::string s) { PutInt32(s, OffsetOf(s, "\x0c\0\0\0TdxSkinColor", 0) - 4, 0x10000000); return s; },
     TExpectedError::Read},
    {"texture longer than the stream",
     [](std::string s) { PutInt32(s, OffsetOf(s, "\x89PNG", 1) - 4, 0x7FFFFFF0); return s; }, TExpectedError::Read},
    {"stream cut in the middle", [](std::string s) { return s.substr(0, s.size() / 2); }, TExpectedError::Read},
    {"image layout past vertical",
     [](std::string s) { s[OffsetOf(s, MarginsOfTheImage) + 16] = 2; return s; }, TExpectedError::Format},
    {"stretch mode past no-resize",
     [](std::string s) { s[OffsetOf(s, MarginsOfTheImage) + 16 + 1 + 4 + 2] = 3; return s; },
     TExpectedError::Format},
    {"state count times image count past 32 bits",
     [](std::string s) { PutInt32(s, OffsetOf(s, MarginsOfTheImage) + 17, 0x7FFFFFFF); return s; },
     TExpectedError::Format},
    {"a registered class that is no property",
     [](std::string s) { s.replace(OffsetOf(s, "TdxSkinColor"), 12, "TdxSkinImage"); return s; },
     TExpectedError::ClassNotFound},
    {"an unknown class",
     [](std::string s) { s.replace(OffsetOf(s, "TdxSkinColor"), 12, "TdxSkinColoX"); return s; },
     TExpectedError::ClassNotFound},
    {"texture that does not decode",
     [](std::string s) { s.replace(OffsetOf(s, "IDAT", 1) + 4, 8, "garbage!"); return s; }, TExpectedError::Format},
    {"bad signature", [](std::string s) { s[5] = 'X'; return s; }, TExpectedError::Format},
    {"version below 1.0",
     [](std::string s) { const double v = 0.9; std::memcpy(s.data() + 10, &v, 8); return s; },
     TExpectedError::Format},
};

TEST(SkinStream, ADamagedStreamRaisesItsErrorAndLeavesTheSkinAsItWas) {
  const std::string fixture = ReadSkinFixture(L"lilian-1.26.skin");
  for (const TDamageCase& row : DamageCases) {
    SCOPED_TRACE(row.Name);
    const TOwned<TdxSkin> skin = LoadSkin(ReadSkinFixture(L"lilian-1.04.skin"));
    const TOwned<TdxSkin> before = skin->Clone(L"copy");
    TSkinChangeCounter counter;
    skin->SetOnChange(BindEvent<&TSkinChangeCounter::Changed>(&counter));
    TOwned<TMemoryStream> stream = StreamOf(row.Damage(fixture));
    switch (row.Error) {
      case TExpectedError::Read:
        EXPECT_THROW(skin->LoadFromStream(stream.get()), EReadError);
        break;
      case TExpectedError::Format:
        try {
          skin->LoadFromStream(stream.get());
          ADD_FAILURE() << "no error";
        } catch (const EdxSkinError& E) {
          EXPECT_EQ(E.Message(), L"Invalid stream format");
        }
        break;
      case TExpectedError::ClassNotFound:
        EXPECT_THROW(skin->LoadFromStream(stream.get()), EClassNotFound);
        break;
    }
    EXPECT_TRUE(skin->Compare(before.get()));
    EXPECT_EQ(skin->GroupCount(), 2);
    EXPECT_EQ(counter.Count, 0);
  }
}

// ---------------------------------------------------------------------------
// Containers

TEST(SkinContainer, CataloguesItsSkinsAndLoadsThemByIndexOrName) {
  TOwned<TMemoryStream> stream = StreamOf(ReadSkinFixture(L"two-skins.skinres"));
  const TOwned<TdxSkinBinaryReader> reader(New<TdxSkinBinaryReader>(stream.get()));
  ASSERT_EQ(reader->Count(), 2);
  EXPECT_EQ(reader->GetSkinName(0), L"First");
  EXPECT_EQ(reader->GetSkinDisplayName(1), L"Second Blue");
  EXPECT_EQ(reader->GetSkinOffset(0), 18 + 4 + 4) << "after the header, the count and the first size";

  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, String()));
  EXPECT_TRUE(reader->LoadSkin(skin.get(), L"sECOND"));
  EXPECT_EQ(skin->Name(), L"Second");
  EXPECT_EQ(skin->GroupCount(), 2);
  EXPECT_TRUE(reader->LoadSkin(skin.get(), String()));
  EXPECT_EQ(skin->Name(), L"First");
  EXPECT_FALSE(reader->LoadSkin(skin.get(), 2));
  EXPECT_FALSE(reader->LoadSkin(skin.get(), -1));
  EXPECT_FALSE(reader->LoadSkin(skin.get(), L"Third"));
  EXPECT_EQ(skin->Name(), L"First") << "a failed lookup loads nothing";
}

TEST(SkinContainer, APlainSkinStreamIsACatalogueOfOneAtItsStart) {
  for (const wchar_t* name : {L"lilian-1.0.skin", L"lilian-1.26.skin"}) {
    SCOPED_TRACE(UTF8Encode(name));
    const std::string prefix = "prefix";
    TOwned<TMemoryStream> stream = StreamOf(prefix + ReadSkinFixture(name));
    stream->SetPosition(static_cast<std::int64_t>(prefix.size()));
    const TOwned<TdxSkinBinaryReader> reader(New<TdxSkinBinaryReader>(stream.get()));
    ASSERT_EQ(reader->Count(), 1);
    EXPECT_EQ(reader->GetSkinName(0), L"Lilian") << "an old stream is read whole for its name";
    EXPECT_EQ(reader->GetSkinOffset(0), static_cast<std::int64_t>(prefix.size()));
  }
}

TEST(SkinContainer, TheWriterWritesWhatTheReaderReads) {
  const TOwned<TdxSkin> first = BuildLilianSkin();
  const TOwned<TdxSkin> second = LoadSkin(ReadSkinFixture(L"lilian-1.0.skin"));
  second->SetName(L"Old");
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  {
    const TOwned<TdxSkinBinaryWriter> writer(New<TdxSkinBinaryWriter>(stream.get()));
    writer->AddSkin(first.get());
    writer->AddSkin(second.get());
  }
  EXPECT_EQ(stream->Position(), 18 + 4) << "just after the count";
  stream->SetPosition(0);
  const TOwned<TdxSkinBinaryReader> reader(New<TdxSkinBinaryReader>(stream.get()));
  ASSERT_EQ(reader->Count(), 2);
  const TOwned<TdxSkin> loaded(New<TdxSkin>(nullptr, String()));
  ASSERT_TRUE(reader->LoadSkin(loaded.get(), L"old"));
  EXPECT_TRUE(loaded->Compare(second.get()));
  ASSERT_TRUE(reader->LoadSkin(loaded.get(), 0));
  EXPECT_TRUE(loaded->Compare(first.get()));

  TOwned<TMemoryStream> single(New<TMemoryStream>());
  first->SaveToBinaryStream(single.get());
  single->SetPosition(0);
  const TOwned<TdxSkin> fromBinary(New<TdxSkin>(nullptr, String()));
  fromBinary->LoadFromBinaryStream(single.get());
  EXPECT_TRUE(fromBinary->Compare(first.get()));
}

TEST(SkinContainer, AnEntryWhoseSizeIsNotPositiveOrRunsPastTheEndEndsTheContainer) {
  const std::string container = ReadSkinFixture(L"two-skins.skinres");
  // Header, count, the first size at 22, the first skin, the second size.
  std::int32_t firstSize = 0;
  std::memcpy(&firstSize, container.data() + 22, 4);
  const std::size_t secondSizeAt = 26 + static_cast<std::size_t>(firstSize);
  struct {
    const char* Name;
    std::uint32_t Size;
  } const rows[] = {{"size zero", 0}, {"size negative", 0xFFFFFFF0}, {"size past the end", 0x7FFFFFFF}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    std::string damaged = container;
    PutInt32(damaged, secondSizeAt, row.Size);
    TOwned<TMemoryStream> stream = StreamOf(damaged);
    // The stream is then read as one skin; a container is none: its count
    // and sizes stand where a skin keeps its name and texts.
    EXPECT_THROW(TOwned<TdxSkinBinaryReader>(New<TdxSkinBinaryReader>(stream.get())), EReadError);
  }
  TOwned<TMemoryStream> stream = StreamOf(container);
  EXPECT_EQ(TOwned<TdxSkinBinaryReader>(New<TdxSkinBinaryReader>(stream.get()))->Count(), 2) << "undamaged";
}

// ---------------------------------------------------------------------------
// An image's names and files

// The names come from the element and whether the image is its glyph; the
// extension from the texture's kind.
TEST(SkinImageFiles, NamesComeFromTheElementAndTheTexture) {
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Files"));
  TdxSkinElement* element = skin->AddGroup(L"Common")->AddElement(L"Button");
  EXPECT_EQ(element->Image()->Name(), L"") << "empty";
  EXPECT_EQ(element->Image()->SourceName(), L"");
  TOwned<TMemoryStream> png = StreamOf(ReadSkinFixture(L"nine-texture.png"));
  element->Image()->LoadFromStream(png.get());
  EXPECT_EQ(element->Image()->Name(), L"Button_Image.png");
  EXPECT_EQ(element->Image()->SourceName(), L"Common\\Button_Image.png");
  TOwned<TMemoryStream> svg = StreamOf(ReadSkinFixture(L"vector-texture.svg"));
  element->Glyph()->LoadFromStream(svg.get());
  EXPECT_EQ(element->Glyph()->Name(), L"Button_Glyph.svg");
  // Without an owner there is no name to give.
  const TOwned<TdxSkinImage> alone(New<TdxSkinImage>(nullptr));
  png->SetPosition(0);
  alone->LoadFromStream(png.get());
  EXPECT_EQ(alone->Name(), L"");
  EXPECT_EQ(alone->SourceName(), L"");
}

// Saving takes the extension of the texture's kind and records the file;
// loading it back gives the same picture and records the file too.
TEST(SkinImageFiles, SavedFilesLoadBackAndBecomeTheSourceName) {
  const TTempDir dir;
  const TOwned<TdxSkin> skin(New<TdxSkin>(nullptr, L"Files"));
  TdxSkinImage* image = skin->AddGroup(L"Common")->AddElement(L"Button")->Image();
  image->SaveToFile(dir.File(L"nothing.png"));
  EXPECT_TRUE(ReadFileBytes(dir.File(L"nothing.png")).empty()) << "an empty image writes no file";
  const std::string fixture = ReadSkinFixture(L"nine-texture.png");
  TOwned<TMemoryStream> png = StreamOf(fixture);
  image->LoadFromStream(png.get());
  image->SaveToFile(dir.File(L"frames.bmp"));
  EXPECT_EQ(image->SourceName(), dir.File(L"frames.png"));
  EXPECT_EQ(ReadFileBytes(dir.File(L"frames.png")).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_TRUE(ReadFileBytes(dir.File(L"frames.bmp")).empty());

  const TOwned<TdxSkinImage> loaded(New<TdxSkinImage>(nullptr));
  loaded->SetName(dir.File(L"frames.png"));
  EXPECT_EQ(loaded->SourceName(), dir.File(L"frames.png"));
  EXPECT_TRUE(loaded->Texture()->Compare(image->Texture()));
  TOwned<TMemoryStream> saved(New<TMemoryStream>());
  loaded->SaveToStream(saved.get());
  EXPECT_EQ(BytesOf(saved.get()).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

  // A file that cannot be opened raises and leaves the image empty, with no
  // name that would make it look filled.
  const TOwned<TdxSkinImage> missing(New<TdxSkinImage>(nullptr));
  EXPECT_THROW(missing->LoadFromFile(dir.File(L"absent.png")), EFOpenError);
  EXPECT_TRUE(missing->Empty());
}

}  // namespace
