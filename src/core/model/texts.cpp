#include "core/model/texts.h"

namespace cam {

std::string Text(const Texts& p, BuiltInText t) {
    const std::string& own = p.Text(t.number);
    return own.empty() ? std::string(t.wording) : own;
}

std::string Fill(std::string_view pattern, std::initializer_list<std::string> args) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next >= '1' && next <= '9' && static_cast<std::size_t>(next - '1') < args.size()) {
            out += *(args.begin() + (next - '1'));
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace cam
