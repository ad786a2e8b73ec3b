#include "sim_options.h"

#include <cstdlib>
#include <map>

namespace camsim {

namespace {

bool ParseNumber(const std::string& text, long* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < 0 || v > 10'000'000) return false;
    *out = v;
    return true;
}

// "32x60x255x2": cams x sizes x messages x encoders. Any numbers: the tool decides what it serves.
bool ParseModel(const std::string& text, Model* m) {
    long v[4];
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        std::size_t x = text.find('x', start);
        if ((i < 3) != (x != std::string::npos)) return false;
        if (!ParseNumber(text.substr(start, x == std::string::npos ? std::string::npos : x - start), &v[i]) ||
            v[i] > 999)
            return false;
        start = x + 1;
    }
    *m = Model{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3])};
    return true;
}

}  // namespace

const char* Usage() {
    return "usage: camsim [--model CxSxMxE] [--baud N] [--fault NAME]...\n"
           "  --model CxSxMxE  cams x sizes x messages x encoders (default 32x60x255x2)\n"
           "  --baud N         line speed the replies are paced at (default 9600, 0 = unpaced)\n"
           "  --fault NAME     silent | echo | no-brand | unsupported | brand-early | short-reply | vanish\n"
           "Prints the path of its pseudo-terminal on the first line and runs until stopped.\n";
}

bool ParseOptions(const std::vector<std::string>& args, Options* out, std::string* error) {
    static const std::map<std::string, Fault> kFaults = {
        {"silent", Fault::Silent},           {"echo", Fault::Echo},
        {"no-brand", Fault::NoBrand},        {"unsupported", Fault::Unsupported},
        {"brand-early", Fault::BrandEarly},  {"short-reply", Fault::ShortReply},
        {"vanish", Fault::Vanish},
    };
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--model" && hasValue) {
            if (!ParseModel(args[++i], &o.model)) {
                *error = "bad model '" + args[i] + "' (expected e.g. 32x60x255x2)";
                return false;
            }
        } else if (a == "--baud" && hasValue) {
            if (!ParseNumber(args[++i], &o.baud)) {
                *error = "bad speed '" + args[i] + "'";
                return false;
            }
        } else if (a == "--fault" && hasValue) {
            auto f = kFaults.find(args[++i]);
            if (f == kFaults.end()) {
                *error = "unknown fault '" + args[i] + "'";
                return false;
            }
            o.faults.insert(f->second);
        } else {
            *error = "unexpected argument '" + a + "'";
            return false;
        }
    }
    *out = o;
    return true;
}

}  // namespace camsim
