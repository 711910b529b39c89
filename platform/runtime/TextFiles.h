// Text files read and written line by line.
//
// Classes in this file:
//   TTextFile               a text file variable: AssignFile, Reset/Rewrite,
//                           ReadLn/WriteLn, Eof, CloseFile
//
// Bytes are single-byte text in the ANSI code page. A line ends with CR LF,
// LF or a lone CR; the last line may lack its end; a Ctrl+Z (26) ends the
// file, as in files written by old tools. A line longer than MaxLineLength
// characters is cut there and the rest of it skipped (LineTruncated tells),
// so a binary file cannot exhaust memory.
//
// Errors raise EInOutError with the run-time's I/O error number: the Windows
// error code when the file cannot be opened (2 not found, 3 no such path,
// 5 access denied ...), 100 for a failed read, 101 for a failed write, 102
// when no name was assigned, 103 when the file is not open, 104 when it is
// not open for input, 105 when it is not open for output.
#pragma once

#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"

#include <cstddef>
#include <string>

constexpr int ioReadError = 100;
constexpr int ioWriteError = 101;
constexpr int ioFileNotAssigned = 102;
constexpr int ioFileNotOpen = 103;
constexpr int ioNotOpenForInput = 104;
constexpr int ioNotOpenForOutput = 105;

class TTextFile {
 public:
  static constexpr std::size_t DefaultMaxLineLength = 1024 * 1024;

  TTextFile() = default;
  ~TTextFile();
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;

  // Names the file (closing it first when it is open).
  void Assign(const String& AFileName);
  // Opens the file for reading from its start (closing it first when open).
  void Reset();
  // Creates or empties the file and opens it for writing.
  void Rewrite();
  // Opens the file for writing at its end (creating it when missing).
  void Append();
  // Closes the file; raises EInOutError when it is not open.
  void Close();

  // Reads the next line without its end; at the end of the file the line is
  // empty.
  void ReadLn(String& ALine);
  String ReadLn();
  // Whether nothing more can be read.
  bool Eof();
  void Write(const String& AText);
  void WriteLn(const String& AText = String());

  const String& FileName() const { return FFileName; }
  bool IsOpen() const { return FHandle.Valid(); }
  std::size_t MaxLineLength() const { return FMaxLineLength; }
  void SetMaxLineLength(std::size_t AValue) { FMaxLineLength = AValue ? AValue : 1; }
  // Whether the last ReadLn cut its line.
  bool LineTruncated() const { return FLineTruncated; }
  UINT CodePage() const { return FCodePage; }
  void SetCodePage(UINT AValue) { FCodePage = AValue; }

 private:
  enum class TMode { Closed, Input, Output };
  void Open(TMode AMode, DWORD ACreation, bool AAtEnd);
  bool Fill();
  int PeekByte();
  void CheckInput() const;
  void CheckOutput() const;
  void FlushOutput();
  void CloseHandleOnly() noexcept;

  String FFileName;
  bool FAssigned = false;
  TKernelHandle FHandle;
  TMode FMode = TMode::Closed;
  std::string FBuffer;
  std::size_t FBufferPos = 0;
  bool FAtEnd = false;
  std::size_t FMaxLineLength = DefaultMaxLineLength;
  bool FLineTruncated = false;
  UINT FCodePage = CP_ACP;
};

// The run-time's procedural forms.
void AssignFile(TTextFile& AFile, const String& AFileName);
void Reset(TTextFile& AFile);
void Rewrite(TTextFile& AFile);
void Append(TTextFile& AFile);
void CloseFile(TTextFile& AFile);
void ReadLn(TTextFile& AFile, String& ALine);
void WriteLn(TTextFile& AFile, const String& AText);
bool Eof(TTextFile& AFile);
