#!/usr/bin/env bash
# Builds KrvDiag and runs every test. BUILD_DIR (default build), JOBS and CMAKE_ARGS (further
# configure options) may be set.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build="${BUILD_DIR:-build}"
jobs="${JOBS:-$(nproc)}"
# GUI tests draw offscreen and Qt wants a private runtime directory; the build already runs
# the test programs to list their tests, so this comes first.
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "${XDG_RUNTIME_DIR}" ]; then
  XDG_RUNTIME_DIR="$(mktemp -d)"
  export XDG_RUNTIME_DIR
fi
chmod 0700 "$XDG_RUNTIME_DIR"

# shellcheck disable=SC2086  # CMAKE_ARGS is a list of options
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
