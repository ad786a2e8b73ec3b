#include "core/exchange/csv.h"

#include <algorithm>

namespace cam {

bool CsvRecord::blank() const {
    return std::all_of(fields.begin(), fields.end(),
                       [](const std::string& f) { return f.find_first_not_of(" \t") == std::string::npos; });
}

namespace {

// Semicolons when the first line has some and no commas (outside quotes).
char SeparatorOf(std::string_view text) {
    bool quoted = false;
    int commas = 0, semicolons = 0;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') break;
        commas += c == ',';
        semicolons += c == ';';
    }
    return semicolons > 0 && commas == 0 ? ';' : ',';
}

}  // namespace

CsvReader::CsvReader(std::string_view text) : text_(text), separator_(SeparatorOf(text)) {}

bool CsvReader::next(CsvRecord& record) {
    record.fields.clear();
    record.line = line_;
    if (i_ >= text_.size() || unclosedQuoteLine_) return false;
    const std::string_view text = text_;
    std::size_t& i = i_;
    std::string field;
    for (;;) {
        if (i < text.size() && text[i] == '"') {
            const int quoteLine = line_;
            ++i;
            bool closed = false;
            while (i < text.size()) {
                const char c = text[i++];
                if (c == '"') {
                    if (i < text.size() && text[i] == '"') {
                        field += '"';
                        ++i;
                        continue;
                    }
                    closed = true;
                    break;
                }
                // A line end inside quotes is part of the field, CR LF counting as one line.
                if (c == '\n' || (c == '\r' && (i >= text.size() || text[i] != '\n'))) ++line_;
                field += c;
            }
            if (!closed) {
                unclosedQuoteLine_ = quoteLine;
                record.fields.push_back(std::move(field));
                return true;
            }
        }
        // Unquoted text, or what follows a closing quote, up to the separator or line end.
        while (i < text.size() && text[i] != separator_ && text[i] != '\n' && text[i] != '\r') field += text[i++];
        record.fields.push_back(std::move(field));
        field.clear();
        if (i >= text.size()) return true;
        if (text[i] == separator_) {
            ++i;
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        ++i;
        ++line_;
        return true;
    }
}

CsvTable ReadCsv(std::string_view text) {
    CsvTable table;
    CsvReader reader(text);
    table.separator = reader.separator();
    for (CsvRecord record; reader.next(record);) table.records.push_back(record);
    table.unclosedQuoteLine = reader.unclosedQuoteLine();
    return table;
}

std::string CsvField(std::string_view field) {
    const bool quote = field.find_first_of(",;\"\r\n") != std::string_view::npos ||
                       (!field.empty() &&
                        (field.front() == ' ' || field.back() == ' ' || field.front() == '\t' || field.back() == '\t'));
    if (!quote) return std::string(field);
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvRow(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        out += CsvField(fields[i]);
    }
    out += "\r\n";
    return out;
}

}  // namespace cam
