// The Sizes menu commands and the remark edit, asked in the shipped English wording.
#include "core/editor/size_commands.h"

#include "core/editor/phase_list.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"
#include "support/shipped_texts.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

namespace {

using cam::Answer;
using cam::CommandResult;
using Entries = std::vector<std::string>;

// Records the default text each input box offered, which the scripted prompt does not keep.
struct DefaultsPrompt : cam::ScriptedPrompt {
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override {
        defaults.push_back(defaultText);
        return ScriptedPrompt::input(prompt, title, defaultText);
    }
    std::vector<std::string> defaults;
};

cam::Program Model(int cams = 32, int sizes = 7) {
    cam::Program p = camtest::MakeProgram(cams, sizes);
    std::tie(p.LngTxt, p.CamFile, p.CurCam) = std::tuple(camtest::ShippedTexts(), "/tmp/x.Cam", 0);
    return p;
}

Entries Listed(const cam::Program& p, int size, int cam) { return cam::PhaseListEntries(p, size, cam); }

struct SizeCommands : ::testing::Test {
    // The document of the tables set up so far, as a file holds them.
    cam::CamDocument& Saved() { return doc.emplace(p); }
    std::string Asked(std::size_t i) const { return prompt.asked()[i].text + "|" + prompt.asked()[i].title; }

    cam::Program p = Model();
    std::optional<cam::CamDocument> doc;
    DefaultsPrompt prompt;
};

TEST_F(SizeCommands, SelectSizeAsksWithRangeAndMakesTheSizeCurrent) {
    p = Model(32, 30);
    cam::CamDocument& doc = Saved();
    prompt.push("4");
    const CommandResult r = cam::SelectSize(p, doc, prompt);
    EXPECT_EQ(std::tuple(p.CurSize, r.redraw, r.sizeChanged), std::tuple(4, CommandResult::Chart, true));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(Asked(0), "Select size 1- 30|/tmp/x.Cam");
    EXPECT_TRUE(doc.FileSaved());
    // Cancel or the same size changes nothing.
    prompt.push(std::optional<std::string>(), "4");
    EXPECT_EQ(cam::SelectSize(p, doc, prompt).redraw, CommandResult::None);
    EXPECT_FALSE(cam::SelectSize(p, doc, prompt).sizeChanged);
    EXPECT_EQ(p.CurSize, 4);
    // An answer out of range is shown and makes size 1 current.
    for (const char* answer : {"0", "99"}) {
        SCOPED_TRACE(answer);
        p.CurSize = 5;
        prompt.clear();
        prompt.push(answer);
        EXPECT_TRUE(cam::SelectSize(p, doc, prompt).sizeChanged);
        EXPECT_EQ(prompt.messages(), Entries{std::string("Out of range: ") + answer});
        EXPECT_EQ(std::tuple(p.CurSize, prompt.asked()[1].title, prompt.asked()[1].icon),
                  std::tuple(1, "Select size", cam::Icon::Exclamation));
    }
}

TEST_F(SizeCommands, CopySizeCopiesEveryCamOfTheSizeShown) {
    std::tie(p.CurSize, p.CamRemark[0]) = std::tuple(2, "kept");
    for (auto [size, cam, on, off] : {std::tuple{2, 0, 100, 200}, {2, 31, 1000, 24}, {1, 0, 5, 6}, {4, 5, 10, 20}})
        cam::SetPhase(p, size, cam, on, off);  // the last, in size 4, is overwritten by the copy
    cam::CamDocument& doc = Saved();
    // Onto the size itself, or cancelled: nothing, silently.
    prompt.push("2", "");
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(cam::CopySize(p, doc, prompt).changed);
    EXPECT_TRUE(prompt.messages().empty());

    prompt.push("9", Answer::Ok, "4");
    const CommandResult r = cam::CopySize(p, doc, prompt);
    EXPECT_EQ(prompt.messages(), Entries{"Out of range: 9"});
    EXPECT_EQ(prompt.defaults, (Entries{"2", "2", "2", "9"}));  // the refused number is offered again
    EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[4].text),
              std::tuple("Copy size 2 into size, range 1 -7", "Copy size 2 into size, range 1 -7"));
    // Not redrawn: the target is not the size shown.
    EXPECT_EQ(std::tuple(r.changed, r.redraw, p.CurSize), std::tuple(true, CommandResult::None, 2));
    // From size 2, not size 1.
    EXPECT_EQ((std::vector<Entries>{Listed(p, 4, 0), Listed(p, 4, 31), Listed(p, 4, 5)}),
              (std::vector<Entries>{{"F001 0100 0200"}, {"F001 1000 0024"}, {}}));
    EXPECT_EQ(p.CamRemark[0], "kept");
}

// Erase asks, naming what it erases: No keeps everything, Yes clears the cam or the size
// shown and nothing else (a cam keeps its remark). An empty cam erased changes nothing.
TEST_F(SizeCommands, EraseAsksAndClearsOnlyTheCamOrTheSizeShown) {
    std::tie(p.CurSize, p.CurCam, p.CamRemark[2]) = std::tuple(5, 2, "glue");
    for (auto [size, cam] : {std::pair{5, 2}, {5, 3}, {4, 2}}) cam::SetPhase(p, size, cam, 10, 20);
    cam::CamDocument& doc = Saved();
    prompt.push(Answer::No, Answer::Yes, Answer::Yes, Answer::Yes);
    cam::EraseCam(p, doc, prompt);
    EXPECT_EQ(Listed(p, 5, 2).size(), 1u);
    cam::EraseCam(p, doc, prompt);
    EXPECT_EQ(std::tuple(Listed(p, 5, 2).size(), Listed(p, 5, 3).size(), p.CamRemark[2]), std::tuple(0u, 1u, "glue"));
    EXPECT_FALSE(cam::EraseCam(p, doc, prompt).changed);
    EXPECT_EQ(cam::EraseSize(p, doc, prompt).redraw, CommandResult::Chart);
    EXPECT_EQ(std::tuple(Listed(p, 5, 3).size(), Listed(p, 4, 2).size()), std::tuple(0u, 1u));
    EXPECT_EQ(std::tuple(Asked(0), prompt.asked()[0].buttons, prompt.asked()[0].icon, Asked(3)),
              std::tuple("Erase every phase of 'CAM 3'?|Confirm erase", cam::Buttons::YesNo, cam::Icon::Question,
                         "Erase every phase of 'SIZE 5'?|Confirm erase"));
}

TEST_F(SizeCommands, CopyCamCopiesOntoTheTargetRowAndRefusesACamOutsideTheModel) {
    std::tie(p.CurSize, p.CurCam) = std::tuple(2, 1);
    cam::SetPhase(p, 2, 1, 100, 200);
    p.CamRemark[4] = "target";
    cam::CamDocument& doc = Saved();
    prompt.push("33", Answer::Ok, "0", Answer::Ok);  // two cams outside the model
    for (int i = 0; i < 2; ++i) EXPECT_EQ(cam::CopyCam(p, doc, prompt).redraw, CommandResult::None);
    EXPECT_EQ(prompt.messages(),
              (Entries{" 33 is not a cam of this programmer", " 0 is not a cam of this programmer"}));
    EXPECT_EQ(std::tuple(prompt.asked()[1].buttons, doc.FileSaved()), std::tuple(cam::Buttons::Ok, true));
    prompt.push("5");
    const CommandResult r = cam::CopyCam(p, doc, prompt);
    EXPECT_EQ(std::tuple(r.redraw, r.row), std::tuple(CommandResult::Row, 4));
    EXPECT_EQ(std::tuple(Listed(p, 2, 4), p.CamRemark[4]), std::tuple(Entries{"F001 0100 0200"}, "target"));
    EXPECT_EQ(Asked(0), "Copy cam 2 to cam [1-32]|Copy cam ");
}

TEST_F(SizeCommands, ShiftCamWorkedExamples) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        // answer, the phase after
        {"50", "F001 1000 0026"},   {"100", "F001 0026 0076"}, {"-100", "F001 0850 0900"}, {"924", "F001 0850 0900"},
        {"1030", "F001 0956 1006"}, {"6", "F001 0956 1006"},   {"2048", "F001 0950 1000"}, {"0", "F001 0950 1000"},
    };
    for (const auto& [answer, phase] : cases) {
        p = Model();
        p.CurCam = 2;
        cam::SetPhase(p, 1, 2, 950, 1000);
        cam::CamDocument& doc = Saved();
        prompt.clear();
        prompt.push(answer);
        const CommandResult r = cam::ShiftCam(p, doc, prompt);
        EXPECT_EQ(std::tuple(Listed(p, 1, 2), r.row, Asked(0)),
                  std::tuple(Entries{phase}, 2, "Positions (+/-) to shift cam 3|Shift cam"))
            << answer;
    }
}

TEST_F(SizeCommands, ACurrentCamOutsideTheTablesIsNeverTouched) {
    p = Model(16, 15);
    p.CurCam = 16;
    cam::ScriptedPrompt accepting(true);
    cam::CamDocument& doc = Saved();
    for (auto command : {&cam::CopyCam, &cam::ShiftCam, &cam::EraseCam, &cam::EditRemark})
        EXPECT_EQ(command(p, doc, accepting).redraw, CommandResult::None);
    EXPECT_TRUE(accepting.asked().empty());
}

TEST_F(SizeCommands, EditRemarkAsksBeforeClearingAndOffersALongRemarkCutTo20) {
    std::tie(p.CurCam, p.CamRemark[6]) = std::tuple(6, "knife");
    cam::CamDocument& doc = Saved();
    prompt.push("", Answer::Cancel);
    cam::EditRemark(p, doc, prompt);
    EXPECT_EQ(std::tuple(prompt.messages(), prompt.asked()[0].title),
              std::tuple(Entries{"Confirm erase"}, "Cam remark N.7"));
    // Cancel of the input box keeps the remark without a question.
    prompt.push(std::optional<std::string>());
    cam::EditRemark(p, doc, prompt);
    EXPECT_EQ(std::tuple(p.CamRemark[6], prompt.messages().size()), std::tuple("knife", 1u));
    prompt.push("", Answer::Ok);
    cam::EditRemark(p, doc, prompt);
    EXPECT_EQ(p.CamRemark[6], "");

    prompt.push("ABCDEFGHIJKLMNOPQRSTUVWXY", Answer::Ok, "ABCDEFGHIJKLMNOPQRST");  // 25 characters, then 20
    EXPECT_EQ(cam::EditRemark(p, doc, prompt).row, 6);
    EXPECT_EQ(std::tuple(p.CamRemark[6], prompt.messages().back()),
              std::tuple("ABCDEFGHIJKLMNOPQRST", "A remark holds at most 20 characters"));
    // The long remark refused once is offered again cut.
    EXPECT_EQ(prompt.defaults, (Entries{"knife", "knife", "knife", "", "ABCDEFGHIJKLMNOPQRST"}));
}

TEST(StepSize, StopsAtTheEnds) {
    cam::Program p = camtest::MakeProgram(32, 7);
    // from, step, whether it moved, the size after
    for (auto [from, step, moved, to] : {std::tuple{1, -1, false, 1}, {1, +1, true, 2}, {7, +1, false, 7}}) {
        p.CurSize = from;
        const bool stepped = cam::StepSize(p, step);
        EXPECT_EQ(std::pair(stepped, p.CurSize), std::pair(moved, to)) << from << " " << step;
    }
}

}  // namespace
