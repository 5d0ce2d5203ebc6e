#!/usr/bin/env bash
# The whole road with the real viewer: a brand typed in the filter window, "PDF" chosen, Alt+I;
# the launcher starts java -jar jasperviewer.jar, which reaches the test database through a
# [Zarvent] service file, writes the PDF into the documents folder and hands it to xdg-open (a
# stand-in that records the path). The PDF must list exactly that brand's stock lines.
#
#   e2e_relatorio.sh PROGRAM      database from ZV_TEST_PG*; page image into ZV_ARTIFACTS_DIR
set -euo pipefail

nome=e2e_relatorio.sh
# shellcheck source=comum.sh
. "$(dirname -- "$0")/comum.sh"

falha() {
    echo "e2e_relatorio: $*" >&2
    if [[ -s $tmp/programa.log ]]; then
        echo "--- program and viewer output:" >&2
        cat -- "$tmp/programa.log" >&2
    fi
    exit 1
}

[[ -r $progdir/jasperviewer.jar ]] || falha "no $progdir/jasperviewer.jar: build the viewer"
command -v pdftotext >/dev/null || falha "pdftotext missing: run scripts/deps.sh (poppler-utils)"

# The real java this time, and a desktop whose "open" only records what it was asked to open.
export PATH=${PATH#"$tmp/bin:"}
mkdir -p -- "$tmp/desktop" "$tmp/home/.config" "$tmp/home/Documentos"
cat >"$tmp/desktop/xdg-open" <<'FIM'
#!/bin/sh
printf '%s\n' "$1" >>"$ZV_ABERTOS"
FIM
chmod +x "$tmp/desktop/xdg-open"
export PATH=$tmp/desktop:$PATH ZV_ABERTOS=$tmp/abertos HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config
printf 'XDG_DOCUMENTS_DIR="$HOME/Documentos"\n' >"$tmp/home/.config/user-dirs.dirs"
printf '[Zarvent]\nhost=%s\nport=%s\ndbname=%s\nuser=%s\npassword=%s\n' "$ZV_TEST_PGHOST" "$ZV_TEST_PGPORT" \
    "$ZV_TEST_PGDATABASE" "$ZV_TEST_PGUSER" "$ZV_TEST_PGPASSWORD" >"$tmp/pg_service.conf"
export PGSERVICEFILE=$tmp/pg_service.conf

"$prog" "$ZV_TEST_PGHOST" "$ZV_TEST_PGPORT" "$ZV_TEST_PGUSER" "$ZV_TEST_PGPASSWORD" "$ZV_TEST_PGDATABASE" \
    1 1 e2e >"$tmp/programa.log" 2>&1 &
pid=$!
janela=$(timeout 30 xdotool search --sync --onlyvisible --name "^$titulo\$" | head -n 1) ||
    falha "the window did not appear"
xdotool windowfocus --sync "$janela"
sleep 0.5
tecla() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}

# Nine empty fields to the brand, brand 3 (TIO JOÃO), past the application, grouping and
# ordering, then "PDF" in the format group.
for _ in $(seq 1 9); do tecla Return; done
xdotool type --delay 60 -- 3
tecla Return Return Return Return
tecla Right
tecla alt+i

for _ in $(seq 1 600); do
    [[ -s $tmp/abertos ]] && break
    sleep 0.1
done
[[ -s $tmp/abertos ]] || falha "no PDF was handed to xdg-open within 60 s"
pdf=$(head -n 1 -- "$tmp/abertos")
[[ $pdf == "$tmp/home/Documentos/zv_relacao_produto_enderecamento-"*.pdf && -s $pdf ]] ||
    falha "unexpected file handed to xdg-open: $pdf"

pdftotext -layout -- "$pdf" "$tmp/relatorio.txt"
grep -q "Relação de Produtos por Endereço" "$tmp/relatorio.txt" || falha "no title in the PDF"
grep -q "Marca: 3 - TIO JOÃO" "$tmp/relatorio.txt" || falha "no brand filter in the PDF's header"
esperado=$(PGPASSWORD=$ZV_TEST_PGPASSWORD psql -X -At -h "$ZV_TEST_PGHOST" -p "$ZV_TEST_PGPORT" \
    -U "$ZV_TEST_PGUSER" -d "$ZV_TEST_PGDATABASE" -c "SELECT count(*) FROM est JOIN pro ON procod = estprocod
        WHERE estforalinha IS DISTINCT FROM 'S' AND promarcascod = 3")
grep -q "Total geral: $esperado linhas" "$tmp/relatorio.txt" ||
    falha "the grand total is not $esperado lines: $(grep 'Total geral' "$tmp/relatorio.txt" || echo none)"
# The other brands of the same rice and beans categories must not appear.
if grep -E -q "CAMIL|QUERO" "$tmp/relatorio.txt"; then
    falha "lines of another brand in the PDF"
fi
pdftoppm -r 50 -f 1 -l 1 -png -- "$pdf" "$artefatos/e2e_relatorio" || falha "pdftoppm could not render page 1"
encerra_programa
echo "e2e_relatorio: ok ($esperado lines, page 1 in $artefatos)"
