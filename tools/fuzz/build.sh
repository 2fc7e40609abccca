#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ (or $1) and seeds their corpora
# in build-fuzz/corpus/NAME. Not part of the normal build or of CI;
# tools/fuzz/setup.sh installs clang's fuzzer runtime where it is missing.
#
#   highlight_fuzz   the highlighter and the HTML page (definitions + document)
#   lines_fuzz       the line loader: 8-bit text in random pieces, files, UTF-16
#   mapped_fuzz      the mapped line index: a first part of a few bytes, the
#                    rest indexed by its worker, lines as a plain split gives
#   settings_fuzz    the settings store: read, write, read gives the same
#   style_fuzz       the .sty reader and the colour codes
#   codeconv_fuzz    the conversion from CP949 to the font's codes
#   langlinks_fuzz   the extension-to-language table
#   commandline_fuzz the command line: built, parsed, the file argument kept
#
# Run one for five minutes with tools/fuzz/run.sh NAME 300.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/build-fuzz}
mkdir -p "$out/obj"
cxx=${CXX_FUZZ:-clang++}
flags="-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all"
includes=""
for dir in platform settings document highlight bitmapfont app; do
    includes="$includes -I$root/src/$dir"
done

# The Qt-free sources the targets are built from, each compiled once.
objects=""
for file in "$root"/src/platform/*.cpp "$root"/src/settings/*.cpp "$root"/src/document/*.cpp \
            "$root"/src/highlight/*.cpp "$root"/src/bitmapfont/Codeconv.cpp \
            "$root"/src/bitmapfont/Codetables.cpp "$root"/src/app/Commandline.cpp; do
    case "$file" in */Qt*.cpp) continue ;; esac
    name=$(basename "$(dirname "$file")")_$(basename "$file" .cpp).o
    object="$out/obj/$name"
    # Rebuilt when the source or any header of the source folders is newer.
    if [ ! -f "$object" ] || [ -n "$(find "$file" "$root"/src -name '*.h' -newer "$object" | head -1)" ]; then
        # shellcheck disable=SC2086
        $cxx $flags -fsanitize=fuzzer-no-link $includes -c "$file" -o "$object"
    fi
    objects="$objects $object"
done

for target in Highlight Lines Mapped Settings Style Codeconv Langlinks Commandline; do
    source="$root/tools/fuzz/${target}fuzz.cpp"
    [ -f "$source" ] || continue
    binary="$out/$(echo "$target" | tr 'A-Z' 'a-z')_fuzz"
    # shellcheck disable=SC2086
    $cxx $flags -fsanitize=fuzzer $includes -I"$root/tools/fuzz" "$source" $objects -o "$binary"
    echo "built $binary"
done

# Seeds: small cases of each input shape.
seed() { mkdir -p "$out/corpus/$1"; printf -- "$3" > "$out/corpus/$1/$2"; }
seed highlight c 'Delimiters=;=(){}\nLineComment1=//\nBlockComment1S=/*\nBlockComment1E=*/\nStringChar1="\nEscapeChar1=\\\n#Item "K"\nint {\n%%%%\nNormal=#000080,#FFFFF0\nItem0=#0000FF\n%%%%\n%%%%\n%%%%\nint x = 10; // c\n/* a\n b */ "s\\"t" {'
seed highlight html 'HTML_LANG=1\nStringChar1="\nStringChar2=\047\n#Item "Tag"\n<a <b </b>\n#Item "Attr"\nhref\n#Item "Ent"\n&amp;\n%%%%\nNormal=#000000\n%%%%\n%%%%\nDelimiters=<>=;\n#Item "W"\nx\n%%%%\n<a href=x.htm>&amp;<!-- c -->\n<script>x=1;</script><b a="1" c=\0472\047>'
# A long document after the C definitions, so runs start from long inputs too.
{ cat "$out/corpus/highlight/c"; for _ in $(seq 400); do
    printf '\nint f(int a) { /* \xb0\xa1 */ return a * 0x1F + "s\\"t"[0]; } // end'; done
} > "$out/corpus/highlight/long"
seed highlight page 'HTML_LANG=1\nLangBraceS=<?\nLangBraceE=?>\nDelimiters=<>?;\n#Item "K"\necho\n%%%%\n%%%%\nHTML_LANG=1\n#Item "T"\n<b\n%%%%\n%%%%\n<b><? echo 1; ?></b>'
# (FuzzedDataProvider takes strings from the front and numbers from the end.)
seed lines pieces 'a\r\nb\rc\n\rd\r\r\n\ne\000'
seed lines file 'x\000y\r\n\xb0\xa1\r\001'
seed mapped crlf '\003a\r\nb\rc\n\rd\r\r\n\ne\000f\xb0\xa1\r'
seed mapped long '\001xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\r\n\r\n\n\000'
seed lines utf16 'A\000\r\000\n\000\x00\xac\n\000B\000C\002'
seed settings ini '[Settings]\nWordWrap=1\n; comment\nFont = Gulim\n\n[Recent]\n/a b/c.txt=12\n\\xSettings\\xWordWrap\\x0\\x\000'
seed style sty '#FF8000\\xNormal=#000080,#FFFFF0\r\nComment=#008000\r\nItem0=#0000FF\r\nItem9=#12\r\n\x12\x34\x56\x78'
seed codeconv hangul 'a\xb0\xa1b\x81\x41\xc6\x52\xfe\xfe\xa1'
seed langlinks table 'C=c;h;cpp\nHTML=htm;html;;\nPascal=pas\r\nJava=JAVA;c\n'
seed commandline file 'a b.txt'
seed commandline snapshot '--snapshot\000o.png\000"q".txt'
seed commandline export '--export-html\000in.c\000out.htm\000--lang\000C'
echo "corpora in $out/corpus"
