#!/usr/bin/env bash
# Reports off a hot standby: a primary of its own and a streaming standby (pgcluster.sh standby).
# With replay paused and a change made on the primary since, the launcher's lookup and search
# window tests, the program itself and the viewer's PDF run against the standby, without error, on
# the data it has.
#
#   replica.sh PROGRAM_DIR LOOKUP_TEST SEARCH_TEST
set -euo pipefail
pasta=$(realpath -- "${1:?usage: replica.sh PROGRAM_DIR LOOKUP_TEST SEARCH_TEST}")
testes=("${2:?}" "${3:?}")
root=$(cd "$(dirname -- "$0")/../.." && pwd)
pgcluster=$root/demo/pgcluster.sh
tmp=$(mktemp -d /tmp/zvrep.XXXXXX)
chmod 755 -- "$tmp"
primario=$tmp/p
standby=$tmp/s
programa=
cleanup() {
    if [[ -n $programa ]]; then
        kill "$programa" 2>/dev/null || true
        wait "$programa" 2>/dev/null || true
    fi
    "$pgcluster" stop "$standby" >/dev/null 2>&1 || true
    "$pgcluster" stop "$primario" >/dev/null 2>&1 || true
    rm -rf -- "$tmp"
}
trap cleanup EXIT
falha() {
    echo "replica: $*" >&2
    exit 1
}
no() { "$pgcluster" psql "$1" -At -c "$2"; }
# Polls a query on a cluster until it gives the value, for up to 30 s.
espera() {
    for _ in $(seq 1 300); do
        [[ $(no "$1" "$2") == "$3" ]] && return 0
        sleep 0.1
    done
    falha "'$2' never gave '$3' (last: $(no "$1" "$2"))"
}

"$pgcluster" start "$primario" >/dev/null
"$pgcluster" standby "$standby" "$primario" >/dev/null
porta_primario=$(sed -n 's/^PGPORT=//p' "$primario/env")
set -a
# shellcheck disable=SC1091
. "$standby/env"
set +a
[[ $(no "$standby" "SELECT pg_is_in_recovery()") == t ]] || falha "the standby is not in recovery"

no "$standby" "SELECT pg_wal_replay_pause()" >/dev/null
espera "$standby" "SELECT pg_get_wal_replay_pause_state()" paused
antes=$(no "$standby" "SELECT marcasdes FROM marcas WHERE marcascod = 3")
no "$primario" "UPDATE marcas SET marcasdes = 'MARCA NOVA' WHERE marcascod = 3" >/dev/null
[[ $(no "$standby" "SELECT marcasdes FROM marcas WHERE marcascod = 3") == "$antes" ]] ||
    falha "the paused standby already shows the primary's change"

# The launcher's own lookup and search-window tests, pointed at the standby.
export ZV_TEST_PGHOST=$PGHOST ZV_TEST_PGPORT=$PGPORT ZV_TEST_PGDATABASE=$PGDATABASE ZV_TEST_PGUSER=$PGUSER
export ZV_TEST_PGPASSWORD=$PGPASSWORD ZV_TEST_CLUSTER=$standby
unset PGHOST PGPORT PGDATABASE PGUSER PGPASSWORD
for t in "${testes[@]}"; do
    QT_QPA_PLATFORM=offscreen "$t" -silent >"$tmp/teste.log" 2>&1 || {
        cat -- "$tmp/teste.log" >&2
        falha "$(basename -- "$t") failed against the standby"
    }
done

# The program itself, given the primary first: libpq's target_session_attrs, from the
# environment, sends it on to the standby; a SIGTERM then ends it normally.
sessoes="SELECT count(*) FROM pg_stat_activity WHERE application_name = 'relenderecamento'"
PGTARGETSESSIONATTRS=standby QT_QPA_PLATFORM=offscreen "$pasta/relenderecamento" 127.0.0.1,127.0.0.1 \
    "$porta_primario,$ZV_TEST_PGPORT" "$ZV_TEST_PGUSER" "$ZV_TEST_PGPASSWORD" \
    "$ZV_TEST_PGDATABASE" 1 1 replica >"$tmp/programa.log" 2>&1 &
programa=$!
espera "$standby" "$sessoes" 1
[[ $(no "$primario" "$sessoes") == 0 ]] || falha "the program connected to the primary"
kill -TERM "$programa"
rc=0
wait "$programa" || rc=$?
programa=
[[ $rc -eq 0 ]] || falha "the program ended with status $rc: $(cat -- "$tmp/programa.log")"

# The viewer: a PDF of brand 3, with the brand as the standby has it.
# shellcheck source=tests/support/visualizador.sh
. "$root/tests/support/visualizador.sh"
total=$(milhar "$(no "$standby" "SELECT count(*) FROM est JOIN pro ON procod = estprocod
    WHERE estforalinha IS DISTINCT FROM 'S' AND promarcascod = 3")")
pdf_do_visualizador "$pasta" "$ZV_TEST_PGHOST" "$ZV_TEST_PGPORT" P_EMP=0 P_MARCA=3 P_GRUPO=1 P_ORDEM=0 >/dev/null
grep -q "Marca: 3 - $antes" "$tmp/relatorio.txt" || falha "the PDF does not show brand 3 as '$antes'"
grep -q "Total geral: $total linhas" "$tmp/relatorio.txt" || falha "the PDF's grand total is not $total lines"

# Primary first, but the service asks for a read-only server: the viewer skips to the standby, so
# brand 3 keeps its old name.
ZV_SERVICO_EXTRA=target_session_attrs=read-only pdf_do_visualizador "$pasta" "127.0.0.1,$ZV_TEST_PGHOST" \
    "$porta_primario,$ZV_TEST_PGPORT" P_EMP=0 P_MARCA=3 P_GRUPO=1 P_ORDEM=0 >/dev/null
grep -q "Marca: 3 - $antes" "$tmp/relatorio.txt" || falha "target_session_attrs=read-only: the PDF came from the primary"
# prefer-standby, primary first: every host is asked for a standby before any server is taken.
ZV_SERVICO_EXTRA=target_session_attrs=prefer-standby pdf_do_visualizador "$pasta" "127.0.0.1,$ZV_TEST_PGHOST" \
    "$porta_primario,$ZV_TEST_PGPORT" P_EMP=0 P_MARCA=3 P_GRUPO=1 P_ORDEM=0 >/dev/null
grep -q "Marca: 3 - $antes" "$tmp/relatorio.txt" ||
    falha "target_session_attrs=prefer-standby: the PDF came from the primary"

# Replay goes on from where it stopped.
no "$standby" "SELECT pg_wal_replay_resume()" >/dev/null
espera "$standby" "SELECT marcasdes FROM marcas WHERE marcascod = 3" "MARCA NOVA"
echo "replica: ok (standby on port $ZV_TEST_PGPORT, $total lines of brand 3 while paused)"
