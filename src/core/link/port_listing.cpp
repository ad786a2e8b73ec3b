#include "core/link/port_listing.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace cam {

std::map<std::string, std::string> StableNames(const std::string& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        const fs::path target = fs::canonical(e.path(), ec);
        if (!ec) names.emplace(target.string(), e.path().string());
    }
    return names;
}

std::string AccessText(bool mayOpen, const std::string& group, bool groupMayOpen) {
    if (mayOpen) return "yes";
    if (groupMayOpen && !group.empty()) return "no: not in group " + group;
    return "no: only for its owner";
}

std::string PortTable(const std::vector<ListedPort>& ports) {
    std::vector<std::array<std::string, 4>> rows{{"DEVICE", "DESCRIPTION", "BY-ID", "ACCESS"}};
    for (const ListedPort& p : ports) rows.push_back({p.device, p.description, p.byId, p.access});
    std::array<std::size_t, 4> width{};
    for (auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (row[i].empty()) row[i] = "-";
            width[i] = std::max(width[i], row[i].size());
        }
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < 3; ++i) out += row[i] + std::string(width[i] + 2 - row[i].size(), ' ');
        out += row[3] + "\n";
    }
    return out;
}

}  // namespace cam
