// The cam file reader on good and bad files: every message, every failure path, and the
// round trip through the writer.
#include "core/camfile/cam_file.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Ints = std::vector<int>;
constexpr const char* kFormatError = " IS NOT A CAM FILE";

const std::string kOneEncoderHead =
    "FUNZIONI  32 - 7 \r\nANTICIPI OFF\r\nRITARDI OFF\r\nRAPPORTI OFF\r\nFORMATO IN USCITA    1 \r\n"
    "SFASAMENTO ENCODER   0 \r\nSENSO DI ROTAZIONE   0 \r\nLIMITE DI VELOCITA'   0 \r\n";

class CamFileRead : public ::testing::Test {
protected:
    CamFileRead() { p.LngTxt[10] = kFormatError; }
    cam::CamFileRead Read(std::string_view bytes) { return cam::ReadCamFile(p, dir.write("t.Cam", bytes), prompt); }
    bool On(int size, int cam, int pos) const { return p.CamPos(size, cam, pos) == 1; }
    std::string Listed(int size, int cam) {
        cam::SizeToText(p, size, cam);
        std::string out;
        for (int i = 1; !p.SizeText[i].empty(); ++i) out += p.SizeText[i] + "|";
        return out;
    }

    camtest::ScratchFolder dir;
    cam::Program p = camtest::MakeProgram();
    cam::ScriptedPrompt prompt;
};

// Lines end with CR LF or with LF alone; the last may have no end. The delay and ratio lines
// are the one-encoder form, whatever the tables held before: a save then writes them back
// instead of an encoder line and zero group advances.
TEST_F(CamFileRead, WorkedExampleReadsBackWithEitherLineEnd) {
    const std::string crlf = kOneEncoderHead + " FORMATO N. 01\r\nC 03\"X\"\r\n 0100 0200\r\n FORMATO N. 02\r\nEND";
    std::string lf = crlf;
    std::erase(lf, '\r');
    for (const auto& [file, encodersBefore] : std::vector<std::pair<std::string, int>>{{crlf, 0}, {lf, 2}, {crlf, 3}}) {
        p = camtest::MakeProgram(32, 7, encodersBefore);
        Read(file);
        EXPECT_FALSE(p.ReadError);
        EXPECT_TRUE(prompt.messages().empty());
        EXPECT_EQ(Listed(1, 2), " 0100 0200|");
        EXPECT_EQ(p.CamRemark[2], "X");
        EXPECT_EQ((Ints{p.OutSize, p.NEncoders}), (Ints{1, 1}));
        EXPECT_EQ(p.FileDims, " 32 - 7 ");
    }
}

TEST_F(CamFileRead, WholeFileRoundTripsByteForByte) {
    cam::Program a = camtest::MakeProgram(32, 7, 3);
    a.AdvOn = 1;
    a.NAdvCams = 32;
    for (int i = 0; i < 32; ++i) a.AdvMs[i] = static_cast<std::uint8_t>(i * 6);
    a.EncShift = 1000;
    a.EncShift2 = 1024;
    a.EncShift3 = 3;
    a.RotDir3 = 1;
    a.SpeedLimit = 9999;
    a.OutSize = 7;
    a.CamRemark[0] = "say \"hi\"";
    a.CamRemark[31] = "ONLY A REMARK";
    cam::SetPhase(a, 1, 0, 1000, 24);
    cam::SetPhase(a, 7, 30, 0, 1024);
    for (int on = 1; on < 1024; on += 2) cam::SetPhase(a, 3, 1, on, on + 1);  // 511 phases + 1023..0
    const std::string bytes = cam::CamFileText(a);

    p.NEncoders = 1;
    Read(bytes);
    EXPECT_FALSE(p.ReadError);
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_EQ(cam::CamFileText(p), bytes);  // the encoder count and the remarks with the rest
}

TEST_F(CamFileRead, ValuesReadBackUnchangedAndOutOfRangeOnesAreBroughtIntoTheirFields) {
    Read(
        "FUNZIONI  32 - 7 \r\nANTICIPI OFF\r\n"
        "RITARDI ON\r\nRITARDO CAMS 17-20   ms. 5 \r\nRITARDO CAMS 21-24   ms. 210 \r\n"
        "RAPPORTI  ON \r\nRAPPORTO CAMS 25-32 =  9 \r\n"
        "FORMATO IN USCITA    7 \r\nSFASAMENTO ENCODER   1000 \r\nSENSO DI ROTAZIONE   1 \r\n"
        "LIMITE DI VELOCITA'   9999 \r\nEND\r\n");
    EXPECT_FALSE(p.ReadError);
    EXPECT_EQ((Ints{p.DelayOn, p.Delay17_20, p.Delay21_24, p.RatioOn, p.Ratio25_32, p.EncShift, p.SpeedLimit}),
              (Ints{1, 5, 210, 1, 9, 1000, 9999}));

    // Clamped, never wrapped.
    Read(
        "FUNZIONI  32 - 7 \r\nANTICIPI ON    2 \r\nANTICIPO CAMS  01 ms   300 \r\nANTICIPO CAMS  02 ms  -5 \r\n"
        "RITARDI ON\r\nRITARDO CAMS 17-20   ms. 256 \r\nRITARDO CAMS 21-24   ms. 1e9 \r\n"
        "RAPPORTI OFF\r\nFORMATO IN USCITA    999 \r\nSFASAMENTO ENCODER   99999 \r\nSENSO DI ROTAZIONE  -1 \r\n"
        "LIMITE DI VELOCITA'  -40000 \r\nEND\r\n");
    EXPECT_FALSE(p.ReadError);
    EXPECT_EQ((Ints{p.AdvMs[0], p.AdvMs[1], p.Delay17_20, p.Delay21_24, p.OutSize, p.EncShift, p.RotDir, p.SpeedLimit}),
              (Ints{255, 0, 255, 255, 255, 32767, 0, -32768}));
}

// A megabyte line, or raw control bytes, reach the message only as a short, printable quote.
TEST_F(CamFileRead, MessagesQuoteAtMostTheStartOfALine) {
    EXPECT_EQ(Read(std::string(10'000'000, 'x') + "\x07\r\nEND\r\n"), cam::CamFileRead::Failed);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0], std::string(80, 'x') + "..." + kFormatError);
    prompt.clear();
    EXPECT_EQ(Read(kOneEncoderHead + " FORMATO N. 01\r\nC 40\x1b\r\nEND\r\n"), cam::CamFileRead::StoppedEarly);
    EXPECT_EQ(prompt.messages().at(0).rfind("C 40? : READING STOPPED AT THIS LINE", 0), 0u) << prompt.messages()[0];
}

TEST_F(CamFileRead, SixteenCamsStoreTheirGroupAdvancesIn8And12) {
    p = camtest::MakeProgram(16, 15);
    p.LngTxt[10] = kFormatError;
    Read(
        "FUNZIONI  16 - 15 \r\nANTICIPI OFF\r\n2ENC\r\n"
        "ANTICIPO CAMS 17-20   ms  77 \r\nANTICIPO CAMS 21-24   ms  88 \r\n"
        "ANTICIPO CAMS 25-28   ms  99 \r\nANTICIPO CAMS 29-32   ms  111 \r\n"
        "SFASAMENTO ENCODER   5 \r\nSENSO DI ROTAZIONE   1 \r\n"
        "FORMATO IN USCITA    0 \r\nSFASAMENTO ENCODER   0 \r\nSENSO DI ROTAZIONE   0 \r\n"
        "LIMITE DI VELOCITA'   0 \r\n FORMATO N. 15\r\nC 16\r\n 0001 0002\r\nEND\r\n");
    EXPECT_FALSE(p.ReadError);
    ASSERT_EQ(p.AdvMs.size(), 16u);
    EXPECT_EQ((Ints{p.AdvMs[8], p.AdvMs[12], p.NEncoders, p.EncShift2}), (Ints{77, 88, 2, 5}));
    EXPECT_TRUE(On(15, 15, 1));
}

// Another number of cams is refused; more sizes than the tables have is asked about. Either
// way nothing is read.
TEST_F(CamFileRead, WrongNumberOfCamsOrTooManySizesCancelledLeaveTheTablesAlone) {
    const std::string functions = " \r\nANTICIPI ON    1 \r\nANTICIPO CAMS  01 ms   9 \r\nEND\r\n";
    cam::SetPhase(p, 1, 0, 10, 20);
    Read("FUNZIONI  16 - 15" + functions);
    EXPECT_TRUE(p.ReadError);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, "16 WRONG NUMBER OF CAMS 32");
    EXPECT_EQ(prompt.asked()[0].buttons, cam::Buttons::Ok);
    EXPECT_EQ(prompt.asked()[0].icon, cam::Icon::Stop);
    prompt.push(cam::Answer::Cancel);
    Read("FUNZIONI  32 - 30" + functions);
    EXPECT_TRUE(p.ReadError);
    ASSERT_EQ(prompt.asked().size(), 2u);
    EXPECT_EQ(prompt.asked()[1].text, "30 BAD TOTAL FORMATS 7");
    EXPECT_EQ(prompt.asked()[1].buttons, cam::Buttons::OkCancel);
    EXPECT_TRUE(On(1, 0, 10));
    EXPECT_EQ((Ints{p.AdvOn, p.AdvMs[0]}), (Ints{0, 0}));
}

TEST_F(CamFileRead, TooManySizesAcceptedReadsTheSizesThatFitAndSaysWhereItStopped) {
    prompt.push(cam::Answer::Ok);
    Read("FUNZIONI  32 - 30 \r\n" + kOneEncoderHead.substr(19) + " FORMATO N. 07\r\nC 01\"LAST\"\r\n 0001 0002\r\n" +
         " FORMATO N. 08\r\nC 02\"EIGHT\"\r\n 0003 0004\r\n FORMATO N. 09\r\nC 03\r\n 0005 0006\r\nEND\r\n");
    EXPECT_FALSE(p.ReadError);
    ASSERT_EQ(prompt.messages().size(), 2u);
    EXPECT_EQ(prompt.messages()[1], " 0003 0004 : READING STOPPED AT THIS LINE, SIZE 8 IS OUTSIDE 1..7");
    EXPECT_EQ(prompt.asked()[1].icon, cam::Icon::Exclamation);
    EXPECT_TRUE(On(7, 0, 1));
    EXPECT_EQ(p.CamRemark[0], "LAST");
    EXPECT_EQ(p.CamRemark[1], "EIGHT");  // remarks are not per size; the line before the phase was read
    EXPECT_EQ(p.LineBuf, " 0003 0004");
}

TEST_F(CamFileRead, CamOrPositionOutsideTheTablesEndsTheReadWithAMessage) {
    const std::string head = kOneEncoderHead + " FORMATO N. 01\r\nC 01\r\n 0001 0002\r\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C 33\"NOPE\"\r\n 0003 0004\r\n", "C 33\"NOPE\" : READING STOPPED AT THIS LINE, CAM 33 IS OUTSIDE 1..32"},
        {"C 00\r\n", "C 00 : READING STOPPED AT THIS LINE, CAM 0 IS OUTSIDE 1..32"},
        {" 1024 0004\r\n 0005 0006\r\n", " 1024 0004 : READING STOPPED AT THIS LINE, POSITION 1024 IS OUTSIDE 0..1023"},
        {" 0010 1025\r\n", " 0010 1025 : READING STOPPED AT THIS LINE, POSITION 1025 IS OUTSIDE 0..1024"},
    };
    for (const auto& [tail, shown] : cases) {
        prompt.clear();
        Read(head + tail + "END\r\n");
        EXPECT_FALSE(p.ReadError) << tail;
        EXPECT_EQ(prompt.messages(), std::vector<std::string>{shown});
        EXPECT_TRUE(On(1, 0, 1));
        EXPECT_FALSE(On(1, 0, 3) || On(1, 0, 5)) << tail;
    }
}

TEST_F(CamFileRead, WholeRevolutionReadsBackFromOff1024AndEndInsideASizeEndsTheSizes) {
    Read(kOneEncoderHead + " FORMATO N. 03\r\nC 02\r\n 0000 1024\r\nEND\r\n");
    EXPECT_FALSE(p.ReadError);
    EXPECT_TRUE(On(3, 1, 0) && On(3, 1, 512) && On(3, 1, 1023));

    Read(kOneEncoderHead + " FORMATO N. 01\r\nC 01\r\n 0001 0002\r\nEND\r\n FORMATO N. 02\r\nC 01\r\n 0001 0002\r\n");
    EXPECT_FALSE(p.ReadError);
    EXPECT_TRUE(On(1, 0, 1));
    EXPECT_FALSE(On(2, 0, 1));
}

TEST_F(CamFileRead, FileStartingWithASizeIsImportedAfterAsking) {
    prompt.push(cam::Answer::Ok);
    p.OutSize = 3;
    Read(" FORMATO N. 02\r\nC 04\r\n 0010 0020\r\nEND\r\n");
    EXPECT_FALSE(p.ReadError);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, "IMPORT ONLY CAM FILE");
    EXPECT_EQ(prompt.asked()[0].buttons, cam::Buttons::OkCancel);
    EXPECT_EQ(prompt.asked()[0].icon, cam::Icon::Exclamation);
    EXPECT_TRUE(On(2, 3, 10));
    EXPECT_EQ(p.OutSize, 3);  // no functions block, nothing changed there

    prompt.clear();
    prompt.push(cam::Answer::Cancel);
    Read(" FORMATO N. 02\r\nEND\r\n");
    EXPECT_TRUE(p.ReadError);
    EXPECT_EQ(prompt.messages().at(1), std::string(" FORMATO N. 02") + kFormatError);
}

TEST_F(CamFileRead, FormatErrorsNameTheLine) {
    const std::string f = "FUNZIONI  32 - 7 \r\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "t.Cam"},  // an empty file shows no line: its name stands there
        {"HELLO\r\n", "HELLO"},
        {f, "FUNZIONI  32 - 7 "},
        {f + "ANTICIPI MAYBE\r\n", "ANTICIPI MAYBE"},
        {f + "ANTICIPI ON    33 \r\n", "ANTICIPI ON    33 "},
        {f + "ANTICIPI ON    2 \r\nANTICIPO CAMS  01 ms   5 \r\n", "ANTICIPO CAMS  01 ms   5 "},
        {f + "ANTICIPI OFF\r\nDELAYS OFF\r\n", "DELAYS OFF"},
        {f + "ANTICIPI OFF\r\nRITARDI OFF\r\nRAPPORTI\r\n", "RAPPORTI"},
        {f + "ANTICIPI OFF\r\n2ENC\r\nA\r\nB\r\n", "B"},
        {f + "ANTICIPI OFF\r\n2ENC\r\nA\r\nB\r\nC\r\nD\r\nSENSO  1 \r\n", "SENSO  1 "},
        {f + "ANTICIPI OFF\r\nRITARDI OFF\r\nRAPPORTI OFF\r\nOUTPUT 1\r\n", "OUTPUT 1"},
    };
    for (const auto& [file, shown] : cases) {
        prompt.clear();
        p.ReadError = false;
        Read(file);
        EXPECT_TRUE(p.ReadError) << file;
        ASSERT_EQ(prompt.asked().size(), 1u) << file;
        EXPECT_EQ(prompt.asked()[0].text, shown + kFormatError) << file;
        EXPECT_EQ(prompt.asked()[0].icon, cam::Icon::Exclamation);
    }
    // Values read before the error stay.
    Read(f + "ANTICIPI ON    1 \r\nANTICIPO CAMS  01 ms   42 \r\nRITARDI OFF\r\nRAPPORTI OFF\r\n");
    EXPECT_TRUE(p.ReadError);
    EXPECT_EQ((Ints{p.AdvMs[0], p.AdvOn}), (Ints{42, 1}));
}

TEST_F(CamFileRead, ShortHeaderSkipsTheModelChecks) {
    cam::SetPhase(p, 1, 0, 10, 20);
    Read("FUNZIONI\r\n" + kOneEncoderHead.substr(19) + "END\r\n");
    EXPECT_FALSE(p.ReadError);
    EXPECT_TRUE(On(1, 0, 10)) << "no re-dimensioning, so the tables were not emptied";
}

TEST_F(CamFileRead, MissingFileChangesNothingAndAnUnreadableOneIsReported) {
    p.ReadError = true;
    p.OutSize = 9;
    cam::ReadCamFile(p, dir.file("none.Cam"), prompt);
    cam::ReadCamFile(p, "", prompt);
    EXPECT_TRUE(p.ReadError);
    EXPECT_EQ(p.OutSize, 9);
    EXPECT_TRUE(prompt.asked().empty());

    p.ReadError = false;
    cam::ReadCamFile(p, dir.str(), prompt);
    EXPECT_TRUE(p.ReadError);
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{dir.str() + ": is a folder, not a file"});
}

TEST(SizeBlock, ReadsUntilTheNextSizeAndReportsWhatIsOutsideTheTables) {
    cam::Program p = camtest::MakeProgram();
    cam::LineSource in("\r\nC 02\"A\"\"\r\n 0010 0020\r\nignored\r\n 0030 0040\r\n FORMATO N. 02\r\nC 03\r\n");
    EXPECT_TRUE(cam::ReadSizeBlock(p, 1, in));
    EXPECT_EQ(p.LineBuf, " FORMATO N. 02");
    EXPECT_EQ(p.CamRemark[1], "A\"");
    EXPECT_EQ(p.CamPos(1, 1, 10), 1);
    EXPECT_EQ(p.CamPos(1, 1, 39), 1);

    cam::LineSource outside("C 01\r\n 0010 0020\r\n");
    std::string stop;
    EXPECT_FALSE(cam::ReadSizeBlock(p, 0, outside, &stop));
    EXPECT_EQ(stop, " 0010 0020 : READING STOPPED AT THIS LINE, SIZE 0 IS OUTSIDE 1..7");
}

// The model a file's header names, when it is one a programmer can have.
TEST(HeaderModel, CountsOfTheHeaderOrNothing) {
    camtest::ScratchFolder dir;
    const auto model = cam::HeaderModel(dir.write("a.Cam", "FUNZIONI  16 - 60 \r\nEND\r\n"));
    ASSERT_TRUE(model.has_value());
    EXPECT_EQ(model->NCams * 100 + model->NSizes, 1660);
    EXPECT_FALSE(cam::HeaderModel(dir.write("b.Cam", "FUNZIONI  24 - 7 \r\n")).has_value());
    EXPECT_FALSE(cam::HeaderModel(dir.write("c.Cam", "FUNZIONI  32 - 61 \r\n")).has_value());
    EXPECT_FALSE(cam::HeaderModel(dir.write("d.Cam", " FORMATO N. 01\r\n")).has_value());
    EXPECT_FALSE(cam::HeaderModel(dir.file("missing.Cam")).has_value());
}

}  // namespace
