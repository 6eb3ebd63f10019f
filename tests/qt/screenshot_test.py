"""tavelin-screenshot as other developers use it: a picture of the window's
size, actions applied like tavelin-cli's, and clear failures."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

BIN = os.environ.get("TAVELIN_BIN_DIR", "")
DATA = os.environ.get("TAVELIN_SOURCE_DATA_DIR", "")
SHOT = os.path.join(BIN, "tavelin-screenshot")
CLI = os.path.join(BIN, "tavelin-cli")


def run(*args):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    return subprocess.run(args, capture_output=True, env=env, timeout=60)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    return struct.unpack(">II", head[16:24])


def main_dialog_size():
    """The client size of the main dialog from its layout, in pixels."""
    layout = os.path.join(DATA, "..", "resources", "layouts", "Main.dlg")
    with open(layout, encoding="utf-8") as f:
        for line in f:
            if line.startswith("dialog "):
                words = line.rsplit(None, 2)
                w, h = int(words[1]), int(words[2])
                return (w * 7 + 2) // 4, (h * 14 + 4) // 8
    raise AssertionError("no dialog line")


class ScreenshotTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = os.path.join(self.dir.name, "root")
        done = run(CLI, "--root", self.root, "init")
        self.assertEqual(done.returncode, 0, done.stderr)

    def tearDown(self):
        self.dir.cleanup()

    def shot(self, name, *actions, root=None):
        out = os.path.join(self.dir.name, name)
        done = run(SHOT, "--root", root or self.root, "MainDialog", out, *actions)
        return done, out

    def test_the_picture_has_the_windows_size_and_follows_the_actions(self):
        done, first = self.shot("first.png")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(png_size(first), main_dialog_size())

        done, second = self.shot("second.png", "click:1389")
        self.assertEqual(done.returncode, 0, done.stderr)
        with open(os.path.join(self.root, "info", "Sentaku.ini"), "rb") as f:
            self.assertEqual(f.read(), b"4\r\n")
        with open(first, "rb") as a, open(second, "rb") as b:
            self.assertNotEqual(a.read(), b.read())

    def test_messages_are_printed_and_the_window_still_drawn(self):
        empty = os.path.join(self.dir.name, "empty")
        os.makedirs(os.path.join(empty, "info"))
        done, out = self.shot("empty.png", root=empty)
        self.assertEqual(done.returncode, 0, done.stderr)
        text = done.stdout.decode("utf-8")
        self.assertIn("message: ", text)
        self.assertIn("ファイルを開けません。", text)
        self.assertEqual(png_size(out), main_dialog_size())

    def test_bad_requests_fail_with_a_reason(self):
        out = os.path.join(self.dir.name, "x.png")
        done = run(SHOT, "--root", self.root, "NoSuchDialog", out)
        self.assertEqual(done.returncode, 2)
        self.assertIn(b"unknown dialog class NoSuchDialog", done.stderr)
        done, _ = self.shot("y.png", "click:4242")
        self.assertEqual(done.returncode, 2)
        self.assertIn(b"has no control 4242", done.stderr)
        done, _ = self.shot("z.png", "click:1015")
        self.assertEqual(done.returncode, 2)
        self.assertIn(b"not visible", done.stderr)
        done = run(SHOT, "--root", self.root, "MainDialog")
        self.assertEqual(done.returncode, 2)
        self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    if not os.path.isfile(SHOT):
        sys.exit("tavelin-screenshot not found in TAVELIN_BIN_DIR=" + BIN)
    unittest.main()
