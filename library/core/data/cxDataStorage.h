// Value types: how values of one kind live in the raw record buffers of a
// data store, turn into variants and back, compare, free what they own, and
// travel through streams together with a cached display text.
//
// Classes in this file:
//   TcxValueTypeStream          a stream that says how texts travel
//   TcxValueType                the base: every operation a class operation
//   TcxStringValueType, TcxWideStringValueType, TcxSmallintValueType,
//   TcxIntegerValueType, TcxWordValueType, TcxBooleanValueType,
//   TcxSingleValueType, TcxFloatValueType, TcxCurrencyValueType,
//   TcxDateTimeValueType, TcxLargeIntValueType, TcxFMTBcdValueType,
//   TcxSQLTimeStampValueType, TcxVariantValueType, TcxBLOBValueType,
//   TcxObjectValueType          the sixteen kinds
//   TcxValueTypeClassList       the registered kinds, found by caption
//
// Value types are used as classes: no instance is made, and the operations
// live in the class's metaclass (TcxValueType::TMeta), reached through
// cxValueType(AClass). A data buffer holds a fixed-size value itself; the
// managed kinds (String, WideString, Variant, BLOB, Object) hold a pointer,
// nil for a Null value, that owns what it points to until FreeBuffer. Those
// pointers take a pointer's size (8 bytes on x86_64); the stream forms do
// not depend on it. Buffers need no alignment. A text buffer is a separate
// pointer to a heap string that caches a display text.
#pragma once

#include "library/core/base/dxCore.h"
#include "platform/classes/Streams.h"

#include <cstring>
#include <vector>

// ---------------------------------------------------------------------------
// Streams

// Passes every byte to the stream it wraps (which it does not own) and tells
// the value types how texts are stored: as UTF-16 (a 4-byte character count,
// then the characters) or as 8-bit text in the system code page (a 4-byte
// byte count, then the bytes).
class TcxValueTypeStream : public TStream {
  SK_CLASS(TcxValueTypeStream, TStream)
 public:
  void Create(TStream* AStream, bool AWideTexts);

  TStream* Stream() const { return FStream; }
  bool WideTexts() const { return FWideTexts; }
  int Read(void* ABuffer, int ACount) override { return FStream->Read(ABuffer, ACount); }
  int Write(const void* ABuffer, int ACount) override { return FStream->Write(ABuffer, ACount); }
  std::int64_t Seek(std::int64_t AOffset, TSeekOrigin AOrigin) override { return FStream->Seek(AOffset, AOrigin); }
  void SetSize(std::int64_t ANewSize) override { FStream->SetSize(ANewSize); }

  // A text in the stream's form.
  String ReadText();
  void WriteText(const String& AText);

 protected:
  std::int64_t GetSize() const override { return FStream->Size(); }

 private:
  TStream* FStream;
  bool FWideTexts;
};

// ---------------------------------------------------------------------------
// Value types

// A text buffer: a heap string, or nil when no text is cached.
using TcxTextBuffer = String*;
using TcxValueTypeClass = TClass;

class TcxValueType : public TObject {
  SK_CLASS(TcxValueType, TObject)
 public:
  struct TMeta : TObject::TMeta {
    // CompareValues of the two buffers (managed kinds: of the pointers they hold).
    virtual int Compare(const void* ABuffer1, const void* ABuffer2) const;
    // Releases what the buffer owns; a managed buffer holds nil afterwards.
    virtual void FreeBuffer(void* ABuffer) const;
    // Disposes the cached text, when there is one.
    virtual void FreeTextBuffer(TcxTextBuffer& ATextBuffer) const;
    // The bytes a data buffer occupies.
    virtual int BufferSize() const;
    // Null in the base.
    virtual void BufferToVariant(const void* ABuffer, Variant& AValue) const;
    // The variant's text; empty when it has none.
    virtual String BufferToText(const void* ABuffer) const;
    // The cached text, empty when none.
    virtual String TextBufferToText(TcxTextBuffer ATextBuffer) const;
    // Base: a tagged variant (cxVariants), stored with VariantToBuffer.
    virtual void ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const;
    virtual void ReadTextBufferFromStream(TcxTextBuffer& ATextBuffer, TcxValueTypeStream* AStream) const;
    // Nothing in the base.
    virtual void VariantToBuffer(void* ABuffer, const Variant& AValue) const;
    // Allocates the heap string on first use.
    virtual void TextToTextBuffer(TcxTextBuffer& ATextBuffer, const String& AText) const;
    // Base: BufferToVariant as a tagged variant.
    virtual void WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const;
    virtual void WriteTextBufferToStream(TcxTextBuffer ATextBuffer, TcxValueTypeStream* AStream) const;
    // The class name without "Tcx" and "ValueType" ("String", "FMTBcd").
    virtual String Caption() const;
    // Negative, 0 or positive; P1 and P2 as PrepareValueBuffer leaves them.
    // Base: CompareVariants of the two buffers' variants.
    virtual int CompareValues(const void* P1, const void* P2) const;
    // The variant of a buffer as PrepareValueBuffer leaves it.
    virtual Variant GetValue(const void* ABuffer) const;
    // varVariant in the base.
    virtual TVarType GetVarType() const;
    virtual bool IsManaged() const;
    virtual bool IsNumeric() const;
    virtual bool IsString() const;
    // Null and any value of a varVariant kind are valid; otherwise the value
    // is cast to GetVarType in place: false when the cast raises
    // EVariantError (other exceptions pass).
    virtual bool IsValueValid(Variant& AValue) const;
    // Managed kinds: the buffer's address becomes the pointer it holds.
    virtual void PrepareValueBuffer(const void*& ABuffer) const;
  };
};

// The class operations of a value-type class (EInvalidCast for another class).
inline const TcxValueType::TMeta* cxValueType(TcxValueTypeClass AClass) { return ClassMeta<TcxValueType>(AClass); }

// What the fixed-size kinds share: a value of T in the buffer, a variant of
// type AVarType, streamed as the value's own bytes.
template <class T, TVarType AVarType, bool ANumeric = true>
struct TcxFixedValueTypeMeta : TcxValueType::TMeta {
  int BufferSize() const override { return static_cast<int>(sizeof(T)); }
  void BufferToVariant(const void* ABuffer, Variant& AValue) const override {
    T value;
    std::memcpy(&value, ABuffer, sizeof value);
    AValue = Variant(value);
  }
  void ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const override {
    AStream->ReadBuffer(ABuffer, sizeof(T));
  }
  void WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const override {
    AStream->WriteBuffer(ABuffer, sizeof(T));
  }
  TVarType GetVarType() const override { return AVarType; }
  bool IsNumeric() const override { return ANumeric; }
};

class TcxStringValueType : public TcxValueType {
  SK_CLASS(TcxStringValueType, TcxValueType)
 public:
  struct TMeta : TcxValueType::TMeta {
    void FreeBuffer(void* ABuffer) const override;
    int BufferSize() const override;
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    void ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    void WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const override;
    int CompareValues(const void* P1, const void* P2) const override;
    TVarType GetVarType() const override;
    bool IsManaged() const override;
    bool IsString() const override;
    void PrepareValueBuffer(const void*& ABuffer) const override;
  };
};

// The buffer points to a block: a 32-bit character count, then the UTF-16
// characters.
class TcxWideStringValueType : public TcxStringValueType {
  SK_CLASS(TcxWideStringValueType, TcxStringValueType)
 public:
  struct TMeta : TcxStringValueType::TMeta {
    void FreeBuffer(void* ABuffer) const override;
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    void ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    void WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const override;
    int CompareValues(const void* P1, const void* P2) const override;
    TVarType GetVarType() const override;
  };
};

// The fixed-size kinds: the value itself in the buffer.
class TcxSmallintValueType : public TcxValueType {
  SK_CLASS(TcxSmallintValueType, TcxValueType)
 public:
  struct TMeta : TcxFixedValueTypeMeta<std::int16_t, varSmallint> {
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
  };
};

class TcxIntegerValueType : public TcxValueType {
  SK_CLASS(TcxIntegerValueType, TcxValueType)
 public:
  struct TMeta : TcxFixedValueTypeMeta<std::int32_t, varInteger> {
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
  };
};

class TcxWordValueType : public TcxValueType {
  SK_CLASS(TcxWordValueType, TcxValueType)
 public:
  struct TMeta : TcxFixedValueTypeMeta<std::uint16_t, varWord> {
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
  };
};

class TcxBooleanValueType : public TcxValueType {
  SK_CLASS(TcxBooleanValueType, TcxValueType)
 public:
  struct TMeta : TcxFixedValueTypeMeta<std::uint8_t, varBoolean, false> {
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    // "True" or "False".
    String BufferToText(const void* ABuffer) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
  };
};

// Single, Float, Currency and DateTime order by value; an unordered pair
// (NaN) gives -1.
class TcxSingleValueType : public TcxValueType {
  SK_CLASS(TcxSingleValueType, TcxValueType)
 public:
  struct TMeta : TcxFixedValueTypeMeta<float, varSingle> {
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
  };
};

// Streamed as a 10-byte extended float.
class TcxFloatValueType : public TcxValueType {
  SK_CLASS(TcxFloatValueType, TcxValueType)
 public:
  struct TMeta : TcxFixedValueTypeMeta<double, varDouble> {
    void ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    void WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const override;
    int CompareValues(const void* P1, const void* P2) const override;
  };
};

class TcxCurrencyValueType : public TcxValueType {
  SK_CLASS(TcxCurrencyValueType, TcxValueType)
 public:
  struct TMeta : TcxFixedValueTypeMeta<std::int64_t, varCurrency> {
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
  };
};

class TcxDateTimeValueType : public TcxValueType {
  SK_CLASS(TcxDateTimeValueType, TcxValueType)
 public:
  struct TMeta : TcxFixedValueTypeMeta<double, varDate> {
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    String BufferToText(const void* ABuffer) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
  };
};

class TcxLargeIntValueType : public TcxValueType {
  SK_CLASS(TcxLargeIntValueType, TcxValueType)
 public:
  struct TMeta : TcxFixedValueTypeMeta<std::int64_t, varInt64> {
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
  };
};

// The 34-byte decimal record (platform/runtime/FMTBcd.h); streamed as a
// tagged variant.
class TcxFMTBcdValueType : public TcxValueType {
  SK_CLASS(TcxFMTBcdValueType, TcxValueType)
 public:
  struct TMeta : TcxValueType::TMeta {
    int BufferSize() const override;
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    String BufferToText(const void* ABuffer) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
    TVarType GetVarType() const override;
    bool IsNumeric() const override;
  };
};

// The 16-byte time-stamp record (platform/runtime/SqlTimSt.h); as a variant
// the equivalent date-time; streamed as a tagged variant.
class TcxSQLTimeStampValueType : public TcxValueType {
  SK_CLASS(TcxSQLTimeStampValueType, TcxValueType)
 public:
  struct TMeta : TcxValueType::TMeta {
    int BufferSize() const override;
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
    TVarType GetVarType() const override;
    bool IsNumeric() const override;
  };
};

// A pointer to a heap variant, allocated on the first store.
class TcxVariantValueType : public TcxValueType {
  SK_CLASS(TcxVariantValueType, TcxValueType)
 public:
  struct TMeta : TcxValueType::TMeta {
    void FreeBuffer(void* ABuffer) const override;
    int BufferSize() const override;
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    int CompareValues(const void* P1, const void* P2) const override;
    bool IsManaged() const override;
    void PrepareValueBuffer(const void*& ABuffer) const override;
  };
};

// A pointer to a heap byte string, allocated on the first store.
class TcxBLOBValueType : public TcxValueType {
  SK_CLASS(TcxBLOBValueType, TcxValueType)
 public:
  struct TMeta : TcxValueType::TMeta {
    void FreeBuffer(void* ABuffer) const override;
    int BufferSize() const override;
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    void ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    void WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const override;
    int CompareValues(const void* P1, const void* P2) const override;
    TVarType GetVarType() const override;
    bool IsManaged() const override;
    bool IsString() const override;
    void PrepareValueBuffer(const void*& ABuffer) const override;
  };
};

// An object reference, as an integer of a pointer's width (varInt64 on
// x86_64); FreeBuffer frees the object. Nothing is streamed.
class TcxObjectValueType : public TcxIntegerValueType {
  SK_CLASS(TcxObjectValueType, TcxIntegerValueType)
 public:
  struct TMeta : TcxIntegerValueType::TMeta {
    void FreeBuffer(void* ABuffer) const override;
    int BufferSize() const override;
    void BufferToVariant(const void* ABuffer, Variant& AValue) const override;
    void ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const override;
    void VariantToBuffer(void* ABuffer, const Variant& AValue) const override;
    void WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const override;
    // The two references as integers: -1, 0 or 1.
    int CompareValues(const void* P1, const void* P2) const override;
    TVarType GetVarType() const override;
    bool IsManaged() const override;
    void PrepareValueBuffer(const void*& ABuffer) const override;
  };
};

// ---------------------------------------------------------------------------
// The registered kinds

class TcxValueTypeClassList : public TObject {
  SK_CLASS(TcxValueTypeClassList, TObject)
 public:
  // Appends a class not yet present.
  void RegisterItem(TcxValueTypeClass AValueTypeClass);
  void UnregisterItem(TcxValueTypeClass AValueTypeClass);
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError outside the list.
  TcxValueTypeClass Items(int AIndex) const;
  // The first class whose caption equals ACaption ignoring case, or nil.
  TcxValueTypeClass ItemByCaption(const String& ACaption) const;

 private:
  std::vector<TcxValueTypeClass> FItems;
};

// The process-wide list, created on first use; nil once the unit has shut down.
TcxValueTypeClassList* GetValueTypeClassList();
// True exactly for TcxDateTimeValueType and TcxSQLTimeStampValueType.
bool IsDateTimeValueType(TcxValueTypeClass AClass);

// The unit's start-up registers the sixteen kinds; its shut-down
// unregisters them in reverse order and frees the list.
void cxDataStorageInitialization();
void cxDataStorageFinalization();
