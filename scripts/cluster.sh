# Sourced by the scripts that need a throwaway PostgreSQL with the demo database (needs $root).
#
#   inicia_cluster PREFIX   starts one in a new folder /tmp/PREFIX.XXXXXX ($cluster), exports its
#                           settings (PGHOST ... PGPASSWORD) and a [Zarvent] connection service
#                           for the report viewer (PGSERVICEFILE)
#   para_cluster            stops it and removes the folder; for the caller's EXIT trap
inicia_cluster() {
    cluster=$(mktemp -d "/tmp/$1.XXXXXX")
    rmdir "$cluster"
    "$root/demo/pgcluster.sh" start "$cluster" >/dev/null
    set -a
    # shellcheck disable=SC1091
    . "$cluster/env"
    set +a
    printf '[Zarvent]\nhost=%s\nport=%s\ndbname=%s\nuser=%s\npassword=%s\n' "$PGHOST" "$PGPORT" "$PGDATABASE" \
        "$PGUSER" "$PGPASSWORD" >"$cluster/pg_service.conf"
    export PGSERVICEFILE=$cluster/pg_service.conf
}

para_cluster() {
    if [[ -n ${cluster:-} ]]; then
        "$root/demo/pgcluster.sh" stop "$cluster" >/dev/null 2>&1 || true
        rm -rf -- "$cluster"
    fi
}
