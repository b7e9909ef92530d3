#!/usr/bin/env bash
# Fuzzes each target for a while, one after the other (run by hand, not by ctest):
#   bench/fuzz.sh [SECONDS] [TARGET...]
# SECONDS per target, 60 by default; all targets unless some are named (row_frames,
# row_cursor, profile_file, wine_prefix, progress_line). Each starts from its committed
# corpus in fuzz/corpus/ and keeps what it learns in build-sanitize/fuzz-corpus/, so a
# second run goes on from there. An input that breaks a target is written to
# build-sanitize/fuzz-findings/; copy it into the target's folder in fuzz/corpus/ once the
# fault is mended, so that ./test replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(row_frames row_cursor profile_file wine_prefix progress_line)

CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMORVASK_SANITIZE=ON -DMORVASK_BUILD_GUI=OFF >/dev/null
cmake --build build-sanitize -j"$(nproc)" --target "${targets[@]/%/_fuzzer}" >/dev/null

findings=build-sanitize/fuzz-findings
mkdir -p "$findings"
export ASAN_OPTIONS="check_initialization_order=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
summary=()
for target in "${targets[@]}"; do
    name="${target}_fuzzer"
    case "$target" in
        row_frames | row_cursor) seeds=fuzz/corpus/reader_stream ;;
        profile_file) seeds=fuzz/corpus/settings_file ;;
        wine_prefix) seeds=fuzz/corpus/windows_path ;;
        progress_line) seeds=fuzz/corpus/progress_line ;;
        *) echo "no fuzz target $target" >&2; exit 2 ;;
    esac
    work="build-sanitize/fuzz-corpus/$name"
    log="build-sanitize/fuzz-$target.log"
    mkdir -p "$work"
    dict=()
    [ -f "fuzz/dict/$target.dict" ] && dict=(-dict="fuzz/dict/$target.dict")
    echo "Fuzzing $target for $seconds s (log: $log)" >&2
    result=ok
    # An input may take a few seconds: the cursor hands out up to 2^27 rows of no values,
    # as many as an Access file can hold, from a stream of a few bytes.
    "build-sanitize/bin/$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/$target-" "${dict[@]}" "$work" "$seeds" >"$log" 2>&1 ||
        { result="FOUND A FAULT (see $log and $findings)"; status=1; }
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    last=$(grep -E '^#[0-9]+' "$log" | tail -1)
    cov=$(sed -n 's/.* cov: \([0-9]*\) .*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\) .*/\1/p' <<<"$last")
    summary+=("$(printf '%-14s %6s s %10s runs %7s/s  cov %5s  ft %6s  corpus %5s  %s' "$target" "$seconds" \
        "${runs:-?}" "${speed:-?}" "${cov:-?}" "${ft:-?}" "$(ls "$work" | wc -l)" "$result")")
done
printf '%s\n' "${summary[@]}"
exit $status
