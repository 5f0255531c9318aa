#!/usr/bin/env bash
# devical-rates end to end from a portable directory (its copy beside DEVICAL.INI), against
# a server of the test's own on 127.0.0.1: an HTTP 404 and a server that never answers (or
# trickles), or a FIFO, each exit 1 with the reason and leave every file as it was; the day's
# file updates the list.
#   rates_command_test.sh DEVICAL_RATES DATA_DIR
set -euo pipefail
work="$(mktemp -d)"
server=""
trap '[ -n "$server" ] && kill "$server"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
unset http_proxy https_proxy all_proxy HTTP_PROXY HTTPS_PROXY ALL_PROXY
export HOME="$work" XDG_DATA_HOME="$work"
program="$work/program"
mkdir "$program"
cp "$1" "$program/devical-rates"
cp "$2/Devical.FR" "$program/DEVICAL.LAN"
cp "$2/Devical.iFR" "$program/DEVICAL.INI"
cp "$2/Rates.FR" "$program/Rates.txt"
printf '%s\n' '<?xml version="1.0" encoding="UTF-8"?>' '<gesmes:Envelope xmlns:gesmes="http://www.gesmes.org/xml/2002-08-01">' \
  "<Cube><Cube time='2026-12-04'><Cube currency='USD' rate='1.0842'/><Cube currency='BGN' rate='1.9558'/>" \
  "<Cube currency='GBP' rate='0.8543'/><Cube currency='CHF' rate='0.94'/><Cube currency='NOK' rate='11.7'/>" \
  "</Cube></Cube></gesmes:Envelope>" >"$work/daily.xml"

# /daily.xml and /hist.xml served, /hang taken and never answered, /trickle a byte every 0.1 s for 4 s,
# anything else 404.
python3 -c '
import http.server, os, sys, time
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path == "/hang": return time.sleep(120)
        if self.path == "/trickle":
            self.send_response(200); self.send_header("Content-Length", "1000"); self.end_headers()
            try:
                for _ in range(40): self.wfile.write(b" "); self.wfile.flush(); time.sleep(0.1)
            except OSError: pass
            return
        name = os.path.join(os.path.dirname(sys.argv[1]), os.path.basename(self.path))
        if self.path not in ("/daily.xml", "/hist.xml") or not os.path.exists(name): return self.send_error(404)
        body = open(name, "rb").read()
        self.send_response(200); self.send_header("Content-Length", str(len(body))); self.end_headers()
        self.wfile.write(body)
    def log_message(self, *arguments): pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
open(sys.argv[2] + ".new", "w").write(str(server.server_address[1]))
os.rename(sys.argv[2] + ".new", sys.argv[2])
server.serve_forever()' "$work/daily.xml" "$work/port" &
server=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
base="http://127.0.0.1:$(cat "$work/port")"

mkfifo "$work/fifo"
cp -a "$program" "$work/before"
# Said in the language of the set installed there (French); the window gets the reason's key.
for refusal in "$base/missing.xml|répondu HTTP 404" "$base/hang|pas de réponse en 0,7 s" \
  "$base/trickle|pas de réponse en 0,7 s" "file://$work/fifo|n'est pas un fichier ordinaire" \
  "ftp://127.0.0.1/daily.xml|« ftp://127.0.0.1/daily.xml » n'est pas une adresse http, https ou file."; do
  status=0
  DEVICAL_RATES_TIMEOUT_MS=700 timeout 30 "$program/devical-rates" --url "${refusal%%|*}" >"$work/out" \
    2>"$work/err" || status=$?
  [ "$status" = 1 ] && grep -q "${refusal#*|}" "$work/err" && [ ! -s "$work/out" ] ||
    fail "$refusal: exit $status, $(cat "$work/out" "$work/err")"
  diff -r "$work/before" "$program" >/dev/null || fail "$refusal: a file changed"
done

"$program/devical-rates" --help | grep -q "^  --dry-run  *Afficher ce qui changerait, sans rien écrire.$" ||
  fail "--help is not in the installed set's language"

# What the window reads: one tab-separated line per fact.
"$program/devical-rates" --url "$base/daily.xml" --dry-run --machine >"$work/out" || fail "--machine refused"
printf 'date\t2026-12-04\nchanged\tGBP\t0,85\t0,8543\nchanged\tUSD\t1,08\t1,0842\n' | diff - "$work/out" ||
  fail "--machine said otherwise"

"$program/devical-rates" --url "$base/daily.xml" >"$work/out" || fail "the day's file refused"
printf 'GBP 0,85 -> 0,8543\nUSD 1,08 -> 1,0842\nTaux BCE du 04/12/2026 : 2 modifiés, 0 ajouté\n' | diff - "$work/out"
grep -q $'^1,0842\r$' "$program/Rates.txt" && grep -q $'^Date=2026-12-04\r$' "$program/DEVICAL.INI" ||
  fail "the new rate or its date is not written"

"$program/devical-rates" --url "$base/daily.xml" --file "$work/daily.xml" >"$work/out" 2>"$work/err" &&
  fail "--url with --file taken"
grep -q "indiquez --url ou --file" "$work/err" || fail "--url with --file: $(cat "$work/err")"

# The local history: fetched whole once, each later fetch adding its day; a picked day's rates
# come from it, a day without rates takes the working day before, a day outside is refused.
printf '%s\n' '<gesmes:Envelope><Cube>' \
  "<Cube time='2026-05-04'><Cube currency='USD' rate='1.131'/><Cube currency='CHF' rate='0.95'/></Cube>" \
  "<Cube time='2026-04-30'><Cube currency='USD' rate='1.13'/><Cube currency='GBP' rate='0.86'/></Cube>" \
  '</Cube></gesmes:Envelope>' >"$work/hist.xml"
"$program/devical-rates" --history --url "$base/hist.xml" >"$work/out" || fail "--history refused"
grep -q "^Historique : 2 jours, du 30/04/2026 au 04/05/2026$" "$work/out" || fail "--history: $(cat "$work/out")"
"$program/devical-rates" --url "$base/daily.xml" >"$work/out" || fail "the day's file refused"
grep -q "^Historique : 3 jours, du 30/04/2026 au 04/12/2026$" "$work/out" || fail "the day not kept: $(cat "$work/out")"
sed 's/2026-12-04/2026-12-07/' "$work/daily.xml" >"$work/next.xml"
cp "$program/RatesHistory.dat" "$work/history" && mv "$program/Rates.txt" "$work/Rates.txt"
"$program/devical-rates" --file "$work/next.xml" >/dev/null 2>&1 && fail "a day taken without its list"
cmp -s "$work/history" "$program/RatesHistory.dat" || fail "a failed update changed the history"
mv "$work/Rates.txt" "$program/Rates.txt"
"$program/devical-rates" --date 2026-05-01 >"$work/out" || fail "--date refused"
grep -q "^Pas de taux BCE le 01/05/2026 : taux du 30/04/2026, le jour ouvré précédent.$" "$work/out" &&
  grep -q "^USD 1,0842 -> 1,13$" "$work/out" && grep -q "^Pas de taux BCE ce jour-là, taux gardé : .*CHF" "$work/out" ||
  fail "--date 2026-05-01: $(cat "$work/out")"
grep -q $'^Date=2026-04-30\r$' "$program/DEVICAL.INI" && grep -q $'^Picked=1\r$' "$program/DEVICAL.INI" ||
  fail "the day of the rates, picked, is not recorded"
cp -a "$program" "$work/before-date"
"$program/devical-rates" --date 1998-12-31 >"$work/out" 2>"$work/err" && fail "a day before the history taken"
grep -q "Pas de taux BCE pour le 31/12/1998 : l'historique va du 30/04/2026 au 04/12/2026." "$work/err" ||
  fail "1998-12-31: $(cat "$work/err")"
diff -r "$work/before-date" "$program" >/dev/null || fail "a refused day changed a file"
"$program/devical-rates" --date 2026-05-04 --file "$work/hist.xml" 2>"$work/err" && fail "--date with --file taken"
grep -q "ni --url, ni --file, ni --history" "$work/err" || fail "--date with --file: $(cat "$work/err")"
# A damaged history is said, and stops neither the day's rates nor its making anew.
head -c 40 "$program/RatesHistory.dat" >"$work/cut" && cat "$work/cut" >"$program/RatesHistory.dat"
"$program/devical-rates" --url "$base/daily.xml" >"$work/out" 2>"$work/err" || fail "a damaged history stopped the fetch"
grep -q "endommagé" "$work/err" || fail "the damaged history not said: $(cat "$work/err")"
"$program/devical-rates" --history --url "$base/hist.xml" >"$work/out" 2>/dev/null || fail "--history not made anew"
grep -q "^Historique : 2 jours" "$work/out" || fail "--history anew: $(cat "$work/out")"
"$program/devical-rates" --url "$base/daily.xml" >/dev/null || fail "the day's file refused"

# Under the German set, rows added take their German names and the summary speaks German.
cp "$2/Devical.GM" "$program/DEVICAL.LAN"
"$program/devical-rates" --url "$base/daily.xml" --add >"$work/out" || fail "--add refused"
printf '%s\n' "Verlauf: 3 Tage, vom 30.04.2026 bis 04.12.2026" "NOK hinzugefügt -> 11,7" \
  "EZB-Kurse vom 04.12.2026: 0 geändert, 1 hinzugefügt" | diff - "$work/out"
grep -q $'^NOK Norwegische Krone\r$' "$program/Rates.txt" || fail "the added row is not named in German"
