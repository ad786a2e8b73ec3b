#!/usr/bin/env python3
"""Writes camdesk's own texts (numbers from 200, listed in src/core/model/texts.h) into the shipped
language script resources/Z32px_ENG.SCR, keeping lines 1..199 as they are. Run it after adding
a text to texts.h; the unit test ShippedScript.CarriesEveryBuiltInText checks the result."""
import re
import sys
from pathlib import Path

root = Path(__file__).resolve().parent.parent
header = (root / "src/core/model/texts.h").read_text(encoding="latin-1")
script_path = root / "resources/Z32px_ENG.SCR"
lines = script_path.read_bytes().split(b"\r\n")[:-1]

own = {}
for number, wording in re.findall(r'X\(k\w+, (\d+), ("(?:[^"\\]|\\.)*")\)', header):
    if int(number) >= 200:
        own[int(number)] = wording[1:-1].replace('\\"', '"').encode("cp1252")
if not own:
    sys.exit("no texts found in texts.h")

lines = lines[:199] + [b'""'] * max(0, 199 - len(lines))
for k in range(200, max(own) + 1):
    lines.append(b'"' + own.get(k, b"") + b'"')
script_path.write_bytes(b"\r\n".join(lines) + b"\r\n")
print(f"{script_path.name}: {len(lines)} lines, own texts {min(own)}..{max(own)}")
