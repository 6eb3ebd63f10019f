"""A new user's road through the command line: rename a layer of setting 2
in the square-duct attribute dialog, press OK, then pick setting 2 in the main
dialog; "DakutoSet.ini" carries the new name."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read as read_bytes, run  # noqa: E402


def read(root, name):
    return read_bytes(root, name).decode("cp932")


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
