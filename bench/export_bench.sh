#!/usr/bin/env bash
# Speed and memory of the headless export, run by hand (not by ctest):
#   bench/export_bench.sh [WORKDIR]
# Writes logs of 200,000 and 1,000,000 contacts with morvask-sampledb (kept in WORKDIR for
# the next time), then times mdb-export of the contact table and morvask-export of the same
# file, best of five runs each (on two cores the reader and the writer each need one, so a
# single busy moment elsewhere shows in any one run), with peak memory. Goals: the export at most 0.7 of
# mdb-export's wall time, at most 64 MiB at either size, and 1M at most 5.5 times 200k.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time: apt-get install time" >&2; exit 2; }
scripts/build.sh >/dev/null
work="${1:-build/bench}"
mkdir -p "$work"

# best_of OUTFILE COMMAND...: prints "wall-seconds peak-KiB", the fastest wall time and the
# largest peak of five runs.
best_of() {
    local out=$1 best="" peak=0 wall rss
    shift
    for _ in 1 2 3 4 5; do
        /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >"$out"
        read -r wall rss <"$work/time.txt"
        if [ -z "$best" ] || awk "BEGIN{exit !($wall < $best)}"; then best=$wall; fi
        [ "$rss" -gt "$peak" ] && peak=$rss
    done
    echo "$best $peak"
}

declare -A export_wall
status=0
for contacts in 200000 1000000; do
    prefix="$work/prefix-$contacts"
    qervel="$prefix/drive_c/Program Files/Qervel"
    [ -f "$qervel/Data/Qervel.mdb" ] || build/bin/morvask-sampledb "$prefix" --contacts "$contacts" --seed 1 >/dev/null
    cat "$qervel/Data/Qervel.mdb" "$qervel/Refdata.mdb" >/dev/null  # both readers start from a warm cache

    read -r ref_wall ref_rss < <(best_of /dev/null mdb-export "$qervel/Data/Qervel.mdb" QSO-TAB)
    read -r wall rss < <(best_of "$work/counts-$contacts.txt" build/bin/morvask-export \
        --source "$qervel/Data/Qervel.mdb" --refdata "$qervel/Refdata.mdb" \
        --output "$work/adiUpld2Morvask-$contacts.adi" --oprcall PA3ABC)
    export_wall[$contacts]=$wall
    ratio=$(awk "BEGIN{printf \"%.2f\", $wall / $ref_wall}")
    echo "$contacts contacts: mdb-export ${ref_wall} s, ${ref_rss} KiB; morvask-export ${wall} s, ${rss} KiB;" \
         "time ratio ${ratio} (goal <= 0.70), peak goal <= 65536 KiB"
    awk "BEGIN{exit !($ratio <= 0.70)}" || { echo "  MISSED: time ratio"; status=1; }
    [ "$rss" -le 65536 ] || { echo "  MISSED: peak memory"; status=1; }
done

scale=$(awk "BEGIN{printf \"%.2f\", ${export_wall[1000000]} / ${export_wall[200000]}}")
echo "1M / 200k export time: ${scale} (goal <= 5.50)"
awk "BEGIN{exit !($scale <= 5.5)}" || { echo "  MISSED: scaling"; status=1; }
exit $status
