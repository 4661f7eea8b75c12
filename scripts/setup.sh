# Shared by scripts/run and scripts/test: install what is missing, then configure and build.
# Sourced, not run; expects $root to be the repository's top folder.

# What building and running the launcher needs.
kk_run_packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev qt6-l10n-tools libspng-dev
                 fonts-dejavu-core fonts-liberation2 qt6-wayland)
# What the tests add: ccache for the builds of every stage, the X and Wayland servers and tools the
# end-to-end tests drive, the sanitizers' compiler, valgrind, the package's tools, the
# accessibility stack, and what the parts that tell the desktop of a start are built from.
kk_test_packages=(ccache xvfb xauth xdotool x11-utils imagemagick xclip desktop-file-utils
                  clang-14 libclang-rt-14-dev valgrind zlib1g-dev help2man lintian
                  dbus-daemon at-spi2-core python3-pyatspi weston sway
                  libxcb1-dev qt6-base-private-dev qt6-wayland-dev wayland-protocols)

kk_install_missing() { # package...
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local line="apt-get install -y --no-install-recommends ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]}. As root, run:" >&2
        echo "apt-get update && $line" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $line
}

# Ninja, and ccache where it is installed, shared by every build folder of this tree: objects
# that do not differ between the stages' builds are compiled once.
if command -v ninja >/dev/null; then
    export CMAKE_GENERATOR=Ninja
fi
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true CCACHE_SLOPPINESS=pch_defines,time_macros
fi

kk_configure() { # preset
    local cache="$root/build/CMakeCache.txt"
    case "$1" in default|ci) ;; *) cache="$root/build-$1/CMakeCache.txt" ;; esac
    # A folder configured with another generator cannot be configured again: start it anew.
    if [ -n "${CMAKE_GENERATOR:-}" ] && [ -f "$cache" ] \
        && ! grep -qx "CMAKE_GENERATOR:INTERNAL=$CMAKE_GENERATOR" "$cache"; then
        rm -rf "$(dirname "$cache")"
    fi
    cmake --preset "$1" >/dev/null
}

kk_build() { # preset [build-arguments...]
    kk_configure "$1"
    cmake --build --preset "$@"
}
