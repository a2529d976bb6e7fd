#!/usr/bin/env bash
# cmake --install of the build tree into a scratch folder, then the checks of
# installed_files.sh on it.
#   check_install.sh BUILD_DIR SCRATCH_DIR APP_ID EXECUTABLE ICON_SIZE...
set -euo pipefail
build=$1 scratch=$2
shift 2
source "$(dirname "$0")/installed_files.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
DESTDIR=$scratch/root cmake --install "$build" --prefix /usr >"$scratch/install.log" ||
    { cat "$scratch/install.log" >&2; packaging_fail "cmake --install failed"; }
packaging_check_tree "$scratch/root" /usr "$@"
echo "installed tree: ok"
