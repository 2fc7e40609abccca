#!/usr/bin/env bash
# Sets up, builds if needed and runs Orvane: `scripts/run.sh [FILE]`.
# Without a display it renders a snapshot of the window instead and prints
# the path of the PNG.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh >/dev/null
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/orvane "$@"
fi
out="$PWD/build/orvane-snapshot.png"
QT_QPA_PLATFORM=offscreen build/bin/orvane --snapshot "$out" "$@"
echo "$out"
