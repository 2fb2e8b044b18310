#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the desktop's own validators on the installed files. Any complaint fails, warnings too.
# Exits 77 (skipped) only when the validator itself is not installed.
# usage: validate.sh desktop FILE | metainfo FILE ROOT | man FOLDER
set -uo pipefail

need() {
    command -v "$1" >/dev/null || {
        echo "skipped: $1 is not installed" >&2
        exit 77
    }
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

case $1 in
desktop)
    need desktop-file-validate
    out=$(desktop-file-validate "$2" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    ;;
metainfo)
    need appstreamcli
    out=$(appstreamcli validate --no-net --no-color "$2" 2>&1) || fail "appstreamcli validate: $out"
    ! grep -q '^[EW]:' <<<"$out" || fail "appstreamcli validate: $out"
    # The whole tree: the entry together with its launcher and icons.
    out=$(appstreamcli validate-tree --no-net --no-color "$3" 2>&1) ||
        fail "appstreamcli validate-tree: $out"
    ! grep -q '^[EW]:' <<<"$out" || fail "appstreamcli validate-tree: $out"
    ;;
man)
    need groff
    shopt -s nullglob
    pages=("$2"/*.1.gz)
    [ ${#pages[@]} -gt 0 ] || fail "no man pages in $2"
    for page in "${pages[@]}"; do
        out=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 2>&1) || fail "$page: $out"
        [ -z "$out" ] || fail "$page: $out"
    done
    ;;
*)
    fail "unknown kind $1"
    ;;
esac
