#include "library/core/base/dxStringHelper.h"

void TStringBuilder::SetCapacity(int AValue) {
  if (AValue < 0) throw EArgumentOutOfRangeException(L"Ungültige Kapazität (%d)", {AValue});
  if (AValue > Capacity()) FData.reserve(static_cast<std::size_t>(AValue));
}

TStringBuilder& TStringBuilder::Append(std::int64_t AValue) {
  FData.append(std::to_wstring(AValue));
  return *this;
}

std::atomic<TStringBuilder*> TdxStringBuilderManager::FSlots[TdxStringBuilderManager::SlotCount];

TStringBuilder* TdxStringBuilderManager::Get(int ACapacity) {
  for (std::atomic<TStringBuilder*>& slot : FSlots) {
    if (TStringBuilder* builder = slot.exchange(nullptr)) {
      builder->Clear();
      if (builder->Capacity() < ACapacity) builder->SetCapacity(ACapacity);
      return builder;
    }
  }
  return New<TStringBuilder>(ACapacity < 0 ? 0 : ACapacity);
}

void TdxStringBuilderManager::Release(TStringBuilder*& ABuilder) {
  TStringBuilder* carried = std::exchange(ABuilder, nullptr);
  if (!carried) return;
  if (carried->Capacity() < MaxPooledCapacity)
    for (std::atomic<TStringBuilder*>& slot : FSlots) {
      carried = slot.exchange(carried);
      if (!carried) return;
    }
  carried->Free();
}

void TdxStringBuilderManager::Finalize() {
  for (std::atomic<TStringBuilder*>& slot : FSlots)
    if (TStringBuilder* builder = slot.exchange(nullptr)) builder->Free();
}

void dxStringHelperFinalization() { TdxStringBuilderManager::Finalize(); }
