"""Writes a 16-bit PCM Sony Wave64 file of silence whose audio is a hole in
the file system: a file of any length that takes no disk space.

    sparse_w64.py FILE RATE CHANNELS FRAMES
"""
import struct
import sys
import uuid

path, rate, channels, frames = sys.argv[1], *map(int, sys.argv[2:5])

# Wave64 chunk GUIDs, stored in their little-endian form.
RIFF = uuid.UUID("66666972-912e-11cf-a5d6-28db04c10000").bytes_le
WAVE = uuid.UUID("65766177-acf3-11d3-8cd1-00c04f8edb8a").bytes_le
FMT = uuid.UUID("20746d66-acf3-11d3-8cd1-00c04f8edb8a").bytes_le
DATA = uuid.UUID("61746164-acf3-11d3-8cd1-00c04f8edb8a").bytes_le

block = 2 * channels
fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, 16)
fmt_chunk = FMT + struct.pack("<Q", 24 + len(fmt)) + fmt
data_bytes = frames * block
data_header = DATA + struct.pack("<Q", 24 + data_bytes)
total = 16 + 8 + 16 + len(fmt_chunk) + len(data_header) + data_bytes
with open(path, "wb") as f:
    f.write(RIFF + struct.pack("<Q", total) + WAVE + fmt_chunk + data_header)
    f.truncate(total)
