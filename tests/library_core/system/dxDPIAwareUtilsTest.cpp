#include "library/core/system/dxDPIAwareUtils.h"

#include "library/core/base/dxCore.h"
#include "platform/classes/FormReader.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

// Replaces entry points of the DPI binding for one test.
class TApiScope {
 public:
  TApiScope() : FSaved(dxDpiAwarenessApi()) {}
  ~TApiScope() {
    dxSetDpiAwarenessApi(FSaved);
    SetExecutableSubsystemVersion(0);
  }
  TApiScope(const TApiScope&) = delete;
  TApiScope& operator=(const TApiScope&) = delete;
  TdxDpiAwarenessApi& Api() { return FApi; }
  void Apply() { dxSetDpiAwarenessApi(FApi); }

 private:
  TdxDpiAwarenessApi FSaved;
  TdxDpiAwarenessApi FApi;
};

DPI_AWARENESS_CONTEXT GThreadContext = nullptr;
DPI_AWARENESS_CONTEXT WINAPI FakeThreadContext() { return GThreadContext; }
int GProcessAwareness = 0;
HRESULT WINAPI FakeProcessAwareness(HANDLE, int* AValue) {
  *AValue = GProcessAwareness;
  return S_OK;
}
HRESULT WINAPI FailingProcessAwareness(HANDLE, int*) { return E_ACCESSDENIED; }
std::vector<std::pair<int, UINT>> GMetricCalls;
int WINAPI FakeMetricsForDpi(int AIndex, UINT ADpi) {
  GMetricCalls.emplace_back(AIndex, ADpi);
  return AIndex == SM_CXPADDEDBORDER ? 4 : 10;
}

DPI_AWARENESS_CONTEXT Context(int AValue) { return reinterpret_cast<DPI_AWARENESS_CONTEXT>(static_cast<INT_PTR>(AValue)); }

TdxScaleFactor* Factor(int N, int D) {
  TdxScaleFactor* f = New<TdxScaleFactor>();
  f->Assign(N, D, false);
  return f;
}

TEST(DpiServices, ThePinnedPrefixRunsAt96Dpi) {
  EXPECT_EQ(GetScreenDpi(), 96);
  ASSERT_NE(SystemScaleFactor(), nullptr);
  EXPECT_FALSE(SystemScaleFactor()->Assigned());
  EXPECT_EQ(SystemScaleFactor()->TargetDPI(), 96);
  EXPECT_EQ(ScaleFactorToDpi(DefaultScaleFactor()), 96);
  EXPECT_EQ(SystemScaleFactor(), SystemScaleFactor()) << "one process-wide factor";
}

TEST(DpiServices, ClampsAndConvertsPointSizes) {
  EXPECT_EQ(ClampDpi(20), 30);
  EXPECT_EQ(ClampDpi(600), 480);
  EXPECT_EQ(ClampDpi(144), 144);
  EXPECT_EQ(PointSizeToHeight(8, 96), -11);
  EXPECT_EQ(PointSizeToHeight(9, 96), -12);
  EXPECT_EQ(PointSizeToHeight(9, 144), -18);
  TdxScaleFactor* f = Factor(3, 2);
  EXPECT_EQ(ScaleFactorToDpi(f), 144);
  f->Free();
}

TEST(DpiServices, AwarenessLevelComesFromTheBestEntryPointThereIs) {
  struct Case {
    const char* Name;
    bool ThreadContext;
    int ContextValue;
    int ProcessAwareness;  // -1: entry point missing, -2: it fails
    int Expected;
  };
  const int fallback = IsDpiAwareProcess() ? 1 : 0;
  const Case cases[] = {
      {"per-monitor v2 thread context", true, -4, -1, 3},
      {"unaware GDI-scaled thread context", true, -5, -1, 4},
      {"unknown thread context, process answers", true, -17, 2, 2},
      {"no thread context, process answers", false, 0, 1, 1},
      {"nothing bound", false, 0, -1, fallback},
      {"process query fails", false, 0, -2, fallback},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TApiScope scope;
    if (c.ThreadContext) scope.Api().GetThreadDpiAwarenessContext = &FakeThreadContext;
    GThreadContext = Context(c.ContextValue);
    GProcessAwareness = c.ProcessAwareness;
    if (c.ProcessAwareness >= 0) scope.Api().GetProcessDpiAwareness = &FakeProcessAwareness;
    if (c.ProcessAwareness == -2) scope.Api().GetProcessDpiAwareness = &FailingProcessAwareness;
    scope.Apply();
    EXPECT_EQ(GetDpiAwarenessLevel(), c.Expected);
  }
}

TEST(DpiServices, MetricsForAFactorAskTheSystemAtThatDpi) {
  TApiScope scope;
  scope.Api().GetSystemMetricsForDpi = &FakeMetricsForDpi;
  scope.Apply();
  TdxScaleFactor* f = Factor(3, 2);
  GMetricCalls.clear();
  EXPECT_EQ(GetSystemMetricsForScaleFactor(SM_CXVSCROLL, f), 10);
  EXPECT_EQ(GMetricCalls, (std::vector<std::pair<int, UINT>>{{SM_CXVSCROLL, 144u}}));
  // A frame of a modern executable includes the padded border.
  SetExecutableSubsystemVersion(6);
  EXPECT_EQ(GetSystemMetricsForScaleFactor(SM_CXFRAME, f), 14);
  SetExecutableSubsystemVersion(5);
  EXPECT_EQ(GetSystemMetricsForScaleFactor(SM_CYFRAME, f), 10);
  f->Free();
}

TEST(DpiServices, WithoutThePerDpiMetricTheDesktopValueIsConverted) {
  TApiScope scope;
  scope.Apply();  // nothing bound
  SetExecutableSubsystemVersion(5);
  TdxScaleFactor* f = Factor(2, 1);
  const TdxScaleFactor* desktop = DesktopScaleFactor();
  ASSERT_NE(desktop, nullptr);
  const int plain = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(GetSystemMetricsForScaleFactor(SM_CXVSCROLL, f), f->Apply(plain, desktop->Numerator(), desktop->Denominator()));
  EXPECT_EQ(GetSystemMetricsForScaleFactor(SM_CXVSCROLL, nullptr), plain);
  f->Free();
}

TEST(DpiServices, TheExecutablesHeaderDeclaresSubsystemSix) {
  EXPECT_EQ(ReadSubsystemMajorVersion(GetModuleHandleW(nullptr)), 6);
  SetExecutableSubsystemVersion(0);
  EXPECT_EQ(IsModernSubsystemExecutable(), IsWinVistaOrLater);
  // Memory that is no module.
  static std::uint8_t notAModule[4096] = {};
  EXPECT_EQ(ReadSubsystemMajorVersion(reinterpret_cast<HMODULE>(notAModule)), 0);
}

class TScaledObject : public TNoRefCount<TComponent>, public IdxScaleFactor {
  SK_CLASS(TScaledObject, TComponent)
 public:
  TdxScaleFactor* Factor = nullptr;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxScaleFactor>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TdxScaleFactor* GetScaleFactor() override { return Factor; }
};

TEST(DpiServices, AComponentsDpiComesFromItsFormFrameModuleOrScaleFactor) {
  ASSERT_EQ(GetScreenDpi(), 96) << "the cases below tell the screen's DPI from the others";
  // Laid out at 120, shown at 144 now.
  TForm* form = New<TForm>(nullptr);
  form->SetPixelsPerInch(120);
  form->ScaleForPPI(144);
  TWinControl* panel = New<TWinControl>(form);
  panel->SetParent(form);
  TFrame* frame = New<TFrame>(form);
  frame->SetParent(form);
  frame->SetPixelsPerInch(192);
  TWinControl* onFrame = New<TWinControl>(form);
  onFrame->SetParent(frame);
  TWinControl* orphan = New<TWinControl>(nullptr);
  TScaledObject* scaled = New<TScaledObject>(nullptr);
  scaled->Factor = Factor(2, 1);
  TDataModule* module = New<TDataModule>(nullptr);
  TComponent* plain = New<TComponent>(nullptr);

  struct Case {
    const char* Name;
    TComponent* Component;
    std::function<void()> Arrange;
    bool Known;
    int Dpi;
  };
  auto set = [](TComponent* AComponent, TComponentStateItem AItem) {
    return [=] { AComponent->IncludeState(AItem); };
  };
  const Case cases[] = {
      {"form: its current DPI", form, [] {}, true, 144},
      {"control on the form", panel, [] {}, true, 144},
      {"loading form: its description's DPI", form, set(form, csLoading), true, 120},
      {"loading form described at 96: its current DPI", form, [&] { form->SetPixelsPerInch(96); }, true, 144},
      {"loading unscaled form: its current DPI", form,
       [&] {
         form->SetPixelsPerInch(120);
         form->SetScaled(false);
       },
       true, 144},
      {"loading form at design time: the designer's", form,
       [&] {
         form->SetScaled(true);
         form->IncludeState(csDesigning);
       },
       true, 96},
      {"frame: its parent's", frame, [&] { form->ExcludeState(csDesigning); }, true, 120},
      {"loading frame: its description's DPI", frame, set(frame, csLoading), true, 192},
      {"control on a loading frame", onFrame, [] {}, true, 192},
      {"loading frame at design time: the designer's", frame, set(frame, csDesigning), true, 96},
      {"control without parent", orphan, [] {}, false, 96},
      {"object with a scale factor", scaled, [] {}, true, 192},
      {"data module without a DPI: the screen's", module, [] {}, true, 96},
      {"data module", module, [&] { module->SetPixelsPerInch(144); }, true, 144},
      {"other component", plain, [] {}, false, 96},
      {"nothing", nullptr, [] {}, false, 96},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Arrange();
    int n = 0;
    int d = 0;
    EXPECT_EQ(TryGetComponentDpiRatio(c.Component, n, d), c.Known);
    EXPECT_EQ(GetComponentDpi(c.Component), c.Dpi);
  }
  EXPECT_EQ(GetScaleFactorOf(scaled), scaled->Factor);
  EXPECT_EQ(GetScaleFactorOf(orphan), SystemScaleFactor());
  scaled->Factor->Free();
  scaled->Free();
  module->Free();
  plain->Free();
  orphan->Free();
  form->ExcludeState(csLoading);
  frame->ExcludeState(csLoading);
  frame->ExcludeState(csDesigning);
  form->Free();
}

// Records the DPI of its owner whenever its Mark is read from a description.
class TDpiProbe : public TComponent {
  SK_CLASS(TDpiProbe, TComponent)
 public:
  static void Publish(TPublisher<TDpiProbe>& P) { P.Property(L"Mark", &TDpiProbe::Mark, &TDpiProbe::SetMark); }
  int Mark() const { return 0; }
  void SetMark(int) { OwnerDpi = GetComponentDpi(Owner()); }
  int OwnerDpi = 0;
};

TEST(DpiServices, WhileAFrameOrDataModuleIsReadItAnswersTheDpiItsDescriptionStores) {
  RegisterClass(TDpiProbe::ClassInfo());
  TOwned<TForm> formOwner(New<TForm>(nullptr));
  TForm* form = formOwner.get();
  TFrame* frame = New<TFrame>(form);
  frame->SetParent(form);
  ReadComponentFromText(L"object Frame1: TFrame\n  PixelsPerInch = 144\n"
                        L"  object Probe: TDpiProbe\n    Mark = 1\n  end\nend",
                        frame);
  auto* probe = static_cast<TDpiProbe*>(frame->FindComponent(L"Probe"));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe->OwnerDpi, 144);
  EXPECT_EQ(GetComponentDpi(frame), 96) << "loaded, it answers its parent's";

  TOwned<TDataModule> moduleOwner(New<TDataModule>(nullptr));
  TDataModule* module = moduleOwner.get();
  ReadComponentFromText(L"object Module1: TDataModule\n  PixelsPerInch = 120\n"
                        L"  object Probe: TDpiProbe\n    Mark = 1\n  end\nend",
                        module);
  probe = static_cast<TDpiProbe*>(module->FindComponent(L"Probe"));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe->OwnerDpi, 120);
  moduleOwner.reset();
  formOwner.reset();
}

TEST(DpiServices, FontsAreSizedFor96DpiAndScaledBetweenFactors) {
  TFont* font = CreateFontFor96Dpi();
  EXPECT_EQ(font->Height(), PointSizeToHeight(font->Size(), 96));
  font->SetHeight(-12);
  TFont* target = New<TFont>();
  target->SetName(L"Other");
  TdxScaleFactor* to = Factor(3, 2);
  TdxScaleFactor* from = Factor(1, 1);
  AssignScaledFont(target, font, to, from);
  EXPECT_EQ(target->Name(), font->Name());
  EXPECT_EQ(target->Height(), -18);
  ScaleFontHeight(target, 2, 3);
  EXPECT_EQ(target->Height(), -12);
  to->Free();
  from->Free();
  target->Free();
  font->Free();
}

TEST(DpiServices, RegisteredCursorsGoToTheScreenAndLeaveItAgain) {
  constexpr int Index = 31;
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
  const int before = TdxCursorManager::Count();
  TdxCursorManager::Register(Index, nullptr, IDC_ARROW);
  EXPECT_EQ(Screen()->Cursors(Index), arrow);
  TdxCursorManager::Register(Index, nullptr, IDC_CROSS);
  EXPECT_EQ(Screen()->Cursors(Index), cross) << "the later registration loads last";
  TdxCursorManager::Refresh();
  EXPECT_EQ(Screen()->Cursors(Index), cross);
  TdxCursorManager::Unregister(Index);
  EXPECT_EQ(TdxCursorManager::Count(), before);
  EXPECT_EQ(Screen()->Cursors(Index), nullptr);
}

}  // namespace
