# shellcheck shell=bash
# Sourced by the scripts that run windows under Xvfb: a temporary folder ($tmp) removed on exit,
# with the program under test ($pid, stopped with SIG$sinal_ao_sair, TERM unless set) and the
# window manager ($wm) that inicia_openbox starts.
tmp=$(mktemp -d)
pid=
wm=
cleanup() {
    if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then
        kill -"${sinal_ao_sair:-TERM}" "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    if [[ -n $wm ]]; then
        kill "$wm" 2>/dev/null || true
        wait "$wm" 2>/dev/null || true
    fi
    rm -rf -- "$tmp"
}
trap cleanup EXIT

# A window manager, so that a key reaches the window that has the focus and the focus goes back to
# a window when a modal one closes, as on a desktop. It manages windows once it has announced
# itself on the root window; returns non-zero (its log on standard error) if it never does.
inicia_openbox() {
    openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
    wm=$!
    local _
    for _ in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.1
    done
    echo "the window manager did not start on $DISPLAY ($(xdpyinfo 2>&1 | head -n1))" >&2
    cat -- "$tmp/openbox.log" >&2
    return 1
}
