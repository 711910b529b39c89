#include "platform/runtime/Units.h"

#include "platform/runtime/FMTBcd.h"
#include "platform/runtime/SqlTimSt.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/Tasks.h"
#include "platform/runtime/Threads.h"

#include <atomic>
#include <vector>

namespace {
std::vector<const TUnit*> GInitialized;
std::atomic<bool> GFinalizing{false};
}  // namespace

std::span<const TUnit> RuntimeUnits() {
  static constexpr TUnit units[] = {
      {L"System", nullptr, nullptr},
      {L"SysUtils", &GetFormatSettings, nullptr},
      {L"FMTBcd", &FMTBcdInitialization, &FMTBcdFinalization},
      {L"SqlTimSt", &SqlTimStInitialization, &SqlTimStFinalization},
      {L"Threads", &ThreadsInitialization, &ThreadsFinalization},
      {L"Tasks", &TasksInitialization, &TasksFinalization},
  };
  return units;
}

void InitializeUnits(std::initializer_list<std::span<const TUnit>> ALayers) {
  GFinalizing = false;
  try {
    for (std::span<const TUnit> layer : ALayers)
      for (const TUnit& unit : layer) {
        if (unit.Initialization) unit.Initialization();
        GInitialized.push_back(&unit);
      }
  } catch (...) {
    FinalizeUnits();
    throw;
  }
}

void FinalizeUnits() {
  GFinalizing = true;
  while (!GInitialized.empty()) {
    const TUnit* unit = GInitialized.back();
    GInitialized.pop_back();
    if (unit->Finalization) unit->Finalization();
  }
}

bool UnitsFinalizing() { return GFinalizing; }
