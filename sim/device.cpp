#include "device.h"

#include <cstdio>

namespace camsim {

namespace {

constexpr char kCr = '\r';
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

Device::Device(Options options) : options_(std::move(options)) {
    commands_["?M"] = [this](std::string& out) { out += identification() + kCr; };
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

std::string Device::receive(std::string_view bytes) {
    std::string out;
    if (options_.has(Fault::Echo)) return std::string(bytes);
    for (char c : bytes) {
        if (c != kCr) {
            if (line_.size() < 256) line_ += c;
            continue;
        }
        std::string line;
        line.swap(line_);
        command(line, out);
    }
    return out;
}

void Device::command(const std::string& line, std::string& out) {
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
    if (it != commands_.end()) it->second(out);
}

}  // namespace camsim
