// Fuzzing drivers of the foundation: the ZIP reader and the typed-stream
// (tagged variant) reader get mutated archives and streams; each must end
// with a result or one of its documented exceptions, never a crash, a hang
// or a read outside its input.
//
// Usage: fuzz_library_core.exe [zip] [typed-stream] [date-format] [calendar] [--rounds N] [--seed S]
#include "fuzzers/library_core/DateFuzz.h"
#include "fuzzers/support/FormatMutators.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/core/CoreUnits.h"
#include "library/core/data/cxVariants.h"
#include "library/core/containers/dxHashUtils.h"
#include "library/core/data/dxZIPUtils.h"
#include "platform/runtime/FMTBcd.h"
#include "platform/runtime/Handles.h"
#include "platform/runtime/SqlTimSt.h"
#include "platform/ui/UiUnits.h"

#include <zlib.h>

#include <string>
#include <vector>

namespace {

TOwned<TMemoryStream> StreamOf(const std::string& ABytes) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  s->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
  s->SetPosition(0);
  return s;
}

std::string ContentOf(TMemoryStream* AStream) {
  return std::string(static_cast<const char*>(AStream->Memory()), static_cast<std::size_t>(AStream->Size()));
}

// ---------------------------------------------------------------------------
// ZIP archives

struct TFuzzZipItem {
  RawByteString Name;
  std::string Data;
  bool Deflate;
  bool Descriptor;  // sizes and CRC after the data
  bool Directory;
};

void Put(std::string& AOut, std::uint32_t AValue, int ASize) {
  for (int i = 0; i < ASize; ++i) AOut.push_back(static_cast<char>(AValue >> (8 * i)));
}

std::string RawDeflate(const std::string& AData) {
  z_stream z{};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, static_cast<uLong>(AData.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(AData.data()));
  z.avail_in = static_cast<uInt>(AData.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// An archive written with the library's own local-header writer and a
// central directory and end record added here.
std::string MakeArchive(const std::vector<TFuzzZipItem>& AItems) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  std::string directory;
  for (const TFuzzZipItem& item : AItems) {
    const std::string packed = item.Deflate ? RawDeflate(item.Data) : item.Data;
    const std::uint32_t crc = item.Data.empty() ? 0 : CalculateCrc32(item.Data.data(), item.Data.size());
    TdxZIPFileEntry entry = TdxZIPFileEntry::Create(item.Name, 0x5A8A1C5C, crc, static_cast<std::int32_t>(packed.size()),
                                                    static_cast<std::int32_t>(item.Data.size()));
    entry.Method = item.Deflate ? 8 : 0;
    const auto offset = static_cast<std::uint32_t>(s->Position());
    if (item.Descriptor) {
      entry.Flag = 8;
      entry.CRC32 = 0;
      entry.PackedSize = 0;
      entry.OriginalSize = 0;
    }
    entry.WriteToStream(s.get());
    s->WriteBuffer(packed.data(), static_cast<std::int64_t>(packed.size()));
    if (item.Descriptor) {
      std::string descriptor;
      Put(descriptor, 0x08074B50, 4);
      Put(descriptor, crc, 4);
      Put(descriptor, static_cast<std::uint32_t>(packed.size()), 4);
      Put(descriptor, static_cast<std::uint32_t>(item.Data.size()), 4);
      s->WriteBuffer(descriptor.data(), static_cast<std::int64_t>(descriptor.size()));
    }
    Put(directory, dxZIPCentralDirSignature, 4);
    Put(directory, 20, 2);
    Put(directory, 20, 2);
    Put(directory, item.Descriptor ? 8 : 0, 2);
    Put(directory, item.Deflate ? 8 : 0, 2);
    Put(directory, 0x5A8A1C5C, 4);
    Put(directory, crc, 4);
    Put(directory, static_cast<std::uint32_t>(packed.size()), 4);
    Put(directory, static_cast<std::uint32_t>(item.Data.size()), 4);
    Put(directory, static_cast<std::uint32_t>(entry.Name.size()), 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, 0, 2);
    Put(directory, item.Directory ? 0x10 : 0x20, 4);
    Put(directory, offset, 4);
    directory += entry.Name;
  }
  const auto start = static_cast<std::uint32_t>(s->Position());
  std::string end;
  Put(end, dxZIPEndOfCentralDirSignature, 4);
  Put(end, 0, 4);
  Put(end, static_cast<std::uint32_t>(AItems.size()), 2);
  Put(end, static_cast<std::uint32_t>(AItems.size()), 2);
  Put(end, static_cast<std::uint32_t>(directory.size()), 4);
  Put(end, start, 4);
  Put(end, 0, 2);
  s->WriteBuffer(directory.data(), static_cast<std::int64_t>(directory.size()));
  s->WriteBuffer(end.data(), static_cast<std::int64_t>(end.size()));
  return ContentOf(s.get());
}

std::string ReadWholeFile(const wchar_t* AName) {
  TKernelHandle file(CreateFileW(AName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  char buffer[65536];
  DWORD n = 0;
  while (file.Valid() && ::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n) bytes.append(buffer, n);
  return bytes;
}

std::vector<std::string> ZipSeeds() {
  std::string text;
  for (int i = 0; i < 400; ++i) text += "line " + std::to_string(i * 7919 % 1000) + (i % 9 ? " " : "\n");
  std::string binary;
  for (int i = 0; i < 700; ++i) binary.push_back(static_cast<char>(i * 131 + (i >> 3)));
  std::vector<std::string> seeds = {
      MakeArchive({{"text.txt", text, true, false, false},
                   {"bin/data.bin", binary, false, false, false},
                   {"empty.txt", "", false, false, false},
                   {"dir/", "", false, false, true}}),
      MakeArchive({{"a\\b.png", text, true, true, false}, {"c.bin", binary, true, true, false}}),
      MakeArchive({{"one", "x", false, false, false}}),
  };
  // The archives Info-ZIP made for the tests, when the build has them.
  for (const wchar_t* name : {L"testdata\\library_core\\zip\\mixed.zip", L"testdata\\library_core\\zip\\tree.zip",
                              L"testdata\\library_core\\zip\\descriptor.zip"}) {
    std::string bytes = ReadWholeFile(name);
    if (!bytes.empty()) seeds.push_back(std::move(bytes));
  }
  return seeds;
}

void RunZip(const std::string& AInput) {
  TOwned<TdxZIPStreamReader> zip;
  try {
    zip.reset(New<TdxZIPStreamReader>(StreamOf(AInput).release(), true));
  } catch (const Exception&) {
    return;
  }
  for (const TdxZIPFileEntry& entry : zip->Files()) {
    TdxZIPFileEntry found;
    zip->FindEntry(entry.Name, found);
    // Into a stream's end (straight into its memory) and over its bytes.
    for (std::int64_t position : {4, 1}) {
      TOwned<TMemoryStream> target = StreamOf("keep");
      target->SetPosition(position);
      try {
        zip->Extract(entry, target.get());
      } catch (const Exception&) {
        if (ContentOf(target.get()) != "keep") std::abort();  // a failed entry must leave the target alone
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Tagged variants and typed streams

std::vector<std::string> VariantSeeds() {
  TBcd bcd;
  TryStrToBcd(L"-1234.5678", bcd, TFormatSettings());
  const std::vector<Variant> values = {
      Variant(), Null(), Variant(true), Variant(false), Variant(-1), Variant(200), Variant(70000),
      Variant(5000000000ll), Variant(1.5f), Variant(3.25), Variant(Currency::FromScaled(123456)),
      Variant::FromDateTime(45000.5), Variant(L"wide text"), Variant(RawByteString("bytes")),
      Variant(RawByteString(300, 'z')), VarFMTBcdCreate(bcd), VarSQLTimeStampCreate(45000.25),
      VarArrayOf({1, L"x", VarArrayOf({Null(), 2.5, VarArrayOf({})})})};
  std::vector<std::string> seeds;
  TOwned<TMemoryStream> all(New<TMemoryStream>());
  for (const Variant& v : values) {
    TOwned<TMemoryStream> one(New<TMemoryStream>());
    WriteVariantToStream(one.get(), v);
    WriteVariantToStream(all.get(), v);
    seeds.push_back(ContentOf(one.get()));
  }
  seeds.push_back(ContentOf(all.get()));
  TOwned<TMemoryStream> typed(New<TMemoryStream>());
  WriteAnsiStringToStream(typed.get(), "ansi");
  WriteWideStringToStream(typed.get(), L"wide");
  WriteExtendedToStream(typed.get(), 2.5L);
  seeds.push_back(ContentOf(typed.get()));
  return seeds;
}

void RunTypedStream(const std::string& AInput) {
  {
    TOwned<TMemoryStream> in = StreamOf(AInput);
    while (in->Position() < in->Size()) {
      Variant v;
      try {
        ReadVariantFromStream(in.get(), v);
      } catch (const Exception&) {
        break;
      }
      // What was read compares, converts and writes back without harm.
      TOwned<TMemoryStream> out(New<TMemoryStream>());
      try {
        if (CompareVariants(v, v) != 0) std::abort();
        VarToStr(v);
      } catch (const Exception&) {
      }
      try {
        WriteVariantToStream(out.get(), v);
      } catch (const Exception&) {
      }
    }
  }
  TOwned<TMemoryStream> in = StreamOf(AInput);
  try {
    ReadAnsiStringFromStream(in.get());
    ReadWideStringFromStream(in.get());
    ReadExtendedFromStream(in.get());
  } catch (const Exception&) {
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits()});
  static const TFuzzDriver drivers[] = {
      {L"zip", &ZipSeeds, &RunZip, &MutateZip},
      {L"typed-stream", &VariantSeeds, &RunTypedStream},
      {L"date-format", &DateFormatSeeds, &RunDateFormat},
      {L"calendar", &CalendarSeeds, &RunCalendar},
  };
  const int result = RunFuzzDrivers(argc, argv, drivers);
  FinalizeUnits();
  return result;
}
