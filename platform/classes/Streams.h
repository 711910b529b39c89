// Byte streams.
//
// Classes in this file:
//   TSeekOrigin, TStreamOwnership, the file open modes fmXxx
//   TStream                 a sequence of bytes with a 64-bit position
//   THandleStream           a stream over a Windows file handle
//   TFileStream             a file opened or created by name
//   TCustomMemoryStream     a stream over a block of memory
//   TMemoryStream           a growable stream in memory
//   TBytesStream            a memory stream whose memory is a byte array
//   TStringStream           a bytes stream holding text in one encoding
//   TResourceStream         a read-only stream over a module's resource
//   TStreamAdapter          an IStream over a TStream, counted as COM counts
//   TComRef<I>              one counted reference to a COM interface
//
// Read and Write move at most Count bytes and return how many they moved;
// ReadBuffer and WriteBuffer move exactly Count bytes or raise EReadError /
// EWriteError. A memory stream may be positioned beyond its end: reading
// there gives nothing, writing there fills the gap with zeros.
#pragma once

#include "platform/classes/ClassErrors.h"
#include "platform/runtime/Encoding.h"
#include "platform/runtime/Handles.h"

#include <objidl.h>

#include <cstdint>
#include <type_traits>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
// The older names of the origins.
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

// Whether a stream frees the stream it reads from.
enum TStreamOwnership { soReference, soOwned };

// File stream modes: one access mode, or'ed with one share mode.
constexpr std::uint16_t fmOpenRead = 0x0000;
constexpr std::uint16_t fmOpenWrite = 0x0001;
constexpr std::uint16_t fmOpenReadWrite = 0x0002;
// With fmCreate: fail when the file exists.
constexpr std::uint16_t fmExclusive = 0x0004;
constexpr std::uint16_t fmShareCompat = 0x0000;  // as fmShareExclusive
constexpr std::uint16_t fmShareExclusive = 0x0010;
constexpr std::uint16_t fmShareDenyWrite = 0x0020;
constexpr std::uint16_t fmShareDenyRead = 0x0030;
constexpr std::uint16_t fmShareDenyNone = 0x0040;
// Creates the file (or empties an existing one), opened for reading and writing.
constexpr std::uint16_t fmCreate = 0xFF00;

// The run-time's text of a memory stream that cannot grow.
extern const wchar_t* const SMemoryStreamError;

class TStream : public TObject {
  SK_CLASS(TStream, TObject)
 public:
  // Properties
  std::int64_t Position() const;
  void SetPosition(std::int64_t AValue) { Seek(AValue, soBeginning); }
  std::int64_t Size() const { return GetSize(); }
  virtual void SetSize(std::int64_t ANewSize);

  // Operations
  virtual int Read(void* ABuffer, int ACount) = 0;
  virtual int Write(const void* ABuffer, int ACount) = 0;
  // The new position.
  virtual std::int64_t Seek(std::int64_t AOffset, TSeekOrigin AOrigin) = 0;
  // Byte arrays: ACount bytes at AOffset of the array (checked against its size).
  int ReadBytes(TBytes& ABuffer, int AOffset, int ACount);
  int WriteBytes(const TBytes& ABuffer, int AOffset, int ACount);

  void ReadBuffer(void* ABuffer, std::int64_t ACount);
  void WriteBuffer(const void* ABuffer, std::int64_t ACount);
  // Copies ACount bytes from ASource's position; 0 copies the whole of
  // ASource from its start. Raises EReadError when ASource ends early.
  std::int64_t CopyFrom(TStream* ASource, std::int64_t ACount = 0);

  // A scalar in memory order: ReadData / WriteData return the bytes moved,
  // ReadBufferData / WriteBufferData raise on a short transfer.
  template <class T>
  int ReadData(T& AValue) {
    static_assert(std::is_trivially_copyable_v<T>, "scalars and plain records only");
    return Read(&AValue, static_cast<int>(sizeof(T)));
  }
  template <class T>
  int WriteData(const T& AValue) {
    static_assert(std::is_trivially_copyable_v<T>, "scalars and plain records only");
    return Write(&AValue, static_cast<int>(sizeof(T)));
  }
  template <class T>
  void ReadBufferData(T& AValue) {
    static_assert(std::is_trivially_copyable_v<T>, "scalars and plain records only");
    ReadBuffer(&AValue, sizeof(T));
  }
  template <class T>
  void WriteBufferData(const T& AValue) {
    static_assert(std::is_trivially_copyable_v<T>, "scalars and plain records only");
    WriteBuffer(&AValue, sizeof(T));
  }

 protected:
  // By default measured with Seek, the position restored.
  virtual std::int64_t GetSize() const;
};

class THandleStream : public TStream {
  SK_CLASS(THandleStream, TStream)
 public:
  // The stream does not close AHandle.
  void Create(HANDLE AHandle) { FHandle = AHandle; }

  HANDLE Handle() const { return FHandle; }
  int Read(void* ABuffer, int ACount) override;
  int Write(const void* ABuffer, int ACount) override;
  // Raises EStreamError with the system's text when the system refuses.
  std::int64_t Seek(std::int64_t AOffset, TSeekOrigin AOrigin) override;
  // Moves the end of the file (the position stays, clamped to the new end).
  void SetSize(std::int64_t ANewSize) override;

 protected:
  std::int64_t GetSize() const override;
  HANDLE FHandle;
};

class TFileStream : public THandleStream {
  SK_CLASS(TFileStream, THandleStream)
 public:
  // Raises EFCreateError (fmCreate) or EFOpenError with the file name and
  // the system's reason.
  void Create(const String& AFileName, std::uint16_t AMode);
  void Destroy() override;

  const String& FileName() const { return FFileName; }

 private:
  String FFileName;
};

class TCustomMemoryStream : public TStream {
  SK_CLASS(TCustomMemoryStream, TStream)
 public:
  void* Memory() const { return FMemory; }
  int Read(void* ABuffer, int ACount) override;
  // Negative positions raise EStreamError.
  std::int64_t Seek(std::int64_t AOffset, TSeekOrigin AOrigin) override;
  void SaveToStream(TStream* AStream);
  void SaveToFile(const String& AFileName);

 protected:
  std::int64_t GetSize() const override { return FSize; }
  // The stream's memory from now on; the position is kept.
  void SetPointer(void* APtr, std::int64_t ASize);
  std::int64_t FPosition;

 private:
  void* FMemory;
  std::int64_t FSize;
};

class TMemoryStream : public TCustomMemoryStream {
  SK_CLASS(TMemoryStream, TCustomMemoryStream)
 public:
  void Destroy() override;

  std::int64_t Capacity() const { return FCapacity; }
  void SetCapacity(std::int64_t ANewCapacity);
  int Write(const void* ABuffer, int ACount) override;
  // Growing leaves the new bytes zero; the position is clamped to the new size.
  void SetSize(std::int64_t ANewSize) override;
  // Size, position and memory back to nothing.
  void Clear();
  // Replaces the content by the whole of AStream (from its start).
  void LoadFromStream(TStream* AStream);
  void LoadFromFile(const String& AFileName);

 protected:
  // The memory for ANewCapacity bytes (0: free it). An override may raise
  // ANewCapacity (its growth step); the content up to the size is kept.
  // Raises EStreamError when memory runs out.
  virtual void* Realloc(std::int64_t& ANewCapacity);
  std::int64_t FCapacity;
};

class TBytesStream : public TMemoryStream {
  SK_CLASS(TBytesStream, TMemoryStream)
 public:
  void Create() {}
  // The stream starts with ABytes at position 0.
  void Create(const TBytes& ABytes);

  // The array behind the stream; it may be longer than Size.
  const TBytes& Bytes() const { return FBytes; }

 protected:
  void* Realloc(std::int64_t& ANewCapacity) override;

 private:
  TBytes FBytes;
};

class TStringStream : public TBytesStream {
  SK_CLASS(TStringStream, TBytesStream)
 public:
  // An empty stream in the ANSI code page.
  void Create() { Create(String(), nullptr); }
  // AString in AEncoding (ANSI when null), positioned at 0.
  void Create(const String& AString, TEncoding* AEncoding = nullptr);
  void Create(const TBytes& ABytes, TEncoding* AEncoding = nullptr);

  TEncoding* Encoding() const { return FEncoding; }
  // The whole content decoded.
  String DataString() const;
  // ACount bytes from the position, decoded (fewer at the end).
  String ReadString(int ACount);
  // Writes AString encoded at the position.
  void WriteString(const String& AString);

 private:
  TEncoding* FEncoding;
};

class TResourceStream : public TCustomMemoryStream {
  SK_CLASS(TResourceStream, TCustomMemoryStream)
 public:
  // The resource AResName ("#12" for an id) of type AResType (RT_RCDATA ...)
  // in the module AInstance (null: the program). Raises EResNotFound.
  void Create(HINSTANCE AInstance, const String& AResName, const wchar_t* AResType);
  void Create(HINSTANCE AInstance, int AResID, const wchar_t* AResType);
  // Raises EStreamError: resources are read-only.
  int Write(const void* ABuffer, int ACount) override;
  void SetSize(std::int64_t ANewSize) override;

 private:
  void Initialize(HINSTANCE AInstance, const wchar_t* AName, const wchar_t* AResType, const String& AShownName);
};

// An IStream over one of our streams, for the system calls that read or
// write through one (image lists, GDI+). COM counts its references: New
// hands the caller the first one, and the last Release frees the adapter
// (and the stream, when the adapter owns it). No exception leaves a method;
// a failing stream answers the COM error of the operation.
class TStreamAdapter : public TObject, public IStream {
  SK_CLASS(TStreamAdapter, TObject)
 public:
  void Create(TStream* AStream, TStreamOwnership AOwnership = soReference);
  void Destroy() override;

  TStream* Stream() const { return FStream; }
  TStreamOwnership StreamOwnership() const { return FOwnership; }
  void SetStreamOwnership(TStreamOwnership AValue) { FOwnership = AValue; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // ISequentialStream: a short read answers S_FALSE.
  HRESULT STDMETHODCALLTYPE Read(void* ABuffer, ULONG ACount, ULONG* ARead) override;
  HRESULT STDMETHODCALLTYPE Write(const void* ABuffer, ULONG ACount, ULONG* AWritten) override;
  // IStream
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER AMove, DWORD AOrigin, ULARGE_INTEGER* ANewPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER ANewSize) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* ADest, ULARGE_INTEGER ACount, ULARGE_INTEGER* ARead,
                                   ULARGE_INTEGER* AWritten) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD AFlags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER AOffset, ULARGE_INTEGER ACount, DWORD ALockType) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER AOffset, ULARGE_INTEGER ACount, DWORD ALockType) override;
  // The type and the size; a nil record answers STG_E_INVALIDPOINTER.
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* AStatStg, DWORD AStatFlag) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** AStream) override;

 private:
  TStream* FStream;
  TStreamOwnership FOwnership;
  volatile LONG FRefCount;
};

template <class I>
struct TComRefTraits {
  using Handle = I*;
  static constexpr Handle Null() { return nullptr; }
  static void Free(Handle AHandle) { AHandle->Release(); }
};
// Holds one reference, released when dropped; it adds none of its own.
template <class I>
using TComRef = TUniqueHandle<TComRefTraits<I>>;
