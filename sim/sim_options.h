// camsim's command line: the model it plays, the line speed it emulates, where it keeps its
// memory and the faults it shows on request.
#pragma once

#include "core/model/command_options.h"

#include <set>
#include <string>
#include <vector>

namespace camsim {

struct Model {
    int cams = 32;
    int sizes = 60;
    int msgs = 255;
    int encoders = 2;
};

enum class Fault {
    Silent,       // never answers
    Echo,         // sends every byte back, as a loop-back plug does
    NoBrand,      // identification line without the maker's brand
    Unsupported,  // identification of a 24-cam model
    BrandEarly,   // brand too close to the start of the line for the fields before it
    ShortReply,   // identification line cut before the encoder digit
    Vanish,       // the line goes away as soon as a command arrives
    RefuseEnd,    // answers the "END" of a transmission with NAK: nothing is taken
    Babble,       // answers "?FR" and "?AR" with a long stream of bytes and no frame end
    Noise,        // a line that only carries noise: every line is answered with random bytes
                  // among which an ACK (06); nothing is taken
};

// Faults of the block exchanges. Blocks are counted from 1 in each "?FW", "?FR", "?AR" or
// "?AW" exchange (the message lines of "?AW" count as blocks);
// 0 (-1 for silentAfter and flashSilentAfter) means the fault is off.
struct BlockFaults {
    long silentAfter = -1;       // answers (or sends) this many blocks, then nothing more
    long vanishAfter = -1;       // answers (or sends) this many blocks, then the line goes away
    long badChecksum = 0;        // block sent with a wrong check character (reception)
    long nak = 0;                // block refused every time it comes (transmission, firmware update)
    long replyDelayMs = 0;       // wait before each acknowledgement and each block sent
    long flashNak = 0;           // firmware record refused once (counted from 1 after ":FU")
    long flashSilentAfter = -1;  // answers this many firmware records, then nothing more
};

struct Options {
    Model model;
    std::set<Fault> faults;
    BlockFaults blocks;
    long baud = 9600;      // the emulated line speed of both directions; 0 = as fast as possible
    std::string stateDir;  // where the device's memory is kept between runs; "" = memory only
    bool has(Fault f) const { return faults.count(f) != 0; }
};

// camsim's options and their help.
const cam::CommandSyntax& Syntax();
// The options of a split command line; false with a reason in *error for a bad value.
bool ReadOptions(const cam::ParsedArgs& args, Options* out, std::string* error);
// Splits args by Syntax() and reads them; false with a reason in *error for a bad command line
// (-h and --help are left to the caller).
bool ParseOptions(const std::vector<std::string>& args, Options* out, std::string* error);

}  // namespace camsim
