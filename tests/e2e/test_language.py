"""The player's language: started with LANG=de_DE.UTF-8 the program asks for a picture's
number in German (caption, prompt and Qt's own Cancel button, read back from the screen),
while the main window keeps its caption; LANGUAGE=fr before it gives French."""
import os
import pathlib
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402

# Qt's own catalogue of German, where the Cancel button's caption comes from.
QT_GERMAN = pathlib.Path("/usr/share/qt6/translations/qtbase_de.qm")


def with_language(display, **variables):
    """display.env with only the given locale variables set."""
    env = dict(display.env)
    for name in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"):
        env.pop(name, None)
    env.update(variables)
    return env


def program_window(display, game, name):
    """The program's visible window captioned exactly name (xdotool's patterns do not
    match every UTF-8 caption, so the captions are compared here)."""
    def find():
        for wid in display.run("xdotool", "search", "--onlyvisible", "--pid",
                               str(game.proc.pid), check=False).split():
            if display.run("xdotool", "getwindowname", wid, check=False).rstrip("\n") == name:
                return wid
        return None
    return harness.wait_for(f"a window captioned {name!r}", find)


def settled(display, wid):
    """The window's client area once it has stayed put for two reads 200 ms apart."""
    last = [None]

    def same():
        g = display.window_geometry(wid)
        if g == last[0]:
            return g
        last[0] = g
        return None
    return harness.wait_for("the window to settle", same, interval=0.2)


def read_text(display, geometry):
    """The words inside geometry on the screen, as tesseract reads them."""
    x, y, w, h = geometry
    with tempfile.TemporaryDirectory() as tmp:
        shot = os.path.join(tmp, "shot.png")
        screen = os.path.join(tmp, "screen.png")
        subprocess.run(["import", "-window", "root", screen], env=display.env, check=True)
        subprocess.run(["convert", screen, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-colorspace",
                        "gray", "-resize", "300%", "-bordercolor", "white", "-border", "20",
                        shot], check=True)
        return subprocess.run(["tesseract", shot, "-", "--psm", "11"], capture_output=True,
                              text=True).stdout


def ask_number(display, game):
    wid = display.find_window("^Tintbox$")
    x, y, _, _ = settled(display, wid)
    display.click(x + harness.PANEL_LEFT + 87 + 86, y + 168 + 20)


def test(a, display):
    display.env = with_language(display, LANG="de_DE.UTF-8")
    game = harness.Game(display, a.program, images=a.images)
    try:
        ask_number(display, game)
        box = program_window(display, game, "Bild auswählen")
        geometry = settled(display, box)

        seen = [""]

        def german():
            words = seen[0] = " ".join(read_text(display, geometry).split())
            wanted = ["Bitte gib die Nummer des Bildes ein:"]
            if QT_GERMAN.exists():
                wanted.append("Abbrechen")
            return words if all(w in words for w in wanted) else None
        try:
            harness.wait_for("the German prompt and buttons on the screen", german, timeout=20,
                             interval=0.5)
        except AssertionError as e:
            raise AssertionError(f"{e}; read {seen[0]!r}") from None
        display.key("Escape")
        harness.wait_for("the number box to close", lambda: box not in display.run(
            "xdotool", "search", "--onlyvisible", "--pid", str(game.proc.pid),
            check=False).split())
    finally:
        game.close()

    # LANGUAGE comes before LANG.
    display.env = with_language(display, LANGUAGE="fr", LANG="de_DE.UTF-8")
    game = harness.Game(display, a.program, images=a.images)
    try:
        ask_number(display, game)
        program_window(display, game, "Choisir une image")
        display.key("Escape")
    finally:
        game.close()


if __name__ == "__main__":
    harness.main(test)
