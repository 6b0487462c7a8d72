#!/usr/bin/env bash
# The Windows tessaplex-cli under Wine against the Linux one, each on its own copy of one generated
# shard: standard output, standard error, exit codes and every file afterwards must be the same
# bytes. Exits 77 (skipped, visibly) where the Linux programs or Wine are missing.
#   compare-cli.sh LINUX_BIN_DIR WINDOWS_CLI WINE_COMMAND...
set -uo pipefail
linux_bin=$(realpath -m "$1")
windows_cli=$(realpath -m "$2")
shift 2
wine=("$@")

for program in "$linux_bin/tessaplex-genshard" "$linux_bin/tessaplex-cli"; do
  if [ ! -x "$program" ]; then
    echo "SKIPPED: no $program to compare with (build the default preset first)"
    exit 77
  fi
done
if [ ${#wine[@]} -eq 0 ]; then
  echo "SKIPPED: no Wine to run $windows_cli"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$linux_bin/tessaplex-genshard" --out "$work/shard" --items 3000 --statics --statics-bytes 700000 >/dev/null || exit 1
# The settings name the files relative to the start directory, so that the messages name them
# alike on both systems.
sed -i "s|$work/shard/|./|g; s|$work/shard|.|g" "$work/shard/qelm.ini"
# Folders whose names no single code page spells, given with -C: the arguments and the paths
# pass through as UTF-8.
linux="$work/linux Schätze ☃"
windows="$work/windows Карта 地図"
cp -r "$work/shard" "$linux"
cp -r "$work/shard" "$windows"

failed=0
# run NAME ARGS...: one command on both copies, compared.
run() {
  local name=$1
  shift
  "$linux_bin/tessaplex-cli" -C "$linux" "$@" >"$work/$name.linux.out" 2>"$work/$name.linux.err"
  echo "exit $?" >>"$work/$name.linux.err"
  "${wine[@]}" "$windows_cli" -C "Z:$windows" "$@" >"$work/$name.windows.out" \
    2>"$work/$name.windows.err"
  echo "exit $?" >>"$work/$name.windows.err"
  for stream in out err; do
    if ! cmp -s "$work/$name.linux.$stream" "$work/$name.windows.$stream"; then
      echo "FAILED: $name: standard $stream differs (Linux, then Windows):"
      diff <(head -c 2000 "$work/$name.linux.$stream" | od -c | head -20) \
        <(head -c 2000 "$work/$name.windows.$stream" | od -c | head -20)
      failed=1
    fi
  done
  if ! diff -r "$linux" "$windows" >/dev/null; then
    echo "FAILED: $name: the files differ afterwards:"
    diff -rq "$linux" "$windows"
    failed=1
  fi
  echo "$name: $(wc -c <"$work/$name.linux.out") bytes out, $(head -c 300 "$work/$name.linux.err" | tr '\n' ' ')"
}

run analyse analyse
run analyse-map analyse --map 0 --start 100 --lines 20000
run info info --map 0 --id 03868 --row 3
run find find --id 0x3868
run patch-dry-run patch --map 0 --id 03868 --id 02E95 --row 1 --row 2 --dry-run
run patch patch --map 0 --id 03868 --id 02E95 --row 1 --row 2
run analyse-after-patch analyse --map 0
# Refusals: items without a position, a static index file of an unknown length, a world file
# that is gone.
run refused-position patch --all
for copy in "$linux" "$windows"; do
  head -c 6000 "$work/shard/staidx0.mul" >"$copy/staidx0.mul"
done
run refused-index patch --map 0 --id 02B17
for copy in "$linux" "$windows"; do
  rm -f "$copy/save/sphereworld.scp"
done
run refused-world info --all
run refused-world-patch patch --all

[ $failed -eq 0 ] && echo "The Windows tessaplex-cli wrote the same bytes as the Linux one"
exit $failed
