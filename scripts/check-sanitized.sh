#!/usr/bin/env bash
# Builds the engine, its tests and the fuzz targets with AddressSanitizer and UBSan (clang)
# into build-sanitize/, then runs the engine tests and replays the fuzz corpus there. A
# finding in any process of the run fails it: the tests, the exporters and tools they
# start, and the reader processes, whose standard error goes nowhere. Every report is
# written to build-sanitize/sanitizer-reports/ and shown at the end.
# Usage: scripts/check-sanitized.sh [ctest arguments, e.g. -R Profile]
set -euo pipefail
cd "$(dirname "$0")/.."
CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMORVASK_SANITIZE=ON -DMORVASK_BUILD_GUI=OFF >/dev/null
cmake --build build-sanitize -j"$(nproc)"

reports="$PWD/build-sanitize/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
# - allocator_may_return_null: the reader process runs under an address-space limit and
#   must see a failed allocation as the plain build does, not as a report.
# - handle_segv and friends off: a reader that crashes in libmdb must die by its signal,
#   which is how the parent tells a crash; a crash of ours still fails its test.
export ASAN_OPTIONS="allocator_may_return_null=1:handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:check_initialization_order=1:detect_stack_use_after_return=1:log_path=$reports/report"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/report"
status=0
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)" "$@" || status=$?

# libmdb itself is not instrumented; when the sanitizer's checks of the C library calls
# catch it overrunning, that happens inside a reader process, which ends there and is
# reported as a damaged file. Such a report, whose first frame past the sanitizer, the C
# library and glib lies in libmdb, is shown but is not a finding in our code.
shopt -s nullglob
for report in "$reports"/report.*; do
    origin=$(grep -E '^ +#[0-9]+ ' "$report" |
        grep -v -E ' in (__interceptor_|__asan_)|/libc\.so|/libglib-2\.0\.so' | head -1 || true)
    if [[ "$origin" == *libmdb.so* ]]; then
        echo "Contained in a reader process (libmdb, not ours): $report" >&2
    else
        echo "Sanitizer finding: $report" >&2
        status=1
    fi
    cat "$report" >&2
done
exit $status
