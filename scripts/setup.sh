#!/usr/bin/env bash
# Installs what building and testing need on Debian 12. As root it installs
# with apt; otherwise it prints the apt line and fails when something is missing.
set -euo pipefail

PACKAGES=(qt6-base-dev libgtest-dev libbenchmark-dev cmake ninja-build g++ pkg-config
          libpcre2-dev libuchardet-dev fonts-nanum fonts-liberation fonts-dejavu-core unifont
          qt6-translations-l10n desktop-file-utils appstream xvfb xauth xdotool imagemagick)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
else
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi
