#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each one
# for a while on a scratch copy of its corpus.
#   fuzz/run.sh [SECONDS] [TARGET...]     TARGET: dictionary status paper job
#                                         document ftp_reply masks (default: all)
# Environment: HPA_FUZZ_BUILD (build dir, default build-fuzz),
#   HPA_FUZZ_WORK (scratch dir for grown corpora and crash inputs,
#   default build-fuzz/work), HPA_FUZZ_JOBS (parallel runs, default 1).
# Exits non-zero when a target crashed, hung or ran out of memory; the input
# is then left in the scratch dir, named after the target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-30}
shift $(( $# > 0 ? 1 : 0 ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(dictionary status paper job document ftp_reply masks)
fi
build=${HPA_FUZZ_BUILD:-build-fuzz}
work=${HPA_FUZZ_WORK:-$build/work}

CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHPA_SANITIZE=address -DHPA_CORE_ONLY=ON -DHPA_BUILD_TESTS=OFF -DHPA_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" \
  --target $(printf 'fuzz_%s ' "${targets[@]}") >/dev/null

# Dictionary per target; the four readers share one.
dict_for() {
  case $1 in
    dictionary|status|paper|job) echo fuzz/dict/readers.dict ;;
    *) echo "fuzz/dict/$1.dict" ;;
  esac
}

# The reader targets write their input files for every run: keep them in
# memory when the machine offers a tmpfs.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
passed=0
failed=0
for t in "${targets[@]}"; do
  mkdir -p "$work/$t" "$work/artifacts"
  log="$work/$t.log"
  # 64 MiB is the most any single allocation may take: a hostile count
  # must never turn into a big buffer. Ten seconds for one input is a hang.
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -malloc_limit_mb=64 -print_final_stats=1 -dict="$(dict_for "$t")" \
      -artifact_prefix="$work/artifacts/$t-" "$work/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
    passed=$((passed + 1))
    echo "fuzz $t: ${runs:-?} runs in ${seconds}s, ${cov:-cov: ?}, corpus $(ls "$work/$t" | wc -l) new files"
  else
    failed=$((failed + 1))
    echo "fuzz $t: FAILED (log: $log)"
    grep -E 'ERROR|invariant|SUMMARY|Test unit written' "$log" | head -10 || true
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
