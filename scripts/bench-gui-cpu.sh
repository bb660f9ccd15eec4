#!/usr/bin/env bash
# CPU share of the real program at line rate: `krvdiag --no-splash --demo` (the simulator
# krvdiag-sim on a pseudo-terminal, 960 bytes/s) runs offscreen; after a warm-up its user and
# system time are read from /proc/<pid>/stat over the measuring time. Bytes read by the program
# (/proc/<pid>/io) show that the line was really flowing; the window thread's voluntary context
# switches (/proc/<pid>/status) count its wake-ups. The load average is printed beside each run.
# Goal: at most 1 % of one core and 60 wake-ups a second.
# Usage: scripts/bench-gui-cpu.sh [SECONDS] [RUNS]   (default 60 s, 3 runs; BUILD_DIR as for scripts/run.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${BUILD_DIR:-build}")
gui="$build/src/gui/krvdiag"
sekunden="${1:-60}"
laeufe="${2:-3}"
aufwaermen=5
[ -x "$gui" ] || { echo "no $gui: build first" >&2; exit 2; }

work=$(mktemp -d)
chmod 700 "$work"
pid=
# shellcheck disable=SC2317  # called by the EXIT trap
aufraeumen() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap aufraeumen EXIT

# utime + stime in clock ticks (fields 14 and 15; the name in field 2 has no blanks here).
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
gelesen() { awk '/^rchar:/ { print $2 }' "/proc/$1/io"; }
weckungen() { awk '/^voluntary_ctxt_switches:/ { print $2 }' "/proc/$1/status"; }
last() { cut -d' ' -f1 /proc/loadavg; }
hz=$(getconf CLK_TCK)

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export XDG_RUNTIME_DIR="$work"
ergebnis=0
for lauf in $(seq 1 "$laeufe"); do
  cfg="$work/cfg$lauf"
  mkdir -p "$cfg"
  "$gui" --no-splash --demo --config-dir "$cfg" >"$cfg/out.txt" 2>&1 &
  pid=$!
  sleep "$aufwaermen"
  if ! kill -0 "$pid" 2>/dev/null; then echo "krvdiag ended early:" >&2; cat "$cfg/out.txt" >&2; exit 2; fi
  l0=$(last); t0=$(ticks "$pid"); b0=$(gelesen "$pid"); w0=$(weckungen "$pid"); n0=$(date +%s%N)
  sleep "$sekunden"
  t1=$(ticks "$pid"); b1=$(gelesen "$pid"); w1=$(weckungen "$pid"); n1=$(date +%s%N); l1=$(last)
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
  awk -v t="$((t1 - t0))" -v hz="$hz" -v ns="$((n1 - n0))" -v b="$((b1 - b0))" -v rss="$rss" -v lauf="$lauf" \
      -v w="$((w1 - w0))" -v l0="$l0" -v l1="$l1" 'BEGIN {
    s = ns / 1e9; cpu = t / hz; anteil = 100 * cpu / s
    printf "run %d: CPU %.2f s in %.1f s = %.2f %% of one core (goal <= 1 %%); %.1f wake-ups/s (goal <= 60); read %.0f bytes/s; RSS %d kB; load %s -> %s\n",
           lauf, cpu, s, anteil, w / s, b / s, rss, l0, l1
    exit (anteil <= 1.0 && w / s <= 60 && b / s > 800) ? 0 : 1 }' || ergebnis=1
done
[ "$ergebnis" = 0 ] && echo PASS || echo FAIL
exit "$ergebnis"
