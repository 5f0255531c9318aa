#!/usr/bin/env bash
# Start-up to the first shown window, and resident memory once shown, of Devical and of a
# bare Qt window of forty buttons, on an X display (Xvfb :99 is started if none is given).
# Needs xvfb and x11-utils. Usage: bench/startup_memory.sh [runs]
# DEVICAL_PROGRAM=prefix/bin/devical measures an installed program instead of build/devical.
set -euo pipefail
runs="${1:-10}"
build="$(cd "$(dirname "$0")/.." && pwd)/build"
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:99
  Xvfb :99 -screen 0 1024x768x24 >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb' EXIT
  sleep 1
fi

measure() {  # program, arguments...: prints "milliseconds rss_kib"
  local log; log=$(mktemp)
  stdbuf -oL xev -root -event substructure >"$log" 2>/dev/null &
  local watcher=$!
  sleep 0.2
  local start; start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  local pid=$!
  until grep -q MapNotify "$log"; do sleep 0.001; done
  local shown; shown=$(date +%s%N)
  sleep 0.5
  local rss; rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill "$pid" "$watcher"; wait "$pid" "$watcher" 2>/dev/null || true
  rm -f "$log"
  echo "$(( (shown - start) / 1000000 )) $rss"
}

summary() {  # label, then lines of "ms kib": the medians of each
  local lines; lines=$(cat)
  local n; n=$(echo "$lines" | wc -l)
  local middle=$(( (n + 1) / 2 ))
  local ms; ms=$(echo "$lines" | awk '{print $1}' | sort -n | sed -n "${middle}p")
  local kib; kib=$(echo "$lines" | awk '{print $2}' | sort -n | sed -n "${middle}p")
  printf '%-8s start-up %d ms, resident %.1f MiB (medians of %d runs)\n' "$1" "$ms" "$(echo "$kib / 1024" | bc -l)" "$n"
}

# Interleaved, so that both feel the same load on the machine.
bare=$(mktemp) devical=$(mktemp)
for _ in $(seq "$runs"); do
  measure "$build/bench_bare_window" >>"$bare"
  measure "${DEVICAL_PROGRAM:-$build/devical}" >>"$devical"
done
summary bare <"$bare"
summary Devical <"$devical"
rm -f "$bare" "$devical"
