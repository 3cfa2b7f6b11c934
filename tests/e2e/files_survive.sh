#!/usr/bin/env bash
# Files survive a kill at any moment of a big save: the earlier file stays whole (or the new one is
# whole) and nothing else is left beside it; stale temporary files of ours go at the next start; and
# a 248-byte prefix, the longest the file system takes with a number and ".jpg", saves.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
"$probe" make "$E2E_ROOT/earlier.png" 7680 4320
"$probe" make "$E2E_ROOT/new.png" 7000 4100
"$probe" make "$E2E_ROOT/small.png" 64 48

settings() { printf '0\r\n0\r\n"C:\\shots"\r\n"%s"\r\n"000"\r\n' "$1" >Tallowin.INI; }
mkdir shots
only_ours() { [ "$(LC_ALL=C ls -A shots)" = "$1" ]; }

# The earlier file, saved whole.
settings scrn
e2e_start "$tallowin"
e2e_click "$E2E_WINDOW" 115 102  # BMP
e2e_grab "$E2E_ROOT/earlier.png"
E2E_WAIT=20 e2e_wait_for test -s shots/scrn000.bmp || e2e_fail "the earlier file was not saved"
E2E_WAIT=15 e2e_wait_for test "$(e2e_clipboard_targets)" = "" || e2e_fail "the clipboard kept the grab"
kill "$E2E_APP"
wait "$E2E_APP" 2>/dev/null || true
earlier=$(md5sum <shots/scrn000.bmp)

# Killed at random moments of the next save of the same name.
for round in 1 2 3 4 5; do
  settings scrn
  e2e_start "$tallowin"
  e2e_click "$E2E_WINDOW" 115 102
  e2e_grab "$E2E_ROOT/new.png"
  sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", 0.3 + r % 2700 / 1000 }')"
  kill -9 "$E2E_APP"
  wait "$E2E_APP" 2>/dev/null || true
  only_ours scrn000.bmp || e2e_fail "round $round left $(ls -A shots | tr '\n' ' ')"
  if [ "$(md5sum <shots/scrn000.bmp)" != "$earlier" ]; then
    "$probe" same shots/scrn000.bmp "$E2E_ROOT/new.png" || e2e_fail "round $round left scrn000.bmp broken"
    echo "round $round: killed after the new file was in place"
    earlier=$(md5sum <shots/scrn000.bmp)
  fi
done

# Temporary files a killed run of ours left (on a file system without nameless files) are gone
# after the next start, in the settings and the target folder; the user's own files that look like
# temporary names (backups, a synchroniser's partial files) stay, whatever their name.
touch shots/.tallowin-4194305-Zz9Yy8 .tallowin-4194305-Aa1Bb2
touch shots/.holiday.jpg.backup shots/.scan.bmp.orig01 shots/.scrn000.bmp.AbC123 shots/.notes.txt.AbC123
touch .Tallowin.INI.backup .Tallowin.INI.q1w2e3
settings scrn
e2e_start "$tallowin"
e2e_wait_for only_ours "$(printf '.holiday.jpg.backup\n.notes.txt.AbC123\n.scan.bmp.orig01\n.scrn000.bmp.AbC123\nscrn000.bmp')" ||
  e2e_fail "stale files stayed or the user's went: $(ls -A shots | tr '\n' ' ')"
[ -e .tallowin-4194305-Aa1Bb2 ] && e2e_fail "the stale file beside the settings stayed"
[ -e .Tallowin.INI.backup ] && [ -e .Tallowin.INI.q1w2e3 ] || e2e_fail "the user's files beside the settings went"
kill "$E2E_APP"
wait "$E2E_APP" 2>/dev/null || true

# The longest prefix: 248 bytes, and 81 three-byte characters (243 bytes).
for prefix in "$(printf 'n%.0s' $(seq 248))" "$(printf '写%.0s' $(seq 81))"; do
  settings "$prefix"
  e2e_start "$tallowin"
  e2e_grab "$E2E_ROOT/small.png"
  E2E_WAIT=10 e2e_wait_for test -s "shots/${prefix}000.jpg" || e2e_fail "no file for a ${#prefix}-character prefix"
  grep -q "Run-time error" "$E2E_LOG" && e2e_fail "an error was reported for a long prefix"
  kill "$E2E_APP"
  wait "$E2E_APP" 2>/dev/null || true
done
echo "files_survive: ok"
