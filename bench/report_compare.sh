#!/usr/bin/env bash
# The printed report as a whole process: `zorvane-cli report --pdf` (the result form and report
# form read from their resources, the month computed, the one-page A4 report with its four charts
# laid out and written as a PDF file) beside gnuplot drawing four comparable line charts (the same
# month's four curves, titled, on an A4 page in a 4 x 1 multiplot) into one PDF with pdfcairo.
# Both are timed from process start to exit, as the median of RUNS runs taken in turns (one of
# each, then again), with each process's peak resident memory (wait4), and printed as ratios. Goals: zorvane-cli report at least twice as fast
# as gnuplot, and within 15 MB and 0.7 times gnuplot's memory.
#   bench/report_compare.sh [RUNS]     (builds the normal configuration first; installs
#                                       gnuplot-nox with apt-get when it is missing)
# With REPORT_COMPARE_VALUES=FILE the figures are also written there as NAME VALUE lines (ms and
# kB), for bench/compare.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-${RUNS:-21}}"

if ! command -v gnuplot >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends gnuplot-nox >/dev/null
fi
./scripts/build.sh normal >/dev/null
cli="$PWD/build/src/app/zorvane-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The month's points for gnuplot, from the same model (not timed).
"$cli" month --birth 15.3.1980 --period 3.2000 | awk 'NF == 5 && $1 ~ /^[0-9]+$/' >"$work/month.dat"
cat >"$work/report.gp" <<EOF
set terminal pdfcairo size 21cm,29.7cm font "Liberation Sans,9"
set output "$work/gnuplot.pdf"
set multiplot layout 4,1 title "Zorvane — 15.3.1980, Март 2000 г."
set grid
set xrange [0:31]
set xtics 1
unset key
set yrange [-1:1]
set title "Физический цикл"
plot "$work/month.dat" using 1:2 with lines lc rgb "black"
set title "Эмоциональный цикл"
plot "$work/month.dat" using 1:3 with lines lc rgb "black"
set title "Интеллектуальный цикл"
plot "$work/month.dat" using 1:4 with lines lc rgb "black"
set yrange [-3:3]
set title "Суммирующий график"
plot "$work/month.dat" using 1:5 with lines lc rgb "black"
unset multiplot
EOF

/usr/bin/python3 - "$work" "$runs" "$cli" <<'PY'
import os, statistics, sys, time

work, runs, cli = sys.argv[1], int(sys.argv[2]), sys.argv[3]
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "LPDEST", "PRINTER")}
env.update(LANG="ru_RU.UTF-8", LC_ALL="", CUPS_SERVER="127.0.0.1:1")

def run(args):
    """Wall time (ms) from start to exit, and the process's peak resident memory (kB)."""
    null = os.open(os.devnull, os.O_WRONLY)
    t = time.perf_counter()
    pid = os.posix_spawn(args[0], args, env, file_actions=[
        (os.POSIX_SPAWN_DUP2, null, 1), (os.POSIX_SPAWN_DUP2, null, 2)])
    _, status, usage = os.wait4(pid, 0)
    ms = (time.perf_counter() - t) * 1000
    os.close(null)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("%s failed" % " ".join(args))
    return ms, usage.ru_maxrss

def measure(*commands):
    """Each command's median time and peak memory. The commands take turns, run after run, so
    that a change in the machine's load while they run weighs on each alike."""
    for args in commands:
        run(args)  # warm the caches
    results = [[] for _ in commands]
    for _ in range(runs):
        for i, args in enumerate(commands):
            results[i].append(run(args))
    return [(statistics.median(r[0] for r in rs), max(r[1] for r in rs)) for rs in results]

gnuplot = "/usr/bin/gnuplot" if os.path.exists("/usr/bin/gnuplot") else os.popen("command -v gnuplot").read().strip()
empty = os.path.join(work, "empty.gp")
open(empty, "w").close()
ours, theirs, startup = measure(
    [cli, "report", "--birth", "15.3.1980", "--period", "3.2000", "--pdf",
     os.path.join(work, "zorvane.pdf")],
    [gnuplot, os.path.join(work, "report.gp")],
    [gnuplot, empty])
for name in ("zorvane.pdf", "gnuplot.pdf"):
    assert os.path.getsize(os.path.join(work, name)) > 1000, name + " is empty"

print("one A4 PDF page with four line charts, whole process (median of %d runs; peak RSS)" % runs)
print("  zorvane-cli report --pdf   %7.1f ms  %7.1f MB   (goal: 2x faster, <= 15 MB and 0.7x)"
      % (ours[0], ours[1] / 1024))
print("  gnuplot pdfcairo, 4 plots  %7.1f ms  %7.1f MB   ratio %.1fx time, %.1fx memory"
      % (theirs[0], theirs[1] / 1024, theirs[0] / ours[0], theirs[1] / ours[1]))
print("  (gnuplot start-up alone   %7.1f ms  %7.1f MB)" % (startup[0], startup[1] / 1024))
print("ratio = gnuplot / zorvane-cli; above 1 means zorvane-cli is faster or smaller")
values = os.environ.get("REPORT_COMPARE_VALUES")
if values:
    with open(values, "w") as f:
        for name, v in (("zorvane_ms", ours[0]), ("zorvane_kb", ours[1]), ("gnuplot_ms", theirs[0]),
                        ("gnuplot_kb", theirs[1]), ("gnuplot_startup_ms", startup[0])):
            f.write("%s %.3f\n" % (name, v))
PY
