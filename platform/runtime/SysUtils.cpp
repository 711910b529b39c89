#include "platform/runtime/SysUtils.h"

#include <cxxabi.h>

#include <atomic>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <typeinfo>

// ---------------------------------------------------------------------------
// TVarRec

std::int64_t TVarRec::AsInteger() const {
  switch (FKind) {
    case TKind::Integer: case TKind::Boolean: return FInt;
    case TKind::Unsigned: return static_cast<std::int64_t>(FUInt);
    case TKind::Char: return FChar;
    default: throw EConvertError(L"Argument ist keine Ganzzahl");
  }
}

std::uint64_t TVarRec::AsUnsigned() const {
  switch (FKind) {
    case TKind::Integer: case TKind::Boolean: return static_cast<std::uint64_t>(FInt);
    case TKind::Unsigned: return FUInt;
    case TKind::Char: return FChar;
    case TKind::Pointer: return reinterpret_cast<std::uintptr_t>(FPointer);
    default: throw EConvertError(L"Argument ist keine Ganzzahl");
  }
}

double TVarRec::AsFloat() const {
  switch (FKind) {
    case TKind::Float: return FFloat;
    case TKind::Integer: return static_cast<double>(FInt);
    case TKind::Unsigned: return static_cast<double>(FUInt);
    default: throw EConvertError(L"Argument ist keine Zahl");
  }
}

String TVarRec::AsString() const {
  switch (FKind) {
    case TKind::String: return FString ? *FString : String();
    case TKind::PChar: return FChars ? String(FChars) : String();
    case TKind::Char: return String(1, FChar);
    default: throw EConvertError(L"Argument ist kein String");
  }
}

// ---------------------------------------------------------------------------
// Exception

Exception::Exception(const String& AFormat, std::initializer_list<TVarRec> AArgs)
    : FMessage(Format(AFormat, AArgs)) {}

String Exception::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                   &std::free);
  const std::string name = status == 0 && plain ? plain.get() : mangled;
  return String(name.begin(), name.end());
}

const char* Exception::what() const noexcept {
  if (FWhat.empty() && !FMessage.empty()) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, FMessage.data(), static_cast<int>(FMessage.size()),
                                         nullptr, 0, nullptr, nullptr);
    FWhat.resize(static_cast<std::size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, FMessage.data(), static_cast<int>(FMessage.size()), FWhat.data(), size,
                        nullptr, nullptr);
  }
  return FWhat.c_str();
}

void Abort() { throw EAbort(L"Operation abgebrochen"); }

// ---------------------------------------------------------------------------
// Exceptions at callback boundaries

namespace {
std::atomic<TCallbackExceptionHandler> GCallbackExceptionHandler{nullptr};
}

void SetCallbackExceptionHandler(TCallbackExceptionHandler AHandler) { GCallbackExceptionHandler = AHandler; }

void HandleCallbackException(TObject* ASender) noexcept {
  try {
    if (TCallbackExceptionHandler handler = GCallbackExceptionHandler) {
      handler(ASender);
      return;
    }
    throw;
  } catch (const Exception& e) {
    OutputDebugStringW((e.ClassName() + L": " + e.Message()).c_str());
  } catch (...) {
    OutputDebugStringW(L"Unbekannte Ausnahme in einer Rückruffunktion");
  }
}
