#!/usr/bin/env bash
# The Debian package: built with CPack from the build directory, unpacked into a throwaway
# root with dpkg-deb, its files and fields checked, and lintian's errors none.
#   package_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/package/devical_*_*.deb)"
[[ "$(basename "$deb")" =~ ^devical_1\.0\.0_[a-z0-9]+\.deb$ ]] || fail "package name $(basename "$deb")"

dpkg-deb -x "$deb" "$work/root"
id=org.devical.Devical
for file in usr/bin/devical usr/bin/devical-rates "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
            "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/icons/hicolor/48x48/apps/$id.png" \
            "usr/share/icons/hicolor/256x256/apps/$id.png" usr/share/man/man1/devical.1.gz \
            usr/share/devical/Devical.FR usr/share/devical/Taxes.EU \
            usr/share/doc/devical/copyright; do
  [ -e "$work/root/$file" ] || fail "not in the package: $file"
done
depends="$(dpkg-deb -f "$deb" Depends)"
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks Qt: $depends"
grep -q 'libqt6network6' <<<"$depends" || fail "Depends lacks Qt's network library (devical-rates): $depends"
grep -q 'qt6-translations-l10n' <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks Qt's translations"
grep -q 'qt6-wayland' <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks Qt's Wayland platform"
[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "section"
grep -q '@example.org>' <<<"$(dpkg-deb -f "$deb" Maintainer)" || fail "maintainer"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian errors"; }
  cat "$work/lintian.log"
fi
echo "package $(basename "$deb") checked"
