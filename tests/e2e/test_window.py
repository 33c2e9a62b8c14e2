"""The main window: client size and position, window colour, the panel's bevel."""
import sys
import pathlib

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402

WINDOW = (173, 255, 91)


def test(a, display):
    game = harness.Game(display, a.program, images=a.images)
    try:
        wid = display.find_window("^Tintbox$")
        x, y, w, h = display.window_geometry(wid)
        assert (w, h) == (990, 484), f"client area {w}x{h}"
        # Centred on the desktop.
        assert (x, y) == ((display.width - 990) // 2, (display.height - 484) // 2), (x, y)
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
    finally:
        game.close()


if __name__ == "__main__":
    harness.main(test)
