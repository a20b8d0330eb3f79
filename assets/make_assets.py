#!/usr/bin/python3
"""Regenerates Dayvane's committed image assets.

Run from anywhere: /usr/bin/python3 assets/make_assets.py [--preview]
(--preview also writes preview-icon.png for eyeballing; do not commit it.)
Needs only Pillow (Debian python3-pil) and the standard library. Output is
byte-for-byte reproducible, so regenerating leaves git clean unless the
drawing code changed.
"""

import io
import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))

# Supersampling factor: PIL's primitives are aliased, so draw big and shrink.
SS = 4

ICON_SIZES = [(16, 16), (20, 20), (24, 24), (32, 32), (40, 40), (48, 48),
              (64, 64), (96, 96), (122, 117), (128, 128), (256, 256)]

BLACK = (22, 18, 18, 255)


# ---------------------------------------------------------------- icon ----

def _ellipse(draw, cx, cy, rx, ry, **kw):
    draw.ellipse([cx - rx, cy - ry, cx + rx, cy + ry], **kw)


def _blurred_ellipse_mask(size, cx, cy, rx, ry, blur):
    m = Image.new("L", size, 0)
    _ellipse(ImageDraw.Draw(m), cx, cy, rx, ry, fill=255)
    return m.filter(ImageFilter.GaussianBlur(blur)) if blur > 0 else m


def ladybird(w, h):
    """One icon frame; the design simplifies itself as the frame shrinks."""
    side = min(w, h)
    tiny = side <= 24
    small = side <= 32
    W, H = w * SS, h * SS
    u = side * SS  # unit length: the beetle is laid out in a unit square
    ox = (W - u) / 2.0
    oy = (H - u) / 2.0

    def P(x, y):
        return ox + x * u, oy + y * u

    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)

    # Outline must survive downscaling to ~1 px, hence the size-dependent floor.
    outline = max(u * 0.028, SS * (1.3 if small else 1.0))
    if small:
        cx, cy, rx, ry = *P(0.5, 0.585), 0.43 * u, 0.40 * u
        hx, hy, hrx, hry = *P(0.5, 0.16), 0.22 * u, 0.15 * u
    else:
        cx, cy, rx, ry = *P(0.5, 0.60), 0.39 * u, 0.37 * u
        hx, hy, hrx, hry = *P(0.5, 0.20), 0.16 * u, 0.12 * u

    leg_w = max(u * 0.03, SS * 1.0)
    if not tiny:
        # Legs first so the shell overlaps their roots.
        for side_sign in (-1, 1):
            for ang, ln in ((-35, 0.12), (0, 0.12), (35, 0.12)):
                a = math.radians(ang)
                sx = cx + side_sign * rx * 0.92 * math.cos(a)
                sy = cy + ry * 0.55 * math.sin(a) - 0.02 * u
                ex = sx + side_sign * ln * u * math.cos(a * 1.4)
                ey = sy + ln * u * math.sin(a * 1.4) + 0.02 * u
                d.line([(sx, sy), (ex, ey)], fill=BLACK, width=int(leg_w))

    # Antennae: knobbed so they read as antennae rather than whiskers.
    ant_w = max(u * 0.025, SS * (1.2 if small else 0.9))
    for s in (-1, 1):
        bx, by = hx + s * hrx * 0.45, hy - hry * 0.6
        mx, my = bx + s * 0.06 * u, by - 0.08 * u
        ex, ey = mx + s * 0.07 * u, my - 0.03 * u
        if small:
            mx, my = bx + s * 0.05 * u, by - 0.045 * u
            ex, ey = mx + s * 0.06 * u, my - 0.01 * u
        d.line([(bx, by), (mx, my), (ex, ey)], fill=BLACK, width=int(ant_w),
               joint="curve")
        if not tiny:
            _ellipse(d, ex, ey, ant_w * 0.9, ant_w * 0.9, fill=BLACK)

    _ellipse(d, hx, hy, hrx, hry, fill=BLACK)
    # Eyes sit in the upper half of the head, which stays visible above the shell.
    er = max(0.032 * u, SS * (1.1 if small else 0.8))
    for s in (-1, 1):
        _ellipse(d, hx + s * hrx * 0.5, hy - hry * 0.25, er, er,
                 fill=(250, 250, 250, 255))

    # Shell: black ring, then shaded red inside it.
    _ellipse(d, cx, cy, rx, ry, fill=BLACK)
    irx, iry = rx - outline, ry - outline
    shell_mask = _blurred_ellipse_mask((W, H), cx, cy, irx, iry, 0)
    red = Image.new("RGBA", (W, H), (206, 28, 30, 255))
    # Darker rim gives the dome its roundness.
    rim = Image.new("RGBA", (W, H), (140, 12, 16, 255))
    inner = _blurred_ellipse_mask((W, H), cx - 0.03 * u, cy - 0.04 * u,
                                  irx * 0.80, iry * 0.80, u * 0.07)
    red = Image.composite(red, rim, inner)
    hi = Image.new("RGBA", (W, H), (255, 120, 110, 255))
    hmask = _blurred_ellipse_mask((W, H), cx - irx * 0.42, cy - iry * 0.45,
                                  irx * 0.22, iry * 0.14, u * 0.035)
    if small:
        hmask = hmask.point(lambda v: v * 6 // 10)
    red = Image.composite(hi, red, hmask)

    spots = Image.new("L", (W, H), 0)
    sd = ImageDraw.Draw(spots)
    if small:
        spot_list = [(-0.20, -0.02, 0.085), (0.20, -0.02, 0.085),
                     (-0.17, 0.20, 0.075), (0.17, 0.20, 0.075)]
    else:
        spot_list = [(0.0, -0.20, 0.062),
                     (-0.205, -0.11, 0.064), (0.205, -0.11, 0.064),
                     (-0.265, 0.07, 0.058), (0.265, 0.07, 0.058),
                     (-0.14, 0.22, 0.062), (0.14, 0.22, 0.062)]
    for sx, sy, sr in spot_list:
        _ellipse(sd, cx + sx * u, cy + sy * u, sr * u, sr * u * 0.92, fill=255)
    mid_w = max(u * 0.022, SS * (1.2 if small else 0.9))
    sd.line([(cx, cy - ry), (cx, cy + ry)], fill=255, width=int(mid_w))
    if not small:
        # Pronotum: the black collar between head and wing cases.
        _ellipse(sd, hx, cy - ry, hrx * 1.4, 0.07 * u, fill=255)
    spots = ImageChops.multiply(spots, shell_mask)
    black = Image.new("RGBA", (W, H), BLACK)
    red = Image.composite(black, red, spots)

    img.paste(red, (0, 0), shell_mask)

    out = img.resize((w, h), Image.LANCZOS)
    # Zero the colour of fully transparent pixels so bytes don't depend on
    # whatever the resampler left behind.
    px = out.load()
    for y in range(h):
        for x in range(w):
            if px[x, y][3] == 0:
                px[x, y] = (0, 0, 0, 0)
    return out


def dib_entry(im):
    """32-bit BMP icon image: header, BGRA bottom-up, 1-bit AND mask."""
    w, h = im.size
    rgba = im.tobytes()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = rgba[y * w * 4:(y + 1) * w * 4]
        for x in range(w):
            r, g, b, a = row[x * 4:x * 4 + 4]
            xor += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray(mask_stride)
        for x in range(w):
            if rgba[(y * w + x) * 4 + 3] == 0:
                line[x >> 3] |= 0x80 >> (x & 7)
        andm += line
    hdr = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                      len(xor) + len(andm), 0, 0, 0, 0)
    return hdr + bytes(xor) + bytes(andm)


def png_entry(im):
    buf = io.BytesIO()
    im.save(buf, "PNG", optimize=True)
    return buf.getvalue()


def write_ico(path, images):
    blobs = []
    for im in images:
        w, h = im.size
        # From 40 px up a frame is stored PNG-compressed, as Windows reads
        # it; the small ones stay bitmaps for the oldest readers.
        blobs.append(png_entry(im) if max(w, h) >= 40 else dib_entry(im))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


# --------------------------------------------------------------- photo ----

def leaf_polygon(L, Wd, n=24):
    """Leaf outline along +x from the stalk (0,0) to the tip (L,0)."""
    top, bot = [], []
    for i in range(n + 1):
        t = i / n
        # Skewed sine: broadest a bit before the middle, pointed at the tip.
        half = Wd * math.sin(math.pi * t ** 0.85) * (1 - t) ** 0.15
        top.append((t * L, -half))
        bot.append((t * L, half))
    return top + bot[::-1]


def _rot(pts, ang, cx, cy):
    c, s = math.cos(ang), math.sin(ang)
    return [(cx + x * c - y * s, cy + x * s + y * c) for x, y in pts]


def _shade(col, f):
    return tuple(max(0, min(255, int(v * f))) for v in col[:3])


def draw_leaf(canvas, rng, cx, cy, L, Wd, ang, base):
    # Each leaf gets its own small layer so veins can be clipped to it.
    pad = int(max(L, Wd) + 4)
    size = (2 * pad, 2 * pad)
    local = Image.new("RGB", size, base)
    mask = Image.new("L", size, 0)
    poly = _rot(leaf_polygon(L, Wd), ang, pad, pad)
    ImageDraw.Draw(mask).polygon(poly, fill=255)
    ld = ImageDraw.Draw(local)
    # One half darker: reads as a leaf folded along its midrib under light.
    half = _rot([(0, 0), (L, 0), (L, Wd * 1.2), (0, Wd * 1.2)], ang, pad, pad)
    ld.polygon(half, fill=_shade(base, 0.78))
    # Soft sheen towards the tip.
    glow = Image.new("L", size, 0)
    gx, gy = _rot([(L * 0.55, -Wd * 0.35)], ang, pad, pad)[0]
    _ellipse(ImageDraw.Draw(glow), gx, gy, L * 0.30, Wd * 0.45, fill=110)
    glow = glow.filter(ImageFilter.GaussianBlur(Wd * 0.5))
    local = Image.composite(Image.new("RGB", size, _shade(base, 1.35)),
                            local, glow)
    ld = ImageDraw.Draw(local)
    vein = _shade(base, 1.45)
    vw = max(1, int(Wd * 0.07))
    a, b = _rot([(0, 0), (L * 0.97, 0)], ang, pad, pad)
    ld.line([a, b], fill=vein, width=vw)
    nveins = rng.randint(4, 7)
    for i in range(1, nveins + 1):
        t = i / (nveins + 1)
        x0 = t * L * 0.9
        for sgn in (-1, 1):
            p = _rot([(x0, 0), (x0 + L * 0.16, sgn * Wd * 0.85)], ang, pad, pad)
            ld.line(p, fill=_shade(base, 1.25), width=max(1, vw // 2))
    canvas.paste(local, (int(cx - pad), int(cy - pad)), mask)


def draw_flower(canvas, rng, cx, cy, R, tilt):
    n = rng.randint(8, 14)
    pad = int(R * 1.6)
    size = (2 * pad, 2 * pad)
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    start = rng.uniform(0, math.pi * 2)
    # Foreshorten along one axis: flowers seen at an angle look less clip-art.
    squash = 1.0 - tilt

    def tx(pts):
        out = []
        for x, y in pts:
            out.append((pad + x, pad + y * squash))
        return out

    order = list(range(n))
    rng.shuffle(order)
    for k in order:
        ang = start + 2 * math.pi * k / n + rng.uniform(-0.12, 0.12)
        L = R * rng.uniform(0.88, 1.05)
        pw = R * rng.uniform(0.17, 0.23) * (10.0 / n) ** 0.5
        gold = (rng.randint(235, 255), rng.randint(170, 205), rng.randint(0, 30))
        # Widest near the tip with a rounded end, like a real ray petal.
        petal = []
        for i in range(17):
            t = i / 16
            petal.append((R * 0.12 + t * (L - R * 0.12),
                          -pw * math.sin(math.pi * t ** 1.4) ** 0.6))
        for i in range(16, -1, -1):
            t = i / 16
            petal.append((R * 0.12 + t * (L - R * 0.12),
                          pw * math.sin(math.pi * t ** 1.4) ** 0.6))
        d.polygon(tx(_rot(petal, ang, 0, 0)), fill=gold + (255,),
                  outline=_shade(gold, 0.80) + (255,))
        light = (255, rng.randint(225, 245), rng.randint(60, 120), 255)
        inner = [(x * 0.92 + R * 0.06, y * 0.45) for x, y in petal]
        d.polygon(tx(_rot(inner, ang, 0, 0)), fill=light)
        crease = _rot([(R * 0.2, 0), (L * 0.85, 0)], ang, 0, 0)
        d.line(tx(crease), fill=_shade(gold, 0.85) + (255,),
               width=max(1, int(R * 0.025)))
    layer = layer.filter(ImageFilter.GaussianBlur(R * 0.012))
    d = ImageDraw.Draw(layer)
    # Petal bases are deeper orange where they crowd the centre.
    ring = Image.new("L", size, 0)
    _ellipse(ImageDraw.Draw(ring), pad, pad, R * 0.42, R * 0.42 * squash,
             fill=170)
    ring = ring.filter(ImageFilter.GaussianBlur(R * 0.10))
    ring = ImageChops.multiply(ring, layer.getchannel("A"))
    layer = Image.composite(Image.new("RGBA", size, (225, 120, 10, 255)),
                            layer, ring)
    d = ImageDraw.Draw(layer)
    cr = R * 0.26
    _ellipse(d, pad, pad, cr, cr * squash, fill=(120, 62, 16, 255))
    _ellipse(d, pad - cr * 0.15, pad - cr * 0.2 * squash, cr * 0.75,
             cr * 0.7 * squash, fill=(170, 92, 24, 255))
    for _ in range(int(cr * 1.2)):
        a = rng.uniform(0, 2 * math.pi)
        r = cr * math.sqrt(rng.uniform(0, 0.9))
        px, py = pad + r * math.cos(a), pad + r * math.sin(a) * squash
        c = rng.choice([(90, 45, 10), (200, 120, 30), (230, 160, 40)])
        _ellipse(d, px, py, cr * 0.06, cr * 0.06, fill=c + (255,))
    # Shadow beneath the flower, cast down-right.
    sh = layer.getchannel("A").filter(ImageFilter.GaussianBlur(R * 0.12))
    sh = sh.point(lambda v: v * 55 // 100)
    canvas.paste((0, 25, 0), (int(cx - pad + R * 0.10), int(cy - pad + R * 0.14)),
                 sh)
    canvas.paste(layer, (int(cx - pad), int(cy - pad)), layer)


def photo(w=400, h=300):
    """Drawn on an 800x600 canvas; stored at twice its 96-dpi size (200x150)."""
    rng = random.Random(20240611)
    W, H = 800, 600
    img = Image.new("RGB", (W, H), (18, 45, 14))

    # Three depth layers of leaves: far ones dark and blurred, near ones
    # sharp. Out-of-focus flowers join the far layer so they share its blur.
    layers = [
        (55, 0.55, 9.0, (40, 90, 30)),
        (40, 0.80, 3.5, (55, 120, 38)),
        (22, 1.00, 0.0, (70, 140, 45)),
    ]
    for n, (count, bright, blur, base) in enumerate(layers):
        layer = img.copy()
        for _ in range(count):
            L = rng.uniform(90, 200)
            Wd = L * rng.uniform(0.22, 0.34)
            jitter = (rng.uniform(0.75, 1.2), rng.uniform(0.85, 1.2),
                      rng.uniform(0.7, 1.1))
            col = tuple(int(c * bright * j) for c, j in zip(base, jitter))
            draw_leaf(layer, rng, rng.uniform(-60, W + 60),
                      rng.uniform(-60, H + 60), L, Wd,
                      rng.uniform(0, 2 * math.pi), col)
        if n == 0:
            for cx, cy, R in ((70, 70, 70), (760, 520, 80)):
                draw_flower(layer, rng, cx, cy, R, rng.uniform(0.0, 0.3))
        if blur:
            layer = layer.filter(ImageFilter.GaussianBlur(blur))
        img = layer

    spots = [(190, 180, 105), (430, 130, 95), (640, 230, 110),
             (300, 400, 115), (540, 450, 100), (130, 470, 80),
             (720, 90, 75)]
    for cx, cy, R in spots:
        draw_flower(img, rng, cx + rng.uniform(-15, 15),
                    cy + rng.uniform(-15, 15), R, rng.uniform(0.0, 0.35))

    # Vignette: lens falloff sells the photograph.
    vig = Image.new("L", (W, H), 0)
    _ellipse(ImageDraw.Draw(vig), W / 2, H / 2, W * 0.62, H * 0.66, fill=255)
    vig = vig.filter(ImageFilter.GaussianBlur(W * 0.08))
    img = Image.composite(img, Image.new("RGB", (W, H), (8, 20, 6)),
                          vig.point(lambda v: 120 + v * 135 // 255))
    out = img.resize((w, h), Image.LANCZOS)
    # Faint sensor grain; kept weak so the JPEG stays small.
    grain = Image.frombytes("L", (w, h), bytes(
        max(0, min(255, int(rng.gauss(128, 3)))) for _ in range(w * h)))
    return ImageChops.add(out, Image.merge("RGB", (grain,) * 3), 1, -128)


# --------------------------------------------------------- installer ----

def installer_side(w=164, h=314):
    """The installer's welcome and finish picture: a calendar leaf on green."""
    S = SS
    W, H = w * S, h * S
    img = Image.new("RGB", (W, H))
    d = ImageDraw.Draw(img)
    # Light at the top, deep leaf green below, like the photo's shade.
    top, bottom = (120, 178, 92), (22, 58, 18)
    for y in range(H):
        t = y / (H - 1)
        d.line([(0, y), (W, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))

    # The month page, tilted a little, with a soft shadow under it.
    pw, ph = W * 0.70, W * 0.74
    page = Image.new("RGBA", (int(pw), int(ph)), (0, 0, 0, 0))
    pd = ImageDraw.Draw(page)
    r = pw * 0.06
    pd.rounded_rectangle([0, 0, pw - 1, ph - 1], r, fill=(250, 248, 240, 255))
    pd.rounded_rectangle([0, 0, pw - 1, ph * 0.22], r, fill=(196, 30, 32, 255))
    pd.rectangle([0, ph * 0.12, pw - 1, ph * 0.22], fill=(196, 30, 32, 255))
    for ring in (0.3, 0.7):
        _ellipse(pd, pw * ring, ph * 0.05, pw * 0.035, pw * 0.035, fill=(90, 14, 16, 255))
    cell_w, cell_h = pw * 0.84 / 7, ph * 0.66 / 5
    for row in range(5):
        for col in range(7):
            if row * 7 + col < 3 or row * 7 + col > 32:
                continue
            x0, y0 = pw * 0.08 + col * cell_w, ph * 0.28 + row * cell_h
            today = (row, col) == (2, 4)
            pd.rectangle([x0 + S, y0 + S, x0 + cell_w - S, y0 + cell_h - S],
                         fill=(206, 28, 30, 255) if today else (214, 222, 206, 255))
    page = page.rotate(-8, resample=Image.BICUBIC, expand=True)
    px, py = int((W - page.width) / 2), int(H * 0.20)
    shadow = page.getchannel("A").filter(ImageFilter.GaussianBlur(S * 3)).point(lambda v: v * 45 // 100)
    img.paste((8, 24, 6), (px + S * 3, py + S * 5), shadow)
    img.paste(page, (px, py), page)

    # The ladybird of the icon, walking over the page's corner.
    bug = ladybird(48, 48).resize((48 * S, 48 * S), Image.LANCZOS).rotate(25, resample=Image.BICUBIC)
    img.paste(bug, (int(W * 0.56), int(py + page.height * 0.78)), bug)
    return img.resize((w, h), Image.LANCZOS)


# ---------------------------------------------------------------- main ----

def main():
    preview = "--preview" in sys.argv
    frames = [ladybird(w, h) for w, h in ICON_SIZES]
    write_ico(os.path.join(HERE, "dayvane.ico"), frames)

    # PNG here; scripts/package.sh turns it into the BMP that NSIS takes.
    installer_side().save(os.path.join(HERE, "installer-side.png"), "PNG", optimize=True)

    ph = photo()
    ph.save(os.path.join(HERE, "photo.jpg"), "JPEG", quality=85,
            optimize=True, progressive=False)

    if preview:
        show = [f for f in frames if f.size in ((256, 256), (122, 117),
                                                (32, 32), (16, 16))]
        show.sort(key=lambda f: -f.size[0])
        pw = sum(f.size[0] for f in show) + 10 * (len(show) + 1)
        sheet = Image.new("RGBA", (pw, 276), (255, 255, 255, 255))
        x = 10
        for f in show:
            sheet.paste(f, (x, 10), f)
            x += f.size[0] + 10
        sheet.convert("RGB").save(os.path.join(HERE, "preview-icon.png"))


if __name__ == "__main__":
    main()
