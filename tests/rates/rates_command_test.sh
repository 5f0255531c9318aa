#!/usr/bin/env bash
# devical-rates end to end, against a server of the test's own on 127.0.0.1, from a portable
# directory (the command's copy beside DEVICAL.INI): an HTTP 404 and a server that never
# answers each exit 1 with the reason and leave every file as it was; the day's file updates
# the list and records its date.
#   rates_command_test.sh DEVICAL_RATES DATA_DIR
set -euo pipefail
command="$1"
data="$2"
work="$(mktemp -d)"
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
unset http_proxy https_proxy all_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY
export HOME="$work/home" XDG_DATA_HOME="$work/home/data"

program="$work/program"
mkdir -p "$program" "$work/served" "$HOME"
cp "$command" "$program/devical-rates"
cp "$data/Devical.FR" "$program/DEVICAL.LAN"
cp "$data/Devical.iFR" "$program/DEVICAL.INI"
cp "$data/Rates.FR" "$program/Rates.txt"
cat >"$work/served/daily.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<gesmes:Envelope xmlns:gesmes="http://www.gesmes.org/xml/2002-08-01" xmlns="http://www.ecb.int/vocabulary/2002-08-01/eurofxref">
	<gesmes:subject>Reference rates</gesmes:subject>
	<gesmes:Sender>
		<gesmes:name>European Central Bank</gesmes:name>
	</gesmes:Sender>
	<Cube>
		<Cube time='2026-12-04'>
			<Cube currency='USD' rate='1.0842'/>
			<Cube currency='BGN' rate='1.9558'/>
			<Cube currency='GBP' rate='0.8543'/>
			<Cube currency='CHF' rate='0.94'/>
		</Cube>
	</Cube>
</gesmes:Envelope>
XML

# Files from served/; /hang is accepted and never answered.
cat >"$work/server.py" <<'PY'
import http.server, os, sys, time
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path == "/hang":
            time.sleep(120)
            return
        name = os.path.join(sys.argv[1], os.path.basename(self.path))
        if not os.path.isfile(name):
            self.send_error(404)
            return
        body = open(name, "rb").read()
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *arguments):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
with open(sys.argv[2] + ".new", "w") as port:
    port.write(str(server.server_address[1]))
os.rename(sys.argv[2] + ".new", sys.argv[2])
server.serve_forever()
PY
python3 "$work/server.py" "$work/served" "$work/port" &
server=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
[ -s "$work/port" ] || fail "the server did not start"
base="http://127.0.0.1:$(cat "$work/port")"

cp -a "$program" "$work/before"
refused() {  # refused URL TEXT: exit 1, TEXT on stderr, every file as it was
  local status=0
  DEVICAL_RATES_TIMEOUT_MS=700 "$program/devical-rates" --url "$1" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = 1 ] || fail "$1: exit $status"
  grep -q "$2" "$work/err" || fail "$1: $(cat "$work/err")"
  [ ! -s "$work/out" ] || fail "$1 printed $(cat "$work/out")"
  diff -r "$work/before" "$program" >/dev/null || fail "$1 changed a file"
}
refused "$base/missing.xml" "HTTP 404"
refused "$base/hang" "no answer within 0.7 s"

"$program/devical-rates" --url "$base/daily.xml" >"$work/out" 2>"$work/err" || fail "daily: $(cat "$work/err")"
printf 'GBP 0,85 -> 0,8543\nUSD 1,08 -> 1,0842\nECB rates of 2026-12-04: 2 changed, 0 added\n' | diff - "$work/out" ||
  fail "daily's report"
LC_ALL=C grep -q $'^USD Dollar am\xe9ricain\r$' "$program/Rates.txt" && grep -q $'^1,0842\r$' "$program/Rates.txt" ||
  fail "the list lacks the new rate"
grep -q $'^Date=2026-12-04\r$' "$program/DEVICAL.INI" || fail "the date is not recorded"
echo "devical-rates refused a 404 and a silent server, and took the day's rates"
