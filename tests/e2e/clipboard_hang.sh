#!/usr/bin/env bash
# A clipboard owner that never answers freezes nothing: the window answers every ping, no file
# appears, EXIT acts, and the owner is given up on until the clipboard changes.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
E2E_TOOLS=$(dirname "$probe")
e2e_setup
"$probe" make "$E2E_ROOT/grab.png" 200 100

e2e_start "$tallowin"
e2e_owner --hang "$E2E_ROOT/grab.png"
hung=$E2E_OWNER
e2e_watch_pings 12  # six ticks, and the reader's 5-s patience twice over
e2e_pings_answered
kill -0 "$E2E_APP" 2>/dev/null || e2e_fail "the program ended while the clipboard owner hung"
[ -z "$(e2e_files)" ] || e2e_fail "a file appeared although the owner never answered: $(e2e_files)"

# A new grab is read at once, though the hung owner is still running.
e2e_owner "$E2E_ROOT/grab.png"
E2E_WAIT=10 e2e_wait_for test -s scrn000.jpg || e2e_fail "a grab after the hung owner was not saved"
"$probe" near scrn000.jpg 200 100 3 || e2e_fail "scrn000.jpg does not show the grab"
kill -0 "$hung" || e2e_fail "the hung owner went away"

# EXIT acts while a hung owner holds the clipboard.
e2e_owner --hang "$E2E_ROOT/grab.png"
sleep 3
e2e_click "$E2E_WINDOW" 196 76
e2e_wait_exit || e2e_fail "EXIT did not end the program while the clipboard owner hung"
echo "clipboard_hang: ok"
