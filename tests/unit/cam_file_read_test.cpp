// The cam file: the writer byte for byte, the reader on good and bad files with every message and
// failure path, written files read back, and saving, which replaces a file whole or not at all.
#include "core/camfile/cam_file.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"
#include "support/scratch_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <sstream>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

using Ints = std::vector<int>;
using Texts = std::vector<std::string>;
constexpr const char* kFormatError = " IS NOT A CAM FILE";

const std::string kOneEncoderHead =
    "FUNZIONI  32 - 7 \r\nANTICIPI OFF\r\nRITARDI OFF\r\nRAPPORTI OFF\r\nFORMATO IN USCITA    1 \r\n"
    "SFASAMENTO ENCODER   0 \r\nSENSO DI ROTAZIONE   0 \r\nLIMITE DI VELOCITA'   0 \r\n";

// One phase with a remark on cam 3 of size 1, as the writer gives it.
const std::string kWorkedExample = kOneEncoderHead +
                                   " FORMATO N. 01\r\nC 03\"X\"\r\n 0100 0200\r\n FORMATO N. 02\r\n FORMATO N. 03\r\n"
                                   " FORMATO N. 04\r\n FORMATO N. 05\r\n FORMATO N. 06\r\n FORMATO N. 07\r\nEND\r\n";

cam::Program Model(int cams, int sizes, int encoders = 1) { return camtest::MakeProgram(cams, sizes, encoders); }

std::string Functions(const cam::Program& p) {
    std::ostringstream out;
    cam::WriteFunctions(p, out);
    return out.str();
}

std::string Size(cam::Program& p, int size) {
    std::ostringstream out;
    cam::WriteSize(p, size, out);
    return out.str();
}

// One encoder with advances, delays and ratio.
cam::Program OneEncoder() {
    cam::Program one = Model(32, 30);
    one.AdvOn = one.DelayOn = one.RatioOn = one.RotDir = 1;
    std::tie(one.NAdvCams, one.AdvMs[0], one.AdvMs[1], one.AdvMs[2]) = std::tuple(3, 5, 150, 210);
    std::tie(one.Delay17_20, one.Delay21_24, one.Ratio25_32, one.OutSize) = std::tuple(5, 42, 9, 30);
    std::tie(one.EncShift, one.SpeedLimit) = std::tuple(1000, 9999);
    return one;
}

// Group advances and every encoder; delays and ratio belong to the one-encoder form.
cam::Program ThreeEncoders() {
    cam::Program three = Model(32, 7, 3);
    std::tie(three.AdvMs[16], three.AdvMs[20], three.AdvMs[24], three.AdvMs[28]) = std::tuple(150, 1, 2, 3);
    std::tie(three.EncShift2, three.RotDir2, three.EncShift3) = std::tuple(1024, 1, 12);
    three.DelayOn = three.RatioOn = 1;
    return three;
}

// Sixteen cams carry their two group advances in elements 8 and 12.
cam::Program SixteenCams() {
    cam::Program sixteen = Model(16, 15, 2);
    std::tie(sixteen.AdvMs[8], sixteen.AdvMs[12]) = std::tuple(77, 88);
    return sixteen;
}

TEST(CamFileWriter, WorkedExampleByteForByte) {
    cam::Program p = Model(32, 7);
    std::tie(p.OutSize, p.CamRemark[2]) = std::tuple(1, "X");
    cam::SetPhase(p, 1, 2, 100, 200);
    EXPECT_EQ(cam::CamFileText(p), kWorkedExample);
}

// The functions block in each of its forms, byte for byte.
TEST(CamFileWriter, FunctionsBlockForms) {
    cam::Program one = OneEncoder();
    one.Ratio17On = 1;  // never written
    const cam::Program three = ThreeEncoders();
    EXPECT_EQ(Functions(one),
              "FUNZIONI  32 - 30 \r\nANTICIPI ON    3 \r\nANTICIPO CAMS  01 ms   5 \r\nANTICIPO CAMS  02 ms   150 \r\n"
              "ANTICIPO CAMS  03 ms   210 \r\nRITARDI ON\r\nRITARDO CAMS 17-20   ms. 5 \r\n"
              "RITARDO CAMS 21-24   ms. 42 \r\nRAPPORTI  ON \r\nRAPPORTO CAMS 25-32 =  9 \r\n"
              "FORMATO IN USCITA    30 \r\nSFASAMENTO ENCODER   1000 \r\nSENSO DI ROTAZIONE   1 \r\n"
              "LIMITE DI VELOCITA'   9999 \r\n");
    EXPECT_EQ(Functions(three),
              "FUNZIONI  32 - 7 \r\nANTICIPI OFF\r\n3ENC\r\nANTICIPO CAMS 17-20   ms  150 \r\n"
              "ANTICIPO CAMS 21-24   ms  1 \r\nANTICIPO CAMS 25-28   ms  2 \r\nANTICIPO CAMS 29-32   ms  3 \r\n"
              "SFASAMENTO ENCODER   1024 \r\nSENSO DI ROTAZIONE   1 \r\nSFASAMENTO ENCODER   12 \r\n"
              "SENSO DI ROTAZIONE   0 \r\nFORMATO IN USCITA    0 \r\nSFASAMENTO ENCODER   0 \r\n"
              "SENSO DI ROTAZIONE   0 \r\nLIMITE DI VELOCITA'   0 \r\n");
    // An unknown encoder count takes the several-encoder form, with only encoder 2 besides encoder 1.
    EXPECT_EQ(Functions(Model(32, 7, 0)),
              "FUNZIONI  32 - 7 \r\nANTICIPI OFF\r\n0ENC\r\nANTICIPO CAMS 17-20   ms  0 \r\n"
              "ANTICIPO CAMS 21-24   ms  0 \r\nANTICIPO CAMS 25-28   ms  0 \r\nANTICIPO CAMS 29-32   ms  0 \r\n"
              "SFASAMENTO ENCODER   0 \r\nSENSO DI ROTAZIONE   0 \r\nFORMATO IN USCITA    0 \r\n"
              "SFASAMENTO ENCODER   0 \r\nSENSO DI ROTAZIONE   0 \r\nLIMITE DI VELOCITA'   0 \r\n");
    EXPECT_THAT(Functions(SixteenCams()),
                HasSubstr("2ENC\r\nANTICIPO CAMS 17-20   ms  77 \r\nANTICIPO CAMS 21-24   ms  88 \r\n"
                          "ANTICIPO CAMS 25-28   ms  0 \r\nANTICIPO CAMS 29-32   ms  0 \r\n"));
    // The advance count never reaches past the advances.
    cam::Program many = Model(16, 15);
    std::tie(many.AdvOn, many.NAdvCams) = std::tuple(1, 40);
    EXPECT_THAT(Functions(many), AllOf(HasSubstr("ANTICIPI ON    16 \r\n"), HasSubstr("ANTICIPO CAMS  16 ms   0 \r\n"),
                                       Not(HasSubstr("ANTICIPO CAMS  17"))));
}

// Phases ascending, the wrapping one last; remarks in files wherever the cam has phases, to the device in
// size 1 only, even for a cam without phases; the whole revolution is kept in files but not sent.
TEST(SizeText, LinesOfACamInAFileAndForTheDevice) {
    cam::Program p = Model(32, 7);
    // Size, cam, on, off; 900-1024 ends at 1023: written with OFF 0. A blank remark is no remark.
    const std::array<int, 4> phases[] = {{1, 5, 1000, 24},  {1, 5, 500, 600}, {1, 5, 100, 200},
                                         {2, 5, 900, 1024}, {1, 0, 10, 20},   {2, 0, 10, 20},
                                         {2, 1, 0, 1024},   {4, 3, 10, 20},   {4, 4, 10, 20}};
    for (auto [size, cam, on, off] : phases) cam::SetPhase(p, size, cam, on, off);
    std::tie(p.CamRemark[0], p.CamRemark[3], p.CamRemark[4]) = std::tuple("KNIFE", " Glue \"A\" ", "   ");
    const auto file = cam::SizeTextForm::File, device = cam::SizeTextForm::Device;
    // size, cam, form, the phase lines counted, the lines
    const std::vector<std::tuple<int, int, cam::SizeTextForm, int, Texts>> rows = {
        {1, 5, file, 3, {"C 06", " 0100 0200", " 0500 0600", " 1000 0024", ""}},
        {2, 5, file, 1, {"C 06", " 0900 0000", ""}},
        {4, 3, file, 1, {"C 04\" Glue \"A\" \"", " 0010 0020", ""}},
        {1, 3, file, 0, {""}},  // no phase in this size: nothing
        {4, 4, file, 1, {"C 05", " 0010 0020", ""}},
        {1, 0, device, 1, {"C 01\"KNIFE\"", " 0010 0020", ""}},
        {2, 0, device, 1, {"C 01", " 0010 0020", ""}},
        {1, 7, device, 0, {"C 08\"  \"", ""}},
        {2, 7, device, 0, {""}},
        {2, 1, file, 1, {"C 02", " 0000 1024", ""}},
        {2, 1, device, 0, {""}},
        {8, 0, file, 0, {""}},  // outside the tables
        {1, 32, file, 0, {""}},
        {0, 0, file, 0, {""}}};
    for (const auto& [size, cam, form, count, lines] : rows) {
        SCOPED_TRACE(testing::Message() << "size " << size << ", cam " << cam
                                        << (form == file ? ", file" : ", device"));
        p.SizeText[0] = "stale";
        EXPECT_EQ(cam::SizeToText(p, size, cam, form), count);
        EXPECT_EQ(Texts(p.SizeText.begin(), p.SizeText.begin() + int(lines.size())), lines);
    }
}

TEST(SizeText, RemarkOfACamWithoutPhasesOnItsOwnInSizeOneAndEveryPhaseInFiles) {
    cam::Program p = Model(32, 7);
    p.CamRemark[9] = "SPARE";
    EXPECT_EQ((Texts{Size(p, 1), Size(p, 2)}), (Texts{" FORMATO N. 01\r\nC 10\"SPARE\"\r\n", " FORMATO N. 02\r\n"}));
    // Once the cam has a phase anywhere, the remark travels with the phases only.
    cam::SetPhase(p, 3, 9, 1, 2);
    EXPECT_EQ((Texts{Size(p, 1), Size(p, 3)}),
              (Texts{" FORMATO N. 01\r\n", " FORMATO N. 03\r\nC 10\"SPARE\"\r\n 0001 0002\r\n"}));
    // Files keep every phase of a cam.
    for (int on = 0; on < 1024; on += 2) cam::SetPhase(p, 1, 0, on, on + 1);
    EXPECT_EQ(cam::SizeToText(p, 1, 0), 512);
    EXPECT_EQ((Texts{p.SizeText[1], p.SizeText[182], p.SizeText[512], p.SizeText[513]}),
              (Texts{" 0000 0001", " 0362 0363", " 1022 1023", ""}));
    EXPECT_THAT(Size(p, 1), HasSubstr(" 1022 1023\r\n"));
}

struct CamFileRead : ::testing::Test {
    CamFileRead() { p.LngTxt[10] = kFormatError; }
    cam::CamFileRead Read(std::string_view bytes) { return cam::ReadCamFile(p, dir.write("t.Cam", bytes), prompt); }
    bool On(int size, int cam, int pos) const { return p.CamPos(size, cam, pos) == 1; }

    camtest::ScratchFolder dir;
    cam::Program p = camtest::MakeProgram();
    cam::ScriptedPrompt prompt;
};

// Lines end with CR LF or LF alone, the last maybe with none. Delay and ratio lines are the one-encoder
// form whatever the tables held: a save writes them back, not an encoder line and zero group advances.
TEST_F(CamFileRead, WorkedExampleReadsBackWithEitherLineEnd) {
    std::string lf = kWorkedExample;
    std::erase(lf, '\r');
    lf.pop_back();
    for (const auto& [file, encodersBefore] :
         std::vector<std::pair<std::string, int>>{{kWorkedExample, 0}, {lf, 2}, {kWorkedExample, 3}}) {
        p = camtest::MakeProgram(32, 7, encodersBefore);
        Read(file);
        EXPECT_EQ(std::tuple(p.ReadError, prompt.messages(), p.FileDims, cam::CamFileText(p)),
                  std::tuple(false, Texts{}, " 32 - 7 ", kWorkedExample));
    }
}

// Every form of the functions block with every value, group advances of sixteen cams, remarks with quotes
// and on their own, phases through position 0, the whole revolution, a cam with 512 phases.
TEST_F(CamFileRead, WrittenFilesReadBackByteForByte) {
    cam::Program three = ThreeEncoders();
    std::tie(three.AdvOn, three.NAdvCams, three.RotDir3) = std::tuple(1, 32, 1);
    for (int i = 0; i < 32; ++i) three.AdvMs[i] = static_cast<std::uint8_t>(i * 6);
    std::tie(three.CamRemark[0], three.CamRemark[31]) = std::tuple("say \"hi\"", "ONLY A REMARK");
    cam::SetPhase(three, 1, 0, 1000, 24);
    cam::SetPhase(three, 7, 30, 0, 1024);
    for (int on = 1; on < 1024; on += 2) cam::SetPhase(three, 3, 1, on, on + 1);  // 511 phases + 1023..0
    cam::Program sixteen = SixteenCams();
    std::tie(sixteen.EncShift2, sixteen.RotDir2) = std::tuple(5, 1);
    cam::SetPhase(sixteen, 15, 15, 1, 2);
    for (const cam::Program& written : {OneEncoder(), three, sixteen}) {
        const std::string bytes = cam::CamFileText(written);
        p = camtest::MakeProgram(written.NCams, written.NSizes, 1);
        Read(bytes);
        EXPECT_EQ(std::tuple(p.ReadError, prompt.messages(), cam::CamFileText(p)), std::tuple(false, Texts{}, bytes));
    }
}

// Clamped, never wrapped.
TEST_F(CamFileRead, OutOfRangeValuesAreBroughtIntoTheirFields) {
    Read(
        "FUNZIONI  32 - 7 \r\nANTICIPI ON    2 \r\nANTICIPO CAMS  01 ms   300 \r\nANTICIPO CAMS  02 ms  -5 \r\n"
        "RITARDI ON\r\nRITARDO CAMS 17-20   ms. 256 \r\nRITARDO CAMS 21-24   ms. 1e9 \r\n"
        "RAPPORTI OFF\r\nFORMATO IN USCITA    999 \r\nSFASAMENTO ENCODER   99999 \r\nSENSO DI ROTAZIONE  -1 \r\n"
        "LIMITE DI VELOCITA'  -40000 \r\nEND\r\n");
    EXPECT_FALSE(p.ReadError);
    EXPECT_EQ((Ints{p.AdvMs[0], p.AdvMs[1], p.Delay17_20, p.Delay21_24, p.OutSize, p.EncShift, p.RotDir, p.SpeedLimit}),
              (Ints{255, 0, 255, 255, 255, 32767, 0, -32768}));
}

TEST_F(CamFileRead, TooManySizesAcceptedReadsTheSizesThatFitAndSaysWhereItStopped) {
    prompt.push(cam::Answer::Ok);
    Read("FUNZIONI  32 - 30 \r\n" + kOneEncoderHead.substr(19) + " FORMATO N. 07\r\nC 01\"LAST\"\r\n 0001 0002\r\n" +
         " FORMATO N. 08\r\nC 02\"EIGHT\"\r\n 0003 0004\r\n FORMATO N. 09\r\nC 03\r\n 0005 0006\r\nEND\r\n");
    ASSERT_EQ(prompt.messages().size(), 2u);
    EXPECT_EQ(std::tuple(prompt.messages()[1], prompt.asked()[1].icon),
              std::tuple(" 0003 0004 : READING STOPPED AT THIS LINE, SIZE 8 IS OUTSIDE 1..7", cam::Icon::Exclamation));
    // Remarks are not per size: the one on the line before the refused phase was read.
    EXPECT_EQ(std::tie(p.ReadError, p.CamRemark[0], p.CamRemark[1], p.LineBuf),
              std::tuple(false, "LAST", "EIGHT", " 0003 0004"));
    EXPECT_TRUE(On(7, 0, 1));
}

// A size, cam or position outside the tables ends the read with a message, an END inside a
// size ends it without one; what came before stays.
TEST_F(CamFileRead, ReadingStopsAtALineOutsideTheTablesOrAtEnd) {
    const std::string head = kOneEncoderHead + " FORMATO N. 01\r\nC 01\r\n 0001 0002\r\n";
    const std::string stopped = " : READING STOPPED AT THIS LINE, ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C 33\"NOPE\"\r\n 0003 0004\r\n", "C 33\"NOPE\"" + stopped + "CAM 33 IS OUTSIDE 1..32"},
        {"C 00\r\n", "C 00" + stopped + "CAM 0 IS OUTSIDE 1..32"},
        {" 1024 0004\r\n 0005 0006\r\n", " 1024 0004" + stopped + "POSITION 1024 IS OUTSIDE 0..1023"},
        {" 0010 1025\r\n", " 0010 1025" + stopped + "POSITION 1025 IS OUTSIDE 0..1024"},
        {" FORMATO N. 00\r\nC 01\r\n 0003 0004\r\n", " 0003 0004" + stopped + "SIZE 0 IS OUTSIDE 1..7"},
        {"C 40\x1b\r\n", "C 40?" + stopped + "CAM 40 IS OUTSIDE 1..32"},  // a control byte is not shown as it is
        {"END\r\n FORMATO N. 02\r\nC 01\r\n 0003 0004\r\n", ""},
    };
    for (const auto& [tail, shown] : cases) {
        prompt.clear();
        EXPECT_EQ(Read(head + tail + "END\r\n"),
                  shown.empty() ? cam::CamFileRead::Complete : cam::CamFileRead::StoppedEarly);
        EXPECT_EQ(prompt.messages(), shown.empty() ? Texts{} : Texts{shown}) << tail;
        EXPECT_EQ((Ints{p.ReadError, On(1, 0, 1), On(1, 0, 3) || On(1, 0, 5) || On(2, 0, 3)}), (Ints{0, 1, 0})) << tail;
    }
}

TEST_F(CamFileRead, FileStartingWithASizeIsImportedAfterAsking) {
    prompt.push(cam::Answer::Ok);
    p.OutSize = 3;
    Read(" FORMATO N. 02\r\nC 04\r\n 0010 0020\r\nEND\r\n");
    ASSERT_EQ(prompt.asked().size(), 1u);
    const auto& q = prompt.asked()[0];
    EXPECT_EQ(std::tie(q.text, q.buttons, q.icon),
              std::tuple("IMPORT ONLY CAM FILE", cam::Buttons::OkCancel, cam::Icon::Exclamation));
    // No functions block: the output size stays.
    EXPECT_EQ((Ints{p.ReadError, On(2, 3, 10), p.OutSize}), (Ints{0, 1, 3}));
}

// No cam file: refused, quoting the line that shows it short and printable. Another number of cams is
// refused; more sizes than the tables have, or sizes only, are asked about: Cancel reads nothing.
TEST_F(CamFileRead, RefusedFilesNameWhatIsWrong) {
    using cam::Buttons, cam::Icon;
    const std::string f = "FUNZIONI  32 - 7 \r\n", bad = kFormatError;
    const std::string functions = " \r\nANTICIPI ON    1 \r\nANTICIPO CAMS  01 ms   9 \r\nEND\r\n";
    const std::string sizesOnly = " FORMATO N. 02\r\nC 01\r\n 0003 0004\r\nEND\r\n";
    struct Case {
        std::string file;
        Texts shown;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::Exclamation;
        bool readNothing = false;
    };
    const std::vector<Case> cases = {
        {"", {"t.Cam" + bad}},  // an empty file shows no line: its name stands there
        {"HELLO\r\n", {"HELLO" + bad}},
        {std::string(10'000'000, 'x') + "\x07\r\nEND\r\n", {std::string(80, 'x') + "..." + bad}},
        {f, {"FUNZIONI  32 - 7 " + bad}},
        {f + "ANTICIPI MAYBE\r\n", {"ANTICIPI MAYBE" + bad}},
        {f + "ANTICIPI ON    33 \r\n", {"ANTICIPI ON    33 " + bad}},
        {f + "ANTICIPI ON    2 \r\nANTICIPO CAMS  01 ms   5 \r\n", {"ANTICIPO CAMS  01 ms   5 " + bad}},
        {f + "ANTICIPI OFF\r\nDELAYS OFF\r\n", {"DELAYS OFF" + bad}},
        {f + "ANTICIPI OFF\r\nRITARDI OFF\r\nRAPPORTI\r\n", {"RAPPORTI" + bad}},
        {f + "ANTICIPI OFF\r\n2ENC\r\nA\r\nB\r\n", {"B" + bad}},
        {f + "ANTICIPI OFF\r\n2ENC\r\nA\r\nB\r\nC\r\nD\r\nSENSO  1 \r\n", {"SENSO  1 " + bad}},
        {f + "ANTICIPI OFF\r\nRITARDI OFF\r\nRAPPORTI OFF\r\nOUTPUT 1\r\n", {"OUTPUT 1" + bad}},
        {"FUNZIONI  16 - 15" + functions, {"16 WRONG NUMBER OF CAMS 32"}, Buttons::Ok, Icon::Stop, true},
        {"FUNZIONI  32 - 30" + functions, {"30 BAD TOTAL FORMATS 7"}, Buttons::OkCancel, Icon::None, true},
        {sizesOnly, {"IMPORT ONLY CAM FILE", " FORMATO N. 02" + bad}, Buttons::OkCancel, Icon::Exclamation, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.substr(0, 40));
        prompt.clear();
        prompt.push(cam::Answer::Cancel);
        p = camtest::MakeProgram();
        p.LngTxt[10] = kFormatError;
        cam::SetPhase(p, 1, 0, 10, 20);
        EXPECT_EQ(Read(c.file), cam::CamFileRead::Failed);
        EXPECT_EQ(std::tuple(p.ReadError, prompt.messages()), std::tuple(true, c.shown));
        EXPECT_EQ(std::tie(prompt.asked().at(0).buttons, prompt.asked().at(0).icon), std::tie(c.buttons, c.icon));
        if (c.readNothing) {
            EXPECT_EQ((Ints{On(1, 0, 10), On(1, 0, 3), p.AdvOn, p.AdvMs[0]}), (Ints{1, 0, 0, 0}));
        }
    }
    // Values read before the error stay.
    Read(f + "ANTICIPI ON    1 \r\nANTICIPO CAMS  01 ms   42 \r\nRITARDI OFF\r\nRAPPORTI OFF\r\n");
    EXPECT_EQ((Ints{p.ReadError, p.AdvMs[0], p.AdvOn}), (Ints{1, 42, 1}));
}

TEST_F(CamFileRead, ShortHeaderSkipsTheModelChecks) {
    cam::SetPhase(p, 1, 0, 10, 20);
    Read("FUNZIONI\r\n" + kOneEncoderHead.substr(19) + "END\r\n");
    // No re-dimensioning, so the tables were not emptied.
    EXPECT_EQ((Ints{p.ReadError, On(1, 0, 10)}), (Ints{0, 1}));
}

TEST_F(CamFileRead, MissingFileChangesNothingAndAnUnreadableOneIsReported) {
    std::tie(p.ReadError, p.OutSize) = std::tuple(true, 9);
    cam::ReadCamFile(p, dir.file("none.Cam"), prompt);
    cam::ReadCamFile(p, "", prompt);
    EXPECT_EQ((Ints{p.ReadError, p.OutSize, int(prompt.asked().size())}), (Ints{1, 9, 0}));
    p.ReadError = false;
    cam::ReadCamFile(p, dir.str(), prompt);
    EXPECT_EQ(std::tuple(p.ReadError, prompt.messages()),
              std::tuple(true, Texts{dir.str() + ": is a folder, not a file"}));
}

TEST(SizeBlock, ReadsUntilTheNextSize) {
    cam::Program p = camtest::MakeProgram();
    cam::LineSource in("\r\nC 02\"A\"\"\r\n 0010 0020\r\nignored\r\n 0030 0040\r\n FORMATO N. 02\r\nC 03\r\n");
    EXPECT_TRUE(cam::ReadSizeBlock(p, 1, in));
    EXPECT_EQ(std::tie(p.LineBuf, p.CamRemark[1]), std::tuple(" FORMATO N. 02", "A\""));
    EXPECT_EQ((Ints{p.CamPos(1, 1, 10), p.CamPos(1, 1, 39)}), (Ints{1, 1}));
}

// The model a file's header names, when it is one a programmer can have.
TEST(HeaderModel, CountsOfTheHeaderOrNothing) {
    camtest::ScratchFolder dir;
    const auto model = cam::HeaderModel(dir.write("a.Cam", "FUNZIONI  16 - 60 \r\nEND\r\n"));
    ASSERT_TRUE(model.has_value());
    EXPECT_EQ(model->NCams * 100 + model->NSizes, 1660);
    for (const char* header : {"FUNZIONI  24 - 7 \r\n", "FUNZIONI  32 - 61 \r\n", " FORMATO N. 01\r\n"})
        EXPECT_FALSE(cam::HeaderModel(dir.write("b.Cam", header)).has_value()) << header;
    EXPECT_FALSE(cam::HeaderModel(dir.file("missing.Cam")).has_value());
}

std::size_t EntriesIn(const std::string& folder) { return std::ranges::distance(fs::directory_iterator(folder)); }

// A small program saved into a scratch folder.
struct CamFileSave : ::testing::Test {
    CamFileSave() {
        p.OutSize = 1;
        cam::SetPhase(p, 1, 2, 100, 200);
    }
    camtest::ScratchFolder dir;
    cam::Program p = camtest::MakeProgram(32, 7, 1);
};

TEST_F(CamFileSave, ReplacesTheWholeFileKeepsItsPermissionsAndLeavesNoScratch) {
    p.CamFile = dir.write("a.Cam", "OLD CONTENT THAT IS LONGER THAN THE NEW ONE " + std::string(300, '.'));
    fs::permissions(p.CamFile, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(cam::WriteCamFile(p).reason(), "");
    EXPECT_EQ(std::tuple(dir.read("a.Cam"), EntriesIn(dir.str())), std::tuple(cam::CamFileText(p), 1u));
    EXPECT_EQ(fs::status(p.CamFile).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(CamFileSave, FailureIsReportedAndKeepsThePreviousFile) {
    // No such folder: nothing can be created.
    EXPECT_NE(cam::WriteCamFile(p, dir.file("missing/a.Cam")).reason(), "");
    EXPECT_FALSE(fs::exists(dir.file("missing")));
    // A folder where the file should be: the rename fails, the folder and its content stay.
    fs::create_directory(dir.file("b.Cam"));
    dir.write("b.Cam/keep", "kept");
    EXPECT_NE(cam::WriteCamFile(p, dir.file("b.Cam")).reason(), "");
    // The folder keeps its content, and the temporary file is removed.
    EXPECT_EQ(std::tuple(dir.read("b.Cam/keep"), EntriesIn(dir.str())), std::tuple("kept", 1u));
    // No name at all.
    p.CamFile.clear();
    EXPECT_NE(cam::WriteCamFile(p).reason(), "");
}

// Links stay links, and the real file at the end of their chain is saved; a loop is refused
// and changes nothing.
TEST_F(CamFileSave, LinksAreFollowedToTheRealFileAndStayLinks) {
    dir.write("real.Cam", "old");
    fs::create_directory(dir.file("sub"));
    fs::create_symlink("../real.Cam", dir.file("sub/middle.Cam"));  // relative to its own folder
    fs::create_symlink("sub/middle.Cam", dir.file("first.Cam"));
    fs::create_symlink("new.Cam", dir.file("dangling.Cam"));
    fs::create_symlink("loop2.Cam", dir.file("loop1.Cam"));
    fs::create_symlink("loop1.Cam", dir.file("loop2.Cam"));
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("first.Cam")).reason(), "");
    EXPECT_EQ(dir.read("real.Cam"), cam::CamFileText(p));
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("dangling.Cam")).reason(), "");
    EXPECT_EQ(dir.read("new.Cam"), cam::CamFileText(p));
    EXPECT_THAT(cam::WriteCamFile(p, dir.file("loop1.Cam")).reason(), HasSubstr("Too many levels of symbolic links"));
    for (const char* link : {"first.Cam", "sub/middle.Cam", "dangling.Cam", "loop1.Cam", "loop2.Cam"})
        EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
    EXPECT_EQ(EntriesIn(dir.str()), 7u) << "no temporary file is left";
}

// In a shared folder with the sticky bit the system follows a link only for its owner or the
// folder's: a link another user planted there never makes a save overwrite that user's file.
TEST_F(CamFileSave, ALinkOfAnotherUserInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "a second user's link needs root to make";
    const std::string victim = dir.write("victim.Cam", "theirs");
    fs::create_directory(dir.file("shared"));
    fs::permissions(dir.file("shared"), fs::perms::all | fs::perms::sticky_bit);
    const std::string planted = dir.file("shared/planted.Cam");
    fs::create_symlink(victim, planted);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    EXPECT_THAT(cam::WriteCamFile(p, planted).reason(), HasSubstr("is a link of another user in a shared folder"));
    EXPECT_EQ(dir.read("victim.Cam"), "theirs");
    ASSERT_EQ(::lchown(planted.c_str(), 0, 0), 0);  // one's own link is followed
    EXPECT_EQ(cam::WriteCamFile(p, planted).reason(), "");
    EXPECT_EQ(dir.read("victim.Cam"), cam::CamFileText(p));
}

// A device or a FIFO is written in place and stays what it is (as root, a rename over
// /dev/null would make it a file); a FIFO that no program reads is refused without waiting.
TEST_F(CamFileSave, DevicesAndFifosAreWrittenInPlace) {
    EXPECT_EQ(cam::WriteCamFile(p, "/dev/null").reason(), "");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    const std::string fifo = dir.file("pipe.Cam");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(cam::WriteCamFile(p, fifo).reason(), "cannot write " + fifo + ": no program reads from it");
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(cam::WriteCamFile(p, fifo).reason(), "");
    std::string got(4096, '\0');
    got.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(reader, got.data(), got.size()))));
    ::close(reader);
    EXPECT_EQ(std::tuple(got, fs::is_fifo(fifo), EntriesIn(dir.str())), std::tuple(cam::CamFileText(p), true, 1u));
}

// A file the user may not write stays as it is, though its folder would allow the rename:
// the save fails with the system's reason.
TEST_F(CamFileSave, WriteProtectedFileIsNotReplaced) {
    const std::string target = dir.write("locked.Cam", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_THAT(cam::WriteCamFile(p, target).reason(), HasSubstr("Permission denied"));
    EXPECT_EQ(std::tuple(dir.read("locked.Cam"), EntriesIn(dir.str())), std::tuple("old", 1u));
}

// A new file gets the usual mode of the user's umask, which stays as it was.
TEST_F(CamFileSave, NewFileFollowsTheUmaskAndLeavesIt) {
    const mode_t old = ::umask(027);
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("new.Cam")).reason(), "");
    EXPECT_EQ(::umask(old), mode_t(027));
    EXPECT_EQ(fs::status(dir.file("new.Cam")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// A save that was killed leaves its hidden temporary file; the next save of that file removes
// it, and nothing that is not one of its temporary files.
TEST_F(CamFileSave, WhatAKilledSaveLeftIsRemovedByTheNextSave) {
    dir.write(".a.Cam.Xy12Ab34", std::string(1000, 'x'));
    dir.write(".a.Cam.bak", "mine");
    dir.write(".b.Cam.Xy12Ab34", "another file's");
    EXPECT_EQ(cam::WriteCamFile(p, dir.file("a.Cam")).reason(), "");
    EXPECT_FALSE(fs::exists(dir.file(".a.Cam.Xy12Ab34")));
    EXPECT_TRUE(fs::exists(dir.file(".a.Cam.bak")));
    EXPECT_TRUE(fs::exists(dir.file(".b.Cam.Xy12Ab34")));
    EXPECT_EQ(dir.read("a.Cam"), cam::CamFileText(p));
}

}  // namespace
