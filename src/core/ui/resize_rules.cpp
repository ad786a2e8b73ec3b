#include "core/ui/resize_rules.h"

#include <cctype>
#include <cmath>

namespace cam {

ResizeTag ParseResizeTag(std::string_view tag) {
    if (tag.empty() || tag.front() != '@') return {};
    ResizeTag t{false, false, false, false, false};
    for (char c : tag.substr(1)) {
        switch (std::toupper(static_cast<unsigned char>(c))) {
            case 'L':
                t.left = true;
                break;
            case 'T':
                t.top = true;
                break;
            case 'W':
                t.width = true;
                break;
            case 'H':
                t.height = true;
                break;
            case 'F':
                t.font = true;
                break;
            default:
                break;
        }
    }
    return t;
}

ControlRecord ScaleRecord(const ControlRecord& r, const ResizeTag& tag, double rx, double ry) {
    auto scale = [](long v, double ratio) { return std::lround(v * ratio); };
    ControlRecord out = r;
    if (tag.font && r.fontSize > 0) out.fontSize = r.fontSize * rx;
    if (tag.left) out.left = scale(r.left, rx);
    if (tag.top) out.top = scale(r.top, ry);
    if (tag.width) out.width = scale(r.width, rx);
    if (tag.height) out.height = scale(r.height, ry);
    return out;
}

}  // namespace cam
