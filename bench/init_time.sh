#!/bin/sh
# Times `tavelin-cli init` of a fresh root, RUNS times (5 by default), and prints
# the median wall and CPU time with the machine's load; with strace installed
# also the calls that touch the file system.
#   bench/init_time.sh BUILD_DIR [RUNS]
set -eu
build=${1:?usage: bench/init_time.sh BUILD_DIR [RUNS]}
runs=${2:-5}
cli="$build/bin/tavelin-cli"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
i=0
while [ "$i" -lt "$runs" ]; do
  /usr/bin/env time -f "%e %U %S" -o "$scratch/time" "$cli" --root "$scratch/root$i" init >"$scratch/out"
  cat "$scratch/time" >>"$scratch/times"
  i=$((i + 1))
done
head -c 200 "$scratch/out"
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.3f", v[int((NR + 1) / 2)] }'; }
wall=$(awk '{ print $1 }' "$scratch/times" | median)
cpu=$(awk '{ print $2 + $3 }' "$scratch/times" | median)
echo "init: median wall $wall s, median CPU (user+system) $cpu s over $runs runs"
if command -v strace >/dev/null 2>&1; then
  strace -f -c -o "$scratch/calls" "$cli" --root "$scratch/traced" init >/dev/null
  awk '$NF ~ /^(openat|getdents64|fsync|fdatasync|syncfs|rename|newfstatat|statx)$/ { printf "%s %s  ", $NF, $4 } END { print "" }' "$scratch/calls"
fi
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
