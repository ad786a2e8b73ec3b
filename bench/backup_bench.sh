#!/usr/bin/env bash
# usage: backup_bench.sh CAMSIM CAMCTL SAMPLE.Cam [DEVICES] [BAUD]
# The time of camctl backup of one device and of DEVICES devices at once (default 8), each a
# camsim at an emulated line speed (default 38400 bit/s) holding SAMPLE and a full message
# list. One worker a port: the backup of many should take about as long as the backup of one.
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") sample=$(realpath "$3") devices=${4:-8} baud=${5:-38400}
work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; rm -rf "$work"' EXIT
cd "$work" || exit 1

model=$(head -1 "$sample" | awk '{print $2 "x" $4}')x255x1
named=()
for ((i = 1; i <= devices; i++)); do
    mkfifo sim.fifo
    "$camsim" --model "$model" --baud "$baud" >sim.fifo &
    pids+=($!)
    read -r port <sim.fifo && rm sim.fifo
    "$camctl" send --yes --port "$port" "$sample" >/dev/null 2>&1 || exit 1
    for ((k = 1; k <= 255; k++)); do printf 'N. %03d "MESSAGE %d OF DEVICE %d"\r\n' "$k" "$k" "$i"; done >m.Msg
    "$camctl" msg-send --port "$port" m.Msg >/dev/null || exit 1
    named+=("press$i=$port")
done

# seconds COMMAND... : the wall time it took, in seconds.
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >>summary || echo "failed: $*" >&2
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}
one=$(seconds "$camctl" backup --into one "${named[0]}")
all=$(seconds "$camctl" backup --into all "${named[@]}")
cat summary
awk -v one="$one" -v all="$all" -v n="$devices" \
    'BEGIN { printf "backup of 1 device: %.2f s; of %d at once: %.2f s; ratio %.2f\n", one / 1000, n, all / 1000, all / one }'
