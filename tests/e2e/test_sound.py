"""The game is heard through a real sound server: a pick and a fill sound, quick clicks do not
pile up, a fill that changes nothing is silent, M silences them and M again brings them back, a
solved picture cheers once while the firework loops on; with no sound server at all the game plays
silently, with no error box.

The test starts its own PulseAudio with a null sink in a private runtime folder and records the
sink's monitor while it clicks the real program."""
import array
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402
from harness import PANEL_LEFT, button_centre, catalogue, palette_size  # noqa: E402

RATE = 22050           # recorded samples a second, mono
HEARD = 0.05           # a peak above this share of full scale is a sound
QUIET = 0.005          # below this, silence (the sounds peak at about 0.33)
SINK = "tintbox_null"
WHITE = (255, 255, 255)


class SoundServer:
    """PulseAudio with one null sink, in a runtime folder of its own.

    As root PulseAudio only warns that it is not meant to run so; it writes its
    cookie and state under the HOME it is given, here a folder of the test."""

    def __init__(self, root):
        self.root = pathlib.Path(root)
        self.run_dir = self.root / "run"
        self.run_dir.mkdir(mode=0o700)
        (self.root / "home").mkdir()
        (self.root / "client.conf").write_text("autospawn = no\n")
        self.socket = self.run_dir / "native"
        self.env = {
            "HOME": str(self.root / "home"),
            "XDG_RUNTIME_DIR": str(self.run_dir),
            "PULSE_RUNTIME_PATH": str(self.run_dir),
            "PULSE_STATE_PATH": str(self.root / "home"),
            "PULSE_CLIENTCONFIG": str(self.root / "client.conf"),
            "PULSE_SERVER": f"unix:{self.socket}",
        }
        env = dict(os.environ, **self.env)
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--disallow-exit", "--disallow-module-loading", "--log-target=stderr",
             f"--load=module-native-protocol-unix auth-anonymous=1 socket={self.socket}",
             f"--load=module-null-sink sink_name={SINK} rate={RATE}"],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        harness.wait_for("the sound server", lambda: self.proc.poll() is not None or subprocess.run(
            ["pactl", "info"], env=env, capture_output=True).returncode == 0, timeout=20)
        if self.proc.poll() is not None:
            raise AssertionError(f"pulseaudio ended: {self.proc.stderr.read()}")

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


class Recorder:
    """The sink's monitor recorded as it plays; the position in the recording is the test's
    clock, so waiting for a stretch of sound or silence follows the server's own time."""

    def __init__(self, server):
        # A short latency: with parec's default buffer little is handed over at a time.
        self.proc = subprocess.Popen(
            ["parec", "--latency-msec=20", f"--device={SINK}.monitor", "--format=s16le",
             f"--rate={RATE}", "--channels=1", "--raw"],
            env=dict(os.environ, **server.env), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.samples = array.array("h")
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        pending = b""
        while True:
            chunk = self.proc.stdout.read1(4096)
            if not chunk:
                return
            pending += chunk
            whole = len(pending) // 2 * 2
            with self.lock:
                self.samples.frombytes(pending[:whole])
            pending = pending[whole:]

    def now(self):
        with self.lock:
            return len(self.samples)

    def peak(self, start, end=None):
        with self.lock:
            part = self.samples[start:end]
        return max((abs(s) for s in part), default=0) / 32768

    def wait_recorded(self, start, seconds):
        """Waits until `seconds` of sound have been recorded after position start."""
        harness.wait_for(f"{seconds} s recorded", lambda: self.now() >= start + seconds * RATE,
                         timeout=seconds + 20)

    def wait_heard(self, what, start):
        """Waits for a sound after position start; returns where it begins."""
        def heard():
            with self.lock:
                part = self.samples[start:]
            for i, s in enumerate(part):
                if abs(s) > HEARD * 32768:
                    return start + i + 1
            return None
        return harness.wait_for(what, heard, timeout=20) - 1

    def wait_silent(self, seconds=0.2):
        """Waits until the last `seconds` recorded were silent; returns the position."""
        n = int(seconds * RATE)
        return harness.wait_for("silence", lambda: (lambda end: end if end >= n and self.peak(
            end - n, end) < QUIET else None)(self.now()), timeout=20)

    def sound_length(self, start):
        """Seconds from start to the first 0.2 s of silence after it."""
        end = self.wait_silent()
        with self.lock:
            part = self.samples[start:end]
        last = max((i for i, s in enumerate(part) if abs(s) > QUIET * 32768), default=0)
        return last / RATE

    def close(self):
        self.proc.terminate()
        self.proc.wait(5)
        self.reader.join(5)


def start_game(display, program, images, folder, env):
    """The program with its sound module beside it, started with env added to the display's."""
    shutil.copy2(program, folder / "tintbox")
    (folder / "modules").mkdir()
    shutil.copy2(pathlib.Path(program).parent / "modules" / "tintbox-sound.so",
                 folder / "modules" / "tintbox-sound.so")
    shutil.copytree(images, folder / "img")
    saved = display.env
    display.env = dict(saved, **env)
    try:
        return harness.Game(display, str(folder / "tintbox"), in_place=True)
    finally:
        display.env = saved


def test(a, display):
    pictures = catalogue(a.checker, a.images)
    colours, areas = pictures[1]
    # Blank areas are white already: the white colour, if any, fills nothing.
    assert sum(1 for _, _, c in areas if c != WHITE) >= 3, pictures[1]
    with tempfile.TemporaryDirectory(prefix="tintbox-sound-") as tmp:
        tmp = pathlib.Path(tmp)
        (tmp / "pulse").mkdir()
        (tmp / "game").mkdir()
        server = SoundServer(tmp / "pulse")
        recorder = game = None
        try:
            recorder = Recorder(server)
            recorder.wait_recorded(0, 0.3)
            quiet = recorder.peak(0)
            assert quiet < QUIET, f"the sink is not silent before the game starts: {quiet}"

            game = start_game(display, a.program, a.images, tmp / "game", server.env)
            wid = display.find_window("^Tintbox$")
            x, y, _, _ = display.window_geometry(wid)
            shot = harness.wait_for("palette of picture 1", lambda: (
                lambda s: s if palette_size(s, x, y) == colours else None)(display.screenshot()))
            palette = [shot.pixel(*button_centre(x, y, k)) for k in range(colours)]

            def frame_at(k):
                """A pixel of the selection frame's left edge round palette button k."""
                return x + PANEL_LEFT + 9 + 66 * (k % 5), y + 9 + 66 * (k // 5) + 32
            # Opening picture 1 preselected its first colour without a note.
            recorder.wait_recorded(recorder.now(), 0.5)
            assert recorder.peak(0) < QUIET, "the game made a sound before anything was clicked"

            todo = [ar for ar in areas if ar[2] != WHITE]
            filled = []
            one, two, three = [k for k, c in enumerate(palette) if c != WHITE][:3]

            def pick(k):
                display.click(*button_centre(x, y, k))
                harness.wait_for(f"the frame round colour {k + 1}", lambda: display.screenshot().pixel(
                    *frame_at(k)) == (128, 128, 128))

            def fill(colour):
                area = next(ar for ar in todo if ar[2] == colour)
                todo.remove(area)
                filled.append(area)
                ax, ay, want = area
                display.click(x + 2 + ax, y + 2 + ay)
                harness.wait_for(f"area {ax},{ay} filled", lambda: display.screenshot().pixel(
                    x + 2 + ax, y + 2 + ay) == want)

            def heard(what, action):
                start = recorder.wait_silent()
                action()
                at = recorder.wait_heard(what, start)
                peak = recorder.peak(at, at + RATE // 2)
                print(f"{what}: heard, peak {peak:.3f}", flush=True)
                return at

            def silent(what, action):
                start = recorder.wait_silent()
                action()
                # The screen shows the program has handled the click: a sound would be
                # on its way. A second of recording is long enough to hear it.
                recorder.wait_recorded(recorder.now(), 1.0)
                peak = recorder.peak(start)
                print(f"{what}: peak {peak:.4f}", flush=True)
                assert peak < QUIET, f"{what}: heard a sound while muted (peak {peak})"

            # Sound on: a pick plays its note, a fill its pop.
            heard("picking a colour", lambda: pick(one))
            heard("filling an area", lambda: fill(palette[one]))
            # Quick clicks never pile up: each note starts over, so the sound ends soon
            # after the last click instead of playing ten notes one after another.
            start = recorder.wait_silent()
            bx, by = button_centre(x, y, one)
            display.run("xdotool", "mousemove", "--sync", str(bx), str(by))
            display.run("xdotool", "click", "--repeat", "10", "--delay", "30", "1")
            at = recorder.wait_heard("quick clicks", start)
            length = recorder.sound_length(at)
            print(f"ten quick clicks: {length:.2f} s of sound", flush=True)
            assert length < 2.0, f"ten quick clicks sounded for {length:.2f} s: queued"
            # A click on the area just filled changes nothing and stays silent.
            ax, ay, _ = filled[-1]
            silent("a fill that changes nothing",
                   lambda: (display.click(x + 2 + ax, y + 2 + ay),
                            recorder.wait_recorded(recorder.now(), 0.2)))

            # M: silence.
            display.key("m")
            silent("picking a colour, muted", lambda: pick(two))
            silent("filling, muted", lambda: fill(palette[two]))
            # M again: the sounds are back.
            display.key("m")
            heard("picking a colour, unmuted", lambda: pick(three))
            heard("filling, unmuted", lambda: fill(palette[three]))

            # The rest of the picture; the last fill solves it and cheers, once.
            last = todo[-1]
            for k, colour in enumerate(palette):
                if any(ar[2] == colour and ar != last for ar in todo):
                    pick(k)
                    while any(ar[2] == colour and ar != last for ar in todo):
                        fill(colour)
            assert todo == [last], todo
            pick(palette.index(last[2]))
            at = heard("solving the picture", lambda: fill(last[2]))
            length = recorder.sound_length(at)
            print(f"the cheer lasts {length:.2f} s", flush=True)
            assert 1.0 < length < 3.0, f"the solved picture's sound lasts {length:.2f} s"
            # The firework goes on looping (1.3 s a loop); the cheer does not.
            end = recorder.now()
            recorder.wait_recorded(end, 3.0)
            assert recorder.peak(end) < QUIET, "a sound after the cheer while the firework loops"
            game.close()
            game = None

            # No sound server for the game (its server's socket does not exist, nothing may
            # start one), while the recorder listens on: silent, no error box, at most one
            # line of output, and it plays.
            no_server = dict(server.env, PULSE_SERVER=f"unix:{tmp / 'none' / 'native'}",
                             XDG_RUNTIME_DIR=str(tmp / "none"), PULSE_RUNTIME_PATH=str(tmp / "none"))
            (tmp / "none").mkdir(mode=0o700)
            shutil.rmtree(tmp / "game")
            (tmp / "game").mkdir()
            start = recorder.wait_silent()
            game = start_game(display, a.program, a.images, tmp / "game", no_server)
            wid = display.find_window("^Tintbox$")
            x, y, _, _ = display.window_geometry(wid)
            harness.wait_for("palette of picture 1", lambda: palette_size(
                display.screenshot(), x, y) == colours)
            todo = [ar for ar in areas if ar[2] != WHITE]
            pick(one)
            fill(palette[one])
            recorder.wait_recorded(recorder.now(), 1.0)
            peak = recorder.peak(start)
            print(f"no server: peak {peak:.4f}", flush=True)
            assert peak < QUIET, peak
            windows = display.run("xdotool", "search", "--onlyvisible", "--pid",
                                  str(game.proc.pid), check=False).split()
            names = [display.run("xdotool", "getwindowname", w, check=False).strip()
                     for w in windows]
            assert names == ["Tintbox"], f"windows besides the game's: {names}"
            game.close()
            output = game.proc.stdout.read().decode(errors="replace").strip().splitlines()
            game = None
            print("no server, the game printed:", output, flush=True)
            assert len(output) <= 1, output
        finally:
            if game:
                game.close()
            if recorder:
                recorder.close()
            server.close()


if __name__ == "__main__":
    harness.main(test)
