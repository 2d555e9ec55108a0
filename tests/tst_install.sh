#!/usr/bin/env bash
# The install tree: `cmake --install` into a temporary prefix, then the files a Linux desktop
# expects, checked with the desktop's own validators, and the installed program, started through
# bin/Mervel on Xvfb, finding its help file. Usage: tst_install.sh <build dir> <version>
set -euo pipefail
build=$(realpath "$1")
version=$2
source "$(dirname "$0")/checks.sh"
session_start

prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >"$work/install.log"

png_size() {  # WIDTHxHEIGHT from the PNG header
    [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || return 1
    od -An -tu1 -j16 -N8 "$1" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" $5*16777216 + $6*65536 + $7*256 + $8 }'
}

private=$prefix/lib/mervel
desktop=$prefix/share/applications/example.mervel.Mervel.desktop
metainfo=$prefix/share/metainfo/example.mervel.Mervel.metainfo.xml
chm=$private/Helpfiles/Mervel.chm

check "the program is installed" test -x "$private/Mervel"
check "bin/Mervel leads to it" same "$private/Mervel" "$(readlink -f "$prefix/bin/Mervel")"
check "the link is relative, so the tree can move" same ../lib/mervel/Mervel "$(readlink "$prefix/bin/Mervel")"
check "the help file is beside the program" test -s "$chm"
for size in 16 32 48; do
    check "${size}x${size} icon" same "${size}x${size}" "$(png_size "$prefix/share/icons/hicolor/${size}x${size}/apps/mervel.png")"
done
check "scalable icon" grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/mervel.svg"

check "the desktop entry validates" desktop-file-validate "$desktop"
check "the desktop entry starts bin/Mervel" test -x "$prefix/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
check "the desktop entry names the installed icon" same mervel "$(sed -n 's/^Icon=//p' "$desktop")"
check "the desktop entry says what the program does" grep -qx 'Comment=Преобразование единиц измерения' "$desktop"
check "the AppStream metadata validates" appstreamcli validate --no-net "$metainfo"
check "the AppStream release is this version" grep -q "<release version=\"$version\"" "$metainfo"
# The program as Debian ships programs: stripped and hardened.
elf=$private/Mervel
check "the installed program carries no debug sections" lacks '\.(z?debug_|gnu_debuglink)' "$(readelf -SW "$elf")"
check "the installed program carries no symbol table" lacks ' \.symtab ' "$(readelf -SW "$elf")"
check "position-independent (PIE)" grep -q 'FLAGS_1.*PIE' <<<"$(readelf -dW "$elf")"
check "relocations bound at start-up (bindnow)" grep -qE 'BIND_NOW|FLAGS_1.* NOW' <<<"$(readelf -dW "$elf")"
check "relocations read-only after start-up (relro)" grep -q GNU_RELRO <<<"$(readelf -lW "$elf")"
check "stack protector" grep -q '__stack_chk_fail' <<<"$(readelf --dyn-syms -W "$elf")"
# Fortified calls need an optimised build without the sanitizers, which bring checks of their own.
if grep -qE '^(CMAKE_BUILD_TYPE:STRING=Debug|MERVEL_SANITIZE:BOOL=ON)$' "$build/CMakeCache.txt"; then
    echo "SKIP: fortified libc calls (a debug or sanitizer build)"
else
    check "fortified libc calls" grep -qE '__[a-z0-9_]+_chk@' <<<"$(readelf --dyn-syms -W "$elf")"
fi

# Licence, changelog and manual pages.
doc=$prefix/share/doc/mervel
check "the licence in machine-readable form" same \
    'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$(head -n1 "$doc/copyright")"
check "the licence is GPL-3+" grep -qx 'License: GPL-3+' "$doc/copyright"
check "the changelog names this version" same "mervel ($version) unstable; urgency=medium" \
    "$(gzip -dc "$doc/changelog.gz" | head -n1)"
for page in man/man1/mervel.1.gz man/ru/man1/mervel.1.gz; do
    check "$page is gzipped" gzip -t "$prefix/share/$page"
    text=$(gzip -dc "$prefix/share/$page" 2>/dev/null || true)
    for word in DISPLAY LC_ALL LANG Mervel.chm mervel.lock; do
        check "$page documents $word" grep -q "$word" <<<"$text"
    done
done
check "the Russian page is in Russian" grep -q '^\.SH ОКРУЖЕНИЕ' <<<"$(gzip -dc "$prefix/share/man/ru/man1/mervel.1.gz")"

check "chmls lists the installed help pages" bash -c \
    "chmls -n list '$chm' | grep -qx /index.html && chmls -n list '$chm' | grep -qx /categories.html"

# The installed program on a real X server, with no help viewer or URL opener on the PATH: the
# help shows in its own window. The per-user instance lock lives in the session's own folder.
mkdir -p "$work/bin"
env PATH="$work/bin" "$prefix/bin/Mervel" >"$work/app.log" 2>&1 &
pids+=($!)
window=$(find_window 'Mervel-')
focus "$window" key F1
check "F1 shows the installed help in the program's window" \
    timeout 10 xdotool search --sync --onlyvisible --name '^Линейные размеры — Справка Mervel$'

mv "$chm" "$work/moved.chm"
xdotool windowraise "$window"
focus "$window" key F1
check "F1 without the help file says so" timeout 10 xdotool search --sync --onlyvisible --name '^Mervel$'

finish
