// Run-time routines: exceptions, formatting, conversions, strings, files.
//
// Classes in this file:
//   Exception and its descendants (EAbort, EConvertError, ...)
//   TVarRec                 one argument of Format
#pragma once

#include "platform/runtime/System.h"

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>

// One argument of Format and of the formatting exception constructors.
class TVarRec {
 public:
  enum class TKind { Integer, Unsigned, Float, String, PChar, Char, Boolean, Pointer };

  TVarRec(int AValue) : FKind(TKind::Integer), FInt(AValue) {}
  TVarRec(long AValue) : FKind(TKind::Integer), FInt(AValue) {}
  TVarRec(long long AValue) : FKind(TKind::Integer), FInt(AValue) {}
  TVarRec(unsigned AValue) : FKind(TKind::Unsigned), FUInt(AValue) {}
  TVarRec(unsigned long AValue) : FKind(TKind::Unsigned), FUInt(AValue) {}
  TVarRec(unsigned long long AValue) : FKind(TKind::Unsigned), FUInt(AValue) {}
  TVarRec(double AValue) : FKind(TKind::Float), FFloat(AValue) {}
  TVarRec(const String& AValue) : FKind(TKind::String), FString(&AValue) {}
  TVarRec(const wchar_t* AValue) : FKind(TKind::PChar), FChars(AValue) {}
  TVarRec(wchar_t AValue) : FKind(TKind::Char), FChar(AValue) {}
  TVarRec(bool AValue) : FKind(TKind::Boolean), FInt(AValue) {}
  TVarRec(const void* AValue) : FKind(TKind::Pointer), FPointer(AValue) {}

  TKind Kind() const { return FKind; }
  bool IsText() const { return FKind == TKind::String || FKind == TKind::PChar || FKind == TKind::Char; }
  std::int64_t AsInteger() const;
  std::uint64_t AsUnsigned() const;
  double AsFloat() const;
  String AsString() const;
  const void* AsPointer() const { return FPointer; }

 private:
  TKind FKind;
  union {
    std::int64_t FInt;
    std::uint64_t FUInt;
    double FFloat;
    const String* FString;
    const wchar_t* FChars;
    wchar_t FChar;
    const void* FPointer;
  };
  friend String Format(const String&, std::initializer_list<TVarRec>);
};

// The base of every exception of the system. Thrown by value, caught by
// reference; ClassName comes from the C++ type.
class Exception : public std::exception {
 public:
  Exception() = default;
  explicit Exception(String AMessage) : FMessage(std::move(AMessage)) {}
  // The message formatted with Format.
  Exception(const String& AFormat, std::initializer_list<TVarRec> AArgs);
  ~Exception() override = default;

  const String& Message() const { return FMessage; }
  void SetMessage(const String& AValue) { FMessage = AValue; FWhat.clear(); }
  String ClassName() const;
  // The message in UTF-8.
  const char* what() const noexcept override;

 private:
  String FMessage;
  mutable std::string FWhat;
};

// The silent exception: the application object shows nothing for it.
class EAbort : public Exception { public: using Exception::Exception; };
[[noreturn]] void Abort();

class EAbstractError : public Exception { public: using Exception::Exception; };
class EInvalidCast : public Exception { public: using Exception::Exception; };
class EConvertError : public Exception { public: using Exception::Exception; };
class EPropertyError : public Exception { public: using Exception::Exception; };
class EPropertyConvertError : public Exception { public: using Exception::Exception; };

String Format(const String& AFormat, std::initializer_list<TVarRec> AArgs);

// Exceptions caught where a Windows callback returns (window procedures,
// hooks, timers, pool threads) go to one handler; the application object
// installs its own, which shows them. Call HandleCallbackException from
// inside a catch block: the handler reads std::current_exception().
using TCallbackExceptionHandler = void (*)(TObject* ASender);
void SetCallbackExceptionHandler(TCallbackExceptionHandler AHandler);
void HandleCallbackException(TObject* ASender) noexcept;
