#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite. With --asan it does the same under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
[ "${1:-}" = "--asan" ] && preset=asan
scripts/setup.sh "$preset"

# The suite's 10-second smoke run of each fuzz target needs the targets of the clang fuzz build; only those
# six are built there (a few minutes on two cores), not the whole program.
scripts/setup.sh fuzz fuzz_val fuzz_dimension fuzz_items fuzz_dialect fuzz_pricedata fuzz_pricebook

# The tests of the shop database server use a throwaway server, stopped and removed however the run ends.
source scripts/test-server.sh
trap stop_test_server EXIT
trap "exit 130" INT TERM
start_test_server

ctest --preset "$preset" -j"$(nproc)"
