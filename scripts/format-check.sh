#!/usr/bin/env bash
# Checks that C++ sources follow .clang-format, changing nothing.
#   scripts/format-check.sh            every tracked *.cpp and *.h file
#   scripts/format-check.sh FILE...    only the files given
# Prints each place that differs and exits with 1 when a file is not formatted.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
command -v clang-format >/dev/null || { echo "clang-format is missing: run scripts/setup.sh" >&2; exit 2; }

if (($#)); then
  files=("$@")
else
  cd "$top"
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
((${#files[@]})) || exit 0

# xargs keeps each command line within the system's limit; it exits with 123
# when any clang-format run found a difference.
if printf '%s\0' "${files[@]}" | xargs -0 clang-format --dry-run --Werror --style=file; then
  exit 0
fi
echo "Not formatted as .clang-format says; clang-format -i FILE... rewrites them." >&2
exit 1
