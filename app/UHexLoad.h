// The Intel HEX loader, the application's positioned error dialog and the
// pumping wait.
//
// LoadHexFile reads one HEX text file into a memory image of UDefines and
// answers the image length; each fault is reported in an error dialog that
// names the file and the line. It runs on the UI thread.
#pragma once

#include "platform/runtime/System.h"
#include "platform/ui/Dialogs.h"

#include <cstdint>

// Loads AFileName into the image ATarget (TargetFlash, TargetEeprom,
// TargetUserRow) and answers the image length: the highest address written
// plus one (a data record without bytes counts with its own address); 0 for
// an empty file. Every fault of the file answers -1, so that no partial image
// counts as loaded: a file that cannot be opened or ends without an end
// record, a record type that is not 00..03, bad digits, a record whose digits
// do not match its byte count (or a type 01..03 record with a count other than
// 0, 2, 4), a line that is no record, an address beyond the image, a wrong
// checksum. The image keeps every byte stored before a fault. Lines that are
// empty or hold only blanks are skipped, and so are blanks after a record.
int LoadHexFile(const String& AFileName, std::uint8_t ATarget);

// Waits AMilliseconds, measured with the millisecond tick counter, handling
// the UI thread's messages meanwhile.
void WaitPumping(unsigned AMilliseconds);

// The application's dialogs: a message dialog with one button, its top-left
// corner at the main window's left + 100 and top + 100 (centred while there is
// no main window).
TModalResult MainFormMessageDlg(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgBtn AButton);
