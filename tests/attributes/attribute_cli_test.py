"""A new user's road through the command line: rename a layer of setting 2
in the square-duct attribute dialog, press OK, then pick setting 2 in the main
dialog; "DakutoSet.ini" carries the new name."""
import os
import subprocess
import sys
import tempfile

CLI = os.path.join(os.environ["TAVELIN_BIN_DIR"], "tavelin-cli")


def run(root, *args):
    done = subprocess.run([CLI, "--root", root, *args], capture_output=True, timeout=60)
    if done.returncode != 0:
        sys.exit(f"{args} failed ({done.returncode}): {done.stderr.decode()}")
    return done.stdout.decode()


def read(root, name):
    with open(os.path.join(root, "info", name), "rb") as f:
        return f.read().decode("cp932")


with tempfile.TemporaryDirectory() as root:
    run(root, "init")
    out = run(root, "run", "DuctAttrDialog", "set:2002=新ダクト", "click:2")
    assert "message:" not in out, out
    assert read(root, "DakutoSubSet.ini").split("\r\n")[7] == "新ダクト-1-4"
    run(root, "run", "MainDialog", "click:1387")
    active = read(root, "DakutoSet.ini").split("\r\n")
    assert active[0] == "新ダクト-CONTINUOUS-4", active
    assert read(root, "Sentaku.ini") == "2\r\n"
print("ok")
