#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the PATCH step on a generated shard (1,000,000 items, 500,000 of them marked, a static
# data file of about 50 MB with 393,216 index records) against `cp` of the same three input files
# to new names in the same folder, and against the floor of any crash-safe write: the same copies
# followed by a sync of each, side by side in one run. Goal: PATCH within 1.5 x that floor.
#
# Usage: bench/patch.sh [ITEMS]
# Environment: BUILD_DIR (default: build-bench/, a folder of its own, so that the settings of
# build/ stay as scripts/run left them), RUNS (default 3),
# MARKED (default 500000), STATICS_BYTES (default 50000000), SEED (default 1), KEEP=1 to keep
# the generated shard folder.
set -euo pipefail

items=${1:-1000000}
marked=${MARKED:-500000}
statics_bytes=${STATICS_BYTES:-50000000}
runs=${RUNS:-3}
seed=${SEED:-1}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}

echo "== build (preset default, without the window) in $build" >&2
cmake --preset default -S "$root" -B "$build" -DTESSAPLEX_BUILD_GUI=OFF >/dev/null
cmake --build "$build" --target patch_bench tessaplex-genshard >/dev/null
bench=$build/bin/patch_bench
gen=$build/bin/tessaplex-genshard

shard=$(mktemp -d "${TMPDIR:-/tmp}/tessaplex-patch.XXXXXX")
if [ "${KEEP:-0}" != 1 ]; then
  trap 'rm -rf "$shard"' EXIT
fi

echo "== generating $items items (seed $seed) and static files in $shard" >&2
facts=$("$gen" --items "$items" --seed "$seed" --out "$shard" --statics \
  --statics-bytes "$statics_bytes")
fact() { sed -n "s/^$1=//p" <<<"$facts"; }
world=$(fact worldfile)
staidx=$(fact staidx)
statics=$(fact statics)
files=("$world" "$staidx" "$statics")

# PATCH replaces the files, so every run starts from a copy kept in a folder of its own.
mkdir "$shard/pristine"
for f in "${files[@]}"; do cp "$f" "$shard/pristine/"; done
restore() {
  for f in "${files[@]}"; do cp "$shard/pristine/$(basename "$f")" "$f"; done
  # Written-back pages of the restore must not be counted against either command.
  sync
  cat "${files[@]}" >/dev/null
}
# An operator's world file was saved a while before PATCH; one changed within the last seconds
# is copied into memory by the analysis instead of being read through the cache. Every command
# waits as long after the restore, so that all three meet the machine in the same state.
quiet() { sleep 3; }

now() { echo "$EPOCHREALTIME"; }
seconds() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.4f", e - s }'; }
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }

best_patch=""
best_cp=""
best_floor=""
for ((i = 1; i <= runs; i++)); do
  restore
  quiet
  out=$("$bench" "$shard" "$marked")
  t=$(sed -n 's/^patch_seconds=//p' <<<"$out")
  listed=$(sed -n 's/^listed=//p' <<<"$out")
  best_patch=$(min "$t" "$best_patch")

  restore
  quiet
  start=$(now)
  for f in "${files[@]}"; do cp "$f" "$f.copy"; done
  end=$(now)
  best_cp=$(min "$(seconds "$start" "$end")" "$best_cp")
  for f in "${files[@]}"; do rm -f "$f.copy"; done

  restore
  quiet
  start=$(now)
  for f in "${files[@]}"; do cp "$f" "$f.copy"; done
  sync "${files[@]/%/.copy}"
  end=$(now)
  best_floor=$(min "$(seconds "$start" "$end")" "$best_floor")
  for f in "${files[@]}"; do rm -f "$f.copy"; done
done

size() { stat -c %s "$1"; }
awk -v world="$world" -v wb="$(size "$shard/pristine/$(basename "$world")")" \
    -v ib="$(size "$shard/pristine/$(basename "$staidx")")" \
    -v sb="$(size "$shard/pristine/$(basename "$statics")")" \
    -v items="$items" -v listed="$listed" -v marked="$marked" -v runs="$runs" \
    -v patch="$best_patch" -v cp="$best_cp" -v floor="$best_floor" '
BEGIN {
  mib = 1048576
  ratio = patch / floor
  printf "world file     %s: %.1f MiB, %d item sections, %d listed, %d marked\n", \
         world, wb / mib, items, listed, marked
  printf "static files   staidx0.mul %.1f MiB (%d records), statics0.mul %.1f MiB\n", \
         ib / mib, ib / 12, sb / mib
  printf "PATCH          %.4f s (best of %d)\n", patch, runs
  printf "cp (3 files)   %.4f s (best of %d)\n", cp, runs
  printf "cp + sync      %.4f s (best of %d): the floor of a crash-safe write\n", floor, runs
  printf "ratio          %.2f of the floor (goal: at most 1.5) %s; %.2f of cp\n", ratio, \
         ratio <= 1.5 ? "met" : "MISSED", patch / cp
}'
