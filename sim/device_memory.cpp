#include "device_memory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>

namespace camsim {

namespace {

constexpr const char* kFirstLine = "camsim state 1";
// Every phase of every cam of every size and every message: a few megabytes.
constexpr std::size_t kMaxStateBytes = 16 * 1024 * 1024;

std::string Text(const DeviceMemory& mem) {
    const Functions& f = mem.functions;
    std::ostringstream o;
    o << kFirstLine << '\n';
    o << "functions " << f.advOn << ' ' << f.delayOn << ' ' << f.ratioOn << ' ' << f.ratio17On << ' ' << f.delay17_20
      << ' ' << f.delay21_24 << ' ' << f.ratio25_32 << ' ' << f.outSize << ' ' << f.speedLimit << '\n';
    o << "encoders";
    for (int e = 0; e < 3; ++e) o << ' ' << f.shift[e] << ' ' << f.dir[e];
    o << "\ngroup";
    for (int g : f.group) o << ' ' << g;
    o << "\nadvances " << f.advances.size();
    for (int a : f.advances) o << ' ' << a;
    o << '\n';
    for (std::size_t s = 0; s < mem.sizes.size(); ++s) {
        if (mem.sizes[s].empty()) continue;
        o << "size " << s + 1 << '\n';
        for (const CamProgram& c : mem.sizes[s]) {
            o << "cam " << c.cam << ' ' << (c.hasRemark ? "=" + HexOf(c.remark) : "-") << '\n';
            for (auto [on, off] : c.phases) o << "phase " << on << ' ' << off << '\n';
        }
    }
    for (std::size_t n = 0; n < mem.messages.size(); ++n)
        if (!mem.messages[n].empty()) o << "msg " << n + 1 << " =" << HexOf(mem.messages[n]) << '\n';
    o << "end\n";
    return o.str();
}

// Reads count numbers in 0..max from the line; false when one is missing or out of range.
bool Numbers(std::istringstream& in, std::initializer_list<int*> into, int max) {
    for (int* v : into) {
        long x = -1;
        if (!(in >> x) || x < 0 || x > max) return false;
        *v = static_cast<int>(x);
    }
    return true;
}

}  // namespace

std::string HexOf(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string h;
    for (unsigned char c : bytes) {
        h += digits[c >> 4];
        h += digits[c & 15];
    }
    return h;
}

bool BytesOf(const std::string& hex, std::string* out) {
    if (hex.size() % 2 != 0) return false;
    out->clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int v = 0;
        for (char c : hex.substr(i, 2)) {
            int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
            if (d < 0) return false;
            v = v * 16 + d;
        }
        *out += static_cast<char>(v);
    }
    return true;
}

int CamsHeld(const Model& m) { return std::clamp(m.cams, 0, kMemoryCams); }
int SizesHeld(const Model& m) { return std::clamp(m.sizes, 0, kMemorySizes); }
int MessagesHeld(const Model& m) { return std::clamp(m.msgs, 0, kMemoryMessages); }

DeviceMemory EmptyMemory(const Model& m) {
    DeviceMemory mem;
    mem.sizes.resize(static_cast<std::size_t>(SizesHeld(m)));
    mem.messages.resize(static_cast<std::size_t>(MessagesHeld(m)));
    return mem;
}

std::string StatePath(const std::string& dir, const Model& m) {
    return dir + "/camsim-" + std::to_string(m.cams) + "x" + std::to_string(m.sizes) + "x" + std::to_string(m.msgs) +
           "x" + std::to_string(m.encoders) + ".state";
}

std::string ReplaceFile(const std::string& path, const std::string& text) {
    // Written beside, flushed to the disk, then put in place: a crash never leaves half a file.
    // The new file is made exclusively under a random name, so that nothing planted there (a
    // link to another file) is written through.
    std::random_device random;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
        temp = path + suffix;
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return "cannot write " + temp + ": " + std::strerror(errno);
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t w = ::write(fd, text.data() + done, text.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            std::string why = std::strerror(errno);
            ::close(fd);
            ::unlink(temp.c_str());
            return "cannot write " + temp + ": " + why;
        }
        done += static_cast<std::size_t>(w);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        std::string why = std::strerror(errno);
        ::unlink(temp.c_str());
        return "cannot write " + temp + ": " + why;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::string why = std::strerror(errno);
        ::unlink(temp.c_str());
        return "cannot replace " + path + ": " + why;
    }
    return "";
}

std::string SaveState(const DeviceMemory& mem, const std::string& path) { return ReplaceFile(path, Text(mem)); }

bool ReadStateFile(const std::string& path, std::size_t limit, std::string* bytes, std::string* error) {
    bytes->clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return true;
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    std::string why;
    if (::fstat(fd, &st) != 0)
        why = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        why = "not a regular file";
    else if (static_cast<std::size_t>(st.st_size) > limit)
        why = "larger than any state can be";
    for (std::size_t got = 0; why.empty();) {
        bytes->resize(got + 65536);
        const ssize_t n = ::read(fd, bytes->data() + got, bytes->size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) why = std::strerror(errno);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
        bytes->resize(got);
        if (got > limit) why = "larger than any state can be";
    }
    ::close(fd);
    if (why.empty()) return true;
    bytes->clear();
    *error = path + ": " + why;
    return false;
}

std::string ShownLine(const std::string& line) {
    constexpr std::size_t kShown = 60;
    return line.size() > kShown ? line.substr(0, kShown) + "..." : line;
}

bool LoadState(const Model& m, const std::string& path, DeviceMemory* mem, std::string* error) {
    *mem = EmptyMemory(m);
    std::string bytes;
    if (!ReadStateFile(path, kMaxStateBytes, &bytes, error)) return false;
    if (bytes.empty()) return true;
    std::istringstream file(bytes);
    DeviceMemory got = EmptyMemory(m);
    Functions& f = got.functions;
    std::string line;
    int lineNo = 0;
    bool ended = false;
    std::vector<CamProgram>* size = nullptr;
    auto fail = [&](const std::string& why) {
        *error = path + ":" + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (!ended && std::getline(file, line)) {
        ++lineNo;
        if (lineNo == 1) {
            if (line != kFirstLine) return fail("not a camsim state file");
            continue;
        }
        std::istringstream in(line);
        std::string key;
        in >> key;
        bool ok = true;
        if (key == "functions") {
            // Each value within the field the device sends it in.
            ok = Numbers(in, {&f.advOn, &f.delayOn, &f.ratioOn, &f.ratio17On}, 1) &&
                 Numbers(in, {&f.delay17_20, &f.delay21_24}, 255) && Numbers(in, {&f.ratio25_32, &f.outSize}, 99) &&
                 Numbers(in, {&f.speedLimit}, 9999);
        } else if (key == "encoders") {
            for (int e = 0; ok && e < 3; ++e) ok = Numbers(in, {&f.shift[e]}, 9999) && Numbers(in, {&f.dir[e]}, 1);
        } else if (key == "group") {
            ok = Numbers(in, {&f.group[0], &f.group[1], &f.group[2], &f.group[3]}, 255);
        } else if (key == "advances") {
            int n = 0;
            ok = Numbers(in, {&n}, CamsHeld(m));
            f.advances.assign(static_cast<std::size_t>(ok ? n : 0), 0);
            for (int& a : f.advances) ok = ok && Numbers(in, {&a}, 255);
        } else if (key == "size") {
            int s = 0;
            ok = Numbers(in, {&s}, SizesHeld(m)) && s >= 1;
            if (ok) size = &got.sizes[static_cast<std::size_t>(s - 1)];
        } else if (key == "cam") {
            CamProgram c;
            std::string remark;
            ok = size && Numbers(in, {&c.cam}, CamsHeld(m)) && c.cam >= 1 && (in >> remark) &&
                 (remark == "-" ||
                  (remark[0] == '=' && BytesOf(remark.substr(1), &c.remark) && c.remark.size() <= kRemarkBytes));
            c.hasRemark = ok && remark != "-";
            if (ok) size->push_back(c);
        } else if (key == "phase") {
            std::pair<int, int> ph;
            ok = size && !size->empty() && size->back().phases.size() < kMemoryPhases &&
                 Numbers(in, {&ph.first, &ph.second}, 1023);
            if (ok) size->back().phases.push_back(ph);
        } else if (key == "msg") {
            int n = 0;
            std::string text;
            ok = Numbers(in, {&n}, MessagesHeld(m)) && n >= 1 && (in >> text) && text[0] == '=' &&
                 BytesOf(text.substr(1), &got.messages[static_cast<std::size_t>(n - 1)]) &&
                 got.messages[static_cast<std::size_t>(n - 1)].size() <= kMessageBytes;
        } else if (key == "end") {
            ended = true;
        } else {
            ok = false;
        }
        if (!ok) return fail("unreadable line '" + ShownLine(line) + "'");
    }
    if (!ended) return fail("the file ends too early");
    *mem = std::move(got);
    return true;
}

}  // namespace camsim
