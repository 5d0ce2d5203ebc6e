# shellcheck shell=bash disable=SC2154,SC2016 # $tmp is the caller's; $HOME and $1 are for the files written
# Sourced by the script tests that run the real viewer on its own (needs $tmp and falha).
#
#   pdf_do_visualizador PASTA HOSTS PORTS PARAM=VALOR...
#       runs PASTA/jasperviewer.jar for a [Zarvent] service on HOSTS/PORTS (libpq lists allowed),
#       database and role from $ZV_TEST_PG*, with the design in PASTA/relatorios/ and a home of its
#       own whose documents folder receives the PDF; the PDF's text goes to $tmp/relatorio.txt
#       and its path to standard output; $ZV_SERVICO_EXTRA, when set, is one more line of the entry;
#       $ZV_PGPASS, when set, is the home's .pgpass (mode 0600), and the entry then has no password
#   milhar N    N with a dot between thousands, as the report writes counts
pdf_do_visualizador() {
    local pasta=$1 hosts=$2 portas=$3 home=$tmp/home-visualizador pdf
    shift 3
    mkdir -p -- "$home/Documentos" "$home/.config" "$tmp/desktop"
    printf 'XDG_DOCUMENTS_DIR="$HOME/Documentos"\n' >"$home/.config/user-dirs.dirs"
    printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/abertos"\n' "$tmp" >"$tmp/desktop/xdg-open"
    chmod +x "$tmp/desktop/xdg-open"
    printf '[Zarvent]\nhost=%s\nport=%s\ndbname=%s\nuser=%s\n' "$hosts" "$portas" "$ZV_TEST_PGDATABASE" \
        "$ZV_TEST_PGUSER" >"$tmp/pg_service.conf"
    rm -f -- "$home/.pgpass"
    if [[ -n ${ZV_PGPASS:-} ]]; then
        (umask 077 && printf '%s\n' "$ZV_PGPASS" >"$home/.pgpass")
    else
        printf 'password=%s\n' "$ZV_TEST_PGPASSWORD" >>"$tmp/pg_service.conf"
    fi
    if [[ -n ${ZV_SERVICO_EXTRA:-} ]]; then
        printf '%s\n' "$ZV_SERVICO_EXTRA" >>"$tmp/pg_service.conf"
    fi
    rm -f -- "$tmp/abertos"
    pdf=$(cd "$tmp" && HOME=$home XDG_CONFIG_HOME=$home/.config PGSERVICEFILE=$tmp/pg_service.conf \
        PATH=$tmp/desktop:$PATH java -jar "$pasta/jasperviewer.jar" Zarvent \
        "$pasta/relatorios/zv_relacao_produto_enderecamento" PDF N "$@" 2>"$tmp/visualizador.err") ||
        falha "the viewer failed (host=$hosts port=$portas): $(cat -- "$tmp/visualizador.err")"
    [[ $pdf == "$home/Documentos/zv_relacao_produto_enderecamento-"*.pdf && -s $pdf ]] ||
        falha "no PDF in the documents folder: '$pdf'"
    [[ $(cat -- "$tmp/abertos") == "$pdf" ]] || falha "xdg-open was not handed $pdf"
    pdftotext -layout -- "$pdf" "$tmp/relatorio.txt"
    printf '%s\n' "$pdf"
}

milhar() {
    sed ':a; s/\B[0-9]\{3\}\>/.&/; ta' <<<"$1"
}
