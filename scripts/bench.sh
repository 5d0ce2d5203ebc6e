#!/usr/bin/env bash
# Installs what is missing, builds, starts a throwaway PostgreSQL, grows its demo database to the
# benchmark size (bench/gen_bench.sql, about a minute) and runs the benchmarks offscreen against it.
# Extra arguments go to the benchmark program (e.g. --reps-scale 0.2 for a quick look, --only 1,3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

cluster=$(mktemp -d /tmp/zvbench.XXXXXX)
rmdir "$cluster"
cleanup() { "$root/demo/pgcluster.sh" stop "$cluster" >/dev/null 2>&1 || true; rm -rf "$cluster"; }
trap cleanup EXIT
"$root/demo/pgcluster.sh" start "$cluster" >/dev/null
set -a
# shellcheck disable=SC1091
. "$cluster/env"
set +a
export QT_QPA_PLATFORM=offscreen
printf '[Zarvent]\nhost=%s\nport=%s\ndbname=%s\nuser=%s\npassword=%s\n' "$PGHOST" "$PGPORT" "$PGDATABASE" \
    "$PGUSER" "$PGPASSWORD" >"$cluster/pg_service.conf"
export PGSERVICEFILE=$cluster/pg_service.conf
viewer() { python3 "$root/bench/viewer/medir.py" "$1" "$build/src" "$build/bench"; }

echo "Report viewer on the demo database:"
viewer demo
echo "Loading the benchmark database (bench/gen_bench.sql)..."
cat "$root/demo/digitos.sql" "$root/bench/gen_bench.sql" | "$root/demo/pgcluster.sh" psql "$cluster" -q -f -

printf 'machine: %s CPUs, %s, %s MB RAM; %s; load average %s\n' "$(nproc)" \
    "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)" \
    "$(awk '/^MemTotal/ { printf "%d", $2 / 1024 }' /proc/meminfo)" "$(date -u '+%Y-%m-%d %H:%M UTC')" \
    "$(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/zvbench" "$@"
echo "Report viewer on the benchmark database:"
viewer grande
printf 'load average after the run: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
