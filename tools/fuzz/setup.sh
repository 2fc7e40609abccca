#!/bin/sh
# Installs clang and its fuzzer runtime (Debian 12) when they are missing;
# only the fuzz targets need them.
set -eu
if command -v clang++ >/dev/null && [ -n "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a | grep /)" ] &&
   [ -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ]; then
    exit 0
fi
if [ "$(id -u)" -eq 0 ]; then
    apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev
else
    echo "Install clang with: sudo apt-get install -y clang libclang-rt-14-dev" >&2
    exit 1
fi
