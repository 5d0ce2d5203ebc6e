# Set-up shared by the end-to-end scripts, sourced right after `set -euo pipefail` with the
# caller's name in $nome: checks, an X server with a window manager and a session bus of their
# own, a temporary folder removed on exit (with the program, when $pid is set), and a stand-in
# "java" that writes its arguments, one per line, to $ZV_JAVA_ARGS.<pid>.

# A link (an installed /usr/bin/relenderecamento) stays as given: the program must find its own
# folder, with the viewer and the designs, behind it.
prog=$(realpath -s -- "${1:?usage: $nome PROGRAM}")
for var in ZV_TEST_PGHOST ZV_TEST_PGPORT ZV_TEST_PGUSER ZV_TEST_PGPASSWORD ZV_TEST_PGDATABASE; do
    if [[ -z ${!var:-} ]]; then
        echo "$nome: $var not set: run the tests through scripts/test.sh" >&2
        exit 1
    fi
done

# The system's Python (its pyatspi), whatever python3 comes first on PATH.
python=/usr/bin/python3
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
    echo "$nome: pyatspi missing: run scripts/deps.sh" >&2
    exit 1
fi

# Everything below needs an X server and a session bus of its own.
if [[ -z ${ZV_E2E_DENTRO_DO_XVFB:-} ]]; then
    export ZV_E2E_DENTRO_DO_XVFB=1
    exec bash "$(dirname -- "${BASH_SOURCE[0]}")/../../scripts/tela_propria.sh" 1280x800x24 \
        dbus-run-session -- bash "$0" "$@"
fi

progdir=$(dirname -- "$(realpath -- "$prog")")
artefatos=${ZV_ARTIFACTS_DIR:-$(dirname -- "$progdir")/artifacts}
mkdir -p -- "$artefatos"
titulo="Relatório de Endereçamento de Produto"

# shellcheck source=../sessao_x.sh
. "$(dirname -- "${BASH_SOURCE[0]}")/../sessao_x.sh"
inicia_openbox || {
    echo "$nome: no window manager" >&2
    exit 1
}

mkdir -p -- "$tmp/bin" "$tmp/saida"
cat >"$tmp/bin/java" <<'FIM'
#!/bin/sh
saida="$ZV_JAVA_ARGS.$$"
printf '%s\n' "$@" >"$saida.tmp" && mv "$saida.tmp" "$saida"
FIM
chmod +x "$tmp/bin/java"
export ZV_JAVA_ARGS=$tmp/saida/run
export PATH=$tmp/bin:$PATH
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# Ends the program the way a logout does and expects a clean close: exit status 0. In the
# sanitizer build this is where LeakSanitizer checks the whole run (reports are collected by
# scripts/test.sh; a leak also makes the status non-zero). Needs the caller's falha.
encerra_programa() {
    kill -TERM "$pid"
    for _ in $(seq 1 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && falha "the program was still running 30 s after SIGTERM"
    local rc=0
    wait "$pid" || rc=$?
    pid=
    [[ $rc -eq 0 ]] || falha "the program ended with status $rc after SIGTERM"
}
