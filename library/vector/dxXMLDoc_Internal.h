// What the files of the dxXMLDoc unit share among themselves.
#pragma once

#include <string>
#include <string_view>

namespace xmldoc_detail {

// AText as UTF-8 at the end of AResult; a lone surrogate becomes U+FFFD.
void AppendUTF8(std::string& AResult, std::wstring_view AText);
// AText encoded as TdxXMLHelper::EncodeString(AText, ARemoveLineBreaks)
// encodes it, as UTF-8 at the end of AResult.
void AppendEncodedUTF8(std::string& AResult, std::wstring_view AText, bool ARemoveLineBreaks);

// Whether AName is an XML name (the Name production of XML 1.0).
bool IsValidName(std::wstring_view AName);

}  // namespace xmldoc_detail
