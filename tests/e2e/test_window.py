"""The main window: client size and position, window colour, the panel's bevel; where
the example window and the number box go. Places and outer sizes are those of the
frames a window manager draws (none on bare Xvfb)."""
import sys
import pathlib

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402

WINDOW = (173, 255, 91)


def centred(inner, outer):
    """inner (x, y, w, h) centred on outer, to a pixel of rounding."""
    return all(abs((inner[i] + inner[i + 2] / 2) - (outer[i] + outer[i + 2] / 2)) <= 1
               for i in (0, 1))


def test(a, display):
    game = harness.Game(display, a.program, images=a.images)
    try:
        wid = display.find_window("^Tintbox$")
        x, y, w, h = display.window_geometry(wid)
        assert (w, h) == (990, 484), f"client area {w}x{h}"
        # Centred on the desktop, frame included.
        outer = display.outer_geometry(wid)
        assert centred(outer, (0, 0, display.width, display.height)), outer
        shot = harness.wait_for("window colour", lambda: (
            lambda s: s if s.pixel(x + 1, y + 1) == WINDOW else None)(display.screenshot()))
        # Window colour in the margin around the picture area and under the footer.
        for px, py in [(0, 0), (1, 483), (642, 240), (643, 10)]:
            assert shot.pixel(x + px, y + py) == WINDOW, (px, py, shot.pixel(x + px, y + py))
        # The panel: its own colour inside, a raised one-pixel bevel.
        px0 = x + 644
        hi_top, hi_left = shot.pixel(px0 + 100, y), shot.pixel(px0, y + 100)
        sh_right, sh_bottom = shot.pixel(px0 + 345, y + 100), shot.pixel(px0 + 100, y + 483)
        assert hi_top == hi_left, (hi_top, hi_left)
        assert sh_right == sh_bottom, (sh_right, sh_bottom)
        assert sum(hi_top) > sum(sh_right), (hi_top, sh_right)
        assert shot.pixel(px0 + 5, y + 130) == WINDOW

        # The example window: 640 x 480 outside, centred over the main window.
        display.click(x + 644 + 170, y + 350)
        ex = display.find_window("^Пример$")
        ex_outer = display.outer_geometry(ex)
        assert ex_outer[2:] == (640, 480), ex_outer
        assert centred(ex_outer, outer), (ex_outer, outer)
        display.key("Escape")
        harness.wait_for("the example window to close", lambda: not display.run(
            "xdotool", "search", "--onlyvisible", "--name", "^Пример$", check=False).strip())

        # The number box, and the error box for a number that is not one: centred on the
        # work area.
        display.click(x + 644 + 87 + 86, y + 168 + 20)
        box = display.find_window("^Выбор картинки$")
        box_outer = display.outer_geometry(box)
        assert centred(box_outer, (0, 0, display.width, display.height)), box_outer
        display.type("12a")
        display.key("Return")

        def error_box():
            ids = display.run("xdotool", "search", "--onlyvisible", "--name", "^Tintbox$",
                              check=False).split()
            return next((i for i in ids if i != wid), None)
        err_outer = display.outer_geometry(harness.wait_for("the error box", error_box))
        assert err_outer[2] < 600, err_outer
        assert centred(err_outer, (0, 0, display.width, display.height)), err_outer
        display.key("Return")
    finally:
        game.close()


if __name__ == "__main__":
    harness.main(test)
