#!/usr/bin/env bash
# Builds the Debian package relenderecamento_VERSION_ARCH.deb from a build tree:
#
#   pacote.sh [--sem-compilar] [OUTDIR]   OUTDIR defaults to the build tree ($BUILD_DIR or build/)
#
# The launcher, jasperviewer.jar and relatorios/ go together to /usr/lib/relenderecamento/ (the
# launcher finds the viewer beside its resolved path), with a /usr/bin link, the man page, the
# README and the copyright file. Depends: the launcher's shared libraries (dpkg-shlibdeps), a
# Java runtime, the PDF's fonts (fonts-dejavu-core; fonts-symbola and fonts-droid-fallback for
# the characters DejaVu lacks; fonts-noto-core only suggested: it becomes the desktop's default
# sans-serif, whose taller lines the filter window's fixed rows do not hold) and the packages owning the jars on the viewer's manifest
# class path (looked up with dpkg -S here, so a jar added in viewer/CMakeLists.txt is covered).
# The viewer's class-data archive is made on the site, by postinst, with the Java installed there
# (an archive works only with the runtime that wrote it), into /var/cache/relenderecamento/, and
# made again when a package changes /usr/lib/jvm or /usr/share/java (dpkg triggers); the link
# /usr/lib/relenderecamento/visualizador.jsa, where the launcher looks, points at it.
# --sem-compilar packages what is built (the test suite uses it); else those targets are built first.
# Recommends: xdg-open to show a written report, Qt's Portuguese texts.
# Prints the package's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
compilar=1
if [[ ${1:-} == --sem-compilar ]]; then
    compilar=
    shift
fi
saida=${1:-$build}
nome=relenderecamento
destino=/usr/lib/$nome
# Whoever builds the site's packages may sign them with their own name.
mantenedor=${ZV_MANTENEDOR:-Relação de Produtos por Endereço <relenderecamento@example.com>}

die() {
    printf 'pacote: %s\n' "$*" >&2
    exit 1
}

if [[ -n $compilar ]]; then
    # Configured as scripts/build.sh does, so that a developer's tree is not rebuilt from scratch;
    # only what goes into the package is built.
    # shellcheck disable=SC2086 # extra arguments are a blank-separated list, as for build.sh
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" ${CMAKE_EXTRA_ARGS:-} >/dev/null
    cmake --build "$build" -j"$(nproc)" --target relenderecamento jasperviewer relatorios >&2
fi
programa=$build/src/$nome
jar=$build/src/jasperviewer.jar
[[ -x $programa && -r $jar && -d $build/src/relatorios ]] ||
    die "no launcher, viewer or designs in $build/src: build first (scripts/build.sh)"
versao=$(sed -n 's/^project([^)]* VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[[ -n $versao ]] || die "no VERSION in the project() line of $root/CMakeLists.txt"
arq=$(dpkg --print-architecture)

tmp=$(mktemp -d)
trap 'rm -rf -- "$tmp"' EXIT
raiz=$tmp/raiz
doc=$raiz/usr/share/doc/$nome
install -d "$raiz/DEBIAN" "$raiz$destino/relatorios" "$raiz/usr/bin" "$raiz/usr/share/man/man1" "$doc"
install -m 755 "$programa" "$raiz$destino/$nome"
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$raiz$destino/$nome"
# Its libraries named relative to where it is installed, so that its class-data archive maps them too.
bash "$root/scripts/jar_relativo.sh" "$jar" "$raiz$destino/jasperviewer.jar" "$destino"
chmod 644 "$raiz$destino/jasperviewer.jar"
install -m 644 "$build/src/relatorios/"*.xml "$raiz$destino/relatorios/"
ln -s "../lib/$nome/$nome" "$raiz/usr/bin/$nome"
ln -s "/var/cache/$nome/visualizador.jsa" "$raiz$destino/visualizador.jsa"
gzip -9n <"$root/docs/$nome.1" >"$raiz/usr/share/man/man1/$nome.1.gz"
gzip -9n <"$root/README.md" >"$doc/README.md.gz"
install -m 644 "$root/docs/copyright" "$doc/copyright"
data=$(date -u -R -d "@$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)")
printf '%s (%s) stable; urgency=medium\n\n  * Release %s.\n\n -- %s  %s\n' "$nome" "$versao" "$versao" \
    "$mantenedor" "$data" | gzip -9n >"$doc/changelog.gz"

# The viewer's libraries: each jar the manifest names, by the package that owns it.
classpath=$(unzip -p "$jar" META-INF/MANIFEST.MF | tr -d '\r' |
    sed -n '/^Class-Path:/,/^[^ ]/{s/^Class-Path: //;s/^ //;/^[A-Z][A-Za-z-]*:/d;p}' | tr -d '\n')
[[ -n $classpath ]] || die "no Class-Path in $jar's manifest"
# shellcheck disable=SC2086 # the class path is a blank-separated list
donos=$(dpkg -S $classpath 2>/dev/null) || true
jarpacotes=()
for j in $classpath; do
    p=$(awk -v j="$j" '$2 == j { sub(/:$/, "", $1); print $1 }' <<<"$donos")
    [[ -n $p ]] || die "$j (viewer class path) belongs to no Debian package"
    [[ " ${jarpacotes[*]} " == *" $p "* ]] || jarpacotes+=("$p")
done

# dpkg-shlibdeps wants a source package's debian/control around it.
mkdir -p "$tmp/fonte/debian"
printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$nome" "$nome" >"$tmp/fonte/debian/control"
shlibs=$(cd "$tmp/fonte" && dpkg-shlibdeps -O "$raiz$destino/$nome" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[[ -n $shlibs ]] || die "dpkg-shlibdeps found no shared libraries for $programa"
depende="$shlibs, default-jre | java17-runtime, $(printf '%s, ' "${jarpacotes[@]}")fonts-dejavu-core, fonts-symbola, fonts-droid-fallback"

cat >"$raiz/DEBIAN/control" <<FIM
Package: $nome
Version: $versao
Architecture: $arq
Maintainer: $mantenedor
Installed-Size: $(du -sk --exclude=DEBIAN "$raiz" | cut -f1)
Depends: $depende
Recommends: xdg-utils, qt6-translations-l10n
Suggests: fonts-noto-core
Section: misc
Priority: optional
Description: report launcher "Relação de Produtos por Endereço"
 A desktop window started by a business-management application with its
 connection settings and logged-in user. The user narrows the product
 storage-address report with lookup fields validated against the PostgreSQL
 database, picks grouping, ordering and output format, and the bundled Java
 viewer shows the report on screen or writes it as PDF, XLS or HTML.
 .
 Both programs only read the database; they work against a hot standby.
FIM
# DPKG_ROOT: dpkg's root for an install elsewhere (and the package test's unpacked root).
cat >"$raiz/DEBIAN/postinst" <<'FIM'
#!/bin/sh
# The viewer's class-data archive for the Java runtime installed here, made at each install or
# upgrade and again when Java or the viewer's libraries change (triggers). It only speeds the
# viewer's start: a runtime that cannot make it leaves none, and the install goes on.
set -e
if [ "$1" = configure ] || [ "$1" = triggered ]; then
    cache="${DPKG_ROOT:-}/var/cache/relenderecamento"
    mkdir -p "$cache"
    rm -f "$cache/visualizador.jsa.novo"
    if java -Xshare:auto -XX:ArchiveClassesAtExit="$cache/visualizador.jsa.novo" \
        -cp "${DPKG_ROOT:-}/usr/lib/relenderecamento/jasperviewer.jar" visualizador.ClassesDaPrevia >/dev/null 2>&1 &&
        [ -s "$cache/visualizador.jsa.novo" ]; then
        chmod 644 "$cache/visualizador.jsa.novo"
        mv -f "$cache/visualizador.jsa.novo" "$cache/visualizador.jsa"
    else
        rm -f "$cache/visualizador.jsa.novo" "$cache/visualizador.jsa"
    fi
fi
exit 0
FIM
cat >"$raiz/DEBIAN/postrm" <<'FIM'
#!/bin/sh
set -e
if [ "$1" = remove ] || [ "$1" = purge ]; then
    rm -rf "${DPKG_ROOT:-}/var/cache/relenderecamento"
fi
exit 0
FIM
chmod 755 "$raiz/DEBIAN/postinst" "$raiz/DEBIAN/postrm"
printf 'interest-noawait /usr/lib/jvm\ninterest-noawait /usr/share/java\n' >"$raiz/DEBIAN/triggers"
chmod 644 "$raiz/DEBIAN/triggers"
find "$raiz" -type d -exec chmod 755 {} +
(cd "$raiz" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)
chmod 644 "$raiz/DEBIAN/md5sums"
mkdir -p -- "$saida"
deb=$saida/${nome}_${versao}_$arq.deb
dpkg-deb --root-owner-group -Zxz --build "$raiz" "$deb.tmp" >/dev/null
mv -- "$deb.tmp" "$deb"
printf '%s\n' "$deb"
