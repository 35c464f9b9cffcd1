#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh DIR [address|thread|""] [extra cmake args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}
san=${2:-}
shift $(( $# > 2 ? 2 : $# ))
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DHPA_SANITIZE="$san" "$@" >/dev/null
cmake --build "$root/$dir" -j "$jobs"
