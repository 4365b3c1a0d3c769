#!/usr/bin/env python3
"""Computes the expected configuration images of the test projects.

Written from the image rules alone, without the tool's code, so that the
tool's output can be checked byte for byte against it.

    make_bank_images.py [tests/data/imagebuilder]

Every sub-folder but missing_keys is a project: its ParGen.xml and
HART_Variables.xml (either may be missing) give expected/bank1.bin and
expected/bank2.bin. The project "all_keys" also gives,
for each element of its parameter file, missing_keys/<element>/bank1.bin and
bank2.bin: the images of that project with the one element removed.
"""

import os
import re
import struct
import sys
import xml.etree.ElementTree as ET

BLOCK_SIZE = 2048
BANK_BASE = 0x80000
WEB_BASE = 0xC0000
BANK_CAPACITY = 524288
SW_VERSION = "1.102"


def parse_int(text, bits=32):
    """The tool's one integer parser: leading blanks, optional sign, decimal
    digits, or hexadecimal digits after "$", "x" or "0x". Anything else, the
    empty text and values outside the signed range fail (hexadecimal may use
    the full unsigned width and wraps to negative). Returns None on failure."""
    if text is None:
        return None
    m = re.fullmatch(r" *([+-]?)(?:(\$|0[xX]|[xX])([0-9A-Fa-f]+)|([0-9]+))", text)
    if not m:
        return None
    sign, hexprefix, hexdigits, decdigits = m.groups()
    neg = sign == "-"
    if hexprefix:
        mag = int(hexdigits, 16)
        if mag >= 1 << bits:
            return None
        if mag >= 1 << (bits - 1):
            mag -= 1 << bits
    else:
        mag = int(decdigits)
        limit = (1 << (bits - 1)) if neg else (1 << (bits - 1)) - 1
        if mag > limit:
            return None
    return -mag if neg else mag


def utf16_units(s):
    """Texts are sequences of UTF-16 code units in the tool: a character
    outside the Basic Multilingual Plane counts as two."""
    data = s.encode("utf-16-le", "surrogatepass")
    return list(struct.unpack("<%dH" % (len(data) // 2), data))


def int_or(text, fallback, bits=32):
    v = parse_int(text, bits)
    return fallback if v is None else v


def load_root(path):
    """None for a missing file, else the root element: the first element,
    whatever declaration or comment stands before it. A file that does not
    parse builds no images at all, so no project here may hold one."""
    if not os.path.isfile(path):
        return None
    with open(path, "rb") as f:
        data = f.read()
    try:
        return ET.fromstring(data)
    except ET.ParseError as e:
        raise SystemExit("%s: %s (a damaged file builds no images)" % (path, e))


def parameter_block(pargen):
    """Returns (block bytes, bank address field, retry limit index)."""
    b = bytearray(BLOCK_SIZE)

    def put32(off, v):
        b[off:off + 4] = struct.pack("<I", v & 0xFFFFFFFF)

    def put16(off, v):
        b[off:off + 2] = struct.pack("<H", v & 0xFFFF)

    # Defaults before the parameter file is read.
    put32(0, 250000)
    put32(4, 250000)
    put32(8, 0)
    put32(12, 9600)
    put32(24, 0)
    b[40:44] = bytes([192, 168, 2, 205])
    b[44:48] = bytes([255, 255, 255, 0])
    b[48:52] = bytes([255, 255, 255, 255])
    put16(52, 10000)
    put16(54, 10001)
    put16(56, 10001)
    b[436:444] = bytes([8] * 8)

    address = 0
    retry = 0
    if pargen is not None:
        root = pargen if pargen.tag == "Par_Gen" else None

        def text(key):
            if root is None:
                return None
            el = root.find(key)
            if el is None:
                return None
            return "".join(el.itertext())

        def flag(key):
            return text(key) == "1"

        def put_chars(off, size, maxchars, s):
            b[off:off + size] = bytes(size)
            for i, unit in enumerate(utf16_units(s)[:maxchars]):
                b[off + i] = unit & 0xFF

        b[1644:1652] = bytes(8)
        b[1644:1644 + len(SW_VERSION)] = SW_VERSION.encode("ascii")

        name = text("Eth_Conn_Device_Name")
        if name is not None:
            put_chars(1300, 32, 31, name)

        put16(1256, (1 if flag("Eth_Conn_DHCP_Cable") else 0) | (2 if flag("Eth_Conn_DHCP_WiFi") else 0))

        if flag("Eth_Conn_Enable_DNS"):
            for i, fb in enumerate([8, 8, 8, 8]):
                b[1420 + i] = int_or(text("Eth_Conn_Primary_DNS%d" % (i + 1)), fb) & 0xFF
            for i, fb in enumerate([8, 8, 4, 4]):
                b[1340 + i] = int_or(text("Eth_Conn_Secondary_DNS%d" % (i + 1)), fb) & 0xFF

        address = 1
        r = text("HART_Master_Retry_Limit")
        if r is not None:
            retry = {"3": 1, "4": 2, "5": 3}.get(r.strip(" \t\r\n"), 0)

        put32(384, 0)
        if flag("HART_Master_Enable_Diagnostic"):
            d = text("HART_Master_Diagnostic")
            if d is not None:
                put32(384, int_or(d, -1) + 1)

        for i, fb in enumerate([192, 168, 0, 10]):
            b[40 + i] = int_or(text("Ethernet_IP%d" % (i + 1)), fb) & 0xFF
        for i, fb in enumerate([255, 255, 255, 0]):
            b[44 + i] = int_or(text("Ethernet_SM%d" % (i + 1)), fb) & 0xFF
        for i, fb in enumerate([192, 168, 0, 1]):
            b[48 + i] = int_or(text("Ethernet_GAT%d" % (i + 1)), fb) & 0xFF
        if not flag("Ethernet_EN_GAT"):
            b[48:52] = bytes([255] * 4)

        rates = [1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200]
        baud = int_or(text("MODBUS_SLAVE_BAUDRATE"), 7)
        put32(400, rates[baud] if 0 <= baud < 8 else 9600)
        b[424] = int_or(text("MODBUS_SLAVE_PARITY"), 0) & 0xFF
        stop = int_or(text("MODBUS_SLAVE_STOPBITS"), 0)
        b[430] = (2 if stop == 1 else stop) & 0xFF
        b[436] = 8
        put32(24, int_or(text("MODBUS_SLAVE_IDDEVICE"), 10))
        b[97] = 0x40 if text("MODBUS_SLAVE_READ_INPUT_REGISTER") == "0" else 0

        user = text("Web_Pages_User")
        if user is not None:
            put_chars(1828, 8, 8, user)
        password = text("Web_Pages_Password")
        if password is not None:
            put_chars(1836, 8, 8, password)

    put32(1536, BANK_BASE)
    put32(1804, WEB_BASE)
    put32(2044, sum(b[0:2044]))
    return bytes(b), address, retry


def hex_pairs(s):
    if s is None or s.strip(" \t\r\n") == "":
        return b""
    hexdigits = b"0123456789ABCDEFabcdef"
    units = utf16_units(s)
    out = bytearray()
    for i in range(len(units) // 2):
        hi, lo = units[2 * i], units[2 * i + 1]
        if hi < 128 and lo < 128 and hexdigits.find(hi) >= 0 and hexdigits.find(lo) >= 0:
            out.append(int(chr(hi) + chr(lo), 16))
        else:
            out.append(0)
    return bytes(out)


def hart_bank(path, address, retry):
    rows = []
    root = load_root(path)
    if isinstance(root, ET.Element) and root.tag == "HART":
        table = root.find("HART_Variables")
        if table is not None:
            rows = [r for r in table if r.get("Enable") == "Y"]

    n = len(rows)
    records = []
    params_all = b""
    params_add = BANK_BASE + 36 + 76 * n
    for r in rows:
        dev = int_or(r.get("Device_Address"), 0, 64) & 0xFFFFFFFFFFFFFFFF
        pre = int_or(r.get("Preamble_Count"), 5) & 0xFFFFFFFF
        t = r.get("Var_Cmd_Type")
        vtype = 0 if t is None or t == "Var" else (1 if t == "Var Burst" else 2)
        num = int_or(r.get("Var_Cmd_Number"), 0) & 0xFFFFFFFF
        params = hex_pairs(r.get("Cmd_Params"))
        pos = int_or(r.get("Position"), 0) & 0xFFFFFFFF
        conv = r.get("ConvInt") == "Y"
        swap = r.get("Swap") == "Y"
        op = (2 if conv else 0) + ((4 if conv else 1) if swap else 0)
        op += {"x 10": 8, "x 100": 16, "x 1000": 32, "x 10000": 64,
               "x 100000": 128, "x 1000000": 256}.get(r.get("Var_Operation"), 0)
        # Time-outs are unsigned 32-bit milliseconds.
        to = parse_int(r.get("TimeOut"), 64)
        timeout = to if to is not None and 0 <= to <= 0xFFFFFFFF else 0

        rec = struct.pack("<QIII", dev, pre, vtype, num)
        rec += bytes(3) + bytes(1)          # serial number (24 bits), limits
        rec += struct.pack("<6f", *([0.0] * 6))
        rec += struct.pack("<I", timeout)
        rec += bytes(5) + bytes(3)          # units .. status, spare
        rec += struct.pack("<IIII", params_add, len(params), pos, op)
        assert len(rec) == 76
        records.append(rec)
        params_all += params
        params_add += len(params)

    header = struct.pack("<IIIIIQII", n, BANK_BASE + 36 if n else 0, 0, 0, 1, address, retry, 0)
    assert len(header) == 36
    bank = header + b"".join(records) + params_all
    if len(bank) > BANK_CAPACITY:
        raise SystemExit("%s: bank of %d bytes does not fit" % (path, len(bank)))
    return bank


def images(pargen_root, hart_path):
    block, address, retry = parameter_block(pargen_root)
    return block, hart_bank(hart_path, address, retry)


def write(folder, bank1, bank2):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "bank1.bin"), "wb") as f:
        f.write(bank1)
    with open(os.path.join(folder, "bank2.bin"), "wb") as f:
        f.write(bank2)


def main():
    top = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "data", "imagebuilder")
    for name in sorted(os.listdir(top)):
        proj = os.path.join(top, name)
        if name == "missing_keys" or not os.path.isdir(proj):
            continue
        pargen = os.path.join(proj, "ParGen.xml")
        hart = os.path.join(proj, "HART_Variables.xml")
        root = load_root(pargen)
        write(os.path.join(proj, "expected"), *images(root, hart))
        print("wrote", name)

        if name == "all_keys":
            for el in list(root):
                reduced = load_root(pargen)
                reduced.remove(reduced.find(el.tag))
                write(os.path.join(top, "missing_keys", el.tag), *images(reduced, hart))
            print("wrote missing_keys for", len(root), "elements")


if __name__ == "__main__":
    main()
