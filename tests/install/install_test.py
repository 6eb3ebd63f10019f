"""The installed program, as the Debian package lays it out: `cmake --install`
into a fresh prefix gives the programs, the block builder, the default data,
the catalogue and a valid menu entry; started from there with a new home, the
desktop program sets up ~/Tavelin by itself and the block builder in it works.
"""
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

BIN = os.environ.get("TAVELIN_BIN_DIR", "")
BUILD = os.path.dirname(BIN)


@unittest.skipUnless(os.path.exists(os.path.join(BIN, "tavelin")), "the desktop program is not built")
class InstalledLayout(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="tavelin_install_")
        cls.prefix = os.path.join(cls.dir, "usr")
        subprocess.run(["cmake", "--install", BUILD, "--prefix", cls.prefix],
                       check=True, capture_output=True, timeout=300)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.prefix, *parts)

    def test_the_files_and_the_menu_entry(self):
        for part in ["bin/tavelin", "bin/tavelin-cli", "lib/tavelin/tavelin-blockbuilder"]:
            self.assertTrue(os.access(self.path(part), os.X_OK), part)
        for part in ["share/tavelin/data/info/Erbo.ini", "share/tavelin/catalogue/info/TugiteName.ini",
                     "share/icons/hicolor/64x64/apps/tavelin.png", "share/doc/tavelin/copyright"]:
            self.assertTrue(os.path.isfile(self.path(part)), part)
        entry = self.path("share/applications/tavelin.desktop")
        with open(entry, encoding="utf-8") as f:
            lines = f.read().splitlines()
        self.assertIn("Exec=tavelin", lines)
        self.assertIn("Icon=tavelin", lines)
        validate = shutil.which("desktop-file-validate")
        if validate:
            result = subprocess.run([validate, entry], capture_output=True, text=True)
            self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))

    def test_the_first_start_sets_up_the_root(self):
        home = os.path.join(self.dir, "home")
        os.makedirs(home)
        env = {"PATH": self.path("bin") + ":/usr/bin:/bin", "HOME": home,
               "QT_QPA_PLATFORM": "offscreen"}
        root = os.path.join(home, "Tavelin")
        program = subprocess.Popen(["tavelin"], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            # A bound against a hang only: a busy machine takes its time to copy the data.
            deadline = time.time() + 300
            builder = os.path.join(root, "exes", "Forvane")
            marks = [builder, os.path.join(root, "info", "TugiteName.ini")]  # copied last
            while time.time() < deadline and not all(os.path.exists(m) for m in marks):
                time.sleep(0.1)
            time.sleep(0.5)
            self.assertIsNone(program.poll(), "the program ended at its first start")
        finally:
            program.kill()
            program.wait()
        self.assertTrue(filecmp.cmp(builder, self.path("lib/tavelin/tavelin-blockbuilder"), shallow=False))
        for name in ["TugiteName.ini", "Erbo.ini", "DakutoSet.ini"]:
            self.assertTrue(os.path.isfile(os.path.join(root, "info", name)), name)
        # The installed command line and the builder in the new root make a block.
        cli = [self.path("bin", "tavelin-cli"), "--root", root]
        subprocess.run(cli + ["run", "MainDialog", "click:1005"], check=True, capture_output=True, env=env)
        out = subprocess.run(cli + ["run", "ErboDialog", "ok"], check=True, capture_output=True,
                             env=env).stdout.decode()
        self.assertIn("ブロックを書き出しました", out)
        blocks = os.path.join(root, "blocks")

        def made():
            return os.path.isdir(blocks) and any(n.endswith(".dxf") for n in os.listdir(blocks))

        deadline = time.time() + 20
        while time.time() < deadline and not made():
            time.sleep(0.1)
        self.assertTrue(made(), "the installed builder made no block")


if __name__ == "__main__":
    unittest.main()
