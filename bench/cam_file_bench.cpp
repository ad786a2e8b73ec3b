// The largest cam file there can be: 60 sizes of 32 cams, every cam with 512 phases
// (every other position ON), about 11 MB and a million lines. Written, read, and split
// into lines (the floor any reader pays). And the change history of 256 receptions of such a
// program, each changing every cam of every size.
#include "core/camfile/cam_file.h"
#include "core/editor/cam_document.h"
#include "core/editor/size_commands.h"
#include "core/model/scripted_prompt.h"
#include "core/model/text_lines.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

cam::Program LargestProgram() {
    cam::Program p;
    p.NCams = 32;
    p.NSizes = 60;
    p.NEncoders = 1;
    cam::ResizeTables(p);
    for (int s = 1; s <= p.NSizes; ++s)
        for (int c = 0; c < p.NCams; ++c) {
            p.CamRemark[c] = "REMARK OF CAM " + std::to_string(c + 1);
            for (int on = 0; on < cam::kPositions; on += 2) cam::SetPhase(p, s, c, on, on + 1);
        }
    return p;
}

const std::string& LargestText() {
    static const std::string text = [] {
        cam::Program p = LargestProgram();
        return cam::CamFileText(p);
    }();
    return text;
}

std::string ScratchPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

void BM_WriteText(benchmark::State& state) {
    cam::Program p = LargestProgram();
    for (auto _ : state) benchmark::DoNotOptimize(cam::CamFileText(p));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargestText().size()));
}
BENCHMARK(BM_WriteText)->Unit(benchmark::kMillisecond);

// Including the flush to the disk and the rename.
void BM_WriteCamFile(benchmark::State& state) {
    cam::Program p = LargestProgram();
    const std::string path = ScratchPath("camdesk_bench_write.Cam");
    for (auto _ : state)
        if (!cam::WriteCamFile(p, path).reason().empty()) state.SkipWithError("write failed");
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargestText().size()));
}
BENCHMARK(BM_WriteCamFile)->Unit(benchmark::kMillisecond);

void BM_ReadCamFile(benchmark::State& state) {
    const std::string path = ScratchPath("camdesk_bench_read.Cam");
    std::ofstream(path, std::ios::binary) << LargestText();
    cam::Program p;
    p.NCams = 32;
    p.NSizes = 60;
    cam::ResizeTables(p);
    cam::ScriptedPrompt prompt;
    for (auto _ : state) {
        cam::ReadCamFile(p, path, prompt);
        if (p.ReadError || !prompt.asked().empty()) state.SkipWithError("read failed");
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargestText().size()));
}
BENCHMARK(BM_ReadCamFile)->Unit(benchmark::kMillisecond);

void BM_SplitLines(benchmark::State& state) {
    const std::string& text = LargestText();
    for (auto _ : state) {
        cam::LineSource in(text);
        std::string_view line;
        std::size_t lines = 0;
        while (in.next(line)) ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SplitLines)->Unit(benchmark::kMillisecond);

void BM_HistoryOfReceptions(benchmark::State& state) {
    const cam::Program full = LargestProgram();
    cam::Program shifted = full;  // every phase one position later: every cam differs
    for (int s = 1; s <= shifted.NSizes; ++s)
        for (int c = 0; c < shifted.NCams; ++c) cam::RotatePositions(shifted.CamPos.cam(s, c), 1);
    for (auto _ : state) {
        cam::Program p = full;
        cam::CamDocument doc(p);
        for (int n = 0; n < 256; ++n) doc.Replace("reception " + std::to_string(n), n % 2 ? full : shifted);
        state.counters["entries_kept"] = double(doc.history().count());
        state.counters["history_MB"] = double(doc.history().bytes()) / (1 << 20);
    }
}
BENCHMARK(BM_HistoryOfReceptions)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
