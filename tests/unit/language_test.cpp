#include "core/model/language.h"

#include "core/model/file_io.h"
#include "core/model/scripted_prompt.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "support/scratch_folder.h"
#include "support/shipped_texts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

using cam::ParseLanguageScript;
using cam::Program;
using Strings = std::vector<std::string>;

TEST(LanguageScript, LineRules) {
    const Strings four = {"one", "two", "", "four"};
    // A script and its texts 1.. that follow; the others up to 500 are empty.
    const std::vector<std::pair<const char*, Strings>> cases = {
        // The first line drops its last character, the others both delimiters.
        {"First text!\r\n\"Hello\"\r\n'single'\r\n\"\"\r\n", {"First text", "Hello", "single", "", ""}},
        // Only the outer delimiters go; bytes are kept.
        {"x\"\r\n\"say \"hi\" \"\r\n\"Velocit\xe0 \"\r\n", {"x", "say \"hi\" ", "Velocit\xe0 "}},
        // A line of one character is an empty text.
        {"X\r\n\"\r\n\"three\"\r\n", {"", "", "three"}},
        // An empty line is an empty text and keeps the numbering.
        {"one\"\r\n\r\n\"three\"\r\n\r\n\r\n\"six\"\r\n", {"one", "", "three", "", "", "six"}},
        // A final line without line end is lost.
        {"one\"\r\n\"two\"\r\n\"three\"", {"one", "two", ""}},
        {"one\"\r\n\"two\"\r\n\"three\"\r", {"one", "two", "three"}},  // CR alone ends it
        {"only line without end", {}},
        {"one\"\n\"two\"", {"one"}},
        {"ab\r\n\"c", {"a"}},
        // Lines ended by LF or CR alone read like CR LF.
        {"one\"\r\n\"two\"\r\n\"\"\r\n\"four\"\r\n", four},
        {"one\"\n\"two\"\n\"\"\n\"four\"\n", four},
        {"one\"\r\n\"two\"\n\"\"\r\n\"four\"\n", four},
        {"one\"\r\"two\"\r\"\"\r\n\"four\"\r", four}};
    for (const auto& [script, texts] : cases) {
        Strings expected(501);
        std::copy(texts.begin(), texts.end(), expected.begin() + 1);
        EXPECT_EQ(ParseLanguageScript(script), expected) << script;
    }
    // Tiny and degenerate inputs give empty texts.
    for (const char* s : {"", "\r", "\n", "\r\n", "\r\n\r\n", "\""})
        EXPECT_EQ(ParseLanguageScript(s), Strings(501)) << s;
    // Six hundred lines load texts 1 to 500.
    std::string script = "T1\"\r\n";
    for (int k = 2; k <= 600; ++k) script += "\"T" + std::to_string(k) + "\"\r\n";
    const auto t = ParseLanguageScript(script);
    ASSERT_EQ(t.size(), 501u);
    EXPECT_EQ(t[1] + t[2] + t[499] + t[500], "T1T2T499T500");
}

TEST(LanguageScript, ReadingAMissingFileLeavesTheTexts) {
    Program p;
    p.LngTxt[7] = "kept";
    EXPECT_EQ(cam::ReadLanguageScript(p, "/no/such/folder/x.Scr").reason(), "/no/such/folder/x.Scr: no such file");
    EXPECT_EQ(p.Text(7), "kept");
}

// Records the file requests, which ScriptedPrompt does not keep.
struct RecordingPrompt : cam::ScriptedPrompt {
    std::string openFile(const cam::FileRequest& request) override {
        requests.push_back(request);
        return ScriptedPrompt::openFile(request);
    }
    std::vector<cam::FileRequest> requests;
};

struct LoadLanguageTest : ::testing::Test {
    camtest::ScratchFolder dir;
    Program p;
    RecordingPrompt prompt;
    void SetUp() override { std::tie(p.WorkDir, p.LngTxt[3]) = std::tuple(dir.str(), "before"); }
};

TEST_F(LoadLanguageTest, PresentScriptLoadsWithoutQuestions) {
    p.LngFile = dir.write("L.Scr", "one\"\r\n\"two\"\r\n");
    cam::LoadLanguage(p, prompt);
    EXPECT_EQ(std::tuple(prompt.asked().size(), p.Text(1), p.Text(2), p.Text(3)), std::tuple(0u, "one", "two", ""));
}

// A missing script is reported and another asked for: cancelled, or one that does not exist,
// the texts stay; a chosen script is loaded and saved with the options.
TEST_F(LoadLanguageTest, MissingScriptIsReportedAndAnotherChosen) {
    p.LngFile = "/gone/Z32px_ENG.SCR";
    cam::LoadLanguage(p, prompt);
    ASSERT_EQ(prompt.asked().size(), 2u);
    const auto& msg = prompt.asked()[0];
    EXPECT_EQ(std::tie(msg.text, msg.title, msg.buttons, msg.icon),
              std::tuple(" FILE '\"/gone/Z32px_ENG.SCR\"' IS NOT AVAILABLE", "UNRECOV. DEF.FILE ERROR",
                         cam::Buttons::Ok, cam::Icon::Stop));
    ASSERT_EQ(prompt.requests.size(), 1u);
    using Filters = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(
        std::tie(prompt.requests[0].title, prompt.requests[0].filters),
        std::tuple("SELECT LANGUAGE", Filters{{"File Script Lang. (*.Scr)", "*.scr"}, {"All Files (*.*)", "*.*"}}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("KlmPx_opt.def")));
    prompt.push(cam::Answer::Ok);
    prompt.push("/also/gone.Scr");
    cam::LoadLanguage(p, prompt);
    EXPECT_EQ(std::tuple(prompt.messages().size(), prompt.messages().back(), prompt.asked().back().icon),
              std::tuple(3u, "FILE ERROR", cam::Icon::Stop));
    EXPECT_EQ(std::tuple(p.LngFile, p.Text(3)), std::tuple("/gone/Z32px_ENG.SCR", "before"));
    const std::string chosen = dir.write("Mine.Scr", "uno\"\n\"due\"\n");
    prompt.push(cam::Answer::Ok);
    prompt.push(chosen.c_str());
    cam::LoadLanguage(p, prompt);
    EXPECT_EQ(std::tuple(p.LngFile, p.Text(2), p.Text(3), dir.read("KlmPx_opt.def")),
              std::tuple(chosen, "due", "", "\"" + chosen + "\",1,9600\r\n"));
}

TEST(DefaultLanguageScript, FoundBesideTheExecutableFirstWhereTheTestProgramHasTheShippedOne) {
    camtest::ScratchFolder dir;
    const std::string beside = dir.write("Z32px_ENG.SCR", "x\"\r\n");
    for (const std::string& d : {dir.str(), dir.str() + "/"}) EXPECT_EQ(cam::FindDefaultLanguageScript(d), beside) << d;
    camtest::ScratchFolder empty;
    const std::string found = cam::FindDefaultLanguageScript(empty.str());
    EXPECT_EQ(found.find(empty.str()), std::string::npos) << "only the installed copy may be found";
    // This test program has the shipped script beside it.
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) GTEST_SKIP() << "no /proc/self/exe";
    const std::string installed = cam::FindDefaultLanguageScript(exe.parent_path().string());
    ASSERT_EQ(installed, (exe.parent_path() / "Z32px_ENG.SCR").string());
    EXPECT_EQ(cam::ReadFileBytes(installed, cam::kMaxLanguageScriptBytes).bytes, camtest::ShippedScriptBytes());
}

// Every text number the program uses, restated.
constexpr int kUsedTexts[] = {1,   2,   3,   10,  11,  12,  15,  17,  20,  21,  23,  24,  25,  26,  27,  28,  30,
                              33,  34,  42,  46,  47,  48,  52,  55,  56,  69,  71,  73,  74,  75,  76,  77,  78,
                              79,  80,  84,  89,  92,  94,  95,  98,  104, 109, 112, 114, 121, 122, 123, 125, 126,
                              127, 128, 129, 132, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150};

struct ShippedScript : ::testing::Test {
    Program p;
    void SetUp() override { p.LngTxt = camtest::ShippedTexts(); }
};

TEST_F(ShippedScript, HasATextForEveryNumberTheProgramUses) {
    for (int k : kUsedTexts) EXPECT_NE(p.Text(k), "") << "text " << k;
}

TEST_F(ShippedScript, IsQuotedCrLfTextWithoutLfAloneOrUtf8) {
    const std::string bytes = camtest::ShippedScriptBytes();
    ASSERT_FALSE(bytes.empty());
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    int line = 0;
    for (std::size_t start = 0, end = 0; start < bytes.size(); start = end + 2) {
        end = bytes.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string text = bytes.substr(start, end - start);
        ++line;
        // No LF alone; quoted, the first line only at its end.
        EXPECT_EQ(std::tuple(text.find('\n'), text.front() == '"' || line == 1, text.back()),
                  std::tuple(std::string::npos, true, '"'))
            << "line " << line;
    }
    // Windows-1252 text: the UTF-8 lead bytes of accented letters would show as two characters.
    for (unsigned char c : bytes) EXPECT_FALSE(c == 0xC3 || c == 0xC2);
}

// The Sizes menu's questions are checked in the shipped wording by their own tests, the
// chart's captions by the main window's; here the joins no other test sees.
TEST_F(ShippedScript, JoinedFormsReadAsIntended) {
    EXPECT_EQ((Strings{p.Text(74).substr(0, 1) + cam::D2(5) + p.Text(69).substr(0, 1) + cam::D2(3),
                       p.Text(33) + "1024 32C-07F  255-Msg ", p.Text(34) + "1024", p.Text(48) + "03", p.Text(52) + " 3",
                       p.Text(56) + "(*.Msg)", p.Text(73) + "(*.*)", p.Text(132) + " N." + cam::CStr(3),
                       "CAM FUNCTIONS 7" + p.Text(10)}),
              (Strings{"S05C03", "CAM PROGRAMMER 1024 32C-07F  255-Msg ", "The phase shift must not exceed 1024",
                       "Receiving size 03", "Sending size 3", "Message file (*.Msg)", "All files (*.*)",
                       "Cam remark N.3", "CAM FUNCTIONS 7 - wrong file format"}));
}

// camdesk's own texts travel in the shipped script in their built-in wording, each under a
// number of its own.
TEST_F(ShippedScript, CarriesEveryBuiltInText) {
    std::set<int> numbers;
    for (const cam::BuiltInText t : cam::txt::kAll) {
        EXPECT_TRUE(numbers.insert(t.number).second) << "text " << t.number << " has two meanings";
        EXPECT_NE(p.Text(t.number), "") << "text " << t.number;
        if (t.number >= 200) {
            EXPECT_EQ(p.Text(t.number), t.wording) << "text " << t.number;
        }
    }
}

TEST(Texts, ScriptWordingElseBuiltInAndFilledArguments) {
    Program p;
    EXPECT_EQ(cam::Text(p, cam::txt::kSize), "SIZE ");
    p.LngTxt[74] = "FORMAT ";
    EXPECT_EQ(cam::Text(p, cam::txt::kSize), "FORMAT ");
    EXPECT_EQ(cam::Fill("%1 of %2, %3 %", {"a", "b"}), "a of b, %3 %");
    EXPECT_EQ(cam::Fill("%2%1", {"x", "%1"}), "%1x");  // arguments are not filled again
}

}  // namespace
