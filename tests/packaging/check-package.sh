#!/usr/bin/env bash
# Builds the Debian package of the build folder BUILD, unpacks it into a throwaway root and checks what a
# shop's PC gets: its control fields, every file in its place, a desktop entry that validates, the
# program's version, and an installed program that writes nothing into its own folders.
# Usage: tests/packaging/check-package.sh BUILD VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/pricebook_*.deb)

[ "$(dpkg-deb -f "$deb" Package)" = pricebook ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6printsupport6 libsqlite3 libpq5 fonts-liberation qt6-qpa-plugins; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/pricebook usr/share/applications/pricebook.desktop \
            usr/share/icons/hicolor/scalable/apps/pricebook.svg usr/share/icons/hicolor/48x48/apps/pricebook.png \
            usr/share/icons/hicolor/256x256/apps/pricebook.png usr/share/man/man1/pricebook.1.gz \
            usr/share/pricebook/demo/schema.sql usr/share/pricebook/demo/demo-data.sql \
            usr/share/doc/pricebook/README.md; do
    [ -f "$root/$file" ] || fail "$file is not in the package"
done
desktop-file-validate "$root/usr/share/applications/pricebook.desktop" || fail "desktop entry"
for command in price sheet book sql demo-data import-mdb copy-db; do
    zcat "$root/usr/share/man/man1/pricebook.1.gz" | grep -q "^\.SS $command\$" || fail "manual page lacks $command"
done

[ "$("$root/usr/bin/pricebook" --version)" = "pricebook $version" ] || fail "--version"

# Installed, the program keeps its marker file and report work database in the user's data folder, even
# when it could write into its own folder (as root can).
before=$(find "$root" | sort)
export XDG_DATA_HOME="$work/home"
"$root/usr/bin/pricebook" demo-data "$work/shop" >/dev/null
"$root/usr/bin/pricebook" price "$work/shop" --order 24101 --qty 1000 >/dev/null
[ "$(find "$root" | sort)" = "$before" ] || fail "the installed program wrote into its own folders"
[ -f "$XDG_DATA_HOME/Velmora/PriceCatalogs/VMestrpt.mdb" ] || fail "no report work database in the user's folder"
echo "package $(basename "$deb") checked"
