"""The real program under Xvfb, driven by xdotool; the screen read through libX11.

One package for the end-to-end tests and the benchmark's app driver: one Xvfb
start (Display), one window search (Display.find_window), one screenshot reader
(Display.screenshot, Display.pixel), one table of the main window's layout
(layout), and the unittest frame the tests run in (TestCase, main).
"""
from .case import TestCase, main, options
from .display import Display, Image, Screen, stop, wait_for
from .layout import (BLACK, FOOTER, GRAY, PANEL_LEFT, TEAL, WHITE, WINDOW, MainWindow,
                     button_centre, palette_size)
from .program import Game, catalogue


def args():
    """The options, as harness.py's args() gave them."""
    return options()


def counter_preset(display, x, y):
    """The number the counter's input box offers (harness.py's form)."""
    from .layout import centre
    cx, cy = centre("index")
    display.click(x + cx, y + cy)
    display.find_window("^Выбор картинки$")
    return display.copy().strip()
