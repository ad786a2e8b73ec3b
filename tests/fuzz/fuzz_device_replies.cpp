// What the device sends: identification replies, received blocks and the reception file
// made of them, through the very routines that read them.
#include "core/scripted_prompt.h"
#include "link/identify.h"
#include "link/reception_parser.h"
#include "support/fake_port.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    cam::ReadIdentification(bytes);

    cam::FakeClock clock;
    cam::FakePort port(clock);
    cam::ScriptedPrompt prompt;
    cam::Program p;
    // The device answers "?M" with the input, cut in two pieces.
    port.device = [&bytes](cam::FakePort& f, const std::string& w) {
        if (w.empty() || w.back() != '\r') return;
        f.reply(bytes.substr(0, bytes.size() / 2), 5);
        f.reply(bytes.substr(bytes.size() / 2), 50);
    };
    cam::IdentifyDevice(p, port, clock, prompt);

    // The same bytes as a stream of blocks.
    port.device = nullptr;
    cam::Link link(port, clock, prompt);
    (void)cam::OpenPort(p, link);
    port.reply(bytes, 10);
    for (int i = 0; i < 4 && port.isOpen(); ++i) (void)cam::ReceiveBlock(link);

    // The same bytes as a reception file, for both cam counts and several encoders.
    for (int cams : {16, 32}) {
        cam::Program q;
        q.NCams = cams;
        q.NSizes = cams == 32 ? 7 : 15;
        q.NEncoders = 1 + static_cast<int>(size % 3);
        cam::ResizeTables(q);
        cam::LineSource in(bytes);
        (void)cam::ParseReception(q, in, cams, prompt);
    }
    return 0;
}
