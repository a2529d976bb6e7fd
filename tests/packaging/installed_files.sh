# Helpers of the packaging checks. Sourced, not run.

# Prints the files an install puts under its prefix, relative to it, sorted:
#   packaging_installed_files APP_ID EXECUTABLE ICON_SIZE...
packaging_installed_files() {
    local app_id=$1 executable=$2 size
    shift 2
    {
        echo "bin/$executable"
        echo "share/applications/$app_id.desktop"
        echo "share/metainfo/$app_id.metainfo.xml"
        for size in "$@"; do
            echo "share/icons/hicolor/${size}x$size/apps/$app_id.png"
        done
        echo "share/icons/hicolor/scalable/apps/$app_id.svg"
    } | LC_ALL=C sort
}

# Prints "WIDTH HEIGHT" of a PNG file, read from its header.
packaging_png_size() {
    local -a bytes
    read -r -a bytes < <(od -An -v -tu1 -j16 -N8 "$1")
    echo "$(((bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3])) \
$(((bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7]))"
}

# Prints the value of KEY in the [Desktop Entry] group of a desktop file.
packaging_desktop_value() {
    sed -n '/^\[Desktop Entry\]/,/^\[/{s/^'"$2"'=//p}' "$1"
}

packaging_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Checks an installed tree at ROOT with prefix PREFIX (ROOT/PREFIX holds bin/,
# share/; validate-tree looks in ROOT/usr): exactly the expected files, every name agreeing on one application
# id, icons of the sizes their folders say, and both validators content.
#   packaging_check_tree ROOT PREFIX APP_ID EXECUTABLE ICON_SIZE...
packaging_check_tree() {
    local root=$1 prefix=$2 app_id=$3 executable=$4
    shift 4
    local base=$root$prefix
    local expected actual
    expected=$(packaging_installed_files "$app_id" "$executable" "$@")
    actual=$(cd "$root" && find . -type f -o -type l | sed "s|^\.$prefix/||" | LC_ALL=C sort)
    if [ "$expected" != "$actual" ]; then
        diff <(echo "$expected") <(echo "$actual") >&2 || true
        packaging_fail "the installed files are not the expected ones (< expected, > installed)"
    fi

    [ -x "$base/bin/$executable" ] || packaging_fail "bin/$executable is not executable"

    local desktop=$base/share/applications/$app_id.desktop
    desktop-file-validate "$desktop" || packaging_fail "desktop-file-validate rejects $desktop"
    [ "$(packaging_desktop_value "$desktop" Icon)" = "$app_id" ] ||
        packaging_fail "the desktop entry's Icon is not $app_id"
    [ "$(packaging_desktop_value "$desktop" Exec)" = "$executable" ] ||
        packaging_fail "the desktop entry's Exec is not $executable"
    [ "$(packaging_desktop_value "$desktop" TryExec)" = "$executable" ] ||
        packaging_fail "the desktop entry's TryExec is not $executable"
    [ "$(packaging_desktop_value "$desktop" StartupWMClass)" = "$executable" ] ||
        packaging_fail "the desktop entry's StartupWMClass is not the window class $executable"

    local metainfo=$base/share/metainfo/$app_id.metainfo.xml
    grep -q "<id>$app_id</id>" "$metainfo" || packaging_fail "the metainfo's id is not $app_id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        packaging_fail "the metainfo does not launch $app_id.desktop"
    grep -q "<binary>$executable</binary>" "$metainfo" ||
        packaging_fail "the metainfo does not provide the binary $executable"
    grep -Eq '<screenshot type="default">' "$metainfo" || packaging_fail "the metainfo has no screenshot"
    grep -Eq '<release version="[^"]+" date="[0-9]{4}-[0-9]{2}-[0-9]{2}"' "$metainfo" ||
        packaging_fail "the metainfo has no dated release"
    appstreamcli validate --no-net --strict "$metainfo" ||
        packaging_fail "appstreamcli validate rejects $metainfo"
    # The tree as a whole: the metainfo's desktop entry is there and agrees.
    appstreamcli validate-tree --no-net --strict "$root" ||
        packaging_fail "appstreamcli validate-tree rejects $root"

    local size
    for size in "$@"; do
        [ "$(packaging_png_size "$base/share/icons/hicolor/${size}x$size/apps/$app_id.png")" = \
            "$size $size" ] || packaging_fail "the ${size}x$size icon is not $size pixels square"
    done
    grep -q '<svg' "$base/share/icons/hicolor/scalable/apps/$app_id.svg" ||
        packaging_fail "the scalable icon is no SVG"
}
