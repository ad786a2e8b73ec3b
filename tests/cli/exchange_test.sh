#!/usr/bin/env bash
# usage: exchange_test.sh CAMCTL SOURCE_DIR CASE
# camctl diff, export and import run for real on the sample and hand-edited files, as a user
# would: a phase changed in a file, a CSV table edited as in a spreadsheet. Expected texts are
# written out here.
set -uo pipefail
camctl=$(realpath "$1") src=$2 case=$3
source "$(dirname "$(realpath "$0")")/../checks.sh"
sample="$src/resources/samples/demo.Cam"

case $case in
diff)
    # One phase of the sample moved: exactly that phase is named.
    sed 's/^ 0200 0400\r$/ 0200 0420\r/' "$sample" >changed.Cam
    check "diff $sample changed.Cam" 1 "size 2, cam 1: phase 0200-0400 in A, 0200-0420 in B
"
    [ ! -s err ] || fail "a clean comparison says something on stderr: $(cat err)"
    check "diff $sample $sample" 0 ""
    # A phase removed, a remark and an advance changed; the files in the other order.
    sed -e '/^ 0512 0768\r$/d' -e 's/^C 03"FEED"/C 03"FEEDER"/' -e 's/^ANTICIPO CAMS  02 ms   0 /ANTICIPO CAMS  02 ms   12 /' \
        "$sample" >edited.Cam
    check "diff edited.Cam $sample" 1 "Advance of cam 02 (ms): 12 in A, 0 in B
Remark of cam 3: \"FEEDER\" in A, \"FEED\" in B
size 3, cam 32: phase 0512-0768 only in B
"
    # Another model: each file is read with the counts of its own header.
    sed 's/^FUNZIONI  32 - 7 /FUNZIONI  32 - 15 /' "$sample" >fifteen.Cam
    check "diff $sample fifteen.Cam" 1 "Number of sizes: 7 in A, 15 in B
"
    ;;
diff_usage)
    for args in "diff" "diff $sample" "diff a b c" "diff --port" "diff --colour $sample $sample" \
                "diff --model 17x7 $sample $sample"; do
        check "$args" 2 ""
    done
    # A file that cannot be read gives no answer either.
    check "diff $sample missing.Cam" 2 - "camctl: missing.Cam: no such file"
    printf 'hello\r\n' >bad.Cam
    run diff bad.Cam "$sample"; expect_status 2
    ;;
export_csv)
    run export --csv "$sample" demo.csv; expect_status 0
    head -4 demo.csv | cmp - <(printf 'size,cam,remark,on,off,setting,value\r\n1,1,MAIN KNIFE,100,300,,\r\n1,1,MAIN KNIFE,600,700,,\r\n1,2,GLUE,1000,24,,\r\n') ||
        fail "the first rows differ: $(head -4 demo.csv)"
    # As python's csv module reads it: every record has the same fields, a phase row has no
    # setting and a setting row no phase, one row per phase of `camctl phases`, and a remark a
    # spreadsheet would take for a formula is kept as text.
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
    # To standard output with "-"; a model that does not fit is refused.
    run export --csv "$sample" -; expect_status 0
    cmp out demo.csv || fail "standard output differs from the file"
    run export --csv --json "$sample" x; expect_status 2
    run export "$sample" x; expect_status 2
    run export --csv "$sample" no/such/folder/x.csv; expect_status 1
    ;;
export_json)
    run export --json "$sample" demo.json; expect_status 0
    python3 - demo.json <<'PY' || fail "the JSON does not hold the sample"
import json, sys
j = json.load(open(sys.argv[1], encoding="utf-8"))
assert j["model"] == {"cams": 32, "sizes": 7, "encoders": 1}, j["model"]
assert j["functions"]["advances"] == {"on": True, "ms": [12, 0, 25, 8]}
assert j["functions"]["delays"]["21-24"] == 10 and j["functions"]["speed_limit"] == 600
assert j["remarks"][9] == "SPARE" and len(j["remarks"]) == 32
phases = sorted((s["size"], c["cam"], on, off) for s in j["sizes"] for c in s["cams"] for on, off in c["phases"])
assert len(j["sizes"]) == 7 and len(phases) == 12, phases
assert (1, 2, 1000, 24) in phases and (2, 4, 700, 750) in phases and (7, 16, 1, 2) in phases
PY
    python3 -m json.tool demo.json >/dev/null || fail "json.tool does not parse it"
    ;;
import_csv)
    run export --csv "$sample" demo.csv; expect_status 0
    # Edited as a spreadsheet saves it: LF line ends, a phase shifted, a row added.
    tr -d '\r' <demo.csv | sed -e 's/^2,1,MAIN KNIFE,200,400,,$/2,1,MAIN KNIFE,250,450,,/' \
        -e 's/^7,16,,1,2,,$/7,16,,1,2,,\n5,8,NEW CAM,10,20,,/' >edited.csv
    check "import --csv edited.csv edited.Cam" 0 "imported 13 phases (32 cams, 7 sizes) from edited.csv into edited.Cam
"
    check "diff $sample edited.Cam" 1 "Remark of cam 8: none in A, \"NEW CAM\" in B
size 2, cam 1: phase 0200-0400 in A, 0250-0450 in B
size 5, cam 8: phase 0010-0020 only in B
"
    # A bad row (and a second one): every refused row is named, nothing is written.
    sed -e 's/^3,32,EJECT,512,768,,$/3,32,EJECT,512,2000,,/' -e 's/^4,2,GLUE,950,50,,$/4,2,GLUE,950,,,/' edited.csv >bad.csv
    printf 'previous' >bad.Cam
    check "import --csv bad.csv bad.Cam" 1 - 'line 12: off cannot be "2000" (it takes 0..1024)' \
        'line 13: on and off must both be given, or both be left empty' "camctl import: 2 rows refused; nothing was written"
    [ "$(cat bad.Cam)" = previous ] || fail "a refused table was written"
    # --model sets the counts; a row outside them is refused.
    check "import --csv --model 32x3 edited.csv small.Cam" 1 - 'line 13: size cannot be "4" (it takes 1..3)' \
        'line 14: size cannot be "7" (it takes 1..3)' 'line 15: size cannot be "5" (it takes 1..3)'
    run import edited.csv x.Cam; expect_status 2
    run import --csv missing.csv x.Cam; expect_status 1
    ;;
csv_round_trip)
    # Cam -> CSV -> cam gives the same bytes, for the sample and the end-to-end files (the
    # byte-for-byte round trip of any file camdesk reads is the cam file fuzzer's).
    for f in "$sample" "$src"/tests/e2e/data/*.Cam; do
        run export --csv "$f" t.csv; expect_status 0
        run import --csv t.csv t.Cam; expect_status 0
        cmp "$f" t.Cam >&2 || fail "$(basename "$f") came back changed"
    done
    ;;
*)
    fail "no such case"
    ;;
esac
echo "ok [$case]"
