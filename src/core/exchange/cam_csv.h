// A whole program as one CSV table, for spreadsheets and scripts (UTF-8, RFC 4180), every
// record with the same seven fields:
//
//   size,cam,remark,on,off,setting,value   the header row; columns are found by these names
//   1,1,MAIN KNIFE,100,300,,               one row per phase of every size, in chart order
//   1,10,SPARE,,,,                         the remark of a cam without any phase
//   ,,,,,cams,32                           then the functions block: one row for each value
//                                          a cam file keeps, in its order
//
// A remark that a spreadsheet would take for a formula (it starts with = + - @, a tab or a
// CR, after any apostrophes) is written with an apostrophe before it, which the import
// takes off again. The import also takes the tables of earlier versions, where the functions
// block followed an empty row as "setting,value" rows of two fields. It builds the program
// through SetPhase, the rule of typed entry, row after row.
#pragma once

#include "core/model/program.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cam {

std::string CamCsvText(const CamData& p);

// A remark as the table holds it, and back.
std::string RemarkForSheet(const std::string& remark);
std::string RemarkFromSheet(const std::string& field);

// The largest table taken: every phase of the largest model on a row of its own, with room
// for columns of other programs beside them.
inline constexpr std::uintmax_t kMaxCsvBytes = 256 * 1024 * 1024;

struct CsvImport {
    std::vector<std::string> refusals;  // "line 7: ..." for each refused row (the first thousand)
    std::vector<std::string> notes;     // rows taken, but changed by the phase rule (the first thousand)
    std::size_t unlistedRefusals = 0;   // refused rows beyond those listed
    std::size_t unlistedNotes = 0;
    int phases = 0;  // the phases of the program built
    bool ok() const { return refusals.empty(); }
};

struct ModelCounts {
    int cams = 32;
    int sizes = 7;
};

// Replaces the model, functions block, remarks and phases of p with those of the table when
// no row is refused; otherwise p stays as it was. The table is never held as records: a
// large one costs little more than its text. model: the counts to use instead of the
// table's "cams" and "sizes" settings (which default to 32 and 7). The texts of p word the
// messages.
CsvImport ImportCamCsv(Program& p, std::string_view csv, const std::optional<ModelCounts>& model = std::nullopt);

// The names of the settings rows, shared by the export and the import.
namespace csvname {
inline constexpr const char* kCams = "cams";
inline constexpr const char* kSizes = "sizes";
inline constexpr const char* kEncoders = "encoders";
inline constexpr const char* kAdvances = "advances";
inline constexpr const char* kAdvanceCam = "advance cam ";  // followed by the cam number
inline constexpr const char* kGroupAdvance[4] = {"advance cams 17-20", "advance cams 21-24", "advance cams 25-28",
                                                 "advance cams 29-32"};
inline constexpr const char* kShift[3] = {"shift encoder 1", "shift encoder 2", "shift encoder 3"};
inline constexpr const char* kDirection[3] = {"direction encoder 1", "direction encoder 2", "direction encoder 3"};
inline constexpr const char* kDelays = "delays";
inline constexpr const char* kDelay17 = "delay cams 17-20";
inline constexpr const char* kDelay21 = "delay cams 21-24";
inline constexpr const char* kRatio = "ratio";
inline constexpr const char* kRatio25 = "ratio cams 25-32";
inline constexpr const char* kOutSize = "output size";
inline constexpr const char* kSpeedLimit = "speed limit";
}  // namespace csvname

}  // namespace cam
