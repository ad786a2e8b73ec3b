#include "core/link/identify.h"

#include "core/model/text_format.h"

#include <cmath>

namespace cam {

namespace {

// Brand position (1-based) and the field offsets around it.
constexpr std::size_t kCamsBefore = 11;
constexpr std::size_t kSizesBefore = 8;
constexpr std::size_t kMsgsBefore = 5;
constexpr std::size_t kEncoderAfter = 38;

int Field(std::string_view reply, std::size_t start1, std::size_t width) {
    return static_cast<int>(std::fabs(Val(Mid(reply, start1, width))));
}

bool OneOf(int v, std::initializer_list<int> values) {
    for (int x : values)
        if (v == x) return true;
    return false;
}

}  // namespace

IdentifyReading ReadIdentification(std::string_view reply) {
    IdentifyReading r;
    reply = reply.substr(0, reply.find_first_of("\r\n"));  // the line, without what came after it
    std::size_t found = reply.find("ZETO");
    if (found == std::string_view::npos) return r;
    std::size_t p = found + 1;
    if (p <= 5) return r;
    r.verdict = IdentifyReading::Unsupported;
    // The cams field stands 11 characters before the brand and the encoder digit 38 after it:
    // a reply without room for both is no model we can read.
    if (p <= kCamsBefore || reply.size() < p + kEncoderAfter) return r;
    int msgs = Field(reply, p - kMsgsBefore, 3);
    if (!OneOf(msgs, {180, 255})) return r;
    r.msgs = msgs;
    int cams = Field(reply, p - kCamsBefore, 2);
    if (!OneOf(cams, {16, 32})) return r;
    r.cams = cams;
    int sizes = Field(reply, p - kSizesBefore, 2);
    if (!OneOf(sizes, {7, 15, 30, 45, 50, 55, 60})) return r;
    r.sizes = sizes;
    r.encoders = Field(reply, p + kEncoderAfter, 1);
    r.verdict = IdentifyReading::Supported;
    return r;
}

bool IdentifyDevice(Program& p, Link& link) {
    link.PortStatus = 0;
    p.ReadError = false;
    auto giveUp = [&] {
        if (link.port.isOpen()) {
            link.port.close();
            link.port.setRts(false);
        }
        return false;
    };
    for (int repeats = 0;; ++repeats) {
        std::string reply = SerialComStr(p, link, "?M");
        // A port that could not be opened was named with its reason: there is no device to miss.
        if (reply.empty() && link.PortStatus > 1) return giveUp();
        if (reply.empty()) {
            link.prompt.message("KLM NOT FOUND\rCONTROL WIRING", "", Buttons::Ok, Icon::Information);
            return giveUp();
        }
        IdentifyReading r = ReadIdentification(reply);
        if (r.verdict == IdentifyReading::NoBrand) {
            if (p.ReadError) return false;
            if (repeats < kMaxIdentifyRepeats) {
                link.clock.sleepMs(50);
                continue;
            }
        }
        // The values are kept in the order they were tested, also when a later one fails.
        if (r.msgs) p.NMsgs = r.msgs;
        if (r.cams) p.NCams = r.cams;
        if (r.verdict == IdentifyReading::Supported) {
            p.NSizes = r.sizes;
            p.NEncoders = r.encoders;
            return true;
        }
        link.prompt.message("DEVICE UNSUPPORTED", "", Buttons::Ok, Icon::None);
        return giveUp();
    }
}

bool IdentifyDevice(Program& p, SerialPort& port, Clock& clock, Prompt& prompt) {
    Link link(port, clock, prompt);
    return IdentifyDevice(p, link);
}

std::string ModelText(const Program& p) {
    return CStr(p.NCams) + " cams, " + CStr(p.NSizes) + " sizes, " + CStr(p.NMsgs) + " messages, " + CStr(p.NEncoders) +
           (p.NEncoders == 1 ? " encoder" : " encoders");
}

}  // namespace cam
