// The import of a CSV table as a program: every row checked first, the program built only
// when none is refused.
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/editor/phase_editing.h"
#include "core/editor/phase_list.h"
#include "core/exchange/cam_csv.h"
#include "core/exchange/csv.h"
#include "core/exchange/csv_settings.h"
#include "core/exchange/utf8_text.h"

#include <algorithm>
#include <map>
#include <set>

namespace cam {

namespace {

std::string Lower(std::string_view text) {
    std::string out(TrimBlanks(text));
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

struct PhaseRow {
    int line, size, cam;
    bool hasPhase;
    int on, off;
};

// Where each column of the header row is; -1 when missing.
struct Columns {
    int size = -1, cam = -1, remark = -1, on = -1, off = -1, setting = -1, value = -1;
    bool complete() const { return size >= 0 && cam >= 0 && on >= 0 && off >= 0; }
};

std::string Field(const CsvRecord& r, int i) {
    return i >= 0 && i < static_cast<int>(r.fields.size()) ? r.fields[i] : std::string();
}

// Whether the row has anything for the phase columns (a row of the functions block has not).
bool HasPhaseFields(const CsvRecord& r, const Columns& c) {
    for (int i : {c.size, c.cam, c.remark, c.on, c.off})
        if (!TrimBlanks(Field(r, i)).empty()) return true;
    return false;
}

Columns ColumnsOf(const CsvRecord& header) {
    Columns c;
    for (int i = static_cast<int>(header.fields.size()) - 1; i >= 0; --i) {
        const std::string name = Lower(header.fields[i]);
        int* column = name == "size"      ? &c.size
                      : name == "cam"     ? &c.cam
                      : name == "remark"  ? &c.remark
                      : name == "on"      ? &c.on
                      : name == "off"     ? &c.off
                      : name == "setting" ? &c.setting
                      : name == "value"   ? &c.value
                                          : nullptr;
        if (column) *column = i;  // the first of two columns of one name counts
    }
    return c;
}

class Importer {
public:
    Importer(const Program& texts, bool utf8) : t_(texts), utf8_(utf8) {}

    // Reasons why a phase row cannot be taken ("" when it can); fills row.
    std::string checkPhaseRow(const CsvRecord& r, const Columns& col, const ProgrammerModel& m, PhaseRow& row) {
        std::vector<std::string> why;
        auto field = [&](int i) { return Field(r, i); };
        row.line = r.line;
        const auto size = WholeNumber(field(col.size), 1, m.NSizes);
        const auto cam = WholeNumber(field(col.cam), 1, m.NCams);
        if (!size) why.push_back(BadValue(t_, "size", field(col.size), "1.." + CStr(m.NSizes)));
        if (!cam) why.push_back(BadValue(t_, "cam", field(col.cam), "1.." + CStr(m.NCams)));
        const std::string on = std::string(TrimBlanks(field(col.on))), off = std::string(TrimBlanks(field(col.off)));
        row.hasPhase = !on.empty() || !off.empty();
        if (on.empty() != off.empty()) {
            why.push_back(Text(t_, txt::kCsvOnOffPair));
        } else if (row.hasPhase) {
            const auto vOn = WholeNumber(on, 0, kMaxOn), vOff = WholeNumber(off, 0, kMaxOff);
            if (!vOn) why.push_back(BadValue(t_, "on", on, "0.." + CStr(kMaxOn)));
            if (!vOff) why.push_back(BadValue(t_, "off", off, "0.." + CStr(kMaxOff)));
            row.on = vOn.value_or(0);
            row.off = vOff.value_or(0);
        }
        if (cam) remark(field(col.remark), *cam - 1, r.line, why);
        row.size = size.value_or(0);
        row.cam = cam.value_or(1) - 1;
        std::string all;
        for (const std::string& w : why) all += (all.empty() ? "" : "; ") + w;
        return all;
    }

    std::map<int, std::string> remarks;  // cam index -> remark (Windows-1252)

private:
    // A remark that is not empty must agree with the cam's remark on every other row. Any
    // remark a cam file holds is taken, however long, control characters included; only a
    // line end cannot stand in a cam file's line.
    void remark(const std::string& field, int cam, int line, std::vector<std::string>& why) {
        const std::string text = RemarkFromSheet(field);
        if (TrimBlanks(text).empty()) return;
        const std::optional<std::string> bytes = utf8_ ? Utf8ToCp1252(text) : std::optional(text);
        if (!bytes || bytes->find('\n') != std::string::npos) {
            why.push_back(Text(t_, txt::kCsvRemarkChars));
            return;
        }
        const auto [seen, fresh] = firstRemark_.try_emplace(cam, line, *bytes);
        if (!fresh && seen->second.second != *bytes) {
            why.push_back(Fill(Text(t_, txt::kCsvRemarkDiffers), {CStr(seen->second.first)}));
            return;
        }
        remarks[cam] = *bytes;
    }

    const Program& t_;
    bool utf8_;
    std::map<int, std::pair<int, std::string>> firstRemark_;  // cam -> line, remark
};

// Notes for the rows whose phase the phase rule changed: one with equal on and off, which
// removes the phase there, and one that a later row cut back. Rows come one at a time, after
// the program is built.
class PhaseRuleNotes {
public:
    explicit PhaseRuleNotes(const Program& built) : p_(built) {}

    void row(const PhaseRow& r) {
        if (!r.hasPhase) return;
        if (r.on == r.off) return note(r, Text(p_, txt::kCsvEqualOnOff));
        auto [it, fresh] = listed_.try_emplace({r.size, r.cam});
        if (fresh) {
            const ChartPhases listedNow = ChartPhasesOf(p_, r.size, r.cam);
            if (listedNow.hasEdgePhase()) it->second.insert({listedNow.trail, listedNow.lead});
            for (const Phase& ph : listedNow.inner) it->second.insert({ph.on, ph.off});
        }
        // The chart lists a phase that ends at the end of the revolution with OFF 0.
        const int off = r.off == kPositions && r.on != 0 ? 0 : r.off;
        if (!it->second.count({r.on, off}))
            note(r, Fill(Text(p_, txt::kCsvCutBack), {CStr(r.size), CStr(r.cam + 1), D4(r.on), D4(r.off)}));
    }
    // The notes, the first CsvRefusals::kListed of them listed.
    CsvRefusals notes;

private:
    void note(const PhaseRow& r, const std::string& text) { notes.push_back({r.line, text}); }
    const Program& p_;
    std::map<std::pair<int, int>, std::set<std::pair<int, int>>> listed_;
};

bool IsSettingsHeader(const CsvRecord& r) {
    return Lower(r.fields[0]) == "setting" && r.fields.size() > 1 && Lower(r.fields[1]) == "value";
}

// The rows of the table, one at a time: the phase rows (those with anything in the phase
// columns), or the rows of the functions block (those with a setting; in the tables of
// earlier versions, the two-field rows after their "setting,value" header). Blank records
// and a record that a quote left open are passed over. One pass takes one kind.
class TableRows {
public:
    explicit TableRows(std::string_view csv) : reader_(csv) {
        while (reader_.next(header_) && header_.blank()) {}
        columns_ = ColumnsOf(header_);
    }
    // The header row: the first record that is not blank (none: an empty record).
    const CsvRecord& header() const { return header_; }
    const Columns& columns() const { return columns_; }

    bool nextPhase(CsvRecord& r) {
        // In an earlier version's table no phase row follows the functions block.
        while (record(r) && !twoFields_)
            if (HasPhaseFields(r, columns_)) return true;
        return false;
    }
    bool nextSetting(CsvSettingRow& s) {
        for (CsvRecord r; record(r);) {
            if (twoFields_) {
                s = {r.line, r.fields[0], Field(r, 1)};
                return true;
            }
            if (!TrimBlanks(Field(r, columns_.setting)).empty()) {
                s = {r.line, Field(r, columns_.setting), Field(r, columns_.value)};
                return true;
            }
        }
        return false;
    }
    int unclosedQuoteLine() const { return reader_.unclosedQuoteLine(); }

private:
    // The next record that is not blank, past the header of an earlier version's functions block.
    bool record(CsvRecord& r) {
        while (!done_ && reader_.next(r)) {
            if (reader_.unclosedQuoteLine()) break;
            if (r.blank()) continue;
            if (!twoFields_ && IsSettingsHeader(r)) {
                twoFields_ = true;
                continue;
            }
            return true;
        }
        done_ = true;
        return false;
    }

    CsvReader reader_;
    CsvRecord header_;
    Columns columns_;
    bool twoFields_ = false;
    bool done_ = false;
};

}  // namespace

CsvImport ImportCamCsv(Program& p, std::string_view csv, const std::optional<ModelCounts>& model) {
    CsvImport result;
    CsvRefusals refused;
    auto listed = [&](CsvRefusals& rows, std::vector<std::string>& into) {
        std::stable_sort(rows.list().begin(), rows.list().end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [line, why] : rows.list()) into.push_back(Fill(Text(p, txt::kCsvLine), {CStr(line), why}));
        return rows.unlisted();
    };
    auto finish = [&] {
        result.unlistedRefusals = listed(refused, result.refusals);
        return result;
    };
    if (csv.substr(0, 3) == "\xEF\xBB\xBF") csv.remove_prefix(3);  // the mark some programs put first
    // The table is read three times rather than held as records: the functions block at its
    // end gives the model that the phase rows are checked against, and the notes need the
    // program those rows built.
    TableRows settingRows(csv);
    const Columns& columns = settingRows.columns();
    if (!columns.complete()) {
        refused.push_back(
            {settingRows.header().fields.empty() ? 1 : settingRows.header().line, Text(p, txt::kCsvNoHeader)});
        return finish();
    }
    Program built = p;
    CsvSettings settings(p);
    for (CsvSettingRow r; settingRows.nextSetting(r);) settings.take(r, refused);
    // The settings rows are read to the end of the text: a quote left open anywhere shows here.
    if (const int line = settingRows.unclosedQuoteLine()) refused.push_back({line, Text(p, txt::kCsvUnclosedQuote)});
    settings.settle(built, model, refused);
    ResizeTables(built);
    ClearAll(built);
    settings.apply(built);
    Importer importer(p, IsUtf8(csv));
    TableRows phaseRows(csv);
    for (CsvRecord r; phaseRows.nextPhase(r);) {
        PhaseRow row{};
        if (std::string why = importer.checkPhaseRow(r, columns, built.Model(), row); !why.empty())
            refused.push_back({r.line, std::move(why)});
        else if (refused.empty() && row.hasPhase)
            SetPhase(built, row.size, row.cam, row.on, row.off);
    }
    if (!refused.empty()) return finish();
    for (const auto& [cam, remark] : importer.remarks) built.CamRemark[cam] = remark;
    PhaseRuleNotes notes(built);
    Importer again(p, IsUtf8(csv));
    TableRows rows(csv);
    for (CsvRecord r; rows.nextPhase(r);) {
        PhaseRow row{};
        if (again.checkPhaseRow(r, columns, built.Model(), row).empty()) notes.row(row);
    }
    result.unlistedNotes = listed(notes.notes, result.notes);
    for (int s = 1; s <= built.NSizes; ++s)
        for (int c = 0; c < built.NCams; ++c) result.phases += static_cast<int>(PhaseListEntries(built, s, c).size());
    p = std::move(built);
    return result;
}

}  // namespace cam
