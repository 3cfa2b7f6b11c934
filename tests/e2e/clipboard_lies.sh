#!/usr/bin/env bash
# Bitmaps whose headers promise more than their bytes hold are no pictures: nothing is written, the
# clipboard keeps them, the window answers every ping. An owner whose incremental transfer announces
# a wrong size is read for what it sends.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
E2E_TOOLS=$(dirname "$probe")
e2e_setup
"$probe" make "$E2E_ROOT/huge.bmp" 4000 4000
head -c 200 "$E2E_ROOT/huge.bmp" >"$E2E_ROOT/claims-4000x4000.bmp"
"$probe" make "$E2E_ROOT/vga.bmp" 640 480
head -c $((54 + 640 * 480 * 3 / 3)) "$E2E_ROOT/vga.bmp" >"$E2E_ROOT/a-third.bmp"
"$probe" make "$E2E_ROOT/grab10.png" 400 300
"$probe" make "$E2E_ROOT/grab4000000000.png" 300 400

e2e_start "$tallowin"
for lie in claims-4000x4000.bmp a-third.bmp; do
  e2e_watch_pings 4.5  # two ticks
  e2e_owner --type image/bmp "$E2E_ROOT/$lie"
  e2e_pings_answered
  [ -z "$(e2e_files)" ] || e2e_fail "$lie was saved: $(e2e_files)"
  e2e_clipboard_targets | grep -qx image/bmp || e2e_fail "$lie was taken off the clipboard"
  kill "$E2E_OWNER"
done

n=0
for claim in 10 4000000000; do
  e2e_owner --chunk 4096 --claim "$claim" "$E2E_ROOT/grab$claim.png"
  E2E_WAIT=10 e2e_wait_for test -s scrn00$n.jpg || e2e_fail "a grab announced as $claim bytes was not saved"
  n=$((n + 1))
done
"$probe" near scrn000.jpg 400 300 3 || e2e_fail "scrn000.jpg does not show the grab"
"$probe" near scrn001.jpg 300 400 3 || e2e_fail "scrn001.jpg does not show the grab"
echo "clipboard_lies: ok"
