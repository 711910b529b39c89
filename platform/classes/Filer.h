// Reading and writing components as text form descriptions.
//
// Classes in this file:
//   TValueType              the kind of the next stored value
//   TFiler                  what DefineProperties receives
//   TReader, TWriter        read / write one form description
//
// The syntax: nested `object Name: TClass ... end` blocks; `Prop = value`
// lines (numbers, 'strings' joined with + and #nn character codes,
// identifiers, sets [a, b], lists ( ... ), collections < item ... end >,
// binary { hex }; a Variant as its value, or Null, or nil when unassigned);
// nested `Sub.Prop` names; component references resolved after the whole
// description is read; events bound to the root's published methods by name;
// Loaded called on every component last.
//
// FormReader.h reads descriptions, FormWriter.h writes them.
#pragma once

#include "platform/classes/Component.h"
#include "platform/runtime/Variants.h"

#include <cstdint>
#include <functional>
#include <vector>

class TStream;
class TCollection;

enum TValueType {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
  vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
  vaInt64, vaUTF8String, vaDouble
};

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

class TFiler : public TObject {
  SK_CLASS(TFiler, TObject)
 public:
  // Custom stored data of the object being read or written: the reader calls
  // AReadData when the description holds Name; the writer calls AWriteData
  // when AHasData.
  virtual void DefineProperty(const String& AName, const TReaderProc& AReadData, const TWriterProc& AWriteData,
                              bool AHasData) = 0;
  // The same for binary data, stored as { hex }.
  virtual void DefineBinaryProperty(const String& AName, const TStreamProc& AReadData,
                                    const TStreamProc& AWriteData, bool AHasData) = 0;
  TComponent* Root() const { return FRoot; }
  // The object whose stored values are compared when writing (an inherited
  // form's ancestor); null when every value is written against the defaults.
  TPersistent* Ancestor() const { return FAncestor; }

 protected:
  // DefineProperties is protected in TPersistent; readers and writers reach
  // it through here.
  static void CallDefineProperties(TPersistent* AInstance, TFiler* AFiler) { AInstance->DefineProperties(AFiler); }

  TComponent* FRoot;
  TPersistent* FAncestor;
};

// The reader's public operations used by DefineProperties procedures. The
// form reader (FormReader.h) implements them.
class TReader : public TFiler {
  SK_CLASS(TReader, TFiler)
 public:
  virtual TValueType NextValue() = 0;
  virtual bool EndOfList() = 0;
  virtual void ReadListBegin() = 0;
  virtual void ReadListEnd() = 0;
  virtual String ReadString() = 0;
  virtual std::int64_t ReadInt64() = 0;
  // Raises EReadError for a value outside the 32-bit range.
  virtual int ReadInteger() = 0;
  virtual bool ReadBoolean() = 0;
  virtual double ReadFloat() = 0;
  virtual String ReadIdent() = 0;
  virtual void ReadCollection(TCollection* ACollection) = 0;
  // The element names of a set value [a, b].
  virtual std::vector<String> ReadSet() = 0;
  // A number, string, True/False, Null or nil (Empty). Integers come back as
  // Integer, or Int64 beyond 32 bits; other numbers as Double; strings as
  // UnicodeString. Raises EReadError for any other value.
  virtual Variant ReadVariant() = 0;
  // Reads and drops the next value, whatever its kind.
  virtual void SkipValue() = 0;

  // The stored properties and owned objects of AInstance, up to its `end`;
  // what TComponent::ReadState does.
  virtual void ReadData(TComponent* AInstance) = 0;
  // While a component is read: the component that owns it and the one that
  // contains it in the description.
  TComponent* Owner() const { return FOwner; }
  TComponent* Parent() const { return FParent; }

 protected:
  TComponent* FOwner;
  TComponent* FParent;
};

// The writer's public operations used by DefineProperties procedures.
class TWriter : public TFiler {
  SK_CLASS(TWriter, TFiler)
 public:
  virtual void WriteListBegin() = 0;
  virtual void WriteListEnd() = 0;
  virtual void WriteString(const String& AValue) = 0;
  virtual void WriteInteger(std::int64_t AValue) = 0;
  virtual void WriteBoolean(bool AValue) = 0;
  virtual void WriteFloat(double AValue) = 0;
  virtual void WriteIdent(const String& AValue) = 0;
  virtual void WriteCollection(TCollection* AValue) = 0;
  // A set value [a, b] from its element names.
  virtual void WriteSet(const std::vector<String>& ANames) = 0;
  // Empty, Null, integers, Single, Double, Boolean and strings; raises
  // EWriteError for the types a description cannot hold (currency, date,
  // arrays, custom types) and for UInt64 values beyond Int64.
  virtual void WriteVariant(const Variant& AValue) = 0;
};
