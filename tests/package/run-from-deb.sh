#!/usr/bin/env bash
# run-from-deb.sh <deb folder> <app id>
# The program as the package ships it, unpacked into a temporary root and started under its own
# Xvfb with a temporary HOME (also the current folder, as when started from the menu): its window
# appears with its icon set and a window class the desktop entry matches, and a picture put on
# the clipboard by another program is saved as ~/scrn000.jpg.
# shellcheck source=tests/package/common.sh
. "$(dirname "$0")/common.sh"
need dpkg-deb Xvfb xdotool xprop xclip file
deb=$(the_deb "$1") id=$2

root="$work/root" home="$work/home" runtime="$work/run"
mkdir -p "$home" "$runtime"
chmod 700 "$runtime"
dpkg-deb -x "$deb" "$root"

# wait_for <seconds> <command>...: true once the command succeeds, false when time runs out.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 10 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
display=":$(head -n1 "$work/display")"

(cd "$home" && exec env -i PATH="$PATH" DISPLAY="$display" HOME="$home" \
    XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb "$root/usr/bin/tallowin") >"$work/app.log" 2>&1 &
app=$!
pids+=("$app")

x() { DISPLAY="$display" "$@"; }
find_window() { window=$(x xdotool search --onlyvisible --name '^Tallowin$' 2>/dev/null | head -n1) && [ -n "$window" ]; }
wait_for 10 find_window || fail "no window named Tallowin appeared; the program said:
$(cat "$work/app.log")"

# _NET_WM_ICON as plain numbers: width, height, then width*height ARGB pixels, per icon.
icon=$(x xprop -id "$window" -notype -f _NET_WM_ICON 32c _NET_WM_ICON)
sizes=$(tr -d ' ' <<<"${icon#*=}" | tr ',' '\n' | awk '
    NF == 0 { next }
    left == 0 { if (w == "") { w = $1; next } h = $1; left = w * h; seen = 0; next }
    { left--; if (int($1 / 16777216) > 0) seen = 1; if (left == 0) { print w "x" h, seen; w = "" } }')
[ -n "$sizes" ] || fail "the window has no icon: $icon"
grep -qx '32x32 1' <<<"$sizes" || fail "the window has no visible 32x32 icon; icons: ${sizes//$'\n'/, }"

wm_class=$(x xprop -id "$window" -notype WM_CLASS)
startup_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$id.desktop")
if [ -n "$startup_class" ]; then
    grep -q "\"$startup_class\"" <<<"$wm_class" \
        || fail "the desktop entry expects window class $startup_class, the window has $wm_class"
fi

# A grab: another program offers a PNG on the clipboard, as screen-grab tools do.
(exec env DISPLAY="$display" xclip -quiet -selection clipboard -t image/png \
    -i "$root/usr/share/icons/hicolor/256x256/apps/$id.png") >/dev/null 2>&1 &
pids+=($!)
wait_for 6 test -s "$home/scrn000.jpg" || fail "no ~/scrn000.jpg within 6 s; the program said:
$(cat "$work/app.log")"
kind=$(file -b "$home/scrn000.jpg")
grep -q '^JPEG image data.*256x256' <<<"$kind" || fail "$home/scrn000.jpg is not a 256x256 JPEG: $kind"
kill -0 "$app" 2>/dev/null || fail "the program ended during the run"
echo "ran from the package: window $window, icons ${sizes//$'\n'/, }, grab saved"
