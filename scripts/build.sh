#!/usr/bin/env bash
# Configures and builds one build tree, warnings as errors.
#   scripts/build.sh DIR [address|thread|""] [extra cmake args...] [-- TARGET...]
# Without targets it builds everything, the test suite included.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}
shift $(( $# > 0 ? 1 : 0 ))
san=
# The sanitizer may be left out before the targets: "build.sh DIR -- hpactl".
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
    san=$1
    shift
fi
cmake_args=()
targets=()
while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then
        shift
        targets=("$@")
        break
    fi
    cmake_args+=("$1")
    shift
done
jobs=$(nproc 2>/dev/null || echo 2)
# A compiler cache, when the machine has one, makes rebuilds in other trees cheap.
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$root/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DHPA_SANITIZE="$san" -DHPA_WERROR=ON "${launcher[@]}" "${cmake_args[@]}" >/dev/null
if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$root/$dir" -j "$jobs" --target "${targets[@]}"
else
    cmake --build "$root/$dir" -j "$jobs"
fi
