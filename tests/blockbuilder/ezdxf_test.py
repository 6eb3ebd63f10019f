"""The blocks read back by an independent DXF reader (ezdxf).

Tried as a new user would: install a root, choose an attribute set with
Japanese layer names, open the straight duct from the main dialog, press OK,
and open the block the builder leaves in ROOT/blocks. Then a generator's
drawing data of lines and arcs, record by record.
"""
import os
import subprocess
import sys

try:
    import ezdxf
    from ezdxf import recover
except ImportError:
    # The ctest rule runs `python3`, which may be an interpreter without the
    # system's ezdxf; the system one has it.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    print("skipped: ezdxf is not installed")
    sys.exit(0)

import math
import shutil
import tempfile
import time
import unittest

BIN = os.environ.get("TAVELIN_BIN_DIR", "")
CLI = os.path.join(BIN, "tavelin-cli")
BUILDER = os.path.join(BIN, "tavelin-blockbuilder")


def write_info(root, name, lines):
    with open(os.path.join(root, "info", name), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def read_info(root, name):
    with open(os.path.join(root, "info", name), "rb") as f:
        return f.read().decode("cp932").split("\r\n")[:-1]


def cli(root, *args):
    result = subprocess.run([CLI, "--root", root] + list(args), capture_output=True, timeout=60)
    assert result.returncode == 0, result.stderr.decode()
    return result.stdout.decode()


def wait_for(path, seconds=30.0):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if os.path.exists(path):
            return True
        time.sleep(0.05)
    return False


def read_clean(test, path):
    """Opens a block and asserts that the reader had nothing to repair."""
    doc, auditor = recover.readfile(path)
    test.assertEqual([e.message for e in auditor.errors], [])
    test.assertEqual([e.message for e in auditor.fixes], [])
    audit = doc.audit()
    test.assertEqual([e.message for e in audit.errors], [])
    test.assertEqual([e.message for e in audit.fixes], [])
    return doc


class Root:
    def __init__(self):
        self.path = tempfile.mkdtemp(prefix="tavelin_ezdxf_")

    def close(self):
        shutil.rmtree(self.path, ignore_errors=True)


@unittest.skipUnless(os.path.exists(CLI) and os.path.exists(BUILDER), "programs not built")
class StraightDuctAsANewUser(unittest.TestCase):
    def setUp(self):
        self.root = Root()
        cli(self.root.path, "init")

    def tearDown(self):
        self.root.close()

    def make_block(self, by_layer):
        root = self.root.path
        # Attribute set 2 has Japanese layer names.
        cli(root, "run", "MainDialog", "click:1387")
        if by_layer:
            cli(root, "run", "MainDialog", "click:1392")
        self.assertEqual(read_info(root, "ByLayer.ini"), ["1" if by_layer else "0"])
        out = cli(root, "run", "MainDialog", "click:1013")
        self.assertIn("dialog: 直管作図", out)
        self.assertEqual(read_info(root, "Command.ini"), ["13"])
        out = cli(root, "run", "ChokuDialog", "set:1011=1820", "select:1126=7", "click:1123",
                  "click:1129", "set:1009=3640", "ok")
        self.assertNotIn("message:", out)
        self.assertIn("ブロックを書き出しました", out)
        path = os.path.join(root, "blocks", "ChokuKan1820450211303640.dxf")
        self.assertTrue(wait_for(path), "the builder wrote no block")
        return read_clean(self, path), read_info(root, "DakutoSet.ini")

    def test_the_block_carries_the_active_attribute_set_by_layer(self):
        doc, dakuto = self.make_block(by_layer=True)
        self.assertEqual(doc.dxfversion, "AC1015")
        self.assertEqual(doc.encoding, "cp932")
        self.assertEqual(doc.header["$INSUNITS"], 4)
        self.assertEqual(tuple(doc.header["$INSBASE"])[:2], (0.0, 0.0))
        used = {}
        for line in dakuto[:3]:  # duct body, angle width, flange joint
            layer, linetype, colour = line.split("-")
            used[layer] = (linetype, int(colour))
            self.assertIn(layer, doc.layers)
            entry = doc.layers.get(layer)
            self.assertEqual(entry.dxf.color, int(colour))
            self.assertEqual(entry.dxf.linetype.upper(), linetype.upper())
            self.assertIn(linetype, doc.linetypes)
        self.assertTrue(any(ord(c) > 0x3000 for c in "".join(used)), "expected Japanese layers")
        entities = list(doc.modelspace())
        self.assertEqual(len(entities), 9)  # 2 body lines, 3 flanges, 4 angle lines
        for e in entities:
            self.assertEqual(e.dxftype(), "LINE")
            self.assertIn(e.dxf.layer, used)
            # BYLAYER is left out, as CAD programs write it: the default holds.
            self.assertFalse(e.dxf.hasattr("color"))
            self.assertFalse(e.dxf.hasattr("linetype"))
            self.assertEqual(e.dxf.color, 256)
            self.assertEqual(e.dxf.linetype.upper(), "BYLAYER")
        xs = sorted(e.dxf.start.x for e in entities if e.dxf.start.x == e.dxf.end.x)
        self.assertEqual(xs[0], -1820.0)  # base point in the middle
        self.assertEqual(xs[-1], 1820.0)

    def test_without_by_layer_every_entity_carries_its_own(self):
        doc, dakuto = self.make_block(by_layer=False)
        attributes = {}
        for line in dakuto[:3]:
            layer, linetype, colour = line.split("-")
            attributes[layer] = (linetype.upper(), int(colour))
        for e in doc.modelspace():
            linetype, colour = attributes[e.dxf.layer]
            self.assertEqual(e.dxf.color, colour)
            self.assertEqual(e.dxf.linetype.upper(), linetype)


def normalized(angle):
    a = math.fmod(angle, 360.0)
    return a + 360.0 if a < 0 else a


@unittest.skipUnless(os.path.exists(BUILDER), "builder not built")
class GeneratorRecords(unittest.TestCase):
    RECORDS = [
        "50,500.000000,250.000000,500.000000,250.000000,",
        "1,1,4,0.000000,200.000000,400.125000,200.000000,CONTINUOUS,空調ダクト,",
        "1,1,4,0.000000,-200.000000,400.125000,-200.000000,CONTINUOUS,空調ダクト,",
        "1,1,3,400.125000,240.000000,400.125000,-240.000000,CONTINUOUS,空調フランジ,",
        "1,2,8,-12.345678,7.500000,3.250000,-0.000001,HIDDEN,空調隠れ線,",
        "2,1,4,0.000000,0.000000,200.000000,0.000000,90.000000,CONTINUOUS,空調ダクト,",
        "2,1,1,50.000000,50.000000,25.000000,0.000000,360.000000,CENTER,器具,",
        "2,1,4,-10.000000,20.000000,30.000000,-180.000000,-90.000000,CONTINUOUS,空調ダクト,",
        "2,1,3,-70.710678,70.710678,40.000000,435.000000,465.000000,DASHED2,空調フランジ,",
        "1,5,1,-450.000000,0.000000,450.000000,0.000000,CENTER,中心線,",
    ]

    def setUp(self):
        self.root = Root()
        os.makedirs(os.path.join(self.root.path, "info"))
        write_info(self.root.path, "DrawData.txt", self.RECORDS)
        write_info(self.root.path, "DrawName.ini", ["ER_1234D500000041"])
        write_info(self.root.path, "ByLayer.ini", ["0"])
        write_info(self.root.path, "Command.ini", ["4"])

    def tearDown(self):
        self.root.close()

    def test_every_record_is_one_entity_with_its_attributes_and_coordinates(self):
        env = dict(os.environ, TAVELIN_ROOT=self.root.path)
        result = subprocess.run([BUILDER], env=env, timeout=60)
        self.assertEqual(result.returncode, 0)
        doc = read_clean(self, os.path.join(self.root.path, "blocks", "ER_1234D500000041.dxf"))
        entities = list(doc.modelspace())
        self.assertEqual(len(entities), len(self.RECORDS) - 1)
        for record, e in zip(self.RECORDS[1:], entities):
            f = record.split(",")
            line = f[0] == "1"
            with self.subTest(record=record):
                self.assertEqual(e.dxf.color, int(f[2]))
                self.assertEqual(e.dxf.linetype.upper(), f[7 if line else 8])
                self.assertEqual(e.dxf.layer, f[8 if line else 9])
                if line:
                    self.assertEqual(e.dxftype(), "LINE")
                    got = (e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y)
                    for a, b in zip(got, map(float, f[3:7])):
                        self.assertAlmostEqual(a, b, delta=1e-6)
                    continue
                cx, cy, r, a0, a1 = map(float, f[3:8])
                self.assertAlmostEqual(e.dxf.center.x, cx, delta=1e-6)
                self.assertAlmostEqual(e.dxf.center.y, cy, delta=1e-6)
                self.assertAlmostEqual(e.dxf.radius, r, delta=1e-6)
                if (a0, a1) == (0.0, 360.0):
                    self.assertEqual(e.dxftype(), "CIRCLE")
                else:
                    self.assertEqual(e.dxftype(), "ARC")
                    self.assertAlmostEqual(e.dxf.start_angle, normalized(a0), delta=1e-6)
                    self.assertAlmostEqual(e.dxf.end_angle, normalized(a1), delta=1e-6)
                    self.assertEqual(tuple(e.dxf.extrusion), (0.0, 0.0, 1.0))
        # Every line type named is defined, with its dashes and their total.
        def dashes(name):
            tags = doc.linetypes.get(name).pattern_tags.tags
            return [t.value for t in tags if t.code == 49], [t.value for t in tags if t.code == 40]

        for name, pattern in (("HIDDEN", [6.35, -3.175]), ("DASHED2", [6.35, -3.175]),
                              ("CENTER", [31.75, -6.35, 6.35, -6.35])):
            elements, total = dashes(name)
            self.assertEqual(elements, pattern)
            self.assertEqual(len(total), 1)
            self.assertAlmostEqual(total[0], sum(map(abs, pattern)), delta=1e-9)


if __name__ == "__main__":
    unittest.main()
