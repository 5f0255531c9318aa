#!/usr/bin/env bash
# Every test run with gcov's counters, then the line and branch coverage of each source folder
# (and, with --files, of each file), to find the branches no test takes.
#   tools/coverage.sh [--files]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/setup.sh" --coverage
build="$root/build-coverage"
find "$build" -name '*.gcda' -delete  # the counts of this run only
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)") || true
# Branches the compiler adds (exception clean-ups) would hide the source's own.
gcovr --root "$root" --filter "$root/src/" --exclude-throw-branches --exclude-unreachable-branches \
  --json-summary "$build/coverage.json" "$build" >/dev/null
python3 - "$build/coverage.json" "${1:-}" <<'PY'
import json, os, sys
files = json.load(open(sys.argv[1]))["files"]
rows = {}
for f in files:
    key = f["filename"] if sys.argv[2] == "--files" else os.path.dirname(f["filename"])
    row = rows.setdefault(key, [0, 0, 0, 0])
    for i, name in enumerate(("line_covered", "line_total", "branch_covered", "branch_total")):
        row[i] += f[name]
def share(done, total):
    return f"{100 * done / total:5.1f} %" if total else "    -  "
print(f"{'':40} {'lines':>16} {'branches':>16}")
for key in sorted(rows) + ["total"]:
    r = rows[key] if key != "total" else [sum(v[i] for v in rows.values()) for i in range(4)]
    print(f"{key:40} {share(r[0], r[1])} {r[0]:>4}/{r[1]:<5} {share(r[2], r[3])} {r[2]:>4}/{r[3]:<5}")
PY
