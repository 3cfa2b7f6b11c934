#!/usr/bin/env bash
# A grab far larger than a screen (15000 x 15000) is written while the window goes on answering the
# window manager within 100 ms; the number advances only once the file is whole, and EXIT pressed
# while it is written takes effect after it, so the settings keep the advanced number.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
E2E_TOOLS=$(dirname "$probe")
e2e_setup
"$probe" make "$E2E_ROOT/huge.png" 15000 15000

# Being written: the program's background thread is there.
writing() { grep -qx background /proc/"$E2E_APP"/task/*/comm 2>/dev/null; }

e2e_start "$tallowin"
e2e_watch_pings 240
e2e_grab "$E2E_ROOT/huge.png"
E2E_WAIT=200 e2e_wait_for writing || e2e_fail "the 15000 x 15000 grab was never written"
e2e_click "$E2E_WINDOW" 196 76  # EXIT, while the file is written
E2E_WAIT=120 e2e_wait_for e2e_not_running || e2e_fail "EXIT pressed during the write did not end the program after it"
e2e_pings_answered now
[ "$("$probe" size scrn000.jpg)" = "15000 15000" ] || e2e_fail "scrn000.jpg is $("$probe" size scrn000.jpg 2>&1)"
"$probe" near scrn000.jpg 15000 15000 3 || e2e_fail "scrn000.jpg is not the grab"
[ -z "$(e2e_clipboard_targets)" ] || e2e_fail "the saved grab was left on the clipboard"
grep -q '^"001"' Tallowin.INI || { cat Tallowin.INI >&2; e2e_fail "EXIT during the write did not keep the next number"; }
echo "big_grab_answers: ok"
