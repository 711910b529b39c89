// The system clipboard.
//
// Classes in this file:
//   EClipboardException
//   TClipboard          open/close brackets, formats, text, handles, graphics
//   Clipboard, SetClipboard   the process's clipboard object
//
// Every operation opens the clipboard for its own length unless an
// Open/Close bracket is already around it; the first data set inside a
// bracket empties the clipboard, so several formats of one piece of data can
// be put together.
#pragma once

#include "platform/ui/Graphics.h"

class EClipboardException : public Exception { public: using Exception::Exception; };

class TClipboard : public TPersistent {
  SK_CLASS(TClipboard, TPersistent)
 public:
  void Destroy() override;
  // From a TGraphic or TPicture: the graphic's clipboard data.
  void Assign(TPersistent* ASource) override;

  // Nested brackets; raises EClipboardException when another program holds
  // the clipboard.
  void Open();
  void Close();
  void Clear();
  bool HasFormat(UINT AFormat) const;
  int FormatCount();
  UINT Formats(int AIndex);

  // The clipboard keeps a handle it is given; a handle it gives back stays
  // its own.
  HANDLE GetAsHandle(UINT AFormat);
  void SetAsHandle(UINT AFormat, HANDLE AValue);
  // Unicode text; empty when there is none.
  String AsText();
  void SetAsText(const String& AValue);

 protected:
  // Into a TPicture or a TGraphic: the first clipboard format registered
  // for it (TPicture's registry) that the clipboard holds.
  void AssignTo(TPersistent* ADest) override;

 private:
  void Adding();
  void WndProc(TMessage& Message);
  HWND FWindow;
  int FOpenCount;
  bool FEmptied;
};

// The process's clipboard object, made on first use.
TClipboard* Clipboard();
// Replaces it (the caller owns the old one, which is returned).
TClipboard* SetClipboard(TClipboard* AValue);

// Unit shut-down (see UiUnits.cpp).
void ClipbrdFinalization();
