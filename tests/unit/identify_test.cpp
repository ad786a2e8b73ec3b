// Identification of the device by its "?M" reply, over the fake port.
#include "core/link/identify.h"
#include "core/model/scripted_prompt.h"
#include "support/fake_port.h"

#include <gtest/gtest.h>

#include <array>

namespace cam {
namespace {

using Model = std::array<int, 4>;  // cams, sizes, messages, encoders
using Strings = std::vector<std::string>;

// Brand at position 16: cams at 5, sizes at 8, messages at 11, encoders at 54.
const std::string kReply = "KLM 32C60F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC2";

struct Identify : FakeLink {
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
    void setModel(Model m) { std::tie(p.NCams, p.NSizes, p.NMsgs, p.NEncoders) = std::tuple(m[0], m[1], m[2], m[3]); }
    Model model() const { return {p.NCams, p.NSizes, p.NMsgs, p.NEncoders}; }
};

struct IdentifyFixture : Identify, ::testing::Test {};

TEST_F(IdentifyFixture, WorkedExampleSetsTheModelAndLeavesThePortOpen) {
    device(kReply);
    setModel({16, 15, 180, 1});
    EXPECT_TRUE(identify());
    EXPECT_EQ(model(), (Model{32, 60, 255, 2}));
    EXPECT_EQ(port.written, "?M\x8C\r");
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_EQ(ModelText(p), "32 cams, 60 sizes, 255 messages, 2 encoders");
    p.NEncoders = 1;
    EXPECT_EQ(ModelText(p), "32 cams, 60 sizes, 255 messages, 1 encoder");
}

// Sizes the model window does not offer are taken; a blank or a sign inside a field is read.
TEST_F(IdentifyFixture, SizesTheModelWindowDoesNotOfferAndBlanksOrSignsInsideFieldsAreRead) {
    for (auto [line, after] : std::vector<std::pair<const char*, Model>>{
             {"KLM 16C45F180M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {16, 45, 180, 1}},
             {"KLM 32C 7F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 255, 1}},
             {"KLM 32C-7F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 255, 1}}}) {
        device(line);
        EXPECT_TRUE(identify()) << line;
        EXPECT_EQ(model(), after) << line;
    }
}

// Fields are taken messages, cams, sizes: an unsupported one keeps those before it. A brand
// too close to the start for the cams field, or a reply without its encoder digit, is
// unsupported at once.
TEST(IdentifyDevice, UnsupportedRepliesKeepTheFieldsAcceptedBeforeThem) {
    for (auto [line, after] : std::vector<std::pair<const char*, Model>>{
             {"KLM 16C15F100M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 180, 1}},
             {"KLM 24C15F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 255, 1}},
             {"KLM 16C40F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {16, 7, 255, 1}},
             {"32C60F255MZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC2 AND MORE", {32, 7, 180, 1}},
             {"KLM 32C60F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC", {32, 7, 180, 1}}}) {
        SCOPED_TRACE(line);
        Identify id;
        id.device(line);
        id.setModel({32, 7, 180, 1});
        EXPECT_FALSE(id.identify());
        EXPECT_EQ(id.queries, 1);
        EXPECT_EQ(id.model(), after);
        EXPECT_EQ(id.prompt.messages(), Strings{"DEVICE UNSUPPORTED"});
        EXPECT_EQ(id.prompt.asked()[0].icon, Icon::None);
        EXPECT_FALSE(id.port.isOpen());
        EXPECT_EQ(id.port.rtsChanges, std::vector<bool>{false});
    }
}

// A silent device, CTS absent and a port lost during the query: the device is not found.
TEST(IdentifyDevice, NoAnswerIsNotFound) {
    struct Case {
        const char* name;
        std::function<void(Identify&)> given;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"silent", [](Identify&) {}, "?M\x8C\r"},
        {"CTS absent",
         [](Identify& id) {
             id.port.ctsState = LineState::NotAsserted;
             id.device(kReply);
         },
         ""},
        {"port lost",
         [](Identify& id) { id.port.device = [](FakePort& f, const std::string&) { f.unplugAfter(200); }; },
         "?M\x8C\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Identify id;
        c.given(id);
        EXPECT_FALSE(id.identify());
        EXPECT_EQ(id.prompt.messages(), Strings{"KLM NOT FOUND\rCONTROL WIRING"});
        EXPECT_EQ(std::tie(id.prompt.asked()[0].icon, id.prompt.asked()[0].buttons),
                  std::tuple(Icon::Information, Buttons::Ok));
        EXPECT_EQ(id.port.written, c.written);
        EXPECT_FALSE(id.port.isOpen());
        if (!c.written.empty()) {
            EXPECT_TRUE(id.p.ReadError);
        }
    }
}

TEST_F(IdentifyFixture, EchoReturnsFalseQuietlyWithThePortOpen) {
    port.device = [](FakePort& f, const std::string& w) { f.reply(w, 1); };
    setModel({32, 7, 255, 1});
    EXPECT_FALSE(identify());
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(port.rtsChanges.empty());
    EXPECT_EQ(model(), (Model{32, 7, 255, 1}));
}

TEST_F(IdentifyFixture, MissingBrandIsAskedTenMoreTimesThenUnsupported) {
    device("KLM 32C60F255M ---- CAM PROGRAMMER X9K31 FW 2.0.2 ENC2");
    std::int64_t start = clock.nowMs();
    EXPECT_FALSE(identify());
    EXPECT_EQ(port.writes, Strings(11, "?M\x8C\r"));
    EXPECT_GE(since(start), 10 * 50);
    EXPECT_EQ(prompt.messages(), Strings{"DEVICE UNSUPPORTED"});
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.rtsChanges, std::vector<bool>{false});

    // A brand that comes on a later query is accepted.
    int n = 0;
    port.device = [&n](FakePort& f, const std::string&) { f.reply(++n < 3 ? "BUSY\r" : kReply + "\r", 20); };
    EXPECT_TRUE(identify());
    EXPECT_EQ(n, 3);
    EXPECT_EQ(p.NCams, 32);
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
