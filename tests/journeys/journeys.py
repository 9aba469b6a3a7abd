#!/usr/bin/env python3
"""End-to-end journeys: the windows-x64 distribution folder run under Wine as a user would run it,
each journey in a fresh prefix, with real pointer clicks and keys at the controls' places, a
screenshot of every page kept, and checks of what happened on disk, in the registry and on screen.

    journeys.py --dist DIST --build BUILD --out OUT [--lnkinfo EXE] [--big-payload 7Z] JOURNEY...
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
import traceback

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import skinlayout  # noqa: E402
from winedriver import DriverError, Screen, WinePrefix, wait_until  # noqa: E402

ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
SKIN = os.path.join(ROOT, "skin")
MAIN = skinlayout.layout(os.path.join(SKIN, "VXMainFrame.xml"))
BOX = skinlayout.layout(os.path.join(SKIN, "VXMsgBox.xml"))
PAGE_BACKGROUNDS = [
    os.path.join(SKIN, "pkg_enum3-kstv", "table_bg_install_01.png"),
    os.path.join(SKIN, "Install_and_uninstall", "table_bg_install_02.png"),
    os.path.join(SKIN, "pkg_enum3-kstv", "table_bg_install_03.png"),
    os.path.join(SKIN, "pkg_enum3-kstv", "table_bg_install_04.png"),
]
SETUP_CLASS = "ostrelsetup.exe"
PRODUCT_CLASS = "vxapp.exe"
PAGE_NAMES = ["welcome", "options", "progress", "completion"]
# Patches of the page backgrounds that no control covers, used to tell the pages apart.
PROBE_PATCHES = [(20, 70, 200, 240), (500, 140, 680, 250)]
UNINSTALL_KEY = ("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 "{5E1A0C47-93B2-4D8F-A6E0-2C7B19D4F350}")
DEFAULT_INSTALL = "C:\\Program Files\\Kestvane\\Kestvane"
MENU_FOLDER = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Ostrel"


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


class Journey:
    def __init__(self, args, name):
        self.args = args
        self.name = name
        self.out = os.path.join(args.out, name)
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        self.prefix = WinePrefix(os.path.join(args.build, "wine"), os.path.join(self.out, "prefix"))
        self.screen = Screen(self.prefix.env)
        self.shots = 0
        self.proc = None
        self.wid = None
        self.origin = (0, 0)
        # The download folder, "full of other files" as such folders are.
        self.setup_dir = os.path.join(self.prefix.user_dir, "Downloads", "OstrelSetup")
        os.makedirs(self.setup_dir)
        for f in os.listdir(args.dist):
            shutil.copy2(os.path.join(args.dist, f), self.setup_dir)
        with open(os.path.join(self.prefix.user_dir, "Downloads", "holiday.txt"), "w") as f:
            f.write("not ours\n")

    # --- the installer -------------------------------------------------------------------
    def start(self, extra_env=None):
        self.proc = self.prefix.start(os.path.join(self.setup_dir, "OstrelSetup.exe"), cwd=self.setup_dir,
                                      extra_env=extra_env)
        self.wid = self.screen.wait_window("^Ostrel$", 60, cls=SETUP_CLASS)
        x, y, w, h = self.screen.geometry(self.wid)
        check((w, h) == (700, 420), "main window is %dx%d, not 700x420" % (w, h))
        # Centred on the primary monitor (the whole display here).
        sw, sh = self.screen.display_size()
        check((x, y) == (sw // 2 - 350, sh // 2 - 210), "main window at %d,%d is not centred" % (x, y))
        self.origin = (x, y)
        time.sleep(1.0)

    def exit_code(self, timeout=60):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the installer did not end within %d s" % timeout)

    def window_gone(self, timeout=10):
        self.screen.wait_window("^Ostrel$", timeout, gone=True, cls=SETUP_CLASS)

    # --- the screen ----------------------------------------------------------------------
    def shot(self, label, box=None):
        self.shots += 1
        path = os.path.join(self.out, "%02d-%s.png" % (self.shots, label))
        if box is None:
            box = (self.origin[0], self.origin[1], 700, 420)
        self.screen.screenshot(path, crop=box)
        return path

    def page(self):
        """Index of the page the main window shows, by its background, or None."""
        path = self.shot("probe")
        shown = Image.open(path).convert("RGB")
        os.remove(path)
        self.shots -= 1
        best, best_score = None, None
        for index, bg_path in enumerate(PAGE_BACKGROUNDS):
            bg = Image.open(bg_path).convert("RGB")
            score = 0
            for (l, t, r, b) in PROBE_PATCHES:
                a = shown.crop((l, t, r, b)).resize((12, 12))
                e = bg.crop((l, t, r, b)).resize((12, 12))
                score += sum(abs(p - q) for pa, pe in zip(a.getdata(), e.getdata()) for p, q in zip(pa, pe))
            if best_score is None or score < best_score:
                best, best_score = index, score
        per_channel = best_score / (len(PROBE_PATCHES) * 144 * 3)
        return best if per_channel < 24 else None

    def wait_page(self, index, timeout=20):
        wait_until(lambda: self.page() == index, timeout, "the %s page" % PAGE_NAMES[index])
        time.sleep(0.3)
        return self.shot(PAGE_NAMES[index])

    def click(self, name, layout=MAIN, origin=None):
        ox, oy = origin or self.origin
        cx, cy = layout[name].centre
        self.screen.click(ox + cx, oy + cy)

    # --- the message box -----------------------------------------------------------------
    def box_window(self, timeout=10):
        def find():
            for wid in self.screen.find_windows("^Ostrel$", SETUP_CLASS):
                if wid != self.wid:
                    x, y, w, h = self.screen.geometry(wid)
                    if (w, h) == (417, 212):
                        return (wid, x, y)
            return None
        return wait_until(find, timeout, "the message box")

    def answer_close(self, answer):
        """Press a page's close button and answer the confirmation: ok, cancel or box-close."""
        page = self.page()
        self.click(["closebtn", "closebtn1", "closebtn2", "closebtn3"][page])
        wid, x, y = self.box_window()
        # Horizontally over the main window, vertically over the primary monitor.
        sw, sh = self.screen.display_size()
        check((x, y) == (self.origin[0] + 350 - 208, sh // 2 - 106), "message box at %d,%d" % (x, y))
        self.shot("confirm-%s" % PAGE_NAMES[page], box=(x, y, 417, 212))
        dimmed = self.shot("dimmed-%s" % PAGE_NAMES[page])
        # The main window is disabled while the box runs: its minimise button does nothing (a
        # minimised window here shrinks to a strip and the rest of its place turns black).
        self.click(["minbtn", "minbtn1", "minbtn2", "minbtn3"][page])
        time.sleep(0.5)
        after = self.shot("still-%s" % PAGE_NAMES[page])
        strip = (20, 330, 680, 410)
        before_light = sum(sum(p) for p in Image.open(dimmed).convert("RGB").crop(strip).getdata())
        after_light = sum(sum(p) for p in Image.open(after).convert("RGB").crop(strip).getdata())
        check(after_light > before_light * 0.8, "the disabled main window took the minimise click")
        target = {"ok": "okBtn", "cancel": "cancelBtn", "box-close": "closebtn"}[answer]
        self.click(target, layout=BOX, origin=(x, y))
        wait_until(lambda: wid not in self.screen.find_windows("^Ostrel$", SETUP_CLASS), 10, "the box to close")

    # --- what is on disk and in the registry ---------------------------------------------
    def exists(self, windows_path):
        return os.path.exists(self.prefix.unix_path(windows_path))

    def desktop_link(self):
        return os.path.join(self.prefix.user_dir, "Desktop", "Ostrel.lnk")

    def link_info(self, unix_path):
        windows = "Z:" + unix_path.replace("/", "\\")
        r = self.prefix.run([self.args.lnkinfo, windows])
        check(r.returncode == 0, "lnkinfo could not read %s: %s" % (unix_path, r.stdout))
        return dict(line.split("=", 1) for line in r.stdout.splitlines() if "=" in line)

    def expect_links(self, install_dir, menu):
        link = self.desktop_link()
        check(os.path.exists(link), "no Ostrel.lnk on the desktop")
        info = self.link_info(link)
        check(info["target"].lower() == (install_dir + "\\VXApp.exe").lower(), "desktop link target %r" % info)
        check(info["workdir"].lower() == install_dir.lower(), "desktop link working folder %r" % info)
        check(info["description"] == "Ostrel", "desktop link description %r" % info)
        folder = self.prefix.unix_path(MENU_FOLDER)
        if not menu:
            check(not os.path.exists(folder), "the Programs-menu folder exists")
            return
        for name, exe in (("Ostrel.lnk", "VXApp.exe"), ("卸载Ostrel.lnk", "VXUnInstall.exe")):
            path = os.path.join(folder, name)
            check(os.path.exists(path), "menu link %s missing" % name)
            info = self.link_info(path)
            check(info["target"].lower() == (install_dir + "\\" + exe).lower(), "menu link %s: %r" % (name, info))
            check(info["description"] == "Ostrel", "menu link %s description %r" % (name, info))

    def expect_entry(self, install_dir, present=True):
        if not present:
            check(not self.prefix.reg_key_exists(UNINSTALL_KEY), "an uninstall entry exists")
            return
        rows = {
            "DisplayName": "Ostrel",
            "DisplayIcon": install_dir + "\\VXApp.exe",
            "UninstallString": install_dir + "\\VXUnInstall.exe",
            "InstallLocation": install_dir,
            "DisplayVersion": "9.3.3.0",
            "Publisher": "Halvenor",
        }
        for value, expected in rows.items():
            got = self.prefix.reg_query(UNINSTALL_KEY, value)
            check(got == expected, "uninstall value %s is %r, not %r" % (value, got, expected))

    def expect_product(self, install_dir):
        folder = self.prefix.unix_path(install_dir)
        for f in ("VXApp.exe", "VXUnInstall.exe"):
            check(os.path.isfile(os.path.join(folder, f)), "%s missing from %s" % (f, install_dir))
        listing = subprocess.run(["7zz", "l", "-slt", os.path.join(self.args.dist, "vx.7z")],
                                 stdout=subprocess.PIPE, text=True, check=True).stdout
        names = [l[7:] for l in listing.splitlines() if l.startswith("Path = ")][1:]
        for n in names:
            check(os.path.exists(os.path.join(folder, *n.split("/"))), "payload member %s not installed" % n)

    def finish(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
        self.prefix.stop(keep=False)


# --- the journeys ------------------------------------------------------------------------

def quick_install(j):
    j.start()
    j.wait_page(0)
    check(j.exists("C:\\Program Files\\Kestvane"), "opening the wizard did not create the default base folder")
    j.click("installBtn")
    j.shot("progress-started")
    wait_until(lambda: os.path.exists(j.desktop_link()), 60, "the desktop link at 100 %")
    j.shot("progress-100")
    j.wait_page(3)
    j.expect_entry(DEFAULT_INSTALL, present=False)  # written only when leaving the last page
    j.click("completeBtn")
    j.window_gone(10)
    app = wait_until(lambda: j.screen.find_windows("^Ostrel$", PRODUCT_CLASS), 30, "the product's window")
    x, y, w, h = j.screen.geometry(app[0])
    j.shot("product", box=(x, y, w, h))
    check(j.exit_code() == 0, "installer exit code")
    j.expect_product(DEFAULT_INSTALL)
    j.expect_links(DEFAULT_INSTALL, menu=True)
    j.expect_entry(DEFAULT_INSTALL)


def custom_install(j):
    chosen = "C:\\Games"
    os.makedirs(j.prefix.unix_path(chosen), exist_ok=True)
    j.start()
    j.wait_page(0)
    j.click("customBtn")
    j.wait_page(1)
    j.click("modifyBtn")
    picker = wait_until(lambda: [w for w in j.screen.find_windows(".", SETUP_CLASS) if w != j.wid and
                                 j.screen.geometry(w)[2] > 200], 20, "the folder picker")
    x, y, w, h = j.screen.geometry(picker[0])
    j.shot("folder-picker", box=(x, y, w, h))
    # Typed into the picker's folder tree, which selects the folder as the user types its
    # name; Return confirms. (Wine's picker takes the tree's selection, not the edit box's text.)
    j.screen.type_text("Games")
    time.sleep(0.5)
    j.shot("folder-typed", box=(x, y, w, h))
    j.screen.key("Return")
    wait_until(lambda: picker[0] not in j.screen.find_windows(".", SETUP_CLASS), 10, "the picker to close")
    time.sleep(0.5)
    j.shot("options-chosen")
    check(j.page() == 1, "the options page is not shown after the picker")
    j.click("installBtn1")
    wait_until(lambda: os.path.exists(j.desktop_link()), 60, "the desktop link at 100 %")
    j.wait_page(3)
    j.click("completeBtn")
    check(j.exit_code() == 0, "installer exit code")
    install_dir = chosen + "\\Kestvane"
    j.expect_product(install_dir)
    j.expect_links(install_dir, menu=True)
    j.expect_entry(install_dir)
    check(not j.exists(DEFAULT_INSTALL), "something was installed into the default folder")


def agreement_and_back(j):
    j.start()
    j.wait_page(0)
    j.click("protocalOpt")
    j.shot("agreement-unticked")
    j.click("installBtn")
    j.click("customBtn")
    time.sleep(1.0)
    check(j.page() == 0, "a disabled button changed the page")
    check(not j.exists(DEFAULT_INSTALL), "a disabled install button started the installation")
    j.click("protocalOpt")
    j.shot("agreement-ticked")
    j.click("customBtn")
    j.wait_page(1)
    j.click("gobackbtn")
    j.wait_page(0)
    j.screen.key("alt+F4", wid=j.wid)
    j.window_gone(10)
    check(j.exit_code() == 0, "installer exit code")
    check(not j.exists(DEFAULT_INSTALL), "closing on the welcome page installed something")
    j.expect_entry(DEFAULT_INSTALL, present=False)


def close_buttons(j):
    j.start()
    j.wait_page(0)
    j.answer_close("cancel")
    j.wait_page(0)
    j.answer_close("box-close")
    j.wait_page(0)
    j.click("customBtn")
    j.wait_page(1)
    j.answer_close("cancel")
    j.wait_page(1)
    j.click("installBtn1")
    wait_until(lambda: os.path.exists(j.desktop_link()), 60, "the desktop link at 100 %")
    j.wait_page(3)
    j.answer_close("cancel")
    j.wait_page(3)
    j.expect_entry(DEFAULT_INSTALL, present=False)
    j.answer_close("ok")
    j.window_gone(10)
    check(j.exit_code() == 0, "installer exit code")
    j.expect_entry(DEFAULT_INSTALL)
    j.expect_links(DEFAULT_INSTALL, menu=True)
    check(not j.screen.find_windows(".", PRODUCT_CLASS), "the product was started")


def close_on_welcome_with_ok(j):
    j.start()
    j.wait_page(0)
    j.answer_close("ok")
    j.window_gone(10)
    check(j.exit_code() == 0, "installer exit code")
    check(not j.exists(DEFAULT_INSTALL), "closing on the welcome page installed something")


def alt_f4_during_extraction(j):
    shutil.copy2(j.args.big_payload, os.path.join(j.setup_dir, "vx.7z"))
    j.start()
    j.wait_page(0)
    j.click("installBtn")
    wait_until(lambda: os.path.isdir(j.prefix.unix_path(DEFAULT_INSTALL)) and
               os.listdir(j.prefix.unix_path(DEFAULT_INSTALL)), 30, "extraction to begin")
    j.shot("progress-running")
    j.screen.key("alt+F4", wid=j.wid)
    started = time.time()
    j.window_gone(5)
    check(time.time() - started < 5, "the window did not disappear at once")
    check(j.proc.poll() is None, "the process ended before its extraction did")
    check(j.exit_code(300) == 0, "installer exit code")
    check(not os.path.exists(j.desktop_link()), "a desktop link was made")
    check(not os.path.exists(j.prefix.unix_path(MENU_FOLDER)), "menu links were made")
    j.expect_entry(DEFAULT_INSTALL, present=False)


def missing_payload(j):
    os.remove(os.path.join(j.setup_dir, "vx.7z"))
    j.start()
    j.wait_page(0)
    j.click("installBtn")
    j.wait_page(2)
    time.sleep(4)
    check(j.page() == 2, "the progress page did not stay")
    check(not os.path.exists(j.desktop_link()), "a desktop link was made without a payload")
    j.shot("progress-stuck")
    j.answer_close("ok")
    j.window_gone(10)
    check(j.exit_code() == 0, "installer exit code")


def unwritable_desktop(j):
    desktop = os.path.join(j.prefix.user_dir, "Desktop")
    shutil.rmtree(desktop)
    with open(desktop, "w") as f:  # a file where the folder should be: nothing can be saved there
        f.write("")
    j.start()
    j.wait_page(0)
    j.click("installBtn")
    j.wait_page(3, timeout=60)
    log = os.path.join(j.prefix.user_dir, "AppData", "Local", "Kestvane", "data", "Kestvanelog", "ll.log")
    check(os.path.exists(log), "no log file")
    lines = open(log, "rb").read().decode("cp936").splitlines()
    check(any(l.endswith("CreateShortcut error.") and "CVXInstallPage2::OnProgChanged" in l for l in lines),
          "the log has no CreateShortcut error line: %r" % lines)
    j.click("completeBtn")
    check(j.exit_code() == 0, "installer exit code")
    j.expect_entry(DEFAULT_INSTALL)


def planted_library(j):
    # Wine, like Windows for libraries outside its known set, would take a native library from
    # the program's folder first when allowed to: allow it, so that only our search rules stand
    # between the planted copy and the installer.
    planted = os.path.join(j.setup_dir, "msimg32.dll")
    shutil.copy2(j.args.planted, planted)
    j.start(extra_env={"WINEDLLOVERRIDES": j.prefix.env["WINEDLLOVERRIDES"] + ";msimg32=n,b"})
    j.wait_page(0)
    j.click("protocalOpt")  # repaints go through the blending functions the engine resolves
    j.click("protocalOpt")
    j.click("customBtn")
    j.wait_page(1)
    j.screen.key("alt+F4", wid=j.wid)
    j.window_gone(10)
    check(j.exit_code() == 0, "installer exit code")
    check(not os.path.exists(planted + ".loaded"), "the installer loaded the msimg32.dll planted beside it")


def skin_folder_fallback(j):
    # Without the skin resource the installer reads the "skin" folder beside it ...
    exe = os.path.join(j.setup_dir, "OstrelSetup.exe")
    shutil.copy2(j.args.no_skin, exe)
    shutil.copytree(j.args.skin_dir, os.path.join(j.setup_dir, "skin"),
                    ignore=shutil.ignore_patterns("tests", "tools", "CMakeLists.txt", "*.md"))
    j.start()
    j.wait_page(0)
    j.screen.key("alt+F4", wid=j.wid)
    j.window_gone(10)
    check(j.exit_code() == 0, "installer exit code with the skin folder")
    # ... and without that folder it says which skin file it could not load and ends with 1.
    shutil.rmtree(os.path.join(j.setup_dir, "skin"))
    j.proc = j.prefix.start(exe, cwd=j.setup_dir)
    box = j.screen.wait_window("^Lomar$", 30, cls=SETUP_CLASS)
    x, y, w, h = j.screen.geometry(box)
    j.shot("load-failure", box=(x, y, w, h))
    check(not j.screen.find_windows("^Ostrel$", SETUP_CLASS), "the wizard showed without a skin")
    j.screen.key("Return", wid=box)
    check(j.exit_code() == 1, "installer exit code without a skin")


JOURNEYS = {
    "skin_folder_fallback": skin_folder_fallback,
    "planted_library": planted_library,
    "quick_install": quick_install,
    "custom_install": custom_install,
    "agreement_and_back": agreement_and_back,
    "close_buttons": close_buttons,
    "close_on_welcome_with_ok": close_on_welcome_with_ok,
    "alt_f4_during_extraction": alt_f4_during_extraction,
    "missing_payload": missing_payload,
    "unwritable_desktop": unwritable_desktop,
}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dist", required=True)
    ap.add_argument("--build", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--lnkinfo")
    ap.add_argument("--big-payload")
    ap.add_argument("--planted")
    ap.add_argument("--no-skin")
    ap.add_argument("--skin-dir")
    ap.add_argument("journeys", nargs="*")
    args = ap.parse_args()
    names = args.journeys or list(JOURNEYS)
    failed = []
    for name in names:
        j = Journey(args, name)
        start = time.time()
        try:
            JOURNEYS[name](j)
            print("PASS %s (%.1f s)" % (name, time.time() - start))
        except (Failure, DriverError, AssertionError, subprocess.CalledProcessError) as e:
            failed.append(name)
            try:
                j.shot("failure")
            except Exception:
                pass
            print("FAIL %s: %s" % (name, e))
            traceback.print_exc()
        finally:
            j.finish()
    print("%d passed, %d failed" % (len(names) - len(failed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
