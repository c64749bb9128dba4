#!/usr/bin/env bash
# Builds the Debian package of the program from its debian/ folder with dpkg-buildpackage, installing what
# the build needs first (with apt-get: run as root or with sudo), and checks it: lintian must find no error
# and no warning, and appstreamcli must pass the software centre's metadata. The source tree is copied to a
# folder of its own first, so nothing is written into it or beside it.
# Usage: scripts/package.sh [OUTPUT_FOLDER]   (default build/package)
# The folder gets pricebook_VERSION_ARCH.deb, its debug symbols, the source package (.dsc, .tar.xz) and
# the .changes. Install the package on a counter PC with
#   sudo apt install ./build/package/pricebook_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
install_packages dpkg-dev debhelper lintian appstream
install_build_dependencies

output=$(realpath -m "${1:-build/package}")
work=$(mktemp -d "${TMPDIR:-/tmp}/pricebook-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
version=$(dpkg-parsechangelog -S Version)
source="$work/pricebook-$version"
mkdir "$source"
tar --exclude=./.git --exclude='./build' --exclude='./build-*' --exclude='./obj-*' -cf - . | tar -xf - -C "$source"

echo "Building the package pricebook $version (a few minutes)"
if ! (cd "$source" && dpkg-buildpackage -us -uc -j"$(nproc)") >"$work/build.log" 2>&1; then
    tail -n 60 "$work/build.log"
    echo "The package could not be built; the end of the build's log is above." >&2
    exit 1
fi

# lintian's notice that it runs as root is no finding.
lint=0
lintian --info --display-info --fail-on error,warning "$work"/pricebook_"$version"_*.changes >"$work/lintian.log" 2>&1 ||
    lint=$?
grep -v 'running with root privileges is not recommended' "$work/lintian.log" || true
[ "$lint" -eq 0 ] || { echo "lintian found errors or warnings in the package (above)." >&2; exit 1; }
# Its notes on hardening are only informational, but a program built without a hardening flag is a fault.
! grep -E '^[EWI]: .*hardening-no-' "$work/lintian.log" || { echo "The program lacks a hardening flag." >&2; exit 1; }
appstreamcli validate --no-net --pedantic "$source"/debian/pricebook/usr/share/metainfo/*.metainfo.xml

mkdir -p "$output"
rm -f "$output"/pricebook_* "$output"/pricebook-dbgsym_*
find "$work" -maxdepth 1 -type f -name 'pricebook*' -exec mv -t "$output" {} +
ls "$output"/pricebook_"$version"_*.deb
