#!/usr/bin/env bash
# What Orca says: Devical started from a throwaway portable copy of a build, on its own Xvfb,
# session bus and accessibility bus, with Orca and a speech server, then typed at with
# xdotool: 1 0 0 Return, x 3 Return, then Tab through the window, then R and 7 + in the tape,
# then MR by Ctrl+R, then the currency list: T, C (to CHF), F2, Tab, Escape, Return, then the
# list again with Shift+Tab twice to its day field.
# Orca's debug log must show it speaking 15,24, then 45,73, then the decimals list with its
# value 2, then the tape's newest line 300,00, then its new line 7,00 +, then the memory
# recalled, the list's row FRF as it opens, the rate 0,94 whole in the entry dialog, the
# choice of CHF with its rate and amounts, and the day field by its name and day.
#   tools/orca_check.sh [BUILD_DIR]    BUILD_DIR defaults to the repository's build/
# DEVICAL_ORCA_KEEP=1 keeps the working directory, with Orca's whole debug log, for a look.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=tools/desktop_session.sh
source "$root/tools/desktop_session.sh"
check_begin orca_check "${1:-}" Xvfb dbus-run-session dbus-send timeout xdotool orca speech-dispatcher \
  /usr/libexec/at-spi-bus-launcher

work="$(mktemp -d /tmp/devical-orca.XXXXXX)"
mark_name=DEVICAL_ORCA_CHECK
keep_work="${DEVICAL_ORCA_KEEP:-}"
desktop_start

# The speech server with its silent module: what Orca sends it is in Orca's log all the same.
# Its sound goes to ALSA's null device, as the machine may have no sound card.
mkdir -p "$work/home/.config/speech-dispatcher"
{
  cat /etc/speech-dispatcher/speechd.conf
  echo 'AudioOutputMethod "alsa"'
  echo 'AddModule "dummy" "sd_dummy" ""'
  echo 'DefaultModule dummy'
} >"$work/home/.config/speech-dispatcher/speechd.conf"
echo 'pcm.!default { type null }' >"$work/home/.asoundrc"

# Inside the private session bus: the accessibility bus, Orca, the program, the keys. Its
# messages go to descriptor 3, the terminal.
cat >"$work/session.sh" <<'EOF'
set -euo pipefail
say() { echo "orca_check: $*" >&3; }
# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
bus_up() {
  dbus-send --session --print-reply=literal --reply-timeout=1000 --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true
}
spoke() { grep -q 'SPEECH OUTPUT' "$LOG" 2>/dev/null; }
# How many times Orca has said the text so far; said: more often than $2 times.
times_said() { awk -v text="$1" '/SPEECH OUTPUT/ && index($0, text) { n++ } END { print n + 0 }' "$LOG" 2>/dev/null || echo 0; }
said() { [ "$(times_said "$1")" -gt "${2:-0}" ]; }

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/bus.log" 2>&1 &
wait_for 100 bus_up || { say "no accessibility bus within 10 s"; exit 4; }
# The accessibility switch Orca and the toolkits read.
gsettings set org.gnome.desktop.interface toolkit-accessibility true 2>/dev/null || true

# Started here rather than by Orca, to see why it would not start.
# It stops when the locale is missing; the language it speaks does not matter here.
LANG=C.UTF-8 speech-dispatcher --spawn >"$WORK/speechd.log" 2>&1 || true
wait_for 100 test -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ||
  { say "no speech server within 10 s"; cat "$WORK/speechd.log" >&3; exit 4; }
# Not --replace: that would kill every Orca of this user, this session's or not.
orca --debug-file "$LOG" >"$WORK/orca.out" 2>&1 &
orca=$!
# Orca says it is on once it listens.
if ! wait_for 300 spoke; then
  kill -0 "$orca" 2>/dev/null || say "Orca ended (another Orca of this user running?): $(tail -n 3 "$WORK/orca.out")"
  say "Orca said nothing within 30 s"
  exit 4
fi

cd "$APP"
./devical >"$WORK/devical.log" 2>&1 &
window=""
for _ in $(seq 200); do
  window="$(xdotool search --onlyvisible --name '^Devical$' 2>/dev/null | head -n 1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { say "no Devical window within 20 s"; exit 4; }
xdotool windowfocus --sync "$window"

# Types the keys, then gives Orca up to 5 s to say what follows. Orca's log may reach the
# disk only as Orca stops: a miss here is no failure, the verdict reads the whole log.
keys_then() {
  local expected=$1 before
  shift
  before="$(times_said "$expected")"
  xdotool key --clearmodifiers --delay 150 "$@"
  wait_for 80 said "$expected" "$before" || true
}
sleep 1  # the window's first activation, spoken before any key
keys_then "15,24" 1 0 0 Return
keys_then "45,73" x 3 Return
# Round the window once with Tab: the decimals list is on the way.
for _ in $(seq 20); do
  xdotool key --clearmodifiers Tab
  sleep 0.4
done
sleep 1
# The tape: R opens it on its newest line, the result 300 of 100 x 3, and a line printed
# while it has the focus is read out.
keys_then "300,00" r
keys_then "7,00" 7 plus
xdotool key --clearmodifiers Escape
sleep 2  # the tape gives the main window back
keys_then "Caisse" ctrl+r
# The currency list opens on the current currency's row; C goes to CHF, whose rate the entry
# dialog shows whole; Return chooses it, and the main window says what changed.
keys_then "FRF Franc" t
keys_then "CHF Franc suisse" c
keys_then "0,94" F2 Tab
keys_then "CHF Franc suisse" Escape
keys_then "1 Euro = 0,94" Return
sleep 1
keys_then "CHF Franc suisse" t
keys_then "Jour des taux BCE" shift+Tab shift+Tab
# Time for Orca to say the last of it before it is stopped.
sleep 5
# Stopped, Orca writes out the rest of its log.
kill "$orca" 2>/dev/null || true
# Orca may hang saying goodbye to a speech server that has gone: it gets 5 s.
wait_for 50 eval '! kill -0 "$orca" 2>/dev/null' || kill -KILL "$orca" 2>/dev/null || true
wait "$orca" || true
exit 0
EOF

status=0
"${session_env[@]}" GSETTINGS_BACKEND=memory LOG="$work/orca-debug.log" \
  timeout -k 5 180 dbus-run-session -- bash "$work/session.sh" 3>&2 2>"$work/session.log" &
session=$!
wait "$session" || status=$?
session=""

# What Orca said, in order: 15,24, then 45,73, then the decimals list and its value 2.
spoken="$work/spoken.txt"
grep 'SPEECH OUTPUT' "$work/orca-debug.log" 2>/dev/null | sed "s/.*SPEECH OUTPUT: //" >"$spoken" || true
verdict="$(awk '
  step == 0 && /15,24/ { step = 1; next }
  step == 1 && /45,73/ { step = 2; next }
  step == 2 && /Décimales/ { step = 3; left = 4 }
  step == 3 && left-- > 0 && /(^|[^0-9,])2([^0-9,]|$)/ { step = 4; next }
  step == 4 && /300,00/ { step = 5; next }
  step == 5 && /7,00/ { step = 6; next }
  step == 6 && /Caisse, / { step = 7; next }
  step == 7 && /FRF Franc fran/ { step = 8; next }
  step == 8 && /(^|[^0-9,])0,94([^0-9]|$)/ && !/CHF/ { step = 9; next }
  step == 9 && /CHF Franc suisse, 1 Euro = 0,94.*;.*CHF, .*Euros/ { step = 10; next }
  step == 10 && /Jour des taux BCE/ && /[0-9][0-9]\/[0-9][0-9]\/20[0-9][0-9]/ { step = 11 }
  END {
    split("15,24|45,73|the decimals list|its value 2 with the decimals list|the tape opened on 300,00|" \
          "the tape line 7,00 +|the memory recalled by Ctrl+R|the currency list opening on FRF|" \
          "the rate 0,94 whole in the entry dialog|the choice of CHF with its rate and amounts|" \
          "the day field with its name and day", missing, "|")
    print (step == 11 ? "ok" : missing[step + 1])
  }' "$spoken")"
if [ "$verdict" != "ok" ] || [ "$status" -ne 0 ]; then
  echo "--- what Orca said:" >&2
  cat "$spoken" >&2
  if [ ! -s "$spoken" ]; then
    for log in session.log speechd.log orca.out bus.log devical.log; do
      [ -s "$work/$log" ] || continue
      echo "--- $log:" >&2
      tail -n 40 "$work/$log" >&2
    done
  fi
  [ "$verdict" = "ok" ] || fail "Orca never said $verdict (in that order)"
  fail "failed (status $status)"
fi
echo "orca_check: Orca said 15,24, then 45,73, then the decimals with 2, then the tape's 300,00, then 7,00 +," \
  "then the memory recalled, the list's row, the rate 0,94 whole, the choice of CHF and the day field"
grep -F -e '15,24' -e '45,73' -e 'Décimales' -e '300,00' -e '7,00' -e 'FRF Franc' -e '0,94' -e 'Caisse' \
  -e 'Jour des taux' "$spoken" |
  sed 's/^/  /'
