#!/usr/bin/env bash
# Takes the README's screenshots of the real main window on a virtual X display:
#   docs/screenshot-model13.png  demo mode (simulated KRV-cbx/Rx), live view with the status window
#   docs/screenshot-model3.png   a simulated KRV-ax/Tx on COM1, transfer started from the menu
#   docs/screenshot-timing.png   demo mode, View -> timing diagram with eight traces
#   docs/screenshot-playback.png a protocol file recorded from the simulator, played back
#   docs/screenshot-pulseview.png the same kind of recording exported with `dump --vcd`, in PulseView
# Each shot runs the program with its own settings directory, so the user's KrvDiag.ini is
# never read or changed. The keyboard is driven with xdotool, the window grabbed with ImageMagick.
# Usage: scripts/screenshots.sh [OUTPUT_DIR [pulseview]]   (default docs/; BUILD_DIR as for
# scripts/run.sh; "pulseview" takes only that picture)
set -euo pipefail

# An output directory is taken from where the script was called, the build like scripts/run.sh.
[ -n "${1:-}" ] && out=$(realpath -m -- "$1")
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(realpath -m "${BUILD_DIR:-build}")
out="${out:-$root/docs}"
gui="$build/src/gui/krvdiag"
sim="$build/src/sim/krvdiag-sim"
cli="$build/src/cli/krvdiag-cli"

# Inside the virtual display: one function per picture.
if [ "${1:-}" = "--inside-display" ]; then
  shift
  out="$1"
  work=$(mktemp -d)
  pids=()
  # shellcheck disable=SC2317  # called by the EXIT trap
  aufraeumen() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
    rm -rf "$work"
  }
  trap aufraeumen EXIT

  # The main window's id once it is on screen (its German title, as a fresh settings file has).
  hauptfenster() {
    local wid
    wid=$(timeout 60 xdotool search --sync --onlyvisible --name '^KRV Diagnoseprogramm') || {
      echo "screenshots: the main window did not appear" >&2
      return 1
    }
    echo "${wid%%$'\n'*}"
  }

  # Keys go to the main window; there is no window manager to give it the focus.
  tasten() {
    local wid=$1 key
    shift
    xdotool windowfocus --sync "$wid"
    for key in "$@"; do
      xdotool key --clearmodifiers "$key"
      sleep 0.5
    done
  }

  # A message box in front would be hidden by a grab of the main window alone: stop instead.
  aufnehmen() {
    local wid=$1 datei=$2 w
    for w in $(xdotool search --onlyvisible --class krvdiag); do
      if [ "$w" != "$wid" ]; then
        echo "screenshots: unexpected window \"$(xdotool getwindowname "$w")\" for $datei" >&2
        return 1
      fi
    done
    import -window "$wid" "$datei"
    echo "screenshots: wrote $datei ($(identify -format '%wx%h' "$datei"))"
  }

  # Starts the program on settings directory $1 with further options; sets $prog.
  starte() {
    local cfg=$1
    shift
    "$gui" --no-splash --config-dir "$cfg" "$@" >"$cfg/krvdiag.out" 2>&1 &
    prog=$!
    pids+=("$prog")
  }

  # Ends one process this script started and forgets it.
  beende() {
    local pid=$1 p rest=()
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    for p in "${pids[@]}"; do [ "$p" = "$pid" ] || rest+=("$p"); done
    pids=("${rest[@]}")
  }

  modell13() {
    local cfg="$work/model13" wid
    mkdir -p "$cfg"
    starte "$cfg" --demo
    wid=$(hauptfenster)
    sleep 4  # a few telegrams, so every LED has its colour
    aufnehmen "$wid" "$out/screenshot-model13.png"
    beende "$prog"
  }

  modell3() {
    local cfg="$work/model3" wid geraet="" simpid
    mkdir -p "$cfg"
    "$sim" --model 3 >"$cfg/sim.out" 2>"$cfg/sim.err" &
    simpid=$!
    pids+=("$simpid")
    for _ in $(seq 50); do
      geraet=$(head -n 1 "$cfg/sim.out")
      [ -n "$geraet" ] && break
      sleep 0.1
    done
    [ -n "$geraet" ] || { echo "screenshots: krvdiag-sim named no pseudo-terminal" >&2; return 1; }
    printf '[Ports]\nCOM1=%s\n' "$geraet" >"$cfg/KrvDiag.ini"
    starte "$cfg"
    wid=$(hauptfenster)
    tasten "$wid" alt+b s  # Datenübertragung -> Start
    sleep 3
    aufnehmen "$wid" "$out/screenshot-model3.png"
    beende "$prog"
    beende "$simpid"
  }

  zeitdiagramm() {
    local cfg="$work/timing" wid
    mkdir -p "$cfg"
    kanaele >"$cfg/KrvDiag.ini"
    starte "$cfg" --demo
    wid=$(hauptfenster)
    tasten "$wid" alt+a z  # Ansicht -> Zeitdiagramm
    sleep 14  # long enough for the start button to be pressed and the outputs to switch on
    aufnehmen "$wid" "$out/screenshot-timing.png"
    beende "$prog"
  }

  # Traces of the simulated scenario: emergency stop A, door A and B, start, output 1, feedback
  # loop, muting sensors 1 and 2 (entry N of a channel selector is terminal bit N-1).
  kanaele() {
    local kanal=0 eintrag
    echo '[Einstellungen]'
    for eintrag in 13 20 21 23 6 10 25 26; do
      echo "TimingKanal$kanal=$eintrag"
      kanal=$((kanal + 1))
    done
  }

  wiedergabe() {
    local cfg="$work/playback" wid
    mkdir -p "$cfg"
    kanaele >"$cfg/KrvDiag.ini"
    # Two minutes of line traffic, recorded the way the recorder does it live.
    "$sim" --device - --fast --count 6000 --seed 11 >"$cfg/capture.bin"
    "$cli" record --trigger 0 --channels 13,20,21,23,6,10,25,26,0 "$cfg/capture.bin" "$cfg/aufnahme.log" >/dev/null
    starte "$cfg"
    wid=$(hauptfenster)
    tasten "$wid" alt+a z  # Ansicht -> Zeitdiagramm
    tasten "$wid" alt+d w  # Datei -> Wiedergabe starten...
    xdotool type --delay 20 "$cfg/aufnahme.log"
    xdotool key Return
    sleep 2
    wid=$(hauptfenster)
    aufnehmen "$wid" "$out/screenshot-playback.png"
    beende "$prog"
  }

  # A minute of line traffic (one telegram every 20 ms), recorded, exported as VCD and opened in
  # PulseView with its settings in the scratch directory.
  pulseview_bild() {
    local cfg="$work/pulseview" wid
    mkdir -p "$cfg/home"
    "$sim" --device - --fast --count 3000 --seed 11 >"$cfg/capture.bin" 2>/dev/null
    "$cli" record --step-ms 20 "$cfg/capture.bin" "$cfg/trip.log" >/dev/null
    "$cli" dump --vcd -o "$cfg/trip.vcd" "$cfg/trip.log"
    HOME="$cfg/home" pulseview -I vcd -i "$cfg/trip.vcd" >"$cfg/pulseview.out" 2>&1 &
    prog=$!
    pids+=("$prog")
    wid=$(timeout 60 xdotool search --sync --onlyvisible --name 'PulseView') || {
      echo "screenshots: PulseView did not appear" >&2
      return 1
    }
    wid="${wid%%$'\n'*}"
    xdotool windowsize "$wid" 1200 820
    sleep 5
    import -window "$wid" "$out/screenshot-pulseview.png"
    echo "screenshots: wrote $out/screenshot-pulseview.png"
    beende "$prog"
  }

  if [ "${2:-}" = "pulseview" ]; then
    pulseview_bild
    exit 0
  fi
  modell13
  modell3
  zeitdiagramm
  wiedergabe
  pulseview_bild
  exit 0
fi

# Tools for the virtual display and the viewers of the exported VCD (not needed by the
# program); installed like scripts/install-deps.sh does.
tools=(xvfb xauth imagemagick xdotool pulseview gtkwave)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "screenshots: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
  fi
  echo "screenshots: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -x "$gui" ] || [ ! -x "$sim" ] || [ ! -x "$cli" ]; then
  scripts/install-deps.sh
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j2 --target krvdiag krvdiag-sim krvdiag-cli
fi

mkdir -p "$out"
# A fixed screen, so every run gives the same pictures; no window manager, no decorations.
exec xvfb-run -a -s "-screen 0 1280x900x24" "$root/scripts/screenshots.sh" --inside-display "$out" "${2:-}"
