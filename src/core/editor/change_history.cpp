#include "core/editor/change_history.h"

#include <algorithm>

namespace cam {

PackedCam PackCam(const std::uint8_t* positions) {
    PackedCam b;
    for (int i = 0; i < kPositions; ++i)
        if (positions[i]) b.set(static_cast<std::size_t>(i));
    return b;
}

void UnpackCam(const PackedCam& packed, std::uint8_t* positions) {
    for (int i = 0; i < kPositions; ++i) positions[i] = packed.test(static_cast<std::size_t>(i)) ? 1 : 0;
}

std::size_t Change::bytes() const {
    std::size_t n = sizeof(Change) + label.capacity() + cams.capacity() * sizeof(Cam);
    for (const Remark& r : remarks) n += sizeof(Remark) + r.before.capacity() + r.after.capacity();
    if (functionsBefore) n += 2 * (sizeof(FunctionsBlock) + functionsBefore->AdvMs.capacity());
    return n;
}

// ---- ChangeBuilder --------------------------------------------------------------------

void ChangeBuilder::NoteCam(const CamData& p, int size, int cam) {
    if (!p.CamPos.contains(size, cam)) return;
    if (!camKeys_.insert(long(size) * kMaxCams * 2 + cam).second) return;  // noted already
    cams_.push_back({size, cam, PackCam(p.CamPos.cam(size, cam))});
}

void ChangeBuilder::NoteSize(const CamData& p, int size) {
    for (int c = 0; c < p.CamPos.cams(); ++c) NoteCam(p, size, c);
}

void ChangeBuilder::NoteRemark(const CamData& p, int cam) {
    if (cam < 0 || cam >= static_cast<int>(p.CamRemark.size())) return;
    for (const auto& r : remarks_)
        if (r.first == cam) return;
    remarks_.emplace_back(cam, p.CamRemark[cam]);
}

void ChangeBuilder::NoteFunctions(const CamData& p) {
    if (!functions_) functions_ = FunctionsOf(p);
}

void ChangeBuilder::NoteAll(const CamData& p) {
    sizes_ = p.CamPos.sizes();
    camsPerSize_ = p.CamPos.cams();
    for (int s = 1; s <= sizes_; ++s) NoteSize(p, s);
    for (int c = 0; c < static_cast<int>(p.CamRemark.size()); ++c) NoteRemark(p, c);
    NoteFunctions(p);
}

bool ChangeBuilder::Redimensioned(const CamData& p) const {
    return sizes_ >= 0 && (p.CamPos.sizes() != sizes_ || p.CamPos.cams() != camsPerSize_);
}

Change ChangeBuilder::Finish(const CamData& p, std::string label) const {
    Change c;
    c.label = std::move(label);
    for (const NotedCam& n : cams_) {
        if (!p.CamPos.contains(n.size, n.cam)) continue;
        PackedCam after = PackCam(p.CamPos.cam(n.size, n.cam));
        if (after != n.before) c.cams.push_back({n.size, n.cam, n.before, after});
    }
    for (const auto& [cam, before] : remarks_)
        if (cam < static_cast<int>(p.CamRemark.size()) && p.CamRemark[cam] != before)
            c.remarks.push_back({cam, before, p.CamRemark[cam]});
    if (functions_) {
        FunctionsBlock after = FunctionsOf(p);
        if (!(after == *functions_)) {
            c.functionsBefore = *functions_;
            c.functionsAfter = std::move(after);
        }
    }
    if (!c.cams.empty()) {
        c.size = c.cams.front().size;
        c.cam = c.cams.front().cam;
    } else if (!c.remarks.empty()) {
        c.cam = c.remarks.front().cam;
    }
    c.cams.shrink_to_fit();
    return c;
}

// ---- ChangeHistory --------------------------------------------------------------------

void ChangeHistory::Start(std::string label) {
    entries_.clear();
    next_ = 1;
    Change base;
    base.label = std::move(label);
    bytes_ = base.bytes();
    entries_.push_back({next_++, std::move(base)});
    shown_ = 0;
}

bool ChangeHistory::Record(Change change) {
    if (change.empty()) return false;
    if (entries_.empty()) Start("");
    bytes_ += change.bytes();
    entries_.push_back({next_++, std::move(change)});
    while (bytes_ > kBudget && entries_.size() > kKeptAtLeast) DropOldest();
    shown_ = present();
    return true;
}

void ChangeHistory::DropOldest() {
    bytes_ -= entries_.front().change.bytes();
    entries_.pop_front();
    // The oldest kept entry is now where the history begins: the state after it can be
    // shown, the one before it no longer, so what it changed need not be kept.
    Change& first = entries_.front().change;
    bytes_ -= first.bytes();
    first.cams = {};
    first.remarks = {};
    first.functionsBefore.reset();
    first.functionsAfter.reset();
    bytes_ += first.bytes();
}

void ChangeHistory::Apply(CamData& p, const Change& c, bool forward) {
    for (const Change::Cam& d : c.cams)
        if (p.CamPos.contains(d.size, d.cam)) UnpackCam(forward ? d.after : d.before, p.CamPos.cam(d.size, d.cam));
    for (const Change::Remark& r : c.remarks)
        if (r.cam >= 0 && r.cam < static_cast<int>(p.CamRemark.size()))
            p.CamRemark[r.cam] = forward ? r.after : r.before;
    if (c.functionsBefore && c.functionsAfter) PutFunctions(p, forward ? *c.functionsAfter : *c.functionsBefore);
}

void ChangeHistory::Show(CamData& p, std::size_t i) {
    if (entries_.empty()) return;
    i = std::min(i, present());
    while (shown_ > i) Apply(p, entries_[shown_--].change, false);
    while (shown_ < i) Apply(p, entries_[++shown_].change, true);
}

bool ChangeHistory::Restore(CamData& p, std::size_t i, std::string label) {
    if (entries_.empty() || i >= present()) {
        Show(p, present());
        return false;
    }
    // What the entries after i touched, as the present state holds it...
    Show(p, present());
    ChangeBuilder b;
    for (std::size_t j = i + 1; j < entries_.size(); ++j) {
        const Change& c = entries_[j].change;
        for (const Change::Cam& d : c.cams) b.NoteCam(p, d.size, d.cam);
        for (const Change::Remark& r : c.remarks) b.NoteRemark(p, r.cam);
        if (c.functionsBefore) b.NoteFunctions(p);
    }
    // ...and as the state after i holds it.
    Show(p, i);
    Change back = b.Finish(p, std::move(label));
    back.size = entries_[i].change.size;
    back.cam = entries_[i].change.cam;
    if (back.empty()) {
        Show(p, present());  // the same tables: nothing to record
        return false;
    }
    Record(std::move(back));  // the tables now hold its state: it is the present one
    return true;
}

}  // namespace cam
