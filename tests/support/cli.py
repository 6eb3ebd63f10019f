"""Runs tavelin-cli on throw-away roots for the Python checks."""
import os
import subprocess
import sys

CLI = os.path.join(os.environ["TAVELIN_BIN_DIR"], "tavelin-cli")


def run(root, *args, status=0):
    """Runs tavelin-cli on `root`; any exit status but `status` (3: OK was
    refused and nothing was written) ends the check with its message."""
    done = subprocess.run([CLI, "--root", root, *args], capture_output=True, timeout=60)
    if done.returncode != status:
        sys.exit(f"{args} exited {done.returncode}, not {status}: {done.stderr.decode()}")
    return done.stdout.decode()


def read(root, name):
    """The raw bytes of an info-folder file."""
    with open(os.path.join(root, "info", name), "rb") as f:
        return f.read()
