"""The player's language: started with LANG=de_DE.UTF-8 the program asks for a picture's
number in German (caption, prompt and Qt's own Cancel button, read back from the screen),
while the main window keeps its caption; LANGUAGE=fr before it gives French."""
import pathlib
import subprocess
import tempfile

import harness

# Qt's own catalogue of German, where the Cancel button's caption comes from.
QT_GERMAN = pathlib.Path("/usr/share/qt6/translations/qtbase_de.qm")


def language(**variables):
    """The environment for Game: only the given locale variables set."""
    return {**dict.fromkeys(("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")), **variables}


def program_window(game, name):
    """The program's visible window captioned exactly name (xdotool's patterns do not
    match every UTF-8 caption, so the captions are compared here)."""
    display = game.display

    def find():
        for wid in display.windows(pid=game.proc.pid):
            if display.run("xdotool", "getwindowname", wid, check=False).rstrip("\n") == name:
                return wid
        return None
    return harness.wait_for(f"a window captioned {name!r}", find)


def read_text(display, geometry):
    """The words inside geometry on the screen, as tesseract reads them."""
    with tempfile.TemporaryDirectory() as tmp:
        shot = pathlib.Path(tmp, "shot.png")
        subprocess.run(["convert", "ppm:-", "-colorspace", "gray", "-resize", "300%",
                        "-bordercolor", "white", "-border", "20", str(shot)],
                       input=display.screenshot(*geometry).ppm(), check=True)
        return subprocess.run(["tesseract", str(shot), "-", "--psm", "11"], capture_output=True,
                              text=True).stdout


class Language(harness.TestCase):
    def ask_number(self, game, caption):
        """Clicks the counter of the main window (found by its caption, which the
        language leaves alone); the number box, found by its caption."""
        game.main_window().click("index")
        return program_window(game, caption)

    def test_german(self):
        game = self.start(env=language(LANG="de_DE.UTF-8"))
        box = self.ask_number(game, "Bild auswählen")
        geometry = self.display.settled_geometry(box)
        wanted = ["Bitte gib die Nummer des Bildes ein:"]
        if QT_GERMAN.exists():
            wanted.append("Abbrechen")
        seen = [""]

        def german():
            words = seen[0] = " ".join(read_text(self.display, geometry).split())
            return all(w in words for w in wanted)
        try:
            harness.wait_for("the German prompt and buttons on the screen", german, timeout=20,
                             interval=0.5)
        except AssertionError as e:
            self.fail(f"{e}; read {seen[0]!r}")
        self.display.key("Escape")
        harness.wait_for("the number box to close",
                         lambda: box not in self.display.windows(pid=game.proc.pid))

    def test_language_comes_before_lang(self):
        game = self.start(env=language(LANGUAGE="fr", LANG="de_DE.UTF-8"))
        self.ask_number(game, "Choisir une image")
        self.display.key("Escape")


if __name__ == "__main__":
    harness.main()
