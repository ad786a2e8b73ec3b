// The cam file writer, byte for byte, with the expected lines written out.
#include "core/camfile/cam_file.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace {

cam::Program Model(int cams, int sizes, int encoders = 1) { return camtest::MakeProgram(cams, sizes, encoders); }

std::string Functions(const cam::Program& p) {
    std::ostringstream out;
    cam::WriteFunctions(p, out);
    return out.str();
}

using Texts = std::vector<std::string>;
Texts Lines(const cam::Program& p, int n) { return Texts(p.SizeText.begin(), p.SizeText.begin() + n); }

std::string Size(cam::Program& p, int size) {
    std::ostringstream out;
    cam::WriteSize(p, size, out);
    return out.str();
}

TEST(CamFileWriter, WorkedExampleByteForByte) {
    cam::Program p = Model(32, 7);
    p.OutSize = 1;
    cam::SetPhase(p, 1, 2, 100, 200);
    EXPECT_EQ(cam::CamFileText(p),
              "FUNZIONI  32 - 7 \r\nANTICIPI OFF\r\nRITARDI OFF\r\nRAPPORTI OFF\r\nFORMATO IN USCITA    1 \r\n"
              "SFASAMENTO ENCODER   0 \r\nSENSO DI ROTAZIONE   0 \r\nLIMITE DI VELOCITA'   0 \r\n"
              " FORMATO N. 01\r\nC 03\r\n 0100 0200\r\n FORMATO N. 02\r\n FORMATO N. 03\r\n FORMATO N. 04\r\n"
              " FORMATO N. 05\r\n FORMATO N. 06\r\n FORMATO N. 07\r\nEND\r\n");
}

// The functions block in each of its forms, byte for byte.
TEST(CamFileWriter, FunctionsBlockForms) {
    cam::Program one = Model(32, 30);  // one encoder with advances, delays and ratio
    one.AdvOn = one.DelayOn = one.RatioOn = one.RotDir = 1;
    one.Ratio17On = 1;  // never written
    one.NAdvCams = 3;
    one.AdvMs[0] = 5;
    one.AdvMs[1] = 150;
    one.AdvMs[2] = 210;
    one.Delay17_20 = 5;
    one.Delay21_24 = 42;
    one.Ratio25_32 = 9;
    one.OutSize = 30;
    one.EncShift = 1000;
    one.SpeedLimit = 9999;
    cam::Program three = Model(32, 7, 3);  // group advances and every encoder
    three.AdvMs[16] = 150;
    three.AdvMs[20] = 1;
    three.AdvMs[24] = 2;
    three.AdvMs[28] = 3;
    three.EncShift2 = 1024;
    three.RotDir2 = 1;
    three.EncShift3 = 12;
    three.DelayOn = three.RatioOn = 1;  // delays and ratio belong to the one-encoder form
    const std::string tail = "SFASAMENTO ENCODER   0 \r\nSENSO DI ROTAZIONE   0 \r\nLIMITE DI VELOCITA'   0 \r\n";
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
              "SENSO DI ROTAZIONE   0 \r\nFORMATO IN USCITA    0 \r\n" +
                  tail);
    // An unknown encoder count takes the several-encoder form, with only encoder 2 besides encoder 1.
    EXPECT_EQ(Functions(Model(32, 7, 0)),
              "FUNZIONI  32 - 7 \r\nANTICIPI OFF\r\n0ENC\r\nANTICIPO CAMS 17-20   ms  0 \r\n"
              "ANTICIPO CAMS 21-24   ms  0 \r\nANTICIPO CAMS 25-28   ms  0 \r\nANTICIPO CAMS 29-32   ms  0 \r\n"
              "SFASAMENTO ENCODER   0 \r\nSENSO DI ROTAZIONE   0 \r\nFORMATO IN USCITA    0 \r\n" +
                  tail);
    // Sixteen cams carry their two group advances from elements 8 and 12.
    cam::Program sixteen = Model(16, 15, 2);
    sixteen.AdvMs[8] = 77;
    sixteen.AdvMs[12] = 88;
    EXPECT_NE(Functions(sixteen).find("2ENC\r\nANTICIPO CAMS 17-20   ms  77 \r\nANTICIPO CAMS 21-24   ms  88 \r\n"
                                      "ANTICIPO CAMS 25-28   ms  0 \r\nANTICIPO CAMS 29-32   ms  0 \r\n"),
              std::string::npos);
    // The advance count never reaches past the advances.
    cam::Program many = Model(16, 15);
    many.AdvOn = 1;
    many.NAdvCams = 40;
    const std::string text = Functions(many);
    EXPECT_NE(text.find("ANTICIPI ON    16 \r\n"), std::string::npos);
    EXPECT_NE(text.find("ANTICIPO CAMS  16 ms   0 \r\n"), std::string::npos);
    EXPECT_EQ(text.find("ANTICIPO CAMS  17"), std::string::npos);
}

// The lines of one cam of one size, in a file and as sent to the device: phases ascending
// with the wrapping one last, remarks in files wherever the cam has phases, to the device
// in size 1 only, where a cam without phases still has its header; the whole revolution is
// kept in files but not sent.
TEST(SizeText, LinesOfACamInAFileAndForTheDevice) {
    cam::Program p = Model(32, 7);
    cam::SetPhase(p, 1, 5, 1000, 24);
    cam::SetPhase(p, 1, 5, 500, 600);
    cam::SetPhase(p, 1, 5, 100, 200);
    cam::SetPhase(p, 2, 5, 900, 1024);  // ends at 1023: written with OFF 0
    p.CamRemark[0] = "KNIFE";
    cam::SetPhase(p, 1, 0, 10, 20);
    cam::SetPhase(p, 2, 0, 10, 20);
    cam::SetPhase(p, 2, 1, 0, 1024);
    p.CamRemark[3] = " Glue \"A\" ";
    cam::SetPhase(p, 4, 3, 10, 20);
    p.CamRemark[4] = "   ";  // a blank remark is no remark
    cam::SetPhase(p, 4, 4, 10, 20);
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
        {0, 0, file, 0, {""}},
    };
    for (const auto& [size, cam, form, count, lines] : rows) {
        SCOPED_TRACE(testing::Message() << "size " << size << ", cam " << cam
                                        << (form == file ? ", file" : ", device"));
        p.SizeText[0] = "stale";
        EXPECT_EQ(cam::SizeToText(p, size, cam, form), count);
        EXPECT_EQ(Lines(p, int(lines.size())), lines);
    }
}

TEST(SizeText, RemarkOfACamWithoutPhasesIsWrittenOnItsOwnInSizeOne) {
    cam::Program p = Model(32, 7);
    p.CamRemark[9] = "SPARE";
    EXPECT_EQ(Size(p, 1), " FORMATO N. 01\r\nC 10\"SPARE\"\r\n");
    EXPECT_EQ(Size(p, 2), " FORMATO N. 02\r\n");
    // Once the cam has a phase anywhere, the remark travels with the phases only.
    cam::SetPhase(p, 3, 9, 1, 2);
    EXPECT_EQ(Size(p, 1), " FORMATO N. 01\r\n");
    EXPECT_EQ(Size(p, 3), " FORMATO N. 03\r\nC 10\"SPARE\"\r\n 0001 0002\r\n");
}

TEST(SizeText, FilesKeepEveryPhaseOfACam) {
    cam::Program p = Model(32, 7);
    for (int on = 0; on < 1024; on += 2) cam::SetPhase(p, 1, 0, on, on + 1);
    EXPECT_EQ(cam::SizeToText(p, 1, 0), 512);
    EXPECT_EQ((Texts{p.SizeText[1], p.SizeText[182], p.SizeText[512], p.SizeText[513]}),
              (Texts{" 0000 0001", " 0362 0363", " 1022 1023", ""}));
    EXPECT_NE(Size(p, 1).find(" 1022 1023\r\n"), std::string::npos);
}

}  // namespace
