#!/usr/bin/env bash
# Renders the run-settings dialog and the main window after a run on the sample installation
# into res/screenshots/ (the pictures in the README). Uses a virtual X display when xvfb-run
# is there, so the windows get a real screen of 1280 x 1024; otherwise the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh

export WINEPREFIX="$PWD/build/sample/Qervel prefix"
[ -d "$WINEPREFIX" ] || build/bin/morvask-sampledb "$WINEPREFIX" --contacts 500 --seed 1
# The recent-file list and other per-user state stay out of the operator's own settings.
XDG_CONFIG_HOME="$(mktemp -d)"
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

out="$PWD/res/screenshots"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb build/bin/render_screenshots "$out" >/dev/null
else
  QT_QPA_PLATFORM=offscreen build/bin/render_screenshots "$out" >/dev/null
fi
ls "$out"/*.png
