#!/usr/bin/env python3
"""Small faults made by hand in the rules that matter, one at a time: does the suite catch
each? Run from the top folder with a tree built with the unit tests (the default; scripts/test.sh
leaves them to its sanitized build): python3 tests/mutants.py [BUILD_DIR] [ID...].
A fault is caught when a test fails with it; the unit tests are run first, the whole suite
only when they pass. The sources are put back after every fault."""
import subprocess, sys

# id, rule, file, what is there, what the fault puts in its place
MUTANTS = [
    ("phase-cut-up", "phase entry", "src/core/model/program.cpp",
     "for (int q = off; q < kPositions && pos[q]; ++q)", "for (int q = off + 1; q < kPositions && pos[q]; ++q)"),
    ("phase-cut-down", "phase entry", "src/core/model/program.cpp",
     "for (int q = on - 1; q >= 0 && pos[q]; --q)", "for (int q = on - 1; q > 0 && pos[q]; --q)"),
    ("phase-wrap", "phase entry", "src/core/model/program.cpp",
     "std::fill(pos, pos + off, 1);", "std::fill(pos, pos + off / 2, 1);"),
    ("box-on-limit", "phase entry", "src/core/editor/phase_editing.cpp",
     "if (BoxNumber(onText_) > kMaxOn)", "if (BoxNumber(onText_) > kMaxOn + 1)"),
    ("box-pad", "phase entry", "src/core/editor/phase_editing.cpp",
     'return Right("000" + std::string(rest), 4);', 'return Right("000" + std::string(rest), 5);'),
    ("box-key", "phase entry", "src/core/editor/phase_editing.cpp",
     "return {BoxKey::Insert, '0'};", "return {BoxKey::Commit, 0};"),
    ("reader-cam-outside", "reader's stops", "src/core/camfile/size_block.cpp",
     "if (!p.CamPos.contains(size, c)) {", "if (false && !p.CamPos.contains(size, c)) {"),
    ("reader-header-counts", "reader's stops", "src/core/camfile/cam_file.cpp",
     "return FileCounts{ValRounded(dims.substr(0, 4)), ValRounded(dims.substr(5))};",
     "return FileCounts{ValRounded(dims.substr(1, 3)), ValRounded(dims.substr(5))};"),
    ("command-checksum", "checksums", "src/core/link/serial_link.cpp",
     "if (sum < 32) sum += 32;", "if (sum < 31) sum += 32;"),
    ("block-checksum", "checksums", "src/core/link/serial_link.cpp",
     "        x ^= static_cast<unsigned char>(frame[i]);\n        if (frame[i] == ETX) break;",
     "        if (frame[i] == ETX) break;\n        x ^= static_cast<unsigned char>(frame[i]);"),
    ("wrong-dsp", "model checks", "src/core/link/reception_parser.cpp",
     "if (dash != std::string::npos && ValRounded(cams) == rememberedCams) return true;",
     "if (dash != std::string::npos && (ValRounded(cams) == rememberedCams || true)) return true;"),
    ("partial-reception", "model checks", "src/core/link/size_transfer.cpp",
     "    if (!complete) {\n", "    if (false && !complete) {\n"),
    ("advance-limit", "functions block", "src/core/link/functions_wire.h",
     "inline constexpr long kMaxAdvanceMs = 210;", "inline constexpr long kMaxAdvanceMs = 255;"),
    ("delays-several-encoders", "functions block", "src/core/link/functions_wire.cpp",
     "if (oneEncoder && (p.DelayOn & 1))", "if ((p.DelayOn & 1))"),
    ("shift-one-turn", "functions block", "src/core/link/functions_wire.cpp",
     "            if (apply) value = 0;\n", ""),
    ("firmware-ack", "firmware checks", "src/core/firmware/flash_update.cpp",
     "if (bytes.size() == 1 && bytes[0] == ACK)", "if (!bytes.empty() && bytes.back() == ACK)"),
    ("firmware-record-sum", "firmware checks", "src/core/firmware/firmware_file.cpp",
     "return Hex2Upper((256 - (sum & 0xFF)) & 0xFF);", "return Hex2Upper((255 - (sum & 0xFF)) & 0xFF);"),
    ("firmware-count", "firmware checks", "src/core/firmware/firmware_file.cpp",
     "if (f.field != f.held) return FirmwareFile::CountMismatch;", ""),
    ("saved-by-revision", "FileSaved", "src/core/editor/cam_document.cpp",
     "comparedEqual_ = CamFileText(data_) == *savedText_;", "comparedEqual_ = false;"),
    ("save-not-marked", "FileSaved", "src/core/camfile/file_commands.cpp",
     "    doc.MarkSaved();\n    return true;", "    return true;"),
    ("boxes-not-entered", "FileSaved", "src/widgets/main/main_editing.cpp",
     "if (!editor_.editMode() || focusWidget() != chart_->offBox()) return;", "return;"),
    ("undo-stale", "FileSaved", "src/core/editor/phase_editing.h",
     "return undoEnabled_ && undoRevision_ == doc_.revision();", "return undoEnabled_;"),
    ("import-keeps-history", "FileSaved", "src/core/editor/cam_document.cpp",
     "    data_ = std::move(content);\n    history_.Start(std::move(label));",
     "    Edit(EditScope::Everything(), std::move(label), [&](CamData& d) { d = std::move(content); });\n"
     "    return;"),
    ("message-blank-quoted", "message files", "src/core/messages/message_file.cpp",
     'if (!TrimBlanks(text).empty()) line += " \\"" + text + "\\"";', 'line += " \\"" + text + "\\"";'),
    ("recent-files-unbounded", "options file", "src/core/model/options.cpp",
     "        if (written == kMaxRecentFiles) break;\n", ""),
    ("continued-page-number", "printing", "src/core/printing/size_listing.cpp",
     '"   - " + CStr(page) + " -"', '"   - " + CStr(page + 1) + " -"'),
    ("show-lamps-late", "size show", "src/core/tools/size_show.cpp",
     "p.CamPos(size, c, position) == 1", "p.CamPos(size, c, std::max(position - 1, 0)) == 1"),
    ("direction-not-stored", "functions block", "src/core/functions/functions_fields.cpp",
     "    if (dirDirty_) StoreDirection();\n", ""),
    ("message-save-unwired", "message window", "src/widgets/messages/message_window.cpp",
     "connect(svFil, &QToolButton::clicked, this, &MsgWindow::SaveList);", ""),
    ("print-chart-ignored", "print window", "src/widgets/printing/print_window.cpp",
     "[this](bool chart) { form_.mode = chart ? PrintMode::Chart : PrintMode::Listing; });",
     "[this](bool) { form_.mode = PrintMode::Listing; });"),
]


def run(cmd):
    return subprocess.run(cmd, shell=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    only = set(sys.argv[2:])
    print("| fault | rule | caught by |")
    print("|---|---|---|")
    for ident, rule, path, old, new in MUTANTS:
        if only and ident not in only:
            continue
        source = open(path, encoding="utf-8").read()
        if old not in source:
            print(f"| {ident} | {rule} | (not applied: the code moved) |")
            continue
        open(path, "w", encoding="utf-8").write(source.replace(old, new, 1))
        try:
            # The unit tests first, built alone: most faults end there, in a minute.
            if not run(f"cmake --build {build} --target unit_tests"):
                caught = "the build"
            elif not run(f"{build}/tests/unit/unit_tests"):
                caught = "unit tests"
            elif not run(f"cmake --build {build}"):
                caught = "the build"
            elif not run(f"ctest --test-dir {build} -j2 --timeout 300"):
                caught = "the suite"
            else:
                caught = "NOT CAUGHT"
        finally:
            open(path, "w", encoding="utf-8").write(source)
        print(f"| {ident} | {rule} | {caught} |", flush=True)
    run(f"cmake --build {build}")


if __name__ == "__main__":
    main()
