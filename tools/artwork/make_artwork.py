#!/usr/bin/python3
"""Draws the editor's pictures: the two-frame background (dither off, then on),
the knob face and the two-frame "show graph" lamp.

Usage: make_artwork.py OUTPUT_DIR
Writes background.png (500 x 1050, RGB), knob.png (31 x 31, RGBA) and
lamp.png (8 x 16, RGBA). Shapes are drawn four times larger and scaled down,
which smooths their edges. Needs Debian's python3-pil and fonts-liberation.
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

W, H = 500, 525
S = 4  # supersampling factor
FONT_DIR = "/usr/share/fonts/truetype/liberation"

# Palette
BODY_TOP = (52, 57, 66)
BODY_BOTTOM = (30, 33, 39)
PANEL = (38, 42, 49)
DISPLAY = (54, 66, 84)       # mid tone: the input band lightens it, the noise darkens it
DISPLAY_EDGE = (18, 21, 26)
LABEL_BAND = (24, 27, 32)
LEGEND = (196, 202, 212)
FAINT = (120, 128, 140)
ACCENT = (255, 170, 60)
ACCENT_DIM = (110, 78, 40)

# Where the editor places things (left, top, right, bottom).
DISPLAY_RECT = (86, 80, 431, 345)
LOGO_RECT = (40, 375, 170, 435)
SWITCH_RECT = (180, 445, 215, 475)
LAMP_RECT = (240, 462, 248, 470)
LEVEL_RECT = (50, 462, 162, 469)
KNOBS = [((345, 414), "psychoacoustic", "power", (350, 459, 370, 470)),
         ((412, 414), "target", "bits", (417, 459, 437, 470))]


def font(size, bold=False):
    name = "LiberationSans-Bold.ttf" if bold else "LiberationSans-Regular.ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size * S)


def box(rect, grow=0):
    l, t, r, b = rect
    return [(l - grow) * S, (t - grow) * S, (r + grow) * S - 1, (b + grow) * S - 1]


def vertical_gradient(size, top, bottom):
    w, h = size
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for y in range(h):
        f = y / max(1, h - 1)
        d.line([(0, y), (w, y)], fill=tuple(int(top[i] + (bottom[i] - top[i]) * f) for i in range(3)))
    return img


def centred_text(d, cx, y, text, size, fill, bold=False):
    f = font(size, bold)
    width = d.textlength(text, font=f)
    d.text((cx * S - width / 2, y * S), text, font=f, fill=fill)


def draw_body(img):
    d = ImageDraw.Draw(img)
    # Lower control panel, slightly recessed.
    d.rounded_rectangle(box((20, 362, 480, 505)), radius=10 * S, fill=PANEL, outline=(22, 25, 30), width=S)
    # Display: a dark bezel, a band for the frequency labels and the plot area.
    l, t, r, b = DISPLAY_RECT
    d.rounded_rectangle(box((l - 16, t - 22, r + 16, b + 14)), radius=8 * S, fill=DISPLAY_EDGE)
    d.rectangle(box((l - 10, t - 16, r + 10, t - 1)), fill=LABEL_BAND)
    d.rectangle(box(DISPLAY_RECT), fill=DISPLAY)
    centred_text(d, (l + r) / 2, b + 2, "Hz", 9, FAINT)
    d.text(((l - 13) * S, (t + 2) * S), "in", font=font(9), fill=FAINT)
    d.text(((l - 13) * S, (b - 13) * S), "err", font=font(9), fill=FAINT)
    # Screws in the corners.
    for x, y in ((10, 10), (W - 10, 10), (10, H - 10), (W - 10, H - 10)):
        d.ellipse([(x - 4) * S, (y - 4) * S, (x + 4) * S, (y + 4) * S], fill=(70, 75, 84), outline=(20, 22, 26), width=S)
        d.line([(x - 3) * S, y * S, (x + 3) * S, y * S], fill=(30, 32, 36), width=S)


def draw_logo(d):
    l, t, r, b = LOGO_RECT
    # A stepped waveform: the product's idea in one mark.
    steps = [0, 3, 5, 6, 5, 3, 0, -3, -5, -6, -5, -3, 0]
    x0, y0, dx = l + 6, t + 20, 3
    points = []
    for i, s in enumerate(steps):
        points += [((x0 + i * dx) * S, (y0 - s * 2) * S), ((x0 + (i + 1) * dx) * S, (y0 - s * 2) * S)]
    d.line(points, fill=ACCENT, width=2 * S)
    d.text(((l + 50) * S, (t + 6) * S), "Quorvane", font=font(20, bold=True), fill=(235, 238, 243))
    d.text(((l + 51) * S, (t + 32) * S), "dither  \u00b7  noise shaping", font=font(9), fill=FAINT)
    d.text(((l + 6) * S, (t + 44) * S), "read me", font=font(8), fill=(95, 102, 114))


def draw_switch(d, on):
    l, t, r, b = SWITCH_RECT
    centred_text(d, (l + r) / 2, t - 12, "dither", 11, LEGEND)
    d.rounded_rectangle(box((l + 2, t + 6, r - 2, b - 6)), radius=9 * S, fill=ACCENT_DIM if on else (20, 22, 27),
                        outline=(12, 13, 16), width=S)
    cx = (r - 11) if on else (l + 11)
    cy = (t + b) / 2
    d.ellipse([(cx - 8) * S, (cy - 8) * S, (cx + 8) * S, (cy + 8) * S],
              fill=ACCENT if on else (150, 156, 166), outline=(15, 16, 20), width=S)
    centred_text(d, l + 8, b - 4, "off", 9, FAINT if on else LEGEND)
    centred_text(d, r - 8, b - 4, "on", 9, ACCENT if on else FAINT)


def draw_knob_wells(d):
    for (x, y), line1, line2, caption in KNOBS:
        cx, cy = x + 15.5, y + 15.5
        d.ellipse([(cx - 20) * S, (cy - 20) * S, (cx + 20) * S, (cy + 20) * S], fill=(22, 24, 29))
        # Scale ticks from -135 to +135 degrees.
        for i in range(11):
            a = math.radians(-135 + 27 * i)
            r0, r1 = 22, 25
            d.line([(cx + r0 * math.sin(a)) * S, (cy - r0 * math.cos(a)) * S,
                    (cx + r1 * math.sin(a)) * S, (cy - r1 * math.cos(a)) * S], fill=FAINT, width=S)
        centred_text(d, cx, y - 42, line1, 10, LEGEND)
        centred_text(d, cx, y - 30, line2, 10, LEGEND)
        cl, ct, cr, cb = caption
        d.rounded_rectangle(box((cl - 8, ct - 2, cr + 8, cb + 2)), radius=3 * S, fill=(18, 20, 24))


def draw_lamp_legend(d):
    l, t, r, b = LAMP_RECT
    d.ellipse(box((l - 3, t - 3, r + 3, b + 3)), fill=(16, 18, 22))
    d.text(((r + 8) * S, (t - 3) * S), "show graph", font=font(10), fill=LEGEND)


def draw_level_track(d):
    l, t, r, b = LEVEL_RECT
    d.rounded_rectangle(box((l - 2, t - 2, r + 2, b + 2)), radius=6 * S, fill=(16, 18, 22), outline=(60, 64, 72), width=S)
    d.text((l * S, (t - 16) * S), "input peak", font=font(10), fill=LEGEND)


def background_frame(on):
    img = vertical_gradient((W * S, H * S), BODY_TOP, BODY_BOTTOM)
    draw_body(img)
    d = ImageDraw.Draw(img)
    draw_logo(d)
    draw_switch(d, on)
    draw_knob_wells(d)
    draw_lamp_legend(d)
    draw_level_track(d)
    return img.resize((W, H), Image.LANCZOS)


def knob():
    n = 31 * S
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    c = n / 2
    d.ellipse([S, S, n - S, n - S], fill=(24, 26, 30, 255))
    for i in range(12):
        f = 1 - i / 12
        shade = int(70 + 80 * f)
        r = (13.5 - i * 0.35) * S
        d.ellipse([c - r - S, c - r - 2 * S, c + r - S, c + r - 2 * S], fill=(shade, shade + 3, shade + 8, 255))
    d.ellipse([c - 11 * S, c - 11 * S, c + 11 * S, c + 11 * S], fill=(92, 97, 106, 255))
    # Pointer: straight up at zero degrees.
    d.rounded_rectangle([c - 1.5 * S, 3 * S, c + 1.5 * S, c - 3 * S], radius=S, fill=ACCENT + (255,))
    return img.resize((31, 31), Image.LANCZOS)


def lamp():
    img = Image.new("RGBA", (8, 16), (0, 0, 0, 0))
    for frame, (core, glow) in enumerate((((70, 48, 28), (40, 30, 22)), (ACCENT, (255, 214, 150)))):
        big = Image.new("RGBA", (8 * S, 8 * S), (0, 0, 0, 0))
        d = ImageDraw.Draw(big)
        d.ellipse([0, 0, 8 * S - 1, 8 * S - 1], fill=(10, 10, 12, 255))
        d.ellipse([S, S, 7 * S - 1, 7 * S - 1], fill=core + (255,))
        d.ellipse([2 * S, 2 * S, 4 * S, 4 * S], fill=glow + (255,))
        img.paste(big.resize((8, 8), Image.LANCZOS), (0, 8 * frame))
    return img


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    background = Image.new("RGB", (W, 2 * H))
    background.paste(background_frame(False), (0, 0))
    background.paste(background_frame(True), (0, H))
    background.save(os.path.join(out, "background.png"), optimize=True)
    knob().save(os.path.join(out, "knob.png"), optimize=True)
    lamp().save(os.path.join(out, "lamp.png"), optimize=True)


if __name__ == "__main__":
    main()
