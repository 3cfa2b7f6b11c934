#!/usr/bin/env bash
# A clipboard manager that puts the last picture back whenever the clipboard is emptied does not
# make it be saved again; a different grab, and the same picture copied again later, are saved.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
E2E_TOOLS=$(dirname "$probe")
e2e_setup
"$probe" make "$E2E_ROOT/grab.png" 200 150
"$probe" make "$E2E_ROOT/other.png" 150 200

e2e_start "$tallowin"
e2e_owner --put-back "$E2E_ROOT/grab.png"
manager_out=$E2E_OWNER_OUT
E2E_WAIT=10 e2e_wait_for test -s scrn000.jpg || e2e_fail "the grab was not saved"
E2E_WAIT=5 e2e_wait_for grep -q "put back" "$manager_out" || e2e_fail "the manager did not put the picture back"
sleep 6  # three ticks
[ "$(e2e_files)" = "scrn000.jpg " ] || e2e_fail "the picture put back was saved again: $(e2e_files)"
e2e_clipboard_targets | grep -qx image/png || e2e_fail "the picture put back was taken off the clipboard"

e2e_owner "$E2E_ROOT/other.png"
E2E_WAIT=10 e2e_wait_for test -s scrn001.jpg || e2e_fail "a different grab after the put-back was not saved"
"$probe" near scrn001.jpg 150 200 3 || e2e_fail "scrn001.jpg does not show the other grab"

sleep 6  # later, the user copies the first picture again
e2e_owner "$E2E_ROOT/grab.png"
E2E_WAIT=10 e2e_wait_for test -s scrn002.jpg || e2e_fail "the same picture copied again later was not saved"
echo "clipboard_put_back: ok"
