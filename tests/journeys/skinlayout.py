"""Where the installer's controls are: a small layout of the skin files, enough for the journeys to
click a control at its place. It follows the engine's rules for what the installer's skins use:
vertical and horizontal stacks with fixed sizes, paddings and flexible children that share the rest,
float controls placed by "pos" relative to their parent, tab layouts whose pages fill them."""

import xml.etree.ElementTree as ET

CONTAINERS = {"VerticalLayout", "HorizontalLayout", "TabLayout", "Container"}


def _ints(text, n=4):
    parts = [int(p) for p in (text or "").split(",") if p.strip() != ""]
    return (parts + [0] * n)[:n]


class Placed:
    def __init__(self, node, rect):
        self.node = node
        self.rect = rect  # left, top, right, bottom in client coordinates

    @property
    def centre(self):
        l, t, r, b = self.rect
        return (l + r) // 2, (t + b) // 2


def _visible(node):
    return (node.get("visible") or "true").lower() != "false"


def _layout(node, rect, out):
    name = node.get("name")
    if name:
        out[name] = Placed(node, rect)
    if node.tag not in CONTAINERS and node.tag != "Window":
        return
    inset = _ints(node.get("inset"))
    l, t, r, b = rect[0] + inset[0], rect[1] + inset[1], rect[2] - inset[2], rect[3] - inset[3]
    children = [c for c in node if c.tag not in ("Font", "Default", "Image", "Style", "Include")]
    if node.tag in ("TabLayout", "Window"):
        for c in children:
            _layout(c, (l, t, r, b), out)
        return
    vertical = node.tag in ("VerticalLayout", "Container")
    flowing = [c for c in children if (c.get("float") or "").lower() != "true" and _visible(c)]
    fixed_total, flex = 0, 0
    for c in flowing:
        pad = _ints(c.get("padding"))
        size = int(c.get("height" if vertical else "width") or 0)
        fixed_total += (pad[1] + pad[3]) if vertical else (pad[0] + pad[2])
        if size > 0:
            fixed_total += size
        else:
            flex += 1
    room = (b - t) if vertical else (r - l)
    share = (room - fixed_total) // flex if flex else 0
    pos = t if vertical else l
    for c in children:
        pad = _ints(c.get("padding"))
        if (c.get("float") or "").lower() == "true":
            p = _ints(c.get("pos"))
            _layout(c, (rect[0] + p[0], rect[1] + p[1], rect[0] + p[2], rect[1] + p[3]), out)
            continue
        if not _visible(c):
            continue
        w = int(c.get("width") or 0)
        h = int(c.get("height") or 0)
        if vertical:
            size = h if h > 0 else share
            top = pos + pad[1]
            left = l + pad[0]
            right = left + w if w > 0 else r - pad[2]
            _layout(c, (left, top, right, top + size), out)
            pos = top + size + pad[3]
        else:
            size = w if w > 0 else share
            left = pos + pad[0]
            top = t + pad[1]
            bottom = top + h if h > 0 else b - pad[3]
            _layout(c, (left, top, left + size, bottom), out)
            pos = left + size + pad[2]


def layout(skin_path):
    """Name -> Placed for every named control of the skin, in client coordinates."""
    root = ET.parse(skin_path).getroot()
    w, h = _ints(root.get("size"), 2)
    out = {}
    _layout(root, (0, 0, w, h), out)
    return out
