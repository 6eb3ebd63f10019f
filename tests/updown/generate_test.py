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
    out = run(opened, "run", "UpdownDialog", "set:1172=2000", "click:1013", "ok", status=3)
    assert out.count("入力確認") == 2, out
    assert [read(opened, name) for name in FILES] == before
    assert b"nan" not in before[0]
    stored = read(opened, "Updown.ini").decode("cp932").split("\r\n")[:-1]

# Stored equal widths with an offset: "generate" hands off, stores and names
# the fitting exactly as one stored with no offset (the drawing has none).
results = []
for offset in ("75", "0"):
    with tempfile.TemporaryDirectory() as root:
        run(root, "init")
        lines = list(stored)
        lines[1], lines[5] = lines[0], offset
        with open(os.path.join(root, "info", "Updown.ini"), "wb") as f:
            f.write("".join(line + "\r\n" for line in lines).encode("cp932"))
        out = run(root, "generate", "Updown")
        assert "message:" not in out, out
        results.append([read(root, name) for name in FILES])
assert results[0] == results[1], results
assert results[0][1].split(b"\r\n")[5] == b"0", results[0][1]
print("ok")
