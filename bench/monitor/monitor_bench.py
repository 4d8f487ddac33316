#!/usr/bin/env python3
"""A monitoring pass over 6 inside and 21 outside lab hosts, against fping -r0 -t500 on the
same hosts, from one run: all silent, the inside hosts silent and the outside ones at 2 ms,
all answering between 1 and 150 ms, and mixed. Prints medians of wall time and of CPU time
(the program's process and the wineserver against fping's user + system) and their ratios,
then where a pass's time goes (thread starts, sockets, echo handles, echoes, the cell reads
and writes through the window thread, the throttle, the final wait). Runs inside the lab
(tools/lab.sh).
  monitor_bench.py              the pass benchmark
  monitor_bench.py SCENARIO...  only the scenarios whose names start so ("silent inside")
  monitor_bench.py --soak N     N passes started by clicks on 开始: heap, handles, threads
  monitor_bench.py --soak-tip N N passes with the pointer resting on a row, its tip open
  monitor_bench.py --soak-for SECONDS [INTERVAL]
                                one click on 开始, the timer's passes for SECONDS: the same"""
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# MG_MONITOR_BENCH measures another build of the pass benchmark (an earlier one, for before and after).
EXE = os.environ.get("MG_MONITOR_BENCH") or os.path.join(ROOT, "build", "win64", "bench", "monitor", "monitor_pass_bench.exe")
SOAK_EXE = os.path.join(ROOT, "build", "win64", "bench", "monitor", "monitor_soak.exe")
PASSES = int(os.environ.get("MG_BENCH_PASSES", "7"))


def silent(i):
    return f"127.2.0.{i + 1}"


def answering(i):
    # 27 delays spread evenly from 1 to 150 ms
    return f"127.1.0.{1 + round(i * 149 / 26)}"


def answering_slowest_first(i):
    return answering(26 - i)


def silent_inside(i):
    # the café's own hosts down, the outside ones answering at 2 ms
    return silent(i) if i < 6 else "127.1.0.2"


def mixed(i):
    return (silent, answering, lambda k: f"127.0.0.{k + 1}")[i % 3](i)


def at_once(i):
    return f"127.0.0.{i + 1}"


# The last shows what a pass costs beyond the round trips.
# Rows are probed in waves (each worker holds two of the 30 probes in flight), so where the
# slow hosts stand matters: the second line has them last, the third first.
SCENARIOS = [("all silent", silent), ("silent inside", silent_inside), ("all answering 1-150 ms", answering),
             ("answering 150-1 ms", answering_slowest_first), ("mixed", mixed),
             ("all answering at once", at_once)]


def slowest_reply_ms(addresses):
    delays = [int(a.split(".")[2]) * 256 + int(a.split(".")[3]) for a in addresses if a.startswith("127.1.")]
    return max(delays) if delays else None


def host_file(addresses):
    # label，address， per line, as the default files have it
    return "".join(f"主机{n}，{a}，\r\n" for n, a in enumerate(addresses)).encode("gbk")


def wineserver_pid():
    prefix = os.environ.get("WINEPREFIX", "")
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open(f"/proc/{pid}/comm") as f:
                if f.read().strip() != "wineserver":
                    continue
            with open(f"/proc/{pid}/environ", "rb") as f:
                if f"WINEPREFIX={prefix}".encode() in f.read().split(b"\0"):
                    return pid
        except OSError:
            continue
    return ""


def run_in_program_directory(addresses, command):
    """Runs the Windows program `command` (its directory argument filled in) beside host
    files of the given addresses: 6 inside, the rest outside."""
    with tempfile.TemporaryDirectory(prefix="minggui-bench-") as d:
        with open(os.path.join(d, "疆内.txt"), "wb") as f:
            f.write(host_file(addresses[:6]))
        with open(os.path.join(d, "疆外.txt"), "wb") as f:
            f.write(host_file(addresses[6:]))
        windows_dir = "Z:" + d.replace("/", "\\")
        # As on a Chinese Windows: Wine then names the host files in Chinese both ways.
        env = dict(os.environ, LANG="zh_CN.UTF-8", LC_ALL="zh_CN.UTF-8")
        run = subprocess.run(["wine", command[0], windows_dir, *command[1:]],
                             capture_output=True, text=True, timeout=7200, env=env)
        if run.returncode != 0:
            sys.exit(f"{os.path.basename(command[0])} ended with {run.returncode}:\n{run.stdout}{run.stderr[-2000:]}")
        return run.stdout


def program_passes(addresses):
    out = run_in_program_directory(addresses, [EXE, str(PASSES), wineserver_pid()])
    walls, cpus, phases = [], [], []
    origin = 0.0
    for line in out.splitlines():
        parts = line.split()
        if parts[:1] == ["rows"] and parts[1] != "27":
            sys.exit(f"the program loaded {parts[1]} rows, not 27:\n{out}")
        if parts[:1] == ["pass"]:
            walls.append(float(parts[1]))
            cpus.append(float(parts[4]) + float(parts[7]))
            phases.append({})
        if parts[:1] == ["origin"]:
            origin = float(parts[1])
        if parts[:1] == ["phase"] and phases:
            count, total = int(parts[3]), float(parts[4])
            first, last, end = (float(p) - origin for p in parts[5:8])
            phases[-1][parts[1]] = (count, total, first, last, end)
    if len(walls) != PASSES:
        sys.exit("the pass benchmark printed:\n" + out)
    # The first pass also loads the sockets and ICMP libraries: kept out of the medians.
    return walls[1:], cpus[1:], phases[1:]


PHASES = ["pass", "thread-start", "thread-launch", "sockets", "echo-handle", "echo", "cell-read", "cell-write",
          "throttle", "final-wait"]


def print_breakdown(name, phases):
    """Medians over the passes: how often each phase ran, its time summed over every thread
    (threads overlap, so the sums exceed the pass), and when it first began, last began and
    last ended, in ms from the pass's start."""
    print(f"\n{name}: where a pass's time goes (medians of {len(phases)} passes; ms from the pass's start)")
    print(f"  {'phase':14} {'count':>6} {'summed ms':>10} {'each ms':>8} {'first at':>9} {'last at':>8} {'last end':>9}")
    for phase in PHASES:
        rows = [p[phase] for p in phases if phase in p]
        if not rows:
            continue
        count = statistics.median(r[0] for r in rows)
        total = statistics.median(r[1] for r in rows)
        each = statistics.median(r[1] / r[0] for r in rows)
        first, last, end = (statistics.median(r[k] for r in rows) for k in (2, 3, 4))
        print(f"  {phase:14} {count:6.0f} {total:10.1f} {each:8.2f} {first:9.1f} {last:8.1f} {end:9.1f}")


def fping_passes(addresses):
    walls, cpus = [], []
    for _ in range(PASSES - 1):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        t0 = time.perf_counter()
        subprocess.run(["fping", "-r0", "-t500", "-q", *addresses], capture_output=True)
        walls.append((time.perf_counter() - t0) * 1000)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpus.append((after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime) * 1000)
    return walls, cpus


SOAK_ADDRESSES = [f"127.0.0.{i + 1}" if i % 9 == 0 else f"127.1.0.{(i * 37) % 150 + 1}" for i in range(27)]


def soak(passes):
    # 27 hosts at mixed latencies up to 150 ms, a few at once
    print(run_in_program_directory(SOAK_ADDRESSES, [SOAK_EXE, str(passes)]), end="")


def soak_tip(passes):
    print(run_in_program_directory(SOAK_ADDRESSES, [SOAK_EXE, str(passes), "--tip"]), end="")


def soak_for(seconds, interval):
    print(run_in_program_directory(SOAK_ADDRESSES, [SOAK_EXE, "--for", str(seconds), str(interval)]), end="")


def main():
    if len(sys.argv) > 2 and sys.argv[1] == "--soak":
        return soak(int(sys.argv[2]))
    if len(sys.argv) > 2 and sys.argv[1] == "--soak-tip":
        return soak_tip(int(sys.argv[2]))
    if len(sys.argv) > 2 and sys.argv[1] == "--soak-for":
        return soak_for(int(sys.argv[2]), sys.argv[3] if len(sys.argv) > 3 else "5")
    if not os.path.exists(EXE):
        sys.exit(f"missing {EXE}: build win64 first")
    chosen = [s for s in SCENARIOS if len(sys.argv) < 2 or any(s[0].startswith(a) for a in sys.argv[1:])]
    print(f"{'hosts':24} {'program ms':>11} {'min':>7} {'fping ms':>9} {'ratio':>6} {'goal':>22}"
          f" {'cpu ms':>8} {'fping cpu':>9} {'cpu ratio':>9}")
    breakdowns = []
    for name, address in chosen:
        addresses = [address(i) for i in range(27)]
        walls, cpus, phases = program_passes(addresses)
        breakdowns.append((name, phases))
        fwalls, fcpus = fping_passes(addresses)
        wall, fwall = statistics.median(walls), statistics.median(fwalls)
        cpu, fcpu = statistics.median(cpus), statistics.median(fcpus)
        slowest = slowest_reply_ms(addresses)
        if name == "all silent":
            goal = f"<= 1100, <= {1.45 * fwall:.0f}"
        elif name == "silent inside":
            goal = f"<= {fwall:.0f} (fping)"
        elif slowest is not None and all(a.startswith("127.1.") for a in addresses):
            goal = f"<= {slowest + 30} (slowest+30)"
        else:
            goal = "-"
        print(f"{name:24} {wall:11.1f} {min(walls):7.1f} {fwall:9.1f} {wall / fwall:6.2f} {goal:>22}"
              f" {cpu:8.1f} {fcpu:9.1f} {cpu / max(fcpu, 0.1):9.2f}")
        sys.stdout.flush()
    for name, phases in breakdowns:
        print_breakdown(name, phases)


if __name__ == "__main__":
    main()
