"""A player who cannot tell the colours apart: N puts a digit on every palette button and in every
area still wrong, the digit keys pick the colours by those numbers, and picture 1 is played to the
firework; the digits go as the areas come right, N again gives back the screen as it was, and the
numbers stay on for the next picture."""
import pathlib
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402
from harness import PANEL_LEFT, WINDOW, button_centre, catalogue, palette_size  # noqa: E402


def region(shot, left, top, width, height):
    return b"".join(shot.data[((top + r) * shot.width + left) * 3:
                              ((top + r) * shot.width + left + width) * 3] for r in range(height))


def button_face(shot, x, y, k):
    """The colours seen on palette button k inside its 4-pixel frame."""
    cx, cy = button_centre(x, y, k)
    return {shot.pixel(xx, yy) for yy in range(cy - 20, cy + 21) for xx in range(cx - 20, cx + 21)}


def test(a, display):
    pictures = catalogue(a.checker, a.images)
    assert len(pictures) >= 2, pictures
    game = harness.Game(display, a.program, images=a.images)
    try:
        wid = display.find_window("^Tintbox$")
        x, y, w, h = display.window_geometry(wid)
        colours, areas = pictures[1]
        off = harness.wait_for("palette of picture 1", lambda: (
            lambda s: s if palette_size(s, x, y) == colours else None)(display.screenshot()))
        picture = lambda s: region(s, x + 2, y + 2, 640, 480)  # noqa: E731
        window = lambda s: region(s, x, y, w, h)  # noqa: E731
        # Numbers off: every button is one flat colour.
        assert all(len(button_face(off, x, y, k)) == 1 for k in range(colours))

        def numbered(s):
            return (picture(s) != picture(off) and
                    all(len(button_face(s, x, y, k)) > 1 for k in range(colours)))
        display.key("n")
        on = harness.wait_for("the numbers", lambda: (
            lambda s: s if numbered(s) else None)(display.screenshot()))
        # Each button's colour still shows round its digit.
        for k in range(colours):
            colour = off.pixel(*button_centre(x, y, k))
            face = [on.pixel(xx, yy) for yy in range(button_centre(x, y, k)[1] - 20,
                                                     button_centre(x, y, k)[1] + 21)
                    for xx in range(button_centre(x, y, k)[0] - 20, button_centre(x, y, k)[0] + 21)]
            assert face.count(colour) > len(face) // 2, (k, colour)
        # The thumbnail shows no numbers.
        thumb = (x + PANEL_LEFT + 3, y + 226, 340, 255)
        assert region(on, *thumb) == region(off, *thumb)

        # N again: the window as it was, pixel for pixel; and on once more.
        display.key("n")
        harness.wait_for("the numbers gone", lambda: window(display.screenshot()) == window(off))
        display.key("n")
        harness.wait_for("the numbers back", lambda: numbered(display.screenshot()))

        # Play by the numbers: the digit key of a button picks its colour, and every area of
        # that colour is filled.
        for k in range(colours):
            colour = off.pixel(*button_centre(x, y, k))
            display.key(str((k + 1) % 10))
            for ax, ay, want in areas:
                if want != colour:
                    continue
                display.click(x + 2 + ax, y + 2 + ay)
                harness.wait_for(f"area {ax},{ay} filled", lambda: display.screenshot().pixel(
                    x + 2 + ax, y + 2 + ay) == want)

        # Solved: the firework, and the picture exactly as its file, every digit gone.
        harness.wait_for("thumbnail hidden", lambda: display.screenshot().pixel(
            x + PANEL_LEFT + 10, y + 300) == WINDOW)
        finished = harness.Image(640, 480, subprocess.run(
            ["convert", str(pathlib.Path(a.images) / "1.bmp"), "-depth", "8", "rgb:-"],
            capture_output=True, check=True).stdout)
        assert len(finished.data) == 640 * 480 * 3
        harness.wait_for("the finished picture without digits",
                         lambda: picture(display.screenshot()) == finished.data)

        # ▶: picture 2 comes up with its numbers on.
        display.click(x + PANEL_LEFT + 265 + 28, y + 168 + 20)
        n2 = pictures[2][0]
        harness.wait_for("picture 2 with its numbers", lambda: (
            lambda s: palette_size(s, x, y) == n2 and
            all(len(button_face(s, x, y, k)) > 1 for k in range(n2)))(display.screenshot()))
    finally:
        game.close()


if __name__ == "__main__":
    harness.main(test)
