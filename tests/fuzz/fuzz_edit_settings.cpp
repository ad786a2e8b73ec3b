// Any bytes as the settings file: the snap step stays within its limits and survives a write.
#include "core/model/edit_settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cam::Program p, q;
    cam::ParseEditSettings(p, std::string_view(reinterpret_cast<const char*>(data), size));
    if (p.SnapStep < 1 || p.SnapStep > cam::kMaxSnapStep) std::abort();
    cam::ParseEditSettings(q, cam::FormatEditSettings(p));
    if (q.SnapStep != p.SnapStep) std::abort();
    return 0;
}
