// The absolute hex file (*.Abs) of a firmware update: Intel HEX records, one a line, with
// the program identification in the data records at address 0600. Reading it is the
// verification the update window runs before anything goes to the device.
#pragma once

#include "core/model/text_lines.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cam {

// Record line: ":", byte count (2 hex digits), address (4), type (2), data (2 per byte),
// checksum (2).

// Data bytes of a record line: (length - 11) / 2, 0 for a line too short to carry any.
int RecordDataBytes(std::string_view line);

// The checksum field a record must carry: the two's complement of the low byte of the sum
// of its pairs from the byte count up to the last data byte, as 2 upper-case hex digits.
// "" when the line is not a whole record (shorter than 11 characters, a half pair, or a
// character that is not a hex digit where a pair is summed).
std::string RecordChecksum(std::string_view line);

// True when the line's last 2 characters are exactly RecordChecksum(line).
bool RecordChecksumOk(std::string_view line);

// A record with byte count 00 (the end record, usually): sent after the last line.
bool IsEmptyRecord(std::string_view line);

// The program identification record: address 0600, type 00 (characters 4 to 9 "060000").
bool IsIdentificationRecord(std::string_view line);

// The data bytes of a record taken as characters.
std::string RecordData(std::string_view line);

// The address column of the transmission row: the record's address as 5 hex digits and "H"
// (":10C00000..." -> "0C000H").
std::string RecordAddressText(std::string_view line);

// " CRC Prog:  A1B2C3  Date Prog: MAR 15 2026": the identification text S shown as row 4
// (characters 1-6 the program CRC, 7-8 the month, 10-11 the day, 13-16 the year; with month
// 00 the last 10 characters of S as they are). Control characters show as "?".
std::string IdentificationRow(std::string_view identification);

// The largest firmware file taken: an image of several megabytes, far beyond the device's
// flash, written as Intel HEX.
inline constexpr std::uintmax_t kMaxFirmwareFileBytes = 16 * 1024 * 1024;

struct FirmwareFile {
    enum Outcome {
        Verified,       // every record passed, the last one is the end record
        Unusable,       // a line without ":", or no record at all: "FILE UNUSABLE"
        ParityError,    // a record whose checksum does not match: "PARITY ERROR IN LINE " badLine
        CountMismatch,  // a byte count (field) that is not the record's data bytes (held)
        UnknownType,    // a record type (field) other than 00..05
        AfterEnd,       // a record after the end record
        NoEnd,          // the file ends (after badLine) without its end record: it is cut off
        Unreadable,     // the file cannot be opened or read (reason)
    } outcome = Unreadable;
    std::vector<std::string> records;  // the lines in file order, empty lines left out
    long dataBytes = 0;                // data bytes of the records read
    std::string identification;        // data of the identification records, in file order
    std::uintmax_t fileBytes = 0;      // the file's length
    int badLine = 0;                   // the line of the file at fault
    int field = 0;                     // CountMismatch: the byte count; UnknownType: the type
    int held = 0;                      // CountMismatch: the data bytes the record holds
    std::string reason;                // Unreadable: why, naming the file
    bool ok() const { return outcome == Verified; }
};

// Called every 10th record and once at the end with the records counted so far and their
// data bytes.
using VerifyProgress = std::function<void(long records, long dataBytes)>;

// Reads and checks every record of the file, so that nothing a device would refuse half-way
// through the update is sent: whole records of types 00 to 05 with their checksum and a byte
// count that is their length, the end record last. Empty lines are skipped and not counted;
// CR LF, LF and CR end a line, and a final end-of-file character (1A hex, as some tools write
// it) is no line. The records are kept, so that what is sent is what was checked.
FirmwareFile ReadFirmwareFile(const std::string& path, const VerifyProgress& progress = {});

// The same over lines (fileBytes stays 0).
FirmwareFile ReadFirmwareRecords(LineSource& in, const VerifyProgress& progress = {});

}  // namespace cam
