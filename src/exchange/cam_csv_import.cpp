// The import of a CSV table as a program: every row checked first, the program built only
// when none is refused.
#include "core/text_format.h"
#include "core/texts.h"
#include "editor/phase_editing.h"
#include "editor/phase_list.h"
#include "exchange/cam_csv.h"
#include "exchange/csv.h"
#include "exchange/csv_settings.h"
#include "exchange/utf8_text.h"

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
// removes the phase there, and one that a later row cut back.
std::vector<std::string> PhaseRuleNotes(const Program& p, const std::vector<PhaseRow>& rows) {
    std::vector<std::string> notes;
    std::map<std::pair<int, int>, std::set<std::pair<int, int>>> listed;
    for (const PhaseRow& r : rows) {
        if (!r.hasPhase) continue;
        auto line = [&](const std::string& text) {
            notes.push_back(Fill(Text(p, txt::kCsvLine), {CStr(r.line), text}));
        };
        if (r.on == r.off) {
            line(Text(p, txt::kCsvEqualOnOff));
            continue;
        }
        auto [it, fresh] = listed.try_emplace({r.size, r.cam});
        if (fresh) {
            const ChartPhases listedNow = ChartPhasesOf(p, r.size, r.cam);
            if (listedNow.hasEdgePhase()) it->second.insert({listedNow.trail, listedNow.lead});
            for (const Phase& ph : listedNow.inner) it->second.insert({ph.on, ph.off});
        }
        // The chart lists a phase that ends at the end of the revolution with OFF 0.
        const int off = r.off == kPositions && r.on != 0 ? 0 : r.off;
        if (!it->second.count({r.on, off}))
            line(Fill(Text(p, txt::kCsvCutBack), {CStr(r.size), CStr(r.cam + 1), D4(r.on), D4(r.off)}));
    }
    return notes;
}

}  // namespace

CsvImport ImportCamCsv(Program& p, std::string_view csv, const std::optional<ModelCounts>& model) {
    CsvImport result;
    CsvRefusals refused;
    auto finish = [&] {
        std::stable_sort(refused.begin(), refused.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [line, why] : refused)
            result.refusals.push_back(Fill(Text(p, txt::kCsvLine), {CStr(line), why}));
        return result;
    };
    if (csv.substr(0, 3) == "\xEF\xBB\xBF") csv.remove_prefix(3);  // the mark some programs put first
    const CsvTable table = ReadCsv(csv);
    std::size_t i = 0;
    while (i < table.records.size() && table.records[i].blank()) ++i;
    const Columns columns = i < table.records.size() ? ColumnsOf(table.records[i]) : Columns{};
    if (!columns.complete()) {
        refused.push_back({i < table.records.size() ? table.records[i].line : 1, Text(p, txt::kCsvNoHeader)});
        return finish();
    }
    // The phase rows and the rows of the functions block; a record that a quote left open is
    // refused as a whole.
    const CsvRecord* unclosed = table.unclosedQuoteLine ? &table.records.back() : nullptr;
    if (unclosed) refused.push_back({table.unclosedQuoteLine, Text(p, txt::kCsvUnclosedQuote)});
    std::vector<const CsvRecord*> phaseRecords;
    std::vector<CsvSettingRow> settingRows;
    bool twoFields = false;  // after the "setting,value" row of an earlier version's table
    for (++i; i < table.records.size(); ++i) {
        const CsvRecord& r = table.records[i];
        if (r.blank() || &r == unclosed) continue;
        if (twoFields) {
            settingRows.push_back({r.line, r.fields[0], Field(r, 1)});
        } else if (Lower(r.fields[0]) == "setting" && Lower(Field(r, 1)) == "value") {
            twoFields = true;
        } else {
            if (!TrimBlanks(Field(r, columns.setting)).empty())
                settingRows.push_back({r.line, Field(r, columns.setting), Field(r, columns.value)});
            if (HasPhaseFields(r, columns)) phaseRecords.push_back(&r);
        }
    }

    Program built = p;
    CsvSettings settings(p);
    settings.read(settingRows, refused);
    settings.settle(built, model, refused);
    Importer importer(p, IsUtf8(csv));
    std::vector<PhaseRow> rows;
    for (const CsvRecord* r : phaseRecords) {
        PhaseRow row{};
        if (std::string why = importer.checkPhaseRow(*r, columns, built.Model(), row); !why.empty())
            refused.push_back({r->line, std::move(why)});
        else
            rows.push_back(row);
    }
    if (!refused.empty()) return finish();
    ResizeTables(built);
    ClearAll(built);
    settings.apply(built);
    for (const auto& [cam, remark] : importer.remarks) built.CamRemark[cam] = remark;
    for (const PhaseRow& r : rows)
        if (r.hasPhase) SetPhase(built, r.size, r.cam, r.on, r.off);
    result.notes = PhaseRuleNotes(built, rows);
    for (int s = 1; s <= built.NSizes; ++s)
        for (int c = 0; c < built.NCams; ++c) result.phases += static_cast<int>(PhaseListEntries(built, s, c).size());
    p = std::move(built);
    return result;
}

}  // namespace cam
