// What the simulated cam programmer remembers: its functions block, its sizes (kept as the
// device holds them: numbers, not text) and its alarm messages, and their copy in a state folder.
#pragma once

#include "sim_options.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace camsim {

struct Functions {
    int advOn = 0, delayOn = 0, ratioOn = 0, ratio17On = 0;
    std::vector<int> advances;   // advance in ms of cams 1.. (as many as were set)
    std::array<int, 4> group{};  // group advances: cams 17-20 .. 29-32, or 9-12 and 13-16
    int delay17_20 = 0, delay21_24 = 0;
    int ratio25_32 = 0;
    int outSize = 0;
    std::array<int, 3> shift{};  // phase shift of encoders 1..3
    std::array<int, 3> dir{};    // direction of rotation of encoders 1..3
    int speedLimit = 0;
};

struct CamProgram {
    int cam = 0;  // 1-based, as on the wire
    bool hasRemark = false;
    std::string remark;
    std::vector<std::pair<int, int>> phases;  // ON, OFF positions in the order received
};

struct DeviceMemory {
    Functions functions;
    std::vector<std::vector<CamProgram>> sizes;  // sizes[n - 1]: the cams of size n that hold something
    std::vector<std::string> messages;           // messages[n - 1]: the text of alarm message n
};

// Limits of the device's memory, whatever model it plays.
inline constexpr int kMemoryCams = 32;
inline constexpr int kMemorySizes = 60;
inline constexpr int kMemoryPhases = 181;  // phases of one cam in one size
inline constexpr int kRemarkBytes = 64;
inline constexpr int kMemoryMessages = 999;
inline constexpr int kMessageBytes = 40;  // two display rows of twenty characters

// The cams and sizes this device can hold for its model.
int CamsHeld(const Model& m);
int SizesHeld(const Model& m);
int MessagesHeld(const Model& m);
DeviceMemory EmptyMemory(const Model& m);

// The state file of a model in a folder: one file per model, so that runs with another
// model do not read it.
std::string StatePath(const std::string& dir, const Model& m);
// "" on success, else why the state was not written (the previous file is then untouched).
std::string SaveState(const DeviceMemory& mem, const std::string& path);
// Reads the state; false with a reason when the file is damaged (mem is then empty).
// A missing file is not an error: the memory starts empty.
bool LoadState(const Model& m, const std::string& path, DeviceMemory* mem, std::string* error);

// The bytes of a state file of at most limit bytes. A missing file is no error (*bytes
// empty); anything but a regular file (a FIFO would hold the simulator before it says its
// port) and a larger file are, with the reason in *error.
bool ReadStateFile(const std::string& path, std::size_t limit, std::string* bytes, std::string* error);
// A line of a state file as an error message quotes it: at most 60 characters.
std::string ShownLine(const std::string& line);

// Bytes as lower-case hex pairs, and back (false for anything but such pairs).
std::string HexOf(const std::string& bytes);
bool BytesOf(const std::string& hex, std::string* out);
// Puts text in place of the file at path: written beside (into a new file of a name no one
// can guess, never through a link), flushed to the disk, then renamed, so that a crash never
// leaves half a file. "" on success, else why (path is then untouched).
std::string ReplaceFile(const std::string& path, const std::string& text);

}  // namespace camsim
