#!/usr/bin/env bash
# An owner that dies in the middle of a transfer leaves no file and no frozen window; the next grab
# takes the number that was not used.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
E2E_TOOLS=$(dirname "$probe")
e2e_setup
"$probe" make "$E2E_ROOT/grab.bmp" 1280 720
"$probe" make "$E2E_ROOT/next.png" 320 240

e2e_start "$tallowin"
e2e_watch_pings 4.5
e2e_owner --type image/bmp --chunk 65536 --delay 20 --die-after 1000000 "$E2E_ROOT/grab.bmp"
e2e_pings_answered
e2e_not_running_owner() { ! kill -0 "$E2E_OWNER" 2>/dev/null; }
e2e_wait_for e2e_not_running_owner || e2e_fail "the owner did not die"
sleep 2.5  # one more tick
[ -z "$(e2e_files)" ] || e2e_fail "a grab cut short was saved: $(e2e_files)"
[ -z "$(e2e_clipboard_targets)" ] || e2e_fail "the clipboard still holds something"

e2e_owner "$E2E_ROOT/next.png"
E2E_WAIT=10 e2e_wait_for test -s scrn000.jpg || e2e_fail "the grab after the dead owner was not saved"
"$probe" near scrn000.jpg 320 240 3 || e2e_fail "scrn000.jpg does not show the next grab"
echo "clipboard_dies: ok"
