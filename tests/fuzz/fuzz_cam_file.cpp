// Any bytes as a cam file: the reader must stay inside the tables whatever the model,
// the answers and the encoder count, and what it read must survive a write and a read.
#include "camfile/cam_file.h"
#include "core/scripted_prompt.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <string>

namespace {

// The reader takes a path: one scratch file per fuzzing process, removed at its end.
struct Scratch {
    Scratch() {
        const int fd = ::mkstemp(path.data());
        if (fd < 0) std::abort();
        ::close(fd);
    }
    ~Scratch() { ::unlink(path.c_str()); }
    std::string path = "/tmp/fuzz_cam_file.XXXXXX";
};

const std::string& ScratchPath() {
    static const Scratch scratch;
    return scratch.path;
}

void WriteScratch(const std::string& bytes) {
    std::ofstream out(ScratchPath(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Setting {
    int cams, sizes, encoders;
    bool accept;
};

// The model, the encoder count and the answers come from the bytes themselves, so every
// input meets a definite setting and a crash replays.
Setting SettingFor(const std::string& bytes) {
    const unsigned sum = std::accumulate(bytes.begin(), bytes.end(), 0u,
                                         [](unsigned a, char c) { return a + static_cast<unsigned char>(c); });
    static const int kModels[4][2] = {{32, 7}, {16, 15}, {32, 30}, {16, 60}};
    return {kModels[(sum >> 1) % 4][0], kModels[(sum >> 1) % 4][1], static_cast<int>((sum >> 3) % 4), (sum & 1) != 0};
}

cam::Program Fresh(const Setting& s) {
    cam::Program p;
    p.NCams = s.cams;
    p.NSizes = s.sizes;
    p.NEncoders = s.encoders;
    cam::ResizeTables(p);
    p.LngTxt[10] = " IS NOT A CAM FILE";
    return p;
}

void Check(const cam::Program& p) {
    if (p.CamPos.cams() != p.NCams || p.CamPos.sizes() != p.NSizes) std::abort();
    if (p.AdvMs.size() != static_cast<std::size_t>(p.NCams) || p.CamRemark.size() != p.AdvMs.size()) std::abort();
    if (p.NAdvCams < 0 || p.NAdvCams > p.NCams) std::abort();
    if (p.NEncoders < 0 || p.NEncoders > 3) std::abort();
    for (int s = 1; s <= p.NSizes; ++s)
        for (int c = 0; c < p.NCams; ++c) {
            const std::uint8_t* pos = p.CamPos.cam(s, c);
            if (std::any_of(pos, pos + cam::kPositions, [](std::uint8_t v) { return v > 1; })) std::abort();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Setting setting = SettingFor(bytes);

    cam::Program p = Fresh(setting);
    cam::ScriptedPrompt prompt(setting.accept);
    WriteScratch(bytes);
    cam::ReadCamFile(p, ScratchPath(), prompt);
    Check(p);
    if (p.ReadError) return 0;

    // Whatever was read is written out and read back to the very same file.
    const std::string written = cam::CamFileText(p);
    cam::Program q = Fresh(setting);
    // A "1ENC" line makes a one-encoder model whose file has no encoder line; reading
    // that back keeps whatever count the model had, so start from the same count.
    q.NEncoders = p.NEncoders;
    cam::ScriptedPrompt again(true);
    WriteScratch(written);
    cam::ReadCamFile(q, ScratchPath(), again);
    if (q.ReadError || !again.asked().empty()) std::abort();
    if (cam::CamFileText(q) != written) std::abort();
    return 0;
}
