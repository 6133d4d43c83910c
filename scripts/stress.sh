#!/usr/bin/env bash
# Builds the stress run and the crash test, which scripts/test.sh leaves out,
# and runs them (docs/reliability.md says what they check).
#   scripts/stress.sh                      both with their default arguments (minutes each)
#   scripts/stress.sh --quick              both with --quick (under 30 s each)
#   scripts/stress.sh nimbra_stress ARG... one of them with its own arguments
# The folder is build-stress/ (BUILD_DIR chooses another); it holds the engine
# and these two programs only. Options a folder was configured with stay.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build-stress}
"$top/scripts/setup.sh" "$build" -DNIMBRA_STRESS=ON -DNIMBRA_TESTS=OFF \
  -DNIMBRA_BENCHMARKS=OFF -DNIMBRA_PROGRAMS=OFF

case "${1:-}" in
  nimbra_stress|nimbra_crash)
    program=$1
    shift
    exec "$build/stress/$program" "$@"
    ;;
esac
"$build/stress/nimbra_stress" "$@"
"$build/stress/nimbra_crash" "$@"
