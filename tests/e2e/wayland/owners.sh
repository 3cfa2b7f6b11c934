#!/usr/bin/env bash
# Through data-control (under sway), clipboard owners that misbehave get the same treatment as on
# X11: one that stops sending is given up on and the window goes on answering, a slow one that keeps
# moving is waited for, a cut-short picture is no picture and stays on the clipboard.
# Arguments: the program, the image probe, the helper that misbehaves (wlowner), the ping watcher;
# the helpers side by side.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
wlowner=$3
E2E_TOOLS=$(dirname "$4")
wl_session sway "$@"

"$probe" make "$E2E_ROOT/big.png" 1600 1200
"$probe" make "$E2E_ROOT/small.png" 300 200
tick=4.5

# Starts the misbehaving owner ($1) with picture $2; OWNER is its process id.
own() {
  "$wlowner" "$1" "$2" >"$E2E_ROOT/owner.log" 2>&1 &
  OWNER=$!
  E2E_PIDS+=($OWNER)
  E2E_WAIT=5 e2e_wait_for grep -q ready "$E2E_ROOT/owner.log" || wl_fail "the owner did not take the clipboard"
}

e2e_start "$tallowin"
wl_focus_away

# An owner that stops sending: no file, the window answers throughout, the next grab is saved.
own hang "$E2E_ROOT/big.png"
e2e_watch_pings 8
e2e_pings_answered
ls scrn* 2>/dev/null && wl_fail "a hung transfer became a file"
wl_copy "$E2E_ROOT/small.png"
E2E_WAIT=$tick e2e_wait_for test -s scrn000.jpg || wl_fail "the grab after a hung owner was not saved"
"$probe" near scrn000.jpg 300 200 3 || e2e_fail "scrn000.jpg does not show the grab"
wait "$OWNER" 2>/dev/null || true

# A slow owner that keeps sending: saved whole.
own slow "$E2E_ROOT/big.png"
E2E_WAIT=12 e2e_wait_for test -s scrn001.jpg || wl_fail "a slow but moving transfer was not saved"
"$probe" near scrn001.jpg 1600 1200 3 || e2e_fail "scrn001.jpg does not show the whole grab"
E2E_WAIT=$tick e2e_wait_for wl_offers_nothing || wl_fail "the slow owner's grab stayed on the clipboard"

# A cut-short picture: no file, and it stays on the clipboard.
own short "$E2E_ROOT/big.png"
sleep "$tick"
ls scrn002.* 2>/dev/null && wl_fail "a cut-short picture became a file"
wl_types | grep -qx image/png || wl_fail "the cut-short picture was taken off the clipboard"
echo "wayland owners: ok"
