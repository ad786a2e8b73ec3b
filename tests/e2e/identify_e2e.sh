#!/usr/bin/env bash
# camctl identify against camsim over a real pseudo-terminal: its output, messages and exit
# status for a good device and for one that does not answer as it should. The reply faults
# and a line going away are met by the link routines over the pty (link_e2e_test).
# usage: identify_e2e.sh CAMSIM CAMCTL
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") case=identify
source "$(dirname "$(realpath "$0")")/../checks.sh"

# identify_on SIM_OPTIONS... : one camctl identify against a simulator of its own.
identify_on() {
    start_sim "$@"
    run identify --port "$port"
    stop_sim
}

identify_on
expect_status 0
expect_out "32 cams, 60 sizes, 255 messages, 2 encoders
"
[ ! -s err ] || fail "a good device gives no message: $(cat err)"

identify_on --fault silent
expect_status 1
[ "$(cat err)" = $'KLM NOT FOUND\nCONTROL WIRING' ] || fail "silent device: $(cat err)"
expect_out ""

identify_on --fault echo
expect_status 1
grep -q "came back unchanged" err || fail "echo: $(cat err)"

identify_on --fault unsupported
expect_status 1
expect_err_line "DEVICE UNSUPPORTED"

# Two runs in a row on one simulator: the port is released and taken again.
start_sim
run identify --port "$port"; expect_status 0
mv out first
run identify --port "$port" --baud 19200; expect_status 0
cmp -s first out || fail "second run: $(cat first) / $(cat out)"
stop_sim

# A port that does not exist: the open error names the port, no device is looked for.
run identify --port "$work/no-such-port"; expect_status 1
expect_err_line "$work/no-such-port: There is no such port."
grep -q "KLM NOT FOUND" err && fail "a port that is not there is no missing device: $(cat err)"

run identify; expect_status 2

echo "ok [$case]"
