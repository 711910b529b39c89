// Owning and borrowing wrappers for the handles of the operating system and of
// the libraries it loads (kernel objects, GDI and GDI+ objects, COM-less C
// handles). An owner frees its handle once, at the end of its life; a borrowed
// handle is only a name for something another object frees.
//
// Classes in this file:
//   TUniqueHandle<Traits>   owns one handle; move-only; frees with Traits::Free
//   TFreedBy<H, Free>       the traits of a handle that is null when empty and freed by Free
//                           (a function, or the address of a pointer bound at run time)
//   TBorrowedHandle<H>      a handle somebody else owns (never frees)
//   TKernelHandle           a kernel object (CloseHandle)
//   TRegKey                 an open registry key (RegCloseKey)
//   TGlobalMemory           a global memory block (GlobalFree)
//   TGlobalLock             a global memory block locked for a scope (GlobalLock ... GlobalUnlock)
//   TOwnedModule            a module loaded with LoadLibraryW (FreeLibrary)
//   TScopeExit              runs a callable at the end of a scope
//
// Objects of the object model are owned by TOwned<T> (System.h), not here.
//
// A traits type names the handle type, the value that means "none" and how the
// handle is freed. A handle that is null when empty and freed by one function
// needs no traits of its own:
//
//   using TGpPathHandle = TUniqueHandle<TFreedBy<GpPath*, &GdipDeletePath>>;
//
// (GdipDeletePath being the pointer the GDI+ binding fills when it loads.)
//
// One with another empty value or a free that must look first spells its
// traits out (TKernelHandleTraits).
#pragma once

#include "platform/runtime/WinApi.h"

#include <cstddef>
#include <type_traits>
#include <utility>

template <class Traits>
class TUniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  TUniqueHandle() = default;
  explicit TUniqueHandle(Handle AHandle) noexcept : FHandle(AHandle) {}
  ~TUniqueHandle() { Reset(); }

  TUniqueHandle(TUniqueHandle&& AOther) noexcept : FHandle(AOther.Release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& AOther) noexcept {
    if (this != &AOther) Reset(AOther.Release());
    return *this;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  Handle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != Traits::Null(); }

  // Gives the handle up without freeing it.
  [[nodiscard]] Handle Release() noexcept { return std::exchange(FHandle, Traits::Null()); }

  // Frees the current handle (if any) and takes AHandle. The new handle is in
  // place before the old one is freed.
  void Reset(Handle AHandle = Traits::Null()) noexcept {
    const Handle old = std::exchange(FHandle, AHandle);
    if (old != Traits::Null() && old != AHandle) Traits::Free(old);
  }

  // For APIs that return a new handle through an out parameter: frees the
  // current one and hands out the slot.
  Handle* Receive() noexcept {
    Reset();
    return &FHandle;
  }

 private:
  Handle FHandle = Traits::Null();
};

// AFree is the function, or the address of a function pointer that is bound
// when its library loads; the pointer is read at each free, not when the type
// is named.
template <class H, auto AFree>
struct TFreedBy {
  using Handle = H;
  static constexpr Handle Null() { return nullptr; }
  static void Free(Handle AHandle) {
    if constexpr (std::is_pointer_v<std::remove_pointer_t<decltype(AFree)>>)
      (*AFree)(AHandle);
    else
      AFree(AHandle);
  }
};

// A handle that belongs to somebody else: copyable, never freed here. Kept as
// its own type so that a signature says which of the two it takes.
template <class H>
class TBorrowedHandle {
 public:
  TBorrowedHandle() = default;
  explicit TBorrowedHandle(H AHandle) : FHandle(AHandle) {}
  template <class Traits, class = std::enable_if_t<std::is_same_v<typename Traits::Handle, H>>>
  TBorrowedHandle(const TUniqueHandle<Traits>& AOwner) : FHandle(AOwner.Get()) {}  // NOLINT: a view of an owner

  H Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != H{}; }

 private:
  H FHandle{};
};

struct TKernelHandleTraits {
  using Handle = HANDLE;
  static constexpr Handle Null() { return nullptr; }
  static void Free(Handle AHandle) {
    if (AHandle != INVALID_HANDLE_VALUE) ::CloseHandle(AHandle);
  }
};

// A kernel object. CreateFileW's failure value INVALID_HANDLE_VALUE is held as
// it came and never closed, and counts as no handle: both Valid() and the
// bool test are false for it, as for null.
class TKernelHandle : public TUniqueHandle<TKernelHandleTraits> {
 public:
  using TUniqueHandle::TUniqueHandle;
  bool Valid() const { return Get() != nullptr && Get() != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return Valid(); }
};

using TRegKey = TUniqueHandle<TFreedBy<HKEY, &::RegCloseKey>>;

// A block handed to the system (SetClipboardData) is released, not freed.
using TGlobalMemory = TUniqueHandle<TFreedBy<HGLOBAL, &::GlobalFree>>;

// A null block locks nothing: Data() is null and Size() zero.
class [[nodiscard]] TGlobalLock {
 public:
  explicit TGlobalLock(HGLOBAL AHandle) : FHandle(AHandle), FData(AHandle ? ::GlobalLock(AHandle) : nullptr) {}
  ~TGlobalLock() {
    if (FData) ::GlobalUnlock(FHandle);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;

  void* Data() const { return FData; }
  std::size_t Size() const { return FData ? ::GlobalSize(FHandle) : 0; }

 private:
  HGLOBAL FHandle;
  void* FData;
};

// Runs a callable when the scope ends, for the few clean-ups that have no
// owner type of their own (a flag to reset, a counter to undo). The callable
// runs in a destructor, so it must not raise; a clean-up that may raise
// belongs in TryFinally (SysUtils.h).
//
//   FUpdating = true;
//   TScopeExit done([this] { FUpdating = false; });
template <class F>
class [[nodiscard]] TScopeExit {
 public:
  explicit TScopeExit(F AOnExit) : FOnExit(std::move(AOnExit)) {}
  ~TScopeExit() {
    if (FActive) FOnExit();
  }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

  void Dismiss() { FActive = false; }

 private:
  F FOnExit;
  bool FActive = true;
};

// A module loaded with LoadLibraryW for the time its entry points are used.
using TOwnedModule = TUniqueHandle<TFreedBy<HMODULE, &::FreeLibrary>>;
