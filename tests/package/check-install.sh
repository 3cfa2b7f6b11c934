#!/usr/bin/env bash
# check-install.sh <cmake> <build folder> <app id> <icon sizes>...
# `cmake --install` (what `make install` runs) puts every file under DESTDIR and the chosen
# prefix and nowhere else.
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
cmake=$1 build=$2 id=$3
shift 3

DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /opt/tallowin >"$work/install.log" 2>&1 \
    || fail "the installation failed: $(cat "$work/install.log")"
actual=$(cd "$work/stage" && find . -type f | sort)
wanted=$(expected_files ./opt/tallowin "$id" "$@")
[ "$actual" = "$wanted" ] || fail "installed files differ from the expected list:
$(diff <(echo "$wanted") <(echo "$actual") || true)"
echo "installed under DESTDIR and the prefix"
