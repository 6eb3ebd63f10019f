#!/usr/bin/env python3
"""The reference for the block builder's speed: ezdxf writing the same 500
records as blockbuilder_bench (lines and arcs on five Japanese layers, in a
block of its own, saved as a DXF file). Prints the median CPU and wall time of
RUNS saves (5 by default), in this process (compare BM_BuildBlock500Records)
and as a program of its own, its start and the import of ezdxf included
(compare BM_BuilderProgram500Records).
    python3 bench/ezdxf_500.py [RUNS]"""
import os
import resource
import subprocess
import statistics
import sys
import tempfile
import time

try:
    import ezdxf
except ImportError:
    # `python3` may be an interpreter without the system's ezdxf.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

LAYERS = ["空調ダクト", "空調アングル", "空調フランジ", "空調隠れ線", "器具"]
TYPES = ["CONTINUOUS", "CONTINUOUS", "CONTINUOUS", "HIDDEN", "CENTER"]


def write(path):
    doc = ezdxf.new("R2000")
    for name in set(TYPES) - {"CONTINUOUS"}:
        if name not in doc.linetypes:
            doc.linetypes.add(name, pattern=[0.5, 0.25, -0.25])
    for e, layer in enumerate(LAYERS):
        doc.layers.add(layer, color=e + 1, linetype=TYPES[e])
    block = doc.blocks.new("ER_1234D500000041", base_point=(900, 600))
    for i in range(500):
        e = i % 5
        attribs = {"layer": LAYERS[e], "linetype": TYPES[e], "color": e + 1}
        if i % 3 == 2:
            block.add_arc((i * 1.25, -i * 0.5), 50 + i % 40, 30, 210, dxfattribs=attribs)
        else:
            block.add_line((i * 1.5, -i * 0.75), (i * 2.25 + 10, i + 0.125), dxfattribs=attribs)
    doc.saveas(path)


def main():
    if len(sys.argv) > 2 and sys.argv[1] == "--once":
        write(sys.argv[2])
        return
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    cpu, wall = [], []
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "block.dxf")
        for _ in range(runs):
            c, w = time.process_time(), time.perf_counter()
            write(path)
            cpu.append(time.process_time() - c)
            wall.append(time.perf_counter() - w)
        program = []
        for _ in range(runs):
            before = resource.getrusage(resource.RUSAGE_CHILDREN)
            subprocess.run([sys.executable, __file__, "--once", path], check=True)
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            program.append(after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime)
    print("load: %.2f %.2f %.2f" % os.getloadavg())
    print("ezdxf 500 records as a program: median CPU %.1f ms over %d runs"
          % (statistics.median(program) * 1e3, runs))
    print("ezdxf 500 records: median CPU %.1f ms, wall %.1f ms over %d runs"
          % (statistics.median(cpu) * 1e3, statistics.median(wall) * 1e3, runs))


if __name__ == "__main__":
    main()
