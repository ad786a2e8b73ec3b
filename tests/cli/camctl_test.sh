#!/usr/bin/env bash
# usage: camctl_test.sh CAMCTL SOURCE_DIR CASE
# One case of camctl run as a user would, on the sample and on hand-made and hand-edited files.
set -uo pipefail
camctl=$(realpath "$1") src=$2 case=$3
source "$(dirname "$(realpath "$0")")/../checks.sh"

sample="$src/resources/samples/demo.Cam"
head32x7=("FUNZIONI  32 - 7 " "ANTICIPI OFF" "RITARDI OFF" "RAPPORTI OFF" "FORMATO IN USCITA    1 "
          "SFASAMENTO ENCODER   0 " "SENSO DI ROTAZIONE   0 " "LIMITE DI VELOCITA'   0 ")

case $case in
files)
    cp "$sample" x.Cam && ln -s x.Cam link.Cam
    # An output that is the input, also through a link, is refused and the input kept.
    for args in "print x.Cam --pdf x.Cam" "print link.Cam --pdf x.Cam" "export --csv x.Cam link.Cam" \
                "export --json x.Cam x.Cam" "import --csv x.Cam x.Cam"; do
        run $args; expect_status 1
        grep -q "the output would replace it; nothing was written" err || fail "'$args': $(cat err)"
        cmp -s "$sample" x.Cam || fail "'$args' replaced its input"
    done
    : >empty.Cam && mkfifo fifo.Cam && mkdir folder.Cam && ln -s loop.Cam loop.Cam
    while IFS='|' read -r f said; do check "phases $f" 1 - "$said"; done <<'TABLE'
empty.Cam|empty.Cam - wrong file format
fifo.Cam|camctl: fifo.Cam: is not a regular file
folder.Cam|camctl: folder.Cam: is a folder, not a file
loop.Cam|camctl: loop.Cam: Too many levels of symbolic links
missing.Cam|camctl: missing.Cam: no such file
TABLE
    # A language script that cannot be read is said to be so, with why.
    mkdir alone && cp "$camctl" alone/ && mkfifo alone/Z32px_ENG.SCR
    alone/camctl phases x.Cam >out 2>err; status=$?; expect_status 0
    expect_err_line "camctl: the language script cannot be read: $PWD/alone/Z32px_ENG.SCR: is not a regular file; messages are shown without their texts"
    # CR alone ends a line, as in old Macintosh files.
    tr -d '\n' <"$sample" >cr.Cam
    run phases x.Cam; mv out expected
    run phases cr.Cam; expect_status 0
    cmp -s expected out || fail "CR line ends read otherwise: $(head -3 out) $(cat err)"
    run convert x.Cam /dev/null; expect_status 0
    [ -c /dev/null ] || fail "/dev/null was replaced"
    check "convert x.Cam fifo.Cam" 1 - "camctl: cannot write fifo.Cam: no program reads from it"
    [ -p fifo.Cam ] || fail "the FIFO was replaced"
    # Larger than any file of its kind can be: refused before it is read (sparse files).
    truncate -s 33M big.Cam && truncate -s 2M big.Msg && truncate -s 17M big.Abs && truncate -s 257M big.csv
    for args in "phases big.Cam" "msg-list big.Msg" "verify-hex big.Abs" "import --csv big.csv out.Cam"; do
        run $args; expect_status 1
        grep -q "is larger than any file of its kind can be" err || fail "'$args': $(cat err)"
    done
    # Output that cannot be written is a failure with its reason.
    for args in "phases x.Cam" "--help" "phases --help" "advance --rpm 1000 --ms 100" "export --csv x.Cam -" \
                "verify-hex $src/resources/samples/PX32_demo.Abs" "msg-list $src/resources/samples/demo.Msg"; do
        timeout 30 "$camctl" $args >/dev/full 2>err
        status=$?; expect_status 1
        expect_err_line "camctl: standard output: No space left on device"
    done
    ;;
phases)
    # The model comes from the header unless --model says otherwise.
    run phases "$sample"; expect_status 0
    expect_out_lines "01 01 F001 0100 0300" "01 01 F002 0600 0700" "01 02 F001 1000 0024" "01 03 F001 0000 0512" \
        "01 05 F001 0900 0000" "01 17 F001 0200 0260" "02 01 F001 0200 0400" "02 04 F001 0300 0350" \
        "02 04 F002 0700 0750" "03 32 F001 0512 0768" "04 02 F001 0950 0050" "07 16 F001 0001 0002"
    [ ! -s err ] || fail "a clean read shows nothing: $(cat err)"
    crlf "${head32x7[@]}" " FORMATO N. 02" "C 07" " 0010 0020" "END" | tr -d '\r' >lf.Cam
    check "phases lf.Cam" 0 $'02 07 F001 0010 0020\n'
    crlf "FUNZIONI  16 - 60 " "${head32x7[@]:1}" " FORMATO N. 60" "C 16" " 0001 0002" "END" >m.Cam
    check "phases m.Cam" 0 $'60 16 F001 0001 0002\n'
    check "phases --model 16x15 --yes m.Cam" 0 "" "60 BAD TOTAL FORMATS 15" \
        " 0001 0002 : READING STOPPED AT THIS LINE, SIZE 60 IS OUTSIDE 1..15"
    # A header without usable counts falls back to 32x7; --yes does not read past wrong cams.
    crlf "FUNZIONI  12 - 7 " "${head32x7[@]:1}" "END" >odd.Cam
    check "phases --yes odd.Cam" 1 "" "12 WRONG NUMBER OF CAMS 32"
    crlf "FUNZIONI  32 - 30 " "${head32x7[@]:1}" " FORMATO N. 07" "C 01" " 0001 0002" \
         " FORMATO N. 08" "C 02" " 0003 0004" "END" >t.Cam
    check "phases --model 32x7 t.Cam" 1 "" "30 BAD TOTAL FORMATS 7"
    check "phases --model 32x7 --yes t.Cam" 0 $'07 01 F001 0001 0002\n' "30 BAD TOTAL FORMATS 7" \
        " 0003 0004 : READING STOPPED AT THIS LINE, SIZE 8 IS OUTSIDE 1..7"
    crlf " FORMATO N. 03" "C 04" " 0100 0200" "END" >s.Cam
    check "phases s.Cam" 1 "" "IMPORT ONLY CAM FILE"
    grep -q "^ FORMATO N. 03" err || fail "the refused file's first line is not shown: $(cat err)"
    check "phases --yes s.Cam" 0 $'03 04 F001 0100 0200\n'
    # The bad line of what is no cam file is named, in UTF-8 when its Windows-1252 text is not ASCII.
    crlf "hello" >h.Cam
    run phases --yes h.Cam; expect_status 1
    grep -q "^hello" err || fail "the bad line is not named: $(cat err)"
    crlf "FUNZIONI  32 - 7 " "ANTICIPI OFF" $'RITARDI \xb0' >deg.Cam
    run phases deg.Cam; expect_status 1
    grep -q "^RITARDI °" err || fail "the line is not shown in UTF-8: $(od -c err | head -3)"
    ;;
convert)
    # LF in, CR LF out; the whole-revolution cam keeps its phase.
    crlf "${head32x7[@]}" " FORMATO N. 01" "C 02\"ALL\"" " 0000 1024" "END" | tr -d '\r' >lf.Cam
    run convert lf.Cam crlf.Cam; expect_status 0
    crlf "${head32x7[@]}" " FORMATO N. 01" "C 02\"ALL\"" " 0000 1024" " FORMATO N. 02" " FORMATO N. 03" \
         " FORMATO N. 04" " FORMATO N. 05" " FORMATO N. 06" " FORMATO N. 07" "END" >expected.Cam
    cmp expected.Cam crlf.Cam || fail "converted bytes differ"
    crlf "FUNZIONI  16 - 15 " "END" >bad.Cam
    run convert --model 32x7 bad.Cam never.Cam; expect_status 1
    [ ! -e never.Cam ] || fail "a failed read wrote its output"
    run convert "$sample" no/such/folder/out.Cam; expect_status 1
    grep -q "^camctl: " err || fail "no reason given for the failed write"
    # A read stopped at a line outside the tables would lose the rest: no output without --yes.
    crlf "${head32x7[@]}" " FORMATO N. 01" "C 01" " 0001 0002" "C 40" " 0003 0004" " FORMATO N. 02" "C 02" \
         " 0005 0006" "END" >s.Cam
    printf 'previous' >out.Cam
    check "convert s.Cam out.Cam" 1 - "C 40 : READING STOPPED AT THIS LINE, CAM 40 IS OUTSIDE 1..32"
    grep -q -- "--yes" err || fail "the message does not say how to go on: $(cat err)"
    [ "$(cat out.Cam)" = previous ] || fail "the shortened file was written"
    run convert --yes s.Cam out.Cam; expect_status 0
    grep -q "^ 0001 0002" out.Cam || fail "--yes did not write what was read"
    ;;
advance)
    check "advance --rpm 1000 --ms 100" 0 $'600 0\n'
    check "advance --rpm 4000 --ms 210" 0 $'944 4\n'
    check "advance --deg 360 --rpm 100" 0 $'210 126\n'
    # The sliders' ranges, one computation at a time.
    for args in "--rpm 0 --ms 5" "--rpm 4001 --ms 5" "--rpm 10 --deg 0" "--rpm 10 --deg 361" "--rpm 10" \
                "--ms 5" "--rpm 10 --ms 5 --deg 5" "--rpm 1e3 --ms 5" "--rpm 10 --ms" "--speed 10"; do
        check "advance $args" 2 ""
    done
    check "advance --rpm 10 --ms 211" 2 "" "camctl advance: --ms takes a whole number from 0 to 210, not '211'"
    ;;
print_usage)
    for args in "print $sample" "print --pdf" "print $sample --pdf" "print --pdf x.pdf" \
                "print $sample --pdf x.pdf --size 0" "print $sample --pdf x.pdf --size 8" \
                "print $sample --pdf x.pdf --size two" "print $sample --pdf x.pdf --size 2 --all" \
                "print $sample --pdf x.pdf --text --chart" "print $sample --pdf x.pdf --colour"; do
        run $args; expect_status 2
        [ ! -e x.pdf ] || fail "'$args' wrote a PDF"
    done
    expect_err_line "usage: camctl print [--model CxS] [--yes] FILE.Cam --pdf OUT.pdf [--size N | --all] [--text | --chart]"
    # The size is checked against the model the file is read with.
    run print --model 32x15 "$sample" --pdf x.pdf --size 15; expect_status 0
    check "print missing.Cam --pdf y.pdf" 1 - "camctl: missing.Cam: no such file"
    [ ! -e y.pdf ] || fail "a missing file printed"
    run print "$sample" --pdf no/such/folder/z.pdf; expect_status 1
    grep -q "^camctl: " err || fail "no reason given for the PDF not written"
    ;;
print_text)
    # By default size 1, as a listing.
    run print "$sample" --pdf one.pdf; expect_status 0
    pdftotext -layout one.pdf one.txt || fail "not a PDF"
    # The header, the file title, the phases of cam 1 on one line, the one through position 0.
    expect_lines one.txt "FORMATO N. 01" "File:demo.Cam" '^ *0100 0300 - 0600 0700' '^ *1000 0024'
    [ "$(grep -c 'FORMATO N.' one.txt)" -eq 1 ] || fail "more than the one size"
    run print --all --text "$sample" --pdf all.pdf; expect_status 0
    pdftotext -layout all.pdf all.txt
    [ "$(grep -o 'FORMATO N. 0[1-7]' all.txt | sort -u | wc -l)" = 7 ] || fail "a size is missing: $(cat all.txt)"
    [ "$(tr -cd '\f' <all.txt | wc -c)" -eq 7 ] || fail "not seven pages"
    # A terminal sees the pages go by; a log gets nothing of it.
    [ ! -s err ] || fail "progress in a log: $(cat err)"
    script -qec "'$camctl' print --all --text '$sample' --pdf tty.pdf" /dev/null |
        tr '\r' '\n' >tty.txt || fail "printing on a terminal failed: $(cat tty.txt)"
    grep -qE '^PRINT \[#{30}\] 100% 7 of 7 pages' tty.txt || fail "no progress on a terminal: $(cat tty.txt)"
    cmp -s <(pdftotext -layout tty.pdf -) all.txt || fail "the printout on a terminal differs"
    run print --size 4 "$sample" --pdf four.pdf; expect_status 0
    pdftotext -layout four.pdf - | grep -q "FORMATO N. 04" || fail "size 4 not printed"
    ;;
print_chart)
    run print --chart --all "$sample" --pdf chart.pdf; expect_status 0
    pdftotext -layout chart.pdf chart.txt
    [ "$(grep -o 'FORMATO N. 0[1-7]' chart.txt | sort -u | wc -l)" = 7 ] || fail "a chart is missing: $(cat chart.txt)"
    expect_lines chart.txt "0000 .*0512 .*1023" "C 32"  # the scale, the row of cam 32
    pdftoppm -png -r 30 -f 1 -l 1 -singlefile chart.pdf page || fail "the chart page cannot be rendered"
    [ -s page.png ] || fail "no image of the chart page"
    ;;
diff)
    sed 's/^ 0200 0400\r$/ 0200 0420\r/' "$sample" >changed.Cam
    check "diff $sample changed.Cam" 1 $'size 2, cam 1: phase 0200-0400 in A, 0200-0420 in B\n'
    [ ! -s err ] || fail "a clean comparison says something on stderr: $(cat err)"
    check "diff $sample $sample" 0 ""
    # Each file is read with the counts of its own header.
    sed 's/^FUNZIONI  32 - 7 /FUNZIONI  32 - 15 /' "$sample" >fifteen.Cam
    check "diff $sample fifteen.Cam" 1 $'Number of sizes: 7 in A, 15 in B\n'
    ;;
diff_usage)
    for args in "diff" "diff $sample" "diff a b c" "diff --port" "diff --colour $sample $sample" \
                "diff --model 17x7 $sample $sample"; do check "$args" 2 ""; done
    # A file that cannot be read gives no answer either.
    check "diff $sample missing.Cam" 2 - "camctl: missing.Cam: no such file"
    printf 'hello\r\n' >bad.Cam
    run diff bad.Cam "$sample"; expect_status 2
    ;;
export_csv)
    run export --csv "$sample" demo.csv; expect_status 0
    head -4 demo.csv | cmp - <(printf 'size,cam,remark,on,off,setting,value\r\n1,1,MAIN KNIFE,100,300,,\r\n1,1,MAIN KNIFE,600,700,,\r\n1,2,GLUE,1000,24,,\r\n') ||
        fail "the first rows differ: $(head -4 demo.csv)"
    # As python's csv module reads it; a remark a spreadsheet would take for a formula is kept as text.
    run phases "$sample"; expect_status 0
    cp out phases.txt
    printf 'size,cam,remark,on,off\r\n1,5,=1+1,1,2\r\n' >formula.csv
    run import --csv formula.csv formula.Cam; expect_status 0
    run export --csv formula.Cam formula-again.csv; expect_status 0
    python3 - demo.csv phases.txt formula-again.csv <<'PY' || fail "python's csv module reads something else"
import csv, sys
rows = list(csv.reader(open(sys.argv[1], newline="", encoding="utf-8")))
assert {len(r) for r in rows} == {7}, {len(r) for r in rows}
table = list(csv.DictReader(open(sys.argv[1], newline="", encoding="utf-8")))
phases = [r for r in table if not r["setting"]]
settings = {r["setting"]: r["value"] for r in table if r["setting"]}
assert all(r["size"] and r["cam"] for r in phases) and not any(r["size"] for r in table if r["setting"])
assert len([r for r in phases if r["on"]]) == len(open(sys.argv[2]).read().splitlines())
assert {r["remark"] for r in phases if r["cam"] == "10"} == {"SPARE"} and settings["delay cams 21-24"] == "10"
formula = list(csv.DictReader(open(sys.argv[3], newline="", encoding="utf-8")))
assert formula[0]["remark"] == "'=1+1", formula[0]
PY
    run phases formula.Cam; expect_status 0
    grep -qF 'C 05"=1+1"' formula.Cam || fail "the remark did not come back as it was"
    run export --csv "$sample" -; expect_status 0
    cmp out demo.csv || fail "standard output differs from the file"
    for args in "--csv --json $sample x" "$sample x"; do check "export $args" 2 -; done
    run export --csv "$sample" no/such/folder/x.csv; expect_status 1
    ;;
export_json)
    run export --json "$sample" demo.json; expect_status 0
    python3 - demo.json <<'PY' || fail "the JSON does not hold the sample"
import json, sys
j = json.load(open(sys.argv[1], encoding="utf-8"))
assert j["model"] == {"cams": 32, "sizes": 7, "encoders": 1}, j["model"]
assert j["functions"]["advances"] == {"on": True, "ms": [12, 0, 25, 8]} and j["remarks"][9] == "SPARE"
phases = sorted((s["size"], c["cam"], on, off) for s in j["sizes"] for c in s["cams"] for on, off in c["phases"])
assert len(j["sizes"]) == 7 and len(phases) == 12 and (1, 2, 1000, 24) in phases, phases
PY
    ;;
import_csv)
    run export --csv "$sample" demo.csv; expect_status 0
    # Edited as a spreadsheet saves it: LF line ends, a phase shifted, a row added.
    tr -d '\r' <demo.csv | sed -e 's/^2,1,MAIN KNIFE,200,400,,$/2,1,MAIN KNIFE,250,450,,/' \
        -e 's/^7,16,,1,2,,$/7,16,,1,2,,\n5,8,NEW CAM,10,20,,/' >edited.csv
    check "import --csv edited.csv edited.Cam" 0 \
        $'imported 13 phases (32 cams, 7 sizes) from edited.csv into edited.Cam\n'
    run diff "$sample" edited.Cam; expect_status 1
    expect_out_lines 'Remark of cam 8: none in A, "NEW CAM" in B' \
        "size 2, cam 1: phase 0200-0400 in A, 0250-0450 in B" "size 5, cam 8: phase 0010-0020 only in B"
    sed -e 's/^3,32,EJECT,512,768,,$/3,32,EJECT,512,2000,,/' -e 's/^4,2,GLUE,950,50,,$/4,2,GLUE,950,,,/' edited.csv >bad.csv
    printf 'previous' >bad.Cam
    check "import --csv bad.csv bad.Cam" 1 - 'line 12: off cannot be "2000" (it takes 0..1024)' \
        'line 13: on and off must both be given, or both be left empty' "camctl import: 2 rows refused; nothing was written"
    [ "$(cat bad.Cam)" = previous ] || fail "a refused table was written"
    check "import --csv --model 32x3 edited.csv small.Cam" 1 - 'line 13: size cannot be "4" (it takes 1..3)' \
        'line 14: size cannot be "7" (it takes 1..3)' 'line 15: size cannot be "5" (it takes 1..3)'
    run import edited.csv x.Cam; expect_status 2
    run import --csv missing.csv x.Cam; expect_status 1
    ;;
csv_round_trip)
    for f in "$sample" "$src"/tests/e2e/data/*.Cam; do
        run export --csv "$f" t.csv; expect_status 0
        run import --csv t.csv t.Cam; expect_status 0
        cmp "$f" t.Cam >&2 || fail "$(basename "$f") came back changed"
    done
    ;;
*) fail "no such case" ;;
esac
echo "ok [$case]"
