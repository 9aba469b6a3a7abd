#!/usr/bin/env python3
"""Checks the installer's two skin files against the control tables the page code relies on,
and that every image they name is a member of the built skin archive.

    check_skins.py SKIN_DIR SKIN_ZIP

Every control of a skin must appear in the tables below (named controls by name, unnamed ones
by their path of child indices from the nearest named ancestor), and for the attributes in
TRACKED a control carries exactly the values of its row: a tracked attribute missing from a row
must be missing from the element too.
"""
import struct
import sys
import zipfile
import xml.etree.ElementTree as ET

# Image path abbreviations used in the tables.
ABBREV = {"IU\\": "Install_and_uninstall\\", "PP\\": "vx_appended\\popup\\", "I15\\": "image15\\"}

TRACKED = ("pos float width height padding inset bordersize text textpadding font align valign "
           "wordbreak endellipsis textcolor hottextcolor pushedtextcolor tooltip cursor visible "
           "selected virtualwnd normalimage hotimage pushedimage focusedimage bkimage foreimage "
           "selectedforeimage disabledimage min max value").split()

WIN_MIN = "cursor=hand; width=24; height=24; tooltip=最小化; padding=0,11,11,0; img=IU\\icon_public_hide; focusedimage=IU\\icon_public_hide.png"
WIN_CLOSE = "cursor=hand; width=24; height=24; tooltip=关闭; padding=0,11,21,0; img=IU\\icon_public_close; focusedimage=IU\\icon_public_close.png"
LINK = "font=3; textcolor=#00FFFFFF; hottextcolor=#00389BFD; pushedtextcolor=#002C7CCA"
TICK = "float=true; foreimage=IU\\btn_unchecked.png; selectedforeimage=IU\\btn_select.png; selected=true"
RETURN = "file='IU\\btn_return{}.png' corner='20,0,1,0'"
BAR = "width=700; height=54"

# (locator, class, attributes). "img=X" stands for normalimage X.png, hotimage X_hover.png,
# pushedimage X_press.png.
MAIN = [
    ("verRoot", "VerticalLayout", ""),
    ("tabInstall", "TabLayout", ""),
    ("verroot0", "VerticalLayout", "virtualwnd=install0; bkimage=安装01.png"),
    ("verroot0/0", "HorizontalLayout", BAR),
    ("verroot0/0/0", "Control", ""),
    ("minbtn", "Button", WIN_MIN),
    ("closebtn", "Button", WIN_CLOSE),
    ("installBtn", "Button", "float=true; pos=246,264,454,308; img=IU\\btn_install; "
     "disabledimage=IU\\btn_install_disable.png"),
    ("verroot0/2", "HorizontalLayout", "float=true; pos=0,352,700,420"),
    ("protocalOpt", "Option", TICK + "; pos=28,26,46,44"),
    ("vx_btn_protocal", "Button", "float=true; pos=58,20,178,49; text=同意《用户协议》; align=left; " + LINK),
    ("customBtn", "Button", "float=true; pos=579,18,680,50; text=自定义安装>; align=center; " + LINK),
    ("verroot1", "VerticalLayout", "virtualwnd=install1; bkimage=安装02.png; visible=false"),
    ("verroot1/0", "HorizontalLayout", BAR),
    ("gobackbtn", "Button", "width=100; height=24; padding=22,10,0,0; text=返回; textpadding=23,0,0,0; font=3; "
     "align=left; textcolor=#00777879; hottextcolor=#00389BFD; pushedtextcolor=#00276CB0; "
     f"normalimage={RETURN.format('')}; hotimage={RETURN.format('_hover')}; pushedimage={RETURN.format('_press')}"),
    ("verroot1/0/1", "Control", ""),
    ("minbtn1", "Button", WIN_MIN),
    ("closebtn1", "Button", WIN_CLOSE),
    ("installBtn1", "Button", "float=true; pos=246,198,454,242; normalimage=IU\\btn_install.png; "
     "hotimage=IU\\btn_install_hover.png; pushedimage=IU\\btn_install_hover.png"),
    ("verroot1/2", "HorizontalLayout", "width=700; height=80"),
    ("verroot1/2/0", "Label", "width=73; height=29; padding=50,30,0,0; text=安装路径; font=9; textcolor=#00FFFFFF"),
    ("verroot1/2/1", "HorizontalLayout", "width=520; height=40; padding=8,24,0,0; "
     "bkimage=file='IU\\table_bg_Installation_path.png' corner='10,0,10,0'"),
    ("pathLab", "Label", "height=40; textpadding=10,0,0,0; text=dddd; font=4; textcolor=#00EEEEEE; align=left"),
    ("modifyBtn", "Button", "width=60; height=32; padding=0,4,4,0; text=修改; font=4; img=IU\\btn_modify"),
    ("verroot1/3", "HorizontalLayout", "float=true; pos=0,352,700,420"),
    ("desktopShortCutOpt", "Option", TICK + "; pos=28,26,46,44"),
    ("verroot1/3/1", "Label", "float=true; pos=54,20,174,49; text=创建桌面快捷方式; font=3"),
    ("addtaskbarOpt", "Option", TICK + "; pos=238,26,256,44; visible=false"),
    ("verroot1/3/3", "Label", "float=true; pos=264,20,384,49; text=添加到快速启动栏; font=3; visible=false"),
    ("verroot2", "VerticalLayout", "virtualwnd=install2; bkimage=安装03.png; visible=false"),
    ("verroot2/0", "HorizontalLayout", BAR),
    ("verroot2/0/0", "Control", ""),
    ("minbtn2", "Button", WIN_MIN),
    ("closebtn2", "Button", WIN_CLOSE),
    ("installPrg", "Progress", "float=true; pos=55,342,649,356; "
     "bkimage=file='IU\\table_bg_progress_bar.png' corner='10,0,10,0'; "
     "foreimage=file='IU\\table_progress_bar.png' corner='10,0,10,0'; min=0; max=100; value=50"),
    ("installproglab", "Label", "float=true; pos=52,367,284,388; textpadding=4,0,0,0; "
     "text=正在安装，请不要关闭 40%; font=3; textcolor=#00EAEAEA; align=left"),
    ("verroot3", "VerticalLayout", "virtualwnd=install3; bkimage=安装04.png; visible=false"),
    ("verroot3/0", "HorizontalLayout", BAR),
    ("verroot3/0/0", "Control", ""),
    ("minbtn3", "Button", WIN_MIN),
    ("closebtn3", "Button", WIN_CLOSE),
    ("completeBtn", "Button", "float=true; pos=246,202,454,246; img=IU\\btn_experience"),
]

MSG = [
    ("/0", "VerticalLayout", "bordersize=1; inset=1,1,1,1; bkimage=PP\\icon_bg_pop_up_prompt.png"),
    ("background", "HorizontalLayout", "width=415; height=40"),
    ("vx_lab_caption", "Label", "width=184"),
    ("background/1", "Control", "width=184"),
    ("closebtn", "Button", "width=24; height=24; padding=0,12,23,0; tooltip=关闭; img=I15\\icon_public_close"),
    ("/0/1", "HorizontalLayout", ""),
    ("MessageBox_IconLayout", "HorizontalLayout", "width=60; height=170"),
    ("MessageBox_IconLayout/0", "Control", ""),
    ("vx_lab_ico", "Label", "width=24; height=24; padding=0,10,7,0; bkimage=PP\\icon_pop_up_prompt.png"),
    ("MessageBox_TextLayout", "VerticalLayout", ""),
    ("MessageBox_TextLayout/0", "VerticalLayout", "width=370; height=100"),
    ("vx_txt_title", "Text", "width=346; height=40; textpadding=5,3,0,0; text=确定删除吗？; font=12; "
     "textcolor=#00FFFFFF; align=left; valign=vcenter"),
    ("vx_txt_msg", "Text", "width=346; textpadding=6,2,0,0; text=本地文件也会同步删除; font=9; "
     "textcolor=#00FFFFFF; align=left; valign=top; wordbreak=true; endellipsis=true"),
    ("MessageBox_TextLayout/1", "HorizontalLayout", "height=70"),
    ("MessageBox_TextLayout/1/0", "Control", "height=60"),
    ("okBtn", "Button", "width=96; height=36; padding=0,3,12,0; textpadding=0,0,0,3; text=确定删除; font=10; "
     "textcolor=#00807F7F; hottextcolor=#00FFFFFF; pushedtextcolor=#00595858; img=PP\\btn_delete"),
    ("cancelBtn", "Button", "width=96; height=36; padding=0,3,23,0; textpadding=0,0,0,3; text=取消; font=10; "
     "textcolor=#001C1C1E; hottextcolor=#00606061; pushedtextcolor=#00131314; img=PP\\btn_cancel"),
]

# Window attributes and font tables: (id, face, size, bold).
YH, AR, AN = "微软雅黑", "Arial", "Arial Narrow"
SKINS = {
    "VXMainFrame.xml": dict(
        window={"size": "700,420", "caption": "0,0,0,50", "roundcorner": "6,6", "bktrans": "true"},
        fonts=[(0, YH, 11, 0), (1, YH, 12, 0), (2, YH, 13, 0), (3, YH, 14, 0), (4, YH, 15, 0),
               (5, AR, 35, 1), (6, AR, 37, 1), (7, AR, 39, 1), (8, AN, 50, 0), (9, YH, 16, 1)],
        rows=MAIN, raw=['text="自定义安装&gt;"']),
    "VXMsgBox.xml": dict(
        window={"size": "417,212", "caption": "0,0,0,126"},
        fonts=[(0, YH, 8, 0), (1, YH, 9, 0), (2, YH, 10, 0), (3, YH, 11, 0), (4, YH, 12, 0),
               (5, AR, 32, 1), (6, AR, 34, 1), (7, AR, 36, 1), (8, AN, 47, 0), (9, YH, 14, 0),
               (10, YH, 14, 1), (11, YH, 16, 0), (12, YH, 19, 1), (13, YH, 20, 0), (14, YH, 22, 0)],
        rows=MSG),
}

# Names in the skins that deliberately match no member: code replaces the page backgrounds,
# and the horizontal scroll-bar default is never used by a control.
UNRESOLVED_OK = {"安装01.png", "安装02.png", "安装03.png", "安装04.png", "scrollbar.bmp"}

# Members code names directly.
CODE_MEMBERS = ["VXMainFrame.xml", "VXMsgBox.xml",
                "pkg_enum3-kstv/table_bg_install_01.png", "Install_and_uninstall/table_bg_install_02.png",
                "pkg_enum3-kstv/table_bg_install_03.png", "pkg_enum3-kstv/table_bg_install_04.png"]

# Pixel sizes of images that are drawn 1:1 over their control.
IMAGE_SIZES = {
    "pkg_enum3-kstv/table_bg_install_01.png": (700, 420),
    "Install_and_uninstall/table_bg_install_02.png": (700, 420),
    "pkg_enum3-kstv/table_bg_install_03.png": (700, 420),
    "pkg_enum3-kstv/table_bg_install_04.png": (700, 420),
    "Install_and_uninstall/btn_install{}.png": (208, 44),
    "Install_and_uninstall/btn_install_disable.png": (208, 44),
    "Install_and_uninstall/btn_experience{}.png": (208, 44),
    "Install_and_uninstall/icon_public_hide{}.png": (24, 24),
    "Install_and_uninstall/icon_public_close{}.png": (24, 24),
    "image15/icon_public_close{}.png": (24, 24),
    "Install_and_uninstall/btn_select.png": (18, 18),
    "Install_and_uninstall/btn_unchecked.png": (18, 18),
    "Install_and_uninstall/btn_modify{}.png": (60, 32),
    "Install_and_uninstall/btn_return{}.png": (100, 24),
    "vx_appended/popup/icon_bg_pop_up_prompt.png": (417, 212),
    "vx_appended/popup/icon_pop_up_prompt.png": (24, 24),
    "vx_appended/popup/btn_delete{}.png": (96, 36),
    "vx_appended/popup/btn_cancel{}.png": (96, 36),
}

failures = []


def fail(msg):
    failures.append(msg)


def expand(text):
    for k, v in ABBREV.items():
        text = text.replace(k, v)
    return text


def parse_row(attrs):
    out = {}
    for part in filter(None, (p.strip() for p in attrs.split("; "))):
        key, _, val = part.partition("=")
        val = expand(val)
        if key == "img":
            out.update(normalimage=val + ".png", hotimage=val + "_hover.png", pushedimage=val + "_press.png")
        else:
            out[key] = val
    return out


def walk(elem, locator, out):
    """Maps every control element to its locator: its name, or parent locator + '/' + index."""
    index = 0
    for child in elem:
        if child.tag in ("Font", "Default", "Image", "Style", "Import"):
            continue
        name = child.get("name")
        loc = name if name else f"{locator}/{index}"
        if loc in out:
            fail(f"duplicate control locator {loc!r}")
        out[loc] = child
        walk(child, loc, out)
        index += 1


def image_names(value):
    """Image names in one image attribute string (a plain name, or key='value' pairs)."""
    if "='" not in value:
        return [value]
    names, rest = [], value
    while "='" in rest:
        key, _, rest = rest.partition("='")
        val, _, rest = rest.partition("'")
        if key.strip() in ("file", "res") and val:
            names.append(val)
    return names


def attribute_list(text):
    """Name/value pairs of an attribute list: name="value" separated by spaces."""
    pairs, rest = [], text
    while '="' in rest:
        name, _, rest = rest.partition('="')
        value, _, rest = rest.partition('"')
        pairs.append((name.strip(), value))
    return pairs


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", data[16:24])


def check_skin(path, spec, members, zf):
    root = ET.parse(path).getroot()
    label = path.rsplit("/", 1)[-1]
    raw = open(path, encoding="utf-8").read()
    for text in spec.get("raw", ()):
        if text not in raw:
            fail(f"{label}: does not contain {text!r} as written")
    if root.tag != "Window":
        fail(f"{label}: root element is {root.tag}")
    if dict(root.attrib) != spec["window"]:
        fail(f"{label}: window attributes {dict(root.attrib)} != {spec['window']}")
    fonts = [(int(f.get("id")), f.get("name"), int(f.get("size")), int(f.get("bold") == "true"))
             for f in root.findall("Font")]
    if fonts != spec["fonts"]:
        fail(f"{label}: fonts {fonts} != {spec['fonts']}")

    controls = {}
    walk(root, "", controls)
    rows = {loc: (cls, parse_row(attrs)) for loc, cls, attrs in spec["rows"]}
    for loc in controls.keys() - rows.keys():
        fail(f"{label}: control {loc!r} is not in the table")
    for loc in rows.keys() - controls.keys():
        fail(f"{label}: control {loc!r} is missing")
    for loc in rows.keys() & controls.keys():
        cls, want = rows[loc]
        elem = controls[loc]
        if elem.tag != cls:
            fail(f"{label}: {loc}: class {elem.tag} != {cls}")
        for key in TRACKED:
            if elem.get(key) != want.get(key):
                fail(f"{label}: {loc}: {key}={elem.get(key)!r}, expected {want.get(key)!r}")
        # Progress values are range-checked, so min and max must come before value.
        keys = list(elem.attrib)
        if "value" in keys and keys.index("value") < max(keys.index(k) for k in ("min", "max") if k in keys):
            fail(f"{label}: {loc}: value set before min/max")
        # A multi-line text needs wordbreak after valign (valign forces a single line).
        if "wordbreak" in keys and "valign" in keys and keys.index("wordbreak") < keys.index("valign"):
            fail(f"{label}: {loc}: wordbreak before valign")

    # Every image named by a control or a default list.
    named = []
    for elem in controls.values():
        for key, value in elem.attrib.items():
            if key.endswith("image"):
                named += image_names(value)
    for d in root.findall("Default"):
        for key, value in attribute_list(d.get("value", "")):
            if key.endswith("image"):
                named += image_names(value)
    if not named:
        fail(f"{label}: no images found")
    for name in named:
        member = members.get(name.replace("\\", "/").lower())
        if name in UNRESOLVED_OK:
            if member:
                fail(f"{label}: {name} was expected to stay unresolved")
        elif not member:
            fail(f"{label}: image {name!r} is not in the archive")
    return named


def main():
    skin_dir, zip_path = sys.argv[1], sys.argv[2]
    zf = zipfile.ZipFile(zip_path)
    infos = zf.infolist()
    members = {i.filename.lower(): i.filename for i in infos}
    if any("\\" in i.filename for i in infos):
        fail("archive member names must use forward slashes")
    folders = {i.filename for i in infos if i.filename.endswith("/")}
    for i in infos:
        parent = i.filename.rstrip("/").rpartition("/")[0]
        if parent and parent + "/" not in folders:
            fail(f"archive has no folder entry for {parent}/")
    for m in CODE_MEMBERS:
        if m not in members.values():
            fail(f"archive lacks {m}")
    for pattern, size in IMAGE_SIZES.items():
        for variant in ("", "_hover", "_press") if "{}" in pattern else ("",):
            m = pattern.format(variant)
            if m in members.values() and png_size(zf.read(m)) != size:
                fail(f"{m}: size {png_size(zf.read(m))}, expected {size}")
            elif m not in members.values():
                fail(f"archive lacks {m}")
    for name, spec in SKINS.items():
        check_skin(f"{skin_dir}/{name}", spec, members, zf)
        if zf.read(name) != open(f"{skin_dir}/{name}", "rb").read():
            fail(f"archive copy of {name} differs from the source")
    for f in failures:
        print("FAIL:", f)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
