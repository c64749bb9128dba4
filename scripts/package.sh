#!/usr/bin/env bash
# Builds the Debian package of the program: installs what the build needs, builds the program, its manual
# page and icons, and writes build/package/pricebook_VERSION_ARCH.deb. Install it on a counter PC with
#   sudo apt install ./build/package/pricebook_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default pricebook packaging_files
cpack --config build/CPackConfig.cmake -B build/package >/dev/null
ls build/package/pricebook_*.deb
