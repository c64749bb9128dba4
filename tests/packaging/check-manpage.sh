#!/usr/bin/env bash
# The manual page against the program's own help: it has a section for every command the help lists and
# no other, names every option of the help and of each command's help and no option they do not name, and
# the program's version. It renders without a warning from groff, in lines of at most 80 columns.
# Usage: tests/packaging/check-manpage.sh PRICEBOOK MANPAGE
set -euo pipefail
program=$1
page=$2
fail() { echo "FAILED: $*" >&2; status=1; }
status=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

LC_ALL=C groff -man -Tascii -rLL=80n -ww "$page" 2>"$work/warnings" | sed 's/.\x08//g' >"$work/page"
[ -s "$work/warnings" ] && fail "groff warns: $(cat "$work/warnings")"
awk 'length > 80 { print "line " NR " is " length " columns: " $0; bad = 1 } END { exit bad }' "$work/page" ||
    fail "lines wider than 80 columns"

commands=$("$program" --help | awk '/^Without a command/ { on = 1; next } /^"pricebook COMMAND/ { on = 0 }
                                    on && /^  [a-z]/ { print $1 }')
[ -n "$commands" ] || fail "the help lists no command"
sections=$(sed -n 's/^\.SS //p' "$page" | sed 's/\\-/-/g')
[ "$(sort <<<"$commands")" = "$(sort <<<"$sections")" ] ||
    fail "command sections $(echo $sections) are not the commands $(echo $commands)"

{
    "$program" --help
    for command in $commands; do "$program" "$command" --help; done
} | grep -oE -- '--[a-z][a-z0-9-]*[a-z0-9]' | sort -u >"$work/help-options"
grep -oE -- '--[a-z][a-z0-9-]*[a-z0-9]' "$work/page" | sort -u >"$work/page-options"
missing=$(comm -23 "$work/help-options" "$work/page-options")
unknown=$(comm -13 "$work/help-options" "$work/page-options")
[ -z "$missing" ] || fail "the page lacks $(echo $missing)"
[ -z "$unknown" ] || fail "the page names options the program has not: $(echo $unknown)"

version=$("$program" --version | awk '{ print $2 }')
grep -q "^\.TH PRICEBOOK 1 .*\"pricebook $version\"" "$page" || fail "the page is not of version $version"

[ "$status" -eq 0 ] && echo "manual page checked: $(echo $commands | wc -w) commands, $(wc -l <"$work/help-options") options"
exit "$status"
