#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures `tessaplex-cli analyse > /dev/null` against `wc -l` on the same generated world file,
# side by side in one run, and the peak memory of the analysis.
#
# Usage: bench/analyse.sh [ITEMS]
# Environment: BUILD_DIR (default: the "default" preset's folder, build/), RUNS (default 3),
# SEED (default 1), KEEP=1 to keep the generated shard folder.
set -euo pipefail

items=${1:-1000000}
runs=${RUNS:-3}
seed=${SEED:-1}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}") # absolute: the runs below start in the shard
time_bin=/usr/bin/time

if [ ! -x "$time_bin" ]; then
  echo "analyse.sh: $time_bin is missing (scripts/install-deps installs the time package)" >&2
  exit 1
fi

echo "== build (preset default) in $build" >&2
cmake --preset default -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target tessaplex-cli tessaplex-genshard >/dev/null
cli=$build/bin/tessaplex-cli
gen=$build/bin/tessaplex-genshard

shard=$(mktemp -d "${TMPDIR:-/tmp}/tessaplex-bench.XXXXXX")
if [ "${KEEP:-0}" != 1 ]; then
  trap 'rm -rf "$shard"' EXIT
fi

echo "== generating $items items (seed $seed) in $shard" >&2
facts=$("$gen" --items "$items" --seed "$seed" --out "$shard")
fact() { sed -n "s/^$1=//p" <<<"$facts"; }
world=$(fact worldfile)
lines=$(fact lines)
bytes=$(fact bytes)
listable=$(fact listable)

# Both commands read the file from the page cache, as an operator's second analysis would.
cat "$world" >/dev/null
# An operator's world file was saved a while before it is analysed; one changed within the last
# seconds is copied into memory instead of being read through the cache, as it may change again.
sleep 3

# The table must be what the generator counted, or the timing measures a broken run.
listed=$(cd "$shard" && "$cli" analyse | wc -l)
if [ "$listed" -ne $((listable + 1)) ]; then
  echo "analyse.sh: analyse printed $listed lines, expected $((listable + 1))" >&2
  exit 1
fi

# Seconds (microsecond resolution) that a command takes, start-up included; its output goes to
# /dev/null.
elapsed() {
  local start end
  start=$EPOCHREALTIME
  "$@" >/dev/null
  end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }'
}
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }

# The two commands take turns, so that both see the same state of the machine.
best_wc=""
best_analyse=""
for ((i = 1; i <= runs; i++)); do
  t=$(elapsed wc -l "$world")
  best_wc=$(min "$t" "$best_wc")
  t=$(cd "$shard" && elapsed "$cli" analyse)
  best_analyse=$(min "$t" "$best_analyse")
done

# The peak memory in runs of their own, since /usr/bin/time adds to the time of a run.
peak_kib=0
for ((i = 1; i <= runs; i++)); do
  (cd "$shard" && "$time_bin" -v -o "$shard/time.txt" "$cli" analyse >/dev/null)
  kib=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$shard/time.txt")
  if [ "$kib" -gt "$peak_kib" ]; then peak_kib=$kib; fi
done

awk -v bytes="$bytes" -v lines="$lines" -v items="$items" -v listed="$listable" \
    -v wc="$best_wc" -v an="$best_analyse" -v kib="$peak_kib" -v runs="$runs" -v world="$world" '
BEGIN {
  mib = 1048576
  ratio = an / wc
  peak = kib * 1024
  goal = 2 * bytes + 64 * mib
  printf "world file     %s\n", world
  printf "               %d bytes (%.1f MiB), %d lines, %d item sections, %d listed\n", \
         bytes, bytes / mib, lines, items, listed
  printf "wc -l          %.4f s (best of %d)\n", wc, runs
  printf "analyse        %.4f s (best of %d)\n", an, runs
  printf "ratio          %.2f (goal: at most 4) %s\n", ratio, ratio <= 4 ? "met" : "MISSED"
  printf "peak memory    %.1f MiB (goal: under 2 x %.1f + 64 = %.1f MiB) %s\n", \
         peak / mib, bytes / mib, goal / mib, peak < goal ? "met" : "MISSED"
}'
