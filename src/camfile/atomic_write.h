// Replacing a file so that a failed write never destroys the previous content, and a
// finished one survives a power cut (flushed to the disk before the rename).
#pragma once

#include "core/result.h"

#include <string>
#include <string_view>

namespace cam {

// Writes bytes to a temporary file in the folder of path, flushes it to the disk and
// renames it over path (a symbolic link is followed: its target is replaced). An
// existing file keeps its permissions and group; one the user may not write (or that is
// write-protected) is refused, as a direct write would be. The process umask is never
// changed. On failure path is left as it was and the temporary file is removed.
Result WriteFileDurably(const std::string& path, std::string_view bytes);

}  // namespace cam
