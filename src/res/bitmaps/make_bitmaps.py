#!/usr/bin/python3
"""Draws the bitmaps and the program icon of Mirven电脑助手.

Usage: make_bitmaps.py OUTDIR

Writes OUTDIR/NNN.bmp for every bitmap resource (100 %), the same pictures
drawn at the larger scales of VARIANT_DPIS as OUTDIR/pSSS/NNN.png (resource type "PNGSSS",
same id, decoded by the program at run time), OUTDIR/mirven.ico (icon 128)
and OUTDIR/bitmaps.rc, which the main resource script includes. The
output depends on nothing but this folder and the two fonts, so builds are
reproducible. After writing, every file is read back and checked; any
mismatch ends the script with a non-zero status.
"""

import io
import math
import os
import struct
import sys

sys.dont_write_bytecode = True  # keep the source tree clean during builds
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

try:
    from PIL import Image
except ImportError:
    sys.exit("make_bitmaps: Python Imaging Library missing "
             "(install the Debian package python3-pil)")

import gfx  # noqa: E402
import glyphs  # noqa: E402
from gfx import PAGE, WHITE, Layer, draw_text, font, mix, rgba  # noqa: E402

INK = rgba(WHITE)
SHADOW = ((6, 50, 96), 0.45)

# ---------------------------------------------------------------- palette

def clamp(t):
    return min(1.0, max(0.0, t))


def caption_row(y):
    """Caption bar, 26 design rows; every caption piece uses exactly these
    rows. `y` is a design coordinate (gfx.row_centre)."""
    if y < 0.5:
        return (38, 126, 196)
    return mix((15, 90, 156), (19, 106, 180), clamp((y - 1) / 24.0))


def strip_row(y):
    """Page-button strip, 74 design rows; strip pieces and page buttons
    share them."""
    if y >= 72.5:
        return (10, 74, 128)
    return mix((28, 132, 212), (18, 110, 186), clamp(y / 72.0))


FACE_NORMAL = ((48, 162, 238), (22, 128, 212))
FACE_HOVER = ((92, 190, 250), (50, 160, 238))
TILE_NORMAL = ((46, 152, 228), (24, 122, 204))
TILE_HOVER = ((96, 190, 250), (56, 160, 238))
EDGE = (15, 96, 168)
EDGE_DARK = (8, 60, 110)
EDGE_INNER = (18, 110, 188)

# ---------------------------------------------------------------- pieces

def caption_piece(w):
    return gfx.vertical_gradient(w, 26, caption_row)


def strip_piece(w):
    return gfx.vertical_gradient(w, 74, strip_row)


def strip_end():
    """Right end of the page-button strip: a quiet brand mark."""
    img = strip_piece(100)
    layer = Layer(100, 74)
    p = layer.pen(0, 0, 100)
    for r, a in ((58, 0.06), (44, 0.07), (30, 0.08)):
        p.circle((96, 62), r, outline=rgba(WHITE, a), width=5)
    layer.onto(img)
    mark = Layer(100, 74)
    glyphs.shield_tick(mark.pen(39, 12, 22), rgba(WHITE, 0.85),
                       rgba(strip_row(20)))
    mark.onto(img)
    draw_text(img, "Mirven", 50, 40, font("latin-bold", 12), (220, 238, 252))
    draw_text(img, "电脑助手", 50, 55, font("cjk", 10), (190, 222, 246))
    return img


def page_button(glyph, caption, lit, angle=0.0):
    img = strip_piece(74)
    if lit:
        panel = Layer(74, 74)
        panel.rrect((3, 3, 71, 71), 10, fill=rgba(WHITE, 0.20),
                    outline=rgba(WHITE, 0.50), width=1)
        panel.onto(img)
    art = Layer(74, 74)
    glyph(art.pen(19, 6, 36, angle), INK)
    art.onto(img)
    draw_text(img, caption, 37, 50, font("cjk", 13), WHITE, bold=True,
              shadow=SHADOW)
    return img


def caption_button(kind, hover):
    img = caption_piece(26)
    layer = Layer(26, 26)
    if hover:
        fill = rgba((226, 64, 56)) if kind == "close" else rgba(WHITE, 0.22)
        layer.rrect((2, 2, 24, 24), 4, fill=fill)
    p = layer.pen(0, 0, 100)  # design units are pixels here
    if kind == "menu":
        for y in (9, 13, 17):
            p.line([(8, y), (18, y)], INK, 1.8)
    elif kind == "minimise":
        p.line([(8, 16), (18, 16)], INK, 2.0)
    else:
        p.line([(8.5, 8.5), (17.5, 17.5)], INK, 1.9)
        p.line([(17.5, 8.5), (8.5, 17.5)], INK, 1.9)
    layer.onto(img)
    return img


def caption_icon():
    img = caption_piece(26)
    layer = Layer(26, 26)
    glyphs.shield_tick(layer.pen(4, 4, 18), INK, rgba(caption_row(13)))
    layer.onto(img)
    return img


def frame_edge_vertical(left):
    cols = [EDGE_DARK, EDGE, EDGE_INNER]
    if not left:
        cols.reverse()
    return gfx.bands(gfx.new_image(3, 433), cols, vertical=True)


def frame_edge_bottom():
    return gfx.bands(gfx.new_image(775, 3), [EDGE_INNER, EDGE, EDGE_DARK], vertical=False)


def face(w, h, r, colours):
    """Face of a picture button: everything outside the rounded shape is
    the page colour, which the button draws as transparent."""
    img = gfx.new_image(w, h, PAGE)
    box = (0, 0, gfx.edge(w), gfx.edge(h))
    body = Layer(w, h)
    body.rrect_gradient(box, r, colours[0], colours[1])
    body.onto(img)
    # Translucent parts go on layers of their own: a layer stores what is
    # drawn on it, it does not blend.
    gloss = Layer(w, h)
    gloss.rrect_gradient((1, 1, gfx.edge(w) - 1, h * 0.48), r - 1,
                         rgba(WHITE, 0.14), rgba(WHITE, 0.03))
    gloss.onto(img)
    rim = Layer(w, h)
    rim.rrect(box, r, outline=rgba(mix(colours[0], WHITE, 0.4), 0.9), width=1)
    rim.onto(img)
    return img


def usage_dial():
    """Round backdrop of the memory usage percent (the button draws the
    figure itself, slightly left of centre)."""
    s = 150
    img = gfx.new_image(s, s, PAGE)
    layer = Layer(s, s)
    p = layer.pen(0, 0, 100)
    p.circle((75, 75), 74, fill=rgba((20, 108, 180)))
    p.circle((75, 75), 64, outline=rgba((40, 136, 208)), width=9)
    p.arc((75, 75), 64, 135, 405, rgba((92, 196, 252)), 9)
    p.circle((75, 75), 55, fill=rgba((16, 98, 166)))
    layer.onto(img)
    draw_text(img, "内存使用率", 75, 110, font("cjk", 12), (170, 214, 246))
    return img


def divider():
    line = (58, 138, 204)
    return gfx.vertical_gradient(
        1, 420, lambda y: mix(PAGE, line, clamp(min(y, 419 - y) / 80.0)))


def separator():
    img = gfx.new_image(781, 5)
    line = (66, 150, 214)
    for x in range(img.width):
        xc = gfx.row_centre(x)
        t = 1.0 if xc < 420 else max(0.0, 1.0 - (xc - 420) / 361.0)
        img.paste(mix(PAGE, line, t), (x, 0, x + 1, img.height))
    return img


def busy_frame(k):
    """Frame k (0..8) of the spinner shown while a scan runs."""
    img = gfx.new_image(24, 24, PAGE)
    layer = Layer(24, 24)
    p = layer.pen(0, 0, 100)
    for i in range(9):
        age = (k - i) % 9
        a = math.radians(i * 40)
        x, y = 12 + 8.2 * math.sin(a), 12 - 8.2 * math.cos(a)
        alpha = max(0.18, 1.0 - age * 0.16)
        p.circle((x, y), 2.3 if age else 2.7, fill=rgba(WHITE, alpha))
    layer.onto(img)
    return img


def checkup_icon(sweep):
    """The check-up badge; `sweep` is the animation step 0..17 or None for
    the resting picture."""
    s = 90
    img = gfx.new_image(s, s, PAGE)
    layer = Layer(s, s)
    p = layer.pen(0, 0, 100)
    p.circle((45, 45), 43, fill=rgba((20, 110, 184)))
    p.circle((45, 45), 38, outline=rgba((38, 134, 206)), width=4)
    layer.onto(img)
    layer = Layer(s, s)
    p = layer.pen(0, 0, 100)
    if sweep is None:
        p.arc((45, 45), 38, 0, 360, rgba((92, 190, 250), 0.55), 4)
    else:
        head = -90 + sweep * 20
        for j in range(12):
            a0 = head - 120 + j * 10
            p.arc((45, 45), 38, a0, a0 + 11,
                  rgba((170, 228, 255), ((j + 1) / 12.0) ** 1.5), 5)
        a = math.radians(head)
        p.circle((45 + 38 * math.cos(a), 45 + 38 * math.sin(a)), 3.4, fill=INK)
    layer.onto(img)
    art = Layer(s, s)
    glyphs.monitor_tick(art.pen(25, 24, 40), INK, rgba((132, 226, 120)))
    art.onto(img)
    return img


def computer_badge():
    img = gfx.new_image(64, 64, PAGE)
    layer = Layer(64, 64)
    layer.pen(0, 0, 100).circle((32, 32), 31, fill=rgba((20, 110, 184)))
    layer.onto(img)
    art = Layer(64, 64)
    glyphs.computer(art.pen(13, 12, 38), INK, rgba((60, 160, 232)))
    art.onto(img)
    return img


def tool_tile(glyph, hover):
    img = gfx.new_image(64, 64, PAGE)
    layer = Layer(64, 64)
    colours = TILE_HOVER if hover else TILE_NORMAL
    e = gfx.edge(64)
    layer.rrect_gradient((0, 0, e, e), 13, colours[0], colours[1])
    layer.onto(img)
    if hover:
        layer = Layer(64, 64)
        layer.rrect((0.5, 0.5, e - 0.5, e - 0.5), 12.5, outline=rgba(WHITE, 0.85),
                    width=1.5)
    layer.onto(img)
    art = Layer(64, 64)
    glyph(art.pen(14, 14, 36), INK)
    art.onto(img)
    return img


def tax_glyph(p, c):
    glyphs.document(p, c)
    p.text((50, 60), "¥", 52, glyphs.CUT)


# Shopping sites in table order: name, id, normal, hover, name, address shown.
SHOPS = [
    ("TAOBAO", 1, 236, 237, "淘宝网", "taobao.com", (255, 88, 0)),
    ("JD", 2, 238, 239, "京东商城", "jd.com", (224, 30, 40)),
    ("TMALL", 3, 240, 241, "天猫", "tmall.com", (204, 0, 40)),
    ("AMAZON", 4, 242, 243, "亚马逊", "amazon.cn", (35, 47, 62)),
    ("SUNING", 5, 244, 245, "苏宁易购", "suning.com", (240, 140, 0)),
    ("DANGDANG", 6, 246, 247, "当当网", "dangdang.com", (220, 40, 60)),
    ("GOME", 7, 248, 249, "国美在线", "gome.com.cn", (200, 20, 30)),
    ("NEWEGG", 8, 277, 279, "新蛋网", "newegg.cn", (230, 110, 20)),
    ("VANCL", 9, 280, 281, "凡客诚品", "vancl.com", (150, 20, 30)),
    ("JU_TAOBAO", 101, 251, 252, "淘宝团购", "ju.taobao.com", (255, 88, 0)),
    ("LASHOU", 102, 253, 254, "拉手网", "lashou.com", (240, 100, 10)),
    ("MEITUAN", 103, 255, 256, "美团网", "meituan.com", (20, 170, 150)),
    ("WOWO", 104, 257, 258, "窝窝团", "55tuan.com", (226, 40, 110)),
    ("NUOMI", 105, 259, 260, "糯米网", "nuomi.com", (220, 30, 100)),
    ("DIANPING", 106, 261, 263, "点评团购", "t.dianping.com", (240, 90, 20)),
    ("TUAN58", 107, 264, 265, "58团购", "t.58.com", (246, 110, 0)),
    ("GAOPENG", 108, 282, 283, "高朋网", "gaopeng.com", (30, 120, 210)),
]


def shop_tile(name, address, accent, hover):
    w, h = 90, 60
    img = gfx.new_image(w, h, PAGE)
    layer = Layer(w, h)
    box = (0, 0, gfx.edge(w), gfx.edge(h))
    if hover:
        layer.rrect(box, 8, fill=rgba((228, 242, 255)),
                    outline=rgba((40, 156, 240)), width=2)
    else:
        layer.rrect(box, 8, fill=rgba(WHITE))
    layer.onto(img)
    size = 17 if len(name) <= 3 else 15
    draw_text(img, name, 45, 14, font("cjk", size), accent, bold=True)
    if hover:
        draw_text(img, "点击访问", 45, 38, font("cjk", 10), (24, 120, 210))
    else:
        draw_text(img, address, 45, 38, font("latin", 9), (118, 128, 142))
    return img


# ---------------------------------------------------------------- the icon

def app_icon(size):
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    layer = Layer(size, size)
    inset = 0.0 if size <= 16 else size / 32.0
    layer.rrect_gradient((inset, inset, size - inset - 0.25, size - inset - 0.25),
                         size * 0.22, (56, 168, 240), (14, 90, 164))
    m = size * 0.17
    glyphs.shield_tick(layer.pen(m, m, size - 2 * m), INK, rgba((20, 120, 200)))
    img.alpha_composite(layer.flatten())
    return img


def png_bytes(im):
    out = io.BytesIO()
    im.save(out, "PNG", optimize=True)
    return out.getvalue()


def write_ico(path, images):
    """Icon file with 32-bit BMP entries (alpha plus AND mask), which every
    Windows version since XP and Wine load; the 256-pixel frame is stored
    as PNG, which Windows Vista and later read (XP never asks for it)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for im in images:
        w, h = im.size
        if w >= 256:
            blob = png_bytes(im)
            entries.append(struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(blob), offset))
            blobs.append(blob)
            offset += len(blob)
            continue
        header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
        px = im.tobytes("raw", "BGRA", 0, -1)  # bottom-up rows
        mask_stride = ((w + 31) // 32) * 4
        mask = bytearray()
        alpha = im.getchannel("A")
        for y in range(h - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(w):
                if alpha.getpixel((x, y)) == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        blob = header + px + bytes(mask)
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)))
        f.write(b"".join(entries))
        f.write(b"".join(blobs))


ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def read_ico_sizes(path):
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        return None
    sizes = []
    for i in range(count):
        w, h, _, _, _, bpp, length, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        if off + length > len(data):
            return None
        png = data[off:off + 8] == b"\x89PNG\r\n\x1a\n"
        sizes.append((w or 256, h or 256, bpp, png))
    return sizes


# ---------------------------------------------------------------- catalogue

def build():
    """Returns {name: (resource id, RGB image)}; the names become Bitmaps.h."""
    b = {}

    def put(name, rid, img):
        b[name] = (rid, img)

    # Main window header.
    put("CAPTION_LEFT", 204, caption_piece(100))
    put("CAPTION_MIDDLE", 205, caption_piece(100))
    put("CAPTION_RIGHT", 209, caption_piece(100))
    put("MENU", 266, caption_button("menu", False))
    put("MENU_HOVER", 267, caption_button("menu", True))
    put("MINIMIZE", 206, caption_button("minimise", False))
    put("MINIMIZE_HOVER", 207, caption_button("minimise", True))
    put("CLOSE", 201, caption_button("close", False))
    put("CLOSE_HOVER", 202, caption_button("close", True))
    put("STRIP", 228, strip_piece(781))
    put("STRIP_END", 232, strip_end())
    pages = [
        ("PAGE_CLEANUP", 226, 227, glyphs.broom, "系统清理", 0.0),
        ("PAGE_TOOLKIT", 229, 230, glyphs.toolbox, "工具助手", 0.0),
        ("PAGE_SHOPPING", 234, 235, glyphs.cart, "网购导航", 0.0),
        ("PAGE_CHECKUP", 295, 296, glyphs.monitor_tick, "电脑体检", 0.0),
        ("PAGE_MEMORY", 346, 348, glyphs.rocket, "优化加速", 40.0),
    ]
    for name, normal, lit, glyph, caption, angle in pages:
        put(name, normal, page_button(glyph, caption, False, angle))
        put(name + "_LIT", lit, page_button(glyph, caption, True, angle))

    # Frame of the skinned windows and of the pages.
    put("FRAME_ICON", 210, caption_icon())
    put("FRAME_LEFT", 203, frame_edge_vertical(left=True))
    put("FRAME_RIGHT", 208, frame_edge_vertical(left=False))
    put("FRAME_BOTTOM", 200, frame_edge_bottom())

    # Picture-button faces.
    put("FACE_SMALL", 211, face(88, 25, 5, FACE_NORMAL))
    put("FACE_SMALL_HOVER", 216, face(88, 25, 5, FACE_HOVER))
    put("FACE_BIG", 212, face(210, 95, 12, FACE_NORMAL))
    put("FACE_BIG_HOVER", 217, face(210, 95, 12, FACE_HOVER))
    put("FACE_SPEEDUP", 350, face(210, 95, 12, FACE_NORMAL))
    put("FACE_SPEEDUP_HOVER", 352, face(210, 95, 12, FACE_HOVER))
    put("USAGE_DIAL", 353, usage_dial())

    # Cleanup page spinner, check-up page, memory page.
    for k, rid in enumerate([192, 193, 194, 195, 196, 197, 292, 293, 294]):
        put("BUSY_%d" % (k + 1), rid, busy_frame(k))
    for k in range(18):
        put("CHECKUP_%d" % (k + 1), 315 + k, checkup_icon(k))
    put("CHECKUP_IDLE", 335, checkup_icon(None))
    put("COMPUTER_BADGE", 336, computer_badge())
    put("DIVIDER", 333, divider())

    # Toolkit page.
    put("SEPARATOR", 274, separator())
    tools = [
        ("SHUTDOWN", 271, 272, glyphs.power),
        ("ALARM", 284, 286, glyphs.alarm_clock),
        ("DEFRAG", 288, 289, glyphs.disk_blocks),
        ("TAX", 275, 276, tax_glyph),
        ("EMAIL", 290, 291, glyphs.envelope),
        ("CALCULATOR", 337, 338, glyphs.calculator),
        ("CLOCK", 339, 340, glyphs.clock),
    ]
    for name, normal, hover, glyph in tools:
        put("TOOL_" + name, normal, tool_tile(glyph, False))
        put("TOOL_%s_HOVER" % name, hover, tool_tile(glyph, True))

    # Shopping page.
    for site, _, normal, hover, name, address, accent in SHOPS:
        put("SHOP_" + site, normal, shop_tile(name, address, accent, False))
        put("SHOP_%s_HOVER" % site, hover, shop_tile(name, address, accent, True))
    return b


# ---------------------------------------------------------------- checks

# Faces drawn by the picture button with the page colour as transparent key.
KEYED_FACES = ("FACE_SMALL", "FACE_BIG", "FACE_SMALL_HOVER", "FACE_BIG_HOVER",
               "FACE_SPEEDUP", "FACE_SPEEDUP_HOVER", "USAGE_DIAL")


# Larger scales drawn besides 100 %, as DPI: the program takes the one for
# its DPI, or the next larger one scaled down once. 125 % and 175 % are left
# out to keep the setup program within 2 MB with room to grow (each scale adds
# 0.3 to 0.5 MB of PNG, which its compressor cannot shrink further); the
# program scales 150 % and 200 % down for them.
VARIANT_DPIS = (144, 192)


def variant_dir(dpi):
    return "p%d" % (dpi * 100 // gfx.DESIGN_DPI)


def read_pictures(outdir, expected, ids, dpi):
    """Re-reads one scale's written pictures: ({name: image}, problems)."""
    problems, images = [], {}
    gfx.set_scale(dpi)
    for name, size in sorted(expected.items()):
        rid = ids[name]
        if dpi == gfx.DESIGN_DPI:
            rel, kind = "%d.bmp" % rid, "BMP"
        else:
            rel, kind = "%s/%d.png" % (variant_dir(dpi), rid), "PNG"
        want = (gfx.dev(size[0]), gfx.dev(size[1]))
        try:
            with Image.open(os.path.join(outdir, rel)) as im:
                im.load()
                if im.format != kind or im.mode != "RGB":
                    problems.append("%s: %s %s, want 24-bit %s" % (rel, im.format, im.mode, kind))
                if im.size != want:
                    problems.append("%s: size %s, want %s" % (rel, im.size, want))
                images[name] = im.copy()
        except OSError as e:
            problems.append("%s: %s" % (rel, e))
    return images, problems


def check_pictures(images, label):
    """What the program relies on, at any scale."""
    problems = []

    def column(name, x=0):
        im = images[name]
        return [im.getpixel((x, y)) for y in range(im.height)]

    # Pieces stretched side by side must share their rows.
    for name in ("CAPTION_MIDDLE", "CAPTION_RIGHT", "CLOSE", "MINIMIZE", "MENU", "FRAME_ICON"):
        if column(name) != column("CAPTION_LEFT"):
            problems.append("%s %s: rows differ from the caption bar" % (label, name))
    for name in ("STRIP_END", "PAGE_CLEANUP", "PAGE_TOOLKIT", "PAGE_SHOPPING", "PAGE_CHECKUP",
                 "PAGE_MEMORY", "PAGE_CLEANUP_LIT", "PAGE_TOOLKIT_LIT", "PAGE_SHOPPING_LIT",
                 "PAGE_CHECKUP_LIT", "PAGE_MEMORY_LIT"):
        if column(name) != column("STRIP"):
            problems.append("%s %s: rows differ from the strip" % (label, name))
    if column("STRIP", images["STRIP"].width - 1) != column("STRIP"):
        problems.append("%s STRIP: not uniform across its width" % label)
    for name in KEYED_FACES:
        im = images[name]
        corners = [im.getpixel(p) for p in ((0, 0), (im.width - 1, 0),
                                            (0, im.height - 1),
                                            (im.width - 1, im.height - 1))]
        if any(c != PAGE for c in corners):
            problems.append("%s %s: corners are not the page colour" % (label, name))
    for normal, hover in (("FACE_SMALL", "FACE_SMALL_HOVER"), ("FACE_BIG", "FACE_BIG_HOVER"),
                          ("PAGE_CLEANUP", "PAGE_CLEANUP_LIT"), ("CLOSE", "CLOSE_HOVER")):
        if images[normal].tobytes() == images[hover].tobytes():
            problems.append("%s %s and %s are identical" % (label, normal, hover))
    return problems


def verify(outdir, expected, ids):
    """Re-reads the written files; returns a list of problems. `expected`
    maps names to 100 % sizes, `ids` names to resource ids, both as
    written."""
    problems = []
    for dpi in (gfx.DESIGN_DPI,) + VARIANT_DPIS:
        images, read = read_pictures(outdir, expected, ids, dpi)
        problems += read or check_pictures(images, "%d%%" % (dpi * 100 // gfx.DESIGN_DPI))
    gfx.set_scale(gfx.DESIGN_DPI)

    sizes = read_ico_sizes(os.path.join(outdir, "mirven.ico"))
    if sizes is None or sorted(s[:2] for s in sizes) != [(n, n) for n in ICON_SIZES] or \
            any(s[3] != (s[0] >= 256) for s in sizes):
        problems.append("mirven.ico: sizes %s, want %s (PNG from 256)" % (sizes, ICON_SIZES))
    header = read_header(os.path.join(outdir, "res", "Bitmaps.h"))
    if header != ids:
        problems.append("res/Bitmaps.h does not name every bitmap as written")
    return problems


def write_atomically(path, lines, encoding="ascii"):
    with open(path + ".tmp", "w", encoding=encoding) as f:
        f.writelines(lines)
    os.replace(path + ".tmp", path)


def read_header(path):
    """{name: id} from the written header, or None."""
    names = {}
    try:
        with open(path, encoding="ascii") as f:
            for line in f:
                parts = line.split()
                if len(parts) == 3 and parts[0] == "#define" and parts[1].startswith("IDB_"):
                    names[parts[1][4:]] = int(parts[2])
    except (OSError, ValueError):
        return None
    return names


def main(argv):
    if len(argv) != 2:
        sys.exit("usage: make_bitmaps.py OUTDIR")
    outdir = argv[1]
    os.makedirs(os.path.join(outdir, "res"), exist_ok=True)

    gfx.set_scale(gfx.DESIGN_DPI)
    bitmaps = build()
    expected, ids = {}, {}
    for name, (rid, img) in sorted(bitmaps.items(), key=lambda kv: kv[1][0]):
        if not 192 <= rid <= 353:
            sys.exit("make_bitmaps: bitmap id %d outside 192..353" % rid)
        if rid in ids.values():
            sys.exit("make_bitmaps: bitmap id %d given twice" % rid)
        img.convert("RGB").save(os.path.join(outdir, "%d.bmp" % rid), "BMP")
        expected[name] = img.size
        ids[name] = rid
    write_ico(os.path.join(outdir, "mirven.ico"), [app_icon(n) for n in ICON_SIZES])
    variants = []
    for dpi in VARIANT_DPIS:
        gfx.set_scale(dpi)
        folder = variant_dir(dpi)
        os.makedirs(os.path.join(outdir, folder), exist_ok=True)
        for name, (rid, img) in sorted(build().items(), key=lambda kv: kv[1][0]):
            with open(os.path.join(outdir, folder, "%d.png" % rid), "wb") as f:
                f.write(png_bytes(img.convert("RGB")))
            variants.append('%d PNG%s "%s/%d.png"\n' % (rid, folder[1:], folder, rid))
    gfx.set_scale(gfx.DESIGN_DPI)

    header = ["#pragma once\n",
              "// Written by make_bitmaps.py; edits are lost on the next build.\n"]
    header += ["#define IDB_%s %d\n" % (name, rid) for name, rid in ids.items()]
    write_atomically(os.path.join(outdir, "res", "Bitmaps.h"), header)

    lines = ["// Written by make_bitmaps.py; edits are lost on the next build.\n"]
    lines += ['%d BITMAP "%d.bmp"\n' % (rid, rid) for rid in ids.values()]
    lines += variants
    lines.append('128 ICON "mirven.ico"\n')
    rc_path = os.path.join(outdir, "bitmaps.rc")
    write_atomically(rc_path, lines)  # the build's stamp comes last

    problems = verify(outdir, expected, ids)
    if problems:
        os.remove(rc_path)
        for p in problems:
            print("make_bitmaps: " + p, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
