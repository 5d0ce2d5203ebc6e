#!/usr/bin/env bash
# Builds the Windows tree and its setup (scripts/windows.sh, with its cache) and runs the Windows
# tests under Wine on an X server of their own, against a private PostgreSQL with the demo
# database: the Qt Test programs through CTest (wine as the cross-compiling emulator), then the
# end-to-end run of the setup (tests/windows/e2e_windows.sh). Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WIN_BUILD_DIR:-$root/build-win}
inicio=$SECONDS

"$root/scripts/deps.sh"
falta=()
for p in wine wine64 xclip; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || falta+=("$p")
done
if ((${#falta[@]})); then
    apt-get install -y --no-install-recommends "${falta[@]}" >/dev/null
fi
WIN_BUILD_DIR=$build "$root/scripts/windows.sh"
# The Linux build, whose viewer arguments the end-to-end run compares with the Windows build's.
"$root/scripts/build.sh"

# shellcheck source=cluster.sh
. "$root/scripts/cluster.sh"
prefixo=$(mktemp -d)
termina() {
    WINEPREFIX=$prefixo/wine wineserver -k 2>/dev/null || true
    rm -rf -- "$prefixo"
    para_cluster
}
trap termina EXIT
inicia_cluster zvwin
export ZV_TEST_PGHOST=$PGHOST ZV_TEST_PGPORT=$PGPORT ZV_TEST_PGDATABASE=$PGDATABASE
export ZV_TEST_PGUSER=$PGUSER ZV_TEST_PGPASSWORD=$PGPASSWORD ZV_TEST_CLUSTER=$cluster
export ZV_SOURCE_DIR=$root
unset PGHOST PGPORT PGDATABASE PGUSER PGPASSWORD PGSERVICEFILE

echo "[test_windows.sh] Qt Test programs under Wine"
export WINEPREFIX=$prefixo/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
# Wine's desktop process keeps the X display it started on: let it end before the tests bring theirs.
wineserver -w
(cd "$build" && bash "$root/scripts/tela_propria.sh" 1280x800x24 ctest --output-on-failure -j"$(nproc)" "$@")
wineserver -k 2>/dev/null || true

echo "[test_windows.sh] the setup end to end"
versao=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
bash "$root/tests/windows/e2e_windows.sh" "$build/relenderecamento-$versao-setup.exe" \
    "$build/tests/windows/javaw.exe" "${BUILD_DIR:-$root/build}/src/relenderecamento"
echo "[test_windows.sh] ok in $((SECONDS - inicio)) s"
