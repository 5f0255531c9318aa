#!/usr/bin/env bash
# Shared by run.sh and test.sh: install what is missing, then configure and build.
#   tools/setup.sh              build/ as the program runs it
#   tools/setup.sh --sanitize   build-sanitize/, under the address and undefined-behaviour sanitizers
#   tools/setup.sh --coverage   build-coverage/, with gcov's counters (tools/coverage.sh)
# Under CI (CI=true) warnings are errors.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# libfontconfig-dev: the start reads fontconfig's set-up on a worker before Qt is up.
# qt6-translations-l10n: Qt's own buttons (Yes, No, Cancel) in the interface's language.
# qt6-wayland: the window on a Wayland session as it is, without XWayland.
# The install and package checks: desktop-file-utils, appstream, dpkg-dev (dependencies of
# the package), lintian, and xvfb with x11-utils to see the installed program's windows.
# The next line: AT-SPI and a session bus, for the screen-reader check (accessibility_check.sh);
# python3-xlib watches the first frame in bench/startup_memory.sh. The last line: the
# screen reader, its speech server and the keys typed at the window (orca_check.sh), and
# gcovr for tools/coverage.sh, poppler-utils to read the tape's printed pages back in its test.
packages=(cmake make g++ qt6-base-dev libfontconfig-dev qt6-translations-l10n qt6-wayland libgtest-dev libbenchmark-dev
          desktop-file-utils appstream dpkg-dev lintian xvfb x11-utils
          at-spi2-core python3-pyatspi gir1.2-atspi-2.0 dbus-x11 python3-xlib
          orca speech-dispatcher xdotool gcovr poppler-utils)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages) first." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The presets of CMakePresets.json: release builds in build/, sanitize in build-sanitize/.
preset=release
[ "${1:-}" = "--sanitize" ] && preset=sanitize
[ "${1:-}" = "--coverage" ] && preset=coverage
options=()
[ "${CI:-}" = "true" ] && options+=(-DDEVICAL_WERROR=ON)
cd "$root"
cmake --preset "$preset" "${options[@]}" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
