#include "device.h"

#include "readout.h"

#include <cstdio>

namespace camsim {

namespace {

// 34 characters between the brand and the encoder digit.
constexpr const char* kAfterBrand = " CAM PROGRAMMER X9K31 FW 2.0.2 ENC";

std::string Field(int value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%*d", width, value);
    return buf;
}

}  // namespace

unsigned char CommandCheck(std::string_view text) {
    unsigned sum = 0;
    for (unsigned char c : text) sum += c;
    sum %= 256;
    return static_cast<unsigned char>(sum < 32 ? sum + 32 : sum);
}

bool ReadMessageLine(std::string_view line, int* number, std::string* text) {
    if (line.size() < 6 || line[0] != 'N' || line[4] != '"' || line.back() != '"') return false;
    int n = 0;
    for (char c : line.substr(1, 3)) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    *number = n;
    *text = std::string(line.substr(5, line.size() - 6));
    return true;
}

Device::Device(Options options) : options_(std::move(options)) {
    memory_ = EmptyMemory(options_.model);
    if (!options_.stateDir.empty()) {
        std::string error;
        if (!LoadState(options_.model, StatePath(options_.stateDir, options_.model), &memory_, &error))
            std::fprintf(stderr, "camsim: %s; starting with an empty memory\n", error.c_str());
        if (!LoadFirmware(FirmwarePath(options_.stateDir, options_.model), &firmware_, &error))
            std::fprintf(stderr, "camsim: %s; starting without a firmware image\n", error.c_str());
    }
    commands_["?M"] = [this](Replies& out) { out.push_back({0, identification() + kCr}); };
    commands_["?FW"] = [this](Replies&) {
        // No answer: the first block follows after a pause.
        mode_ = Mode::Taking;
        intake_.emplace(options_.model, memory_);
    };
    commands_[":FU"] = [this](Replies& out) {
        // The flash-update mode: records follow, one a line, until another command comes.
        mode_ = Mode::Flashing;
        flash_.emplace();
        flashNakDone_ = false;
        out.push_back({options_.blocks.replyDelayMs, std::string(1, kAck)});
    };
    commands_["?FR"] = [this](Replies& out) {
        if (options_.has(Fault::Babble)) {
            out.push_back({0, std::string(16 * 1024, 'x')});  // more than a block can hold
            return;
        }
        mode_ = Mode::Giving;
        readout_ = Readout(options_.model, memory_);
        give(out, true);
    };
    commands_["?AR"] = [this](Replies& out) {
        if (options_.has(Fault::Babble)) {
            out.push_back({0, std::string(16 * 1024, 'x')});
            return;
        }
        mode_ = Mode::Giving;
        readout_ = MessageReadout(memory_);
        give(out, true);
    };
    commands_["?AW"] = [this](Replies&) {
        // No answer: the message lines follow, unframed and unacknowledged.
        mode_ = Mode::Lines;
        messages_ = memory_.messages;
    };
}

std::string Device::identification() const {
    Model m = options_.model;
    if (options_.has(Fault::Unsupported)) m.cams = 24;
    // "KLM " then cams, sizes and messages at 11, 8 and 5 characters before the brand.
    std::string head = Field(m.cams, 2) + "C" + Field(m.sizes, 2) + "F" + Field(m.msgs, 3) + "M";
    std::string brand = options_.has(Fault::NoBrand) ? "----" : "ZETO";
    std::string line = options_.has(Fault::BrandEarly) ? head + brand : "KLM " + head + " " + brand;
    line += kAfterBrand;
    if (!options_.has(Fault::ShortReply)) line += std::to_string(m.encoders % 10);
    return line;
}

Replies Device::receive(std::string_view bytes) {
    Replies out;
    if (options_.has(Fault::Echo)) {
        out.push_back({0, std::string(bytes)});
        return out;
    }
    if (options_.has(Fault::Noise)) {
        for (char c : bytes)
            if (c == kCr) out.push_back({0, noise()});
        return out;
    }
    for (char c : bytes) {
        if (mode_ == Mode::Flashing) {
            flashByte(c, out);
            continue;
        }
        if (mode_ == Mode::Taking) {
            FrameReader::Step step = frames_.take(c);
            if (step == FrameReader::Step::Done) frameIn(out);
            if (step != FrameReader::Step::Outside) continue;
        } else if (mode_ == Mode::Giving && (c == kAck || c == kNak)) {
            answerIn(c, out);
            continue;
        } else if (mode_ == Mode::Lines) {
            lineByte(c, out);
            continue;
        }
        commandByte(c, out);
    }
    return out;
}

void Device::commandByte(char c, Replies& out) {
    // Every command starts with '?' or ':': noise before it does not spoil it.
    if (c == '?' || c == ':') line_.clear();
    if (c != kCr) {
        if (line_.size() < 256) line_ += c;
        return;
    }
    std::string line;
    line.swap(line_);
    command(line, out);
}

void Device::command(const std::string& line, Replies& out) {
    // A command is its name and its check character; anything else is line noise.
    if (line.size() < 2) return;
    std::string name = line.substr(0, line.size() - 1);
    if (static_cast<unsigned char>(line.back()) != CommandCheck(name)) return;
    if (options_.has(Fault::Vanish)) {
        hungUp_ = true;
        return;
    }
    if (options_.has(Fault::Silent)) return;
    auto it = commands_.find(name);
    if (it == commands_.end()) return;
    // A new command ends whatever exchange was running; its data is dropped.
    mode_ = Mode::Idle;
    intake_.reset();
    flash_.reset();
    frames_.reset();
    done_ = 0;
    it->second(out);
}

bool Device::stopsAt(long number) {
    const BlockFaults& f = options_.blocks;
    if (f.vanishAfter >= 0 && number > f.vanishAfter) hungUp_ = true;
    return hungUp_ || (f.silentAfter >= 0 && number > f.silentAfter);
}

void Device::frameIn(Replies& out) {
    const BlockFaults& f = options_.blocks;
    const long number = static_cast<long>(done_) + 1;
    if (stopsAt(number)) return;
    bool ok = frames_.good() && number != f.nak;
    Intake::Result r = Intake::Result::Refused;
    if (ok && options_.has(Fault::RefuseEnd) && frames_.text() == "END") ok = false;
    if (ok) r = intake_->take(frames_.text());
    if (r == Intake::Result::Refused) {
        out.push_back({f.replyDelayMs, std::string(1, kNak)});
        return;
    }
    ++done_;
    out.push_back({f.replyDelayMs, std::string(1, kAck)});
    if (r == Intake::Result::End) commit();
}

void Device::commit() {
    memory_ = intake_->memory();
    intake_.reset();
    mode_ = Mode::Idle;
    saveState();
}

void Device::lineByte(char c, Replies& out) {
    // Message texts may hold '?' and ':': only the line end ends a line here.
    if (c != kCr) {
        if (line_.size() < 256) line_ += c;
        return;
    }
    std::string line;
    line.swap(line_);
    messageLine(line, out);
}

void Device::messageLine(const std::string& line, Replies& out) {
    if (line.empty() || line[0] != 'N') {
        if (line == "END") {
            const BlockFaults& f = options_.blocks;
            mode_ = Mode::Idle;
            // A device that stopped listening has not taken the list.
            if (f.silentAfter >= 0 && static_cast<long>(done_) > f.silentAfter) return;
            memory_.messages = messages_;
            saveState();
            return;
        }
        // Not a message line: perhaps a new command, which ends this exchange.
        const std::size_t start = line.find_last_of("?:");
        if (start != std::string::npos) command(line.substr(start), out);
        return;
    }
    if (stopsAt(static_cast<long>(++done_))) return;
    int n = 0;
    std::string text;
    // Lines the device cannot read, and numbers it has no message for, are dropped.
    if (!ReadMessageLine(line, &n, &text) || n < 1 || n > static_cast<int>(messages_.size())) return;
    messages_[static_cast<std::size_t>(n - 1)] = text.substr(0, kMessageBytes);
}

void Device::saveState() {
    if (options_.stateDir.empty()) return;
    const std::string why = SaveState(memory_, StatePath(options_.stateDir, options_.model));
    if (!why.empty()) std::fprintf(stderr, "camsim: %s\n", why.c_str());
}

void Device::answerIn(char c, Replies& out) {
    if (c == kNak) {
        give(out, false);
        return;
    }
    if (++done_ >= readout_.size()) {
        mode_ = Mode::Idle;
        return;
    }
    give(out, true);
}

void Device::give(Replies& out, bool first) {
    const BlockFaults& f = options_.blocks;
    const long number = static_cast<long>(done_) + 1;
    if (stopsAt(number)) return;
    // The corrupted block is corrupted once; asked again, the device sends it right.
    const bool spoil = first && number == f.badChecksum;
    out.push_back({f.replyDelayMs, Frame(readout_[done_], spoil)});
}

void Device::flashByte(char c, Replies& out) {
    if (c == '\n') return;
    if (c != kCr) {
        if (line_.size() < 1024) line_ += c;  // longer is no record: refused at its CR
        return;
    }
    std::string line;
    line.swap(line_);
    // A command ends the update mode; ":FU" again starts a new update.
    if (!line.empty() && (line[0] == '?' || (line.size() == 4 && line.compare(0, 3, ":FU") == 0))) {
        command(line, out);
        return;
    }
    record(line, out);
}

void Device::record(const std::string& line, Replies& out) {
    const BlockFaults& f = options_.blocks;
    const long number = static_cast<long>(done_) + 1;
    if (f.flashSilentAfter >= 0 && number > f.flashSilentAfter) return;
    // The refused-once fault: the record is taken when it comes again.
    const bool nakOnce = number == f.flashNak && !flashNakDone_;
    if (nakOnce) flashNakDone_ = true;
    const bool refused = nakOnce || number == f.nak;
    const FlashSession::Result r = refused ? FlashSession::Result::Refused : flash_->take(line);
    if (r == FlashSession::Result::Refused) {
        out.push_back({f.replyDelayMs, std::string(1, kNak)});
        return;
    }
    ++done_;
    out.push_back({f.replyDelayMs, std::string(1, kAck)});
    if (r == FlashSession::Result::Ended) commitFirmware();
}

void Device::commitFirmware() {
    // The image is the device's once its end record has come; a repeated end record
    // commits the same image again.
    firmware_ = flash_->image();
    if (options_.stateDir.empty()) return;
    const std::string why = SaveFirmware(firmware_, FirmwarePath(options_.stateDir, options_.model));
    if (!why.empty()) std::fprintf(stderr, "camsim: %s\n", why.c_str());
}

std::string Device::noise() {
    std::string bytes(8 + random_() % 8, '\0');
    for (char& b : bytes) b = static_cast<char>(random_() % 256);
    bytes[1 + random_() % (bytes.size() - 1)] = kAck;  // never the first: no lone ACK either
    return bytes;
}

}  // namespace camsim
