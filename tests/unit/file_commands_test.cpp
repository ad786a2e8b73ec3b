// The File menu commands over real files in a scratch folder.
#include "core/camfile/file_commands.h"

#include "core/camfile/cam_file.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using cam::Answer;

struct CountingChooser : cam::ModelChooser {
    void chooseModel(cam::Program& p) override {
        ++calls;
        cam::ResizeTables(p);
    }
    int calls = 0;
};

cam::Program Model() {
    cam::Program p = camtest::MakeProgram();
    p.LngTxt[1] = "File not found";
    p.LngTxt[11] = "Open file";
    p.LngTxt[33] = "CAM PROGRAMMER ";
    p.LngTxt[109] = "Save cam file as";
    p.LngTxt[112] = "The sizes have unsaved changes. Save them?";
    return p;
}

// A cam file holding the phase 100-200 on cam 3 of size 1.
std::string CamFileWithPhase(const camtest::ScratchFolder& dir, const std::string& name) {
    cam::Program q = Model();
    cam::SetPhase(q, 1, 2, 100, 200);
    q.CamRemark[2] = "saw";
    const std::string path = dir.file(name);
    EXPECT_EQ(cam::WriteCamFile(q, path).reason(), "");
    return path;
}

bool HasPhase(const cam::Program& p) { return p.CamPos(1, 2, 150) == 1; }

// An edit through the document: the phase 5-10 on cam 1 of the size.
void Edit(cam::CamDocument& doc, int size = 1) {
    doc.Edit(cam::EditScope::Cam(size, 0), "edit", [&](cam::CamData& d) { cam::SetPhase(d, size, 0, 5, 10); });
}

TEST(FileTitles, FileNameAndWindowTitles) {
    EXPECT_EQ(cam::FileTitle("/home/op/dies.v2/press.Cam"), "press.Cam");
    EXPECT_EQ(cam::FileTitle("C:\\Zeto\\press.Cam"), "press.Cam");
    EXPECT_EQ(cam::FileTitle("press"), "press");
    cam::Program p = Model();
    EXPECT_EQ(cam::ActivationTitle(p), "CAM PROGRAMMER 1024 32C-07F  255-Msg ");
    p.NCams = 16;
    p.NSizes = 60;
    p.NMsgs = 180;
    p.CamFile = "/w/a.Cam";
    EXPECT_EQ(cam::ActivationTitle(p), "CAM PROGRAMMER 1024 16C-60F  180-Msg ");
    EXPECT_EQ(cam::OpenedTitle(p), "CAM PROGRAMMER 1024 16C-60  [/w/a.Cam]");
}

TEST(RecentList, AListedFileMovesToTheTopAndTheOthersMoveDown) {
    cam::Program p;
    p.RecentFiles = {"1", "2", "3", "4", "5"};
    p.CamFile = "3";
    cam::UpdateRecentList(p);
    EXPECT_EQ(p.RecentFiles, (std::vector<std::string>{"3", "1", "2", "4", "5"}));
    EXPECT_EQ(cam::RecentCaption(p, 2), "&2 1");
    p.CamFile = "6";
    cam::UpdateRecentList(p);
    EXPECT_EQ(p.RecentFiles, (std::vector<std::string>{"6", "3", "1", "2", "4"}));
    EXPECT_EQ(cam::RecentCaption(p, 6), "");
}

TEST(Open, ReadsTheChosenFileAndListsIt) {
    camtest::ScratchFolder dir;
    const std::string path = CamFileWithPhase(dir, "press.Cam");
    cam::Program p = Model();
    cam::CamDocument doc(p);
    p.WorkDir = dir.str();
    cam::ScriptedPrompt prompt;
    prompt.push(path.c_str());
    const cam::FileOutcome out = cam::Open(p, doc, prompt, "T");
    EXPECT_TRUE(out.done);
    EXPECT_TRUE(HasPhase(p));
    EXPECT_EQ(p.CamRemark[2], "saw");
    EXPECT_EQ(p.CamFileTitle, "press.Cam");
    EXPECT_EQ(out.title, "CAM PROGRAMMER 1024 32C-07  [" + path + "]");
    EXPECT_EQ(p.RecentFiles, std::vector<std::string>{path});
    EXPECT_TRUE(doc.FileSaved());
    EXPECT_EQ(prompt.asked()[0].kind, cam::ScriptedPrompt::Asked::OpenFile);
    EXPECT_EQ(prompt.asked()[0].title, "Open file");
}

TEST(Open, UnsavedChangesAskFirstAndCancelLeavesEverything) {
    camtest::ScratchFolder dir;
    const std::string path = CamFileWithPhase(dir, "press.Cam");
    cam::Program p = Model();
    cam::CamDocument doc(p);
    Edit(doc, 2);
    p.CamFile = "/old.Cam";
    cam::ScriptedPrompt prompt;
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::Open(p, doc, prompt, "Main title").done);
    ASSERT_EQ(prompt.asked().size(), 1u);  // no file dialog after Cancel
    const auto& q = prompt.asked()[0];
    EXPECT_EQ(q.text + "|" + q.title, "The sizes have unsaved changes. Save them?|Main title");
    EXPECT_EQ(q.buttons, cam::Buttons::OkCancel);
    EXPECT_EQ(q.icon, cam::Icon::Exclamation);
    EXPECT_EQ(p.CamPos(2, 0, 7), 1);
    EXPECT_EQ(p.CamFile, "/old.Cam");
    EXPECT_FALSE(doc.FileSaved());
    prompt.push(Answer::Ok);
    prompt.push("");  // the dialog cancelled: the open file stays the one a Save writes
    EXPECT_FALSE(cam::Open(p, doc, prompt, "Main title").done);
    EXPECT_EQ(p.CamFile, "/old.Cam");

    prompt.push(Answer::Ok);
    prompt.push(path.c_str());
    EXPECT_TRUE(cam::Open(p, doc, prompt, "Main title").done);
    EXPECT_TRUE(HasPhase(p));
    EXPECT_EQ(p.CamPos(2, 0, 7), 0);
}

TEST(New, UnsavedChangesAskFirstAndOkShowsTheModelWindow) {
    cam::Program p = Model();
    cam::CamDocument doc(p);
    Edit(doc);
    p.CamFile = "/old.Cam";
    CountingChooser chooser;
    cam::ScriptedPrompt prompt;
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::New(p, doc, prompt, chooser, "T").done);
    EXPECT_EQ(chooser.calls, 0);
    EXPECT_EQ(p.CamPos(1, 0, 7), 1);
    prompt.push(Answer::Ok);
    EXPECT_TRUE(cam::New(p, doc, prompt, chooser, "T").done);
    EXPECT_EQ(chooser.calls, 1);
    EXPECT_EQ(p.CamPos(1, 0, 7), 0);
    EXPECT_EQ(p.CamFile, "");
}

TEST(OpenRecent, AMissingFileIsReportedBeforeAnythingIsCleared) {
    cam::Program p = Model();
    cam::CamDocument doc(p);
    cam::SetPhase(p, 1, 2, 100, 200);
    p.RecentFiles = {"/nowhere/gone.Cam"};
    CountingChooser chooser;
    cam::ScriptedPrompt prompt;
    EXPECT_FALSE(cam::OpenRecent(p, doc, prompt, chooser, 1, "T").done);
    EXPECT_EQ(chooser.calls, 0);
    EXPECT_TRUE(HasPhase(p));
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"File not found:\r/nowhere/gone.Cam"});
}

TEST(OpenRecent, UnsavedChangesAskThenTheModelWindowThenTheFile) {
    camtest::ScratchFolder dir;
    const std::string path = CamFileWithPhase(dir, "press.Cam");
    cam::Program p = Model();
    cam::CamDocument doc(p);
    p.RecentFiles = {"/other.Cam", path};
    Edit(doc);
    CountingChooser chooser;
    cam::ScriptedPrompt prompt;
    prompt.push(Answer::Ok);
    const cam::FileOutcome out = cam::OpenRecent(p, doc, prompt, chooser, 2, "T");
    EXPECT_TRUE(out.done);
    EXPECT_EQ(chooser.calls, 1);
    EXPECT_TRUE(HasPhase(p));
    EXPECT_TRUE(doc.FileSaved());
    EXPECT_EQ(p.RecentFiles, (std::vector<std::string>{path, "/other.Cam"}));
    EXPECT_FALSE(cam::OpenRecent(p, doc, prompt, chooser, 3, "T").done);  // no such item
}

TEST(OpenDropped, TheLastFileIsOpenedAfterTheQuestion) {
    camtest::ScratchFolder dir;
    const std::string first = CamFileWithPhase(dir, "a.Cam");
    const std::string second = CamFileWithPhase(dir, "b.Cam");
    cam::Program p = Model();
    cam::CamDocument doc(p);
    Edit(doc);
    cam::ScriptedPrompt prompt;
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::OpenDropped(p, doc, prompt, {first, second}, "T").done);
    EXPECT_FALSE(HasPhase(p));
    prompt.push(Answer::Ok);
    EXPECT_TRUE(cam::OpenDropped(p, doc, prompt, {first, second}, "T").done);
    EXPECT_EQ(p.CamFile, second);
    EXPECT_TRUE(doc.FileSaved());
}

TEST(OpenCommandLine, QuotesAreRemovedAndAMissingFileKeepsTheTables) {
    camtest::ScratchFolder dir;
    const std::string path = CamFileWithPhase(dir, "with blank.Cam");
    cam::Program p = Model();
    cam::CamDocument doc(p);
    cam::ScriptedPrompt prompt;
    EXPECT_TRUE(cam::OpenCommandLine(p, doc, prompt, "\"" + path + "\"").done);
    EXPECT_EQ(p.CamFile, path);
    EXPECT_TRUE(HasPhase(p));
    EXPECT_FALSE(cam::OpenCommandLine(p, doc, prompt, dir.file("missing.Cam")).done);
    // Something that is there but no file is named for what it is.
    std::filesystem::create_directory(dir.file("folder.Cam"));
    EXPECT_FALSE(cam::OpenCommandLine(p, doc, prompt, dir.file("folder.Cam")).done);
    EXPECT_TRUE(HasPhase(p));
    EXPECT_EQ(prompt.messages(), (std::vector<std::string>{"File not found:\r" + dir.file("missing.Cam"),
                                                           dir.file("folder.Cam") + ": is a folder, not a file"}));
}

TEST(Save, RightAfterOpenWritesBackWithoutADialog) {
    camtest::ScratchFolder dir;
    const std::string path = CamFileWithPhase(dir, "press.Cam");
    const std::string before = dir.read("press.Cam");
    cam::Program p = Model();
    cam::CamDocument doc(p);
    cam::ScriptedPrompt prompt;
    prompt.push(path.c_str());
    ASSERT_TRUE(cam::Open(p, doc, prompt, "T").done);
    prompt.clear();
    std::filesystem::remove(path);
    std::ofstream(path) << "stale";  // Save must replace it
    EXPECT_TRUE(cam::Save(p, doc, prompt));
    EXPECT_TRUE(prompt.asked().empty());
    EXPECT_TRUE(doc.FileSaved());
    EXPECT_EQ(dir.read("press.Cam"), before);
    EXPECT_EQ(before.substr(0, 19), "FUNZIONI  32 - 7 \r\n");
}

// What a cam file cannot keep is told before the save: Cancel writes nothing.
TEST(Save, TheRatioOfCams17To32IsToldBeforeItIsLeftOut) {
    camtest::ScratchFolder dir;
    cam::Program p = Model();
    cam::CamDocument doc(p);
    p.CamFile = CamFileWithPhase(dir, "r.Cam");
    const std::string before = dir.read("r.Cam");
    doc.Edit(cam::EditScope::Functions(), "functions", [](cam::CamData& d) {
        d.Ratio17On = 1;
        d.OutSize = 4;
    });
    cam::ScriptedPrompt prompt;
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::Save(p, doc, prompt));
    EXPECT_EQ(dir.read("r.Cam"), before);
    EXPECT_FALSE(doc.FileSaved());
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0],
              "A cam file has no place for the ratio of cams 17-32 (1/0): it is not kept in the file.\rSave anyway?");
    prompt.push(Answer::Ok);
    EXPECT_TRUE(cam::Save(p, doc, prompt));
    EXPECT_NE(dir.read("r.Cam"), before);
}

TEST(SaveAs, ANameWithoutADotGetsCamEvenInAFolderWithDots) {
    camtest::ScratchFolder dir;
    std::filesystem::create_directory(dir.file("dies.v2"));
    cam::Program p = Model();
    cam::CamDocument doc(p);
    Edit(doc);
    cam::ScriptedPrompt prompt;
    prompt.push(dir.file("dies.v2/press").c_str());
    EXPECT_TRUE(cam::SaveAs(p, doc, prompt));
    EXPECT_EQ(p.CamFile, dir.file("dies.v2/press.Cam"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("dies.v2/press.Cam")));
    EXPECT_TRUE(doc.FileSaved());
    EXPECT_EQ(prompt.asked()[0].title, "Save cam file as");

    prompt.push(dir.file("dies.v2/other.txt").c_str());
    EXPECT_TRUE(cam::SaveAs(p, doc, prompt));
    EXPECT_TRUE(std::filesystem::exists(dir.file("dies.v2/other.txt")));
}

TEST(SaveAs, AnExistingFileOfTheCompletedNameIsReplacedOnlyAfterYes) {
    camtest::ScratchFolder dir;
    const std::string existing = dir.write("press.Cam", "keep me");
    cam::Program p = Model();
    cam::CamDocument doc(p);
    Edit(doc);
    p.CamFile = "/before.Cam";
    cam::ScriptedPrompt prompt;
    prompt.push(dir.file("press").c_str());
    prompt.push(Answer::No);
    EXPECT_FALSE(cam::SaveAs(p, doc, prompt));
    EXPECT_EQ(dir.read("press.Cam"), "keep me");
    EXPECT_FALSE(doc.FileSaved());
    EXPECT_EQ(p.CamFile, "/before.Cam");
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_NE(prompt.messages()[0].find(existing), std::string::npos);
    EXPECT_EQ(prompt.asked()[1].buttons, cam::Buttons::YesNo);

    prompt.push(dir.file("press").c_str());
    prompt.push(Answer::Yes);
    EXPECT_TRUE(cam::SaveAs(p, doc, prompt));
    EXPECT_EQ(dir.read("press.Cam").substr(0, 8), "FUNZIONI");
}

TEST(Save, AFailedWriteIsShownWithTheFileAndLeavesTheDataUnsaved) {
    camtest::ScratchFolder dir;
    const std::string target = dir.file("no such folder/press.Cam");
    cam::Program p = Model();
    cam::CamDocument doc(p);
    Edit(doc);
    cam::ScriptedPrompt prompt;
    prompt.push(target.c_str());
    EXPECT_FALSE(cam::Save(p, doc, prompt));  // no file yet: Save As asks for the name
    EXPECT_FALSE(doc.FileSaved());
    ASSERT_EQ(prompt.messages().size(), 1u);
    const std::string shown = prompt.messages()[0];
    EXPECT_NE(shown.find(target), std::string::npos);
    EXPECT_GT(shown.size(), target.size() + 30);  // carries a reason besides the name
}

TEST(QueryClose, YesClosesOnlyWhenTheSaveSucceeded) {
    camtest::ScratchFolder dir;
    cam::Program p = Model();
    cam::CamDocument doc(p);
    Edit(doc);
    cam::ScriptedPrompt prompt;
    prompt.push(Answer::Yes);
    prompt.push(dir.file("missing folder/x.Cam").c_str());
    prompt.push(Answer::Ok);  // the failure message
    EXPECT_FALSE(cam::QueryClose(p, doc, prompt, "T"));
    EXPECT_EQ(prompt.asked()[0].buttons, cam::Buttons::YesNoCancel);
    EXPECT_EQ(prompt.asked()[0].title, "T");

    prompt.push(Answer::Yes);
    prompt.push(dir.file("x.Cam").c_str());
    EXPECT_TRUE(cam::QueryClose(p, doc, prompt, "T"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("x.Cam")));
}

TEST(QueryClose, NoClosesCancelStaysAndSavedDataAsksNothing) {
    cam::Program p = Model();
    cam::CamDocument doc(p);
    cam::ScriptedPrompt prompt;
    EXPECT_TRUE(cam::QueryClose(p, doc, prompt, "T"));
    EXPECT_TRUE(prompt.asked().empty());
    Edit(doc);
    prompt.push(Answer::No);
    EXPECT_TRUE(cam::QueryClose(p, doc, prompt, "T"));
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(cam::QueryClose(p, doc, prompt, "T"));
}

}  // namespace
