"""An X server of our own: Xvfb started once, a window manager on it, input
through xdotool, windows found by name, and the screen read through libX11."""
import ctypes
import ctypes.util
import os
import pathlib
import subprocess
import time


def wait_for(what, predicate, timeout=30.0, interval=0.05):
    """Polls predicate() until it returns something truthy, and returns that; fails
    with an AssertionError naming what once timeout seconds have passed."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(interval)


def stop(proc, timeout=5):
    """Ends a process we started: SIGTERM, then SIGKILL if it does not go."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class Image:
    """A screenshot: width, height and data, 3 bytes (red, green, blue) a pixel, rows
    top to bottom. x0, y0: where its top-left pixel is on the screen."""

    def __init__(self, width, height, data, x0=0, y0=0):
        self.width, self.height, self.data = width, height, data
        self.x0, self.y0 = x0, y0

    def pixel(self, x, y):
        """The pixel at screen position (x, y)."""
        i = ((y - self.y0) * self.width + x - self.x0) * 3
        return tuple(self.data[i:i + 3])

    def rows(self, x, y, width, height):
        """The bytes of the screen rectangle, row after row."""
        x, y = x - self.x0, y - self.y0
        return b"".join(self.data[((y + r) * self.width + x) * 3:((y + r) * self.width + x + width) * 3]
                        for r in range(height))

    def crop(self, x, y, width, height):
        """The screen rectangle as an Image of its own."""
        return Image(width, height, self.rows(x, y, width, height), x, y)

    def ppm(self):
        """The image as a binary PPM file, for the tools that read pictures."""
        return b"P6\n%d %d\n255\n" % (self.width, self.height) + self.data

    @staticmethod
    def read(path):
        """A picture file (any format ImageMagick reads) as an Image at (0, 0)."""
        data = subprocess.run(["convert", str(path), "-depth", "8", "ppm:-"],
                              capture_output=True, check=True).stdout
        # "P6", width, height, maximum, one white-space byte, then the pixels.
        magic, width, height, maximum, _ = data.split(maxsplit=4)
        if magic != b"P6" or maximum != b"255":
            raise AssertionError(f"{path}: not an 8-bit PPM from convert")
        width, height = int(width), int(height)
        start = len(data) - width * height * 3
        return Image(width, height, data[start:])


class _XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, as far as they are read here.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong)]


_ZPIXMAP = 2
_ALL_PLANES = 0xFFFFFFFF
_x11 = None


def _libx11():
    global _x11
    if _x11 is None:
        path = ctypes.util.find_library("X11")
        if not path:
            raise AssertionError("libX11 not found")
        x11 = ctypes.CDLL(path)
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XGetImage.restype = ctypes.POINTER(_XImage)
        x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x11.XGetSubImage.restype = ctypes.c_void_p
        x11.XGetSubImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int,
                                     ctypes.POINTER(_XImage), ctypes.c_int, ctypes.c_int]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x11.XDisplayWidth.argtypes = x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
        # An X error (a rectangle off the screen) is a failed read, not the end of
        # the process.
        x11.handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
            lambda d, e: 0)
        x11.XSetErrorHandler(x11.handler)
        _x11 = x11
    return _x11


class Screen:
    """Reads the screen of an X display through one connection of libX11: no
    process started a read, so it can be polled often."""

    def __init__(self, name):
        self.x11 = _libx11()
        self.dpy = self.x11.XOpenDisplay(name.encode())
        if not self.dpy:
            raise AssertionError(f"cannot open display {name}")
        self.root = self.x11.XDefaultRootWindow(self.dpy)
        self.size = self.x11.XDisplayWidth(self.dpy, 0), self.x11.XDisplayHeight(self.dpy, 0)
        # One image of the whole screen, read into again and again.
        probe = self.x11.XGetImage(self.dpy, self.root, 0, 0, 1, 1, _ALL_PLANES, _ZPIXMAP)
        if not probe:
            raise AssertionError("XGetImage failed")
        self.image, self.cap = probe, (1, 1)
        p = probe.contents
        if (p.bits_per_pixel, p.byte_order, p.red_mask, p.green_mask, p.blue_mask) != \
                (32, 0, 0xFF0000, 0x00FF00, 0x0000FF):
            raise AssertionError(f"unexpected screen format: {p.bits_per_pixel} bits, "
                                 f"byte order {p.byte_order}")

    def read(self, x, y, width, height):
        """An Image of the rectangle, or None when the server could not give it."""
        if width > self.cap[0] or height > self.cap[1]:
            # A larger image to read into (the old one is kept: that is rare).
            cap = (max(width, self.cap[0]), max(height, self.cap[1]))
            image = self.x11.XGetImage(self.dpy, self.root, 0, 0, *cap, _ALL_PLANES, _ZPIXMAP)
            if not image:
                return None
            self.image, self.cap = image, cap
        if not self.x11.XGetSubImage(self.dpy, self.root, x, y, width, height, _ALL_PLANES,
                                     _ZPIXMAP, self.image, 0, 0):
            return None
        img = self.image.contents
        stride = img.bytes_per_line
        raw = ctypes.string_at(img.data, stride * height)
        if stride != width * 4:
            raw = b"".join(raw[r * stride:r * stride + width * 4] for r in range(height))
        # Blue, green, red, pad in memory: three strided copies make it RGB.
        rgb = bytearray(width * height * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = raw[2::4], raw[1::4], raw[0::4]
        return Image(width, height, bytes(rgb), x, y)

    def close(self):
        if self.dpy:
            self.x11.XCloseDisplay(self.dpy)
            self.dpy = None


class Display:
    """An Xvfb server of our own on a free display number (first..last)."""

    def __init__(self, width=1280, height=1024, first=90, last=199):
        for n in range(first, last + 1):
            lock = pathlib.Path(f"/tmp/.X{n}-lock")
            if lock.exists() or pathlib.Path(f"/tmp/.X11-unix/X{n}").exists():
                continue
            # -noreset: else the server resets when its last client leaves, and a
            # program connecting during the reset fails to connect.
            proc = subprocess.Popen(
                ["Xvfb", f":{n}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
                 "-noreset"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                # The lock must name our own server: another one shutting down
                # answers for a moment and then vanishes.
                wait_for("Xvfb lock", lambda: proc.poll() is None and lock.exists() and
                         lock.read_text().strip() == str(proc.pid), timeout=10, interval=0.02)
                self.screen = wait_for("Xvfb to answer", lambda: self._connect(n), timeout=10,
                                       interval=0.02)
            except AssertionError:
                stop(proc)
                continue
            self.proc, self.number = proc, n
            self._attach(f":{n}")
            return
        raise AssertionError("no free X display")

    @classmethod
    def existing(cls, name):
        """The X server already running as name (say $DISPLAY); close leaves it running."""
        display = cls.__new__(cls)
        display.proc, display.number = None, None
        display.screen = Screen(name)
        display._attach(name)
        return display

    def _attach(self, name):
        self.name = name
        self.env = dict(os.environ, DISPLAY=name, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.width, self.height = self.screen.size
        self.wm = None

    @staticmethod
    def _connect(n):
        try:
            return Screen(f":{n}")
        except AssertionError:
            return None

    # --- commands and input --------------------------------------------------

    def run(self, *cmd, check=True):
        """Runs a command on the display; its output. check: fail unless it succeeds."""
        r = subprocess.run(list(cmd), env=self.env, capture_output=True, text=True)
        if check and r.returncode != 0:
            raise AssertionError(f"{cmd} failed: {r.stderr}")
        return r.stdout

    def click(self, x, y, button=1):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y))
        self.run("xdotool", "click", str(button))

    def move(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y))

    def key(self, *keys):
        self.run("xdotool", "key", *keys)

    def type(self, text):
        self.run("xdotool", "type", "--delay", "20", text)

    def copy(self, key="ctrl+c", timeout=30.0):
        """Presses key (the window's copy) and returns what it put on the clipboard.
        The clipboard is given a mark first, so what an earlier copy left is not taken
        for the new text."""
        mark = "(nothing copied yet)"
        # xclip owns the clipboard with the mark until the copy takes it over.
        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=mark, text=True,
                       env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=10)
        self.key(key)
        return wait_for(f"the text {key} copies", lambda: (
            lambda t: t if t and t != mark else None)(self.clipboard()), timeout)

    def clipboard(self):
        """The text on the clipboard ('' when there is none)."""
        r = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env,
                           capture_output=True, text=True, timeout=5)
        return r.stdout

    # --- windows -------------------------------------------------------------

    def windows(self, name=None, pid=None):
        """The ids of the visible windows whose name matches the pattern name (or of
        process pid), oldest first."""
        cmd = ["xdotool", "search", "--onlyvisible"]
        cmd += ["--pid", str(pid)] if pid is not None else ["--name", name]
        return self.run(*cmd, check=False).split()

    def find_window(self, name, timeout=60.0, proc=None, interval=0.05):
        """Waits for a visible window whose name matches the pattern name; its id.
        proc: fail at once when that process ends first."""
        def search():
            if proc is not None and proc.poll() is not None:
                raise AssertionError(f"the program ended (exit status {proc.returncode}) "
                                     f"before showing window {name!r}")
            ids = self.windows(name)
            return ids[-1] if ids else None
        return wait_for(f"window {name!r}", search, timeout, interval)

    def window_gone(self, name, timeout=30.0):
        wait_for(f"window {name!r} to close", lambda: not self.windows(name), timeout)

    def window_geometry(self, wid):
        """x, y, width, height of wid's client area on the screen."""
        # xwininfo, since xdotool counts the offset in a window manager's frame twice.
        out = self.run("xwininfo", "-id", wid)
        g = dict(line.strip().split(": ", 1) for line in out.splitlines() if ": " in line)
        return (int(g["Absolute upper-left X"]), int(g["Absolute upper-left Y"]),
                int(g["Width"]), int(g["Height"]))

    def settled_geometry(self, wid, timeout=30.0):
        """window_geometry once it reads the same twice 200 ms apart: a window
        manager on a busy machine places and decorates a window late."""
        last = [None]

        def same():
            g = self.window_geometry(wid)
            if g == last[0]:
                return g
            last[0] = g
            return None
        return wait_for(f"window {wid} to settle", same, timeout, interval=0.2)

    def frame_extents(self, wid):
        """(left, right, top, bottom) of the frame the window manager drew round wid."""
        out = self.run("xprop", "-id", wid, "_NET_FRAME_EXTENTS", check=False)
        if "=" not in out:
            return (0, 0, 0, 0)
        return tuple(int(v) for v in out.split("=", 1)[1].split(","))

    def outer_geometry(self, wid):
        """x, y, width, height of wid with its frame (the client area without a window
        manager)."""
        x, y, w, h = self.settled_geometry(wid)
        left, right, top, bottom = self.frame_extents(wid)
        return x - left, y - top, w + left + right, h + top + bottom

    def start_wm(self, name, attempts=3):
        """Starts a window manager on the display and waits until it manages windows.

        openbox now and then ends at once, silently, on a busy machine: it is
        started again, a few times at the most."""
        for _ in range(attempts):
            self.wm = subprocess.Popen([name], env=self.env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.PIPE, text=True)

            def managing():
                return self.wm.poll() is not None or "window id" in self.run(
                    "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)
            wait_for(f"{name} to manage the display", managing, timeout=30)
            if self.wm.poll() is None:
                return
            message = f"{name} ended with status {self.wm.returncode}: {self.wm.stderr.read()}"
            print(message, flush=True)
        raise AssertionError(message)

    # --- the screen ----------------------------------------------------------

    def screenshot(self, x=0, y=0, width=None, height=None):
        """An Image of the whole screen, or of the rectangle given."""
        width = self.width - x if width is None else width
        height = self.height - y if height is None else height
        shot = self.screen.read(x, y, width, height)
        if shot is None:
            raise AssertionError(f"cannot read the screen at {x},{y} {width}x{height}")
        return shot

    def wait_shot(self, what, predicate, timeout=30.0, interval=0.05, **rect):
        """Waits for a screenshot (of the rectangle x, y, width, height given, else
        of the whole screen) for which predicate(shot) holds; that screenshot."""
        def check():
            shot = self.screenshot(**rect)
            return shot if predicate(shot) else None
        return wait_for(what, check, timeout, interval)

    def pixel(self, x, y):
        """One screen pixel as (red, green, blue), or None off the screen."""
        shot = self.screen.read(x, y, 1, 1)
        return shot.pixel(x, y) if shot else None

    def close(self):
        if self.wm is not None:
            stop(self.wm)
            self.wm.stderr.close()
            self.wm = None
        self.screen.close()
        if self.proc is not None:
            stop(self.proc)
