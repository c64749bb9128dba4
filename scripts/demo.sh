#!/usr/bin/env bash
# Installs what the program needs (with apt-get: run as root or with sudo), builds the program alone,
# builds the demo shop's data folder (build/demo-shop), prices its first order, the one-colour letterhead
# 24101, at every quantity of the schedule, and writes its Counter Price Book sheet to
# build/demo-shop/24101-price-sheet.pdf.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh program pricebook

# --replace: a fresh shop database every run; a category list edited in the window is kept.
./build/pricebook demo-data build/demo-shop --replace

# The program folder (report work database) is build/, beside the program, as for the window.
./build/pricebook --program-dir build price build/demo-shop --order 24101
./build/pricebook --program-dir build sheet build/demo-shop --order 24101 --category "Letterheads" \
    --pdf build/demo-shop/24101-price-sheet.pdf
echo "The sheet to print: $(pwd)/build/demo-shop/24101-price-sheet.pdf"
