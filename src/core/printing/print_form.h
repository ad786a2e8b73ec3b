// The print dialog's rules: the two-digit size box with its key filter and its correction to
// the sizes of the model, the all-sizes switch, the mode, and what a press of PRINT prints.
#pragma once

#include "core/model/program.h"

#include <string>
#include <vector>

namespace cam {

enum class PrintMode { Listing, Chart };

// The size box: a box of two characters. Digits pass; any other character is typed as "0".
char SizeBoxKey(char typed);
// The box corrected as Enter, Tab or leaving it does: a number above sizes becomes sizes,
// one below 1 (an empty box, "00") becomes 1; then two digits with a leading zero.
std::string SizeBoxCommit(const std::string& box, int sizes);
// The size the box stands for, always within 1..sizes.
int SizeOfBox(const std::string& box, int sizes);

struct PrintForm {
    explicit PrintForm(const Program& p);  // the box shows CurSize

    std::string sizeBox;  // as typed, two characters at most
    bool allSizes = false;
    PrintMode mode = PrintMode::Listing;

    // What PRINT prints, in order: every size of the model, or the size of the box.
    std::vector<int> SizesToPrint(int sizes) const;
};

// The PDF the print dialog prints to when there is no printer: named after the cam file
// ("sizes.pdf" without one), in the working folder.
std::string PrintToFilePath(const Program& p);

// The printer page may be left asking for what the program cannot do: more than one copy or
// a range of pages. Such an answer is refused and the page opens again.
bool PrinterAnswerFits(int copies, bool pageRange);

}  // namespace cam
