#include "sim_options.h"

#include "qt/command_line.h"

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

// "32x60x255x2": cams x sizes x messages x encoders. Any numbers: the tool decides what it
// serves; the device's memory is bounded to what a cam programmer can hold.
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

// "nak:5" -> the number after the colon, at least 1 (0 for silent-after: nothing at all).
bool ParseCounted(const std::string& text, const std::string& name, long least, long* out) {
    if (text.compare(0, name.size() + 1, name + ":") != 0) return false;
    long v = 0;
    if (!ParseNumber(text.substr(name.size() + 1), &v) || v < least) return false;
    *out = v;
    return true;
}

}  // namespace

const cam::CommandSyntax& Syntax() {
    static const cam::CommandSyntax syntax{
        "camsim",
        {"[--model CxSxMxE] [--baud N] [--state DIR] [--fault NAME]...", "--version"},
        "Play a cam programmer on a pseudo-terminal: its path is printed on the first line, then it runs until "
        "stopped.",
        {{"model", "CxSxMxE", "cams x sizes x messages x encoders (default 32x60x255x2)"},
         {"baud", "N", "line speed emulated in both directions, 10 bits a byte (default 9600, 0 = unpaced)"},
         {"state", "DIR", "keep the device's memory and firmware image in DIR, so that later runs see them"},
         {"fault", "NAME", "misbehave as NAME says (see below); may be given several times"},
         {"version", "", "print the version and end"}},
        {},
        0,
        "faults:\n"
        "  silent | echo | no-brand | unsupported | brand-early | short-reply | vanish\n"
        "  silent-after:N        answer or send N blocks of an exchange (take N message lines), then nothing\n"
        "  vanish-after:N        answer or send N blocks of an exchange, then the line goes away\n"
        "  bad-checksum:N        send block N of a reception with a wrong check character\n"
        "  refuse-end            answer the END of a transmission with NAK\n"
        "  babble                answer ?FR and ?AR with bytes that never make a frame\n"
        "  noise                 answer every line with random bytes, an ACK among them\n"
        "  nak:N                 refuse block N of a transmission (or record N of a firmware update)\n"
        "                        every time it comes\n"
        "  delay:MS              wait MS milliseconds before each acknowledgement and block\n"
        "  flash-nak:N           refuse firmware record N of an update once (NAK)\n"
        "  flash-silent-after:N  answer N firmware records of an update, then nothing\n"};
    return syntax;
}

bool ReadOptions(const cam::ParsedArgs& args, Options* out, std::string* error) {
    static const std::map<std::string, Fault> kFaults = {
        {"silent", Fault::Silent},          {"echo", Fault::Echo},
        {"no-brand", Fault::NoBrand},       {"unsupported", Fault::Unsupported},
        {"brand-early", Fault::BrandEarly}, {"short-reply", Fault::ShortReply},
        {"vanish", Fault::Vanish},          {"refuse-end", Fault::RefuseEnd},
        {"babble", Fault::Babble},          {"noise", Fault::Noise},
    };
    Options o;
    if (args.has("model") && !ParseModel(args.value("model"), &o.model)) {
        *error = "bad model '" + args.value("model") + "' (expected e.g. 32x60x255x2)";
        return false;
    }
    if (args.has("baud") && !ParseNumber(args.value("baud"), &o.baud)) {
        *error = "bad speed '" + args.value("baud") + "'";
        return false;
    }
    o.stateDir = args.value("state");
    for (const std::string& name : args.values("fault")) {
        auto f = kFaults.find(name);
        BlockFaults& b = o.blocks;
        if (f != kFaults.end()) {
            o.faults.insert(f->second);
        } else if (!ParseCounted(name, "silent-after", 0, &b.silentAfter) &&
                   !ParseCounted(name, "vanish-after", 0, &b.vanishAfter) &&
                   !ParseCounted(name, "bad-checksum", 1, &b.badChecksum) && !ParseCounted(name, "nak", 1, &b.nak) &&
                   !ParseCounted(name, "delay", 0, &b.replyDelayMs) &&
                   !ParseCounted(name, "flash-nak", 1, &b.flashNak) &&
                   !ParseCounted(name, "flash-silent-after", 0, &b.flashSilentAfter)) {
            *error = "unknown fault '" + name + "'";
            return false;
        }
    }
    *out = o;
    return true;
}

bool ParseOptions(const std::vector<std::string>& args, Options* out, std::string* error) {
    const cam::SplitArgs split = cam::SplitCommandLine(Syntax(), args);
    if (!split.ok()) {
        *error = split.error;
        return false;
    }
    return ReadOptions(split.args, out, error);
}

}  // namespace camsim
