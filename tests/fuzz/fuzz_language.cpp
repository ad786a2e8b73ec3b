// Any bytes as a language script: the loader must stay inside the text and give texts 1..500.
#include "core/model/language.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto texts = cam::ParseLanguageScript(std::string_view(reinterpret_cast<const char*>(data), size));
    if (texts.size() != cam::kMaxTexts + 1) std::abort();
    std::size_t total = 0;
    for (const auto& t : texts) total += t.size();
    if (total > size) std::abort();  // every text is a piece of the input
    return 0;
}
