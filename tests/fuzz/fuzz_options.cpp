// Any bytes as an options file: sane values, which survive a write and a read.
#include "core/model/options.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cam::Program p;
    cam::ParseOptions(p, std::string_view(reinterpret_cast<const char*>(data), size));
    if (p.ComPort < 1 || p.ComSpeed < 1) std::abort();
    if (p.RecentFiles.size() > static_cast<std::size_t>(cam::kMaxRecentFiles)) std::abort();

    // A value with a CR, which would end its line, is left out on writing.
    auto hasCr = [](const std::string& s) { return s.find('\r') != std::string::npos; };
    if (hasCr(p.ComDevice)) return 0;
    for (const auto& f : p.RecentFiles)
        if (hasCr(f)) return 0;

    cam::Program q;
    cam::ParseOptions(q, cam::FormatOptions(p));
    if (q.ComSpeed != p.ComSpeed || q.ComDevice != p.ComDevice || q.RecentFiles != p.RecentFiles) std::abort();
    if (q.ComDevice.empty() && q.ComPort != p.ComPort) std::abort();
    return 0;
}
