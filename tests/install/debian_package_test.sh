#!/usr/bin/env bash
# The Debian package as debian/ builds it (dpkg-buildpackage, from a copy of the source tree
# without its build folders): its name and version, its control fields, the libraries apt must
# bring along, what it holds, and lintian's verdict with its pedantic tags (no error and no
# warning may remain; the informational tags and overrides left are shown).
# Usage: debian_package_test.sh SOURCE_DIR VERSION
set -euo pipefail
source=$1 version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

mkdir "$tmp/morvask"
tar -C "$source" --exclude=./.git --exclude='./build*' --exclude='./obj-*' --exclude=./debian/.debhelper \
  --exclude=./debian/morvask --exclude=./debian/tmp --exclude=./debian/files --exclude='./debian/*.substvars' \
  --exclude=./debian/debhelper-build-stamp -cf - . | tar -C "$tmp/morvask" -xf -
(cd "$tmp/morvask" && DEB_BUILD_OPTIONS="parallel=$(nproc)" dpkg-buildpackage -us -uc -b) >"$tmp/build.log" 2>&1 ||
  fail "dpkg-buildpackage: $(tail -40 "$tmp/build.log")"
arch=$(dpkg --print-architecture)
deb=$tmp/morvask_${version}_$arch.deb
[ -f "$deb" ] || fail "no $deb (is debian/changelog at $version?); dpkg-buildpackage made: $(ls "$tmp")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = morvask ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
# Depends comes from the programs' libraries: the database reader and Qt at least, under their
# names of this release (Debian 13 gave some a t64 ending).
depends=$(field Depends)
for lib in libc6 libmdb3 libqt6widgets6; do
  [[ ,$depends, =~ [,\ ]$lib(t64)?[\ ,] ]] || fail "Depends lacks $lib: $depends"
done
# Qt's Wayland platform, so that the program runs as a native Wayland client.
[[ $(field Recommends) == *qt6-wayland* ]] || fail "Recommends lacks qt6-wayland: $(field Recommends)"

dpkg-deb --contents "$deb" | awk '{print $6}' >"$tmp/contents"
for f in ./usr/bin/morvask ./usr/bin/morvask-export ./usr/share/man/man1/morvask.1.gz \
  ./usr/share/man/man1/morvask-export.1.gz ./usr/share/applications/org.morvask.morvask.desktop \
  ./usr/share/metainfo/org.morvask.morvask.metainfo.xml ./usr/share/doc/morvask/copyright \
  ./usr/share/doc/morvask/changelog.gz; do
  grep -qxF "$f" "$tmp/contents" || fail "the package lacks $f"
done

changes=$tmp/morvask_${version}_$arch.changes
lintian --pedantic --display-info --show-overrides --fail-on error,warning --tag-display-limit 0 "$changes" \
  >"$tmp/lintian.log" 2>&1 ||
  fail "lintian: $(cat "$tmp/lintian.log")"
cat "$tmp/lintian.log"
echo "debian package: all checks passed"
