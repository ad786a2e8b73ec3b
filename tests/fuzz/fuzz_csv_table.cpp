// Any bytes as a CSV table: the reader stays inside the input, and an imported program stays
// inside its tables and comes back the same through its own table and its cam file.
#include "core/camfile/cam_file.h"
#include "core/exchange/cam_csv.h"
#include "core/exchange/csv.h"
#include "core/model/scripted_prompt.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t fields = 0;
    for (const cam::CsvRecord& r : cam::ReadCsv(bytes).records) fields += r.fields.size();
    if (fields > size + 1) std::abort();
    cam::Program p;
    const cam::CsvImport r = cam::ImportCamCsv(p, bytes);
    if (!r.ok()) return 0;
    if (p.CamPos.cams() != p.NCams || p.CamPos.sizes() != p.NSizes) std::abort();
    cam::Program again;
    const std::string file = cam::CamFileText(p);
    if (!cam::ImportCamCsv(again, cam::CamCsvText(p)).ok() || cam::CamFileText(again) != file) std::abort();
    cam::Program read;
    read.NCams = p.NCams;
    read.NSizes = p.NSizes;
    cam::ResizeTables(read);
    cam::ScriptedPrompt prompt(true);
    if (cam::ReadCamFileText(read, file, prompt) != cam::CamFileRead::Complete || cam::CamFileText(read) != file)
        std::abort();
    return 0;
}
