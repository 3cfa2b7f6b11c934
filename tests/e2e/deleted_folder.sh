#!/usr/bin/env bash
# Started from a folder that no longer exists, the program starts with the defaults, says once
# why, captures into the default target, and EXIT reports that the settings cannot go there.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
"$probe" make "$E2E_ROOT/grab.png" 64 48

mkdir gone
(cd gone && rmdir "$HOME/gone" && exec "$tallowin") >"$E2E_LOG" 2>&1 &
E2E_APP=$!
E2E_PIDS+=($E2E_APP)
e2e_wait_window '^Tallowin$' >/dev/null || e2e_fail "the main window did not appear"

said_why() { grep -q "Run-time error '76'.*gone: No such file or directory" "$E2E_LOG"; }
e2e_wait_for said_why || e2e_fail "the start did not say why the settings are the defaults"

# The default target C:\ is the home folder.
e2e_grab "$E2E_ROOT/grab.png"
E2E_WAIT=4.5 e2e_wait_for test -s scrn000.jpg || e2e_fail "no capture after a start from a removed folder"
"$probe" same scrn000.jpg "$E2E_ROOT/grab.png" 2>/dev/null || "$probe" size scrn000.jpg | grep -qx "64 48" ||
  e2e_fail "scrn000.jpg is not the grab"
[ "$(grep -c "Run-time error '76'" "$E2E_LOG")" = 1 ] || e2e_fail "the reason was said more than once"

# The saved grab closed the notice, so the one window left is the main window.
one_window() { [ "$(xdotool search --onlyvisible --name '^Tallowin$' | wc -l)" = 1 ]; }
e2e_wait_for one_window || e2e_fail "the notice stayed after a grab was saved"
E2E_WINDOW=$(e2e_wait_window '^Tallowin$')
e2e_click "$E2E_WINDOW" 196 76  # EXIT
cannot_store() { grep -q "gone/Tallowin.INI: No such file or directory" "$E2E_LOG"; }
e2e_wait_for cannot_store || e2e_fail "EXIT did not say the settings cannot be written there"
kill -0 "$E2E_APP" 2>/dev/null || e2e_fail "the program ended although the settings were not saved"
[ -e Tallowin.INI ] && e2e_fail "the settings went somewhere else"
echo "deleted_folder: ok"
