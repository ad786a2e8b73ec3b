// An outline (the bookmarks a PDF reader lists beside the pages) for a PDF that its writer
// made without one (Qt's PDF writer has no way to make it). The outline is added as an
// incremental update: new objects, the document catalog again with the outline, and a
// cross-reference section of their own after the file's end; the bytes before stay as
// they were.
#pragma once

#include "core/model/result.h"

#include <string>
#include <vector>

namespace cam {

struct OutlineEntry {
    int level = 1;      // 1, 2, 3...: an entry belongs to the last entry of a lower level before it
    std::string title;  // UTF-8
    int page = 0;       // 0-based
    double top = -1;    // where the reader shows it: points above the page's bottom; < 0: the page's top
};

// Adds the outline to pdf, opened beside the pages when the PDF is opened. A PDF whose
// structure it does not know (no cross-reference table, pages in more than one level, an
// outline already there) or an entry on a page it does not have is a failure that says so,
// and pdf stays as it was.
Result AddPdfOutline(std::string& pdf, const std::vector<OutlineEntry>& entries);

}  // namespace cam
