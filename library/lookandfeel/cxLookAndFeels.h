// The look-and-feel settings of a control or style.
//
// Classes in this file:
//   TcxLookAndFeelKind
//   TcxLookAndFeel        the settings
//   TcxLookAndFeelOwner   a look and feel owned and published as LookAndFeel
//
// This is the minimal form: it holds the two values the main window's
// controls store (Kind and NativeStyle) with their published names and
// defaults, so that form descriptions read the same before and after the
// look-and-feel painters arrive. Nothing is painted from it yet.
#pragma once

#include "platform/classes/Persistent.h"

enum TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };
template <>
struct TEnumInfo<TcxLookAndFeelKind> {
  static constexpr const wchar_t* Name = L"TcxLookAndFeelKind";
  static constexpr const wchar_t* Names[] = {L"lfFlat", L"lfStandard", L"lfUltraFlat", L"lfOffice11"};
  static constexpr TcxLookAndFeelKind Last = lfOffice11;
};

class TcxLookAndFeel : public TPersistent {
  SK_CLASS(TcxLookAndFeel, TPersistent)
 public:
  static void Publish(TPublisher<TcxLookAndFeel>& P);

  // AOwner names the object in messages (its owner chain).
  void Create(TPersistent* AOwner);
  void Assign(TPersistent* ASource) override;

  TcxLookAndFeelKind Kind() const { return FKind; }
  void SetKind(TcxLookAndFeelKind AValue);
  bool NativeStyle() const { return FNativeStyle; }
  void SetNativeStyle(bool AValue);

  // Raised after each change of a value.
  TNotifyEvent OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent AValue) { FOnChanged = AValue; }

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  void Changed() { CallEvent(FOnChanged, this); }

  TPersistent* FOwner;
  TcxLookAndFeelKind FKind = lfUltraFlat;
  bool FNativeStyle = true;
  TNotifyEvent FOnChanged;
};

// A look and feel that an object owns and publishes as LookAndFeel: a second
// base of the object's class, after its TObject base. Freed with the object.
class TcxLookAndFeelOwner {
 public:
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* AValue) { FLookAndFeel->Assign(AValue); }

 protected:
  TcxLookAndFeelOwner() = default;
  ~TcxLookAndFeelOwner() = default;
  TcxLookAndFeelOwner(const TcxLookAndFeelOwner&) = delete;
  TcxLookAndFeelOwner& operator=(const TcxLookAndFeelOwner&) = delete;

  // Makes the look and feel (once, from the object's Create). AOwner names
  // it in messages; AOnChanged hears its changes.
  void CreateLookAndFeel(TPersistent* AOwner, TNotifyEvent AOnChanged = nullptr);
  template <class C>
  static void PublishLookAndFeel(TPublisher<C>& P) {
    P.Property(L"LookAndFeel", &C::LookAndFeel, &C::SetLookAndFeel);
  }

 private:
  TOwned<TcxLookAndFeel> FLookAndFeel;
};
