#include "core/model/text_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace cam {

std::string PrintNumber(long v) {
    return (v < 0 ? "-" : " ") + std::to_string(v < 0 ? -static_cast<long long>(v) : v) + " ";
}

static std::string ZeroPad(long v, int width) {
    std::string digits = std::to_string(v < 0 ? -static_cast<long long>(v) : v);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
    return v < 0 ? "-" + digits : digits;
}

std::string D2(long v) { return ZeroPad(v, 2); }
std::string D3(long v) { return ZeroPad(v, 3); }
std::string D4(long v) { return ZeroPad(v, 4); }

std::string Dec(long v, int w) {
    if (w <= 0) return "";
    return Right(std::string(w - 1, '0') + std::to_string(v), w);
}

std::string Hex2(long v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0%lX", static_cast<unsigned long>(v));
    return Right(buf, 2);
}

std::string Bit(long v) { return (v & 1) ? "1" : "0"; }

std::string Str(long v) { return v < 0 ? std::to_string(v) : " " + std::to_string(v); }
std::string CStr(long v) { return std::to_string(v); }

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A whole number with blanks anywhere, read without building a string: the form nearly every
// value of a file has. False when the text holds a decimal point or an exponent (or more
// digits than a long can hold), which the general reading takes.
bool WholeNumber(std::string_view text, double& value) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long v = 0;
    int digits = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (++digits > 18) return false;
            v = v * 10 + (c - '0');
        } else if (!IsBlank(c)) {
            break;
        }
    }
    if (i < text.size()) {
        const char c = text[i];
        if (c == '.' || c == 'E' || c == 'e' || c == 'D' || c == 'd') return false;
    }
    value = negative ? -static_cast<double>(v) : static_cast<double>(v);
    return true;
}

}  // namespace

double Val(std::string_view text) {
    if (double whole = 0; WholeNumber(text, whole)) return whole;
    std::string num;  // the number's characters with the blanks taken out
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) num += text[i++];
    bool digits = false, point = false;
    for (;; ++i) {
        skipBlanks();
        if (i >= text.size()) break;
        char c = text[i];
        if (c >= '0' && c <= '9') {
            num += c;
            digits = true;
        } else if (c == '.' && !point) {
            num += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0;
    // Exponent: E or D, optional sign, digits.
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        while (j < text.size() && text[j] == ' ') ++j;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) exp += text[j++];
        bool expDigits = false;
        while (j < text.size() && ((text[j] >= '0' && text[j] <= '9') || text[j] == ' ')) {
            if (text[j] != ' ') {
                exp += text[j];
                expDigits = true;
            }
            ++j;
        }
        if (expDigits) num += exp;
    }
    return std::strtod(num.c_str(), nullptr);
}

long HexVal(std::string_view text) {
    long v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            break;
        if (v > (std::numeric_limits<long>::max() >> 4)) break;
        v = v * 16 + d;
    }
    return v;
}

long RoundHalfEven(double x) {
    if (std::isnan(x)) return 0;
    constexpr double lo = static_cast<double>(std::numeric_limits<long>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<long>::max());
    if (x <= lo) return std::numeric_limits<long>::min();
    if (x >= hi) return std::numeric_limits<long>::max();
    return static_cast<long>(std::nearbyint(x));  // the default rounding mode: nearest, ties to even
}

long ValRounded(std::string_view text) { return RoundHalfEven(Val(text)); }

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }
bool StartsWith(std::string_view text, std::string_view part) { return text.substr(0, part.size()) == part; }

std::string_view TrimBlanks(std::string_view text) {
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = text.find_last_not_of(' ');
    return text.substr(b, e - b + 1);
}

std::string_view LastField(std::string_view line) {
    std::string_view t = TrimBlanks(line);
    std::size_t b = t.find_last_of(' ');
    return b == std::string_view::npos ? t : t.substr(b + 1);
}

std::string Right(std::string_view text, std::size_t n) {
    return std::string(n >= text.size() ? text : text.substr(text.size() - n));
}

std::string Mid(std::string_view text, std::size_t start1, std::size_t n) {
    if (start1 < 1 || start1 > text.size()) return "";
    return std::string(text.substr(start1 - 1, n));
}

std::string QuotedLine(std::string_view line) {
    constexpr std::size_t kShown = 80;
    std::string out(line.substr(0, kShown));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
    if (line.size() > kShown) out += "...";
    return out;
}

std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace cam
