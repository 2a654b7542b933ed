#!/usr/bin/env python3
"""Speed of `zovedit check`, measured end to end on the built program.

Writes five CGIF files into a temporary folder and times `zovedit check FILE` on each as a
whole process (start-up, reading and decoding the file, parsing, the checking builder, the
"File read" line), which is what a script that validates CGIF pays. These files all take the
launcher's quick path (src/cgif/quick); a file it is unsure of costs the start of zovedit-app and
the full reader on top:

  small-100k, small-1m, small-10m   1,320, 13,200 and 132,000 small graphs as the exporter
                                    writes them (a title comment, two concepts with positions, one
                                    relation with bound labels, graphs separated by " " and ". "
                                    lines, CR LF line ends), about 80 bytes each: 0.1, 1 and 10 MiB
                                    (the same text as BM_CheckSmallGraphs in bench_import.cpp)
  empty                             no text at all: what starting and ending the program costs
  line-5m                           the same kind of elements on one single line of 5 MB

Each file is checked --runs times (default 7); the report gives the fastest and the median wall
time with the MB/s of the median (1 MB = 10^6 bytes), then the median CPU time (user + system)
of the process with its MB/s, and "net": MB/s of the CPU time beyond that of checking the
empty file (loading the program and its libraries, starting and ending). Wall times on a loaded
machine are noisy and the CPU time less so: run it when the machine is quiet, or compare
instruction counts with
  valgrind --tool=callgrind BUILD/zovedit check FILE
Every run must exit 0 with exactly "ZOVEdit: File read" on standard error, or the script fails.

Usage: bench/check_speed.py BUILD/zovedit [--runs N] [--keep DIR]
"""
import argparse
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time


def small_graphs(count):
    parts = []
    for graph in range(count):
        if graph:
            parts.append(" \r\n. \r\n")
        parts.append(";%%Graph*S%d%%;\r\n[Cat*x;100@50;\r\n][Mat*y;300@50;\r\n](On?x?y;200@150;\r\n)\r\n" % graph)
    return "".join(parts), count


def one_line(size):
    parts = []
    total = 0
    i = 0
    while total < size:
        piece = "[Cat: 'Tom' *c%d] (On ?c%d [Mat ;%%120@80%% note;]) " % (i, i)
        parts.append(piece)
        total += len(piece)
        i += 1
    return "".join(parts), 1


INPUTS = [
    ("empty", lambda: ("", 1)),
    ("small-100k", lambda: small_graphs(1_320)),
    ("small-1m", lambda: small_graphs(13_200)),
    ("small-10m", lambda: small_graphs(132_000)),
    ("line-5m", lambda: one_line(5_000_000)),
]


def check_once(program, path):
    """Wall time and CPU time (user + system) of one `zovedit check` process."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    done = subprocess.run([program, "check", path], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode != 0 or done.stderr.decode() != "ZOVEdit: File read\n":
        sys.exit("%s: exit %d, stderr %r" % (path, done.returncode, done.stderr.decode()[:300]))
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--keep", help="write the inputs into this folder and keep them")
    options = parser.parse_args()

    folder = options.keep or tempfile.mkdtemp(prefix="zov-check-speed-")
    os.makedirs(folder, exist_ok=True)
    print("%-11s %10s %8s %9s %9s %7s %9s %7s %7s" %
          ("input", "bytes", "graphs", "fastest s", "median s", "MB/s", "CPU s", "MB/s", "net"))
    startup = None
    for name, make in INPUTS:
        text, graphs = make()
        path = os.path.join(folder, name + ".cgf")
        with open(path, "w", encoding="utf-8", newline="") as out:
            out.write(text)
        size = os.path.getsize(path)
        runs = [check_once(options.program, path) for _ in range(options.runs)]
        walls = [wall for wall, _ in runs]
        median = statistics.median(walls)
        cpu = statistics.median([cpu for _, cpu in runs])
        if startup is None:
            startup = cpu
        net = size / max(cpu - startup, 1e-6) / 1e6
        print("%-11s %10d %8d %9.4f %9.4f %7.1f %9.4f %7.1f %7.1f" %
              (name, size, graphs, min(walls), median, size / median / 1e6, cpu, size / max(cpu, 1e-6) / 1e6, net))
        if not options.keep:
            os.remove(path)
    if not options.keep:
        os.rmdir(folder)


if __name__ == "__main__":
    main()
