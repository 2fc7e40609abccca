#!/usr/bin/env bash
# The installed program. Installs the build into a temporary DESTDIR prefix
# and runs the installed orvane --snapshot on a C file outside the build tree,
# with HOME and the XDG folders in a temporary folder. Checks that the PNG is
# written, that it shows what a portable copy of the build shows (so the
# installed program found its fonts and definitions in share/orvane), that a
# user definition in the XDG data folder wins, and that nothing was written
# into the prefix. The desktop entry and the metainfo are validated where
# desktop-file-validate and appstreamcli are installed.
#   install_test.sh CMAKE BUILD_DIR SOURCE_DIR
set -euo pipefail
cmake_bin=$1
build=$2
source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/dest" "$cmake_bin" --install "$build" --prefix /usr >"$work/install.log"
prefix="$work/dest/usr"
for f in bin/orvane share/orvane/langlink.ini share/orvane/Syntax/C.syn share/orvane/Syntax/C.sty \
         share/orvane/Fonts/default.han share/orvane/Fonts/hanja.fnt share/orvane/addlang.htm \
         share/applications/orvane.desktop share/metainfo/org.orvane.orvane.metainfo.xml share/icons/hicolor/scalable/apps/orvane.svg \
         share/man/man1/orvane.1; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
for size in 16 22 24 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/orvane.png" ] || fail "no ${size}px icon"
done
[ ! -e "$prefix/share/orvane/CMakeLists.txt" ] || fail "the data folder's CMake file was installed"
# Every runtime file of the source tree (help pages added later included).
(cd "$source/data" && find . -type f ! -name CMakeLists.txt) | while read -r f; do
    cmp -s "$source/data/$f" "$prefix/share/orvane/$f" || fail "data file not installed: $f"
done
grep -q '^Exec=orvane %f$' "$prefix/share/applications/orvane.desktop" || fail "desktop Exec"
grep -q '^Name\[ko\]=' "$prefix/share/applications/orvane.desktop" || fail "desktop Korean name"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate --no-hints "$prefix/share/applications/orvane.desktop" || fail "desktop entry"
fi
# The tree check also matches the metainfo's launchable to the installed desktop entry.
if command -v appstreamcli >/dev/null; then
    appstreamcli validate-tree --no-net --strict "$prefix" >"$work/appstream.log" 2>&1 ||
        fail "metainfo: $(cat "$work/appstream.log")"
fi

listing() { (cd "$prefix" && find . -printf '%p %s %T@ %m\n' | sort); }
listing >"$work/before"

mkdir -p "$work/home" "$work/files"
printf '#include <stdio.h>\n/* \xc7\xd1\xb1\xdb comment */\nint main(void) {\n    return printf("hello %%d\\n", 42);\n}\n' \
    >"$work/files/hello.c"

# Runs a snapshot from outside the build tree with the temporary home.
snapshot() { # PROGRAM PNG
    (cd "$work/files" && env -u XDG_DATA_DIRS -u XDG_CONFIG_DIRS HOME="$work/home" \
        XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
        QT_QPA_PLATFORM=offscreen "$1" --snapshot "$2" hello.c) 2>"$2.err" ||
        fail "$1 --snapshot failed: $(cat "$2.err")"
    [ "$(head -c 8 "$2" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "$2 is no PNG"
}

snapshot "$prefix/bin/orvane" "$work/installed.png"
# A font or definition that could not be read is reported on stderr.
if grep -qi 'font\|cannot\|글꼴' "$work/installed.png.err"; then
    fail "installed run complained: $(cat "$work/installed.png.err")"
fi

# The same file in a portable copy of the build folder (without any settings
# left there) must look the same.
mkdir "$work/portable"
(cd "$build/bin" && tar cf - --exclude=Orvane.ini --exclude=orvane.ini .) | (cd "$work/portable" && tar xf -)
snapshot "$work/portable/orvane" "$work/portable.png"
cmp -s "$work/installed.png" "$work/portable.png" ||
    fail "the installed program shows the file differently from the build folder"

# A colour file of the user's own takes precedence over the shipped one.
mkdir -p "$work/home/data/orvane/Syntax"
sed 's/^Normal=.*/Normal=#FFFF00,#0000FF/' "$prefix/share/orvane/Syntax/C.sty" \
    >"$work/home/data/orvane/Syntax/C.sty"
snapshot "$prefix/bin/orvane" "$work/user.png"
! cmp -s "$work/installed.png" "$work/user.png" || fail "the user's C.sty was not read"

listing >"$work/after"
diff -u "$work/before" "$work/after" >&2 || fail "the installed program wrote into its prefix"
[ ! -e "$work/home/config/orvane/Orvane.ini" ] || fail "a snapshot wrote settings"
echo "install test passed"
