#!/usr/bin/env bash
# The desktop program under a real X server: runs every X11 test executable
# (tests/gui/test_x11_*.cpp) under xvfb-run, each on a server of its own and
# with a time limit, keeping their screenshots. The view test gets a
# document made from the sample printer with hpa-printer-sim and hpactl
# fetch --save; the others make their own data.
#   tests/gui/x11_check.sh [BUILD_DIR] [SHOTS_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shots=${2:-$root/out/x11-shots}
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/hpa-x11.XXXXXX")
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && { kill -TERM "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; }
    rm -rf "$work"
}
trap cleanup EXIT

# The output file exists before the simulator starts: the loop below may read
# it before the background job has opened it.
: >"$work/sim.out"
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
kill -TERM "$sim_pid" 2>/dev/null || true
wait "$sim_pid" 2>/dev/null || true
sim_pid=""

shopt -s nullglob
tests=("$build"/tests/gui_test_x11_*)
[ ${#tests[@]} -gt 0 ] || { echo "no X11 test executables in $build/tests" >&2; exit 1; }

# A screen large enough for the frame at its default size. Settings go to a
# scratch directory; the tests find the tools in the build directory.
failed=()
for test in "${tests[@]}"; do
    name=$(basename "$test")
    case $name in *.*) continue ;; esac # CTest's files beside the programs
    [ -f "$test" ] && [ -x "$test" ] || continue
    echo "== $name"
    if ! HPA_X11_DOCUMENT="$doc" HPA_X11_SHOTS="$shots" HPA_BIN_DIR="$build" \
        HPA_SOURCE_DIR="$root" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb \
        timeout -k 10 180 xvfb-run -a -s "-screen 0 1024x768x24" "$test"; then
        failed+=("$name")
    fi
done
echo "screenshots in $shots"
if [ ${#failed[@]} -gt 0 ]; then
    echo "X11 tests failed: ${failed[*]}" >&2
    exit 1
fi
