// The one home of every number form used in files, on the wire and on screen.
#pragma once

#include <string>
#include <string_view>

namespace cam {

// A number as a print statement writes it: sign place (blank or "-"), digits, one blank.
// PrintNumber(7) == " 7 ", PrintNumber(-3) == "-3 ".
std::string PrintNumber(long v);

// Zero-padded to at least 2, 3 or 4 digits; longer numbers keep every digit (D4(1024) == "1024").
std::string D2(long v);
std::string D3(long v);
std::string D4(long v);

// Wire field: w-1 zeros put in front of the decimal, then the rightmost w characters.
std::string Dec(long v, int w);
// Wire field: upper-case hexadecimal with one zero in front, the rightmost 2 characters.
std::string Hex2(long v);
// "1" when bit 0 is set, else "0".
std::string Bit(long v);

// Str(5) == " 5", Str(-5) == "-5"; CStr(5) == "5".
std::string Str(long v);
std::string CStr(long v);

// The decimal value of a text: blanks are skipped wherever they are, an optional sign,
// digits with an optional decimal point and exponent; reading stops at the first
// character that cannot continue the number. A text without a number is 0.
double Val(std::string_view text);
// The value of a text read as hexadecimal digits (stops at the first non-hex character).
long HexVal(std::string_view text);

// Whole number nearest to x, halves to the even neighbour.
long RoundHalfEven(double x);
// RoundHalfEven(Val(text)), limited to the range of a long.
long ValRounded(std::string_view text);

// Text helpers shared by the readers.
bool Contains(std::string_view text, std::string_view part);
bool StartsWith(std::string_view text, std::string_view part);
std::string_view TrimBlanks(std::string_view text);  // spaces only
std::string_view LastField(std::string_view line);   // last blank-separated field
std::string Right(std::string_view text, std::size_t n);
std::string Mid(std::string_view text, std::size_t start1, std::size_t n);  // 1-based, clipped

// A line from a file or a device as a message quotes it: at most its first 80 characters,
// "..." when it was cut, control bytes shown as "?" (a message box is no place for a
// megabyte line or raw bytes).
std::string QuotedLine(std::string_view line);
// The text as one line: each CR and LF in it becomes a blank (a text that travels or is kept
// as a line of its own must not end it early and shift the lines after it).
std::string OneLine(std::string_view text);

}  // namespace cam
