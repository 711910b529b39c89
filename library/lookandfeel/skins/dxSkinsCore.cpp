#include "library/lookandfeel/skins/dxSkinsCore.h"

// ---------------------------------------------------------------------------
// TdxSkinDetails

void TdxSkinDetails::Create() {
  inherited::Create();
  for (auto& icon : FIcons) icon.reset(New<TdxSmartImage>());
}

void TdxSkinDetails::Destroy() {
  for (auto& icon : FIcons) icon.reset();
  inherited::Destroy();
}

void TdxSkinDetails::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxSkinDetails*>(ASource);
  if (!source) return inherited::Assign(ASource);
  WithUpdate(this, [&] {
    SetDisplayName(source->FDisplayName);
    SetGroupName(source->FGroupName);
    SetName(source->FName);
    SetNotes(source->FNotes);
    for (std::size_t i = 0; i < FIcons.size(); ++i) FIcons[i]->Assign(source->FIcons[i].get());
    FDataOffset = source->FDataOffset;
    Changed();
  });
}

void TdxSkinDetails::Clear() {
  WithUpdate(this, [&] {
    SetDisplayName(String());
    SetGroupName(String());
    SetName(String());
    SetNotes(String());
    for (auto& icon : FIcons) icon->Clear();
    Changed();
  });
}

void TdxSkinDetails::BeginUpdate() { ++FUpdateCount; }

void TdxSkinDetails::EndUpdate() {
  if (--FUpdateCount == 0 && std::exchange(FChangedInUpdate, false)) Changed();
}

void TdxSkinDetails::ResetIcon(TdxSkinIconSize ASize) {
  static constexpr const wchar_t* names[] = {L"DEFAULTSKINICONSMALL", L"DEFAULTSKINICONLARGE"};
  LoadIcon(ASize, HInstance(), names[ASize], L"DXSKINS");
}

void TdxSkinDetails::LoadIcon(TdxSkinIconSize ASize, HINSTANCE AInstance, const String& AName, const wchar_t* AType) {
  if (FindResourceW(AInstance, AName.c_str(), AType))
    FIcons[ASize]->LoadFromResource(AInstance, AName, AType);
  else
    FIcons[ASize]->Clear();
}

void TdxSkinDetails::Changed() {
  if (FUpdateCount > 0) {
    FChangedInUpdate = true;
    return;
  }
  CallEvent(FOnChange, this);
}

void TdxSkinDetails::SetText(String& AField, const String& AValue) {
  if (AField == AValue) return;
  AField = AValue;
  Changed();
}
