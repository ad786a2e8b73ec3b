#include "core/model/programmer_form.h"

#include "core/model/text_format.h"

namespace cam {

namespace {

// The two size counts offered for each cam count, as the option buttons show them.
const char* const kSizes16[2] = {"15 SIZES", "60 SIZES"};
const char* const kSizes32[2] = {" 7 SIZES", "30 SIZES"};

}  // namespace

ProgrammerForm::ProgrammerForm(Program& p) : p_(p) { ShowModel(); }

std::string ProgrammerForm::sizeCaption(int i) const {
    if (i < 0 || i > 1) return "";
    return camsIndex_ == 0 ? kSizes16[i] : kSizes32[i];
}

void ProgrammerForm::ShowModel() {
    // Any count other than 32 cams is shown, and taken, as 16.
    camsIndex_ = p_.NCams == 32 ? 1 : 0;
    p_.NCams = camsIndex_ == 1 ? 32 : 16;
    p_.NEncoders = 1;
    // The selection follows the size count held on entry; one that matches neither is the larger.
    const int smaller = camsIndex_ == 1 ? 7 : 15;
    sizesIndex_ = p_.NSizes == smaller ? 0 : 1;
    p_.NSizes = ValRounded(sizeCaption(sizesIndex_).substr(0, 2));
}

void ProgrammerForm::clickCams(int i) {
    if (i < 0 || i > 1) return;
    p_.NCams = i > 0 ? 32 : 16;
    ShowModel();
}

void ProgrammerForm::clickSizes(int i) {
    if (i < 0 || i > 1) return;
    sizesIndex_ = i;
    p_.NSizes = ValRounded(sizeCaption(i).substr(0, 2));
}

void ProgrammerForm::clickEncoders(int i) {
    if (!encoderEnabled(i)) return;
    p_.NEncoders = i + 1;
}

bool ProgrammerForm::autoSelect(const std::function<bool(Program&)>& identify) {
    if (!identify || !identify(p_)) return false;
    ShowModel();
    return true;
}

void ProgrammerForm::close() {
    p_.NCams = camsIndex_ == 0 ? 16 : 32;
    p_.NSizes = ValRounded(sizeCaption(sizesIndex_).substr(0, 2));
    ResizeTables(p_);
}

std::string PortStatusText(const Program& p, bool portOpen) {
    if (!p.ComDevice.empty())
        return "Serial Port " + p.ComDevice + (portOpen ? " Connected to " + CStr(p.ComSpeed) : " Unconnected");
    if (portOpen) return "Serial Port COM" + CStr(p.ComPort) + " Connected to " + CStr(p.ComSpeed);
    return "Serial Port COM" + Str(p.ComPort) + " Unconnected";
}

}  // namespace cam
