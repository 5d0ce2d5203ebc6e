#!/usr/bin/env bash
# The report viewer stopped by SIGTERM and SIGKILL at several moments of a long PDF report and of
# a preview. After each stop the documents folder holds only finished reports and the temp folder
# nothing of ours, apart from a killed run's private folder, which the next run removes.
#
#   sinais_visualizador.sh JAR DESIGN      DESIGN: the report design, without .xml
# Reads the test database from ZV_TEST_PG* (scripts/test.sh sets them).
set -euo pipefail
nome=sinais_visualizador
jar=$(realpath -- "${1:?usage: $nome JAR DESIGN}")
design=$(realpath -- "${2:?usage: $nome JAR DESIGN}").xml
for var in ZV_TEST_PGHOST ZV_TEST_PGPORT ZV_TEST_PGUSER ZV_TEST_PGPASSWORD ZV_TEST_PGDATABASE; do
    if [[ -z ${!var:-} ]]; then
        echo "$nome: $var not set: run the tests through scripts/test.sh" >&2
        exit 1
    fi
done
if [[ -z ${ZV_SINAIS_XVFB:-} ]]; then
    export ZV_SINAIS_XVFB=1
    exec bash "$(dirname -- "$0")/../../scripts/tela_propria.sh" 1280x1024x24 bash "$0" "$@"
fi

# The viewer is killed outright on the way out: it must leave nothing, whatever it was doing.
# shellcheck disable=SC2034 # read by the clean-up of sessao_x.sh
sinal_ao_sair=KILL
# shellcheck source=../sessao_x.sh
. "$(dirname -- "$0")/../sessao_x.sh"
inicia_openbox || exit 1

falha() {
    echo "$nome: FAIL: $*" >&2
    [[ -r $tmp/erros ]] && sed 's/^/  viewer: /' "$tmp/erros" >&2
    exit 1
}

# The documents folder is the home (no user-dirs.dirs); the temp folder one of our own.
export HOME=$tmp/home
mkdir -p "$HOME" "$tmp/tmp" "$tmp/rel"
unset XDG_RUNTIME_DIR XDG_CONFIG_HOME
export JAVA_TOOL_OPTIONS="-Djava.io.tmpdir=$tmp/tmp -XX:-UsePerfData -Dvisualizador.semDialogos=true"
# A name of its own on the server: other tests' viewers may be connected at the same time.
printf '[Zarvent]\nhost=%s\nport=%s\ndbname=%s\nuser=%s\npassword=%s\napplication_name=%s\n' "$ZV_TEST_PGHOST" \
    "$ZV_TEST_PGPORT" "$ZV_TEST_PGDATABASE" "$ZV_TEST_PGUSER" "$ZV_TEST_PGPASSWORD" "$nome" >"$tmp/pg_service.conf"
export PGSERVICEFILE=$tmp/pg_service.conf
# No desktop application is opened for the finished report.
mkdir -p "$tmp/bin"
printf '#!/bin/sh\nexit 0\n' >"$tmp/bin/xdg-open"
chmod +x "$tmp/bin/xdg-open"
export PATH=$tmp/bin:$PATH

# A long report for free: every stock line 10 times (about 80,000 lines, 1,700 pages).
relatorio=$tmp/rel/zv_relacao_produto_enderecamento
sed 's/^FROM est AS e$/FROM est AS e CROSS JOIN generate_series(1, 10) AS vezes/' "$design" >"$relatorio.xml"
grep -q 'generate_series(1, 10)' "$relatorio.xml" || falha "the design's FROM line changed: update this script"
pequeno=$tmp/rel/pequeno
cp -- "$design" "$pequeno.xml"
titulo=$(sed -n 's/^<relatorio titulo="\([^"]*\)".*/\1/p' "$relatorio.xml")

# FORMAT [DESIGN]: the long report unless told otherwise.
# A script's background job starts with SIGINT ignored, which Java keeps; the launcher's child
# gets the default, as here.
inicia() {
    env --default-signal=INT java -jar "$jar" Zarvent "${2:-$relatorio}" "$1" N >"$tmp/saida" 2>"$tmp/erros" &
    pid=$!
}

# Polls COMMAND until it succeeds, for at most SECONDS.
aguarda() {
    local descricao=$1 segundos=$2
    shift 2
    local fim=$((SECONDS + segundos))
    until "$@"; do
        kill -0 "$pid" 2>/dev/null || falha "the viewer ended before: $descricao"
        ((SECONDS < fim)) || falha "timeout waiting for: $descricao"
        sleep 0.05
    done
}

pasta_do_processo() {
    compgen -G "$tmp/tmp/zv-visualizador-*/$pid-*" >/dev/null
}

# Laying out pages: the file being written page by page (PDF), or the preview's page scratch
# (open, already unlinked), has grown.
paginando() {
    local fd alvo
    for fd in /proc/"$pid"/fd/*; do
        alvo=$(readlink -- "$fd" 2>/dev/null) || continue
        [[ $alvo == */zv-visualizador-*.pdf || $alvo == */zv-visualizador-*.pdf.tmp* ]] || continue
        (($(stat -L -c %s -- "$fd" 2>/dev/null || echo 0) > 200000)) && return 0
    done
    return 1
}

# The width of a window of the report's title, one per line (a window may go in between).
larguras() {
    local w l
    for w in $(xdotool search --onlyvisible --name "^$titulo\$" 2>/dev/null); do
        l=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
        [[ -n $l ]] && echo "$w $l"
    done
}

# The preview window (the progress window of the same title is 360 points wide).
janela() {
    larguras | awk '$2 > 400 { found = 1 } END { exit !found }'
}

verifica() {
    local sinal=$1 f
    for f in "$HOME"/* "$HOME"/.[!.]*; do
        [[ -e $f || -L $f ]] || continue
        [[ $f == *.pdf && -f $f && ! -L $f ]] || falha "after SIG$sinal: unexpected file in the documents folder: $f"
        pdfinfo -- "$f" >/dev/null 2>&1 || falha "after SIG$sinal: unfinished report $f"
    done
    local sobras
    sobras=$(find "$tmp/tmp" -mindepth 1 ! -path "$tmp/tmp/zv-visualizador-*")
    [[ -z $sobras ]] || falha "after SIG$sinal: left in the temp folder: $sobras"
    sobras=$(find "$tmp"/tmp/zv-visualizador-* -mindepth 1 -maxdepth 1 ! -name "$pid-*" 2>/dev/null || true)
    [[ -z $sobras ]] || falha "after SIG$sinal: an earlier run's scratch was not removed: $sobras"
    if [[ $sinal == TERM ]] && pasta_do_processo; then
        falha "after SIGTERM: the scratch folder is still there: $(find "$tmp"/tmp/zv-visualizador-*/"$pid"-*)"
    fi
}

para() {
    local sinal=$1 momento=$2
    kill -"$sinal" "$pid"
    wait "$pid" 2>/dev/null || true
    verifica "$sinal"
    echo "$nome: SIG$sinal $momento: ok"
}

for sinal in TERM KILL; do
    inicia PDF
    aguarda "its scratch folder" 20 pasta_do_processo
    para "$sinal" "PDF at start"
    inicia PDF
    aguarda "pages being laid out" 60 paginando
    para "$sinal" "PDF writing its pages"
    inicia VIS
    aguarda "pages being laid out" 60 paginando
    para "$sinal" "VIS laying out pages"
    inicia VIS "$pequeno"
    aguarda "the preview window" 90 janela
    para "$sinal" "VIS with the window shown"
done

# Esc in the progress window cancels: status 1, the message, nothing left.
progresso() {
    larguras | awk '$2 <= 400 { print $1; found = 1; exit } END { exit !found }'
}
inicia PDF
aguarda "the progress window" 60 progresso >/dev/null
xdotool windowactivate --sync "$(progresso)" key Escape
status=0
wait "$pid" || status=$?
((status == 1)) && grep -q 'Relatório cancelado pelo usuário.' "$tmp/erros" || falha "Esc: status $status"
verifica TERM
echo "$nome: Esc in the progress window: ok"

# Stopped while its query waits for a lock: the statement is cancelled on the server on the way
# out, or its backend would wait on and then read the whole report for nobody. The lock is an
# advisory one that only this design's query takes, so other tests reading the same tables at
# the same time are not held up.
cluster_psql() {
    bash "$(dirname -- "$0")/../../demo/pgcluster.sh" psql "$ZV_TEST_CLUSTER" -X -At -d "$ZV_TEST_PGDATABASE" "$@"
}
backends() {
    cluster_psql -c "SELECT count(*) FROM pg_stat_activity WHERE application_name = '$nome'"
}
esperando_bloqueio() {
    [[ $(cluster_psql -c "SELECT count(*) FROM pg_stat_activity WHERE application_name = '$nome'
        AND wait_event_type = 'Lock'") -ge 1 ]]
}
espera=$tmp/rel/espera
sed 's/^FROM est AS e$/FROM est AS e CROSS JOIN (SELECT pg_advisory_lock_shared(727272)) AS espera/' "$design" >"$espera.xml"
grep -q 'pg_advisory_lock_shared' "$espera.xml" || falha "the design's FROM line changed: update this script"
bloqueado() {
    [[ $(cluster_psql -c "SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND objid = 727272
        AND mode = 'ExclusiveLock' AND granted") -ge 1 ]]
}
if [[ -n ${ZV_TEST_CLUSTER:-} ]]; then
    for sinal in TERM INT HUP; do
        cluster_psql -c "SELECT pg_advisory_lock(727272)" -c "SELECT pg_sleep(120)" >/dev/null 2>&1 &
        bloqueio=$!
        fim=$((SECONDS + 30))
        until bloqueado; do
            ((SECONDS < fim)) || falha "the lock was not taken"
            sleep 0.05
        done
        inicia PDF "$espera"
        aguarda "the report's query waiting for the lock" 60 esperando_bloqueio
        kill -"$sinal" "$pid"
        wait "$pid" 2>/dev/null || true
        inicio=${EPOCHREALTIME/./}
        # Polled: a backend cancelled in time is gone within milliseconds; left running, it stays.
        until [[ $(backends) -eq 0 ]]; do
            if (((${EPOCHREALTIME/./} - inicio) / 1000 > 5000)); then
                kill "$bloqueio" 2>/dev/null || true
                falha "after SIG$sinal under a lock: the viewer's backend is still there"
            fi
            sleep 0.05
        done
        echo "$nome: SIG$sinal under a lock: backend gone $(((${EPOCHREALTIME/./} - inicio) / 1000)) ms after the exit"
        cluster_psql -c "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE query LIKE '%pg_sleep(120)%'
            AND pid <> pg_backend_pid()" >/dev/null
        wait "$bloqueio" 2>/dev/null || true
        verifica "$sinal"
    done
fi

# A run to the end: its report is published, and nothing of any run is left in the temp folder.
inicia PDF "$pequeno"
status=0
wait "$pid" || status=$?
((status == 0)) || falha "the complete run ended with status $status"
verifica TERM
[[ $(find "$HOME" -name '*.pdf' | wc -l) -eq 1 ]] || falha "expected exactly the one finished report"
[[ -z $(find "$tmp"/tmp/zv-visualizador-* -mindepth 1) ]] || falha "scratch left after a complete run"
# An unreachable display: PDF is written all the same, VIS says why in one line and fails.
status=0
DISPLAY=:77 java -jar "$jar" Zarvent "$pequeno" PDF N P_MARCA=3 >"$tmp/saida" 2>"$tmp/erros" || status=$?
((status == 0)) || falha "PDF with an unreachable display ended with status $status"
status=0
DISPLAY=:77 java -jar "$jar" Zarvent "$pequeno" VIS N P_MARCA=3 >"$tmp/saida" 2>"$tmp/erros" || status=$?
((status == 1)) || falha "VIS with an unreachable display ended with status $status"
[[ $(grep -vc '^Picked up' "$tmp/erros") -eq 1 ]] && grep -q 'Sem tela' "$tmp/erros" ||
    falha "VIS with an unreachable display: expected one message"

# The preview's X server goes away: Java ends without its shutdown hooks, so the private folder
# stays until the next run; but nothing in it, since every scratch is in memory or already unlinked.
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$tmp/outra_tela" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; cleanup' EXIT
aguarda_tela() { [[ -s $tmp/outra_tela ]]; }
pid=$xvfb
aguarda "a second X server" 20 aguarda_tela
outra=:$(head -n 1 "$tmp/outra_tela")
DISPLAY=$outra java -jar "$jar" Zarvent "$relatorio" VIS N >"$tmp/saida" 2>"$tmp/erros" &
pid=$!
janela_na_outra() { DISPLAY=$outra janela; }
aguarda "the preview on the second X server" 90 janela_na_outra
kill "$xvfb"
fim=$((SECONDS + 60))
while kill -0 "$pid" 2>/dev/null; do
    ((SECONDS < fim)) || falha "the viewer outlived its X server"
    sleep 0.05
done
wait "$pid" 2>/dev/null || true
sobras=$(find "$tmp"/tmp/zv-visualizador-*/"$pid"-* -mindepth 1 2>/dev/null || true)
[[ -z $sobras ]] || falha "after the X server went away: left in the private folder: $sobras"
echo "$nome: X server gone during the preview: ok"
echo "$nome: PASS"
