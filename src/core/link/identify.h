// Device identification: "?M" asks the programmer for its model.
#pragma once

#include "core/model/program.h"
#include "core/link/serial_link.h"

#include <optional>
#include <string_view>

namespace cam {

inline constexpr int kMaxIdentifyRepeats = 10;  // replies without the brand before giving up

// How one reply reads, field by field around the first "ZETO".
struct IdentifyReading {
    enum Verdict {
        NoBrand,      // missing, or within the first five characters: ask again
        Unsupported,  // fields out of range or outside the reply
        Supported,
    } verdict = NoBrand;
    // Fields accepted before the first that failed, in the order they are tested
    // (messages, cams, sizes); 0 when not accepted. encoders only with Supported.
    int msgs = 0;
    int cams = 0;
    int sizes = 0;
    int encoders = 0;
};
IdentifyReading ReadIdentification(std::string_view reply);

// Asks the device for its model and stores NCams, NSizes, NMsgs and NEncoders. Shows
// "KLM NOT FOUND"/"CONTROL WIRING" when no device answers and "DEVICE UNSUPPORTED" for a model
// it cannot serve (both close the port); an echoed command returns false quietly.
bool IdentifyDevice(Program& p, Link& link);
bool IdentifyDevice(Program& p, SerialPort& port, Clock& clock, Prompt& prompt);

// "32 cams, 60 sizes, 255 messages, 2 encoders"
std::string ModelText(const Program& p);

}  // namespace cam
