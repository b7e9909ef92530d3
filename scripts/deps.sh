#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing needs, and only those
# that are missing. Usage: scripts/deps.sh run|test
set -euo pipefail

common=(g++ cmake make pkg-config libglib2.0-dev mdbtools-dev qt6-base-dev)
case "${1:-test}" in
  run)  wanted=("${common[@]}") ;;
  # clang with its sanitizer and libFuzzer runtimes and llvm's symbolizer: the sanitizer
  # build and the fuzz targets (scripts/check-sanitized.sh, bench/fuzz.sh).
  test) wanted=("${common[@]}" mdbtools libgtest-dev xvfb xauth clang libclang-rt-14-dev llvm) ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
