// The one text lookup: "language text k, else the built-in wording". Every window and
// command takes its words through Text(p, ...), so that a language script can change any
// of them and the program still speaks when the script lacks one.
//
// The numbered texts below 200 are the script's original numbering. camdesk's own
// messages (what it says beyond the original wording) have numbers of their own from 200;
// the shipped script "Z32px_ENG.SCR" carries them in English.
#pragma once

#include "core/model/program.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace cam {

struct BuiltInText {
    int number;           // line of the language script
    const char* wording;  // used when the script has no text there
};

// Language text t.number, else t.wording.
std::string Text(const Texts& p, BuiltInText t);

// pattern with "%1", "%2"... replaced by the arguments in order.
std::string Fill(std::string_view pattern, std::initializer_list<std::string> args);

// Every text with its number and built-in wording: the shipped script is checked against it.
// clang-format off
#define CAMDESK_TEXTS(X) \
    X(kFileNotFound, 1, "File not found") \
    X(kWrongFormat, 10, " - wrong file format") \
    X(kOpenFile, 11, "Open file") \
    X(kSaveMsgFileTitle, 12, "Save message file as") \
    X(kPhases, 17, "PHASES") \
    X(kPortWarning, 23, "Caution: do not select mouse port") \
    X(kRemarkTooLong, 30, "A remark holds at most 20 characters") \
    X(kProgrammerTitle, 33, "CAM PROGRAMMER ") \
    X(kPhaseShiftLimit, 34, "The phase shift must not exceed ") \
    X(kSelectPrinter, 42, "Select printer") \
    X(kOneCopyOnly, 55, "Only one copy of all pages can be printed") \
    X(kMsgFileFilter, 56, "Message file ") \
    X(kCam, 69, "CAM ") \
    X(kAllFilesFilter, 73, "All files ") \
    X(kSize, 74, "SIZE ") \
    X(kPrintMode, 75, "Print mode") \
    X(kPrintSizeNumber, 76, "STAMPA FORMATO N. ") \
    X(kPrintAllSizes, 77, "All sizes") \
    X(kPrintTitle, 78, "STAMPA") \
    X(kPrintChart, 79, "Chart") \
    X(kPrintListing, 80, "Listing") \
    X(kAdvanceKind, 84, "ADVANCE OF CAM") \
    X(kDelayKind, 89, "DELAY OF CAMS") \
    X(kRatioKind, 92, "RATIO OF CAMS") \
    X(kModifyMsg, 94, "&Modify") \
    X(kMessageNumber, 95, "MESSAGE  N.") \
    X(kReceivingMsgs, 98, "Receiving alarm messages") \
    X(kAlreadyRunning, 104, "The cam programmer interface is already running.") \
    X(kSendingMsgs, 114, "Sending alarm messages") \
    X(kFuncFrame, 139, "Functions enabled") \
    X(kFuncAdvances, 140, "Advances  N. ") \
    X(kFuncDelays, 141, "Delays 17-24") \
    X(kFuncRatio17, 142, "Ratio 17-32") \
    X(kFuncRatio25, 143, "Ratio 25-32") \
    X(kFuncConfiguration, 144, "Configuration") \
    X(kFuncOutSize, 145, "Output size ") \
    X(kFuncShift, 146, "Phase shift") \
    X(kFuncDirection, 147, "Rotation direction") \
    X(kFuncSpeedLimit, 148, "Speed limit") \
    X(kFuncEditedValue, 149, "ADVANCE OF CAM") \
    X(kRemarkCaption, 150, "Remark") \
    X(kCannotSave, 200, "The file could not be saved:") \
    X(kCannotSaveOptions, 201, "The options could not be saved:") \
    X(kEndRefused, 202, "The device did not acknowledge the end of the transmission: it has not taken the sizes.") \
    X(kWillNotReceiveAll, 203, "The device will not receive everything as it is:") \
    X(kSendAnyway, 204, "Send anyway?") \
    X(kDeviceSizes, 205, "The device holds %1 sizes and the data %2: sizes 1 to %3 are sent") \
    X(kDeviceEncoders, 206, "The data is for %1 encoder(s) and the device has %2: the functions block is sent in the device's form, without the settings of the other encoders, delays or ratio") \
    X(kPhasesCut, 207, "Cam %1: only the first 181 phases are sent in size%2") \
    X(kRemarkNotSent, 208, "Cam %1: no phase in size 1, its remark \"%2\" is not sent") \
    X(kAlwaysOn, 209, "Cam %1: always ON, sent without phases in size%2") \
    X(kDoesNotFit, 210, "%1 %2 does not fit its field: sent as %3") \
    X(kCorrected, 211, "Some received values were outside the ranges of the program and were corrected:") \
    X(kSizeOutside, 212, "Size %1 is outside the sizes of the device model: nothing was taken from the device") \
    X(kExchangeFault, 213, "The exchange with the device ended with a fault: %1") \
    X(kReadingStopped, 214, "%1 : READING STOPPED AT THIS LINE, %2 %3 IS OUTSIDE %4..%5") \
    X(kCannotRead, 215, "%1 : THE FILE CANNOT BE READ") \
    X(kAlreadyExists, 216, "%1 already exists. Do you want to replace it?") \
    X(kPortNoPermission, 217, "Permission denied: add your user to the dialout group (then log in again).") \
    X(kPortInUse, 218, "The port is in use by another program%1.") \
    X(kPortNotFound, 219, "There is no such port.") \
    X(kAdvancesSwitch, 220, "Advances switch") \
    X(kDelaysSwitch, 221, "Delays switch") \
    X(kRatioSwitch, 222, "Ratio switch") \
    X(kRatio17Switch, 223, "Ratio 17-32 switch") \
    X(kAdvanceCount, 224, "Number of advances") \
    X(kAdvanceOfCam, 225, "Advance of cam %1 (ms)") \
    X(kDelay17, 226, "Delay of cams 17-20 (ms)") \
    X(kDelay21, 227, "Delay of cams 21-24 (ms)") \
    X(kRatio, 228, "Ratio") \
    X(kOutSize, 229, "Output size") \
    X(kShift, 230, "Phase shift of encoder %1") \
    X(kDirection, 231, "Direction of encoder %1") \
    X(kSpeedLimit, 232, "Speed limit") \
    X(kBlockRefused, 250, "The device refused the block \"%1\" %2 times: the transfer was stopped.") \
    X(kRatio17NotInFile, 251, "A cam file has no place for the ratio of cams 17-32 (1/%1): it is not kept in the file.") \
    X(kSaveAnyway, 252, "Save anyway?") \
    X(kPortHolder, 253, " (process %1)") \
    X(kRatio17NotSent, 254, "The ratio of cams 17-32 (1/%1) is not sent: the device receives its switch without the value.") \
    X(kMsgsDamaged, 270, "Message(s) %1 arrived damaged and would be left empty. Take the received list anyway?") \
    X(kCannotPrint, 271, "The list could not be printed: %1") \
    X(kNoPrinter, 272, "no printer is available") \
    X(kCannotWritePdf, 273, "%1 cannot be written") \
    X(kMsgsLeftOut, 274, "%1 holds %2 message(s) beyond the %3 of the list: they are left out.") \
    X(kMsgsNotSent, 275, "%1 holds %2 message(s) beyond the %3 of the device: they are not sent.") \
    X(kOpenAnyway, 276, "Open anyway?") \
    X(kUpdateLineLost, 300, "The line to the device went away during the firmware update (%1). The device may hold an incomplete firmware: connect it again and repeat the update.") \
    X(kUpdateAnswer, 301, "The device answered %1 with %2 instead of ACK or NAK: the update was stopped. The device may hold an incomplete firmware: repeat the update.") \
    X(kUpdateRefused, 302, "The device refused %1 %2 time(s): the update was stopped. The device may hold an incomplete firmware: repeat the update.") \
    X(kHexByteCount, 303, "LINE %1: THE BYTE COUNT SAYS %2 DATA BYTES, THE RECORD HOLDS %3") \
    X(kHexRecordType, 304, "LINE %1: RECORD TYPE %2 IS NONE OF 00 TO 05") \
    X(kHexAfterEnd, 305, "LINE %1: A RECORD AFTER THE END RECORD") \
    X(kHexNoEnd, 306, "THE FILE ENDS AT LINE %1 WITHOUT ITS END RECORD: IT IS INCOMPLETE") \
    X(kPrinterNotStarted, 330, "The printout could not be started on %1.") \
    X(kNoPrinterName, 331, "(no printer)") \
    X(kPrintToFile, 332, "File %1") \
    X(kNoFonts, 333, "No font is installed: the printout would carry no text.") \
    X(kDiffValue, 360, "%1: %2 in %3, %4 in %5") \
    X(kDiffPhaseOnlyIn, 361, "size %1, cam %2: phase %3-%4 only in %5") \
    X(kDiffPhaseChanged, 362, "size %1, cam %2: phase %3-%4 in %5, %6-%7 in %8") \
    X(kDiffNone, 363, "none") \
    X(kDiffOn, 364, "ON") \
    X(kDiffOff, 365, "OFF") \
    X(kDiffCams, 366, "Number of cams") \
    X(kDiffSizes, 367, "Number of sizes") \
    X(kDiffEncoders, 368, "Number of encoders") \
    X(kDiffRemark, 369, "Remark of cam %1") \
    X(kCompareTitle, 370, "Compare") \
    X(kCompareNames, 371, "A: %1     B: %2") \
    X(kCompareSame, 372, "No differences: A and B hold the same program.") \
    X(kCompareCount, 373, "%1 difference(s). Click one to show its size and cam on the chart.") \
    X(kCompareDevice, 374, "the device on %1") \
    X(kCompareUntitled, 375, "the chart (no file)") \
    X(kCompareCannotHold, 376, "Left out of the comparison, since the device cannot hold it:") \
    X(kCompareFileTitle, 378, "Compare with file") \
    X(kCsvFilter, 379, "CSV table ") \
    X(kCsvExportTitle, 380, "Export CSV") \
    X(kCsvImportTitle, 381, "Import CSV") \
    X(kCsvRefused, 382, "Nothing was imported from %1: %2 row(s) refused.") \
    X(kCsvLine, 383, "line %1: %2") \
    X(kCsvNotes, 384, "Imported from %1, with these notes:") \
    X(kCsvMore, 385, "... and %1 more") \
    X(kCsvNoHeader, 386, "the first row must name the columns size, cam, remark, on and off") \
    X(kCsvUnclosedQuote, 387, "a quoted field is not closed") \
    X(kCsvBadValue, 388, "%1 cannot be \"%2\" (it takes %3)") \
    X(kCsvOnOffPair, 389, "on and off must both be given, or both be left empty") \
    X(kCsvRemarkChars, 390, "the remark holds a character that a cam file cannot hold") \
    X(kCsvRemarkDiffers, 391, "the remark differs from the remark of the same cam on line %1") \
    X(kCsvUnknownSetting, 392, "there is no setting \"%1\"") \
    X(kCsvTwice, 393, "the setting is given twice (line %1)") \
    X(kCsvNoPlace, 394, "a cam file keeps this setting only with %1") \
    X(kCsvEqualOnOff, 395, "on and off are equal: as in typed entry, this removes the phase there") \
    X(kCsvCutBack, 396, "size %1, cam %2: phase %3-%4 touches or overlaps a phase of another row and was cut back, as in typed entry") \
    X(kCsvImported, 397, "%1 phase(s) imported from %2.") \
    X(kCompareClose, 398, "&Close") \
    X(kCompareEmpty, 399, "an empty program") \
    X(kHistPhase, 400, "phase %1-%2 of cam %3, size %4") \
    X(kHistPhaseRemoved, 401, "phase at %1 removed from cam %2, size %3") \
    X(kHistUndo, 402, "undo on cam %1, size %2") \
    X(kHistCopySize, 403, "copy size %1 to size %2") \
    X(kHistEraseSize, 404, "erase size %1") \
    X(kHistCopyCam, 405, "copy cam %1 to cam %2, size %3") \
    X(kHistShiftCam, 406, "shift cam %1 by %2") \
    X(kHistEraseCam, 407, "erase cam %1, size %2") \
    X(kHistRemark, 408, "remark of cam %1") \
    X(kHistFunctions, 409, "functions block") \
    X(kHistReception, 410, "reception from the device") \
    X(kHistFileOpened, 411, "file opened") \
    X(kHistNewFile, 412, "new file") \
    X(kHistStarted, 413, "program started") \
    X(kHistBackTo, 414, "back to: %1") \
    X(kHistoryItem, 415, "&History") \
    X(kHistoryTitle, 416, "History of changes") \
    X(kHistoryRestore, 417, "&Restore") \
    X(kHistoryClose, 418, "&Close") \
    X(kHistoryHint, 419, "Pick an entry to see its state on the chart; Restore makes it the present state.") \
    X(kSnapItem, 420, "Drag &Snap...") \
    X(kSnapPrompt, 421, "Positions a drag snaps to while Shift is held (1-128):") \
    X(kSnapTitle, 422, "Drag snap") \
    X(kDragTip, 423, "ON %1  OFF %2") \
    X(kLineWentAway, 440, "The line to the device went away: %1") \
    X(kNoDeviceAnswered, 450, "No device answered.") \
    X(kReceptionIncomplete, 451, "The reception did not end: nothing was taken from the device.") \
    X(kHistImported, 452, "imported from %1") \
    X(kHistoryReach, 453, "Reaches back to entry %1: %2 entries, %3 of %4 MB.") \
    X(kPrintingPage, 454, "Printing page %1 of %2...") \
    X(kPrintCancelled, 455, "The printout was cancelled at page %1 of %2.")
// clang-format on

namespace txt {

#define CAMDESK_TEXT(name, number, wording) inline constexpr BuiltInText name{number, wording};
CAMDESK_TEXTS(CAMDESK_TEXT)
#undef CAMDESK_TEXT

#define CAMDESK_TEXT(name, number, wording) name,
inline constexpr BuiltInText kAll[] = {CAMDESK_TEXTS(CAMDESK_TEXT)};
#undef CAMDESK_TEXT

}  // namespace txt

}  // namespace cam
