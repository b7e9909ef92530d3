#!/usr/bin/env bash
# Speed of the desktop program's run against the headless exporter, run by hand (not by ctest):
#   bench/desktop_bench.sh [WORKDIR]
# Builds a Release build in build-release/, writes sample installations of 200,000 and
# 1,000,000 contacts with morvask-sampledb (kept in WORKDIR for the next time), then times,
# best of RUNS (default 5):
#   - the headless exporter on the installation's settings, with and without the length trace;
#   - the desktop program (offscreen) from the click on "Make adi file" until the ADIF file is
#     in place, its length trace on its standard output going to TRACE (default /dev/null;
#     a file to see the cost of writing it).
# Goal: the desktop run at most 1.15 times the headless run without the trace.
set -euo pipefail
cd "$(dirname "$0")/.."
work="${1:-build-release/bench}"
runs="${RUNS:-5}"
trace="${TRACE:-/dev/null}"

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$(nproc)" --target morvask-export morvask-sampledb morvask-desktop-bench >/dev/null
bin=build-release/bin
mkdir -p "$work"

# best_of COMMAND...: the fastest wall time of $runs runs, in seconds; standard output to $trace.
best_of() {
    local best="" start took
    for _ in $(seq "$runs"); do
        start=$EPOCHREALTIME
        "$@" >"$trace"
        took=$(awk "BEGIN{print $EPOCHREALTIME - $start}")
        if [ -z "$best" ] || awk "BEGIN{exit !($took < $best)}"; then best=$took; fi
    done
    printf '%.3f\n' "$best"
}

status=0
for contacts in 200000 1000000; do
    prefix="$PWD/$work/prefix-$contacts"
    qervel="$prefix/drive_c/Program Files/Qervel"
    [ -f "$qervel/Data/Qervel.mdb" ] || "$bin/morvask-sampledb" "$prefix" --contacts "$contacts" --seed 1 >/dev/null
    cat "$qervel/Data/Qervel.mdb" "$qervel/Refdata.mdb" >/dev/null  # every run starts from a warm cache

    export WINEPREFIX="$prefix"
    headless=$(best_of "$bin/morvask-export")
    traced=$(best_of "$bin/morvask-export" --trace)
    times="$work/desktop-times-$contacts.txt"
    QT_QPA_PLATFORM=offscreen "$bin/morvask-desktop-bench" "$prefix" "$runs" >"$trace" 2>"$times" ||
        { cat "$times" >&2; exit 1; }
    desktop=$(awk '/^run /{ if (best == "" || $3 < best) best = $3 } END{ print best }' "$times")
    ratio=$(awk "BEGIN{printf \"%.2f\", $desktop / $headless}")
    echo "$contacts contacts: headless ${headless} s (with the trace ${traced} s); desktop ${desktop} s;" \
         "desktop / headless ${ratio} (goal <= 1.15)"
    awk "BEGIN{exit !($ratio <= 1.15)}" || { echo "  MISSED: desktop / headless"; status=1; }
done
exit $status
