#!/usr/bin/env bash
# Installs what is missing, builds, starts a throwaway PostgreSQL with the demo database and
# opens the filter window connected to it. The database goes away when the window closes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

# shellcheck source=cluster.sh
. "$root/scripts/cluster.sh"
trap para_cluster EXIT
# "Imprimir" starts the report viewer, which finds the database through the [Zarvent] service.
inicia_cluster zvdemo
# server, port, user, password, database, company, employee, user login
"$build/src/relenderecamento" "$PGHOST" "$PGPORT" "$PGUSER" "$PGPASSWORD" "$PGDATABASE" 1 1 demo
