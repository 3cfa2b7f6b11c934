#!/usr/bin/env bash
# The command line is read before anything else: --help, -h and --version answer and end with 0,
# opening no window and leaving the clipboard alone; the commands to a running copy, with none
# running, say so and end with 3, starting none; anything else shows the usage and ends with 2. Without a display the program says so in one line and ends with 1, not with the toolkit's
# abort.
source "$(dirname "$0")/lib.sh"
tallowin=$1
e2e_setup

out="$E2E_ROOT/out" err="$E2E_ROOT/err"
# run <expected status> <arguments>...: runs the program with its output caught.
run() {
  local want=$1 status=0
  shift
  timeout 10 "$tallowin" "$@" >"$out" 2>"$err" || status=$?
  [ "$status" = "$want" ] || e2e_fail "tallowin $* ended with $status, not $want; it said: $(cat "$out" "$err")"
}
lines() { wc -l <"$1"; }

# Text copied before: none of the answers may take it.
echo "copied text" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
E2E_PIDS+=($!)
clipboard_holds_text() { [ "$(timeout 5 xclip -selection clipboard -o 2>/dev/null)" = "copied text" ]; }
e2e_wait_for clipboard_holds_text || e2e_fail "xclip did not take the clipboard"

for help in --help -h; do
  run 0 "$help"
  head -n1 "$out" | grep -q '^Usage: tallowin ' || e2e_fail "$help shows no usage line: $(cat "$out")"
  for option in --version --pause --resume --toggle --status; do
    grep -q -- "$option" "$out" || e2e_fail "$help does not list $option"
  done
  [ ! -s "$err" ] || e2e_fail "$help wrote to standard error: $(cat "$err")"
done
run 0 --version
grep -Eqx 'tallowin [0-9]+\.[0-9]+\.[0-9]+' <(head -n1 "$out") || e2e_fail "--version shows: $(cat "$out")"
run 0 --version --bogus   # the first argument decides

for wrong in --bogus -x --help=yes -help somefolder -; do
  run 2 "$wrong"
  [ ! -s "$out" ] || e2e_fail "'$wrong' wrote to standard output: $(cat "$out")"
  grep -qF "'$wrong'" "$err" || e2e_fail "the complaint about '$wrong' does not name it: $(cat "$err")"
  grep -q '^Usage: tallowin ' "$err" || e2e_fail "'$wrong' does not show the usage: $(cat "$err")"
done

for command in --pause --resume --toggle --status; do
  run 3 "$command"
  [ ! -s "$out" ] || e2e_fail "$command wrote to standard output: $(cat "$out")"
  grep -q 'not running' "$err" || e2e_fail "$command does not say that Tallowin is not running: $(cat "$err")"
done
run 2 --pause --resume
grep -q '^Usage: tallowin ' "$err" || e2e_fail "a command with more after it does not show the usage"

clipboard_holds_text || e2e_fail "the clipboard lost the copied text"
[ -z "$(xdotool search --name '^Tallowin' 2>/dev/null)" ] || e2e_fail "a window was opened"
[ ! -e Tallowin.INI ] || e2e_fail "a settings file was written"

# No display: one line that names the cause, status 1. (The arguments of no_display are for env:
# its -u options first, then the variables set.)
free=900
while [ -e "/tmp/.X11-unix/X$free" ] || [ -e "/tmp/.X$free-lock" ]; do free=$((free + 1)); done
no_display() {
  local what=$1
  shift
  status=0
  env -u QT_QPA_PLATFORM "$@" timeout 10 "$tallowin" >"$out" 2>"$err" || status=$?
  [ "$status" = 1 ] || e2e_fail "$what: ended with $status, not 1; it said: $(cat "$err")"
  [ "$(lines "$err")" = 1 ] || e2e_fail "$what: not one line: $(cat "$err")"
  grep -q '^tallowin: ' "$err" || e2e_fail "$what: the line does not start with the program's name: $(cat "$err")"
}
no_display "unreachable DISPLAY" -u WAYLAND_DISPLAY DISPLAY=":$free"
grep -qF "':$free'" "$err" || e2e_fail "the line does not name the display :$free: $(cat "$err")"
no_display "no DISPLAY" -u DISPLAY -u WAYLAND_DISPLAY
grep -q 'DISPLAY is not set' "$err" || e2e_fail "the line does not say DISPLAY is not set: $(cat "$err")"
no_display "Wayland only" -u DISPLAY WAYLAND_DISPLAY="wayland-$free"
grep -qF "'wayland-$free'" "$err" || e2e_fail "the line does not name the Wayland display: $(cat "$err")"
no_display "a platform that cannot start" DISPLAY=":$free" QT_QPA_PLATFORM=wayland
grep -q 'QT_QPA_PLATFORM' "$err" || e2e_fail "the line does not name QT_QPA_PLATFORM: $(cat "$err")"
echo "command_line: ok"
