// The firmware update: the file is verified, the user confirms, the device is put into its
// flash-update mode with ":FU" and takes the file record by record, each acknowledged.
// Sequential code over the link; the update window (or camctl's progress line) renders the
// FlashScreen the engine reports through FlashView.
#pragma once

#include "core/model/program.h"
#include "core/firmware/firmware_file.h"
#include "core/link/serial_link.h"

#include <string>
#include <string_view>
#include <vector>

namespace cam {

inline constexpr long kFlashSpeed = 19200;    // the update's line speed, whatever is stored
inline constexpr int kEnterUpdateMs = 5000;   // ":FU" to its ACK
inline constexpr int kRecordAnswerMs = 5000;  // a record to its ACK or NAK
inline constexpr int kUpdatedShownMs = 3000;  // the last row stays this long in the window

// What the update window shows.
struct FlashScreen {
    std::string workingFile;  // row 1: the file and its length
    // Row 2: "Testing Line:" and "Tot.Bytes:", then their counts once drawn (-1: not yet).
    bool testing = false;
    long testLines = -1;
    long testBytes = -1;
    std::string row4;  // the identification row, or "FILE UNUSABLE"
    // Row 6: "Transmit Line:", "Bytes:" and "Addr:", then their values once drawn.
    bool transmitting = false;
    long sentLines = -1;
    long sentBytes = -1;
    std::string address;
    std::string row8;  // "DEVICE UPDATED WITH  " and the file
    int percent = -1;  // the progress bar; hidden while -1
    enum class Lamp { Hidden, Green, Red } lamp = Lamp::Hidden;
};

// One text of the screen: row 1 is drawn in the 11-point font, the others 12-point bold.
struct PlacedText {
    int row;  // 1-based; rows are kRowPitch pixels apart
    int x;    // pixels from the left
    std::string text;
    bool operator==(const PlacedText&) const = default;
};
inline constexpr int kRowPitch = 18;
inline constexpr int kLineColumn = 140;
inline constexpr int kBytesColumn = 340;
inline constexpr int kAddressColumn = 460;

// The rows of the screen with their texts at their columns (counts "####00": at least 2 digits).
std::vector<PlacedText> ScreenTexts(const FlashScreen& s);

// Row 1: WORKING FILE ="path" (1234 bytes)
std::string WorkingFileRow(const std::string& path, std::uintmax_t bytes);

class FlashView {
public:
    virtual ~FlashView() = default;
    virtual void display(const FlashScreen& screen) = 0;  // the whole screen after each change
};

// The transmission row and the bar are redrawn every this many lines: lines / 100 rounded
// half to even, at least 1.
long DisplayInterval(long lines);

// One record on its way, in the order of sending.
struct PlannedSend {
    std::string_view record;  // in the records the plan was made from
    long number = 0;          // its place among those records, 1-based
    long line = 0;            // the line count after counting it; 0 for the deferred record at the end
    long bytes = 0;           // the data-byte total after counting it
    bool shown = false;       // the transmission row and the bar are redrawn before sending it
    bool operator==(const PlannedSend&) const = default;
};

// The sending order: a record with byte count 00 is held back and sent after the last line
// (the line after it goes in its place); when it is the last line it is sent in place as
// well, so twice. The plan points into records, which must outlive it.
std::vector<PlannedSend> TransmissionPlan(const std::vector<std::string>& records);
std::vector<PlannedSend> TransmissionPlan(std::vector<std::string>&& records) = delete;

enum class FlashOutcome {
    Updated,
    FileRefused,  // unreadable, a line without ":", a checksum error: nothing was sent
    Declined,     // "UPDATE FLASH ?" answered No
    NotReady,     // "DEVICE NOT READY" cancelled
    PortFailed,   // the port could not be opened or set
    TimedOut,     // no answer in time
    Refused,      // a record refused (NAK) more than kMaxBlockResends times, or ":FU" refused
    Garbled,      // an answer that is not one ACK or one NAK alone
    LineLost,     // the port went away during the update
};

// Phase 1: rows 1 and 2 while the file is read, row 4 at the end. A refused file is told
// ("FILE UNUSABLE", "PARITY ERROR IN LINE " n, or that it cannot be read).
FirmwareFile VerifyFirmware(const Program& p, const std::string& path, FlashScreen& screen, FlashView& view,
                            Prompt& prompt);

// Phases 2 to 4 with a verified file: the port at 19200 8N1 with RTS/CTS, "UPDATE FLASH ?",
// the lamp and "DEVICE NOT READY", ":FU", the records. The answer to ":FU" and to each record
// is one ACK (a NAK has the record sent again) and nothing else: any other byte, also one that
// follows an ACK, stops the update with a message that names what arrived. The port is
// closed at every end.
FlashOutcome SendFirmware(Program& p, Link& link, const FirmwareFile& file, const std::string& path,
                          FlashScreen& screen, FlashView& view, int shownMs = kUpdatedShownMs);

// The whole update of the window: verification, then the exchange.
FlashOutcome FlashUpdate(Program& p, Link& link, const std::string& path, FlashView& view,
                         int shownMs = kUpdatedShownMs);

// "&Update FLASH": the open-file dialog in FwDir (the working folder at first). The chosen
// file becomes FwFile and its folder FwDir; "" when none was chosen.
std::string ChooseFirmwareFile(Program& p, Prompt& prompt);

}  // namespace cam
