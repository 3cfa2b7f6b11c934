#!/usr/bin/env bash
# At screen scale 2 the preview is drawn at the screen's own pixels, not at half of them and
# blown up: within the preview, neighbouring screen pixels differ as the grab's detail does, while
# a preview drawn at the lower resolution shows every pixel twice in each direction.
source "$(dirname "$0")/lib.sh"
tallowin=$1
probe=$2
e2e_setup
"$probe" make "$E2E_ROOT/grab.png" 640 400

QT_SCALE_FACTOR=2 e2e_start "$tallowin"
e2e_grab "$E2E_ROOT/grab.png"
E2E_WAIT=4.5 e2e_wait_for test -s scrn000.jpg || e2e_fail "no scrn000.jpg within 4.5 s"
sleep 0.5
e2e_screenshot "$E2E_WINDOW" "$E2E_ROOT/window.png"

# A part well inside the fitted preview (the box starts at 8, 128 and is 217 pixels wide; a 16:10
# grab fills its width), in screen pixels at scale 2.
uniform=$(pngtopnm "$E2E_ROOT/window.png" | pnmcut -left 60 -top 380 -width 320 -height 180 | pnmtoplainpnm \
  | tr -s ' \n' '\n\n' | awk '
    NR == 2 { w = $1; next } NR == 3 { h = $1; next } NR <= 4 { next }
    { i = NR - 5; p = int(i / 3); x = p % w; y = int(p / w); v[y, x] = v[y, x] "," $1 }
    END {
      for (y = 0; y + 1 < h; y += 2) for (x = 0; x + 1 < w; x += 2) {
        blocks++
        if (v[y, x] == v[y, x + 1] && v[y, x] == v[y + 1, x] && v[y, x] == v[y + 1, x + 1]) same++
      }
      print int(100 * same / blocks)
    }')
[ "$uniform" -lt 50 ] || e2e_fail "$uniform% of the preview's 2x2 pixel blocks are one colour: drawn at half resolution"
echo "sharp_preview: ok ($uniform% uniform blocks)"
