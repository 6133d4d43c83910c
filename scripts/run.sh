#!/usr/bin/env bash
# Installs what is missing, builds, and starts Nimbra on a demo database.
#   scripts/run.sh          the client, logged in as the demo team's manager
#   scripts/run.sh admin    the administration program on the same database;
#                           it asks for the administrator's password, "admin"
# On first use it creates the demo database (nimbra-cli demo) in the per-user
# data folder and, unless the client already has options, a Bug.cfg that opens
# it, logs in as "maria" (password "maria-demo") and activates the first
# project. Delete the database to get a fresh one.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
"$top/scripts/setup.sh" "$build"

data=${XDG_DATA_HOME:-$HOME/.local/share}/Nimbra
demo=$data/demo.mdb
options=${NIMBRA_HOME:-${XDG_CONFIG_HOME:-$HOME/.config}/Nimbra}/Bug.cfg
settings=${XDG_CONFIG_HOME:-$HOME/.config}/Nimbra/Nimbra.ini
admin_settings="${XDG_CONFIG_HOME:-$HOME/.config}/Nimbra/Nimbra Administrator.ini"
if [ ! -f "$demo" ]; then
  mkdir -p "$data"
  chmod 700 "$data"
  "$build/nimbra-cli" demo "$demo"
  if [ -f "$options" ]; then
    echo "Keeping the client's options in $options; open $demo with Database > Open."
  else
    "$build/nimbra" --save-options --database "$demo" \
      --login maria --password maria-demo --project 1
  fi
  # A first window of the client's own default size (400 by 400) shows two
  # rows of the demo; give the first start room for the lists instead.
  if [ ! -f "$settings" ]; then
    mkdir -p "$(dirname "$settings")"
    printf '[Settings]\nwpShowCmd=1\nwpLeft=40\nwpTop=30\nwpRight=1240\nwpBottom=770\n' > "$settings"
  fi
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to show a window on; on a machine without one, run:" >&2
  echo "  xvfb-run -s \"-screen 0 1280x800x24\" $0 ${1:-}" >&2
  exit 1
fi

case "${1:-}" in
  "") exec "$build/nimbra" ;;
  admin)
    # The first window of the program's own default size (400 by 400) cuts
    # the user list's description column; give the first start its width.
    if [ ! -f "$admin_settings" ]; then
      mkdir -p "$(dirname "$admin_settings")"
      printf '[Settings]\nwpShowCmd=1\nwpLeft=60\nwpTop=40\nwpRight=780\nwpBottom=560\n' \
        > "$admin_settings"
    fi
    echo "The demo administrator's password is \"admin\"."
    exec "$build/nimbra-admin" "$demo" ;;
  *) echo "usage: $0 [admin]" >&2; exit 2 ;;
esac
