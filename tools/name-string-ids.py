#!/usr/bin/env python3
"""Rewrites string-table ids written as numbers into the generated names of base/StringIds.h.

    tools/name-string-ids.py [--ids build/generated/base/StringIds.h] rewrite PATH...
    tools/name-string-ids.py [--ids ...] list PATH...
    tools/name-string-ids.py [--ids ...] name FILE:LINE[-LAST]...

The names come from the generated header (build any target that links kestrel_base first), so
the script and the build can never disagree on them. PATH is a file or a folder (its *.cpp and *.h).

rewrite: turns every id argument of strId(N), StringTable::text(N), uiText(N) and the other
id-taking calls listed in ID_CALLS into sid::<Name>_N, and `constexpr int kName = N;` where N is
a table id into `constexpr int kName = sid::<Name>_N;` (unless its name says it holds a quantity:
kStartupMilliseconds, kLineBaud, kBookNameX). Names already there are left as they are, so the
script is safe to run again over swept files. A file that gains a name but does not
include base/StringTable.h (directly or through ui/UiText.h) gets base/StringIds.h included.

list: prints, as file:line: text, the numbers left that are table ids in the contexts where the code
could use message ids; review them by hand, since a baud rate, a size or a file id can share a number
with a table entry.

name: names every table-id number on the lines given (comments included, string literals not), for
the numbers of list that a review found to be ids (case labels, id tables, comments naming a status).
"""

import argparse
import glob
import os
import re
import sys

# Calls whose arguments are string-table ids: each argument that is a bare number of the table
# (alone, or as the base of "N + offset") is named.
ID_CALLS = [
    "strId",
    "StringTable::text",
    "StringTable::contains",
    "uiText",
    "addButton",
    "addPushButton",
    "addLabel",
    "labelFor",
    "addOkCancel",
    "button",
    "checkBox",
    "enterThree",
]

CALL = re.compile(r"(?<![\w.])(?:" + "|".join(re.escape(c) for c in ID_CALLS) + r")\s*\(")
ARG = re.compile(r"(?P<lead>[(,]\s*)(?P<num>\d{3,5})(?=\s*(?:[,)+]|$))")
CONSTANT = re.compile(r"\b(?P<head>constexpr\s+int\s+(?P<name>k\w+)\s*=\s*)(?P<num>\d{3,5})(?P<end>\s*;)")
# Constants whose name says they hold a quantity, not an id (kStartupMilliseconds = 4000).
QUANTITY = re.compile(r"(Milliseconds|Ms|Baud|Timeout|Length|Size|Width|Height|Number|Count|X|Y)$|^k(Max|Min)")
NAME_LINE = re.compile(r"inline constexpr int (\w+_(\d+)) = (\d+);")
COMMENT = re.compile(r"//.*|/\*.*?\*/", re.S)
BARE = re.compile(r"(?<![\w.])(\d{3,5})(?![\w.])")


def default_ids():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    found = sorted(glob.glob(os.path.join(root, "build*", "generated", "base", "StringIds.h")),
                   key=os.path.getmtime, reverse=True)
    return found[0] if found else None


def load_names(path):
    names = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = NAME_LINE.match(line)
            if m:
                names[int(m.group(3))] = m.group(1)
    if not names:
        sys.exit(f"no names in {path}")
    return names


def files_of(paths):
    for p in paths:
        if os.path.isdir(p):
            for dirpath, _, files in os.walk(p):
                for f in sorted(files):
                    if f.endswith((".cpp", ".h")):
                        yield os.path.join(dirpath, f)
        elif p.endswith((".cpp", ".h")):
            yield p


# Comments, string and character literals (raw strings too): the rewrite leaves them as they are.
NOT_CODE = re.compile(r'//[^\n]*|/\*.*?\*/|R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)"|"(?:\\.|[^"\\\n])*"'
                      r"|'(?:\\.|[^'\\\n])*'", re.S)


def rewrite_text(text, names, where, unknown):
    def name(num, original):
        if num not in names:
            unknown.append(f"{where}: {original}: {num} is not in the table, left as it is")
            return None
        return f"sid::{names[num]}"

    def calls(segment):
        out, last = [], 0
        for m in CALL.finditer(segment):
            if m.start() < last:
                continue
            # The arguments up to the call's closing parenthesis (or the segment's end).
            depth, i = 1, m.end()
            while i < len(segment) and depth:
                depth += {"(": 1, ")": -1}.get(segment[i], 0)
                i += 1
            args = segment[m.end() - 1:i]

            def arg(a):
                named = name(int(a.group("num")), a.group(0).strip())
                return a.group(0) if named is None else f"{a.group('lead')}{named}"

            out.append(segment[last:m.end() - 1])
            out.append(ARG.sub(arg, args))
            last = i
        out.append(segment[last:])
        return "".join(out)

    def constant(m):
        num = int(m.group("num"))
        if num not in names or QUANTITY.search(m.group("name")):
            return m.group(0)
        return f"{m.group('head')}sid::{names[num]}{m.group('end')}"

    def code(segment):
        return CONSTANT.sub(constant, calls(segment))

    out, last = [], 0
    for m in NOT_CODE.finditer(text):
        out.append(code(text[last:m.start()]))
        out.append(m.group(0))
        last = m.end()
    out.append(code(text[last:]))
    return "".join(out)


def add_include(text):
    """Includes base/StringIds.h (unless StringTable.h or UiText.h brings it) in the block of
    project includes, in its sorted place there."""
    if re.search(r'#include "(base/StringTable\.h|base/StringIds\.h|ui/UiText\.h)"', text):
        return text
    line = '#include "base/StringIds.h"\n'
    blocks = list(re.finditer(r'(?:^#include "[^"]+"\n)+', text, re.M))
    # A .cpp file's first include is its own header: the block after it, when there is one.
    own = bool(blocks) and blocks[0].start() == text.find("#include") and blocks[0].group(0).count("\n") == 1
    block = blocks[1] if own and len(blocks) > 1 else (None if own or not blocks else blocks[0])
    if block is None:
        includes = list(re.finditer(r"^#include <[^>]+>\n|^#pragma once\n", text, re.M))
        at = includes[-1].end() if includes else 0
        return text[:at] + "\n" + line + text[at:]
    lines = block.group(0).splitlines(keepends=True)
    at = block.start() + sum(len(x) for x in lines if x < line)
    return text[:at] + line + text[at:]


def rewrite(paths, names):
    changed, converted, unknown = 0, 0, []
    for path in files_of(paths):
        with open(path, encoding="utf-8") as f:
            text = f.read()
        new = rewrite_text(text, names, path, unknown)
        if new != text:
            before = len(re.findall(r"\bsid::\w+_\d+\b", text))
            if "sid::" not in text or re.search(r"\bsid::", new):
                new = add_include(new)
            converted += len(re.findall(r"\bsid::\w+_\d+\b", new)) - before
            with open(path, "w", encoding="utf-8") as f:
                f.write(new)
            changed += 1
            print(f"rewrote {path}")
    for u in unknown:
        print(u, file=sys.stderr)
    print(f"{converted} ids named in {changed} files", file=sys.stderr)


def listing(paths, names):
    count = 0
    for path in files_of(paths):
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        for n, line in enumerate(lines, 1):
            if line.lstrip().startswith("#include"):
                continue
            hits = [int(m.group(1)) for m in BARE.finditer(re.sub(r"\bsid::\w+", "", line))
                    if int(m.group(1)) in names]
            if hits:
                count += 1
                print(f"{path}:{n}: {line.strip()}    [{', '.join(names[h] for h in hits)}]")
    print(f"{count} lines with numbers that are table ids", file=sys.stderr)


STRING = re.compile(r'"(?:\\.|[^"\\\n])*"')


def name_lines(specs, names):
    """Names every table-id number on the given lines (FILE:LINE or FILE:FIRST-LAST), comments
    included, string literals not: for the numbers that list showed and a review found to be ids."""
    by_file = {}
    for spec in specs:
        path, _, lines = spec.rpartition(":")
        first, _, last = lines.partition("-")
        by_file.setdefault(path, set()).update(range(int(first), int(last or first) + 1))
    for path, wanted in by_file.items():
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        count = 0
        for n in sorted(wanted):
            line = lines[n - 1]
            parts, last = [], 0
            for m in STRING.finditer(line):
                parts.append((line[last:m.start()], True))
                parts.append((m.group(0), False))
                last = m.end()
            parts.append((line[last:], True))

            def one(m):
                nonlocal count
                num = int(m.group(1))
                if num not in names:
                    return m.group(0)
                count += 1
                return f"sid::{names[num]}"

            lines[n - 1] = "".join(BARE.sub(one, t) if code else t for t, code in parts)
        text = "\n".join(lines)
        # Names in comments only need no include.
        if count and re.search(r"\bsid::", NOT_CODE.sub("", text)):
            text = add_include(text)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        print(f"{path}: {count} ids named", file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--ids", default=default_ids(), help="the generated base/StringIds.h")
    parser.add_argument("mode", choices=["rewrite", "list", "name"])
    parser.add_argument("paths", nargs="+")
    args = parser.parse_args()
    if not args.ids or not os.path.isfile(args.ids):
        sys.exit("no generated base/StringIds.h found: build kestrel_base first or give --ids")
    names = load_names(args.ids)
    if args.mode == "rewrite":
        rewrite(args.paths, names)
    elif args.mode == "list":
        listing(args.paths, names)
    else:
        name_lines(args.paths, names)


if __name__ == "__main__":
    main()
