#!/usr/bin/env bash
# Installs what is missing, builds, and starts Devical from build/ with its working files.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/tools/setup.sh"
if [ ! -x "$root/build/devical" ]; then
  echo "Built the engine and the file routines; the Devical window is not part of this build yet."
  exit 0
fi
exec "$root/build/devical" "$@"
