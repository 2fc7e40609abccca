#!/usr/bin/env bash
# Sets up, builds and runs the tests (GUI tests offscreen) in three passes:
#   1. every test, built normally in build/;
#   2. every test with AddressSanitizer and UndefinedBehaviorSanitizer in
#      build-asan/ (no benchmarks);
#   3. the tests that run worker threads (document loading, background
#      highlighting, the large-file window) with ThreadSanitizer in build-tsan/,
#      which builds those tests and what they link, nothing else.
# ORVANE_SANITIZE_TESTS=0 skips passes 2 and 3, ORVANE_TSAN_TESTS=0 pass 3.
# Any failure or sanitizer report fails the run; each pass ends with ctest's
# summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

bash scripts/build.sh
(cd "${BUILD_DIR:-build}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

if [ "${ORVANE_SANITIZE_TESTS:-1}" != 0 ]; then
    BUILD_DIR=${ASAN_BUILD_DIR:-build-asan} bash scripts/build.sh -DORVANE_SANITIZE=ON -DORVANE_BENCH=OFF
    # A report ends the process with a failure; leaks are reports too.
    (export ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}
     export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}
     cd "${ASAN_BUILD_DIR:-build-asan}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
fi

if [ "${ORVANE_SANITIZE_TESTS:-1}" != 0 ] && [ "${ORVANE_TSAN_TESTS:-1}" != 0 ]; then
    tsan=${TSAN_BUILD_DIR:-build-tsan}
    BUILD_TARGET=ov_tests BUILD_DIR=$tsan bash scripts/build.sh -DORVANE_SANITIZE=thread \
        -DORVANE_BENCH=OFF -DORVANE_TEST_SET=threads
    # Qt's libraries are not instrumented: the suppressions name what their
    # own threads do, nothing of ours. A report ends the test with a failure.
    (export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp${TSAN_OPTIONS:+:$TSAN_OPTIONS}
     cd "$tsan" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
fi
