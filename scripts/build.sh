#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh DIR [address|thread|""] [extra cmake args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}
san=${2:-}
shift $(( $# > 2 ? 2 : $# ))
jobs=$(nproc 2>/dev/null || echo 2)
# A compiler cache, when the machine has one, makes rebuilds in other trees cheap.
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$root/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DHPA_SANITIZE="$san" "${launcher[@]}" "$@" >/dev/null
cmake --build "$root/$dir" -j "$jobs"
