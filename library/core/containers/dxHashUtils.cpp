#include "library/core/containers/dxHashUtils.h"

#include "library/core/base/dxCore.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <array>
#include <vector>

// ---------------------------------------------------------------------------
// Checksums and hashes

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrc32Table() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

// Slicing by eight: table K gives the CRC of a byte followed by K zero bytes,
// so eight bytes are folded in with eight lookups and no dependency chain.
constexpr std::array<std::array<std::uint32_t, 256>, 8> MakeCrc32Tables() {
  std::array<std::array<std::uint32_t, 256>, 8> tables{};
  tables[0] = MakeCrc32Table();
  for (std::size_t k = 1; k < 8; ++k)
    for (std::size_t i = 0; i < 256; ++i)
      tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
  return tables;
}

constexpr std::array<std::array<std::uint32_t, 256>, 8> Crc32Tables = MakeCrc32Tables();
constexpr const std::array<std::uint32_t, 256>& Crc32Table = Crc32Tables[0];

constexpr std::uint32_t Rotl(std::uint32_t AValue, int AShift) { return (AValue << AShift) | (AValue >> (32 - AShift)); }

std::uint32_t ReadLE32(const std::uint8_t* P) {
  return static_cast<std::uint32_t>(P[0]) | static_cast<std::uint32_t>(P[1]) << 8 |
         static_cast<std::uint32_t>(P[2]) << 16 | static_cast<std::uint32_t>(P[3]) << 24;
}

}  // namespace

std::uint32_t UpdateCrc32(const void* ABuffer, std::size_t ASize, std::uint32_t ACrc) {
  const auto* p = static_cast<const std::uint8_t*>(ABuffer);
  std::uint32_t crc = ACrc;
  const auto& t = Crc32Tables;
  for (; ASize >= 8; ASize -= 8, p += 8) {
    const std::uint32_t low = ReadLE32(p) ^ crc, high = ReadLE32(p + 4);
    crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
          t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
  }
  for (std::size_t i = 0; i < ASize; ++i) crc = Crc32Table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

std::uint32_t CalculateCrc32(const void* ABuffer, std::size_t ASize) {
  return ~UpdateCrc32(ABuffer, ASize, 0xFFFFFFFFu);
}

std::uint32_t CalculateStreamCrc32(TStream* AStream, std::int64_t AOffset, std::int64_t ACount) {
  constexpr int ChunkSize = 65535;
  const std::int64_t position = AStream->Position();
  std::uint32_t crc = 0xFFFFFFFFu;
  TryFinally(
      [&] {
        AStream->SetPosition(AOffset);
        std::vector<std::uint8_t> buffer(
            static_cast<std::size_t>(std::min<std::int64_t>(std::max<std::int64_t>(ACount, 0), ChunkSize)));
        std::int64_t left = ACount;
        while (left > 0) {
          const int wanted = static_cast<int>(std::min<std::int64_t>(left, ChunkSize));
          const int read = AStream->Read(buffer.data(), wanted);
          if (read <= 0) break;
          crc = UpdateCrc32(buffer.data(), static_cast<std::size_t>(read), crc);
          left -= read;
        }
      },
      [&] { AStream->SetPosition(position); });
  return ~crc;
}

std::uint32_t BobJenkinsHash(const void* ABuffer, std::size_t ASize, std::uint32_t AInitial) {
  const auto* k = static_cast<const std::uint8_t*>(ABuffer);
  std::uint32_t a, b, c;
  a = b = c = 0xDEADBEEFu + static_cast<std::uint32_t>(ASize) + AInitial;
  std::size_t length = ASize;
  while (length > 12) {
    a += ReadLE32(k);
    b += ReadLE32(k + 4);
    c += ReadLE32(k + 8);
    a -= c; a ^= Rotl(c, 4);  c += b;
    b -= a; b ^= Rotl(a, 6);  a += c;
    c -= b; c ^= Rotl(b, 8);  b += a;
    a -= c; a ^= Rotl(c, 16); c += b;
    b -= a; b ^= Rotl(a, 19); a += c;
    c -= b; c ^= Rotl(b, 4);  b += a;
    length -= 12;
    k += 12;
  }
  if (length == 0) return c;
  std::uint8_t tail[12] = {};
  std::copy(k, k + length, tail);
  a += ReadLE32(tail);
  b += ReadLE32(tail + 4);
  c += ReadLE32(tail + 8);
  c ^= b; c -= Rotl(b, 14);
  a ^= c; a -= Rotl(c, 11);
  b ^= a; b -= Rotl(a, 25);
  c ^= b; c -= Rotl(b, 16);
  a ^= c; a -= Rotl(c, 4);
  b ^= a; b -= Rotl(a, 14);
  c ^= b; c -= Rotl(b, 24);
  return c;
}

std::uint32_t HashBytesShiftXor(const void* AData, std::size_t ALength) {
  const auto* p = static_cast<const std::uint8_t*>(AData);
  auto h = static_cast<std::uint32_t>(ALength);
  for (std::size_t i = 0; i < ALength; ++i) h = (h << 7) ^ p[i];
  h -= h >> 17;
  h -= h >> 11;
  h -= h >> 5;
  return h;
}

std::uint32_t HashTextUpperCase(const wchar_t* AText, int ALength, wchar_t* ABuffer, int ABufferLength, LCID ALocale) {
  if (!AText) return 0;
  if (ALength <= 0) ALength = static_cast<int>(wcslen(AText));
  const wchar_t* text = AText;
  if (ABuffer && ABufferLength > 0 && ALength > 0) {
    const int mapped = LCMapStringW(ALocale, LCMAP_UPPERCASE, AText, ALength, ABuffer, ABufferLength);
    if (mapped > 0) {
      text = ABuffer;
      ALength = mapped;
    }
  }
  std::uint32_t h = 0;
  for (int i = 0; i < ALength; ++i) {
    h = (h << 4) + static_cast<std::uint16_t>(text[i]);
    const std::uint32_t g = h & 0xF0000000u;
    if (g) h ^= g >> 24;
    h &= ~g;
  }
  return h;
}

std::uint32_t MurmurHash2Text(const String& AText, std::uint32_t ASeed) {
  constexpr std::uint32_t m = 0x5BD1E995u;
  constexpr int r = 24;
  const auto* data = reinterpret_cast<const std::uint8_t*>(AText.data());
  std::size_t length = AText.size() * sizeof(wchar_t);
  std::uint32_t h = ASeed ^ static_cast<std::uint32_t>(AText.size());
  while (length >= 4) {
    std::uint32_t k = ReadLE32(data);
    k *= m;
    k ^= k >> r;
    k *= m;
    h *= m;
    h ^= k;
    data += 4;
    length -= 4;
  }
  switch (length) {
    case 3: h ^= static_cast<std::uint32_t>(data[2]) << 16; [[fallthrough]];
    case 2: h ^= static_cast<std::uint32_t>(data[1]) << 8; [[fallthrough]];
    case 1:
      h ^= data[0];
      h *= m;
  }
  h ^= h >> 13;
  h *= m;
  h ^= h >> 15;
  return h;
}

// ---------------------------------------------------------------------------
// TdxDynamicListItem

void TdxDynamicListItem::Create(TdxDynamicItemList* AOwner, int AIndex) {
  FOwner = AOwner;
  FIndex = AIndex;
}

void TdxDynamicListItem::Destroy() {
  if (FOwner) FOwner->RemoveItem(this);
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// TdxDynamicItemList

void TdxDynamicItemList::Destroy() {
  Clear();
  inherited::Destroy();
}

TdxDynamicListItem* TdxDynamicItemList::FindItem(int AIndex) {
  if (!FFirst || AIndex < FFirst->FIndex || AIndex > FLast->FIndex) return nullptr;
  // Start from whichever of first, last and cursor lies nearest.
  TdxDynamicListItem* item = FFirst;
  std::int64_t distance = static_cast<std::int64_t>(AIndex) - FFirst->FIndex;
  if (static_cast<std::int64_t>(FLast->FIndex) - AIndex < distance) {
    item = FLast;
    distance = static_cast<std::int64_t>(FLast->FIndex) - AIndex;
  }
  if (FCurrentItem) {
    const std::int64_t d = std::abs(static_cast<std::int64_t>(FCurrentItem->FIndex) - AIndex);
    if (d < distance) item = FCurrentItem;
  }
  // The first item whose index is at least AIndex.
  while (item->FPrev && item->FPrev->FIndex >= AIndex) item = item->FPrev;
  while (item && item->FIndex < AIndex) item = item->FNext;
  FCurrentItem = item;
  return item;
}

TdxDynamicListItem* TdxDynamicItemList::GetItem(int AIndex) {
  TdxDynamicListItem* item = FindItem(AIndex);
  return item && item->FIndex == AIndex ? item : nullptr;
}

void TdxDynamicItemList::SetItem(int AIndex, TdxDynamicListItem* AValue) { GetOrCreateItem(AIndex)->Assign(AValue); }

TdxDynamicListItem* TdxDynamicItemList::GetOrCreateItem(int AIndex) {
  TdxDynamicListItem* following = FindItem(AIndex);
  if (following && following->FIndex == AIndex) return following;
  TdxDynamicListItem* item = NewOfClass<TdxDynamicListItem>(ListItemClass(), this, AIndex);
  FCurrentItem = item;
  InsertItem(item, following);
  ItemCreated(item);
  return item;
}

void TdxDynamicItemList::InsertItem(TdxDynamicListItem* AItem, TdxDynamicListItem* ANearItem) {
  auto linkBefore = [&](TdxDynamicListItem* ANext) {
    AItem->FNext = ANext;
    AItem->FPrev = ANext->FPrev;
    if (ANext->FPrev) ANext->FPrev->FNext = AItem;
    else FFirst = AItem;
    ANext->FPrev = AItem;
  };
  auto linkAfter = [&](TdxDynamicListItem* APrev) {
    AItem->FPrev = APrev;
    AItem->FNext = APrev->FNext;
    if (APrev->FNext) APrev->FNext->FPrev = AItem;
    else FLast = AItem;
    APrev->FNext = AItem;
  };
  if (!FFirst) {
    AItem->FPrev = AItem->FNext = nullptr;
    FFirst = FLast = AItem;
  } else if (AItem->FIndex < FFirst->FIndex) {
    linkBefore(FFirst);
  } else if (AItem->FIndex > FLast->FIndex) {
    linkAfter(FLast);
  } else if (!ANearItem) {
    throw EdxException(String(L"TdxDynamicItemList.InsertItem"));
  } else if (ANearItem->FIndex == AItem->FIndex) {
    linkAfter(ANearItem);
  } else {
    linkBefore(ANearItem);
  }
}

void TdxDynamicItemList::RemoveItem(TdxDynamicListItem* AItem) {
  if (FCurrentItem == AItem) FCurrentItem = nullptr;
  if (FIsDeletion) return;
  if (AItem->FPrev) AItem->FPrev->FNext = AItem->FNext;
  else if (FFirst == AItem) FFirst = AItem->FNext;
  if (AItem->FNext) AItem->FNext->FPrev = AItem->FPrev;
  else if (FLast == AItem) FLast = AItem->FPrev;
  AItem->FPrev = AItem->FNext = nullptr;
}

void TdxDynamicItemList::ForEach(const TdxDynamicItemListForEachProc& AProc, bool AForward) {
  ForEachInRange(AProc, FirstIndex(), LastIndex(), AForward);
}

void TdxDynamicItemList::ForEachInRange(const TdxDynamicItemListForEachProc& AProc, int AFrom, int ATo, bool AForward) {
  if (!FFirst) return;
  TdxDynamicListItem* item;
  if (AForward) {
    // From the first item, or from the cursor when it is the nearer start.
    item = FFirst;
    if (FCurrentItem && (FCurrentItem->FIndex <= AFrom ||
                         static_cast<std::int64_t>(FCurrentItem->FIndex) - AFrom <
                             static_cast<std::int64_t>(AFrom) - FFirst->FIndex))
      item = FCurrentItem;
    while (item->FPrev && item->FPrev->FIndex >= AFrom) item = item->FPrev;
    while (item && item->FIndex < AFrom) item = item->FNext;
    while (item && item->FIndex <= ATo) {
      TdxDynamicListItem* next = item->FNext;
      AProc(item);
      item = next;
    }
  } else {
    item = FLast;
    if (FCurrentItem && (FCurrentItem->FIndex >= ATo ||
                         static_cast<std::int64_t>(ATo) - FCurrentItem->FIndex <
                             static_cast<std::int64_t>(FLast->FIndex) - ATo))
      item = FCurrentItem;
    while (item->FNext && item->FNext->FIndex <= ATo) item = item->FNext;
    while (item && item->FIndex > ATo) item = item->FPrev;
    while (item && item->FIndex >= AFrom) {
      TdxDynamicListItem* prev = item->FPrev;
      AProc(item);
      item = prev;
    }
  }
  FCurrentItem = item;
}

void TdxDynamicItemList::Clear() {
  TdxDynamicListItem* item = FFirst;
  FFirst = FLast = FCurrentItem = nullptr;
  FIsDeletion = true;
  TScopeExit deleted([this] { FIsDeletion = false; });
  while (item) {
    TdxDynamicListItem* next = item->FNext;
    DeleteItem(item);
    item = next;
  }
}

// ---------------------------------------------------------------------------
// TdxHashTableItem

void TdxHashTableItem::Destroy() {
  if (FHashTable) FHashTable->ItemRemoved(this);
  inherited::Destroy();
}

void TdxHashTableItem::AddRef() {
  ++FRefCount;
  if (FHashTable) ++FHashTable->FCount;
}

void TdxHashTableItem::Release() {
  if (FHashTable && FRefCount > 0) --FHashTable->FCount;
  --FRefCount;
  if (FRefCount <= 0) Free();
}

void TdxHashTableItem::HashText(std::uint32_t& AKey, const String& AText) {
  AKey = BobJenkinsHash(AText.data(), AText.size() * sizeof(wchar_t), AKey);
}

void TdxHashTableItem::HashBuffer(std::uint32_t& AKey, const void* ABuffer, std::size_t ASize) {
  AKey = BobJenkinsHash(ABuffer, ASize, AKey);
}

// ---------------------------------------------------------------------------
// TdxHashTableRow

void TdxHashTableRow::DeleteItem(TdxDynamicListItem* AItem) {
  auto* item = static_cast<TdxHashTableItem*>(AItem);
  if (item->FRefCount <= 0) {
    item->Free();
  } else {
    item->FHashTable = nullptr;
    item->FOwner = nullptr;
    item->FPrev = item->FNext = nullptr;
  }
}

// ---------------------------------------------------------------------------
// TdxHashTable

void TdxHashTable::Create() {
  inherited::Create();
  FTable.assign(RowCount, nullptr);
}

void TdxHashTable::Destroy() {
  Clear();
  inherited::Destroy();
}

void TdxHashTable::AddItem(TdxHashTableItem*& AItem) {
  TdxHashTableItem* item = AItem;
  // Checked before anything changes: an item can live in one table only.
  if (item->FHashTable && item->FHashTable != this)
    throw EInvalidOperation(String(L"Hash table is already set"));
  if (item->FIndex == 0) {
    std::uint32_t key = 0;
    item->CalculateKey(key);
    item->FIndex = static_cast<int>(key);
  }
  const std::uint32_t key = item->Key();
  TdxHashTableRow*& row = FTable[key % RowCount];
  if (!row) row = New<TdxHashTableRow>();
  // Already stored here: nothing to do.
  if (item->FOwner == row && item->FHashTable == this) return;

  TdxDynamicListItem* found = row->FindItem(item->FIndex);
  TdxDynamicListItem* nearItem = found;
  for (TdxDynamicListItem* candidate = found; candidate && candidate->FIndex == item->FIndex;
       candidate = candidate->FNext) {
    auto* stored = static_cast<TdxHashTableItem*>(candidate);
    if (stored->IsEqual(item)) {
      if (stored != item) item->Free();
      AItem = stored;
      return;
    }
    nearItem = candidate;  // insert behind the run
  }
  item->FOwner = row;
  row->InsertItem(item, nearItem);
  item->FHashTable = this;
  if (item->FRefCount > 0) FCount += item->FRefCount;
}

void TdxHashTable::ForEachItem(const TForEachItemProc& AProc) {
  for (TdxHashTableRow* row : FTable)
    if (row) row->ForEach([&](TdxDynamicListItem* AItem) { AProc(static_cast<TdxHashTableItem*>(AItem)); });
}

void TdxHashTable::Clear() {
  TScopeExit cleared([this] { FCount = 0; });
  for (TdxHashTableRow*& row : FTable)
    if (row) FreeAndNil(row);
}

bool AssignHashTableItem(TdxHashTableItem*& AVariable, TdxHashTableItem* AItem) {
  if (AVariable == AItem) return false;
  TdxHashTableItem* old = AVariable;
  AVariable = AItem;
  if (AItem) AItem->AddRef();
  if (old) old->Release();
  return true;
}

void dxHashUtilsInitialization() { Randomize(); }
