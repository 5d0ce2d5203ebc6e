#!/usr/bin/env bash
# The filter window from the keyboard: the built program runs under Xvfb on the test database,
# codes are typed with xdotool, the choices are made with the keyboard, Alt+I and then Enter on
# the print button launch the viewer, and a stand-in "java" records what the viewer would get.
#
#   e2e_filtro.sh PROGRAM        database from ZV_TEST_PG*; screenshot into ZV_ARTIFACTS_DIR
#                                (default: artifacts/ in the build folder)
#
# The codes' descriptions and the controls' accessible names are read back through the
# accessibility bus, as a screen reader would see them.
set -euo pipefail

nome=e2e_filtro.sh
# shellcheck source=comum.sh
. "$(dirname -- "$0")/comum.sh"

falha() {
    echo "e2e_filtro: $*" >&2
    if [[ -s $tmp/programa.log ]]; then
        echo "--- program output:" >&2
        cat -- "$tmp/programa.log" >&2
    fi
    exit 1
}

# The accessibility bus must be up before the program starts, or it never registers there.
"$python" -c 'import pyatspi; pyatspi.Registry.getDesktop(0).childCount' 2>/dev/null ||
    falha "no accessibility bus"

# The login looks like a Qt option that takes a value, and the host adds one argument more:
# both are ours, so the window keeps its own caption (the search below) and every argument.
"$prog" "$ZV_TEST_PGHOST" "$ZV_TEST_PGPORT" "$ZV_TEST_PGUSER" "$ZV_TEST_PGPASSWORD" "$ZV_TEST_PGDATABASE" \
    1 1 -qwindowtitle Outra >"$tmp/programa.log" 2>&1 &
pid=$!

janela=$(timeout 30 xdotool search --sync --onlyvisible --name "^$titulo\$" | head -n 1) ||
    falha "the window did not appear"
xdotool windowfocus --sync "$janela"
sleep 0.5

# Only the filter window may be on screen: an error box (same caption) means something failed.
so_a_janela() {
    local n
    n=$(xdotool search --onlyvisible --name "^$titulo\$" | wc -l)
    [[ $n -eq 1 ]] || falha "$1: $n windows named \"$titulo\" (an error box?)"
}
so_a_janela "at start"

digita() { xdotool type --delay 60 -- "$1"; }
tecla() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}

# Letters are refused, accents are folded into letters and refused too, the comma is kept: if it
# were refused, the BackSpace after it would eat the 1.
digita "1a,"
tecla BackSpace Return
digita "5é"
# Accents typed with dead keys come through the input method, not as key presses: refused too.
tecla dead_acute e dead_tilde a
tecla Return
digita "x1"
tecla Return
digita "100"
tecla Return
digita "5"
tecla Return
digita "12"
tecla Return
digita "40"
tecla Return
digita "400"
tecla Return
digita "1"
tecla Return
digita "1"
tecla Return
digita "1"
tecla Return
so_a_janela "after the codes"

# Grouping "Empresa", ordering "Valor Bruto", format "PDF", all from the keyboard.
tecla Down Down Return
tecla Down Return
tecla Right
so_a_janela "after the choices"

import -window root "$artefatos/e2e_filtro.png" || falha "no screenshot"

# Each row as a screen reader finds it: the code edit named after its caption, its description
# (filled by the lookup) and its search button.
cat >"$tmp/acessivel.py" <<'EOF'
import sys
import pyatspi

titulo, linhas = sys.argv[1], sys.argv[2:]
objetos = {}


def percorre(o, nivel=0):
    if o is None or nivel > 15:
        return
    texto = None
    try:
        texto = o.queryText().getText(0, -1)
    except NotImplementedError:
        pass
    objetos.setdefault((o.getRoleName(), o.name), texto)
    for filho in o:
        percorre(filho, nivel + 1)


for app in pyatspi.Registry.getDesktop(0):
    if app is not None and app.name == titulo:
        percorre(app)
erros = []
for linha in linhas:
    legenda, codigo, descricao = linha.split("|")
    for chave, esperado in (
        (("label", legenda), None),
        (("text", legenda), codigo),
        (("text", "Descrição de " + legenda), descricao),
        (("push button", "Buscar " + legenda), None),
    ):
        if chave not in objetos:
            erros.append("missing %s %r" % chave)
        elif esperado is not None and objetos[chave] != esperado:
            erros.append("%s %r: %r, expected %r" % (chave + (objetos[chave], esperado)))
for e in erros:
    print(e, file=sys.stderr)
sys.exit(1 if erros else 0)
EOF
"$python" "$tmp/acessivel.py" "$titulo" \
    "Empresa|1|SUPERMERCADO BOA VISTA LTDA" \
    "Depósito|5|CORREDOR 02 - PRATELEIRA A - NÍVEL 1" \
    "Produto|1|AÇÚCAR CRISTAL 5KG" \
    "Fornecedor|100|COOPERATIVA AGROINDUSTRIAL DOS PRODUTORES DO VALE DO RIBEIRA" \
    "Departamento|5|HORTIFRÚTI" \
    "Seção|12|FRUTAS" \
    "Categoria|40|FRUTAS TROPICAIS" \
    "Subcategoria|400|BANANA" \
    "Família|1|ALIMENTOS" \
    "Marca|1|NESTLÉ" \
    "Aplicação|1|USO DOMÉSTICO" ||
    falha "the rows read through the accessibility bus differ from the typed codes"

tecla alt+i
for _ in $(seq 1 100); do
    [[ -n $(find "$tmp/saida" -name 'run.*' ! -name '*.tmp') ]] && break
    sleep 0.1
done
# Alt+I leaves the focus where it was (the format); Enter moves on to the print button, and
# Enter there presses it again.
tecla Return
tecla Return
for _ in $(seq 1 100); do
    [[ $(find "$tmp/saida" -name 'run.*' ! -name '*.tmp' | wc -l) -ge 2 ]] && break
    sleep 0.1
done
sleep 0.5
so_a_janela "after printing"

cat >"$tmp/esperado" <<EOF
-jar
$progdir/jasperviewer.jar
Zarvent
$progdir/relatorios/zv_relacao_produto_enderecamento
PDF
N
P_EMP=1
P_DEP=5
P_PRO=1
P_FORN=100
P_SECP=12
P_CAT=40
P_SCAT=400
P_FAM=1
P_MARCA=1
P_APP=1
P_GRUPO=3
P_ORDEM=1
EOF

mapfile -t execucoes < <(find "$tmp/saida" -name 'run.*' ! -name '*.tmp' | sort)
[[ ${#execucoes[@]} -eq 2 ]] || falha "expected 2 viewer launches, got ${#execucoes[@]}"
for run in "${execucoes[@]}"; do
    if ! diff -u "$tmp/esperado" "$run" >"$tmp/diff"; then
        cat -- "$tmp/diff" >&2
        falha "the viewer's arguments differ from the expected list"
    fi
done
encerra_programa
echo "e2e_filtro: ok (2 launches, screenshot $artefatos/e2e_filtro.png)"
