#!/bin/sh
# Runs one fuzz target built by build.sh for SECONDS (default 300) on its
# corpus, nicely, with inputs up to 64 KiB at every length from the start:
#   tools/fuzz/run.sh lines 300 [more libFuzzer flags]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${FUZZ_OUT:-$root/build-fuzz}
name=$1
seconds=${2:-300}
shift $(($# < 2 ? $# : 2))
mkdir -p "$out/corpus/$name" "$out/crashes/$name"
exec nice -n 10 "$out/${name}_fuzz" -max_total_time="$seconds" -max_len=65536 -len_control=0 \
    -print_final_stats=1 -artifact_prefix="$out/crashes/$name/" "$@" "$out/corpus/$name"
