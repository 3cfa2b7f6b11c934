#!/usr/bin/env bash
# Grabs copied faster than the two-second tick are all saved, in the order copied, each under its
# own number, and the clipboard is emptied once, after the last: pressing the grab key twice
# quickly loses nothing.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
for n in 0 1 2 3 4 5 6 7; do "$probe" make "$E2E_ROOT/grab$n.png" $((64 + n)) 48; done
e2e_start "$tallowin"
for n in 0 1 2 3 4 5 6 7; do
  e2e_grab "$E2E_ROOT/grab$n.png"
  sleep 0.3
done
E2E_WAIT=10 e2e_wait_for test -s scrn007.jpg || e2e_fail "not every grab was saved: $(e2e_files)"
for n in 0 1 2 3 4 5 6 7; do
  [ "$("$probe" size "scrn00$n.jpg")" = "$((64 + n)) 48" ] || e2e_fail "scrn00$n.jpg is not grab $n"
done
sleep 3  # another tick
[ "$(e2e_files)" = "scrn000.jpg scrn001.jpg scrn002.jpg scrn003.jpg scrn004.jpg scrn005.jpg scrn006.jpg scrn007.jpg " ] ||
  e2e_fail "each grab once was expected, found: $(e2e_files)"
e2e_not_owned || e2e_fail "the clipboard still holds the last grab"
echo "quick_grabs: ok"
