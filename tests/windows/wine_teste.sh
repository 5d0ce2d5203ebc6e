#!/usr/bin/env bash
# CTest's emulator for the Windows tree: runs a Qt Test program under Wine. Wine does not hand the
# host's QT_* variables to Windows programs, so the platform plugin is given on the command line:
# offscreen, or ZV_QT_PLATAFORMA; none when that is empty (QCoreApplication refuses -platform). And a Windows Qt program's log does not reach
# a pipe, so it is written to a file and shown from there.
set -uo pipefail
programa=$1
shift
log=$(mktemp --suffix=.txt)
trap 'rm -f -- "$log"' EXIT
plataforma=()
if [[ -n ${ZV_QT_PLATAFORMA-offscreen} ]]; then
    plataforma=(-platform "${ZV_QT_PLATAFORMA-offscreen}")
fi
wine "$programa" "${plataforma[@]}" "$@" -o "$log,txt"
rc=$?
cat -- "$log"
exit "$rc"
