"""Checks the plug-in's controls in a saved Ardour session: each NAME=VALUE
argument must be the value Ardour saved for the control of that name, within
1e-4 (VST 2.x controls are saved normalised, others in their own units).
Prints every such control of the session when one differs.

    saved_controls.py SESSION_FILE NAME=VALUE...
"""
import sys
import xml.etree.ElementTree as ET


def main():
    saved = {}
    for control in ET.parse(sys.argv[1]).getroot().iter("Controllable"):
        if control.get("parameter") is not None and control.get("value") is not None:
            saved[control.get("name")] = float(control.get("value"))
    wrong = False
    for expected in sys.argv[2:]:
        name, value = expected.rsplit("=", 1)
        if name not in saved or abs(saved[name] - float(value)) > 1e-4:
            wrong = True
    if wrong:
        for name, value in sorted(saved.items()):
            print(f"{name} = {value:g}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
