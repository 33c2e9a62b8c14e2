"""Starting the program as a person does: from its build folder as it stands, and
with a folder of pictures of one's own named on the command line."""
import pathlib
import shutil
import tempfile

import harness
from harness import WHITE, layout

TEXT = "Нет картинок. Программа будет завершена!"


def ready_to_play(test, game, colours, areas):
    """Waits for the main window showing a blanked picture with a palette of colours."""
    win = game.main_window()
    test.assertEqual((win.width, win.height), layout.CLIENT, "not the main window")
    shot = win.wait_palette(colours)
    for ax, ay, _ in areas:
        with test.subTest(blank=(ax, ay)):
            test.assertEqual(shot.pixel(*win.picture(ax, ay)), WHITE)


class Startup(harness.TestCase):
    def setUp(self):
        tmp = tempfile.TemporaryDirectory(prefix="tintbox-own-")
        self.addCleanup(tmp.cleanup)
        self.work = pathlib.Path(tmp.name)

    def test_from_the_build_folder(self):
        # The build places the bundled pictures beside the program: it plays them
        # where it was built, started from another folder.
        program = pathlib.Path(self.args.program)
        self.assertTrue((program.parent / "img" / "1.bmp").is_file(),
                        "no img/ beside the built program")
        game = self.start(in_place=True)
        ready_to_play(self, game, *self.catalogue[1])

    def test_a_folder_of_ones_own(self):
        # A folder of one's own, named relative to the working folder, replaces the
        # img/ beside the program. Its picture 1 is a bundled picture with another
        # number of colours, so the palette tells which folder is played.
        pictures = self.catalogue
        other = next(k for k, (colours, _) in pictures.items() if colours != pictures[1][0])
        (self.work / "mine").mkdir()
        shutil.copy2(pathlib.Path(self.args.images) / f"{other}.bmp", self.work / "mine" / "1.bmp")
        game = self.start(in_place=True, args=["mine/"], cwd=self.work)
        ready_to_play(self, game, *pictures[other])

    def test_no_such_folder(self):
        # A folder that does not exist, or a file: the "no pictures" stop.
        (self.work / "a-file").write_bytes(b"")
        for folder in ["missing", "a-file"]:
            with self.subTest(folder=folder):
                game = self.start(in_place=True, args=[folder], cwd=self.work)
                try:
                    wid = game.find_window()
                    _, _, w, h = self.display.settled_geometry(wid)
                    self.assertTrue(w < 600 and h < 300, f"a {w}x{h} window, not the message")
                    self.display.run("xdotool", "windowactivate", "--sync", wid, check=False)
                    self.assertIn(TEXT, self.display.copy())
                    self.display.key("Return")
                    self.assertEqual(game.exit_code(timeout=10), 0, "exit status")
                finally:
                    game.close()


if __name__ == "__main__":
    harness.main()
