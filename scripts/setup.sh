# Shared by scripts/run and scripts/test: install what is missing, then configure and build.
# Sourced, not run; expects $root to be the repository's top folder.

kk_packages=(build-essential cmake qt6-base-dev xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core fonts-liberation2 xclip desktop-file-utils
             clang-14 libclang-rt-14-dev valgrind zlib1g-dev pkg-config libspng-dev help2man lintian
             dbus-daemon at-spi2-core python3-pyatspi qt6-wayland weston)
kk_install_line="apt-get install -y --no-install-recommends ${kk_packages[*]}"

kk_install_missing() {
    local missing=()
    for package in "${kk_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]}. As root, run:" >&2
        echo "apt-get update && $kk_install_line" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $kk_install_line
}

kk_build() { # preset
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
}
