#!/usr/bin/env bash
# Installs what the price-list generator needs from Debian's packages (quick when they are there) and
# builds it. Usage: scripts/setup.sh [preset] [target ...]   (presets: default, asan, fuzz; without targets
# the whole preset is built)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
[ $# -gt 0 ] && shift

packages=(g++ cmake ninja-build pkg-config libsqlite3-dev sqlite3 qt6-base-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-liberation xvfb xauth openbox poppler-utils mdbtools mdbtools-dev libpq-dev
          librsvg2-bin desktop-file-utils dpkg-dev
          postgresql)
[ "$preset" = fuzz ] && packages+=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -- -j"$(nproc)" "$@"
