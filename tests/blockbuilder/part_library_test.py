"""ROOT/library, the folder a CAD program's part-library browser is pointed
at: one subfolder per fitting kind holding the blocks of ROOT/blocks, kept in
step by the builder and by `tavelin-cli library`."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

BIN = os.environ.get("TAVELIN_BIN_DIR", "")
CLI = os.path.join(BIN, "tavelin-cli")


def cli(root, *args, status=0):
    result = subprocess.run([CLI, "--root", root] + list(args), capture_output=True, timeout=120)
    assert result.returncode == status, (args, result.returncode, result.stderr.decode())
    return result.stdout.decode()


def written_name(out):
    marker = "ブロックを書き出しました："
    assert marker in out, out
    return out.split(marker, 1)[1].split("（", 1)[0]


def library_files(root):
    """{(kind folder, file name)} of ROOT/library."""
    found = set()
    for kind in os.listdir(os.path.join(root, "library")):
        folder = os.path.join(root, "library", kind)
        if os.path.isdir(folder):
            found |= {(kind, f) for f in os.listdir(folder)}
    return found


@unittest.skipUnless(os.path.exists(CLI), "tavelin-cli not built")
class PartLibraryFollowsTheBlocks(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tavelin_library_")
        cli(self.root, "init")

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def block(self, name):
        return os.path.join(self.root, "blocks", name + ".dxf")

    def test_blocks_are_sorted_by_kind_and_removed_blocks_leave_the_library(self):
        # Set up before the first block, so that a CAD program can be pointed at it.
        # Every kind has its folder from the start.
        self.assertEqual(library_files(self.root), set())
        kinds = os.listdir(os.path.join(self.root, "library"))
        self.assertTrue({"一般両エルボ", "フレキダクト", "継手・部材"} <= set(kinds), kinds)
        elbow = written_name(cli(self.root, "run", "ErboDialog", "set:1003=650", "ok"))
        damper = written_name(cli(self.root, "run", "DanpaDialog", "ok"))
        duct = written_name(cli(self.root, "run", "ChokuDialog", "ok"))
        self.assertEqual(library_files(self.root),
                         {("一般両エルボ", elbow + ".dxf"), ("ダンパー", damper + ".dxf"),
                          ("直管", duct + ".dxf")})
        # The library file is the block itself (a hard link), not a copy.
        self.assertTrue(os.path.samefile(self.block(elbow),
                                         os.path.join(self.root, "library", "一般両エルボ",
                                                      elbow + ".dxf")))

        # Changed by hand: the elbow deleted, the damper's library file stale
        # (another block's bytes), a block that says nothing about itself, and
        # the user's own note and part among the kinds, which stay.
        os.remove(self.block(elbow))
        stale = os.path.join(self.root, "library", "ダンパー", damper + ".dxf")
        os.remove(stale)
        shutil.copy(self.block(duct), stale)
        with open(os.path.join(self.root, "library", "ダンパー", "MYPART.dxf"), "wb") as f:
            f.write(b"0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n")
        shutil.copy(self.block(duct), self.block("MINE"))
        with open(self.block("MINE"), "r+b") as f:
            text = f.read().replace(b"TAVELIN", b"SOMEONE")
            f.seek(0)
            f.write(text)
        note = os.path.join(self.root, "library", "ダンパー", "readme.txt")
        with open(note, "w") as f:
            f.write("mine")

        out = cli(self.root, "library")
        self.assertIn("2 added, 2 removed", out)
        self.assertEqual(library_files(self.root),
                         {("ダンパー", damper + ".dxf"), ("ダンパー", "readme.txt"),
                          ("ダンパー", "MYPART.dxf"), ("直管", duct + ".dxf"),
                          ("その他", "MINE.dxf")})
        self.assertTrue(os.path.samefile(self.block(damper), stale))
        self.assertIn("0 added, 0 removed", cli(self.root, "library"))

        # The builder brings it in step as it writes the next block.
        os.remove(self.block(duct))
        reducer = written_name(cli(self.root, "run", "OtiDialog", "ok"))
        kinds = {kind for kind, name in library_files(self.root) if name.endswith(".dxf")}
        self.assertEqual(len(library_files(self.root)), 5)
        self.assertEqual(kinds, {"ダンパー", "その他", "短管・片落管"})
        self.assertIn(("短管・片落管", reducer + ".dxf"), library_files(self.root))

        # A drawing of the user's holding a block's name is neither replaced
        # nor silently passed over.
        theirs = os.path.join(self.root, "library", "短管・片落管", reducer + ".dxf")
        os.remove(theirs)
        with open(theirs, "wb") as f:
            f.write(b"0\r\nEOF\r\n")
        result = subprocess.run([CLI, "--root", self.root, "library"], capture_output=True,
                                timeout=60)
        self.assertEqual(result.returncode, 3)
        self.assertIn(theirs, result.stderr.decode())
        with open(theirs, "rb") as f:
            self.assertEqual(f.read(), b"0\r\nEOF\r\n")


if __name__ == "__main__":
    sys.exit(unittest.main())
