#!/usr/bin/env bash
# Speed and memory of the export, run by hand (not by ctest):
#   bench/export_bench.sh [WORKDIR]          RUNS=5 by default
#   EXPORTER=/path/to/morvask-export bench/export_bench.sh    measures another build of it
# Builds a Release tree in build-release/, writes logs of 200,000 and 1,000,000 contacts
# with morvask-sampledb (kept in WORKDIR, build/bench by default, for the next time) and
# measures on each, in the same run:
#   mdb-export   the plain libmdb export of the contact table, the yardstick;
#   headless     morvask-export of the same log.
# Wall times are the best of RUNS runs (GNU time): on two cores the reader and the writer
# each need one, so any busy moment elsewhere shows in a single run. Peaks are VmHWM per
# process from morvask-process-peaks, which follows the exporter's forked readers; GNU
# time's figure is the largest of the whole tree and is shown beside it.
# Goals: headless at 200k at most 0.25 of mdb-export's time; headless at 1M at most 5.2
# times its 200k time; every process at most 16 MiB. Then bench/desktop_bench.sh measures
# the desktop program's run on the same logs against the headless one (at most 1.15 times).
# Exits 1 when a goal is missed.
#
# Another program is measured by adding a bench_<name> function like bench_headless and
# its name to BENCHES; its goals go into check_goals.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -x /usr/bin/time ] || { echo "needs GNU time: apt-get install time" >&2; exit 2; }
command -v mdb-export >/dev/null || { echo "needs mdb-export: apt-get install mdbtools" >&2; exit 2; }

RUNS=${RUNS:-5}
SIZES=(200000 1000000)
BENCHES=(mdb_export headless)
work="${1:-build/bench}"
mkdir -p "$work"

# Configured as bench/desktop_bench.sh configures it, so that neither rebuilds the other's work.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j2 --target morvask-export morvask-sampledb morvask-process-peaks >/dev/null
bin=build-release/bin
exporter=${EXPORTER:-$bin/morvask-export}

# wall[bench,size] and cpu[bench,size] in seconds; peak[bench,size] the largest VmHWM of
# one process in KiB; tree[bench,size] GNU time's peak of the whole tree in KiB;
# detail[bench,size] free text.
declare -A wall cpu peak tree detail

# best_of OUTFILE COMMAND...: prints "seconds cpu-seconds tree-KiB": the best wall time of
# RUNS runs, the least processor time (user and system, the reaped readers included) and
# the largest peak GNU time saw.
best_of() {
    local out=$1 best="" least="" most=0 seconds user system kib
    shift
    for ((run = 0; run < RUNS; run++)); do
        /usr/bin/time -f '%e %U %S %M' -o "$work/time.txt" "$@" >"$out"
        read -r seconds user system kib <"$work/time.txt"
        if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best=$seconds; fi
        if [ -z "$least" ] || awk "BEGIN{exit !($user + $system < $least)}"; then
            least=$(awk "BEGIN{print $user + $system}")
        fi
        ((kib > most)) && most=$kib
    done
    echo "$best $least $most"
}

# peaks COMMAND...: prints "first-KiB others-KiB first-ms others-ms": the peak of the started
# process and the largest peak of the processes it started (0 when none), then the
# processor time of the first and of all the others together.
peaks() {
    "$bin/morvask-process-peaks" "$work/peaks.txt" "$@" >/dev/null
    awk 'NR == 1 {first = $4; firstMs = $5}
         NR > 1 {if ($4 > others) others = $4; othersMs += $5}
         END {print first, others + 0, firstMs, othersMs + 0}' "$work/peaks.txt"
}

log_of() { echo "$work/prefix-$1/drive_c/Program Files/Qervel/Data/Qervel.mdb"; }
refdata_of() { echo "$work/prefix-$1/drive_c/Program Files/Qervel/Refdata.mdb"; }

bench_mdb_export() {
    local size=$1 seconds processor kib
    read -r seconds processor kib < <(best_of /dev/null mdb-export "$(log_of "$size")" QSO-TAB)
    wall[mdb_export,$size]=$seconds
    cpu[mdb_export,$size]=$processor
    tree[mdb_export,$size]=$kib
    peak[mdb_export,$size]=$kib
    detail[mdb_export,$size]="one process"
}

bench_headless() {
    local size=$1 seconds processor kib parent readers parentMs readersMs
    local args=(--source "$(log_of "$size")" --refdata "$(refdata_of "$size")"
        --output "$work/adiUpld2Morvask-$size.adi" --oprcall PA3ABC)
    read -r seconds processor kib < <(best_of "$work/counts-$size.txt" "$exporter" "${args[@]}")
    read -r parent readers parentMs readersMs < <(peaks "$exporter" "${args[@]}")
    wall[headless,$size]=$seconds
    cpu[headless,$size]=$processor
    tree[headless,$size]=$kib
    peak[headless,$size]=$((parent > readers ? parent : readers))
    detail[headless,$size]="exporter $parent KiB ${parentMs} ms, largest reader $readers KiB, readers ${readersMs} ms"
}

ratio() { awk "BEGIN{printf \"%.2f\", $1 / $2}"; }

status=0
# goal TEXT VALUE LIMIT: VALUE must not exceed LIMIT.
goal() {
    if awk "BEGIN{exit !($2 <= $3)}"; then
        printf '  %-52s %10s (goal <= %s)\n' "$1" "$2" "$3"
    else
        printf '  %-52s %10s (goal <= %s)  MISSED\n' "$1" "$2" "$3"
        status=1
    fi
}

check_goals() {
    echo "Goals:"
    goal "headless / mdb-export at 200k (wall)" "$(ratio "${wall[headless,200000]}" "${wall[mdb_export,200000]}")" 0.25
    goal "headless 1M / 200k (wall)" "$(ratio "${wall[headless,1000000]}" "${wall[headless,200000]}")" 5.2
    echo "  (processor time, for a shared machine: headless / mdb-export at 200k" \
        "$(ratio "${cpu[headless,200000]}" "${cpu[mdb_export,200000]}"), headless 1M / 200k" \
        "$(ratio "${cpu[headless,1000000]}" "${cpu[headless,200000]}"))"
    for size in "${SIZES[@]}"; do
        goal "headless peak of any one process at $size (KiB)" "${peak[headless,$size]}" 16384
    done
}

for size in "${SIZES[@]}"; do
    [ -f "$(log_of "$size")" ] || "$bin/morvask-sampledb" "$work/prefix-$size" --contacts "$size" --seed 1 >/dev/null
    cat "$(log_of "$size")" "$(refdata_of "$size")" >/dev/null # every reader starts from a warm cache
    for bench in "${BENCHES[@]}"; do "bench_$bench" "$size"; done
done

echo "Best of $RUNS runs; load average now $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores."
for size in "${SIZES[@]}"; do
    echo "$size contacts ($(head -1 "$work/counts-$size.txt")):"
    for bench in "${BENCHES[@]}"; do
        printf '  %-12s %7.2f s (processor %5.2f s)   peak %6s KiB (%s; whole tree %s KiB)\n' "$bench" \
            "${wall[$bench,$size]}" "${cpu[$bench,$size]}" "${peak[$bench,$size]}" "${detail[$bench,$size]}" \
            "${tree[$bench,$size]}"
    done
done
check_goals
echo
echo "Desktop program against the headless exporter, on the same logs:"
RUNS=$RUNS bench/desktop_bench.sh "$work" || status=1
exit $status
