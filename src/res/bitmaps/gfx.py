"""Small drawing kit for the build-time bitmaps.

Shapes are drawn on a transparent layer at SS times the final size and
box-filtered down, which gives clean anti-aliased edges while leaving flat
areas (the page colour that picture buttons treat as transparent) exact.
Glyph coordinates are given in a 0..100 design box so one glyph can be
drawn at any size.

Every coordinate, size and font is given in design pixels (100 %). The
whole kit draws at the scale set with set_scale(): a picture of design
size w x h comes out dev(w) x dev(h) device pixels, drawn sharp at that
size rather than enlarged from the 100 % picture.
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFont

SS = 4

WINDOW_BG = (20, 120, 200)
PAGE = (14, 94, 157)
WHITE = (255, 255, 255)

FONT_CJK = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
FONT_LATIN_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
FONT_LATIN = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

_font_cache = {}

DESIGN_DPI = 96
DPI = DESIGN_DPI
K = 1.0  # device pixels per design pixel


def set_scale(dpi):
    global DPI, K
    DPI, K = dpi, dpi / float(DESIGN_DPI)


def dev(v):
    """Design to device pixels, rounded half up like the program's own
    rule, so a picture's size here is the size the program asks for."""
    return (int(v) * DPI + DESIGN_DPI // 2) // DESIGN_DPI


def row_centre(y):
    """The design coordinate at the centre of device row (or column) y."""
    return (y + 0.5) / K - 0.5


def edge(v):
    """The design coordinate of the last supersample inside a picture of
    design size v: shapes drawn up to it reach the device edge exactly."""
    return (dev(v) * SS - 1) / float(SS * K)


def new_image(w, h, colour=(0, 0, 0)):
    return Image.new("RGB", (dev(w), dev(h)), colour)


def _font_path(kind):
    if kind == "cjk":
        if not os.path.exists(FONT_CJK):
            sys.exit("make_bitmaps: font %s is missing "
                     "(install the Debian package fonts-wqy-zenhei)" % FONT_CJK)
        return FONT_CJK
    path = FONT_LATIN_BOLD if kind == "latin-bold" else FONT_LATIN
    # The Chinese font also carries Latin letters; DejaVu just looks better.
    return path if os.path.exists(path) else _font_path("cjk")


def font(kind, px):
    """The font at design size px, scaled."""
    px = max(1, int(round(px * K)))
    key = (kind, px)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(_font_path(kind), px)
    return _font_cache[key]


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def rgba(c, alpha=1.0):
    return (c[0], c[1], c[2], int(round(255 * alpha)))


def vertical_gradient(w, h, row_colour):
    """row_colour gets the design coordinate of each device row's centre."""
    img = new_image(w, h)
    d = ImageDraw.Draw(img)
    for y in range(img.height):
        d.line([(0, y), (img.width - 1, y)], fill=row_colour(row_centre(y)))
    return img


def bands(img, colours, vertical):
    """Fills img with one band per design pixel: columns when vertical,
    else rows."""
    for i, c in enumerate(colours):
        a, b = dev(i), dev(i + 1)
        img.paste(c, (a, 0, b, img.height) if vertical else (0, a, img.width, b))
    return img


class Layer:
    """A transparent, supersampled drawing surface for one picture."""

    def __init__(self, w, h):
        self.w, self.h = dev(w), dev(h)
        self.img = Image.new("RGBA", (self.w * SS, self.h * SS), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def pen(self, x, y, size, angle=0.0):
        return Pen(self, x, y, size, angle)

    def rrect(self, box, r, fill=None, outline=None, width=1.0):
        b = [v * SS * K for v in box]
        self.d.rounded_rectangle(b, radius=r * SS * K, fill=fill, outline=outline,
                                 width=int(round(width * SS * K)))

    def ellipse(self, box, fill=None, outline=None, width=1.0):
        b = [v * SS * K for v in box]
        self.d.ellipse(b, fill=fill, outline=outline,
                       width=int(round(width * SS * K)))

    def arc(self, box, start, end, colour, width):
        b = [v * SS * K for v in box]
        self.d.arc(b, start, end, fill=colour, width=int(round(width * SS * K)))

    def rrect_gradient(self, box, r, top, bottom):
        """Rounded rectangle filled with a vertical gradient (RGB or RGBA)."""
        x0, y0, x1, y1 = [int(round(v * SS * K)) for v in box]
        mask = Image.new("L", self.img.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle([x0, y0, x1, y1], radius=r * SS * K,
                                               fill=255)
        grad = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        gd = ImageDraw.Draw(grad)
        span = max(1, y1 - y0)
        top, bottom = rgba(top) if len(top) == 3 else top, \
            rgba(bottom) if len(bottom) == 3 else bottom
        for y in range(y0, y1 + 1):
            t = (y - y0) / span
            gd.line([(x0, y), (x1, y)],
                    fill=tuple(int(round(top[i] + (bottom[i] - top[i]) * t))
                               for i in range(4)))
        self.img.paste(grad, (0, 0), mask)

    def flatten(self):
        return self.img.resize((self.w, self.h), Image.BOX)

    def onto(self, base, x=0, y=0):
        """Composites the layer onto an RGB image at design (x, y)."""
        small = self.flatten()
        x, y = dev(x), dev(y)
        region = base.crop((x, y, x + self.w, y + self.h)).convert("RGBA")
        region.alpha_composite(small)
        base.paste(region.convert("RGB"), (x, y))


class Pen:
    """Draws glyph parts given in a 0..100 design box, optionally rotated
    about the box centre."""

    def __init__(self, layer, x, y, size, angle):
        self.l = layer
        self.x, self.y = x * SS * K, y * SS * K
        self.k = size * SS * K / 100.0
        a = math.radians(angle)
        self.cos, self.sin = math.cos(a), math.sin(a)

    def pt(self, p):
        u, v = p[0] - 50.0, p[1] - 50.0
        u, v = u * self.cos - v * self.sin, u * self.sin + v * self.cos
        return (self.x + (u + 50.0) * self.k, self.y + (v + 50.0) * self.k)

    def w(self, width):
        return max(1, int(round(width * self.k)))

    def line(self, pts, colour, width, round_caps=True):
        p = [self.pt(q) for q in pts]
        self.l.d.line(p, fill=colour, width=self.w(width), joint="curve")
        if round_caps:
            r = width * self.k / 2.0
            for c in (p[0], p[-1]):
                self.l.d.ellipse([c[0] - r, c[1] - r, c[0] + r, c[1] + r],
                                 fill=colour)

    def poly(self, pts, colour):
        self.l.d.polygon([self.pt(q) for q in pts], fill=colour)

    def circle(self, centre, radius, fill=None, outline=None, width=0):
        c = self.pt(centre)
        r = radius * self.k
        self.l.d.ellipse([c[0] - r, c[1] - r, c[0] + r, c[1] + r], fill=fill,
                         outline=outline, width=self.w(width) if outline else 0)

    def arc(self, centre, radius, start, end, colour, width):
        """Arc in degrees, 0 = east, clockwise (screen convention)."""
        c = self.pt(centre)
        r = radius * self.k
        rot = math.degrees(math.atan2(self.sin, self.cos))
        self.l.d.arc([c[0] - r, c[1] - r, c[0] + r, c[1] + r], start + rot,
                     end + rot, fill=colour, width=self.w(width))

    def text(self, centre, s, px, colour, kind="latin-bold"):
        f = font(kind, max(1, int(round(px * self.k))))
        c = self.pt(centre)
        self.l.d.text(c, s, font=f, fill=colour, anchor="mm")

    def rrect(self, box, r, fill=None, outline=None, width=0):
        """Axis-aligned rounded rectangle (rotation is not applied)."""
        a, b = self.pt((box[0], box[1])), self.pt((box[2], box[3]))
        self.l.d.rounded_rectangle([a[0], a[1], b[0], b[1]], radius=r * self.k,
                                   fill=fill, outline=outline,
                                   width=self.w(width) if outline else 0)


def text_size(text, f):
    box = f.getbbox(text)
    return box[2] - box[0], box[3] - box[1], box


def draw_text(base, text, cx, top, f, colour, bold=False, shadow=None):
    """Draws text centred on design cx with its ink top at design `top`;
    `f` comes from font(), already scaled.

    The Chinese font has no bold face, so bold text is drawn at SS times
    the size with a thin stroke and filtered down."""
    big = ImageFont.truetype(f.path, f.size * SS, index=getattr(f, "index", 0))
    tw, th, box = text_size(text, big)
    layer = Image.new("RGBA", (tw + 4 * SS, th + 4 * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    stroke = max(1, int(round(f.size * SS * 0.035))) if bold else 0
    d.text((2 * SS - box[0], 2 * SS - box[1]), text, font=big, fill=rgba(colour),
           stroke_width=stroke, stroke_fill=rgba(colour))
    w1 = (layer.width + SS - 1) // SS
    h1 = (layer.height + SS - 1) // SS
    padded = Image.new("RGBA", (w1 * SS, h1 * SS), (0, 0, 0, 0))
    padded.paste(layer, (0, 0))
    small = padded.resize((w1, h1), Image.BOX)
    x = int(round(cx * K - (tw / SS) / 2.0)) - 2
    y = int(round(top * K)) - 2
    if shadow is not None:
        sh = Image.new("RGBA", small.size, rgba(shadow[0], 0))
        sh.putalpha(small.getchannel("A").point(lambda a: int(a * shadow[1])))
        _paste_rgba(base, sh, x, y + dev(1))
    _paste_rgba(base, small, x, y)


def _paste_rgba(base, img, x, y):
    region = base.crop((x, y, x + img.width, y + img.height)).convert("RGBA")
    region.alpha_composite(img)
    base.paste(region.convert("RGB"), (x, y))
