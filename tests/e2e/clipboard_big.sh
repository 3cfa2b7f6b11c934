#!/usr/bin/env bash
# Pictures beyond the toolkit's own image limit are saved, up to what a bitmap holds; beyond that
# the notice says so once, with the picture's size, and the clipboard keeps it.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
E2E_TOOLS=$(dirname "$probe")
e2e_setup
"$probe" make "$E2E_ROOT/three-5k-screens.png" 15360 2880
# A PNG whose header states 20000 x 20000 (400 million pixels), with a length that could hold them.
"$probe" make "$E2E_ROOT/small.png" 2 2
{
  head -c 16 "$E2E_ROOT/small.png"
  printf '\x00\x00\x4e\x20\x00\x00\x4e\x20'
  tail -c +25 "$E2E_ROOT/small.png" | head -c 9
  head -c 1300000 /dev/zero
  tail -c 12 "$E2E_ROOT/small.png"
} >"$E2E_ROOT/too-large.png"

e2e_start "$tallowin"
e2e_owner --chunk 1048576 "$E2E_ROOT/three-5k-screens.png"
E2E_WAIT=150 e2e_wait_for test -s scrn000.jpg || e2e_fail "the 15360 x 2880 grab was not saved"
[ "$("$probe" size scrn000.jpg)" = "15360 2880" ] || e2e_fail "scrn000.jpg is $("$probe" size scrn000.jpg)"

e2e_owner --chunk 1048576 "$E2E_ROOT/too-large.png"
E2E_WAIT=10 e2e_wait_for grep -q "20000 x 20000" "$E2E_LOG" || e2e_fail "no notice of the picture's size"
sleep 5  # two more ticks
[ "$(grep -c "20000 x 20000" "$E2E_LOG")" = 1 ] || e2e_fail "the notice came more than once"
[ "$(e2e_files)" = "scrn000.jpg " ] || e2e_fail "files: $(e2e_files)"
e2e_clipboard_targets | grep -qx image/png || e2e_fail "the picture too large was taken off the clipboard"
echo "clipboard_big: ok"
