"""Preview of the installer's pages and message box: backgrounds with the controls drawn at
their laid-out positions, the way the engine shows them (normal state), plus a strip of every
button in its normal, hover and pressed looks. For judging the images, not for the build."""
import os

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"


def text(img, box, s, px, colour, align="left", pad=(0, 0, 0, 0)):
    d = ImageDraw.Draw(img)
    f = ImageFont.truetype(FONT, px)
    l, t, r, b = box[0] + pad[0], box[1] + pad[1], box[2] - pad[2], box[3] - pad[3]
    w = d.textlength(s, font=f)
    x = l if align == "left" else (l + r - w) / 2
    d.text((x, (t + b) / 2), s, font=f, fill=colour, anchor="lm")


def put(img, imgs, name, xy, size=None):
    im = imgs[name]
    if size and im.size != size:
        im = nine(im, size)
    img.alpha_composite(im, xy)


def nine(im, size, lc=10, rc=10):
    w, h = size
    out = Image.new("RGBA", size)
    out.paste(im.crop((0, 0, lc, im.height)).resize((lc, h)), (0, 0))
    out.paste(im.crop((lc, 0, im.width - rc, im.height)).resize((max(w - lc - rc, 1), h)), (lc, 0))
    out.paste(im.crop((im.width - rc, 0, im.width, im.height)).resize((rc, h)), (w - rc, 0))
    return out


def top_bar(img, imgs):
    put(img, imgs, "Install_and_uninstall/icon_public_hide.png", (620, 11))
    put(img, imgs, "Install_and_uninstall/icon_public_close.png", (655, 11))


def write(skin, imgs, out):
    os.makedirs(out, exist_ok=True)
    IU, PK, PP = "Install_and_uninstall/", "pkg_enum3-kstv/", "vx_appended/popup/"
    WHITE = (255, 255, 255)
    # welcome
    p = imgs[PK + "table_bg_install_01.png"].copy()
    top_bar(p, imgs)
    put(p, imgs, IU + "btn_install.png", (246, 264))
    put(p, imgs, IU + "btn_select.png", (28, 378))
    text(p, (58, 372, 178, 401), "同意《用户协议》", 14, WHITE)
    text(p, (579, 370, 680, 402), "自定义安装>", 14, WHITE, "center")
    p.save(f"{out}/page0.png")
    # options
    p = imgs[IU + "table_bg_install_02.png"].copy()
    put(p, imgs, IU + "btn_return.png", (22, 10))
    text(p, (22, 10, 122, 34), "返回", 14, (0x77, 0x78, 0x79), pad=(23, 0, 0, 0))
    top_bar(p, imgs)
    put(p, imgs, IU + "btn_install.png", (246, 198))
    text(p, (50, 84, 123, 113), "安装路径", 16, WHITE)
    put(p, imgs, IU + "table_bg_Installation_path.png", (131, 78), (520, 40))
    text(p, (131, 78, 587, 118), r"C:\Program Files\Kestvane", 15, (0xEE, 0xEE, 0xEE), pad=(10, 0, 0, 0))
    put(p, imgs, IU + "btn_modify.png", (587, 82))
    text(p, (587, 82, 647, 114), "修改", 15, (0, 0, 0), "center")
    put(p, imgs, IU + "btn_select.png", (28, 378))
    text(p, (54, 372, 174, 401), "创建桌面快捷方式", 14, (0, 0, 0))
    p.save(f"{out}/page1.png")
    # progress at 62 %
    p = imgs[PK + "table_bg_install_03.png"].copy()
    top_bar(p, imgs)
    put(p, imgs, IU + "table_bg_progress_bar.png", (55, 342), (594, 14))
    put(p, imgs, IU + "table_progress_bar.png", (55, 342), (int(594 * 0.62), 14))
    text(p, (52, 367, 284, 388), "正在安装，请不要关闭 62%", 14, (0xEA, 0xEA, 0xEA), pad=(4, 0, 0, 0))
    p.save(f"{out}/page2.png")
    # complete
    p = imgs[PK + "table_bg_install_04.png"].copy()
    top_bar(p, imgs)
    put(p, imgs, IU + "btn_experience.png", (246, 202))
    p.save(f"{out}/page3.png")
    # message box over a dimmed page
    m = imgs[PP + "icon_bg_pop_up_prompt.png"].copy()
    put(m, imgs, "image15/icon_public_close.png", (1 + 184 + 184, 1 + 12))
    put(m, imgs, PP + "icon_pop_up_prompt.png", (30, 51))
    text(m, (66, 41, 407, 81), "确定关闭？", 19, WHITE, pad=(5, 3, 0, 0))
    d = ImageDraw.Draw(m)
    d.text((67, 83), "关闭后将中断安装流程", font=ImageFont.truetype(FONT, 14), fill=WHITE)
    put(m, imgs, PP + "btn_delete.png", (189, 144))
    text(m, (189, 144, 285, 180), "确定", 14, (0x80, 0x7F, 0x7F), "center", (0, 0, 0, 3))
    put(m, imgs, PP + "btn_cancel.png", (297, 144))
    text(m, (297, 144, 393, 180), "取消", 14, (0x1C, 0x1C, 0x1E), "center", (0, 0, 0, 3))
    base = imgs[PK + "table_bg_install_03.png"].copy()
    base.alpha_composite(Image.new("RGBA", base.size, (0, 0, 0, 0x8F)))
    base.alpha_composite(m, ((700 - 417) // 2, (420 - 212) // 2))
    base.save(f"{out}/msgbox.png")
    # every state, on both a dark and a light ground
    strip = Image.new("RGBA", (940, 330), (30, 34, 110, 255))
    ImageDraw.Draw(strip).rectangle((0, 250, 700, 330), fill=(247, 248, 253, 255))
    y = 8
    strip.alpha_composite(imgs[IU + "btn_install_disable.png"], (200, 170))
    for group in (["btn_install", "btn_experience"], ["icon_public_hide", "icon_public_close", "btn_modify", "btn_return"]):
        x = 8
        for name in group:
            for st in ("", "_hover", "_press"):
                im = imgs[f"{IU}{name}{st}.png"]
                strip.alpha_composite(im, (x, y))
                x += im.width + 8
        y += 56
    x = 8
    for name in ("btn_delete", "btn_cancel"):
        for st in ("", "_hover", "_press"):
            strip.alpha_composite(imgs[f"{PP}{name}{st}.png"], (x, y))
            x += 104
    y += 50
    x = 8
    for name in ("btn_unchecked", "btn_select"):
        strip.alpha_composite(imgs[f"{IU}{name}.png"], (x, y))
        strip.alpha_composite(imgs[f"{IU}{name}.png"], (x, 270))
        x += 30
    strip.alpha_composite(imgs[PP + "icon_pop_up_prompt.png"], (x, y))
    strip.save(f"{out}/states.png")
