#!/usr/bin/env python3
"""Inspects a Windows PE file the way we ship it: machine and format, subsystem, imported
DLLs, and the installer's resources. Standard library only; the PE format is parsed here.

    pe_inspect.py FILE --arch x86|x64 [--gui|--console] [--allow-import DLL]... [--forbid-import DLL]...
                  [--installer-resources] [--icon ID] [--version A.B.C.D] [--product NAME]
                  [--manifest LEVEL] [--dump]

--installer-resources checks the whole resource set of the installer: skin archive
VXZIP_RES/113/2052 holding both skins, icon group 101, the version block and a manifest with
"highestAvailable". The single checks (--icon, --version, --manifest) serve other programs.
Every failed check prints one line; the exit code is 1 when any failed.
"""
import io
import struct
import sys
import xml.etree.ElementTree as ET
import zipfile

MACHINES = {"x86": (0x14C, 0x10B), "x64": (0x8664, 0x20B)}
MANIFEST_ARCH = {"x86": "x86", "x64": "amd64"}
SUBSYSTEM_GUI, SUBSYSTEM_CONSOLE = 2, 3
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
LANG_ZH_CN, LANG_EN_US = 2052, 1033
ICON_SIZES = {16, 24, 32, 48, 64, 128, 256}

# DLLs that every Windows installation carries; anything else must ship beside the program.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "gdiplus.dll", "advapi32.dll", "shell32.dll",
    "shlwapi.dll", "ole32.dll", "oleaut32.dll", "comctl32.dll", "comdlg32.dll", "msvcrt.dll",
    "version.dll", "uxtheme.dll", "ws2_32.dll", "winmm.dll", "imm32.dll", "msimg32.dll",
    "ntdll.dll", "dwmapi.dll", "bcrypt.dll", "crypt32.dll", "shcore.dll", "uuid.dll",
}
RUNTIME_PREFIXES = ("libstdc++", "libgcc", "libwinpthread")


class PeError(Exception):
    pass


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise PeError("no MZ header")
        pe = self.u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        self.machine, nsections = struct.unpack_from("<HH", data, pe + 4)
        opt_size = self.u16(pe + 20)
        opt = pe + 24
        self.magic = self.u16(opt)
        if self.magic not in (0x10B, 0x20B):
            raise PeError(f"unknown optional header magic 0x{self.magic:X}")
        self.subsystem = self.u16(opt + 68)
        dirs = opt + (96 if self.magic == 0x10B else 112)
        count = self.u32(dirs - 4)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(min(count, 16))]
        self.sections = []
        for i in range(nsections):
            s = opt + opt_size + 40 * i
            vsize, va, raw_size, raw_ptr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((va, max(vsize, raw_size), raw_ptr, raw_size))

    def u16(self, off):
        return struct.unpack_from("<H", self.data, off)[0]

    def u32(self, off):
        return struct.unpack_from("<I", self.data, off)[0]

    def offset(self, rva):
        for va, size, raw_ptr, raw_size in self.sections:
            if va <= rva < va + size:
                if rva - va >= raw_size:
                    raise PeError(f"RVA 0x{rva:X} lies in uninitialised data")
                return raw_ptr + rva - va
        raise PeError(f"RVA 0x{rva:X} is outside every section")

    def cstring(self, rva):
        off = self.offset(rva)
        return self.data[off:self.data.index(b"\0", off)].decode("latin-1")

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def imports(self):
        """Names of the DLLs in the import table and the delay-import table."""
        names = []
        rva, size = self.directory(1)
        if rva:
            off = self.offset(rva)
            while True:
                entry = struct.unpack_from("<IIIII", self.data, off)
                if entry == (0, 0, 0, 0, 0):
                    break
                names.append(self.cstring(entry[3]))
                off += 20
        rva, size = self.directory(13)
        if rva:
            off = self.offset(rva)
            while True:
                entry = struct.unpack_from("<8I", self.data, off)
                if not any(entry):
                    break
                names.append(self.cstring(entry[1]))
                off += 32
        return names

    def resources(self):
        """{(type, name, language): bytes}; string types and names as str, ids as int."""
        rva, size = self.directory(2)
        if not rva:
            return {}
        base = self.offset(rva)
        out = {}

        def entries(off):
            named, ids = struct.unpack_from("<HH", self.data, off + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, off + 16 + 8 * i)
                if name & 0x80000000:
                    s = base + (name & 0x7FFFFFFF)
                    n = self.u16(s)
                    name = self.data[s + 2:s + 2 + 2 * n].decode("utf-16-le")
                yield name, target

        for rtype, t_off in entries(base):
            if not t_off & 0x80000000:
                raise PeError("resource type entry is not a directory")
            for rname, n_off in entries(base + (t_off & 0x7FFFFFFF)):
                if not n_off & 0x80000000:
                    raise PeError("resource name entry is not a directory")
                for lang, d_off in entries(base + (n_off & 0x7FFFFFFF)):
                    if d_off & 0x80000000:
                        raise PeError("resource language entry is a directory")
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + d_off)
                    start = self.offset(data_rva)
                    out[(rtype, rname, lang)] = self.data[start:start + data_size]
        return out


def version_block(data):
    """(file version, product version, {string: value}, [translations]) of a VS_VERSIONINFO."""
    def node(off):
        length, value_len, vtype = struct.unpack_from("<HHH", data, off)
        end_key = off + 6
        while data[end_key:end_key + 2] != b"\0\0":
            end_key += 2
        key = data[off + 6:end_key].decode("utf-16-le")
        value_at = (end_key + 2 + 3) & ~3
        value_size = value_len * 2 if vtype == 1 else value_len
        children_at = (value_at + value_size + 3) & ~3
        return key, value_at, value_size, vtype, children_at, off + length

    def children(start, end):
        off = start
        while off < end:
            n = node(off)
            yield n
            off = (n[5] + 3) & ~3

    key, value_at, value_size, _, kids, end = node(0)
    if key != "VS_VERSION_INFO":
        raise PeError(f"version block key {key!r}")
    sig, _, fms, fls, pms, pls = struct.unpack_from("<6I", data, value_at)
    if sig != 0xFEEF04BD:
        raise PeError("no VS_FIXEDFILEINFO signature")
    ver = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    strings, translations = {}, []
    for k, v_at, v_size, _, k_kids, k_end in children(kids, end):
        if k == "StringFileInfo":
            for table, _, _, _, t_kids, t_end in children(k_kids, k_end):
                for name, s_at, s_size, _, _, _ in children(t_kids, t_end):
                    strings[(table.lower(), name)] = data[s_at:s_at + s_size].decode("utf-16-le").rstrip("\0")
        elif k == "VarFileInfo":
            for name, s_at, s_size, _, _, _ in children(k_kids, k_end):
                if name == "Translation":
                    translations += [struct.unpack_from("<HH", data, s_at + i) for i in range(0, s_size, 4)]
    return ver(fms, fls), ver(pms, pls), strings, translations


def local(tag):
    return tag.rsplit("}", 1)[-1]


class Checker:
    def __init__(self, path):
        self.path = path
        self.failures = []
        self.pe = PeFile(open(path, "rb").read())
        self._res = None

    def fail(self, msg):
        self.failures.append(msg)

    @property
    def res(self):
        if self._res is None:
            self._res = self.pe.resources()
        return self._res

    def find(self, rtype, name, lang):
        data = self.res.get((rtype, name, lang))
        if data is None:
            others = [k for k in self.res if k[0] == rtype and k[1] == name]
            self.fail(f"resource {rtype}/{name}/{lang} missing" + (f" (present as {others})" if others else ""))
        return data

    def arch(self, arch):
        machine, magic = MACHINES[arch]
        if self.pe.machine != machine:
            self.fail(f"machine 0x{self.pe.machine:X}, expected 0x{machine:X} ({arch})")
        if self.pe.magic != magic:
            self.fail(f"optional header magic 0x{self.pe.magic:X}, expected 0x{magic:X}")

    def subsystem(self, want):
        if self.pe.subsystem != want:
            self.fail(f"subsystem {self.pe.subsystem}, expected {want}")

    def imports(self, allowed, forbidden):
        names = [n.lower() for n in self.pe.imports()]
        if not names:
            self.fail("no imports at all")
        for n in names:
            if n.startswith(RUNTIME_PREFIXES):
                self.fail(f"imports the runtime DLL {n}: the runtime must be linked statically")
            elif n in forbidden:
                self.fail(f"imports {n}, which must be resolved at run time")
            elif n not in SYSTEM_DLLS and n not in allowed and not n.startswith("api-ms-win-"):
                self.fail(f"imports {n}, which is not a system DLL")

    def skin_archive(self):
        data = self.find("VXZIP_RES", 113, LANG_ZH_CN)
        if data is None:
            return
        try:
            zf = zipfile.ZipFile(io.BytesIO(data))
            bad = zf.testzip()
        except zipfile.BadZipFile as e:
            self.fail(f"VXZIP_RES 113 is not a ZIP archive: {e}")
            return
        if bad:
            self.fail(f"VXZIP_RES 113: member {bad} is damaged")
        names = set(zf.namelist())
        for m in ("VXMainFrame.xml", "VXMsgBox.xml"):
            if m not in names:
                self.fail(f"VXZIP_RES 113 lacks {m}")

    def icon(self, icon_id):
        data = self.find(RT_GROUP_ICON, icon_id, LANG_ZH_CN)
        if data is None:
            return
        reserved, rtype, count = struct.unpack_from("<HHH", data, 0)
        if (reserved, rtype) != (0, 1) or len(data) < 6 + 14 * count:
            self.fail(f"icon group {icon_id} has a bad header")
            return
        sizes = set()
        for i in range(count):
            w, h, _, _, _, bits, size, rid = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i)
            w, h = w or 256, h or 256
            sizes.add(w)
            if w != h:
                self.fail(f"icon {rid} is {w} x {h}")
            image = self.res.get((RT_ICON, rid, LANG_ZH_CN))
            if image is None:
                self.fail(f"icon group {icon_id} names icon {rid}, which is missing")
            elif len(image) != size:
                self.fail(f"icon {rid}: {len(image)} bytes, group says {size}")
        if sizes != ICON_SIZES:
            self.fail(f"icon group {icon_id} sizes {sorted(sizes)}, expected {sorted(ICON_SIZES)}")

    def version(self, want, product):
        data = self.find(RT_VERSION, 1, LANG_ZH_CN)
        if data is None:
            return
        try:
            fv, pv, strings, translations = version_block(data)
        except (PeError, struct.error, UnicodeDecodeError) as e:
            self.fail(f"version block unreadable: {e}")
            return
        if (fv, pv) != (want, want):
            self.fail(f"file/product version {fv}/{pv}, expected {want}")
        for key in ("ProductName", "FileDescription"):
            if strings.get(("080404b0", key)) != product:
                self.fail(f"version string {key} = {strings.get(('080404b0', key))!r}, expected {product!r}")
        if strings.get(("080404b0", "FileVersion")) != want:
            self.fail(f"version string FileVersion = {strings.get(('080404b0', 'FileVersion'))!r}")
        if (LANG_ZH_CN, 1200) not in translations:
            self.fail(f"version translations {translations}, expected 2052/1200")

    def manifest(self, level, arch):
        data = self.find(RT_MANIFEST, 1, LANG_EN_US)
        if data is None:
            return
        try:
            root = ET.fromstring(data)
        except ET.ParseError as e:
            self.fail(f"manifest is not XML: {e}")
            return
        levels = [e for e in root.iter() if local(e.tag) == "requestedExecutionLevel"]
        if len(levels) != 1:
            self.fail(f"manifest has {len(levels)} requestedExecutionLevel elements")
        else:
            if levels[0].get("level") != level:
                self.fail(f"execution level {levels[0].get('level')!r}, expected {level!r}")
            if levels[0].get("uiAccess") != "false":
                self.fail(f"uiAccess {levels[0].get('uiAccess')!r}, expected 'false'")
        deps = [e for e in root.iter() if local(e.tag) == "assemblyIdentity"
                and e.get("name") == "Microsoft.Windows.Common-Controls"]
        if len(deps) != 1:
            self.fail("manifest does not depend on Microsoft.Windows.Common-Controls")
        else:
            d = deps[0]
            if d.get("version") != "6.0.0.0":
                self.fail(f"Common-Controls version {d.get('version')!r}, expected '6.0.0.0'")
            if d.get("processorArchitecture") != MANIFEST_ARCH[arch]:
                self.fail(f"Common-Controls processorArchitecture {d.get('processorArchitecture')!r}, "
                          f"expected {MANIFEST_ARCH[arch]!r}")


def main(argv):
    if not argv:
        print(__doc__)
        return 2
    path, args = argv[0], argv[1:]
    opts = {"allow": set(), "forbid": set()}
    flags = set()
    while args:
        a = args.pop(0)
        if a in ("--gui", "--console", "--installer-resources", "--dump"):
            flags.add(a)
        elif a in ("--arch", "--icon", "--version", "--product", "--manifest"):
            opts[a[2:]] = args.pop(0)
        elif a in ("--allow-import", "--forbid-import"):
            opts["allow" if a == "--allow-import" else "forbid"].add(args.pop(0).lower())
        else:
            print(f"unknown option {a}")
            return 2
    try:
        c = Checker(path)
        if "--dump" in flags:
            print("machine 0x%X magic 0x%X subsystem %d" % (c.pe.machine, c.pe.magic, c.pe.subsystem))
            print("imports:", ", ".join(c.pe.imports()))
            for k, v in sorted(c.res.items(), key=str):
                print("resource", k, len(v), "bytes")
        arch = opts.get("arch")
        if arch not in MACHINES:
            print("--arch x86|x64 is required")
            return 2
        c.arch(arch)
        if "--gui" in flags:
            c.subsystem(SUBSYSTEM_GUI)
        if "--console" in flags:
            c.subsystem(SUBSYSTEM_CONSOLE)
        forbid = set(opts["forbid"])
        if "--installer-resources" in flags:
            forbid.add("msimg32.dll")   # the installer resolves AlphaBlend and GradientFill at run time
        c.imports(opts["allow"], forbid)
        if "--installer-resources" in flags:
            c.skin_archive()
            opts.setdefault("icon", "101")
            opts.setdefault("version", "9.3.3.0")
            opts.setdefault("product", "Ostrel")
            opts.setdefault("manifest", "highestAvailable")
        if "icon" in opts:
            c.icon(int(opts["icon"]))
        if "version" in opts:
            c.version(opts["version"], opts.get("product", "Ostrel"))
        if "manifest" in opts:
            c.manifest(opts["manifest"], arch)
    except (PeError, struct.error, ValueError, IndexError) as e:
        print(f"{path}: malformed PE: {e}")
        return 1
    for f in c.failures:
        print(f"{path}: {f}")
    if not c.failures:
        print(f"{path}: ok")
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
