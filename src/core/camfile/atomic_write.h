// Replacing a file so that a failed write never destroys the previous content, and a
// finished one survives a power cut (flushed to the disk before the rename).
#pragma once

#include "core/model/result.h"

#include <string>
#include <string_view>

#include <sys/stat.h>

namespace cam {

// A file written in pieces into a temporary file beside it, which takes its place only when
// complete. Symbolic links stay links: a chain of them is followed to the real file, which is
// replaced; a loop is refused, and so is a link in a shared folder with the sticky bit (such
// as /tmp) that belongs to neither this user nor the folder's owner, which the system itself
// would not follow. An existing file that is not a regular file (a device such as /dev/null,
// a FIFO) is never replaced: it is written directly, a FIFO only while a program reads from
// it; any other kind is refused. An existing file keeps its permissions and group; one the
// user may not write (or that is write-protected) is refused, as a direct write would be. The
// process umask is never changed. The temporary files that an interrupted save of the same
// file left behind are removed.
class DurableFile {
public:
    explicit DurableFile(const std::string& path);
    // Not committed: the temporary file is removed and path is left as it was.
    ~DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;

    // Whether the temporary file could be made, and why not.
    const Result& opened() const { return state_; }
    Result write(std::string_view bytes);
    // Flushes to the disk and puts the file in place.
    Result commit();

private:
    Result fail(const std::string& what, int err);
    void openDirectly(const struct stat& st);
    std::string target_;
    bool direct_ = false;  // written in place: a device or a FIFO
    std::string dir_;
    std::string tmp_;
    int fd_ = -1;
    Result state_;
};

// The whole file at once.
Result WriteFileDurably(const std::string& path, std::string_view bytes);

}  // namespace cam
