"""Opening a picture shows the wait picture and the footer until its palette is ready."""
import pathlib
import shutil
import struct
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402

WINDOW = (173, 255, 91)
TEAL = (82, 177, 176)       # the wait picture's disc, opaque over the window colour
FOOTER = (105, 210, 0)


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


def test(a, display):
    images = pathlib.Path(tempfile.mkdtemp(prefix="tintbox-img-"))
    shutil.copy2(pathlib.Path(a.images) / "1.bmp", images / "1.bmp")
    big_rle8(images / "2.bmp", 7000, (250, 150, 40))
    game = harness.Game(display, a.program, images=str(images))
    try:
        wid = display.find_window("^Tintbox$")
        x, y, _, _ = display.window_geometry(wid)
        harness.wait_for("picture 1 set up",
                         lambda: display.screenshot().pixel(x + 644 + 41, y + 41) != WINDOW)

        def loading(s):
            disc = s.pixel(x + 176 + 30, y + 104 + 128) == TEAL
            footer = any(s.pixel(x + xx, y + yy) == FOOTER
                         for yy in range(463, 478) for xx in range(24, 120))
            blank_area = s.pixel(x + 20, y + 20) == WINDOW
            return disc and footer and blank_area

        display.click(x + 644 + 265 + 28, y + 168 + 20)  # ▶
        seen = harness.wait_for("the loading look", lambda: loading(display.screenshot()),
                                timeout=30, interval=0.01)
        assert seen
        # Then the new picture comes up: one colour, one palette button, the look gone.
        final = harness.wait_for("picture 2 set up", lambda: (
            lambda s: s if s.pixel(x + 20, y + 20) == (255, 255, 255) else None)(
                display.screenshot()), timeout=60)
        assert final.pixel(x + 644 + 41, y + 41) == (250, 150, 40)
        assert final.pixel(x + 644 + 107, y + 41) == WINDOW, "one palette button only"
        assert not loading(final)
    finally:
        game.close()
        shutil.rmtree(images, ignore_errors=True)


if __name__ == "__main__":
    harness.main(test)
