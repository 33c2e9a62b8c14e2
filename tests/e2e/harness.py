"""The real program under Xvfb, driven by xdotool; screenshots read with ImageMagick.

Each test starts its own Xvfb on a free display (with openbox on it when
given --wm openbox), copies the program beside an img/ folder of its own, and
stops only the processes it started.
"""
import argparse
import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def args():
    p = argparse.ArgumentParser()
    p.add_argument("--program", required=True)
    p.add_argument("--checker", required=True)
    p.add_argument("--images", required=True)
    p.add_argument("--wm", choices=["none", "openbox"], default="none",
                   help="the window manager to run on the display")
    return p.parse_args()


def wait_for(what, predicate, timeout=20.0, interval=0.05):
    """Polls predicate() until it returns something truthy, or fails."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(interval)


class Display:
    """An Xvfb server of our own on a free display number."""

    def __init__(self, width=1280, height=1024):
        for n in range(90, 190):
            lock = pathlib.Path(f"/tmp/.X{n}-lock")
            if lock.exists() or pathlib.Path(f"/tmp/.X11-unix/X{n}").exists():
                continue
            proc = subprocess.Popen(
                ["Xvfb", f":{n}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp", "-noreset"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                # The lock must name our own server: another one shutting down
                # answers for a moment and then vanishes.
                wait_for("Xvfb lock", lambda: lock.exists() and
                         lock.read_text().strip() == str(proc.pid), timeout=10)
                self.env = dict(os.environ, DISPLAY=f":{n}")
                self.env.pop("QT_QPA_PLATFORM", None)
                wait_for("Xvfb to answer", lambda: subprocess.run(
                    ["xdpyinfo"], env=self.env, capture_output=True).returncode == 0, timeout=10)
                self.proc = proc
                self.number = n
                self.width, self.height = width, height
                return
            except AssertionError:
                proc.kill()
                proc.wait()
        raise AssertionError("no free X display")

    def run(self, *cmd, check=True):
        r = subprocess.run(list(cmd), env=self.env, capture_output=True, text=True)
        if check and r.returncode != 0:
            raise AssertionError(f"{cmd} failed: {r.stderr}")
        return r.stdout

    def screenshot(self):
        """The whole screen as (width, height, bytes of RGB)."""
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                              capture_output=True, check=True).stdout
        return Image(data)

    def find_window(self, name, timeout=20.0):
        def search():
            r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                               env=self.env, capture_output=True, text=True)
            ids = r.stdout.split()
            return ids[-1] if ids else None
        return wait_for(f"window {name!r}", search, timeout)

    def window_geometry(self, wid):
        """x, y, width, height of wid's client area on the screen."""
        # xwininfo, since xdotool counts the offset in a window manager's frame twice.
        out = self.run("xwininfo", "-id", wid)
        g = dict(line.strip().split(": ", 1) for line in out.splitlines() if ": " in line)
        return (int(g["Absolute upper-left X"]), int(g["Absolute upper-left Y"]),
                int(g["Width"]), int(g["Height"]))

    def frame_extents(self, wid):
        """(left, right, top, bottom) of the frame the window manager drew round wid."""
        out = self.run("xprop", "-id", wid, "_NET_FRAME_EXTENTS", check=False)
        if "=" not in out:
            return (0, 0, 0, 0)
        return tuple(int(v) for v in out.split("=", 1)[1].split(","))

    def outer_geometry(self, wid):
        """x, y, width, height of wid with its frame (the client area without a window manager)."""
        x, y, w, h = self.window_geometry(wid)
        left, right, top, bottom = self.frame_extents(wid)
        return x - left, y - top, w + left + right, h + top + bottom

    def start_wm(self, name, attempts=3):
        """Starts a window manager on the display and waits until it manages windows.

        openbox now and then ends at once, silently, on a busy machine: it is
        started again, a few times at the most."""
        for attempt in range(attempts):
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

    def click(self, x, y, button=1):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y))
        self.run("xdotool", "click", str(button))

    def key(self, *keys):
        self.run("xdotool", "key", *keys)

    def type(self, text):
        self.run("xdotool", "type", "--delay", "20", text)

    def close(self):
        if getattr(self, "wm", None):
            self.wm.terminate()
            try:
                self.wm.wait(5)
            except subprocess.TimeoutExpired:
                self.wm.kill()
                self.wm.wait()
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


class Image:
    def __init__(self, ppm):
        # P6 <w> <h> <max>\n<bytes>
        parts = ppm.split(maxsplit=4)
        assert parts[0] == b"P6" and parts[3] == b"255", parts[:4]
        self.width, self.height = int(parts[1]), int(parts[2])
        self.data = parts[4]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


class Game:
    """The program copied beside an img/ folder of its own and started.

    in_place starts the program where it lies, with whatever is beside it; args
    are its command-line arguments, cwd the folder it starts in."""

    def __init__(self, display, program, images=None, name="tintbox", args=(), cwd="/",
                 in_place=False):
        self.display = display
        self.dir = pathlib.Path(tempfile.mkdtemp(prefix="tintbox-e2e-"))
        if in_place:
            self.program = pathlib.Path(program)
        else:
            self.program = self.dir / name
            shutil.copy2(program, self.program)
            img = self.dir / "img"
            if images is None:
                img.mkdir()
            else:
                shutil.copytree(images, img)
        # Started from another directory: the pictures are found beside the program.
        self.proc = subprocess.Popen([str(self.program), *args], env=display.env, cwd=cwd,
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def exit_code(self, timeout=10):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def close(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


# The main window as the tests read it: its colour, where the panel starts,
# the palette buttons and the counter.
WINDOW = (173, 255, 91)
PANEL_LEFT = 644


def catalogue(checker, images):
    """{picture number: (colour count, [(x, y, (r, g, b)), ...])} from the checker."""
    out = subprocess.run([checker, "--areas", images], capture_output=True, text=True).stdout
    pictures, current = {}, None
    for line in out.splitlines():
        m = re.match(r".*/(\d+)\.bmp: OK \S+ \S+, (\d+) colours?, \d+ areas?", line)
        if m:
            current = int(m.group(1))
            pictures[current] = (int(m.group(2)), [])
            continue
        m = re.match(r"\s+(\d+),(\d+) #([0-9A-F]{6})", line)
        if m and current is not None:
            rgb = bytes.fromhex(m.group(3))
            pictures[current][1].append((int(m.group(1)), int(m.group(2)), tuple(rgb)))
    return pictures


def button_centre(x, y, k):
    return x + PANEL_LEFT + 16 + 66 * (k % 5) + 25, y + 16 + 66 * (k // 5) + 25


def palette_size(shot, x, y):
    return sum(1 for k in range(10) if shot.pixel(*button_centre(x, y, k)) != WINDOW)


def counter_preset(display, x, y):
    """The number the counter's input box offers, read through the clipboard."""
    display.click(x + PANEL_LEFT + 87 + 86, y + 168 + 20)
    display.find_window("^Выбор картинки$")
    display.key("ctrl+c")
    text = wait_for("clipboard", lambda: subprocess.run(
        ["xclip", "-selection", "clipboard", "-o"], env=display.env, capture_output=True,
        text=True, timeout=5).stdout.strip())
    return text


def main(test):
    a = args()
    display = Display()
    try:
        if a.wm != "none":
            display.start_wm(a.wm)
        test(a, display)
    finally:
        display.close()
