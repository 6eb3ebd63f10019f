#!/usr/bin/env bash
# Runs every harness of BUILD_DIR/fuzz (a build with TAVELIN_BUILD_FUZZ=ON):
# first over its kept regression inputs, then for SECONDS from seeds made of
# the default data, the catalogue and the layouts. A finding stops the run
# with the input kept in BUILD_DIR/fuzz-findings; prints the executions of
# each harness.
#
#   fuzz/run.sh BUILD_DIR [SECONDS]          (30 s each unless told)
set -euo pipefail
cd "$(dirname "$0")/.."

build="$(realpath "$1")"
seconds="${2:-30}"
corpus="$build/fuzz-corpus"
findings="$build/fuzz-findings"
logs="$build/fuzz-logs"
mkdir -p "$findings" "$logs"

python3 fuzz/make_seeds.py --source . --build "$build" --out "$corpus"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
# One harness: its kept regression inputs first, then the timed run.
fuzz_one() {
  local harness="$1" name work executions features
  name="$(basename "$harness")"
  if compgen -G "fuzz/regressions/$name/*" >/dev/null; then
    if ! "$harness" fuzz/regressions/"$name"/* >"$logs/$name.regressions" 2>&1; then
      echo "$name: a kept regression input fails again" >&2
      tail -n 40 "$logs/$name.regressions" >&2
      return 1
    fi
  fi
  work="$build/fuzz-work/$name"
  rm -rf "$work"
  mkdir -p "$work"
  if "$harness" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
       -artifact_prefix="$findings/$name-" "$work" "$corpus/$name" >"$logs/$name.log" 2>&1; then
    executions="$(awk '/stat::number_of_executed_units/ {print $2}' "$logs/$name.log")"
    features="$(grep -o 'cov: [0-9]*' "$logs/$name.log" | tail -n 1 | cut -d' ' -f2)"
    printf '%-20s %9s executions in %s s, %s coverage points\n' "$name" "$executions" "$seconds" \
      "${features:-?}"
  else
    echo "$name: FINDING (input kept in $findings)" >&2
    tail -n 60 "$logs/$name.log" >&2
    return 1
  fi
}

# $FUZZ_JOBS harnesses at a time (2: one per core of the CI machine).
jobs_at_once="${FUZZ_JOBS:-2}"
status=0
running=0
for harness in "$build"/fuzz/fuzz_*; do
  fuzz_one "$harness" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs_at_once" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
