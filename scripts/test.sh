#!/usr/bin/env bash
# Sets up, builds and runs every test (GUI tests offscreen), first in build/,
# then with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/
# (skipped with ORVANE_SANITIZE_TESTS=0). Any failure or sanitizer report
# fails the run; each pass ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

bash scripts/build.sh
(cd "${BUILD_DIR:-build}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

if [ "${ORVANE_SANITIZE_TESTS:-1}" != 0 ]; then
    BUILD_DIR=${ASAN_BUILD_DIR:-build-asan} bash scripts/build.sh -DORVANE_SANITIZE=ON -DORVANE_BENCH=OFF
    # A report ends the process with a failure; leaks are reports too.
    export ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}
    (cd "${ASAN_BUILD_DIR:-build-asan}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
fi
