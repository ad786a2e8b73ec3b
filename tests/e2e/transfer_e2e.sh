#!/usr/bin/env bash
# camctl's transfers, firmware updates and message commands against camsim on a real
# pseudo-terminal and behind ser2net (raw and RFC 2217); the device's faults are fault_matrix.sh's.
# One case a run, so that the slow ones run beside the others.
# usage: transfer_e2e.sh CAMSIM CAMCTL SOURCE_DIR CASE
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") src=$(realpath "$3") case=$4
data=$src/tests/e2e/data msg=$src/resources/samples/demo.Msg
source "$(dirname "$(realpath "$0")")/../checks.sh"

# round_trip PORT FILE : sent and received back, byte for byte (a .Msg file by the message commands).
round_trip() {
    local m= back=back.${2##*.}
    [[ $2 == *.Msg ]] && m=msg-
    run ${m}send --port "$1" "$2"; expect_status 0
    run ${m}receive --port "$1" "$back"; expect_status 0
    same_bytes "$2" "$back"
}
# same_bytes A B : the same bytes; the lines that differ are shown.
same_bytes() { cmp "$1" "$2" >&2 || { diff <(tr -d '\r' <"$1") <(tr -d '\r' <"$2") >&2; fail "$2 is not $1"; }; }

fw=$data/firmware.Abs image=dev/camsim-32x60x255x2.firmware

# The file's data records in order (byte count 00 carries none) and "A1B2C303/15/2026" in hex.
expect_image() {
    diff -u <(grep -v '^:00' "$fw" | tr -d '\r') <(sed -n 's/^record //p' "$image") >&2 ||
        fail "the stored image is not the file's records"
    grep -qxF "identification =41314232433330332f31352f32303236" "$image" || fail "identification: $(cat "$image")"
}
expect_verified() {
    expect_out_lines "lines: 121" "data bytes: 1906" " CRC Prog:  A1B2C3  Date Prog: MAR 15 2026" "$@"
}

# One data digit of line 5 changed, and the file cut after line 10.
spoilt_copies() {
    sed '5s/^\(.\{12\}\)./\1F/' "$fw" >corrupt.Abs
    cmp -s "$fw" corrupt.Abs && fail "the corrupted copy is the file"
    head -n 10 "$fw" >cut.Abs
}

# The canonical file of a list of n messages whose texts are given as "k=text" arguments.
canonical() {
    local n=$1 k a
    declare -A text=()
    for a in "${@:2}"; do text[${a%%=*}]=${a#*=}; done
    for ((k = 1; k <= n; k++)); do printf 'N. %03d%s\r\n' "$k" "${text[$k]+ \"${text[$k]}\"}"; done
}

# Remarks that carry the byte 255, the telnet IAC, which must cross doubled both ways.
iac_file() { LC_ALL=C sed 's/^C 01"Feed"/C 01"F\xffe\xffd"/' "$data/one_encoder.Cam" >iac.Cam; }
# another_sim MODEL : one more camsim; the one before keeps running.
another_sim() {
    [ -n "$sim_pid" ] && more_pids+=("$sim_pid")
    start_sim --model "$1" --baud 0
}
row() { grep -E "^$1 " out || fail "no summary line for $1: $(cat out)"; }
expect_seven_sent() { grep -q "^sent the functions block and 7 sizes of " out || fail "not 7 sizes sent: $(cat out)"; }

case $case in
identify)
    start_sim
    check "identify --port $port" 0 $'32 cams, 60 sizes, 255 messages, 2 encoders\n'
    [ ! -s err ] || fail "a good device gives no message: $(cat err)"
    # The port was released and is taken again.
    check "identify --port $port --baud 19200" 0 $'32 cams, 60 sizes, 255 messages, 2 encoders\n'
    ;;

round_trips)
    # Every layout; the last at a real line speed, with a device that thinks before each answer.
    while read -r -u 3 model file options; do
        start_sim --model "$model" ${options:---baud 0}
        round_trip "$port" "$data/$file"
        [ ! -s sim.err ] || fail "camsim complained: $(cat sim.err)"
        stop_sim
    done 3<<'TABLE'
32x7x255x1 one_encoder.Cam
32x7x255x2 two_encoders.Cam
32x15x255x3 three_encoders.Cam
16x7x180x1 sixteen_cams.Cam
16x7x180x1 sixteen_cams.Cam --baud 115200 --fault delay:5
TABLE
    ;;

verify)
    # Fewer sizes on the device than in the file, then more: the sizes sent are counted and checked.
    start_sim --model 32x7x255x2 --baud 0
    run send --yes --port "$port" "$data/three_encoders.Cam"; expect_status 0
    expect_seven_sent
    run send --verify --port "$port" "$data/two_encoders.Cam"; expect_status 0
    expect_out_line "verified: the device holds what was sent"
    restart_sim --model 32x15x255x2 --baud 0
    run send --verify --yes --port "$port" "$data/two_encoders.Cam"; expect_status 0
    expect_out_line "verified: the device holds what was sent"
    expect_seven_sent
    ;;

state)
    # Another run of the simulator on the same folder is the same device.
    mkdir dev
    start_sim --model 32x7x255x1 --baud 0 --state dev
    for args in "send --port $port $data/one_encoder.Cam" "msg-send --port $port $msg"; do check "$args" 0 -; done
    restart_sim --model 32x7x255x1 --baud 0 --state dev
    run receive --port "$port" back.Cam; expect_status 0
    same_bytes "$data/one_encoder.Cam" back.Cam
    run msg-receive --port "$port" back.Msg; expect_status 0
    same_bytes "$msg" back.Msg
    stop_sim
    # A damaged state, or a FIFO that would hold the simulator, is said in a short line and not used.
    for damaged in size fifo long; do
        rm -f dev/camsim-32x7x255x1.state sim.err
        case $damaged in
        size) printf 'camsim state 1\nsize 99\n' >dev/camsim-32x7x255x1.state ;;
        fifo) mkfifo dev/camsim-32x7x255x1.state ;;
        long) { echo 'camsim state 1'; head -c 100000 /dev/zero | tr '\0' x; echo; } >dev/camsim-32x7x255x1.state ;;
        esac
        start_sim --model 32x7x255x1 --baud 0 --state dev
        run receive --port "$port" back.Cam; expect_status 0
        grep -q "starting with an empty memory" sim.err || fail "$damaged: a damaged state went unnoticed: $(cat sim.err)"
        [ "$(wc -L <sim.err)" -lt 200 ] || fail "$damaged: the state's line was shown whole"
        grep -qxF "C 01\"Feed\"" back.Cam && fail "$damaged: a damaged state was used"
        stop_sim
    done
    ;;

receive_scratch_is_private)
    # The reception file lives in a folder under TMPDIR open to this user only, gone afterwards.
    mkdir tmp
    start_sim --model 32x7x255x1 --baud 0
    TMPDIR="$work/tmp" run receive --port "$port" back.Cam; expect_status 0
    [ -z "$(ls tmp)" ] || fail "scratch files were left behind: $(ls tmp)"
    restart_sim --model 32x7x255x1 --baud 200
    TMPDIR="$work/tmp" timeout 90 "$camctl" receive --port "$port" slow.Cam >out 2>err &
    pid=$!
    for _ in $(seq 50); do [ -n "$(ls -d tmp/camctl-?????? 2>/dev/null)" ] && break; sleep 0.1; done
    [ -n "$(ls -d tmp/camctl-?????? 2>/dev/null)" ] || fail "no private scratch folder while receiving"
    [ "$(stat -c %a tmp/camctl-??????)" = 700 ] || fail "the scratch folder is open to others"
    kill -INT "$pid"; wait "$pid"
    [ -z "$(ls tmp)" ] || fail "an interrupted reception left its scratch files: $(ls tmp)"
    [ ! -e slow.Cam ] || fail "an interrupted reception wrote its output"
    # A signal ignored when the command starts (nohup) stays ignored; SIGTERM still ends it tidily.
    (trap '' HUP; TMPDIR="$work/tmp" exec "$camctl" receive --port "$port" slow.Cam >out 2>err) &
    pid=$!
    mask() { awk "/^$1/ {print \$2}" "/proc/$pid/status" 2>/dev/null || echo 0; }
    for _ in $(seq 50); do (( 0x$(mask SigCgt) & 0x4000 )) && break; sleep 0.1; done  # its handlers are set
    (( 0x$(mask SigIgn) & 0x1 )) || fail "SIGHUP, ignored at the start, is no longer ignored"
    kill -TERM "$pid"; wait "$pid"
    [ -z "$(ls tmp)" ] || fail "a stopped reception left its scratch files: $(ls tmp)"
    ;;

diff_device)
    # What the device cannot hold is left out of the comparison and said on stderr.
    sample=$src/resources/samples/demo.Cam
    start_sim --model 32x7x255x1 --baud 0
    run send --yes --port "$port" "$sample"; expect_status 0
    check "diff --port $port $sample" 0 "" '  Cam 10: no phase in size 1, its remark "SPARE" is not sent'
    sed 's/^ 0200 0400\r$/ 0200 0420\r/' "$sample" >changed.Cam
    run send --yes --port "$port" changed.Cam; expect_status 0
    check "diff --port $port $sample" 1 $'size 2, cam 1: phase 0200-0400 in A, 0200-0420 in B\n'
    # Another model on the device is a difference, not a failure.
    restart_sim --model 32x15x255x2 --baud 0
    run send --port "$port" "$data/two_encoders.Cam" --yes; expect_status 0
    check "diff --port $port $data/two_encoders.Cam" 1 $'Number of sizes: 7 in A, 15 in B\n'
    # A device that does not answer gives no answer either.
    restart_sim --model 32x7x255x1 --baud 0 --fault bad-checksum:5
    check "diff --port $port $data/one_encoder.Cam" 2 - "TIMEOUT SERIAL PORT "
    ;;

wrong_cams)
    start_sim --model 32x7x255x1 --baud 0
    check "send --port $port $data/sixteen_cams.Cam" 1 - "WRONG DSP  C.32"
    printf 'previous content' >out.Cam
    check "receive --port $port --model 16x7 out.Cam" 1 - "WRONG DSP  C.32"
    [ "$(cat out.Cam)" = "previous content" ] || fail "OUT was written after a failed reception"
    [ "$(ls -A | sort | tr '\n' ' ')" = "err out out.Cam sim.err " ] || fail "files left behind: $(ls -A)"
    ;;

verify_hex)
    spoilt_copies
    run verify-hex "$fw"; expect_status 0
    expect_verified
    check "verify-hex corrupt.Abs" 1 "" "PARITY ERROR IN LINE 5"
    printf ':00000001FF\r\nnot a record\r\n' >unusable.Abs
    check "verify-hex unusable.Abs" 1 - "FILE UNUSABLE"
    run verify-hex missing.Abs; expect_status 1
    run verify-hex; expect_status 2
    # What objcopy writes is taken, also with CR alone ending the lines and an end-of-file mark.
    head -c 300 /dev/zero | tr '\0' 'x' >image.bin
    objcopy -I binary -O ihex image.bin tool.Abs || fail "objcopy failed"
    tr -d '\n' <tool.Abs >cr.Abs && printf '\032' >>cr.Abs
    for f in tool.Abs cr.Abs; do
        run verify-hex $f; expect_status 0
        grep -qx "lines: 20" out || fail "$f: $(cat out err)"
    done
    # What a device would refuse half-way through an update is refused here, naming the line.
    check "verify-hex cut.Abs" 1 - "THE FILE ENDS AT LINE 10 WITHOUT ITS END RECORD: IT IS INCOMPLETE"
    ;;

flash)
    mkdir dev
    # Also at a real line speed, with a device that thinks before each answer.
    for options in "--baud 0" "--baud 115200 --fault delay:2"; do
        rm -f "$image"
        start_sim $options --state dev
        run flash --port "$port" --yes "$fw"; expect_status 0
        expect_verified "DEVICE UPDATED WITH  $fw"
        expect_err_line "UPDATE FLASH ?"
        expect_image
        stop_sim
    done
    ;;

flash_refused)
    spoilt_copies
    mkdir dev
    # A corrupted or cut file is refused before the port is opened; a declined update sends nothing.
    start_sim --baud 0 --state dev
    check "flash --port $port --yes corrupt.Abs" 1 - "PARITY ERROR IN LINE 5"
    grep -qF "UPDATE FLASH ?" err && fail "a corrupted file was offered for the update"
    run flash --port "$port" --yes cut.Abs; expect_status 1
    grep -qF "UPDATE FLASH ?" err && fail "half a firmware was offered for the update"
    check "flash --port $port $fw" 1 - "UPDATE FLASH ?"
    grep -q "was not updated" err || fail "no word that nothing was updated: $(cat err)"
    stop_sim
    [ ! -e "$image" ] || fail "camsim took a firmware image: $(head -3 "$image")"
    ;;

msg_list)
    # Line k is message k whatever number it carries, listed with its blanks.
    crlf 'N. 009 "FIRST"' 'N. 002     ' 'N. 003 "SAY "HI" "' >odd.Msg
    run msg-list --msgs 4 odd.Msg; expect_status 0
    expect_out_lines "001 FIRST" "002  " '003 SAY "HI" ' "004 "
    [ ! -s err ] || fail "a clean read says nothing: $(cat err)"
    run msg-list "$msg"; expect_status 0
    [ "$(wc -l <out)" = 255 ] || fail "255 messages by default"
    grep -qxF "009 OIL LEVEL LOW       REFILL THE TANK" out || fail "the sample's message 9: $(sed -n 9p out)"
    ;;

msg_usage)
    for args in msg-list "msg-list a.Msg b.Msg" "msg-list --msgs 0 a.Msg" "msg-list --msgs 1000 a.Msg" \
                "msg-list --msgs x a.Msg" "msg-convert a.Msg" "msg-send a.Msg" "msg-receive --port" \
                "msg-send --port /dev/null --msgs 3 a.Msg" "msg-list --port /dev/null a.Msg"; do
        run $args; expect_status 2
    done
    for c in msg-list "msg-send --port /dev/null"; do check "$c missing.Msg" 1 - "camctl: missing.Msg: no such file"; done
    run --help; expect_status 0
    grep -q "camctl msg-receive" out || fail "--help lists no message commands"
    ;;

msg_convert)
    crlf 'N. 001 "A"' 'N. 002   ' 'N. 003 "Q "X" Q"' >in.Msg
    run msg-convert --msgs 4 in.Msg out.Msg; expect_status 0
    cmp out.Msg <(canonical 4 1=A 3='Q "X" Q') >&2 || fail "converted file differs: $(cat -A out.Msg)"
    run msg-convert in.Msg 255.Msg; expect_status 0
    cmp 255.Msg <(canonical 255 1=A 3='Q "X" Q') >&2 || fail "255 messages by default"
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

msg_round_trip)
    canonical 180 1='MOTOR OVERLOAD' 2='OIL ?:PRESSURE "LOW"' 180='LAST MESSAGE OF FORTY CHARACTERS  ABCDEF' >sent.Msg
    start_sim --model 32x7x180x1 --baud 0
    # More messages than the device holds: how many is said, and they are sent only with --yes.
    canonical 255 200=BEYOND >long.Msg
    check "msg-send --port $port long.Msg" 1 - "long.Msg holds 1 message(s) beyond the 180 of the device: they are not sent."
    run msg-send --yes --port "$port" long.Msg; expect_status 0
    run msg-send --port "$port" sent.Msg; expect_status 0
    grep -q "^sent the messages of sent.Msg to " out || fail "no summary: $(cat out)"
    run msg-receive --port "$port" back.Msg; expect_status 0
    same_bytes sent.Msg back.Msg
    expect_out_line "received 180 messages from $port into back.Msg"
    [ ! -s sim.err ] || fail "camsim complained: $(cat sim.err)"
    stop_sim
    # At a real line speed, with a device that thinks before each block.
    canonical 255 7=ALARM 128=HALF >sent.Msg
    start_sim --model 32x7x255x2 --baud 115200 --fault delay:5
    round_trip "$port" sent.Msg
    ;;

msg_send_not_a_message_file)
    # An empty first line is no message file: nothing goes to the device.
    crlf '' 'N. 001 "A"' >bad.Msg
    start_sim --model 32x7x255x1 --baud 0
    check "msg-send --port $port bad.Msg" 1 - "bad.Msg - wrong file format" \
        "camctl msg-send: the messages were not sent"
    run msg-receive --port "$port" back.Msg; expect_status 0
    cmp back.Msg <(canonical 255) >&2 || fail "the device took something"
    ;;

net_tcp)
    start_sim --model 32x7x255x1 --baud 0
    serve_port tcp
    iac_file
    round_trip "$net_port" iac.Cam
    round_trip "$net_port" "$msg"
    check "identify --port $net_port --baud 19200" 0 - \
        "camctl: --baud is ignored on $net_port: the serial server's own line settings apply"
    ;;

net_rfc2217)
    # The server's line starts at 9600e72; while the tool waits on a silent device, stty on
    # camsim's side shows what the tool set.
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
    iac_file
    another_sim 32x7x255x1; serve_port rfc2217; round_trip "$net_port" iac.Cam
    ;;

net_backup_restore)
    # One device on a local line, two behind the server, a fourth that no server answers.
    another_sim 32x7x255x1; local=$port; run send --port "$local" "$data/one_encoder.Cam"; expect_status 0
    another_sim 32x7x255x2; serve_port tcp; raw=$net_port
    run send --port "$raw" "$data/two_encoders.Cam"; expect_status 0
    another_sim 16x7x180x1; serve_port rfc2217; tel=$net_port
    run send --port "$tel" "$data/sixteen_cams.Cam"; expect_status 0
    run msg-send --port "$tel" "$msg"; expect_status 0
    mkdir plant && printf 'previous content' >plant/gone.Cam
    run backup --into plant a=$local b=$raw c=$tel gone=tcp://127.0.0.1:1; expect_status 1
    same_bytes "$data/one_encoder.Cam" plant/a.Cam; same_bytes "$data/two_encoders.Cam" plant/b.Cam
    same_bytes "$data/sixteen_cams.Cam" plant/c.Cam
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

*) fail "no such case" ;;
esac
echo "ok [$case]"
