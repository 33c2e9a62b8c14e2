"""The end-to-end tests under unittest: one Xvfb (and window manager) for each
test class, a program started per test, every failing case reported."""
import argparse
import sys
import unittest

from .display import Display
from .program import Game, catalogue

_options = None


def options(argv=None):
    """The test's own command-line options; the rest go to unittest."""
    global _options
    if _options is None or argv is not None:
        p = argparse.ArgumentParser()
        p.add_argument("--program", required=True)
        p.add_argument("--checker", required=True)
        p.add_argument("--images", required=True)
        p.add_argument("--wm", choices=["none", "openbox"], default="none",
                       help="the window manager to run on the display")
        _options, rest = p.parse_known_args(sys.argv[1:] if argv is None else argv)
        _options.rest = rest
    return _options


class TestCase(unittest.TestCase):
    """A display of its own for the class; self.args are the options, self.display
    the display, self.catalogue the bundled pictures as the checker reads them, and
    start() starts the program (closed after the test)."""

    maxDiff = None

    @classmethod
    def setUpClass(cls):
        cls.args = options()
        cls.catalogue = catalogue(cls.args.checker, cls.args.images)
        cls.display = Display()
        cls.addClassCleanup(cls.display.close)
        if cls.args.wm != "none":
            cls.display.start_wm(cls.args.wm)

    def start(self, images="bundled", program=None, **kw):
        """Starts the program (see Game: env, args, beside, ...) on the display; images
        "bundled" copies the bundled pictures beside it."""
        game = Game(self.display, program or self.args.program,
                    images=self.args.images if images == "bundled" else images, **kw)
        self.addCleanup(game.close)
        return game

    def start_on_picture_1(self, **kw):
        """Starts the program with the bundled pictures (kw as for start) and waits
        for picture 1's palette: the main window, and the screenshot that shows it."""
        win = self.start(**kw).main_window()
        return win, win.wait_palette(self.catalogue[1][0], "palette of picture 1")

    def pictures(self, images=None):
        return catalogue(self.args.checker, images or self.args.images)


def main():
    """Runs the test cases of the calling script."""
    a = options()
    unittest.main(module="__main__", argv=[sys.argv[0], *a.rest], verbosity=2)
