#!/usr/bin/env bash
# The main job: installs what is missing, builds HPA, then walks the main road
# without a real printer: starts the simulated printer on a free loopback port
# with the sample data, collects its accounting with hpactl into an .hpa
# document and CSV exports under out/run/, and opens the document in the
# desktop program when there is a display (else prints the summary).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup.sh
# Only the three programs the job runs; scripts/test.sh builds the tests.
scripts/build.sh build "" -- hpa hpactl hpa-printer-sim
export QT_QPA_PLATFORM=offscreen

build/hpactl --version
build/hpa-printer-sim --version

work=$(mktemp -d "${TMPDIR:-/tmp}/hpa-run.XXXXXX")
sim_pid=""
cleanup() {
    if [ -n "$sim_pid" ]; then
        kill -TERM "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

user=admin
password=sample
# The output file exists before the simulator starts, so the first read of
# it below cannot fail (set -e would end the script).
: >"$work/sim.out"
build/hpa-printer-sim --listen 127.0.0.1:0 --root samples/printer \
    --user "$user" --password "$password" --idle-timeout 30 \
    >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!

# The simulator prints "listening on 127.0.0.1:PORT" once it accepts.
port=""
for _ in $(seq 100); do
    port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/sim.out")
    [ -n "$port" ] && break
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "run: the simulated printer did not start" >&2
    cat "$work/sim.err" >&2
    exit 1
fi
echo "== simulated printer serving samples/printer on 127.0.0.1:$port"

# The document and the exports stay after the run; the rest goes.
out="$root/out/run"
mkdir -p "$out" "$work/acc"
doc="$out/sample.hpa"
rm -f "$doc" "$out/jobs.csv" "$out/paper.csv" "$out/status.csv"

echo "== hpactl fetch 127.0.0.1:$port"
timeout 120 build/hpactl fetch "127.0.0.1:$port" --user "$user" --password "$password" \
    --quiet --workdir "$work/acc" --save "$doc" --summary \
    --export-job "$out/jobs.csv" --export-paper "$out/paper.csv" \
    --export-status "$out/status.csv" >"$work/summary.txt"

# The printer's part is over.
kill -TERM "$sim_pid" 2>/dev/null || true
wait "$sim_pid" 2>/dev/null || true
sim_pid=""

echo "== first lines of the exported Job table"
head -n 5 "$out/jobs.csv"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "== opening $doc in hpa (close its window to finish)"
    # The desktop program runs on the display, not on the offscreen platform
    # the command-line steps used.
    env -u QT_QPA_PLATFORM build/hpa "$doc"
else
    echo "== accounting summary"
    cat "$work/summary.txt"
    echo "== no display: the document was not opened"
    echo "   document: $doc  (open it with: build/hpa $doc)"
    echo "   exports:  $out/jobs.csv  $out/paper.csv  $out/status.csv"
fi
echo "== done"
