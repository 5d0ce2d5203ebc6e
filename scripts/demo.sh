#!/usr/bin/env bash
# Installs what is missing, builds, starts a throwaway PostgreSQL with the demo database and
# opens the filter window connected to it. The database goes away when the window closes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

cluster=$(mktemp -d /tmp/zvdemo.XXXXXX)
rmdir "$cluster"
cleanup() { "$root/demo/pgcluster.sh" stop "$cluster" >/dev/null 2>&1 || true; rm -rf "$cluster"; }
trap cleanup EXIT
"$root/demo/pgcluster.sh" start "$cluster" >/dev/null
# shellcheck disable=SC1091
. "$cluster/env"
# "Imprimir" starts the report viewer, which finds the database through the [Zarvent] service.
printf '[Zarvent]\nhost=%s\nport=%s\ndbname=%s\nuser=%s\npassword=%s\n' "$PGHOST" "$PGPORT" "$PGDATABASE" \
    "$PGUSER" "$PGPASSWORD" >"$cluster/pg_service.conf"
export PGSERVICEFILE=$cluster/pg_service.conf
# server, port, user, password, database, company, employee, user login
"$build/src/relenderecamento" "$PGHOST" "$PGPORT" "$PGUSER" "$PGPASSWORD" "$PGDATABASE" 1 1 demo
