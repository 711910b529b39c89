// INI files: sections of name=value lines.
//
// Classes in this file:
//   EIniFileException
//   TCustomIniFile          typed reads and writes over string values
//   TIniFile                a file through the Windows private-profile functions
//   TMemIniFile             a file held in memory, written back by UpdateFile
//
// Typed values are stored as text: integers in decimal (reading also takes
// "$" and "0x" hexadecimal), Booleans as "1"/"0" (reading also takes "True"
// and "False"), floats, dates and times in the user's format settings
// (reading also takes the invariant forms), binary data as upper-case hex.
// A value that cannot be converted reads as the default.
//
// Section names, names and values travel on one line: a name with "=", a
// line break or a leading "[" or ";", a value or section name with a line
// break, or a section name with "]" raises EIniFileException instead of
// damaging the file.
#pragma once

#include "platform/classes/Lists.h"
#include "platform/runtime/SysUtils.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

class TStream;

class EIniFileException : public Exception { public: using Exception::Exception; };

class TCustomIniFile : public TObject {
  SK_CLASS(TCustomIniFile, TObject)
 public:
  void Create(const String& AFileName) { FFileName = AFileName; }

  const String& FileName() const { return FFileName; }

  // Strings
  virtual String ReadString(const String& ASection, const String& AIdent, const String& ADefault) = 0;
  virtual void WriteString(const String& ASection, const String& AIdent, const String& AValue) = 0;

  // Typed values over the strings
  virtual int ReadInteger(const String& ASection, const String& AIdent, int ADefault);
  virtual void WriteInteger(const String& ASection, const String& AIdent, int AValue);
  virtual std::int64_t ReadInt64(const String& ASection, const String& AIdent, std::int64_t ADefault);
  virtual void WriteInt64(const String& ASection, const String& AIdent, std::int64_t AValue);
  virtual bool ReadBool(const String& ASection, const String& AIdent, bool ADefault);
  virtual void WriteBool(const String& ASection, const String& AIdent, bool AValue);
  virtual double ReadFloat(const String& ASection, const String& AIdent, double ADefault);
  virtual void WriteFloat(const String& ASection, const String& AIdent, double AValue);
  virtual TDateTime ReadDate(const String& ASection, const String& AIdent, TDateTime ADefault);
  virtual void WriteDate(const String& ASection, const String& AIdent, TDateTime AValue);
  virtual TDateTime ReadDateTime(const String& ASection, const String& AIdent, TDateTime ADefault);
  virtual void WriteDateTime(const String& ASection, const String& AIdent, TDateTime AValue);
  virtual TDateTime ReadTime(const String& ASection, const String& AIdent, TDateTime ADefault);
  virtual void WriteTime(const String& ASection, const String& AIdent, TDateTime AValue);
  // Writes the stored bytes into AValue at its position and puts the
  // position back there; the number of bytes (0 when the value is missing
  // or no valid hex).
  virtual int ReadBinaryStream(const String& ASection, const String& AIdent, TStream* AValue);
  // Stores AValue from its position to its end.
  virtual void WriteBinaryStream(const String& ASection, const String& AIdent, TStream* AValue);

  // Sections
  // The names of a section's values (AStrings is cleared first).
  virtual void ReadSection(const String& ASection, TStrings* AStrings) = 0;
  virtual void ReadSections(TStrings* AStrings) = 0;
  // The section's lines as name=value.
  virtual void ReadSectionValues(const String& ASection, TStrings* AStrings) = 0;
  virtual void EraseSection(const String& ASection) = 0;
  virtual void DeleteKey(const String& ASection, const String& AIdent) = 0;
  // Whether the section is there (with or without values).
  virtual bool SectionExists(const String& ASection);
  virtual bool ValueExists(const String& ASection, const String& AIdent);
  // Writes pending changes to the file.
  virtual void UpdateFile() = 0;

 protected:
  void SetFileName(const String& AValue) { FFileName = AValue; }
  // Raises EIniFileException for names and values that would break a line.
  static void CheckSectionName(const String& ASection);
  static void CheckIdent(const String& AIdent);
  static void CheckValue(const String& AIdent, const String& AValue);

 private:
  String FFileName;
};

// Windows keeps such files itself: a file name without a directory lies in
// the Windows directory, and values lose surrounding quotes and blanks.
class TIniFile : public TCustomIniFile {
  SK_CLASS(TIniFile, TCustomIniFile)
 public:
  String ReadString(const String& ASection, const String& AIdent, const String& ADefault) override;
  // Raises EIniFileException when the file cannot be written.
  void WriteString(const String& ASection, const String& AIdent, const String& AValue) override;
  void ReadSection(const String& ASection, TStrings* AStrings) override;
  void ReadSections(TStrings* AStrings) override;
  void ReadSectionValues(const String& ASection, TStrings* AStrings) override;
  void EraseSection(const String& ASection) override;
  void DeleteKey(const String& ASection, const String& AIdent) override;
  void UpdateFile() override;
};

// Sections and names are found regardless of case (unless CaseSensitive)
// and kept in file order; new sections and names go to the end. Reading is
// tolerant: comment lines (";") and lines that are no name=value pair are
// kept in place, lines before the first section are kept at the top, a
// header without "]" still opens its section, a repeated section header
// continues the first section, and of repeated names the first one counts.
// Blank lines are dropped; sections are written with one blank line after
// each.
class TMemIniFile : public TCustomIniFile {
  SK_CLASS(TMemIniFile, TCustomIniFile)
 public:
  // Loads AFileName when it exists, in AEncoding or, when null, in the
  // encoding its byte-order mark names (else the ANSI code page).
  void Create(const String& AFileName) { Create(AFileName, nullptr); }
  void Create(const String& AFileName, TEncoding* AEncoding);
  void Destroy() override;

  // Properties
  // The encoding UpdateFile writes (with its byte-order mark); after
  // loading, the encoding the file was read in.
  TEncoding* Encoding() const { return FEncoding; }
  void SetEncoding(TEncoding* AValue) { FEncoding = AValue; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool AValue);

  // Operations
  String ReadString(const String& ASection, const String& AIdent, const String& ADefault) override;
  void WriteString(const String& ASection, const String& AIdent, const String& AValue) override;
  void ReadSection(const String& ASection, TStrings* AStrings) override;
  void ReadSections(TStrings* AStrings) override;
  void ReadSectionValues(const String& ASection, TStrings* AStrings) override;
  void EraseSection(const String& ASection) override;
  // Removes every line of that name in the section.
  void DeleteKey(const String& ASection, const String& AIdent) override;
  bool SectionExists(const String& ASection) override;
  bool ValueExists(const String& ASection, const String& AIdent) override;
  // Writes the whole content to FileName (nothing without a file name).
  void UpdateFile() override;
  void Clear();
  // The content as the lines of the file, and back.
  void GetStrings(TStrings* AStrings);
  void SetStrings(TStrings* AStrings);
  // Another file name; with AReload the content is read from it.
  void Rename(const String& AFileName, bool AReload);

 private:
  // One line of a section: a name=value pair, or any other line kept as it was.
  struct TEntry {
    String Name;  // the whole line when not a pair
    String Value;
    bool IsPair;
  };
  struct TSection {
    String Name;
    std::vector<TEntry> Entries;
    std::unordered_map<String, std::size_t> Index;  // key of a name -> its first pair
  };
  // Pointers stay valid until a section is added or erased.
  TSection* FindSection(const String& ASection);
  TSection* FindOrAddSection(const String& ASection);
  // The entries a read finds (of repeated names only the first), as
  // AText(entry) into AStrings (cleared first).
  void ReadEntries(const String& ASection, TStrings* AStrings, String (*AText)(const TEntry& AEntry));
  String KeyOf(const String& AName) const;
  void Reindex();
  void ReindexSection(TSection& ASection) const;
  void LoadValues();

  std::vector<TSection> FSections;  // [0]: the lines before the first section, nameless
  std::unordered_map<String, std::size_t> FSectionIndex;
  TEncoding* FEncoding;
  bool FCaseSensitive;
};
