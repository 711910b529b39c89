// The look-and-feel settings of a control or style.
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
