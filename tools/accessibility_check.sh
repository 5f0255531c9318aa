#!/usr/bin/env bash
# What a screen reader gets: Devical started from a throwaway portable copy of a build, on
# its own Xvfb, session bus and accessibility bus, then walked through AT-SPI by
# tools/accessibility_walk.py (every control named, the keypad pressed, the amounts read).
#   tools/accessibility_check.sh [BUILD_DIR]    BUILD_DIR defaults to the repository's build/
# The build's directory is only read: the program runs from a copy, with the shipped
# French settings, so the figures it must show are known.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
fail() {
  echo "accessibility_check: $*" >&2
  exit 1
}
[ -x "$build/devical" ] || fail "no program at $build/devical: build it first (./test.sh)"
for tool in Xvfb dbus-run-session dbus-send timeout /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run tools/setup.sh"
done
# The Debian interpreter: python3-pyatspi is installed for it, whatever python3 the PATH finds first.
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || fail "pyatspi is missing: run tools/setup.sh"

work="$(mktemp -d /tmp/devical-a11y.XXXXXX)"
# Everything started here carries this mark in its environment, the services the buses start
# on demand too: the clean-up finds them by it and stops each by its process id. The script's
# own helpers (tr, grep, sleep) do not carry it.
mark="devical-a11y-$$-$RANDOM$RANDOM"
xvfb=""
session=""
cleanup() {
  local status=$?
  trap - EXIT INT TERM
  local pids=() pid
  for pid in $session $xvfb; do kill -0 "$pid" 2>/dev/null && pids+=("$pid"); done
  local environ
  for environ in /proc/[0-9]*/environ; do
    pid="${environ#/proc/}"
    pid="${pid%/environ}"
    [ "$pid" = "$$" ] && continue
    tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "DEVICAL_A11Y_CHECK=$mark" && pids+=("$pid")
  done
  if ((${#pids[@]})); then
    kill "${pids[@]}" 2>/dev/null || true
    local alive=()
    for _ in $(seq 30); do
      alive=()
      for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive+=("$pid"); done
      ((${#alive[@]})) || break
      sleep 0.1
    done
    if ((${#alive[@]})); then kill -KILL "${alive[@]}" 2>/dev/null || true; fi
  fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The program beside its own data files: a portable directory, as a build is.
app="$work/app"
mkdir -p "$app" "$work/home"
mkdir -m 700 "$work/runtime"
cp "$build/devical" "$app/"
shopt -s nullglob nocaseglob
for file in "$build"/DEVICAL.* "$build"/Devical.* "$build"/Rates.* "$build"/Taxes.* "$build"/Memory.* \
  "$build"/*.txt "$build"/*.html; do
  [ -f "$file" ] && cp -n "$file" "$app/"
done
shopt -u nullglob nocaseglob
# Install.Oui is none of these: no first-run language choice stands in the way.
# The working files made afresh from the shipped French set, as the build seeds a new
# directory: a developer's own settings and lists would change the figures.
for pair in Devical.iFR:DEVICAL.INI Devical.FR:DEVICAL.LAN Rates.FR:Rates.txt Taxes.FR:Taxes.txt \
  Memory.FR:Memory.txt; do
  [ -f "$app/${pair%%:*}" ] || fail "$build has no ${pair%%:*}: not a complete build"
  cp "$app/${pair%%:*}" "$app/${pair#*:}"
done

: >"$work/display"
DEVICAL_A11Y_CHECK="$mark" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
  3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
display=""
for _ in $(seq 100); do
  display="$(tr -d '[:space:]' <"$work/display")"
  [ -n "$display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; fail "Xvfb ended"; }
  sleep 0.1
done
[ -n "$display" ] || fail "Xvfb gave no display within 10 s"

# Inside the private session bus: the accessibility bus, the program, the walk. Its
# messages go to descriptor 3, the terminal; 2 is the session bus's log.
cat >"$work/session.sh" <<'EOF'
set -euo pipefail
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/bus.log" 2>&1 &
ready=""
for _ in $(seq 100); do
  # Asked whether the name is taken, not for the address: that would start a second launcher.
  if dbus-send --session --print-reply=literal --reply-timeout=1000 --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null |
    grep -q true; then
    ready=yes
    break
  fi
  sleep 0.1
done
[ -n "$ready" ] || { echo "accessibility_check: no accessibility bus within 10 s" >&3; exit 4; }
cd "$APP"
./devical >"$WORK/devical.log" 2>&1 &
echo $! >"$WORK/devical.pid"
status=0
timeout -k 5 90 "$PYTHON" "$WALKER" --timeout 20 2>&3 || status=$?
if [ "$status" -ne 0 ]; then
  [ "$status" -eq 124 ] && echo "accessibility_check: the walk took more than 90 s" >&3
  kill -0 "$(cat "$WORK/devical.pid")" 2>/dev/null || echo "accessibility_check: devical ended" >&3
fi
exit "$status"
EOF

status=0
env -u GTK_MODULES -u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS -u WAYLAND_DISPLAY -u SESSION_MANAGER \
  -u LC_ALL -u LANGUAGE -u NO_AT_BRIDGE \
  DISPLAY=":$display" HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
  XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
  XDG_CACHE_HOME="$work/home/.cache" XDG_SESSION_TYPE=x11 QT_QPA_PLATFORM=xcb \
  LANG=fr_FR.UTF-8 \
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
  DEVICAL_A11Y_CHECK="$mark" WORK="$work" APP="$app" \
  PYTHON="$python" WALKER="$root/tools/accessibility_walk.py" \
  timeout -k 5 150 dbus-run-session -- bash "$work/session.sh" 3>&2 2>"$work/session.log" &
session=$!
wait "$session" || status=$?
session=""
if [ "$status" -ne 0 ]; then
  # The logs, when the walk did not get to its findings (1: it did, and listed them).
  [ "$status" -eq 1 ] || for log in session.log bus.log devical.log; do
    [ -s "$work/$log" ] || continue
    echo "--- $log:" >&2
    tail -n 40 "$work/$log" >&2
  done
  fail "failed (status $status)"
fi
