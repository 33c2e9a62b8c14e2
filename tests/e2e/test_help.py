"""A player who needs help: clicks on outlines still fill, H flashes the areas still wrong, and the
keys pick colours and move between pictures (but not while the example window shows)."""
import time

import harness
from harness import BLACK, GRAY, WHITE, layout

# The hint's stripes.
STRIPES = {(255, 0, 144), (255, 236, 0)}


def snap(shot, win, px, py):
    """Where a click on picture pixel (px, py) starts its fill: the pixel itself unless it is black,
    else the nearest one that is not black within 3 (the first column first), or None."""
    if shot.pixel(*win.picture(px, py)) != BLACK:
        return px, py
    best, best_d = None, 10
    for dx in range(-3, 4):
        for dy in range(-3, 4):
            qx, qy, d = px + dx, py + dy, dx * dx + dy * dy
            if d < best_d and 0 <= qx < layout.PICTURE[0] and 0 <= qy < layout.PICTURE[1] and \
                    shot.pixel(*win.picture(qx, qy)) != BLACK:
                best, best_d = (qx, qy), d
    return best


class Help(harness.TestCase):
    def setUp(self):
        self.assertGreaterEqual(len(self.catalogue), 3, "pictures to move between")
        self.win, self.shot = self.start_on_picture_1()
        self.colours, self.areas = self.catalogue[1]

    def pick_by_key(self):
        """Picks a palette button other than the first and white with its digit key: the
        frame leaves button 1 for it. Its colour."""
        win, shot = self.win, self.shot
        k = next(k for k in range(1, self.colours) if shot.pixel(*win.button(k)) != WHITE)
        self.assertEqual(shot.pixel(*win.frame_edge(0)), GRAY, "the frame round button 1")
        self.display.key(str(k + 1))
        self.display.wait_shot(f"the frame round button {k + 1}", lambda s: s.pixel(
            *win.frame_edge(k)) == GRAY and s.pixel(*win.frame_edge(0)) != GRAY)
        return shot.pixel(*win.button(k))

    def click_and_fill(self, at, target, colour):
        """Clicks picture pixel at; the area at target fills with colour, at stays black."""
        win = self.win
        self.display.click(*win.picture(*at))
        harness.wait_for(f"the area at {target} filled",
                         lambda: self.display.pixel(*win.picture(*target)) == colour)
        self.assertEqual(self.display.pixel(*win.picture(*at)), BLACK, f"the outline at {at}")

    def showing(self):
        """The number of the open picture, read from the counter's input box."""
        text = self.win.counter_preset()
        self.display.key("Escape")
        self.display.window_gone("^Выбор картинки$")
        # Off the counter, so that the next synchronous move there has somewhere to go; still
        # over the window, where the keys go on a bare X server.
        self.display.move(*self.win.at("Panel1", 170, 140))
        return int(text)

    def test_clicks_on_outlines_fill(self):
        win, shot = self.win, self.shot
        colour = self.pick_by_key()
        # A click on the outer frame fills the area inside it; the frame stays black.
        with self.subTest("the outer frame"):
            corner = next((c, c) for c in range(8) if shot.pixel(*win.picture(c, c)) == BLACK
                          and snap(shot, win, c, c) is not None)
            target = snap(shot, win, *corner)
            self.assertEqual(shot.pixel(*win.picture(*target)), WHITE, target)
            self.click_and_fill(corner, target, colour)
        # A click on an outline inside the picture fills the nearest blank area beside it.
        with self.subTest("an outline inside"):
            shot = self.display.screenshot()
            for ax, ay, _ in self.areas:
                if ay > 0 and shot.pixel(*win.picture(ax, ay - 1)) == BLACK:
                    target = snap(shot, win, ax, ay - 1)
                    if target and shot.pixel(*win.picture(*target)) == WHITE:
                        outline = (ax, ay - 1)
                        break
            else:
                self.fail("no outline beside a blank area")
            self.click_and_fill(outline, target, colour)

    def test_hint(self):
        # H: the areas still wrong flash (the blank ones among them), then the picture is as
        # before.
        win, before = self.win, self.display.screenshot()
        blank = [(ax, ay) for ax, ay, want in self.areas
                 if want != WHITE and before.pixel(*win.picture(ax, ay)) == WHITE]
        self.assertTrue(blank)
        self.display.key("h")
        during = self.display.wait_shot("the hint", lambda s: win.picture_area(
            s) != win.picture_area(before))
        self.assertTrue(any(during.pixel(*win.picture(*p)) in STRIPES for p in blank),
                        [during.pixel(*win.picture(*p)) for p in blank])

        def unchanged_for_a_while():
            # The hint's dark phases show the picture too: it is over once several screenshots
            # in a row, longer apart than one phase, all show the picture as before.
            for _ in range(4):
                if win.picture_area(self.display.screenshot()) != win.picture_area(before):
                    return False
                time.sleep(0.1)
            return True
        harness.wait_for("the hint to end", unchanged_for_a_while)

    def test_keys(self):
        win = self.win
        # Some work on picture 1, to tell whether it is opened again.
        colour = self.shot.pixel(*win.button(0))
        target = next((ax, ay) for ax, ay, want in self.areas if want == colour)
        self.display.click(*win.picture(*target))
        harness.wait_for(f"the area at {target} filled",
                         lambda: self.display.pixel(*win.picture(*target)) == colour)

        # While the example window shows, the keys are its own: Right and End move nothing,
        # Escape closes it.
        with self.subTest("the example window"):
            win.click("ex")
            self.display.find_window("^Пример$")
            self.display.key("Right")
            self.display.key("End")
            self.display.key("Escape")
            self.display.window_gone("^Пример$")
            self.assertEqual(self.showing(), 1)
            self.assertEqual(self.display.pixel(*win.picture(*target)), colour,
                             "the work on picture 1 is lost")

        # On the first picture Left and Page Up do nothing: the work stays.
        with self.subTest("Left and Page Up on the first picture"):
            self.display.key("Left")
            self.display.key("Prior")
            self.assertEqual(self.showing(), 1)
            self.assertEqual(self.display.pixel(*win.picture(*target)), colour,
                             "picture 1 was opened again")

        # The arrows, Page Up and Down, Home and End move as ◀ and ▶ do.
        n = len(self.catalogue)
        for key, want in [("Right", 2), ("Next", 3), ("Prior", 2), ("Left", 1), ("End", n),
                          ("Right", n), ("Next", n), ("Home", 1)]:
            self.display.key(key)
            win.wait_palette(self.catalogue[want][0], f"palette of picture {want} after {key}")
            self.assertEqual(self.showing(), want, key)


if __name__ == "__main__":
    harness.main()
