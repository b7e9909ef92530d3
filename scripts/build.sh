#!/usr/bin/env bash
# Configures and builds into build/; executables land in build/bin/.
# Usage: scripts/build.sh [run] [CMAKE OPTIONS...]
#   run   only what running needs (./run): the two programs and the sample writer; no tests,
#         benchmarks or screenshot renderer, and no GoogleTest needed. Without it, everything
#         (./test).
# Both share build/: switching only adds or drops the test targets, and nothing that both
# build is compiled again.
set -euo pipefail
cd "$(dirname "$0")/.."
tests=ON
if [ "${1:-}" = run ]; then
  tests=OFF
  shift
fi
# Configured only when the wanted kind of build differs from the last one, so that a build
# with nothing to do is quick; cmake --build configures again by itself when a CMake file changed.
if [ $# -gt 0 ] || ! grep -qx "MORVASK_BUILD_TESTS:BOOL=$tests" build/CMakeCache.txt 2>/dev/null; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVASK_BUILD_TESTS="$tests" "$@" >/dev/null
fi
cmake --build build -j"$(nproc)"
