#include "core/editor/history_form.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"

#include <cstdio>

namespace cam {

HistoryForm::HistoryForm(Program& p, CamDocument& doc)
    : p_(p), doc_(doc), homeSize_(p.CurSize), homeCam_(p.CurCam) {
    doc_.ShowHistory(doc_.history().present());
}

std::vector<std::string> HistoryForm::Rows() const {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < doc_.history().count(); ++i) {
        const ChangeHistory::Entry& e = doc_.history().entry(i);
        char number[16];
        std::snprintf(number, sizeof number, "%4d  ", e.number);
        rows.push_back(number + e.change.label);
    }
    return rows;
}

std::string HistoryForm::ReachText() const {
    const ChangeHistory& h = doc_.history();
    char held[16];
    std::snprintf(held, sizeof held, "%.1f", static_cast<double>(h.bytes()) / (1 << 20));
    return Fill(Text(p_, txt::kHistoryReach), {CStr(h.entry(0).number), CStr(static_cast<long>(h.count())), held,
                                               CStr(static_cast<long>(ChangeHistory::kBudget >> 20))});
}

void HistoryForm::Focus(int row) {
    const Change& c = doc_.history().entry(static_cast<std::size_t>(row)).change;
    if (c.size >= 1 && c.size <= p_.NSizes && c.size <= p_.CamPos.sizes()) p_.CurSize = c.size;
    if (c.cam >= 0 && c.cam < p_.NCams) p_.CurCam = c.cam;
}

void HistoryForm::Select(int row) {
    if (row < 0 || row >= static_cast<int>(doc_.history().count())) return;
    selected_ = row;
    doc_.ShowHistory(static_cast<std::size_t>(row));
    Focus(row);
}

bool HistoryForm::Restore() {
    if (!restoreEnabled()) return false;
    const std::string label = doc_.history().entry(static_cast<std::size_t>(selected_)).change.label;
    if (!doc_.RestoreHistory(static_cast<std::size_t>(selected_), Fill(Text(p_, txt::kHistBackTo), {label}))) {
        Select(presentRow());
        return false;
    }
    restored_ = true;
    selected_ = presentRow();
    homeSize_ = p_.CurSize;
    homeCam_ = p_.CurCam;
    return true;
}

void HistoryForm::Close() {
    doc_.ShowHistory(doc_.history().present());
    if (homeSize_ >= 1 && homeSize_ <= p_.NSizes) p_.CurSize = homeSize_;
    if (homeCam_ >= 0 && homeCam_ < p_.NCams) p_.CurCam = homeCam_;
}

}  // namespace cam
