#!/bin/bash
# Peak resident memory and time of `krvdiag-cli show` on a 1 GB capture: the input is read as
# it arrives, so memory must not grow with the input. Makes the capture in a temporary directory
# (a simulator capture with CPU errors, CRC errors and stray bytes, repeated up to the size),
# runs `show` RUNS times with its output to /dev/null, prints each run and the medians, and
# removes the capture.
#
#   bench/show-1gb.sh [BUILD_DIR]        (RUNS=3, SIZE_MB=1024 by default)
set -euo pipefail

build=${1:-build}
cli=$build/src/cli/krvdiag-cli
sim=$build/src/sim/krvdiag-sim
runs=${RUNS:-3}
size_mb=${SIZE_MB:-1024}
for p in "$cli" "$sim" /usr/bin/time; do
  [[ -x $p ]] || { echo "show-1gb: $p is missing" >&2; exit 2; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/krvdiag-show-1gb.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

"$sim" --device - --fast --count 500000 --cpu-errors --crc-errors --garbage --seed 7 \
  >"$tmp/stueck.bin" 2>/dev/null
stueck=$(stat -c %s "$tmp/stueck.bin")
ziel=$((size_mb * 1024 * 1024))
for ((n = 0; n * stueck < ziel; n++)); do cat "$tmp/stueck.bin"; done >"$tmp/capture.bin"
truncate -s "$ziel" "$tmp/capture.bin"
rm "$tmp/stueck.bin"
echo "capture: $(stat -c %s "$tmp/capture.bin") bytes"
echo "command: /usr/bin/time -f '%e s %M KB' $cli show $tmp/capture.bin > /dev/null"

: >"$tmp/runs"
for ((i = 1; i <= runs; i++)); do
  last=$(cut -d' ' -f1-3 /proc/loadavg)
  /usr/bin/time -f '%e %M' -o "$tmp/zeit" "$cli" show "$tmp/capture.bin" >/dev/null
  read -r sekunden kb <"$tmp/zeit"
  echo "run $i: $sekunden s, peak RSS $kb KB, load before $last"
  echo "$sekunden $kb" >>"$tmp/runs"
done
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
echo "median: $(cut -d' ' -f1 "$tmp/runs" | median) s, peak RSS $(cut -d' ' -f2 "$tmp/runs" | median) KB" \
  "($(awk -v mb="$size_mb" '{ s += $1 } END { printf "%.1f", mb * NR / s }' "$tmp/runs") MB/s)"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
