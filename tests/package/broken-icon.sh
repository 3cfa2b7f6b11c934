#!/usr/bin/env bash
# broken-icon.sh <cmake> <generator> <data folder>
# A broken or missing icon source stops the build, not the user's menu: a throw-away project
# holding a copy of data/ builds with the real icon, then fails with a broken one, fails again on
# the next build (no half-written PNG is taken as up to date), and refuses to configure without it.
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
cmake=$1 generator=$2 data=$3
need rsvg-convert

src="$work/src" build="$work/build"
mkdir -p "$src"
cp -r "$data" "$src/data"
cat >"$src/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(IconCheck VERSION 0.1.0 LANGUAGES CXX)
include(GNUInstallDirs)
find_package(Qt6 REQUIRED COMPONENTS Core)
set(CMAKE_AUTORCC ON)
add_subdirectory(data)
CMAKE
svg="$src/data/icons/tallowin.svg"
png="$build/data/icons/16/tallowin.png"

"$cmake" -S "$src" -B "$build" -G "$generator" >"$work/configure.log" 2>&1 \
    || fail "the copy does not configure: $(cat "$work/configure.log")"
"$cmake" --build "$build" >"$work/build.log" 2>&1 || fail "the real icon does not build: $(cat "$work/build.log")"
[ -s "$png" ] || fail "the build made no 16px icon"

broken_sources=(
    '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256"><rect x="0" y='
    ''
    'not a picture'
)
for broken in "${broken_sources[@]}"; do
    printf '%s' "$broken" >"$svg"
    for attempt in first second; do
        if "$cmake" --build "$build" >"$work/build.log" 2>&1; then
            fail "the $attempt build after breaking the icon source ('$broken') succeeded"
        fi
        [ ! -e "$png" ] || fail "a PNG is left from the broken source ('$broken', $attempt build)"
    done
done

rm "$svg"
if "$cmake" -S "$src" -B "$build" >"$work/configure.log" 2>&1; then
    fail "the project configures without its icon source"
fi
grep -q "icon.*is missing" "$work/configure.log" || fail "configuring without the icon says: $(cat "$work/configure.log")"
echo "broken and missing icon sources stop the build"
