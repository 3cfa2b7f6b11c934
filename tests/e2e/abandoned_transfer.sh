#!/usr/bin/env bash
# A new grab copied while a big incremental transfer is still arriving is saved, and so are the
# grabs after it, while the old owner goes on sending the pieces of the transfer that was given up
# on (as xclip does): those pieces never pass for the new owner's answer.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
E2E_TOOLS=$(dirname "$probe")
e2e_setup
"$probe" screen "$E2E_ROOT/big.png" 3840 2160
for n in 0 1 2 3; do "$probe" make "$E2E_ROOT/grab$n.png" $((64 + n)) 48; done

e2e_start "$tallowin"
# A screenshot of some 3 MB in pieces of 64 KB, 50 ms apart: the transfer is well under way when the
# next grab comes, a second later.
e2e_owner --chunk 65536 --delay 50 --keep-sending "$E2E_ROOT/big.png"
sleep 1
for n in 0 1 2 3; do
  e2e_grab "$E2E_ROOT/grab$n.png"
  E2E_WAIT=7 e2e_wait_for test -s "scrn00$n.jpg" || e2e_fail "grab $n was not saved while the old owner sent on"
  [ "$("$probe" size "scrn00$n.jpg")" = "$((64 + n)) 48" ] || e2e_fail "scrn00$n.jpg is not grab $n"
done
kill -0 "$E2E_OWNER" 2>/dev/null || e2e_fail "the old owner ended before the grabs were checked"
echo "abandoned_transfer: ok"
