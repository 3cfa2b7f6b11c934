#!/usr/bin/env bash
# What one 4K grab costs the real program: Tallowin runs under Xvfb, xclip offers a 3840 x 2160
# screen grab (bench/ScreenshotPicture.h) as image/png and then as image/bmp, and the program's own
# CPU time (all its threads, from /proc/<pid>/task) is read around each grab, after warm-up grabs.
# The floor, one copy and tjCompress2 of the same pixels (4:2:0, quality 90, BGR bottom-up), is timed
# in the same run (before, between and after the grabs), and each cost is printed as a ratio of it.
# Idle ticks are measured too: the program's CPU over ten seconds with nothing new offered.
#   bench/grab_cost.sh [BUILD_FOLDER]      (GRABS=8 WARMUP=2 by default; TALLOWIN=program to
#                                          measure another build of the program on the same floor)
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

e2e_start "${TALLOWIN:-$build/tallowin}"
# The program's CPU time so far in milliseconds: the run time of each of its threads in
# nanoseconds (/proc/<pid>/task/*/schedstat; /proc/<pid>/stat counts in 10 ms ticks, too coarse for
# one grab). A thread that ends takes its time with it, so the threads are counted as well: the
# program's (interface, clipboard reader, the toolkit's) live as long as it does.
cpu_ms() { cat /proc/"$E2E_APP"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.1f\n", s / 1e6 }'; }
threads() { ls /proc/"$E2E_APP"/task | wc -l; }
clipboard_empty() { [ -z "$(e2e_clipboard_targets)" ]; }
floors=()
floor() { floors+=("$("$build/bench/grab_floor" "$shot.png" 9)"); }
median() { tr ' ' '\n' | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Grabs the picture offered as $1 again and again; prints each measured grab's CPU in ms.
grab_series() {
  local type=$1 file=$2 n=0 i before after name
  for i in $(seq 1 $((warmup + grabs))); do
    name=$(printf 'scrn%03d.jpg' "$E2E_NEXT")
    before=$(cpu_ms)
    e2e_grab "$file" "$type"
    E2E_WAIT=10 e2e_wait_for test -s "$name" || e2e_fail "no $name"
    E2E_WAIT=5 e2e_wait_for clipboard_empty || e2e_fail "the clipboard was not emptied"
    sleep 0.5  # the rest of the tick: preview, number, emptying
    after=$(cpu_ms)
    E2E_NEXT=$((E2E_NEXT + 1))
    [ "$i" -gt "$warmup" ] && echo "$after $before" | awk '{ printf "%.1f\n", $1 - $2 }'
    # The same picture copied again within 5 s of our emptying would count as put back.
    sleep 5
  done
}
E2E_NEXT=0

sleep 2
threads_before=$(threads)
idle_before=$(cpu_ms)
sleep 10
idle_after=$(cpu_ms)

floor
png=$(grab_series image/png "$shot.png" | tr '\n' ' ')
floor
bmp=$(grab_series image/bmp "$shot.bmp" | tr '\n' ' ')
floor

floor_ms=$(echo "${floors[*]}" | median)
report() {  # $1 name, $2 the CPU times of the grabs
  local med mean lo hi
  med=$(echo "$2" | median)
  mean=$(echo "$2" | tr ' ' '\n' | awk 'NF { s += $1; n++ } END { printf "%.1f", s / n }')
  lo=$(echo "$2" | tr ' ' '\n' | awk 'NF' | sort -n | head -1)
  hi=$(echo "$2" | tr ' ' '\n' | awk 'NF' | sort -n | tail -1)
  printf '%-12s %3d grabs: CPU per grab %s-%s ms, median %s, mean %s; ratio to the floor: median %.2f, mean %.2f\n' \
    "$1" "$grabs" "$lo" "$hi" "$med" "$mean" "$(echo "$med $floor_ms" | awk '{ print $1 / $2 }')" \
    "$(echo "$mean $floor_ms" | awk '{ print $1 / $2 }')"
}
printf 'floor (copy + tjCompress2 4:2:0 q90): %s ms (runs: %s)\n' "$floor_ms" "${floors[*]}"
report "image/png" "$png"
report "image/bmp" "$bmp"
printf 'idle: %s ms of CPU in 10 s (5 ticks)\n' "$(echo "$idle_after $idle_before" | awk '{ printf "%.1f", $1 - $2 }')"
printf 'threads: %s at the start, %s at the end\n' "$threads_before" "$(threads)"
printf 'load average while measuring: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
