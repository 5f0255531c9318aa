# Sourced by the checks that run the built program on a private desktop: its throwaway
# portable copy of a build, its own Xvfb, and the clean-up that stops all the check started.
# The sourcing script has set build, work (its new directory), mark_name (the environment
# variable that marks the processes it starts) and keep_work (not empty: the directory stays
# for a look), and has defined fail. This gives mark, app, display, the variables xvfb and
# session that the clean-up stops, and the traps.

# Everything started here carries the mark in its environment, the services the buses start
# on demand too: the clean-up finds them by it and stops each by its process id. The script's
# own helpers (tr, grep, sleep) do not carry it.
mark="$mark_name-$$-$RANDOM$RANDOM"
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
    tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "$mark_name=$mark" && pids+=("$pid")
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
  if [ -n "$keep_work" ]; then echo "kept $work" >&2; else rm -rf "$work"; fi
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
env "$mark_name=$mark" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
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
