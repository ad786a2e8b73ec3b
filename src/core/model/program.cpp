#include "core/model/program.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace cam {

void CamTable::resize(int sizes, int cams) {
    sizes_ = std::clamp(sizes, 0, kMaxSizes);
    cams_ = std::clamp(cams, 0, kMaxCams);
    pos_.assign(static_cast<std::size_t>(sizes_) * cams_ * kPositions, 0);
}

std::size_t CamTable::offset(int size, int cam) const {
    if (!contains(size, cam)) throw std::out_of_range("cam table index");
    return (static_cast<std::size_t>(size - 1) * cams_ + cam) * kPositions;
}

std::uint8_t* CamTable::cam(int size, int cam) { return pos_.data() + offset(size, cam); }
const std::uint8_t* CamTable::cam(int size, int cam) const { return pos_.data() + offset(size, cam); }

std::uint8_t& CamTable::operator()(int size, int cam, int pos) {
    if (pos < 0 || pos >= kPositions) throw std::out_of_range("cam position");
    return this->cam(size, cam)[pos];
}

std::uint8_t CamTable::operator()(int size, int cam, int pos) const {
    if (pos < 0 || pos >= kPositions) throw std::out_of_range("cam position");
    return this->cam(size, cam)[pos];
}

const std::string& Texts::Text(int k) const {
    static const std::string empty;
    if (k < 1 || k > kMaxTexts || k >= static_cast<int>(LngTxt.size())) return empty;
    return LngTxt[k];
}

void ResizeTables(CamData& d) {
    d.CamPos.resize(d.NSizes, d.NCams);
    // Remarks and advances keep the contents of the indices that remain.
    d.CamRemark.resize(std::max(d.NCams, 0));
    d.AdvMs.resize(std::max(d.NCams, 0));
}

void ResizeTables(Program& p) {
    ResizeTables(p.Data());
    ResizeMessages(p);
}

void ResizeMessages(Program& p) { p.AlarmMsg.resize(static_cast<std::size_t>(std::max(p.NMsgs, 0)) + 1); }

void ClearSize(CamData& p, int size) {
    // The cams of a size lie one after the other.
    if (p.CamPos.contains(size, 0)) std::memset(p.CamPos.cam(size, 0), 0, std::size_t(p.CamPos.cams()) * kPositions);
}

void ClearAllSizes(CamData& p) {
    for (int s = 1; s <= p.CamPos.sizes(); ++s) ClearSize(p, s);
}

void ClearRemarks(CamData& p) {
    for (auto& r : p.CamRemark) r.clear();
}

void ClearFunctions(CamData& p) {
    p.AdvOn = p.DelayOn = p.RatioOn = p.Ratio17On = 0;
    std::fill(p.AdvMs.begin(), p.AdvMs.end(), 0);
    p.Delay17_20 = p.Delay21_24 = p.Ratio25_32 = p.OutSize = 0;
    p.EncShift = 0;
    p.SpeedLimit = 0;
    p.RotDir = 0;
}

void ClearAll(CamData& d) {
    ClearFunctions(d);
    ClearAllSizes(d);
    ClearRemarks(d);
}

void ClearAll(Program& p) {
    ClearAll(p.Data());
    p.CurCam = 0;
    p.CurSize = 1;
}

bool SetPhase(CamData& p, int size, int cam, int on, int off) {
    if (!p.CamPos.contains(size, cam) || on < 0 || on > kPositions - 1 || off < 0 || off > kPositions) return false;
    std::uint8_t* pos = p.CamPos.cam(size, cam);
    if (on < off) {
        std::fill(pos + on, pos + off, 1);
    } else if (on > off) {
        std::fill(pos + on, pos + kPositions, 1);
        std::fill(pos, pos + off, 1);
    }
    // Cut back whatever touches the new phase, without wrapping past either end.
    for (int q = off; q < kPositions && pos[q]; ++q) pos[q] = 0;
    for (int q = on - 1; q >= 0 && pos[q]; --q) pos[q] = 0;
    return true;
}

}  // namespace cam
