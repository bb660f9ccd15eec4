#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UBSan and runs it: a memory error, a
# leak or undefined behaviour fails the test that caused it. BUILD_DIR (default
# build-sanitized) and JOBS may be set.
set -euo pipefail
cd "$(dirname "$0")/.."
supp="$PWD/tests/sanitizer"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export BUILD_DIR="${BUILD_DIR:-build-sanitized}"
export CMAKE_ARGS="-DKRVDIAG_SANITIZE=ON -DKRVDIAG_BUILD_BENCH=OFF"
exec scripts/test.sh
