# Shared by the Wayland end-to-end tests: a headless compositor of one kind (sway, mutter or KWin)
# with XWayland, run as an unprivileged user with a runtime folder of its own, and the native
# clipboard tools around it. Source it, then call wl_session <compositor> "$@".
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"

# ctest's code for "skipped" (SKIP_RETURN_CODE in CMakeLists.txt).
WL_SKIP=77

wl_skip() {
  echo "SKIPPED: $*"
  exit "$WL_SKIP"
}

# Starts the compositor $1 and points WAYLAND_DISPLAY, DISPLAY (its XWayland) and the compositor's
# own tools at it. The rest of the arguments are the test's own: the script may run itself again,
# as an unprivileged user and inside a D-Bus session of its own.
wl_session() {
  local compositor=$1
  shift
  if [ "$(id -u)" -eq 0 ]; then
    # Compositors refuse to run as root or misbehave; a desktop session is a user's. XWayland's
    # sockets go into the shared sticky folder a desktop machine has.
    mkdir -p /tmp/.X11-unix
    chmod 1777 /tmp/.X11-unix
    wl_run_staged "$@"
  fi
  if [ "$compositor" != sway ] && [ -z "${WL_DBUS:-}" ]; then
    WL_DBUS=1 exec dbus-run-session -- bash "$0" "$@"
  fi
  trap e2e_cleanup EXIT
  E2E_ROOT=$(mktemp -d /tmp/tallowin-wl-XXXXXX)
  export HOME="$E2E_ROOT/home" XDG_RUNTIME_DIR="$E2E_ROOT/runtime"
  mkdir -p "$HOME"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  cd "$HOME"
  unset DISPLAY WAYLAND_DISPLAY XAUTHORITY QT_QPA_PLATFORM SWAYSOCK
  E2E_LOG="$E2E_ROOT/tallowin.log"
  WL_LOG="$E2E_ROOT/$compositor.log"
  WL_COMPOSITOR=$compositor
  "wl_start_$compositor"
  export WAYLAND_DISPLAY
}

# The unprivileged user cannot be counted on to read the checkout or the build folder (a clone in
# root's home, mode 0700), so the scripts and every file named in the arguments (the program and
# its helpers, kept side by side) are copied into a folder of its own, and the copy runs there.
# Never returns: ends with the staged run's status once the folder is removed.
wl_run_staged() {
  local user=65534 here stage arg status=0
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  stage=$(mktemp -d /tmp/tallowin-wl-stage-XXXXXX)
  trap 'rm -rf "$stage"' EXIT
  mkdir "$stage/wayland" "$stage/bin"
  cp "$here/../lib.sh" "$stage/"
  cp "$here"/*.sh "$stage/wayland/"
  local staged=()
  for arg in "$@"; do
    if [ -f "$arg" ]; then
      cp "$arg" "$stage/bin/"
      arg="$stage/bin/$(basename "$arg")"
    fi
    staged+=("$arg")
  done
  chown -R "$user:$user" "$stage"
  cd "$stage"
  setpriv --reuid="$user" --regid="$user" --clear-groups -- \
    bash "$stage/wayland/$(basename "$0")" "${staged[@]}" || status=$?
  exit "$status"
}

wl_start_sway() {
  cat >"$E2E_ROOT/sway.conf" <<EOF
xwayland enable
exec sh -c 'echo "export SWAYSOCK=\$SWAYSOCK DISPLAY=\$DISPLAY" >$E2E_ROOT/sway.env'
EOF
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$E2E_ROOT/sway.conf" >"$WL_LOG" 2>&1 &
  E2E_PIDS+=($!)
  E2E_WAIT=20 e2e_wait_for test -s "$E2E_ROOT/sway.env" || wl_fail "sway did not start"
  source "$E2E_ROOT/sway.env"
  WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-* | grep -v lock | head -1)
}

wl_start_mutter() {
  WAYLAND_DISPLAY=tallowin-wl
  mutter --wayland --headless --virtual-monitor 1920x1080 --wayland-display "$WAYLAND_DISPLAY" >"$WL_LOG" 2>&1 &
  local compositor=$!
  E2E_PIDS+=($compositor)
  E2E_WAIT=20 e2e_wait_for test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || wl_fail "mutter did not start"
  # Its seat gains a keyboard, which native clipboard programs need, only for a remote-desktop session.
  local seat_log="$E2E_ROOT/mutterseat.log"
  "$WL_HELPERS/mutterseat" >"$seat_log" 2>&1 &
  E2E_PIDS+=($!)
  E2E_WAIT=20 e2e_wait_for grep -q ready "$seat_log" || wl_fail "mutter gave no keyboard: $(cat "$seat_log")"
  wl_find_xwayland "$compositor" || wl_fail "mutter started no XWayland"
}

wl_start_kwin() {
  # KWin's binary carries a file capability that a container without cap_sys_resource refuses to
  # execute; a copy carries none.
  cp "$(command -v kwin_wayland)" "$E2E_ROOT/kwin_wayland" || wl_skip "kwin_wayland is not installed"
  WAYLAND_DISPLAY=tallowin-wl
  "$E2E_ROOT/kwin_wayland" --virtual --xwayland --socket "$WAYLAND_DISPLAY" --width 1280 --height 1024 \
    >"$WL_LOG" 2>&1 &
  local compositor=$!
  E2E_PIDS+=($compositor)
  E2E_WAIT=20 e2e_wait_for test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ||
    wl_skip "KWin does not start here: $(tail -3 "$WL_LOG" | tr '\n' ' ')"
  wl_find_listening_display "$compositor" || wl_fail "KWin listens on no X11 display"
  E2E_WAIT=20 e2e_wait_for xdpyinfo >/dev/null 2>&1 || wl_fail "KWin's XWayland does not answer on $DISPLAY"
}

# DISPLAY of the X11 display that compositor $1 listens on itself, the way KWin does: it holds the
# display's lock file and socket, and starts XWayland on them (KWin 6 not before the first X11
# client connects) without an authority file.
wl_find_listening_display() {
  local lock
  find_lock() {
    for lock in /tmp/.X*-lock; do
      [ "$(tr -d ' \n' <"$lock" 2>/dev/null)" = "$1" ] && return 0
    done
    return 1
  }
  E2E_WAIT=20 e2e_wait_for find_lock "$1" || return 1
  lock=${lock#/tmp/.X}
  export DISPLAY=":${lock%-lock}"
  unset XAUTHORITY
}

# DISPLAY (and XAUTHORITY) of the XWayland that compositor $1 started, from its command line.
wl_find_xwayland() {
  local xwayland=""
  find_it() { xwayland=$(pgrep -P "$1" -x Xwayland | head -1); [ -n "$xwayland" ]; }
  E2E_WAIT=20 e2e_wait_for find_it "$1" || return 1
  local args
  mapfile -d '' -t args <"/proc/$xwayland/cmdline"
  DISPLAY=${args[1]}
  export DISPLAY
  local i
  for ((i = 2; i < ${#args[@]} - 1; i++)); do
    [ "${args[i]}" = -auth ] && export XAUTHORITY=${args[i + 1]}
  done
  # Rootless XWayland answers once it is up.
  E2E_WAIT=20 e2e_wait_for xdpyinfo >/dev/null 2>&1
}

wl_fail() {
  if [ -n "${WL_LOG:-}" ] && [ -f "$WL_LOG" ]; then
    echo "--- $WL_COMPOSITOR output (last lines) ---" >&2
    tail -20 "$WL_LOG" >&2
  fi
  e2e_fail "$@"
}

# Copies picture file $1 the way a native Wayland grabbing program does; WL_COPY is its process id.
wl_copy() {
  wl-copy --foreground --type image/png <"$1" 2>>"$E2E_ROOT/wl-copy.log" &
  WL_COPY=$!
  E2E_PIDS+=($WL_COPY)
}

# The types the native clipboard offers, one a line; nothing when it is empty.
wl_types() {
  timeout 5 wl-paste --list-types 2>/dev/null || true
}
wl_offers_nothing() { [ -z "$(wl_types)" ]; }
wl_copy_gone() { ! kill -0 "$WL_COPY" 2>/dev/null; }

# Gives the focus to the program's window ($E2E_WINDOW), where the other windows of a session are.
wl_focus_program() {
  case $WL_COMPOSITOR in
    sway) swaymsg -q workspace 1 && swaymsg -q '[title="^Tallowin$"] focus' ;;
    *) xdotool windowactivate "$E2E_WINDOW" ;;
  esac
}

# Takes the focus away from every X11 window: the program is in the background.
wl_focus_away() {
  case $WL_COMPOSITOR in
    sway) swaymsg -q workspace 2 ;;
    *) xdotool windowminimize "$E2E_WINDOW" ;;
  esac
}
