// The largest cam file there can be: 60 sizes of 32 cams, every cam with 512 phases
// (every other position ON), about 11 MB and a million lines. Written, read, and split
// into lines (the floor any reader pays).
#include "core/camfile/cam_file.h"
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

}  // namespace
