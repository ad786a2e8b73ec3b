#!/usr/bin/env bash
# usage: reader_memory.sh CAMCTL [MEGABYTES]
# The peak memory of each reader of outside input on a bad input of MEGABYTES (default 32, or
# the largest the reader takes when that is less), against the bound every reader keeps:
# twice its input plus 64 MB. A measurement, not a test: nothing here is asserted in ctest.
set -uo pipefail
camctl=$(realpath "$1") size=${2:-32}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

# peak COMMAND...: the largest resident set of the command, in kilobytes.
peak() { python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@"; }
# mb N: at most N megabytes of the size asked for.
mb() { echo $(( size < $1 ? size : $1 )); }

# Bad rows of a table, a firmware file of records with a bad one at its end, a message file
# of long lines, one long line as a cam file.
yes '1,99,,5,6' | head -c $(( $(mb 256) << 20 )) >bad.csv
{ printf 'size,cam,on,off\r\n'; cat bad.csv; } >rows.csv
yes ':100000000102030405060708090A0B0C0D0E0F1068' | head -c $(( ($(mb 16) << 20) - 100 )) >fw.Abs
yes 'N. 001 "A LONG MESSAGE LINE WELL BEYOND ANY DISPLAY OF THE DEVICE"' | head -c $(( $(mb 1) << 20 )) >long.Msg
head -c $(( $(mb 32) << 20 )) /dev/zero | tr '\0' x >line.Cam

printf '%-28s %10s %12s %12s\n' reader input_kB peak_kB bound_kB
for row in "import --csv rows.csv out.Cam|rows.csv" "verify-hex fw.Abs|fw.Abs" "msg-list long.Msg|long.Msg" \
           "phases line.Cam|line.Cam"; do
    args=${row%|*} input=${row#*|}
    kb=$(( $(stat -c %s "$input") / 1024 ))
    printf '%-28s %10d %12d %12d\n' "${args%% *} ${input}" "$kb" "$(peak "$camctl" $args)" $(( 2 * kb + 65536 ))
done
