#!/usr/bin/env bash
# The main job: installs what is missing, builds HPA and shows what it does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup.sh
scripts/build.sh build
build/hpactl --version
build/hpa-printer-sim --version
