#!/usr/bin/env bash
# What a screen reader hears over AT-SPI: the fields and the drive list are called by their captions,
# and the error notice is spoken as a notification when it shows and again with each new text.
# Runs in a private session bus; skipped (77) only when the accessibility bus cannot start there.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
here=$(cd "$(dirname "$0")" && pwd)
e2e_private_bus "$@"
e2e_setup

# The accessibility bus starts when first asked for; its registry with the first client.
if ! address=$(gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
  --method org.a11y.Bus.GetAddress 2>"$E2E_ROOT/bus.err"); then
  echo "SKIP: the AT-SPI bus cannot start: $(cat "$E2E_ROOT/bus.err")"
  exit 77
fi
address=$(sed -e "s/^('//" -e "s/',)$//" <<<"$address")
if ! gdbus call --address "$address" --dest org.a11y.atspi.Registry --object-path /org/a11y/atspi/registry \
  --method org.freedesktop.DBus.Peer.Ping >/dev/null 2>"$E2E_ROOT/bus.err"; then
  echo "SKIP: the AT-SPI registry cannot start: $(cat "$E2E_ROOT/bus.err")"
  exit 77
fi

# A target folder that does not exist: every grab fails to save and stays on the clipboard.
printf '200\r\n200\r\n"C:\\later"\r\n"scrn"\r\n"000"\r\n' >Tallowin.INI
"$probe" make "$E2E_ROOT/grab.png" 64 48

/usr/bin/python3 "$here/screen_reader.py" "$E2E_ROOT/listening" "$E2E_ROOT/window" &
listener=$!
E2E_PIDS+=($listener)
E2E_WAIT=60 e2e_wait_for test -e "$E2E_ROOT/listening" || e2e_fail "the listener did not start"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 e2e_start "$tallowin"
echo "$E2E_WINDOW" >"$E2E_ROOT/window"
e2e_grab "$E2E_ROOT/grab.png"
wait "$listener" || e2e_fail "a screen reader would not hear it so"
[ ! -e later ] || e2e_fail "a folder was made for the grab"
echo "screen_reader: ok"
