#!/usr/bin/env bash
# A long fuzzing campaign measured in CPU time, not wall time: each target
# runs until its fuzzer process has used CPU_SECONDS of processor time, so a
# loaded machine (or a campaign paused with SIGSTOP while something else is
# measured) still gives every target its full share. Targets run one after
# the other; start several campaigns for several cores.
#   fuzz/campaign.sh CPU_SECONDS TARGET...
# Environment as fuzz/run.sh (HPA_FUZZ_BUILD, HPA_FUZZ_WORK), plus
# HPA_FUZZ_TIMEOUT (seconds per input, default 10). One line per
# target is appended to $HPA_FUZZ_WORK/campaign.tsv:
#   target  cpu_s  wall_s  executions  coverage  new_corpus_files  outcome
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ $# -ge 2 ] || { sed -n '2,11p' "$0"; exit 2; }
cpu_limit=$1
shift
build=${HPA_FUZZ_BUILD:-build-fuzz}
work=${HPA_FUZZ_WORK:-$build/work}
# One input may take this many seconds of wall time. The default suits a
# quiet machine; a campaign running niced beside builds needs more, or a
# fuzzer starved of the processor reports a slow input that is not slow.
timeout=${HPA_FUZZ_TIMEOUT:-10}

# Builds the targets (and checks each starts) with a one-second run.
HPA_FUZZ_BUILD=$build HPA_FUZZ_WORK=$work fuzz/run.sh 1 "$@" >/dev/null

if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ticks=$(getconf CLK_TCK)

# User + system CPU seconds of one process, 0 once it is gone.
cpu_of() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
  # Fields after the command name (which may hold spaces): utime is the
  # 12th and stime the 13th of them.
  set -- ${stat##*) }
  echo $(( (${12} + ${13}) / ticks ))
}

dict_for() {
  case $1 in
    dictionary|status|paper|job) echo fuzz/dict/readers.dict ;;
    *) echo "fuzz/dict/$1.dict" ;;
  esac
}

for t in "$@"; do
  mkdir -p "$work/$t" "$work/artifacts"
  log="$work/$t.campaign.log"
  before=$(ls "$work/$t" | wc -l)
  start=$(date +%s)
  "$build/fuzz/fuzz_$t" -timeout="$timeout" -rss_limit_mb=2048 -malloc_limit_mb=64 \
      -print_final_stats=1 -dict="$(dict_for "$t")" -artifact_prefix="$work/artifacts/$t-" \
      "$work/$t" "fuzz/corpus/$t" >"$log" 2>&1 &
  pid=$!
  used=0
  while kill -0 "$pid" 2>/dev/null; do
    used=$(cpu_of "$pid")
    if [ "$used" -ge "$cpu_limit" ]; then
      kill -INT "$pid" 2>/dev/null || true
      break
    fi
    sleep 5
  done
  outcome=ok
  if ! wait "$pid"; then
    # An interrupted run ends with "run interrupted"; anything else is a finding.
    grep -q 'run interrupted' "$log" || outcome=FINDING
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  after=$(ls "$work/$t" | wc -l)
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$t" "$used" "$(( $(date +%s) - start ))" \
      "${runs:-?}" "${cov:-?}" "$(( after - before ))" "$outcome" >>"$work/campaign.tsv"
  echo "campaign $t: $outcome, ${used} CPU s, ${runs:-?} runs, cov ${cov:-?}"
done
