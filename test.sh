#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest (windows offscreen).
#   ./test.sh              the program as it ships, in build/
#   ./test.sh --sanitize   the same tests under the address and undefined-behaviour sanitizers
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/tools/setup.sh" "$@"
build="$root/build"
[ "${1:-}" = "--sanitize" ] && build="$root/build-sanitize"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
