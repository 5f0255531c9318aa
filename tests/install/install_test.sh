#!/usr/bin/env bash
# The installed program: `cmake --install` into a throwaway prefix, the desktop entry and
# metainfo validated, the icons at every size, --help and --version, and a first start as a
# new user under Xvfb: the user's directory is seeded, nothing is written under the prefix,
# and the converter and the language choice open.
#   install_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.devical.Devical
for file in bin/devical bin/devical-rates "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
            "share/icons/hicolor/scalable/apps/$id.svg" share/man/man1/devical.1.gz \
            share/devical/Devical.FR share/devical/Memory.GM share/devical/Devical.html; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done
for size in 16 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$png" ] || fail "no $size pixel icon"
  # Width and height are the two big-endian words after the PNG signature and IHDR header.
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
  [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "the $size pixel icon is ${width}x$height"
done
# Its hints count too: two main categories put the program twice in a menu.
validation="$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1)" && [ -z "$validation" ] ||
  fail "desktop-file-validate: $validation"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "appstreamcli validate"; }

# Printing is a module the program loads when the user prints, never linked into it.
module="$(cd "$prefix" && find . -name devical_print.so)"
[ -n "$module" ] || fail "not installed: the print module"
ldd "$prefix/bin/devical" | grep -q PrintSupport && fail "the program links the printing support"
grep -aqF "$(cd "$prefix" && realpath -m --relative-to=bin "$(dirname "$module")")/devical_print.so" "$prefix/bin/devical" ||
  fail "the program looks for its print module elsewhere than $module"

[ "$("$prefix/bin/devical" --version)" = "devical 1.0.0" ] || fail "--version"
"$prefix/bin/devical" --help | grep -q -- "--minimized" || fail "--help"
[ "$("$prefix/bin/devical-rates" --version)" = "devical-rates 1.0.0" ] || fail "devical-rates --version"

# A new German-speaking user's first start: greeted in German, the German set behind it.
home="$work/home"
runtime="$work/runtime"
mkdir -p "$home"
mkdir -m 700 "$runtime"
before="$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)"
# Xvfb picks a free display itself and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=":$(cat "$work/display")"
env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$runtime" DISPLAY="$display" LANG=de_DE.UTF-8 \
  "$prefix/bin/devical" >"$work/devical.log" 2>&1 &
pid=$!
user="$home/.local/share/devical"
windows=""
for _ in $(seq 100); do
  windows="$(xwininfo -display "$display" -root -tree 2>/dev/null || true)"
  grep -q '"Devical"' <<<"$windows" && grep -q '"Sprache wählen und auf OK klicken"' <<<"$windows" && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/devical.log"; fail "devical ended"; }
  sleep 0.1
done
grep -q '"Devical"' <<<"$windows" || fail "no converter window"
grep -q '"Sprache wählen und auf OK klicken"' <<<"$windows" || fail "no language choice on a first start"
# The menu entry's StartupWMClass names the window's class, so docks group it with the entry.
class="$(sed -n 's/^StartupWMClass=//p' "$prefix/share/applications/$id.desktop")"
window="$(awk '/"Devical"/ { print $1; exit }' <<<"$windows")"
xprop -display "$display" -id "$window" WM_CLASS | grep -q "\"$class\"" || fail "the window's class is not $class"
[ "$(stat -c %a "$user")" = 700 ] || fail "the user's directory is not private"
for file in DEVICAL.INI DEVICAL.LAN Rates.txt Taxes.txt Memory.txt Devical.AN Memory.GM Devical.html Install.Oui; do
  [ -f "$user/$file" ] || fail "not seeded: $file"
done
cmp -s "$user/DEVICAL.LAN" "$prefix/share/devical/Devical.GM" || fail "the working texts are not the German set"
# The rates command works on the same directory as the program.
printf '%s\n' '<gesmes:Envelope><Cube><Cube time="2026-12-04"><Cube currency="USD" rate="1.0842"/></Cube></Cube>' \
  '</gesmes:Envelope>' >"$work/rates.xml"
env -i PATH="$PATH" HOME="$home" "$prefix/bin/devical-rates" --dry-run --file "$work/rates.xml" | grep -q '^USD 1,08 -> 1,0842$' ||
  fail "devical-rates does not find the user's list"
[ "$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)" = "$before" ] || fail "something was written under the prefix"
echo "installed, validated and started"
