#!/usr/bin/env bash
# usage: command_line_test.sh CAMDESK CAMCTL CAMSIM MAN_FOLDER SOURCE_DIR CASE
# The command lines of the three programs, their manual pages against their help, and their
# silence when nothing is wrong.
set -uo pipefail
camdesk=$(realpath "$1") camctl=$(realpath "$2") camsim=$(realpath "$3") man=$(realpath "$4") src=$5 case=$6
source "$(dirname "$(realpath "$0")")/../checks.sh"
export QT_QPA_PLATFORM=offscreen


case $case in
parsing)
    mkdir folder.Cam
    # status | first line expected (stdout for status 0, else stderr) | program and words
    while IFS='|' read -r want line words; do
        eval "set -- $words"
        timeout 60 "$@" >out 2>err
        status=$?
        got=$(if [ "$want" -eq 0 ]; then head -n 1 out; else head -n 1 err; fi)
        [ "$status $got" = "$want $line" ] || fail "'$words': $status '$got', expected $want '$line'; stderr: $(cat err)"
    done <<'EOF'
2|usage: camctl COMMAND [OPTIONS] [ARGUMENTS]|$camctl
0|usage: camctl COMMAND [OPTIONS] [ARGUMENTS]|$camctl --help
0|usage: camctl COMMAND [OPTIONS] [ARGUMENTS]|$camctl help
0|usage: camctl phases [--model CxS] [--yes] FILE.Cam|$camctl help phases
0|usage: camctl phases [--model CxS] [--yes] FILE.Cam|$camctl phases -h --colour
0|usage: camctl ports|$camctl ports --help
2|camctl: unknown command 'frobnicate'; camctl help lists the commands|$camctl frobnicate
2|camctl help: no command 'phasez'; camctl help lists the commands|$camctl help phasez
2|camctl phases: missing FILE.Cam|$camctl phases
2|camctl convert: missing OUT.Cam|$camctl convert only-one.Cam
2|camctl phases: unexpected argument 'b.Cam'|$camctl phases a.Cam b.Cam
2|camctl phases: unknown option '--colour'|$camctl phases --colour a.Cam
2|camctl phases: --model needs a value (CxS)|$camctl phases a.Cam --model
2|camctl phases: --model needs a value (CxS)|$camctl phases --model= a.Cam
2|camctl phases: --yes takes no value|$camctl phases --yes=1 a.Cam
2|camctl: bad model '17x7': cams 16 or 32, sizes 1..60, e.g. 32x7|$camctl phases --model 17x7 a.Cam
2|camctl: bad model '32x61': cams 16 or 32, sizes 1..60, e.g. 32x7|$camctl phases --model=32x61 a.Cam
2|camctl identify: --port needs a value (PORT)|$camctl identify --port
2|camctl identify: --port needs a value (PORT)|$camctl identify --port --baud 9600
2|camctl identify: --port PORT is required|$camctl identify --baud=9600
2|camctl: bad speed 'fast'|$camctl identify --port=/dev/ttyUSB9 --baud=fast
2|camctl print: --text and --chart exclude each other|$camctl print a.Cam --pdf=a.pdf --text --chart
1|camctl verify-hex: folder.Cam: is a folder, not a file|$camctl verify-hex folder.Cam
1|camctl: -odd.Cam: no such file|$camctl convert -- -odd.Cam out.Cam
0|600 0|$camctl advance --rpm=1000 --ms=100
0|usage: camdesk [--port NAME] [--trace] [FILE.Cam]|$camdesk --help
0|usage: camdesk [--port NAME] [--trace] [FILE.Cam]|$camdesk -h
2|camdesk: unknown option '--bogus'|$camdesk --bogus
2|camdesk: unexpected argument 'b.Cam'|$camdesk a.Cam b.Cam
2|camdesk: --screenshot needs a value (OUT.png)|$camdesk --screenshot
2|camdesk: --window, --cam, --position and --drag go with --screenshot|$camdesk --window=functions
0|usage: camsim [--model CxSxMxE] [--baud N] [--state DIR] [--fault NAME]...|$camsim --help
2|camsim: --fault needs a value (NAME)|$camsim --fault
2|camsim: unknown fault 'bogus'|$camsim --fault=bogus
EOF
    ;;
pages)
    # Every option of every help, and every camctl command, is in the program's page.
    in_page() { grep -qF -- "$2" "$man/$1.1" || fail "$1.1 lacks '$2'"; }
    options_of() { "$@" --help | sed -n 's/^  \(-h, \)\{0,1\}--\([a-z-]*\).*/\2/p'; }
    for p in camdesk camsim; do
        for o in $(options_of "$(eval echo "\$$p")"); do in_page $p "\\-\\-${o//-/\\-}"; done
    done
    commands=$("$camctl" help | sed -n 's/^  camctl \([a-z-]*\).*/\1/p' | sort -u)
    [ "$(wc -w <<<"$commands")" -ge 17 ] || fail "camctl help lists only: $commands"
    for c in $commands; do
        in_page camctl ".B ${c//-/\\-}"
        for o in $(options_of "$camctl" "$c"); do in_page camctl "\\-\\-${o//-/\\-}"; done
    done
    for p in camdesk camctl camsim; do
        mandoc -T lint -W style "$man/$p.1" >lint 2>&1
        [ ! -s lint ] || fail "mandoc finds faults in $p.1: $(cat lint)"
    done
    ;;
quiet)
    # As root on a build machine: no runtime folder, no window manager.
    sample="$src/resources/samples/demo.Cam"
    for words in "$camdesk --screenshot main.png $sample" "$camdesk --screenshot f.png --window functions $sample" \
                 "$camdesk --screenshot i.png --window info" "$camctl print $sample --pdf p.pdf"; do
        env -u XDG_RUNTIME_DIR $words >out 2>err || fail "'$words' failed: $(cat err)"
        [ ! -s err ] || fail "'$words' warned: $(cat err)"
    done
    ;;
*) fail "no such case" ;;
esac
echo "ok [$case]"
