#!/usr/bin/env python3
"""Idle cost: the program on its sheet page with the clock ticking, and a bare window of the
same size beside it, over the same 60 s (MG_IDLE_SECONDS). Prints the CPU time of each
process (the run time of all its threads, from /proc), the ratio program/bare, and what the wineserver and the
X server spent meanwhile (shared by both). Runs inside the lab (tools/lab.sh).
  idle_bench.py PROGRAM.exe BARE.exe"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SECONDS = float(os.environ.get("MG_IDLE_SECONDS", "60"))


def cpu_ms(pid):
    # Run time of every thread of the process in ns (schedstat): finer than the clock ticks of
    # /proc/PID/stat, which a bare window hardly reaches in a minute.
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
    except OSError:
        pass
    return total / 1e6


def pids_named(name):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/comm") as f:
                comm = f.read().strip()
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                cmdline = f.read().split(b"\0")[0].decode(errors="replace")
        except OSError:
            continue
        if comm.startswith(name[:15]) or os.path.basename(cmdline.replace("\\", "/")) == name:
            found.append(int(entry))
    return found


def start(exe, directory):
    copy = os.path.join(directory, os.path.basename(exe))
    shutil.copy(exe, copy)
    return subprocess.Popen(["wine", copy], cwd=directory, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main():
    program, bare = sys.argv[1], sys.argv[2]
    names = [os.path.basename(program), os.path.basename(bare)]
    with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
        launched = [start(program, a), start(bare, b)]
        time.sleep(6)  # both started, the program's lists loaded
        pids = []
        for name in names:
            found = pids_named(name)
            if not found:
                sys.exit(f"{name}: no process found")
            pids.append(found[0])
        shared = {"wineserver": pids_named("wineserver"), "Xvfb": pids_named("Xvfb")}
        before = [cpu_ms(p) for p in pids]
        shared_before = {k: sum(cpu_ms(p) for p in v) for k, v in shared.items()}
        time.sleep(SECONDS)
        after = [cpu_ms(p) for p in pids]
        shared_after = {k: sum(cpu_ms(p) for p in v) for k, v in shared.items()}
        for p in pids:
            os.kill(p, 9)
        for process in launched:
            process.wait()
    used = [x - y for x, y in zip(after, before)]
    print(f"idle {SECONDS:.0f} s, clock ticking: program {used[0]:.1f} ms CPU, bare window {used[1]:.1f} ms CPU")
    ratio = used[0] / used[1] if used[1] > 0 else float("inf")
    print(f"program/bare {ratio:.2f} (goal 3.00 at most); meanwhile wineserver "
          f"{shared_after['wineserver'] - shared_before['wineserver']:.0f} ms, Xvfb {shared_after['Xvfb'] - shared_before['Xvfb']:.0f} ms")


if __name__ == "__main__":
    main()
