#!/usr/bin/env bash
# Start-up of Devical and of a bare Qt window of forty buttons, interleaved so that both feel
# the same load: the time from the start to the window's map, to its first painted frame
# (the first XDamage report of a window it creates), and the resident memory once shown.
# Prints the medians of each, Devical's ratios to the bare window, and the quartiles of the
# first frame's ratio pair by pair.
# Needs xvfb, x11-utils and python3-xlib. Usage: bench/startup_memory.sh [runs]
# DEVICAL_PROGRAM=prefix/bin/devical measures an installed program instead of build/devical.
set -euo pipefail
runs="${1:-10}"
here="$(cd "$(dirname "$0")" && pwd)"
build="$here/../build"
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=":$((100 + RANDOM % 800))"
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb' EXIT
  sleep 1
fi

measure() {  # program, arguments...: prints "map_ms frame_ms rss_kib"
  local maps frames; maps=$(mktemp) frames=$(mktemp)
  stdbuf -oL xev -root -event substructure >"$maps" 2>/dev/null &
  local mapWatcher=$!
  /usr/bin/python3 "$here/first_frame_watch.py" >"$frames" 2>/dev/null &
  local frameWatcher=$!
  until grep -q ready "$frames"; do sleep 0.01; done
  sleep 0.1
  local start; start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  local pid=$!
  until grep -q MapNotify "$maps"; do sleep 0.001; done
  local mapped; mapped=$(date +%s%N)
  until [ "$(wc -l <"$frames")" -ge 2 ]; do sleep 0.001; done
  local painted; painted=$(tail -1 "$frames")
  sleep 0.5
  local rss; rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill "$pid" "$mapWatcher" "$frameWatcher" 2>/dev/null || true
  wait "$pid" "$mapWatcher" "$frameWatcher" 2>/dev/null || true
  rm -f "$maps" "$frames"
  echo "$(((mapped - start) / 1000000)) $(((painted - start) / 1000000)) $rss"
}

median() {  # column: the median of that column of the lines read
  local values; values=$(awk -v c="$1" '{print $c}' | sort -n)
  local n; n=$(echo "$values" | wc -l)
  echo "$values" | sed -n "$(((n + 1) / 2))p"
}

bare=$(mktemp) devical=$(mktemp)
for _ in $(seq "$runs"); do
  measure "$build/bench_bare_window" >>"$bare"
  measure "${DEVICAL_PROGRAM:-$build/devical}" >>"$devical"
done
for label in bare Devical; do
  file=$bare
  [ "$label" = Devical ] && file=$devical
  printf '%-8s map %3d ms, first frame %3d ms, resident %.1f MiB (medians of %d runs)\n' "$label" \
    "$(median 1 <"$file")" "$(median 2 <"$file")" "$(echo "$(median 3 <"$file") / 1024" | bc -l)" "$runs"
done
printf 'Devical / bare: first frame %.2f, resident %.2f\n' \
  "$(echo "$(median 2 <"$devical") / $(median 2 <"$bare")" | bc -l)" \
  "$(echo "$(median 3 <"$devical") / $(median 3 <"$bare")" | bc -l)"
# Each run of Devical against the bare run just before it: on a busy machine the spread of
# these says how far one median ratio can be trusted.
paste -d' ' "$bare" "$devical" | awk '{print $5 / $2}' | sort -n | awk '
  {r[NR] = $1}
  END {printf "first frame ratio per pair: quartiles %.2f %.2f %.2f\n", r[int((NR + 3) / 4)], r[int((NR + 1) / 2)], r[int((3 * NR + 1) / 4)]}'
rm -f "$bare" "$devical"
