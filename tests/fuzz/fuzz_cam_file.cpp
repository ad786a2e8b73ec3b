// Any bytes as a cam file: the reader stays inside the tables, and what it read survives a
// write and a read, and a CSV export and import.
#include "core/camfile/cam_file.h"
#include "core/exchange/cam_csv.h"
#include "core/model/scripted_prompt.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>

namespace {

struct Setting {
    int cams, sizes, encoders;
    bool accept, csv;  // csv: also through a CSV table and back
};

// Taken from the bytes themselves, so that a crash replays.
Setting SettingFor(const std::string& bytes) {
    const unsigned sum = std::accumulate(bytes.begin(), bytes.end(), 0u,
                                         [](unsigned a, char c) { return a + static_cast<unsigned char>(c); });
    static const int kModels[4][2] = {{32, 7}, {16, 15}, {32, 30}, {16, 60}};
    return {kModels[(sum >> 1) % 4][0], kModels[(sum >> 1) % 4][1], static_cast<int>((sum >> 3) % 4), (sum & 1) != 0,
            (sum >> 5) % 4 == 0};
}

// One program per model for the whole run, emptied for each input: making 60 sizes is slow.
cam::Program& Fresh(const Setting& s, int which) {
    static cam::Program programs[2][4];
    const int model = (s.cams == 32 ? 0 : 1) + (s.sizes > 15 ? 2 : 0);
    cam::Program& p = programs[which][model];
    p.NCams = s.cams;
    p.NSizes = s.sizes;
    p.NEncoders = s.encoders;
    if (p.CamPos.sizes() != s.sizes || p.CamPos.cams() != s.cams) cam::ResizeTables(p);
    cam::ClearAll(p);
    p.NAdvCams = p.EncShift2 = p.EncShift3 = 0;
    p.RotDir2 = p.RotDir3 = 0;
    p.LngTxt[10] = " IS NOT A CAM FILE";
    return p;
}

// Left out of the coverage instrumentation: its scan of every position is not what is explored.
__attribute__((no_sanitize("coverage"))) void Check(const cam::Program& p) {
    if (p.CamPos.cams() != p.NCams || p.CamPos.sizes() != p.NSizes) std::abort();
    if (p.AdvMs.size() != static_cast<std::size_t>(p.NCams) || p.CamRemark.size() != p.AdvMs.size()) std::abort();
    if (p.NAdvCams < 0 || p.NAdvCams > p.NCams) std::abort();
    if (p.NEncoders < 0 || p.NEncoders > 3) std::abort();
    for (int s = 1; s <= p.NSizes; ++s)
        for (int c = 0; c < p.NCams; ++c) {
            const std::uint8_t* pos = p.CamPos.cam(s, c);
            for (int i = 0; i < cam::kPositions; i += 8) {
                std::uint64_t eight;
                std::memcpy(&eight, pos + i, 8);
                if (eight & 0xFEFEFEFEFEFEFEFEull) std::abort();
            }
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const Setting setting = SettingFor(bytes);

    cam::Program& p = Fresh(setting, 0);
    cam::ScriptedPrompt prompt(setting.accept);
    (void)cam::ReadCamFileText(p, bytes, prompt);
    Check(p);
    if (p.ReadError) return 0;

    const std::string written = cam::CamFileText(p);
    cam::Program& q = Fresh(setting, 1);
    // A "1ENC" line makes a file without an encoder line, whose reading keeps the model's count.
    q.NEncoders = p.NEncoders;
    cam::ScriptedPrompt again(true);
    (void)cam::ReadCamFileText(q, written, again);
    if (q.ReadError || !again.asked().empty() || cam::CamFileText(q) != written) std::abort();

    // The CSV way scans every position: a quarter of the smaller models' inputs keeps the pace.
    if (!setting.csv || setting.sizes > 15) return 0;
    cam::Program& imported = Fresh(setting, 1);
    if (!cam::ImportCamCsv(imported, cam::CamCsvText(p)).ok() || cam::CamFileText(imported) != written) std::abort();
    return 0;
}
