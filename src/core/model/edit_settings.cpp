#include "core/model/edit_settings.h"

#include "core/camfile/atomic_write.h"
#include "core/model/file_io.h"
#include "core/model/text_format.h"
#include "core/model/text_lines.h"

#include <algorithm>

namespace cam {

namespace {
constexpr std::string_view kSnapKey = "SnapStep=";
}

std::string EditSettingsPath(const Program& p) { return p.WorkDir + "/" + kEditSettingsFileName; }

int SnapStepOf(std::string_view text) {
    return static_cast<int>(std::clamp(ValRounded(text), 1L, static_cast<long>(kMaxSnapStep)));
}

void ParseEditSettings(Program& p, std::string_view bytes) {
    LineSource in(bytes);
    for (std::string_view line; in.next(line);) {
        if (StartsWith(line, kSnapKey)) {
            const std::string_view value = TrimBlanks(line.substr(kSnapKey.size()));
            if (!value.empty() && value.find_first_not_of("0123456789") == std::string_view::npos)
                p.SnapStep = SnapStepOf(value);
        }
    }
}

std::string FormatEditSettings(const Program& p) {
    return std::string(kSnapKey) + CStr(std::clamp(p.SnapStep, 1, kMaxSnapStep)) + "\r\n";
}

void ReadEditSettings(Program& p) {
    // One short line: a larger file is none of ours.
    constexpr std::uintmax_t kMaxBytes = 64 * 1024;
    if (const FileBytes file = ReadFileBytes(EditSettingsPath(p), kMaxBytes); file.ok())
        ParseEditSettings(p, file.bytes);
}

Result WriteEditSettings(const Program& p) { return WriteFileDurably(EditSettingsPath(p), FormatEditSettings(p)); }

}  // namespace cam
