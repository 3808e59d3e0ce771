#!/usr/bin/python3
"""Draws the bundle's pictures into resources/images/.

The PNGs are committed, so the build never runs this; rerun it after changing a drawing.
Needs Debian's python3-cairo (hence the system interpreter in the first line).

Every picture is drawn twice from the same geometry, in points: name.png at one pixel a point
and name@2x.png at two, which a 2x screen loads in place of name.png. Sizes below are in points.

  headerLogo.png           90x28, a template glyph for the navigation bar: only its alpha
                           counts, the bar tints it
  footerLogo.png           24x24 round logo in the 30-point header above the support section
  makers/<devImage>.png    70x70 avatars for the makers page
  icon.png                 29x29 rounded square: the pane's row on the Settings top page
"""
import math
import os

import cairo

HERE = os.path.dirname(os.path.abspath(__file__))
IMAGES = os.path.join(HERE, "..", "resources", "images")

ACCENT_GREEN = (64 / 255, 210 / 255, 114 / 255)
SWITCH_GREEN = (0 / 255, 155 / 255, 119 / 255)

SCALES = (1, 2)

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


def canvas(width, height, scale):
    """A transparent surface of width x height points at `scale` pixels a point."""
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, width * scale, height * scale)
    cr = cairo.Context(surface)
    cr.scale(scale, scale)
    return surface, cr


def scaled_path(path, scale):
    """name.png at 1x, name@2x.png at 2x."""
    if scale == 1:
        return path
    stem, ext = os.path.splitext(path)
    return "%s@%dx%s" % (stem, scale, ext)


def header_logo(path, scale):
    w, h = 90, 28
    surface, cr = canvas(w, h, scale)
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


def footer_logo(path, scale):
    # The cell puts it at the top of its 30-point header; with the shadow's 2 points below it, a
    # 24-point logo leaves the section's top line below it clear.
    size = 24
    k = size / 80  # drawn at the proportions of the 80-point original
    surface, cr = canvas(size, size, scale)
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
    # At least one device pixel wide, so the ring shows at every scale.
    cr.set_line_width(max(1.5 * k, 0.75 / scale))
    cr.stroke()
    cr.set_source_rgba(1, 1, 1, 1)
    beamed_notes(cr, c - 11 * 1.6 * k, c - 12 * 1.6 * k, 1.6 * k)
    surface.write_to_png(path)


def avatar(path, scale, initials, top, bottom):
    size = 70
    surface, cr = canvas(size, size, scale)
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


def rounded_square(cr, x, y, size, radius):
    cr.new_sub_path()
    cr.arc(x + size - radius, y + radius, radius, -math.pi / 2, 0)
    cr.arc(x + size - radius, y + size - radius, radius, 0, math.pi / 2)
    cr.arc(x + radius, y + size - radius, radius, math.pi / 2, math.pi)
    cr.arc(x + radius, y + radius, radius, math.pi, 3 * math.pi / 2)
    cr.close_path()


def pane_icon(path, scale):
    """The Settings list's icon shape: a 29-point square with 6.5-point corners, a coloured
    ground and a white glyph."""
    size = 29
    surface, cr = canvas(size, size, scale)
    gradient = cairo.LinearGradient(0, 0, 0, size)
    gradient.add_color_stop_rgb(0, *ACCENT_GREEN)
    gradient.add_color_stop_rgb(1, *SWITCH_GREEN)
    rounded_square(cr, 0, 0, size, 6.5)
    cr.set_source(gradient)
    cr.fill()
    cr.set_source_rgba(1, 1, 1, 1)
    glyph = 0.8  # the 22x24 notes at 17.6x19.2, centred
    beamed_notes(cr, (size - 22 * glyph) / 2, (size - 24 * glyph) / 2, glyph)
    surface.write_to_png(path)


def main():
    os.makedirs(os.path.join(IMAGES, "makers"), exist_ok=True)
    for scale in SCALES:
        header_logo(scaled_path(os.path.join(IMAGES, "headerLogo.png"), scale), scale)
        footer_logo(scaled_path(os.path.join(IMAGES, "footerLogo.png"), scale), scale)
        pane_icon(scaled_path(os.path.join(IMAGES, "icon.png"), scale), scale)
        for name, initials, top, bottom in MAKERS:
            avatar(scaled_path(os.path.join(IMAGES, "makers", name + ".png"), scale), scale, initials, top, bottom)


if __name__ == "__main__":
    main()
