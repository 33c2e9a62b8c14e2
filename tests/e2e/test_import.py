"""A parent imports a drawing into the picture folder; a player opens it and plays it to the firework."""
import pathlib
import shutil
import subprocess
import tempfile

import harness
from test_play import play_to_the_firework


def draw(path):
    """An anti-aliased cartoon, larger than the game's picture, saved as JPEG."""
    subprocess.run(["convert", "-size", "1000x750", "xc:white", "-stroke", "black",
                    "-strokewidth", "7",
                    "-fill", "#e04a3c", "-draw", "circle 330,360 330,160",
                    "-fill", "#3c8ce6", "-draw", "roundrectangle 600,120 920,470 30,30",
                    "-fill", "#f0cd37", "-draw", "polygon 90,700 500,560 930,710",
                    "-quality", "75", str(path)], check=True)


class Import(harness.TestCase):
    def test_imported_drawing_plays(self):
        importer = pathlib.Path(self.args.checker).with_name("tintbox-import")
        tmp = tempfile.TemporaryDirectory(prefix="tintbox-e2e-import-")
        self.addCleanup(tmp.cleanup)
        work = pathlib.Path(tmp.name)
        images = work / "img"
        shutil.copytree(self.args.images, images)
        before = self.pictures(str(images))
        drawing = work / "drawing.jpg"
        draw(drawing)
        r = subprocess.run([str(importer), str(drawing), str(images)], capture_output=True,
                           text=True)
        print(r.stdout, r.stderr, end="", flush=True)
        self.assertEqual(r.returncode, 0, r.stderr)
        n = len(before) + 1
        self.assertIn(f"{n}.bmp", r.stdout)
        pictures = self.pictures(str(images))
        self.assertEqual(len(pictures), n, pictures.keys())
        colours, areas = pictures[n]
        self.assertTrue(2 <= colours <= 10, colours)

        win = self.start(images=str(images)).main_window()
        win.wait_palette(pictures[1][0], "palette of picture 1")
        # The counter opens the new picture.
        win.click("index")
        self.display.find_window("^Выбор картинки$")
        self.display.key("ctrl+a")
        self.display.type(str(n))
        self.display.key("Return")
        # Picture 1 may have as many colours: the new one shows when its areas are blank.
        shot = win.wait_picture(colours, areas, f"picture {n}, blank, with a palette of {colours}")
        play_to_the_firework(self, win, shot, colours, areas)


if __name__ == "__main__":
    harness.main()
