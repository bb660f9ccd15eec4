#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UBSan and runs it. A memory error,
# a leak or undefined behaviour fails the test that caused it. BUILD_DIR (default
# build-sanitized) and JOBS may be set.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build="${BUILD_DIR:-build-sanitized}"
jobs="${JOBS:-$(nproc)}"
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "${XDG_RUNTIME_DIR}" ]; then
  XDG_RUNTIME_DIR="$(mktemp -d)"
  export XDG_RUNTIME_DIR
fi
chmod 0700 "$XDG_RUNTIME_DIR"
supp="$PWD/tests/sanitizer"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKRVDIAG_SANITIZE=ON -DKRVDIAG_BUILD_BENCH=OFF
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
