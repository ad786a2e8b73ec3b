// The sample cam file shipped with camdesk reads cleanly and is exactly what the
// writer makes of it.
#include "core/camfile/cam_file.h"
#include "core/model/scripted_prompt.h"
#include "core/editor/phase_list.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

TEST(SampleCamFile, ReadsCleanlyAndRoundTripsByteForByte) {
    const std::string path = std::string(CAMDESK_SOURCE_DIR) + "/resources/samples/demo.Cam";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    cam::Program p = camtest::MakeProgram();
    cam::ScriptedPrompt prompt;
    cam::ReadCamFile(p, path, prompt);
    EXPECT_FALSE(p.ReadError);
    EXPECT_TRUE(prompt.asked().empty());
    EXPECT_EQ(p.NEncoders, 1);
    EXPECT_EQ(p.CamRemark[0], "MAIN KNIFE");
    EXPECT_EQ(p.CamRemark[9], "SPARE");
    // The wrapping phase of cam 2 is listed first on the chart.
    EXPECT_EQ(cam::PhaseListEntries(p, 1, 1), std::vector<std::string>{"F001 1000 0024"});
    EXPECT_EQ(cam::CamFileText(p), bytes);
}

}  // namespace
