#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real zadw-tool the way a user or a script would.
# usage: cli_test.sh CASE TOOL SAMPLE_Z08 WORKDIR
set -euo pipefail

case_name=$1
tool=$2
sample=$3
work=$4
rm -rf "$work"
mkdir -p "$work"
cd "$work"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# run_status EXPECTED ARGS...: runs the tool, keeps stdout/stderr in out.txt/err.txt.
run_status() {
    local expected=$1
    shift
    local status=0
    "$tool" "$@" >out.txt 2>err.txt || status=$?
    [ "$status" -eq "$expected" ] || fail "zadw-tool $* exited $status, expected $expected: $(cat err.txt)"
}

# one_error_line TEXT...: stderr is a single line holding every TEXT.
one_error_line() {
    [ "$(wc -l <err.txt)" -eq 1 ] || fail "expected one error line, got: $(cat err.txt)"
    for t in "$@"; do
        grep -qF -- "$t" err.txt || fail "error line lacks \"$t\": $(cat err.txt)"
    done
}

case $case_name in
round-trip)
    "$tool" dump "$sample" | "$tool" build - out.z08
    cmp "$sample" out.z08 || fail "dump | build changed the sample's bytes"
    # The same holds for a file build wrote itself, read from a named JSON file.
    "$tool" dump out.z08 >again.json
    "$tool" build again.json again.z08
    cmp out.z08 again.z08 || fail "a rebuilt file differs"
    ;;

bad-json)
    "$tool" dump "$sample" >good.json
    printf '{"groupNumber": 4,' >not-json.json
    grep -v '"reportMonth"' good.json >missing-key.json
    sed '0,/"hours": [0-9]*/s//"hours": 256/' good.json >wide-hours.json
    sed '0,/"firstName": "[^"]*"/s//"firstName": "Aaaaaaaaaaaaaaaaaaaaa"/' good.json >long-name.json
    printf '{"groupNumber": 4, "reportMonth": 10, "secretaryEmail": "", "remarks": [], "publishers": []}' \
        >no-publishers.json
    grep -q '"hours": 256' wide-hours.json || fail "test setup: hours not replaced"

    check_refused() { # JSON TEXT...
        local json=$1
        shift
        rm -f out.z08
        run_status 2 build "$json" out.z08
        one_error_line "$json" "$@"
        if ls -A | grep -q 'out\.z08'; then
            fail "$json: an output file was written"
        fi
        # An existing file stays exactly as it was.
        cp "$sample" out.z08
        run_status 2 build "$json" out.z08
        cmp "$sample" out.z08 || fail "$json: the existing output file was changed"
    }
    check_refused not-json.json "not JSON"
    check_refused missing-key.json "reportMonth" "missing"
    check_refused wide-hours.json "publishers[0].months[0].hours" "0..255"
    check_refused long-name.json "publishers[0].firstName" "20"
    check_refused no-publishers.json "Group has less than 3 publishers"
    # Faults the library raises beyond parsing: a number past a double, a value of the wrong type.
    sed '0,/"groupNumber": [0-9]*/s//"groupNumber": 1e400/' good.json >huge-number.json
    sed '0,/"firstName": "[^"]*"/s//"firstName": ["A"]/' good.json >wrong-type.json
    grep -q '1e400' huge-number.json || fail "test setup: groupNumber not replaced"
    check_refused huge-number.json "1e400"
    check_refused wrong-type.json "firstName"

    # Standard input is named as such.
    rm -f out.z08
    status=0
    "$tool" build - out.z08 <wide-hours.json 2>err.txt || status=$?
    [ "$status" -eq 2 ] || fail "build - exited $status"
    one_error_line "standard input" "hours"
    [ ! -e out.z08 ] || fail "build - wrote a file for bad input"
    run_status 2 build does-not-exist.json out.z08
    one_error_line "does-not-exist.json"

    # A write-protected output is kept, as cp keeps it, unless --force says otherwise.
    cp "$sample" locked.z08
    chmod 444 locked.z08
    run_status 1 build good.json locked.z08
    one_error_line "locked.z08" "--force"
    cmp "$sample" locked.z08 || fail "a write-protected output was replaced"
    sed -i '0,/"reportMonth": [0-9]*/s//"reportMonth": 1/' good.json
    run_status 0 build good.json locked.z08 --force
    ! cmp -s "$sample" locked.z08 || fail "--force did not replace the output"
    [ "$(stat -c %a locked.z08)" = 444 ] || fail "--force changed the output's mode"
    ;;

bad-dump)
    # Byte 180 (the publisher count) of 200 is no group file.
    head -c 400 /dev/zero >count200.z08
    printf '\310' | dd of=count200.z08 bs=1 seek=180 conv=notrunc status=none
    run_status 2 dump count200.z08
    one_error_line "count200.z08"
    [ ! -s out.txt ] || fail "dump printed something for a file that is not a group file"

    head -c 1000 "$sample" >short.z08
    run_status 2 dump short.z08
    one_error_line "short.z08"
    [ ! -s out.txt ] || fail "dump printed an incomplete group"

    run_status 2 dump does-not-exist.z08
    one_error_line "does-not-exist.z08"

    run_status 2
    run_status 2 frobnicate x
    run_status 2 dump
    run_status 0 --help
    grep -q "dump" out.txt || fail "--help does not list dump"
    ;;

summary)
    # No display is needed, whatever platform the environment names; "-" is standard output.
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
        "$tool" summary "$sample" --paper A5 --landscape --pdf - >list.pdf 2>err.txt || status=$?
    [ "$status" -eq 0 ] || fail "summary without a display exited $status: $(cat err.txt)"
    [ ! -s err.txt ] || fail "summary without a display said: $(cat err.txt)"
    [ ! -e ./- ] || fail "--pdf - wrote a file named -"
    [ "$(head -c 5 list.pdf)" = "%PDF-" ] || fail "standard output holds no PDF"
    pdfinfo list.pdf | grep -Eq 'Page size: +595[.0-9]* x 4(19|20)[.0-9]* pts' ||
        fail "not A5 landscape: $(pdfinfo list.pdf | grep 'Page size')"
    pdftotext list.pdf - | grep -q "Insamling av rapporter" || fail "the list has no title"
    pdftotext list.pdf - | grep -q "Summa inräknade" || fail "the list ends without the totals"

    run_status 0 summary "$sample" --paper Letter --pdf letter.pdf
    pdfinfo letter.pdf | grep -Eq 'Page size: +612 x 792 pts' || fail "not Letter portrait"
    run_status 2 summary "$sample" --paper A3 --pdf a3.pdf
    one_error_line "--paper" "A3"
    # A link at the output is neither followed nor replaced.
    echo "kept" >target.txt
    ln -s target.txt linked.pdf
    run_status 1 summary "$sample" --pdf linked.pdf
    [ "$(cat target.txt)" = "kept" ] || fail "summary wrote through a link"
    [ -L linked.pdf ] || fail "summary replaced the link"
    [ ! -e a3.pdf ] || fail "a refused paper wrote a file"
    ;;
totals)
    # The sample's November, worked out by hand from examples/grupp4.json: Berg (61½ h, 10
    # credit) and Lindqvist (54 h) are regular pioneers, Hedlund an auxiliary pioneer,
    # Dahlström a special pioneer; Ek, Holm, Magnusson and Wallin are missing, and Jönsson's
    # month holds only a remark. Holm's September and the October of Johansson, Magnusson and
    # Olsson carry late flags.
    run_status 0 totals "$sample" --form new --json
    diff -u "$(dirname "$0")/grupp4-totals.json" out.txt || fail "totals --json differs"
    run_status 0 totals "$sample" --month 11 --form new
    grep -q "^Summa inräknade .* 26 .* 21 .* 372.5 .* 10 .* 147 .* 61 .* 156 .* 21$" out.txt ||
        fail "the table's counted line: $(cat out.txt)"
    grep -q "^missing 4 of 27 publishers$" out.txt || fail "the table's missing line: $(cat out.txt)"
    grep -q "^remark only 1 of 27 publishers$" out.txt || fail "the table's last line: $(cat out.txt)"
    run_status 0 totals "$sample" --month mars --form old --json
    grep -q '"subscriptions"' out.txt || fail "the old form lacks its own keys"
    run_status 2 totals "$sample" --month 13
    one_error_line "--month"
    run_status 2 totals
    one_error_line "totals"
    ;;

year)
    # The sample's year up to November 2026, worked out by hand from examples/grupp4.json: Berg
    # and Lindqvist are regular pioneers (60¼ + 54¼ + 61½ = 176 hours since September, 5 + 10
    # credit hours; 56¾ + 60½ + 54 = 171¼); Ek missed July and August, Wallin has reported nothing
    # since April; everyone else reported in each of May to October.
    run_status 0 year "$sample" --year 2026 --json
    python3 - out.txt <<'PY' || fail "year --json: $(head -c 300 out.txt)"
import json, sys
y = json.load(open(sys.argv[1]))
assert (y["month"], y["year"], y["serviceYear"]) == (10, 2026, 2027), y["month"]
assert y["regularity"] == {"regular": 25, "irregular": 1, "inactive": 1}, y["regularity"]
people = {p["name"]: p for p in y["publishers"]}
assert len(y["publishers"]) == 27
berg = people["Berg, Anna"]
assert (berg["category"], berg["goal"]) == (2, 600), berg["goal"]
assert (berg["serviceYearHours"], berg["serviceYearCreditHours"]) == (176, 15)
assert people["Lindqvist, Agneta"]["serviceYearHours"] == 171.25
assert people["Ek, Sören"]["regularity"] == "irregular"
assert people["Wallin, Tove"]["regularity"] == "inactive"
assert people["Andersson, Lars"]["goal"] is None
months = berg["months"]
assert [(m["month"], m["year"]) for m in months[:2]] == [(11, 2025), (0, 2026)]
assert months[-1] == {"month": 10, "year": 2026, "reported": True, "remarkOnly": False,
                      "late": False, "hours": 61.5, "creditHours": 10}, months[-1]
assert people["Jönsson, Ulla"]["months"][-1]["remarkOnly"] is True
assert people["Holm, Nils"]["months"][-3]["late"] is True
PY
    run_status 0 year "$sample" --year 2026 --csv
    [ "$(wc -l <out.txt)" -eq 28 ] || fail "year --csv: not a heading and 27 rows"
    head -n1 out.txt | grep -q $'^name,category,regularity,2025-12,.*,2026-11,serviceYearHours,serviceYearCreditHours,goal\r$' ||
        fail "year --csv heading: $(head -n1 out.txt)"
    grep -q $'^"Berg, Anna",2,regular,.*,176,15,600\r$' out.txt || fail "year --csv: $(grep Berg out.txt)"
    grep -q $'^"Wallin, Tove",0,inactive,,13,16,11,13,,,,,,,,0,0,\r$' out.txt ||
        fail "year --csv: $(grep Wallin out.txt)"
    run_status 0 year "$sample" --month 11 --year 2026
    grep -q "^regelbunden 25, oregelbunden 1, inaktiv 1$" out.txt || fail "year table: $(tail -n1 out.txt)"
    run_status 2 year "$sample" --json --csv
    one_error_line "--json" "--csv"
    run_status 2 year "$sample" --year 26x
    one_error_line "--year"
    run_status 2 year
    one_error_line "year"
    ;;

*)
    fail "unknown case $case_name"
    ;;
esac
echo "ok: $case_name"
