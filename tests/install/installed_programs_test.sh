#!/usr/bin/env bash
# The programs installed with cmake --install into a folder of their own, then checked there.
# Usage: installed_programs_test.sh BUILD_DIR SAMPLE_DIR VERSION
set -euo pipefail
build=$1 sample=$2 version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/usr" >"$tmp/install.log" ||
  { echo "FAIL: cmake --install: $(cat "$tmp/install.log")" >&2; exit 1; }
"$(dirname "$0")/check_installed.sh" "$tmp/usr" "$sample" "$version"
