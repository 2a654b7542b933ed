#!/usr/bin/env python3
"""Speed and memory of `zovedit check`, measured end to end on the built programs.

Writes CGIF files into a temporary folder and checks each as a whole process (start-up,
reading and decoding the file, parsing, the checking builder, the "File read" line), which is
what a script that validates CGIF pays, in three ways:

  quick   `zovedit check FILE`: the launcher, which answers through the quick checker
          (src/cgif/quick) when it can and starts zovedit-app otherwise
  full    `zovedit-app check FILE`: the full reader with the checking builder, as `import`
          reads (and as `check` answers every file the quick checker is unsure of)
  wc      `wc -l FILE`: one pass over the bytes, the floor any reader is compared with

The inputs:

  tiny                              one concept and relation: what starting and ending a program
                                    costs (a file drawing nothing is no baseline: the launcher leaves
                                    it to the full program)
  small-100k, small-1m, small-10m   1,320, 13,200 and 132,000 small graphs as the exporter
                                    writes them (a title comment, two concepts with positions, one
                                    relation with bound labels, graphs separated by " " and ". "
                                    lines, CR LF line ends), about 80 bytes each: 0.1, 1 and 10 MiB
                                    (the same text as BM_CheckSmallGraphs in bench_import.cpp)
  line-5m                           the same kind of elements on one single line of 5 MB
  nested-16k                        16,000 negations, each a nested graph handed on, that refer
                                    to a label of the enclosing graph and of the one before (the
                                    text of BM_NestedGraphs in bench_reader.cpp)

Each file is checked --runs times (default 5) each way. The report gives per input the median
wall time of each way, the median CPU time (user + system) of the full reader and its MB/s
(1 MB = 10^6 bytes), the full reader's wall time as a multiple of `wc -l` and of the quick
way, and the full reader's peak resident memory, also beyond that of checking the tiny file,
as a multiple of the file's size; the same for the quick way, whose wall time is also given as a
multiple of `wc -l`. Wall times on a loaded machine are noisy: run it when the
machine is quiet, or compare instruction counts with
  valgrind --tool=callgrind BUILD/zovedit-app check FILE
Every check must exit 0 with exactly "ZOVEdit: File read" on standard error, or the script fails.

Usage: bench/check_speed.py BUILD/zovedit [--runs N] [--keep DIR]
       (zovedit-app is taken from the same folder)
"""
import argparse
import os
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
    return "".join(parts)


def one_line(size):
    parts = []
    total = 0
    i = 0
    while total < size:
        piece = "[Cat: 'Tom' *c%d] (On ?c%d [Mat ;%%120@80%% note;]) " % (i, i)
        parts.append(piece)
        total += len(piece)
        i += 1
    return "".join(parts)


def nested(negations):
    parts = ["[Person *who] "]
    for i in range(negations):
        parts.append("~[ [Cat *k%d] (On ?k%d [Mat: ?who]) ]\r\n" % (i, i))
        if i > 0:
            parts.append("[Dog: ?k%d]\r\n" % (i - 1))
    return "".join(parts)


INPUTS = [
    ("tiny", lambda: "[Cat](On[Mat])\n"),
    ("small-100k", lambda: small_graphs(1_320)),
    ("small-1m", lambda: small_graphs(13_200)),
    ("small-10m", lambda: small_graphs(132_000)),
    ("line-5m", lambda: one_line(5_000_000)),
    ("nested-16k", lambda: nested(16_000)),
]


GNU_TIME = "/usr/bin/time"


READ = (0, "ZOVEdit: File read\n")


def run_once(command, expected):
    """Wall time and CPU time (user + system) of one process; `expected` is its exit status and
    standard error, or None for any run that exits 0."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    stderr = process.stderr.read()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if (code, stderr.decode()) != expected if expected else code != 0:
        sys.exit("%s: exit %d, stderr %r" % (" ".join(command), code, stderr.decode()[:300]))
    return wall, usage.ru_utime + usage.ru_stime


def peak_memory(command):
    """Peak resident KB of one process, as GNU time reports it. A process started from this
    script would inherit the script's own peak (the inputs it holds) across exec, and its
    rusage would report that; GNU time starts the program from a small process of its own."""
    with tempfile.NamedTemporaryFile("r", suffix=".rss") as peak:
        subprocess.run([GNU_TIME, "-q", "-f", "%M", "-o", peak.name] + command,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return int(peak.read().split()[-1])


def median_run(command, runs, expected):
    """Median wall and CPU time over `runs` runs, and the peak memory of one more."""
    results = [run_once(command, expected) for _ in range(runs)]
    return (statistics.median(r[0] for r in results), statistics.median(r[1] for r in results),
            peak_memory(command))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--keep", help="write the inputs into this folder and keep them")
    options = parser.parse_args()
    if not os.access(GNU_TIME, os.X_OK):
        sys.exit("check_speed.py needs GNU time (%s; Debian package time)" % GNU_TIME)
    full = os.path.join(os.path.dirname(os.path.abspath(options.program)), "zovedit-app")

    folder = options.keep or tempfile.mkdtemp(prefix="zov-check-speed-")
    os.makedirs(folder, exist_ok=True)
    print("%-11s %9s %8s %8s %6s %8s %8s %7s %7s %7s %7s %7s %7s %7s" %
          ("input", "bytes", "wc s", "quick s", "x wc", "full s", "CPU s", "MB/s", "x wc", "x quick", "RSS MB",
           "x file", "qRSS MB", "x file"))
    base_rss = None
    base_quick_rss = None
    for name, make in INPUTS:
        path = os.path.join(folder, name + ".cgf")
        with open(path, "w", encoding="utf-8", newline="") as out:
            out.write(make())
        size = os.path.getsize(path)
        wc, _, _ = median_run(["wc", "-l", path], options.runs, None)
        quick, _, quick_rss = median_run([options.program, "check", path], options.runs, READ)
        wall, cpu, rss = median_run([full, "check", path], options.runs, READ)
        if base_rss is None:
            base_rss, base_quick_rss = rss, quick_rss
        growth = (rss - base_rss) * 1024 / size if size else 0
        quick_growth = (quick_rss - base_quick_rss) * 1024 / size if size else 0
        print("%-11s %9d %8.4f %8.4f %6.1f %8.4f %8.4f %7.1f %7.1f %7.1f %7.1f %7.1f %7.1f %7.1f" %
              (name, size, wc, quick, quick / max(wc, 1e-6), wall, cpu, size / max(cpu, 1e-6) / 1e6,
               wall / max(wc, 1e-6), wall / max(quick, 1e-6), rss / 1024, growth, quick_rss / 1024, quick_growth))
        if not options.keep:
            os.remove(path)
    if not options.keep:
        os.rmdir(folder)


if __name__ == "__main__":
    main()
