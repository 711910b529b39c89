// The editors' access point to a spell checker that lives in a component of
// its own. Editors report focus, text, selection and layout changes here and
// pass their keys on; each call goes to the registered spell checker and does
// nothing while none is registered; a control's context menu is offered to it
// first. Everything runs on the UI thread.
//
// Classes in this file:
//   IdxSpellChecker               what a spell checker does for an editor
//   IdxSpellCheckerKeyListener    a spell checker's keyboard side
//   IdxSpellCheckerExtension      a third interface held for the spell checker
//   IdxSpellCheckerControl        how a spell checker reaches an editor
//   TdxSpellCheckerInstance       the process-wide access point
#pragma once

#include "platform/classes/Component.h"
#include "platform/runtime/Variants.h"
#include "platform/ui/Controls.h"

#include <windows.h>

struct IdxSpellChecker : public virtual IInterface {
  static constexpr GUID IID = {0x4515FCEE, 0x2D09, 0x4709, {0xA1, 0x70, 0xE2, 0x9C, 0x55, 0x63, 0x55, 0xBF}};
  virtual void CheckFinish() = 0;
  virtual void CheckStart(TWinControl* AControl) = 0;
  virtual void DrawMisspellings(TWinControl* AControl, HDC ADC) = 0;
  // True for a window of the spell checker's own (an editor counts it as its child).
  virtual bool IsDialogWindow(HWND AWnd) = 0;
  virtual void KeyPress(wchar_t& AKey) = 0;
  virtual void LayoutChanged(TWinControl* AControl) = 0;
  // True when the spell checker showed a menu of its own for the request.
  virtual bool QueryPopup(TComponent* APopupMenu, const TPoint& APoint) = 0;
  virtual void SelectionChanged(TWinControl* AControl) = 0;
  virtual void TextChanged(TWinControl* AControl) = 0;
  virtual void Undo() = 0;

 protected:
  ~IdxSpellChecker() = default;
};

struct IdxSpellCheckerKeyListener : public virtual IInterface {
  static constexpr GUID IID = {0x0480D25C, 0x94DA, 0x449D, {0xBB, 0xE6, 0xB7, 0x71, 0xC7, 0x6D, 0x0B, 0xB1}};
  virtual void KeyDown(WORD& AKey, TShiftState AShift) = 0;
  virtual void KeyUp(WORD& AKey, TShiftState AShift) = 0;

 protected:
  ~IdxSpellCheckerKeyListener() = default;
};

// Held for the spell checker's own use; no editor calls it.
struct IdxSpellCheckerExtension : public virtual IInterface {
  static constexpr GUID IID = {0x45807494, 0x4396, 0x401D, {0xAD, 0xE2, 0x6F, 0xC4, 0x31, 0x27, 0x00, 0xD6}};

 protected:
  ~IdxSpellCheckerExtension() = default;
};

// Implemented by the editors that take part in spell checking.
struct IdxSpellCheckerControl : public virtual IInterface {
  static constexpr GUID IID = {0x2DEA4CCA, 0x3C6D, 0x4283, {0x94, 0x41, 0xAA, 0xBB, 0xD6, 0x1F, 0x74, 0xF3}};
  virtual bool SupportsSpelling() = 0;
  virtual void ReplaceMisspelling(const String& AText, bool APost) = 0;
  virtual void SetIsBarControl(bool AValue) = 0;
  virtual void SetValueFromSpellChecker(const Variant& AValue) = 0;

 protected:
  ~IdxSpellCheckerControl() = default;
};

// The process-wide access point: class-level state only. Editors look the
// references up on every call, so SetInstance switches all of them at once.
class TdxSpellCheckerInstance {
 public:
  TdxSpellCheckerInstance() = delete;

  // The registered spell checker's interfaces, or nil.
  static IdxSpellChecker* ISpellChecker();
  static IdxSpellCheckerKeyListener* ISpellCheckerKeyListener();
  static IdxSpellCheckerExtension* ISpellCheckerExtension();

  // Each reference becomes AInstance's interface of that kind, or nil; nil
  // clears all three. Then every listener registered when the call began is
  // called once, in registration order, with AInstance as sender, even when
  // one of them unregisters itself or another.
  static void SetInstance(TObject* AInstance);
  // Appends; the same handler may be registered twice and is then called twice.
  static void RegisterListener(TNotifyEvent AListener);
  // Removes one registration of the handler; nothing when it has none.
  static void UnregisterListener(TNotifyEvent AListener);
  // Whether the listener list exists: it is created by the first
  // registration and freed when its last listener goes.
  static bool HasListenerList();

  // Forwarded to the registered spell checker; nothing without one.
  static void CheckFinish();
  static void CheckStart(TWinControl* AControl);
  static void DrawMisspellings(TWinControl* AControl, HDC ADC);
  static void LayoutChanged(TWinControl* AControl);
  static void SelectionChanged(TWinControl* AControl);
  static void TextChanged(TWinControl* AControl);
  static void Undo();
  // The spell checker's answer to a menu request; false without one, so
  // the control shows its own menu.
  static bool QueryPopup(TComponent* APopupMenu, const TPoint& APoint);
};

// Counted: the first start-up sets the control framework's context-menu hook
// to the spell checker's QueryPopup; the last shut-down clears it and
// releases the spell checker and the listener list.
void dxSpellCheckerCoreInitialization();
void dxSpellCheckerCoreFinalization();
