#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite. With --asan it does the same under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
[ "${1:-}" = "--asan" ] && preset=asan
scripts/setup.sh "$preset"
ctest --preset "$preset" -j"$(nproc)"
