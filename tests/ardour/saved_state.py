"""Prints the plug-in's own state from the VST 3 chunk of a saved Ardour
session: "program N" and one "value V" line per parameter.

    saved_state.py SESSION_FILE
"""
import base64
import struct
import sys
import xml.etree.ElementTree as ET


def main():
    for chunk in ET.parse(sys.argv[1]).getroot().iter("chunk"):
        data = base64.b64decode(chunk.text)
        at = data.find(b"QVs3")
        if at < 0:
            continue
        version, program, count = struct.unpack_from("<IiI", data, at + 4)
        print(f"program {program}")
        for value in struct.unpack_from(f"<{count}d", data, at + 16):
            print(f"value {value:g}")
        return 0
    print("no state of the plug-in in the session")
    return 1


if __name__ == "__main__":
    sys.exit(main())
