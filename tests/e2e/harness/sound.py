"""A sound server of our own to hear the program through: PulseAudio with one null
sink in a private runtime folder, and its monitor recorded as it plays."""
import array
import os
import pathlib
import subprocess
import threading

from .display import stop, wait_for

RATE = 22050           # recorded samples a second, mono
HEARD = 0.05           # a peak above this share of full scale is a sound
QUIET = 0.005          # below this, silence (the sounds peak at about 0.33)
SINK = "tintbox_null"


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
        # Its messages go to a file: a pipe nobody reads could fill up.
        self.log = open(self.root / "pulseaudio.log", "w+")
        self.proc = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--disallow-exit", "--disallow-module-loading", "--log-target=stderr",
             f"--load=module-native-protocol-unix auth-anonymous=1 socket={self.socket}",
             f"--load=module-null-sink sink_name={SINK} rate={RATE}"],
            env=env, stdout=subprocess.DEVNULL, stderr=self.log)
        wait_for("the sound server", lambda: self.proc.poll() is not None or subprocess.run(
            ["pactl", "info"], env=env, capture_output=True).returncode == 0, timeout=20)
        if self.proc.poll() is not None:
            self.log.seek(0)
            raise AssertionError(f"pulseaudio ended: {self.log.read()}")

    def close(self):
        stop(self.proc)
        self.log.close()


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
        wait_for(f"{seconds} s recorded", lambda: self.now() >= start + seconds * RATE,
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
        return wait_for(what, heard, timeout=20) - 1

    def wait_silent(self, seconds=0.2):
        """Waits until the last `seconds` recorded were silent; returns the position."""
        n = int(seconds * RATE)
        return wait_for("silence", lambda: (lambda end: end if end >= n and self.peak(
            end - n, end) < QUIET else None)(self.now()), timeout=20)

    def sound_length(self, start):
        """Seconds from start to the first 0.2 s of silence after it."""
        end = self.wait_silent()
        with self.lock:
            part = self.samples[start:end]
        last = max((i for i, s in enumerate(part) if abs(s) > QUIET * 32768), default=0)
        return last / RATE

    def close(self):
        stop(self.proc)
        self.reader.join(5)
        self.proc.stdout.close()
