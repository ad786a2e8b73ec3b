#include "core/model/options.h"

#include "core/camfile/atomic_write.h"
#include "core/model/file_io.h"
#include "core/model/text_format.h"
#include "core/model/text_lines.h"
#include "core/link/port_name.h"

#include <optional>
#include <vector>

namespace cam {

namespace {

struct Field {
    std::string text;
    bool quoted = false;
};

// Fields of a comma-separated record: a field ends at a comma or at the end of the line;
// a quoted field may hold commas, its quotes are removed and anything between the closing
// quote and the next comma is ignored. Blanks around an unquoted field are dropped.
std::vector<Field> SplitRecord(std::string_view line) {
    std::vector<Field> fields;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (true) {
        while (i < n && line[i] == ' ') ++i;
        Field f;
        if (i < n && line[i] == '"') {
            f.quoted = true;
            const std::size_t close = line.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? n : close;
            f.text = std::string(line.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? n : close + 1;
            const std::size_t comma = line.find(',', i);
            i = comma == std::string_view::npos ? n : comma;
        } else {
            const std::size_t comma = line.find(',', i);
            const std::size_t end = comma == std::string_view::npos ? n : comma;
            f.text = std::string(TrimBlanks(line.substr(i, end - i)));
            i = end;
        }
        fields.push_back(std::move(f));
        if (i >= n) break;
        ++i;  // the comma
    }
    return fields;
}

// A positive whole number of plain digits, or nothing: anything else keeps the default.
std::optional<long> PlainNumber(const Field& f) {
    if (f.quoted || f.text.empty() || f.text.size() > 9) return std::nullopt;
    long v = 0;
    for (char c : f.text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < 1) return std::nullopt;
    return v;
}

// A value the record cannot hold: a quote would end the quoted field early, and a line
// end would split the file's lines.
bool FitsQuoted(std::string_view text) { return text.find_first_of("\"\r\n") == std::string_view::npos; }
bool FitsLine(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }

}  // namespace

std::string OptionsPath(const Program& p) {
    if (p.WorkDir.empty()) return kOptionsFileName;
    if (p.WorkDir.back() == '/' || p.WorkDir.back() == '\\') return p.WorkDir + kOptionsFileName;
    return p.WorkDir + "/" + kOptionsFileName;
}

void ParseOptions(Program& p, std::string_view bytes) {
    LineSource in(bytes);
    std::string_view line;
    if (!in.next(line)) return;

    const std::vector<Field> fields = SplitRecord(line);
    if (!fields.empty() && !fields[0].text.empty()) p.LngFile = fields[0].text;
    if (fields.size() > 1) {
        const Field& port = fields[1];
        if (port.quoted) {
            // A port written as "COMn" is the same port as the plain number n.
            if (auto n = ComNumber(port.text)) {
                p.ComPort = *n;
                p.ComDevice.clear();
            } else if (!port.text.empty()) {
                p.ComDevice = port.text;
            }
        } else if (auto n = PlainNumber(port)) {
            p.ComPort = *n;
            p.ComDevice.clear();
        }
    }
    if (fields.size() > 2) {
        if (auto n = PlainNumber(fields[2])) p.ComSpeed = *n;
    }
    p.StoredPort.reset();  // the port just read is the stored one

    // Lines 2..6; an empty line names no file and is passed over.
    p.RecentFiles.clear();
    for (int i = 0; i < kMaxRecentFiles && in.next(line); ++i) {
        if (!line.empty()) p.RecentFiles.emplace_back(line);
    }
}

Result ReadOptions(Program& p) {
    const FileBytes file = ReadFileBytes(OptionsPath(p), kMaxOptionsFileBytes);
    if (!file.ok()) return file.read;
    ParseOptions(p, file.bytes);
    return {};
}

std::string FormatOptions(const Program& p) {
    std::string out = "\"";
    // A path the record cannot hold is left out: the default script is used instead.
    if (FitsQuoted(p.LngFile)) out += p.LngFile;
    out += "\",";
    // A port used for this run only is never stored: the options keep the one they had.
    const PortSettings port = p.StoredPort.value_or(p.Port());
    if (!port.ComDevice.empty() && FitsQuoted(port.ComDevice))
        out += "\"" + port.ComDevice + "\"";
    else
        out += CStr(port.ComPort);
    out += "," + CStr(port.ComSpeed) + "\r\n";
    int written = 0;
    for (const std::string& path : p.RecentFiles) {
        if (written == kMaxRecentFiles) break;
        if (path.empty() || !FitsLine(path)) continue;
        out += path + "\r\n";
        ++written;
    }
    return out;
}

Result WriteOptions(const Program& p) { return WriteFileDurably(OptionsPath(p), FormatOptions(p)); }

}  // namespace cam
