#!/usr/bin/env bash
# The lookup fields of the built program under Xvfb, on the test database: a known code, a
# cascade through the section's search button, an unknown code answered by the search window
# (narrowed by typing, chosen with Enter) and a code beyond the 32-bit range. What the window
# shows is read through the accessibility bus; Alt+I at the end shows what reached the viewer.
#
#   e2e_lookups.sh PROGRAM       database from ZV_TEST_PG*; screenshots into ZV_ARTIFACTS_DIR
#                                (default: artifacts/ in the build folder)
set -euo pipefail

nome=e2e_lookups.sh
# shellcheck source=comum.sh
. "$(dirname -- "$0")/comum.sh"

passo="start"
falha() {
    echo "e2e_lookups: [$passo] $*" >&2
    "$python" "$tmp/at.py" mostra >&2 || true
    if [[ -s $tmp/programa.log ]]; then
        echo "--- program output:" >&2
        cat -- "$tmp/programa.log" >&2
    fi
    exit 1
}

# What the window shows, as a screen reader reads it. Every "espera" polls until the condition
# holds or its time runs out (the machine may be busy building), then fails with what it saw.
cat >"$tmp/at.py" <<'EOF'
import sys
import time

import pyatspi

TITULO = "Relatório de Endereçamento de Produto"


def percorre(o, nivel=0):
    if o is None or nivel > 20:
        return
    yield o
    for filho in o:
        yield from percorre(filho, nivel + 1)


def texto(o):
    try:
        return o.queryText().getText(0, -1)
    except NotImplementedError:
        return None


def estado():
    """Text edits (name -> text, focused), search window (status panels, rows), message boxes."""
    e = {"textos": {}, "foco": None, "busca": None, "caixas": []}
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != TITULO:
            continue
        for janela in app:
            papel = janela.getRoleName()
            if papel == "dialog" and janela.name == "Buscar":
                busca = {"paineis": [], "linhas": []}
                for o in percorre(janela):
                    if o.getRoleName() == "status bar":
                        busca["paineis"] = [p.name for p in o]
                    elif o.getRoleName() == "table":
                        t = o.queryTable()
                        busca["linhas"] = [
                            [t.getAccessibleAt(r, c).name for c in range(t.nColumns)] for r in range(t.nRows)
                        ]
                e["busca"] = busca
            elif papel in ("alert", "dialog"):
                e["caixas"].append([o.name for o in percorre(janela) if o.getRoleName() == "label"])
            else:
                for o in percorre(janela):
                    if o.getRoleName() == "text":
                        e["textos"][o.name] = texto(o)
                        if o.getState().contains(pyatspi.STATE_FOCUSED):
                            e["foco"] = o.name
    return e


def condicao(e, args):
    tipo = args[0]
    if tipo == "texto":
        return e["textos"].get(args[1]) == args[2]
    if tipo == "foco":
        return e["foco"] == args[1]
    if tipo == "linhas":
        return e["busca"] is not None and len(e["busca"]["linhas"]) == int(args[1])
    if tipo == "painel":
        b = e["busca"]
        return b is not None and len(b["paineis"]) > int(args[1]) and b["paineis"][int(args[1])] == args[2]
    if tipo == "caixa":
        return any(args[1] in labels for labels in e["caixas"])
    if tipo == "sem-janelas":
        return e["busca"] is None and not e["caixas"]
    raise SystemExit("unknown condition %r" % tipo)


def mostra(e, saida):
    for nome, valor in sorted(e["textos"].items()):
        print("  text %r: %r" % (nome, valor), file=saida)
    print("  focus: %r" % e["foco"], file=saida)
    if e["busca"] is not None:
        print("  search window panels: %r" % e["busca"]["paineis"], file=saida)
        for linha in e["busca"]["linhas"]:
            print("    " + " | ".join(linha), file=saida)
    for labels in e["caixas"]:
        print("  message box: %r" % labels, file=saida)


comando, args = sys.argv[1], sys.argv[2:]
if comando == "mostra":
    print("what the accessibility bus shows:")
    mostra(estado(), sys.stdout)
elif comando == "linhas":
    for linha in estado()["busca"]["linhas"]:
        print("|".join(linha))
elif comando == "espera":
    limite = time.monotonic() + 30
    while True:
        try:
            e = estado()
            if condicao(e, args):
                break
        except Exception as erro:  # a window closing while it is read
            e = {"textos": {}, "foco": None, "busca": None, "caixas": [], "erro": str(erro)}
        if time.monotonic() > limite:
            print("condition not met: %s" % " ".join(args), file=sys.stderr)
            sys.exit(1)
        time.sleep(0.2)
else:
    raise SystemExit("unknown command %r" % comando)
EOF
espera() { "$python" "$tmp/at.py" espera "$@" || falha "waited in vain for: $*"; }

# The accessibility bus must be up before the program starts, or it never registers there.
"$python" -c 'import pyatspi; pyatspi.Registry.getDesktop(0).childCount' 2>/dev/null ||
    falha "no accessibility bus"

"$prog" "$ZV_TEST_PGHOST" "$ZV_TEST_PGPORT" "$ZV_TEST_PGUSER" "$ZV_TEST_PGPASSWORD" "$ZV_TEST_PGDATABASE" \
    1 1 teste >"$tmp/programa.log" 2>&1 &
pid=$!

janela=$(timeout 30 xdotool search --sync --onlyvisible --name "^$titulo\$" | head -n 1) ||
    falha "the window did not appear"
# The window manager gives the focus back when a modal window closes; this only makes sure of it
# before keys are sent to the filter window.
ativa() { xdotool windowfocus --sync "$janela" || falha "could not focus the window"; }
ativa
espera foco "Empresa"

digita() { xdotool type --delay 60 -- "$1"; }
tecla() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}
abre_busca() {
    timeout 30 xdotool search --sync --onlyvisible --name '^Buscar$' >/dev/null ||
        falha "the search window did not open"
}
busca_fechada() {
    for _ in $(seq 1 100); do
        [[ -z $(xdotool search --onlyvisible --name '^Buscar$' 2>/dev/null) ]] && return
        sleep 0.1
    done
    falha "the search window stayed open"
}
# Window-relative centre of a row's search button: the filter area starts 30 pixels down, the
# button is 24 x 22 at left 99.
clica_busca() {
    xdotool mousemove --window "$janela" --sync $((99 + 12)) $((30 + $1 + 11)) click 1
}

passo="known code"
tecla Tab Tab Tab Tab
espera foco "Departamento"
digita 5
tecla Tab
espera texto "Descrição de Departamento" "HORTIFRÚTI"
espera foco "Seção"
espera sem-janelas

# The section listing is narrowed by the department above it.
passo="cascade by the search button"
clica_busca 242
abre_busca
espera linhas 3
espera painel 0 "Busca por CÓDIGO:"
"$python" "$tmp/at.py" linhas >"$tmp/secoes"
sort "$tmp/secoes" >"$tmp/secoes.ord"
cat >"$tmp/secoes.esperadas" <<'EOF'
12|FRUTAS|5|HORTIFRÚTI
13|VERDURAS E LEGUMES|5|HORTIFRÚTI
25|OVOS E TEMPEROS|5|HORTIFRÚTI
EOF
diff -u "$tmp/secoes.esperadas" "$tmp/secoes.ord" >&2 || falha "the section list is not department 5's"
import -window root "$artefatos/e2e_lookups_secao.png" || falha "no screenshot"
digita 13
espera linhas 1
espera painel 1 "13"
tecla Return
busca_fechada
ativa
espera texto "Seção" "13"
espera texto "Descrição de Seção" "VERDURAS E LEGUMES"
# Chosen from the button: the focus moves on to the next code edit.
espera foco "Categoria"

passo="unknown code"
tecla shift+Tab
espera foco "Seção"
tecla shift+Tab
espera foco "Departamento"
tecla End shift+Home
digita 9999
tecla Tab
abre_busca
espera linhas 8
espera painel 0 "Busca por CÓDIGO:"
espera painel 1 ""
# The typed code stays until a choice is made.
espera texto "Departamento" "9999"
import -window root "$artefatos/e2e_lookups_buscar.png" || falha "no screenshot"
digita 5
espera painel 1 "5"
espera linhas 1
[[ $("$python" "$tmp/at.py" linhas) == "5|HORTIFRÚTI" ]] || falha "typing 5 did not leave department 5 alone"
tecla Return
busca_fechada
ativa
espera texto "Departamento" "5"
espera texto "Descrição de Departamento" "HORTIFRÚTI"
espera foco "Seção"
# Changing the parent leaves the child as it was.
espera texto "Seção" "13"

passo="beyond 32 bits"
tecla Tab
espera foco "Categoria"
# Seção was left untouched: it keeps its own description, not the one recorded for another field.
espera texto "Descrição de Seção" "VERDURAS E LEGUMES"
digita 99999999999
tecla Tab
espera caixa "'99999999999' is not a valid integer value."
import -window root "$artefatos/e2e_lookups_erro.png" || falha "no screenshot"
tecla Return
espera sem-janelas
ativa
espera texto "Categoria" ""
espera texto "Descrição de Categoria" ""
espera foco "Subcategoria"

passo="printing"
tecla alt+i
for _ in $(seq 1 100); do
    [[ -n $(find "$tmp/saida" -name 'run.*' ! -name '*.tmp') ]] && break
    sleep 0.1
done
mapfile -t execucoes < <(find "$tmp/saida" -name 'run.*' ! -name '*.tmp')
[[ ${#execucoes[@]} -eq 1 ]] || falha "expected 1 viewer launch, got ${#execucoes[@]}"
cat >"$tmp/esperado" <<EOF
-jar
$progdir/jasperviewer.jar
Zarvent
$progdir/relatorios/zv_relacao_produto_enderecamento
VIS
N
P_EMP=0
P_DEP=0
P_PRO=0
P_FORN=0
P_SECP=13
P_CAT=0
P_SCAT=0
P_FAM=0
P_MARCA=0
P_APP=0
P_GRUPO=1
P_ORDEM=0
EOF
diff -u "$tmp/esperado" "${execucoes[0]}" >&2 || falha "the viewer's arguments differ from the expected list"
kill -0 "$pid" 2>/dev/null || falha "the program ended"

# A logout while a search window is open still ends the program cleanly.
passo="SIGTERM with the search window open"
ativa
clica_busca 242
abre_busca
encerra_programa
echo "e2e_lookups: ok (screenshots $artefatos/e2e_lookups_buscar.png, e2e_lookups_secao.png, e2e_lookups_erro.png)"
