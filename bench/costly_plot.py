#!/usr/bin/env python3
"""Writes a plot file of SIZE bytes made of one kind of record, each as costly to read, hold or
draw as that kind can be: the inputs of thumbnail_bound.sh. Usage: costly_plot.py KIND SIZE OUT
  numbers   numbers with 32767 decimals, values with the longest expansions, on the sheet
  texts     texts of 511 eights (the glyph with the most strokes), on the sheet
  pens      pen records, the most records per byte (the most memory)
  lines     line records drawn across the sheet
  circles   circles of every size on the sheet
  symbols   special symbols on the sheet
  skipped   record codes that hold nothing, the most records read per byte"""
import struct
import sys

kind, size, out = sys.argv[1], int(float(sys.argv[2])), sys.argv[3]
head = struct.pack('<hhh', -1, 0, 0) + struct.pack('<hff', -3, 33, 23) + struct.pack('<hh', -2, 1)
records = []
for k in range(1, 4097):
    x, y = 1 + (k * 7) % 30, 1 + (k * 13) % 20
    if kind == 'numbers':
        value = 1.4e-45 * k if k % 2 else 88888888.0 + k
        records.append(struct.pack('<hffffhf', -8, x, y, 0.2, 0.0, 32767, value))
    elif kind == 'texts':
        records.append(struct.pack('<hffffh', -9, x, y, 0.2, (k * 37) % 360, 511) + b'8' * 511 +
                       b'\0')
    elif kind == 'pens':
        records.append(struct.pack('<hh', -2, 1 + k % 8))
    elif kind == 'lines':
        records.append(struct.pack('<hffh', -4, x, y, 2 if k % 2 else 3))
    elif kind == 'circles':
        records.append(struct.pack('<hfff', -12, x, y, 0.01 * (k % 2000)))
    elif kind == 'symbols':
        records.append(struct.pack('<hffffhh', -10, x, y, 0.2, 0.0, 2, k % 16))
    elif kind == 'skipped':
        records.append(struct.pack('<h', -7))
    else:
        sys.exit(__doc__)
blob = b''.join(records)
with open(out, 'wb') as f:
    f.write(head)
    written = len(head)
    while written + len(blob) <= size:
        f.write(blob)
        written += len(blob)
    for record in records:
        if written + len(record) > size:
            break
        f.write(record)
        written += len(record)
