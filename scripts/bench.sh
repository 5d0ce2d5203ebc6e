#!/usr/bin/env bash
# Installs what is missing, builds, starts a throwaway PostgreSQL and runs the benchmarks offscreen
# at each size of its database: the demo data, then grown to the benchmark size (bench/gen_bench.sql,
# about a minute), then with --grande to the large size (1,000,002 products, about 5 million stock
# rows: several more minutes of generation; the report to PDF there runs once), measured again for
# the search window with the indexes of bench/indices_grande.sql. Other arguments go to the
# benchmark program (e.g. --reps-scale 0.2 for a quick look, --only 1,3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
grande=
zvargs=()
for a in "$@"; do
    case $a in
    --grande) grande=1 ;;
    *) zvargs+=("$a") ;;
    esac
done
build=${BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
"$root/scripts/build.sh"

# shellcheck source=cluster.sh
. "$root/scripts/cluster.sh"
trap para_cluster EXIT
inicia_cluster zvbench
export QT_QPA_PLATFORM=offscreen
viewer() { python3 "$root/bench/viewer/medir.py" "$1" "$build/src" "$build/bench" "${@:2}"; }
# The preview needs a display: a private Xvfb for each set of runs.
previa() { bash "$root/scripts/tela_propria.sh" 1600x1000x24 python3 "$root/bench/viewer/medir.py" previa "$1" "$build/src" "$build/bench" 5 "${@:2}"; }

cluster_psql() { "$root/demo/pgcluster.sh" psql "$cluster" "$@"; }
# Generated products first..last (bench/gen_bench.sql), timed.
gera() {
    local inicio=$SECONDS
    cat "$root/demo/digitos.sql" "$root/bench/gen_bench.sql" |
        cluster_psql -q -v primeiro="$1" -v ultimo="$2" -f -
    printf 'generated in %d s (load average %s)\n' $((SECONDS - inicio)) "$(cut -d' ' -f1-3 /proc/loadavg)"
}
mede() {
    printf '\n== %s size: %s products, %s stock rows\n' "$1" "$(cluster_psql -At -c 'select count(*) from pro')" \
        "$(cluster_psql -At -c 'select count(*) from est')"
    printf 'machine: %s CPUs, %s, %s MB RAM; %s; load average %s\n' "$(nproc)" \
        "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)" \
        "$(awk '/^MemTotal/ { printf "%d", $2 / 1024 }' /proc/meminfo)" "$(date -u '+%Y-%m-%d %H:%M UTC')" \
        "$(cut -d' ' -f1-3 /proc/loadavg)"
    "$build/bench/zvbench" "${zvargs[@]}"
    printf 'load average after the run: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
}

echo "Report viewer on the demo database:"
viewer demo
previa demo
mede demo
echo "Loading the benchmark database (bench/gen_bench.sql)..."
gera 1 200000
mede benchmark
echo "Report viewer on the benchmark database:"
viewer grande
previa benchmark --inteira
# The search's figures include a product whose name holds a character beyond 16 bits; put back after.
emoji=$(cluster_psql -At -c 'select min(procod) from pro where procod > 150000')
antes=$(cluster_psql -At -c "select prodes from pro where procod = $emoji")
cluster_psql -q -c "update pro set prodes = 'EMOJI 😀 NO NOME' where procod = $emoji"
viewer busca
echo "update pro set prodes = :'d' where procod = $emoji;" | cluster_psql -q -v d="$antes" -f -
if [[ -n $grande ]]; then
    echo "Growing it to the large size (bench/gen_bench.sql, products 200001..995000)..."
    gera 200001 995000
    echo "Report viewer on the large database:"
    viewer grande 1 large
    previa large
    mede large
    echo "Adding the indexes of bench/indices_grande.sql..."
    inicio=$SECONDS
    cluster_psql -q -f "$root/bench/indices_grande.sql"
    printf 'indexes built in %d s (load average %s)\n' $((SECONDS - inicio)) "$(cut -d' ' -f1-3 /proc/loadavg)"
    zvargs+=(--only 2,2b,2c,3)
    mede "large, with indexes,"
fi
printf 'load average at the end: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
