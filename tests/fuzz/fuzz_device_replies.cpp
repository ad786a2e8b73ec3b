// Any bytes as what the device sends (identification, blocks, reception file) and a serial server.
#include "core/link/identify.h"
#include "core/link/network_port_name.h"
#include "core/link/reception_parser.h"
#include "core/link/telnet_com_port.h"
#include "core/model/scripted_prompt.h"
#include "support/fake_port.h"

#include <cstdint>
#include <string>

namespace {

// Made once for the whole run and emptied for each input: making them took most of the time.
cam::Program& ReceptionTables(int cams, int encoders) {
    static cam::Program programs[2];
    cam::Program& q = programs[cams == 32 ? 0 : 1];
    q.NCams = cams;
    q.NSizes = cams == 32 ? 7 : 15;
    if (q.CamPos.cams() != q.NCams || q.CamPos.sizes() != q.NSizes) cam::ResizeTables(q);
    cam::ClearAll(q);
    q.NAdvCams = q.EncShift2 = q.EncShift3 = 0;
    q.RotDir2 = q.RotDir3 = 0;
    q.NEncoders = encoders;
    return q;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    cam::ReadIdentification(bytes);

    // The same bytes from a serial server speaking telnet, and as a network port's name.
    cam::TelnetSession telnet;
    std::string line;
    (void)telnet.start();
    telnet.receive(bytes, line);
    (void)telnet.takeReplies();
    (void)telnet.lineMismatch(9600);
    cam::NetworkPortName name;
    (void)cam::ParseNetworkPortName(bytes, name);

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
        cam::Program& q = ReceptionTables(cams, 1 + static_cast<int>(size % 3));
        cam::LineSource in(bytes);
        (void)cam::ParseReception(q, in, cams, prompt);
    }
    return 0;
}
