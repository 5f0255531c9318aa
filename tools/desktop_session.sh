# Sourced by the checks that run the built program on a private desktop. Two steps:
#   check_begin NAME BUILD_DIR TOOL...   the messages' name, the build (default: build/), and
#                                        the tools it needs; defines fail and sets build.
#   desktop_start                        with work (the check's new directory), mark_name (the
#                                        environment variable that marks the processes it
#                                        starts) and keep_work (not empty: the directory stays
#                                        for a look) set: the throwaway portable copy of the
#                                        build in app, its own Xvfb on display, and the
#                                        clean-up that stops all the check started (the
#                                        variables xvfb and session, and whatever has the mark);
#                                        session_env, the command that runs what follows it as
#                                        in a fresh desktop session of its own.

check_begin() {
  check_name=$1
  build="$(cd "${2:-$root/build}" && pwd)"
  shift 2
  [ -x "$build/devical" ] || fail "no program at $build/devical: build it first (./test.sh)"
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run tools/setup.sh"
  done
}

fail() {
  echo "$check_name: $*" >&2
  exit 1
}

desktop_start() {
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

  # No trace of the caller's own desktop: its buses, its settings, its locale.
  session_env=(env -u GTK_MODULES -u DBUS_SESSION_BUS_ADDRESS -u AT_SPI_BUS_ADDRESS -u WAYLAND_DISPLAY
    -u SESSION_MANAGER -u LC_ALL -u LANGUAGE -u NO_AT_BRIDGE
    DISPLAY=":$display" HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
    XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
    XDG_CACHE_HOME="$work/home/.cache" XDG_SESSION_TYPE=x11 QT_QPA_PLATFORM=xcb LANG=fr_FR.UTF-8
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$mark_name=$mark" WORK="$work" APP="$app")
}
