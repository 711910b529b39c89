#!/usr/bin/env python3
"""Writes the reference table the regular-expression engine's tests compare with.

  regexpr.tsv  patterns of the masks' syntax, made by a small random grammar,
               each with strings to feed; the answers are Python's re and
               Debian's python3-regex (its partial matching), run on the
               patterns translated to Python's syntax.

Run it from anywhere:
  tests/library_editors/masks/reference/make_regexpr_reference.py

Columns: case-insensitive (0/1), the pattern in the masks' syntax, the string,
accepted (how many leading characters of the string are a prefix of some
match: regex.fullmatch(partial=True) holds for each of them), final (whether
those accepted characters are a complete match: re.fullmatch).

Translation to Python: quoted text becomes escaped literals; blanks outside
quotes are dropped (the grammar writes some to prove they are ignored); \\d \\w
\\s and their negations become explicit ASCII classes (Python's are Unicode);
'.' runs with DOTALL; '/' and ':' are the pinned date and time separators '/'
and ':', and \\p the pinned decimal separator '.'; every quantified atom is
wrapped in (?:...) so that a second quantifier applies to the first one's
group as the masks' syntax does (Python would read +? as a lazy +).

Left out by the masks' own rules, so never generated: references (they copy
a group's pattern, not its text), unquantified groups whose content can be
empty (such a group is never skipped, though it matches the empty text),
case-insensitive bracketed classes (ranges compare codes), '*' or '+' on an
element that can match the empty text and braces on an optional element
(both refused). Left out for Python's sake: an unbounded repeat inside
another (its backtracking would take exponential time).
"""

import os
import random
import re

import regex

PATTERNS = 10000
STRINGS_PER_PATTERN = 3
SEED = 20261210
# Short strings keep Python's backtracking over nested repeats quick.
MAX_LENGTH = 14
ALPHABET = "abcAB12-/:. x"

DIGIT = "[0-9]"
ID = "[a-zA-Z0-9_]"
SPACE = "[\\x00\\t\\n\\x0c\\r ]"
CLASS_ESCAPES = {
    "d": DIGIT, "D": "[^0-9]",
    "w": ID, "W": "[^a-zA-Z0-9_]",
    "s": SPACE, "S": "[^\\x00\\t\\n\\x0c\\r ]",
}


class Node:
    """A generated element: its masks' text, its Python text, whether it can
    match the empty text, whether its own quantifier lets it be missing, and
    a generator of matching strings."""

    def __init__(self, ours, python, can_empty, sample):
        self.ours = ours
        self.python = python
        self.can_empty = can_empty
        self.missing = False
        self.quantifiable = True
        self.repeats = False  # holds an unbounded repeat
        self.sample = sample


def literal(rnd):
    c = rnd.choice("abcAB12-x")
    return Node(c, re.escape(c), False, lambda r, c=c: c)


def quoted(rnd):
    text = "".join(rnd.choice("ab1 -'") for _ in range(rnd.randint(1, 3)))
    ours = "'" + text.replace("'", "''") + "'"
    node = Node(ours, "(?:" + re.escape(text) + ")", False, lambda r, t=text: t)
    # Quoted text is a run of literals: a quantifier after it takes the last one.
    node.quantifiable = len(text) == 1
    return node


def escape(rnd):
    letter = rnd.choice("dDwWsS")
    members = {"d": "0123456789", "w": "abcAB12_", "s": " "}
    if letter.islower():
        pool = members[letter]
    else:
        pool = "".join(c for c in ALPHABET if not re.fullmatch(CLASS_ESCAPES[letter.lower()], c))
    return Node("\\" + letter, CLASS_ESCAPES[letter], False, lambda r, p=pool: r.choice(p))


def special(rnd):
    kind = rnd.choice(["dot", "date", "time", "decimal", "hex"])
    if kind == "dot":
        return Node(".", ".", False, lambda r: r.choice(ALPHABET))
    if kind == "date":
        return Node("/", "/", False, lambda r: "/")
    if kind == "time":
        return Node(":", ":", False, lambda r: ":")
    if kind == "decimal":
        return Node("\\p", "\\.", False, lambda r: ".")
    c = rnd.choice("ab-2")
    return Node("\\x%02x" % ord(c), re.escape(c), False, lambda r, c=c: c)


def char_class(rnd):
    members = []
    ours = []
    for _ in range(rnd.randint(1, 3)):
        if rnd.random() < 0.4:
            lo, hi = sorted(rnd.sample("abc12", 2))
            if ord(lo) > ord(hi):
                lo, hi = hi, lo
            ours.append(lo + "-" + hi)
            members.extend(chr(o) for o in range(ord(lo), ord(hi) + 1))
        else:
            c = rnd.choice("abcAB12x-")
            ours.append(c if c != "-" else "\\-")
            members.append(c)
    inverse = rnd.random() < 0.3
    python = "[" + ("^" if inverse else "") + "".join(re.escape(m) for m in members) + "]"
    pool = [c for c in ALPHABET if (c in members) != inverse]
    if not pool:
        return literal(rnd)
    return Node("[" + ("^" if inverse else "") + "".join(ours) + "]", python, False,
                lambda r, p=pool: r.choice(p))


def group(rnd, depth, case_insensitive):
    alts = [sequence(rnd, depth + 1, case_insensitive) for _ in range(rnd.randint(1, 3))]
    can_empty = any(a.can_empty for a in alts)
    node = Node("(" + "|".join(a.ours for a in alts) + ")",
                "(?:" + "|".join(a.python for a in alts) + ")", can_empty,
                lambda r, alts=alts: r.choice(alts).sample(r))
    node.repeats = any(a.repeats for a in alts)
    if can_empty:  # such a group is generated only with '?'
        return quantify(node, "?")
    return node


def quantify(node, q):
    result = Node(node.ours + q, "(?:" + node.python + ")" + q, node.can_empty, None)
    result.repeats = node.repeats or q in ("*", "+") or q.endswith(",}")
    inner = node.sample
    if q == "?":
        result.sample = lambda r: inner(r) if r.random() < 0.6 else ""
        result.can_empty = result.missing = True
    elif q == "*":
        result.sample = lambda r: "".join(inner(r) for _ in range(r.randint(0, 3)))
        result.can_empty = result.missing = True
    elif q == "+":
        result.sample = lambda r: "".join(inner(r) for _ in range(r.randint(1, 3)))
    else:
        counts = [int(x) if x else None for x in q[1:-1].split(",")] if "," in q else [int(q[1:-1])] * 2
        lo, hi = counts
        result.can_empty = node.can_empty or lo == 0
        result.missing = lo == 0
        result.sample = lambda r: "".join(inner(r) for _ in range(r.randint(lo, lo + 2 if hi is None else hi)))
    return result


def element(rnd, depth, case_insensitive):
    makers = [literal, literal, quoted, escape, special]
    if not case_insensitive:
        makers.append(char_class)
    if depth < 3:
        makers.append(lambda r: group(r, depth, case_insensitive))
    node = rnd.choice(makers)(rnd)
    if node.missing or not node.quantifiable or rnd.random() < 0.5:
        return node
    # Repeats inside repeats make Python's backtracking exponential: never generated.
    choices = ["?"]
    if not node.can_empty and not node.repeats:
        choices += ["*", "+"]
    if not node.missing:
        n = rnd.randint(0, 3)
        choices += ["{%d}" % n, "{%d,%d}" % (n, n + rnd.randint(0, 3))]
        if not node.repeats:
            choices.append("{%d,}" % n)
    node = quantify(node, rnd.choice(choices))
    if not node.missing and rnd.random() < 0.2:
        node = quantify(node, "?")
    return node


def sequence(rnd, depth, case_insensitive):
    items = [element(rnd, depth, case_insensitive) for _ in range(rnd.randint(1, 4))]
    ours = ""
    for item in items:
        # Two quotes in a row are a quote inside quoted text: a blank ends the first.
        if ours.endswith("'") and item.ours.startswith("'"):
            ours += " "
        ours += item.ours + (" " if rnd.random() < 0.15 else "")
    node = Node(ours, "".join(i.python for i in items), all(i.can_empty for i in items),
                lambda r, items=items: "".join(i.sample(r) for i in items))
    node.repeats = any(i.repeats for i in items)
    return node


def mutate(rnd, text):
    text = list(text)
    for _ in range(rnd.randint(0, 2)):
        action = rnd.random()
        if action < 0.3 and text:
            del text[rnd.randrange(len(text))]
        elif action < 0.6:
            text.insert(rnd.randint(0, len(text)), rnd.choice(ALPHABET))
        elif text:
            text[rnd.randrange(len(text))] = rnd.choice(ALPHABET)
    return "".join(text)


def main():
    rnd = random.Random(SEED)
    rows = []
    seen = set()
    while len(seen) < PATTERNS:
        case_insensitive = len(seen) % 4 == 3
        top = [sequence(rnd, 0, case_insensitive) for _ in range(rnd.choice([1, 1, 1, 2]))]
        ours = "|".join(t.ours for t in top)
        if ours in seen:
            continue
        seen.add(ours)
        python = "|".join(t.python for t in top)
        flags = re.DOTALL | (re.IGNORECASE if case_insensitive else 0)
        compiled = re.compile(python, flags)
        partial = regex.compile(python, flags)
        for k in range(STRINGS_PER_PATTERN):
            text = rnd.choice(top).sample(rnd)
            if case_insensitive:
                text = "".join(c.swapcase() if rnd.random() < 0.3 else c for c in text)
            if k > 0:
                text = mutate(rnd, text)
            text = text[:MAX_LENGTH]
            accepted = 0
            while accepted < len(text) and partial.fullmatch(text[:accepted + 1], partial=True):
                accepted += 1
            final = compiled.fullmatch(text[:accepted]) is not None
            assert "\t" not in ours and "\n" not in ours and "\t" not in text
            rows.append("%d\t%s\t%s\t%d\t%d" % (case_insensitive, ours, text, accepted, final))
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "regexpr.tsv")
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
