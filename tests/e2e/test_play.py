"""A player solves picture 1, sees the firework, and moves on with ▶ and the counter."""
import pathlib
import re
import subprocess
import tempfile
import time

import harness
from harness import WHITE, WINDOW, layout

# A point of the thumbnail ex left of the firework an: the window colour once ex hides.
THUMB = ("ex", 7, 74)


def checker_frames(checker, images):
    """The RGB bytes of every firework frame as `tintbox-check --gif` paints it."""
    firework = pathlib.Path(images).parent / "src" / "ui" / "data" / "firework.dat"
    with tempfile.TemporaryDirectory() as out:
        listing = subprocess.run([checker, "--gif", str(firework), "--frames", out],
                                 capture_output=True, text=True, check=True).stdout
        frames = []
        for k in range(len(re.findall(r"^frame ", listing, re.M))):
            data = pathlib.Path(out, f"{k}.ppm").read_bytes()
            # Header: "P6\n<w> <h>\n255\n", then the pixels.
            header_end = data.index(b"\n", data.index(b"\n", 3) + 1) + 1
            assert data[:header_end] == b"P6\n249 255\n255\n", data[:header_end]
            frames.append(data[header_end:])
    assert len(frames) == 9, listing
    return frames


def firework_rect(win):
    return (*win.at("an", 0, 0), *layout.CONTROLS["an"][3:])


def play_to_the_firework(test, win, shot, colours, areas):
    """Fills every area with its colour, palette button by button (shot: the screen with
    the palette), then waits for the thumbnail to give way to the firework, which plays.
    The firework's first screenshot."""
    display = win.display
    for k in range(colours):
        colour = shot.pixel(*win.button(k))
        display.click(*win.button(k))
        for ax, ay, want in areas:
            if want != colour or want == WHITE:
                continue
            display.click(*win.picture(ax, ay))
            harness.wait_for(f"area {ax},{ay} filled",
                             lambda: display.pixel(*win.picture(ax, ay)) == want)
    harness.wait_for("thumbnail hidden", lambda: display.pixel(*win.at(*THUMB)) == WINDOW)
    an = firework_rect(win)

    def frame():
        return display.screenshot(*an).data[::8 * 3]
    first = frame()
    harness.wait_for("the firework to move", lambda: (time.sleep(0.15), frame() != first)[1])
    return display.screenshot(*an)


class Play(harness.TestCase):
    def test_solve_picture_1(self):
        win, shot = self.start_on_picture_1()
        colours, areas = self.catalogue[1]
        # The picture is blank: every area white; the thumbnail shows the finished picture.
        for ax, ay, _ in areas:
            with self.subTest(blank=(ax, ay)):
                self.assertEqual(shot.pixel(*win.picture(ax, ay)), WHITE)
        with self.subTest("thumbnail shown"):
            self.assertNotEqual(shot.pixel(*win.at(*THUMB)), WINDOW)

        first = play_to_the_firework(self, win, shot, colours, areas)
        an = firework_rect(win)
        # Its transparent pixels show the window colour.
        with self.subTest("transparent pixels show the window"):
            self.assertIn(bytes(WINDOW), first.data)
        # What the screen shows is, pixel for pixel, a frame of the checker's
        # preview: one with a burst in it (the last frame is the bare panel).
        frames = checker_frames(self.args.checker, self.args.images)
        bursts = [k for k, f in enumerate(frames) if f != bytes(WINDOW) * (an[2] * an[3])]
        self.assertEqual(len(bursts), 8, bursts)
        k = harness.wait_for("a burst of the checker's preview on screen", lambda: next(
            (str(k) for k in bursts if frames[k] == self.display.screenshot(*an).data), None))
        print("firework shows frame", k, flush=True)

    def test_next_and_the_counter(self):
        pictures = self.catalogue
        self.assertGreaterEqual(len(pictures), 2, "pictures to move between")
        n = len(pictures)
        win = self.start().main_window()
        win.wait_palette(pictures[1][0], "palette of picture 1")
        # ▶ opens picture 2.
        win.click("maxbtn")
        win.wait_palette(pictures[2][0], "palette of picture 2")
        self.assertEqual(win.counter_preset(), "2")
        # The counter opens picture N when N is typed.
        self.display.type(str(n))
        self.display.key("Return")
        win.wait_palette(pictures[n][0], f"palette of picture {n}")
        self.assertEqual(win.counter_preset(), str(n))
        self.display.key("Escape")


if __name__ == "__main__":
    harness.main()
