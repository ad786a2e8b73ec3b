// Comma-separated values as RFC 4180 describes them, for tables that spreadsheets and
// scripts read and write: fields separated by commas, records ended by CR LF, a field quoted
// when it holds a separator, a quote, a line end or blanks at its ends, a quote inside a
// quoted field doubled.
//
// Reading takes what spreadsheets actually save as well: LF or CR alone as record ends, a
// last record without one, a semicolon as the separator (what a spreadsheet in many European
// languages writes) when the first line has semicolons and no commas, and a text after a
// closing quote, which is kept as it stands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cam {

struct CsvRecord {
    int line = 0;  // the line the record starts on, 1-based
    std::vector<std::string> fields;
    // Whether every field is empty or blanks only (a blank line, or ",,,," from a spreadsheet).
    bool blank() const;
};

struct CsvTable {
    std::vector<CsvRecord> records;
    char separator = ',';
    // The line of a quoted field that the text ends inside (0: none). Its record is the last
    // one, holding what came before the end.
    int unclosedQuoteLine = 0;
};

// The records of a text one at a time, so that a large table is never held a second time
// as records. The text must outlive the reader.
class CsvReader {
public:
    explicit CsvReader(std::string_view text);
    char separator() const { return separator_; }
    // The next record; false at the end. A quoted field left open ends the text: its record
    // is the last one, and unclosedQuoteLine() is then the line it opened on (else 0).
    bool next(CsvRecord& record);
    int unclosedQuoteLine() const { return unclosedQuoteLine_; }

private:
    std::string_view text_;
    std::size_t i_ = 0;
    int line_ = 1;
    char separator_;
    int unclosedQuoteLine_ = 0;
};

// Every record at once.
CsvTable ReadCsv(std::string_view text);

// One field as written: quoted when it must be.
std::string CsvField(std::string_view field);
// The fields separated by commas, ended by CR LF.
std::string CsvRow(const std::vector<std::string>& fields);

}  // namespace cam
