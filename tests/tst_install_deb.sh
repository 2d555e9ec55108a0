#!/usr/bin/env bash
# The Debian package: cpack -G DEB from the build, then its control fields and its files.
# Usage: tst_install_deb.sh <build dir> <version>
set -euo pipefail
build=$(realpath "$1")
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$work/mervel_${version}_$(dpkg --print-architecture).deb

source "$(dirname "$0")/checks.sh"
field() {
    dpkg-deb -f "$deb" "$1"
}
has() {  # text pattern
    grep -qE -- "$2" <<<"$1" || { echo "'$2' not in: $1"; return 1; }
}

check "the package is named by Debian's rule" test -s "$deb"
check "package name" has "$(field Package)" '^mervel$'
check "version" has "$(field Version)" "^$version\$"
check "maintainer" has "$(field Maintainer)" '<team@mervel\.example>$'
check "description" has "$(field Description)" '^преобразование единиц измерения'
# Library dependencies found by dpkg-shlibdeps, and the platform plugin Qt loads at run time.
check "depends on Qt Widgets" has "$(field Depends)" 'libqt6widgets6 \(>= [0-9.]+\)'
check "depends on the X11 platform plugin" has "$(field Depends)" '(^|, )qt6-qpa-plugins(,|$)'
check "depends on the CHM reader of the help window" has "$(field Depends)" '(^|, )libchm1( |,|$)'
check "suggests no outside help viewer" same "" "$(field Suggests)"
check "depends on Qt's Russian texts" has "$(field Depends)" '(^|, )qt6-translations-l10n(,|$)'

dpkg-deb -c "$deb" | awk '{ print $6 $7 $8 }' >"$work/files"
for file in ./usr/bin/Mervel-\>../lib/mervel/Mervel ./usr/lib/mervel/Mervel \
    ./usr/lib/mervel/Helpfiles/Mervel.chm ./usr/share/applications/example.mervel.Mervel.desktop \
    ./usr/share/metainfo/example.mervel.Mervel.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/mervel.png ./usr/share/icons/hicolor/scalable/apps/mervel.svg \
    ./usr/share/doc/mervel/copyright ./usr/share/doc/mervel/changelog.gz \
    ./usr/share/man/man1/mervel.1.gz ./usr/share/man/ru/man1/mervel.1.gz \
    ./usr/share/man/man1/Mervel.1.gz-\>mervel.1.gz; do
    check "contains $file" grep -qxF -- "$file" "$work/files"
done

mkdir "$work/tree"
dpkg-deb -x "$deb" "$work/tree"
check "the packaged program carries no debug sections" \
    bash -c "! readelf -SW '$work/tree/usr/lib/mervel/Mervel' | grep -qE '\.(z?debug_|symtab )'"
# Debian's own judgement of the package. Experimental tags (executable-in-usr-lib, for the
# program kept beside its help file) are not shown; information tags do not fail it.
check "lintian finds no error and no warning" lintian --fail-on error,warning --tag-display-limit 0 "$deb"

finish
