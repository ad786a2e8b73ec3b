// Form model of the programmer window (Carprg): cam count, size count and encoder
// choice, and the rule applied when the window closes.
#pragma once

#include "core/model/program.h"

#include <functional>
#include <string>

namespace cam {

class ProgrammerForm {
public:
    explicit ProgrammerForm(Program& p);  // runs ShowModel

    // Shows NCams and NSizes in the option buttons; NSizes becomes one of the two counts
    // offered for the cam count (the larger when it matches neither); NEncoders = 1.
    void ShowModel();

    void clickCams(int i);      // O_PX(i): 0 = 16 cams, 1 = 32 cams
    void clickSizes(int i);     // O_F(i)
    void clickEncoders(int i);  // O_ENC(i), only when enabled
    // AutSel: identify returns true when the device answered; then ShowModel.
    bool autoSelect(const std::function<bool(Program&)>& identify);
    // Close by any means: NCams and NSizes from the selection, then ResizeTables.
    void close();

    // What the window shows.
    int camsIndex() const { return camsIndex_; }
    int sizesIndex() const { return sizesIndex_; }
    std::string sizeCaption(int i) const;  // " 7 SIZES", "30 SIZES", "15 SIZES", "60 SIZES"
    bool encoderEnabled(int i) const { return i == 0; }
    bool encoderSelected(int i) const { return p_.NEncoders == i + 1; }

private:
    Program& p_;
    int camsIndex_ = 1;
    int sizesIndex_ = 0;
};

// LabCom: "Serial Port COM 1 Unconnected" / "Serial Port COM1 Connected to 9600"
// (a device path in place of COMn when ComDevice is set).
std::string PortStatusText(const Program& p, bool portOpen);

}  // namespace cam
