#!/usr/bin/env bash
# Devices behind a real serial server: ser2net in raw and in telnet (RFC 2217) mode, its line
# being camsim's pseudo-terminal; and camctl backup / restore of several devices at once.
# usage: network_e2e.sh CAMSIM CAMCTL SOURCE_DIR CASE
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") data=$(realpath "$3")/tests/e2e/data case=$4
msg=$(realpath "$3")/resources/samples/demo.Msg
source "$(dirname "$(realpath "$0")")/../checks.sh"

# A program whose remarks carry the byte 255, the telnet IAC: it must cross doubled and come
# back single, both ways.
LC_ALL=C sed 's/^C 01"Feed"/C 01"F\xffe\xffd"/' "$data/one_encoder.Cam" >iac.Cam
same() { cmp "$1" "$2" >&2 || fail "$2 differs from $1"; }
# round_trip PORT FILE : send and receive back, byte for byte.
round_trip() {
    run send --port "$1" "$2"; expect_status 0
    run receive --port "$1" back.Cam; expect_status 0
    same "$2" back.Cam
}
# another_sim MODEL : one more camsim; the one before keeps running.
another_sim() {
    [ -n "$sim_pid" ] && more_pids+=("$sim_pid")
    start_sim --model "$1" --baud 0
}
row() { grep -E "^$1 " out || fail "no summary line for $1: $(cat out)"; }

case $case in
tcp)
    start_sim --model 32x7x255x1 --baud 0
    serve_port tcp
    round_trip "$net_port" iac.Cam
    run msg-send --port "$net_port" "$msg"; expect_status 0
    run msg-receive --port "$net_port" back.Msg; expect_status 0
    same "$msg" back.Msg
    run identify --port "$net_port" --baud 19200; expect_status 0
    expect_err_line "camctl: --baud is ignored on $net_port: the serial server's own line settings apply"
    ;;

rfc2217)
    # The server's line is at 9600 bit/s, 7 bits, even parity, 2 stop bits. While the tool is
    # connected (a silent device keeps it so for 2 s), stty on camsim's side shows what it set.
    start_sim --model 32x7x255x1 --baud 0 --fault silent
    serve_port rfc2217 9600e72
    for speed in 19200 2400; do
        "$camctl" identify --port "$net_port" --baud "$speed" >/dev/null 2>&1 &
        client=$!
        until line=$(stty -F "$port" -a) && grep -qF "speed $speed baud" <<<"$line" || ! kill -0 $client 2>/dev/null; do
            sleep 0.05
        done
        wait $client
        for setting in "speed $speed baud" -parenb cs8 -cstopb; do
            grep -qwF -- "$setting" <<<"$line" || fail "the line lacks '$setting': $line"
        done
    done
    another_sim 32x7x255x1; serve_port rfc2217; round_trip "$net_port" iac.Cam
    ;;

backup_restore)
    # Three devices, one on a local line, two behind the server; a fourth that no server answers.
    another_sim 32x7x255x1; local=$port; run send --port "$local" "$data/one_encoder.Cam"; expect_status 0
    another_sim 32x7x255x2; serve_port tcp; raw=$net_port; run send --port "$raw" "$data/two_encoders.Cam"
    another_sim 16x7x180x1; serve_port rfc2217; tel=$net_port; run send --port "$tel" "$data/sixteen_cams.Cam"
    run msg-send --port "$tel" "$msg"; expect_status 0
    mkdir plant && printf 'previous content' >plant/gone.Cam
    run backup --into plant a=$local b=$raw c=$tel gone=tcp://127.0.0.1:1; expect_status 1
    same "$data/one_encoder.Cam" plant/a.Cam; same "$data/two_encoders.Cam" plant/b.Cam
    same "$data/sixteen_cams.Cam" plant/c.Cam
    [ "$(grep -c . plant/c.Msg)" = 180 ] && grep -q '"MOTOR OVERLOAD"' plant/c.Msg || fail "c.Msg: $(head -3 plant/c.Msg)"
    [ "$(cat plant/gone.Cam)" = "previous content" ] && [ ! -e plant/gone.Msg ] || fail "a failed device got files"
    row a | grep -qE "^a +32x7x255x1 +7 +255 .* ok$" || fail "$(row a)"
    row c | grep -qE "^c +16x7x180x1 +7 +180 .* ok$" || fail "$(row c)"
    row gone | grep -q "FAILED (size reception) .*127.0.0.1:1: the connection was refused" || fail "$(row gone)"
    grep -q "^gone: tcp://127.0.0.1:1: the connection was refused" err || fail "the refusal was not told: $(cat err)"
    # Back to fresh devices, checked; a device of another model is sent nothing.
    another_sim 32x7x255x1; fresh_a=$port; another_sim 16x7x180x1; serve_port rfc2217; fresh_c=$net_port
    another_sim 32x15x255x1; other=$port
    cp plant/a.Cam plant/wrong.Cam && cp plant/a.Msg plant/wrong.Msg
    run restore --from plant --verify a=$fresh_a c=$fresh_c wrong=$other; expect_status 1
    row a | grep -q " ok$" && row c | grep -q " ok$" || fail "$(cat out err)"
    row wrong | grep -q "FAILED (model) the device is 32x15x255x1 and its files are for 32x7x255x1" || fail "$(row wrong)"
    run receive --port "$other" --yes untouched.Cam; expect_status 0
    grep -q '"Feed"' untouched.Cam && fail "the device of another model was sent the file"
    run restore --from plant nobody=$other; expect_status 1
    row nobody | grep -q "FAILED (files) plant/nobody.Msg: no such file" || fail "$(row nobody)"
    run backup --into plant a=$local a=$raw; expect_status 2
    ;;
esac
echo "ok [$case]"
