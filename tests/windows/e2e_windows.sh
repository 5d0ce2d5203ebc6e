#!/usr/bin/env bash
# The Windows setup end to end under Wine, on an X server of its own with a window manager: a
# silent install into a fresh Wine prefix; the program started with the eight arguments; a known
# product code typed and Tab, its description shown and its SELECT in the server's statement log;
# Alt+I starting the viewer through a stand-in javaw.exe, whose argument list must equal the Linux
# build's for the same keys; WM_CLOSE from taskkill ending the program with status 0; a silent
# uninstall that leaves no folder behind.
#
#   e2e_windows.sh SETUP.EXE JAVAW_STAND_IN.EXE LINUX_PROGRAM
#                  database from ZV_TEST_PG* and ZV_TEST_CLUSTER (scripts/test_windows.sh)
set -euo pipefail
nome=e2e_windows.sh
setup=$(realpath -- "${1:?usage: $nome SETUP.EXE JAVAW.EXE LINUX_PROGRAM}")
javaw=$(realpath -- "${2:?usage: $nome SETUP.EXE JAVAW.EXE LINUX_PROGRAM}")
prog_linux=$(realpath -s -- "${3:?usage: $nome SETUP.EXE JAVAW.EXE LINUX_PROGRAM}")
raiz=$(cd "$(dirname -- "$0")/../.." && pwd)
for var in ZV_TEST_PGHOST ZV_TEST_PGPORT ZV_TEST_PGDATABASE ZV_TEST_CLUSTER; do
    if [[ -z ${!var:-} ]]; then
        echo "$nome: $var not set: run it through scripts/test_windows.sh" >&2
        exit 1
    fi
done
if [[ -z ${ZV_E2E_DENTRO_DO_XVFB:-} ]]; then
    export ZV_E2E_DENTRO_DO_XVFB=1
    exec bash "$raiz/scripts/tela_propria.sh" 1280x800x24 bash "$0" "$@"
fi

# shellcheck source=../sessao_x.sh
. "$raiz/tests/sessao_x.sh"
passo=start
falha() {
    echo "$nome: [$passo] $*" >&2
    for f in "$tmp"/*.log; do
        [[ -s $f ]] && { echo "--- $f" >&2; tail -n 30 -- "$f" >&2; }
    done
    exit 1
}
inicia_openbox || falha "no window manager"
titulo="Relatório de Endereçamento de Produto"

# A role of its own whose statements the server logs.
"$raiz/demo/pgcluster.sh" psql "$ZV_TEST_CLUSTER" -q -d "$ZV_TEST_PGDATABASE" >/dev/null <<SQL
SET client_min_messages = warning;
DO \$\$ BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'zvwin') THEN
        CREATE ROLE zvwin LOGIN PASSWORD 'zvwin';
    END IF;
END \$\$;
GRANT CONNECT ON DATABASE $ZV_TEST_PGDATABASE TO zvwin;
GRANT USAGE ON SCHEMA public TO zvwin;
GRANT SELECT ON ALL TABLES IN SCHEMA public TO zvwin;
ALTER ROLE zvwin SET log_statement = 'all';
SQL
log_servidor=$ZV_TEST_CLUSTER/server.log
consulta() {
    "$raiz/demo/pgcluster.sh" psql "$ZV_TEST_CLUSTER" -X -At -d "$ZV_TEST_PGDATABASE" -c "$1"
}
IFS='|' read -r codigo descricao < <(consulta "SELECT procod, prodes FROM pro ORDER BY procod OFFSET 3 LIMIT 1")
[[ -n $codigo && -n $descricao ]] || falha "no product in the test database"
argumentos=("$ZV_TEST_PGHOST" "$ZV_TEST_PGPORT" zvwin zvwin "$ZV_TEST_PGDATABASE" 1 1 e2e)

# The same keys on both builds: from Empresa past Depósito to Produto, its code, Tab; then Alt+I.
janela=
procura_janela() {
    janela=$(timeout 60 xdotool search --sync --onlyvisible --name "^$titulo\$" | head -n 1) ||
        falha "the window did not appear"
    foca
}
# Focus to the window, and wait until the server says it has it (10 s at most).
foca() {
    local _
    for _ in $(seq 1 100); do
        xdotool windowfocus "$janela" 2>/dev/null || true
        [[ $(xdotool getwindowfocus 2>/dev/null) == "$janela" ]] && return
        sleep 0.1
    done
    falha "could not focus the window"
}
tecla() {
    xdotool key --delay 80 "$@"
}
digita_produto() {
    tecla Tab Tab
    xdotool type --delay 60 -- "$codigo"
    tecla Tab
}
# Waits (60 s at most) for the one file the stand-in writes per run, and prints its name.
espera_execucao() {
    local _ arquivos
    for _ in $(seq 1 600); do
        mapfile -t arquivos < <(find "$1" -name 'run.*' ! -name '*.tmp')
        if ((${#arquivos[@]})); then
            ((${#arquivos[@]} == 1)) || falha "expected 1 viewer launch, got ${#arquivos[@]}"
            printf '%s\n' "${arquivos[0]}"
            return
        fi
        sleep 0.1
    done
    falha "the viewer was not started within 60 s"
}

passo="Linux build"
mkdir -p -- "$tmp/linux/bin" "$tmp/linux/saida"
cat >"$tmp/linux/bin/java" <<'FIM'
#!/bin/sh
saida="$ZV_JAVA_ARGS.$$"
printf '%s\n' "$@" >"$saida.tmp" && mv "$saida.tmp" "$saida"
FIM
chmod +x "$tmp/linux/bin/java"
PATH=$tmp/linux/bin:$PATH ZV_JAVA_ARGS=$tmp/linux/saida/run QT_QPA_PLATFORM=xcb \
    "$prog_linux" "${argumentos[@]}" >"$tmp/linux.log" 2>&1 &
pid=$!
procura_janela
digita_produto
tecla alt+i
execucao_linux=$(espera_execucao "$tmp/linux/saida")
kill -TERM "$pid"
wait "$pid" || falha "the Linux build ended with status $? after SIGTERM"
pid=

passo="install"
export WINEPREFIX=$tmp/prefixo WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >"$tmp/wineboot.log" 2>&1 || falha "wineboot failed"
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
wine "$setup" /S >"$tmp/setup.log" 2>&1 || falha "the setup ended with status $?"
instalado="$WINEPREFIX/drive_c/Program Files/relenderecamento"
for f in relenderecamento.exe Qt6Core.dll platforms/qwindows.dll libpq.dll jasperviewer.jar \
    relatorios/zv_relacao_produto_enderecamento.xml lib/postgresql.jar fonts/DejaVuSans.ttf \
    translations/qtbase_pt_BR.qm licencas/qt6-base.txt desinstalar.exe; do
    [[ -f $instalado/$f ]] || falha "not installed: $f"
done

wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\relenderecamento' >/dev/null 2>&1 ||
    falha "no uninstall entry in the registry"

passo="Windows build"
mkdir -p -- "$tmp/win/bin" "$tmp/win/saida"
cp -- "$javaw" "$tmp/win/bin/javaw.exe"
linhas_antes=$(wc -l <"$log_servidor")
WINEPATH="Z:$tmp/win/bin" ZV_JAVA_ARGS="Z:$tmp/win/saida/run" \
    wine "C:\\Program Files\\relenderecamento\\relenderecamento.exe" "${argumentos[@]}" >"$tmp/wine.log" 2>&1 &
pid=$!
procura_janela
digita_produto

passo="lookup"
# The statement, then its parameter, from this role, after the program started.
for _ in $(seq 1 300); do
    tail -n "+$((linhas_antes + 1))" -- "$log_servidor" |
        grep -A1 'select prodes as Descrição from pro where procod' | grep -q -- "'$codigo'" && break
    sleep 0.1
done
tail -n "+$((linhas_antes + 1))" -- "$log_servidor" | grep -q 'select prodes as Descrição from pro where procod' ||
    falha "no SELECT of the product's description in $log_servidor"
# What the description edit shows, copied to the clipboard (Wine hands it to X). The edit is
# read-only: a click puts the cursor in it, Home and Shift+End select its text.
xdotool mousemove --window "$janela" 400 154 click 1
tecla Home shift+End ctrl+c
mostrado=
for _ in $(seq 1 50); do
    mostrado=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
    [[ $mostrado == "$descricao" ]] && break
    sleep 0.2
done
[[ $mostrado == "$descricao" ]] || falha "the description shows '$mostrado', not '$descricao'"

passo="Alt+I"
foca
tecla alt+i
execucao_win=$(espera_execucao "$tmp/win/saida")
# The same list, the folder aside: C:/Program Files/relenderecamento there, the build tree here.
sed "s|^$(dirname -- "$prog_linux")/|<pasta>/|" "$execucao_linux" >"$tmp/args.linux"
sed 's|^C:/Program Files/relenderecamento/|<pasta>/|' "$execucao_win" >"$tmp/args.windows"
diff -u "$tmp/args.linux" "$tmp/args.windows" >&2 || falha "the viewer's arguments differ from the Linux build's"
grep -qx "P_PRO=$codigo" "$tmp/args.windows" || falha "P_PRO=$codigo not among the viewer's arguments"

passo="WM_CLOSE"
wine taskkill /im relenderecamento.exe >"$tmp/taskkill.log" 2>&1 || falha "taskkill failed"
for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && falha "the program was still running 30 s after WM_CLOSE"
rc=0
wait "$pid" || rc=$?
pid=
[[ $rc -eq 0 ]] || falha "the program ended with status $rc after WM_CLOSE"

passo="uninstall"
wine "C:\\Program Files\\relenderecamento\\desinstalar.exe" /S >"$tmp/desinstalar.log" 2>&1 ||
    falha "the uninstaller ended with status $?"
# The uninstaller runs a copy of itself from the temporary folder and returns at once.
for _ in $(seq 1 600); do
    [[ -e $instalado ]] || break
    sleep 0.1
done
[[ -e $instalado ]] && falha "still there after uninstalling: $(cd "$instalado" && find . | head)"
if wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\relenderecamento' >/dev/null 2>&1; then
    falha "the uninstall entry is still in the registry"
fi
echo "$nome: ok (product $codigo, $(wc -l <"$tmp/args.windows") viewer arguments as on Linux)"
