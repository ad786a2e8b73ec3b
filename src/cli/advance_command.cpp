// camctl advance: the advance computation without a window. With --ms, the effective advance
// of a time advance at a speed, as positions within a revolution and whole revolutions; with
// --deg, the milliseconds a wanted advance needs, stepped down until they fit the slider.
#include "cli/commands.h"
#include "tools/advance_calc.h"

#include <iostream>
#include <optional>

namespace cam::cli {

namespace {

// A whole number within min..max, written with digits only.
std::optional<int> Number(const std::string& name, const std::string& text, int min, int max) {
    bool digits = !text.empty() && text.size() <= 9;
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    const long v = digits ? std::stol(text) : -1;
    if (!digits || v < min || v > max) {
        std::cerr << "camctl advance: " << name << " takes a whole number from " << min << " to " << max << ", not '"
                  << text << "'\n";
        return std::nullopt;
    }
    return static_cast<int>(v);
}

}  // namespace

int AdvanceCommand(const std::vector<std::string>& args) {
    std::optional<int> rpm, ms, deg;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a != "--rpm" && a != "--ms" && a != "--deg") {
            std::cerr << "camctl advance: unexpected argument '" << a << "'\n";
            return 2;
        }
        if (i + 1 >= args.size()) {
            std::cerr << "camctl advance: " << a << " needs a value\n";
            return 2;
        }
        const std::string& v = args[++i];
        std::optional<int>& slot = a == "--rpm" ? rpm : a == "--ms" ? ms : deg;
        slot = a == "--rpm"  ? Number(a, v, advance::kMinRpm, advance::kMaxRpm)
               : a == "--ms" ? Number(a, v, 0, advance::kMaxMs)
                             : Number(a, v, advance::kMinWanted, advance::kMaxWanted);
        if (!slot) return 2;
    }
    if (!rpm || ms.has_value() == deg.has_value()) {
        std::cerr << "camctl advance: give --rpm and one of --ms or --deg\n";
        return 2;
    }
    if (ms) {
        const AdvanceTurns e = SplitAdvance(EffectiveAdvance(*rpm, *ms));
        std::cout << e.within << ' ' << e.turns << '\n';
    } else {
        const SettledAdvance s = SettleWantedAdvance(*deg, *rpm);
        std::cout << s.ms << ' ' << s.wanted << '\n';
    }
    return 0;
}

}  // namespace cam::cli
