#!/usr/bin/python3
"""Draws the bundle's pictures into resources/images/.

The PNGs are committed, so the build never runs this; rerun it after changing a drawing.
Needs Debian's python3-cairo (hence the system interpreter in the first line).

  headerLogo.png           90x28, a template glyph for the navigation bar: only its alpha
                           counts, the bar tints it
  footerLogo.png           28x28 round logo, fitting the 30-point header above the support section
  makers/<devImage>.png    70x70 avatars for the makers page
"""
import math
import os

import cairo

HERE = os.path.dirname(os.path.abspath(__file__))
IMAGES = os.path.join(HERE, "..", "resources", "images")

ACCENT_GREEN = (64 / 255, 210 / 255, 114 / 255)
SWITCH_GREEN = (0 / 255, 155 / 255, 119 / 255)

# devImage base name, initials, gradient top colour, gradient bottom colour
MAKERS = [
    ("skyvane", "IM", (0.38, 0.72, 0.90), (0.13, 0.42, 0.70)),
    ("zoe", "ZM", (0.97, 0.56, 0.43), (0.84, 0.27, 0.33)),
    ("tquill", "TQ", (0.63, 0.51, 0.92), (0.36, 0.25, 0.68)),
]


def beamed_notes(cr, x, y, scale):
    """Two eighth notes joined by a beam, in a 22x24 box at (x, y) before scaling."""
    cr.save()
    cr.translate(x, y)
    cr.scale(scale, scale)
    for hx, hy in ((4.6, 19.6), (17.0, 17.0)):
        cr.save()
        cr.translate(hx, hy)
        cr.rotate(math.radians(-22))
        cr.scale(4.6, 3.4)
        cr.arc(0, 0, 1, 0, 2 * math.pi)
        cr.restore()
        cr.fill()
    # Stems rise from the right side of each head.
    cr.rectangle(7.6, 4.4, 1.9, 15.0)
    cr.rectangle(20.0, 1.8, 1.9, 15.0)
    cr.fill()
    # The beam, slanted like the heads.
    cr.move_to(7.6, 4.4)
    cr.line_to(21.9, 1.8)
    cr.line_to(21.9, 6.0)
    cr.line_to(7.6, 8.6)
    cr.close_path()
    cr.fill()
    cr.restore()


def rounded_bar(cr, cx, cy, width, height):
    r = width / 2
    top, bottom = cy - height / 2 + r, cy + height / 2 - r
    cr.arc(cx, top, r, math.pi, 0)
    cr.arc(cx, bottom, r, 0, math.pi)
    cr.close_path()


def header_logo(path):
    w, h = 90, 28
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    cr = cairo.Context(surface)
    cr.set_source_rgba(0, 0, 0, 1)
    beamed_notes(cr, 1, 2, 1.0)
    # A waveform fading out to the right: the music the controls play.
    heights = [10, 18, 24, 14, 20, 26, 16, 22, 12, 17, 9, 13, 6]
    x = 30.0
    for bar in heights:
        rounded_bar(cr, x, h / 2, 3.0, bar)
        cr.fill()
        x += 4.6
    surface.write_to_png(path)


def footer_logo(path):
    size = 28  # fits the 30-point header it stands in
    k = size / 80  # drawn at the proportions of the 80-point original
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, size, size)
    cr = cairo.Context(surface)
    c = size / 2
    gradient = cairo.LinearGradient(0, 0, size, size)
    gradient.add_color_stop_rgb(0, *ACCENT_GREEN)
    gradient.add_color_stop_rgb(1, *SWITCH_GREEN)
    cr.arc(c, c, c - 1, 0, 2 * math.pi)
    cr.set_source(gradient)
    cr.fill()
    # A faint inner ring gives the disc some depth without a drop shadow (the cell adds one).
    cr.arc(c, c, c - 5 * k, 0, 2 * math.pi)
    cr.set_source_rgba(1, 1, 1, 0.25)
    cr.set_line_width(max(1.5 * k, 0.75))
    cr.stroke()
    cr.set_source_rgba(1, 1, 1, 1)
    beamed_notes(cr, c - 11 * 1.6 * k, c - 12 * 1.6 * k, 1.6 * k)
    surface.write_to_png(path)


def avatar(path, initials, top, bottom):
    size = 70
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, size, size)
    cr = cairo.Context(surface)
    c = size / 2
    gradient = cairo.LinearGradient(0, 0, 0, size)
    gradient.add_color_stop_rgb(0, *top)
    gradient.add_color_stop_rgb(1, *bottom)
    cr.arc(c, c, c - 0.5, 0, 2 * math.pi)
    cr.set_source(gradient)
    cr.fill()
    cr.select_font_face("DejaVu Sans", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    cr.set_font_size(26)
    ext = cr.text_extents(initials)
    cr.move_to(c - ext.width / 2 - ext.x_bearing, c - ext.height / 2 - ext.y_bearing)
    cr.set_source_rgba(1, 1, 1, 0.95)
    cr.show_text(initials)
    surface.write_to_png(path)


def main():
    os.makedirs(os.path.join(IMAGES, "makers"), exist_ok=True)
    header_logo(os.path.join(IMAGES, "headerLogo.png"))
    footer_logo(os.path.join(IMAGES, "footerLogo.png"))
    for name, initials, top, bottom in MAKERS:
        avatar(os.path.join(IMAGES, "makers", name + ".png"), initials, top, bottom)


if __name__ == "__main__":
    main()
