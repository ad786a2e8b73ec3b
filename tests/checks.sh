# Sourced by the shell tests; the caller sets camctl, camsim (when it needs one) and case. Works
# in a scratch folder, removed with any simulator left running; a check ends the test at its failure.
work=$(mktemp -d)
sim_pid=
more_pids=()  # further simulators and serial servers
trap 'for p in $sim_pid "${more_pids[@]}"; do kill "$p" && wait "$p"; done 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1

fail() { echo "FAIL [$case]: $*" >&2; exit 1; }
crlf() { printf '%s\r\n' "$@"; }  # ARGS... as lines ended with CR LF, as the programmer's files are

# run ARGS... : camctl, with a limit well above any wait of the protocol; sets status, out and err.
run() {
    timeout 90 "$camctl" "$@" >out 2>err
    status=$?
    [ $status -ne 124 ] || fail "camctl ${1-} hung"
}
expect_status() { [ "$status" -eq "$1" ] || fail "exit status $status, expected $1; stderr: $(cat err)"; }
expect_err_line() { grep -qxF -- "$1" err || fail "stderr lacks the line '$1'; it was: $(cat err)"; }
# expect_lines FILE PATTERN... : each extended regular expression matches a line of FILE.
expect_lines() { for pattern in "${@:2}"; do grep -Eq -- "$pattern" "$1" || fail "$1 lacks '$pattern'"; done; }
expect_out_line() { grep -qxF -- "$1" out || fail "stdout lacks the line '$1'; it was: $(cat out)"; }
expect_out() { diff -u <(printf '%s' "$1") out >&2 || fail "stdout differs"; }
expect_out_lines() { diff -u <(printf '%s\n' "$@") out >&2 || fail "stdout differs"; }  # LINE...: stdout is these lines
# check "ARGS" STATUS STDOUT [LINE...] : camctl ARGS (split at blanks) ends with STATUS, writes
# STDOUT ("-": anything) and says each LINE on stderr.
check() {
    local args=$1 want=$2 stdout=$3
    shift 3
    run $args; expect_status "$want"
    [ "$stdout" = - ] || expect_out "$stdout"
    for line; do expect_err_line "$line"; done
}

# start_sim OPTIONS... : camsim on a fresh pseudo-terminal; sets sim_pid and port.
start_sim() {
    mkfifo sim.fifo
    "$camsim" "$@" >sim.fifo 2>>sim.err &
    sim_pid=$!
    read -r port <sim.fifo
    rm -f sim.fifo
    [ -n "$port" ] || fail "camsim printed no port (options: $*)"
}
stop_sim() {
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    sim_pid=
}
restart_sim() { stop_sim; start_sim "$@"; }

# serve_port MODE [LINE] : ser2net (tcp: raw, or rfc2217) in front of camsim's $port, its line at
# LINE (default 9600n81); sets net_port to MODE://127.0.0.1:N once the server listens.
serve_port() {
    local accepter=tcp scheme=tcp n
    [ "$1" = rfc2217 ] && accepter="telnet(rfc2217),tcp" scheme=rfc2217
    for _ in 1 2 3 4 5; do
        n=$((20000 + RANDOM % 40000))
        listening "$n" && continue
        printf 'connection: &line\n  accepter: %s,127.0.0.1,%s\n  connector: serialdev,%s,local\n' \
            "$accepter" "$n" "$port,${2:-9600n81}" >"ser2net-$n.yaml"
        ser2net -n -d -c "ser2net-$n.yaml" 2>"ser2net-$n.err" &
        more_pids+=($!)
        # Until it listens, or says why it cannot (the port taken meanwhile).
        until listening "$n" || grep -q "Unable to startup" "ser2net-$n.err"; do sleep 0.05; done
        listening "$n" && ! grep -q "Unable to startup" "ser2net-$n.err" && { net_port="$scheme://127.0.0.1:$n"; return; }
    done
    fail "ser2net found no free port"
}
# listening N : something listens on 127.0.0.1:N (read from the kernel, without connecting).
listening() { grep -q "^ *[0-9]*: 0100007F:$(printf %04X "$1") 00000000:0000 0A" /proc/net/tcp; }
