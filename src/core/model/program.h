// The data of a run, in parts: the program data (CamData, the document), the language texts,
// the chart's view, the reader's scratch and the rest of the run's state (Program). Field
// names are those of the data tables.
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

// The program data: what a cam file holds and what the device exchanges as its sizes and
// functions block: the model, the cam tables, the remarks and the functions block. In camdesk
// it is the document; it changes only through CamDocument's edit path there.
struct CamData : ProgrammerModel {
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

    ProgrammerModel& Model() { return *this; }
    const ProgrammerModel& Model() const { return *this; }
    CamData& Data() { return *this; }
    const CamData& Data() const { return *this; }
};

// The language texts: every window and message takes its wording from here by number.
struct Texts {
    std::string LngFile;
    std::vector<std::string> LngTxt = std::vector<std::string>(kMaxTexts + 1);  // 1..500
    // Text k of the language script ("" when k is outside 1..500).
    const std::string& Text(int k) const;
};

// What the chart shows: the size and the selected cam.
struct ChartView {
    int CurSize = 1;  // 1..NSizes
    int CurCam = 1;   // 0..NCams-1
};

// The cam-file reader's and writer's scratch.
struct ReaderScratch {
    bool ReadError = false;
    std::string LineBuf;
    std::string FileDims;
    std::array<std::string, kSizeTextLines> SizeText;
};

// One run of the program: the program data and, apart from it, the view, the texts, the
// port, the files and the settings. A routine takes the part it uses.
struct Program : CamData, PortSettings, Texts, ChartView, ReaderScratch {
    // Alarm messages, 1..NMsgs (element 0 unused)
    std::vector<std::string> AlarmMsg = std::vector<std::string>(256);

    // Alarm messages: the list's file, its edits, its search and its printout
    std::string MsgFile;        // the message file of the list ("" = none)
    // The list as it was last read or written (messages 1.., the blank ones at its end left
    // out; at the start: empty). Whether the list is saved is derived from it: MsgSaved().
    std::vector<std::string> MsgSavedList;
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

    // Files and settings
    std::string CamFile;
    // The reading of CamFile failed or stopped before its end: the tables do not hold the
    // file, so a plain Save must not write them over it.
    bool CamFileUnread = false;
    std::string CamFileTitle;
    std::string WorkDir;
    // The port in use is the base PortSettings. While it is for this run only (camdesk
    // --port, or the port window left with EXIT), StoredPort holds the one the options file keeps.
    std::optional<PortSettings> StoredPort;
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

    PortSettings& Port() { return *this; }
    const PortSettings& Port() const { return *this; }
};

// Table set-up and clearing
void ResizeTables(CamData& d);
void ResizeTables(Program& p);  // also the alarm message list
void ResizeMessages(Program& p);  // the alarm message list to NMsgs, keeping its messages
void ClearSize(CamData& d, int size);
void ClearAllSizes(CamData& d);
void ClearRemarks(CamData& d);
void ClearFunctions(CamData& d);
void ClearAll(CamData& d);
void ClearAll(Program& p);  // also the selection: cam 0 of size 1

// Writes the phase on..off of one cam by the run replacement rule: the new phase never
// merges with a neighbour, and on = off deletes the phase at that place.
// Returns false (and writes nothing) when size, cam or a position is outside the tables.
bool SetPhase(CamData& d, int size, int cam, int on, int off);

}  // namespace cam
