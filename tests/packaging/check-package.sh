#!/usr/bin/env bash
# Builds the Debian package with scripts/package.sh (which fails on any lintian error or warning and on
# metadata appstreamcli refuses), unpacks it into a throwaway root and checks what a shop's PC gets: its
# control fields, every file in its place, a desktop entry that validates and names the window's class,
# the program's version, and an installed program that writes nothing into its own folders.
# Usage: tests/packaging/check-package.sh SOURCE VERSION
set -euo pipefail
source_dir=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

"$source_dir/scripts/package.sh" "$work/out" || fail "scripts/package.sh"
deb=$(ls "$work"/out/pricebook_"$version"_*.deb) || fail "no package of version $version"

[ "$(dpkg-deb -f "$deb" Package)" = pricebook ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6printsupport6 libsqlite3 libpq5 libmdb3 fonts-liberation; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop=$(ls "$root"/usr/share/applications/*.desktop)
id=$(basename "$desktop" .desktop)
for file in usr/bin/pricebook usr/share/metainfo/"$id".metainfo.xml \
            usr/share/icons/hicolor/scalable/apps/pricebook.svg usr/share/icons/hicolor/48x48/apps/pricebook.png \
            usr/share/icons/hicolor/256x256/apps/pricebook.png usr/share/man/man1/pricebook.1.gz \
            usr/share/pricebook/demo/schema.sql usr/share/pricebook/demo/demo-data.sql \
            usr/share/doc/pricebook/README.md.gz usr/share/doc/pricebook/copyright usr/share/doc/pricebook/changelog.gz \
            usr/share/bash-completion/completions/pricebook; do
    [ -f "$root/$file" ] || fail "$file is not in the package"
done
desktop-file-validate "$desktop" || fail "desktop entry"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metadata does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metadata has no release $version"

[ "$("$root/usr/bin/pricebook" --version)" = "pricebook $version" ] || fail "--version"

# Installed, the program keeps its marker file and report work database in the user's data folder, even
# when it could write into its own folders (as root can).
before=$(find "$root" | sort)
export XDG_DATA_HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$root/usr/bin/pricebook" demo-data "$work/shop" >/dev/null
"$root/usr/bin/pricebook" price "$work/shop" --order 24101 --qty 1000 >/dev/null
[ "$(find "$root" | sort)" = "$before" ] || fail "the installed program wrote into its own folders"
[ -f "$XDG_DATA_HOME/Velmora/PriceCatalogs/VMestrpt.mdb" ] || fail "no report work database in the user's folder"

# The window, opened on the demo shop on a real X display, has the class the desktop entry names, so the
# desktop shows it under the entry's name and icon.
class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$class" ] || fail "the desktop entry names no StartupWMClass"
printf '%s\r\n' "$work/shop" >"$XDG_DATA_HOME/Velmora/PriceCatalogs/vmOrvCk.dat"
env -u QT_QPA_PLATFORM xvfb-run -a bash -c '
    "$1" & program=$!
    for _ in $(seq 150); do
        xwininfo -root -tree | grep -q "(\"pricebook\" \"$3\")" && break
        sleep 0.2
    done
    xwininfo -root -tree >"$2"
    kill "$program"; wait "$program" || true' _ "$root/usr/bin/pricebook" "$work/windows" "$class"
grep -q "(\"pricebook\" \"$class\")" "$work/windows" ||
    fail "no window of class $class: $(grep -c '(' "$work/windows") windows, classes: $(grep -o '("[^)]*")' "$work/windows" | sort -u | tr '\n' ' ')"
echo "package $(basename "$deb") checked"
