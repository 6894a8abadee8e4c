#!/usr/bin/env python3
"""Keeps resources/translations/kestrel_cs.ts in step with resources/StringTable.inc.

One context "StringTable", one message per table entry: the English text as the source, the
entry's number as the disambiguation, the line's comment as the translator's note. A translation
is kept while its English text is unchanged; an entry that is new, or whose English changed, is
marked unfinished (a changed one keeps its old translation for the translator to revise).
Entries marked Data in the table (texts that are parsed, stored or compared) are left out: the
program always uses them in English.

Usage: tools/update-translations.py [--seed FILE.tsv ...]
  --seed: translations as lines "number<TAB>text" (the table's escapes), taken where the .ts has
          none for an entry; by default the .tsv files beside the .ts, if any.
"""
import argparse
import os
import re
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TABLE = os.path.join(ROOT, "resources", "StringTable.inc")
TS = os.path.join(ROOT, "resources", "translations", "kestrel_cs.ts")
CONTEXT = "StringTable"

ENTRY = re.compile(r'^\{(\d+), u"((?:[^"\\]|\\.)*)"(, Data)?\},\s*(?://\s*(.*))?$')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}


def decode(text):
    """The table's C++ escapes decoded."""
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\":
            nxt = text[i + 1]
            if nxt not in ESCAPES:
                raise ValueError("unknown escape \\%s in %r" % (nxt, text))
            out.append(ESCAPES[nxt])
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_table():
    entries = []
    with open(TABLE, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.startswith("{"):
                continue
            m = ENTRY.match(line)
            if not m:
                sys.exit("%s:%d: not an entry line" % (TABLE, number))
            entries.append((int(m.group(1)), decode(m.group(2)), bool(m.group(3)), m.group(4) or ""))
    return entries


def element_text(element):
    """An element's text, with Qt Linguist's <byte value="xd"/> for control characters."""
    if element is None:
        return ""
    parts = [element.text or ""]
    for child in element:
        if child.tag == "byte":
            value = child.get("value", "")
            parts.append(chr(int(value[1:], 16) if value.startswith("x") else int(value)))
        parts.append(child.tail or "")
    return "".join(parts)


def read_ts():
    """number -> (source, translation, finished)"""
    known = {}
    if not os.path.exists(TS):
        return known
    for msg in ET.parse(TS).getroot().iter("message"):
        comment = element_text(msg.find("comment"))
        if not comment.isdigit():
            continue
        tr = msg.find("translation")
        text = element_text(tr)
        finished = tr is not None and tr.get("type") not in ("unfinished", "obsolete", "vanished")
        known[int(comment)] = (element_text(msg.find("source")), text, finished)
    return known


def read_seeds(paths):
    seeds = {}
    for path in paths:
        with open(path, encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\n")
                if line:
                    number, text = line.split("\t", 1)
                    seeds[int(number)] = decode(text)
    return seeds


def protect(text):
    """XML text; a carriage return as a character reference, which XML parsers keep."""
    return escape(text, {'"': "&quot;", "'": "&apos;"}).replace("\r", "&#xd;")


def write_ts(entries, known, seeds):
    out = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>",
           '<TS version="2.1" language="cs_CZ" sourcelanguage="en">', "<context>",
           "    <name>%s</name>" % CONTEXT]
    unfinished = 0
    for number, english, data, note in entries:
        if data:
            continue
        old = known.get(number)
        if old and old[0] == english:
            text, finished = old[1], old[2]
        elif old:
            text, finished = old[1], False
        elif number in seeds:
            text, finished = seeds[number], True
        else:
            text, finished = "", False
        unfinished += not finished
        out.append("    <message>")
        out.append("        <source>%s</source>" % protect(english))
        out.append("        <comment>%d</comment>" % number)
        if note:
            out.append("        <extracomment>%s</extracomment>" % protect(note))
        attr = "" if finished else ' type="unfinished"'
        out.append("        <translation%s>%s</translation>" % (attr, protect(text)))
        out.append("    </message>")
    out += ["</context>", "</TS>", ""]
    with open(TS, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out))
    return unfinished


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seed", action="append", default=[])
    args = parser.parse_args()
    entries = read_table()
    seeds = args.seed or sorted(
        os.path.join(os.path.dirname(TS), n) for n in os.listdir(os.path.dirname(TS)) if n.endswith(".tsv"))
    unfinished = write_ts(entries, read_ts(), read_seeds(seeds))
    print("%s: %d entries, %d unfinished" % (os.path.relpath(TS, ROOT), sum(not e[2] for e in entries), unfinished))


if __name__ == "__main__":
    main()
