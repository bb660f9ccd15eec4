#!/usr/bin/env bash
# Builds KrvDiag if needed and starts it. Without arguments it runs against the simulated
# controller, so a machine without a device shows live telegrams.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
if [ -x "$build/src/gui/krvdiag" ]; then
  if [ $# -eq 0 ]; then set -- --demo; fi
  exec "$build/src/gui/krvdiag" "$@"
fi
# Until the main window exists the command-line tool is the program's face.
if [ $# -eq 0 ]; then set -- --help; fi
exec "$build/src/cli/krvdiag-cli" "$@"
