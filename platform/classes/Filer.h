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
// binary { hex }); nested `Sub.Prop` names; component references resolved
// after the whole description is read; events bound to the root's published
// methods by name; Loaded called on every component last.
#pragma once

#include "platform/classes/Component.h"

#include <cstdint>
#include <functional>

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

 protected:
  TComponent* FRoot;
};
