#!/usr/bin/env bash
# Grabs put on the clipboard by another program become numbered files within one timer period;
# a grab that cannot be saved stays on the clipboard until it can.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
"$probe" make "$E2E_ROOT/wide.png" 301 157
"$probe" make "$E2E_ROOT/tall.png" 120 203

offers_image() { e2e_clipboard_targets | grep -q '^image/'; }
clipboard_empty() { [ -z "$(e2e_clipboard_targets)" ]; }

e2e_start "$tallowin"

# A JPEG, upright and with its colours, and the clipboard emptied.
e2e_grab "$E2E_ROOT/wide.png"
E2E_WAIT=4.5 e2e_wait_for test -s scrn000.jpg || e2e_fail "no scrn000.jpg within 4.5 s"
"$probe" near scrn000.jpg 301 157 3 || e2e_fail "scrn000.jpg does not show the grab"
E2E_WAIT=2 e2e_wait_for clipboard_empty || e2e_fail "the clipboard still holds the grab"

# "BMP" chosen by a click: every pixel kept.
e2e_click "$E2E_WINDOW" 115 102
e2e_grab "$E2E_ROOT/tall.png"
E2E_WAIT=4.5 e2e_wait_for test -s scrn001.bmp || e2e_fail "no scrn001.bmp within 4.5 s"
"$probe" same scrn001.bmp "$E2E_ROOT/tall.png" || e2e_fail "scrn001.bmp differs from the grab"

# A folder that does not exist yet: the grab waits on the clipboard and lands once it exists.
e2e_click "$E2E_WINDOW" 80 30
xdotool key --window "$E2E_WINDOW" ctrl+a
xdotool type --window "$E2E_WINDOW" --delay 20 'C:\later'
e2e_grab "$E2E_ROOT/wide.png"
sleep 4.5
[ -e later ] && e2e_fail "a folder was made for the grab"
offers_image || e2e_fail "the grab left the clipboard although it was not saved"
grep -q "Run-time error '76'" "$E2E_LOG" || e2e_fail "the failed save was not reported"
mkdir later
E2E_WAIT=4.5 e2e_wait_for test -s later/scrn002.bmp || e2e_fail "the kept grab was not saved once the folder existed"
"$probe" same later/scrn002.bmp "$E2E_ROOT/wide.png" || e2e_fail "later/scrn002.bmp differs from the grab"
E2E_WAIT=2 e2e_wait_for clipboard_empty || e2e_fail "the clipboard still holds the saved grab"

# Exit keeps the folder and the next number; the next run saves JPEG again.
e2e_click "$E2E_WINDOW" 196 76
e2e_wait_exit || e2e_fail "Exit did not end the program"
grep -q '^"003"' Tallowin.INI || { cat Tallowin.INI >&2; e2e_fail "the number shown after three grabs is not 003"; }
e2e_start "$tallowin"
e2e_grab "$E2E_ROOT/tall.png"
E2E_WAIT=4.5 e2e_wait_for test -s later/scrn003.jpg || e2e_fail "the second run did not save later/scrn003.jpg"
echo "capture: ok"
