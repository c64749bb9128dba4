#!/usr/bin/env bash
# Sets everything up, builds the demo shop's data folder and runs the main job on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
rm -rf demo-shop
./build/pricebook demo-data demo-shop
./build/pricebook sql --data demo-shop "SELECT ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION FROM ORDERS"
