#!/usr/bin/env python3
# Writes tests/data/import/errors.xls: an Excel 97-2003 workbook (a compound file holding a BIFF8
# "Workbook" stream) whose sheet holds error values, for the import tests.
#   scripts/make_errors_xls.py tests/data/import/errors.xls
import struct, sys

def rec(t, data=b''):
    return struct.pack('<HH', t, len(data)) + data

def bof(dt):
    return rec(0x0809, struct.pack('<HHHHII', 0x0600, dt, 0x0DBB, 0x07CC, 0, 6))

def workbook(cells, strings):
    # cells: list of (row, col, kind, value): kind 'sst' (index), 'num' (float), 'err' (error code)
    sst = struct.pack('<II', len(strings), len(strings))
    for s in strings:
        sst += struct.pack('<HB', len(s), 0) + s.encode('latin-1')
    xf = struct.pack('<HHHBBBBIIH', 0, 0, 0xFFF5, 0x20, 0, 0, 0, 0, 0, 0x20C0)
    cellxf = struct.pack('<HHHBBBBIIH', 0, 0, 0x0001, 0x20, 0, 0, 0, 0, 0, 0x20C0)
    def globals_(sheet_offset):
        g = bof(0x0005) + rec(0x0042, struct.pack('<H', 1252))
        g += b''.join(rec(0x00E0, xf) for _ in range(15)) + rec(0x00E0, cellxf)
        g += rec(0x0085, struct.pack('<IBB', sheet_offset, 0, 0) + struct.pack('<BB', 5, 0) + b'Sheet')
        g += rec(0x00FC, sst) + rec(0x000A)
        return g
    rows = max(c[0] for c in cells) + 1
    cols = max(c[1] for c in cells) + 1
    sheet = bof(0x0010) + rec(0x0200, struct.pack('<IIHHH', 0, rows, 0, cols, 0))
    for r, c, kind, v in cells:
        if kind == 'sst':
            sheet += rec(0x00FD, struct.pack('<HHHI', r, c, 15, v))
        elif kind == 'num':
            sheet += rec(0x0203, struct.pack('<HHHd', r, c, 15, v))
        elif kind == 'err':
            sheet += rec(0x0205, struct.pack('<HHHBB', r, c, 15, v, 1))
        else:  # a formula (1/0) whose stored result is the error code v
            tokens = bytes([0x1E, 1, 0, 0x1E, 0, 0, 0x06])
            sheet += rec(0x0006, struct.pack('<HHHBBBBHHHIH', r, c, 15, 2, 0, v, 0, 0, 0xFFFF, 0, 0, len(tokens)) + tokens)
    sheet += rec(0x000A)
    g = globals_(0)
    return globals_(len(g)) + sheet

def cfbf(stream):
    SEC = 512
    stream = stream + b'\0' * (-len(stream) % SEC)
    n = len(stream) // SEC
    assert n >= 8, 'the stream must be 4096 bytes or more to stay out of the mini stream'
    fat = [0xFFFFFFFD, 0xFFFFFFFE] + [3 + i if i < n - 1 else 0xFFFFFFFE for i in range(n)]
    fat = [fat[0], fat[1]] + [2 + i + 1 if i < n - 1 else 0xFFFFFFFE for i in range(n)]
    fat += [0xFFFFFFFF] * (128 - len(fat))
    def entry(name, typ, child, start, size):
        u = name.encode('utf-16-le') + b'\0\0' if name else b''
        return (u.ljust(64, b'\0') + struct.pack('<HBBIII', len(u), typ, 1, 0xFFFFFFFF, 0xFFFFFFFF, child)
                + b'\0' * 16 + struct.pack('<I', 0) + b'\0' * 16 + struct.pack('<III', start, size, 0))
    d = entry('Root Entry', 5, 1, 0xFFFFFFFE, 0) + entry('Workbook', 2, 0xFFFFFFFF, 2, len(stream))
    d = d.ljust(SEC, b'\0')
    hdr = (b'\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1' + b'\0' * 16 + struct.pack('<HHHHH', 0x3E, 3, 0xFFFE, 9, 6)
           + b'\0' * 6 + struct.pack('<IIIIIIIII', 0, 1, 1, 0, 4096, 0xFFFFFFFE, 0, 0xFFFFFFFE, 0))
    hdr += struct.pack('<I', 0) + struct.pack('<I', 0xFFFFFFFF) * 108
    assert len(hdr) == SEC
    return hdr + struct.pack('<128I', *fat) + d + stream

# Header "Code" / "Note"; rows 1..300 hold numbers; cell A3 holds #DIV/0!, B5 #N/A and B6 a formula whose
# result is #DIV/0!.
strings = ['Code', 'Note']
cells = [(0, 0, 'sst', 0), (0, 1, 'sst', 1)]
for r in range(1, 301):
    cells.append((r, 0, 'err', 0x07) if r == 2 else (r, 0, 'num', float(1000 + r)))
    cells.append((r, 1, 'err', 0x2A) if r == 4 else (r, 1, 'formula', 0x07) if r == 5 else (r, 1, 'num', float(r)))
open(sys.argv[1], 'wb').write(cfbf(workbook(cells, strings)))
