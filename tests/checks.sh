# Shared by the shell tests of camctl and camsim (sourced). The caller sets camctl, camsim
# (when it needs one) and case; this makes a scratch folder, moves into it and removes it,
# and any simulator left running, at the end. Each check ends the test at the first failure.
work=$(mktemp -d)
sim_pid=
trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1

fail() { echo "FAIL [$case]: $*" >&2; exit 1; }

# run ARGS... : camctl, with a limit well above any wait of the protocol; sets status, out and err.
run() {
    timeout 90 "$camctl" "$@" >out 2>err
    status=$?
    [ $status -ne 124 ] || fail "camctl ${1-} hung"
}
expect_status() { [ "$status" -eq "$1" ] || fail "exit status $status, expected $1; stderr: $(cat err)"; }
expect_err_line() { grep -qxF -- "$1" err || fail "stderr lacks the line '$1'; it was: $(cat err)"; }
expect_out() { diff -u <(printf '%s' "$1") out >&2 || fail "stdout differs"; }

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
