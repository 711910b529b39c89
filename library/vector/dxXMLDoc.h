// The library's XML document: an in-memory tree of elements with attributes
// and text, a forgiving single-pass reader (dxXMLDoc_Reader.cpp) and a UTF-8
// writer with optional tab indentation (dxXMLDoc_Writer.cpp).
//
// Classes in this file:
//   TdxXMLString                  an 8-bit string: names as the bytes stood in the source
//   TdxXMLDateTime                a date-time in the XML form yyyy-mm-ddThh:nn:ss.zzz[Z|±hh:nn]
//   EdxXMLUnexpectedToken         a date-time text that cannot be read
//   TdxXMLServiceCharMapItem, TdxXMLHelper   entities, character escapes, Boolean text, name scopes
//   TdxXMLNodeAttribute, TdxXMLNodeAttributes   the attributes of an element, in order of addition
//   TdxXMLNode, TdxXMLNodes       an element and its child list
//   TdxXMLDocument                a document: a nameless root node whose children are the elements
//   TdxXMLToken, TdxXMLTokenID, TdxXMLEncoding   what the reader's tokenizer hands out
//   TdxXMLSharedStrings           the reader's table of interned names and values
//   TdxXMLParser                  the reader
//
// Strings: names are TdxXMLString; attribute values and texts are UTF-16. The
// 8-bit accessors (Text, Value, GetValue, SetValue) convert through UTF-8.
// A character escape is "_x", four hexadecimal digits and "_"; it stands for
// the character with that code.
//
// Reading never rejects a document: malformed markup ends the parse quietly
// and the tree built so far stays. A document is used by one thread at a time.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/core/base/dxCoreClasses.h"
#include "platform/classes/Persistent.h"
#include "platform/classes/Streams.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/Variants.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

using TdxXMLString = RawByteString;

class TdxXMLDocument;
class TdxXMLNode;
class TdxXMLParser;

using TdxXMLNodeForEachProc = std::function<void(TdxXMLNode* ANode, void* AUserData)>;

// UTF-16 to UTF-8 and back.
TdxXMLString dxStringToXMLString(std::wstring_view AText);
String dxXMLStringToString(std::string_view AText);

// ---------------------------------------------------------------------------
// Date-time

class EdxXMLUnexpectedToken : public EdxException {
 public:
  // AToken is shown as "#0" when it is the character 0 (the end of the text).
  EdxXMLUnexpectedToken(wchar_t AToken, const String& AText);
};

struct TdxXMLDateTime {
  std::uint16_t Year = 0;
  std::uint16_t Month = 0;
  std::uint16_t Day = 0;
  std::uint16_t Hour = 0;
  std::uint16_t Minute = 0;
  std::uint16_t Second = 0;
  std::uint16_t Millisecond = 0;
  bool IsUTC = false;

  static TdxXMLDateTime Create(const String& AText);
  static TdxXMLDateTime Create(TDateTime AValue, bool AIsUTC);

  void Assign(TDateTime AValue, bool AIsUTC);
  void Clear() { *this = TdxXMLDateTime(); }
  // yyyy-mm-dd, optionally Thh:nn:ss with a fraction of a second, then
  // optionally Z or an offset ±hh[:nn] that is folded into the fields (the
  // result is UTC). A missing digit run reads as 0. Raises
  // EdxXMLUnexpectedToken for a character where another is required or left
  // over, and the run-time's conversion error when an offset is applied to
  // fields that make no date-time.
  void Parse(const String& AText);
  // Raises the run-time's conversion error for fields that make no date-time.
  TDateTime ToDateTime() const;
  // "yyyy-mm-dd'T'hh:nn:ss.zzz", with "Z" when IsUTC.
  String ToString() const;

 private:
  std::int64_t TotalMilliseconds() const;
  void SetTotalMilliseconds(std::int64_t AValue);
  void AddSecond();
};

// ---------------------------------------------------------------------------
// Helper

struct TdxXMLServiceCharMapItem {
  wchar_t Char;
  std::wstring_view Replacement;
};

class TdxXMLHelper {
 public:
  // Tab, line feed, carriage return, double quote, apostrophe, '<', '>', '&'.
  static constexpr TdxXMLServiceCharMapItem ServiceCharMap[8] = {
      {L'\t', L"&#9;"},  {L'\n', L"&#10;"}, {L'\r', L"&#13;"}, {L'"', L"&quot;"},
      {L'\'', L"&apos;"}, {L'<', L"&lt;"},  {L'>', L"&gt;"},   {L'&', L"&amp;"},
  };

  // Up to and including the last colon ("xlink:" of "xlink:href"); empty without one.
  static TdxXMLString ExtractNameScope(const TdxXMLString& AName);
  // After the last colon; the whole name without one.
  static TdxXMLString ExtractNameWithoutNameScope(const TdxXMLString& AName);

  // A decimal integer is true when not zero; other text is true exactly when
  // it is "true" in any letter case.
  static bool DecodeBoolean(const String& AText);
  static String EncodeBoolean(bool AValue) { return AValue ? L"true" : L"false"; }

  // One pass: character escapes, the entities of ServiceCharMap and character
  // references (decimal or hexadecimal, up to U+10FFFF; beyond U+FFFF as a
  // surrogate pair) are decoded once each. Other named entities, references
  // without digits and references too large stay as they stand.
  static String DecodeString(const String& AText);
  // Per character, the first rule that applies: with ARemoveLineBreaks a
  // carriage return or line feed becomes a space; with AKeepLineBreaks it
  // stays; without ASkipEntities a character of ServiceCharMap becomes its
  // entity; a code below 32 or 65535 becomes a character escape; an
  // underscore that would start a character escape in the output (the text
  // holds one, or "_x" and four hexadecimal digits before a character that
  // becomes an escape) becomes "_x005F_". So decoding gives the text back.
  static String EncodeString(const String& AText, bool ARemoveLineBreaks = false, bool ASkipEntities = false,
                             bool AKeepLineBreaks = false);
  // Whether the text must be written with xml:space="preserve": it begins or
  // ends with white space, or holds a line break.
  static bool IsPreserveSpacesNeeded(const String& AText);
};

// ---------------------------------------------------------------------------
// Attributes

class TdxXMLNodeAttributes;

class TdxXMLNodeAttribute : public TcxDoublyLinkedObject {
  SK_CLASS(TdxXMLNodeAttribute, TcxDoublyLinkedObject)
 public:
  void Create() override {}

  // Properties
  const TdxXMLString& Name() const { return FName; }
  void SetName(const TdxXMLString& AValue) { FName = AValue; }
  TdxXMLString Value() const { return dxStringToXMLString(FValue); }
  void SetValue(const TdxXMLString& AValue) { FValue = dxXMLStringToString(AValue); }
  const String& ValueAsString() const { return FValue; }
  void SetValueAsString(const String& AValue) { FValue = AValue; }
  bool ValueAsBoolean() const { return TdxXMLHelper::DecodeBoolean(FValue); }
  // Stored as "1" or "0".
  void SetValueAsBoolean(bool AValue) { FValue = AValue ? L"1" : L"0"; }
  TDateTime ValueAsDateTime() const;
  void SetValueAsDateTime(TDateTime AValue);
  // '.' is the decimal separator; bad text raises EConvertError.
  double ValueAsFloat() const;
  void SetValueAsFloat(double AValue);
  // A decimal integer, or 1 and 0 for "true" and "false" in any letter case;
  // other text raises EConvertError.
  int ValueAsInteger() const;
  void SetValueAsInteger(int AValue) { FValue = IntToStr(AValue); }
  std::int64_t ValueAsInt64() const;
  void SetValueAsInt64(std::int64_t AValue) { FValue = IntToStr(static_cast<long long>(AValue)); }

  TdxXMLNodeAttribute* Next() const { return static_cast<TdxXMLNodeAttribute*>(TcxDoublyLinkedObject::Next()); }

 private:
  friend class TdxXMLNodeAttributes;
  friend class TdxXMLParser;
  TdxXMLString FName;
  String FValue;
};

class TdxXMLNodeAttributes : public TcxDoublyLinkedObjectList {
  SK_CLASS(TdxXMLNodeAttributes, TcxDoublyLinkedObjectList)
 public:
  void Create(TdxXMLNode* ANode) { FNode = ANode; }

  using TcxDoublyLinkedObjectList::Add;
  using TcxDoublyLinkedObjectList::Delete;
  // A new attribute with an empty value, appended.
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName);
  // A new attribute with a value: Booleans as "1" or "0", numbers with '.'.
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, bool AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, int AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, std::int64_t AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, double AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, const TdxXMLString& AValue);
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, const String& AValue);
  // Text literals are text, never Booleans.
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, const char* AValue) { return Add(AName, TdxXMLString(AValue)); }
  TdxXMLNodeAttribute* Add(const TdxXMLString& AName, const wchar_t* AValue) { return Add(AName, String(AValue)); }

  // Removes every attribute, then appends a copy of each of ASource's.
  void Assign(const TdxXMLNodeAttributes* ASource);
  // Names compare byte for byte; the first match counts.
  bool Find(const TdxXMLString& AName, TdxXMLNodeAttribute*& AAttribute) const;
  bool Exists(const TdxXMLString& AName) const;
  // Frees the first attribute of that name, if any.
  void Delete(const TdxXMLString& AName);

  // Getters: ADefault when the attribute is missing.
  TdxXMLString GetValue(const TdxXMLString& AName, const TdxXMLString& ADefault = TdxXMLString()) const;
  String GetValueAsString(const TdxXMLString& AName, const String& ADefault = String()) const;
  bool GetValueAsBoolean(const TdxXMLString& AName, bool ADefault = false) const;
  // Bad text raises EConvertError.
  double GetValueAsFloat(const TdxXMLString& AName, double ADefault = 0) const;
  // Bad text gives ADefault as well.
  int GetValueAsInteger(const TdxXMLString& AName, int ADefault = 0) const;
  std::int64_t GetValueAsInt64(const TdxXMLString& AName, std::int64_t ADefault = 0) const;
  TDateTime GetValueAsDateTime(const TdxXMLString& AName, TDateTime ADefault = 0) const;
  // Whether the attribute exists; when it does, its value is parsed into AValue.
  bool GetValueAsDateTime(const TdxXMLString& AName, TdxXMLDateTime& AValue) const;
  // bDefault when the attribute is missing.
  TdxDefaultBoolean GetValueAsDefaultBoolean(const TdxXMLString& AName) const;

  // Setters: the first attribute of the name, appended when missing.
  void SetValue(const TdxXMLString& AName, const TdxXMLString& AValue);
  void SetValueAsString(const TdxXMLString& AName, const String& AValue);
  void SetValueAsBoolean(const TdxXMLString& AName, bool AValue);
  void SetValueAsInteger(const TdxXMLString& AName, int AValue);
  void SetValueAsInt64(const TdxXMLString& AName, std::int64_t AValue);
  void SetValueAsFloat(const TdxXMLString& AName, double AValue);
  // With "Z" when AValue.IsUTC.
  void SetValueAsDateTime(const TdxXMLString& AName, const TdxXMLDateTime& AValue);
  // Local time: no "Z".
  void SetValueAsDateTime(const TdxXMLString& AName, TDateTime AValue);
  // bDefault deletes the attribute.
  void SetValueAsDefaultBoolean(const TdxXMLString& AName, TdxDefaultBoolean AValue);

  // Properties
  TdxXMLNodeAttribute* First() const { return static_cast<TdxXMLNodeAttribute*>(TcxDoublyLinkedObjectList::First()); }
  TdxXMLNodeAttribute* Last() const { return static_cast<TdxXMLNodeAttribute*>(TcxDoublyLinkedObjectList::Last()); }
  TdxXMLNode* Node() const { return FNode; }

 protected:
  TClass GetNodeClass() override { return TdxXMLNodeAttribute::ClassInfo(); }

 private:
  TdxXMLNodeAttribute* Ensure(const TdxXMLString& AName);

  TdxXMLNode* FNode;
};

// ---------------------------------------------------------------------------
// Nodes

// The children of a node, in order of insertion.
class TdxXMLNodes : public TcxDoublyLinkedObjectList {
  SK_CLASS(TdxXMLNodes, TcxDoublyLinkedObjectList)
 public:
  using TcxDoublyLinkedObjectList::Add;
  // Appends a node made elsewhere; the list owns it from now on.
  void Add(TdxXMLNode* ANode);
  TdxXMLNode* First() const;
  TdxXMLNode* Last() const;

 protected:
  TClass GetNodeClass() override;
};

class TdxXMLNode : public TcxDoublyLinkedObject {
  SK_CLASS(TdxXMLNode, TcxDoublyLinkedObject)
 public:
  void Create() override;
  // Leaves the parent's child list, then frees the attributes and the
  // children (however deep, without recursion).
  void Destroy() override;

  // Operations
  // A new last child of the class GetChildNodeClass answers.
  TdxXMLNode* AddChild(const TdxXMLString& ATagName);
  // Clear, then a copy of ASource's name, attributes and children. The text
  // is not copied.
  void Assign(const TdxXMLNode* ASource);
  // Removes the attributes and the children; the text stays.
  virtual void Clear();
  // The first direct child of that name (byte for byte).
  virtual bool FindChild(const TdxXMLString& AName, TdxXMLNode*& ANode) const;
  TdxXMLNode* FindChild(const TdxXMLString& AName) const;
  // Follows a path of names, one level per name; with ACanCreate a missing
  // step is added. True when the path is not empty and its last node exists.
  bool FindChild(std::span<const TdxXMLString> ANames, bool ACanCreate, TdxXMLNode*& ANode);
  bool FindChild(std::initializer_list<TdxXMLString> ANames, bool ACanCreate, TdxXMLNode*& ANode) {
    return FindChild(std::span<const TdxXMLString>(ANames.begin(), ANames.size()), ACanCreate, ANode);
  }
  // AProc for each direct child, first to last.
  void ForEach(const TdxXMLNodeForEachProc& AProc, void* AUserData);
  // The text of the first child of that name, or empty.
  String GetChildValue(const TdxXMLString& AName) const;
  // Raises EListError for an index outside the children.
  TdxXMLNode* GetItem(int AIndex) const;
  bool HasAttribute(const TdxXMLString& AName) const { return FAttributes->Exists(AName); }
  // The value's text form.
  void SetAttribute(const TdxXMLString& AName, const Variant& AValue);

  // Writer steps (dxXMLDoc_Writer.cpp)
  virtual void Write(TStream* AStream, bool AAutoIndent);
  virtual void WriteAttributes(TStream* AStream);
  virtual void WriteChildren(TStream* AStream, bool AAutoIndent);
  virtual void WriteContent(TStream* AStream, bool AAutoIndent);

  // Properties
  TdxXMLNodeAttributes* Attributes() const { return FAttributes.get(); }
  const TdxXMLString& Name() const { return FName; }
  void SetName(const TdxXMLString& AValue) { FName = AValue; }
  String NameAsString() const { return dxXMLStringToString(FName); }
  void SetNameAsString(const String& AValue) { FName = dxStringToXMLString(AValue); }
  TdxXMLString NameScope() const { return TdxXMLHelper::ExtractNameScope(FName); }
  TdxXMLString NameWithoutNameScope() const { return TdxXMLHelper::ExtractNameWithoutNameScope(FName); }
  TdxXMLString Text() const { return dxStringToXMLString(FText); }
  void SetText(const TdxXMLString& AValue) { FText = dxXMLStringToString(AValue); }
  bool TextAsBoolean() const { return TdxXMLHelper::DecodeBoolean(FText); }
  // "true" or "false".
  void SetTextAsBoolean(bool AValue) { FText = TdxXMLHelper::EncodeBoolean(AValue); }
  TDateTime TextAsDateTime() const;
  // Local time: no "Z".
  void SetTextAsDateTime(TDateTime AValue);
  // '.' is the decimal separator; bad text raises EConvertError.
  double TextAsFloat() const;
  void SetTextAsFloat(double AValue);
  // Bad text raises EConvertError.
  int TextAsInteger() const;
  void SetTextAsInteger(int AValue) { FText = IntToStr(AValue); }
  const String& TextAsString() const { return FText; }
  void SetTextAsString(const String& AValue) { FText = AValue; }

  int Count() const { return FChildren ? FChildren->Count() : 0; }
  TdxXMLNode* First() const { return FChildren ? FChildren->First() : nullptr; }
  bool HasChildren() const { return FChildren && FChildren->First(); }
  // The position among the parent's children from 0; -1 without a parent.
  int Index() const;
  // No attributes, no children and no text.
  virtual bool IsEmpty() const;
  // The number of ancestors minus one: -1 for a document's root node, 0 for
  // its elements.
  int Level() const;
  TdxXMLNode* Next() const { return static_cast<TdxXMLNode*>(TcxDoublyLinkedObject::Next()); }
  TdxXMLNode* Parent() const { return FParent; }

 protected:
  // Sets xml:space="preserve" when the text needs it, deletes it otherwise.
  virtual void CheckPreserveSpacesAttribute();
  virtual TdxXMLNodeAttributes* CreateAttributes();
  // The class AddChild creates.
  virtual TClass GetChildNodeClass() const { return TdxXMLNode::ClassInfo(); }

 private:
  friend class TdxXMLParser;
  bool IsSpacePreserved() const;
  void FreeChildren();

  TOwned<TdxXMLNodeAttributes> FAttributes;
  TdxXMLNode* FParent;
  String FText;
  TOwned<TdxXMLNodes> FChildren;
  TdxXMLString FName;
};

// ---------------------------------------------------------------------------
// Document

class TdxXMLDocument : public TcxInterfacedPersistent {
  SK_CLASS(TdxXMLDocument, TcxInterfacedPersistent)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;
  // A new document without owner, loaded from the file.
  static TdxXMLDocument* CreateEx(const String& AFileName);

  // Operations
  // A new top-level element.
  TdxXMLNode* AddChild(const TdxXMLString& ATagName) { return FRoot->AddChild(ATagName); }
  bool FindChild(const TdxXMLString& AName, TdxXMLNode*& ANode) const { return FRoot->FindChild(AName, ANode); }
  // Follows a path of names from the root without creating anything.
  bool FindChild(std::span<const TdxXMLString> ANames, TdxXMLNode*& ANode) const;
  bool FindChild(std::initializer_list<TdxXMLString> ANames, TdxXMLNode*& ANode) const {
    return FindChild(std::span<const TdxXMLString>(ANames.begin(), ANames.size()), ANode);
  }
  TdxXMLNode* FindChild(std::span<const TdxXMLString> ANames) const;
  TdxXMLNode* FindChild(std::initializer_list<TdxXMLString> ANames) const {
    return FindChild(std::span<const TdxXMLString>(ANames.begin(), ANames.size()));
  }
  // When the path exists: AProc for each direct child of the node at its end.
  void ForEach(std::span<const TdxXMLString> ANames, void* AUserData, const TdxXMLNodeForEachProc& AProc);

  // Reading (dxXMLDoc_Reader.cpp). Stream and file errors propagate; the
  // root has been cleared by then.
  void LoadFromFile(const String& AFileName);
  void LoadFromResource(HINSTANCE AInstance, const String& AResName, const wchar_t* AResType);
  // From the stream's position to its end.
  void LoadFromStream(TStream* AStream);
  void LoadFromString(const TdxXMLString& AText);

  // Writing (dxXMLDoc_Writer.cpp): always UTF-8.
  void SaveToFile(const String& AFileName);
  void SaveToStream(TStream* AStream);

  // Loading runs between these; they do nothing here.
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}

  // Properties
  // Whether the writer indents with tabs and breaks lines.
  bool AutoIndent() const { return FAutoIndent; }
  void SetAutoIndent(bool AValue) { FAutoIndent = AValue; }
  const TdxXMLString& Encoding() const { return FEncoding; }
  void SetEncoding(const TdxXMLString& AValue) { FEncoding = AValue; }
  TdxXMLNode* Root() const { return FRoot.get(); }
  const TdxXMLString& Standalone() const { return FStandalone; }
  void SetStandalone(const TdxXMLString& AValue) { FStandalone = AValue; }
  const TdxXMLString& Version() const { return FVersion; }
  void SetVersion(const TdxXMLString& AValue) { FVersion = AValue; }

 protected:
  // A parser for this document with shared strings.
  virtual TOwned<TdxXMLParser> CreateParser();
  virtual TdxXMLNode* CreateRootNode();
  // Written after the elements: nothing here.
  virtual TdxXMLString GetFooter() { return TdxXMLString(); }
  // The XML declaration with a line break; empty when version, encoding and
  // standalone are all empty.
  virtual TdxXMLString GetHeader();
  virtual void ParseBuffer(const char* ABuffer, std::size_t ACount);

 private:
  bool FAutoIndent;
  TdxXMLString FEncoding;
  TOwned<TdxXMLNode> FRoot;
  TdxXMLString FStandalone;
  TdxXMLString FVersion;
};

// ---------------------------------------------------------------------------
// Reader

enum TdxXMLTokenID {
  ttUnknown,         // a name, a word of text, a quoted value or a lone '/'
  ttEqual,           // "="
  ttTagHeaderBegin,  // "<"
  ttTagHeaderEnd,    // ">"
  ttTagEnd,          // "/>" or "?>"
  ttTagFooter,       // "</"
  ttComment,         // the text between "<!--" and "-->"
  ttCDATA,           // the text between "<![CDATA[" and "]]>"
};

struct TdxXMLToken {
  const char* Buffer = nullptr;
  std::size_t BufferLengthInChars = 0;
  TdxXMLTokenID TokenType = ttUnknown;

  std::string_view View() const { return {Buffer, BufferLengthInChars}; }
};

// The code page a document's bytes are read in: the system's ANSI code page,
// UTF-8, or a numbered Windows code page.
enum TdxXMLEncoding { dxxeNone, dxxeUTF8, dxxeWindows };

// Two chained hash tables of 65,535 buckets (8-bit and UTF-16 strings). Add
// answers the stored string equal to its argument, storing it first when
// there is none; the answer lives as long as the table (until Clear).
class TdxXMLSharedStrings : public TObject {
  SK_CLASS(TdxXMLSharedStrings, TObject)
 public:
  static constexpr std::uint32_t TableSize = 65535;

  struct TAnsiStringValue {
    std::uint32_t Hash;
    TAnsiStringValue* Next;
    TdxXMLString Value;
  };
  struct TStringValue {
    std::uint32_t Hash;
    TStringValue* Next;
    String Value;
  };

  void Create() {}

  const TdxXMLString& Add(const TdxXMLToken& AToken) { return Add(AToken.View()); }
  const TdxXMLString& Add(std::string_view AValue);
  const String& Add(std::wstring_view AValue);
  // Frees every entry.
  void Clear();

 private:
  std::vector<TAnsiStringValue*> FTableA;
  std::vector<TStringValue*> FTableS;
  std::deque<TAnsiStringValue> FValuesA;
  std::deque<TStringValue> FValuesS;
};

class TdxXMLParser : public TObject {
  SK_CLASS(TdxXMLParser, TObject)
 public:
  // An element nested deeper ends the parse: every tree the reader builds
  // can be written and copied without exhausting the stack.
  static constexpr int MaxDepth = 1024;

  // With AShareStrings, names go through a shared-strings table while the
  // parser lives. Values do not: a node keeps a copy either way.
  virtual void Create(TdxXMLDocument* ADocument, bool AShareStrings);

  // Clears the document's root and reads the bytes into it (UTF-16 text
  // through UTF-8).
  void Parse(const char* ABuffer, std::size_t ACount);
  TdxXMLDocument* Document() const { return FDocument; }

 protected:
  // The bytes in the current encoding, entities and escapes decoded.
  virtual String DecodeValue(const char* AData, std::size_t ACount);
  // Reads "<?...?>": its encoding and version go to the document.
  virtual void ParseDeclaration();
  virtual void SelectEncoding();
  // Reads a start tag's name and attributes after "<". Answers the node
  // whose content follows: ANode after ">", its parent after "/>", nil for
  // markup that cannot stand in a tag (the parse ends).
  virtual TdxXMLNode* ParseNodeHeader(TdxXMLNode* ANode);
  // The node's text from the bytes between AStart and AEnd, white space at
  // the ends dropped unless the node preserves it.
  virtual void AssignNodeText(TdxXMLNode* ANode, const char* AStart, const char* AEnd, bool AKeepWhenBlank = false);

  // One token; false when nothing but white space is left.
  bool GetToken(TdxXMLToken& AToken);

 private:
  void ParseBytes(const char* ABuffer, std::size_t ACount);
  // The token as a name, interned; false when it is no XML name.
  bool InternName(const TdxXMLToken& AToken, TdxXMLString& AName);
  UINT CodePage() const;

  TdxXMLDocument* FDocument;
  const char* FData;         // the next unread byte
  std::size_t FDataLength;   // bytes left
  const char* FNoCommentEndFrom;  // no "-->" from here on (nil: not known)
  const char* FNoCDATAEndFrom;    // no "]]>" from here on
  TdxXMLEncoding FEncoding;
  int FEncodingCodePage;
  bool FEncodingFixed;  // UTF-16 read through UTF-8: the declaration's encoding does not count
  TOwned<TdxXMLSharedStrings> FSharedStrings;
};
