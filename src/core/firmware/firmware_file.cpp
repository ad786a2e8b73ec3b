#include "core/firmware/firmware_file.h"

#include "core/model/file_io.h"
#include "core/model/text_format.h"

#include <algorithm>
#include <filesystem>

namespace cam {

namespace {

constexpr std::size_t kShortestRecord = 11;  // ":" count address type checksum, no data
constexpr const char* kMonths = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The byte written as the pair at index i (0-based); -1 when a character is not a hex digit.
int PairAt(std::string_view line, std::size_t i) {
    const int high = HexDigit(line[i]);
    const int low = HexDigit(line[i + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

std::string Hex2Upper(unsigned v) {
    static const char* digits = "0123456789ABCDEF";
    return {digits[(v >> 4) & 15], digits[v & 15]};
}

}  // namespace

int RecordDataBytes(std::string_view line) {
    return line.size() < kShortestRecord ? 0 : static_cast<int>((line.size() - kShortestRecord) / 2);
}

std::string RecordChecksum(std::string_view line) {
    // The pairs start after ":" and end 2 characters before the checksum field: an even
    // number of characters between them, or the line is not made of whole bytes.
    if (line.size() < kShortestRecord || (line.size() - 3) % 2 != 0) return "";
    unsigned sum = 0;
    for (std::size_t i = 1; i + 2 < line.size(); i += 2) {
        const int byte = PairAt(line, i);
        if (byte < 0) return "";
        sum += static_cast<unsigned>(byte);
    }
    return Hex2Upper((256 - (sum & 0xFF)) & 0xFF);
}

bool RecordChecksumOk(std::string_view line) {
    const std::string expected = RecordChecksum(line);
    return !expected.empty() && line.substr(line.size() - 2) == expected;
}

bool IsEmptyRecord(std::string_view line) { return line.substr(1, 2) == "00"; }

bool IsIdentificationRecord(std::string_view line) { return line.substr(3, 6) == "060000"; }

std::string RecordData(std::string_view line) {
    std::string data;
    const int bytes = RecordDataBytes(line);
    for (int k = 0; k < bytes; ++k) {
        const int byte = PairAt(line, 9 + 2 * static_cast<std::size_t>(k));
        data += static_cast<char>(byte < 0 ? 0 : byte);
    }
    return data;
}

std::string RecordAddressText(std::string_view line) {
    // Characters 4 to 7 are the address; the width of the column stays that of 5 digits.
    return "0" + std::string(line.substr(3, 4)) + "H";
}

std::string IdentificationRow(std::string_view identification) {
    std::string s(identification);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
    const double monthValue = Val(Mid(s, 7, 2));
    std::string date;
    if (monthValue >= 1) {
        const int month = static_cast<int>(std::min(monthValue, 99.0));
        date = Mid(kMonths, static_cast<std::size_t>(3 * month - 2), 3);
        std::string rest = Mid(s, 9, 8);
        if (!rest.empty()) rest[0] = ' ';
        if (rest.size() > 3) rest[3] = ' ';
        date += rest;
    } else {
        date = Right(s, 10);
    }
    return " CRC Prog:  " + Mid(s, 1, 6) + "  Date Prog: " + date;
}

FirmwareFile ReadFirmwareFile(const std::string& path, const VerifyProgress& progress) {
    FirmwareFile f;
    if (const Result usable = CheckInputFile(path, kMaxFirmwareFileBytes); !usable) {
        f.reason = usable.reason();
        return f;
    }
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
    LineSource in = LineSource::File(path);
    if (!in.ok()) {
        f.reason = path + ": cannot be read";
        return f;
    }
    f = ReadFirmwareRecords(in, progress);
    f.fileBytes = ec ? 0 : bytes;
    return f;
}

namespace {

constexpr char kEndOfFile = 0x1A;
constexpr int kEndRecordType = 1;
constexpr int kLastRecordType = 5;

// Why a record whose checksum matches still cannot go to the device; Verified when it can.
FirmwareFile::Outcome RecordFault(std::string_view line, bool ended, FirmwareFile& f) {
    f.field = PairAt(line, 1);
    f.held = RecordDataBytes(line);
    if (f.field != f.held) return FirmwareFile::CountMismatch;
    f.field = PairAt(line, 7);
    if (f.field > kLastRecordType) return FirmwareFile::UnknownType;
    return ended ? FirmwareFile::AfterEnd : FirmwareFile::Verified;
}

}  // namespace

FirmwareFile ReadFirmwareRecords(LineSource& in, const VerifyProgress& progress) {
    FirmwareFile f;
    std::string_view line;
    int lineNo = 0;
    bool ended = false;
    auto refuse = [&](FirmwareFile::Outcome outcome) {
        f.outcome = outcome;
        f.badLine = lineNo;
        return f;
    };
    while (in.next(line)) {
        ++lineNo;
        if (!line.empty() && line.back() == kEndOfFile && in.atEnd()) line.remove_suffix(1);
        if (line.empty()) continue;  // a trailing empty line, for example: nothing to send
        if (line[0] != ':') return refuse(FirmwareFile::Unusable);
        f.dataBytes += RecordDataBytes(line);
        f.records.emplace_back(line);
        if (progress && f.records.size() % 10 == 0) progress(static_cast<long>(f.records.size()), f.dataBytes);
        if (!RecordChecksumOk(line)) return refuse(FirmwareFile::ParityError);
        if (const auto fault = RecordFault(line, ended, f); fault != FirmwareFile::Verified) return refuse(fault);
        ended = PairAt(line, 7) == kEndRecordType;
        if (IsIdentificationRecord(line) && line.size() > 10) f.identification += RecordData(line);
    }
    // Nothing to send leaves the device in its update mode without a firmware; a file cut off
    // before its end record leaves it with half of one.
    if (f.records.empty()) {
        f.outcome = FirmwareFile::Unusable;
        return f;
    }
    if (!ended) return refuse(FirmwareFile::NoEnd);
    f.outcome = FirmwareFile::Verified;
    if (progress) progress(static_cast<long>(f.records.size()), f.dataBytes);
    return f;
}

}  // namespace cam
