"""The installed game: the tree `cmake --install` lays out under a prefix and DESTDIR,
its desktop entry and metadata pass their validators, and the installed program,
started from another folder through bin/tintbox, plays picture 1."""
import pathlib
import subprocess
import sys
import tempfile

import harness
from test_startup import ready_to_play

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


class Installed(harness.TestCase):
    def test_installed_tree_plays(self):
        a, display = self.args, self.display
        build = pathlib.Path(a.program).parent
        tmp = tempfile.TemporaryDirectory(prefix="tintbox-install-")
        self.addCleanup(tmp.cleanup)
        work = pathlib.Path(tmp.name)
        prefix = "/opt/tintbox-test"
        env = {**display.env, "DESTDIR": str(work / "stage")}
        subprocess.run(["cmake", "--install", str(build), "--prefix", prefix], env=env,
                       check=True, capture_output=True)
        root = work / "stage" / prefix.lstrip("/")
        got, want = tree(root), expected_tree(a.images)
        with self.subTest("the installed tree"):
            self.assertEqual(sorted(set(got.items()) ^ set(want.items())), [])

        for cmd in (["desktop-file-validate", str(root / f"share/applications/{APPID}.desktop")],
                    ["appstreamcli", "validate", "--no-net",
                     str(root / f"share/metainfo/{APPID}.metainfo.xml")]):
            with self.subTest(validator=cmd[0]):
                r = subprocess.run(cmd, capture_output=True, text=True)
                self.assertTrue(r.returncode == 0 and "E:" not in r.stdout, r.stdout + r.stderr)
        for size in ICON_SIZES:
            with self.subTest(icon=size):
                png = root / f"share/icons/hicolor/{size}x{size}/apps/{APPID}.png"
                self.assertEqual(subprocess.run(["identify", "-format", "%wx%h", str(png)],
                                                capture_output=True, text=True).stdout,
                                 f"{size}x{size}", png)

        # Started through the link in bin, from another folder.
        game = self.start(images=None, program=str(root / "bin/tintbox"), in_place=True, cwd=work)
        ready_to_play(self, game, *self.pictures()[1])


if __name__ == "__main__":
    harness.main()
