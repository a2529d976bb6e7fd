# Shared by the scripts: the Debian packages the project needs, and installing
# the missing ones. Sourced, not run.

# Building the core, the window and the benchmarks.
VANTRIGO_BUILD_PACKAGES=(
    build-essential cmake pkgconf git
    qt6-base-dev libasound2-dev libgl-dev
    libgtest-dev libbenchmark-dev libxcb1-dev libxcb-damage0-dev
    fonts-arphic-uming
    qt6-base-private-dev file dpkg-dev
)

# Running the window and its tests on a real X server with a real sound stack.
VANTRIGO_TEST_PACKAGES=(
    xvfb openbox xdotool xclip x11-utils alsa-utils
    clang libclang-rt-14-dev valgrind
    desktop-file-utils appstream weston qt6-wayland
)

# Installs the packages that are not installed yet: with apt-get, through sudo
# when not root. Does nothing when everything is there.
vantrigo_ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq || echo "apt-get update failed; trying the install anyway" >&2
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# Configures and builds one preset.
vantrigo_build() {
    local preset=$1
    shift
    cmake --preset "$preset" "$@" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
}
