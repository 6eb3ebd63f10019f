"""A small library through `tavelin-cli batch`, read back from outside: every
block by ezdxf without audit fixes, and the catalogue page as Chromium builds
it, one picture per block. Each outside reader that is not installed is
skipped; CI installs no browser."""
import os
import subprocess
import sys

try:
    import ezdxf  # noqa: F401
except ImportError:
    # The ctest rule runs `python3`, which may be an interpreter without the
    # system's ezdxf; the system one has it.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "scripts", "batch_check.py")
BIN = os.environ.get("TAVELIN_BIN_DIR", "")

if not os.path.exists(os.path.join(BIN, "tavelin-cli")):
    print("skipped: TAVELIN_BIN_DIR has no tavelin-cli")
    sys.exit(0)
# 60 rows: every generator the list uses, every damper type, both sides of the radius rule.
run = subprocess.run([sys.executable, SCRIPT, BIN, "60"], stdout=subprocess.PIPE, text=True)
print(run.stdout)
assert run.returncode == 0, "the batch, ezdxf or the browser found a fault"
assert "60 blocks" in run.stdout
