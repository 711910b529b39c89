// Any bytes loaded as an image list's "DXIL" stream. A rejected stream
// raises the documented errors and leaves the list as it was; an accepted
// one gives a list whose native images and items are in step and that
// saves and loads back equal.
//
// Form text of an image list (mutated as text: numbers, names, item data):
// what reads is written, and what was written reads back and is written
// again the same, so that a form saved and loaded keeps what it holds.
#include "fuzzers/library_graphics/ImageListFuzz.h"

#include "library/graphics/imaging/cxImageList.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/classes/ClassErrors.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/classes/Streams.h"

namespace {

TOwned<TMemoryStream> StreamOver(const std::string& ABytes) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  if (!ABytes.empty()) stream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  stream->SetPosition(0);
  return stream;
}

std::string Saved(TcxCustomImageList* AList) {
  const TOwned<TMemoryStream> stream(New<TMemoryStream>());
  AList->SaveToStream(stream.get());
  return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
}

TOwned<TcxBitmap32> Square(int ASize, std::uint8_t AAlpha) {
  TOwned<TcxBitmap32> bitmap(NewWith<TcxBitmap32>([&](TcxBitmap32* B) { B->CreateSize(ASize, ASize, true); }));
  for (int y = 0; y < ASize; ++y) {
    auto* row = static_cast<RGBQUAD*>(bitmap->ScanLine(y));
    for (int x = 0; x < ASize; ++x)
      row[x] = RGBQUAD{static_cast<BYTE>(x * 9), static_cast<BYTE>(y * 9), 90, x < ASize / 2 ? AAlpha : BYTE(255)};
  }
  bitmap->Changed(bitmap.get());
  return bitmap;
}

// A list of one item, as the driver finds it before each input.
TOwned<TcxImageList> StartingList() {
  TOwned<TcxImageList> list(New<TcxImageList>(nullptr));
  list->Add(Square(16, 255).get(), nullptr);
  return list;
}

}  // namespace

void ImageListStreamInput(const std::string& AInput) {
  const TOwned<TcxImageList> list = StartingList();
  const std::string before = Saved(list.get());
  const TOwned<TMemoryStream> stream = StreamOver(AInput);
  try {
    list->LoadFromStream(stream.get());
  } catch (const EcxUnsupportedImageListStreamFormat&) {
  } catch (const EReadError&) {
  } catch (const EdxException&) {
    // An item of a class that is no graphic, or data its image refuses.
  } catch (const EInvalidGraphic&) {
  }
  if (list->Count() != list->Images()->Count()) FuzzInvariantBroken("native images and items out of step");
  const std::string after = Saved(list.get());
  if (after == before) return;
  const TOwned<TcxImageList> copy(New<TcxImageList>(nullptr));
  const TOwned<TMemoryStream> again = StreamOver(after);
  copy->LoadFromStream(again.get());
  if (!copy->Equals(list.get()) || copy->Width() != list->Width() || copy->Height() != list->Height())
    FuzzInvariantBroken("a loaded list does not load back equal");
}

std::vector<std::string> ImageListStreamSeeds() {
  std::vector<std::string> seeds;
  const TOwned<TcxImageList> list(New<TcxImageList>(nullptr));
  seeds.push_back(Saved(list.get()));
  list->Add(Square(16, 0).get(), nullptr);
  const TOwned<TcxBitmap32> strip(NewWith<TcxBitmap32>([](TcxBitmap32* B) { B->CreateSize(32, 16, true); }));
  list->AddMasked(strip.get(), clBlack);
  const TOwned<TdxPNGImage> png(New<TdxPNGImage>());
  const TOwned<TcxBitmap32> pixels = Square(8, 128);
  png->Assign(pixels.get());
  list->Add(png.get(), L"keywords", L"file.png");
  seeds.push_back(Saved(list.get()));
  list->SetSize(8, 8);
  list->Add(Square(8, 40).get(), nullptr);
  seeds.push_back(Saved(list.get()));
  return seeds;
}

// ---------------------------------------------------------------------------
// Form text

namespace {

String TextOf(const std::string& ABytes) { return String(ABytes.begin(), ABytes.end()); }

std::string BytesOf(const String& AText) {
  std::string bytes;
  for (wchar_t c : AText) bytes += static_cast<char>(c < 0x100 ? c : '?');
  return bytes;
}

// The list read from form text, or none when the text is refused.
TOwned<TComponent> ReadForm(const String& AText) {
  try {
    return TOwned<TComponent>(ReadComponentFromText(AText));
  } catch (const Exception&) {
    return {};
  }
}

}  // namespace

void ImageListFormInput(const std::string& AInput) {
  const TOwned<TComponent> read = ReadForm(TextOf(AInput));
  if (!read) return;
  String written;
  try {
    written = WriteComponentToText(read.get());
  } catch (const Exception&) {
    FuzzInvariantBroken("a list read from form text cannot be written");
  }
  const TOwned<TComponent> again = ReadForm(written);
  if (!again) FuzzInvariantBroken("written form text does not read back");
  if (WriteComponentToText(again.get()) != written) FuzzInvariantBroken("form text read back is written differently");
  auto* list = dynamic_cast<TcxCustomImageList*>(read.get());
  auto* copy = dynamic_cast<TcxCustomImageList*>(again.get());
  if (list && copy && (!copy->Equals(list) || copy->Count() != list->Count() || copy->Width() != list->Width()))
    FuzzInvariantBroken("form text read back gives another list");
}

std::vector<std::string> ImageListFormSeeds() {
  std::vector<std::string> seeds;
  const TOwned<TcxImageList> list(New<TcxImageList>(nullptr));
  list->SetName(L"Images");
  list->Add(Square(16, 255).get(), nullptr);
  const TOwned<TdxPNGImage> png(New<TdxPNGImage>());
  const TOwned<TcxBitmap32> pixels = Square(16, 128);
  png->Assign(pixels.get());
  list->Add(png.get(), L"keywords", L"file.png");
  list->AddMasked(Square(16, 255).get(), clRed);
  seeds.push_back(BytesOf(WriteComponentToText(list.get())));
  list->SetSize(24, 20);
  list->SetBkColor(clBtnFace);
  list->Add(Square(24, 60).get(), nullptr);
  seeds.push_back(BytesOf(WriteComponentToText(list.get())));
  // The class library's own list: only the native data.
  const TOwned<TImageList> plain(New<TImageList>(nullptr));
  plain->Add(Square(16, 255).get(), nullptr);
  String text = WriteComponentToText(plain.get());
  text.replace(text.find(L"TImageList"), 10, L"TcxImageList");
  seeds.push_back(BytesOf(text));
  return seeds;
}
