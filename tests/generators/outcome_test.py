"""OK with the real block builder: the run waits for its outcome and says it,
whether the block was written, the builder is missing, or it could not write."""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
from cli import CLI, run  # noqa: E402


def ok(root, dialog="ErboDialog"):
    done = subprocess.run([CLI, "--root", root, "run", dialog, "ok"], capture_output=True,
                          timeout=60)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


with tempfile.TemporaryDirectory() as root:
    run(root, "init")
    code, out, _ = ok(root)
    name = open(os.path.join(root, "info", "DrawName.ini"), encoding="cp932").read().strip()
    assert code == 0 and "block written: " + name in out, out
    assert "ブロックを書き出しました：" + name in out, out
    assert os.path.isfile(os.path.join(root, "blocks", name + ".dxf"))
    # The builder removed the snapshot it was given.
    assert os.listdir(os.path.join(root, "jobs")) == [], os.listdir(os.path.join(root, "jobs"))

    # No folder for the blocks can be made: the builder's reason, not "ready".
    shutil.rmtree(os.path.join(root, "blocks"))
    open(os.path.join(root, "blocks"), "w").close()
    code, out, err = ok(root, "DanpaDialog")
    assert code != 0, out
    assert "block not written" in out and "作れません" in out, out
    assert "ブロックを作成できませんでした" in out and "配置できます" not in out, out

    # No builder at all.
    os.remove(os.path.join(root, "blocks"))
    shutil.rmtree(os.path.join(root, "exes"))
    code, out, err = ok(root, "AnemoBDialog")
    assert code != 0 and "起動できません" in err, err
print("ok")
