#!/usr/bin/env bash
# A second start on the same display brings the running window to the front and ends, leaving
# the clipboard and the settings file alone; the first copy goes on saving grabs alone.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
for n in 000 001 002; do "$probe" make "$E2E_ROOT/grab$n.png" $((64 + ${n#00})) 48; done

e2e_start "$tallowin"
first=$E2E_APP

# Another window on top of ours, and text on the clipboard (which a capture leaves alone).
xlogo -geometry 400x400+0+0 &
E2E_PIDS+=($!)
logo=$(e2e_wait_window '^xlogo$') || e2e_fail "xlogo did not appear"
# Whether window $1 is stacked above window $2 (xwininfo lists the root's children top down).
above() {
  xwininfo -root -children | awk -v a="$(printf '0x%x' "$1")" -v b="$(printf '0x%x' "$2")" \
    '$1 == a { print "yes"; exit } $1 == b { print "no"; exit }' | grep -q yes
}
raised() { above "$E2E_WINDOW" "$logo"; }
covered() { above "$logo" "$E2E_WINDOW"; }
e2e_wait_for covered || e2e_fail "xlogo is not above the main window"
echo "copied text" | xclip -quiet -selection clipboard -i &
E2E_PIDS+=($!)
has_text() { e2e_clipboard_targets | grep -q UTF8_STRING; }
e2e_wait_for has_text || e2e_fail "xclip did not take the clipboard"

# The second start, from another folder that holds its own settings file.
mkdir elsewhere
printf '0\r\n0\r\n"C:\\elsewhere"\r\n"other"\r\n"500"\r\n' >elsewhere/Tallowin.INI
touch -d '2020-01-01 12:00' elsewhere/Tallowin.INI
before=$(stat -c '%s %Y' elsewhere/Tallowin.INI)
(cd elsewhere && exec "$tallowin") >"$E2E_ROOT/second.log" 2>&1 &
second=$!
E2E_PIDS+=($second)
second_ended() { ! kill -0 "$second" 2>/dev/null; }
E2E_WAIT=10 e2e_wait_for second_ended || e2e_fail "the second copy did not end"
wait "$second" || e2e_fail "the second copy ended with a failure"
grep -q "already running" "$E2E_ROOT/second.log" || e2e_fail "the second copy did not say why it ended"
kill -0 "$first" 2>/dev/null || e2e_fail "the first copy ended"
has_text || e2e_fail "the second copy touched the clipboard"
[ "$(stat -c '%s %Y' elsewhere/Tallowin.INI)" = "$before" ] || e2e_fail "the second copy touched the settings file"
[ "$(xdotool search --onlyvisible --name '^Tallowin$' | wc -l)" = 1 ] || e2e_fail "two main windows are shown"
e2e_wait_for raised || e2e_fail "the running window was not brought to the front"

# However the second copy is started, it finds the first: the display spelled otherwise, no runtime
# folder in the environment (su, cron, sudo -u), or a folder in /tmp that another user made first.
if [ "$(id -u)" = 0 ] && [ ! -e /tmp/tallowin-0 ]; then
  mkdir /tmp/tallowin-0 && chown nobody /tmp/tallowin-0
  trap 'rmdir /tmp/tallowin-0 2>/dev/null; e2e_cleanup' EXIT
fi
number=${DISPLAY#:}
for how in "DISPLAY=unix:$number" "DISPLAY=:$number.0" "XDG_RUNTIME_DIR=" "-u XDG_RUNTIME_DIR"; do
  # Debian 13's X libraries (libxcb 1.17) open no "unix:N": a spelling that no X program can open
  # here is no way to start a second copy.
  # shellcheck disable=SC2086
  if [[ $how == DISPLAY=* ]] && ! env $how xdpyinfo >/dev/null 2>&1; then
    echo "not tried: $how, which no X program opens here"
    continue
  fi
  # shellcheck disable=SC2086
  (cd elsewhere && exec env $how "$tallowin") >"$E2E_ROOT/other.log" 2>&1 &
  other=$!
  E2E_PIDS+=($other)
  other_ended() { ! kill -0 "$other" 2>/dev/null; }
  E2E_WAIT=10 e2e_wait_for other_ended || e2e_fail "a copy started with $how did not end"
  grep -q "already running" "$E2E_ROOT/other.log" || e2e_fail "a copy started with $how did not find the first"
done

# Grabs still land, one file each, from the first copy.
# Three different pictures: the same one again at once would count as put back by a clipboard manager.
for n in 000 001 002; do
  e2e_grab "$E2E_ROOT/grab$n.png"
  E2E_WAIT=4.5 e2e_wait_for test -s "scrn$n.jpg" || e2e_fail "no scrn$n.jpg"
done
[ "$(ls elsewhere)" = Tallowin.INI ] || e2e_fail "files went to the second copy's folder"

# Once the first copy is gone, a new start runs.
kill "$first"
wait "$first" 2>/dev/null || true
e2e_start "$tallowin"
echo "single_copy: ok"
