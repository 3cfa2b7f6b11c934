#!/usr/bin/env bash
# A JPEG cut short, with an end mark put after what is left, is no picture: nothing is saved (no
# grey rows) and the clipboard keeps it. A whole JPEG is saved as before. A grab wider than a JPEG
# can be says why it cannot be saved as JPG, and what can hold it.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
"$probe" make "$E2E_ROOT/photo.jpg" 400 300
size=$(stat -c %s "$E2E_ROOT/photo.jpg")
{ head -c $((size * 6 / 10)) "$E2E_ROOT/photo.jpg"; printf '\xff\xd9'; } >"$E2E_ROOT/cut.jpg"
"$probe" make "$E2E_ROOT/wide.png" 70000 8

offers_jpeg() { e2e_clipboard_targets | grep -qx image/jpeg; }
e2e_start "$tallowin"
e2e_grab "$E2E_ROOT/cut.jpg" image/jpeg
e2e_wait_for offers_jpeg || e2e_fail "xclip did not offer the JPEG"
sleep 5  # two ticks
[ -z "$(e2e_files)" ] || e2e_fail "a JPEG cut short was saved: $(e2e_files)"
offers_jpeg || e2e_fail "the JPEG cut short left the clipboard"

e2e_grab "$E2E_ROOT/photo.jpg" image/jpeg
E2E_WAIT=10 e2e_wait_for test -s scrn000.jpg || e2e_fail "the whole JPEG was not saved"
"$probe" near scrn000.jpg 400 300 4 || e2e_fail "scrn000.jpg does not show the whole JPEG"

e2e_grab "$E2E_ROOT/wide.png"
E2E_WAIT=10 e2e_wait_for grep -q "65,535 pixels a side; choose PNG or BMP" "$E2E_LOG" ||
  e2e_fail "the notice does not say why a 70000-pixel-wide grab is not saved as JPG"
[ "$(e2e_files)" = "scrn000.jpg " ] || e2e_fail "files: $(e2e_files)"
echo "whole_or_none: ok"
