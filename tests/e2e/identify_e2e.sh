#!/usr/bin/env bash
# camctl identify against camsim over a real pseudo-terminal: its output for a good device,
# twice in a row, and its usage. The faults are rows of fault_matrix.sh.
# usage: identify_e2e.sh CAMSIM CAMCTL
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") case=identify
source "$(dirname "$(realpath "$0")")/../checks.sh"

start_sim
run identify --port "$port"; expect_status 0
expect_out "32 cams, 60 sizes, 255 messages, 2 encoders
"
[ ! -s err ] || fail "a good device gives no message: $(cat err)"
# Again on the same simulator: the port was released and is taken again.
mv out first
run identify --port "$port" --baud 19200; expect_status 0
cmp -s first out || fail "second run: $(cat first) / $(cat out)"

run identify; expect_status 2
echo "ok [$case]"
