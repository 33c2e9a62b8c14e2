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
        # The main window never shows: the message is the program's only window on screen.
        shown = display.run("xdotool", "search", "--onlyvisible", "--pid", str(game.proc.pid),
                            check=False).split()
        assert shown == [wid], f"visible windows {shown}; the message is {wid}"
        assert not display.run("xdotool", "search", "--onlyvisible", "--name", "^Tintbox$",
                               check=False).split(), "the main window is on screen"
        display.key("Return")
        code = game.exit_code(timeout=10)
        assert code == 0, f"exit status {code}"
    finally:
        game.close()


if __name__ == "__main__":
    harness.main(test)
