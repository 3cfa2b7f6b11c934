# Shared by the end-to-end tests: a private X server, a private home, the program, and cleanup of
# everything started, by process id. Source it, then call e2e_setup.
set -euo pipefail

E2E_PIDS=()
E2E_ROOT=""

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  for pid in "${E2E_PIDS[@]:-}"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
  done
  [ -n "$E2E_ROOT" ] && rm -rf "$E2E_ROOT"
  return 0
}

e2e_fail() {
  echo "FAIL: $*" >&2
  if [ -n "${E2E_LOG:-}" ] && [ -f "$E2E_LOG" ]; then
    echo "--- program output ---" >&2
    cat "$E2E_LOG" >&2
  fi
  exit 1
}

# Runs the calling test script again inside a D-Bus session bus of its own, with a private
# XDG_RUNTIME_DIR (where the session's services put their sockets), removed after; exits with its
# status. Call it first, with the script's arguments; inside the session it returns at once.
e2e_private_bus() {
  [ -n "${E2E_PRIVATE_BUS:-}" ] && return 0
  local runtime status=0
  runtime=$(mktemp -d /tmp/tallowin-e2e-bus-XXXXXX)
  E2E_PRIVATE_BUS=1 XDG_RUNTIME_DIR=$runtime dbus-run-session -- bash "$0" "$@" || status=$?
  rm -rf "$runtime"
  exit $status
}

# A fresh X server on a free display, a temporary HOME (drive C:), cwd and XDG_RUNTIME_DIR.
e2e_setup() {
  trap e2e_cleanup EXIT
  E2E_ROOT=$(mktemp -d /tmp/tallowin-e2e-XXXXXX)
  export HOME="$E2E_ROOT/home"
  export XDG_RUNTIME_DIR="$E2E_ROOT/runtime"
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  cd "$HOME"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  local fifo="$E2E_ROOT/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >"$E2E_ROOT/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  local display
  read -r -t 20 display <"$fifo" || e2e_fail "Xvfb did not start"
  export DISPLAY=":$display"
  E2E_LOG="$E2E_ROOT/tallowin.log"
}

# Starts the program (path in $1) in the current folder and waits for its main window.
e2e_start() {
  "$1" >"$E2E_LOG" 2>&1 &
  E2E_APP=$!
  E2E_PIDS+=($E2E_APP)
  E2E_WINDOW=$(e2e_wait_window '^Tallowin$') || e2e_fail "the main window did not appear"
}

# Prints the id of the window whose name matches $1, waiting up to 10 s.
e2e_wait_window() {
  local i id
  for i in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits until the command in "$@" succeeds, up to E2E_WAIT seconds (default 10, fractions allowed).
e2e_wait_for() {
  local deadline
  deadline=$(( $(date +%s%N) / 1000000 + $(awk "BEGIN { print int(${E2E_WAIT:-10} * 1000) }") ))
  until "$@"; do
    [ $(( $(date +%s%N) / 1000000 )) -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# Clicks at window-relative pixels ($2, $3) of window $1.
e2e_click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Waits for the program to end by itself, up to 10 s.
e2e_wait_exit() {
  E2E_WAIT=10 e2e_wait_for e2e_not_running || return 1
}
e2e_not_running() { ! kill -0 "$E2E_APP" 2>/dev/null; }

# Puts a picture file on the clipboard from another process, the way a grabbing program does.
e2e_grab() {
  xclip -quiet -selection clipboard -t "${2:-image/png}" -i "$1" &
  E2E_PIDS+=($!)
}

# The clipboard's offered formats (empty when nobody owns it).
e2e_clipboard_targets() {
  timeout 5 xclip -selection clipboard -o -t TARGETS 2>/dev/null || true
}

# Saves a PNG screenshot of window $1 (or the whole screen) to $2.
e2e_screenshot() {
  local target=(-root)
  [ "$1" != root ] && target=(-id "$1")
  xwd -silent "${target[@]}" | xwdtopnm 2>/dev/null | pnmtopng >"$2" 2>/dev/null
}

# Our own clipboard owner (tests/e2e/clipowner.cpp) with the options in "$@"; waits until it owns
# the clipboard and leaves its process id in E2E_OWNER and the file it prints to in E2E_OWNER_OUT.
# E2E_TOOLS is the folder of the test programs.
E2E_OWNERS=0
e2e_owner() {
  E2E_OWNERS=$((E2E_OWNERS + 1))
  local ready="$E2E_ROOT/owner$E2E_OWNERS.ready"
  E2E_OWNER_OUT="$E2E_ROOT/owner$E2E_OWNERS.out"
  "$E2E_TOOLS/clipowner" --ready "$ready" "$@" >"$E2E_OWNER_OUT" 2>&1 &
  E2E_OWNER=$!
  E2E_PIDS+=($E2E_OWNER)
  E2E_WAIT=10 e2e_wait_for test -e "$ready" || e2e_fail "clipowner did not take the clipboard"
}

# Sends pings to the main window for $1 seconds in the background; e2e_pings_answered checks them.
e2e_watch_pings() {
  "$E2E_TOOLS/pingwatch" "$E2E_WINDOW" "$1" >"$E2E_ROOT/pings.out" 2>&1 &
  E2E_PINGWATCH=$!
  E2E_PIDS+=($E2E_PINGWATCH)
}
# Every ping was answered within 100 ms. With "now", the pings stop here rather than at their time.
e2e_pings_answered() {
  local ok=0
  [ "${1:-}" = now ] && kill -TERM "$E2E_PINGWATCH" 2>/dev/null
  wait "$E2E_PINGWATCH" || ok=1
  cat "$E2E_ROOT/pings.out"
  [ $ok -eq 0 ] || e2e_fail "the window did not answer every ping within 100 ms: $(cat "$E2E_ROOT/pings.out")"
}

# The window the program reads the clipboard through (its own, hidden).
e2e_clipboard_window() {
  xdotool search --name '^Tallowin clipboard$' 2>/dev/null | head -1
}

# The numbered files in the current folder, in order.
e2e_files() { ls scrn* 2>/dev/null | tr '\n' ' '; }

# Nobody owns the clipboard.
e2e_not_owned() { [ -z "$(e2e_clipboard_targets)" ]; }
