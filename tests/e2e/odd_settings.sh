#!/usr/bin/env bash
# A settings file that is no regular file, or far larger than settings are, counts as unreadable:
# the program starts at once with the defaults and saves grabs as usual. A FIFO must not hold the
# start up (every later start would then find the first "already running"), a link to a device
# must not be read for ever, and a file of gigabytes must not be read into memory.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
"$probe" make "$E2E_ROOT/small.png" 40 30

# try <what>: starts the program over the settings file as it stands; its window must come at once
# and a grab be saved; the program is then killed, so that no settings are written over the file.
try() {
  local started
  started=$(date +%s%N)
  e2e_start "$tallowin"
  [ $(( ($(date +%s%N) - started) / 1000000 )) -lt 5000 ] || e2e_fail "$1: the window took more than 5 s"
  rm -f scrn000.jpg
  e2e_grab "$E2E_ROOT/small.png"
  E2E_WAIT=10 e2e_wait_for test -s scrn000.jpg || e2e_fail "$1: no grab was saved"
  kill -KILL "$E2E_APP"
  wait "$E2E_APP" 2>/dev/null || true
}

mkfifo Tallowin.INI
try "a FIFO"
rm Tallowin.INI
ln -s /dev/zero Tallowin.INI
try "a link to /dev/zero"
rm Tallowin.INI
truncate -s 2G Tallowin.INI
try "a file of 2 GB"
rm Tallowin.INI
echo "odd_settings: ok"
