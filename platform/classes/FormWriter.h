// Writing components as text form descriptions, the form reader's input.
//
// Classes in this file:
//   TFormWriter             the concrete TWriter
//   WriteComponentToText, WriteCollectionToText, WriteCollectionToStream
//
// What is written, for the root and every component its GetChildren lists
// (recursively, each component's own children inside its block):
//   - published properties in published order, when they have a setter (or
//     are sub-objects read in place), pass their stored test and differ from
//     the default (ordinals: the published default; strings: empty; floats:
//     0; references and events: nil; a Variant is written whenever its
//     stored test passes, so Empty and Null survive the round trip);
//   - sub-objects as `Sub.Prop` lines, collections as < item ... end >,
//     components by name (`Owner.Name` when owned by another root), events
//     by the name of the root's published method they call;
//   - then what DefineProperties declares (lists, binary data).
// Events bound to other objects or to unpublished methods cannot be named
// and are left out, as are unnamed components in references. Lines end with
// CR LF; nesting is shown by two spaces per level.
#pragma once

#include "platform/classes/Filer.h"

#include <set>
#include <vector>

class TFormWriter : public TWriter {
  SK_CLASS(TFormWriter, TWriter)
 public:
  // The nesting of components, sub-objects and collections written.
  static constexpr int MaxDepth = 200;

  void Create(TComponent* ARoot);
  // Writes the root with everything it contains; Text() then holds it.
  void WriteRootComponent();
  // Writes only a collection value < item ... end > (the writer's root, which
  // may be null, names references and events).
  void WriteCollectionValue(TCollection* ACollection);
  const String& Text() const { return FText; }

  // TFiler
  void DefineProperty(const String& AName, const TReaderProc& AReadData, const TWriterProc& AWriteData,
                      bool AHasData) override;
  void DefineBinaryProperty(const String& AName, const TStreamProc& AReadData, const TStreamProc& AWriteData,
                            bool AHasData) override;

  // TWriter
  void WriteListBegin() override;
  void WriteListEnd() override;
  void WriteString(const String& AValue) override;
  void WriteInteger(std::int64_t AValue) override;
  void WriteBoolean(bool AValue) override;
  void WriteFloat(double AValue) override;
  void WriteIdent(const String& AValue) override;
  void WriteCollection(TCollection* AValue) override;
  void WriteSet(const std::vector<String>& ANames) override;
  void WriteVariant(const Variant& AValue) override;

 private:
  void WriteComponent(TComponent* AComponent);
  void WriteProperties(TPersistent* AInstance, const String& APrefix);
  void WriteProperty(TPersistent* AInstance, const TPropInfo* AProp, const String& APrefix);
  template <class F>
  void WriteValueLine(const String& AName, F&& AWriteValue);
  void BeginValue();
  void WriteFloatValue(double AValue, bool ASingle);
  String ReferenceName(TComponent* AComponent) const;
  String MethodName(const TMethod& AMethod) const;
  void Enter(const String& AWhat);
  void Leave() { --FDepth; }
  String Spaces(int ACount) const { return String(static_cast<std::size_t>(ACount), L' '); }
  // Where list items and collection items of the current value are indented.
  int ValueIndent() const { return FIndent + 2 * FListLevel; }

  String FText;
  int FIndent;
  int FListLevel;
  int FTopValues;   // values written at the top of the current property line
  String FPrefix;   // "Sub." for DefineProperties of sub-objects
  String FCurrent;  // the property being written, for messages
  int FDepth;
  std::set<TComponent*> FWritten;
  std::vector<TPersistent*> FObjectChain;  // sub-objects being written, against cycles
};

// The description of ARoot and the components it contains.
String WriteComponentToText(TComponent* ARoot);

// A collection kept apart from a form (an image list's own stream): its
// value < item ... end > as text, or appended to a stream in UTF-8.
// ReadCollectionFromStream (FormReader.h) reads it back.
String WriteCollectionToText(TCollection* ACollection, TComponent* ARoot = nullptr);
void WriteCollectionToStream(TStream* AStream, TCollection* ACollection, TComponent* ARoot = nullptr);
