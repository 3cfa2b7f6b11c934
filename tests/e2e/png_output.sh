#!/usr/bin/env bash
# "PNG" chosen with a click: a grab offered as PNG (with transparency, laid over white) and one
# offered as a bitmap file become .png files holding exactly their pixels; an earlier .png keeps its
# times and permissions when replaced; a read-only file or folder keeps the grab on the clipboard
# until it can be saved.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
ro="$HOME/readonly"
mounted=0
trap '[ $mounted -eq 1 ] && umount "$ro"; e2e_cleanup' EXIT
"$probe" translucent "$E2E_ROOT/clear.png" 301 157
"$probe" onwhite "$E2E_ROOT/clear.png" "$E2E_ROOT/clear-on-white.png"
"$probe" screen "$E2E_ROOT/grab.bmp" 1366 768

offers_image() { e2e_clipboard_targets | grep -q '^image/'; }
clipboard_empty() { [ -z "$(e2e_clipboard_targets)" ]; }
is_picture() { "$probe" size "$1" >/dev/null 2>&1; }
saved_as() {  # $1 the file the grab must become, $2 a file with the pixels it must hold
  E2E_WAIT=6 e2e_wait_for is_picture "$1" || e2e_fail "no picture $1"
  "$probe" same "$1" "$2" || e2e_fail "$1 does not hold the grab's pixels"
  E2E_WAIT=2 e2e_wait_for clipboard_empty || e2e_fail "the clipboard still holds the grab saved as $1"
  # The same picture copied again within 5 s of the emptying would count as put back.
  sleep 5
}

# An earlier scrn002.png, written long ago and readable by its owner and group only.
printf 'an earlier picture' >scrn002.png
chmod 640 scrn002.png
touch -d '2001-02-03 04:05:06.123456789' scrn002.png
earlier_times=$(stat -c '%x %y' scrn002.png)
earlier_inode=$(stat -c %i scrn002.png)
replaced() { [ "$(stat -c %i scrn002.png)" != "$earlier_inode" ]; }

e2e_start "$tallowin"
e2e_click "$E2E_WINDOW" 171 102  # "PNG"
e2e_grab "$E2E_ROOT/clear.png" image/png
saved_as scrn000.png "$E2E_ROOT/clear-on-white.png"
e2e_grab "$E2E_ROOT/grab.bmp" image/bmp
saved_as scrn001.png "$E2E_ROOT/grab.bmp"
pngcheck -q scrn000.png scrn001.png || e2e_fail "pngcheck finds fault with the files"

e2e_grab "$E2E_ROOT/grab.bmp" image/bmp
# The times are read before anything reads the new file (reading it would move its access time).
E2E_WAIT=6 e2e_wait_for replaced || e2e_fail "scrn002.png was not replaced"
sleep 0.5
[ "$(stat -c '%x %y' scrn002.png)" = "$earlier_times" ] || e2e_fail "scrn002.png did not keep its times"
saved_as scrn002.png "$E2E_ROOT/grab.bmp"
[ "$(stat -c %a scrn002.png)" = 640 ] || e2e_fail "scrn002.png did not keep its permissions"

# A read-only scrn003.png is not replaced: the grab waits on the clipboard, the number with it.
printf 'keep me' >scrn003.png
chmod 444 scrn003.png
e2e_grab "$E2E_ROOT/clear.png" image/png
sleep 4.5
grep -q "Run-time error '75'" "$E2E_LOG" || e2e_fail "the refused replacement was not reported"
offers_image || e2e_fail "the grab left the clipboard although it was not saved"
[ "$(cat scrn003.png)" = "keep me" ] || e2e_fail "the read-only scrn003.png was replaced"

# A read-only folder (a read-only file system, which binds root as well) keeps it there too.
mkdir "$ro"
if mount -t tmpfs -o size=1m,ro tmpfs "$ro" 2>/dev/null; then
  mounted=1
  e2e_click "$E2E_WINDOW" 80 30
  xdotool key --window "$E2E_WINDOW" ctrl+a
  xdotool type --window "$E2E_WINDOW" --delay 20 'C:\readonly'
  sleep 4.5
  grep -q "Run-time error '26002'" "$E2E_LOG" || e2e_fail "the failed save into the read-only folder was not reported"
  offers_image || e2e_fail "the grab left the clipboard although the folder is read-only"
  e2e_click "$E2E_WINDOW" 80 30
  xdotool key --window "$E2E_WINDOW" ctrl+a
  xdotool type --window "$E2E_WINDOW" --delay 20 'C:\'
else
  echo "no read-only mount here: the read-only folder is not tried"
fi

# Once the file may be replaced, the same grab lands under the number it waited with.
chmod 644 scrn003.png
saved_as scrn003.png "$E2E_ROOT/clear-on-white.png"
echo "png output: ok"
