// The validation info a paint record shows, and the standard glyphs it copies.
#include "library/core/base/dxCore.h"
#include "library/editors/edit/cxEdit_Internal.h"

#include <array>

namespace {

constexpr std::array<const wchar_t*, 3> StandardGlyphNames = {L"CXEDIT_GLYPH_ERROR", L"CXEDIT_GLYPH_WARNING",
                                                              L"CXEDIT_GLYPH_INFO"};

std::array<TOwned<TdxSmartGlyph>, 3>& StandardGlyphs() {
  static std::array<TOwned<TdxSmartGlyph>, 3> glyphs;
  return glyphs;
}

}  // namespace

TdxSmartGlyph* cxEditStandardGlyph(TcxEditErrorType AType) {
  if (AType != eetError && AType != eetWarning && AType != eetInfo) return nullptr;
  const std::size_t index = static_cast<std::size_t>(AType - eetError);
  TOwned<TdxSmartGlyph>& glyph = StandardGlyphs()[index];
  if (!glyph) {
    // Cached only once loaded: a missing resource must not leave an empty
    // glyph behind for the next caller.
    TOwned<TdxSmartGlyph> loaded(New<TdxSmartGlyph>());
    loaded->LoadFromResource(HInstance(), StandardGlyphNames[index], RT_BITMAP);
    glyph = std::move(loaded);
  }
  return glyph.get();
}

void ReleaseStandardValidationGlyphs() {
  for (TOwned<TdxSmartGlyph>& glyph : StandardGlyphs()) glyph.reset();
}

// ---------------------------------------------------------------------------
// TcxEditValidateInfo

TdxSmartGlyph* TcxEditValidateInfo::ErrorIcon() {
  if (!FErrorIcon) FErrorIcon.reset(New<TdxSmartGlyph>());
  return FErrorIcon.get();
}

void TcxEditValidateInfo::SetErrorIcon(TdxSmartImage* AValue) {
  if (AValue)
    ErrorIcon()->Assign(AValue);
  else
    FErrorIcon.reset();
}

void TcxEditValidateInfo::SetErrorType(TcxEditErrorType AValue) {
  if (AValue == FErrorType) return;
  // Loaded before anything changes: a missing resource leaves the info as it was.
  TdxSmartGlyph* standard = cxEditStandardGlyph(AValue);
  FErrorType = AValue;
  if (AValue == eetNone)
    ClearIcon();
  else if (standard)
    ErrorIcon()->Assign(standard);
}

bool TcxEditValidateInfo::HasErrorIcon() const { return IsError() && FErrorIcon && !FErrorIcon->Empty(); }

void TcxEditValidateInfo::Reset() {
  FErrorType = eetNone;
  FErrorText.clear();
  ClearIcon();
}

void TcxEditValidateInfo::ClearIcon() {
  if (FErrorIcon) FErrorIcon->Clear();
}

// ---------------------------------------------------------------------------
// The editor's side

void TcxCustomEdit::CalculateValidateInfo(TcxEditValidateInfo* AInfo) const {
  if (!FValidationError) {
    AInfo->Reset();
    return;
  }
  AInfo->SetErrorType(eetError);
  AInfo->SetErrorText(FValidationErrorText);
}
