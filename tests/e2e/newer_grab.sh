#!/usr/bin/env bash
# A grab that arrives while the last one is being saved is not emptied with it.
source "$(dirname "$0")/lib.sh"
probe=$2
clipprobe="$(dirname "$probe")/clipprobe"
e2e_setup
"$probe" make "$E2E_ROOT/a.png" 120 80
"$probe" make "$E2E_ROOT/b.png" 90 60
"$clipprobe" newer-grab "$E2E_ROOT/a.png" "$E2E_ROOT/b.png" || e2e_fail "clipprobe failed"
