#!/usr/bin/env bash
# The focus after a search window closes, under Xvfb with a window manager: runs the Qt test
# program foco_janelas (path in ZV_E2E_FOCO) on the test database, with the statements of its
# role zvfoco logged by the server.
#
#   e2e_foco.sh PROGRAM       database from ZV_TEST_PG*
set -euo pipefail

nome=e2e_foco.sh
# shellcheck source=comum.sh
. "$(dirname -- "$0")/comum.sh"

teste=${ZV_E2E_FOCO:?e2e_foco.sh: ZV_E2E_FOCO not set: run the tests through scripts/test.sh}
cluster=${ZV_TEST_CLUSTER:?e2e_foco.sh: ZV_TEST_CLUSTER not set: run the tests through scripts/test.sh}

# A role of its own whose statements the server logs, and whose departments (through its
# search_path) include one with an empty description; the other tests' data stay as they are.
"$(dirname -- "$0")/../../demo/pgcluster.sh" psql "$cluster" -q -d "$ZV_TEST_PGDATABASE" >/dev/null <<SQL
SET client_min_messages = warning;
DO \$\$ BEGIN
    IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'zvfoco') THEN
        CREATE ROLE zvfoco LOGIN PASSWORD 'zvfoco' NOINHERIT;
    END IF;
END \$\$;
GRANT CONNECT ON DATABASE $ZV_TEST_PGDATABASE TO zvfoco;
GRANT USAGE ON SCHEMA public TO zvfoco;
GRANT SELECT ON ALL TABLES IN SCHEMA public TO zvfoco;
CREATE SCHEMA IF NOT EXISTS foco;
DROP TABLE IF EXISTS foco.depp;
CREATE TABLE foco.depp AS SELECT * FROM public.depp;
INSERT INTO foco.depp (deppcod, deppdes) VALUES (9, '');
GRANT USAGE ON SCHEMA foco TO zvfoco;
GRANT SELECT ON foco.depp TO zvfoco;
ALTER ROLE zvfoco SET search_path = foco, public;
ALTER ROLE zvfoco SET log_statement = 'all';
SQL
export ZV_FOCO_PGUSER=zvfoco ZV_FOCO_PGPASSWORD=zvfoco ZV_FOCO_LOG=$cluster/server.log
"$teste" -platform xcb
echo "e2e_foco: ok"
