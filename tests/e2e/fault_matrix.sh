#!/usr/bin/env bash
# usage: fault_matrix.sh CAMSIM CAMCTL SOURCE_DIR
# Every transfer against camsim with every fault that can meet it, as one table: each cell
# must end with its exit status and its documented message within its time limit, leave a
# file being received untouched, and leave no scratch file behind. Cells run six at a time.
# The held-* faults are another program on the port, not the device's: an flock on it (as
# picocom takes), or a live lock file (as minicom writes) while the port is named through a
# link to it; stale-lockfile is one whose process is gone.
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") src=$(realpath "$3") case=matrix
source "$(dirname "$(realpath "$0")")/../checks.sh"

cam="$src/tests/e2e/data/one_encoder.Cam"
msg="$src/resources/samples/demo.Msg"
abs="$src/tests/e2e/data/firmware.Abs"

# transfer | fault | exit status | what it says (stderr or stdout) | seconds at most
matrix=$(cat <<'TABLE'
identify    | silent               | 1 | KLM NOT FOUND                 | 10
identify    | echo                 | 1 | came back unchanged           | 10
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
send        | refuse-end           | 1 | did not acknowledge the end   | 15
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
msg-receive | bad-checksum:4       | 1 | arrived damaged               | 15
msg-receive | babble               | 1 | TIMEOUT SERIAL PORT           | 15
msg-receive | vanish-after:4       | 1 | TIMEOUT SERIAL PORT           | 15
flash       | flash-silent-after:3 | 1 | TIMEOUT SERIAL PORT           | 20
flash       | flash-nak:2          | 0 | DEVICE UPDATED WITH           | 30
flash       | silent               | 1 | TIMEOUT SERIAL PORT           | 20
flash       | noise                | 1 | instead of ACK or NAK         | 20
flash       | nak:2                | 1 | refused record 2              | 30
TABLE
)

# run_cell N TRANSFER FAULT STATUS MESSAGE LIMIT: one cell in its own folder; "ok" or why not.
run_cell() {
    local n=$1 transfer=$2 fault=$3 status=$4 message=$5 limit=$6
    local dir="cell$n"
    mkdir -p "$dir/tmp" && cd "$dir" || return
    mkfifo sim.fifo
    local faults=(--fault "$fault")
    [[ $fault == held-* || $fault == stale-* ]] && faults=()
    "$camsim" --model 32x7x255x1 --baud 0 "${faults[@]}" >sim.fifo 2>sim.err &
    local sim=$!
    local port; read -r port <sim.fifo
    local named=$port holder= lockfile=/var/lock/LCK..$(echo "${port#/dev/}" | tr / _)
    case $fault in
    held-flock)
        (flock -n 9 && exec sleep 60) 9<"$port" &
        holder=$!
        for _ in $(seq 100); do grep -q " $holder " /proc/locks && break; sleep 0.05; done ;;
    held-lockfile | stale-lockfile)
        sleep 60 &
        holder=$!
        [ "$fault" = stale-lockfile ] && { kill "$holder"; wait "$holder"; }
        printf '%10d\n' "$holder" >"$lockfile"
        ln -s "$port" by-id && named=$PWD/by-id ;;
    esac
    local args
    case $transfer in
        identify) args=(identify) ;;
        send) args=(send "$cam") ;;
        receive) args=(receive out.Cam) ;;
        msg-send) args=(msg-send "$msg") ;;
        msg-receive) args=(msg-receive out.Msg) ;;
        flash) args=(flash --yes "$abs") ;;
    esac
    printf 'previous content' >out.Cam; printf 'previous content' >out.Msg
    local start=$SECONDS
    TMPDIR="$PWD/tmp" timeout 90 "$camctl" "${args[0]}" --port "$named" "${args[@]:1}" >out 2>err
    local got=$? took=$((SECONDS - start))
    local why=""
    if [ "$fault" = held-lockfile ]; then
        [ -f "$lockfile" ] || why+="the live lock file was removed; "
        rm -f "$lockfile"
    fi
    [ -n "$holder" ] && kill "$holder" 2>/dev/null
    kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null
    [ "$got" -eq "$status" ] || why+="exit status $got, expected $status; "
    grep -qF -- "$message" err out || why+="no '$message'; "
    [ "$took" -le "$limit" ] || why+="took ${took}s, at most ${limit}s; "
    if [ "$status" -ne 0 ]; then
        [ "$(cat out.Cam)$(cat out.Msg)" = "previous contentprevious content" ] || why+="a file was written; "
    fi
    [ -z "$(ls -A tmp)" ] || why+="scratch left: $(ls -A tmp); "
    [ -z "$why" ] && echo ok || echo "$why stderr: $(tr '\n' ' ' <err | cut -c1-300)"
}

n=0
declare -A verdicts
rows=()
while IFS='|' read -r transfer fault status message limit; do
    trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; echo "${s%"${s##*[![:space:]]}"}"; }
    transfer=$(trim "$transfer") fault=$(trim "$fault") status=$(trim "$status")
    message=$(trim "$message") limit=$(trim "$limit")
    [ -n "$transfer" ] || continue
    n=$((n + 1))
    rows+=("$n|$transfer|$fault")
    (run_cell "$n" "$transfer" "$fault" "$status" "$message" "$limit" >"verdict$n") &
    (( n % 6 == 0 )) && wait
done <<<"$matrix"
wait

failed=0
for row in "${rows[@]}"; do
    IFS='|' read -r n transfer fault <<<"$row"
    verdict=$(cat "verdict$n")
    printf '%-12s %-22s %s\n' "$transfer" "$fault" "$verdict"
    [ "$verdict" = ok ] || failed=$((failed + 1))
done
[ "$failed" -eq 0 ] || fail "$failed of $n cells failed"
echo "ok [$case] $n cells"
