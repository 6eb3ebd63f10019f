"""Blocks read by GDAL's DXF driver (`ogrinfo`, Debian gdal-bin), a reader
independent of the CAD programs: with and without ByLayer every hidden and
centre line keeps its dash pattern and the Japanese layer names decode.
The layer names and line types expected are those of the attribute set with
Japanese layers, read by ezdxf from the same file as a cross-check."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

try:
    import ezdxf
except ImportError:
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    print("skipped: ezdxf is not installed")
    sys.exit(0)

BIN = os.environ.get("TAVELIN_BIN_DIR", "")
CLI = os.path.join(BIN, "tavelin-cli")
OGRINFO = shutil.which("ogrinfo")

# The dash patterns of acadiso.lin as GDAL writes them into a feature's pen.
PATTERNS = {"HIDDEN": '"6.35g 3.175g"', "CENTER": '"31.75g 6.35g 6.35g 6.35g"'}
# The attribute set "空調(日本語レイヤ)": hidden and centre lines on these layers.
LAYER_TYPES = {"空調隠れ線": "HIDDEN", "空調中心線": "CENTER"}


def cli(root, *args):
    result = subprocess.run([CLI, "--root", root] + list(args), capture_output=True, timeout=120)
    assert result.returncode == 0, (args, result.stderr.decode())
    return result.stdout.decode()


def features(path):
    """ogrinfo's features of `path` as dicts of their fields and "Style"."""
    out = subprocess.run([OGRINFO, "-ro", "-al", "-q", path], capture_output=True, timeout=120,
                         check=True).stdout.decode("utf-8")
    found = []
    for chunk in out.split("OGRFeature(")[1:]:
        fields = dict(re.findall(r"^  (\w+) \(\w+\) = (.*)$", chunk, re.M))
        style = re.search(r"^  Style = (.*)$", chunk, re.M)
        fields["Style"] = style.group(1) if style else ""
        found.append(fields)
    return found


@unittest.skipUnless(os.path.exists(CLI), "tavelin-cli not built")
class GdalReadsDashesAndJapaneseLayers(unittest.TestCase):
    def setUp(self):
        if not OGRINFO:
            # Continuous integration installs it (test.sh): missing there is a fault.
            if os.environ.get("CI") == "true" or os.environ.get("TAVELIN_HARDENING") == "1":
                self.fail("ogrinfo is missing: scripts/install-packages.sh installs gdal-bin")
            self.skipTest("ogrinfo (gdal-bin) is not installed")
        self.root = tempfile.mkdtemp(prefix="tavelin_gdal_")
        cli(self.root, "init")

    def tearDown(self):
        shutil.rmtree(self.root, ignore_errors=True)

    def blocks(self, by_layer):
        """The damper (centre lines) and the duct up-down (hidden lines),
        drawn with the Japanese layers, ByLayer on or off."""
        cli(self.root, "run", "MainDialog", "click:1387")
        out = cli(self.root, "run", "MainDialog")
        if ('1392 check checked=1' in out) != by_layer:
            cli(self.root, "run", "MainDialog", "click:1392")
        with open(os.path.join(self.root, "info", "ByLayer.ini"), "rb") as f:
            self.assertEqual(f.read(), b"1\r\n" if by_layer else b"0\r\n")
        paths = []
        for dialog in ("DanpaDialog", "UpdownDialog"):
            out = cli(self.root, "run", dialog, "ok")
            name = out.split("ブロックを書き出しました：", 1)[1].split("（", 1)[0]
            paths.append(os.path.join(self.root, "blocks", name + ".dxf"))
        return paths

    def check(self, by_layer):
        dashed = {"HIDDEN": 0, "CENTER": 0}
        for path in self.blocks(by_layer):
            doc = ezdxf.readfile(path)
            layers = sorted(e.dxf.layer for e in doc.modelspace())
            read = features(path)
            # Every entity arrives, on its layer, the name decoded from CP932.
            self.assertEqual(sorted(f.get("Layer") for f in read), layers)
            self.assertTrue(all(name.startswith("空調") for name in layers), layers)
            for f in read:
                kind = LAYER_TYPES.get(f["Layer"])
                if kind is None:
                    self.assertNotIn("p:", f["Style"], f)
                    continue
                with self.subTest(by_layer=by_layer, handle=f.get("EntityHandle")):
                    self.assertIn("p:" + PATTERNS[kind], f["Style"])
                    dashed[kind] += 1
        self.assertGreater(dashed["HIDDEN"], 0)
        self.assertGreater(dashed["CENTER"], 0)

    def test_without_by_layer(self):
        self.check(False)

    def test_by_layer(self):
        self.check(True)


if __name__ == "__main__":
    unittest.main()
