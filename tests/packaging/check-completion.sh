#!/usr/bin/env bash
# The bash completion as bash runs it on TAB: the words a user has typed in COMP_WORDS, the completion
# function asked, its answer compared with what the program offers.
# Usage: tests/packaging/check-completion.sh PRICEBOOK COMPLETION-FILE
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/shops/shop-a" "$work/shops/shop-b"
touch "$work/shops/sheet.pdf"
ln -s "$(realpath "$program")" "$work/bin/pricebook"
PATH="$work/bin:$PATH"
# shellcheck source=/dev/null
source "$2"
status=0

# completes EXPECTED WORD... : the last word is the one being completed; EXPECTED the offers, blank-separated.
completes() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _pricebook
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [ "$got" != "$expected" ]; then
        echo "FAILED: '$*' offers '$got', not '$expected'"
        status=1
    fi
}

completes "sheet sql" pricebook s
completes "book" pricebook --program-dir "$work" b
completes "--verbose --version" pricebook --ver
completes "--paper --part" pricebook sheet --pa
completes "a4 letter" pricebook sheet --paper ""
completes "json" pricebook price --format j
completes "courier" pricebook sheet --typeface c
completes "--quiet --quote" pricebook price --qu
completes "$work/shops/shop-a $work/shops/shop-b" pricebook book --data "$work/shops/shop"
completes "$work/shops/sheet.pdf" pricebook sheet --pdf "$work/shops/she"
completes "" pricebook price --order ""
completes "$work/shops/shop-a $work/shops/shop-b" pricebook price "$work/shops/shop-"

[ "$status" -eq 0 ] && echo "bash completion checked"
exit "$status"
