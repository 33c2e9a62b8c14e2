"""The program under test: copied beside an img/ folder of its own and started
on a display; and the pictures as the checker reads them."""
import pathlib
import re
import shutil
import signal
import subprocess
import tempfile


class Game:
    """The program copied beside an img/ folder of its own and started.

    images: the folder copied as img/ (None: an empty one). in_place starts the
    program where it lies, with whatever is beside it; args are its command-line
    arguments, cwd the folder it starts in. env: variables set over the display's
    (None removes one). beside: files by their path from the program's folder,
    copied to the same place from the copy (modules/tintbox-sound.so)."""

    def __init__(self, display, program, images=None, name="tintbox", args=(), cwd="/",
                 in_place=False, env=None, beside=()):
        self.display = display
        self.dir = pathlib.Path(tempfile.mkdtemp(prefix="tintbox-e2e-"))
        if in_place:
            self.program = pathlib.Path(program)
        else:
            self.program = self.dir / name
            shutil.copy2(program, self.program)
            for path in beside:
                (self.dir / path).parent.mkdir(parents=True, exist_ok=True)
                shutil.copy2(pathlib.Path(program).parent / path, self.dir / path)
            img = self.dir / "img"
            if images is None:
                img.mkdir()
            else:
                shutil.copytree(images, img)
        # What the program prints goes to a file: a pipe nobody reads could fill up.
        self.log = open(self.dir / "output.txt", "wb")
        # Started from another directory: the pictures are found beside the program.
        environment = dict(display.env)
        for key, value in (env or {}).items():
            if value is None:
                environment.pop(key, None)
            else:
                environment[key] = value
        self.proc = subprocess.Popen([str(self.program), *args], env=environment, cwd=cwd,
                                     stdout=self.log, stderr=subprocess.STDOUT)

    def find_window(self, name="^Tintbox$", timeout=60.0):
        """Waits for this program's window; fails at once if the program ends first,
        and tells what the program printed and which windows it has."""
        try:
            return self.display.find_window(name, timeout, proc=self.proc)
        except AssertionError as e:
            shown = self.display.run("xdotool", "search", "--pid", str(self.proc.pid), "--name",
                                     ".", check=False).split()
            names = [self.display.run("xdotool", "getwindowname", w, check=False).strip()
                     for w in shown]
            raise AssertionError(f"{e}; the program's windows: {names}; it printed: "
                                 f"{self.output()!r}") from None

    def main_window(self, timeout=60.0):
        """The main window, once it is shown and has settled."""
        from .layout import CAPTION, MainWindow
        return MainWindow(self.display, self.find_window(f"^{CAPTION}$", timeout), self)

    def output(self):
        """What the program has printed so far."""
        return (self.dir / "output.txt").read_text(errors="replace")

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
        self.log.close()
        shutil.rmtree(self.dir, ignore_errors=True)


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
