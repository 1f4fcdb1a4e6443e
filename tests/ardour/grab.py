"""Saves the screen area of window geometry WxH+X+Y (absolute) of a display.

    grab.py DISPLAY GEOMETRY OUT.png
"""
import re
import sys

from PIL import ImageGrab

w, h, x, y = (int(v) for v in re.match(r"(\d+)x(\d+)\+(-?\d+)\+(-?\d+)", sys.argv[2]).groups())
ImageGrab.grab(xdisplay=sys.argv[1]).crop((x, y, x + w, y + h)).save(sys.argv[3])
