#!/usr/bin/python3
"""The editors' default texts as Windows finds them: read from the string
table (RT_STRING) of each program named on the command line by Debian's
pefile, not by the library.

The three string sets each take a run of ids, one per identifier in list
order: the editors' 285 from 0xE000, the data filter's 52 from 0xE200, the
filter control's 35 from 0xE280. Every text below must sit inside the run of
its set; the message-dialog captions end the editors' run, in their order.
An empty text leaves its slot empty, which a string table cannot tell from
no string, so the two empty ones are read by the program's own tests."""

import sys

import pefile

EDITORS = (0xE000, 285)
DATA_FILTER = (0xE200, 52)
FILTER_CONTROL = (0xE280, 35)

# The texts the editors and standard controls show or put into messages.
SHOWN = [
    "The repository item is not acceptable",
    "Invalid input value. Use escape key to abandon changes",
    "Value out of bounds",
    "Could not convert to numeric value",
    "Circular referencing is not allowed",
    "True",
    "False",
    "No matches found",
    "Invalid numeric value",
    "Regular expression errors:",
    "The edit value is invalid",
    "Line",
    "Char",
    "The source stream is not assigned",
    "The source stream is empty",
    "The '+' quantifier cannot be applied here",
    "The '*' quantifier cannot be applied here",
    "The alternative should not be empty",
    "The block should not be empty",
    "Illegal '%s'",
    "Illegal quantifier '%s'",
    "Illegal integer value",
    "Too big reference number",
    "Can't create empty enumeration",
    "The starting character of the subrange must be less than the finishing one",
    "Hexadecimal number expected",
    "Hexadecimal number expected but '%s' found",
    "Missing '%s'",
    "Unnecessary '%s'",
    "The space character is not allowed after '\\'",
    "Regular expression is not compiled",
    "Incorrect parameter quantifier",
    "The parameter quantifier cannot be applied here",
    "TextEdit|Represents a single line text editor",
    "MaskEdit|Represents a generic masked editor",
    "ComboBox|Represents the combo box editor",
    "PopupEdit|Represents an editor with a dropdown list",
    "CheckBox|Represents a check box control that allows selecting an option",
    "RadioGroup|Represents a group of radio buttons",
    "SpinEdit|Represents a spin editor",
    "ImageComboBox|Represents an editor displaying the list of images and text strings within the dropdown window",
    # Error and validation texts not shown by this program.
    "Could not convert to date",
    "Could not convert to time",
    "An error occurred during posting edit value",
    "Invalid Date",
    "Error",
    "The parameter quantifiers are not supported",
    "Illegal file format",
    "The mask collection file is empty",
    "Invalid data version: %d",
    "Invalid characters in the text",
    "Invalid text format",
    "The control is too narrow to display a barcode",
    "Range is empty",
    "No camera detected",
    "Camera is inaccessible.\nTry closing other programs that might be using your camera",
    "\nFile not found.\nCheck the file name and try again.",
]

MESSAGE_DIALOG = ["&Abbrechen", "&Alle", "Abbrechen", "S&chließen", "Bestätigen", "Fehler", "&Hilfe",
                  "&Ignorieren", "Informationen", "&Nein", "&Alle Nein", "OK", "&Wiederholen", "Warnung",
                  "&Ja", "A&lle Ja"]

FILTER_CONTROL_SHOWN = ["Can't build filter from source", "Invalid value"]
DATA_FILTER_EXAMPLES = ["Equals", "Is between", "Is blank", "(All)", "(Custom...)"]


def string_table(path):
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    table = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return table
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != pefile.RESOURCE_TYPE["RT_STRING"]:
            continue
        for block in kind.directory.entries:
            table.update(block.directory.strings)
    return table


def check(path):
    table = string_table(path)
    failures = []

    def in_run(run, texts):
        first, count = run
        held = {table.get(i) for i in range(first, first + count)}
        for text in texts:
            if text not in held:
                failures.append(f"{text!r} is not among ids 0x{first:04X}..0x{first + count - 1:04X}")

    in_run(EDITORS, SHOWN + MESSAGE_DIALOG)
    in_run(DATA_FILTER, DATA_FILTER_EXAMPLES)
    in_run(FILTER_CONTROL, FILTER_CONTROL_SHOWN)

    first, count = EDITORS
    tail = [table.get(i) for i in range(first + count - len(MESSAGE_DIALOG), first + count)]
    if tail != MESSAGE_DIALOG:
        failures.append(f"the editors' run ends {tail!r}")

    # Each run is exactly as long as its set: its last id holds a text and
    # the id after it holds none.
    for first, count in (EDITORS, DATA_FILTER, FILTER_CONTROL):
        if not table.get(first + count - 1) or (first + count) in table:
            failures.append(f"the run from 0x{first:04X} is not {count} ids long")
    return failures


def main(paths):
    failed = False
    for path in paths:
        for failure in check(path):
            print(f"{path}: {failure}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]) if len(sys.argv) > 1 else "usage: string_table_test.py PROGRAM.exe...")
