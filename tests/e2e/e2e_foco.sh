#!/usr/bin/env bash
# The focus after a search window closes, under Xvfb with a window manager: runs the Qt test
# program foco_janelas (path in ZV_E2E_FOCO) on the test database.
#
#   e2e_foco.sh PROGRAM       database from ZV_TEST_PG*
set -euo pipefail

nome=e2e_foco.sh
# shellcheck source=comum.sh
. "$(dirname -- "$0")/comum.sh"

teste=${ZV_E2E_FOCO:?e2e_foco.sh: ZV_E2E_FOCO not set: run the tests through scripts/test.sh}
"$teste" -platform xcb
echo "e2e_foco: ok"
