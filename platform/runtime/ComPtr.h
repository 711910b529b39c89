// A counted reference to a COM interface that may be shared: each copy holds
// a reference of its own and releases it at the end of its life. Where one
// owner is enough, TComRef (Streams.h) says so more plainly.
//
//   TComPtr<ID2D1Factory1> factory;
//   Check(D2D1CreateFactory(..., __uuidof(ID2D1Factory1), nullptr, factory.ReceiveVoid()));
//   TComPtr<ID2D1Multithread> lock = factory.As<ID2D1Multithread>();   // nil when not offered
#pragma once

#include "platform/runtime/WinApi.h"

#include <cstddef>
#include <utility>

template <class I>
class TComPtr {
 public:
  TComPtr() = default;
  TComPtr(std::nullptr_t) {}  // NOLINT: nil converts
  // Adds a reference of its own to AInterface.
  explicit TComPtr(I* AInterface) : FInterface(AInterface) {
    if (FInterface) FInterface->AddRef();
  }
  // Takes over a reference the caller holds.
  static TComPtr Attach(I* AInterface) {
    TComPtr result;
    result.FInterface = AInterface;
    return result;
  }
  ~TComPtr() { Reset(); }

  TComPtr(const TComPtr& AOther) : TComPtr(AOther.FInterface) {}
  TComPtr(TComPtr&& AOther) noexcept : FInterface(std::exchange(AOther.FInterface, nullptr)) {}
  TComPtr& operator=(const TComPtr& AOther) {
    TComPtr(AOther).Swap(*this);
    return *this;
  }
  TComPtr& operator=(TComPtr&& AOther) noexcept {
    TComPtr(std::move(AOther)).Swap(*this);
    return *this;
  }
  TComPtr& operator=(std::nullptr_t) {
    Reset();
    return *this;
  }

  I* Get() const { return FInterface; }
  I* operator->() const { return FInterface; }
  explicit operator bool() const { return FInterface != nullptr; }
  friend bool operator==(const TComPtr& A, const TComPtr& B) { return A.FInterface == B.FInterface; }
  friend bool operator==(const TComPtr& A, std::nullptr_t) { return A.FInterface == nullptr; }

  // Releases the reference held, if any.
  void Reset() {
    if (I* old = std::exchange(FInterface, nullptr)) old->Release();
  }
  // Gives the reference up without releasing it.
  [[nodiscard]] I* Detach() { return std::exchange(FInterface, nullptr); }
  void Swap(TComPtr& AOther) noexcept { std::swap(FInterface, AOther.FInterface); }

  // For calls that hand out a new reference: releases the current one and
  // hands out the slot.
  I** Receive() {
    Reset();
    return &FInterface;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

  // The object's J, nil when it offers none.
  template <class J>
  TComPtr<J> As() const {
    TComPtr<J> result;
    if (FInterface) FInterface->QueryInterface(__uuidof(J), result.ReceiveVoid());
    return result;
  }

 private:
  I* FInterface = nullptr;
};
