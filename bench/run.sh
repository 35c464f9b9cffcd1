#!/usr/bin/env bash
# The performance suite in one command: builds the programs and benchmarks
# (optimised, no sanitizers, no tests), generates accounting sets of 100,000
# and 1,000,000 jobs with hpa-printer-sim, measures decoding, memory, the
# .hpa document, CSV export, fetching over loopback, the desktop pieces and
# the fleet history (collecting into SQLite and, when its binaries are
# installed, a throwaway PostgreSQL server; bench/history.py), each beside
# its reference command, and writes the results into docs/PERFORMANCE.md.
#
#   bench/run.sh [--no-build] [--jobs "100000 1000000"] [--repeat N]
#                [--build-dir DIR] [--data-dir DIR] [--output FILE]
#
# The sets (about 1.5 GB with the copies the fetch step makes) stay in the
# data directory (default /tmp/hpa-bench) and are reused by the next run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

build_dir=build-bench
data_dir=${TMPDIR:-/tmp}/hpa-bench
jobs="100000 1000000"
repeat=5
output=docs/PERFORMANCE.md
build=1
while [ $# -gt 0 ]; do
    case "$1" in
    --no-build) build=0 ;;
    --jobs) jobs=$2; shift ;;
    --repeat) repeat=$2; shift ;;
    --build-dir) build_dir=$2; shift ;;
    --data-dir) data_dir=$2; shift ;;
    --output) output=$2; shift ;;
    -h|--help) sed -n '2,14p' "$0"; exit 0 ;;
    *) echo "bench/run.sh: unknown argument '$1'" >&2; exit 2 ;;
    esac
    shift
done

for tool in curl /usr/bin/time /usr/bin/python3 wc; do
    command -v "$tool" >/dev/null || { echo "bench/run.sh: $tool is missing (scripts/setup.sh)" >&2; exit 1; }
done

if [ "$build" = 1 ]; then
    cmake -S "$root" -B "$root/$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DHPA_SANITIZE= -DHPA_BUILD_TESTS=OFF -DHPA_BUILD_BENCH=ON >/dev/null
    targets=(hpactl hpa-printer-sim bench_document bench_grid bench_grid_paint)
    # The desktop benchmark exists once the grid windows and the view do.
    [ -f bench/bench_desktop_qt.cpp ] && targets+=(bench_desktop_qt)
    cmake --build "$root/$build_dir" -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"
fi

echo "load before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
# shellcheck disable=SC2086
/usr/bin/python3 bench/suite.py --build-dir "$build_dir" --data-dir "$data_dir" \
    --jobs $jobs --repeat "$repeat" --output "$output"
# The history on the largest set; four collectors at once on a tenth of it.
largest=$(printf '%s\n' $jobs | sort -n | tail -1)
echo "== fleet history, $largest jobs"
exec /usr/bin/python3 bench/history.py --build-dir "$build_dir" --data-dir "$data_dir/history" \
    --jobs "$largest" --parallel-jobs $((largest / 10)) --repeat "$repeat" --output "$output"
