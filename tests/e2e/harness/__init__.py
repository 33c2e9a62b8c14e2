"""The real program under Xvfb, driven by xdotool; the screen read through libX11.

One package for the end-to-end tests and the benchmark's app driver: one Xvfb
start (Display), one window search (Display.find_window), one screenshot reader
(Display.screenshot, Display.pixel), one table of the main window's layout
(layout), and the unittest frame the tests run in (TestCase, main).
"""
from .case import TestCase, main, options
from .display import Display, Image, Screen, stop, wait_for
from .layout import BLACK, FOOTER, GRAY, TEAL, WHITE, WINDOW, MainWindow
from .program import Game, catalogue
