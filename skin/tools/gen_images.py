#!/usr/bin/python3
"""Draws every image of the installer's skin and the executable's icon.

    gen_images.py [--preview DIR]

Writes the PNGs into the skin folder (next to this tools/ folder) and resources/ostrel.ico.
With --preview, also writes one picture per page and one of the message box with the
controls drawn at their skin positions, to judge the whole. Needs Debian's python3-pil and
the WenQuanYi Micro Hei font. Shapes are drawn at 4x and downsampled for anti-aliasing.
"""
import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
SKIN = os.path.dirname(HERE)
REPO = os.path.dirname(SKIN)
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
SS = 4  # supersampling factor

# The look: deep blue to violet, with a bright sky-to-iris accent.
BG_STOPS = [(0.0, (12, 24, 86)), (0.55, (36, 34, 140)), (1.0, (88, 36, 160))]
ACCENT = [(0.0, (64, 170, 255)), (1.0, (124, 92, 255))]
ACCENT_HOT = [(0.0, (104, 192, 255)), (1.0, (150, 124, 255))]
ACCENT_DOWN = [(0.0, (44, 132, 222)), (1.0, (96, 66, 222))]
CORAL = [(0.0, (255, 122, 140)), (1.0, (255, 84, 120))]
WHITE = (255, 255, 255)


def font(size):
    return ImageFont.truetype(FONT, size, index=0)


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def stops_at(stops, t):
    t = min(max(t, 0.0), 1.0)
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return lerp(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 0)
    return stops[-1][1]


def gradient(w, h, stops, angle=0.0, dither=0):
    """RGBA image with a linear gradient; angle in degrees, 0 = left to right, 90 = top to bottom."""
    a = math.radians(angle)
    dx, dy = math.cos(a), math.sin(a)
    corners = [x * dx + y * dy for x in (0, w) for y in (0, h)]
    lo, hi = min(corners), max(corners)
    lut = [stops_at(stops, i / 1023) for i in range(1024)]
    rnd = random.Random(7)
    data = []
    for y in range(h):
        base = y * dy
        for x in range(w):
            t = (x * dx + base - lo) / (hi - lo)
            if dither:
                t += (rnd.random() - 0.5) * dither
            data.append(lut[min(max(int(t * 1023), 0), 1023)] + (255,))
    img = Image.new("RGBA", (w, h))
    img.putdata(data)
    return img


def rounded_mask(w, h, r, inset=0.0):
    """Anti-aliased 'L' mask of a rounded rectangle at final size."""
    m = Image.new("L", (w * SS, h * SS), 0)
    d = ImageDraw.Draw(m)
    i = inset * SS
    d.rounded_rectangle((i, i, w * SS - 1 - i, h * SS - 1 - i), radius=r * SS, fill=255)
    return m.resize((w, h), Image.LANCZOS)


def fill_mask(size, mask, fill):
    """RGBA layer: `fill` (colour tuple or RGBA image) shown through `mask`."""
    if isinstance(fill, tuple):
        layer = Image.new("RGBA", size, fill[:3] + (255,))
        alpha = fill[3] if len(fill) == 4 else 255
    else:
        layer, alpha = fill.copy(), 255
    a = ImageChops.multiply(layer.getchannel("A"), mask)
    if alpha != 255:
        a = a.point(lambda v: v * alpha // 255)
    layer.putalpha(a)
    return layer


def over(base, layer, xy=(0, 0)):
    base.alpha_composite(layer, xy)
    return base


def hi(w, h):
    """A transparent supersampled canvas and its drawer."""
    img = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    return img, ImageDraw.Draw(img)


def down(img):
    return img.resize((img.width // SS, img.height // SS), Image.LANCZOS)


def glow(size, centre, radius, colour, strength):
    """Soft round light, for depth in backgrounds."""
    w, h = size
    m = Image.new("L", (w // 4, h // 4), 0)
    d = ImageDraw.Draw(m)
    cx, cy, r = centre[0] / 4, centre[1] / 4, radius / 4
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=int(255 * strength))
    m = m.filter(ImageFilter.GaussianBlur(r * 0.6)).resize((w, h), Image.BICUBIC)
    return fill_mask(size, m, colour + (255,))


def text_layer(size, xy, text, px, fill, anchor="la", spacing=0, stroke=0):
    """Text drawn at 4x and downsampled; `spacing` adds pixels between characters."""
    w, h = size
    img, d = hi(w, h)
    f = font(px * SS)
    x, y = xy[0] * SS, xy[1] * SS
    if spacing:
        total = sum(d.textlength(c, font=f) for c in text) + spacing * SS * (len(text) - 1)
        if anchor[0] == "m":
            x -= total / 2
        for c in text:
            d.text((x, y), c, font=f, fill=fill, anchor="l" + anchor[1], stroke_width=stroke * SS // 2,
                   stroke_fill=fill)
            x += d.textlength(c, font=f) + spacing * SS
    else:
        d.text((x, y), text, font=f, fill=fill, anchor=anchor, stroke_width=stroke * SS // 2, stroke_fill=fill)
    return down(img)


# ---------------------------------------------------------------- brand mark

def logo_mark(px):
    """The product mark: an iris tile holding a white lens ring and a coral record dot.
    Small sizes get a thicker ring and a larger dot so that they stay legible."""
    s = px * SS
    small = px <= 24
    tile = gradient(min(px, 64), min(px, 64), ACCENT, 45).resize((s, s), Image.BICUBIC)
    m = Image.new("L", (s, s), 0)
    ImageDraw.Draw(m).rounded_rectangle((0, 0, s - 1, s - 1), radius=s * 0.27, fill=255)
    img = fill_mask((s, s), m, tile)
    # soft light from the top
    light = gradient(1, 64, [(0, (52, 52, 52)), (0.55, (0, 0, 0)), (1, (0, 0, 0))], 90)
    light = light.getchannel("R").resize((s, s), Image.BICUBIC)
    img = over(img, fill_mask((s, s), ImageChops.multiply(light, m), WHITE + (255,)))
    d = ImageDraw.Draw(img)
    c = s / 2
    r, wr = (s * 0.30, s * 0.11) if small else (s * 0.29, s * 0.075)
    d.ellipse((c - r, c - r, c + r, c + r), outline=WHITE + (255,), width=max(1, int(wr)))
    dot = s * (0.15 if small else 0.135)
    core = gradient(int(2 * dot) + 2, int(2 * dot) + 2, CORAL, 90)
    dm = Image.new("L", core.size, 0)
    ImageDraw.Draw(dm).ellipse((0, 0, 2 * dot, 2 * dot), fill=255)
    img.alpha_composite(fill_mask(core.size, dm, core), (int(c - dot), int(c - dot)))
    return down(img)


# ---------------------------------------------------------------- page backgrounds

W, H = 700, 420


def page_base(seed, glows):
    img = gradient(W, H, BG_STOPS, 28, dither=0.004)
    for centre, radius, colour, strength in glows:
        img = over(img, glow((W, H), centre, radius, colour, strength))
    # fine flowing lines for texture
    lines, d = hi(W, H)
    rnd = random.Random(seed)
    for k in range(7):
        amp, phase, y0 = rnd.uniform(18, 46), rnd.uniform(0, 6.28), rnd.uniform(230, 400)
        pts = [(x * SS, (y0 + amp * math.sin(x / 130 + phase + k * 0.35) - k * 9) * SS) for x in range(0, W + 10, 6)]
        d.line(pts, fill=WHITE + (int(10 + 3 * k),), width=SS)
    return over(img, down(lines))


def button_glow(img, top, colour=(90, 120, 255), strength=0.55):
    """A soft coloured light under a primary button (208 x 44 at x 246), lifting it off the page."""
    m = Image.new("L", (W // 2, H // 2), 0)
    ImageDraw.Draw(m).rounded_rectangle((128, (top + 14) // 2, 222, (top + 44) // 2), radius=12,
                                        fill=int(255 * strength))
    m = m.filter(ImageFilter.GaussianBlur(9)).resize((W, H), Image.BICUBIC)
    over(img, fill_mask((W, H), m, colour + (255,)))


def finish_page(img):
    """Round the window corners (6 pixels) to transparency."""
    img.putalpha(ImageChops.multiply(img.getchannel("A"), rounded_mask(W, H, 6)))
    return img


def brand_corner(img):
    over(img, logo_mark(20), (20, 17))
    over(img, text_layer((W, H), (48, 27), "Ostrel", 15, WHITE + (235,), anchor="lm"))


def footer_shade(img, top=352):
    shade = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    ImageDraw.Draw(shade).rectangle((0, top, W, H), fill=(6, 8, 40, 70))
    ImageDraw.Draw(shade).line((0, top, W, top), fill=WHITE + (26,))
    over(img, shade)


def page_welcome():
    img = page_base(1, [((120, 40), 260, (70, 150, 255), 0.45), ((640, 380), 300, (190, 80, 255), 0.5),
                        ((350, 170), 200, (120, 110, 255), 0.25)])
    brand_corner(img)
    mark, word = 66, 64
    wf = font(word)
    tw = ImageDraw.Draw(img).textlength("Ostrel", font=wf)
    x0 = int((W - (mark + 20 + tw)) / 2)
    # a halo behind the mark
    over(img, glow((W, H), (x0 + mark / 2, 150), 70, (140, 170, 255), 0.35))
    over(img, logo_mark(mark), (x0, 150 - mark // 2))
    over(img, text_layer((W, H), (x0 + mark + 20, 150), "Ostrel", word, WHITE + (255,), anchor="lm", stroke=2))
    over(img, text_layer((W, H), (W / 2, 218), "高清录屏 · 轻松剪辑 · 一键分享", 17, (226, 230, 255, 220),
                         anchor="mm", spacing=2))
    button_glow(img, 264)
    footer_shade(img)
    return finish_page(img)


def page_options():
    img = page_base(2, [((90, 30), 240, (70, 150, 255), 0.45), ((640, 60), 220, (170, 80, 255), 0.45)])
    body = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    bd = ImageDraw.Draw(body)
    # the light body rises in a gentle curve under the path row
    edge = [(x, 158 + 7 * math.cos((x - 350) / 700 * math.pi * 2)) for x in range(0, W + 1, 4)]
    mask, md = Image.new("L", (W * SS, H * SS), 0), None
    md = ImageDraw.Draw(mask)
    md.polygon([(x * SS, y * SS) for x, y in edge] + [(W * SS, H * SS), (0, H * SS)], fill=255)
    mask = mask.resize((W, H), Image.LANCZOS)
    light = gradient(W, H, [(0, (222, 225, 255)), (0.5, (247, 248, 253)), (1, (247, 248, 253))], 90)
    over(img, fill_mask((W, H), mask, light))
    bd.line((40, 352, W - 40, 352), fill=(220, 223, 238, 255), width=1)
    over(img, body)
    button_glow(img, 198, (120, 130, 255), 0.35)
    over(img, text_layer((W, H), (W / 2, 272), "安装即表示你已阅读并同意《用户协议》", 13, (150, 156, 184, 255),
                         anchor="mm"))
    over(img, text_layer((W, H), (131, 132), "Ostrel 及其组件将安装到此文件夹", 13, (220, 224, 255, 170), anchor="lm"))
    return finish_page(img)


def feature_icon(kind, px=40):
    img, d = hi(px, px)
    s = px * SS
    m = Image.new("L", (s, s), 0)
    ImageDraw.Draw(m).ellipse((0, 0, s - 1, s - 1), fill=255)
    img = fill_mask((s, s), m, gradient(s // 4, s // 4, ACCENT, 45).resize((s, s)))
    d = ImageDraw.Draw(img)
    wcol, lw = WHITE + (255,), int(2.2 * SS)
    c = s / 2
    if kind == "record":
        d.rounded_rectangle((c - 9 * SS, c - 6 * SS, c + 5 * SS, c + 6 * SS), radius=2 * SS, outline=wcol, width=lw)
        d.polygon([(c + 5 * SS, c - 1.5 * SS), (c + 10 * SS, c - 5 * SS), (c + 10 * SS, c + 5 * SS),
                   (c + 5 * SS, c + 1.5 * SS)], fill=wcol)
    elif kind == "edit":
        for sx in (-1, 1):
            d.ellipse((c + sx * 5 * SS - 3.5 * SS, c + 3 * SS, c + sx * 5 * SS + 3.5 * SS, c + 10 * SS),
                      outline=wcol, width=lw)
        d.line((c - 3 * SS, c + 4 * SS, c + 6 * SS, c - 9 * SS), fill=wcol, width=lw)
        d.line((c + 3 * SS, c + 4 * SS, c - 6 * SS, c - 9 * SS), fill=wcol, width=lw)
    else:  # share
        pts = [(c - 7 * SS, c), (c + 6 * SS, c - 7 * SS), (c + 6 * SS, c + 7 * SS)]
        d.line([pts[1], pts[0], pts[2]], fill=wcol, width=lw)
        for x, y in pts:
            d.ellipse((x - 3.2 * SS, y - 3.2 * SS, x + 3.2 * SS, y + 3.2 * SS), fill=wcol)
    return down(img)


def page_progress():
    img = page_base(3, [((600, 50), 260, (150, 90, 255), 0.45), ((80, 380), 260, (60, 140, 255), 0.45)])
    brand_corner(img)
    over(img, text_layer((W, H), (W / 2, 92), "正在为你安装 Ostrel", 22, WHITE + (255,), anchor="mm", spacing=1))
    cards = [("record", "高清录制", "4K 画质，流畅不掉帧"), ("edit", "智能剪辑", "剪切、拼接、加字幕"),
             ("share", "一键分享", "导出即可分享到各平台")]
    cw, ch, gap, top = 176, 150, 22, 138
    x = (W - (3 * cw + 2 * gap)) // 2
    for kind, title, sub in cards:
        card, d = hi(cw, ch)
        d.rounded_rectangle((0, 0, cw * SS - 1, ch * SS - 1), radius=14 * SS, fill=(255, 255, 255, 22),
                            outline=(255, 255, 255, 48), width=SS)
        card = down(card)
        over(card, feature_icon(kind), (cw // 2 - 20, 22))
        over(card, text_layer((cw, ch), (cw / 2, 92), title, 17, WHITE + (255,), anchor="mm"))
        over(card, text_layer((cw, ch), (cw / 2, 120), sub, 13, (214, 218, 255, 190), anchor="mm"))
        over(img, card, (x, top))
        x += cw + gap
    footer_shade(img, 326)
    return finish_page(img)


def success_badge(px):
    img, d = hi(px, px)
    s = px * SS
    m = Image.new("L", (s, s), 0)
    ImageDraw.Draw(m).ellipse((0, 0, s - 1, s - 1), fill=255)
    img = fill_mask((s, s), m, gradient(s // 4, s // 4, [(0, (64, 210, 190)), (1, (64, 170, 255))], 45).resize((s, s)))
    d = ImageDraw.Draw(img)
    pts = [(s * 0.29, s * 0.52), (s * 0.44, s * 0.66), (s * 0.72, s * 0.37)]
    d.line(pts, fill=WHITE + (255,), width=int(s * 0.085), joint="curve")
    for x, y in (pts[0], pts[2]):
        r = s * 0.0425
        d.ellipse((x - r, y - r, x + r, y + r), fill=WHITE + (255,))
    return down(img)


def page_complete():
    img = page_base(4, [((350, 110), 240, (90, 170, 255), 0.45), ((660, 400), 260, (180, 80, 255), 0.45),
                        ((40, 400), 200, (60, 120, 255), 0.35)])
    brand_corner(img)
    # rings and sparkles around the badge
    rings, d = hi(W, H)
    for r, a in ((60, 40), (80, 22), (102, 12)):
        d.ellipse(((350 - r) * SS, (104 - r) * SS, (350 + r) * SS, (104 + r) * SS), outline=WHITE + (a,), width=SS)
    rnd = random.Random(11)
    for _ in range(26):
        ang, dist = rnd.uniform(0, 6.28), rnd.uniform(70, 160)
        x, y = 350 + math.cos(ang) * dist * 1.6, 104 + math.sin(ang) * dist * 0.55
        r = rnd.uniform(1.0, 2.6)
        d.ellipse(((x - r) * SS, (y - r) * SS, (x + r) * SS, (y + r) * SS),
                  fill=rnd.choice([(120, 210, 255), (190, 160, 255), (255, 150, 180)]) + (rnd.randint(120, 220),))
    over(img, down(rings))
    button_glow(img, 202)
    over(img, success_badge(72), (350 - 36, 104 - 36))
    over(img, text_layer((W, H), (W / 2, 168), "安装完成", 24, WHITE + (255,), anchor="mm", spacing=3))
    over(img, text_layer((W, H), (W / 2, 276), "Ostrel 已准备就绪，开始你的第一次录制吧", 14,
                         (222, 226, 255, 190), anchor="mm"))
    return finish_page(img)


# ---------------------------------------------------------------- controls

def pill_button(w, h, stops, label=None, lift=0, sheen=60, border=60, text_alpha=255, shadow=True):
    s = SS
    fill = gradient(w, h, stops, 0).resize((w * s, h * s), Image.BICUBIC)
    m = Image.new("L", (w * s, h * s), 0)
    ImageDraw.Draw(m).rounded_rectangle((0, 0, w * s - 1, h * s - 1), radius=h * s / 2, fill=255)
    img = fill_mask(fill.size, m, fill)
    # a soft light falling from the top edge, and a fine light rim
    light = gradient(1, h, [(0, (sheen, sheen, sheen)), (0.6, (0, 0, 0)), (1, (0, 0, 0))], 90)
    light = light.getchannel("R").resize((w * s, h * s), Image.BICUBIC)
    img = over(img, fill_mask(img.size, ImageChops.multiply(light, m), WHITE + (255,)))
    ImageDraw.Draw(img).rounded_rectangle((s // 2, s // 2, w * s - 1 - s // 2, h * s - 1 - s // 2),
                                          radius=h * s / 2, outline=WHITE + (border,), width=s)
    img = down(img)
    if label:
        if shadow:
            over(img, text_layer((w, h), (w / 2, h / 2 + 1 + lift), label, 17, (20, 20, 90, 80), anchor="mm",
                                 spacing=3, stroke=1))
        over(img, text_layer((w, h), (w / 2, h / 2 + lift), label, 17, WHITE + (text_alpha,), anchor="mm",
                             spacing=3, stroke=1))
    return img


DISABLED = [(0.0, (122, 132, 178)), (1.0, (132, 120, 184))]


def primary_set(label, disabled=False):
    if disabled:
        return {"_disable": pill_button(208, 44, DISABLED, label, sheen=14, border=30, text_alpha=150,
                                        shadow=False)}
    return {"": pill_button(208, 44, ACCENT, label),
            "_hover": pill_button(208, 44, ACCENT_HOT, label, sheen=90, border=120),
            "_press": pill_button(208, 44, ACCENT_DOWN, label, lift=1, sheen=10, border=24, text_alpha=230)}


def glyph_button(kind, state, danger_hover=True):
    """24 x 24 window button: white glyph; hover and pressed add a round plate."""
    img, d = hi(24, 24)
    s = SS
    if state != "":
        if kind == "close" and danger_hover:
            plate = (232, 72, 92, 255) if state == "_hover" else (188, 48, 70, 255)
        else:
            plate = WHITE + ((52,) if state == "_hover" else (28,))
        d.ellipse((0, 0, 24 * s - 1, 24 * s - 1), fill=plate)
    a = 230 if state == "" else (255 if state == "_hover" else 215)
    col, lw = WHITE + (a,), int(1.6 * s)
    c = 12 * s
    if kind == "close":
        k = 4.2 * s
        d.line((c - k, c - k, c + k, c + k), fill=col, width=lw)
        d.line((c - k, c + k, c + k, c - k), fill=col, width=lw)
    else:
        d.line((c - 5 * s, c, c + 5 * s, c), fill=col, width=lw)
    return down(img)


def tick_box(ticked):
    img, d = hi(18, 18)
    s = SS
    if ticked:
        fill = gradient(18, 18, ACCENT, 45).resize((18 * s, 18 * s), Image.BICUBIC)
        m = Image.new("L", img.size, 0)
        ImageDraw.Draw(m).rounded_rectangle((s, s, 17 * s - 1, 17 * s - 1), radius=4 * s, fill=255)
        img = fill_mask(img.size, m, fill)
        d = ImageDraw.Draw(img)
        pts = [(4.8 * s, 9.2 * s), (7.7 * s, 12.0 * s), (13.2 * s, 6.2 * s)]
        d.line(pts, fill=WHITE + (255,), width=int(1.9 * s), joint="curve")
    else:
        d.rounded_rectangle((1.5 * s, 1.5 * s, 16.5 * s, 16.5 * s), radius=4 * s, fill=(255, 255, 255, 26),
                            outline=(156, 164, 206, 255), width=int(1.4 * s))
    return down(img)


def progress_track():
    img, d = hi(120, 14)
    d.rounded_rectangle((0, 0, 120 * SS - 1, 14 * SS - 1), radius=7 * SS, fill=(255, 255, 255, 34),
                        outline=(255, 255, 255, 30), width=SS)
    return down(img)


def progress_fill():
    s = SS
    fill = gradient(120, 14, [(0, (72, 200, 255)), (0.6, (104, 140, 255)), (1, (150, 100, 255))], 0)
    fill = fill.resize((120 * s, 14 * s), Image.BICUBIC)
    m = Image.new("L", fill.size, 0)
    ImageDraw.Draw(m).rounded_rectangle((0, 0, 120 * s - 1, 14 * s - 1), radius=7 * s, fill=255)
    img = fill_mask(fill.size, m, fill)
    sh = Image.new("L", img.size, 0)
    ImageDraw.Draw(sh).rounded_rectangle((3 * s, 1.5 * s, 117 * s, 6 * s), radius=3 * s, fill=70)
    img = over(img, fill_mask(img.size, ImageChops.multiply(sh, m), WHITE + (255,)))
    return down(img)


def path_box():
    img, d = hi(520, 40)
    d.rounded_rectangle((0, 0, 520 * SS - 1, 40 * SS - 1), radius=8 * SS, fill=(8, 12, 60, 110),
                        outline=(255, 255, 255, 70), width=SS)
    return down(img)


def modify_button(state):
    img, d = hi(60, 32)
    fill = {"": (255, 255, 255, 236), "_hover": (255, 255, 255, 255), "_press": (214, 219, 240, 255)}[state]
    ring = {"": (255, 255, 255, 0), "_hover": (120, 160, 255, 255), "_press": (150, 160, 210, 255)}[state]
    d.rounded_rectangle((SS, SS, 60 * SS - 1 - SS, 32 * SS - 1 - SS), radius=7 * SS, fill=fill, outline=ring,
                        width=int(1.2 * SS))
    return down(img)


def return_button(state):
    img, d = hi(100, 24)
    plate = {"": (255, 255, 255, 228), "_hover": (255, 255, 255, 255), "_press": (222, 226, 242, 255)}[state]
    arrow = {"": (119, 120, 121, 255), "_hover": (56, 155, 253, 255), "_press": (39, 108, 176, 255)}[state]
    d.rounded_rectangle((0, 0, 62 * SS, 24 * SS - 1), radius=12 * SS, fill=plate)
    s = SS
    d.line([(13.5 * s, 7.5 * s), (9.5 * s, 12 * s), (13.5 * s, 16.5 * s)], fill=arrow, width=int(1.8 * s),
           joint="curve")
    return down(img)


def slide_bar(state):
    img, d = hi(9, 40)
    a = {"": 70, "_hover": 110, "_press": 150}[state]
    d.rounded_rectangle((1 * SS, 0, 8 * SS - 1, 40 * SS - 1), radius=3.5 * SS, fill=WHITE + (a,))
    return down(img)


# ---------------------------------------------------------------- message box

def msgbox_background():
    w, h = 417, 212
    img = gradient(w, h, [(0, (26, 34, 108)), (1, (56, 30, 122))], 35, dither=0.004)
    img = over(img, glow((w, h), (40, 10), 150, (70, 140, 255), 0.35))
    img = over(img, glow((w, h), (400, 210), 160, (170, 80, 255), 0.3))
    rim, d = hi(w, h)
    d.rounded_rectangle((0, 0, w * SS - 1, h * SS - 1), radius=10 * SS, outline=(255, 255, 255, 40), width=SS)
    d.line((1 * SS, 40 * SS, (w - 1) * SS, 40 * SS), fill=(255, 255, 255, 20), width=SS)
    over(img, down(rim))
    over(img, logo_mark(16), (18, 13))
    over(img, text_layer((w, h), (42, 21), "Ostrel", 13, WHITE + (200,), anchor="lm"))
    img.putalpha(rounded_mask(w, h, 10))
    return img


def prompt_icon():
    img, d = hi(24, 24)
    s = SS
    fill = gradient(24, 24, [(0, (255, 196, 90)), (1, (255, 134, 72))], 60).resize((24 * s, 24 * s))
    m = Image.new("L", img.size, 0)
    ImageDraw.Draw(m).ellipse((s, s, 23 * s - 1, 23 * s - 1), fill=255)
    img = fill_mask(img.size, m, fill)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((10.9 * s, 5.6 * s, 13.1 * s, 14.4 * s), radius=1.1 * s, fill=WHITE + (255,))
    d.ellipse((10.7 * s, 15.9 * s, 13.3 * s, 18.5 * s), fill=WHITE + (255,))
    return down(img)


def popup_button(kind, state):
    w, h = 96, 36
    img, d = hi(w, h)
    r = h * SS / 2
    box = (SS // 2, SS // 2, w * SS - 1 - SS // 2, h * SS - 1 - SS // 2)
    if kind == "delete":
        if state == "":
            d.rounded_rectangle(box, radius=r, fill=(255, 255, 255, 16), outline=(255, 255, 255, 90), width=SS)
            return down(img)
        if state == "_hover":
            return pill_button(w, h, ACCENT_HOT, sheen=50, border=90)
        d.rounded_rectangle(box, radius=r, fill=(214, 208, 255, 255))
        return down(img)
    fill = {"": (255, 255, 255, 255), "_hover": (236, 238, 247, 255), "_press": (214, 217, 230, 255)}[state]
    d.rounded_rectangle(box, radius=r, fill=fill)
    return down(img)


# ---------------------------------------------------------------- icon

def write_icon(path):
    sizes = [16, 24, 32, 48, 64, 128, 256]
    frames = {px: logo_mark(px) for px in sizes}   # each size drawn for itself, not scaled
    big = frames[256]
    big.save(path, format="ICO", sizes=[(p, p) for p in sizes],
             append_images=[frames[p] for p in sizes if p != 256])


# ---------------------------------------------------------------- output

def images():
    IU, PK, PP, I15 = "Install_and_uninstall", "pkg_enum3-kstv", "vx_appended/popup", "image15"
    out = {
        f"{PK}/table_bg_install_01.png": page_welcome(),
        f"{IU}/table_bg_install_02.png": page_options(),
        f"{PK}/table_bg_install_03.png": page_progress(),
        f"{PK}/table_bg_install_04.png": page_complete(),
        f"{IU}/btn_unchecked.png": tick_box(False),
        f"{IU}/btn_select.png": tick_box(True),
        f"{IU}/table_bg_progress_bar.png": progress_track(),
        f"{IU}/table_progress_bar.png": progress_fill(),
        f"{IU}/table_bg_Installation_path.png": path_box(),
        f"{PP}/icon_bg_pop_up_prompt.png": msgbox_background(),
        f"{PP}/icon_pop_up_prompt.png": prompt_icon(),
    }
    for label, name in (("立即安装", "btn_install"), ("立即体验", "btn_experience")):
        for st, im in primary_set(label).items():
            out[f"{IU}/{name}{st}.png"] = im
    # the welcome page's install button is disabled while the agreement is unticked
    out[f"{IU}/btn_install_disable.png"] = primary_set("立即安装", disabled=True)["_disable"]
    for st in ("", "_hover", "_press"):
        out[f"{IU}/icon_public_hide{st}.png"] = glyph_button("hide", st)
        out[f"{IU}/icon_public_close{st}.png"] = glyph_button("close", st)
        out[f"{I15}/icon_public_close{st}.png"] = glyph_button("close", st)
        out[f"{IU}/btn_modify{st}.png"] = modify_button(st)
        out[f"{IU}/btn_return{st}.png"] = return_button(st)
        out[f"{I15}/table_slide_bar{st}.png"] = slide_bar(st)
        out[f"{PP}/btn_delete{st}.png"] = popup_button("delete", st)
        out[f"{PP}/btn_cancel{st}.png"] = popup_button("cancel", st)
    return out


def main():
    preview = None
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        preview = sys.argv[2]
    imgs = images()
    for rel, im in sorted(imgs.items()):
        path = os.path.join(SKIN, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        im.save(path, optimize=True)
    write_icon(os.path.join(REPO, "resources", "ostrel.ico"))
    if preview:
        import preview_pages
        preview_pages.write(SKIN, imgs, preview)


if __name__ == "__main__":
    main()
