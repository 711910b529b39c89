// Shared helpers of the settings tests: scratch files, a scratch registry
// key, a dialog provider that records message dialogs.
#pragma once

#include "platform/ui/Dialogs.h"
#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

// A file name in the directory the program was started in, removed (with
// its backup and temporary twins) when the test ends.
class TStartDirFile {
 public:
  explicit TStartDirFile(const String& AName);
  ~TStartDirFile();
  TStartDirFile(const TStartDirFile&) = delete;
  TStartDirFile& operator=(const TStartDirFile&) = delete;
  const String& Name() const { return FName; }   // as given: relative
  const String& Full() const { return FFull; }   // in the start directory

 private:
  String FName;
  String FFull;
};

// Restores the current directory when the test ends.
class TCurrentDirGuard {
 public:
  TCurrentDirGuard();
  ~TCurrentDirGuard();
  TCurrentDirGuard(const TCurrentDirGuard&) = delete;
  TCurrentDirGuard& operator=(const TCurrentDirGuard&) = delete;

 private:
  String FSaved;
};

// A registry key below HKEY_CURRENT_USER, deleted when the test ends.
class TScratchRegistryKey {
 public:
  TScratchRegistryKey();
  ~TScratchRegistryKey();
  TScratchRegistryKey(const TScratchRegistryKey&) = delete;
  TScratchRegistryKey& operator=(const TScratchRegistryKey&) = delete;
  // Without leading "\".
  const String& Path() const { return FPath; }

 private:
  String FPath;
};

// Answers every message dialog with OK and keeps what it was asked to show.
class TRecordingDialogs : public TDialogProvider {
  SK_CLASS(TRecordingDialogs, TDialogProvider)
 public:
  TModalResult MessageDlg(const TMessageDlgParams& AParams) override {
    Shown.push_back(AParams);
    return mrOk;
  }
  void MessageSound(UINT) override {}
  std::vector<TMessageDlgParams> Shown;
};

// Installs a TRecordingDialogs for the scope.
class TDialogRecorder {
 public:
  TDialogRecorder();
  ~TDialogRecorder();
  TDialogRecorder(const TDialogRecorder&) = delete;
  TDialogRecorder& operator=(const TDialogRecorder&) = delete;
  const std::vector<TMessageDlgParams>& Shown() const { return FDialogs->Shown; }

 private:
  TRecordingDialogs* FDialogs;
  TDialogProvider* FPrevious;
};

// The entry of a virtual member function in its class's table of virtual
// functions. Under the Itanium C++ ABI, which mingw-w64 follows, a pointer to
// a virtual member holds one more than the entry's byte offset; -1 for a
// member that is not virtual.
template <class F>
std::ptrdiff_t VirtualSlot(F AMember) {
  static_assert(sizeof(F) == 2 * sizeof(std::ptrdiff_t), "a pointer to a member function");
  std::ptrdiff_t words[2];
  std::memcpy(words, &AMember, sizeof words);
  return (words[0] & 1) != 0 ? (words[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)) : -1;
}

// Whether virtual operations stand one after the other in their class's table.
inline testing::AssertionResult FollowOneAnother(const std::vector<std::ptrdiff_t>& ASlots) {
  if (ASlots.empty() || ASlots.front() < 0) return testing::AssertionFailure() << "the first is not virtual";
  for (std::size_t i = 1; i < ASlots.size(); ++i)
    if (ASlots[i] != ASlots[i - 1] + 1)
      return testing::AssertionFailure() << "operation " << i << " stands in slot " << ASlots[i] << ", after slot "
                                         << ASlots[i - 1];
  return testing::AssertionSuccess();
}

// The bytes of a file as a string, and a file from bytes.
std::string FileBytes(const String& AFileName);
inline bool FileThere(const String& AFileName) {
  return ::GetFileAttributesW(AFileName.c_str()) != INVALID_FILE_ATTRIBUTES;
}
