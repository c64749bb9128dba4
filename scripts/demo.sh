#!/usr/bin/env bash
# Sets everything up, builds the demo shop's data folder (build/demo-shop) and prices its first order,
# the one-colour letterhead 24101, at every quantity of the schedule.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default

# --replace: a fresh shop database every run; a category list edited in the window is kept.
./build/pricebook demo-data build/demo-shop --replace

# The program folder (report work database) is build/, beside the program, as for the window.
status=0
./build/pricebook --program-dir build price build/demo-shop --order 24101 || status=$?
if [ "$status" -eq 2 ]; then
    # A build without the pricing command answers with usage (exit code 2): show the orders instead.
    echo "Pricing is not available in this build; the demo shop's orders are:" >&2
    ./build/pricebook sql build/demo-shop "SELECT ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION FROM ORDERS"
elif [ "$status" -ne 0 ]; then
    exit "$status"
fi
