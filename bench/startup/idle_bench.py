#!/usr/bin/env python3
"""Idle cost: the program on its sheet page with the clock ticking, against a bare window of
the same size, each alone for the same time (MG_IDLE_SECONDS, 60 s, taken in MG_IDLE_ROUNDS
turns, 3) one after the other, so that the wineserver's time during each belongs to that one.
Prints the CPU time of each process (the run time of all its threads, from /proc) and of the
wineserver meanwhile, per second, and how much more the program and its wineserver use a
second than the bare window and its wineserver (goal: at most 2 ms). The bare window is measured a second time holding one
focused edit box: the caret's blinking, which the program's focus at start brings, costs that
much in any program. Runs inside the lab (tools/lab.sh).
  idle_bench.py PROGRAM.exe BARE.exe [BEFORE.exe]   BEFORE: an earlier build, measured alike"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

SECONDS = float(os.environ.get("MG_IDLE_SECONDS", "60"))
# The time is split into rounds that take the programs in turn, so that the machine's slow
# drifts (the wineserver's own work comes and goes by a millisecond a second over minutes)
# fall on each alike.
ROUNDS = max(1, int(os.environ.get("MG_IDLE_ROUNDS", "3")))
GOAL_MS_PER_S = 2.0


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


def processes():
    """(pid, comm, arguments, environment) of every process that can be read."""
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/comm") as f:
                comm = f.read().strip()
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                arguments = [a.decode(errors="replace") for a in f.read().split(b"\0")]
            with open(f"/proc/{entry}/environ", "rb") as f:
                environment = f.read().split(b"\0")
        except OSError:
            continue
        yield int(entry), comm, arguments, environment


def lab_pids(exe_path=None):
    """This lab's own processes (other labs may run beside it, each with a prefix of its
    own): the program started from `exe_path`, the wineserver and the X server."""
    prefix = f"WINEPREFIX={os.environ.get('WINEPREFIX', '')}".encode()
    found = {"process": [], "wineserver": [], "Xvfb": []}
    for pid, comm, arguments, environment in processes():
        if exe_path and arguments[0].replace("\\", "/").lower().endswith(exe_path.lower()):
            found["process"].append(pid)
        elif comm.startswith("wineserver") and prefix in environment:
            found["wineserver"].append(pid)
        elif comm == "Xvfb" and prefix in environment:
            found["Xvfb"].append(pid)
    return found


def idle_cost(exe, arguments=(), seconds=SECONDS):
    """CPU ms of the process, of the wineserver and of the X server over `seconds`, the process
    started in a fresh directory and left alone for 6 s first (the program's lists loaded)."""
    with tempfile.TemporaryDirectory() as directory:
        copy = os.path.join(directory, os.path.basename(exe))
        shutil.copy(exe, copy)
        # Phase timing off, as shipped: it keeps the message loop's peeks for its first paint.
        environment = {k: v for k, v in os.environ.items() if k != "MG_PHASE_LOG"}
        launched = subprocess.Popen(["wine", copy, *arguments], cwd=directory, env=environment, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        time.sleep(6)
        watched = lab_pids(copy)
        if not watched["process"]:
            sys.exit(f"{os.path.basename(exe)}: no process found")
        found = watched["process"][:1]
        watched["process"] = found
        before = {k: sum(cpu_ms(p) for p in v) for k, v in watched.items()}
        time.sleep(seconds)
        after = {k: sum(cpu_ms(p) for p in v) for k, v in watched.items()}
        os.kill(found[0], 9)
        launched.wait()
        time.sleep(1)  # the wineserver done with the process's end before the next one starts
    return {k: after[k] - before[k] for k in watched}


def main():
    programs = {"program": sys.argv[1]}
    if len(sys.argv) > 3:
        programs["before"] = sys.argv[3]
    runs = {"bare window": (sys.argv[2], []), "bare + caret": (sys.argv[2], ["--focused-edit"])}
    runs.update({name: (exe, []) for name, exe in programs.items()})
    costs = {name: {"process": 0.0, "wineserver": 0.0, "Xvfb": 0.0} for name in runs}
    for _ in range(ROUNDS):
        for name, (exe, arguments) in runs.items():
            for k, v in idle_cost(exe, arguments, SECONDS / ROUNDS).items():
                costs[name][k] += v
    print(f"idle {SECONDS:.0f} s each in {ROUNDS} rounds, alone, the clock ticking (CPU ms a second):")
    for name, c in costs.items():
        print(f"  {name:12} process {c['process'] / SECONDS:6.2f}  wineserver {c['wineserver'] / SECONDS:6.2f}"
              f"  together {(c['process'] + c['wineserver']) / SECONDS:6.2f}  (Xvfb {c['Xvfb'] / SECONDS:6.2f})")
    def over(name, base):
        p, b = costs[name], costs[base]
        return (p["process"] + p["wineserver"] - b["process"] - b["wineserver"]) / SECONDS

    print(f"a blinking caret alone, over the bare window: {over('bare + caret', 'bare window'):+.2f} ms a second")
    for name in programs:
        print(f"{name} and its wineserver over the bare window's: {over(name, 'bare window'):+.2f} ms a second"
              f" (goal +{GOAL_MS_PER_S:.0f} at most); over the bare window with the caret:"
              f" {over(name, 'bare + caret'):+.2f}")


if __name__ == "__main__":
    main()
