"""The tree the game installs, relative to its prefix: path -> what lies there
("file", "program", or "-> TARGET" for a symbolic link)."""
import pathlib

APPID = "example.tintbox.Tintbox"
ICON_SIZES = [16, 32, 48, 64, 128, 256]


def expected_tree(images):
    files = {
        "bin/tintbox": "-> ../lib/tintbox/tintbox",
        "bin/tintbox-check": "program",
        "bin/tintbox-import": "program",
        "lib/tintbox/tintbox": "program",
        "lib/tintbox/modules/tintbox-sound.so": "file",
        "lib/tintbox/img": "-> ../../share/tintbox/img",
        f"share/applications/{APPID}.desktop": "file",
        f"share/metainfo/{APPID}.metainfo.xml": "file",
        "share/doc/tintbox/copyright": "file",
        "share/doc/tintbox/changelog.gz": "file",
        "share/man/man1/tintbox-check.1.gz": "file",
        "share/man/man1/tintbox-import.1.gz": "file",
        "share/man/man6/tintbox.6.gz": "file",
    }
    for size in ICON_SIZES:
        files[f"share/icons/hicolor/{size}x{size}/apps/{APPID}.png"] = "file"
    for bmp in pathlib.Path(images).glob("*.bmp"):
        files[f"share/tintbox/img/{bmp.name}"] = "file"
    return files
