"""The main window's layout as the program lays it out: every control's place and
size, the palette's geometry and the colours the tests look for. Places are in
the window's client area (a control on Panel1 is moved by the panel's place)."""

CAPTION = "Tintbox"
CLIENT = (990, 484)

WINDOW = (173, 255, 91)   # the window's background, and Panel1's
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
GRAY = (128, 128, 128)    # the selection frame sh and the navigation captions
FOOTER = (105, 210, 0)    # the footer label f
TEAL = (82, 177, 176)     # the wait picture's disc, opaque over the window colour

# name: (parent, left, top, width, height), in creation (stacking) order.
CONTROLS = {
    "im": (None, 2, 2, 640, 480),
    "w": (None, 176, 104, 256, 256),
    "f": (None, 24, 461, 95, 17),
    "Panel1": (None, 644, 0, 346, 484),
    "ex": ("Panel1", 3, 226, 340, 255),
    "sh": ("Panel1", 24, 16, 60, 65),
    "prevbtn": ("Panel1", 24, 168, 57, 40),
    "maxbtn": ("Panel1", 265, 168, 57, 40),
    "index": ("Panel1", 87, 168, 172, 40),
    "an": ("Panel1", 51, 225, 249, 255),
}

# The palette on Panel1: buttons of PALETTE_SIDE from (PALETTE_LEFT, PALETTE_TOP),
# PALETTE_STEP apart, PALETTE_ROW to a row; the 64 x 64 frame sh sits
# FRAME_MARGIN outside the selected one.
PALETTE_LEFT = PALETTE_TOP = 16
PALETTE_SIDE = 50
PALETTE_STEP = 66
PALETTE_ROW = 5
PALETTE_MAX = 10
FRAME_MARGIN = 7
FRAME_SIDE = 64
BUTTON_BORDER = 4  # the frame drawn round a palette button's face

PICTURE = CONTROLS["im"][3:]  # the picture area's size


def rect(name):
    """(left, top, width, height) of a control in the window's client area."""
    parent, left, top, width, height = CONTROLS[name]
    if parent:
        px, py, _, _ = rect(parent)
        left, top = left + px, top + py
    return left, top, width, height


def centre(name):
    left, top, width, height = rect(name)
    return left + width // 2, top + height // 2


def palette_button(k):
    """(left, top, width, height) of palette button k (0 the first) in the window."""
    px, py, _, _ = rect("Panel1")
    return (px + PALETTE_LEFT + PALETTE_STEP * (k % PALETTE_ROW),
            py + PALETTE_TOP + PALETTE_STEP * (k // PALETTE_ROW), PALETTE_SIDE, PALETTE_SIDE)


def selection_frame(k):
    """(left, top, width, height) of the frame sh round palette button k."""
    left, top, _, _ = palette_button(k)
    return left - FRAME_MARGIN, top - FRAME_MARGIN, FRAME_SIDE, FRAME_SIDE


class MainWindow:
    """The main window where it is on the screen: its controls as screen points.
    game: the Game whose window it is."""

    def __init__(self, display, wid, game=None):
        self.display, self.wid, self.game = display, wid, game
        self.x, self.y, self.width, self.height = display.settled_geometry(wid)

    def at(self, name, dx=None, dy=None):
        """A screen point in control name: (dx, dy) from its corner, or its centre."""
        left, top, width, height = rect(name)
        return (self.x + left + (width // 2 if dx is None else dx),
                self.y + top + (height // 2 if dy is None else dy))

    def picture(self, px, py):
        """The screen point of picture pixel (px, py)."""
        return self.at("im", px, py)

    def button(self, k):
        """The centre of palette button k (0 the first)."""
        left, top, width, height = palette_button(k)
        return self.x + left + width // 2, self.y + top + height // 2

    def button_face(self, k):
        """(left, top, right, bottom) on the screen of palette button k inside its
        border, a pixel clear of it: where the button's colour and digit show."""
        left, top, width, height = palette_button(k)
        inset = BUTTON_BORDER + 1
        return (self.x + left + inset, self.y + top + inset,
                self.x + left + width - inset, self.y + top + height - inset)

    def frame_edge(self, k):
        """A pixel of the left edge of the selection frame round palette button k."""
        left, top, _, height = selection_frame(k)
        return self.x + left, self.y + top + height // 2

    def palette_size(self, shot):
        """How many palette buttons the screenshot shows."""
        return sum(1 for k in range(PALETTE_MAX) if shot.pixel(*self.button(k)) != WINDOW)

    def click(self, name, dx=None, dy=None, button=1):
        self.display.click(*self.at(name, dx, dy), button=button)

    def shot(self):
        """A screenshot of the client area."""
        return self.display.screenshot(self.x, self.y, self.width, self.height)

    def picture_area(self, shot):
        """The picture area's pixels in a screenshot, as bytes."""
        return shot.rows(*self.at("im", 0, 0), *PICTURE)

    def wait_palette(self, colours, what=None, timeout=30.0):
        """Waits for a palette of colours buttons; the screenshot that shows it."""
        return self.display.wait_shot(what or f"a palette of {colours}",
                                      lambda s: self.palette_size(s) == colours, timeout)

    def wait_picture(self, colours, areas, what, timeout=30.0):
        """Waits for a picture with a palette of colours buttons whose areas (the
        checker's (x, y, colour) seeds) are all blank; the screenshot that shows it.
        Tells a newly opened picture from the last one when their palettes are alike."""
        return self.display.wait_shot(what, lambda s: self.palette_size(s) == colours and all(
            s.pixel(*self.picture(ax, ay)) == WHITE for ax, ay, _ in areas), timeout)

    def counter_preset(self):
        """Opens the counter's input box; the number it offers, read through the
        clipboard. The box stays open."""
        self.click("index")
        self.display.find_window("^Выбор картинки$")
        return self.display.copy().strip()

