#!/usr/bin/env bash
# A minute after a big grab the program is back within 10 MB of its size at start: the picture kept
# for the put-back rule, the fetched bytes, the PNG decoder's joined image data and the pixel blocks
# all go back to the system once the grabs stop.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
"$probe" make "$E2E_ROOT/big.png" 7680 4320

rss_kb() { awk '/^VmRSS:/ { print $2 }' /proc/"$E2E_APP"/status; }
e2e_start "$tallowin"
sleep 3  # the start settled
before=$(rss_kb)
e2e_grab "$E2E_ROOT/big.png"
E2E_WAIT=60 e2e_wait_for test -s scrn000.jpg || e2e_fail "the 7680 x 4320 grab was not saved"
during=$(rss_kb)
sleep 65  # the idle release comes a minute after the last grab
after=$(rss_kb)
echo "memory_back: RSS at start ${before} kB, after the grab ${during} kB, a minute later ${after} kB"
[ $((after - before)) -lt 10240 ] || e2e_fail "a minute after the grab the program holds $(((after - before) / 1024)) MB more than at start"
echo "memory_back: ok"
