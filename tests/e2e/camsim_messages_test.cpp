// camsim's alarm messages on their own, bytes in and bytes out: the unframed lines of "?AW",
// the blocks of "?AR", the faults of both and the messages in the state file. The expected
// bytes are written out here.
#include "device.h"
#include "device_memory.h"
#include "frame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace camsim {
namespace {

const std::string kAckS(1, '\x06');

std::string Bytes(const Replies& r) {
    std::string b;
    for (const Reply& x : r) b += x.bytes;
    return b;
}

Options MessageOptions(int msgs) {
    Options o;
    o.model = {32, 7, msgs, 1};
    o.baud = 0;
    return o;
}

// "?AW" 215 CR and "?AR" 210 CR.
const std::string kAw = std::string("?AW") + '\xD7' + '\r';
const std::string kAr = std::string("?AR") + '\xD2' + '\r';

// Every block of a reception: the first, then one after each ACK.
std::vector<std::string> Receive(Device& d, int blocks) {
    std::vector<std::string> got{Bytes(d.receive(kAr))};
    for (int i = 1; i < blocks; ++i) got.push_back(Bytes(d.receive(kAckS)));
    return got;
}

TEST(CamsimMessages, LineReaderTakesOnlyWholeMessageLines) {
    int n = 0;
    std::string text;
    ASSERT_TRUE(ReadMessageLine("N007\"ALARM\"", &n, &text));
    EXPECT_EQ(n, 7);
    EXPECT_EQ(text, "ALARM");
    ASSERT_TRUE(ReadMessageLine("N010\"A \"Q\" ?:\"", &n, &text));
    EXPECT_EQ(text, "A \"Q\" ?:");
    for (const char* bad : {"N07\"A\"", "N007ALARM", "N007\"ALARM", "X007\"A\"", "N0A7\"A\"", "N007\""})
        EXPECT_FALSE(ReadMessageLine(bad, &n, &text)) << bad;
}

TEST(CamsimMessages, TakesTheLinesAtEndAndGivesThemBackAsBlocks) {
    Device d(MessageOptions(3));
    // Nothing is answered: not the command, not a line, not "END"; texts may hold '?' and ':'.
    EXPECT_EQ(Bytes(d.receive(kAw)), "");
    EXPECT_EQ(Bytes(d.receive("N001\"OIL ?:LOW\"\rN0")), "");
    EXPECT_TRUE(d.memory().messages[0].empty());  // kept aside until "END"
    EXPECT_EQ(Bytes(d.receive("03\"" + std::string(45, 'X') + "\"\rN009\"NO SUCH\"\rEND\r")), "");
    ASSERT_EQ(d.memory().messages.size(), 3u);
    EXPECT_EQ(d.memory().messages[0], "OIL ?:LOW");
    EXPECT_EQ(d.memory().messages[2], std::string(40, 'X'));  // the display holds 40 characters

    EXPECT_EQ(Receive(d, 5),
              (std::vector<std::string>{Frame("N 001\"OIL ?:LOW\""), Frame("N 002\"\""),
                                        Frame("N 003\"" + std::string(40, 'X') + "\""), Frame("END"), ""}));
}

TEST(CamsimMessages, ACommandBeforeEndDropsTheLines) {
    Device d(MessageOptions(3));
    d.receive(kAw);
    d.receive("N001\"NEW\"\r");
    EXPECT_EQ(Bytes(d.receive(std::string("?M") + '\x8C' + '\r')).substr(0, 4), "KLM ");
    d.receive("END\r");
    EXPECT_TRUE(d.memory().messages[0].empty());
}

TEST(CamsimMessages, FaultsOfBothDirections) {
    Options o = MessageOptions(3);
    o.blocks.silentAfter = 1;
    Device silent(o);
    // Sending: the device stops listening after one line and takes nothing.
    silent.receive(kAw + "N001\"A\"\rN002\"B\"\rEND\r");
    EXPECT_TRUE(silent.memory().messages[0].empty());
    // Receiving: one block, then nothing.
    EXPECT_EQ(Receive(silent, 2), (std::vector<std::string>{Frame("N 001\"\""), ""}));

    o = MessageOptions(2);
    o.blocks.badChecksum = 2;
    o.blocks.replyDelayMs = 25;
    Device bad(o);
    Replies first = bad.receive(kAr);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].delayMs, 25);
    EXPECT_EQ(Bytes(bad.receive(kAckS)), Frame("N 002\"\"", true));
    EXPECT_EQ(Bytes(bad.receive(kAckS)), Frame("END"));

    o = MessageOptions(2);
    o.faults.insert(Fault::Babble);
    Device babble(o);
    EXPECT_EQ(Bytes(babble.receive(kAr)).find('\x03'), std::string::npos);
}

TEST(CamsimMessages, MessagesSurviveTheStateFile) {
    const auto dir = std::filesystem::temp_directory_path() / ("camsim-msgs-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const Model model{32, 7, 180, 1};
    const std::string path = StatePath(dir.string(), model);
    DeviceMemory m = EmptyMemory(model);
    ASSERT_EQ(m.messages.size(), 180u);
    m.messages[0] = "a \"b\" \xE9";
    m.messages[179] = "LAST";
    ASSERT_EQ(SaveState(m, path), "");
    DeviceMemory back;
    std::string error;
    ASSERT_TRUE(LoadState(model, path, &back, &error)) << error;
    EXPECT_EQ(back.messages, m.messages);

    // A message the model does not have, or longer than the display, is a damaged state.
    for (const char* damaged : {"camsim state 1\nmsg 181 =41\nend\n", "camsim state 1\nmsg 0 =41\nend\n",
                                "camsim state 1\nmsg 1 =4\nend\n"}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged;
        EXPECT_FALSE(LoadState(model, path, &back, &error)) << damaged;
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        << "camsim state 1\nmsg 1 =" << std::string(82, '4') << "\nend\n";
    EXPECT_FALSE(LoadState(model, path, &back, &error));

    // A device with a state folder keeps what it took.
    Options o = MessageOptions(180);
    o.stateDir = dir.string();
    std::filesystem::remove(path);
    {
        Device d(o);
        d.receive(kAw + "N002\"KEPT\"\rEND\r");
    }
    Device again(o);
    EXPECT_EQ(again.memory().messages[1], "KEPT");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace camsim
