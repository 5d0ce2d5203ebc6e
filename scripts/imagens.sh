#!/usr/bin/env bash
# Makes the README's pictures from the demo: the filter window under Xvfb (docs/filtro.png), page 1
# of the report grouped by product as PDF (docs/relatorio.png) and page 1 of the summary by address
# (docs/resumo.png). Builds first; needs no display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
if [[ -z ${ZV_IMAGENS_NO_XVFB:-} ]]; then
    "$root/scripts/deps.sh"
    "$root/scripts/build.sh"
    export ZV_IMAGENS_NO_XVFB=1
    exec bash "$root/scripts/tela_propria.sh" 1280x900x24 bash "$0" "$@"
fi

tmp=$(mktemp -d /tmp/zvimg.XXXXXX)
# shellcheck source=cluster.sh
. "$root/scripts/cluster.sh"
pid=
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null
    para_cluster
    rm -rf -- "$tmp"
}
trap cleanup EXIT
inicia_cluster zvimgpg
export HOME=$tmp

"$build/src/relenderecamento" "$PGHOST" "$PGPORT" "$PGUSER" "$PGPASSWORD" "$PGDATABASE" 1 1 demo &
pid=$!
janela=$(timeout 30 xdotool search --sync --onlyvisible --name "^Relatório de Endereçamento de Produto\$" | head -n 1)
xdotool windowfocus --sync "$janela"
xdotool type --delay 80 1
xdotool key Return
sleep 1
import -window "$janela" "$root/docs/filtro.png"

# The PDF's own "open" is not wanted here.
printf '#!/bin/sh\nexit 0\n' >"$tmp/xdg-open"
chmod +x "$tmp/xdg-open"
relatorio=$build/src/relatorios/zv_relacao_produto_enderecamento
arquivo=$(PATH=$tmp:$PATH java -jar "$build/src/jasperviewer.jar" Zarvent "$relatorio" PDF N P_EMP=0 P_SECP=1 \
    P_GRUPO=2 P_ORDEM=0 2>/dev/null)
pdftoppm -r 80 -f 1 -l 1 -singlefile -png -- "$arquivo" "$root/docs/relatorio"
java -cp "$build/src/jasperviewer.jar" "$root/scripts/PaginaResumo.java" Zarvent "$relatorio" "$tmp/resumo.pdf" \
    P_EMP=0 P_GRUPO=1 2>/dev/null
pdftoppm -r 80 -f 1 -l 1 -singlefile -png -- "$tmp/resumo.pdf" "$root/docs/resumo"
echo "docs/filtro.png, docs/relatorio.png and docs/resumo.png written"
