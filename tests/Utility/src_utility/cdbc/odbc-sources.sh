#!/usr/bin/env bash
# The data sources of the ODBC driver's tests.
#
#   odbc-sources.sh start DIR SQLITE_DRIVER POSTGRESQL_DRIVER
#     Registers both drivers in DIR/odbcinst.ini and the data sources in DIR/odbc.ini (select them
#     with ODBCSYSINI=DIR and ODBCINI=DIR/odbc.ini). nvx4_sqlite is a fresh database file in DIR
#     (nvx4_sqlite_nowait the same file, giving up on a lock after 200 ms instead of 30 s);
#     nvx4_pg is a throwaway PostgreSQL server started here on 127.0.0.1 and a free high port, in
#     a temporary folder, as an unprivileged user; nvx4_pg_stopped names a port nothing listens on.
#   odbc-sources.sh stop DIR
#     Stops that server by its PID and removes its folder.
#
# Test runs that overlap in one build folder share the sources: each run (the ctest process that
# calls this script) holds a lease in DIR/leases, and the server stops with the last lease.
set -euo pipefail

readonly user=nvx4
readonly password=nvx4-secret

command=${1:?usage: odbc-sources.sh start|stop DIR ...}
dir=${2:?missing DIR}
state=$dir/server.env
leases=$dir/leases
run=$PPID

# Runs a command as the server's owner: postgres refuses to run as root.
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid="$owner" --regid="$(id -g "$owner")" --init-groups -- "$@"
    else
        "$@"
    fi
}

port_in_use() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

free_port() {
    local port
    while :; do
        port=$((20000 + RANDOM % 40000))
        port_in_use "$port" || break
    done
    echo "$port"
}

lock() {
    exec 9>"$dir/.lock"
    flock 9
}

# Drops the leases of runs that ended without stopping.
prune_leases() {
    local lease
    for lease in "$leases"/*; do
        [ -e "$lease" ] || continue
        kill -0 "${lease##*/}" 2>/dev/null || rm -f "$lease"
    done
}

server_running() {
    [ -f "$state" ] || return 1
    # shellcheck source=/dev/null
    . "$state"
    kill -0 "$server_pid" 2>/dev/null
}

stop_server() {
    [ -f "$state" ] || return 0
    # shellcheck source=/dev/null
    . "$state"
    # An immediate shutdown: the data are thrown away anyway.
    if kill -QUIT "$server_pid" 2>/dev/null; then
        for _ in $(seq 100); do
            kill -0 "$server_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$server_root"
    rm -f "$state"
}

write_driver_registration() {
    cat >"$dir/odbcinst.ini" <<INI
[NVX4 SQLite]
Driver = $1
DontDLClose = 1

[NVX4 PostgreSQL]
Driver = $2
DontDLClose = 1
INI
}

write_data_sources() {
    cat >"$dir/odbc.ini" <<INI
[nvx4_sqlite]
Driver = NVX4 SQLite
Database = $dir/nvx4.sqlite
Timeout = 30000

[nvx4_sqlite_nowait]
Driver = NVX4 SQLite
Database = $dir/nvx4.sqlite
Timeout = 200

[nvx4_pg]
Driver = NVX4 PostgreSQL
Servername = 127.0.0.1
Port = $1
Database = postgres

[nvx4_pg_stopped]
Driver = NVX4 PostgreSQL
Servername = 127.0.0.1
Port = $2
Database = postgres
INI
}

server_bin() {
    local bin
    bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
    [ -n "$bin" ] || { echo "no PostgreSQL server under /usr/lib/postgresql" >&2; exit 1; }
    echo "$bin"
}

start_server() {
    local bin root port
    bin=$(server_bin)
    root=$(mktemp -d /tmp/nvx4-pg-XXXXXX)
    echo "$password" >"$root/password"
    [ "$(id -u)" -ne 0 ] || chown -R "$owner" "$root"
    as_owner "$bin/initdb" -D "$root/data" -U "$user" --pwfile="$root/password" \
        --auth-local=scram-sha-256 --auth-host=password -E UTF8 --locale=C >"$root/initdb.log" 2>&1 ||
        { cat "$root/initdb.log" >&2; exit 1; }
    # The server must not inherit the lock (descriptor 9), or it would hold it for its lifetime.
    for _ in 1 2 3 4 5; do
        port=$(free_port)
        if as_owner "$bin/pg_ctl" -D "$root/data" -l "$root/server.log" -w -t 60 start \
            -o "-p $port -h 127.0.0.1 -k $root -c fsync=off" >/dev/null 9>&-; then
            {
                echo "server_pid=$(head -n 1 "$root/data/postmaster.pid")"
                echo "server_root=$root"
                echo "server_port=$port"
            } >"$state"
            return 0
        fi
    done
    cat "$root/server.log" >&2
    exit 1
}

case "$command" in
    start)
        sqlite_driver=${3:?missing SQLITE_DRIVER}
        postgresql_driver=${4:?missing POSTGRESQL_DRIVER}
        owner=postgres
        id "$owner" >/dev/null 2>&1 || owner=nobody
        mkdir -p "$leases"
        lock
        prune_leases
        if ! server_running; then
            stop_server
            rm -f "$dir/nvx4.sqlite"
            start_server
            # shellcheck source=/dev/null
            . "$state"
            write_driver_registration "$sqlite_driver" "$postgresql_driver"
            write_data_sources "$server_port" "$(free_port)"
        fi
        touch "$leases/$run"
        ;;
    stop)
        mkdir -p "$leases"
        lock
        rm -f "$leases/$run"
        prune_leases
        [ -n "$(ls -A "$leases")" ] || stop_server
        ;;
    *)
        echo "unknown command $command" >&2
        exit 2
        ;;
esac
