#!/bin/sh
# Builds the highlighter's libFuzzer target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ (or $1), and seeds its corpus.
# Run it, for example, for ten minutes:
#   build-fuzz/highlight_fuzz -max_total_time=600 -max_len=65536 build-fuzz/corpus
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/build-fuzz}
mkdir -p "$out/corpus"
flags="-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"
includes="-I$root/src/platform -I$root/src/document -I$root/src/highlight"
sources="$root/tools/fuzz/Highlightfuzz.cpp"
# The Qt-free platform core, the line lists and the highlighter.
for file in "$root"/src/platform/*.cpp "$root"/src/document/*.cpp "$root"/src/highlight/*.cpp; do
    case "$file" in */Qt*.cpp | */Exporthtml.cpp) ;; *) sources="$sources $file" ;; esac
done
# shellcheck disable=SC2086
clang++ $flags $includes $sources -o "$out/highlight_fuzz"

# Seeds: the test definitions with small documents.
seed() { printf '%s' "$2" > "$out/corpus/$1"; }
seed c "$(printf 'Delimiters=;=(){}\nLineComment1=//\nBlockComment1S=/*\nBlockComment1E=*/\nStringChar1="\nEscapeChar1=\\\n#Item "K"\nint {\n%%%%\nNormal=#000080,#FFFFF0\nItem0=#0000FF\n%%%%\n%%%%\n%%%%\nint x = 10; // c\n/* a\n b */ "s\\"t" {')"
seed html "$(printf 'HTML_LANG=1\nStringChar1="\nStringChar2=\047\n#Item "Tag"\n<a <b </b>\n#Item "Attr"\nhref\n#Item "Ent"\n&amp;\n%%%%\nNormal=#000000\n%%%%\n%%%%\nDelimiters=<>=;\n#Item "W"\nx\n%%%%\n<a href=x.htm>&amp;<!-- c -->\n<script>x=1;</script><b a="1" c=\0472\047>')"
seed page "$(printf 'HTML_LANG=1\nLangBraceS=<?\nLangBraceE=?>\nDelimiters=<>?;\n#Item "K"\necho\n%%%%\n%%%%\nHTML_LANG=1\n#Item "T"\n<b\n%%%%\n%%%%\n<b><? echo 1; ?></b>')"
echo "built $out/highlight_fuzz"
