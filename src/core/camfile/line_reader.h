// Lines of cam files and received size blocks: CR LF or LF ends a line.
#pragma once

#include "core/model/text_lines.h"

#include <string>

namespace cam {

inline bool AtEnd(LineSource& in) { return in.atEnd(); }

// The next line into line (a copy: LineBuf keeps it); false at the end of the input, where
// line keeps the last line read (the readers name it in their messages).
inline bool NextLine(LineSource& in, std::string& line) {
    std::string_view view;
    if (!in.next(view)) return false;
    line.assign(view);
    return true;
}

}  // namespace cam
