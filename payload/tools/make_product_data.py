#!/usr/bin/env python3
"""Writes the demo product's data files (everything but its two programs) into a folder.

    make_product_data.py OUT_DIR

About 6 MB of deterministic content shaped like a recorder's assets: synthesised sound
effects (WAV), effect presets and filter lookup tables (binary, smooth and partly noisy),
cursor overlay frames, language tables and a readme. Compressible the way real assets are,
not uniformly random and not trivially repetitive.
"""
import json
import math
import os
import random
import struct
import sys

VERSION = "9.3.3.0"


def write(root, rel, data):
    path = os.path.join(root, *rel.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(path, mode, **({} if mode == "wb" else {"encoding": "utf-8", "newline": "\r\n"})) as f:
        f.write(data)


def wav(seconds, tones, rnd, rate=44100, decay=3.0):
    """16-bit mono PCM: decaying tones with a little noise."""
    n = int(seconds * rate)
    frames = bytearray()
    for i in range(n):
        t = i / rate
        env = math.exp(-t * decay)
        v = sum(a * math.sin(2 * math.pi * f * t) for f, a in tones) * env
        v += rnd.gauss(0, 0.01)
        frames += struct.pack("<h", max(-32767, min(32767, int(v * 20000))))
    head = b"RIFF" + struct.pack("<I", 36 + len(frames)) + b"WAVEfmt "
    head += struct.pack("<IHHIIHH", 16, 1, 1, rate, rate * 2, 2, 16) + b"data" + struct.pack("<I", len(frames))
    return head + bytes(frames)


def lut3d(size, rnd, tint):
    """A colour lookup table: a smooth grade with a little per-entry jitter, RGB bytes."""
    out = bytearray(b"VXLUT\x00" + struct.pack("<H", size))
    for b in range(size):
        for g in range(size):
            for r in range(size):
                x = [r / (size - 1), g / (size - 1), b / (size - 1)]
                for k in range(3):
                    v = x[k] ** (1.0 + 0.15 * tint[k]) * 255 + rnd.randint(-1, 1)
                    out.append(max(0, min(255, int(v))))
    return bytes(out)


def preset(rnd, index):
    """An effect preset: a header, keyframe curves as floats, and an opaque state blob."""
    keys = rnd.randint(900, 1400)
    body = bytearray(b"VXFX" + struct.pack("<HHI", 3, index, keys))
    phase, speed = rnd.random() * 6.28, rnd.uniform(0.002, 0.02)
    for k in range(keys):
        body += struct.pack("<fff", k / 30.0, round(math.sin(phase + k * speed), 3), round(rnd.random(), 2))
    body += bytes(rnd.getrandbits(8) for _ in range(rnd.randint(6000, 12000)))  # encoded state
    return bytes(body)


def cursor_frames(rnd, count, size=48):
    """RGBA frames of a pulsing click ring."""
    out = bytearray(b"VXCUR" + struct.pack("<BHH", 1, count, size))
    for f in range(count):
        radius = 6 + 16 * f / max(1, count - 1)
        for y in range(size):
            for x in range(size):
                d = abs(math.hypot(x - size / 2, y - size / 2) - radius)
                a = max(0, 255 - int(d * 90)) if d < 3 else 0
                out += bytes((255, 200, 80, a))
    return bytes(out)


STRINGS = [
    ("app.title", "Ostrel", "Ostrel"),
    ("record.start", "开始录制", "Start recording"),
    ("record.stop", "停止录制", "Stop recording"),
    ("record.pause", "暂停", "Pause"),
    ("record.area", "选择录制区域", "Select an area"),
    ("record.fullscreen", "全屏录制", "Full screen"),
    ("record.window", "录制窗口", "Record a window"),
    ("audio.system", "系统声音", "System sound"),
    ("audio.mic", "麦克风", "Microphone"),
    ("camera.overlay", "摄像头画中画", "Camera overlay"),
    ("edit.trim", "剪切", "Trim"),
    ("edit.join", "拼接", "Join"),
    ("edit.caption", "添加字幕", "Add captions"),
    ("export.title", "导出视频", "Export video"),
    ("export.quality", "画质", "Quality"),
    ("share.link", "复制分享链接", "Copy share link"),
    ("settings.hotkeys", "快捷键", "Hotkeys"),
    ("settings.folder", "保存位置", "Save to"),
]


def language(col, rnd):
    lines = ["; Ostrel string table", f"; version {VERSION}", "[strings]"]
    for key, zh, en in STRINGS:
        lines.append(f"{key}={(zh, en)[col]}")
    lines.append("[tips]")
    for i in range(400):
        key, zh, en = rnd.choice(STRINGS)
        text = (f"提示 {i}：使用“{zh}”可以更快完成工作。", f"Tip {i}: use \"{en}\" to get there faster.")[col]
        lines.append(f"tip{i:03d}={text}")
    return "\n".join(lines) + "\n"


README = f"""Ostrel {VERSION}

Ostrel records your screen, your voice and your camera, trims and joins the clips, and
exports them ready to share.

This copy is the demonstration product of the Ostrel installer: VXApp.exe opens a window that
shows the installed version and the folder it runs from. VXUnInstall.exe is a stand-in for
the uninstaller.

Folders
  sounds\\    interface sounds
  effects\\   transition and filter presets
  luts\\      colour grades
  cursors\\   click highlight frames
  lang\\      string tables
"""


def main():
    root = sys.argv[1]
    rnd = random.Random(20240101)
    write(root, "readme.txt", README)
    for name, tones, secs in (("start", [(660, 0.6), (990, 0.3)], 0.9), ("stop", [(520, 0.6), (390, 0.3)], 0.9),
                              ("shutter", [(1200, 0.4), (2400, 0.2)], 0.5), ("notify", [(880, 0.5), (1320, 0.3)], 1.4),
                              ("countdown", [(440, 0.7)], 1.2)):
        write(root, f"sounds/{name}.wav", wav(secs, tones, rnd))
    write(root, "sounds/intro_loop.wav", wav(9.0, [(220, 0.3), (277.2, 0.25), (329.6, 0.25), (440, 0.1)], rnd, decay=0.05))
    for i in range(24):
        write(root, f"effects/preset_{i:02d}.vxfx", preset(rnd, i))
    for i, tint in enumerate(([1, 0, -1], [-1, 0, 1], [0, 1, 0], [1, 1, -1], [0, -1, 1], [-1, 1, 0],
                              [1, -1, 1], [0, 0, 1])):
        write(root, f"luts/grade_{i}.vxlut", lut3d(49, rnd, tint))
    write(root, "cursors/click_ring.vxcur", cursor_frames(rnd, 24))
    write(root, "cursors/click_ring_large.vxcur", cursor_frames(rnd, 16, 72))
    write(root, "lang/zh-CN.ini", language(0, rnd))
    write(root, "lang/en-US.ini", language(1, rnd))
    write(root, "config/default.json", json.dumps({
        "version": VERSION, "fps": 30, "format": "mp4", "audio": {"system": True, "mic": False},
        "hotkeys": {"start": "Alt+F1", "stop": "Alt+F2", "pause": "Alt+F3"},
        "presets": [f"effects/preset_{i:02d}.vxfx" for i in range(24)]}, indent=2, ensure_ascii=False) + "\n")


if __name__ == "__main__":
    main()
