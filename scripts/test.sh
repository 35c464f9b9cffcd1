#!/usr/bin/env bash
# Installs what is missing, checks the source format, builds with AddressSanitizer + UBSan and runs the
# whole suite, then builds the core with ThreadSanitizer and runs the
# threaded tests under it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
jobs=$(nproc 2>/dev/null || echo 2)

echo "== Source format (.clang-format)"
scripts/check-format.sh

echo "== ASan+UBSan build and full suite"
scripts/build.sh build-asan address
ctest --test-dir build-asan -j "$jobs" --output-on-failure --timeout 600

echo "== The desktop under a real X server (Xvfb)"
LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp" \
    tests/gui/x11_check.sh build-asan "$root/build-asan/x11-shots"

echo "== TSan build and threaded tests"
scripts/build.sh build-tsan thread -DHPA_CORE_ONLY=ON
ctest --test-dir build-tsan -j "$jobs" -L threaded --output-on-failure --timeout 600 --no-tests=ignore

# ---- fuzzing (fuzz/): the corpora are replayed by the unit suite above; here
# each libFuzzer target (clang, ASan+UBSan) runs for a short while. Seven
# targets at HPA_FUZZ_SECONDS each (default 30) keep this under five minutes.
echo "== Short fuzz runs"
HPA_FUZZ_WORK="$root/build-fuzz/work-ci" fuzz/run.sh "${HPA_FUZZ_SECONDS:-30}"
