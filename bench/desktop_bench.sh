#!/usr/bin/env bash
# Speed of the desktop program's run against the headless exporter, run by hand (not by ctest):
#   bench/desktop_bench.sh [WORKDIR]
# Builds a Release build in build-release/, writes sample installations of 200,000 and
# 1,000,000 contacts with morvask-sampledb (kept in WORKDIR, build/bench by default as for
# bench/export_bench.sh, so that either finds the logs the other wrote), then times in
# RUNS rounds (default 5), taking the best of each:
#   - the headless exporter on the installation's settings, without and with the length trace;
#   - the desktop program (offscreen) from the click on "Make adi file" until the ADIF file is
#     in place, its length trace on its standard output going to TRACE (default /dev/null;
#     a file to see the cost of writing it).
# The three take turns within a round, so that a busy moment on a shared machine falls on all
# of them alike. Goal: the desktop run at most 1.15 times the headless run without the trace.
set -euo pipefail
cd "$(dirname "$0")/.."
work="${1:-build/bench}"
runs="${RUNS:-5}"
trace="${TRACE:-/dev/null}"

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$(nproc)" --target morvask-export morvask-sampledb morvask-desktop-bench >/dev/null
bin=build-release/bin
mkdir -p "$work"
work=$(cd "$work" && pwd)

# timed COMMAND...: the command's wall time in seconds; its standard output goes to $trace.
timed() {
    local start=$EPOCHREALTIME
    "$@" >"$trace"
    awk "BEGIN{printf \"%.3f\", $EPOCHREALTIME - $start}"
}

# The smaller of the best so far ($1, empty at first) and a new time ($2).
best() { awk "BEGIN{b = \"$1\"; print (b == \"\" || $2 < b) ? $2 : b}"; }

status=0
for contacts in 200000 1000000; do
    prefix="$work/prefix-$contacts"
    qervel="$prefix/drive_c/Program Files/Qervel"
    [ -f "$qervel/Data/Qervel.mdb" ] || "$bin/morvask-sampledb" "$prefix" --contacts "$contacts" --seed 1 >/dev/null
    cat "$qervel/Data/Qervel.mdb" "$qervel/Refdata.mdb" >/dev/null  # every run starts from a warm cache

    export WINEPREFIX="$prefix"
    headless="" traced="" desktop="" times="$work/desktop-times.txt"
    for _ in $(seq "$runs"); do
        headless=$(best "$headless" "$(timed "$bin/morvask-export")")
        traced=$(best "$traced" "$(timed "$bin/morvask-export" --trace)")
        # The driver times from the click to the file in place, without its own start-up.
        QT_QPA_PLATFORM=offscreen "$bin/morvask-desktop-bench" "$prefix" 1 >"$trace" 2>"$times" ||
            { cat "$times" >&2; exit 1; }
        desktop=$(best "$desktop" "$(awk '/^run /{print $3}' "$times")")
    done
    ratio=$(awk "BEGIN{printf \"%.2f\", $desktop / $headless}")
    echo "$contacts contacts: headless ${headless} s (with the trace ${traced} s); desktop ${desktop} s;" \
         "desktop / headless ${ratio} (goal <= 1.15); desktop / headless with the trace" \
         "$(awk "BEGIN{printf \"%.2f\", $desktop / $traced}")"
    awk "BEGIN{exit !($ratio <= 1.15)}" || { echo "  MISSED: desktop / headless"; status=1; }
done
exit $status
