// The absolute hex file: the record rules, the identification row and the verification of
// whole files. Records are written out with checksums computed by hand.
#include "core/firmware/firmware_file.h"
#include "support/scratch_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace cam {
namespace {

// 16 data bytes 01..10 at 0000: 0x10 + 0x88 = 0x98, two's complement 0x68.
const std::string k16Bytes = ":100000000102030405060708090A0B0C0D0E0F1068";
// 0x02 + 0x7F + 0x7F = 0x100: the low byte is 0, so is the checksum.
const std::string kSum256 = ":020000007F7F00";
const std::string kEnd = ":00000001FF";
// "A1B2C303" and "/15/2026" in two identification records at 0600.
const std::string kIdent1 = ":08060000413142324333303333";
const std::string kIdent2 = ":080600002F31352F3230323664";

TEST(HexRecord, DataBytesAreHalfTheLengthBeyondElevenCharacters) {
    EXPECT_EQ(RecordDataBytes(k16Bytes), 16);
    EXPECT_EQ(RecordDataBytes(kEnd), 0);
    EXPECT_EQ(RecordDataBytes(kSum256), 2);
    EXPECT_EQ(RecordDataBytes(":0000"), 0);  // too short to carry any
    EXPECT_EQ(RecordDataBytes(k16Bytes + "0"), 16);
}

TEST(HexRecord, ChecksumIsTheTwosComplementInUpperCaseHex) {
    EXPECT_EQ(RecordChecksum(k16Bytes), "68");
    EXPECT_TRUE(RecordChecksumOk(k16Bytes));
    EXPECT_EQ(RecordChecksum(kSum256), "00");
    EXPECT_TRUE(RecordChecksumOk(kSum256));
    EXPECT_TRUE(RecordChecksumOk(kEnd));
    EXPECT_TRUE(RecordChecksumOk(":020000007f7f00"));  // the pairs in any case
    EXPECT_FALSE(RecordChecksumOk(":00000001ff"));     // the field itself in upper case only
    // Any data digit changed breaks it.
    for (std::size_t i = 9; i + 2 < k16Bytes.size(); ++i) {
        std::string changed = k16Bytes;
        changed[i] = changed[i] == '0' ? '1' : '0';
        EXPECT_FALSE(RecordChecksumOk(changed)) << changed;
    }
}

TEST(HexRecord, LinesThatAreNoWholeRecordFail) {
    for (const char* bad : {":00000001F", ":000000", ":0000000G01F8", ":00000001FF0", ":", ":00 00001FF"}) {
        EXPECT_FALSE(RecordChecksumOk(bad)) << bad;
        EXPECT_EQ(RecordChecksum(bad), "") << bad;
    }
}

TEST(HexRecord, KindsDataAndAddressColumn) {
    EXPECT_TRUE(IsEmptyRecord(kEnd));
    EXPECT_TRUE(IsEmptyRecord(":00001000F0"));
    EXPECT_FALSE(IsEmptyRecord(k16Bytes));
    EXPECT_TRUE(IsIdentificationRecord(kIdent1));
    EXPECT_FALSE(IsIdentificationRecord(":08060001413142324333303332"));  // type 01
    EXPECT_FALSE(IsIdentificationRecord(k16Bytes));
    EXPECT_EQ(RecordData(kIdent1), "A1B2C303");
    EXPECT_EQ(RecordData(kSum256), "\x7F\x7F");
    EXPECT_EQ(RecordAddressText(":10C00000"), "0C000H");
    EXPECT_EQ(RecordAddressText(":08C0000000112233445566775C"), "0C000H");  // not the count's digit
}

TEST(IdentificationRow, MonthNameDayAndYearOrTheLastTenCharacters) {
    EXPECT_EQ(IdentificationRow("A1B2C303/15/2026"), " CRC Prog:  A1B2C3  Date Prog: MAR 15 2026");
    EXPECT_EQ(IdentificationRow("A1B2C300/15/2026"), " CRC Prog:  A1B2C3  Date Prog: 00/15/2026");
    EXPECT_EQ(IdentificationRow("FFFFFF01-02-1999"), " CRC Prog:  FFFFFF  Date Prog: JAN 02 1999");
    EXPECT_EQ(IdentificationRow("FFFFFF12.31.2030"), " CRC Prog:  FFFFFF  Date Prog: DEC 31 2030");
    EXPECT_EQ(IdentificationRow("FFFFFF13.31.2030"), " CRC Prog:  FFFFFF  Date Prog:  31 2030");  // no 13th month
    EXPECT_EQ(IdentificationRow(""), " CRC Prog:    Date Prog: ");
    EXPECT_EQ(IdentificationRow("A1B2"), " CRC Prog:  A1B2  Date Prog: A1B2");
    EXPECT_EQ(IdentificationRow("A1B2C303"), " CRC Prog:  A1B2C3  Date Prog: MAR");
    EXPECT_EQ(IdentificationRow("A1\rB2C00/15/20\x01"), " CRC Prog:  A1?B2C  Date Prog: C00/15/20?");
}

struct FirmwareFileTest : ::testing::Test {
    camtest::ScratchFolder dir;
    std::string write(const std::string& bytes) { return dir.write("fw.Abs", bytes); }
};

TEST_F(FirmwareFileTest, VerifiedFileKeepsItsRecordsCountsAndIdentification) {
    const std::string bytes = kIdent1 + "\r\n" + k16Bytes + "\r\n" + kIdent2 + "\r\n" + kEnd + "\r\n";
    std::vector<std::pair<long, long>> shown;
    const FirmwareFile f = ReadFirmwareFile(write(bytes), [&](long l, long b) { shown.emplace_back(l, b); });
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(f.records, (std::vector<std::string>{kIdent1, k16Bytes, kIdent2, kEnd}));
    EXPECT_EQ(f.dataBytes, 32);
    EXPECT_EQ(f.identification, "A1B2C303/15/2026");  // appended in file order
    EXPECT_EQ(f.fileBytes, bytes.size());
    EXPECT_EQ(shown, (std::vector<std::pair<long, long>>{{4, 32}}));  // fewer than 10 lines: the end only
}

TEST_F(FirmwareFileTest, CountsAreReportedEveryTenthLine) {
    std::string bytes;
    for (int i = 0; i < 24; ++i) bytes += k16Bytes + "\n";  // LF alone ends a line too
    std::vector<std::pair<long, long>> shown;
    const FirmwareFile f = ReadFirmwareFile(write(bytes + kEnd), [&](long l, long b) { shown.emplace_back(l, b); });
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(shown, (std::vector<std::pair<long, long>>{{10, 160}, {20, 320}, {25, 384}}));
}

TEST_F(FirmwareFileTest, EmptyLinesAreSkippedAndNotCounted) {
    const FirmwareFile f = ReadFirmwareFile(write(k16Bytes + "\r\n\r\n" + kSum256 + "\r\n" + kEnd + "\r\n\r\n"));
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(f.records, (std::vector<std::string>{k16Bytes, kSum256, kEnd}));
}

TEST_F(FirmwareFileTest, ChecksumErrorNamesTheLineOfTheFile) {
    std::string spoilt = k16Bytes;
    spoilt[20] = 'F';
    FirmwareFile f = ReadFirmwareFile(write(kSum256 + "\r\n" + k16Bytes + "\r\n" + spoilt + "\r\n" + kEnd + "\r\n"));
    EXPECT_EQ(f.outcome, FirmwareFile::ParityError);
    EXPECT_EQ(f.badLine, 3);
    // An empty line before it still counts as a line of the file in the message.
    f = ReadFirmwareFile(write("\r\n" + spoilt + "\r\n"));
    EXPECT_EQ(f.outcome, FirmwareFile::ParityError);
    EXPECT_EQ(f.badLine, 2);
}

// What a device would refuse half-way through the update is refused before it, naming the
// line; what other tools write is taken.
TEST_F(FirmwareFileTest, RecordsADeviceWouldRefuseAreRefusedBeforeTheUpdate) {
    const std::string count15 = ":0F0000000102030405060708090A0B0C0D0E0F1069";  // 16 data bytes
    const std::string type07 = ":100000070102030405060708090A0B0C0D0E0F1061";
    struct Case {
        std::string bytes;
        FirmwareFile::Outcome outcome;
        int badLine, field, held;
    };
    const std::vector<Case> cases = {
        {k16Bytes + "\r\n" + count15 + "\r\n" + kEnd, FirmwareFile::CountMismatch, 2, 15, 16},
        {type07 + "\r\n" + kEnd, FirmwareFile::UnknownType, 1, 7, 16},
        {k16Bytes + "\r\n" + kEnd + "\r\n\r\n" + k16Bytes + "\r\n", FirmwareFile::AfterEnd, 4, 0, 0},
        {k16Bytes + "\r\n" + k16Bytes + "\r\n\r\n", FirmwareFile::NoEnd, 3, 0, 0},  // cut off
        {k16Bytes + "\x1A\r\n" + kEnd, FirmwareFile::ParityError, 1, 0, 0},         // 1A inside is no end
        {k16Bytes + "\r" + kEnd + "\r", FirmwareFile::Verified, 0, 0, 0},           // CR alone
        {k16Bytes + "\r\n" + kEnd + "\r\n\x1A", FirmwareFile::Verified, 0, 0, 0},   // a final end-of-file mark
        {k16Bytes + "\n" + kEnd + "\x1A", FirmwareFile::Verified, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const FirmwareFile f = ReadFirmwareFile(write(c.bytes));
        EXPECT_EQ(f.outcome, c.outcome) << c.bytes;
        EXPECT_EQ(f.badLine, c.badLine) << c.bytes;
        if (c.field) {
            EXPECT_EQ(std::pair(f.field, f.held), std::pair(c.field, c.held)) << c.bytes;
        }
        if (f.ok()) {
            EXPECT_EQ(f.records, (std::vector<std::string>{k16Bytes, kEnd}));
        }
    }
}

TEST_F(FirmwareFileTest, UnusableAndUnreadableFiles) {
    FirmwareFile f = ReadFirmwareFile(write(k16Bytes + "\r\n 10000000\r\n"));
    EXPECT_EQ(f.outcome, FirmwareFile::Unusable);
    EXPECT_EQ(f.badLine, 2);
    // Nothing to send at all is no firmware either.
    EXPECT_EQ(ReadFirmwareFile(write("")).outcome, FirmwareFile::Unusable);
    EXPECT_EQ(ReadFirmwareFile(write("\r\n\r\n")).outcome, FirmwareFile::Unusable);
    EXPECT_EQ(ReadFirmwareFile(dir.file("missing.Abs")).reason, dir.file("missing.Abs") + ": no such file");
    f = ReadFirmwareFile(dir.str());  // a folder
    EXPECT_EQ(f.outcome, FirmwareFile::Unreadable);
    EXPECT_EQ(f.reason, dir.str() + ": is a folder, not a file");
    // Larger than any firmware: refused before a line is read.
    std::filesystem::resize_file(write(""), kMaxFirmwareFileBytes + 1);
    EXPECT_THAT(ReadFirmwareFile(dir.file("fw.Abs")).reason,
                ::testing::HasSubstr("is larger than any file of its kind"));
}

}  // namespace
}  // namespace cam
