#!/usr/bin/env bash
# Fails when a C++ source differs from the layout .clang-format gives it, naming the lines.
# Reformat with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if ! command -v clang-format >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq --no-install-recommends clang-format >/dev/null
fi
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "Format check passed."
