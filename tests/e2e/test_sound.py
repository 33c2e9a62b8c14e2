"""The game is heard through a real sound server: a pick and a fill sound, quick clicks do not
pile up, a fill that changes nothing is silent, M silences them and M again brings them back, a
solved picture cheers once while the firework loops on; with no sound server at all the game plays
silently, with no error box.

Each test starts its own PulseAudio with a null sink in a private runtime folder and records the
sink's monitor while it clicks the real program."""
import pathlib
import shutil
import tempfile

import harness
from harness import GRAY, WHITE
from harness.sound import QUIET, RATE, Recorder, SoundServer

# The sound module the program loads from beside it.
MODULE = "modules/tintbox-sound.so"


class Sound(harness.TestCase):
    def setUp(self):
        self.colours, self.areas = self.catalogue[1]
        # Blank areas are white already: the white colour, if any, fills nothing.
        self.assertGreaterEqual(sum(1 for _, _, c in self.areas if c != WHITE), 3, self.areas)
        self.tmp = pathlib.Path(tempfile.mkdtemp(prefix="tintbox-sound-"))
        self.addCleanup(shutil.rmtree, self.tmp, ignore_errors=True)
        (self.tmp / "pulse").mkdir()
        self.server = SoundServer(self.tmp / "pulse")
        self.addCleanup(self.server.close)
        self.recorder = Recorder(self.server)
        self.addCleanup(self.recorder.close)
        self.recorder.wait_recorded(0, 0.3)
        quiet = self.recorder.peak(0)
        self.assertLess(quiet, QUIET, "the sink is not silent before the game starts")

    def start_game(self, env):
        """The program with its sound module beside it and env over the display's; its
        main window once picture 1's palette shows, and that palette's colours."""
        win, shot = self.start_on_picture_1(env=env, beside=[MODULE])
        self.win, self.game = win, win.game
        self.palette = [shot.pixel(*win.button(k)) for k in range(self.colours)]
        self.todo = [ar for ar in self.areas if ar[2] != WHITE]
        self.filled = []
        return win

    def pick(self, k):
        self.display.click(*self.win.button(k))
        harness.wait_for(f"the frame round colour {k + 1}",
                         lambda: self.display.pixel(*self.win.frame_edge(k)) == GRAY)

    def fill(self, colour):
        area = next(ar for ar in self.todo if ar[2] == colour)
        self.todo.remove(area)
        self.filled.append(area)
        ax, ay, want = area
        self.display.click(*self.win.picture(ax, ay))
        harness.wait_for(f"area {ax},{ay} filled",
                         lambda: self.display.pixel(*self.win.picture(ax, ay)) == want)

    def heard(self, what, action):
        """Does action after a stretch of silence and waits for a sound; where it begins."""
        recorder = self.recorder
        start = recorder.wait_silent()
        action()
        at = recorder.wait_heard(what, start)
        peak = recorder.peak(at, at + RATE // 2)
        print(f"{what}: heard, peak {peak:.3f}", flush=True)
        return at

    def silent(self, what, action):
        """Does action after a stretch of silence; nothing may be heard from then on."""
        recorder = self.recorder
        start = recorder.wait_silent()
        action()
        # The screen shows the program has handled the click: a sound would be on its
        # way. A second of recording is long enough to hear it.
        recorder.wait_recorded(recorder.now(), 1.0)
        peak = recorder.peak(start)
        print(f"{what}: peak {peak:.4f}", flush=True)
        self.assertLess(peak, QUIET, f"{what}: heard a sound while muted")

    def test_sounds_mute_and_the_cheer(self):
        recorder, display = self.recorder, self.display
        win = self.start_game(self.server.env)
        palette = self.palette
        # Opening picture 1 preselected its first colour without a note.
        recorder.wait_recorded(recorder.now(), 0.5)
        with self.subTest("no sound before anything is clicked"):
            self.assertLess(recorder.peak(0), QUIET)
        one, two, three = [k for k, c in enumerate(palette) if c != WHITE][:3]

        # Sound on: a pick plays its note, a fill its pop.
        with self.subTest("a pick and a fill are heard"):
            self.heard("picking a colour", lambda: self.pick(one))
            self.heard("filling an area", lambda: self.fill(palette[one]))
        # Quick clicks never pile up: each note starts over, so the sound ends soon after
        # the last click instead of playing ten notes one after another.
        with self.subTest("quick clicks do not queue"):
            start = recorder.wait_silent()
            bx, by = win.button(one)
            display.run("xdotool", "mousemove", "--sync", str(bx), str(by))
            display.run("xdotool", "click", "--repeat", "10", "--delay", "30", "1")
            length = recorder.sound_length(recorder.wait_heard("quick clicks", start))
            print(f"ten quick clicks: {length:.2f} s of sound", flush=True)
            self.assertLess(length, 2.0, "ten quick clicks sounded this long: queued")
        # A click on the area just filled changes nothing and stays silent.
        with self.subTest("a fill that changes nothing is silent"):
            ax, ay, _ = self.filled[-1]
            self.silent("a fill that changes nothing",
                        lambda: (display.click(*win.picture(ax, ay)),
                                 recorder.wait_recorded(recorder.now(), 0.2)))

        # M: silence.
        display.key("m")
        with self.subTest("M silences"):
            self.silent("picking a colour, muted", lambda: self.pick(two))
            self.silent("filling, muted", lambda: self.fill(palette[two]))
        # M again: the sounds are back.
        display.key("m")
        with self.subTest("M again brings the sounds back"):
            self.heard("picking a colour, unmuted", lambda: self.pick(three))
            self.heard("filling, unmuted", lambda: self.fill(palette[three]))

        # The rest of the picture; the last fill solves it and cheers, once.
        last = self.todo[-1]
        for k, colour in enumerate(palette):
            if any(ar[2] == colour and ar != last for ar in self.todo):
                self.pick(k)
                while any(ar[2] == colour and ar != last for ar in self.todo):
                    self.fill(colour)
        self.assertEqual(self.todo, [last])
        self.pick(palette.index(last[2]))
        at = self.heard("solving the picture", lambda: self.fill(last[2]))
        length = recorder.sound_length(at)
        print(f"the cheer lasts {length:.2f} s", flush=True)
        with self.subTest("the cheer's length"):
            self.assertTrue(1.0 < length < 3.0, f"the solved picture's sound lasts {length:.2f} s")
        # The firework goes on looping (1.3 s a loop); the cheer does not.
        end = recorder.now()
        recorder.wait_recorded(end, 3.0)
        with self.subTest("silence after the cheer while the firework loops"):
            self.assertLess(recorder.peak(end), QUIET)

    def test_no_sound_server(self):
        # No sound server for the game (its server's socket does not exist, nothing may
        # start one), while the recorder listens on: silent, no error box, at most one
        # line of output, and it plays.
        none = self.tmp / "none"
        none.mkdir(mode=0o700)
        recorder = self.recorder
        start = recorder.wait_silent()
        self.start_game(dict(self.server.env, PULSE_SERVER=f"unix:{none / 'native'}",
                             XDG_RUNTIME_DIR=str(none), PULSE_RUNTIME_PATH=str(none)))
        one = next(k for k, c in enumerate(self.palette) if c != WHITE)
        self.pick(one)
        self.fill(self.palette[one])
        recorder.wait_recorded(recorder.now(), 1.0)
        peak = recorder.peak(start)
        print(f"no server: peak {peak:.4f}", flush=True)
        with self.subTest("silent"):
            self.assertLess(peak, QUIET)
        names = [self.display.run("xdotool", "getwindowname", w, check=False).strip()
                 for w in self.display.windows(pid=self.game.proc.pid)]
        with self.subTest("no window besides the game's"):
            self.assertEqual(names, ["Tintbox"])
        harness.stop(self.game.proc)
        output = self.game.output().strip().splitlines()
        print("no server, the game printed:", output, flush=True)
        self.assertLessEqual(len(output), 1, output)


if __name__ == "__main__":
    harness.main()
