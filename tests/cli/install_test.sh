#!/usr/bin/env bash
# usage: install_test.sh BUILD_DIR VERSION
# What `cmake --install` puts where a Debian desktop expects it, checked by its own validators.
set -uo pipefail
build=$(realpath "$1") version=$2 case=install
source "$(dirname "$(realpath "$0")")/../checks.sh"

cmake --install "$build" --prefix "$work/usr" >/dev/null || fail "cmake --install failed"
cd "$work/usr" || exit 1
for f in bin/camdesk bin/camctl bin/camsim share/camdesk/Z32px_ENG.SCR share/doc/camdesk/camdesk-manual.pdf \
         share/doc/camdesk/copyright share/doc/camdesk/changelog.gz share/applications/org.camdesk.CamDesk.desktop \
         share/metainfo/org.camdesk.CamDesk.metainfo.xml share/mime/packages/org.camdesk.CamDesk.xml \
         share/icons/hicolor/scalable/apps/camdesk.svg share/man/man1/camdesk.1.gz share/man/man1/camctl.1.gz \
         share/man/man1/camsim.1.gz; do
    [ -s "$f" ] || fail "missing $f"
done
[ -z "$(find . -name '* *')" ] || fail "file names with blanks: $(find . -name '* *')"
# Every icon size is a PNG of that size.
for size in 16 22 24 32 48 64 128 256; do
    png=share/icons/hicolor/${size}x${size}/apps/camdesk.png
    python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); sys.exit(d[:8]!=b"\x89PNG\r\n\x1a\n" or struct.unpack(">II",d[16:24])!=(int(sys.argv[2]),)*2)' \
        "$png" "$size" || fail "$png is not a ${size}x${size} PNG"
done
zcat share/doc/camdesk/changelog.gz >changelog
[ "$(head -n 1 changelog)" = "camdesk ($version) stable; urgency=medium" ] || fail "the changelog does not start at $version"
grep -qF "release version=\"$version\"" share/metainfo/org.camdesk.CamDesk.metainfo.xml || fail "metainfo lacks $version"
# The manual's text column runs from 18 mm to 192 mm; no picture is wider (174 mm) or cut by a page.
manual=share/doc/camdesk/camdesk-manual.pdf
pdftotext -layout "$manual" manual.txt && grep -qF 'camdesk — user manual' manual.txt || fail "the manual has no title"
pdftotext -bbox "$manual" words.html
python3 -c 'import re, sys
x = [(float(a), float(b)) for a, b in re.findall(r"<word xMin=\"([\d.]+)\" yMin=\"[\d.]+\" xMax=\"([\d.]+)\"", open(sys.argv[1]).read())]
sys.exit(not (50 < min(a for a, b in x) < 52 and max(b for a, b in x) < 545))' words.html ||
    fail "the manual's text does not fill the column between its margins"
awk 'BEGIN { RS = "\f" } NF { n = split($0, l, "\n"); while (l[n] ~ /^ *$/) n--; if (l[n] + 0 != NR) exit 1 }' manual.txt ||
    fail "a page of the manual lacks its number"
pdfimages -list "$manual" >pictures.txt
awk 'NR > 2 { if ($4 / $13 > 6.86) exit 1; if (seen[$11]++) exit 1; n++ } END { if (n < 9) exit 1 }' pictures.txt ||
    fail "a picture of the manual is missing, wider than the text or cut by a page: $(cat pictures.txt)"
qpdf --check "$manual" >/dev/null || fail "qpdf finds faults in the manual"
qpdf --json --json-key=outlines "$manual" >outline.json || fail "qpdf cannot read the manual's outline"
python3 - outline.json <<'PY' || fail "the manual's outline is not its headings"
import json, sys
top = json.load(open(sys.argv[1]))["outlines"]
assert [o["title"] for o in top] == ["camdesk — user manual"], top
chapters = top[0]["kids"]
assert len(chapters) >= 15 and chapters[0]["title"] == "Starting", [c["title"] for c in chapters]
assert all(c["destpageposfrom1"] >= 1 for c in chapters)
PY
desktop-file-validate share/applications/org.camdesk.CamDesk.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net share/metainfo/org.camdesk.CamDesk.metainfo.xml >validate.log 2>&1 ||
    fail "appstreamcli: $(cat validate.log)"
for page in share/man/man1/*.1.gz; do mandoc -T lint -W warning "$page" || fail "mandoc: $page"; done
update-mime-database share/mime || fail "update-mime-database"
for glob in '*.cam' '*.Msg' '*.abs'; do grep -qF ":$glob" share/mime/globs2 || fail "no file type for $glob"; done
grep -qF 'FUNZIONI' share/mime/magic || fail "cam files are not known by their start"
grep -qx 'MimeType=application/x-camdesk-cam;' share/applications/org.camdesk.CamDesk.desktop ||
    fail "the menu entry does not open cam files"
echo "ok [$case]"
