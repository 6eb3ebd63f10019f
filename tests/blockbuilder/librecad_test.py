"""A block the builder writes is rendered by LibreCAD (dxf2pdf) and shows the
straight duct; skipped when LibreCAD or pdftoppm is not installed."""
import os
import shutil
import subprocess
import sys
import tempfile

BIN = os.environ.get("TAVELIN_BIN_DIR", "")
BUILDER = os.path.join(BIN, "tavelin-blockbuilder")


def write_info(root, name, lines):
    with open(os.path.join(root, "info", name), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def dark_pixels(pgm):
    """Counts the pixels darker than mid-grey in a binary PGM (P5)."""
    with open(pgm, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P5", fields[0]
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height]
    return sum(1 for p in pixels if p < 128), width * height


def main():
    librecad = shutil.which("librecad")
    pdftoppm = shutil.which("pdftoppm")
    if not librecad or not pdftoppm:
        print("skipped: librecad or pdftoppm is not installed")
        return 0
    if not os.path.exists(BUILDER):
        print("FAIL: the builder is not built: " + BUILDER)
        return 1
    root = tempfile.mkdtemp(prefix="tavelin_librecad_")
    try:
        os.makedirs(os.path.join(root, "info"))
        write_info(root, "Choku.ini", ["1820", "450", "2", "1", "1", "3", "0", "3640"])
        write_info(root, "DakutoSet.ini", ["空調ダクト-CONTINUOUS-7", "空調アングル-CONTINUOUS-7",
                                           "空調フランジ-CONTINUOUS-7", "h-HIDDEN-8", "f-CONTINUOUS-1",
                                           "x-CONTINUOUS-8", "c-CENTER-1"])
        write_info(root, "KyotuSet.ini", ["40", "15", "50", "30"])
        write_info(root, "DrawData.txt", ["CK"])
        write_info(root, "DrawName.ini", ["ChokuKan1820450211303640"])
        write_info(root, "ByLayer.ini", ["1"])
        write_info(root, "Command.ini", ["13"])
        env = dict(os.environ, TAVELIN_ROOT=root)
        if subprocess.run([BUILDER], env=env, timeout=60).returncode != 0:
            print("FAIL: the builder wrote no block")
            return 1
        block = os.path.join(root, "blocks", "ChokuKan1820450211303640.dxf")
        out = os.path.join(root, "pdf")
        os.makedirs(out)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        subprocess.run([librecad, "dxf2pdf", "-a", "-t", out, block], env=env, timeout=120,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        pdf = os.path.join(out, "ChokuKan1820450211303640.pdf")
        if not os.path.exists(pdf) or os.path.getsize(pdf) == 0:
            print("FAIL: LibreCAD made no PDF of the block")
            return 1
        subprocess.run([pdftoppm, "-gray", "-r", "40", "-singlefile", pdf, os.path.join(out, "page")],
                       check=True, timeout=60)
        dark, total = dark_pixels(os.path.join(out, "page.pgm"))
        # The duct's lines are drawn, and they are lines, not a filled page.
        if not (50 < dark < total // 4):
            print("FAIL: the page shows %d dark pixels of %d" % (dark, total))
            return 1
        print("ok: LibreCAD drew the block (%d dark pixels of %d)" % (dark, total))
        return 0
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
