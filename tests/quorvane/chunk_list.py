"""Lists the metadata of a WAV, RF64, W64 or FLAC file, one item a line:
'ID HASH' per chunk of the WAV family (but the format and the audio), and
'BLOCKNAME HASH' per FLAC metadata block (but STREAMINFO, SEEKTABLE,
PADDING and the comments), HASH the SHA-1 of the body. A reader of its own,
to check the tool's against.

    chunk_list.py FILE
"""
import hashlib
import struct
import sys

FLAC_NAMES = {2: "APPLICATION", 5: "CUESHEET", 6: "PICTURE"}
W64_TAIL = bytes.fromhex("f3acd3118cd100c04f8edb8a")

data = open(sys.argv[1], "rb").read()


def show(name, body):
    print(name.rstrip(), hashlib.sha1(body).hexdigest())


if data[:4] == b"fLaC":
    at = 4
    while at + 4 <= len(data):
        kind, size = data[at] & 0x7F, int.from_bytes(data[at + 1:at + 4], "big")
        if kind not in (0, 1, 3, 4):
            show(FLAC_NAMES.get(kind, "block type %d" % kind), data[at + 4:at + 4 + size])
        if data[at] & 0x80:
            break
        at += 4 + size
elif data[:4] in (b"RIFF", b"RF64", b"BW64"):
    sizes = {}
    at = 12
    while at + 8 <= len(data):
        cid, size = data[at:at + 4].decode("latin-1"), struct.unpack("<I", data[at + 4:at + 8])[0]
        if cid == "ds64":
            sizes["data"] = struct.unpack("<Q", data[at + 16:at + 24])[0]
        elif size == 0xFFFFFFFF:
            size = sizes.get(cid, len(data))
        if cid not in ("fmt ", "data", "ds64"):
            show(cid, data[at + 8:at + 8 + size])
        at += 8 + size + (size & 1)
elif data[:4] == b"riff":
    at = 40
    while at + 24 <= len(data):
        guid, size = data[at:at + 16], struct.unpack("<Q", data[at + 16:at + 24])[0]
        cid = guid[:4].decode("latin-1") if guid[4:] == W64_TAIL else guid.hex()
        if cid not in ("fmt ", "data"):
            show(cid, data[at + 24:at + size])
        at += (size + 7) & ~7
