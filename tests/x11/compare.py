"""Compares two captures of the editor: every pixel outside the text areas must
be equal; inside them text rasterisers may differ. Prints the differing counts
("outside N", "inside N") and exits 1 when a pixel outside differs.

    compare.py A.png B.png [--text]

With --text, the text the editor draws itself (the rest is in its pictures)
is set apart: the frequency labels above the graph and the captions of the
two knobs, with room for glyphs that leave their rectangles (text is not
clipped). Without it, every pixel counts.
"""
import sys

from PIL import Image

TEXT_AREAS = [(66, 58, 452, 80), (342, 455, 378, 474), (409, 455, 445, 474)]


def main():
    a = Image.open(sys.argv[1]).convert("RGB")
    b = Image.open(sys.argv[2]).convert("RGB")
    areas = TEXT_AREAS if "--text" in sys.argv[3:] else []
    if a.size != b.size:
        print(f"sizes differ: {a.size} and {b.size}")
        return 1
    pa, pb = a.load(), b.load()
    inside = outside = 0
    first = None
    for y in range(a.size[1]):
        for x in range(a.size[0]):
            if pa[x, y] == pb[x, y]:
                continue
            if any(l <= x < r and t <= y < btm for l, t, r, btm in areas):
                inside += 1
            else:
                outside += 1
                first = first or (x, y, pa[x, y], pb[x, y])
    print(f"outside {outside}")
    print(f"inside {inside}")
    if first:
        print("first outside at ({}, {}): {} and {}".format(*first))
    return 1 if outside else 0


if __name__ == "__main__":
    sys.exit(main())
