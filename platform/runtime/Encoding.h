// Text encodings: UTF-16 strings to bytes and back.
//
// Classes in this file:
//   TBytes                  a byte array
//   TEncoding               one encoding: bytes, text, byte-order mark, detection
//
// The standard encodings (Default/ANSI, ASCII, UTF8, Unicode, BigEndianUnicode)
// and those returned by GetEncoding are process-wide objects that live until
// the process ends; nobody frees them. Decoding never fails: bytes that are not
// valid in the encoding become replacement characters (U+FFFD).
#pragma once

#include "platform/runtime/SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

class TEncoding : public TObject {
  SK_CLASS(TEncoding, TObject)
 public:
  // The system's ANSI code page.
  static TEncoding* Default();
  static TEncoding* ANSI() { return Default(); }
  // 7-bit ASCII (code page 20127).
  static TEncoding* ASCII();
  static TEncoding* UTF8();
  // UTF-16, little-endian.
  static TEncoding* Unicode();
  static TEncoding* BigEndianUnicode();
  // The encoding of a Windows code page (CP_ACP, 1252, CP_UTF8, 1200, 1201 ...).
  // Raises EEncodingError for a code page the system does not know.
  static TEncoding* GetEncoding(UINT ACodePage);
  static bool IsStandardEncoding(const TEncoding* AEncoding);

  // Detects a byte-order mark at the start of ABuffer. When AEncoding is
  // null on entry it becomes the encoding of the mark found, else ADefault
  // (Default when null); when it is set, only its own mark is recognised.
  // The result is the length of the mark found (0 when none).
  static std::size_t GetBufferEncoding(const std::uint8_t* ABuffer, std::size_t ALength, TEncoding*& AEncoding,
                                       TEncoding* ADefault = nullptr);
  static std::size_t GetBufferEncoding(const TBytes& ABuffer, TEncoding*& AEncoding, TEncoding* ADefault = nullptr) {
    return GetBufferEncoding(ABuffer.data(), ABuffer.size(), AEncoding, ADefault);
  }
  // Re-encodes ABytes from ASource into ADest.
  static TBytes Convert(const TEncoding* ASource, const TEncoding* ADest, const TBytes& ABytes);

  // Properties
  UINT CodePage() const { return FCodePage; }
  String EncodingName() const;
  // Whether every character takes one byte.
  virtual bool IsSingleByte() const;

  // Operations
  virtual TBytes GetBytes(const wchar_t* AChars, std::size_t ACount) const = 0;
  TBytes GetBytes(const String& AText) const { return GetBytes(AText.data(), AText.size()); }
  virtual String GetString(const std::uint8_t* ABytes, std::size_t ACount) const = 0;
  String GetString(const TBytes& ABytes) const { return GetString(ABytes.data(), ABytes.size()); }
  String GetString(const TBytes& ABytes, std::size_t AIndex, std::size_t ACount) const;
  // The byte-order mark written before text in this encoding (empty when none).
  virtual TBytes GetPreamble() const;

 protected:
  UINT FCodePage;
};

class EEncodingError : public Exception { public: using Exception::Exception; };
