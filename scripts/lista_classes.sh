#!/usr/bin/env bash
# Writes viewer/src/visualizador/classes-previa.lst: the classes the viewer loads from its start to
# the preview's first page on the demo database (a throwaway PostgreSQL, a private Xvfb). The
# viewer's class-data archive is made from it (visualizador.ClassesDaPrevia). Run it again after
# changes to what the preview does before its first page; a stale list costs only speed.
# The libraries' classes are listed too: the package names their jars relative to the viewer's
# (scripts/jar_relativo.sh), which lets the archive hold them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$build" --target jasperviewer relatorios >/dev/null
# shellcheck source=cluster.sh
. "$root/scripts/cluster.sh"
tmp=$(mktemp -d)
trap 'para_cluster; rm -rf -- "$tmp"' EXIT
inicia_cluster zvlista
bash "$root/scripts/tela_propria.sh" 1600x1000x24 java -Xshare:off -XX:DumpLoadedClassList="$tmp/classes" \
    -Dvisualizador.medir=sair -Dvisualizador.semDialogos=true -jar "$build/src/jasperviewer.jar" Zarvent \
    "$build/src/relatorios/zv_relacao_produto_enderecamento" VIS N 2>/dev/null
{
    echo "# Classes of the viewer's start up to the preview's first page (scripts/lista_classes.sh)."
    grep -E '^(java|javax|jdk|sun|com/sun|visualizador|org/apache|org/postgresql)/' "$tmp/classes" | cut -d' ' -f1 | grep -v -e '\$\$Lambda' -e '/0x' -e 'jdk/proxy'
} >"$root/viewer/src/visualizador/classes-previa.lst"
wc -l <"$root/viewer/src/visualizador/classes-previa.lst"
