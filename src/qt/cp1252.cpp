#include "qt/cp1252.h"

namespace cam {

namespace {
// Code points of bytes 0x80..0x9F; 0 marks the five bytes that have no character.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int Encode(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c && c != 0) return 0x80 + i;
    return -1;
}
}  // namespace

QString FromCp1252(const std::string& bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char b : bytes) {
        if (b >= 0x80 && b <= 0x9F)
            out += QChar(kHigh[b - 0x80] ? kHigh[b - 0x80] : char16_t(b));  // unassigned bytes map through
        else
            out += QChar(char16_t(b));
    }
    return out;
}

std::string ToCp1252(const QString& text, bool* ok) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    bool all = true;
    for (QChar ch : text) {
        int b = Encode(ch.unicode());
        if (b < 0 && ch.unicode() >= 0x80 && ch.unicode() <= 0x9F) b = ch.unicode();  // unassigned bytes round-trip
        if (b < 0) {
            all = false;
            b = '?';
        }
        out += static_cast<char>(b);
    }
    if (ok) *ok = all;
    return out;
}

bool IsCp1252(const QString& text) {
    bool ok = false;
    ToCp1252(text, &ok);
    return ok;
}

}  // namespace cam
