#!/usr/bin/env bash
# Installs what is missing, builds, starts a private PostgreSQL with the demo database and
# runs the whole test suite against it. Extra arguments go to ctest (e.g. -R tst_query).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

cluster=$(mktemp -d /tmp/zvtest.XXXXXX)
rmdir "$cluster"
cleanup() { "$root/demo/pgcluster.sh" stop "$cluster" >/dev/null 2>&1 || true; rm -rf "$cluster"; }
trap cleanup EXIT
"$root/demo/pgcluster.sh" start "$cluster" >/dev/null
set -a
# shellcheck disable=SC1091
. "$cluster/env"
set +a
export ZV_TEST_PGHOST=$PGHOST ZV_TEST_PGPORT=$PGPORT ZV_TEST_PGDATABASE=$PGDATABASE
export ZV_TEST_PGUSER=$PGUSER ZV_TEST_PGPASSWORD=$PGPASSWORD ZV_TEST_CLUSTER=$cluster
export ZV_SOURCE_DIR=$root
unset PGHOST PGPORT PGDATABASE PGUSER PGPASSWORD
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
