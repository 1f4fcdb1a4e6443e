"""Marks the plug-in's window of the session as open, as Ardour saves it when
the user leaves it open: a Window "P-ROUTE-PROCESSOR" in the session's UI
state, with the plug-in's own editor ("custom-ui").

    open_window.py SESSION_FILE PLUGIN_NAME
"""
import sys
import xml.etree.ElementTree as ET


def main():
    tree = ET.parse(sys.argv[1])
    root = tree.getroot()
    for route in root.iter("Route"):
        for processor in route.iter("Processor"):
            if processor.get("name") != sys.argv[2]:
                continue
            extra = root.find("Extra")
            if extra is None:
                extra = ET.SubElement(root, "Extra")
            ui = extra.find("UI")
            if ui is None:
                ui = ET.SubElement(extra, "UI")
            ET.SubElement(ui, "Window", {
                "name": "P-{}-{}".format(route.get("id"), processor.get("id")),
                "visible": "1", "x-off": "0", "y-off": "0", "x-size": "500", "y-size": "565",
                "custom-ui": "1"})
            tree.write(sys.argv[1])
            return 0
    print("no {} processor in the session".format(sys.argv[2]))
    return 1


if __name__ == "__main__":
    sys.exit(main())
