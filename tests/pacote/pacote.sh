#!/usr/bin/env bash
# The Debian package made from the build tree: name, metadata and file list (lintian runs in CI); then unpacked
# into a temporary root and run only from there, the viewer on its own (a PDF of the whole demo
# database) and the launcher end to end through the package's /usr/bin link (e2e_relatorio.sh),
# so that nothing may lean on the build tree.
#
#   pacote.sh BUILD_DIR          database from ZV_TEST_PG* (scripts/test.sh)
set -euo pipefail
build=$(realpath -- "${1:?usage: pacote.sh BUILD_DIR}")
aqui=$(cd "$(dirname -- "$0")" && pwd)
root=$(cd "$aqui/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf -- "$tmp"' EXIT
falha() {
    echo "pacote: $*" >&2
    exit 1
}

deb=$(BUILD_DIR=$build bash "$root/scripts/pacote.sh" --sem-compilar "$tmp")
[[ $(basename -- "$deb") =~ ^relenderecamento_[0-9][0-9.]*_amd64\.deb$ ]] || falha "package file name: $deb"
[[ $(dpkg-deb -f "$deb" Package) == relenderecamento ]] || falha "Package: $(dpkg-deb -f "$deb" Package)"
[[ $(dpkg-deb -f "$deb" Architecture) == amd64 ]] || falha "Architecture: $(dpkg-deb -f "$deb" Architecture)"

# Each dependency an entry of its own, version constraints aside.
depends=$(dpkg-deb -f "$deb" Depends)
mapfile -t itens < <(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for esperado in libc6 libpq5 libqt6widgets6 libstdc++6 'default-jre | java17-runtime' libpostgresql-jdbc-java \
    libpdfbox2-java libfontbox2-java libapache-poi-java fonts-dejavu-core; do
    printf '%s\n' "${itens[@]}" | grep -qxF -- "$esperado" || falha "Depends lacks '$esperado': $depends"
done

# Exactly these files, owned by root, the program executable.
lib=./usr/lib/relenderecamento
esperados=("./usr/bin/relenderecamento -> ../lib/relenderecamento/relenderecamento" "$lib/jasperviewer.jar"
    "$lib/relenderecamento" ./usr/share/doc/relenderecamento/README.md.gz
    ./usr/share/doc/relenderecamento/changelog.gz ./usr/share/doc/relenderecamento/copyright
    ./usr/share/man/man1/relenderecamento.1.gz)
for d in "$root"/relatorios/*.xml; do esperados+=("$lib/relatorios/$(basename -- "$d")"); done
dpkg-deb -c "$deb" >"$tmp/lista"
diff <(printf '%s\n' "${esperados[@]}" | sort) <(grep -v '^d' "$tmp/lista" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }' | sort) ||
    falha "unexpected file list (- expected, + in the package)"
awk '$2 != "root/root" { exit 1 }' "$tmp/lista" || falha "files not owned by root: $(awk '$2 != "root/root"' "$tmp/lista")"
grep -q '^-rwxr-xr-x .* \./usr/lib/relenderecamento/relenderecamento$' "$tmp/lista" || falha "the launcher is not mode 0755"

# From the unpacked root only. The viewer: the whole report as PDF into a documents folder of its
# own, handed to a stand-in xdg-open.
raiz=$tmp/raiz
dpkg-deb -x "$deb" "$raiz"
home=$tmp/home
mkdir -p -- "$home/.config" "$home/Documentos" "$tmp/desktop"
printf 'XDG_DOCUMENTS_DIR="$HOME/Documentos"\n' >"$home/.config/user-dirs.dirs"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/abertos"\n' "$tmp" >"$tmp/desktop/xdg-open"
chmod +x "$tmp/desktop/xdg-open"
printf '[Zarvent]\nhost=%s\nport=%s\ndbname=%s\nuser=%s\npassword=%s\n' "$ZV_TEST_PGHOST" "$ZV_TEST_PGPORT" \
    "$ZV_TEST_PGDATABASE" "$ZV_TEST_PGUSER" "$ZV_TEST_PGPASSWORD" >"$tmp/pg_service.conf"
pasta=$raiz/usr/lib/relenderecamento
pdf=$(cd "$tmp" && HOME=$home XDG_CONFIG_HOME=$home/.config PGSERVICEFILE=$tmp/pg_service.conf \
    PATH=$tmp/desktop:$PATH java -jar "$pasta/jasperviewer.jar" Zarvent "$pasta/relatorios/zv_relacao_produto_enderecamento" \
    PDF N P_EMP=0 P_GRUPO=1 P_ORDEM=0 2>"$tmp/viewer.err") || falha "the viewer failed: $(cat -- "$tmp/viewer.err")"
[[ $pdf == "$home/Documentos/zv_relacao_produto_enderecamento-"*.pdf && -s $pdf ]] || falha "no PDF in the documents folder: '$pdf'"
[[ $(cat -- "$tmp/abertos") == "$pdf" ]] || falha "xdg-open was not handed $pdf"
linhas=$(PGPASSWORD=$ZV_TEST_PGPASSWORD psql -X -At -h "$ZV_TEST_PGHOST" -p "$ZV_TEST_PGPORT" -U "$ZV_TEST_PGUSER" \
    -d "$ZV_TEST_PGDATABASE" -c "SELECT count(*) FROM est JOIN pro ON procod = estprocod WHERE estforalinha IS DISTINCT FROM 'S'")
# Thousands with a dot, as the report writes them.
linhas=$(sed ':a; s/\B[0-9]\{3\}\>/.&/; ta' <<<"$linhas")
pdftotext -layout -- "$pdf" - | grep -q "Total geral: $linhas linhas" || falha "the PDF's grand total is not $linhas lines"

# The launcher through the link, with the real viewer it finds beside itself.
ZV_ARTIFACTS_DIR=${ZV_ARTIFACTS_DIR:-$build/artifacts} bash "$root/tests/e2e/e2e_relatorio.sh" "$raiz/usr/bin/relenderecamento" ||
    falha "the unpacked launcher did not print its report"
echo "pacote: ok ($(basename -- "$deb"), $(stat -c %s -- "$deb") bytes, $linhas lines in the viewer's PDF)"
