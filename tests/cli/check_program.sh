#!/usr/bin/env bash
# Runs the built program as a user would, from a folder far from the source tree: the demo data folder,
# the SQL console and the exit codes of the headless commands.
set -u
program="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0

expect() { # expected-exit-code description command...
    local expected="$1" what="$2"
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local code=$?
    if [ "$code" -ne "$expected" ]; then
        echo "FAIL: $what: exit code $code, expected $expected"
        sed 's/^/    stderr: /' "$work/err"
        failures=$((failures + 1))
    fi
}

expect 0 "version" "$program" --version
grep -Eq '^pricebook [0-9]+\.[0-9]+\.[0-9]+$' "$work/out" || { echo "FAIL: version text: $(cat "$work/out")"; failures=$((failures + 1)); }

expect 2 "unknown command" "$program" frobnicate
[ "$(cat "$work/err")" = 'pricebook: unknown command frobnicate (see "pricebook --help")' ] ||
    { echo "FAIL: not one line for an unknown command: $(cat "$work/err")"; failures=$((failures + 1)); }

expect 3 "missing shop database" "$program" sql "$work/nowhere/vmdata.mdb" "SELECT * FROM ORDERS"
[ ! -e "$work/nowhere" ] || { echo "FAIL: a missing database made a folder"; failures=$((failures + 1)); }

expect 0 "demo data" "$program" demo-data shop
[ -s shop/vmdata.mdb ] && [ -s shop/Categories.dat ] || { echo "FAIL: demo folder incomplete"; failures=$((failures + 1)); }
expect 1 "demo data again without --replace" "$program" demo-data shop
expect 0 "demo data again with --replace" "$program" demo-data shop --replace

expect 0 "listing the orders" "$program" sql --data shop "SELECT ORDERNO, QUOTEORJOB FROM ORDERS"
[ "$(wc -l <"$work/out")" -eq 13 ] || { echo "FAIL: expected a header and 12 orders:"; cat "$work/out"; failures=$((failures + 1)); }
grep -q "^O'NEIL-01	Q$" "$work/out" || { echo "FAIL: the order with an apostrophe is missing"; failures=$((failures + 1)); }

# The price sheet as a whole process, without a display: a one-page PDF, and nothing when it cannot be written.
mkdir program
expect 0 "price sheet to PDF" env -u DISPLAY -u QT_QPA_PLATFORM "$program" --program-dir program sheet shop --order 24101 --pdf sheet.pdf
head -c 5 sheet.pdf 2>/dev/null | grep -q '%PDF-' || { echo "FAIL: no PDF written"; failures=$((failures + 1)); }
grep -Eq "the price sheet is in sheet.pdf \(1 page, (A4|Letter)\)" "$work/err" || { echo "FAIL: no word of the sheet: $(cat "$work/err")"; failures=$((failures + 1)); }
! grep -q "QStandardPaths" "$work/err" || { echo "FAIL: Qt's notices reach the user"; failures=$((failures + 1)); }
expect 1 "price sheet into a missing folder" "$program" --program-dir program sheet shop --order 24101 --pdf nowhere/sheet.pdf
[ ! -e nowhere ] || { echo "FAIL: a missing folder was made"; failures=$((failures + 1)); }
expect 2 "price sheet without an output" "$program" --program-dir program sheet shop --order 24101

[ "$failures" -eq 0 ] && echo "all program checks passed"
exit "$failures"
