#!/bin/sh
# Rewrites the golden files of the shipped languages
# (tests/data/highlight/golden/) from the current definitions and scanners.
# Usage: tests/highlight/regenerate_golden.sh [build folder]   (default: build)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
mkdir -p "$root/tests/data/highlight/golden"
cmake --build "$build" --target highlight_tests
ORVANE_UPDATE_GOLDEN=1 "$build/tests/highlight_tests" --gtest_filter='GoldenLanguages.MarksAndPagesOfEverySample'
git -C "$root" status --short -- tests/data/highlight/golden
