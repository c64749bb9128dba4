# A throwaway PostgreSQL server for the tests of the shop database server, sourced by scripts/test.sh:
# start_test_server makes a cluster in a new temporary folder, run by an unprivileged user, listening only
# on a Unix socket inside that folder, and exports its connection string as PRICEBOOK_TEST_PG;
# stop_test_server stops it and removes the folder. Where no server can be started the tests of the
# server skip, saying why.

test_server_folder=""
test_server_user=()

stop_test_server() {
    [ -n "$test_server_folder" ] || return 0
    local bin="$test_server_folder/bin"
    if [ -f "$test_server_folder/data/postmaster.pid" ]; then
        "${test_server_user[@]}" "$(cat "$bin")/pg_ctl" -D "$test_server_folder/data" -m immediate -w -t 30 stop \
            >/dev/null 2>&1 || true
    fi
    rm -rf "$test_server_folder"
    test_server_folder=""
}

start_test_server() {
    local bin
    bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1 || true)
    if [ -z "$bin" ] || [ ! -x "$bin/initdb" ] || [ ! -x "$bin/pg_ctl" ]; then
        echo "No PostgreSQL server programs found: the tests of the shop database server will be skipped."
        return 0
    fi
    test_server_folder=$(mktemp -d "${TMPDIR:-/tmp}/pricebook-pg.XXXXXX")
    echo "$bin" >"$test_server_folder/bin"
    chmod 755 "$test_server_folder"
    # The server refuses to run as root; under root (as on CI) it runs as "nobody".
    test_server_user=()
    if [ "$(id -u)" -eq 0 ]; then
        chown nobody "$test_server_folder"
        test_server_user=(runuser -u nobody --)
    fi
    # The socket's port number only names the socket file in the private folder, so no port is taken.
    local port=5432
    if ! "${test_server_user[@]}" "$bin/initdb" -D "$test_server_folder/data" -U pricebook -A trust -E UTF8 \
            --locale=C.UTF-8 >"$test_server_folder/initdb.log" 2>&1 ||
       ! "${test_server_user[@]}" "$bin/pg_ctl" -D "$test_server_folder/data" -l "$test_server_folder/server.log" \
            -w -t 60 -o "-k $test_server_folder -p $port -c listen_addresses= -c fsync=off" start >/dev/null 2>&1; then
        echo "The throwaway PostgreSQL server could not be started: the tests of the shop database server will be skipped."
        cat "$test_server_folder/initdb.log" "$test_server_folder/server.log" 2>/dev/null | tail -n 20 || true
        stop_test_server
        return 0
    fi
    export PRICEBOOK_TEST_PG="host=$test_server_folder port=$port user=pricebook dbname=postgres"
    echo "Throwaway PostgreSQL server for the tests: $PRICEBOOK_TEST_PG"
}
