#!/usr/bin/env bash
# Builds, on Debian, everything a Windows site installs: relenderecamento-VERSION-setup.exe in
# build-win/ (or $WIN_BUILD_DIR).
#
#   windows.sh                 the whole build (Windows Qt, OpenSSL and libpq first, if not cached)
#   windows.sh --dependencias  only the cached parts: Qt, OpenSSL and libpq for MinGW
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
case ${1:-} in
    --dependencias) so_dependencias=1 ;;
    '') ;;
    *)
        echo "uso: $0 [--dependencias]" >&2
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
    local pid=$! inicio=$SECONDS status=0
    while kill -0 "$pid" 2>/dev/null; do
        sleep 5 &
        wait $! || true
        if ((SECONDS - inicio >= 60 && (SECONDS - inicio) % 60 < 5)); then
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
    qt6-translations-l10n fonts-dejavu-core nsis perl make pkgconf
mkdir -p "$cache"

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

# The newest version of a source package in the private lists.
versao_fonte() {
    apt-cache "${apt_opts[@]}" showsrc --only-source "$1" 2>/dev/null |
        sed -n 's/^Version: //p' | sort -u | {
        local melhor= v
        while read -r v; do
            if [[ -z $melhor ]] || dpkg --compare-versions "$v" gt "$melhor"; then melhor=$v; fi
        done
        echo "$melhor"
    }
}

# Unpacks source package $1 at version $2 into folder $3 (with Debian's patches applied).
desempacota() {
    local pacote=$1 versao=$2 destino=$3
    local baixados=$cache/fontes/$pacote-$versao
    if [[ ! -f $baixados/pronto ]]; then
        passo "baixando a fonte de $pacote $versao"
        rm -rf -- "$baixados"
        mkdir -p -- "$baixados"
        (cd "$baixados" && apt-get "${apt_opts[@]}" -qq source --download-only "$pacote=$versao") >/dev/null
        touch "$baixados/pronto"
    fi
    rm -rf -- "$destino"
    dpkg-source --no-check -x "$baixados"/*.dsc "$destino" >/dev/null
}

chave() { # a short hash of a recipe, so a changed recipe gets a folder of its own
    printf '%s\n' "$@" | md5sum | cut -c1-8
}

gcc_versao=$($cxx -dumpfullversion)

# --- Qt ---------------------------------------------------------------------------------------
# The same version as the host's Qt: moc, rcc and uic come from the host (QT_HOST_PATH).
qt_versao=$(dpkg-query -W -f='${source:Version}' libqt6core6)
# Debian's source leaves out src/3rdparty/wintab, so no tablet events; OpenGL stays on (dynamic):
# without it 6.4.2's Windows plugin does not compile.
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
        com_log "$ssl/configure.log" ./Configure mingw64 shared no-tests no-docs \
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

ssl_versao=$(versao_fonte openssl)
pg_versao=$(versao_fonte postgresql-15)
[[ -n $ssl_versao && -n $pg_versao ]] || {
    echo "openssl ou postgresql-15 não estão nas listas de fontes do Debian" >&2
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
