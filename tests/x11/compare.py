"""Compares two captures of the editor: every pixel outside the text areas must
be equal; inside them text rasterisers may differ. Prints the differing counts
("outside N", "inside N") and exits 1 when a pixel outside differs.

    compare.py A.png B.png LEFT,TOP,RIGHT,BOTTOM...
"""
import sys

from PIL import Image


def main():
    a = Image.open(sys.argv[1]).convert("RGB")
    b = Image.open(sys.argv[2]).convert("RGB")
    areas = [tuple(int(v) for v in text.split(",")) for text in sys.argv[3:]]
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
