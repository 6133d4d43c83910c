#!/usr/bin/env bash
# Runs a command with a throw-away database server: initdb and pg_ctl as an
# unprivileged user, listening only on a socket in a temporary folder, with a
# database "lindor" that has the case-insensitive text type. The command finds
# the server's address in LINDOR_TEST_SERVER. The server stops and its folder
# goes when the command ends, whether it passed or not.
#   scripts/with-test-server.sh ctest --test-dir build -L server
set -euo pipefail
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
folder=$(mktemp -d /tmp/nimbra-server.XXXXXX)
chmod 755 "$folder"
as_user=()
user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then  # the server refuses to run as root
  user=nobody
  chown "$user" "$folder"
  as_user=(runuser -u "$user" --)
fi
stop() {
  "${as_user[@]}" "$bin/pg_ctl" -D "$folder/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$folder"
}
trap stop EXIT
"${as_user[@]}" "$bin/initdb" -D "$folder/data" -A trust -U "$user" -E UTF8 --no-sync >"$folder/initdb.log"
"${as_user[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
  -o "-k $folder -c listen_addresses='' -c max_connections=300 ${NIMBRA_SERVER_OPTIONS:--c fsync=off}" start >/dev/null
"$bin/psql" -h "$folder" -U "$user" -d postgres -qc "CREATE DATABASE lindor"
"$bin/psql" -h "$folder" -U "$user" -d lindor -qc "CREATE EXTENSION citext"
export LINDOR_TEST_SERVER="postgresql://$user@/lindor?host=$folder"
"$@"
