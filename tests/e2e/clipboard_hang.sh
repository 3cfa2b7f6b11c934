#!/usr/bin/env bash
# A grabbing program that stops answering stalls a tick for at most one clipboard time-out; the
# program goes on, and the grab lands once its owner answers again.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
"$probe" make "$E2E_ROOT/grab.png" 200 100

e2e_start "$tallowin"
xclip -quiet -selection clipboard -t image/png -i "$E2E_ROOT/grab.png" &
owner=$!
E2E_PIDS+=($owner)
# Freeze the owner as soon as it holds the clipboard, before a tick can read it.
owner_answers() { [ -n "$(timeout 1 xclip -selection clipboard -o -t TARGETS 2>/dev/null)" ]; }
e2e_wait_for owner_answers || e2e_fail "xclip did not take the clipboard"
kill -STOP "$owner"

sleep 9
kill -0 "$E2E_APP" 2>/dev/null || e2e_fail "the program ended while the clipboard owner hung"
[ -e scrn000.jpg ] && e2e_fail "a file appeared although the owner never answered"
# The window still answers between ticks: its title can be read and it can be moved.
xdotool windowmove "$E2E_WINDOW" 30 30
moved() { [ "$(xdotool getwindowgeometry "$E2E_WINDOW" | awk '/Position/ {print $2}')" = "30,30" ]; }
E2E_WAIT=7 e2e_wait_for moved || e2e_fail "the window did not follow a move while the owner hung"

kill -CONT "$owner"
E2E_WAIT=10 e2e_wait_for test -s scrn000.jpg || e2e_fail "the grab was not saved once its owner answered again"
"$probe" near scrn000.jpg 200 100 3 || e2e_fail "scrn000.jpg does not show the grab"
echo "clipboard_hang: ok"
