"""Opening a picture shows the wait picture and the footer until its palette is ready."""
import pathlib
import shutil
import struct
import tempfile

import harness
from harness import FOOTER, TEAL, WHITE, WINDOW


def big_rle8(path, side, colour):
    """A side x side RLE8 picture: one area of colour inside a black frame.

    Small on disk, but large enough in pixels that reading, scanning and
    blanking it keep the loading look on the screen for a while."""
    def runs(index, count):
        out = bytearray()
        while count > 0:
            n = min(count, 255)
            out += bytes((n, index))
            count -= n
        return out
    black_row = runs(0, side) + b"\x00\x00"
    inner_row = runs(0, 1) + runs(1, side - 2) + runs(0, 1) + b"\x00\x00"
    data = black_row + inner_row * (side - 2) + black_row + b"\x00\x01"
    table = bytes((0, 0, 0, 0)) + bytes((colour[2], colour[1], colour[0], 0))
    header = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 8, 1, len(data), 0, 0, 2, 0)
    offset = 14 + len(header) + len(table)
    path.write_bytes(struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
                     + header + table + data)


class Loading(harness.TestCase):
    def test_loading_look_until_the_palette(self):
        tmp = tempfile.TemporaryDirectory(prefix="tintbox-img-")
        self.addCleanup(tmp.cleanup)
        images = pathlib.Path(tmp.name)
        shutil.copy2(pathlib.Path(self.args.images) / "1.bmp", images / "1.bmp")
        big_rle8(images / "2.bmp", 7000, (250, 150, 40))
        win = self.start(images=str(images)).main_window()
        harness.wait_for("picture 1 set up",
                         lambda: self.display.pixel(*win.button(0)) != WINDOW)
        fx, fy, fw, fh = win.at("f", 0, 0) + harness.layout.CONTROLS["f"][3:]

        def loading(s):
            disc = s.pixel(*win.at("w", 30, 128)) == TEAL
            footer = any(s.pixel(xx, yy) == FOOTER
                         for yy in range(fy + 2, fy + fh) for xx in range(fx, fx + fw + 1))
            blank_area = s.pixel(*win.picture(18, 18)) == WINDOW
            return disc and footer and blank_area

        win.click("maxbtn")
        self.display.wait_shot("the loading look", loading, timeout=30, interval=0.01)
        # Then the new picture comes up: one colour, one palette button, the look gone.
        final = self.display.wait_shot("picture 2 set up", lambda s: s.pixel(
            *win.picture(18, 18)) == WHITE, timeout=60)
        with self.subTest("its colour on the palette"):
            self.assertEqual(final.pixel(*win.button(0)), (250, 150, 40))
        with self.subTest("one palette button only"):
            self.assertEqual(final.pixel(*win.button(1)), WINDOW)
        with self.subTest("the loading look gone"):
            self.assertFalse(loading(final))


if __name__ == "__main__":
    harness.main()
