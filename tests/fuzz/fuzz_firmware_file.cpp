// Any bytes as a firmware file: only sound records pass, and no control character is shown.
#include "core/firmware/firmware_file.h"
#include "core/firmware/flash_update.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cam::LineSource in(std::string_view(reinterpret_cast<const char*>(data), size));
    long lastShown = 0;
    const cam::FirmwareFile f = cam::ReadFirmwareRecords(in, [&](long records, long) {
        if (records < lastShown) std::abort();
        lastShown = records;
    });
    for (unsigned char c : cam::IdentificationRow(f.identification))
        if (c < 32) std::abort();
    if (!f.ok()) return 0;
    long bytes = 0;
    for (const std::string& r : f.records) {
        if (r.empty() || r[0] != ':' || !cam::RecordChecksumOk(r)) std::abort();
        if (cam::RecordDataBytes(r) * 2 + 11 != static_cast<int>(r.size())) std::abort();  // the count is its length
        bytes += cam::RecordDataBytes(r);
    }
    if (bytes != f.dataBytes) std::abort();
    const auto plan = cam::TransmissionPlan(f.records);
    if (plan.size() > f.records.size() + 1 || plan.empty() || plan.back().bytes > f.dataBytes) std::abort();
    if (f.records.back().substr(7, 2) != "01") std::abort();  // the end record last
    return 0;
}
