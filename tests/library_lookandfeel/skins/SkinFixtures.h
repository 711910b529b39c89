// The skin streams that make-skin-fixtures writes into
// BUILD\testdata\library_lookandfeel, and the values it writes into them.
#pragma once

#include "library/lookandfeel/skins/dxSkinsCore.h"

#include <string>

// The fixture's bytes (raises when it cannot be read).
std::string ReadSkinFixture(const String& AName);
// A memory stream holding ABytes, positioned at its start; the caller owns it.
TOwned<TMemoryStream> StreamOf(const std::string& ABytes);
// The stream's bytes from its start.
std::string BytesOf(TMemoryStream* AStream);
// The skin "Lilian" of the fixtures built in code (as written at 1.26).
TOwned<TdxSkin> BuildLilianSkin();
