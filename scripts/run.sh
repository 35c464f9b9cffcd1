#!/usr/bin/env bash
# The main job: installs what is missing, builds HPA, then walks the main road
# without a real printer: starts the simulated printer on a free loopback port
# with the sample data, collects its accounting with hpactl into an .hpa
# document and CSV exports under out/run/; then the fleet road: three
# simulated printers whose job logs grow between downloads, collected twice
# into an SQLite history under out/run/, shown with hpactl printers and
# hpactl report --by user; last it opens the document in the desktop program
# when there is a display (else prints the summary).
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
fleet_pids=()
cleanup() {
    for pid in $sim_pid "${fleet_pids[@]}"; do
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
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

# ---- many printers: a fleet collected into a history ------------------------
# Waits for a simulator's "listening on" line in FILE; prints the port.
sim_port() {
    local file=$1 pid=$2 port=""
    for _ in $(seq 100); do
        port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$file")
        [ -n "$port" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "$port"
}

# hpactl collect 0 is all collected, 3 collected with a warning on standard
# error (a job file full or filling, or jobs lost before collection).
collect_fleet() {
    local rc=0
    timeout 300 build/hpactl collect --fleet "$work/fleet/fleet.conf" --db "$history" || rc=$?
    if [ "$rc" -ne 0 ] && [ "$rc" -ne 3 ]; then
        echo "run: hpactl collect failed with status $rc" >&2
        exit 1
    fi
}

if build/hpactl collect --help >/dev/null 2>&1; then
    echo "== fleet: three simulated printers whose job logs grow between downloads"
    history="$out/history.sqlite"
    rm -f "$history" "$history-wal" "$history-shm" "$history-journal"
    mkdir -p "$work/fleet"
    # The password comes from a file, never from the command line.
    (umask 077 && printf '%s\n' "$password" >"$work/fleet/password")
    : >"$work/fleet/fleet.conf"
    # name, jobs at the start, new jobs per download, job file capacity in
    # jobs (0: no limit), seed: "annex" only grows, "lab" fills up, and
    # "print-room" wraps so far between the two downloads that jobs are lost
    # and reported.
    for printer in annex:200:25:0:1 lab:150:40:180:2 print-room:60:80:60:3; do
        IFS=: read -r name jobs step capacity seed <<<"$printer"
        root_dir="$work/fleet/$name"
        build/hpa-printer-sim --generate "$root_dir" --jobs "$jobs" \
            --seed "$seed" >/dev/null
        advance=$step
        [ "$capacity" -gt 0 ] && advance="$step:$capacity"
        : >"$work/fleet/$name.out"
        build/hpa-printer-sim --listen 127.0.0.1:0 --root "$root_dir" \
            --user "$user" --password "$password" --idle-timeout 30 \
            --advance "$advance" --seed "$seed" \
            >"$work/fleet/$name.out" 2>"$work/fleet/$name.err" &
        fleet_pids+=($!)
        port=$(sim_port "$work/fleet/$name.out" "$!")
        if [ -z "$port" ]; then
            echo "run: the simulated printer $name did not start" >&2
            cat "$work/fleet/$name.err" >&2
            exit 1
        fi
        printf '[printer %s]\nhost = 127.0.0.1:%s\nuser = %s\npassword-file = password\n\n' \
            "$name" "$port" "$user" >>"$work/fleet/fleet.conf"
        limit=""
        [ "$capacity" -gt 0 ] && limit=" (job file holds $capacity)"
        echo "   $name on 127.0.0.1:$port: $jobs jobs, $step more per download$limit"
    done

    echo "== hpactl collect --fleet (first collection)"
    collect_fleet
    echo "== hpactl collect --fleet (second collection, the logs have moved on)"
    collect_fleet

    for pid in "${fleet_pids[@]}"; do
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    fleet_pids=()

    echo "== hpactl printers"
    build/hpactl printers --db "$history" --format table
    echo "== hpactl report --by user"
    build/hpactl report --db "$history" --by user --format table
    echo "   history: $history"
else
    echo "== fleet history skipped: this hpactl has no collect command" >&2
fi

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
