#!/usr/bin/env bash
# camctl identify against camsim over a real pseudo-terminal: its output, messages and exit
# status for a good device and for a device that does not answer as it should.
# usage: identify_e2e.sh CAMSIM CAMCTL
set -uo pipefail
camsim=$1
camctl=$2
work=$(mktemp -d)
sim_pid=
cleanup() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
failures=0

# Starts camsim with the given options; sets sim_pid and port.
start_sim() {
    local out="$work/sim.$RANDOM"
    mkfifo "$out"
    "$camsim" "$@" >"$out" &
    sim_pid=$!
    read -r port <"$out"
    rm -f "$out"
}

stop_sim() {
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    sim_pid=
}

# check NAME RC STDOUT STDERR_PATTERN ('' = nothing on stderr) -- camsim options...
check() {
    local name=$1 want_rc=$2 want_out=$3 want_err=$4
    shift 5
    start_sim "$@"
    if [ -z "$port" ]; then
        echo "FAIL $name: camsim printed no port"; failures=$((failures + 1)); return
    fi
    timeout 60 "$camctl" identify --port "$port" >"$work/out" 2>"$work/err"
    local rc=$?
    stop_sim
    local out err
    out=$(cat "$work/out")
    err=$(cat "$work/err")
    local err_ok=1
    if [ -z "$want_err" ]; then [ -z "$err" ] || err_ok=0; else grep -qE "$want_err" <<<"$err" || err_ok=0; fi
    if [ "$rc" != "$want_rc" ] || [ "$out" != "$want_out" ] || [ $err_ok = 0 ]; then
        echo "FAIL $name: rc=$rc (want $want_rc)"
        echo "  stdout: $out"
        echo "  stderr: $err"
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

# The reply faults and a line going away are met by the link routines over the pty
# (link_e2e_test); here what camctl makes of an answer, of silence and of an echo.
not_found=$'KLM NOT FOUND\nCONTROL WIRING'
check "default model" 0 "32 cams, 60 sizes, 255 messages, 2 encoders" '' --
check "silent device" 1 "" "^KLM NOT FOUND$" -- --fault silent
[ "$(cat "$work/err")" = "$not_found" ] || { echo "FAIL silent device message: $(cat "$work/err")"; failures=$((failures + 1)); }
check "echoing line" 1 "" "came back unchanged" -- --fault echo
check "unsupported model" 1 "" "^DEVICE UNSUPPORTED$" -- --fault unsupported

# Two runs in a row on one simulator: the port is released and taken again.
start_sim
a=$("$camctl" identify --port "$port")
b=$("$camctl" identify --port "$port" --baud 19200)
stop_sim
if [ "$a" != "$b" ] || [ -z "$a" ]; then
    echo "FAIL second run: '$a' / '$b'"; failures=$((failures + 1))
fi

# A port that does not exist: the open error names the port and exits 1.
"$camctl" identify --port "$work/no-such-port" >/dev/null 2>"$work/err"
rc=$?
if [ $rc != 1 ] || ! grep -q "^Errore " "$work/err"; then
    echo "FAIL missing port: rc=$rc $(cat "$work/err")"; failures=$((failures + 1))
fi

# Wrong usage.
"$camctl" identify >/dev/null 2>&1
[ $? = 2 ] || { echo "FAIL identify without --port is not a usage error"; failures=$((failures + 1)); }

[ $failures = 0 ] && echo "all identify checks passed"
exit $((failures > 0))
