#!/usr/bin/env bash
# What a screen reader gets: Devical started from a throwaway portable copy of a build, on
# its own Xvfb, session bus and accessibility bus, then walked through AT-SPI by
# tools/accessibility_walk.py (every control named, the keypad pressed, the amounts read).
#   tools/accessibility_check.sh [BUILD_DIR]    BUILD_DIR defaults to the repository's build/
# The build's directory is only read: the program runs from a copy, with the shipped
# French settings, so the figures it must show are known.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=tools/desktop_session.sh
source "$root/tools/desktop_session.sh"
check_begin accessibility_check "${1:-}" Xvfb dbus-run-session dbus-send timeout /usr/libexec/at-spi-bus-launcher
# The Debian interpreter: python3-pyatspi is installed for it, whatever python3 the PATH finds first.
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || fail "pyatspi is missing: run tools/setup.sh"

work="$(mktemp -d /tmp/devical-a11y.XXXXXX)"
mark_name=DEVICAL_A11Y_CHECK
keep_work=""
desktop_start

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
"${session_env[@]}" \
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
