#!/usr/bin/env python3
"""Prints Python's answers for the texts of SpinEditTextToValue: whether
int() / float() accept each as a 64-bit integer / finite double, and the value."""
import math

INTS = ["9223372036854775807", "-9223372036854775808", "9223372036854775808",
        "-9223372036854775809", "+42", "0", "1e3"]
FLOATS = ["1.7976931348623157e308", "-1.7976931348623157e308", "1.7976931348623159e308",
          "1e309", "4.9e-324", "2.5e-3", "-0.5", "1e-400"]

for text in INTS:
    try:
        value = int(text)
        ok = -2**63 <= value < 2**63
    except ValueError:
        ok, value = False, None
    print(f"int   {text!r:28} {ok} {value if ok else ''}")
for text in FLOATS:
    value = float(text)
    ok = math.isfinite(value)
    print(f"float {text!r:28} {ok} {value!r if ok else ''}")
