#!/usr/bin/env bash
# usage: fault_matrix.sh CAMSIM CAMCTL SOURCE_DIR
# Every transfer against camsim with every fault that can meet it: each cell ends with its exit
# status and its message said once, in time; a failure ends with its closing line, nothing on
# stdout, the output file untouched, no scratch left; an update leaves camsim the file's records
# only when it succeeds. held-*: another program holds the port (an flock, or a live lock file
# while the port is named through a link); stale-lockfile: its process is gone.
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") src=$(realpath "$3") case=matrix
source "$(dirname "$(realpath "$0")")/../checks.sh"

cam="$src/tests/e2e/data/one_encoder.Cam"
msg="$src/resources/samples/demo.Msg"
abs="$src/tests/e2e/data/firmware.Abs"

# transfer[@tcp|@rfc2217 through ser2net] | fault | exit status | what it says | seconds at most.
# refused: no server; no-answer: one that never accepts; server-gone: ser2net killed mid-reception.
matrix=$(cat <<'TABLE'
identify    | silent               | 1 | CONTROL WIRING                | 10
identify    | echo                 | 1 | came back unchanged           | 10
identify    | unsupported          | 1 | DEVICE UNSUPPORTED            | 10
identify    | no-port              | 1 | no-such-port: There is no such port. | 3
identify    | vanish               | 1 | KLM NOT FOUND                 | 10
identify    | held-flock           | 1 | in use by another program (process | 10
identify    | held-lockfile        | 1 | in use by another program (process | 10
identify    | stale-lockfile       | 0 | 32 cams, 7 sizes              | 10
flash       | held-flock           | 1 | in use by another program     | 10
send        | silent               | 1 | KLM NOT FOUND                 | 10
send        | silent-after:5       | 1 | TIMEOUT SERIAL PORT           | 15
send        | nak:4                | 1 | refused the block             | 15
send        | delay:3300           | 1 | TIMEOUT SERIAL PORT           | 15
send        | vanish-after:5       | 1 | TIMEOUT SERIAL PORT           | 15
send        | refuse-end           | 1 | The device did not acknowledge the end of the transmission: it has not taken the sizes. | 15
send        | echo                 | 1 | the sizes were not sent       | 10
receive     | silent               | 1 | KLM NOT FOUND                 | 10
receive     | silent-after:4       | 1 | TIMEOUT SERIAL PORT           | 40
receive     | bad-checksum:4       | 1 | TIMEOUT SERIAL PORT           | 15
receive     | babble               | 1 | TIMEOUT SERIAL PORT           | 15
receive     | vanish-after:4       | 1 | TIMEOUT SERIAL PORT           | 15
msg-send    | silent               | 1 | KLM NOT FOUND                 | 10
msg-send    | vanish-after:5       | 1 | camctl msg-send:              | 15
msg-receive | silent               | 1 | KLM NOT FOUND                 | 10
msg-receive | silent-after:4       | 1 | TIMEOUT SERIAL PORT           | 40
msg-receive | bad-checksum:4       | 1 | Message(s) 4 arrived damaged and would be left empty | 15
msg-receive | babble               | 1 | TIMEOUT SERIAL PORT           | 15
msg-receive | vanish-after:4       | 1 | TIMEOUT SERIAL PORT           | 15
flash       | flash-silent-after:3 | 1 | TIMEOUT SERIAL PORT           | 20
flash       | flash-nak:2          | 0 | DEVICE UPDATED WITH           | 30
flash       | no-port              | 1 | Errore                        | 3
flash       | silent               | 1 | TIMEOUT SERIAL PORT           | 20
flash       | noise                | 1 | instead of ACK or NAK         | 20
flash       | nak:2                | 1 | refused record 2              | 30
identify@tcp     | refused         | 1 | the connection was refused    | 3
send@rfc2217     | no-answer       | 1 | no answer to the connection   | 10
receive@tcp      | vanish-after:4  | 1 | the connection was dropped    | 15
receive@rfc2217  | vanish-after:4  | 1 | the connection was dropped    | 15
receive@rfc2217  | server-gone     | 1 | the connection was dropped    | 15
msg-receive@tcp  | server-gone     | 1 | the connection was dropped    | 15
TABLE
)

# The command of each transfer, and the last line of a failed one.
declare -A commands=([identify]="identify" [send]="send $cam" [receive]="receive out.Cam" [msg-send]="msg-send $msg"
    [msg-receive]="msg-receive out.Msg" [flash]="flash --yes $abs")
declare -A closings=([send]="camctl send: the sizes were not sent" [receive]="camctl receive: nothing was written"
    [msg-receive]="camctl msg-receive: nothing was written")

# run_cell N TRANSFER FAULT STATUS MESSAGE LIMIT: one cell in its own folder; "ok" or why not.
run_cell() {
    local n=$1 transfer=$2 fault=$3 status=$4 message=$5 limit=$6
    mkdir -p "cell$n/tmp" && cd "cell$n" || return
    mkfifo busy.fifo
    local via="" simfault=$fault
    [[ $transfer == *@* ]] && via=${transfer#*@} transfer=${transfer%@*}
    case $fault in refused | no-answer) simfault=silent ;; server-gone) simfault=silent-after:4 ;; esac
    local faults=(--fault "$simfault")
    [[ $fault == held-* || $fault == stale-* || $fault == no-port ]] && faults=()
    start_sim --model 32x7x255x1 --baud 0 --state . "${faults[@]}"
    local holder= lockfile=/var/lock/LCK..$(echo "${port#/dev/}" | tr / _)
    case $fault in
        refused) port=tcp://127.0.0.1:1 ;;
        no-port) port=$PWD/no-such-port ;;
        no-answer) unanswered && port=$via://127.0.0.1:$busy ;;
        held-flock)
            (flock -n 9 && exec sleep 60) 9<"$port" &
            holder=$!
            for _ in $(seq 100); do grep -q " $holder " /proc/locks && break; sleep 0.05; done ;;
        held-lockfile | stale-lockfile)
            sleep 60 &
            holder=$!
            [ "$fault" = stale-lockfile ] && { kill "$holder"; wait "$holder"; }
            printf '%10d\n' "$holder" >"$lockfile"
            ln -s "$port" by-id && port=$PWD/by-id ;;
        *) [ -z "$via" ] || { serve_port "$via" && port=$net_port; } ;;
    esac
    local args=(${commands[$transfer]})
    printf 'previous content' >out.Cam; printf 'previous content' >out.Msg
    local start=$SECONDS
    TMPDIR="$PWD/tmp" timeout 90 "$camctl" "${args[0]}" --port "$port" "${args[@]:1}" >out 2>err &
    local client=$!
    # The server goes once the reception has begun (its file is made) and the device is silent.
    [ "$fault" = server-gone ] && until [ -e tmp/camctl-*/_._ ] || ! kill -0 $client; do sleep 0.05; done 2>/dev/null &&
        kill -9 "${more_pids[0]}"
    wait $client
    local got=$? took=$((SECONDS - start))
    kill "$sim_pid" "${more_pids[@]}" 2>/dev/null; wait "$sim_pid" "${more_pids[@]}" 2>/dev/null
    local why=""
    if [ "$fault" = held-lockfile ]; then
        [ -f "$lockfile" ] || why+="the live lock file was removed; "
        rm -f "$lockfile"
    fi
    [ -n "$holder" ] && kill "$holder" 2>/dev/null
    [ "$got" -eq "$status" ] || why+="exit status $got, expected $status; "
    [ "$(cat err out | grep -cF -- "$message")" = 1 ] || why+="'$message' not said once; "
    local closing=${closings[$transfer]-}
    [ "$status" -eq 0 ] || [ -z "$closing" ] || grep -qxF -- "$closing" err || why+="no '$closing'; "
    [ "$took" -le "$limit" ] || why+="took ${took}s, at most ${limit}s; "
    if [ "$status" -ne 0 ]; then
        [ "$(cat out.Cam)$(cat out.Msg)" = "previous contentprevious content" ] || why+="a file was written; "
        # (An update lists the file it checked first.)
        local reported=$(if [ "$transfer" = flash ]; then grep "DEVICE UPDATED" out; else cat out; fi)
        [ -z "$reported" ] || why+="a failure reported on stdout: $reported; "
    fi
    if [ "$transfer" = flash ]; then
        local want= image=$(sed -n 's/^record //p' camsim-*.firmware 2>/dev/null)
        [ "$status" -ne 0 ] || want=$(grep -v '^:00' "$abs" | tr -d '\r')
        [ "$image" = "$want" ] || why+="camsim's image is not what was expected; "
    fi
    [ -z "$(ls -A tmp)" ] || why+="scratch left: $(ls -A tmp); "
    [ -z "$why" ] && echo ok || echo "$why stderr: $(tr '\n' ' ' <err | cut -c1-300)"
}

# unanswered: sets busy to a port whose listener never takes a connection (its queue is full).
unanswered() {
    busy=$((20000 + RANDOM % 40000))
    python3 -c 'import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", int(sys.argv[1]))); s.listen(0)
fill = [socket.socket() for _ in range(2)]
for f in fill: f.setblocking(False); f.connect_ex(("127.0.0.1", int(sys.argv[1])))
print(flush=True); time.sleep(60)' "$busy" >busy.fifo &
    more_pids+=($!)
    read -r <busy.fifo
}

# The rows numbered and trimmed, run six at a time, longest limit first, so slow cells wait together.
mapfile -t rows < <(sed -e 's/ *| */|/g' -e 's/ *$//' <<<"$matrix" | awk -F'|' '{ print $5 "|" NR "|" $0 }')
k=0
while IFS='|' read -r limit n transfer fault status message _; do
    (run_cell "$n" "$transfer" "$fault" "$status" "$message" "$limit" >"verdict$n") &
    (( ++k % 6 == 0 )) && wait
done < <(printf '%s\n' "${rows[@]}" | sort -t'|' -k1,1nr -k2,2n)
wait

failed=0
for row in "${rows[@]}"; do
    IFS='|' read -r _ n transfer fault _ <<<"$row"
    verdict=$(cat "verdict$n")
    printf '%-16s %-22s %s\n' "$transfer" "$fault" "$verdict"
    [ "$verdict" = ok ] || failed=$((failed + 1))
done
[ "$failed" -eq 0 ] || fail "$failed of ${#rows[@]} cells failed"
echo "ok [$case] ${#rows[@]} cells"
