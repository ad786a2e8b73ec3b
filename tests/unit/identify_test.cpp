// Identification of the device by its "?M" reply, over the fake port.
#include "core/link/identify.h"
#include "core/model/scripted_prompt.h"
#include "support/fake_port.h"

#include <gtest/gtest.h>

#include <array>

namespace cam {
namespace {

// Brand at position 16: cams at 5, sizes at 8, messages at 11, encoders at 54.
const std::string kReply = "KLM 32C60F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC2";

struct IdentifyFixture : ::testing::Test {
    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompt prompt;
    Program p;
    int queries = 0;

    // The device answers each "?M" with line + CR.
    void device(std::string line) {
        port.device = [this, line](FakePort& f, const std::string& w) {
            if (w.empty() || w.back() != '\r') return;
            ++queries;
            f.reply(line + "\r", 30);
        };
    }
    bool identify() { return IdentifyDevice(p, port, clock, prompt); }
    void model(int cams, int sizes, int msgs, int encoders) {
        p.NCams = cams;
        p.NSizes = sizes;
        p.NMsgs = msgs;
        p.NEncoders = encoders;
    }
    void expectModel(int cams, int sizes, int msgs, int encoders) {
        EXPECT_EQ(p.NCams, cams);
        EXPECT_EQ(p.NSizes, sizes);
        EXPECT_EQ(p.NMsgs, msgs);
        EXPECT_EQ(p.NEncoders, encoders);
    }
    void expectClosedWithRtsOff() {
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(port.rtsChanges, std::vector<bool>{false});
    }
};

TEST_F(IdentifyFixture, WorkedExampleSetsTheModelAndLeavesThePortOpen) {
    device(kReply);
    model(16, 15, 180, 1);
    EXPECT_TRUE(identify());
    expectModel(32, 60, 255, 2);
    EXPECT_EQ(port.written, "?M\x8C\r");
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_EQ(ModelText(p), "32 cams, 60 sizes, 255 messages, 2 encoders");
    p.NEncoders = 1;
    EXPECT_EQ(ModelText(p), "32 cams, 60 sizes, 255 messages, 1 encoder");
}

TEST_F(IdentifyFixture, SizesTheModelWindowDoesNotOfferAndBlanksOrSignsInsideFieldsAreRead) {
    device("KLM 16C45F180M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1");
    EXPECT_TRUE(identify());
    expectModel(16, 45, 180, 1);
    for (const char* line : {"KLM 32C 7F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1",
                             "KLM 32C-7F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1"}) {
        device(line);
        EXPECT_TRUE(identify());
        EXPECT_EQ(p.NSizes, 7) << line;
    }
}

// Fields are taken messages, cams, sizes: an unsupported one keeps those before it.
TEST_F(IdentifyFixture, UnsupportedFieldsKeepTheOnesAcceptedBeforeThem) {
    const std::vector<std::pair<const char*, std::array<int, 3>>> cases = {
        // cams, sizes, messages after
        {"KLM 16C15F100M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 180}},
        {"KLM 24C15F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 255}},
        {"KLM 16C40F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {16, 7, 255}}};
    for (const auto& [line, after] : cases) {
        device(line);
        model(32, 7, 180, 1);
        prompt.clear();
        port.rtsChanges.clear();
        EXPECT_FALSE(identify());
        expectModel(after[0], after[1], after[2], 1);
        EXPECT_EQ(prompt.messages(), std::vector<std::string>{"DEVICE UNSUPPORTED"});
        EXPECT_EQ(prompt.asked()[0].icon, Icon::None);
        expectClosedWithRtsOff();
    }
}

TEST_F(IdentifyFixture, SilentDeviceIsNotFound) {
    EXPECT_FALSE(identify());
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"KLM NOT FOUND\rCONTROL WIRING"});
    EXPECT_EQ(prompt.asked()[0].icon, Icon::Information);
    EXPECT_EQ(prompt.asked()[0].buttons, Buttons::Ok);
    EXPECT_TRUE(p.ReadError);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(IdentifyFixture, CtsAbsentOrPortLostDuringTheQueryIsNotFound) {
    port.ctsState = LineState::NotAsserted;
    device(kReply);
    EXPECT_FALSE(identify());
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"KLM NOT FOUND\rCONTROL WIRING"});
    EXPECT_EQ(port.written, "");

    port.ctsState = LineState::Asserted;
    prompt.clear();
    port.device = [](FakePort& f, const std::string&) { f.unplugAfter(200); };
    EXPECT_FALSE(identify());
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"KLM NOT FOUND\rCONTROL WIRING"});
    EXPECT_FALSE(port.isOpen());
}

TEST_F(IdentifyFixture, EchoReturnsFalseQuietlyWithThePortOpen) {
    port.device = [](FakePort& f, const std::string& w) { f.reply(w, 1); };
    model(32, 7, 255, 1);
    EXPECT_FALSE(identify());
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(port.rtsChanges.empty());
    expectModel(32, 7, 255, 1);
}

TEST_F(IdentifyFixture, MissingBrandIsAskedTenMoreTimesThenUnsupported) {
    device("KLM 32C60F255M ---- CAM PROGRAMMER X9K31 FW 2.0.2 ENC2");
    std::int64_t start = clock.nowMs();
    EXPECT_FALSE(identify());
    EXPECT_EQ(queries, 11);
    EXPECT_EQ(port.writes, std::vector<std::string>(11, "?M\x8C\r"));
    EXPECT_GE(clock.nowMs() - start, 10 * 50);
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"DEVICE UNSUPPORTED"});
    expectClosedWithRtsOff();
}

TEST_F(IdentifyFixture, BrandAnsweredOnALaterQueryIsAccepted) {
    int n = 0;
    port.device = [&n](FakePort& f, const std::string&) { f.reply(++n < 3 ? "BUSY\r" : kReply + "\r", 20); };
    EXPECT_TRUE(identify());
    EXPECT_EQ(n, 3);
    EXPECT_EQ(p.NCams, 32);
}

TEST_F(IdentifyFixture, BrandTooCloseToTheStartOrReplyTooShortIsUnsupportedAtOnce) {
    // Brand at position 11: the cams field would start before the line; then no encoder digit.
    for (const char* line : {"32C60F255MZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC2 AND MORE",
                             "KLM 32C60F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC"}) {
        device(line);
        queries = 0;
        prompt.clear();
        model(16, 15, 180, 1);
        EXPECT_FALSE(identify());
        EXPECT_EQ(queries, 1);
        expectModel(16, 15, 180, 1);
        EXPECT_EQ(prompt.messages(), std::vector<std::string>{"DEVICE UNSUPPORTED"});
    }
}

TEST(ReadIdentification, FieldsAreReadOnlyInsideTheReply) {
    EXPECT_EQ(ReadIdentification("").verdict, IdentifyReading::NoBrand);
    EXPECT_EQ(ReadIdentification("ZETO").verdict, IdentifyReading::NoBrand);
    // A brand in the first five characters counts as missing (asked again), not as unsupported.
    EXPECT_EQ(ReadIdentification("ZETO 32C60F255M CAM PROGRAMMER X9K31 FW 2.0.2 ENC2 AND MORE").verdict,
              IdentifyReading::NoBrand);
    EXPECT_EQ(ReadIdentification("123456ZETO").verdict, IdentifyReading::Unsupported);
    EXPECT_EQ(ReadIdentification("KLM 32C60F255M ZETO").verdict, IdentifyReading::Unsupported);
    // The line ends at its first CR: what follows is no encoder digit.
    EXPECT_EQ(ReadIdentification(kReply.substr(0, 53) + "\r2").verdict, IdentifyReading::Unsupported);
    IdentifyReading r = ReadIdentification(kReply);
    EXPECT_EQ(r.verdict, IdentifyReading::Supported);
    EXPECT_EQ(r.encoders, 2);
}

}  // namespace
}  // namespace cam
