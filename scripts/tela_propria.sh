#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb, local sockets only, a cookie of its own) and
# ends the server after it; the command's status is this script's.
#
#   tela_propria.sh WIDTHxHEIGHTxDEPTH COMMAND [ARG...]
#
# The server picks its display number itself (-displayfd): it takes the first number whose lock
# and every socket it gets, so runs in parallel never share a display or reach one that another
# server is still giving up. xvfb-run -a guesses the number from the lock files instead.
# -noreset: a server resets when its last client leaves, and a client that connects meanwhile is
# turned away; here short-lived clients (xprop, xdotool, the viewer's own handshake) come and go
# while the program under test or the window manager is still connecting.
set -euo pipefail

if [[ $# -lt 2 ]]; then
    echo "usage: tela_propria.sh WIDTHxHEIGHTxDEPTH COMMAND [ARG...]" >&2
    exit 2
fi
tela=$1
shift

dir=$(mktemp -d)
servidor=
filho=
# shellcheck disable=SC2317 # run by the traps
encerra() {
    if [[ -n $filho ]]; then kill -TERM "$filho" 2>/dev/null || true; fi
    if [[ -n $servidor ]]; then
        kill -TERM "$servidor" 2>/dev/null || true
        wait "$servidor" 2>/dev/null || true
    fi
    rm -rf -- "$dir"
}
trap encerra EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# The server accepts the cookie whatever display it ends up on; clients find it under that display.
cookie=$(mcookie)
touch "$dir/servidor" "$dir/cliente" # else xauth says it is creating them
xauth -q -f "$dir/servidor" add :0 . "$cookie"
Xvfb -displayfd 3 -screen 0 "$tela" -nolisten tcp -noreset -auth "$dir/servidor" \
    3>"$dir/numero" >"$dir/xvfb.log" 2>&1 &
servidor=$!

# The number is written once the server accepts connections.
for _ in $(seq 1 600); do
    grep -q '^[0-9]' "$dir/numero" 2>/dev/null && break
    if ! kill -0 "$servidor" 2>/dev/null; then
        servidor=
        echo "tela_propria.sh: Xvfb did not start:" >&2
        cat -- "$dir/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
grep -q '^[0-9]' "$dir/numero" || {
    echo "tela_propria.sh: Xvfb gave no display number in 60 s" >&2
    exit 1
}
numero=$(head -n1 -- "$dir/numero")
export DISPLAY=:$numero
export XAUTHORITY=$dir/cliente
xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie"

rc=0
"$@" &
filho=$!
wait "$filho" || rc=$?
filho=
exit "$rc"
