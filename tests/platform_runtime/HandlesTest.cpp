// Owning and borrowing handles, kernel handles and the scope-exit guard.
#include "platform/runtime/Handles.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// A handle type whose frees are recorded, with what its owner held at the
// moment of each free.
struct TRecordedFree {
  int Handle;
  int OwnerHeld;
};
std::vector<TRecordedFree> GFrees;

struct TRecordingTraits {
  using Handle = int;
  static constexpr Handle Null() { return 0; }
  static const TUniqueHandle<TRecordingTraits>* Watched;
  static void Free(Handle AHandle) { GFrees.push_back({AHandle, Watched ? Watched->Get() : -1}); }
};
const TUniqueHandle<TRecordingTraits>* TRecordingTraits::Watched = nullptr;
using TRecordedHandle = TUniqueHandle<TRecordingTraits>;

class Handles : public testing::Test {
 protected:
  void SetUp() override {
    GFrees.clear();
    TRecordingTraits::Watched = nullptr;
  }
  static std::vector<int> Freed() {
    std::vector<int> result;
    for (const TRecordedFree& f : GFrees) result.push_back(f.Handle);
    return result;
  }
};

TEST_F(Handles, AnOwnerFreesItsHandleOnceWhenItsScopeEnds) {
  {
    TRecordedHandle owner(7);
    EXPECT_TRUE(owner);
    EXPECT_EQ(owner.Get(), 7);
    EXPECT_TRUE(Freed().empty());
  }
  EXPECT_EQ(Freed(), std::vector<int>{7});
  { TRecordedHandle none; }
  EXPECT_EQ(Freed(), std::vector<int>{7});
}

TEST_F(Handles, ReleaseGivesTheHandleUpUnfreed) {
  int released = 0;
  {
    TRecordedHandle owner(3);
    released = owner.Release();
    EXPECT_FALSE(owner);
  }
  EXPECT_EQ(released, 3);
  EXPECT_TRUE(Freed().empty());
}

TEST_F(Handles, ResetTakesTheNewHandleBeforeFreeingTheOld) {
  TRecordedHandle owner(1);
  TRecordingTraits::Watched = &owner;
  owner.Reset(2);
  ASSERT_EQ(GFrees.size(), 1u);
  EXPECT_EQ(GFrees[0].Handle, 1);
  EXPECT_EQ(GFrees[0].OwnerHeld, 2);  // a free that looks at the owner sees the new handle
  owner.Reset(2);                     // the same handle again is kept, not freed
  EXPECT_EQ(Freed(), std::vector<int>{1});
  owner.Reset();
  EXPECT_EQ(Freed(), (std::vector<int>{1, 2}));
  EXPECT_EQ(GFrees[1].OwnerHeld, 0);
  TRecordingTraits::Watched = nullptr;
}

TEST_F(Handles, MovingHandsOwnershipOverAndFreesWhatTheTargetHeld) {
  TRecordedHandle a(1);
  TRecordedHandle b(std::move(a));
  EXPECT_FALSE(a);  // the moved-from owner is empty
  EXPECT_EQ(b.Get(), 1);
  TRecordedHandle c(2);
  c = std::move(b);
  EXPECT_EQ(Freed(), std::vector<int>{2});
  EXPECT_EQ(c.Get(), 1);
  TRecordedHandle& same = c;
  c = std::move(same);  // a move onto itself keeps the handle
  EXPECT_EQ(c.Get(), 1);
  EXPECT_EQ(Freed(), std::vector<int>{2});
}

TEST_F(Handles, ReceiveFreesTheOldHandleAndFillsTheSlot) {
  TRecordedHandle owner(4);
  int* slot = owner.Receive();
  EXPECT_EQ(Freed(), std::vector<int>{4});
  *slot = 5;  // as an API with an out parameter does
  EXPECT_EQ(owner.Get(), 5);
}

TEST_F(Handles, ABorrowedHandleViewsAnOwnerAndNeverFrees) {
  TRecordedHandle owner(9);
  {
    TBorrowedHandle<int> view(owner);
    EXPECT_TRUE(view);
    EXPECT_EQ(view.Get(), 9);
    TBorrowedHandle<int> copy = view;
    EXPECT_EQ(copy.Get(), 9);
  }
  EXPECT_TRUE(Freed().empty());
  EXPECT_FALSE(TBorrowedHandle<int>());
}

// A handle freed by one function, as the flat C APIs (GDI+, registry) have.
std::vector<const int*> GPointerFrees;
void FreePointer(const int* APointer) { GPointerFrees.push_back(APointer); }

TEST(FreedBy, OwnsAPointerHandleFreedByOneFunction) {
  GPointerFrees.clear();
  const int first = 1;
  const int second = 2;
  {
    TUniqueHandle<TFreedBy<const int*, &FreePointer>> owner;
    EXPECT_FALSE(owner);
    *owner.Receive() = &first;
    EXPECT_TRUE(GPointerFrees.empty());
    *owner.Receive() = &second;
    EXPECT_EQ(GPointerFrees, std::vector<const int*>{&first});
  }
  EXPECT_EQ(GPointerFrees, (std::vector<const int*>{&first, &second}));
}

// An entry point bound at run time, as the GDI+ binding fills its pointers.
void (*GBoundFree)(const int*) = nullptr;

TEST(FreedBy, ReadsAFreeBoundAtRunTimeWhenItFrees) {
  GPointerFrees.clear();
  const int object = 3;
  using TBoundHandle = TUniqueHandle<TFreedBy<const int*, &GBoundFree>>;
  TBoundHandle owner(&object);
  GBoundFree = &FreePointer;  // bound after the owner was made
  owner.Reset();
  GBoundFree = nullptr;
  EXPECT_EQ(GPointerFrees, std::vector<const int*>{&object});
}

TEST(KernelHandle, ClosesTheKernelObject) {
  HANDLE raw = nullptr;
  {
    TKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    raw = event.Get();
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
  }
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(raw, &flags));
}

TEST(KernelHandle, TheFailureValueOfCreateFileIsNoHandle) {
  TKernelHandle file(CreateFileW(L"Z:\\no\\such\\folder\\file.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(file.Get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(file.Valid());
  EXPECT_FALSE(file);
  EXPECT_FALSE(TKernelHandle());
}

TEST(ScopeExit, RunsWhenTheScopeEndsNormallyOrByAnException) {
  int runs = 0;
  { TScopeExit count([&] { ++runs; }); }
  EXPECT_EQ(runs, 1);
  EXPECT_THROW(
      {
        TScopeExit count([&] { ++runs; });
        throw std::runtime_error("failed");
      },
      std::runtime_error);
  EXPECT_EQ(runs, 2);
  {
    TScopeExit count([&] { ++runs; });
    count.Dismiss();
  }
  EXPECT_EQ(runs, 2);
}

}  // namespace
