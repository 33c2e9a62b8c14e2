"""The installed game: the tree `cmake --install` lays out under a prefix and DESTDIR,
its desktop entry and metadata pass their validators, and the installed program,
started from another folder through bin/tintbox, plays picture 1."""
import pathlib
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent))
import harness  # noqa: E402
from harness import catalogue  # noqa: E402
from test_startup import ready_to_play  # noqa: E402

sys.path.insert(0, str(pathlib.Path(__file__).parent.parent / "package"))
from layout import APPID, ICON_SIZES, expected_tree  # noqa: E402

def tree(root):
    found = {}
    for p in root.rglob("*"):
        rel = str(p.relative_to(root))
        if p.is_symlink():
            found[rel] = "-> " + str(p.readlink())
        elif p.is_file():
            found[rel] = "program" if p.stat().st_mode & 0o111 else "file"
    return found


def test(a, display):
    build = pathlib.Path(a.program).parent
    with tempfile.TemporaryDirectory(prefix="tintbox-install-") as tmp:
        work = pathlib.Path(tmp)
        prefix = "/opt/tintbox-test"
        env = {**display.env, "DESTDIR": str(work / "stage")}
        subprocess.run(["cmake", "--install", str(build), "--prefix", prefix], env=env,
                       check=True, capture_output=True)
        root = work / "stage" / prefix.lstrip("/")
        got, want = tree(root), expected_tree(a.images)
        assert got == want, f"got {sorted(set(got.items()) ^ set(want.items()))}"

        for cmd in (["desktop-file-validate", str(root / f"share/applications/{APPID}.desktop")],
                    ["appstreamcli", "validate", "--no-net",
                     str(root / f"share/metainfo/{APPID}.metainfo.xml")]):
            r = subprocess.run(cmd, capture_output=True, text=True)
            assert r.returncode == 0 and "E:" not in r.stdout, f"{cmd[0]}: {r.stdout}{r.stderr}"
        for size in ICON_SIZES:
            png = root / f"share/icons/hicolor/{size}x{size}/apps/{APPID}.png"
            assert subprocess.run(["identify", "-format", "%wx%h", str(png)], capture_output=True,
                                  text=True).stdout == f"{size}x{size}", png

        # Started through the link in bin, from another folder.
        game = harness.Game(display, str(root / "bin/tintbox"), in_place=True, cwd=work)
        try:
            ready_to_play(display, *catalogue(a.checker, a.images)[1])
        finally:
            game.close()


if __name__ == "__main__":
    harness.main(test)
