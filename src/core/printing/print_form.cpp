#include "core/printing/print_form.h"

#include "core/model/text_format.h"

#include <algorithm>

namespace cam {

char SizeBoxKey(char typed) { return typed >= '0' && typed <= '9' ? typed : '0'; }

int SizeOfBox(const std::string& box, int sizes) {
    // Only digits reach the box, so the value is small; the bounds keep a stray text in range.
    const long n = ValRounded(box);
    return static_cast<int>(std::clamp<long>(n, 1, std::max(1, sizes)));
}

std::string SizeBoxCommit(const std::string& box, int sizes) { return D2(SizeOfBox(box, sizes)); }

PrintForm::PrintForm(const Program& p) : sizeBox(D2(std::clamp(p.CurSize, 1, std::max(1, p.NSizes)))) {}

std::vector<int> PrintForm::SizesToPrint(int sizes) const {
    std::vector<int> out;
    if (allSizes)
        for (int n = 1; n <= sizes; ++n) out.push_back(n);
    else
        out.push_back(SizeOfBox(sizeBox, sizes));
    return out;
}

std::string PrintToFilePath(const Program& p) {
    const std::string& title = p.CamFileTitle;
    const std::size_t dot = title.rfind('.');
    const std::string name = title.empty() ? "sizes" : title.substr(0, dot == 0 ? title.size() : dot);
    return p.WorkDir + "/" + name + ".pdf";
}

bool PrinterAnswerFits(int copies, bool pageRange) { return copies <= 1 && !pageRange; }

}  // namespace cam
