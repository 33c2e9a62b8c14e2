"""A player who needs help: clicks on outlines still fill, H flashes the areas still wrong, and the
keys pick colours and move between pictures (but not while the example window shows)."""
import pathlib
import subprocess
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402
from harness import PANEL_LEFT, button_centre, catalogue, counter_preset, palette_size  # noqa: E402

BLACK, WHITE, GRAY = (0, 0, 0), (255, 255, 255), (128, 128, 128)
# The hint's stripes.
STRIPES = {(255, 0, 144), (255, 236, 0)}


def snap(shot, at, px, py):
    """Where a click on picture pixel (px, py) starts its fill: the pixel itself unless it is black,
    else the nearest one that is not black within 3 (the first column first), or None."""
    if shot.pixel(*at(px, py)) != BLACK:
        return px, py
    best, best_d = None, 10
    for dx in range(-3, 4):
        for dy in range(-3, 4):
            qx, qy, d = px + dx, py + dy, dx * dx + dy * dy
            if d < best_d and 0 <= qx < 640 and 0 <= qy < 480 and shot.pixel(*at(qx, qy)) != BLACK:
                best, best_d = (qx, qy), d
    return best


def picture_area(shot, x, y):
    rows = []
    for yy in range(y + 2, y + 482):
        i = (yy * shot.width + x + 2) * 3
        rows.append(shot.data[i:i + 640 * 3])
    return b"".join(rows)


def window_gone(display, name):
    harness.wait_for(f"window {name!r} to close", lambda: subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--name", name], env=display.env,
        capture_output=True).returncode != 0)


def test(a, display):
    pictures = catalogue(a.checker, a.images)
    n = len(pictures)
    assert n >= 3, pictures
    game = harness.Game(display, a.program, images=a.images)
    try:
        wid = display.find_window("^Tintbox$")
        x, y, _, _ = display.window_geometry(wid)

        def at(px, py):
            return x + 2 + px, y + 2 + py

        def showing():
            """The number of the open picture, read from the counter's input box."""
            text = counter_preset(display, x, y)
            display.key("Escape")
            window_gone(display, "^Выбор картинки$")
            # Off the counter, so that the next synchronous move there has somewhere to go; still
            # over the window, where the keys go on a bare X server.
            display.run("xdotool", "mousemove", str(x + PANEL_LEFT + 170), str(y + 140))
            return int(text)

        colours, areas = pictures[1]
        shot = harness.wait_for("palette of picture 1", lambda: (
            lambda s: s if palette_size(s, x, y) == colours else None)(display.screenshot()))

        # A digit picks its palette button: the frame leaves button 1 for it.
        k = next(k for k in range(1, colours) if shot.pixel(*button_centre(x, y, k)) != WHITE)
        colour = shot.pixel(*button_centre(x, y, k))

        def frame_of(k):
            """A pixel of the selection frame's left edge round palette button k."""
            return x + PANEL_LEFT + 9 + 66 * (k % 5), y + 9 + 66 * (k // 5) + 32

        assert shot.pixel(*frame_of(0)) == GRAY
        display.key(str(k + 1))
        harness.wait_for(f"the frame round button {k + 1}", lambda: (
            lambda s: s.pixel(*frame_of(k)) == GRAY and s.pixel(*frame_of(0)) != GRAY)(
                display.screenshot()))

        # A click on the outer frame fills the area inside it; the frame stays black.
        corner = next((c, c) for c in range(8) if shot.pixel(*at(c, c)) == BLACK and
                      snap(shot, at, c, c) is not None)
        target = snap(shot, at, *corner)
        assert shot.pixel(*at(*target)) == WHITE, target
        display.click(*at(*corner))
        harness.wait_for(f"the area at {target} filled", lambda: display.screenshot().pixel(
            *at(*target)) == colour)
        assert display.screenshot().pixel(*at(*corner)) == BLACK

        # A click on an outline inside the picture fills the nearest blank area beside it.
        shot = display.screenshot()
        for ax, ay, _ in areas:
            if ay > 0 and shot.pixel(*at(ax, ay - 1)) == BLACK:
                target = snap(shot, at, ax, ay - 1)
                if target and shot.pixel(*at(*target)) == WHITE:
                    outline = (ax, ay - 1)
                    break
        else:
            raise AssertionError("no outline beside a blank area")
        display.click(*at(*outline))
        harness.wait_for(f"the area at {target} filled", lambda: display.screenshot().pixel(
            *at(*target)) == colour)
        assert display.screenshot().pixel(*at(*outline)) == BLACK

        # H: the areas still wrong flash (the blank ones among them), then the picture is as
        # before.
        before = display.screenshot()
        blank = [(ax, ay) for ax, ay, want in areas
                 if want != WHITE and before.pixel(*at(ax, ay)) == WHITE]
        assert blank
        display.key("h")
        during = harness.wait_for("the hint", lambda: (
            lambda s: s if picture_area(s, x, y) != picture_area(before, x, y) else None)(
                display.screenshot()))
        assert any(during.pixel(*at(*p)) in STRIPES for p in blank), [
            during.pixel(*at(*p)) for p in blank]

        def unchanged_for_a_while():
            # The hint's dark phases show the picture too: it is over once several screenshots
            # in a row, longer apart than one phase, all show the picture as before.
            for _ in range(4):
                if picture_area(display.screenshot(), x, y) != picture_area(before, x, y):
                    return False
                time.sleep(0.1)
            return True
        harness.wait_for("the hint to end", unchanged_for_a_while)

        # While the example window shows, the keys are its own: Right and End move nothing,
        # Escape closes it.
        display.click(x + PANEL_LEFT + 170, y + 350)
        display.find_window("^Пример$")
        display.key("Right")
        display.key("End")
        display.key("Escape")
        window_gone(display, "^Пример$")
        assert showing() == 1
        assert display.screenshot().pixel(*at(*target)) == colour, "the work on picture 1 is lost"

        # On the first picture Left and Page Up do nothing: the work stays.
        display.key("Left")
        display.key("Prior")
        assert showing() == 1
        assert display.screenshot().pixel(*at(*target)) == colour, "picture 1 was opened again"

        # The arrows, Page Up and Down, Home and End move as ◀ and ▶ do.
        for key, want in [("Right", 2), ("Next", 3), ("Prior", 2), ("Left", 1), ("End", n),
                          ("Right", n), ("Next", n), ("Home", 1)]:
            display.key(key)
            harness.wait_for(f"palette of picture {want} after {key}", lambda: palette_size(
                display.screenshot(), x, y) == pictures[want][0])
            assert showing() == want, key
    finally:
        game.close()


if __name__ == "__main__":
    harness.main(test)
