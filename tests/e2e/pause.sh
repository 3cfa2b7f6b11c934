#!/usr/bin/env bash
# Pausing from the command line: while paused a picture copied for another program is neither
# read nor saved nor emptied, the window's title says so, and the picture survives the resume; the
# grab after the resume gets the next number. --status tells the state, the target, the next file
# and the count, and a paused state is not kept for the next start.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
E2E_TOOLS=$(dirname "$probe")
e2e_setup
for n in 1 2 3; do "$probe" make "$E2E_ROOT/grab$n.png" $((60 + n)) 40; done

# status <expected exit status>: the running copy's answer in $answer.
status() {
  local want=$1 got=0
  shift
  answer=$(timeout 15 "$tallowin" "$@" 2>"$E2E_ROOT/err") || got=$?
  [ "$got" = "$want" ] || e2e_fail "tallowin $* ended with $got, not $want: $answer $(cat "$E2E_ROOT/err")"
}
offers_image() { e2e_clipboard_targets | grep -q '^image/'; }

e2e_start "$tallowin"
status 0 --status
[ "$answer" = "watching; target C:\\ ($HOME); next file scrn000.jpg; 0 grabs saved" ] ||
  e2e_fail "the first status reads: $answer"
e2e_grab "$E2E_ROOT/grab1.png"
E2E_WAIT=4.5 e2e_wait_for test -s scrn000.jpg || e2e_fail "no scrn000.jpg before the pause"

status 0 --pause
[ "$answer" = "paused; target C:\\ ($HOME); next file scrn001.jpg; 1 grab saved" ] ||
  e2e_fail "--pause answered: $answer"
e2e_wait_window '^Tallowin \(paused\)$' >/dev/null || e2e_fail "the title does not say paused"
status 0 --pause  # pausing again changes nothing
[[ $answer == paused\;* ]] || e2e_fail "a second --pause answered: $answer"

# Copied while paused: the owner is asked nothing at all, and nothing is saved or emptied.
e2e_owner --tell-requests "$E2E_ROOT/grab2.png"
sleep 4.5
[ ! -s "$E2E_OWNER_OUT" ] || e2e_fail "the paused program asked the owner: $(cat "$E2E_OWNER_OUT")"
[ "$(e2e_files)" = "scrn000.jpg " ] || e2e_fail "a grab was saved while paused: $(e2e_files)"
offers_image || e2e_fail "the picture copied while paused left the clipboard"

# Resumed: the picture there now stays, and is never saved.
status 0 --toggle
[ "$answer" = "watching; target C:\\ ($HOME); next file scrn001.jpg; 1 grab saved" ] ||
  e2e_fail "--toggle answered: $answer"
e2e_wait_window '^Tallowin$' >/dev/null || e2e_fail "the title still says paused"
sleep 4.5
[ "$(e2e_files)" = "scrn000.jpg " ] || e2e_fail "the picture there at the resume was saved: $(e2e_files)"
offers_image || e2e_fail "the picture there at the resume left the clipboard"
kill -0 "$E2E_OWNER" 2>/dev/null || e2e_fail "the owner of that picture lost the clipboard"

# The next grab after the resume: the next number, and the clipboard emptied.
e2e_grab "$E2E_ROOT/grab3.png"
E2E_WAIT=4.5 e2e_wait_for test -s scrn001.jpg || e2e_fail "the grab after the resume was not saved"
"$probe" near scrn001.jpg 63 40 3 || e2e_fail "scrn001.jpg is not the grab after the resume"
E2E_WAIT=2 e2e_wait_for e2e_not_owned || e2e_fail "the grab after the resume stayed on the clipboard"
status 0 --resume  # resuming while watching changes nothing
[ "$answer" = "watching; target C:\\ ($HOME); next file scrn002.jpg; 2 grabs saved" ] ||
  e2e_fail "the last status reads: $answer"

# A line too long to be a command is not answered, and a client that sends nothing is let go of:
# neither holds up the window.
# (The socket lies beside the lock the program holds open.)
lock=$(for fd in /proc/"$E2E_APP"/fd/*; do readlink "$fd"; done | grep '/tallowin-.*\.lock$' | head -1) || true
socket=${lock%.lock}.socket
[ -S "$socket" ] || e2e_fail "no command socket was found"
# client <line>: what the running copy does with it: its answer, "closed" or "kept waiting".
client() {
  timeout 20 /usr/bin/python3 -c '
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.connect(sys.argv[1])
if sys.argv[2]:
    s.sendall(sys.argv[2].encode() + b"\n")
s.settimeout(10)
try:
    print(s.recv(200).decode().strip() or "closed")
except socket.timeout:
    print("kept waiting")
except OSError:
    print("closed")' "$socket" "$1"
}
e2e_watch_pings 4
[ "$(client "$(head -c 5000 /dev/zero | tr '\0' x)")" = closed ] || e2e_fail "an over-long line was not refused"
[ "$(client "")" = closed ] || e2e_fail "a client that sends nothing was kept waiting"
e2e_pings_answered
[[ $(client status) == watching\;* ]] || e2e_fail "a plain client was not answered"

# Paused at EXIT: the next start watches.
status 0 --pause
e2e_click "$E2E_WINDOW" 196 76  # EXIT
e2e_wait_exit || e2e_fail "EXIT did not end the program"
e2e_start "$tallowin"
status 0 --status
[[ $answer == watching\;*"next file scrn002.jpg; 0 grabs saved" ]] || e2e_fail "the next start reads: $answer"
echo "pause: ok"
