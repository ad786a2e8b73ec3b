#include "core/exchange/csv_settings.h"

#include "core/camfile/functions_block.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/exchange/utf8_text.h"

#include <algorithm>
#include <cctype>

namespace cam {

namespace {

// What the program keeps of a value, as a cam file is read: the advances, delays, ratio,
// directions and output size in a byte, the shifts and the speed limit in a 16-bit number.
// Whatever a cam file can hold comes back from its table.
constexpr int kByte = 255;
constexpr int kLeast16 = -32768, kMost16 = 32767;

std::string Lower(std::string_view text) {
    std::string out(TrimBlanks(text));
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

bool IsAdvanceCam(const std::string& name) { return name.rfind(csvname::kAdvanceCam, 0) == 0; }

bool IsKnown(const std::string& name) {
    using namespace csvname;
    if (IsAdvanceCam(name)) return true;
    for (const char* known :
         {kCams, kSizes, kEncoders, kAdvances, kDelays, kDelay17, kDelay21, kRatio, kRatio25, kOutSize, kSpeedLimit})
        if (name == known) return true;
    for (const char* group : kGroupAdvance)
        if (name == group) return true;
    for (int e = 0; e < 3; ++e)
        if (name == kShift[e] || name == kDirection[e]) return true;
    return false;
}

}  // namespace

std::optional<int> WholeNumber(std::string_view text, int lowest, int highest) {
    text = TrimBlanks(text);
    const bool minus = lowest < 0 && !text.empty() && text[0] == '-';
    const std::string_view digits = text.substr(minus ? 1 : 0);
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const int v = (minus ? -1 : 1) * std::stoi(std::string(digits));
    if (v < lowest || v > highest) return std::nullopt;
    return v;
}

std::string BadValue(const Program& texts, const std::string& what, std::string_view value, const std::string& takes) {
    return Fill(Text(texts, txt::kCsvBadValue), {what, QuotedLine(ShownAsCp1252(value)), takes});
}

void CsvSettings::take(const CsvSettingRow& r, CsvRefusals& refused) {
    const std::string name = Lower(r.name);
    if (!IsKnown(name)) {
        refused.push_back(
            {r.line, Fill(Text(t_, txt::kCsvUnknownSetting), {QuotedLine(ShownAsCp1252(TrimBlanks(r.name)))})});
    } else if (const Row* first = row(name)) {
        refused.push_back({r.line, Fill(Text(t_, txt::kCsvTwice), {CStr(first->line)})});
    } else {
        rows_[name] = {r.line, std::string(TrimBlanks(r.value))};
    }
}

const CsvSettings::Row* CsvSettings::row(const std::string& name) const {
    const auto it = rows_.find(name);
    return it == rows_.end() ? nullptr : &it->second;
}

int CsvSettings::number(const std::string& name, int lowest, int highest, int otherwise, CsvRefusals& refused) const {
    const Row* r = row(name);
    if (!r) return otherwise;
    if (const auto v = WholeNumber(r->value, lowest, highest)) return *v;
    refused.push_back({r->line, BadValue(t_, name, r->value, CStr(lowest) + ".." + CStr(highest))});
    return otherwise;
}

int CsvSettings::onOff(const std::string& name, CsvRefusals& refused) const {
    const Row* r = row(name);
    if (!r) return 0;
    const std::string v = Lower(r->value);
    if (v == "on" || v == "1") return 1;
    if (v == "off" || v == "0") return 0;
    refused.push_back({r->line, BadValue(t_, name, r->value, "on, off")});
    return 0;
}

void CsvSettings::needs(bool kept, const std::string& name, int value, const std::string& condition,
                        CsvRefusals& refused) const {
    if (kept || value == 0) return;
    if (const Row* r = row(name)) refused.push_back({r->line, Fill(Text(t_, txt::kCsvNoPlace), {condition})});
}

void CsvSettings::settle(Program& built, const std::optional<ModelCounts>& override, CsvRefusals& refused) {
    using namespace csvname;
    int cams = 32;
    if (const Row* r = row(kCams)) {
        if (const auto v = WholeNumber(r->value, 16, 32); v && (*v == 16 || *v == 32))
            cams = *v;
        else
            refused.push_back({r->line, BadValue(t_, kCams, r->value, "16, 32")});
    }
    int sizes = number(kSizes, 1, kMaxSizes, 7, refused);
    if (override) {
        cams = override->cams;
        sizes = override->sizes;
    }
    encoders_ = number(kEncoders, 0, 3, 1, refused);
    built.NCams = cams;
    built.NSizes = sizes;
    built.NEncoders = encoders_;
    settleAdvances(built, refused);
    settleEncoders(built, refused);
    settleDelaysAndRatio(refused);
    outSize_ = number(kOutSize, 0, kByte, 0, refused);
    speedLimit_ = number(kSpeedLimit, kLeast16, kMost16, 0, refused);
}

void CsvSettings::settleAdvances(const Program& built, CsvRefusals& refused) {
    using namespace csvname;
    advOn_ = onOff(kAdvances, refused);
    for (const auto& [name, r] : rows_) {
        if (!IsAdvanceCam(name)) continue;
        const std::string digits = name.substr(std::string(kAdvanceCam).size());
        const auto cam = WholeNumber(digits, 1, built.NCams);
        if (!cam) {
            refused.push_back({r.line, BadValue(t_, "advance cam", digits, "1.." + CStr(built.NCams))});
            continue;
        }
        const int ms = number(name, 0, kByte, 0, refused);
        needs(advOn_ == 1, name, ms, std::string(kAdvances) + " on", refused);
        adv_[*cam - 1] = ms;
        if (advOn_ == 1) advCount_ = std::max(advCount_, *cam);
    }
}

void CsvSettings::settleEncoders(const Program& built, CsvRefusals& refused) {
    using namespace csvname;
    const bool several = encoders_ != 1;
    const std::string severalText = std::string(kEncoders) + " 0, 2, 3";
    const GroupAdvanceSlots slots = GroupAdvanceSlotsFor(built.NCams);
    for (int g = 0; g < 4; ++g) {
        group_[g] = number(kGroupAdvance[g], 0, kByte, 0, refused);
        needs(several, kGroupAdvance[g], group_[g], severalText, refused);
        needs(slots.index[g] >= 0, kGroupAdvance[g], group_[g], std::string(kCams) + " 32", refused);
    }
    for (int e = 0; e < 3; ++e) {
        shift_[e] = number(kShift[e], kLeast16, kMost16, 0, refused);
        direction_[e] = number(kDirection[e], 0, kByte, 0, refused);
    }
    needs(several, kShift[1], shift_[1], severalText, refused);
    needs(several, kDirection[1], direction_[1], severalText, refused);
    needs(encoders_ == 3, kShift[2], shift_[2], std::string(kEncoders) + " 3", refused);
    needs(encoders_ == 3, kDirection[2], direction_[2], std::string(kEncoders) + " 3", refused);
}

void CsvSettings::settleDelaysAndRatio(CsvRefusals& refused) {
    using namespace csvname;
    const bool one = encoders_ == 1;
    const std::string oneText = std::string(kEncoders) + " 1";
    delayOn_ = onOff(kDelays, refused);
    delay17_ = number(kDelay17, 0, kByte, 0, refused);
    delay21_ = number(kDelay21, 0, kByte, 0, refused);
    ratioOn_ = onOff(kRatio, refused);
    ratio_ = number(kRatio25, 0, kByte, 0, refused);
    needs(one, kDelays, delayOn_, oneText, refused);
    needs(one, kRatio, ratioOn_, oneText, refused);
    needs(one && delayOn_ == 1, kDelay17, delay17_, std::string(kDelays) + " on", refused);
    needs(one && delayOn_ == 1, kDelay21, delay21_, std::string(kDelays) + " on", refused);
    needs(one && ratioOn_ == 1, kRatio25, ratio_, std::string(kRatio) + " on", refused);
}

void CsvSettings::apply(Program& b) const {
    b.AdvOn = static_cast<std::uint8_t>(advOn_);
    b.NAdvCams = advCount_;
    for (int i = 0; i < b.NCams && i < static_cast<int>(b.AdvMs.size()); ++i)
        b.AdvMs[i] = static_cast<std::uint8_t>(adv_[i]);
    // After the advances of single cams, as a cam file is read: with 16 cams a group shares
    // its place with the advance of a single cam.
    if (encoders_ != 1) {
        const GroupAdvanceSlots slots = GroupAdvanceSlotsFor(static_cast<int>(b.AdvMs.size()));
        for (int g = 0; g < 4; ++g)
            if (slots.index[g] >= 0) b.AdvMs[slots.index[g]] = static_cast<std::uint8_t>(group_[g]);
    }
    b.EncShift = shift_[0];
    b.EncShift2 = shift_[1];
    b.EncShift3 = shift_[2];
    b.RotDir = static_cast<std::uint8_t>(direction_[0]);
    b.RotDir2 = static_cast<std::uint8_t>(direction_[1]);
    b.RotDir3 = static_cast<std::uint8_t>(direction_[2]);
    b.DelayOn = static_cast<std::uint8_t>(delayOn_);
    b.Delay17_20 = static_cast<std::uint8_t>(delay17_);
    b.Delay21_24 = static_cast<std::uint8_t>(delay21_);
    b.RatioOn = static_cast<std::uint8_t>(ratioOn_);
    b.Ratio25_32 = static_cast<std::uint8_t>(ratio_);
    b.Ratio17On = 0;
    b.OutSize = static_cast<std::uint8_t>(outSize_);
    b.SpeedLimit = speedLimit_;
}

}  // namespace cam
