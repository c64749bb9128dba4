#!/usr/bin/env bash
# Compares what two builds of pricebook price: each builds its own demo shop, then prices every demo order
# (and each part of an order that has several) with the default schedule as JSON. Exit 0 when every output
# and exit code is byte-identical, 1 naming those that differ, 2 for wrong arguments.
# With --postgres CONNINFO each side's demo shop goes into a database of its own on that PostgreSQL server
# instead (made here and dropped at the end; the connection string's user must be allowed to create
# databases), priced through a data folder holding its connection file.
# Usage: bench/compare_json.sh BEFORE_PRICEBOOK AFTER_PRICEBOOK [--postgres CONNINFO]
set -euo pipefail
if { [ $# -ne 2 ] && { [ $# -ne 4 ] || [ "$3" != --postgres ]; }; } || [ ! -x "$1" ] || [ ! -x "$2" ]; then
    echo "Usage: $0 BEFORE_PRICEBOOK AFTER_PRICEBOOK [--postgres CONNINFO]   (two pricebook programs)" >&2
    exit 2
fi
before=$(realpath "$1")
after=$(realpath "$2")
server=${4:-}
work=$(mktemp -d)
databases=()
cleanup() {
    for database in "${databases[@]}"; do
        psql "$server" -qAtc "DROP DATABASE IF EXISTS $database WITH (FORCE)" >/dev/null 2>&1 || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

for side in before after; do
    "${!side}" demo-data "$work/$side-list" >/dev/null
    if [ -n "$server" ]; then
        database="pricebook_compare_${side}_$$"
        databases+=("$database")
        psql "$server" -qAtc "CREATE DATABASE $database" >/dev/null
        "${!side}" demo-data "$work/$side-shop" --postgres "$server dbname=$database" >/dev/null
    else
        mv "$work/$side-list" "$work/$side-shop"
    fi
done

# The runs: every order, then every part of an order with more than one part (a tab between order and part).
list="$work/before-shop"
[ -n "$server" ] && list="$work/before-list"
runs=$("$before" sql "$list" "SELECT OrderNo, PartNo FROM Orders ORDER BY OrderNo, PartNo" |
       tail -n +2 | awk -F'\t' '{ parts[$1] = parts[$1] "\n" $1 "\t" $2; count[$1]++; if (count[$1] == 1) order[n++] = $1 }
                                 END { for (i = 0; i < n; i++) { print order[i]; if (count[order[i]] > 1) print substr(parts[order[i]], 2) } }')

differ=0
total=0
while IFS=$'\t' read -r orderNo partNo; do
    args=(--order "$orderNo")
    name="order $orderNo"
    if [ -n "$partNo" ]; then
        args+=(--part "$partNo")
        name+=" part $partNo"
    fi
    for side in before after; do
        status=0
        "${!side}" price "$work/$side-shop" "${args[@]}" --format json >"$work/$side.json" 2>"$work/$side.msg" || status=$?
        # Messages name the shop's folder and database, which are each side's own.
        { sed -e "s|$work/$side-shop|SHOP|g" -e "s|pricebook_compare_${side}_$$|DATABASE|g" "$work/$side.msg"
          echo "exit code $status"; } >"$work/$side.err"
    done
    total=$((total + 1))
    if ! cmp -s "$work/before.json" "$work/after.json" || ! cmp -s "$work/before.err" "$work/after.err"; then
        echo "differs: $name"
        diff "$work/before.json" "$work/after.json" | head -n 5 | cut -c 1-160 || true
        diff "$work/before.err" "$work/after.err" | head -n 5 || true
        differ=$((differ + 1))
    fi
done <<<"$runs"

if [ "$differ" -eq 0 ]; then
    echo "identical: all $total runs (JSON output, messages and exit code)${server:+, from the server}"
    exit 0
fi
echo "$differ of $total runs differ"
exit 1
