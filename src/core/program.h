// The program-wide data: one instance is owned by the application and passed by
// reference to every routine and window. Field names are those of the data tables.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cam {

constexpr int kPositions = 1024;  // positions of one shaft revolution
constexpr int kMaxCams = 32;
constexpr int kMaxSizes = 60;
constexpr int kMaxTexts = 500;       // language texts 1..500
constexpr int kSizeTextLines = 514;  // SizeText 0..513
constexpr int kMaxRecentFiles = 5;

// CamPos(size 1..NSizes, cam 0..NCams-1, position 0..1023) of bytes 0/1.
class CamTable {
public:
    void resize(int sizes, int cams);  // every position OFF, even with unchanged bounds
    int sizes() const { return sizes_; }
    int cams() const { return cams_; }
    bool contains(int size, int cam) const { return size >= 1 && size <= sizes_ && cam >= 0 && cam < cams_; }
    // One cam of one size: 1024 positions. Throws std::out_of_range outside the table.
    std::uint8_t* cam(int size, int cam);
    const std::uint8_t* cam(int size, int cam) const;
    std::uint8_t& operator()(int size, int cam, int pos);
    std::uint8_t operator()(int size, int cam, int pos) const;

private:
    std::size_t offset(int size, int cam) const;
    int sizes_ = 0;
    int cams_ = 0;
    std::vector<std::uint8_t> pos_;
};

// The serial port and speed of the device link.
struct PortSettings {
    long ComPort = 1;       // COMn number, used when ComDevice is empty
    std::string ComDevice;  // a device path such as /dev/ttyUSB0 for ports that are not COMn
    long ComSpeed = 9600;
    bool operator==(const PortSettings&) const = default;
};

// The capacity of the programmer the data is for: set by the programmer window, by device
// identification and by a cam file's header; the tables are dimensioned by it.
struct ProgrammerModel {
    int NCams = 32;
    int NSizes = 7;
    int NEncoders = 0;  // 0 = not known yet
    int NMsgs = 255;
    bool operator==(const ProgrammerModel&) const = default;
};

struct Program : ProgrammerModel, PortSettings {
    CamTable CamPos;
    std::vector<std::string> CamRemark = std::vector<std::string>(kMaxCams);  // 0..NCams-1

    // Functions block
    std::uint8_t AdvOn = 0;
    int NAdvCams = 0;
    std::vector<std::uint8_t> AdvMs = std::vector<std::uint8_t>(kMaxCams);  // 0..NCams-1
    std::uint8_t DelayOn = 0;
    std::uint8_t Delay17_20 = 0;
    std::uint8_t Delay21_24 = 0;
    std::uint8_t RatioOn = 0;
    std::uint8_t Ratio25_32 = 0;
    std::uint8_t Ratio17On = 0;
    std::uint8_t OutSize = 0;
    int EncShift = 0;
    int EncShift2 = 0;
    int EncShift3 = 0;
    std::uint8_t RotDir = 0;
    std::uint8_t RotDir2 = 0;
    std::uint8_t RotDir3 = 0;
    int SpeedLimit = 0;

    // Alarm messages, 1..NMsgs (element 0 unused)
    std::vector<std::string> AlarmMsg = std::vector<std::string>(256);

    // Alarm messages: the list's file, its edits, its search and its printout
    std::string MsgFile;        // the message file of the list ("" = none)
    bool MsgSaved = true;       // the list has no edits that are in no file
    int EditMsgNum = 0;         // list index (0-based) of the message being edited
    std::string EditMsgText;    // its text while it is edited
    std::string MsgSearchText;  // the last text searched for
    int MsgSearchPos = 0;       // list index where the next text search starts
    std::string PrinterName;    // the printer chosen for this run ("" = the system's default)
    std::string PrintToFile;    // a PDF file chosen in the print dialog instead of a printer
    std::string PrnFontName;    // the printer font ("" and 0: the printout's own)
    double PrnFontSize = 0;
    bool PrnFontBold = false;
    bool PrnFontItalic = false;

    // Selection, files and settings
    int CurSize = 1;  // 1..NSizes
    int CurCam = 1;   // 0..NCams-1
    bool FileSaved = true;
    std::string CamFile;
    // The reading of CamFile failed or stopped before its end: the tables do not hold the
    // file, so a plain Save must not write them over it.
    bool CamFileUnread = false;
    std::string CamFileTitle;
    std::string WorkDir;
    // The port in use is the base PortSettings. While it is for this run only (camdesk
    // --port, or the port window left with EXIT), StoredPort holds the one the options file keeps.
    std::optional<PortSettings> StoredPort;
    std::string LngFile;
    std::vector<std::string> LngTxt = std::vector<std::string>(kMaxTexts + 1);  // 1..500
    bool ReadError = false;
    std::string LineBuf;
    std::string FileDims;
    std::array<std::string, kSizeTextLines> SizeText;
    std::array<std::uint8_t, kPositions> UndoPos{};
    float ScrScale = 0;
    std::string TmpFile;
    std::vector<std::string> RecentFiles;  // most recent first, at most five

    // Firmware update
    std::string FwFile;  // the firmware file of the last update
    std::string FwDir;   // where the firmware file dialog starts; "" = WorkDir

    // Size show
    int ShowSavedPos = 0;  // where the last run of the size show stopped: the next START goes on there

    // Chart editing
    int SnapStep = 8;  // positions a drag snaps to while Shift is held (camdesk.ini, not the options file)

    // Text k of the language script ("" when k is outside 1..500).
    const std::string& Text(int k) const;

    ProgrammerModel& Model() { return *this; }
    const ProgrammerModel& Model() const { return *this; }
    PortSettings& Port() { return *this; }
    const PortSettings& Port() const { return *this; }
};

// Table set-up and clearing
void ResizeTables(Program& p);
void ClearSize(Program& p, int size);
void ClearAllSizes(Program& p);
void ClearRemarks(Program& p);
void ClearFunctions(Program& p);
void ClearAll(Program& p);

// Writes the phase on..off of one cam by the run replacement rule: the new phase never
// merges with a neighbour, and on = off deletes the phase at that place.
// Returns false (and writes nothing) when size, cam or a position is outside the tables.
bool SetPhase(Program& p, int size, int cam, int on, int off);

}  // namespace cam
