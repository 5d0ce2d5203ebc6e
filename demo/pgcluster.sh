#!/usr/bin/env bash
# Throwaway PostgreSQL 15 server holding the demo database, for trying the program and for the tests.
#
#   pgcluster.sh start DIR          new cluster in DIR (missing or empty), demo database loaded;
#                                   prints the connection settings, also written to DIR/env
#   pgcluster.sh stop DIR           fast shutdown; fine if the server is not running
#   pgcluster.sh kill DIR           immediate shutdown, as if the server had crashed
#   pgcluster.sh restart DIR        start a stopped (or crashed) cluster again, on its own port
#   pgcluster.sh psql DIR [ARGS]    psql as the superuser on that cluster's demo database
#   pgcluster.sh pooler DIR MODE    a PgBouncer in front of the cluster (MODE session or transaction)
#                                   on a free port, for the reader role; prints its port (the
#                                   running one's when called again). It stops with the cluster. Its server sessions start with DateStyle German.
#                                   Configured as the README recommends for the viewer's Java driver.
#   pgcluster.sh standby DIR PRIMARY  a hot standby of the running cluster in PRIMARY, in DIR
#                                   (pg_basebackup -R, streaming), on a free port; settings as start
#
# As root, the server and its tools run as the postgres system user, which PostgreSQL requires.
set -euo pipefail

SCRIPT_DIR=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)
readonly SCRIPT_DIR
readonly PGBIN=${ZV_PGBIN:-/usr/lib/postgresql/15/bin}
readonly FIRST_PORT=55432
readonly LAST_PORT=55631
readonly FIRST_POOLER_PORT=56432
readonly LAST_POOLER_PORT=56631
readonly DB=zvdemo
readonly LEGACY_DB=zvlegado
readonly READER=zvleitura
readonly SUPERUSER=postgres

# Our own connections go through the cluster's socket with explicit options; libpq settings
# inherited from the caller (often the env file of some cluster) must not redirect them.
for var in $(compgen -e); do
    if [[ $var == PG* ]]; then
        unset "$var"
    fi
done

die() {
    printf 'pgcluster: %s\n' "$*" >&2
    exit 1
}

usage() {
    printf 'usage: %s start|stop|kill|restart DIR\n       %s psql DIR [psql arguments...]\n       %s pooler DIR session|transaction\n       %s standby DIR PRIMARY_DIR\n' "$0" "$0" "$0" "$0" >&2
    exit 2
}

if [[ $EUID -eq 0 ]]; then
    # PostgreSQL refuses to run as root. cd / because root's working folder is often unreadable
    # for postgres, and initdb and pg_ctl complain about that.
    as_server() { (cd / && runuser -u "$SUPERUSER" -- "$@"); }
else
    as_server() { "$@"; }
fi

# Absolute path without a trailing slash. The path ends up inside pg_ctl's option string, which a
# shell parses, and in unix_socket_directories, a comma separated list: only plain characters.
resolve_dir() {
    local dir
    [[ -n ${1:-} ]] || usage
    dir=$(realpath -m -- "$1")
    [[ $dir =~ ^[A-Za-z0-9._/@+=:~-]+$ ]] ||
        die "'$dir': the folder path may only contain letters, digits and . _ / @ + = : ~ -"
    printf '%s\n' "$dir"
}

server_running() {
    [[ -f $1/data/PG_VERSION ]] && as_server "$PGBIN/pg_ctl" status -D "$1/data" >/dev/null 2>&1
}

# Fails when start went wrong: says why, shows the end of the server log and leaves nothing running.
start_failed() {
    local dir=$1
    shift
    printf 'pgcluster: start failed: %s\n' "$*" >&2
    if [[ -s $dir/server.log ]]; then
        printf 'pgcluster: last lines of %s:\n' "$dir/server.log" >&2
        tail -n 25 -- "$dir/server.log" | sed 's/^/    /' >&2
    fi
    if server_running "$dir"; then
        as_server "$PGBIN/pg_ctl" stop -D "$dir/data" -m immediate -s >/dev/null 2>&1 || true
    fi
    exit 1
}

# Something answering a TCP connection on the port means it is taken.
port_busy() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# Reports the postgres user's first folder on the way to $1 that it cannot traverse.
first_blocked_parent() {
    local path=$1 prefix=""
    local -a parts
    IFS=/ read -r -a parts <<<"${path#/}"
    for part in "${parts[@]}"; do
        prefix+="/$part"
        if ! as_server test -x "$prefix"; then
            printf '%s\n' "$prefix"
            return
        fi
    done
    printf '%s\n' "$path"
}

# Starts the server of DIR on the first free port and prints it. Another process may take the port
# between the check and the server's bind (parallel test runs); then the next free port is tried.
start_on_free_port() {
    local dir=$1 p log_lines
    for ((p = FIRST_PORT; p <= LAST_PORT; p++)); do
        if port_busy "$p"; then
            continue
        fi
        log_lines=0
        if [[ -f $dir/server.log ]]; then
            log_lines=$(wc -l <"$dir/server.log")
        fi
        if as_server "$PGBIN/pg_ctl" start -D "$dir/data" -l "$dir/server.log" -w -t 60 -s \
            -o "-c listen_addresses=127.0.0.1 -p $p -k $dir" >/dev/null 2>&1; then
            printf '%s\n' "$p"
            return 0
        fi
        if tail -n "+$((log_lines + 1))" -- "$dir/server.log" 2>/dev/null |
            grep -q -e 'could not bind' -e 'could not create any TCP/IP sockets'; then
            continue
        fi
        start_failed "$dir" "the server did not start on port $p"
    done
    start_failed "$dir" "no free TCP port in $FIRST_PORT..$LAST_PORT on 127.0.0.1"
}

# The reader's settings for a server of DIR on PORT, in DIR/env and on standard output.
write_env() {
    local env
    env=$(printf 'PGHOST=127.0.0.1\nPGPORT=%s\nPGDATABASE=%s\nPGUSER=%s\nPGPASSWORD=%s\n' \
        "$2" "$DB" "$READER" "$READER")
    printf '%s\n' "$env" >"$1/env"
    chmod 644 -- "$1/env"
    printf '%s\n' "$env"
}

cmd_start() {
    local dir created=0
    dir=$(resolve_dir "${1:-}")

    [[ -x $PGBIN/initdb && -x $PGBIN/pg_ctl && -x $PGBIN/psql ]] ||
        die "PostgreSQL 15 server programs not found in $PGBIN (Debian package postgresql)"
    [[ -r $SCRIPT_DIR/schema.sql && -r $SCRIPT_DIR/digitos.sql && -r $SCRIPT_DIR/data.sql ]] ||
        die "schema.sql, digitos.sql or data.sql missing beside $0"
    if [[ $EUID -eq 0 ]] && ! id -u "$SUPERUSER" >/dev/null 2>&1; then
        die "running as root needs the '$SUPERUSER' system user (Debian package postgresql creates it)"
    fi
    # The server's socket path must fit in sockaddr_un (107 bytes with the file name).
    if ((${#dir} + ${#FIRST_PORT} + 10 > 107)); then
        die "'$dir' is too long for the server's unix socket; use a shorter path (e.g. under /tmp)"
    fi

    if [[ -e $dir ]]; then
        [[ -d $dir ]] || die "'$dir' exists and is not a folder"
        [[ -z $(ls -A -- "$dir") ]] || die "'$dir' is not empty; start needs a new or empty folder"
        chmod 700 -- "$dir"
    else
        mkdir -p -- "$(dirname -- "$dir")"
        mkdir -m 700 -- "$dir"
        created=1
    fi

    if [[ $EUID -eq 0 ]]; then
        chown "$SUPERUSER:" -- "$dir"
        if ! as_server test -w "$dir" -a -x "$dir"; then
            local blocked
            blocked=$(first_blocked_parent "$dir")
            if ((created)); then
                rmdir -- "$dir"
            fi
            die "the '$SUPERUSER' user cannot reach '$dir' ('$blocked' is not traversable by it); use a folder under /tmp or another world-traversable place"
        fi
    fi

    # initdb only reads the password file; keep it private and remove it right after.
    local pwfile=$dir/superuser.pw
    (umask 077 && printf '%s\n' "$SUPERUSER" >"$pwfile")
    if [[ $EUID -eq 0 ]]; then
        chown "$SUPERUSER:" -- "$pwfile"
    fi
    if ! as_server "$PGBIN/initdb" -D "$dir/data" -U "$SUPERUSER" --pwfile="$pwfile" \
        --encoding=UTF8 --locale=C.UTF-8 --auth-local=trust --auth-host=scram-sha-256 \
        --no-sync --no-instructions >"$dir/initdb.log" 2>&1; then
        rm -f -- "$pwfile"
        cat -- "$dir/initdb.log" >&2
        die "initdb failed (log: $dir/initdb.log)"
    fi
    rm -f -- "$pwfile"

    local port
    port=$(start_on_free_port "$dir")

    # SQL comes on standard input so that the postgres user need not read the source tree.
    local -a psql=("$PGBIN/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir" -p "$port" -U "$SUPERUSER")
    as_server "${psql[@]}" -d postgres -c "CREATE DATABASE $DB" ||
        start_failed "$dir" "could not create database $DB"
    as_server "${psql[@]}" -d "$DB" -1 -f - <"$SCRIPT_DIR/schema.sql" ||
        start_failed "$dir" "error loading $SCRIPT_DIR/schema.sql (line numbers refer to it)"
    # The check-digit helpers are session-local: they come in the same session, just before the data.
    cat -- "$SCRIPT_DIR/digitos.sql" "$SCRIPT_DIR/data.sql" | as_server "${psql[@]}" -d "$DB" -1 -f - ||
        start_failed "$dir" "error loading $SCRIPT_DIR/data.sql (line numbers count digitos.sql, then data.sql)"

    # The program only reads: its role gets exactly that, and PUBLIC's default rights go, so the
    # role cannot create temporary tables or reach the other databases either.
    as_server "${psql[@]}" -d "$DB" <<SQL || start_failed "$dir" "could not set up role $READER"
REVOKE ALL ON DATABASE $DB FROM PUBLIC;
REVOKE CONNECT, TEMPORARY ON DATABASE postgres FROM PUBLIC;
REVOKE CONNECT, TEMPORARY ON DATABASE template1 FROM PUBLIC;
REVOKE ALL ON SCHEMA public FROM PUBLIC;
CREATE ROLE $READER LOGIN PASSWORD '$READER'
    NOSUPERUSER NOCREATEDB NOCREATEROLE NOREPLICATION NOBYPASSRLS NOINHERIT;
GRANT CONNECT ON DATABASE $DB TO $READER;
GRANT USAGE ON SCHEMA public TO $READER;
GRANT SELECT ON ALL TABLES IN SCHEMA public TO $READER;
ANALYZE;
SQL

    # A legacy copy: server encoding SQL_ASCII, as many older business databases run, holding the
    # same rows in UTF-8 except a few names stored as Windows-1252 bytes (MERCADÃO SÃO JOSÉ LTDA).
    as_server "${psql[@]}" -d postgres -c \
        "CREATE DATABASE $LEGACY_DB ENCODING 'SQL_ASCII' LC_COLLATE 'C' LC_CTYPE 'C' TEMPLATE template0" ||
        start_failed "$dir" "could not create database $LEGACY_DB"
    cat -- "$SCRIPT_DIR/schema.sql" "$SCRIPT_DIR/digitos.sql" "$SCRIPT_DIR/data.sql" |
        as_server "${psql[@]}" -d "$LEGACY_DB" -1 -f - >/dev/null ||
        start_failed "$dir" "error loading the demo data into $LEGACY_DB"
    as_server "${psql[@]}" -d "$LEGACY_DB" <<SQL || start_failed "$dir" "could not set up $LEGACY_DB"
UPDATE par SET pardes = E'MERCAD\\xC3O S\\xC3O JOS\\xC9 LTDA', parfan = E'MERCAD\\xC3O' WHERE parcod = 1;
UPDATE marcas SET marcasdes = E'TR\\xCAS CORA\\xC7\\xD5ES' WHERE marcascod = 11;
REVOKE ALL ON DATABASE $LEGACY_DB FROM PUBLIC;
REVOKE ALL ON SCHEMA public FROM PUBLIC;
GRANT CONNECT ON DATABASE $LEGACY_DB TO $READER;
GRANT USAGE ON SCHEMA public TO $READER;
GRANT SELECT ON ALL TABLES IN SCHEMA public TO $READER;
ANALYZE;
SQL

    write_env "$dir" "$port"
}

# A hot standby of the running cluster in PRIMARY: a base backup streaming from it (the
# superuser's local connections may replicate), started read-only on a port of its own. The
# reader role and the databases come with the backup; stop, kill, restart and psql work on DIR.
cmd_standby() {
    local dir primary pport port
    dir=$(resolve_dir "${1:-}")
    primary=$(resolve_dir "${2:-}")
    if [[ ! -r $primary/env ]] || ! server_running "$primary"; then
        die "no running cluster in '$primary'"
    fi
    pport=$(sed -n 's/^PGPORT=//p' "$primary/env")
    [[ ! -e $dir || -z $(ls -A -- "$dir" 2>/dev/null) ]] || die "'$dir' is not empty; standby needs a new or empty folder"
    mkdir -p -- "$dir"
    chmod 700 -- "$dir"
    if [[ $EUID -eq 0 ]]; then
        chown "$SUPERUSER:" -- "$dir"
    fi
    as_server "$PGBIN/pg_basebackup" -h "$primary" -p "$pport" -U "$SUPERUSER" -D "$dir/data" -R \
        -X stream -c fast --no-sync >"$dir/basebackup.log" 2>&1 ||
        start_failed "$dir" "pg_basebackup from '$primary' failed: $(tail -n 3 -- "$dir/basebackup.log")"
    port=$(start_on_free_port "$dir")
    write_env "$dir" "$port"
}

cmd_pooler() {
    local dir mode port p pdir
    dir=$(resolve_dir "${1:-}")
    mode=${2:-}
    [[ $mode == session || $mode == transaction ]] || usage
    [[ -r $dir/env ]] || die "no cluster started in '$dir' (missing $dir/env)"
    command -v pgbouncer >/dev/null || die "pgbouncer not found (Debian package pgbouncer)"
    port=$(sed -n 's/^PGPORT=//p' "$dir/env")
    pdir=$dir/pooler-$mode
    # One pooler per mode and cluster: a second call gets the running one's port.
    if [[ -r $pdir/port && -r $pdir/pgbouncer.pid ]] && kill -0 "$(cat -- "$pdir/pgbouncer.pid")" 2>/dev/null; then
        cat -- "$pdir/port"
        return 0
    fi
    rm -rf -- "$pdir"
    mkdir -m 700 -- "$pdir"
    # PgBouncer refuses to run as root: like the server, it runs as postgres then.
    if [[ $EUID -eq 0 ]]; then
        chown "$SUPERUSER:" -- "$pdir"
    fi
    printf '"%s" "%s"\n' "$READER" "$READER" >"$pdir/userlist.txt"
    for ((p = FIRST_POOLER_PORT; p <= LAST_POOLER_PORT; p++)); do
        if port_busy "$p"; then
            continue
        fi
        cat >"$pdir/pgbouncer.ini" <<INI
[databases]
* = host=127.0.0.1 port=$port connect_query='SET DateStyle = German'
[pgbouncer]
listen_addr = 127.0.0.1
listen_port = $p
unix_socket_dir =
auth_type = scram-sha-256
auth_file = $pdir/userlist.txt
pool_mode = $mode
default_pool_size = 2
ignore_startup_parameters = extra_float_digits
pidfile = $pdir/pgbouncer.pid
logfile = $pdir/pgbouncer.log
INI
        if [[ $EUID -eq 0 ]]; then
            chown "$SUPERUSER:" -- "$pdir"/*
        fi
        if as_server pgbouncer -d -q "$pdir/pgbouncer.ini" 2>>"$pdir/start.log"; then
            for _ in $(seq 50); do
                if port_busy "$p"; then
                    printf '%s\n' "$p" | tee -- "$pdir/port"
                    return 0
                fi
                sleep 0.1
            done
        fi
        stop_pooler "$pdir"
    done
    die "the $mode pooler did not start (log: $pdir/pgbouncer.log)"
}

stop_pooler() {
    local pid
    [[ -r $1/pgbouncer.pid ]] || return 0
    pid=$(cat -- "$1/pgbouncer.pid")
    if [[ $pid =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null; then
        kill -INT "$pid" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    rm -f -- "$1/pgbouncer.pid"
}

# stop and kill leave an already stopped (or never created) cluster alone, so cleanup traps may
# call them unconditionally.
cmd_stop() {
    local mode=$1 dir pooler
    dir=$(resolve_dir "${2:-}")
    for pooler in "$dir"/pooler-*; do
        if [[ -d $pooler ]]; then
            stop_pooler "$pooler"
        fi
    done
    if ! server_running "$dir"; then
        return 0
    fi
    as_server "$PGBIN/pg_ctl" stop -D "$dir/data" -m "$mode" -w -t 60 -s >/dev/null ||
        die "could not stop the server in $dir (log: $dir/server.log)"
}

cmd_restart() {
    local dir port
    dir=$(resolve_dir "${1:-}")
    [[ -r $dir/env && -f $dir/data/PG_VERSION ]] || die "no cluster started in '$dir' (missing $dir/env)"
    if server_running "$dir"; then
        return 0
    fi
    port=$(sed -n 's/^PGPORT=//p' "$dir/env")
    [[ $port =~ ^[0-9]+$ ]] || die "no PGPORT in $dir/env"
    as_server "$PGBIN/pg_ctl" start -D "$dir/data" -l "$dir/server.log" -w -t 60 -s \
        -o "-c listen_addresses=127.0.0.1 -p $port -k $dir" >/dev/null 2>&1 ||
        die "the server in $dir did not start again on port $port (log: $dir/server.log)"
}

cmd_psql() {
    local dir port
    dir=$(resolve_dir "${1:-}")
    shift
    [[ -r $dir/env ]] || die "no cluster started in '$dir' (missing $dir/env)"
    port=$(sed -n 's/^PGPORT=//p' "$dir/env")
    [[ $port =~ ^[0-9]+$ ]] || die "no PGPORT in $dir/env"
    # Later -v options override the default, e.g. -v ON_ERROR_STOP=0.
    if [[ $EUID -eq 0 ]]; then
        # Keep the caller's working folder so relative -f paths work, unless postgres cannot
        # enter it (psql warns then).
        if ! runuser -u "$SUPERUSER" -- test -x .; then
            cd /
        fi
        runuser -u "$SUPERUSER" -- "$PGBIN/psql" -X -v ON_ERROR_STOP=1 -h "$dir" -p "$port" \
            -U "$SUPERUSER" -d "$DB" "$@"
    else
        "$PGBIN/psql" -X -v ON_ERROR_STOP=1 -h "$dir" -p "$port" -U "$SUPERUSER" -d "$DB" "$@"
    fi
}

main() {
    [[ $# -ge 2 ]] || usage
    local cmd=$1
    shift
    case $cmd in
    start)
        [[ $# -eq 1 ]] || usage
        cmd_start "$1"
        ;;
    stop)
        [[ $# -eq 1 ]] || usage
        cmd_stop fast "$1"
        ;;
    kill)
        [[ $# -eq 1 ]] || usage
        cmd_stop immediate "$1"
        ;;
    restart)
        [[ $# -eq 1 ]] || usage
        cmd_restart "$1"
        ;;
    psql) cmd_psql "$@" ;;
    pooler)
        [[ $# -eq 2 ]] || usage
        cmd_pooler "$1" "$2"
        ;;
    standby)
        [[ $# -eq 2 ]] || usage
        cmd_standby "$1" "$2"
        ;;
    *) usage ;;
    esac
}

main "$@"
