#!/usr/bin/env python3
"""Small X helpers for driving Ardour's GUI on a private X server.

Used by run-ardour-gui-test.sh, and meant to be reused by further GUI checks.
Needs only the Python standard library, xwininfo, xdotool and ImageMagick
(/usr/bin/import and /usr/bin/convert).  Every sub-command prints one
machine-readable line (key=value pairs) on success and exits non-zero with a
message on stderr otherwise.

    xhelpers.py windows [--all]               shown (or all) titled windows: id, geometry, title
    xhelpers.py wait-window REGEX [TIMEOUT]   first visible window whose title matches
    xhelpers.py wait-gone WINDOW [TIMEOUT]    waits until a window is unmapped/destroyed
    xhelpers.py geometry WINDOW               client and frame geometry of a window
    xhelpers.py tree WINDOW                   all descendants, marking other clients' ones
    xhelpers.py foreign-children WINDOW       descendants created by another X client
    xhelpers.py close WINDOW                  asks the window manager to close it politely
    xhelpers.py popup-at X Y [TIMEOUT]        a shown pop-up (menu) window whose corner is near X,Y
    xhelpers.py shot FILE [WINDOW]            screenshot of the screen or of one window
    xhelpers.py find-entry PNG X Y W H        the plug-in entry of a mixer strip's processor box
    xhelpers.py diff A.png B.png X Y W H      number of pixels that differ inside a region
    xhelpers.py blank PNG                     tells whether a picture is of one colour
    xhelpers.py module-windows BASE...        shown windows made by the clients of those id bases
    xhelpers.py control SKIN_XML NAME         top-left corner of a skin control in the editor
    xhelpers.py chunk SESSION PLUGIN          the plug-in's state chunk in a saved session, as text
    xhelpers.py automation SESSION PLUGIN N   state and point count of the plug-in's parameter N

Window arguments are X ids in decimal or hex (0x...).
"""

import ctypes
import ctypes.util
import json
import os
import re
import subprocess
import sys
import time

CONVERT = os.environ.get("CONVERT", "/usr/bin/convert")
IMPORT = os.environ.get("IMPORT", "/usr/bin/import")

# Xvfb and Xorg hand every client ids that share the bits above this mask;
# a window whose base differs from its parent's was made by another client
# (for a plug-in editor: the module's own X connection).
RESOURCE_ID_MASK = 0x1FFFFF


def die(msg, code=1):
    sys.stderr.write("xhelpers: " + msg + "\n")
    sys.exit(code)


def run(args, timeout=20, check=True):
    res = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
    if check and res.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(args), res.returncode,
                                                    res.stderr.decode(errors="replace").strip()))
    return res.stdout.decode(errors="replace")


def parse_win(s):
    return int(s, 0)


def cmd_module_windows(bases):
    """Every viewable window, anywhere in the tree, made by a client whose id
    base is one of `bases` (the module's X connections)."""
    wanted = {int(b, 0) & ~RESOURCE_ID_MASK for b in bases}
    for t in parse_tree(run(["xwininfo", "-root", "-tree"])):
        if (t["id"] & ~RESOURCE_ID_MASK) not in wanted:
            continue
        try:
            info = window_info(t["id"])
        except RuntimeError:
            continue
        if info["map_state"] == "IsViewable":
            print("id=0x%x x=%d y=%d w=%d h=%d" % (t["id"], info["x"], info["y"], info["w"], info["h"]))


def cmd_control(skin_xml, name):
    """Where the skin places a named control: its <pos left top> after the
    element that carries the name."""
    text = open(skin_xml, encoding="utf-8").read()
    m = re.search(r' name="%s"' % re.escape(name), text)
    if not m:
        die("no control %s in %s" % (name, skin_xml), 2)
    pos = re.compile(r'<pos left="(-?\d+)" top="(-?\d+)"').search(text, m.end())
    if not pos:
        die("control %s has no position" % name, 2)
    print("x=%s y=%s" % (pos.group(1), pos.group(2)))


def processor_node(session, plugin):
    import xml.etree.ElementTree as ET
    root = ET.parse(session).getroot()
    for node in root.iter("Processor"):
        if node.get("name") == plugin and node.get("type") == "lxvst":
            return node
    die("no LXVST processor %s in %s" % (plugin, session), 2)


def cmd_chunk(session, plugin):
    """The state chunk Ardour saved for the plug-in: base64 of our frame (a
    magic word, the text's length), then the XML text."""
    import base64
    chunk = processor_node(session, plugin).find(".//chunk")
    if chunk is None or not (chunk.text or "").strip():
        die("the processor holds no chunk", 2)
    data = base64.b64decode(chunk.text.strip())
    sys.stdout.write(data[8:].rstrip(b"\0").decode("utf-8", "replace") + "\n")


def cmd_automation(session, plugin, parameter):
    node = processor_node(session, plugin)
    for lst in node.iter("AutomationList"):
        if lst.get("automation-id") == "parameter-%s" % parameter:
            events = lst.find("events")
            points = [l for l in (events.text or "").splitlines() if l.strip()] if events is not None else []
            print("state=%s points=%d" % (lst.get("state"), len(points)))
            return
    die("no automation list for parameter %s" % parameter, 2)


# ---------------------------------------------------------------------------
# Window queries

_TREE_LINE = re.compile(
    r'^(?P<indent>\s+)(?P<id>0x[0-9a-f]+) (?P<name>"(?:[^"\\]|\\.)*"|\(has no name\)): '
    r'\((?P<cls>[^)]*)\)\s+(?P<w>\d+)x(?P<h>\d+)\+(?P<x>-?\d+)\+(?P<y>-?\d+)\s+'
    r'\+(?P<ax>-?\d+)\+(?P<ay>-?\d+)')


def parse_tree(text):
    """Windows listed by `xwininfo -tree` (recursive), with their depth."""
    out = []
    for line in text.splitlines():
        m = _TREE_LINE.match(line)
        if not m:
            continue
        name = m.group("name")
        name = name[1:-1] if name.startswith('"') else ""
        out.append({
            "id": int(m.group("id"), 16),
            "depth": len(m.group("indent")),
            "name": name,
            "class": m.group("cls"),
            "w": int(m.group("w")), "h": int(m.group("h")),
            "x": int(m.group("x")), "y": int(m.group("y")),
            "abs_x": int(m.group("ax")), "abs_y": int(m.group("ay")),
        })
    return out


def window_info(win):
    """Geometry and map state of one window, from xwininfo."""
    text = run(["xwininfo", "-id", str(win)])
    def grab(label):
        m = re.search(r"^\s*" + re.escape(label) + r":\s*(-?\S+)", text, re.M)
        return m.group(1) if m else None
    title = re.search(r'xwininfo: Window id: 0x[0-9a-f]+ "(.*)"\s*$', text, re.M)
    return {
        "id": win,
        "title": title.group(1) if title else "",
        "x": int(grab("Absolute upper-left X")), "y": int(grab("Absolute upper-left Y")),
        "w": int(grab("Width")), "h": int(grab("Height")),
        "map_state": grab("Map State"),
    }


def frame_of(win):
    """The window manager's frame around a client window (or the window itself)."""
    cur = win
    root = None
    while True:
        text = run(["xwininfo", "-children", "-id", str(cur)])
        rm = re.search(r"Root window id: (0x[0-9a-f]+)", text)
        pm = re.search(r"Parent window id: (0x[0-9a-f]+)", text)
        root = int(rm.group(1), 16)
        parent = int(pm.group(1), 16)
        if parent in (0, root):
            return cur
        cur = parent


def toplevels():
    """Client windows that carry a title, below the root (through WM frames)."""
    tree = parse_tree(run(["xwininfo", "-root", "-tree"]))
    return [w for w in tree if w["name"]]


def visible_windows(regex):
    try:
        out = run(["xdotool", "search", "--onlyvisible", "--name", regex], check=False)
    except subprocess.TimeoutExpired:
        return []
    return [int(x) for x in out.split()]


def geometry_line(info, frame):
    return ("id=0x%x x=%d y=%d w=%d h=%d frame=0x%x frame_x=%d frame_y=%d frame_w=%d frame_h=%d title=%s"
            % (info["id"], info["x"], info["y"], info["w"], info["h"], frame["id"],
               frame["x"], frame["y"], frame["w"], frame["h"], json.dumps(info["title"])))


# ---------------------------------------------------------------------------
# Polite close: _NET_CLOSE_WINDOW through the window manager, as a close
# button would.  (`xdotool windowclose` destroys the window behind the
# program's back, which makes GTK programs abort.)

class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("l", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def close_window(win):
    lib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    lib.XOpenDisplay.restype = ctypes.c_void_p
    lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    lib.XDefaultRootWindow.restype = ctypes.c_ulong
    lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    lib.XInternAtom.restype = ctypes.c_ulong
    lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    lib.XFlush.argtypes = [ctypes.c_void_p]
    lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    dpy = lib.XOpenDisplay(None)
    if not dpy:
        die("cannot open display %s" % os.environ.get("DISPLAY"))
    ev = _XEvent()
    ev.xclient.type = 33  # ClientMessage
    ev.xclient.send_event = 1
    ev.xclient.window = win
    ev.xclient.message_type = lib.XInternAtom(dpy, b"_NET_CLOSE_WINDOW", 0)
    ev.xclient.format = 32
    ev.xclient.l[0] = 0  # CurrentTime
    ev.xclient.l[1] = 2  # sent on behalf of the user (pager/tool)
    mask = (1 << 19) | (1 << 20)  # SubstructureNotify | SubstructureRedirect
    lib.XSendEvent(dpy, lib.XDefaultRootWindow(dpy), 0, mask, ctypes.byref(ev))
    lib.XFlush(dpy)
    lib.XCloseDisplay(dpy)


# ---------------------------------------------------------------------------
# Pictures

class Picture:
    def __init__(self, path):
        dims = run([CONVERT, path, "-format", "%w %h", "info:"]).split()
        self.w, self.h = int(dims[0]), int(dims[1])
        self.data = subprocess.run([CONVERT, path, "-alpha", "off", "-depth", "8", "rgb:-"],
                                   stdout=subprocess.PIPE, check=True, timeout=30).stdout
        if len(self.data) != self.w * self.h * 3:
            die("unexpected pixel data size for %s" % path)

    def px(self, x, y):
        i = (y * self.w + x) * 3
        return self.data[i], self.data[i + 1], self.data[i + 2]


def clip_region(pic, x, y, w, h):
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(pic.w, x + w), min(pic.h, y + h)
    return x0, y0, x1, y1


def coloured_components(pic, region, min_chroma=10):
    """Entry-like boxes of one colour inside a region.

    Ardour draws its processor entries as colour-filled boxes on an almost
    black box, and everything around them in greys, so colour separates the
    entries; light text inside them leaves holes but not a gap.  The pin
    wires drawn between entries touch them, so pixels join only pixels of
    the same dominant channel (wires are green, our pre-fader entry red, the
    Fader blue), and each area is then cut down to its rows that are mostly
    filled, which drops one-pixel marks glued to an entry's edge.
    """
    x0, y0, x1, y1 = region
    parent = {}

    def find(a):
        while parent[a] != a:
            parent[a] = parent[parent[a]]
            a = parent[a]
        return a

    def union(a, b):
        ra, rb = find(a), find(b)
        if ra != rb:
            parent[rb] = ra

    def hue(r, g, b):
        hi = max(r, g, b)
        if hi - min(r, g, b) < min_chroma:
            return -1
        return 0 if r == hi else (1 if g == hi else 2)

    runs_prev = []
    all_runs = []
    data, w = pic.data, pic.w
    for y in range(y0, y1):
        row = data[(y * w + x0) * 3:(y * w + x1) * 3]
        runs = []
        start, cls = None, -1
        for i in range(0, len(row), 3):
            c = hue(row[i], row[i + 1], row[i + 2])
            if c != cls:
                if cls >= 0:
                    runs.append((x0 + start, x0 + i // 3, cls))
                start, cls = i // 3, c
        if cls >= 0:
            runs.append((x0 + start, x1, cls))
        cur = []
        j = 0
        for (a, b, c) in runs:
            key = (y, a)
            parent[key] = key
            cur.append((a, b, c, key))
            all_runs.append((y, a, b, c, key))
            while j < len(runs_prev) and runs_prev[j][1] <= a:
                j += 1
            k = j
            while k < len(runs_prev) and runs_prev[k][0] < b:
                if runs_prev[k][2] == c:
                    union(key, runs_prev[k][3])
                k += 1
        runs_prev = cur

    groups = {}
    for (y, a, b, c, key) in all_runs:
        groups.setdefault(find(key), []).append((y, a, b, c))
    out = []
    for runs in groups.values():
        rows = {}
        for (y, a, b, c) in runs:
            r = rows.setdefault(y, [0, a, b])
            r[0] += b - a
            r[1] = min(r[1], a)
            r[2] = max(r[2], b)
        widest = max(r[0] for r in rows.values())
        # longest stretch of consecutive rows that are at least half filled
        best, cur_rows = [], []
        for y in sorted(rows):
            if rows[y][0] >= 0.5 * widest and (not cur_rows or cur_rows[-1] == y - 1):
                cur_rows.append(y)
            else:
                if len(cur_rows) > len(best):
                    best = cur_rows
                cur_rows = [y] if rows[y][0] >= 0.5 * widest else []
        if len(cur_rows) > len(best):
            best = cur_rows
        if not best:
            continue
        c = {"x0": min(rows[y][1] for y in best), "x1": max(rows[y][2] for y in best),
             "y0": best[0], "y1": best[-1] + 1, "area": sum(rows[y][0] for y in best),
             "hue": "rgb"[runs[0][3]]}
        c["w"] = c["x1"] - c["x0"]
        c["h"] = c["y1"] - c["y0"]
        out.append(c)
    return out


def find_plugin_entry(pic, region):
    """Locates the plug-in entry of a mixer strip's processor box.

    A MIDI track strip's processor box holds our instrument directly above
    Ardour's own "Fader" entry, which is drawn blue in every stock theme.
    We take each entry-sized coloured box that is blue, then the entry-sized
    box sitting right above it and spanning the same columns.  The master
    bus strip also has a Fader but nothing above it, so it never matches.
    Among several strips the leftmost wins (our single track).
    """
    comps = coloured_components(pic, region)
    entries = [c for c in comps
               if 50 <= c["w"] <= 400 and 10 <= c["h"] <= 40 and c["area"] >= 0.5 * c["w"] * c["h"]]
    faders = [c for c in entries if c["hue"] == "b"]
    found = []
    for f in faders:
        for e in entries:
            if e is f:
                continue
            gap = f["y0"] - e["y1"]
            overlap = min(e["x1"], f["x1"]) - max(e["x0"], f["x0"])
            if 0 <= gap <= 60 and overlap >= 0.8 * min(e["w"], f["w"]) and abs(e["h"] - f["h"]) <= 6:
                found.append((e, f))
    if not found:
        return None, entries
    # the entry closest to its fader, in the leftmost strip
    found.sort(key=lambda ef: (ef[1]["x0"], ef[1]["y0"] - ef[0]["y1"]))
    return found[0], entries


def cmd_find_entry(png, x, y, w, h):
    pic = Picture(png)
    region = clip_region(pic, x, y, w, h)
    match, entries = find_plugin_entry(pic, region)
    if match is None:
        sys.stderr.write("entry-sized coloured boxes seen: %s\n" % json.dumps(
            [{k: e[k] for k in ("x0", "y0", "w", "h", "hue")} for e in entries]))
        die("no processor entry above a Fader entry found in region %d,%d %dx%d" % (x, y, w, h), 2)
    e, f = match
    # The entry's left end holds its on/off LED: a click there would toggle
    # the plug-in, so aim at the middle of the name, right of the LED.
    cx = e["x0"] + int(e["w"] * 0.6)
    cy = e["y0"] + e["h"] // 2
    print("entry_x=%d entry_y=%d entry_w=%d entry_h=%d entry_hue=%s click_x=%d click_y=%d fader_x=%d fader_y=%d fader_w=%d fader_h=%d"
          % (e["x0"], e["y0"], e["w"], e["h"], e["hue"], cx, cy, f["x0"], f["y0"], f["w"], f["h"]))


def cmd_diff(a, b, x, y, w, h):
    pa, pb = Picture(a), Picture(b)
    if (pa.w, pa.h) != (pb.w, pb.h):
        die("pictures differ in size")
    x0, y0, x1, y1 = clip_region(pa, x, y, w, h)
    n = 0
    for yy in range(y0, y1):
        s = (yy * pa.w + x0) * 3
        e = (yy * pa.w + x1) * 3
        ra, rb = pa.data[s:e], pb.data[s:e]
        if ra != rb:
            for i in range(0, len(ra), 3):
                if ra[i:i + 3] != rb[i:i + 3]:
                    n += 1
    print("changed=%d" % n)


def cmd_blank(png):
    pic = Picture(png)
    seen = {bytes(pic.data[0:3])}
    for i in range(0, len(pic.data), 3 * 7):  # sampled: enough to tell a painted picture
        seen.add(bytes(pic.data[i:i + 3]))
        if len(seen) > 64:
            break
    distinct = len(seen)
    print("blank=%d distinct_colours_sampled=%d w=%d h=%d" % (1 if distinct == 1 else 0, distinct, pic.w, pic.h))


# ---------------------------------------------------------------------------

def main(argv):
    if len(argv) < 2:
        die(__doc__.strip(), 64)
    cmd, args = argv[1], argv[2:]
    try:
        if cmd == "windows":
            for w in toplevels():
                try:
                    state = window_info(w["id"])["map_state"]
                except RuntimeError:
                    continue
                if state == "IsViewable" or "--all" in args:
                    print("id=0x%x x=%d y=%d w=%d h=%d state=%s title=%s" % (
                        w["id"], w["abs_x"], w["abs_y"], w["w"], w["h"], state, json.dumps(w["name"])))
        elif cmd == "wait-window":
            regex = args[0]
            timeout = float(args[1]) if len(args) > 1 else 30
            end = time.monotonic() + timeout
            while True:
                ids = visible_windows(regex)
                if ids:
                    info = window_info(ids[0])
                    print("id=0x%x title=%s" % (ids[0], json.dumps(info["title"])))
                    return
                if time.monotonic() > end:
                    die("no visible window titled /%s/ within %gs" % (regex, timeout), 3)
                time.sleep(0.25)
        elif cmd == "wait-gone":
            win = parse_win(args[0])
            timeout = float(args[1]) if len(args) > 1 else 10
            end = time.monotonic() + timeout
            while True:
                try:
                    info = window_info(win)
                    if info["map_state"] != "IsViewable":
                        print("gone=unmapped")
                        return
                except RuntimeError:
                    print("gone=destroyed")
                    return
                if time.monotonic() > end:
                    die("window 0x%x still shown after %gs" % (win, timeout), 3)
                time.sleep(0.25)
        elif cmd == "geometry":
            win = parse_win(args[0])
            info = window_info(win)
            frame = window_info(frame_of(win))
            print(geometry_line(info, frame))
        elif cmd in ("tree", "foreign-children"):
            win = parse_win(args[0])
            base = win & ~RESOURCE_ID_MASK
            tree = parse_tree(run(["xwininfo", "-tree", "-id", str(win)]))
            for t in tree:
                foreign = (t["id"] & ~RESOURCE_ID_MASK) != base
                if cmd == "tree" or foreign:
                    print("%sid=0x%x w=%d h=%d x=%d y=%d abs_x=%d abs_y=%d foreign=%d name=%s" % (
                        " " * max(0, t["depth"] - 5), t["id"], t["w"], t["h"], t["x"], t["y"],
                        t["abs_x"], t["abs_y"], 1 if foreign else 0, json.dumps(t["name"])))
        elif cmd == "popup-at":
            px, py = int(args[0]), int(args[1])
            timeout = float(args[2]) if len(args) > 2 else 5
            end = time.monotonic() + timeout
            while True:
                # menus are override-redirect children of the root, so they
                # sit at depth one of the tree with no window manager frame
                tree = parse_tree(run(["xwininfo", "-root", "-children"]))
                for t in tree:
                    if t["w"] < 60 or t["h"] < 40:
                        continue
                    if abs(t["abs_x"] - px) > 40 or abs(t["abs_y"] - py) > 40:
                        continue
                    info = window_info(t["id"])
                    if info["map_state"] == "IsViewable":
                        print("id=0x%x x=%d y=%d w=%d h=%d" % (t["id"], info["x"], info["y"], info["w"], info["h"]))
                        return
                if time.monotonic() > end:
                    die("no pop-up window near %d,%d within %gs" % (px, py, timeout), 3)
                time.sleep(0.2)
        elif cmd == "close":
            close_window(parse_win(args[0]))
            print("closed=requested")
        elif cmd == "shot":
            target = ["-window", str(parse_win(args[1]))] if len(args) > 1 else ["-window", "root"]
            run([IMPORT, "-silent"] + target + [args[0]], timeout=30)
            print("file=%s" % args[0])
        elif cmd == "find-entry":
            cmd_find_entry(args[0], *[int(v) for v in args[1:5]])
        elif cmd == "diff":
            cmd_diff(args[0], args[1], *[int(v) for v in args[2:6]])
        elif cmd == "blank":
            cmd_blank(args[0])
        elif cmd == "module-windows":
            cmd_module_windows(args)
        elif cmd == "control":
            cmd_control(args[0], args[1])
        elif cmd == "chunk":
            cmd_chunk(args[0], args[1])
        elif cmd == "automation":
            cmd_automation(args[0], args[1], args[2])
        else:
            die("unknown command %s" % cmd, 64)
    except (RuntimeError, subprocess.TimeoutExpired, IndexError, ValueError) as exc:
        die("%s: %s" % (cmd, exc))


if __name__ == "__main__":
    main(sys.argv)
