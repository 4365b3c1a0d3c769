#!/usr/bin/env python3
"""Checks a GSD (revision 5 keyword file) as the configurator writes it.

Usage: gsd_check.py FILE...  Prints one line per fault and exits 1 when any
file has one, 0 otherwise (silent).
"""
import re
import sys

BLOCKS = {  # opening keyword -> closing keyword
    "PrmText": "EndPrmText",
    "ExtUserPrmData": "EndExtUserPrmData",
    "Module": "EndModule",
    "Unit_Diag_Area": "Unit_Diag_Area_End",
    "SlotDefinition": "EndSlotDefinition",
}
KEY_LINE = re.compile(r'^([A-Za-z0-9_.#]+(?:\(\d+\))?)\s*=\s*(.*)$')
WORD_LINE = re.compile(r'^(#Profibus_DP|EndPrmText|EndExtUserPrmData|EndModule|Unit_Diag_Area_End|'
                       r'SlotDefinition|EndSlotDefinition|\d+|(?:Bit\(\d+\)|Unsigned8|Unsigned16) \d+ \d+-\d+)$')
MODULE = re.compile(r'^Module="(DI|DO)  \(PORT(\d+)\)    " 0x([0-9A-F]{2}),0x([0-9A-F]{2}),0x00,0x([0-9A-F]{2,})$')
SLOT = re.compile(r'^Slot\((\d+)\) = "Slot (\d+)" (\d+) (\d+)$')


def check(path):
    faults = []
    raw = open(path, "rb").read()
    if raw.startswith(b"\xef\xbb\xbf"):
        faults.append("byte-order mark present")
    if not raw.endswith(b"\r\n"):
        faults.append("last line not ended by CR LF")
    if re.search(rb"(?<!\r)\n|\r(?!\n)", raw):
        faults.append("a line not ended by CR LF")
    try:
        text = raw.decode("cp1252")
    except UnicodeDecodeError as e:
        return faults + ["not Windows-1252 text: %s" % e]
    lines = text.split("\r\n")[:-1]

    # Banner: every comment line before "#Profibus_DP" is 85 characters long
    # (";" alone opens it); section rules match their title line's width.
    for n, line in enumerate(lines, 1):
        if line == "#Profibus_DP":
            break
        if line.startswith(";") and line != ";" and len(line) != 85:
            faults.append("line %d: banner line of %d characters" % (n, len(line)))
        if line.startswith(";*") and line not in (";" + "*" * 84,) and not line.endswith("*"):
            faults.append("line %d: banner line not closed by *" % n)
    for n in range(len(lines) - 2):
        a, b, c = lines[n], lines[n + 1], lines[n + 2]
        if b.startswith(";==== "):
            if not (a == c and re.fullmatch(r";=+", a) and len(a) == len(b)):
                faults.append("line %d: section title not framed by rules of its width" % (n + 2))

    open_block = None
    modules = []
    slots = []
    keys = {}
    for n, line in enumerate(lines, 1):
        if line == "" or line.startswith(";"):
            continue
        m = KEY_LINE.match(line)
        word = m.group(1).split("(")[0] if m else line
        if word in BLOCKS:
            if open_block:
                faults.append("line %d: %s opened inside %s" % (n, word, open_block))
            open_block = word
        elif open_block and line == BLOCKS[open_block]:
            open_block = None
        elif line in BLOCKS.values():
            faults.append("line %d: %s without its opening" % (n, line))
        if m:
            keys.setdefault(m.group(1), m.group(2))
        elif not WORD_LINE.match(line):
            faults.append("line %d: neither a keyword line nor a block line: %r" % (n, line))
        if word == "Module":
            mm = MODULE.match(line)
            if not mm:
                faults.append("line %d: module line not understood: %r" % (n, line))
                continue
            kind, port, ident, length, number = mm.groups()
            number = int(number, 16)
            if (kind, ident) not in (("DI", "42"), ("DO", "82")):
                faults.append("line %d: identifier 0x%s for %s" % (n, ident, kind))
            if int(port) != number or number != len(modules) + 1:
                faults.append("line %d: module numbered %s/%d, expected %d" % (n, port, number, len(modules) + 1))
            if n >= len(lines) or lines[n] != str(number):
                faults.append("line %d: module not followed by its number" % n)
            modules.append((kind, int(length, 16) + 1))
        sm = SLOT.match(line)
        if sm:
            a, b, c, d = map(int, sm.groups())
            if not (a == b == c == d == len(slots) + 1):
                faults.append("line %d: slot line not numbered %d" % (n, len(slots) + 1))
            slots.append(a)
    if open_block:
        faults.append("%s not closed" % open_block)

    def number(key):
        try:
            return int(keys[key])
        except (KeyError, ValueError):
            faults.append("%s missing or not a number" % key)
            return None

    inputs = sum(l for k, l in modules if k == "DI")
    outputs = sum(l for k, l in modules if k == "DO")
    if [k for k, _ in modules] != sorted(k for k, _ in modules):
        faults.append("DO module before a DI module")
    for kind in ("DI", "DO"):
        lengths = [l for k, l in modules if k == kind]
        if any(l != 64 for l in lengths[:-1]) or any(l < 1 or l > 64 for l in lengths):
            faults.append("%s modules not full 64-byte modules and a last one" % kind)
    expected = {"Max_Module": len(modules), "Max_Input_Len": inputs, "Max_Output_Len": outputs,
                "Max_Data_Len": inputs + outputs}
    for key, want in expected.items():
        got = number(key)
        if got is not None and got != want:
            faults.append("%s=%d, the modules give %d" % (key, got, want))
    if len(slots) != len(modules):
        faults.append("%d slots for %d modules" % (len(slots), len(modules)))
    return faults


def main(paths):
    bad = False
    for p in paths:
        for f in check(p):
            print("%s: %s" % (p, f))
            bad = True
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
