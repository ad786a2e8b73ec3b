#!/usr/bin/env bash
# camctl verify-hex / flash against camsim over a real pseudo-terminal: a file flashed and
# found again in the simulator's stored image, files refused before anything is sent. The
# faults the simulator shows during an update are rows of fault_matrix.sh. One case a run.
# usage: flash_e2e.sh CAMSIM CAMCTL DATA_DIR CASE
set -uo pipefail
camsim=$(realpath "$1") camctl=$(realpath "$2") data=$(realpath "$3") case=$4
source "$(dirname "$(realpath "$0")")/../checks.sh"

fw="$data/firmware.Abs"
image=dev/camsim-32x60x255x2.firmware
mkdir dev

# The simulator's image holds the data records of the file in their order (the byte-count-00
# records carry no data), and the identification text "A1B2C303/15/2026" in hex.
expect_image() {
    [ -f "$image" ] || fail "camsim stored no firmware image"
    diff -u <(grep -v '^:00' "$fw" | tr -d '\r') <(sed -n 's/^record //p' "$image") >&2 ||
        fail "the stored image is not the file's records"
    grep -qxF "identification =41314232433330332f31352f32303236" "$image" || fail "identification: $(cat "$image")"
}
expect_no_image() { [ ! -e "$image" ] || fail "camsim took a firmware image: $(head -3 "$image")"; }
expect_verified() {
    expect_out "lines: 121
data bytes: 1906
 CRC Prog:  A1B2C3  Date Prog: MAR 15 2026
$1"
}

# A copy of the file with one data digit of line 5 changed, and one cut off after line 10.
sed '5s/^\(.\{12\}\)./\1F/' "$fw" >corrupt.Abs
cmp -s "$fw" corrupt.Abs && fail "the corrupted copy is the file"
head -n 10 "$fw" >cut.Abs

case $case in
verify_hex)
    run verify-hex "$fw"; expect_status 0
    expect_verified ""
    check "verify-hex corrupt.Abs" 1 - "PARITY ERROR IN LINE 5"
    expect_out ""
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
    { cat tool.Abs; head -n 1 tool.Abs; } >after.Abs
    printf ':100000070102030405060708090A0B0C0D0E0F1061\r\n:00000001FF\r\n' >type.Abs
    printf ':0F0000000102030405060708090A0B0C0D0E0F1069\r\n:00000001FF\r\n' >count.Abs
    while IFS='|' read -r f said; do
        check "verify-hex $f" 1 - "$said"
    done <<'TABLE'
cut.Abs|THE FILE ENDS AT LINE 10 WITHOUT ITS END RECORD: IT IS INCOMPLETE
after.Abs|LINE 21: A RECORD AFTER THE END RECORD
type.Abs|LINE 1: RECORD TYPE 07 IS NONE OF 00 TO 05
count.Abs|LINE 1: THE BYTE COUNT SAYS 15 DATA BYTES, THE RECORD HOLDS 16
TABLE
    ;;

flash)
    start_sim --baud 0 --state dev
    run flash --port "$port" --yes "$fw"; expect_status 0
    expect_verified "DEVICE UPDATED WITH  $fw
"
    expect_err_line "UPDATE FLASH ?"
    expect_image
    stop_sim
    # Again at a real line speed, with a device that thinks before each answer.
    rm "$image"
    start_sim --baud 115200 --fault delay:2 --state dev
    run flash --port "$port" --yes "$fw"; expect_status 0
    expect_image
    ;;

flash_refused)
    # A corrupted or cut file is refused before the port is opened, and a declined update
    # sends nothing: the device never hears of them.
    start_sim --baud 0 --state dev
    check "flash --port $port --yes corrupt.Abs" 1 - "PARITY ERROR IN LINE 5"
    grep -qF "UPDATE FLASH ?" err && fail "a corrupted file was offered for the update"
    run flash --port "$port" --yes cut.Abs; expect_status 1
    grep -qF "UPDATE FLASH ?" err && fail "half a firmware was offered for the update"
    check "flash --port $port $fw" 1 - "UPDATE FLASH ?"
    grep -q "was not updated" err || fail "no word that nothing was updated: $(cat err)"
    stop_sim
    expect_no_image
    ;;

*) fail "no such case" ;;
esac
echo "ok [$case]"
