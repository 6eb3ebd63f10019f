#!/bin/sh
# Runs `tavelin-cli batch` of the same list of ROWS fittings (1,000 by default:
# the list of batch_bench) with two builds, one after the other, RUNS times
# each (3), into fresh folders; prints each build's median wall and CPU time
# (user + system, every thread), its peak resident size and its system calls,
# and whether the two builds wrote the same files byte for byte (the log's
# times and folder names aside).
#   bench/batch_compare.sh BEFORE_BUILD_DIR AFTER_BUILD_DIR [ROWS] [RUNS]
set -eu
before=${1:?usage: bench/batch_compare.sh BEFORE_BUILD_DIR AFTER_BUILD_DIR [ROWS] [RUNS]}
after=${2:?usage: bench/batch_compare.sh BEFORE_BUILD_DIR AFTER_BUILD_DIR [ROWS] [RUNS]}
rows=${3:-1000}
runs=${4:-3}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$after/bin/tavelin-cli" --root "$scratch/root" init >/dev/null
python3 - "$rows" >"$scratch/list.csv" <<'PY'
import sys
rows = int(sys.argv[1])
sizes = [150, 200, 250, 300, 350, 400, 450, 500, 600, 700, 800, 900, 1000]
angles = [15, 30, 45, 60, 75, 90]
types = ["VD", "MD", "CD", "FD", "FD+"]
print("stem,type,W1,R,W2,A,L1,D,size,length,pitch")
for i in range(rows):
    w = sizes[i % 13]
    if i % 5 < 3:
        print(f"Erbo,,{w},{w // 2 - (i % 5 == 2)},{w},{angles[i // 5 % 6]},{100 + i % 7 * 10},,,,")
    elif i % 5 == 3:
        print(f"Danpa,{types[i // 5 % 5]},,,,,300,{w}x{max(w // 4, 100)},,,")
    else:
        print(f"Choku,,,,,,,,{w},{1000 + i},1820")
PY
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.3f", v[int((NR + 1) / 2)] }'; }
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
i=0
while [ "$i" -lt "$runs" ]; do
  for side in before after; do
    eval build=\$$side
    /usr/bin/env time -f "%e %U %S %M" -o "$scratch/time" "$build/bin/tavelin-cli" \
      --root "$scratch/root" batch "$scratch/list.csv" --out "$scratch/$side$i" >/dev/null 2>&1
    cat "$scratch/time" >>"$scratch/$side.times"
  done
  i=$((i + 1))
done
for side in before after; do
  wall=$(awk '{ print $1 }' "$scratch/$side.times" | median)
  cpu=$(awk '{ print $2 + $3 }' "$scratch/$side.times" | median)
  rss=$(awk '{ print $4 / 1024 }' "$scratch/$side.times" | median)
  echo "$side: $rows rows, median wall $wall s, median CPU $cpu s, peak resident $rss MB ($runs runs)"
done
if command -v strace >/dev/null 2>&1; then
  for side in before after; do
    eval build=\$$side
    strace -f -c -o "$scratch/calls" "$build/bin/tavelin-cli" --root "$scratch/root" batch \
      "$scratch/list.csv" --out "$scratch/traced-$side" >/dev/null 2>&1 || true
    awk -v side="$side" -v rows="$rows" '$NF == "total" { printf "%s: %.0f system calls a row\n", side, $(NF - 2) / rows }' "$scratch/calls"
  done
fi
for side in before after; do
  log="$scratch/${side}0/builder.log"
  if [ -f "$log" ]; then sed -i "s/^[0-9-]* [0-9:]* //; s|$scratch/${side}0/|OUT/|g" "$log"; fi
done
if diff -r "$scratch/before0" "$scratch/after0" >/dev/null; then
  echo "same files: the blocks, the catalogue page and the log are byte for byte the same"
else
  echo "DIFFERENT files:"; diff -rq "$scratch/before0" "$scratch/after0" | head
fi
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
