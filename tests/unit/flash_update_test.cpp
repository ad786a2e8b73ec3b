// The firmware file's records and verification, then the update's window, order and exchange
// against a fake device on a fake clock. Checksums are computed by hand, wire bytes too.
#include "core/firmware/flash_update.h"
#include "core/firmware/firmware_file.h"
#include "core/model/scripted_prompt.h"
#include "support/fake_port.h"
#include "support/scratch_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace cam {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using namespace std::string_literals;
using Strings = std::vector<std::string>;
using Bools = std::vector<bool>;

// 16 data bytes 01..10 at 0000: 0x10 + 0x88 = 0x98, two's complement 0x68.
const std::string k16Bytes = ":100000000102030405060708090A0B0C0D0E0F1068";
// 0x02 + 0x7F + 0x7F = 0x100: the low byte is 0, so is the checksum.
const std::string kSum256 = ":020000007F7F00";
const std::string kEnd = ":00000001FF";
const std::string kEmptyData = ":00001000F0";
const std::string kExtended = ":020000040001F9";
// "A1B2C303" and "/15/2026" in two identification records at 0600.
const std::string kIdent1 = ":08060000413142324333303333";
const std::string kIdent2 = ":080600002F31352F3230323664";
// ":FU" and its checksum character 58 + 70 + 85 = 213, then CR.
const std::string kEnterUpdate = ":FU\xD5\r";

TEST(HexRecord, DataBytesAreHalfTheLengthBeyondElevenCharactersAndTheChecksumTheTwosComplement) {
    // ":0000" is too short to carry any.
    EXPECT_EQ((std::vector<int>{RecordDataBytes(k16Bytes), RecordDataBytes(kEnd), RecordDataBytes(kSum256),
                                RecordDataBytes(":0000"), RecordDataBytes(k16Bytes + "0")}),
              (std::vector<int>{16, 0, 2, 0, 16}));
    EXPECT_EQ((Strings{RecordChecksum(k16Bytes), RecordChecksum(kSum256)}), (Strings{"68", "00"}));
    // The pairs in any case; the field itself in upper case only.
    EXPECT_EQ((Bools{RecordChecksumOk(k16Bytes), RecordChecksumOk(kSum256), RecordChecksumOk(kEnd),
                     RecordChecksumOk(":020000007f7f00"), RecordChecksumOk(":00000001ff")}),
              (Bools{true, true, true, true, false}));
    // Any data digit changed breaks it.
    for (std::size_t i = 9; i + 2 < k16Bytes.size(); ++i) {
        std::string changed = k16Bytes;
        changed[i] = changed[i] == '0' ? '1' : '0';
        EXPECT_FALSE(RecordChecksumOk(changed)) << changed;
    }
    // Lines that are no whole record.
    for (const char* bad : {":00000001F", ":000000", ":0000000G01F8", ":00000001FF0", ":", ":00 00001FF"})
        EXPECT_EQ(std::tuple(RecordChecksumOk(bad), RecordChecksum(bad)), std::tuple(false, "")) << bad;
}

TEST(HexRecord, KindsDataAndAddressColumn) {
    EXPECT_EQ((Bools{IsEmptyRecord(kEnd), IsEmptyRecord(kEmptyData), IsEmptyRecord(k16Bytes)}),
              (Bools{true, true, false}));
    // The second one is of type 01.
    EXPECT_EQ((Bools{IsIdentificationRecord(kIdent1), IsIdentificationRecord(":08060001413142324333303332"),
                     IsIdentificationRecord(k16Bytes)}),
              (Bools{true, false, false}));
    EXPECT_EQ((Strings{RecordData(kIdent1), RecordData(kSum256)}), (Strings{"A1B2C303", "\x7F\x7F"}));
    // The address column is not the count's digit.
    EXPECT_EQ((Strings{RecordAddressText(":10C00000"), RecordAddressText(":08C0000000112233445566775C")}),
              (Strings{"0C000H", "0C000H"}));
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
    std::vector<std::pair<long, long>> shown;  // the line and byte counts as they were reported
    FirmwareFile read(const std::string& bytes) {
        return ReadFirmwareFile(dir.write("fw.Abs", bytes), [this](long l, long b) { shown.emplace_back(l, b); });
    }
};

// Counts are reported every tenth line and at the end; LF alone ends a line too.
TEST_F(FirmwareFileTest, VerifiedFileKeepsItsRecordsCountsAndIdentification) {
    const std::string bytes = kIdent1 + "\r\n" + k16Bytes + "\r\n" + kIdent2 + "\r\n" + kEnd + "\r\n";
    const FirmwareFile f = read(bytes);
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(f.records, (Strings{kIdent1, k16Bytes, kIdent2, kEnd}));
    // The identification records are appended in file order.
    EXPECT_EQ(std::tuple(f.dataBytes, f.identification, f.fileBytes),
              std::tuple(32L, "A1B2C303/15/2026", std::uintmax_t{bytes.size()}));
    EXPECT_EQ(shown, (std::vector<std::pair<long, long>>{{4, 32}}));

    shown.clear();
    std::string many;
    for (int i = 0; i < 24; ++i) many += k16Bytes + "\n";
    ASSERT_TRUE(read(many + kEnd).ok());
    EXPECT_EQ(shown, (std::vector<std::pair<long, long>>{{10, 160}, {20, 320}, {25, 384}}));
}

TEST_F(FirmwareFileTest, UnreadableFiles) {
    const FirmwareFile f = ReadFirmwareFile(dir.str());  // a folder
    EXPECT_EQ(std::tie(f.outcome, f.reason),
              std::tuple(FirmwareFile::Unreadable, dir.str() + ": is a folder, not a file"));
    // Larger than any firmware: refused before a line is read.
    std::filesystem::resize_file(dir.write("fw.Abs", ""), kMaxFirmwareFileBytes + 1);
    EXPECT_THAT(ReadFirmwareFile(dir.file("fw.Abs")).reason, HasSubstr("is larger than any file of its kind"));
}

// 50 lines: 0.5 rounds to 0, every line. A thousand lines are shown every tenth line.
TEST(FlashPlan, LinesAreShownEveryHundredthRoundedHalfToEvenAtLeastOne) {
    for (auto [lines, every] : std::vector<std::pair<long, long>>{
             {1000, 10}, {50, 1}, {1, 1}, {0, 1}, {150, 2}, {250, 2}, {350, 4}, {149, 1}})
        EXPECT_EQ(DisplayInterval(lines), every) << lines;
    const std::vector<std::string> thousand(1000, k16Bytes);
    const auto plan = TransmissionPlan(thousand);
    ASSERT_EQ(plan.size(), 1000u);
    std::vector<long> shown, everyTenth;
    for (const PlannedSend& s : plan)
        if (s.shown) shown.push_back(s.line);
    for (long line = 10; line <= 1000; line += 10) everyTenth.push_back(line);
    EXPECT_EQ(shown, everyTenth);
}

// A byte-count-00 record is held back and sent after the last line; when it is the last
// line it goes in its place too, so twice.
TEST(FlashPlan, ByteCountZeroRecordsAreSentAfterTheLastLine) {
    using Plan = std::vector<PlannedSend>;
    const Strings endLast{k16Bytes, k16Bytes, kEnd}, emptyInside{kExtended, kEmptyData, k16Bytes, kIdent1};
    EXPECT_EQ(
        TransmissionPlan(endLast),
        (Plan{
            {k16Bytes, 1, 1, 16, true}, {k16Bytes, 2, 2, 32, true}, {kEnd, 3, 3, 32, true}, {kEnd, 3, 0, 32, false}}));
    EXPECT_EQ(TransmissionPlan(emptyInside), (Plan{{kExtended, 1, 1, 2, true},
                                                   {k16Bytes, 3, 2, 18, true},
                                                   {kIdent1, 4, 3, 26, true},
                                                   {kEmptyData, 2, 0, 26, false}}));
}

TEST(FlashScreenRows, TextsAtTheirRowsAndColumns) {
    FlashScreen s;
    s.workingFile = WorkingFileRow("/fw/PX32.Abs", 1234);
    EXPECT_EQ(s.workingFile, "WORKING FILE =\"/fw/PX32.Abs\" (1234 bytes)");
    s.testing = true;
    EXPECT_EQ(ScreenTexts(s),
              (std::vector<PlacedText>{{1, 0, s.workingFile}, {2, 0, "Testing Line:            Tot.Bytes:"}}));
    std::tie(s.testLines, s.testBytes, s.transmitting, s.sentLines, s.sentBytes) = std::tuple(7, 112, true, 1000, 5);
    std::tie(s.row4, s.address, s.row8) =
        std::tuple(" CRC Prog:  A1B2C3  Date Prog: MAR 15 2026", "0C000H", "DEVICE UPDATED WITH  /fw/PX32.Abs");
    const std::vector<PlacedText> all = {{1, 0, s.workingFile}, {2, 0, "Testing Line:            Tot.Bytes:"},
                                         {2, 140, "07"},        {2, 340, "112"},
                                         {4, 0, s.row4},        {6, 0, "Transmit Line:         Bytes:          Addr:"},
                                         {6, 140, "1000"},      {6, 340, "05"},
                                         {6, 460, "0C000H"},    {8, 0, s.row8}};
    EXPECT_EQ(ScreenTexts(s), all);
}

struct Screens : FlashView {
    std::vector<FlashScreen> shown;
    void display(const FlashScreen& s) override { shown.push_back(s); }
};

// Questions are answered Yes unless scripted.
struct FlashFixture : FakeLink, ::testing::Test {
    Screens view;
    camtest::ScratchFolder dir;

    FlashFixture() : FakeLink(true) {
        std::tie(p.ComDevice, p.ComSpeed) = std::tuple("/dev/ttyFW", 9600);
        // A device that acknowledges ":FU" and every record after 2 ms.
        port.device = [](FakePort& f, const std::string& w) {
            if (w.size() > 1 && w.front() == ':' && w.back() == '\r') f.reply("\x06", 2);
        };
    }
    std::string file(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& l : lines) bytes += l + "\r\n";
        return dir.write("PX32.Abs", bytes);
    }
    FlashOutcome update(const std::vector<std::string>& lines) { return FlashUpdate(p, link, file(lines), view); }
};

// Empty lines are neither sent nor counted; small files redraw every line, the bar follows the lines.
TEST_F(FlashFixture, UpdateSendsFuThenEveryRecordWithCrAtTheUpdateSpeed) {
    const std::int64_t start = clock.nowMs();
    ASSERT_EQ(update({kIdent1, k16Bytes, "", kIdent2, kEnd, ""}), FlashOutcome::Updated);
    EXPECT_THAT(port.writes,
                ElementsAre(kEnterUpdate, kIdent1 + "\r", k16Bytes + "\r", kIdent2 + "\r", kEnd + "\r", kEnd + "\r"));
    // At the update speed, whatever is stored, with RTS/CTS.
    EXPECT_EQ(std::tuple(port.openedName, port.speed, port.rtsCts, port.isOpen()),
              std::tuple("/dev/ttyFW", 19200, true, false));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[0].buttons, prompt.asked()[0].icon),
              std::tuple("UPDATE FLASH ?", Buttons::YesNo, Icon::Question));
    const FlashScreen& last = view.shown.back();
    // The lamp green: a line without modem lines cannot tell.
    EXPECT_EQ(std::tie(last.row4, last.row8, last.testLines, last.sentLines, last.sentBytes, last.lamp),
              std::tuple(" CRC Prog:  A1B2C3  Date Prog: MAR 15 2026", "DEVICE UPDATED WITH  " + dir.file("PX32.Abs"),
                         4, 4, 32, FlashScreen::Lamp::Green));
    EXPECT_GE(clock.nowMs() - start, kUpdatedShownMs);
    std::vector<int> percents;
    for (const FlashScreen& s : view.shown)
        if (s.transmitting && (percents.empty() || percents.back() != s.percent)) percents.push_back(s.percent);
    EXPECT_EQ(percents, (std::vector<int>{0, 25, 50, 75, 100}));
}

// A NAK has the record sent again (at most ten times more); anything else stops the update and says
// what came, since a byte 06 among noise is no acknowledgement.
TEST_F(FlashFixture, AnAnswerIsOneAckOrOneNakAndNothingElse) {
    const std::string stopped =
        ": the update was stopped. The device may hold an incomplete firmware: repeat the update.";
    const std::string notAck = " instead of ACK or NAK" + stopped;
    const std::string fu = "The device answered :FU with ", record1 = "record 1 (" + k16Bytes + ")";
    using Replies = std::vector<std::pair<std::string, int>>;  // bytes and their delay
    const Replies ack{{"\x06", 2}}, nak{{"\x15", 2}};
    // the answers to ":FU", then to each line sent (the last one repeats), the outcome, the last message, the writes
    const std::vector<std::tuple<std::vector<Replies>, FlashOutcome, std::string, std::size_t>> cases = {
        {{{{"x\x06", 2}}}, FlashOutcome::Garbled, fu + "78 06" + notAck, 1},
        {{{{"x", 1500}, {"\x06", 1600}}}, FlashOutcome::Garbled, fu + "78" + notAck, 1},
        {{nak}, FlashOutcome::Refused, "The device refused :FU 1 time(s)" + stopped, 1},
        {{{}}, FlashOutcome::TimedOut, "TIMEOUT SERIAL PORT ", 1},
        {{ack, {{"\006A", 2}}}, FlashOutcome::Garbled, "The device answered " + record1 + " with 06 41" + notAck, 2},
        {{ack, {{"?", 4000}}}, FlashOutcome::Garbled, "The device answered " + record1 + " with 3F" + notAck, 2},
        {{ack, {}}, FlashOutcome::TimedOut, "TIMEOUT SERIAL PORT ", 2},
        {{ack, nak, nak, ack}, FlashOutcome::Updated, "UPDATE FLASH ?", 6},  // :FU, 3 x record 1, the end twice
        {{ack, nak}, FlashOutcome::Refused, "The device refused " + record1 + " 11 time(s)" + stopped, 12},
    };
    FlashScreen screen;
    const FirmwareFile f = VerifyFirmware(p, file({k16Bytes, kEnd}), screen, view, prompt);
    for (const auto& [answers, outcome, said, writes] : cases) {
        SCOPED_TRACE(said);
        FakeLink w(true);
        w.port.device = [&answers = answers](FakePort& fake, const std::string&) {
            for (const auto& [bytes, delay] : answers[std::min(fake.writes.size(), answers.size()) - 1])
                fake.reply(bytes, delay);
        };
        const std::int64_t start = w.clock.nowMs();
        EXPECT_EQ(SendFirmware(p, w.link, f, "fw", screen, view, 0), outcome);
        EXPECT_EQ(std::tuple(w.prompt.messages().back(), w.port.writes.size(), w.port.isOpen()),
                  std::tuple(said, writes, false));
        if (outcome == FlashOutcome::TimedOut) {
            EXPECT_THAT(w.since(start), AllOf(::testing::Ge(5000), ::testing::Le(5010))) << "5 s after the last line";
        }
    }
}

TEST_F(FlashFixture, FuIsNotAnsweredByAnOldAck) {
    FlashScreen screen;
    const FirmwareFile f = VerifyFirmware(p, file({kEnd}), screen, view, prompt);
    port.device = [](FakePort&, const std::string&) {};
    ASSERT_TRUE(port.open("/dev/ttyFW"));
    port.reply("\x06");
    EXPECT_EQ(SendFirmware(p, link, f, "fw", screen, view), FlashOutcome::TimedOut);
    EXPECT_THAT(port.writes, ElementsAre(kEnterUpdate));
}

// A prompt that asserts CTS when the user answers Retry, as a user who plugs the cable in.
struct PluggingPrompt : ScriptedPrompt {
    FakePort* port = nullptr;
    Answer message(const std::string& text, const std::string& title, Buttons b, Icon i) override {
        const Answer a = ScriptedPrompt::message(text, title, b, i);
        if (a == Answer::Retry) port->ctsState = LineState::Asserted;
        return a;
    }
};

// No, a device that stays not ready and a port that will not open: nothing is sent and the
// port ends closed. Retry after the cable is plugged in goes on.
TEST_F(FlashFixture, NothingIsSentUntilTheUserAndTheDeviceAreReady) {
    prompt.push(Answer::No);
    EXPECT_EQ(update({k16Bytes, kEnd}), FlashOutcome::Declined);
    EXPECT_FALSE(port.isOpen());

    port.ctsState = LineState::NotAsserted;
    prompt.clear();
    for (Answer a : {Answer::Yes, Answer::Retry, Answer::Cancel}) prompt.push(a);
    EXPECT_EQ(update({k16Bytes, kEnd}), FlashOutcome::NotReady);
    EXPECT_EQ(std::tuple(port.isOpen(), view.shown.back().lamp), std::tuple(false, FlashScreen::Lamp::Red));
    const auto& asked = prompt.asked();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(std::tie(asked[1].text, asked[1].buttons, asked[1].icon),
              std::tuple("DEVICE NOT READY", Buttons::RetryCancel, Icon::Stop));
    EXPECT_EQ(asked[2].text, "DEVICE NOT READY");

    port.failOpen = true;
    prompt.clear();
    EXPECT_EQ(update({k16Bytes, kEnd}), FlashOutcome::PortFailed);
    EXPECT_THAT(prompt.messages(), ElementsAre("Errore  2 generato da QSerialPort\r/dev/ttyFW: Permission denied"));
    EXPECT_TRUE(port.writes.empty());

    PluggingPrompt plugging;
    std::tie(port.failOpen, plugging.port) = std::tuple(false, &port);
    for (Answer a : {Answer::Yes, Answer::Retry}) plugging.push(a);
    Link pluggedLink{port, clock, plugging};
    ASSERT_EQ(FlashUpdate(p, pluggedLink, file({k16Bytes, kEnd}), view), FlashOutcome::Updated);
    // :FU, the record, the end twice
    EXPECT_EQ(std::tuple(view.shown.back().lamp, port.writes.size()), std::tuple(FlashScreen::Lamp::Green, 4u));
}

TEST_F(FlashFixture, PortThatGoesAwayMidUpdateIsOneMessageAndClosed) {
    port.device = [](FakePort& f, const std::string& w) {
        if (w == kEnterUpdate) return f.reply("\x06", 2);
        f.unplugAfter(100);
    };
    EXPECT_EQ(update({k16Bytes, k16Bytes, kEnd}), FlashOutcome::LineLost);
    EXPECT_THAT(prompt.messages(),
                ElementsAre("UPDATE FLASH ?",
                            AllOf(::testing::StartsWith("The line to the device went away during the firmware"),
                                  HasSubstr("Resource error"))));
    EXPECT_EQ(std::tuple(port.writes.size(), port.isOpen()), std::tuple(2u, false));
}

// Refused before the update, naming the line of the file (empty lines count there, and are skipped) in
// the window and a box; what other tools write is taken. Nothing is opened for a refused file.
TEST_F(FlashFixture, RecordsADeviceWouldRefuseAreRefusedBeforeTheUpdate) {
    const std::string count15 = ":0F0000000102030405060708090A0B0C0D0E0F1069";  // 16 data bytes
    const std::string type07 = ":100000070102030405060708090A0B0C0D0E0F1061";
    const std::string spoilt = k16Bytes.substr(0, 20) + "F" + k16Bytes.substr(21);
    const std::string unusable = "FILE UNUSABLE";
    // the file, what its reading finds, the line at fault, what is said
    const std::vector<std::tuple<std::string, FirmwareFile::Outcome, int, std::string>> cases = {
        {kSum256 + "\r\n" + k16Bytes + "\r\n" + spoilt + "\r\n" + kEnd, FirmwareFile::ParityError, 3,
         "PARITY ERROR IN LINE 3"},
        {"\r\n" + spoilt + "\r\n", FirmwareFile::ParityError, 2, "PARITY ERROR IN LINE 2"},
        {k16Bytes + "\r\n 10000000\r\n", FirmwareFile::Unusable, 2, unusable},
        {"", FirmwareFile::Unusable, 0, unusable},  // nothing to send is no firmware either
        {"\r\n\r\n", FirmwareFile::Unusable, 0, unusable},
        {k16Bytes + "\r\n" + count15 + "\r\n" + kEnd, FirmwareFile::CountMismatch, 2,
         "LINE 2: THE BYTE COUNT SAYS 15 DATA BYTES, THE RECORD HOLDS 16"},
        {type07 + "\r\n" + kEnd, FirmwareFile::UnknownType, 1, "LINE 1: RECORD TYPE 07 IS NONE OF 00 TO 05"},
        {k16Bytes + "\r\n" + kEnd + "\r\n\r\n" + k16Bytes + "\r\n", FirmwareFile::AfterEnd, 4,
         "LINE 4: A RECORD AFTER THE END RECORD"},
        {k16Bytes + "\r\n" + k16Bytes + "\r\n\r\n", FirmwareFile::NoEnd, 3,  // cut off
         "THE FILE ENDS AT LINE 3 WITHOUT ITS END RECORD: IT IS INCOMPLETE"},
        {k16Bytes + "\x1A\r\n" + kEnd, FirmwareFile::ParityError, 1, "PARITY ERROR IN LINE 1"},  // 1A inside is no end
        {k16Bytes + "\r" + kEnd + "\r", FirmwareFile::Verified, 0, ""},                          // CR alone
        {k16Bytes + "\r\n" + kEnd + "\r\n\x1A", FirmwareFile::Verified, 0, ""},  // a final end-of-file mark
        {k16Bytes + "\n" + kEnd + "\x1A", FirmwareFile::Verified, 0, ""},
        {k16Bytes + "\r\n\r\n" + kEnd + "\r\n\r\n", FirmwareFile::Verified, 0, ""},
    };
    for (const auto& [bytes, outcome, badLine, said] : cases) {
        SCOPED_TRACE(bytes);
        const std::string path = dir.write("fw.Abs", bytes);
        const FirmwareFile f = ReadFirmwareFile(path);
        EXPECT_EQ(std::pair(f.outcome, f.badLine), std::pair(outcome, badLine));
        if (f.ok()) {
            EXPECT_EQ(f.records, (Strings{k16Bytes, kEnd}));
            continue;
        }
        prompt.clear();
        EXPECT_EQ(FlashUpdate(p, link, path, view), FlashOutcome::FileRefused);
        EXPECT_THAT(prompt.messages(), ElementsAre(said));
        if (outcome != FirmwareFile::ParityError) {
            EXPECT_EQ(view.shown.back().row4, said);
        }
    }
    prompt.clear();
    EXPECT_EQ(FlashUpdate(p, link, dir.file("none.Abs"), view), FlashOutcome::FileRefused);
    EXPECT_THAT(prompt.messages(), ElementsAre(dir.file("none.Abs") + ": no such file"));
    EXPECT_EQ(port.opens, 0);
}

struct DialogPrompt : ScriptedPrompt {
    std::vector<FileRequest> requests;
    std::string openFile(const FileRequest& r) override {
        requests.push_back(r);
        return ScriptedPrompt::openFile(r);
    }
};

TEST(FirmwareDialog, StartsInTheWorkingFolderThenInTheLastFilesFolder) {
    Program p;
    p.WorkDir = "/home/op/Zeto";
    DialogPrompt prompt;
    // the file chosen, then the file and folder kept
    auto choose = [&] { return Strings{ChooseFirmwareFile(p, prompt), p.FwFile, p.FwDir}; };
    prompt.push("/fw/v2/PX32.Abs");
    EXPECT_EQ(choose(), (Strings{"/fw/v2/PX32.Abs", "/fw/v2/PX32.Abs", "/fw/v2"}));
    prompt.push("");  // cancelled: the folder stays
    EXPECT_EQ(choose(), (Strings{"", "/fw/v2/PX32.Abs", "/fw/v2"}));
    prompt.push(std::optional<std::string>("/" + std::string(2001, 'x')));  // longer than a path may be
    EXPECT_EQ(choose(), (Strings{"", "/fw/v2/PX32.Abs", "/fw/v2"}));
    ASSERT_EQ(prompt.requests.size(), 3u);
    const FileRequest& first = prompt.requests[0];
    EXPECT_EQ((Strings{first.title, first.folder, prompt.requests[1].folder}),
              (Strings{"Open file", "/home/op/Zeto", "/fw/v2"}));
    using Filters = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(first.filters, (Filters{{"File Absolute HEX (*.Abs)", "*.abs"}, {"All Files   (*.*)", "*.*"}}));
}

}  // namespace
}  // namespace cam
