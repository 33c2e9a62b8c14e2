"""make deb: the Debian package holds the installed tree under /usr, depends on
the libraries the binaries link and on what the window needs beside them, and
lintian finds no error in it."""
import argparse
import pathlib
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).parent))
from layout import expected_tree  # noqa: E402

# What dpkg-shlibdeps finds (Qt Multimedia through the sound module, which
# plays through PulseAudio's client library, a dependency of its own), and
# beside it Qt's X11 plugin and the window's fonts.
MUST_DEPEND = ["libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6svg6",
               "libqt6multimedia6", "qt6-qpa-plugins", "fonts-crosextra-carlito",
               "fonts-noto-core"]


def run(*cmd, **kw):
    return subprocess.run(list(cmd), capture_output=True, text=True, **kw)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--build-dir", required=True)
    p.add_argument("--images", required=True)
    a = p.parse_args()

    out = pathlib.Path(tempfile.mkdtemp(prefix="tintbox-deb-"))
    try:
        r = run("cpack", "-G", "DEB", "-B", str(out), cwd=a.build_dir)
        assert r.returncode == 0, r.stdout + r.stderr
        debs = list(out.glob("*.deb"))
        assert len(debs) == 1, debs
        deb = str(debs[0])

        # The file list: the install tree under /usr, nothing more.
        got = {}
        for line in run("dpkg-deb", "-c", deb).stdout.splitlines():
            fields = line.split(None, 5)
            name = fields[5].split(" -> ")[0].removeprefix("./usr/")
            if line.startswith("d"):
                continue
            if line.startswith("l"):
                got[name] = "-> " + fields[5].split(" -> ")[1]
            else:
                got[name] = "program" if "x" in fields[0] else "file"
        want = expected_tree(a.images)
        assert got == want, f"differs: {sorted(set(got.items()) ^ set(want.items()))}"

        fields = run("dpkg-deb", "-f", deb, "Package", "Depends", "Section").stdout
        print(fields, flush=True)
        depends = fields.split("Depends:", 1)[1].split("\n", 1)[0]
        names = {d.strip().split()[0] for d in depends.split(",")}
        missing = [d for d in MUST_DEPEND if d not in names]
        assert not missing, f"Depends lacks {missing}: {depends}"

        r = run("lintian", "--fail-on", "error", deb)
        errors = [line for line in r.stdout.splitlines() if line.startswith("E:")]
        assert r.returncode == 0 and not errors, r.stdout + r.stderr
        print("lintian:", r.stdout.strip() or "clean")
    finally:
        shutil.rmtree(out, ignore_errors=True)


if __name__ == "__main__":
    main()
