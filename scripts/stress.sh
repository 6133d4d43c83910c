#!/usr/bin/env bash
# Builds the stress run and the crash test, which scripts/test.sh leaves out,
# and runs them (docs/reliability.md says what they check).
#   scripts/stress.sh                      both with their default arguments (minutes each)
#   scripts/stress.sh --quick              both with --quick (under 30 s each)
#   scripts/stress.sh nimbra_stress ARG... one of them with its own arguments
# The stress run takes --db postgresql://user@host:port/dbname to run on a
# database server (the schema must hold no tables), e.g. on a throw-away one:
#   scripts/with-test-server.sh bash -c \
#     'scripts/stress.sh nimbra_stress --workers 8 --db "$LINDOR_TEST_SERVER"'
# The crash test works on database files only.
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
