"""The driver behind scripts/monkey: random window-system input to a real KIVRA.

Runs the program and the simulated analyzer as an unprivileged user in a scratch home, sends
seeded random input through xdotool, and fails on a crash, a sanitizer report, a hang or a
core spinning while nothing happens. Standard library only; the X queries use libX11 through
ctypes. See scripts/monkey for the options.
"""

import argparse
import ctypes
import os
import pwd
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HANG_S = 5.0            # no repaint for this long is a hang
SLOW_S = 2.0            # a repaint later than this is noted
BUSY_S = 5.0            # a core busy this long while idle is a fault ...
BUSY_SHARE = 0.9        # ... above this share
CHECK_EVERY = 100       # actions between liveness checks
START_S = 60.0          # a sanitizer build on a loaded machine starts slowly
PAUSE_S = 0.03          # between actions, so input does not pile up unread
COVER_RGB = 0x135799    # the colour no window of the program paints by itself
MAIN_TITLE = "KIVRA Antenne"
# Menu bar captions "Function", "Configuration", "Exit": their centres in the main window
# with the default sans-serif face.
MENU_X = (30, 103, 162)
MENU_Y = 9

TEXTS = ["0", "1", "7", "50", "600", "10000", "-1", "+5", "1.5", "7.000", "1.81", "29.9",
         "30.5", "1e9", "1e-9", "-0", "1e308", "abc", "1,5", "3,14", "ěščřžýáí", "Ω", "µ",
         "99999999999", "0.0001", "nan", "inf", "--", "..", "0x10", "2 3", "-50.5"]
KEYS = (["Tab", "shift+Tab", "space", "Return", "KP_Enter", "Escape", "Escape", "Left",
         "Right", "Up", "Down", "Home", "End", "Prior", "Next", "BackSpace", "Delete",
         "Insert", "Menu"]
        + ["F%d" % n for n in range(1, 13)]
        + ["ctrl+" + k for k in "acvxzsoqwnp"] + ["ctrl+Return", "ctrl+Tab", "ctrl+shift+z"]
        + ["alt+" + k for k in "fcekx"] + ["alt+F4", "alt+Tab", "alt+Down", "alt+space"]
        + list("abcxyz019") + ["minus", "plus", "period", "comma", "shift+a"])
LOADS = [["--load", "dipole", "--f0", "1.9"], ["--load", "dipole", "--f0", "7.1"],
         ["--load", "dummy"], ["--load", "dummy", "--noise", "5"],
         ["--load", "rlc", "--f0", "14.2", "--q", "20"], ["--load", "rlc", "--f0", "3.6"],
         ["--load", "open", "--length", "12.5"], ["--load", "short", "--length", "3"],
         ["--load", "short", "--z0", "75", "--noise", "2"]]
BAUDS = ["4800", "4800", "9600", "19200", "0", "2400"]


# ---- the generator ----------------------------------------------------------------------

def coordinate(rng):
    return "%.3f" % rng.random()


def generate(rng, count):
    """A list of action lines, a function of the generator's state alone, so that a seed
    always gives the same list and any list can be replayed."""
    kinds = [("click", 25), ("column", 12), ("measure", 4), ("bands", 5), ("rclick", 4),
             ("dclick", 3), ("drag", 6), ("key", 20), ("escape", 6), ("type", 8),
             ("menu", 8), ("wait", 2), ("resize", 1.5), ("simkill", 0.6), ("simstart", 1)]
    names = [k for k, _ in kinds]
    weights = [w for _, w in kinds]
    out = []
    for _ in range(count):
        kind = rng.choices(names, weights)[0]
        if kind == "click":
            out.append("click 1 %s %s" % (coordinate(rng), coordinate(rng)))
        elif kind == "column":  # the measure button, curve, axis, cable and type groups
            out.append("click 1 %d %s" % (-rng.randint(2, 99), coordinate(rng)))
        elif kind == "measure":
            out.append("click 1 -%d %d" % (rng.randint(20, 80), rng.randint(24, 40)))
        elif kind == "escape":  # leaves a dialog or a menu now and then
            out.append("key Escape")
        elif kind == "bands":
            out.append("click 1 %.3f %d" % (rng.uniform(0.3, 0.9), rng.randint(18, 34)))
        elif kind == "rclick":
            out.append("click 3 %s %s" % (coordinate(rng), coordinate(rng)))
        elif kind == "dclick":
            out.append("dclick 1 %s %s" % (coordinate(rng), coordinate(rng)))
        elif kind == "drag":  # in the graph, between the Smith chart and the right column
            out.append("drag %.3f %.3f %.3f %.3f" % (rng.uniform(0.32, 0.9),
                       rng.uniform(0.1, 0.8), rng.uniform(0.25, 0.95), rng.uniform(0.05, 0.9)))
        elif kind == "key":
            out.append("key " + rng.choice(KEYS))
        elif kind == "type":
            out.append("type " + rng.choice(TEXTS))
        elif kind == "menu":
            item = rng.choices([0, 1, 2], [5, 3, 2])[0]
            out.append("menu %d %s" % (item, coordinate(rng)))
        elif kind == "wait":
            out.append("wait %d" % rng.choice([200, 500, 1000, 1500]))
        elif kind == "resize":
            if rng.random() < 0.3:
                out.append("resize 1144 604")
            else:
                out.append("resize %d %d" % (rng.randint(150, 1500), rng.randint(100, 1000)))
        elif kind == "simkill":
            out.append("simkill " + rng.choice(["TERM", "KILL"]))
        else:
            out.append("simstart")
    return out


def sim_arguments(rng):
    return rng.choice(LOADS) + ["--baud", rng.choice(BAUDS)]


# ---- the window system --------------------------------------------------------------------

class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int),
                ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("c_class", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XSetWindowAttributes(ctypes.Structure):
    _fields_ = [("background_pixmap", ctypes.c_ulong), ("background_pixel", ctypes.c_ulong),
                ("border_pixmap", ctypes.c_ulong), ("border_pixel", ctypes.c_ulong),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("cursor", ctypes.c_ulong)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class Window:
    def __init__(self, wid, x, y, width, height, popup, transient, pid):
        self.id, self.x, self.y, self.width, self.height = wid, x, y, width, height
        self.popup, self.transient, self.pid = popup, transient, pid


ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class Display:
    """The few X requests the driver needs to see the program's windows, never to drive
    them: input goes through xdotool."""

    def __init__(self, name):
        x = ctypes.CDLL("libX11.so.6")
        self.x = x
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 4
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p]
        x.XGetWindowProperty.argtypes = ([ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong,
                                          ctypes.c_long, ctypes.c_long, ctypes.c_int,
                                          ctypes.c_ulong] + [ctypes.c_void_p] * 5)
        x.XTranslateCoordinates.argtypes = ([ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong,
                                             ctypes.c_int, ctypes.c_int] + [ctypes.c_void_p] * 3)
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XCreateWindow.restype = ctypes.c_ulong
        x.XCreateWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_uint, ctypes.c_int,
                                    ctypes.c_uint, ctypes.c_void_p, ctypes.c_ulong,
                                    ctypes.c_void_p]
        for request in ("XMapRaised", "XUnmapWindow", "XDestroyWindow"):
            getattr(x, request).argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XGetImage.restype = ctypes.POINTER(XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XDestroyImage.argtypes = [ctypes.c_void_p]
        x.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
        # A window that vanishes between two requests is normal here, not a reason to exit.
        self.on_error = ERROR_HANDLER(lambda d, e: 0)
        x.XSetErrorHandler(self.on_error)
        self.dpy = x.XOpenDisplay(name.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display " + name)
        self.root = x.XDefaultRootWindow(self.dpy)
        self.screen = (x.XDisplayWidth(self.dpy, 0), x.XDisplayHeight(self.dpy, 0))
        self.atom_pid = x.XInternAtom(self.dpy, b"_NET_WM_PID", 0)
        self.atom_transient = 68  # WM_TRANSIENT_FOR

    def _property(self, wid, atom):
        kind, fmt = ctypes.c_ulong(), ctypes.c_int()
        count, after = ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        if self.x.XGetWindowProperty(self.dpy, wid, atom, 0, 1, 0, 0, ctypes.byref(kind),
                                     ctypes.byref(fmt), ctypes.byref(count),
                                     ctypes.byref(after), ctypes.byref(data)) != 0:
            return None
        value = None
        if data.value:
            if count.value >= 1 and fmt.value == 32:
                value = ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[0]
            self.x.XFree(data)
        return value

    def _children(self, wid):
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.x.XQueryTree(self.dpy, wid, ctypes.byref(root), ctypes.byref(parent),
                                 ctypes.byref(children), ctypes.byref(count)):
            return []
        result = [children[i] for i in range(count.value)]
        if children:
            self.x.XFree(children)
        return result

    def windows(self):
        """The viewable top-level windows, bottom to top, each with the process it names.
        Under a window manager the client window sits one level below its frame."""
        found = []
        for top in self._children(self.root):
            attrs = XWindowAttributes()
            if not self.x.XGetWindowAttributes(self.dpy, top, ctypes.byref(attrs)):
                continue
            if attrs.map_state != 2 or attrs.width < 4 or attrs.height < 4:
                continue
            client = top
            pid = self._property(top, self.atom_pid)
            if pid is None:
                for child in self._children(top):
                    pid = self._property(child, self.atom_pid)
                    if pid is not None:
                        client = child
                        break
            x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
            self.x.XTranslateCoordinates(self.dpy, client, self.root, 0, 0, ctypes.byref(x),
                                         ctypes.byref(y), ctypes.byref(child))
            cattrs = XWindowAttributes()
            self.x.XGetWindowAttributes(self.dpy, client, ctypes.byref(cattrs))
            found.append(Window(client, x.value, y.value, cattrs.width or attrs.width,
                                cattrs.height or attrs.height, bool(attrs.override_redirect),
                                self._property(client, self.atom_transient) is not None, pid))
        return found

    def count_colour(self, x, y, width, height, rgb):
        image = self.x.XGetImage(self.dpy, self.root, x, y, width, height, 0xFFFFFFFF, 2)
        if not image:
            return -1
        img = image.contents
        count = 0
        if img.bits_per_pixel == 32:
            raw = ctypes.string_at(img.data, img.bytes_per_line * img.height)
            for row in range(img.height):
                line = raw[row * img.bytes_per_line:row * img.bytes_per_line + 4 * img.width]
                pixels = memoryview(line).cast("I")
                count += sum(1 for p in pixels if (p & 0xFFFFFF) == rgb)
        self.x.XDestroyImage(image)
        return count

    def cover(self, x, y, width, height):
        """Maps a plain window of COVER_RGB over the area; returns its id."""
        attrs = XSetWindowAttributes()
        attrs.background_pixel = COVER_RGB
        attrs.override_redirect = 1
        wid = self.x.XCreateWindow(self.dpy, self.root, x, y, width, height, 0, 0, 1, None,
                                   (1 << 1) | (1 << 9), ctypes.byref(attrs))
        self.x.XMapRaised(self.dpy, wid)
        self.x.XSync(self.dpy, 0)
        return wid

    def uncover(self, wid):
        self.x.XUnmapWindow(self.dpy, wid)
        self.x.XDestroyWindow(self.dpy, wid)
        self.x.XSync(self.dpy, 0)


# ---- the processes ----------------------------------------------------------------------

class Failure(Exception):
    pass


def cpu_seconds(pid):
    """Seconds the program's main thread ran or stood ready to run: a loop that spins counts
    in full even when other work on the machine keeps it from a core."""
    try:
        with open("/proc/%d/schedstat" % pid) as f:
            run, wait = f.read().split()[:2]
        return (int(run) + int(wait)) / 1e9
    except (FileNotFoundError, ValueError):
        if not os.path.exists("/proc/%d" % pid):
            raise FileNotFoundError(pid)
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


SANITIZER = re.compile(r"^==\d+==ERROR: |: runtime error: |^WARNING: ThreadSanitizer", re.M)


def sanitizer_report(text):
    """The first sanitizer report in a log, whole: from its banner to its summary."""
    match = SANITIZER.search(text)
    if not match:
        return None
    start = text.rfind("\n", 0, match.start()) + 1
    banner = text.rfind("=================", 0, start)
    if banner >= 0 and start - banner < 200:
        start = banner
    end = text.find("SUMMARY: ", match.start())
    end = len(text) if end < 0 else text.find("\n", end) % (len(text) + 1)
    tail = text.find("==ABORTING", end)
    if 0 <= tail < end + 200:
        end = text.find("\n", tail) % (len(text) + 1)
    return text[start:end if end > 0 else len(text)]


class Monkey:
    def __init__(self, args, actions, sim_args, seed):
        self.args, self.actions, self.sim_args, self.seed = args, actions, sim_args, seed
        self.done = self.restarts = self.dialogs = self.slow = 0
        self.seen = set()
        self.program = self.sim = None
        self.runs = 0
        self.sim_runs = 0
        self.xvfb = None
        self.main = None
        self.prepare()

    # -- scratch home and the unprivileged user
    def prepare(self):
        # Outside every folder the user could write to: those are hidden from it below.
        base = "/run" if os.getuid() == 0 and os.access("/run", os.W_OK) else None
        self.scratch = tempfile.mkdtemp(prefix="kivra-monkey-", dir=base)
        os.chmod(self.scratch, 0o755)
        s = self.scratch
        self.home = os.path.join(s, "home")
        self.config = os.path.join(self.home, ".config")
        self.runtime = os.path.join(s, "run")
        self.tmp = os.path.join(s, "tmp")
        for d in (self.home, self.config, self.runtime, self.tmp, os.path.join(s, "bin")):
            os.makedirs(d, exist_ok=True)
        os.chmod(self.runtime, 0o700)
        os.chmod(self.tmp, 0o1777)
        # Copies the user can read whatever the permissions of the build tree.
        build = self.args.build
        self.kivra = os.path.join(s, "bin", "kivra")
        self.simulator = os.path.join(s, "bin", "kivra-analyzer-sim")
        shutil.copy2(os.path.join(build, "src", "app", "kivra"), self.kivra)
        shutil.copy2(os.path.join(build, "tools", "analyzer-sim", "kivra-analyzer-sim"),
                     self.simulator)
        self.suppressions = os.path.join(s, "bin", "lsan.supp")
        shutil.copy2(os.path.join(self.args.source, "tests", "lsan.supp"),
                     self.suppressions)
        self.wrap = []
        self.uid = os.getuid()
        self.private_tmp = False
        if os.getuid() == 0:
            user = pwd.getpwnam("nobody")
            self.uid, gid = user.pw_uid, user.pw_gid
            for root, dirs, files in os.walk(s):
                for name in dirs + files:
                    os.lchown(os.path.join(root, name), self.uid, gid)
            os.lchown(s, 0, 0)
            setpriv = ["setpriv", "--reuid=%d" % self.uid, "--regid=%d" % gid,
                       "--clear-groups", "--inh-caps=-all", "--"]
            # A mount namespace of its own hides every folder the user could write to
            # (/tmp and its kind) behind the scratch one, so no dialog can leave a file
            # outside the scratch home. X is reached through its abstract socket.
            shared = [d for d in ("/tmp", "/var/tmp", "/dev/shm", "/run/lock")
                      if os.path.isdir(d)]
            binds = " && ".join('mount --bind "$0" %s' % d for d in shared)
            probe = subprocess.run(["unshare", "--mount", "--propagation", "private", "--",
                                    "/bin/sh", "-c", binds, self.tmp],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if probe.returncode == 0:
                self.private_tmp = True
                self.wrap = ["unshare", "--mount", "--propagation", "private", "--",
                             "/bin/sh", "-c", binds + ' && exec "$@"', self.tmp] + setpriv
            else:
                print("monkey: no mount namespace here; /tmp stays shared", file=sys.stderr)
                self.wrap = setpriv
        else:
            print("monkey: not root: the program runs as %s, whose files its dialogs can reach"
                  % pwd.getpwuid(self.uid).pw_name, file=sys.stderr)
        self.actions_file = os.path.join(s, "actions")

    def environment(self):
        env = {"PATH": "/usr/bin:/bin", "HOME": self.home, "XDG_CONFIG_HOME": self.config,
               "XDG_RUNTIME_DIR": self.runtime, "XDG_CACHE_HOME": os.path.join(self.home,
                                                                                ".cache"),
               "TMPDIR": self.tmp, "DISPLAY": self.display, "LANG": "C.UTF-8",
               "QT_QPA_PLATFORM": "xcb",
               "ASAN_OPTIONS": "detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=0",
               "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
               "LSAN_OPTIONS": "suppressions=" + self.suppressions + ":print_suppressions=0"}
        if self.xauthority:
            env["XAUTHORITY"] = self.xauthority
        return env

    def start_x(self):
        self.xauthority = None
        if os.environ.get("DISPLAY") and not self.args.private_x:
            self.display = os.environ["DISPLAY"]
            source = os.environ.get("XAUTHORITY", os.path.expanduser("~/.Xauthority"))
            if os.path.exists(source):
                self.xauthority = os.path.join(self.scratch, "xauthority")
                shutil.copy(source, self.xauthority)
                os.chown(self.xauthority, self.uid, -1)
        else:
            read, write = os.pipe()
            self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                          "1600x1200x24", "-nolisten", "tcp", "-noreset"],
                                         pass_fds=[write], stdout=subprocess.DEVNULL,
                                         stderr=open(os.path.join(self.scratch, "xvfb.log"),
                                                     "w"))
            os.close(write)
            number = b""
            with os.fdopen(read, "rb") as f:
                number = f.readline().strip()
            if not number:
                raise Failure("Xvfb did not start")
            self.display = ":" + number.decode()
        self.x = Display(self.display)

    def start_sim(self):
        link = os.path.join(self.config, "kivra", "ports", "COM9")
        self.sim_runs += 1
        out = os.path.join(self.scratch, "sim-%d.out" % self.sim_runs)
        with open(out, "w") as f:
            self.sim = subprocess.Popen(self.wrap + [self.simulator, "--log"] + self.sim_args,
                                        env=self.environment(), stdout=f,
                                        stderr=subprocess.STDOUT, cwd=self.home)
        self.sim_out = out
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            with open(out) as f:
                if f.readline().endswith("\n"):
                    return
            if self.sim.poll() is not None:
                # A link still leading to a live terminal of the killed simulator: the
                # next start tries again.
                self.sim = None
                return
            time.sleep(0.02)
        raise Failure("the simulator did not publish %s" % link)

    def stop_sim(self, sig):
        if self.sim and self.sim.poll() is None:
            self.sim.send_signal(sig)
            self.sim.wait(10)
            # A killed simulator cannot remove its link, and while the program holds the
            # terminal open the link does not even dangle: the user removes it.
            link = os.path.join(self.config, "kivra", "ports", "COM9")
            with open(self.sim_out) as f:
                device = f.readline().split(" ")[0]
            if device and os.path.islink(link) and os.readlink(link) == device:
                os.unlink(link)
        self.sim = None

    def sweeps(self):
        total = 0
        for n in range(1, self.sim_runs + 1):
            path = os.path.join(self.scratch, "sim-%d.out" % n)
            if os.path.exists(path):
                with open(path, errors="replace") as f:
                    total += sum(1 for line in f if line.startswith("sweep "))
        return total

    def start_program(self):
        self.runs += 1
        self.log = os.path.join(self.scratch, "kivra-%d.log" % self.runs)
        with open(self.log, "w") as f:
            self.program = subprocess.Popen(self.wrap + [self.kivra], env=self.environment(),
                                            stdout=f, stderr=subprocess.STDOUT, cwd=self.home)
        deadline = time.monotonic() + START_S
        while time.monotonic() < deadline:
            self.check_exit()
            if self.program is None:
                raise Failure("the program ended before showing its window")
            main = self.main_window()
            if main:
                self.main = main.id
                return
            time.sleep(0.1)
        raise Failure("no window within %d s of the start" % START_S)

    def program_windows(self):
        if not self.program:
            return []
        return [w for w in self.x.windows() if w.pid == self.program.pid]

    def main_window(self):
        for w in self.program_windows():
            if not w.popup and not w.transient:
                return w
        return None

    def log_text(self):
        with open(self.log, errors="replace") as f:
            return f.read()

    def check_exit(self):
        """Raises on a crash or a sanitizer report; forgets a program that ended normally."""
        if self.program is None:
            return
        if sanitizer_report(self.log_text()):
            # The report is printed whole only once the sanitizer has ended the program.
            try:
                self.program.wait(60)
            except subprocess.TimeoutExpired:
                pass
            raise Failure("sanitizer report:\n" + sanitizer_report(self.log_text()))
        code = self.program.poll()
        if code is None:
            return
        report = sanitizer_report(self.log_text())
        if report:
            raise Failure("sanitizer report:\n" + report)
        if code != 0:
            what = ("killed by signal %d" % -code) if code < 0 else ("exit status %d" % code)
            tail = "".join(self.log_text().splitlines(True)[-60:])
            raise Failure("the program crashed (%s); its last output:\n%s" % (what, tail))
        self.program = None

    # -- answers
    def check_answers(self):
        """The program repaints an area of its window that was covered, and rests."""
        windows = [w for w in self.program_windows() if not w.popup]
        if not windows:
            return
        top = windows[-1]
        width, height = min(64, top.width // 2), min(48, top.height // 2)
        x = max(0, min(top.x + (top.width - width) // 2, self.x.screen[0] - width))
        y = max(0, min(top.y + (top.height - height) // 2, self.x.screen[1] - height))
        cover = self.x.cover(x, y, width, height)
        time.sleep(0.05)
        self.x.uncover(cover)
        start = time.monotonic()
        while self.x.count_colour(x, y, width, height, COVER_RGB) > width * height // 20:
            if time.monotonic() - start > HANG_S:
                if self.program.poll() is not None:
                    return
                raise Failure("hang: no repaint within %.0f s" % HANG_S)
            time.sleep(0.02)
        if time.monotonic() - start > SLOW_S:
            self.slow += 1
        self.check_idle()

    def check_idle(self):
        """Fails when the program keeps a core over BUSY_SHARE busy for BUSY_S with no input;
        gives up watching as soon as the idle time seen rules that out."""
        pid = self.program.pid
        try:
            t0, c0 = time.monotonic(), cpu_seconds(pid)
            while True:
                time.sleep(0.1)
                elapsed, busy = time.monotonic() - t0, cpu_seconds(pid) - c0
                if elapsed - busy > BUSY_S * (1 - BUSY_SHARE):
                    return
                if elapsed >= BUSY_S and busy / elapsed > BUSY_SHARE:
                    raise Failure("busy: a core %.0f %% in use for %.1f s with no input"
                                  % (100 * busy / elapsed, elapsed))
        except FileNotFoundError:
            pass

    # -- actions
    def xdo(self, *words):
        subprocess.run(["xdotool"] + [str(w) for w in words], env={"DISPLAY": self.display,
                       "PATH": "/usr/bin:/bin"}, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    @staticmethod
    def place(token, origin, size):
        if "." in token:
            offset = int(float(token) * size)
        else:
            offset = int(token)
            if offset < 0:
                offset += size
        return origin + max(0, min(size - 1, offset))

    def top_window(self):
        windows = self.program_windows()
        return windows[-1] if windows else None

    def note_dialogs(self):
        for w in self.program_windows():
            if w.transient and not w.popup and w.id not in self.seen:
                self.seen.add(w.id)
                self.dialogs += 1

    def perform(self, line):
        word, _, rest = line.partition(" ")
        parts = rest.split()
        if word in ("click", "dclick"):
            w = self.top_window()
            if w:
                x, y = self.place(parts[1], w.x, w.width), self.place(parts[2], w.y, w.height)
                press = ["mousedown", parts[0], "mouseup", parts[0]]
                self.xdo("mousemove", x, y, *(press if word == "click" else press + press))
        elif word == "drag":
            w = self.main_window()
            if w:
                x1, y1 = self.place(parts[0], w.x, w.width), self.place(parts[1], w.y, w.height)
                x2, y2 = self.place(parts[2], w.x, w.width), self.place(parts[3], w.y, w.height)
                steps = []
                for i in range(1, 6):
                    steps += ["mousemove", x1 + (x2 - x1) * i // 5, y1 + (y2 - y1) * i // 5,
                              "sleep", "0.02"]
                self.xdo("mousemove", x1, y1, "mousedown", 1, *steps, "mouseup", 1)
        elif word == "key":
            self.xdo("key", rest)
        elif word == "type":
            if rest:
                self.xdo("type", "--delay", 8, rest)
        elif word == "menu":
            w = self.main_window()
            if w:
                before = {v.id for v in self.program_windows()}
                self.xdo("mousemove", w.x + MENU_X[int(parts[0])], w.y + MENU_Y, "mousedown", 1,
                         "mouseup", 1)
                # A modal dialog keeps the menu shut: no popup to wait for.
                blocked = any(v.transient and not v.popup for v in self.program_windows())
                if parts[0] != "1" and not blocked:
                    popup = self.wait_popup(before)
                    if popup:
                        self.xdo("mousemove", popup.x + popup.width // 2,
                                 self.place(parts[1], popup.y, popup.height), "mousedown", 1,
                                 "mouseup", 1)
        elif word == "wait":
            time.sleep(int(parts[0]) / 1000)
        elif word == "resize":
            if self.main:
                self.xdo("windowsize", self.main, parts[0], parts[1])
        elif word == "simkill":
            self.stop_sim(signal.SIGKILL if parts[0] == "KILL" else signal.SIGTERM)
        elif word == "simstart":
            if self.sim is None:
                self.start_sim()

    def wait_popup(self, before):
        deadline = time.monotonic() + 0.6
        while time.monotonic() < deadline:
            for w in self.program_windows():
                if w.popup and w.id not in before:
                    return w
            time.sleep(0.02)
        return None

    def finish(self):
        """Ends the program as a user does, so that its leak check runs."""
        for _ in range(20):
            if self.program is None:
                return
            self.check_exit()
            if self.program is None:
                return
            for key in ("Escape", "Escape", "Escape"):
                self.xdo("key", key)
            time.sleep(0.2)
            self.perform("menu 2 0.25")
            deadline = time.monotonic() + 3
            while time.monotonic() < deadline and self.program.poll() is None:
                time.sleep(0.1)
            if self.program.poll() is not None:
                self.program.wait()
                self.check_exit()
                return
        print("monkey: the program would not close; ended with SIGTERM", file=sys.stderr)
        self.program.terminate()
        self.program.wait(10)
        self.program = None

    def run(self):
        record = open(self.actions_file, "w")
        record.write("# kivra monkey actions: replay with scripts/monkey --replay FILE\n")
        record.write("seed %s\nsim %s\n" % (self.seed, " ".join(self.sim_args)))
        record.flush()
        self.start_x()
        self.start_sim()
        self.start_program()
        for line in self.actions:
            self.check_exit()
            if self.program is None:
                self.restarts += 1
                self.start_program()
            record.write(line + "\n")
            record.flush()
            began = time.monotonic()
            self.perform(line)
            if self.args.trace:
                top = self.top_window()
                print("%5d %6.3f %-40s top %s" % (self.done + 1, time.monotonic() - began, line,
                      "%dx%d%s" % (top.width, top.height, " dialog" if top.transient else "")
                      if top else "none"), file=sys.stderr)
            self.done += 1
            time.sleep(PAUSE_S)
            self.note_dialogs()
            if self.done % CHECK_EVERY == 0:
                self.check_exit()
                if self.program:
                    began = time.monotonic()
                    self.check_answers()
                    if self.args.trace:
                        print("check %.3f" % (time.monotonic() - began), file=sys.stderr)
        self.check_exit()
        if self.program:
            time.sleep(1.2)  # the redraw a second after the last resize
            self.check_answers()
        self.finish()
        record.close()

    def summary(self, verdict):
        return ("monkey: %d actions, %d restarts, %d sweeps started, %d dialogs seen, seed %s%s: %s"
                % (self.done, self.restarts, self.sweeps(), self.dialogs, self.seed,
                   ", %d slow answers" % self.slow if self.slow else "", verdict))

    def cleanup(self):
        for p in (self.program, self.sim):
            if p and p.poll() is None:
                p.kill()
                p.wait(10)
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait(10)


def read_actions(path):
    seed, sim, actions = "replay", None, []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            if line.startswith("seed "):
                seed = line[5:]
            elif line.startswith("sim "):
                sim = line[4:].split()
            else:
                actions.append(line)
    return seed, sim, actions


def main():
    parser = argparse.ArgumentParser(prog="scripts/monkey")
    parser.add_argument("--seed", type=int)
    parser.add_argument("--actions", type=int, default=1000)
    parser.add_argument("--build", default="build-asan")
    parser.add_argument("--replay")
    parser.add_argument("--source", default=os.path.dirname(os.path.dirname(
        os.path.abspath(__file__))))
    parser.add_argument("--private-x", action="store_true")
    parser.add_argument("--keep", action="store_true")
    parser.add_argument("--trace", action="store_true")
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    if args.replay:
        seed, sim, actions = read_actions(args.replay)
        sim = sim or ["--load", "dipole", "--baud", "4800"]
    else:
        seed = args.seed if args.seed is not None else random.randrange(1 << 15)
        rng = random.Random(seed)
        sim = sim_arguments(rng)
        actions = generate(rng, args.actions)
    monkey = Monkey(args, actions, sim, seed)
    verdict, status = "passed", 0
    try:
        monkey.run()
    except Failure as failure:
        print("monkey: FAILED: %s" % failure, file=sys.stderr)
        kept = os.path.join(args.build, "monkey-failed-%s.actions" % seed)
        shutil.copy(monkey.actions_file, kept)
        print("monkey: the actions up to the failure are in %s; replay them with "
              "scripts/monkey --replay %s" % (kept, kept), file=sys.stderr)
        verdict, status = "FAILED", 1
    finally:
        monkey.cleanup()
    print(monkey.summary(verdict))
    if args.keep or status:
        print("monkey: logs kept in " + monkey.scratch, file=sys.stderr)
    else:
        shutil.rmtree(monkey.scratch, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
