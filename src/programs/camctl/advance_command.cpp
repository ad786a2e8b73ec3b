// camctl advance: the advance computation without a window. With --ms, the effective advance
// of a time advance at a speed, as positions within a revolution and whole revolutions; with
// --deg, the milliseconds a wanted advance needs, stepped down until they fit the slider.
#include "programs/camctl/commands.h"
#include "core/tools/advance_calc.h"

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

int AdvanceCommand(const ParsedArgs& args) {
    const std::optional<int> rpm = Number("--rpm", args.value("rpm"), advance::kMinRpm, advance::kMaxRpm);
    if (!rpm) return 2;
    if (args.has("ms") == args.has("deg")) {
        std::cerr << "camctl advance: give one of --ms or --deg\n";
        return 2;
    }
    std::optional<int> ms, deg;
    if (args.has("ms") && !(ms = Number("--ms", args.value("ms"), 0, advance::kMaxMs))) return 2;
    if (args.has("deg") && !(deg = Number("--deg", args.value("deg"), advance::kMinWanted, advance::kMaxWanted)))
        return 2;
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
