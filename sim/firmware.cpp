#include "firmware.h"

#include "device_memory.h"

#include <sstream>

namespace camsim {

namespace {

constexpr const char* kFirstLine = "camsim firmware 1";
constexpr std::size_t kMaxRecord = 1 + 2 * (5 + 255);  // ":" and 255 data bytes
constexpr std::size_t kMaxRecords = 1'000'000;         // far more than a flash can hold
constexpr std::size_t kMaxImageBytes = 64 * 1024 * 1024;

// The record's bytes after ":", or false when a character is not a hex digit or the pairs
// do not come out even.
bool RecordBytes(std::string_view line, std::vector<unsigned char>* bytes) {
    if (line.empty() || line[0] != ':' || line.size() % 2 != 1 || line.size() > kMaxRecord) return false;
    bytes->clear();
    for (std::size_t i = 1; i < line.size(); i += 2) {
        unsigned v = 0;
        for (char c : line.substr(i, 2)) {
            const char l = static_cast<char>(c | 0x20);  // 'A'..'F' as 'a'..'f'
            if (c >= '0' && c <= '9')
                v = v * 16 + static_cast<unsigned>(c - '0');
            else if (l >= 'a' && l <= 'f')
                v = v * 16 + static_cast<unsigned>(l - 'a' + 10);
            else
                return false;
        }
        bytes->push_back(static_cast<unsigned char>(v));
    }
    return true;
}

}  // namespace

bool SoundRecord(std::string_view line) {
    std::vector<unsigned char> b;
    if (!RecordBytes(line, &b) || b.size() < 5 || static_cast<std::size_t>(b[0]) != b.size() - 5) return false;
    unsigned char sum = 0;
    for (unsigned char x : b) sum = static_cast<unsigned char>(sum + x);
    return sum == 0;
}

FlashSession::Result FlashSession::take(std::string_view line) {
    std::vector<unsigned char> b;
    if (!SoundRecord(line) || !RecordBytes(line, &b)) return Result::Refused;
    const unsigned address = b[1] * 256u + b[2];
    const unsigned type = b[3];
    if (b[0] > 0) image_.records.emplace_back(line);
    // The program identification lives at 0600 in data records.
    if (type == 0 && address == 0x0600) image_.identification.append(b.begin() + 4, b.end() - 1);
    return type == 1 ? Result::Ended : Result::Taken;
}

std::string FirmwarePath(const std::string& dir, const Model& m) {
    return dir + "/camsim-" + std::to_string(m.cams) + "x" + std::to_string(m.sizes) + "x" + std::to_string(m.msgs) +
           "x" + std::to_string(m.encoders) + ".firmware";
}

std::string SaveFirmware(const Firmware& fw, const std::string& path) {
    std::string text = std::string(kFirstLine) + "\nidentification =" + HexOf(fw.identification) + "\n";
    for (const std::string& r : fw.records) text += "record " + r + "\n";
    text += "end\n";
    return ReplaceFile(path, text);
}

bool LoadFirmware(const std::string& path, Firmware* fw, std::string* error) {
    *fw = Firmware{};
    std::string bytes;
    if (!ReadStateFile(path, kMaxImageBytes, &bytes, error)) return false;
    if (bytes.empty()) return true;
    std::istringstream file(bytes);
    Firmware got;
    std::string line;
    int lineNo = 0;
    while (std::getline(file, line)) {
        ++lineNo;
        bool ok = true;
        if (lineNo == 1) {
            ok = line == kFirstLine;
        } else if (line.rfind("identification =", 0) == 0) {
            ok = BytesOf(line.substr(16), &got.identification);
        } else if (line.rfind("record ", 0) == 0) {
            ok = SoundRecord(line.substr(7)) && got.records.size() < kMaxRecords;
            if (ok) got.records.push_back(line.substr(7));
        } else if (line == "end") {
            *fw = std::move(got);
            return true;
        } else {
            ok = false;
        }
        if (!ok) {
            *error = path + ":" + std::to_string(lineNo) + ": unreadable line";
            return false;
        }
    }
    *error = path + ": the file ends too early";
    return false;
}

}  // namespace camsim
