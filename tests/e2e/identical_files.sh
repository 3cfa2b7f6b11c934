#!/usr/bin/env bash
# A grab offered as PNG or as a bitmap file becomes the same JPEG and bitmap file, byte for byte,
# as the toolkit's decode of that picture encoded as the JPEG writer does (quality 90, 4:2:0).
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
# An odd width, so every row of the bitmap file has filler bytes.
"$probe" screen "$E2E_ROOT/grab.png" 1366 768
"$probe" screen "$E2E_ROOT/grab.bmp" 1366 768
"$probe" expected "$E2E_ROOT/grab.png" "$E2E_ROOT/expected.jpg" "$E2E_ROOT/expected.bmp"

e2e_start "$tallowin"
expect_file() {  # $1 the file the grab must become, $2 the file it must equal
  E2E_WAIT=6 e2e_wait_for test -s "$1" || e2e_fail "no $1"
  cmp -s "$1" "$2" || e2e_fail "$1 differs from $(basename "$2")"
  # The same picture copied again within 5 s of the emptying would count as put back.
  sleep 5
}

e2e_grab "$E2E_ROOT/grab.png" image/png
expect_file scrn000.jpg "$E2E_ROOT/expected.jpg"
e2e_grab "$E2E_ROOT/grab.bmp" image/bmp
expect_file scrn001.jpg "$E2E_ROOT/expected.jpg"

e2e_click "$E2E_WINDOW" 115 102  # "BMP"
e2e_grab "$E2E_ROOT/grab.png" image/png
expect_file scrn002.bmp "$E2E_ROOT/expected.bmp"
e2e_grab "$E2E_ROOT/grab.bmp" image/bmp
expect_file scrn003.bmp "$E2E_ROOT/expected.bmp"
echo "identical files: ok"
