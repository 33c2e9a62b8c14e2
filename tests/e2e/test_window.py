"""The main window: client size and position, window colour, the panel's bevel; where
the example window and the number box go. Places and outer sizes are those of the
frames a window manager draws (none on bare Xvfb)."""
import harness
from harness import WINDOW, layout


def centred(inner, outer):
    """inner (x, y, w, h) centred on outer, to a pixel of rounding."""
    return all(abs((inner[i] + inner[i + 2] / 2) - (outer[i] + outer[i + 2] / 2)) <= 1
               for i in (0, 1))


class MainWindow(harness.TestCase):
    def setUp(self):
        self.win = self.start().main_window()
        self.screen = (0, 0, self.display.width, self.display.height)

    def test_size_and_place(self):
        self.assertEqual((self.win.width, self.win.height), layout.CLIENT, "client area")
        # Centred on the desktop, frame included.
        outer = self.display.outer_geometry(self.win.wid)
        self.assertTrue(centred(outer, self.screen), outer)

    def test_colours_and_bevel(self):
        win = self.win
        shot = self.display.wait_shot("window colour", lambda s: s.pixel(
            win.x + 1, win.y + 1) == WINDOW)
        # Window colour in the margin around the picture area and under the footer.
        for px, py in [(0, 0), (1, 483), (642, 240), (643, 10)]:
            with self.subTest(margin=(px, py)):
                self.assertEqual(shot.pixel(win.x + px, win.y + py), WINDOW)
        # The panel: its own colour inside, a raised one-pixel bevel.
        hi_top, hi_left = shot.pixel(*win.at("Panel1", 100, 0)), shot.pixel(*win.at("Panel1", 0, 100))
        sh_right = shot.pixel(*win.at("Panel1", 345, 100))
        sh_bottom = shot.pixel(*win.at("Panel1", 100, 483))
        with self.subTest("highlight on the top and left edges"):
            self.assertEqual(hi_top, hi_left)
        with self.subTest("shadow on the right and bottom edges"):
            self.assertEqual(sh_right, sh_bottom)
        with self.subTest("raised: the highlight is the lighter"):
            self.assertGreater(sum(hi_top), sum(sh_right))
        with self.subTest("the panel's own colour"):
            self.assertEqual(shot.pixel(*win.at("Panel1", 5, 130)), WINDOW)

    def test_example_window(self):
        # 640 x 480 outside, centred over the main window.
        outer = self.display.outer_geometry(self.win.wid)
        self.win.click("ex")
        ex = self.display.find_window("^Пример$")
        ex_outer = self.display.outer_geometry(ex)
        self.display.key("Escape")
        self.display.window_gone("^Пример$")
        with self.subTest("size"):
            self.assertEqual(ex_outer[2:], (640, 480))
        with self.subTest("centred over the main window"):
            self.assertTrue(centred(ex_outer, outer), (ex_outer, outer))

    def test_number_box_and_its_error(self):
        # The number box, and the error box for a number that is not one: centred on
        # the work area.
        self.win.click("index")
        box = self.display.find_window("^Выбор картинки$")
        box_outer = self.display.outer_geometry(box)
        self.display.type("12a")
        self.display.key("Return")

        def error_box():
            return next((i for i in self.display.windows("^Tintbox$") if i != self.win.wid),
                        None)
        err = harness.wait_for("the error box", error_box)
        err_outer = self.display.outer_geometry(err)
        self.display.key("Return")
        with self.subTest("number box centred"):
            self.assertTrue(centred(box_outer, self.screen), box_outer)
        with self.subTest("error box small"):
            self.assertLess(err_outer[2], 600, err_outer)
        with self.subTest("error box centred"):
            self.assertTrue(centred(err_outer, self.screen), err_outer)


if __name__ == "__main__":
    harness.main()
