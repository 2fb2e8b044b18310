#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch root the way the Debian package does (or unpacks the package
# itself), and checks that every file lands where the desktop looks for it.
# usage: check-install.sh BUILD_DIR|PACKAGE.deb STAGE_DIR "BINARY..."
set -euo pipefail

source=$1
stage=$2
top=$(cd "$(dirname "$0")/../.." && pwd)
read -r -a binaries <<<"$3"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$stage"
if [[ $source == *.deb ]]; then
    # A mail server pulled in by default would deliver the update only on this computer.
    recommends=$(dpkg-deb -f "$source" Recommends)
    case $recommends in
    *mail-transport-agent* | *default-mta*) fail "Recommends a mail server: $recommends" ;;
    esac
    [ "$(dpkg-deb -f "$source" Suggests)" = msmtp-mta ] || fail "does not suggest msmtp-mta"
    dpkg-deb -x "$source" "$stage"
else
    DESTDIR="$stage" cmake --install "$source" --prefix /usr >/dev/null
fi
cd "$stage"

# Everything under /usr, nothing elsewhere.
[ "$(ls -A)" = usr ] || fail "files outside usr/: $(ls -A)"

# Only the programs in bin, and nothing beside them: the installed zadw cannot write its folder,
# so it keeps its profile in ~/.config/zadw/zadw.ini and ships no zadw.ini of its own.
expected_bin=$(printf '%s\n' "${binaries[@]}" | sort)
[ "$(ls -A usr/bin | sort)" = "$expected_bin" ] || fail "usr/bin holds: $(ls -A usr/bin)"
for b in "${binaries[@]}"; do
    [ -x "usr/bin/$b" ] || fail "usr/bin/$b is not executable"
done

hicolor=usr/share/icons/hicolor
expected_files=(
    usr/share/applications/zadw.desktop
    usr/share/mime/packages/zadw.xml
    usr/share/metainfo/se.example.zadw.metainfo.xml
    $hicolor/scalable/apps/zadw.svg
    $hicolor/48x48/apps/zadw.png
    $hicolor/256x256/apps/zadw.png
    $hicolor/scalable/mimetypes/application-x-zadw-group.svg
    $hicolor/scalable/mimetypes/application-x-zadw-update.svg
    usr/share/doc/zadw/copyright
    usr/share/doc/zadw/changelog.gz
)
for b in "${binaries[@]}"; do
    expected_files+=("usr/share/man/man1/$b.1.gz")
done
for f in "${expected_files[@]}"; do
    [ -f "$f" ] || fail "missing $f"
    [ "$(stat -c %a "$f")" = 644 ] || fail "$f has mode $(stat -c %a "$f"), not 644"
done
for f in usr/share/man/man1/*.gz usr/share/doc/zadw/changelog.gz; do
    gzip -t "$f" || fail "$f is not a sound gzip file"
done

# One launcher, and it opens the file it is given.
[ "$(ls usr/share/applications)" = zadw.desktop ] || fail "applications: $(ls usr/share/applications)"
desktop=usr/share/applications/zadw.desktop
grep -qx 'Exec=zadw %f' "$desktop" || fail "Exec line: $(grep '^Exec=' "$desktop")"
grep -qx 'Icon=zadw' "$desktop" || fail "Icon line: $(grep '^Icon=' "$desktop")"
grep -q '^MimeType=\(.*;\)\?application/x-zadw-group;' "$desktop" ||
    fail "the launcher does not take group files"

# The system's trigger builds the MIME cache; a shipped cache would clash with it.
[ ! -e usr/share/mime/mime.cache ] || fail "usr/share/mime/mime.cache is shipped"

# Every icon the MIME package names is there.
grep -o '<icon name="[^"]*"' usr/share/mime/packages/zadw.xml | cut -d'"' -f2 | while read -r icon; do
    [ -f "$hicolor/scalable/mimetypes/$icon.svg" ] || fail "no icon file for $icon"
done

# The software-centre entry points at the launcher that is installed.
grep -q '<launchable type="desktop-id">zadw.desktop</launchable>' \
    usr/share/metainfo/se.example.zadw.metainfo.xml || fail "metainfo launchable"

# The licence in Debian's machine-readable form, for every file.
head -n1 usr/share/doc/zadw/copyright |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not in the machine-readable format"
grep -qx 'License: GPL-3.0-or-later' usr/share/doc/zadw/copyright || fail "copyright licence"

# The release the metainfo announces, and the changelog's newest entry, are this version.
version=$(sed -n 's/^project(zadw VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
grep -q "<release version=\"$version\"" usr/share/metainfo/se.example.zadw.metainfo.xml ||
    fail "metainfo has no release entry for this version"
gzip -dc usr/share/doc/zadw/changelog.gz | sed -n 1p | grep -q "^zadw ($version) " ||
    fail "changelog does not start with this version"

echo "$source: every file in place (see $stage)"
