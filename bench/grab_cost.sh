#!/usr/bin/env bash
# What one 4K grab costs the real program: Tallowin runs under Xvfb, xclip offers a 3840 x 2160
# screen grab (bench/ScreenshotPicture.h) as image/png and then as image/bmp, saved as JPEG, then as
# image/png again with "PNG" chosen (a whole PNG grab: decode, our PNG writer), and the program's own
# CPU time (all its threads, from /proc/<pid>/task) is read around each grab, after warm-up grabs.
# The floor, one copy and tjCompress2 of the same pixels (4:2:0, quality 90, BGR bottom-up), is timed
# in the same run (before, between and after the grabs), and each cost is printed as a ratio of it.
# Idle ticks are measured too: the program's CPU over ten seconds with nothing new offered.
#   bench/grab_cost.sh [BUILD_FOLDER]      (GRABS=8 WARMUP=2 by default; TALLOWIN="prog1 prog2"
#                                          measures other builds of the program, one after another)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
grabs=${GRABS:-8}
warmup=${WARMUP:-2}
source "$root/tests/e2e/lib.sh"
e2e_setup
shot="$E2E_ROOT/shot"
"$build/tests/e2e/imgprobe" screen "$shot.png" 3840 2160
"$build/tests/e2e/imgprobe" screen "$shot.bmp" 3840 2160
printf 'picture: 3840 x 2160, %d bytes as PNG, %d as BMP\n' "$(stat -c %s "$shot.png")" "$(stat -c %s "$shot.bmp")"

# The program's CPU time so far in milliseconds: the run time of each of its threads in
# nanoseconds (/proc/<pid>/task/*/schedstat; /proc/<pid>/stat counts in 10 ms ticks, too coarse for
# one grab). A thread that ends takes its time with it, so the threads are counted as well: the
# program's (interface, clipboard reader, the toolkit's) live as long as it does.
cpu_ms() { cat /proc/"$E2E_APP"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.1f\n", s / 1e6 }'; }
threads() { ls /proc/"$E2E_APP"/task | wc -l; }
saved() { find . -maxdepth 1 -name 'scrn*' | wc -l; }
more_saved_than() { [ "$(saved)" -gt "$1" ]; }
clipboard_empty() { [ -z "$(e2e_clipboard_targets)" ]; }
floor() { floors+=("$("$build/bench/grab_floor" "$shot.png" 9)"); }
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Grabs the picture offered as $1 again and again; prints each measured grab's CPU in ms.
grab_series() {
  local type=$1 file=$2 i before after files
  for i in $(seq 1 $((warmup + grabs))); do
    files=$(saved)
    before=$(cpu_ms)
    e2e_grab "$file" "$type"
    E2E_WAIT=10 e2e_wait_for more_saved_than "$files" || e2e_fail "grab $i as $type not saved"
    E2E_WAIT=5 e2e_wait_for clipboard_empty || e2e_fail "the clipboard was not emptied"
    sleep 0.5  # the rest of the tick: preview, number, emptying
    after=$(cpu_ms)
    [ "$i" -gt "$warmup" ] && echo "$after $before" | awk '{ printf "%.1f\n", $1 - $2 }'
    # The same picture copied again within 5 s of our emptying would count as put back.
    sleep 5
  done
}
report() {  # $1 name, $2 the CPU times of the grabs, $3 the floor
  local med mean lo hi
  med=$(echo "$2" | median)
  mean=$(echo "$2" | tr ' ' '\n' | awk 'NF { s += $1; n++ } END { printf "%.1f", s / n }')
  lo=$(echo "$2" | tr ' ' '\n' | awk 'NF' | sort -n | head -1)
  hi=$(echo "$2" | tr ' ' '\n' | awk 'NF' | sort -n | tail -1)
  printf '  %-10s %3d grabs: CPU per grab %s-%s ms, median %s, mean %s; ratio to the floor: median %.2f, mean %.2f\n' \
    "$1" "$grabs" "$lo" "$hi" "$med" "$mean" "$(echo "$med $3" | awk '{ print $1 / $2 }')" \
    "$(echo "$mean $3" | awk '{ print $1 / $2 }')"
}

# Each program in turn (TALLOWIN may name several, to compare builds in one run), with the floor
# timed before, between and after its grabs.
for program in ${TALLOWIN:-$build/tallowin}; do
  rm -f scrn*
  e2e_start "$program"
  sleep 2
  threads_before=$(threads)
  idle_before=$(cpu_ms)
  sleep 10
  idle_after=$(cpu_ms)

  floors=()
  floor
  png=$(grab_series image/png "$shot.png" | tr '\n' ' ')
  floor
  bmp=$(grab_series image/bmp "$shot.bmp" | tr '\n' ' ')
  floor
  e2e_click "$E2E_WINDOW" 171 102  # "PNG"
  pngout=$(grab_series image/png "$shot.png" | tr '\n' ' ')
  floor
  floor_ms=$(echo "${floors[*]}" | median)

  echo "$program:"
  printf '  floor (copy + tjCompress2 4:2:0 q90): %s ms (runs: %s)\n' "$floor_ms" "${floors[*]}"
  report "image/png" "$png" "$floor_ms"
  report "image/bmp" "$bmp" "$floor_ms"
  report "png->.png" "$pngout" "$floor_ms"
  printf '  idle: %s ms of CPU in 10 s (5 ticks)\n' "$(echo "$idle_after $idle_before" | awk '{ printf "%.1f", $1 - $2 }')"
  printf '  threads: %s at the start, %s at the end\n' "$threads_before" "$(threads)"
  printf '  load average while measuring: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
  kill "$E2E_APP"
  wait "$E2E_APP" 2>/dev/null || true
done
