"""A player solves picture 1, sees the firework, and moves on with ▶ and the counter."""
import pathlib
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402
from harness import (PANEL_LEFT, WINDOW, button_centre, catalogue, counter_preset,  # noqa: E402
                     palette_size)


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


def test(a, display):
    pictures = catalogue(a.checker, a.images)
    n = len(pictures)
    assert n >= 2, pictures
    game = harness.Game(display, a.program, images=a.images)
    try:
        wid = display.find_window("^Tintbox$")
        x, y, _, _ = display.window_geometry(wid)
        print("window at", x, y, flush=True)
        colours, areas = pictures[1]
        shot = harness.wait_for("palette of picture 1", lambda: (
            lambda s: s if palette_size(s, x, y) == colours else None)(display.screenshot()))
        # The picture is blank: every area white.
        for ax, ay, _ in areas:
            assert shot.pixel(x + 2 + ax, y + 2 + ay) == (255, 255, 255), (ax, ay)
        thumb = (x + PANEL_LEFT + 10, y + 300)
        assert shot.pixel(*thumb) != WINDOW, "thumbnail shows the finished picture"

        for k in range(colours):
            colour = shot.pixel(*button_centre(x, y, k))
            display.click(*button_centre(x, y, k))
            for ax, ay, want in areas:
                if want != colour:
                    continue
                display.click(x + 2 + ax, y + 2 + ay)
                harness.wait_for(f"area {ax},{ay} filled", lambda: display.screenshot().pixel(
                    x + 2 + ax, y + 2 + ay) == want)

        # Solved: the thumbnail gives way to the firework, which plays.
        an = (x + PANEL_LEFT + 51, y + 225, 249, 255)
        harness.wait_for("thumbnail hidden", lambda: display.screenshot().pixel(*thumb) == WINDOW)
        def frame():
            s = display.screenshot()
            return bytes(b for yy in range(an[1], an[1] + an[3], 8)
                         for xx in range(an[0], an[0] + an[2], 8) for b in s.pixel(xx, yy))
        first = frame()
        harness.wait_for("the firework to move", lambda: (time.sleep(0.15), frame() != first)[1])
        # Its transparent pixels show the window colour.
        assert bytes(WINDOW) in first
        # What the screen shows is, pixel for pixel, a frame of the checker's
        # preview: one with a burst in it (the last frame is the bare panel).
        frames = checker_frames(a.checker, a.images)
        bursts = [k for k, f in enumerate(frames) if f != bytes(WINDOW) * (an[2] * an[3])]
        assert len(bursts) == 8, bursts
        def shown_burst():
            s = display.screenshot()
            rows = b"".join(s.data[((an[1] + r) * s.width + an[0]) * 3:
                                   ((an[1] + r) * s.width + an[0] + an[2]) * 3]
                            for r in range(an[3]))
            return next((str(k) for k in bursts if frames[k] == rows), None)
        k = harness.wait_for("a burst of the checker's preview on screen", shown_burst)
        print("firework shows frame", k, flush=True)

        # ▶ opens picture 2.
        display.click(x + PANEL_LEFT + 265 + 28, y + 168 + 20)
        harness.wait_for("palette of picture 2", lambda: palette_size(
            display.screenshot(), x, y) == pictures[2][0])
        assert counter_preset(display, x, y) == "2"
        # The counter opens picture N when N is typed.
        display.type(str(n))
        display.key("Return")
        harness.wait_for(f"palette of picture {n}", lambda: palette_size(
            display.screenshot(), x, y) == pictures[n][0])
        assert counter_preset(display, x, y) == str(n)
        display.key("Escape")
    finally:
        game.close()


if __name__ == "__main__":
    harness.main(test)
