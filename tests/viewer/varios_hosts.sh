#!/usr/bin/env bash
# The viewer's service entry lists two hosts, the first with a port nobody listens on: the viewer
# must move on to the second and print the report, also when only the second has a .pgpass line.
#
#   varios_hosts.sh PROGRAM_DIR      database from ZV_TEST_PG* (scripts/test.sh)
set -euo pipefail
pasta=$(realpath -- "${1:?usage: varios_hosts.sh PROGRAM_DIR}")
tmp=$(mktemp -d)
trap 'rm -rf -- "$tmp"' EXIT
falha() {
    echo "varios_hosts: $*" >&2
    exit 1
}
# shellcheck source=tests/support/visualizador.sh
. "$(dirname -- "$0")/../support/visualizador.sh"
pdf_do_visualizador "$pasta" "127.0.0.1,$ZV_TEST_PGHOST" "1,$ZV_TEST_PGPORT" P_EMP=0 P_MARCA=3 P_GRUPO=1 P_ORDEM=0 >/dev/null
grep -q "Marca: 3 - " "$tmp/relatorio.txt" || falha "no brand 3 in the PDF"
# No password in the entry, a .pgpass line for the second host only: each host is looked up on
# its own, as libpq does.
rm -f -- "$tmp/relatorio.txt"
ZV_PGPASS="localhost:$ZV_TEST_PGPORT:*:*:$ZV_TEST_PGPASSWORD" pdf_do_visualizador "$pasta" 127.0.0.1,localhost \
    "1,$ZV_TEST_PGPORT" P_EMP=0 P_MARCA=3 P_GRUPO=1 P_ORDEM=0 >/dev/null
grep -q "Marca: 3 - " "$tmp/relatorio.txt" || falha "no brand 3 in the PDF (password per host)"
echo "varios_hosts: ok"
