#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh              the normal build (folder build/); every test
#                                on database files, then the engine's tests
#                                again on a throw-away database server
#   scripts/test.sh --sanitize   the engine's tests under AddressSanitizer and
#                                UndefinedBehaviorSanitizer (folder build-sanitize/;
#                                the Qt programs are left out to keep it quick)
# Further arguments after --sanitize go to CMake (e.g. a compiler launcher).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = "--sanitize" ]; then
  shift
  build=${BUILD_DIR:-$top/build-sanitize}
  "$top/scripts/setup.sh" "$build" -DNIMBRA_SANITIZE=ON -DNIMBRA_BENCHMARKS=OFF -DNIMBRA_PROGRAMS=OFF "$@"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$build" --output-on-failure -j2 -LE server
else
  build=${BUILD_DIR:-$top/build}
  "$top/scripts/setup.sh" "$build"
  ctest --test-dir "$build" --output-on-failure -j2 -LE server
  "$top/scripts/with-test-server.sh" ctest --test-dir "$build" --output-on-failure -j2 -L server
fi
