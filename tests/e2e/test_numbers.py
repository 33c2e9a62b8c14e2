"""A player who cannot tell the colours apart: N puts a digit on every palette button and in every
area still wrong, the digit keys pick the colours by those numbers, and picture 1 is played to the
firework; the digits go as the areas come right, N again gives back the screen as it was, and the
numbers stay on for the next picture."""
import pathlib

import harness
from harness import WINDOW, layout

# A point of the thumbnail ex left of the firework an: the window colour once ex hides.
THUMB = ("ex", 7, 74)


def face(shot, win, k):
    """The pixels seen on palette button k inside its border, row after row."""
    left, top, right, bottom = win.button_face(k)
    return [shot.pixel(xx, yy) for yy in range(top, bottom) for xx in range(left, right)]


def numbered(shot, win, colours):
    """Every one of the first colours buttons shows more than its flat colour."""
    return all(len(set(face(shot, win, k))) > 1 for k in range(colours))


class Numbers(harness.TestCase):
    def setUp(self):
        self.assertGreaterEqual(len(self.catalogue), 2, "pictures to move between")
        self.win, self.off = self.start_on_picture_1()
        self.colours, self.areas = self.catalogue[1]

    def window(self, shot):
        return shot.rows(self.win.x, self.win.y, self.win.width, self.win.height)

    def numbers_on(self):
        """Presses N and waits for the digits on the buttons and in the picture."""
        win, off = self.win, self.off
        self.display.key("n")
        return self.display.wait_shot("the numbers", lambda s: win.picture_area(
            s) != win.picture_area(off) and numbered(s, win, self.colours))

    def test_n_shows_the_numbers_and_n_again_hides_them(self):
        win, off = self.win, self.off
        # Numbers off: every button is one flat colour.
        for k in range(self.colours):
            with self.subTest(flat=k):
                self.assertEqual(len(set(face(off, win, k))), 1)

        on = self.numbers_on()
        # Each button's colour still shows round its digit.
        for k in range(self.colours):
            colour = off.pixel(*win.button(k))
            seen = face(on, win, k)
            with self.subTest(colour_round_the_digit=k):
                self.assertGreater(seen.count(colour), len(seen) // 2, colour)
        with self.subTest("the thumbnail shows no numbers"):
            thumb = (*win.at("ex", 0, 0), *layout.CONTROLS["ex"][3:])
            self.assertEqual(on.rows(*thumb), off.rows(*thumb))

        # N again: the window as it was, pixel for pixel; and on once more.
        self.display.key("n")
        self.display.wait_shot("the numbers gone", lambda s: self.window(s) == self.window(off))
        self.display.key("n")
        self.display.wait_shot("the numbers back", lambda s: numbered(s, win, self.colours))

    def test_play_by_the_numbers(self):
        win, off, display = self.win, self.off, self.display
        self.numbers_on()
        # The digit key of a button picks its colour, and every area of that colour is filled.
        for k in range(self.colours):
            colour = off.pixel(*win.button(k))
            display.key(str((k + 1) % 10))
            for ax, ay, want in self.areas:
                if want != colour:
                    continue
                display.click(*win.picture(ax, ay))
                harness.wait_for(f"area {ax},{ay} filled",
                                 lambda: display.pixel(*win.picture(ax, ay)) == want)

        # Solved: the firework, and the picture exactly as its file, every digit gone.
        harness.wait_for("thumbnail hidden", lambda: display.pixel(*win.at(*THUMB)) == WINDOW)
        finished = harness.Image.read(pathlib.Path(self.args.images) / "1.bmp")
        self.assertEqual((finished.width, finished.height), layout.PICTURE)
        display.wait_shot("the finished picture without digits",
                          lambda s: win.picture_area(s) == finished.data)

        # ▶: picture 2 comes up with its numbers on.
        win.click("maxbtn")
        n2 = self.catalogue[2][0]
        display.wait_shot("picture 2 with its numbers", lambda s: win.palette_size(
            s) == n2 and numbered(s, win, n2))


if __name__ == "__main__":
    harness.main()
