#!/usr/bin/env bash
# The soak: 24 hours of line traffic (4.32 million short telegrams with changing status) through
# the core and the recorder, as fast as the machine runs it; see bench/soak/SoakMain.cpp.
# Usage: scripts/soak.sh [HOURS]   (default 24; BUILD_DIR as for scripts/run.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${BUILD_DIR:-build}")
soak="$build/bench/krvdiag-soak"
[ -x "$soak" ] || { echo "no $soak: build with -DKRVDIAG_BUILD_BENCH=ON first" >&2; exit 2; }
exec "$soak" --hours "${1:-24}"
