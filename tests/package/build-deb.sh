#!/usr/bin/env bash
# build-deb.sh <cpack> <CPackConfig.cmake> <out folder> <version>
# Makes the package afresh into <out folder>, as `make package` does in the build folder, and
# checks its file name: tallowin_<version>_<architecture>.deb.
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
cpack=$1 config=$2 out=$3 version=$4
rm -rf "$out"
need dpkg-deb dpkg-shlibdeps dpkg
"$cpack" -G DEB --config "$config" -B "$out" || fail "cpack could not make the package"
deb=$(the_deb "$out")
expected="tallowin_${version}_$(dpkg --print-architecture).deb"
[ "$(basename "$deb")" = "$expected" ] || fail "package is named $(basename "$deb"), expected $expected"
echo "made $deb"
