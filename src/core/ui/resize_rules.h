// Pure rules of the proportional resizer: which properties a control's "@L,T,W,H,F" tag lets
// follow the window, and the scaled geometry, always computed from the recorded values.
#pragma once

#include <string_view>

namespace cam {

struct ResizeTag {
    bool left = true, top = true, width = true, height = true, font = true;
};
// Empty tag or one not starting with "@" = everything follows; letters in any case.
ResizeTag ParseResizeTag(std::string_view tag);

struct ControlRecord {
    long left = 0, top = 0, width = 0, height = 0;
    double fontSize = 0;  // <= 0: the control has no font of its own to scale
};
// The record scaled by rx (left, width, font) and ry (top, height) where the tag allows.
ControlRecord ScaleRecord(const ControlRecord& r, const ResizeTag& tag, double rx, double ry);

}  // namespace cam
