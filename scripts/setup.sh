#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing) and
# configures and builds it. Usage: scripts/setup.sh [build-folder] [extra cmake options...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true

packages=(g++ cmake ninja-build pkg-config libsqlite3-dev sqlite3 zlib1g-dev libminizip-dev
          libgtest-dev libgmock-dev libcli11-dev nlohmann-json3-dev python3 fossil
          libpq-dev postgresql qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev xvfb xauth
          desktop-file-utils dpkg-dev file fonts-liberation poppler-utils clang-format)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi

cmake -S "$top" -B "$build" -G Ninja "$@"
cmake --build "$build"
