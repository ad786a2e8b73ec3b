// camsim's flash-update mode on its own, bytes in and bytes out: the record check, the
// acknowledgements, the image it keeps, its faults and its firmware file. Records are written
// out with checksums computed by hand.
#include "device.h"
#include "firmware.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace camsim {
namespace {

const std::string kAckS(1, '\x06'), kNakS(1, '\x15');
// ":FU" with its check character 58 + 70 + 85 = 213, and CR.
const std::string kFu = std::string(":FU") + '\xD5' + '\r';
const std::string kData = ":100000000102030405060708090A0B0C0D0E0F1068";
const std::string kIdent1 = ":08060000413142324333303333";  // "A1B2C303" at 0600
const std::string kIdent2 = ":080600002F31352F3230323664";  // "/15/2026" at 0600
const std::string kEnd = ":00000001FF";

std::string Bytes(const Replies& r) {
    std::string b;
    for (const Reply& x : r) b += x.bytes;
    return b;
}

Options Plain() {
    Options o;
    o.baud = 0;
    return o;
}

TEST(CamsimRecord, SoundRecordsAddUpToZeroAndCountTheirData) {
    EXPECT_TRUE(SoundRecord(kData));
    EXPECT_TRUE(SoundRecord(kEnd));
    EXPECT_TRUE(SoundRecord(":020000007f7f00"));                               // any letter case
    EXPECT_FALSE(SoundRecord(":100000000102030405060708090A0B0C0D0E0F1069"));  // check one off
    EXPECT_FALSE(SoundRecord(":0F0000000102030405060708090A0B0C0D0E0F1069"));  // count 15, 16 bytes
    EXPECT_FALSE(SoundRecord(":00000001F"));                                   // half a pair
    EXPECT_FALSE(SoundRecord("00000001FF"));                                   // no ":"
    EXPECT_FALSE(SoundRecord(":00000001FG"));
}

TEST(CamsimFlash, AcknowledgesFuAndEveryGoodRecordAndKeepsTheImageAtTheEnd) {
    Device d(Plain());
    EXPECT_EQ(Bytes(d.receive(kFu)), kAckS);
    EXPECT_EQ(Bytes(d.receive(kIdent1 + "\r")), kAckS);
    // A record in pieces, with an LF after its CR.
    EXPECT_EQ(Bytes(d.receive(kData.substr(0, 9))), "");
    EXPECT_EQ(Bytes(d.receive(kData.substr(9) + "\r\n")), kAckS);
    EXPECT_EQ(Bytes(d.receive(":100000000102030405060708090A0B0C0D0E0F1069\r")), kNakS);
    EXPECT_EQ(Bytes(d.receive(kIdent2 + "\r")), kAckS);
    EXPECT_TRUE(d.firmware().records.empty());  // not the device's until the end record
    EXPECT_EQ(Bytes(d.receive(kEnd + "\r")), kAckS);
    EXPECT_EQ(d.firmware().records, (std::vector<std::string>{kIdent1, kData, kIdent2}));
    EXPECT_EQ(d.firmware().identification, "A1B2C303/15/2026");
    // The end record again, as the tool sends it after the last line.
    EXPECT_EQ(Bytes(d.receive(kEnd + "\r")), kAckS);
    EXPECT_EQ(d.firmware().records.size(), 3u);
    // A command ends the update mode.
    const std::string reply = Bytes(d.receive(std::string("?M") + '\x8C' + '\r'));
    EXPECT_EQ(reply.substr(reply.size() - 1), "\r");
    EXPECT_NE(reply.find("ZETO"), std::string::npos);
}

TEST(CamsimFlash, ARecordRefusedOnceAndSilenceAfterARecord) {
    Options o = Plain();
    o.blocks.flashNak = 2;
    Device nak(o);
    nak.receive(kFu);
    EXPECT_EQ(Bytes(nak.receive(kData + "\r")), kAckS);
    EXPECT_EQ(Bytes(nak.receive(kData + "\r")), kNakS);  // record 2, the first time
    EXPECT_EQ(Bytes(nak.receive(kData + "\r")), kAckS);  // and taken when it comes again
    EXPECT_EQ(Bytes(nak.receive(kEnd + "\r")), kAckS);
    EXPECT_EQ(nak.firmware().records.size(), 2u);

    o = Plain();
    o.blocks.flashSilentAfter = 1;
    Device silent(o);
    EXPECT_EQ(Bytes(silent.receive(kFu)), kAckS);
    EXPECT_EQ(Bytes(silent.receive(kData + "\r")), kAckS);
    EXPECT_EQ(Bytes(silent.receive(kEnd + "\r")), "");
    EXPECT_TRUE(silent.firmware().records.empty());
}

TEST(CamsimFlash, FirmwareFileSurvivesARestartAndADamagedOneIsNotUsed) {
    const auto dir = std::filesystem::temp_directory_path() / ("camsim-fw-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    Options o = Plain();
    o.stateDir = dir.string();
    const std::string path = FirmwarePath(dir.string(), o.model);
    EXPECT_EQ(path, dir.string() + "/camsim-32x60x255x2.firmware");
    {
        Device d(o);
        d.receive(kFu);
        for (const std::string& r : {kIdent1, kData, kEnd}) d.receive(r + "\r");
    }
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "camsim firmware 1\nidentification =4131423243333033\nrecord " + kIdent1 + "\nrecord " + kData +
                        "\nend\n");
    Device again(o);
    EXPECT_EQ(again.firmware().records, (std::vector<std::string>{kIdent1, kData}));
    EXPECT_EQ(again.firmware().identification, "A1B2C303");

    Firmware fw;
    std::string error;
    for (const char* damaged : {"camsim firmware 1\nrecord :00000001FE\nend\n",
                                "camsim firmware 1\nrecord "
                                ":00000001FF\n",
                                "camsim firmware 1\nidentification =4\nend\n", "other\n"}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged;
        EXPECT_FALSE(LoadFirmware(path, &fw, &error)) << damaged;
        EXPECT_TRUE(fw.records.empty());
    }
    std::filesystem::remove_all(dir);
    EXPECT_TRUE(LoadFirmware(path, &fw, &error));  // no file yet: no image, no error
}

}  // namespace
}  // namespace camsim
