"""Drives Windows programs under Wine as a user would: real X pointer and keys through xdotool,
screenshots through ImageMagick, the registry and the C: drive read back from the prefix.

Used by the end-to-end journeys of the installer and by the demo."""

import os
import re
import shutil
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
WINE_ENV = os.path.join(ROOT, "scripts", "wine-env.sh")


class DriverError(Exception):
    pass


def _bash(script, env=None):
    return subprocess.run(["bash", "-c", script], env=env, check=True,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True).stdout


class WinePrefix:
    """A fresh copy of the build's pristine prefix, with its own wineserver."""

    def __init__(self, state_dir, path):
        self.state_dir = state_dir
        self.path = path
        self.env = dict(os.environ)
        out = _bash(f'. "{WINE_ENV}"; vx_wine_setup "{state_dir}"; vx_ensure_display; '
                    f'vx_ensure_pristine; vx_fresh_prefix "{path}"; vx_start_server "{path}"; '
                    'echo "DISPLAY=$DISPLAY"; echo "WINE64=$WINE64"; echo "WINESERVER=$WINESERVER"',
                    env=self.env)
        for line in out.splitlines():
            key, _, value = line.partition("=")
            if key in ("DISPLAY", "WINE64", "WINESERVER"):
                self.env[key] = value
        self.env["WINEPREFIX"] = path
        self.env["WINEDEBUG"] = "-all"
        self.env["LC_ALL"] = "C.UTF-8"
        self.env["WINEDLLOVERRIDES"] = "mscoree,mshtml,winemenubuilder.exe="
        self.wine64 = self.env["WINE64"]
        self.drive_c = os.path.join(path, "drive_c")
        users = os.path.join(self.drive_c, "users")
        names = [n for n in os.listdir(users) if n not in ("Public",)]
        self.user = names[0] if names else "root"
        self.user_dir = os.path.join(users, self.user)

    def unix_path(self, windows_path):
        """C:\\a\\b -> the file below drive_c."""
        m = re.match(r"^[Cc]:[\\/](.*)$", windows_path)
        if not m:
            raise DriverError("not a C: path: " + windows_path)
        return os.path.join(self.drive_c, *re.split(r"[\\/]", m.group(1)))

    def run(self, args, **kw):
        return subprocess.run([self.wine64] + args, env=self.env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)

    def start(self, exe_unix_path, args=(), cwd=None, extra_env=None):
        env = dict(self.env)
        if extra_env:
            env.update(extra_env)
        log = open(os.path.join(os.path.dirname(self.path), os.path.basename(exe_unix_path) + ".out"), "w")
        return subprocess.Popen([self.wine64, exe_unix_path] + list(args), env=env, cwd=cwd,
                                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)

    def reg_query(self, key, value):
        """The data of a registry value as `reg query` prints it, or None."""
        out = self.run(["reg", "query", key, "/v", value]).stdout
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0] == value and parts[1].startswith("REG_"):
                return parts[2] if len(parts) == 3 else ""
        return None

    def reg_key_exists(self, key):
        return self.run(["reg", "query", key]).returncode == 0

    def shell_folder(self, name):
        """A folder of the user profile as a Unix path (Desktop, ...)."""
        return os.path.join(self.user_dir, name)

    def stop(self, keep=False):
        subprocess.run([self.env["WINESERVER"], "-k"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([self.env["WINESERVER"], "-w"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not keep:
            shutil.rmtree(self.path, ignore_errors=True)


class Screen:
    """The X display: windows, pointer, keys and screenshots."""

    def __init__(self, env):
        self.env = env

    def _xdo(self, *args, check=True):
        r = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        if check and r.returncode != 0:
            raise DriverError("xdotool %s: %s" % (" ".join(map(str, args)), r.stderr.strip()))
        return r.stdout

    def find_windows(self, name, cls=None):
        """Visible windows whose title matches the regular expression `name` and, when given,
        whose WM_CLASS matches `cls` (Wine sets it to the program's file name in lower case)."""
        if not cls:
            out = self._xdo("search", "--onlyvisible", "--name", name, check=False)
            return [int(w) for w in out.split()]
        out = self._xdo("search", "--onlyvisible", "--class", cls, check=False)
        found = []
        for w in out.split():
            title = self._xdo("getwindowname", w, check=False).rstrip("\n")
            if re.search(name, title):
                found.append(int(w))
        return found

    def wait_window(self, name, timeout=30, gone=False, cls=None):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = self.find_windows(name, cls)
            if gone and not found:
                return None
            if not gone and found:
                # A window can be replaced right after it appears: return one that stays.
                time.sleep(0.2)
                for wid in found:
                    try:
                        self.geometry(wid)
                        return wid
                    except DriverError:
                        continue
            time.sleep(0.2)
        raise DriverError("window %r %s after %d s" % (name, "still there" if gone else "not found", timeout))

    def geometry(self, wid):
        out = self._xdo("getwindowgeometry", "--shell", wid)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def display_size(self):
        w, h = self._xdo("getdisplaygeometry").split()
        return int(w), int(h)

    def click(self, x, y, settle=0.3):
        self._xdo("mousemove", "--sync", x, y)
        time.sleep(0.15)
        self._xdo("click", 1)
        time.sleep(settle)

    def move(self, x, y):
        self._xdo("mousemove", "--sync", x, y)

    def key(self, *keys, wid=None):
        if wid is not None:
            self._xdo("windowactivate", "--sync", wid, check=False)
        self._xdo("key", *keys)

    def type_text(self, text):
        self._xdo("type", "--delay", 30, text)

    def screenshot(self, path, crop=None):
        args = ["import", "-window", "root"]
        if crop:
            x, y, w, h = crop
            args += ["-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage"]
        subprocess.run(args + [path], env=self.env, check=True)

    def pixel(self, x, y):
        out = subprocess.run(["import", "-window", "root", "-crop", "1x1+%d+%d" % (x, y), "txt:-"],
                             env=self.env, check=True, stdout=subprocess.PIPE, text=True).stdout
        m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
        return tuple(int(v) for v in m.groups()) if m else None


def wait_until(predicate, timeout, what, interval=0.2):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    raise DriverError("timed out after %d s waiting for %s" % (timeout, what))
