#!/usr/bin/env bash
# A bitmap sent slowly in incremental pieces is saved once whole, the window answers every ping
# meanwhile, and a property set on our clipboard window by another program (as KWin does on every
# new window) neither disturbs the transfer nor makes a grab be saved twice.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
E2E_TOOLS=$(dirname "$probe")
e2e_setup
"$probe" make "$E2E_ROOT/grab.bmp" 1920 1080
"$probe" make "$E2E_ROOT/second.png" 300 200
foreign() {
  xprop -id "$(e2e_clipboard_window)" -f _KDE_NET_WM_USER_CREATION_TIME 32c \
    -set _KDE_NET_WM_USER_CREATION_TIME "$1" || e2e_fail "could not set a property on the clipboard window"
}

e2e_start "$tallowin"
foreign 1  # before any grab, as a window manager does at once
# About 100 pieces, 4 s or more. The pings end before the transfer does: the capture that follows
# is the window's own work, not a wait on the owner.
e2e_owner --type image/bmp --chunk 65536 --delay 40 "$E2E_ROOT/grab.bmp"
e2e_watch_pings 3
sleep 1
foreign 2  # in the middle of the transfer
e2e_pings_answered
E2E_WAIT=30 e2e_wait_for test -s scrn000.jpg || e2e_fail "the slowly sent bitmap was not saved"
"$probe" near scrn000.jpg 1920 1080 3 || e2e_fail "scrn000.jpg does not show the whole bitmap"
E2E_WAIT=5 e2e_wait_for e2e_not_owned || e2e_fail "the clipboard was not emptied after the capture"

foreign 3  # between two captures
e2e_owner "$E2E_ROOT/second.png"
E2E_WAIT=10 e2e_wait_for test -s scrn001.jpg || e2e_fail "the second grab was not saved"
sleep 5  # two more ticks
[ "$(e2e_files)" = "scrn000.jpg scrn001.jpg " ] || e2e_fail "each grab once was expected, found: $(e2e_files)"
echo "clipboard_slow: ok"
