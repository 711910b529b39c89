// The skin core: what describes a skin or a built-in painter by name.
//
// Classes in this file:
//   TdxSkinIconSize   the two icon sizes of a skin
//   TdxSkinDetails    name, display name, group, notes and icons of a skin or
//                     of a built-in painter
//   EdxSkinError      the error of the skin units
//
// Setting a text to a new value reports a change through OnChange; inside
// BeginUpdate/EndUpdate changes are gathered and reported once by the
// outermost EndUpdate. UI thread only.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <array>
#include <cstdint>

class EdxSkinError : public EdxException {
 public:
  using EdxException::EdxException;
};

enum TdxSkinIconSize { sis16, sis48 };

class TdxSkinDetails : public TPersistent {
  SK_CLASS(TdxSkinDetails, TPersistent)
 public:
  void Create();
  void Destroy() override;

  // From other details: texts and icons, reported as one change.
  void Assign(TPersistent* ASource) override;
  // Empties the texts and both icons.
  virtual void Clear();

  void BeginUpdate();
  void EndUpdate();

  const String& DisplayName() const { return FDisplayName; }
  void SetDisplayName(const String& AValue) { SetText(FDisplayName, AValue); }
  const String& GroupName() const { return FGroupName; }
  void SetGroupName(const String& AValue) { SetText(FGroupName, AValue); }
  const String& Name() const { return FName; }
  void SetName(const String& AValue) { SetText(FName, AValue); }
  const String& Notes() const { return FNotes; }
  void SetNotes(const String& AValue) { SetText(FNotes, AValue); }
  // Where the skin's data start in a skin container.
  std::int64_t DataOffset() const { return FDataOffset; }
  void SetDataOffset(std::int64_t AValue) { FDataOffset = AValue; }

  TdxSmartImage* GetIcon(TdxSkinIconSize ASize) const { return FIcons[ASize].get(); }
  // Loads the default icon of that size from the module's resources
  // ("DEFAULTSKINICONSMALL" or "DEFAULTSKINICONLARGE", type "DXSKINS"); an
  // icon without its resource is left empty.
  void ResetIcon(TdxSkinIconSize ASize);
  // Loads an icon from a module's resource; without that resource the icon
  // is left empty (a module need not ship every icon).
  void LoadIcon(TdxSkinIconSize ASize, HINSTANCE AInstance, const String& AName, const wchar_t* AType);

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  virtual void Changed();

 private:
  void SetText(String& AField, const String& AValue);

  String FDisplayName;
  String FGroupName;
  std::array<TOwned<TdxSmartImage>, 2> FIcons;
  String FName;
  String FNotes;
  int FUpdateCount;
  bool FChangedInUpdate;
  TNotifyEvent FOnChange;
  std::int64_t FDataOffset;
};
