"""The headless "generate Danpa" leaves the same files as opening the dialog;
a user's road then switches to the FD+ type, hatches it and presses OK."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

FILES = ["DrawData.txt", "Danpa.ini", "Danpa_VD.ini", "DrawName.ini"]

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    run(generated, "generate", "Danpa")
    run(opened, "run", "DanpaDialog")
    for name in FILES:
        assert read(generated, name) == read(opened, name), name
    assert read(generated, "DrawName.ini").startswith(b"DPV_")

    out = run(opened, "run", "DanpaDialog", "click:1202", "set:1212=500", "click:1214", "ok")
    assert "message:" not in out, out
    assert read(opened, "Danpa.ini") == b"5\r\n"
    stored = read(opened, "Danpa_FT.ini").decode("cp932").split("\r\n")
    assert stored[2] == "500" and stored[7] == "6", stored
    assert read(opened, "DrawName.ini").startswith(b"DPFT_")
    # The type comes back on the next opening, with the new length.
    out = run(opened, "run", "DanpaDialog")
    assert '1202 radio checked=1' in out and '1212 edit checked=0 enabled=1 visible=1 "500"' in out, out
print("ok")
