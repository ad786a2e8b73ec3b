// camsim's command line: the model it plays, the line speed it emulates and the faults it
// shows on request.
#pragma once

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
};

struct Options {
    Model model;
    std::set<Fault> faults;
    long baud = 9600;  // bytes leave at this line speed; 0 = as fast as possible
    bool has(Fault f) const { return faults.count(f) != 0; }
};

// Returns false with a reason in *error for a bad command line.
bool ParseOptions(const std::vector<std::string>& args, Options* out, std::string* error);
const char* Usage();

}  // namespace camsim
