#!/usr/bin/env bash
# The programs as an operator gets them, installed under USR (by cmake --install, or /usr from
# the Debian package), run from there with nothing of the build tree in reach and without a
# display: the files an installation holds, both --version, the desktop program's --help,
# no-display line and --check-install, and the exporter's bytes and counts on the sample log.
# Usage: check_installed.sh USR SAMPLE_DIR VERSION
set -euo pipefail
usr=$1 sample=$2 version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# No display, no WINEPREFIX and a PATH without the build folder.
run() { env -i HOME="$tmp/home" PATH=/usr/bin:/bin "$@"; }

for f in bin/morvask bin/morvask-export share/man/man1/morvask.1.gz share/man/man1/morvask-export.1.gz \
  share/applications/org.morvask.morvask.desktop share/metainfo/org.morvask.morvask.metainfo.xml \
  share/icons/hicolor/scalable/apps/morvask.svg; do
  [ -s "$usr/$f" ] || fail "$f is not installed"
done
# Each hicolor size holds a PNG of that size (width and height from its header).
for size in 16 32 48 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/morvask.png
  [ -s "$png" ] || fail "$png is not installed"
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
  [ $(((w1 << 24) + (w2 << 16) + (w3 << 8) + w4))x$(((h1 << 24) + (h2 << 16) + (h3 << 8) + h4)) = "${size}x$size" ] ||
    fail "$png is not $size pixels square"
done

[ "$(run "$usr/bin/morvask" --version)" = "morvask $version" ] || fail "morvask --version without a display"
[ "$(run "$usr/bin/morvask-export" --version)" = "morvask-export $version" ] || fail "morvask-export --version"

# Without a display the desktop program still helps, and otherwise says in one line what it
# needs and what to use instead, where Qt would abort.
run "$usr/bin/morvask" --help >"$tmp/help" 2>&1 || fail "morvask --help without a display: $(cat "$tmp/help")"
for option in --check-install --version --help morvask-export; do
  grep -qF -- "$option" "$tmp/help" || fail "morvask --help does not mention $option: $(cat "$tmp/help")"
done
status=0
run "$usr/bin/morvask" >"$tmp/nodisplay.out" 2>"$tmp/nodisplay.err" </dev/null || status=$?
[ "$status" -eq 1 ] || fail "morvask without a display ended with $status: $(cat "$tmp/nodisplay.err")"
[ ! -s "$tmp/nodisplay.out" ] && [ "$(wc -l <"$tmp/nodisplay.err")" -eq 1 ] &&
  grep -q "desktop session.*morvask-export" "$tmp/nodisplay.err" ||
  fail "morvask without a display said: $(cat "$tmp/nodisplay.out" "$tmp/nodisplay.err")"

# The manual page describes exactly the options that --help lists: neither may drift.
help_options=$(run "$usr/bin/morvask-export" --help | grep -oE -- '--[a-z-]+' | sort -u)
page_options=$(zcat "$usr/share/man/man1/morvask-export.1.gz" | sed 's/\\-/-/g' |
  awk 'item && $2 ~ /^--/ {print $2} {item = ($0 == ".TP")}' | sort -u)
[ "$help_options" = "$page_options" ] ||
  fail "--help and the manual page list other options: $(diff <(echo "$help_options") <(echo "$page_options") || true)"

# The installed exporter makes the sample's upload file to the byte.
mkdir "$tmp/home" "$tmp/out"
run WINEPREFIX="$tmp/no-prefix" "$usr/bin/morvask-export" --source "$sample/source.mdb" \
  --refdata "$sample/Refdata.mdb" --output "$tmp/out/adiUpld2Morvask.adi" --oprcall PA3ABC >"$tmp/counts" ||
  fail "the installed exporter failed on the sample"
cmp "$sample/expected.adi" "$tmp/out/adiUpld2Morvask.adi" || fail "the installed exporter wrote other bytes"
cmp "$sample/expected.counts" "$tmp/counts" || fail "the installed exporter printed other counts"

# The installed desktop program starts the exporter beside itself...
run "$usr/bin/morvask" --check-install >"$tmp/check" 2>&1 || fail "morvask --check-install: $(cat "$tmp/check")"
grep -qF "the exporter $usr/bin/morvask-export (morvask-export $version)" "$tmp/check" ||
  fail "morvask --check-install named another exporter: $(cat "$tmp/check")"
# ...and only that one: alone in a folder it must not find one elsewhere.
mkdir "$tmp/alone"
cp "$usr/bin/morvask" "$tmp/alone/"
if run "$tmp/alone/morvask" --check-install >"$tmp/alone.out" 2>&1; then
  fail "morvask without an exporter beside it passed --check-install: $(cat "$tmp/alone.out")"
fi
grep -qF "$tmp/alone/morvask-export is missing" "$tmp/alone.out" || fail "unexpected refusal: $(cat "$tmp/alone.out")"
echo "installed programs: all checks passed"
