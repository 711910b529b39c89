// Unit start-up and shut-down in an explicit order. No unit does work in a
// C++ static initialiser; instead each layer lists its units, in link order,
// with their initialization and finalization, and the program's main routine
// runs the layers bottom-up. Finalizations run in reverse, for exactly the
// units whose initialization completed.
#pragma once

#include <initializer_list>
#include <span>

struct TUnit {
  const wchar_t* Name;
  void (*Initialization)();  // may be null
  void (*Finalization)();    // may be null
};

// The units of the run-time library.
std::span<const TUnit> RuntimeUnits();

// Runs the initializations of every layer in order. When one raises, the
// units already initialised are finalised and the exception goes on.
void InitializeUnits(std::initializer_list<std::span<const TUnit>> ALayers);
// Runs the finalizations in reverse order; a second call does nothing.
void FinalizeUnits();
// Whether shut-down has begun (process-wide services answer nil from then on).
bool UnitsFinalizing();
