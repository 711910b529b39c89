// Reusable string builders.
//
// Classes in this file:
//   TStringBuilder            text built by appending, with a capacity
//   TdxStringBuilderManager   a pool of four builders shared by all threads
#pragma once

#include "platform/runtime/SysUtils.h"

#include <atomic>
#include <string_view>

class TStringBuilder : public TObject {
  SK_CLASS(TStringBuilder, TObject)
 public:
  void Create() {}
  void Create(int ACapacity) { SetCapacity(ACapacity); }

  // Properties
  int Capacity() const { return static_cast<int>(FData.capacity()); }
  // Never below the length; raises EArgumentOutOfRangeException when negative.
  void SetCapacity(int AValue);
  int Length() const { return static_cast<int>(FData.size()); }

  // Operations
  TStringBuilder& Append(std::wstring_view AText) { FData.append(AText); return *this; }
  TStringBuilder& Append(wchar_t AChar) { FData.push_back(AChar); return *this; }
  TStringBuilder& Append(std::int64_t AValue);
  TStringBuilder& AppendLine(std::wstring_view AText = {}) { FData.append(AText).append(L"\r\n"); return *this; }
  // Empties the text; the capacity stays.
  TStringBuilder& Clear() { FData.clear(); return *this; }
  const String& ToString() const { return FData; }

 private:
  String FData;
};

// A pool of four builders. The slots change only by atomic exchange, so Get
// and Release may be called from any thread.
class TdxStringBuilderManager {
 public:
  static constexpr int SlotCount = 4;
  // Builders this large are never pooled.
  static constexpr int MaxPooledCapacity = 1048576;

  // A pooled builder (slot 0 first), emptied and grown to ACapacity when
  // smaller; a new one when the pool is empty.
  static TStringBuilder* Get(int ACapacity);
  // Puts the builder into slot 0, moving the previous occupants on by one
  // slot; what falls off the end, and every builder of MaxPooledCapacity
  // characters or more, is freed. ABuilder becomes nil.
  static void Release(TStringBuilder*& ABuilder);
  // Frees the builders of all slots (the unit's shut-down).
  static void Finalize();

 private:
  static std::atomic<TStringBuilder*> FSlots[SlotCount];
};

void dxStringHelperFinalization();
