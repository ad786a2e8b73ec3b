#!/usr/bin/env bash
# camctl send / receive against camsim over a real pseudo-terminal: round trips that must
# come back byte for byte, the check after sending, the comparison with the device, the
# private scratch folder, the cam count checked. The faults of a transfer are rows of
# fault_matrix.sh. One case a run, so that the slow ones run beside the others.
# usage: transfer_e2e.sh CAMSIM CAMCTL DATA_DIR CASE
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") data=$(realpath "$3") case=$4
source "$(dirname "$(realpath "$0")")/../checks.sh"

# round_trip MODEL FILE [SIM_OPTIONS...] : sent to a device of that model (--baud 0 unless
# options are given) and received back, byte for byte.
round_trip() {
    local model=$1 file=$2
    shift 2
    [ $# -gt 0 ] || set -- --baud 0
    start_sim --model "$model" "$@"
    run send --port "$port" "$data/$file"; expect_status 0
    run receive --port "$port" back.Cam; expect_status 0
    cmp "$data/$file" back.Cam >&2 || { diff <(tr -d '\r' <"$data/$file") <(tr -d '\r' <back.Cam) >&2; fail "$file came back changed"; }
    [ ! -s sim.err ] || fail "camsim complained: $(cat sim.err)"
    stop_sim
}

case $case in
round_trips)
    round_trip 32x7x255x1 one_encoder.Cam
    round_trip 32x7x255x2 two_encoders.Cam
    round_trip 32x15x255x3 three_encoders.Cam
    round_trip 16x7x180x1 sixteen_cams.Cam
    # At a real line speed, with a device that thinks before each answer.
    round_trip 16x7x180x1 sixteen_cams.Cam --baud 115200 --fault delay:5
    ;;

verify)
    start_sim --model 32x7x255x2 --baud 0
    run send --verify --port "$port" "$data/two_encoders.Cam"; expect_status 0
    grep -qxF "verified: the device holds what was sent" out || fail "no verification line: $(cat out)"
    stop_sim
    # A device with more sizes than the file: the sizes sent are the ones checked, and the
    # summary counts them.
    start_sim --model 32x15x255x2 --baud 0
    run send --verify --yes --port "$port" "$data/two_encoders.Cam"; expect_status 0
    grep -qxF "verified: the device holds what was sent" out || fail "no verification line: $(cat out)"
    grep -q "^sent the functions block and 7 sizes of " out || fail "the summary does not count the sizes sent: $(cat out)"
    stop_sim
    # A device with fewer sizes than the file takes the sizes it holds; the summary says so.
    start_sim --model 32x7x255x2 --baud 0
    run send --yes --port "$port" "$data/three_encoders.Cam"; expect_status 0
    grep -q "^sent the functions block and 7 sizes of " out || fail "the summary counts the file's sizes: $(cat out)"
    ;;

state)
    # Another run of the simulator on the same folder is the same device: its sizes and its
    # messages.
    msg=$(realpath "$data/../../../resources/samples/demo.Msg")
    mkdir dev
    start_sim --model 32x7x255x1 --baud 0 --state dev
    run send --port "$port" "$data/one_encoder.Cam"; expect_status 0
    run msg-send --port "$port" "$msg"; expect_status 0
    stop_sim
    start_sim --model 32x7x255x1 --baud 0 --state dev
    run receive --port "$port" back.Cam; expect_status 0
    cmp "$data/one_encoder.Cam" back.Cam >&2 || fail "the sizes did not survive a restart"
    run msg-receive --port "$port" back.Msg; expect_status 0
    cmp "$msg" back.Msg >&2 || fail "the messages did not survive a restart"
    stop_sim
    # A damaged state, or one that is no file (a FIFO would hold the simulator before it says
    # its port), is said in a short line and not used; the device starts empty and still serves.
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
    # The reception file lives in a folder of its own under TMPDIR, open to this user only,
    # and is gone afterwards, also when the command is stopped.
    mkdir tmp
    start_sim --model 32x7x255x1 --baud 0
    TMPDIR="$work/tmp" run receive --port "$port" back.Cam; expect_status 0
    [ -z "$(ls tmp)" ] || fail "scratch files were left behind: $(ls tmp)"
    stop_sim
    start_sim --model 32x7x255x1 --baud 200
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
    # The file sent, then another one with a phase moved: diff --port names that phase. What
    # the device cannot hold is left out of the comparison and said on stderr.
    sample=$(realpath "$data/../../../resources/samples/demo.Cam")
    start_sim --model 32x7x255x1 --baud 0
    run send --yes --port "$port" "$sample"; expect_status 0
    check "diff --port $port $sample" 0 "" '  Cam 10: no phase in size 1, its remark "SPARE" is not sent'
    sed 's/^ 0200 0400\r$/ 0200 0420\r/' "$sample" >changed.Cam
    run send --yes --port "$port" changed.Cam; expect_status 0
    check "diff --port $port $sample" 1 "size 2, cam 1: phase 0200-0400 in A, 0200-0420 in B
"
    # Another model on the device is a difference, not a failure.
    stop_sim
    start_sim --model 32x15x255x2 --baud 0
    run send --port "$port" "$data/two_encoders.Cam" --yes; expect_status 0
    check "diff --port $port $data/two_encoders.Cam" 1 "Number of sizes: 7 in A, 15 in B
"
    stop_sim
    # A device that does not answer gives no answer either.
    start_sim --model 32x7x255x1 --baud 0 --fault bad-checksum:5
    check "diff --port $port $data/one_encoder.Cam" 2 - "TIMEOUT SERIAL PORT "
    ;;

wrong_cams)
    # The device is a 32-cam model: a 16-cam file is not sent, a 16-cam reception is refused.
    start_sim --model 32x7x255x1 --baud 0
    check "send --port $port $data/sixteen_cams.Cam" 1 - "WRONG DSP  C.32"
    printf 'previous content' >out.Cam
    check "receive --port $port --model 16x7 out.Cam" 1 - "WRONG DSP  C.32"
    [ "$(cat out.Cam)" = "previous content" ] || fail "OUT was written after a failed reception"
    [ "$(ls -A | sort | tr '\n' ' ')" = "err out out.Cam sim.err " ] || fail "files left behind: $(ls -A)"
    ;;

*) fail "no such case" ;;
esac
echo "ok [$case]"
