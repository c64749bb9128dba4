# Installing Debian's packages for the project's scripts, sourced by them. install_packages installs those
# of the named packages that are not installed yet (nothing to do, and no root needed, when all are);
# install_build_dependencies does the same for what debian/control says the package build needs.

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

install_build_dependencies() {
    dpkg-checkbuilddeps 2>/dev/null && return 0
    echo "Installing what the package build needs (debian/control)"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq ./ >/dev/null
}
