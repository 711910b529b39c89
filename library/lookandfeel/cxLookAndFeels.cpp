#include "library/lookandfeel/cxLookAndFeels.h"

void TcxLookAndFeel::Publish(TPublisher<TcxLookAndFeel>& P) {
  P.Property(L"Kind", &TcxLookAndFeel::Kind, &TcxLookAndFeel::SetKind).Default(lfUltraFlat);
  P.Property(L"NativeStyle", &TcxLookAndFeel::NativeStyle, &TcxLookAndFeel::SetNativeStyle).Default(true);
}

void TcxLookAndFeel::Create(TPersistent* AOwner) { FOwner = AOwner; }

void TcxLookAndFeel::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxLookAndFeel*>(ASource)) {
    FKind = source->FKind;
    FNativeStyle = source->FNativeStyle;
    Changed();
    return;
  }
  inherited::Assign(ASource);
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind AValue) {
  if (FKind == AValue) return;
  FKind = AValue;
  Changed();
}

void TcxLookAndFeel::SetNativeStyle(bool AValue) {
  if (FNativeStyle == AValue) return;
  FNativeStyle = AValue;
  Changed();
}

void TcxLookAndFeelOwner::CreateLookAndFeel(TPersistent* AOwner, TNotifyEvent AOnChanged) {
  FLookAndFeel.reset(New<TcxLookAndFeel>(AOwner));
  FLookAndFeel->SetOnChanged(AOnChanged);
}
