// The Windows registry.
//
// Classes in this file:
//   TRegDataType, TRegDataInfo, TRegKeyInfo
//   ERegistryException
//   TRegistry               one open key below a root key, with typed values
//   TRegIniFile             a TRegistry used like an INI file: sections are sub-keys
//   TRegistryIniFile        a TCustomIniFile over a TRegIniFile
//
// Key paths: a path that starts with "\" is taken from the root key; any
// other path from the current key (or the root key when none is open).
// Floats and dates are stored as the 8 bytes of a double (binary data).
#pragma once

#include "platform/classes/IniFiles.h"
#include "platform/classes/Lists.h"
#include "platform/runtime/Handles.h"

#include <cstdint>

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;
};

struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
  FILETIME FileTime{};
};

class ERegistryException : public Exception { public: using Exception::Exception; };

class TRegistry : public TObject {
  SK_CLASS(TRegistry, TObject)
 public:
  // Root HKEY_CURRENT_USER; keys are opened with AAccess (KEY_ALL_ACCESS).
  void Create() { Create(KEY_ALL_ACCESS); }
  void Create(REGSAM AAccess);
  void Destroy() override;

  // Properties
  HKEY RootKey() const { return FRootKey; }
  // Closes the current key when the root changes.
  void SetRootKey(HKEY AValue);
  REGSAM Access() const { return FAccess; }
  void SetAccess(REGSAM AValue) { FAccess = AValue; }
  // The open key (null when none) and its path below the root, without a leading "\".
  HKEY CurrentKey() const { return FCurrentKey.Get(); }
  const String& CurrentPath() const { return FCurrentPath; }
  // Without LazyWrite, closing a key flushes it to disk first.
  bool LazyWrite() const { return !FNoLazyWrite; }
  void SetLazyWrite(bool AValue) { FNoLazyWrite = !AValue; }

  // Keys
  // Makes AKey the current key; with ACanCreate missing keys are created.
  // False when the key cannot be opened (the current key then stays).
  bool OpenKey(const String& AKey, bool ACanCreate);
  // Opens with KEY_READ access, whatever Access says.
  bool OpenKeyReadOnly(const String& AKey);
  // Creates AKey (and its missing parents) without opening it; raises
  // ERegistryException when that fails.
  bool CreateKey(const String& AKey);
  // Deletes AKey with all its sub-keys and values.
  bool DeleteKey(const String& AKey);
  bool KeyExists(const String& AKey);
  void CloseKey();
  bool HasSubKeys();
  bool GetKeyInfo(TRegKeyInfo& AValue);
  // The names of the current key's sub-keys / values, in the registry's
  // order (AStrings is cleared first; empty without a current key).
  void GetKeyNames(TStrings* AStrings);
  void GetValueNames(TStrings* AStrings);

  // Values of the current key ("" is the key's default value)
  bool ValueExists(const String& AName);
  bool DeleteValue(const String& AName);
  bool GetDataInfo(const String& AName, TRegDataInfo& AValue);
  // rdUnknown / -1 when the value does not exist.
  TRegDataType GetDataType(const String& AName);
  int GetDataSize(const String& AName);

  // Reading raises ERegistryException for a missing value or one of
  // another type, except ReadString, which gives "" for a missing value.
  String ReadString(const String& AName);
  int ReadInteger(const String& AName);
  bool ReadBool(const String& AName) { return ReadInteger(AName) != 0; }
  double ReadFloat(const String& AName);
  TDateTime ReadDateTime(const String& AName) { return ReadFloat(AName); }
  TDateTime ReadDate(const String& AName) { return ReadFloat(AName); }
  TDateTime ReadTime(const String& AName) { return ReadFloat(AName); }
  // Copies the value into ABuffer; the number of bytes. Raises when the
  // value is larger than ABufSize.
  int ReadBinaryData(const String& AName, void* ABuffer, int ABufSize);
  TBytes ReadBinaryBytes(const String& AName);

  // Writing raises ERegistryException when no key is open or the system refuses.
  void WriteString(const String& AName, const String& AValue);
  void WriteExpandString(const String& AName, const String& AValue);
  void WriteInteger(const String& AName, int AValue);
  void WriteBool(const String& AName, bool AValue) { WriteInteger(AName, AValue ? 1 : 0); }
  void WriteFloat(const String& AName, double AValue);
  void WriteDateTime(const String& AName, TDateTime AValue) { WriteFloat(AName, AValue); }
  void WriteDate(const String& AName, TDateTime AValue) { WriteFloat(AName, AValue); }
  void WriteTime(const String& AName, TDateTime AValue) { WriteFloat(AName, AValue); }
  void WriteBinaryData(const String& AName, const void* ABuffer, int ABufSize);

  // Runs AAction with the sub-key ASubKey of the current key as the current
  // key (created when ACanCreate), then makes the previous key current
  // again. False, without running AAction, when the sub-key cannot be opened.
  template <class F>
  bool WithSubKey(const String& ASubKey, bool ACanCreate, F&& AAction) {
    TSavedKey saved = EnterSubKey(ASubKey, ACanCreate);
    if (!saved.Entered) return false;
    TryFinally(AAction, [&] { LeaveSubKey(saved); });
    return true;
  }

 protected:
  // Makes AKey (already open) the current key, closing the previous one.
  void ChangeKey(TRegKey AKey, const String& APath);
  // The key a path starts from: the current key for a relative path when
  // one is open, else the root key.
  HKEY GetBaseKey(bool ARelative) const;

 private:
  struct TSavedKey {
    bool Entered = false;
    TRegKey Key;
    String Path;
  };
  enum class TNameKind { SubKeys, Values };
  // The names of the current key's sub-keys or values, into AStrings
  // (cleared first; empty without a current key).
  void GetNames(TStrings* AStrings, TNameKind AKind);
  TSavedKey EnterSubKey(const String& ASubKey, bool ACanCreate);
  void LeaveSubKey(TSavedKey& ASaved);
  DWORD GetData(const String& AName, void* ABuffer, DWORD ABufSize, TRegDataType& AType);
  void PutData(const String& AName, const void* ABuffer, DWORD ABufSize, DWORD AType);
  void RequireKey(const String& AName) const;

  HKEY FRootKey;
  TRegKey FCurrentKey;
  String FCurrentPath;
  REGSAM FAccess;
  bool FNoLazyWrite;
};

// Values live in sub-keys of the current key named after the sections. The
// current key stays the same across the section operations.
class TRegIniFile : public TRegistry {
  SK_CLASS(TRegIniFile, TRegistry)
 public:
  // Opens (creating) AFileName below HKEY_CURRENT_USER.
  void Create(const String& AFileName) { Create(AFileName, KEY_ALL_ACCESS); }
  void Create(const String& AFileName, REGSAM AAccess);

  const String& FileName() const { return FFileName; }

  using TRegistry::DeleteKey;
  using TRegistry::ReadBool;
  using TRegistry::ReadInteger;
  using TRegistry::ReadString;
  using TRegistry::WriteBool;
  using TRegistry::WriteInteger;
  using TRegistry::WriteString;

  // A string value gives its text; a number its decimal text.
  String ReadString(const String& ASection, const String& AIdent, const String& ADefault);
  // A number value, or a string value holding a number; else ADefault.
  int ReadInteger(const String& ASection, const String& AIdent, int ADefault);
  bool ReadBool(const String& ASection, const String& AIdent, bool ADefault);
  void WriteString(const String& ASection, const String& AIdent, const String& AValue);
  void WriteInteger(const String& ASection, const String& AIdent, int AValue);
  void WriteBool(const String& ASection, const String& AIdent, bool AValue);
  void ReadSection(const String& ASection, TStrings* AStrings);
  void ReadSections(TStrings* AStrings);
  void ReadSectionValues(const String& ASection, TStrings* AStrings);
  void EraseSection(const String& ASection);
  void DeleteKey(const String& ASection, const String& AIdent);
  // The text of a value of any type: strings as they are, numbers in
  // decimal, binary data as upper-case hex; empty when missing.
  String ValueText(const String& AName);

 private:
  String FFileName;
};

class TRegistryIniFile : public TCustomIniFile {
  SK_CLASS(TRegistryIniFile, TCustomIniFile)
 public:
  void Create(const String& AFileName) { Create(AFileName, KEY_ALL_ACCESS); }
  void Create(const String& AFileName, REGSAM AAccess);
  void Destroy() override;

  TRegIniFile* RegIniFile() const { return FRegIniFile.get(); }

  String ReadString(const String& ASection, const String& AIdent, const String& ADefault) override;
  void WriteString(const String& ASection, const String& AIdent, const String& AValue) override;
  int ReadInteger(const String& ASection, const String& AIdent, int ADefault) override;
  void WriteInteger(const String& ASection, const String& AIdent, int AValue) override;
  bool ReadBool(const String& ASection, const String& AIdent, bool ADefault) override;
  void WriteBool(const String& ASection, const String& AIdent, bool AValue) override;
  double ReadFloat(const String& ASection, const String& AIdent, double ADefault) override;
  void WriteFloat(const String& ASection, const String& AIdent, double AValue) override;
  TDateTime ReadDate(const String& ASection, const String& AIdent, TDateTime ADefault) override;
  void WriteDate(const String& ASection, const String& AIdent, TDateTime AValue) override;
  TDateTime ReadDateTime(const String& ASection, const String& AIdent, TDateTime ADefault) override;
  void WriteDateTime(const String& ASection, const String& AIdent, TDateTime AValue) override;
  TDateTime ReadTime(const String& ASection, const String& AIdent, TDateTime ADefault) override;
  void WriteTime(const String& ASection, const String& AIdent, TDateTime AValue) override;
  int ReadBinaryStream(const String& ASection, const String& AIdent, TStream* AValue) override;
  void WriteBinaryStream(const String& ASection, const String& AIdent, TStream* AValue) override;
  void ReadSection(const String& ASection, TStrings* AStrings) override;
  void ReadSections(TStrings* AStrings) override;
  void ReadSectionValues(const String& ASection, TStrings* AStrings) override;
  void EraseSection(const String& ASection) override;
  void DeleteKey(const String& ASection, const String& AIdent) override;
  bool SectionExists(const String& ASection) override;
  bool ValueExists(const String& ASection, const String& AIdent) override;
  // The registry keeps its own copy: nothing to do.
  void UpdateFile() override {}

 private:
  // A float or date stored as binary data.
  bool ReadStoredDouble(const String& ASection, const String& AIdent, double& AValue);
  TOwned<TRegIniFile> FRegIniFile;
};
