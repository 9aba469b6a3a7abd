#!/usr/bin/env python3
"""Writes skin-like XML files and a skin archive for the markup parser's tests.

    make_markup_fixtures.py [--also SKINDIR] OUTDIR

OUTDIR/skins/*.xml are small skin files of the kind the engine reads (windows, fonts, default
attribute lists, layouts, buttons with image strings, Chinese texts, entities, comments, a
declaration and a byte-order mark). OUTDIR/skins.zip holds them under "Skin/" together with an
empty file, a file of exactly 4 MiB and one of 4 MiB + 1 byte. With --also, the *.xml files of
SKINDIR (the installer's own skin) join the seeds as real-*.xml. OUTDIR/skins/seeds.txt lists
the seed files, one a line.
"""
import argparse
import glob
import os
import shutil
import sys
import zipfile

MAIN = """\ufeff<?xml version="1.0" encoding="utf-8" standalone="yes" ?>
<!-- main frame of the wizard -->
<Window size="700,420" caption="0,0,0,40" roundcorner="4,4" layered="true">
  <Font id="0" name="\u5fae\u8f6f\u96c5\u9ed1" size="12" bold="false" default="true" />
  <Font id="1" name="\u5fae\u8f6f\u96c5\u9ed1" size="14" bold="true" />
  <Default name="Button" value="height=&quot;30&quot; textcolor=&quot;#FF333333&quot;" />
  <VerticalLayout bkcolor="#FFFFFFFF" inset="1,1,1,1">
    <HorizontalLayout height="40">
      <Label name="title" text="\u5b89\u88c5\u5411\u5bfc &amp; more" font="1" textcolor="#FF000000"/>
      <Control />
      <Button name="closebtn" width="30" normalimage="file='Install\\btn_close.png' source='0,0,30,30'" hotimage="file='Install\\btn_close.png' source='30,0,60,30'"/>
    </HorizontalLayout>
    <TabLayout name="pages" selectedid="0">
      <VerticalLayout virtualwnd="install0">
        <Option name="agree" group="g" text="&lt;agree&gt;" selected="true"/>
        <Text text="it&apos;s &#65; &QUOT; literal">body text</Text>
      </VerticalLayout>
      <VerticalLayout virtualwnd="install1"><Progress name="prog" min="0" max="100" value="35"/></VerticalLayout>
    </TabLayout>
  </VerticalLayout>
</Window>
"""

MSGBOX = """<?xml version="1.0" encoding="UTF-8"?>
<Window size="360,200" mininfo="360,200" sizebox="4,4,4,4">
\t<Font id="0" name="Arial" size="12"/>
\t<VerticalLayout bkimage="file='msg\\bg.png' corner='4,4,4,4'">
\t\t<Label name="msg" text="\u786e\u5b9a\u8981\u9000\u51fa\u5417\uff1f" align="center" />
\t\t<HorizontalLayout childpadding="10">
\t\t\t<Button name="ok" text="\u786e\u5b9a" /><Button name="cancel" text="\u53d6\u6d88" />
\t\t</HorizontalLayout>
\t</VerticalLayout>
</Window>
"""

CATALOG = """<?xml version="1.0"?>
<Res>
  <Image id="logo" path="images\\logo.png" />
  <Group name="buttons">
    <Image id="btn" path="images\\btn.png"/>
    <Group><Xml id="dlg" path="dialogs\\dlg.xml"/></Group>
  </Group>
  <Text id="hello">Hello</Text>
</Res>
"""

ATTRS = "<Window>\n  <Many " + " ".join('a%d="%d"' % (i, i) for i in range(70)) + " />\n</Window>\n"

FILES = {
    "VXMainFrame.xml": MAIN,
    "VXMsgBox.xml": MSGBOX,
    "res.xml": CATALOG,
    "attrs.xml": ATTRS,
}

LIMIT = 4 * 1024 * 1024


def padded(size):
    head, tail = b"<Window>", b"</Window>"
    return head + b" " * (size - len(head) - len(tail)) + tail


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--also", default=None)
    parser.add_argument("outdir")
    args = parser.parse_args()
    out = os.path.abspath(args.outdir)
    shutil.rmtree(out, ignore_errors=True)
    skins = os.path.join(out, "skins")
    os.makedirs(skins)
    seeds = []
    for name, text in FILES.items():
        with open(os.path.join(skins, name), "wb") as f:
            f.write(text.encode("utf-8"))
        seeds.append(name)
    if args.also and os.path.isdir(args.also):
        for path in sorted(glob.glob(os.path.join(args.also, "*.xml"))):
            name = "real-" + os.path.basename(path)
            shutil.copyfile(path, os.path.join(skins, name))
            seeds.append(name)
    with open(os.path.join(skins, "seeds.txt"), "w") as f:
        f.write("".join(s + "\n" for s in seeds))
    with zipfile.ZipFile(os.path.join(out, "skins.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in FILES.items():
            z.writestr("Skin/" + name, text.encode("utf-8"))
        z.writestr("Skin/empty.xml", b"")
        z.writestr("Skin/exact.xml", padded(LIMIT))
        z.writestr("Skin/over.xml", padded(LIMIT + 1))
    return 0


if __name__ == "__main__":
    sys.exit(main())
