// The notifier of system colour changes of the look-and-feel unit
// (cxLookAndFeels).
//
// Classes in this file:
//   TcxSystemPaletteChangedNotifier   calls its event when the Windows system
//                                     colours change
//
// The class belongs to the look-and-feel unit, which re-exports it. It lives
// here because the graphics unit's own caches (the solid brushes) are renewed
// through it and graphics never reaches up into the look and feel; this file
// is the whole of that link. All notifiers share one hidden window, made
// with the first notifier and freed with the last. On WM_SYSCOLORCHANGE the
// primary notifiers are told first, then the ordinary ones, each group from
// the last created to the first, so that caches are renewed before any look
// and feel reports its change. Before any of them the listener refreshes the
// colour set that the look and feel installs (its Office11 colours): the set
// is acquired with the listener and released with it. UI thread only.
#pragma once

#include "platform/runtime/System.h"

using TcxSystemPaletteChangedEvent = TNotifyEvent;

// The colour set that the shared listener keeps current.
struct TcxSystemPaletteColorSet {
  void (*Acquire)() = nullptr;
  void (*Release)() = nullptr;
  void (*Refresh)() = nullptr;
};
// Installs ASet (an empty one removes it); a listener that exists already
// releases the old set and acquires the new one at once.
void SetSystemPaletteColorSet(const TcxSystemPaletteColorSet& ASet);

class TcxSystemPaletteChangedNotifier : public TObject {
  SK_CLASS(TcxSystemPaletteChangedNotifier, TObject)
 public:
  // AIsPrimary: told before the ordinary notifiers.
  virtual void Create(bool AIsPrimary);
  void Destroy() override;

  bool IsPrimary() const { return FIsPrimary; }
  TcxSystemPaletteChangedEvent OnSystemPaletteChanged() const { return FOnSystemPaletteChanged; }
  void SetOnSystemPaletteChanged(TcxSystemPaletteChangedEvent AValue) { FOnSystemPaletteChanged = AValue; }

  // The notification: calls OnSystemPaletteChanged when it is assigned.
  virtual void DoSystemPaletteChanged();

 private:
  bool FIsPrimary;
  TcxSystemPaletteChangedEvent FOnSystemPaletteChanged;
};
