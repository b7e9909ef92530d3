#!/usr/bin/env bash
# The Debian package made by cpack from the build folder: its name, its control fields, the
# libraries apt must bring along, what it holds, and lintian's verdict.
# Usage: debian_package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp") >"$tmp/cpack.log" 2>&1 ||
  fail "cpack: $(tail -20 "$tmp/cpack.log")"
deb=$tmp/morvask_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb; cpack made: $(ls "$tmp")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = morvask ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
# Depends comes from the programs' libraries: the database reader and Qt at least.
depends=$(field Depends)
for lib in libc6 libmdb3 libqt6widgets6; do
  [[ $depends == *"$lib "* || $depends == *"$lib," || $depends == *"$lib" ]] || fail "Depends lacks $lib: $depends"
done

dpkg-deb --contents "$deb" | awk '{print $6}' >"$tmp/contents"
for f in ./usr/bin/morvask ./usr/bin/morvask-export ./usr/share/man/man1/morvask-export.1.gz \
  ./usr/share/applications/org.morvask.morvask.desktop ./usr/share/doc/morvask/copyright; do
  grep -qxF "$f" "$tmp/contents" || fail "the package lacks $f"
done

lintian --fail-on error --tag-display-limit 0 "$deb" >"$tmp/lintian.log" 2>&1 || fail "lintian: $(cat "$tmp/lintian.log")"
cat "$tmp/lintian.log"
echo "debian package: all checks passed"
