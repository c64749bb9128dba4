#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite. With --asan it does the same under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=default
[ "${1:-}" = "--asan" ] && preset=asan
scripts/setup.sh "$preset"

# The suite's 10-second smoke run of each fuzz target needs the targets of the clang fuzz build; only those
# five are built there (a few minutes on two cores), not the whole program.
fuzz_packages=(clang libclang-rt-14-dev)
fuzz_missing=()
for p in "${fuzz_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || fuzz_missing+=("$p")
done
if [ ${#fuzz_missing[@]} -gt 0 ]; then
    echo "Installing: ${fuzz_missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${fuzz_missing[@]}" >/dev/null
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -- -j"$(nproc)" fuzz_val fuzz_dimension fuzz_items fuzz_dialect fuzz_pricedata

ctest --preset "$preset" -j"$(nproc)"
