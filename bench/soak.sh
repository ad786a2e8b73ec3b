#!/usr/bin/env bash
# usage: soak.sh CAMSIM CAMCTL SAMPLE.Cam [ROUNDS] [QUICK]
# A long soak of the device link: ROUNDS rounds (default 1000) of send with check and
# receive against one long-running camsim, and, every other round, a transfer against a
# camsim with a fault drawn at random. Every command must end within its limit, succeed
# without a fault and fail with a message under one, and the long-running camsim must not
# grow (RSS measured after the first rounds and at the end). QUICK: only the faults that end
# within a second or two, for a short run in the tests.
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") sample=$(realpath "$3") rounds=${4:-1000} quick=${5:-}
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
cd "$work" || exit 1

start_sim() {  # start_sim NAME OPTIONS...: sets port_NAME, pid_NAME
    local name=$1; shift
    mkfifo "$name.fifo"
    "$camsim" "$@" >"$name.fifo" 2>>"$name.err" &
    local pid=$!
    pids+=("$pid")
    local port; read -r port <"$name.fifo"; rm -f "$name.fifo"
    printf -v "port_$name" '%s' "$port"; printf -v "pid_$name" '%s' "$pid"
}
rss() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
fail() { echo "soak: round $round: $*" >&2; failures=$((failures + 1)); }

# Each fault with the transfers it spoils: the send-side ones refuse what is sent, the
# receive-side ones spoil what comes back, the others break every exchange.
faults=(send:nak:3 send:refuse-end receive:bad-checksum:5 receive:babble any:echo any:no-brand)
[ -z "$quick" ] && faults+=(any:silent any:silent-after:6 any:delay:3300 any:vanish)
start_sim main --model 32x7x255x1 --baud 0
failures=0 ok=0 faulted=0 rss_early=0
for ((round = 1; round <= rounds; round++)); do
    if ! timeout 120 "$camctl" send --yes --verify --port "$port_main" "$sample" >out 2>err; then
        fail "send to the healthy device failed: $(tail -1 err)"
    elif ! timeout 120 "$camctl" receive --port "$port_main" back.Cam >out 2>err; then
        fail "receive from the healthy device failed: $(tail -1 err)"
    else
        ok=$((ok + 1))
    fi
    [ "$round" -eq 10 ] && rss_early=$(rss "$pid_main")
    if ((round % 2 == 0)); then
        drawn=${faults[RANDOM % ${#faults[@]}]}
        side=${drawn%%:*} fault=${drawn#*:}
        start_sim bad --model 32x7x255x1 --baud 0 --fault "$fault"
        [ "$side" = any ] && { ((RANDOM % 2)) && side=send || side=receive; }
        if [ "$side" = send ]; then command=(send --yes "$sample"); else command=(receive out.Cam); fi
        timeout 120 "$camctl" "${command[0]}" --port "$port_bad" "${command[@]:1}" >out 2>err
        status=$?
        [ "$status" -eq 124 ] && fail "$fault: ${command[0]} hung"
        [ "$status" -eq 1 ] || fail "$fault: ${command[0]} ended with $status"
        [ -s err ] || fail "$fault: ${command[0]} failed without a message"
        kill "$pid_bad" 2>/dev/null; wait "$pid_bad" 2>/dev/null
        faulted=$((faulted + 1))
    fi
done
rss_end=$(rss "$pid_main")
[ "$rss_early" -gt 0 ] || rss_early=$rss_end
echo "soak: $rounds rounds, $ok healthy round trips, $faulted faulted transfers, $failures failures;" \
     "camsim RSS ${rss_early:-?} kB after 10 rounds, $rss_end kB at the end"
if [ -n "$rss_early" ] && [ "$rss_early" -gt 0 ] && [ "$rss_end" -gt $((rss_early * 11 / 10 + 256)) ]; then
    echo "soak: camsim grew" >&2
    failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
