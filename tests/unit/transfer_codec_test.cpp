// The functions block and sizes as they go to the device, and the reception parser.
#include "core/link/functions_wire.h"
#include "core/link/reception_parser.h"
#include "core/model/program.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

using namespace cam;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using camtest::MakeProgram;
using Ints = std::vector<int>;

// Delays and ratio do not exist with several encoders; group advances do.
TEST(FunctionBlocks, AdvancesDelaysAndRatioByCamAndEncoderCount) {
    Program p = MakeProgram(32, 7, 1);
    std::tie(p.AdvOn, p.NAdvCams, p.AdvMs[0], p.AdvMs[1], p.AdvMs[2]) = std::tuple(1, 3, 10, 200, 5);
    std::tie(p.OutSize, p.EncShift, p.RotDir, p.SpeedLimit) = std::tuple(5, 90, 1, 1500);
    EXPECT_THAT(FunctionBlocks(p), ElementsAre("1000", "030AC805", "0509011500"));

    p = MakeProgram(32, 7, 1);
    std::tie(p.DelayOn, p.Delay17_20, p.Delay21_24, p.RatioOn, p.Ratio25_32) = std::tuple(1, 5, 210, 1, 3);
    EXPECT_THAT(FunctionBlocks(p), ElementsAre("0110", "05D2", "0300", "0000000000"));

    std::tie(p.NEncoders, p.AdvMs[16], p.AdvMs[20], p.AdvMs[24], p.AdvMs[28]) = std::tuple(3, 1, 2, 3, 255);
    // A shift of 1000 has three decimal digits on the wire: the transmission warns first.
    std::tie(p.EncShift2, p.RotDir2, p.EncShift3) = std::tuple(7, 1, 1000);
    EXPECT_THAT(FunctionBlocks(p), ElementsAre("0110", "010203FF", "0000000000", "00710000"));

    Program q = MakeProgram(16, 15, 1);
    EXPECT_THAT(FunctionBlocks(q), ElementsAre("00", "0000000000"));
    std::tie(q.NAdvCams, q.AdvMs[0], q.AdvMs[1], q.NEncoders, q.AdvMs[8], q.AdvMs[12]) = std::tuple(2, 16, 1, 2, 8, 12);
    EXPECT_THAT(FunctionBlocks(q), ElementsAre("021001", "080C", "0000000000", "00000000"));
}

TEST(SizeBlocks, HeaderThenDeviceFormCamLinesAtMost181Phases) {
    Program p = MakeProgram(32, 7, 1);
    SetPhase(p, 7, 2, 100, 200);
    std::tie(p.CamRemark[2], p.CamRemark[5]) = std::tuple("GLUE", "NOPHASE");
    EXPECT_THAT(SizeBlocks(p, 7), ElementsAre("F07", "C 03", " 0100 0200"));
    SetPhase(p, 1, 2, 100, 200);
    const auto first = SizeBlocks(p, 1);  // size 1 announces every cam
    ASSERT_GE(first.size(), 5u);
    EXPECT_THAT(std::vector<std::string>(first.begin(), first.begin() + 5),
                ElementsAre("F01", "C 01\"  \"", "C 02\"  \"", "C 03\"GLUE\"", " 0100 0200"));

    // At most 181 phases a cam, and the loss is told.
    for (int q = 1; q < 400; q += 2) SetPhase(p, 2, 0, q, q + 1);
    EXPECT_EQ(SizeBlocks(p, 2).size(), 1u + 1u + 181u);
    EXPECT_THAT(TransmitLosses(p, 7),
                ElementsAre(AllOf(HasSubstr("Cam 01"), HasSubstr("02 (200)")), HasSubstr("NOPHASE")));
}

TEST(TransmitLosses, AlwaysOnCamsWideValuesAndRemarks) {
    Program p = MakeProgram(32, 7, 1);
    EXPECT_TRUE(TransmitLosses(p, 7).empty());
    SetPhase(p, 3, 4, 0, 1024);
    p.EncShift = 1000;
    EXPECT_THAT(TransmitLosses(p, 7), ElementsAre(AllOf(HasSubstr("Cam 05"), HasSubstr("always ON")),
                                                  AllOf(HasSubstr("1000"), HasSubstr("000"))));
    EXPECT_EQ(TransmitLosses(p, 2).size(), 1u);  // only the sizes that are sent count
    // One turn is no shift: 1024 goes as 000, with nothing to tell.
    p.EncShift = 1024;
    EXPECT_EQ(TransmitLosses(p, 2).size(), 0u);
    FitFunctionsToWire(p, true);
    EXPECT_EQ(FunctionBlocks(p).back(), "0000000000");
    // The ratio of cams 17-32 goes as a switch without its value, unless the 25-32 block carries it.
    std::tie(p.Ratio17On, p.Ratio25_32) = std::tuple(1, 4);
    EXPECT_THAT(TransmitLosses(p, 2), ElementsAre(HasSubstr("cams 17-32 (1/4) is not sent")));
    p.RatioOn = 1;
    EXPECT_TRUE(TransmitLosses(p, 2).empty());

    // The remark of a cam without a phase in size 1 is lost.
    std::tie(p.CamRemark[3], p.CamRemark[4]) = std::tuple("PUSHER", "   ");  // a blank one has nothing to lose
    SetPhase(p, 2, 3, 10, 20);
    EXPECT_THAT(TransmitLosses(p, 2), ElementsAre(AllOf(HasSubstr("Cam 04"), HasSubstr("PUSHER"))));
    SetPhase(p, 1, 3, 1000, 24);  // a phase through position 0 carries the remark
    EXPECT_TRUE(TransmitLosses(p, 2).empty());
}

struct Reception : ::testing::Test {
    Program p = MakeProgram(32, 7, 1);
    ScriptedPrompt prompt;
    ReceptionResult Parse(Program& p, const std::string& text, int remembered) {
        LineSource in(text);
        return ParseReception(p, in, remembered, prompt);
    }
};

TEST_F(Reception, ThirtyTwoCamsOneEncoder) {
    auto r = Parse(p,
                   "FUNZIONI 32-07\r\n"
                   "01000101\r\n"      // advances on, delays off, ratio on, ratio 17-32 on
                   "030AFF05\r\n"      // three advances; FF is more than any advance
                   "0301\r\n"          // ratio 3
                   "0700640105DC\r\n"  // size 7, shift 0x64, direction 1, limit 0x5DC
                   " FORMATO N. 01\r\n"
                   "C 03\"GLUE\"\r\n"
                   " 0100 0200\r\n"
                   " FORMATO N. 02\r\n"
                   "END\r\n",
                   32);
    EXPECT_EQ(std::pair(r.accepted, prompt.messages()), std::pair(true, std::vector<std::string>{}));
    EXPECT_EQ((Ints{p.AdvOn, p.DelayOn, p.RatioOn, p.NAdvCams, p.AdvMs[0], p.AdvMs[1], p.AdvMs[2], p.Ratio25_32,
                    p.Ratio17On, p.OutSize, p.EncShift, p.RotDir, p.SpeedLimit}),
              (Ints{1, 0, 1, 3, 10, 210, 5, 3, 1, 7, 100, 1, 1500}));
    EXPECT_EQ(std::tuple(p.CamRemark[2], p.CamPos(1, 2, 100), p.CamPos(1, 2, 200)), std::tuple("GLUE", 1, 0));
    EXPECT_THAT(r.corrections, ElementsAre(HasSubstr("255")));  // the advance FF
}

TEST_F(Reception, GroupAdvancesWithSeveralEncodersAndClamps) {
    p = MakeProgram(32, 7, 2);
    auto r = Parse(p, "FUNZIONI 32-07\r\n01FF0102D2\r\n01C8\r\n08FFFF02FFFF000100000401\r\nEND\r\n", 32);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ((Ints{p.DelayOn, p.AdvMs[16], p.AdvMs[20], p.AdvMs[24], p.AdvMs[28], p.AdvMs[0]}),
              (Ints{0, 210, 1, 2, 210, 200}));
    // Size 8 is above the model's 7 sizes; shift FFFF, direction 02 and limit FFFF are clamped too.
    EXPECT_EQ((Ints{p.OutSize, p.EncShift, p.RotDir, p.SpeedLimit, p.EncShift2, p.RotDir2, p.EncShift3, p.RotDir3}),
              (Ints{7, 1024, 1, 9999, 1, 0, 4, 1}));
    EXPECT_EQ(r.corrections.size(), 5u);
    EXPECT_THAT(CorrectionsMessage(p, r.corrections), HasSubstr("Speed limit 65535 -> 9999"));
}

TEST_F(Reception, SixteenCamDeviceTurnsAdvancesOnWithTheirCountLimitedToTheCams) {
    p = MakeProgram(16, 15, 1);
    EXPECT_TRUE(Parse(p, "FUNZIONI 16-15\r\n0214FF\r\n00000000000\r\nEND\r\n", 16).accepted);
    EXPECT_EQ((Ints{p.AdvOn, p.NAdvCams, p.AdvMs[0], p.AdvMs[1]}), (Ints{1, 2, 20, 210}));
    Parse(p, "FUNZIONI 16-15\r\n40\r\n00000000000\r\nEND\r\n", 16);
    EXPECT_EQ(p.NAdvCams, 16);

    Program q = MakeProgram(16, 15, 1);
    Parse(q, "FUNZIONI 16-15\r\n00\r\n00000000000\r\nEND\r\n", 16);
    EXPECT_EQ(q.AdvOn, 0);
}

TEST_F(Reception, WrongCamCountLeavesTheFunctionsBlock) {
    for (const char* header : {"FUNZIONI 16-15", "FUNZIONI 32 15", "-", ""}) {
        SCOPED_TRACE(header);
        p = MakeProgram(32, 7, 1);
        p.SpeedLimit = 77;
        prompt.clear();
        EXPECT_FALSE(Parse(p, std::string(header) + "\r\n0000\r\n0000000000\r\nEND\r\n", 32).accepted);
        EXPECT_THAT(prompt.messages(), ElementsAre(HasSubstr("WRONG DSP  C.")));
        EXPECT_EQ(p.SpeedLimit, 77);
    }
    prompt.clear();
    Parse(p, "FUNZIONI 16-15\r\n", 32);
    EXPECT_EQ(prompt.messages()[0], "WRONG DSP  C.16");
}

TEST_F(Reception, EndBeforeAllSizesAndSizesOutsideTheModel) {
    auto r = Parse(p,
                   "FUNZIONI 32-07\r\n0000\r\n0000000000\r\n"
                   " FORMATO N. 03\r\nC 01\r\n 0010 0020\r\n"
                   " FORMATO N. 09\r\nC 01\r\n 0010 0020\r\nEND\r\n",
                   32);
    EXPECT_EQ(std::tuple(r.accepted, r.sizesRead, p.CamPos(3, 0, 10)), std::tuple(true, 1, 1));
    EXPECT_THAT(r.stop, HasSubstr("Size 9"));
}
