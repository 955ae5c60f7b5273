#!/usr/bin/env python3
"""Runs one Windows program under tools/wine-run and reports how much private memory it
added while it worked:
    memory.py STATE_DIR MARKER PROGRAM [ARGS...]
Samples the Wine process's anonymous resident memory (RssAnon + VmSwap of
/proc/PID/status, what Windows counts as private bytes) every few milliseconds. The
start-up value is the last sample before the file MARKER (a Linux path: the install
folder) appears; the result is printed as 'baseline peak added' in KiB."""
import os
import subprocess
import sys
import time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def private_kib(pid):
    values = {}
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                key, _, rest = line.partition(":")
                if key in ("RssAnon", "VmSwap"):
                    values[key] = int(rest.split()[0])
    except OSError:
        return None
    return values.get("RssAnon", 0) + values.get("VmSwap", 0) if values else None


def main():
    state, marker, program = sys.argv[1], sys.argv[2], sys.argv[3:]
    # tools/wine-run and Wine's launcher exec one another, so the child's pid ends up
    # being the Windows program's own process.
    child = subprocess.Popen([os.path.join(TOP, "tools", "wine-run"), state] + program)
    baseline = None
    peak = 0
    last = None
    while child.poll() is None:
        value = private_kib(child.pid)
        if value is not None:
            if baseline is None and os.path.exists(marker):
                baseline = last if last is not None else value
            if baseline is not None:
                peak = max(peak, value)
            last = value
        time.sleep(0.005)
    if baseline is None:
        print("memory.py: the install folder never appeared", file=sys.stderr)
        return 1
    print(baseline, peak, peak - baseline)
    return 0


if __name__ == "__main__":
    sys.exit(main())
