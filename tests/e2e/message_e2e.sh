#!/usr/bin/env bash
# camctl's message commands: msg-list and msg-convert on hand-made message files, and
# msg-send / msg-receive against camsim over a real pseudo-terminal (round trips; the device's
# state is in transfer_e2e.sh); their faults are rows of fault_matrix.sh. One case a run.
# usage: message_e2e.sh CAMSIM CAMCTL SOURCE_DIR CASE
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") src=$(realpath "$3") case=$4
source "$(dirname "$(realpath "$0")")/../checks.sh"

crlf() { printf '%s\r\n' "$@"; }
# The canonical file of a list of n messages whose texts are given as "k=text" arguments.
canonical() {
    local n=$1 k line
    shift
    declare -A text=()
    for a in "$@"; do text[${a%%=*}]=${a#*=}; done
    for ((k = 1; k <= n; k++)); do
        line=$(printf 'N. %03d' "$k")
        [ -n "${text[$k]+x}" ] && line+=" \"${text[$k]}\""
        printf '%s\r\n' "$line"
    done
}

case $case in
list)
    # Line k is message k whatever number it carries; odd lines read as the list reads them.
    {
        crlf 'N. 009 "FIRST"' 'N. 002     ' 'N. 003 "SAY "HI" "' 'X. 004 "NOT A MESSAGE LINE"'
        printf 'N. 005 "LF ONLY  "\n'
        crlf '' 'N. 007 "' 'N. 008 no quotes here'
    } >odd.Msg
    check "msg-list --msgs 9 odd.Msg" 0 '001 FIRST
002  
003 SAY "HI" 
004 
005 LF ONLY  
006 
007 
008  
009 
'
    [ ! -s err ] || fail "a clean read says nothing: $(cat err)"
    run msg-list "$src/resources/samples/demo.Msg"; expect_status 0
    [ "$(wc -l <out)" = 255 ] || fail "255 messages by default"
    grep -qxF "009 OIL LEVEL LOW       REFILL THE TANK" out || fail "the sample's message 9: $(sed -n 9p out)"
    ;;

usage)
    for args in msg-list "msg-list a.Msg b.Msg" "msg-list --msgs 0 a.Msg" "msg-list --msgs 1000 a.Msg" \
                "msg-list --msgs x a.Msg" "msg-convert a.Msg" "msg-send a.Msg" "msg-receive --port" \
                "msg-send --port /dev/null --msgs 3 a.Msg" "msg-list --port /dev/null a.Msg"; do
        run $args; expect_status 2
    done
    check "msg-list missing.Msg" 1 - "camctl: missing.Msg: no such file"
    check "msg-send --port /dev/null missing.Msg" 1 - "camctl: missing.Msg: no such file"
    run --help; expect_status 0
    grep -q "camctl msg-receive" out || fail "--help lists no message commands"
    ;;

convert)
    crlf 'N. 001 "A"' 'N. 002   ' 'N. 003 "Q "X" Q"' >in.Msg
    run msg-convert --msgs 4 in.Msg out.Msg; expect_status 0
    cmp out.Msg <(canonical 4 1=A 3='Q "X" Q') >&2 || fail "converted file differs: $(cat -A out.Msg)"
    run msg-convert in.Msg 255.Msg; expect_status 0
    cmp 255.Msg <(canonical 255 1=A 3='Q "X" Q') >&2 || fail "255 messages by default"
    # A file that cannot be replaced stays as it was.
    printf 'kept' >locked.Msg; chmod 444 locked.Msg
    run msg-convert in.Msg locked.Msg; expect_status 1
    [ "$(cat locked.Msg)" = kept ] || fail "a write-protected file was replaced"
    # More messages than the count: how many is said first, and dropped only with --yes.
    canonical 257 256=BEYOND >many.Msg
    check "msg-convert many.Msg short.Msg" 1 - "many.Msg holds 1 message(s) beyond the 255 of the list: they are left out."
    [ ! -e short.Msg ] || fail "messages were dropped without --yes"
    run msg-convert --yes many.Msg short.Msg; expect_status 0
    # What is no message file is refused, as the transmission refuses it.
    check "msg-convert $src/resources/samples/demo.Cam x.Msg" 1 - "demo.Cam - wrong file format"
    [ ! -e x.Msg ] || fail "a cam file was converted into a message file"
    ;;

round_trip)
    canonical 180 1='MOTOR OVERLOAD' 2='OIL ?:PRESSURE "LOW"' 180='LAST MESSAGE OF FORTY CHARACTERS  ABCDEF' >sent.Msg
    start_sim --model 32x7x180x1 --baud 0
    # More messages than the device holds: how many is said, and they are sent only with --yes.
    canonical 255 200=BEYOND >long.Msg
    check "msg-send --port $port long.Msg" 1 - "long.Msg holds 1 message(s) beyond the 180 of the device: they are not sent."
    run msg-send --yes --port "$port" long.Msg; expect_status 0
    run msg-send --port "$port" sent.Msg; expect_status 0
    grep -q "^sent the messages of sent.Msg to " out || fail "no summary: $(cat out)"
    run msg-receive --port "$port" back.Msg; expect_status 0
    cmp sent.Msg back.Msg >&2 || { diff <(tr -d '\r' <sent.Msg) <(tr -d '\r' <back.Msg) >&2; fail "came back changed"; }
    grep -qxF "received 180 messages from $port into back.Msg" out || fail "no summary: $(cat out)"
    [ ! -s sim.err ] || fail "camsim complained: $(cat sim.err)"
    stop_sim
    # At a real line speed, with a device that thinks before each block.
    canonical 255 7=ALARM 128=HALF >sent.Msg
    start_sim --model 32x7x255x2 --baud 115200 --fault delay:5
    run msg-send --port "$port" sent.Msg; expect_status 0
    run msg-receive --port "$port" back.Msg; expect_status 0
    cmp sent.Msg back.Msg >&2 || fail "paced round trip changed the list"
    ;;

send_not_a_message_file)
    # An empty first line is no message file: nothing goes to the device.
    crlf '' 'N. 001 "A"' >bad.Msg
    start_sim --model 32x7x255x1 --baud 0
    check "msg-send --port $port bad.Msg" 1 - "bad.Msg - wrong file format" \
        "camctl msg-send: the messages were not sent"
    run msg-receive --port "$port" back.Msg; expect_status 0
    cmp back.Msg <(canonical 255) >&2 || fail "the device took something"
    ;;

*) fail "no such case" ;;
esac
echo "ok [$case]"
