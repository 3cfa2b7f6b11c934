#!/usr/bin/env bash
# Start-up empties the clipboard; Exit saves the window's place and the three fields, and the next
# start shows them again.
source "$(dirname "$0")/lib.sh"
tallowin=$1
e2e_setup

# Text on the clipboard before start-up is gone after it.
clipboard_taken() { [ -n "$(e2e_clipboard_targets)" ]; }
clipboard_empty() { [ -z "$(e2e_clipboard_targets)" ]; }
echo "copied text" | xclip -quiet -selection clipboard -i &
E2E_PIDS+=($!)
e2e_wait_for clipboard_taken || e2e_fail "xclip did not take the clipboard"
e2e_start "$tallowin"
E2E_WAIT=5 e2e_wait_for clipboard_empty || e2e_fail "the clipboard still holds text after start-up"
[ -e Tallowin.INI ] && e2e_fail "a settings file was written without Exit"

# Change the name prefix and the number, move the window, and press Exit.
xdotool windowmove "$E2E_WINDOW" 40 60
e2e_click "$E2E_WINDOW" 40 72        # Text2 (name)
xdotool key --window "$E2E_WINDOW" ctrl+a
xdotool type --window "$E2E_WINDOW" --delay 20 "shot, one"
e2e_click "$E2E_WINDOW" 130 72       # Text3 (number)
xdotool key --window "$E2E_WINDOW" ctrl+a
xdotool type --window "$E2E_WINDOW" --delay 20 "041"
e2e_click "$E2E_WINDOW" 115 102      # Option2 ("BMP")
sleep 0.3
e2e_click "$E2E_WINDOW" 196 76       # Exit
e2e_wait_exit || e2e_fail "Exit did not end the program"

expected=$(printf '600\r\n900\r\n"C:\\"\r\n"shot, one"\r\n"041"\r\n')
[ "$(cat Tallowin.INI)" = "$expected" ] || { od -c Tallowin.INI >&2; e2e_fail "the settings file is not as expected"; }

# A second start shows them again: Exit straight away writes the same file.
e2e_start "$tallowin"
pos=$(xdotool getwindowgeometry "$E2E_WINDOW" | awk '/Position/ {print $2}')
[ "$pos" = "40,60" ] || e2e_fail "the window came back at $pos, not 40,60"
e2e_click "$E2E_WINDOW" 196 76
e2e_wait_exit || e2e_fail "Exit did not end the program the second time"
[ "$(cat Tallowin.INI)" = "$expected" ] || e2e_fail "the second run did not restore the fields"
echo "shell: ok"
