// Shared pieces of the look-and-feel tests: a painter whose name and style a
// test chooses, a listener that records what it hears, and a fixture that
// leaves the process-wide root as it found it.
#pragma once

#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A painter of a test's name and style that reports its end.
class TTestPainter : public TcxCustomLookAndFeelPainter {
  SK_CLASS(TTestPainter, TcxCustomLookAndFeelPainter)
 public:
  void Create(const String& AName, TcxLookAndFeelStyle AStyle, bool* AFreed = nullptr) {
    inherited::Create();
    FName = AName;
    FStyle = AStyle;
    FFreed = AFreed;
  }
  void Destroy() override {
    if (FFreed) *FFreed = true;
    inherited::Destroy();
  }
  String LookAndFeelName() override { return FName; }
  TcxLookAndFeelStyle LookAndFeelStyle() override { return FStyle; }

 private:
  String FName;
  TcxLookAndFeelStyle FStyle;
  bool* FFreed;
};

inline std::string ValuesText(TcxLookAndFeelValues AValues) {
  std::string r;
  for (int i = 0; i <= lfvScrollMode; ++i)
    if (AValues.Contains(static_cast<TcxLookAndFeelValue>(i))) {
      if (!r.empty()) r += ",";
      r += UTF8Encode(TEnumInfo<TcxLookAndFeelValue>::Names[i]);
    }
  return "[" + r + "]";
}

// Listens to a look-and-feel until either of them goes, recording
// "Name:begin", "Name:changed[values]", "Name:end" and "Name:destroying"
// into a log that several listeners may share.
class TRecordingListener : public TNoRefCount<TObject>,
                           public IcxLookAndFeelNotificationListener,
                           public IcxLookAndFeelNotificationListener2 {
  SK_CLASS(TRecordingListener, TObject)
 public:
  void Create(const std::string& AName, std::vector<std::string>* ALog, TcxLookAndFeel* ASource) {
    FName = AName;
    FLog = ALog;
    FSource = ASource;
    FSource->AddChangeListener(this);
  }
  void Destroy() override {
    Leave();
    inherited::Destroy();
  }
  void Leave() {
    if (FSource) std::exchange(FSource, nullptr)->RemoveChangeListener(this);
  }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxLookAndFeelNotificationListener, IcxLookAndFeelNotificationListener2>(this, AIID,
                                                                                                      AObj) ||
           inherited::GetInterface(AIID, AObj);
  }
  TObject* ListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) override {
    FLog->push_back(FName + ":changed" + ValuesText(AChangedValues));
    if (OnChanged) OnChanged(Sender);
  }
  void MasterDestroying(TcxLookAndFeel*) override {
    FLog->push_back(FName + ":destroying");
    FSource = nullptr;
  }
  void MasterBeginChange(TcxLookAndFeel*) override { FLog->push_back(FName + ":begin"); }
  void MasterEndChange(TcxLookAndFeel*) override { FLog->push_back(FName + ":end"); }

  // Run after a change is recorded.
  std::function<void(TcxLookAndFeel*)> OnChanged;

 private:
  std::string FName;
  std::vector<std::string>* FLog;
  TcxLookAndFeel* FSource;
};

// The root is shared by the whole program: each test starts and ends with it
// reset.
class TLookAndFeelFixture : public testing::Test {
 protected:
  void SetUp() override { GetRootLookAndFeel()->Reset(); }
  void TearDown() override {
    if (HasRootLookAndFeel()) GetRootLookAndFeel()->Reset();
  }

  TcxLookAndFeel* Root() { return GetRootLookAndFeel(); }
  TOwned<TcxLookAndFeel> NewLookAndFeel(TcxLookAndFeel* AMaster = nullptr) {
    TOwned<TcxLookAndFeel> r(New<TcxLookAndFeel>(nullptr));
    if (AMaster) r->SetMasterLookAndFeel(AMaster);
    return r;
  }
  TOwned<TRecordingListener> Listen(TcxLookAndFeel* ALookAndFeel, const std::string& AName) {
    return TOwned<TRecordingListener>(New<TRecordingListener>(AName, &Log, ALookAndFeel));
  }

  std::vector<std::string> Log;
};
