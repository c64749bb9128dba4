#!/usr/bin/env bash
# Installs what the price-list generator needs from Debian's packages (quick when they are there) and
# builds it. Usage: scripts/setup.sh [preset] [target ...]
#   program   the program alone, with only what building and running it needs (scripts/demo.sh)
#   default   the program, its tests and benchmarks, with everything the test suite uses
#   asan      the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz      the libFuzzer targets (clang)
# Without targets the whole preset is built.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
preset="${1:-default}"
[ $# -gt 0 ] && shift

# Building and running the program.
packages=(g++ cmake ninja-build pkg-config libsqlite3-dev qt6-base-dev libpq-dev mdbtools-dev libpaper-dev fonts-liberation)
# The tests and benchmarks: GoogleTest and Benchmark, a display for the window's screenshots, the tools the
# tests read PDFs, Access files and manual pages with, the locale sources a paper-size test builds a locale
# from, a throwaway PostgreSQL server, and what the package test builds and checks the Debian package with.
if [ "$preset" != program ]; then
    packages+=(sqlite3 libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils openbox poppler-utils
               mdbtools groff-base locales postgresql librsvg2-bin desktop-file-utils dpkg-dev debhelper lintian appstream)
fi
[ "$preset" = fuzz ] && packages+=(clang libclang-rt-14-dev)
install_packages "${packages[@]}"

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -- -j"$(nproc)" "$@"
