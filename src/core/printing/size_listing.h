// The words of a size printout: the header line both printouts start with, and the text
// listing of one size (every cam with its remark and its phases as numbers), wrapped at
// the right margin by a width the caller measures in the font it prints with.
#pragma once

#include "core/model/program.h"

#include <functional>
#include <string>
#include <vector>

namespace cam {

// "CAM PROGRAMMER 1024 32     FORMATO N. 05                    File:demo.Cam"
std::string PrintHeaderLine(const Program& p, int size);
// The header line of a page the listing of a size goes on over, with that page's number
// among the size's pages: "CAM PROGRAMMER ... File:demo.Cam   - 2 -".
std::string ContinuedHeaderLine(const Program& p, int size, int page);

// The cam line of the listing: "C 05", and "C 05  \"GLUE\"" for a cam with a remark.
std::string ListingCamLine(const Program& p, int cam);

struct ListingLine {
    std::string text;  // Windows-1252
    bool bold = false;
};

// Width of a text in the listing's font, in the units of the right margin.
using TextWidth = std::function<double(const std::string&)>;

// The phases of one cam of one size in chart order, the phase through position 0 first:
// "   0900 0050 - 0100 0200 - ...". A line takes phases while its width stays within
// margin; the first phase of every line is indented by three blanks. No line for a cam
// without phases.
std::vector<std::string> ListingPhaseLines(const Program& p, int size, int cam, const TextWidth& width, double margin);

// The whole listing of one size: an empty line, the bold header line, then per cam its
// cam line and its phase lines. A size outside the tables lists nothing.
std::vector<ListingLine> ListingLines(const Program& p, int size, const TextWidth& width, double margin);

}  // namespace cam
