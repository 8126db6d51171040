#!/usr/bin/env python3
"""Whether drives-tesk-results run changes what the benchmark measures.

Runs drives-tesk directly and through `drives-tesk-results run --repeat 1` in turn, three rounds
each, every run in a fresh directory beside the others, and prints the median of each
single-thread figure both ways with their ratio, and the command's own CPU time as a share of the
benchmark's. Expected: every ratio at least 0.97, the share under 1%. Exit status 1 otherwise.

    python3 bench/run-overhead.py BUILD_DIR [--rounds N] [--where DIR]
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

FIGURES = [
    ("stream_cycles", "files_per_second", "Lower (files/s)"),
    ("descriptor_cycles", "files_per_second", "Higher (files/s)"),
    ("byte_write", "millions_per_second", "Low writing (M accesses/s)"),
    ("byte_read", "millions_per_second", "Low reading (M accesses/s)"),
    ("block_read", "megabytes_per_second", "High reading (MB/s)"),
    ("block_write", "megabytes_per_second", "High writing (MB/s)"),
]


def single_figures(record):
    return {key: record["single"][key][rate] for key, rate, _ in FIGURES}


def direct(build, directory):
    subprocess.run([os.path.join(build, "drives-tesk")], cwd=directory, check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    results = [name for name in os.listdir(directory) if name.startswith("results_")]
    shown = subprocess.run([os.path.join(build, "drives-tesk-results"), "show", "--format",
                            "json", os.path.join(directory, results[0])],
                           check=True, capture_output=True, text=True)
    return single_figures(json.loads(shown.stdout)["files"][0])


def through_run(build, directory):
    """The figures, and the CPU seconds of the command itself and of the benchmark it ran."""
    command = subprocess.Popen([os.path.join(build, "drives-tesk-results"), "run", directory,
                                "--repeat", "1", "--format", "json"],
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
    output = command.stdout.read()
    # Ended but not yet reaped: its /proc entry holds its own final CPU time and that of the
    # benchmark it waited for.
    os.waitid(os.P_PID, command.pid, os.WEXITED | os.WNOWAIT)
    with open(f"/proc/{command.pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    command.wait()
    ticks = os.sysconf("SC_CLK_TCK")
    own = (int(fields[11]) + int(fields[12])) / ticks
    benchmark = (int(fields[13]) + int(fields[14])) / ticks
    return single_figures(json.loads(output)["files"][0]), own, benchmark


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", help="the build directory holding both programs")
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--where", default=None, help="where the runs' directories go")
    arguments = parser.parse_args()
    arguments.build = os.path.abspath(arguments.build)  # the runs start in other directories
    base = tempfile.mkdtemp(prefix="run-overhead-", dir=arguments.where)
    plain, piped = [], []
    own = benchmark = 0.0
    try:
        for round_ in range(arguments.rounds):
            for way in ("direct", "run"):
                directory = os.path.join(base, f"{way}-{round_}")
                os.mkdir(directory)
                if way == "direct":
                    plain.append(direct(arguments.build, directory))
                else:
                    figures, command, child = through_run(arguments.build, directory)
                    piped.append(figures)
                    own += command
                    benchmark += child
                print(f"round {round_ + 1}: {way} done", file=sys.stderr)
    finally:
        shutil.rmtree(base, ignore_errors=True)

    ok = True
    print(f"{'figure':30} {'direct':>12} {'through run':>12} {'ratio':>7}")
    for key, _, title in FIGURES:
        a = statistics.median(figures[key] for figures in plain)
        b = statistics.median(figures[key] for figures in piped)
        ratio = b / a if a else float("nan")
        ok = ok and ratio >= 0.97
        print(f"{title:30} {a:12.6g} {b:12.6g} {ratio:7.3f}")
    share = own / benchmark * 100 if benchmark else float("nan")
    ok = ok and share < 1
    print(f"CPU: the command {own:.2f} s, the benchmark {benchmark:.2f} s: {share:.2f}%")
    print("within the bounds" if ok else "outside the bounds (ratio >= 0.97, CPU < 1%)")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
