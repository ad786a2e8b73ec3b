// Lines of cam files and received size blocks: CR LF or LF ends a line.
#pragma once

#include "core/text_lines.h"

#include <istream>
#include <string>

namespace cam {

inline bool AtEnd(std::istream& in) { return in.peek() == std::istream::traits_type::eof(); }

// The next line without its line end; false at end of file, where line keeps the last
// line read (the readers name it in their messages).
inline bool NextLine(std::istream& in, std::string& line) { return !AtEnd(in) && ReadTextLine(in, line); }

}  // namespace cam
