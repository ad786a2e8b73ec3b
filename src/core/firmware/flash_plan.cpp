// The update window's rows and the order in which the records go to the device.
#include "core/model/text_format.h"
#include "core/firmware/flash_update.h"

#include <algorithm>

namespace cam {

std::vector<PlacedText> ScreenTexts(const FlashScreen& s) {
    std::vector<PlacedText> out;
    if (!s.workingFile.empty()) out.push_back({1, 0, s.workingFile});
    if (s.testing) {
        out.push_back({2, 0, "Testing Line:            Tot.Bytes:"});
        if (s.testLines >= 0) {
            out.push_back({2, kLineColumn, D2(s.testLines)});
            out.push_back({2, kBytesColumn, D2(s.testBytes)});
        }
    }
    if (!s.row4.empty()) out.push_back({4, 0, s.row4});
    if (s.transmitting) {
        out.push_back({6, 0, "Transmit Line:         Bytes:          Addr:"});
        if (s.sentLines >= 0) {
            out.push_back({6, kLineColumn, D2(s.sentLines)});
            out.push_back({6, kBytesColumn, D2(s.sentBytes)});
            out.push_back({6, kAddressColumn, s.address});
        }
    }
    if (!s.row8.empty()) out.push_back({8, 0, s.row8});
    return out;
}

std::string WorkingFileRow(const std::string& path, std::uintmax_t bytes) {
    return "WORKING FILE =\"" + path + "\" (" + std::to_string(bytes) + " bytes)";
}

long DisplayInterval(long lines) { return std::max(1L, RoundHalfEven(static_cast<double>(lines) / 100.0)); }

std::vector<PlannedSend> TransmissionPlan(const std::vector<std::string>& records) {
    std::vector<PlannedSend> plan;
    plan.reserve(records.size() + 1);
    const long interval = DisplayInterval(static_cast<long>(records.size()));
    std::size_t deferred = records.size();
    long line = 0, bytes = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (IsEmptyRecord(records[i])) {
            deferred = i;
            // The line after it goes in its place, as it is.
            if (i + 1 < records.size()) ++i;
        }
        ++line;
        bytes += RecordDataBytes(records[i]);
        plan.push_back({records[i], static_cast<long>(i) + 1, line, bytes, line % interval == 0});
    }
    if (deferred < records.size())
        plan.push_back({records[deferred], static_cast<long>(deferred) + 1, 0, bytes, false});
    return plan;
}

}  // namespace cam
