#!/usr/bin/env bash
# The tray icon as a desktop's panel sees it over D-Bus: it registers with the StatusNotifierWatcher,
# shows its state in its tooltip and icon, a click on it pauses and resumes, and its menu does what
# it says, Exit as the EXIT button (the settings are written). Runs in a private session bus with a
# stand-in for the panel (tray_watcher.py). Without a panel the program runs as before (pause.sh).
source "$(dirname "$0")/lib.sh"
tallowin=$1
here=$(cd "$(dirname "$0")" && pwd)
e2e_private_bus "$@"
e2e_setup

/usr/bin/python3 "$here/tray_watcher.py" "$E2E_ROOT/watching" "$tallowin" &
panel=$!
E2E_PIDS+=($panel)
E2E_WAIT=30 e2e_wait_for test -e "$E2E_ROOT/watching" || e2e_fail "the panel's stand-in did not start"

e2e_start "$tallowin"
wait "$panel" || e2e_fail "the panel did not see the tray icon so"
e2e_wait_exit || e2e_fail "Exit in the tray menu did not end the program"
[ -s Tallowin.INI ] || e2e_fail "Exit in the tray menu did not write the settings"
echo "tray: ok"
