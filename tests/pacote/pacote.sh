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
    libpdfbox2-java libfontbox2-java libapache-poi-java fonts-dejavu-core fonts-symbola fonts-droid-fallback; do
    printf '%s\n' "${itens[@]}" | grep -qxF -- "$esperado" || falha "Depends lacks '$esperado': $depends"
done

# Exactly these files, owned by root, the program executable.
lib=./usr/lib/relenderecamento
esperados=("./usr/bin/relenderecamento -> ../lib/relenderecamento/relenderecamento" "$lib/jasperviewer.jar"
    "$lib/visualizador.jsa -> /var/cache/relenderecamento/visualizador.jsa"
    "$lib/relenderecamento" ./usr/share/doc/relenderecamento/README.md.gz
    ./usr/share/doc/relenderecamento/changelog.gz ./usr/share/doc/relenderecamento/copyright
    ./usr/share/man/man1/relenderecamento.1.gz)
for d in "$root"/relatorios/*.xml; do esperados+=("$lib/relatorios/$(basename -- "$d")"); done
dpkg-deb -c "$deb" >"$tmp/lista"
diff <(printf '%s\n' "${esperados[@]}" | sort) <(grep -v '^d' "$tmp/lista" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }' | sort) ||
    falha "unexpected file list (- expected, + in the package)"
awk '$2 != "root/root" { exit 1 }' "$tmp/lista" || falha "files not owned by root: $(awk '$2 != "root/root"' "$tmp/lista")"
grep -q '^-rwxr-xr-x .* \./usr/lib/relenderecamento/relenderecamento$' "$tmp/lista" || falha "the launcher is not mode 0755"

# From the unpacked root only. The viewer: the whole report as PDF.
raiz=$tmp/raiz
dpkg-deb -x "$deb" "$raiz"
# The viewer names its libraries relative to itself: in this root they are where the dependencies put them.
mkdir -p "$raiz/usr/share/java"
for j in /usr/share/java/*.jar; do ln -s "$j" "$raiz/usr/share/java/"; done
# The class-data archive postinst makes, for the Java here: the viewer then runs on it (-Xshare:on
# refuses to start on an archive that does not fit); postrm removes it.
dpkg-deb -e "$deb" "$tmp/controle"
grep -qx 'interest-noawait /usr/lib/jvm' "$tmp/controle/triggers" || falha "no trigger on /usr/lib/jvm"
DPKG_ROOT=$raiz sh "$tmp/controle/postinst" configure
jsa=$raiz/var/cache/relenderecamento/visualizador.jsa
[[ -s $jsa ]] || falha "postinst made no class-data archive"
saida=$(env -u DISPLAY java -Xshare:on -XX:SharedArchiveFile="$jsa" -Xlog:class+load \
    -jar "$raiz/usr/lib/relenderecamento/jasperviewer.jar" 2>&1 || true)
grep -q 'visualizador.Principal source: shared objects file' <<<"$saida" || falha "the viewer does not use the archive: $saida"
saida=$(env -u DISPLAY java -Xshare:on -XX:SharedArchiveFile="$jsa" -Xlog:class+load -cp \
    "$raiz/usr/lib/relenderecamento/jasperviewer.jar" visualizador.ClassesDaPrevia 2>&1 || true)
grep -q 'org.apache.pdfbox.pdmodel.PDDocument source: shared objects file' <<<"$saida" ||
    falha "the archive does not hold the libraries' classes"
DPKG_ROOT=$raiz sh "$tmp/controle/postinst" triggered '/usr/lib/jvm'
[[ -s $jsa ]] || falha "the trigger left no class-data archive"
DPKG_ROOT=$raiz sh "$tmp/controle/postrm" remove
[[ ! -e $raiz/var/cache/relenderecamento ]] || falha "postrm left the archive's folder"
DPKG_ROOT=$raiz sh "$tmp/controle/postinst" configure

# shellcheck source=tests/support/visualizador.sh
. "$root/tests/support/visualizador.sh"
pdf_do_visualizador "$raiz/usr/lib/relenderecamento" "$ZV_TEST_PGHOST" "$ZV_TEST_PGPORT" P_EMP=0 P_GRUPO=1 P_ORDEM=0 >/dev/null
linhas=$(milhar "$(PGPASSWORD=$ZV_TEST_PGPASSWORD psql -X -At -h "$ZV_TEST_PGHOST" -p "$ZV_TEST_PGPORT" \
    -U "$ZV_TEST_PGUSER" -d "$ZV_TEST_PGDATABASE" -c "SELECT count(*) FROM est JOIN pro ON procod = estprocod
        WHERE estforalinha IS DISTINCT FROM 'S'")")
grep -q "Total geral: $linhas linhas" "$tmp/relatorio.txt" || falha "the PDF's grand total is not $linhas lines"

# The launcher through the link, with the real viewer it finds beside itself.
ZV_ARTIFACTS_DIR=${ZV_ARTIFACTS_DIR:-$build/artifacts} bash "$root/tests/e2e/e2e_relatorio.sh" "$raiz/usr/bin/relenderecamento" ||
    falha "the unpacked launcher did not print its report"
echo "pacote: ok ($(basename -- "$deb"), $(stat -c %s -- "$deb") bytes, $linhas lines in the viewer's PDF)"
