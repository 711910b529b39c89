#!/usr/bin/env python3
"""Writes the reference table of the text editors' number parsing (TryTextToDouble).

  numbers.tsv  texts in the test prefix's pinned en-US separators ('.' decimal,
               ',' thousands), with Python's float() as the answer.

Run it from anywhere:
  tests/library_editors/text/reference/make_number_reference.py

Columns: the text, ok (0/1), the value's IEEE-754 bits as a decimal integer.

The rule the answers follow: every ',' is dropped; '.' alone or '-.' is 0;
otherwise float() of the rest; a result that is 0 or whose magnitude lies
between the smallest normal and the largest finite double is the value,
anything else (denormals, overflow to infinity, no number at all) gives 0,
ok only for an empty text. Texts stay inside the grammar both sides share
(sign, digits, one '.', an exponent); Python-only forms ('inf', 'nan',
underscores) are not generated.
"""
import os
import random
import struct
import sys

SMALLEST_NORMAL = 2.2250738585072014e-308
LARGEST = 1.7976931348623157e308


def answer(text):
    stripped = text.replace(',', '')
    if stripped in ('.', '-.'):
        return True, 0.0
    try:
        value = float(stripped)
    except ValueError:
        return text == '', 0.0
    if value == 0 or SMALLEST_NORMAL <= abs(value) <= LARGEST:
        return True, value
    return False, 0.0


def grouped(digits, rng):
    if len(digits) <= 3 or rng.random() < 0.5:
        return digits
    head = len(digits) % 3 or 3
    parts = [digits[:head]] + [digits[i:i + 3] for i in range(head, len(digits), 3)]
    return ','.join(parts)


def random_text(rng):
    kind = rng.random()
    sign = rng.choice(['', '', '-', '+'])
    integer = ''.join(rng.choice('0123456789') for _ in range(rng.randint(0, 20)))
    fraction = ''.join(rng.choice('0123456789') for _ in range(rng.randint(0, 20)))
    if not integer and not fraction:
        integer = '0'
    text = sign + grouped(integer, rng)
    if fraction or rng.random() < 0.2:
        text += '.' + fraction
    if kind < 0.4:
        text += rng.choice('eE') + rng.choice(['', '-', '+']) + str(rng.randint(0, 330))
    if kind > 0.95:
        text = text[:rng.randint(0, len(text))] + rng.choice(['x', '..', 'e', ' 1', '--']) + text
    return text


FIXED = [
    '', '.', '-.', '0', '-0', '0.0', '1', '-1', '3.14159', '1,000', '1,234,567.89', '12,34',
    '2.2250738585072014e-308', '-2.2250738585072014e-308', '2.225073858507201e-308',
    '1.7976931348623157e308', '-1.7976931348623157e308', '1.7976931348623159e308', '1e309',
    '1e-320', '-1e-320', '4.9e-324', '1e-400', '0e999', '9600', '115200', '1.', '.5', '-.5',
    'abc', '1.2.3', '1e', '--1', '+', '-', ',', ',,', '1,', ',5',
]


def main():
    rng = random.Random(42)
    texts = FIXED + [random_text(rng) for _ in range(5000)]
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'numbers.tsv')
    with open(out, 'w', encoding='utf-8', newline='\n') as f:
        for text in texts:
            ok, value = answer(text)
            bits = struct.unpack('<Q', struct.pack('<d', value))[0]
            f.write('%s\t%d\t%d\n' % (text, int(ok), bits))
    return 0


if __name__ == '__main__':
    sys.exit(main())
