#!/usr/bin/env bash
# Makes the Debian package of the build tree with CPack, then checks what
# dpkg-deb sees in it: the control fields, the dependencies computed from the
# executable, and the files, which pass the same checks as an install.
#   check_deb.sh BUILD_DIR SCRATCH_DIR APP_ID EXECUTABLE ICON_SIZE...
set -euo pipefail
build=$1 scratch=$2 executable=$4
shift 2
source "$(dirname "$0")/installed_files.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; packaging_fail "cpack -G DEB failed"; }
debs=("$scratch"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || packaging_fail "cpack made no single .deb"
deb=${debs[0]}
dpkg-deb --info "$deb" >"$scratch/info.txt" || packaging_fail "dpkg-deb cannot read $deb"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = "$executable" ] || packaging_fail "the package is not named $executable"
arch=$(dpkg --print-architecture)
[ "$(field Architecture)" = "$arch" ] || packaging_fail "the package is not for $arch"
version=$(field Version)
[ "$(basename "$deb")" = "${executable}_${version}_$arch.deb" ] ||
    packaging_fail "the file name $(basename "$deb") is not ${executable}_${version}_$arch.deb"
for name in Maintainer Description Section; do
    [ -n "$(field $name)" ] || packaging_fail "the package has no $name"
done

# Every library the executable links, found by dpkg-shlibdeps with its
# version floor, and the font it asks for by name.
# Whether the comma-separated relation list holds an entry starting with PREFIX.
relates() {
    local entry
    local -a entries
    IFS=, read -r -a entries <<<"$1"
    for entry in "${entries[@]}"; do
        [[ "${entry# }" == "$2"* ]] && return 0
    done
    return 1
}
depends=$(field Depends)
echo "Depends: $depends"
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libasound2; do
    relates "$depends" "$package (>= " ||
        packaging_fail "Depends lacks $package with its version from dpkg-shlibdeps"
done
relates "$depends" fonts-arphic-uming || packaging_fail "Depends lacks the font"
relates "$(field Recommends)" qt6-wayland || packaging_fail "Recommends lacks qt6-wayland"

# Files owned by root, none writable by others; the executable stripped.
if dpkg-deb --contents "$deb" | awk '$2 != "root/root" || $1 ~ /^.{8}w/' | grep .; then
    packaging_fail "files above are not root's, or are writable by all"
fi
dpkg-deb --extract "$deb" "$scratch/root"
file "$scratch/root/usr/bin/$executable" | grep -q ', stripped' ||
    packaging_fail "the executable in the package is not stripped"
if readelf --dynamic "$scratch/root/usr/bin/$executable" | grep -E 'R(UN)?PATH'; then
    packaging_fail "the packaged executable looks for libraries outside the system's paths"
fi
packaging_check_tree "$scratch/root" /usr "$@"
echo "$(basename "$deb"): ok"
