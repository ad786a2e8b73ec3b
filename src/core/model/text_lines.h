// Reading text lines of files and received blocks: CR LF, LF and CR alone all end a line
// (files saved on any system, and by old Macintosh programs, read alike).
#pragma once

#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace cam {

// The lines of bytes in memory or of a file, handed out as views without a copy: the readers
// of large files look at a line where it lies. A file is read in blocks, so a reader never
// holds more of it than a block and the line being read. A view stays valid until the next
// call. A last line without a line end is a line too.
class LineSource {
public:
    explicit LineSource(std::string_view bytes);  // the bytes must outlive the source
    // A file; ok() is false when it cannot be opened.
    static LineSource File(const std::string& path);

    bool ok() const { return ok_; }
    // The next line without its line end; false at the end.
    bool next(std::string_view& line);
    bool atEnd();

private:
    LineSource() = default;
    bool refill();  // more of the file behind what is left; false at its end

    bool ok_ = true;
    std::unique_ptr<std::ifstream> file_;
    std::string block_;      // file mode: what was read and not yet handed out
    std::string_view rest_;  // what is left to hand out
};

}  // namespace cam
