#!/usr/bin/env bash
# A link that another user planted in a sticky folder everybody may write (as /tmp) is not followed:
# the grab is not saved through it (the save fails with "Permission denied"), it stays on the clipboard, and the file
# the link points to keeps its bytes; the same for the settings file written at EXIT. The user's
# own links there are followed as before. Needs a second user: run as root (skipped otherwise).
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
[ "$(id -u)" = 0 ] || { echo "planted_links: skipped, needs root to act as a second user"; exit 77; }
e2e_setup
"$probe" make "$E2E_ROOT/small.png" 40 30
"$probe" make "$E2E_ROOT/other.png" 30 40  # not the one just saved: no put-back
as_other() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
chmod 711 "$E2E_ROOT"  # the other user reaches the shared folder, and nothing else

# The shared folder, and the victim's files outside it.
shared="$E2E_ROOT/shared"
mkdir -m 1777 "$shared"
echo "my notes" >"$HOME/notes.txt"
echo "system file" >"$E2E_ROOT/system.conf"
as_other ln -s "$HOME/notes.txt" "$shared/scrn000.jpg"
as_other ln -s "$E2E_ROOT/system.conf" "$shared/Tallowin.INI"
ln -s "$HOME/mine.jpg" "$shared/scrn001.jpg"  # the user's own link
printf '0\r\n0\r\n"%s"\r\n"scrn"\r\n"000"\r\n' "$shared" >Tallowin.INI

offers_image() { e2e_clipboard_targets | grep -q '^image/'; }
e2e_start "$tallowin"
e2e_grab "$E2E_ROOT/small.png"
# The JPEG writer's own error, with the system's reason.
E2E_WAIT=10 e2e_wait_for grep -q "scrn000.jpg: Permission denied" "$E2E_LOG" || e2e_fail "the planted link was not refused"
[ "$(cat "$HOME/notes.txt")" = "my notes" ] || e2e_fail "the file behind the planted link was overwritten"
offers_image || e2e_fail "the grab left the clipboard though it was not saved"

# The planted link gone, the grab lands as scrn000.jpg, and the next one through the user's own link.
as_other rm "$shared/scrn000.jpg"
E2E_WAIT=10 e2e_wait_for test -s "$shared/scrn000.jpg" || e2e_fail "the grab was not saved after the link went"
e2e_grab "$E2E_ROOT/other.png"
E2E_WAIT=10 e2e_wait_for test -s "$HOME/mine.jpg" || e2e_fail "the user's own link was not followed"
[ -L "$shared/scrn001.jpg" ] || e2e_fail "the user's own link was replaced by a file"

# Settings: started in the shared folder, where another user planted Tallowin.INI.
kill "$E2E_APP"
wait "$E2E_APP" 2>/dev/null || true
cd "$shared"
e2e_start "$tallowin"
e2e_click "$E2E_WINDOW" 196 76  # EXIT
E2E_WAIT=10 e2e_wait_for grep -q "Run-time error '70'" "$E2E_LOG" || e2e_fail "EXIT did not refuse the planted link"
[ "$(cat "$E2E_ROOT/system.conf")" = "system file" ] || e2e_fail "the settings went through the planted link"
echo "planted_links: ok"
