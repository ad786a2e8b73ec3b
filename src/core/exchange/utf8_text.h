// Windows-1252 bytes (the text of cam files and of the line) and UTF-8 (the text of CSV and
// JSON files that other tools read and write). The five bytes without a character map to the
// control characters of the same number, so every byte survives a round trip.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cam {

std::string Cp1252ToUtf8(std::string_view bytes);

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text);

// The Windows-1252 bytes of UTF-8 text; nullopt when it is not UTF-8 or holds a character
// that Windows-1252 has no byte for.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// Text of a file that may be UTF-8 or Windows-1252, as Windows-1252 for a message: UTF-8 is
// converted, a character without a byte shown as "?"; other text is taken as it is.
std::string ShownAsCp1252(std::string_view text);

}  // namespace cam
