#!/usr/bin/env bash
# The desktop program under a real X server: makes a document from the
# sample printer with hpa-printer-sim and hpactl fetch --save, then runs
# the X11 view test on it under xvfb-run, keeping its screenshots.
#   tests/gui/x11_check.sh [BUILD_DIR] [SHOTS_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shots=${2:-$root/out/x11-shots}
mkdir -p "$shots"
work=$(mktemp -d "${TMPDIR:-/tmp}/hpa-x11.XXXXXX")
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && { kill -TERM "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT

"$build/hpa-printer-sim" --listen 127.0.0.1:0 --root "$root/samples/printer" \
    --user admin --password sample --idle-timeout 30 >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
port=""
for _ in $(seq 100); do
    port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/sim.out")
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { cat "$work/sim.err" >&2; exit 1; }

doc="$shots/sample.hpa"
env -u DISPLAY -u WAYLAND_DISPLAY "$build/hpactl" fetch "127.0.0.1:$port" --user admin \
    --password sample --quiet --save "$doc"

# A screen large enough for the frame at its default size.
HPA_X11_DOCUMENT="$doc" HPA_X11_SHOTS="$shots" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/tests/gui_test_x11_view"
echo "screenshots in $shots"
