#!/usr/bin/env bash
# Start-up of the real program: `krvdiag --no-splash --exit-when-shown` offscreen, from the
# start of the process until it has painted its main window, closed it and ended (so the figure
# includes the orderly end as well), and its peak resident memory (GNU time's maximum RSS).
# The first run only warms the file cache.
# Usage: scripts/bench-start.sh [RUNS]   (default 10; BUILD_DIR as for scripts/run.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${BUILD_DIR:-build}")
gui="$build/src/gui/krvdiag"
laeufe="${1:-10}"
[ -x "$gui" ] || { echo "no $gui: build first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs GNU time (/usr/bin/time)" >&2; exit 2; }

work=$(mktemp -d)
chmod 700 "$work"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export XDG_RUNTIME_DIR="$work"

einmal() {
  local cfg="$work/cfg" a b
  rm -rf "$cfg"; mkdir -p "$cfg"
  a=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$work/rss" "$gui" --no-splash --exit-when-shown --config-dir "$cfg" >"$work/out" 2>&1 || {
    echo "krvdiag failed:" >&2; cat "$work/out" >&2; exit 2; }
  b=$(date +%s%N)
  echo "$(( (b - a) / 1000000 )) $(cat "$work/rss")"
}

einmal >/dev/null
for _ in $(seq 1 "$laeufe"); do einmal; done | sort -n | awk '
  { ms[NR] = $1; if ($2 > rss) rss = $2 }
  END {
    median = ms[int((NR + 1) / 2)]
    printf "start to main window shown and ended: median %d ms, min %d ms, max %d ms (n=%d; goal <= 400 ms)\n",
           median, ms[1], ms[NR], NR
    printf "peak resident memory: %d kB = %.1f MB (goal <= 80 MB)\n", rss, rss / 1024
    ok = median <= 400 && rss <= 80 * 1024
    print ok ? "PASS" : "FAIL"
    exit ok ? 0 : 1 }'
