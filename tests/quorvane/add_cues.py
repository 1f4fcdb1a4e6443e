"""Appends a 'cue ' chunk with the given sample positions to a RIFF WAVE file
and fixes the RIFF size, as DAWs write markers.

    add_cues.py FILE POSITION...
"""
import struct
import sys

path, positions = sys.argv[1], [int(p) for p in sys.argv[2:]]
with open(path, "rb") as f:
    data = bytearray(f.read())
if data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
    sys.exit(path + " is not a RIFF WAVE file")
cue = struct.pack("<I", len(positions))
for number, position in enumerate(positions, 1):
    # id, position, chunk id of the data, chunk start, block start, offset
    cue += struct.pack("<II4sIII", number, position, b"data", 0, 0, position)
if len(data) % 2:
    data += b"\0"
data += b"cue " + struct.pack("<I", len(cue)) + cue
data[4:8] = struct.pack("<I", len(data) - 8)
with open(path, "wb") as f:
    f.write(data)
