"""With no pictures the program shows its plain message and ends with status 0."""
import subprocess
import sys
import pathlib

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402

TEXT = "Нет картинок. Программа будет завершена!"


def test(a, display):
    # The title comes from the program file's name: MyGame.Final -> Mygame.
    game = harness.Game(display, a.program, images=None, name="MyGame.Final")
    try:
        wid = display.find_window("^Mygame$")
        x, y, w, h = display.outer_geometry(wid)
        assert w < 600 and h < 300, f"message form is {w}x{h}"
        # Centred on the primary monitor's work area (the whole screen under Xvfb).
        assert abs((x + w / 2) - display.width / 2) <= 2, (x, w)
        assert abs((y + h / 2) - display.height / 2) <= 2, (y, h)
        # Ctrl+C puts the form's text on the clipboard.
        display.run("xdotool", "windowactivate", "--sync", wid, check=False)
        display.key("ctrl+c")
        def clipboard():
            r = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=display.env,
                               capture_output=True, text=True, timeout=5)
            return r.stdout if TEXT in r.stdout else None
        text = harness.wait_for("clipboard text", clipboard, timeout=10)
        assert "Mygame" in text, text
        display.key("Return")
        code = game.exit_code(timeout=10)
        assert code == 0, f"exit status {code}"
        out = game.proc.stdout.read().decode(errors="replace")
        assert "Tintbox" not in display.run("xdotool", "search", "--name", "Tintbox", check=False)
    finally:
        game.close()


if __name__ == "__main__":
    harness.main(test)
