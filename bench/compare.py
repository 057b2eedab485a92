#!/usr/bin/env python3
"""Side-by-side comparison of a whole statsstats run with what users would use instead.

    python3 bench/compare.py [--build DIR] [--rounds N] [--lines 100000,400000]

Generates the logs with the project's generator (16 channels, 2 scan rates), then runs, in
alternation and several times each: the whole statsstats run, the getline + strtod baseline
reader, and, where installed, a pandas script (python3-pandas) and Miller's stats1 (miller).
Prints median wall time, MB/s, lines/s, peak memory and the ratios to statsstats. Every run's
output is checked, so that no tool can skip work: statsstats must write the same table every
time, with one row per scan rate and channel; the baseline must read every line; pandas and
Miller must produce one summary row per scan rate and channel.
"""
import argparse
import hashlib
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CHANNELS, RATES = 16, 2


def run(command, cwd, env=None, stdout=subprocess.DEVNULL):
    """Runs `command`; returns (wall seconds, peak resident MB, stdout text)."""
    start = time.perf_counter()
    process = subprocess.Popen(command, cwd=cwd, env=env, stdout=stdout,
                               stderr=subprocess.PIPE)
    out = process.stdout.read() if process.stdout else b""
    err = process.stderr.read()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"compare: {' '.join(command)} failed: {err.decode(errors='replace')}")
    return wall, usage.ru_maxrss / 1024.0, out.decode(errors="replace")


def generate(build, lines):
    path = os.path.join(build, "bench-data", f"statslog-{lines}.csv")
    if not os.path.exists(path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path + ".tmp", "wb") as out:
            subprocess.run([os.path.join(build, "gen_statslog"), str(lines // CHANNELS),
                            str(CHANNELS), str(RATES)], stdout=out, check=True)
        os.rename(path + ".tmp", path)
    return path


def python_with_pandas():
    for python in ("/usr/bin/python3", sys.executable, "python3"):
        if shutil.which(python) and subprocess.run(
                [python, "-c", "import pandas"], stderr=subprocess.DEVNULL).returncode == 0:
            return python
    return None


def data_rows(path):
    with open(path, "rb") as table:
        return sum(1 for _ in table) - 1


class Tool:
    def __init__(self, name, command, check):
        self.name, self.command, self.check = name, command, check
        self.walls, self.peaks = [], []


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--lines", default="100000,400000")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    for program in ("statsstats", "gen_statslog", "bench/baseline_reader"):
        if not os.path.exists(os.path.join(build, program)):
            sys.exit(f"compare: {program} is not built in {build}; run `make benchmarks`")

    pandas_python = python_with_pandas()
    if pandas_python is None:
        print("compare: pandas is not installed (apt-get install python3-pandas); skipping it")
    if shutil.which("mlr") is None:
        print("compare: Miller is not installed (apt-get install miller); skipping it")

    work = tempfile.mkdtemp(prefix="statsstats-compare-")
    hook_dir = os.path.join(work, "bin")
    os.makedirs(hook_dir)
    with open(os.path.join(hook_dir, "ruvo-postanalysis.bat"), "w") as hook:
        hook.write("#!/bin/sh\n:\n")
    os.chmod(os.path.join(hook_dir, "ruvo-postanalysis.bat"), 0o755)
    env = dict(os.environ, PATH=hook_dir + os.pathsep + os.environ["PATH"])
    rows = CHANNELS * RATES

    try:
        for lines in [int(n) for n in args.lines.split(",")]:
            log = generate(build, lines)
            size_mb = os.path.getsize(log) / 1e6
            first_table = {}

            def check_statsstats(_):
                table = os.path.join(work, "statsstatslog.csv")
                digest = hashlib.sha256(open(table, "rb").read()).hexdigest()
                first_table.setdefault("digest", digest)
                if digest != first_table["digest"] or data_rows(table) != rows:
                    sys.exit("compare: statsstats wrote a different table")

            def check_baseline(out):
                if not out.startswith(f"records {lines} "):
                    sys.exit(f"compare: the baseline read {out.strip()}")

            def check_rows(name):
                def check(_):
                    if data_rows(os.path.join(work, name)) != rows:
                        sys.exit(f"compare: {name} has the wrong number of rows")
                return check

            tools = [
                Tool("statsstats", [os.path.join(build, "statsstats"), log], check_statsstats),
                Tool("getline+strtod baseline", [os.path.join(build, "bench", "baseline_reader"),
                                                 log], check_baseline),
            ]
            if pandas_python:
                tools.append(Tool("pandas script", [pandas_python, os.path.join(
                    HERE, "pandas_summary.py"), log], check_rows("pandas_summary.csv")))
            if shutil.which("mlr"):
                fields = ",".join(["mean", "max", "min", "variance", "skew", "kurtosis", "cal",
                                   "psdpeakfreq", "scalefactor", "offset", "damage",
                                   "psd99pctfreq"])
                tools.append(Tool("Miller stats1", [
                    "sh", "-c", "mlr --icsv --ocsv stats1 -a mean,max,min,var,skewness,kurtosis "
                    f"-f {fields} -g scanrate,channel \"$0\" > mlr_summary.csv", log],
                    check_rows("mlr_summary.csv")))

            for tool in tools:  # once to warm the page cache and check the outputs
                tool.check(run(tool.command, work, env, subprocess.PIPE)[2])
            for _ in range(args.rounds):
                for tool in tools:
                    wall, peak, out = run(tool.command, work, env, subprocess.PIPE)
                    tool.check(out)
                    tool.walls.append(wall)
                    tool.peaks.append(peak)

            reference = statistics.median(tools[0].walls)
            print(f"\n{lines} lines, {size_mb:.0f} MB, median of {args.rounds} rounds:")
            print(f"{'':26} {'time':>9} {'MB/s':>7} {'lines/s':>11} {'peak MB':>8} "
                  f"{'x log':>6} {'time / statsstats':>18}")
            for tool in tools:
                wall = statistics.median(tool.walls)
                peak = max(tool.peaks)
                print(f"{tool.name:26} {wall:8.3f}s {size_mb / wall:7.0f} {lines / wall:11,.0f} "
                      f"{peak:8.0f} {peak / size_mb:6.2f} {wall / reference:18.2f}")
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
