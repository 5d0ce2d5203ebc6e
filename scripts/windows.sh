#!/usr/bin/env bash
# Builds, on Debian, everything a Windows site installs: relenderecamento-VERSION-setup.exe in
# build-win/ (or $WIN_BUILD_DIR).
#
#   windows.sh                 the whole build (Windows Qt, OpenSSL and libpq first, if not cached)
#   windows.sh --dependencias  only the cached parts: Qt, OpenSSL and libpq for MinGW
#   windows.sh --pacotes       only the Debian packages it needs
#
# Qt, OpenSSL and libpq are built from Debian's source packages, once, into a cache outside the
# clone (${XDG_CACHE_HOME:-~/.cache}/relenderecamento/), one folder per version and recipe. A
# folder counts only with its stamp file "pronto": a build that stopped half-way is redone.
# The first build takes about an hour on two cores; later runs take minutes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/relenderecamento
build=${WIN_BUILD_DIR:-$root/build-win}
jobs=$(nproc)
triplet=x86_64-w64-mingw32
cc=$triplet-gcc-posix
cxx=$triplet-g++-posix

so_dependencias=
so_pacotes=
case ${1:-} in
    --dependencias) so_dependencias=1 ;;
    --pacotes) so_pacotes=1 ;;
    '') ;;
    *)
        echo "uso: $0 [--dependencias|--pacotes]" >&2
        exit 2
        ;;
esac

passo() { printf '[windows.sh %s] %s\n' "$(date +%H:%M:%S)" "$*"; }

# Runs a long step with its output in a log file, printing a line every minute so a first build
# shows it is alive; on failure the end of the log is shown.
com_log() {
    local log=$1
    shift
    "$@" >"$log" 2>&1 &
    local pid=$! inicio=$SECONDS status=0 proximo=$((SECONDS + 60))
    while kill -0 "$pid" 2>/dev/null; do
        sleep 5 &
        wait $! || true
        if ((SECONDS >= proximo)); then
            proximo=$((proximo + 60))
            passo "  ... $(((SECONDS - inicio) / 60)) min, $(tail -n1 "$log" | cut -c1-100)"
        fi
    done
    wait "$pid" || status=$?
    if ((status != 0)); then
        echo "--- fim de $log" >&2
        tail -n 40 "$log" >&2
        passo "falhou (status $status); registro completo em $log" >&2
    fi
    return "$status"
}

precisa() {
    local falta=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || falta+=("$p")
    done
    if ((${#falta[@]})); then
        passo "instalando ${falta[*]}"
        apt-get install -y --no-install-recommends "${falta[@]}" >/dev/null
    fi
}

precisa g++-mingw-w64-x86-64-posix dpkg-dev cmake ninja-build qt6-base-dev qt6-base-dev-tools \
    qt6-translations-l10n fonts-dejavu-core nsis perl make pkg-config default-jdk-headless \
    libpostgresql-jdbc-java libpdfbox2-java libapache-poi-java
[[ -z $so_pacotes ]] || exit 0
mkdir -p "$cache"
# One build at a time in the cache: a second run waits for the first.
exec 9>"$cache/trava"
flock 9

# --- Debian's source packages, through an apt set-up of our own -------------------------------
# A private deb-src list for these calls only: the machine's apt sources, lists and caches are
# never touched.
apt_dir=$cache/apt
codinome=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
espelho=${ZV_DEBIAN_MIRROR:-http://deb.debian.org/debian}
espelho_seg=${ZV_DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}
apt_opts=(
    -o Dir::Etc::SourceList=/dev/null
    -o Dir::Etc::SourceParts="$apt_dir/sources.list.d"
    -o Dir::State::Lists="$apt_dir/lists"
    -o Dir::Cache="$apt_dir/cache"
    -o Dir::Cache::archives="$apt_dir/cache/archives"
    -o APT::Sandbox::User="$(id -un)"
)

prepara_apt() {
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    cat >"$apt_dir/sources.list.d/debian-src.sources" <<EOF
Types: deb-src
URIs: $espelho
Suites: $codinome $codinome-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: $espelho_seg
Suites: $codinome-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    # Lists older than a day are refreshed; a failed refresh keeps the old ones if any.
    if [[ -z $(find "$apt_dir/lists" -maxdepth 1 -name '*Sources*' -mmin -1440 2>/dev/null) ]]; then
        passo "listas de fontes do Debian ($codinome)"
        apt-get "${apt_opts[@]}" -qq update ||
            [[ -n $(find "$apt_dir/lists" -maxdepth 1 -name '*Sources*') ]]
    fi
}

# Downloads source package $1 at version $2 once (into $cache/fontes); fails if the mirror lacks it.
baixa() {
    local baixados=$cache/fontes/$1-$2
    [[ -f $baixados/pronto ]] && return 0
    passo "baixando a fonte de $1 $2"
    rm -rf -- "$baixados"
    mkdir -p -- "$baixados"
    if (cd "$baixados" && apt-get "${apt_opts[@]}" -qq source --download-only "$1=$2") >/dev/null 2>&1; then
        touch "$baixados/pronto"
        return 0
    fi
    rm -rf -- "$baixados"
    return 1
}

# The newest version of source package $1 in the private lists that the mirror actually serves
# (a mirror may list a security update it does not carry).
versao_fonte() {
    local v
    while read -r v; do
        if baixa "$1" "$v" >&2; then
            echo "$v"
            return 0
        fi
        passo "  $1 $v não está no espelho; tentando a anterior" >&2
    done < <(apt-cache "${apt_opts[@]}" showsrc --only-source "$1" 2>/dev/null |
        sed -n 's/^Version: //p' | sort -u | sort -r -V)
    return 1
}

# Unpacks source package $1 at version $2 into folder $3 (with Debian's patches applied).
desempacota() {
    baixa "$1" "$2" || {
        echo "a fonte de $1 $2 não pôde ser baixada" >&2
        return 1
    }
    rm -rf -- "$3"
    dpkg-source --no-check -x "$cache/fontes/$1-$2"/*.dsc "$3" >/dev/null
}

chave() { # a short hash of a recipe, so a changed recipe gets a folder of its own
    printf '%s\n' "$@" | md5sum | cut -c1-8
}

gcc_versao=$($cxx -dumpfullversion)

# --- Qt ---------------------------------------------------------------------------------------
# The same version as the host's Qt: moc, rcc and uic come from the host (QT_HOST_PATH).
qt_versao=$(dpkg-query -W -f='${source:Version}' libqt6core6)
# Debian's source leaves out src/3rdparty/wintab, so no tablet events; OpenGL stays on (dynamic):
# without it 6.4.2's Windows plugin does not compile. Vulkan off: configure would take the host's
# /usr/include/vulkan (qt6-base-dev pulls it in), and with it /usr/include into Gui's includes.
qt_opcoes=(
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_SYSTEM_NAME=Windows
    -DCMAKE_C_COMPILER="$cc"
    -DCMAKE_CXX_COMPILER="$cxx"
    -DCMAKE_RC_COMPILER="$triplet-windres"
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_freetype=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_vulkan=OFF
)
qt=$cache/qt-$qt_versao-gcc$gcc_versao-$(chave "${qt_opcoes[@]}")

constroi_qt() {
    passo "Qt $qt_versao para Windows: configurando em $qt/build (registro em $qt/build.log)"
    rm -rf -- "$qt"
    mkdir -p -- "$qt"
    desempacota qt6-base "$qt_versao" "$qt/src"
    com_log "$qt/configure.log" cmake -S "$qt/src" -B "$qt/build" -G Ninja \
        -DCMAKE_INSTALL_PREFIX="$qt/prefix" "${qt_opcoes[@]}"
    passo "Qt: compilando ($(ninja -C "$qt/build" -n 2>/dev/null | grep -c '^\[' || true) passos;" \
        "cerca de 45 min em dois núcleos)"
    com_log "$qt/build.log" nice ninja -C "$qt/build" -j"$jobs"
    com_log "$qt/install.log" cmake --install "$qt/build"
    rm -rf -- "$qt/build" "$qt/src"
    touch "$qt/pronto"
}

# --- OpenSSL and libpq --------------------------------------------------------------------------
ssl_versao=
pg_versao=
ssl=
pg=

constroi_openssl() {
    passo "OpenSSL $ssl_versao para Windows (registro em $ssl/build.log)"
    rm -rf -- "$ssl"
    mkdir -p -- "$ssl"
    desempacota openssl "$ssl_versao" "$ssl/src"
    (
        cd "$ssl/src"
        export CC=$cc AR=$triplet-ar RANLIB=$triplet-ranlib RC=$triplet-windres
        com_log "$ssl/configure.log" ./Configure mingw64 shared no-tests \
            --prefix="$ssl/prefix" --libdir=lib
        com_log "$ssl/build.log" nice make -j"$jobs" build_libs
        com_log "$ssl/install.log" make install_dev install_runtime_libs
    )
    rm -rf -- "$ssl/src"
    touch "$ssl/pronto"
}

constroi_libpq() {
    passo "libpq $pg_versao para Windows (registro em $pg/build.log)"
    rm -rf -- "$pg"
    mkdir -p -- "$pg"
    desempacota postgresql-15 "$pg_versao" "$pg/src"
    (
        cd "$pg/src"
        com_log "$pg/configure.log" ./configure --host=$triplet CC="$cc" \
            --prefix="$pg/prefix" --with-ssl=openssl --without-readline --without-zlib \
            --without-icu CPPFLAGS="-I$ssl/prefix/include" LDFLAGS="-L$ssl/prefix/lib"
        com_log "$pg/build.log" nice make -j"$jobs" -C src/interfaces/libpq
        com_log "$pg/install.log" make -C src/interfaces/libpq install
        install -m 644 src/include/postgres_ext.h src/include/pg_config_ext.h "$pg/prefix/include/"
    )
    rm -rf -- "$pg/src"
    touch "$pg/pronto"
}

prepara_apt
[[ -f $qt/pronto ]] || constroi_qt
passo "Qt: $qt"

ssl_versao=$(versao_fonte openssl) && pg_versao=$(versao_fonte postgresql-15) || {
    echo "as fontes de openssl ou postgresql-15 não puderam ser baixadas do Debian" >&2
    exit 1
}
ssl=$cache/openssl-$ssl_versao-gcc$gcc_versao-1
pg=$cache/libpq-$pg_versao-openssl$ssl_versao-gcc$gcc_versao-1
[[ -f $ssl/pronto ]] || constroi_openssl
passo "OpenSSL: $ssl"
[[ -f $pg/pronto ]] || constroi_libpq
passo "libpq: $pg"
if [[ -n $so_dependencias ]]; then
    exit 0
fi

# --- The launcher, from the same sources and CMake ------------------------------------------------
# Where the programs of the build tree find their DLLs under Wine (tests).
runtime_gcc=$(dirname "$($cxx -print-file-name=libstdc++-6.dll)")
runtime_pthread=$(dirname "$($cxx -print-file-name=libwinpthread-1.dll)")
pastas_dll=("$qt/prefix/bin" "$ssl/prefix/bin" "$pg/prefix/bin" "$pg/prefix/lib" "$runtime_gcc" "$runtime_pthread")
winepath=$(printf 'Z:%s;' "${pastas_dll[@]}")
winepath=${winepath%;}

passo "programa: configurando e compilando em $build"
PKG_CONFIG_LIBDIR="$pg/prefix/lib/pkgconfig:$ssl/prefix/lib/pkgconfig" \
    cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt/prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tests/windows/wine_teste.sh" \
    -DZV_WINEPATH="$winepath" >"$build.configure.log" 2>&1 || {
    tail -n 30 "$build.configure.log" >&2
    exit 1
}
nice cmake --build "$build" -j"$jobs"

# --- The folder a site installs ---------------------------------------------------------------------
pasta=$build/pasta
passo "pasta de instalação: $pasta"
rm -rf -- "$pasta"
mkdir -p -- "$pasta"/{platforms,styles,translations,lib,fonts,licencas,relatorios}

# The DLLs a PE file imports that are ours to ship (Windows' own are left out), recursively.
# Names are compared ignoring case, as Windows does (libpq's import table says LIBPQ.dll).
copia_dlls() {
    local arquivo dll p achado
    for arquivo in "$@"; do
        while read -r dll; do
            [[ -n $(find "$pasta" -maxdepth 1 -iname "$dll") ]] && continue
            for p in "${pastas_dll[@]}"; do
                achado=$(find "$p" -maxdepth 1 -type f -iname "$dll" | head -n 1)
                if [[ -n $achado ]]; then
                    install -m 644 "$achado" "$pasta/"
                    copia_dlls "$pasta/$(basename "$achado")"
                    break
                fi
            done
        done < <($triplet-objdump -p "$arquivo" | sed -n 's/^\s*DLL Name: //p')
    done
}

install -m 755 "$build/src/relenderecamento.exe" "$pasta/"
$triplet-strip "$pasta/relenderecamento.exe"
install -m 644 "$qt/prefix/plugins/platforms/qwindows.dll" "$pasta/platforms/"
install -m 644 "$qt/prefix/plugins/styles/qwindowsvistastyle.dll" "$pasta/styles/"
copia_dlls "$pasta/relenderecamento.exe" "$pasta/platforms/qwindows.dll" "$pasta/styles/qwindowsvistastyle.dll"
# Plugins and translations beside the program, whatever folder it is installed in.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$pasta/qt.conf"
install -m 644 /usr/share/qt6/translations/qtbase_pt_BR.qm "$pasta/translations/"

# The viewer: the jar (its manifest names lib/*.jar), Debian's jars, the designs, DejaVu.
install -m 644 "$build/src/jasperviewer.jar" "$pasta/"
install -m 644 "$build"/src/relatorios/*.xml "$pasta/relatorios/"
while read -r jar; do
    [[ -n $jar ]] && install -m 644 "$(realpath "$jar")" "$pasta/lib/$(basename "$jar")"
done <"$build/viewer-libs.txt"
install -m 644 /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
    /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf "$pasta/fonts/"

# Licence texts: Debian's copyright file of each part, and the licences they refer to.
licenca() { # NAME FILE
    install -m 644 "$2" "$pasta/licencas/$1.txt"
}
pacote_de() { dpkg-query -S "$(realpath "$1")" 2>/dev/null | head -n1 | cut -d: -f1; }
licenca qt6-base /usr/share/doc/libqt6core6/copyright
licenca LGPL-3 /usr/share/common-licenses/LGPL-3
licenca GPL-3 /usr/share/common-licenses/GPL-3
licenca postgresql-15-libpq /usr/share/doc/libpq5/copyright
licenca openssl /usr/share/doc/libssl3/copyright
licenca Apache-2.0 /usr/share/common-licenses/Apache-2.0
licenca mingw-w64-runtime-gcc "/usr/share/doc/$(pacote_de "$runtime_gcc/libstdc++-6.dll")/copyright"
licenca mingw-w64-winpthreads "/usr/share/doc/$(pacote_de "$runtime_pthread/libwinpthread-1.dll")/copyright"
licenca fonts-dejavu-core /usr/share/doc/fonts-dejavu-core/copyright
while read -r jar; do
    [[ -n $jar ]] || continue
    p=$(pacote_de "$jar")
    [[ -n $p && -f /usr/share/doc/$p/copyright ]] || {
        echo "sem licença para $jar" >&2
        exit 1
    }
    licenca "$p" "/usr/share/doc/$p/copyright"
done <"$build/viewer-libs.txt"
# Windows' editors want CRLF.
for f in "$pasta"/licencas/*.txt "$pasta"/relatorios/*.xml; do
    sed -i 's/\r*$/\r/' "$f"
done

# --- The installer ----------------------------------------------------------------------------------
versao=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$build/relenderecamento-$versao-setup.exe
passo "instalador: $setup"
# What the uninstaller removes: exactly what was installed, deepest first.
(
    cd "$pasta"
    find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
    find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
) >"$build/desinstalar.nsh"
makensis -V2 -INPUTCHARSET UTF8 -DVERSAO="$versao" -DPASTA="$pasta" -DSAIDA="$setup" \
    -DDESINSTALAR="$build/desinstalar.nsh" "$root/scripts/instalador.nsi" >"$build/makensis.log" 2>&1 || {
    cat "$build/makensis.log" >&2
    exit 1
}
passo "pronto: $setup ($(du -h "$setup" | cut -f1))"
