#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens a group file the way a file manager does (GIO: file type by name, then the launcher that
# takes it) and checks that zadw is started with that one file. A stand-in zadw records its
# arguments, so no window opens.
# Exits 77 (skipped) only when gio or the database tools are not installed.
# usage: open-from-desktop.sh STAGE_DIR WORK_DIR
set -euo pipefail

stage=$1
work=$2

for tool in gio update-mime-database update-desktop-database; do
    command -v "$tool" >/dev/null || {
        echo "skipped: $tool is not installed" >&2
        exit 77
    }
done
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work/bin" "$work/config" "$work/docs/Mina dokument"
cp -r "$stage/usr/share" "$work/share"
# Only the installed files count, not whatever the machine or the user has set up.
export XDG_DATA_HOME=$work/share XDG_DATA_DIRS=$work/share
export XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/config
unset DBUS_SESSION_BUS_ADDRESS
update-mime-database "$work/share/mime"
update-desktop-database "$work/share/applications"

cat >"$work/bin/zadw" <<STANDIN
#!/bin/sh
for a; do printf '%s\n' "\$a"; done >"$work/args.tmp"
mv "$work/args.tmp" "$work/args"
STANDIN
chmod +x "$work/bin/zadw"
export PATH=$work/bin:$PATH

# open FILE: the arguments zadw was started with, one a line; empty when nothing took the file.
open() {
    rm -f "$work/args"
    printf 'zadw group\0' >"$1"
    gio open "$1" 2>"$work/gio.err" || return 0
    for _ in $(seq 50); do
        [ -e "$work/args" ] && break
        sleep 0.1
    done
    cat "$work/args" 2>/dev/null || true
}

docs="$work/docs/Mina dokument"
for name in "GRUPP.Z08" "grupp 4.z08" "Grupp.Z08"; do
    got=$(open "$docs/$name")
    [ "$got" = "$docs/$name" ] || fail "opening $name started zadw with: '$got' $(cat "$work/gio.err")"
done
# zadw opens only group files; given an update file it would open the remembered group instead.
got=$(open "$docs/grupp4.z18")
[ -z "$got" ] || fail "opening an update file started zadw with: '$got'"
echo "the file manager opens group files in zadw"
