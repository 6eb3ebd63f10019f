"""The headless "generate Updown" leaves the same files as opening the dialog;
a rise too large for the heights is refused and leaves them as they were."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

FILES = ["DrawData.txt", "Updown.ini", "DrawName.ini"]

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    run(generated, "generate", "Updown")
    run(opened, "run", "UpdownDialog")
    for name in FILES:
        assert read(generated, name) == read(opened, name), name
    assert read(generated, "DrawName.ini").startswith(b"UPD_")

    before = [read(opened, name) for name in FILES]
    out = run(opened, "run", "UpdownDialog", "set:1172=2000", "click:1013", "ok")
    assert out.count("入力確認") == 2, out
    assert [read(opened, name) for name in FILES] == before
    assert b"nan" not in before[0]
print("ok")
