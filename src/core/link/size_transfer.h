// Size transfer: the whole configuration (functions block and every size) to the device
// ("?FW") and from it ("?FR"). Sequential code over the link; the transfer window, or
// camctl's progress line, renders what the engine reports through TransferView.
#pragma once

#include "core/model/program.h"
#include "core/link/identify.h"
#include "core/link/reception_parser.h"
#include "core/link/serial_link.h"

#include <optional>
#include <string>

namespace cam {

// What the transfer window shows.
class TransferView {
public:
    virtual ~TransferView() = default;
    virtual void setCaption(const std::string& caption) = 0;      // "ZETO PX-32   1024"
    virtual void setOperation(const std::string& operation) = 0;  // what is being transferred
    virtual void setSizeLabel(const std::string& label) = 0;      // the size being transferred
    virtual void setProgress(int percent) = 0;
};

// "ZETO PX-" cams "   1024": the transfer window's caption.
std::string TransferCaption(int cams);

// The "?FW" branch: the functions block, sizes 1..sizes, "END". Ends at the first block the
// device does not take (its message already shown). True when every block was taken and
// the device acknowledged "END".
bool TransmitBranch(Program& p, Link& link, TransferView& view, int sizes);

// The "?FR" branch: every received block becomes one line of the reception file (tmpPath)
// until "END". False after a silent device, a bad block or a lost port ("TIMEOUT SERIAL PORT "
// shown, port closed); the lines received so far stay in the file.
bool ReceiveBranch(Program& p, Link& link, TransferView& view, const std::string& tmpPath);

// The Size Transmit command on the program data: identification, the checks of what the
// device can take (a different cam count is refused, different size counts send the sizes
// both hold, losses are listed and may be cancelled), the transfer, the port closed.
// The model of the tables (NCams, NSizes) never changes. True when everything was sent.
struct [[nodiscard]] TransmitResult {
    bool sent = false;       // every block taken and "END" acknowledged
    int sizes = 0;           // the sizes that went out
    ProgrammerModel device;  // the model the device reported
    explicit operator bool() const { return sent; }
};
TransmitResult SizeTransmit(Program& p, Link& link, TransferView& view);

// A program received from the device, complete and of a model that fits.
struct ReceivedProgram {
    CamData data;            // the device's model, functions block and sizes
    ProgrammerModel device;  // the model the device reported
};

// The one Size Receive, for camdesk, its compare window and camctl alike: opens the port,
// identifies the device, receives "?FR" into session.TmpFile, closes the port and parses
// what came into a program of the device's model. expectedCams is the cam count the result
// must have ("WRONG DSP" otherwise); nullopt takes the device's own. Values brought into the
// tables' ranges are listed in one message. Fails with the reason, its message already
// shown, when no device answered, the reception ended before "END", the cam count differs
// or a size block could not be read: nothing of a partial reception is returned.
// Only scratch values of session are used (port settings, WorkDir, TmpFile, texts).
Outcome<ReceivedProgram> ReceiveProgram(Program& session, Link& link, TransferView& view,
                                        std::optional<int> expectedCams);

}  // namespace cam
