#include "core/ui/file_filter.h"

#include <cctype>

namespace cam {

std::string AnyCasePattern(const std::string& pattern) {
    if (pattern == "*.*") return "*";
    std::string out;
    for (char c : pattern) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalpha(u) && u < 0x80) {
            out += '[';
            out += static_cast<char>(std::tolower(u));
            out += static_cast<char>(std::toupper(u));
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace cam
