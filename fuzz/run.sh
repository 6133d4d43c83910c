#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time.
#   fuzz/run.sh [seconds-per-target] [target...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=$top/build-fuzz

missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
CC=clang CXX=clang++ "$top/scripts/setup.sh" "$build" -DNIMBRA_FUZZ=ON -DNIMBRA_TESTS=OFF \
  -DNIMBRA_BENCHMARKS=OFF

targets=("$@")
if ((${#targets[@]} == 0)); then
  for f in "$top"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
for target in "${targets[@]}"; do
  name=${target%_fuzz}
  corpus=$build/corpus/$name
  mkdir -p "$corpus" "$build/artifacts/$name"
  echo "== $target: ${seconds}s"
  "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$name/" "$corpus" "$top/fuzz/corpus/$name" 2>&1 \
    | grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==|SUMMARY|artifact_prefix)" || true
  if ls "$build/artifacts/$name"/crash-* "$build/artifacts/$name"/leak-* "$build/artifacts/$name"/timeout-* >/dev/null 2>&1; then
    echo "$target: FOUND a failing input in $build/artifacts/$name"
    exit 1
  fi
done
