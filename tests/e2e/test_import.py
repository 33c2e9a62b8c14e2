"""A parent imports a drawing into the picture folder; a player opens it and plays it to the firework."""
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402
from harness import PANEL_LEFT, WINDOW, button_centre, catalogue, palette_size  # noqa: E402


def draw(path):
    """An anti-aliased cartoon, larger than the game's picture, saved as JPEG."""
    subprocess.run(["convert", "-size", "1000x750", "xc:white", "-stroke", "black",
                    "-strokewidth", "7",
                    "-fill", "#e04a3c", "-draw", "circle 330,360 330,160",
                    "-fill", "#3c8ce6", "-draw", "roundrectangle 600,120 920,470 30,30",
                    "-fill", "#f0cd37", "-draw", "polygon 90,700 500,560 930,710",
                    "-quality", "75", str(path)], check=True)


def test(a, display):
    importer = pathlib.Path(a.checker).with_name("tintbox-import")
    with tempfile.TemporaryDirectory(prefix="tintbox-e2e-import-") as tmp:
        work = pathlib.Path(tmp)
        images = work / "img"
        shutil.copytree(a.images, images)
        before = catalogue(a.checker, str(images))
        drawing = work / "drawing.jpg"
        draw(drawing)
        r = subprocess.run([str(importer), str(drawing), str(images)], capture_output=True,
                           text=True)
        print(r.stdout, r.stderr, end="", flush=True)
        assert r.returncode == 0, r.stderr
        n = len(before) + 1
        assert f"{n}.bmp" in r.stdout, r.stdout
        pictures = catalogue(a.checker, str(images))
        assert len(pictures) == n, pictures.keys()
        colours, areas = pictures[n]
        assert 2 <= colours <= 10, colours

        game = harness.Game(display, a.program, images=str(images))
        try:
            wid = display.find_window("^Tintbox$")
            x, y, _, _ = display.window_geometry(wid)
            harness.wait_for("palette of picture 1", lambda: palette_size(
                display.screenshot(), x, y) == pictures[1][0])
            # The counter opens the new picture.
            display.click(x + PANEL_LEFT + 87 + 86, y + 168 + 20)
            display.find_window("^Выбор картинки$")
            display.key("ctrl+a")
            display.type(str(n))
            display.key("Return")
            shot = harness.wait_for(f"palette of picture {n}", lambda: (
                lambda s: s if palette_size(s, x, y) == colours else None)(display.screenshot()))
            for ax, ay, _ in areas:
                assert shot.pixel(x + 2 + ax, y + 2 + ay) == (255, 255, 255), (ax, ay)

            for k in range(colours):
                colour = shot.pixel(*button_centre(x, y, k))
                display.click(*button_centre(x, y, k))
                for ax, ay, want in areas:
                    if want != colour or want == (255, 255, 255):
                        continue
                    display.click(x + 2 + ax, y + 2 + ay)
                    harness.wait_for(f"area {ax},{ay} filled", lambda: display.screenshot().pixel(
                        x + 2 + ax, y + 2 + ay) == want)

            # Solved: the thumbnail gives way to the firework, which plays.
            thumb = (x + PANEL_LEFT + 10, y + 300)
            harness.wait_for("thumbnail hidden",
                             lambda: display.screenshot().pixel(*thumb) == WINDOW)
            an = (x + PANEL_LEFT + 51, y + 225, 249, 255)

            def frame():
                s = display.screenshot()
                return bytes(b for yy in range(an[1], an[1] + an[3], 8)
                             for xx in range(an[0], an[0] + an[2], 8) for b in s.pixel(xx, yy))
            first = frame()
            harness.wait_for("the firework to move",
                             lambda: (time.sleep(0.15), frame() != first)[1])
        finally:
            game.close()


if __name__ == "__main__":
    harness.main(test)
