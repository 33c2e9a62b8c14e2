"""Starting the program as a person does: from its build folder as it stands, and
with a folder of pictures of one's own named on the command line."""
import pathlib
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402
from harness import catalogue, palette_size  # noqa: E402

TEXT = "Нет картинок. Программа будет завершена!"


def ready_to_play(display, colours, areas):
    """Waits for the main window showing a blanked picture with a palette of colours."""
    wid = display.find_window("^Tintbox$")
    x, y, w, h = display.window_geometry(wid)
    assert (w, h) == (990, 484), f"{w}x{h}: not the main window"
    shot = harness.wait_for(f"a palette of {colours}", lambda: (
        lambda s: s if palette_size(s, x, y) == colours else None)(display.screenshot()))
    for ax, ay, _ in areas:
        assert shot.pixel(x + 2 + ax, y + 2 + ay) == (255, 255, 255), (ax, ay)


def test(a, display):
    pictures = catalogue(a.checker, a.images)
    program = pathlib.Path(a.program)

    # The build places the bundled pictures beside the program: it plays them
    # where it was built, started from another folder.
    assert (program.parent / "img" / "1.bmp").is_file(), "no img/ beside the built program"
    game = harness.Game(display, a.program, in_place=True)
    try:
        ready_to_play(display, *pictures[1])
    finally:
        game.close()

    # A folder of one's own, named relative to the working folder, replaces the
    # img/ beside the program. Its picture 1 is a bundled picture with another
    # number of colours, so the palette tells which folder is played.
    other = next(k for k, (colours, _) in pictures.items() if colours != pictures[1][0])
    with tempfile.TemporaryDirectory(prefix="tintbox-own-") as tmp:
        work = pathlib.Path(tmp)
        (work / "mine").mkdir()
        shutil.copy2(pathlib.Path(a.images) / f"{other}.bmp", work / "mine" / "1.bmp")
        (work / "a-file").write_bytes(b"")
        game = harness.Game(display, a.program, in_place=True, args=["mine/"], cwd=work)
        try:
            ready_to_play(display, *pictures[other])
        finally:
            game.close()

        # A folder that does not exist, or a file: the "no pictures" stop.
        for folder in ["missing", "a-file"]:
            game = harness.Game(display, a.program, in_place=True, args=[folder], cwd=work)
            try:
                wid = display.find_window("^Tintbox$")
                _, _, w, h = display.window_geometry(wid)
                assert w < 600 and h < 300, f"{folder}: a {w}x{h} window, not the message"
                display.run("xdotool", "windowactivate", "--sync", wid, check=False)
                display.key("ctrl+c")
                harness.wait_for(f"{folder}: the message's text", lambda: TEXT in subprocess.run(
                    ["xclip", "-selection", "clipboard", "-o"], env=display.env,
                    capture_output=True, text=True, timeout=5).stdout)
                display.key("Return")
                code = game.exit_code(timeout=10)
                assert code == 0, f"{folder}: exit status {code}"
            finally:
                game.close()


if __name__ == "__main__":
    harness.main(test)
