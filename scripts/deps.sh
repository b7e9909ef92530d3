#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing needs, and only those
# that are missing. Usage: scripts/deps.sh run|test
# With MORVASK_DEPS_LOG set, apt's output goes to that file and only one line is shown.
set -euo pipefail

# Names that Debian 12 and Debian 13 both know, so that nothing here depends on the release.
# Building needs what debian/control's Build-Depends lists.
common=(g++ cmake make pkgconf libglib2.0-dev mdbtools-dev qt6-base-dev libyaml-cpp-dev librsvg2-bin)
case "${1:-test}" in
  run) wanted=("${common[@]}") ;;
  # The tests also validate the desktop entry and AppStream data, build the Debian package
  # (dpkg-buildpackage wants build-essential and debhelper) and check it with lintian, and
  # start the desktop program under weston's headless Wayland compositor with Qt's Wayland
  # platform; clang with its sanitizer and libFuzzer runtimes (libclang-rt-dev names the
  # release's own version) and llvm's symbolizer build and run the sanitizer build and the
  # fuzz targets (scripts/check-sanitized.sh, bench/fuzz.sh); the accessibility test reads
  # the window over AT-SPI in a D-Bus session of its own.
  test) wanted=("${common[@]}" mdbtools libgtest-dev xvfb xauth desktop-file-utils appstream build-essential
    dpkg-dev debhelper lintian weston qt6-wayland clang libclang-rt-dev llvm
    at-spi2-core dbus-daemon dbus-session-bus-common gir1.2-atspi-2.0 python3-gi) ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
install() {
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}
if [ -n "${MORVASK_DEPS_LOG:-}" ]; then
  echo "morvask: installing Debian packages: ${missing[*]}"
  install >>"$MORVASK_DEPS_LOG" 2>&1
else
  echo "Installing: ${missing[*]}" >&2
  install
fi
