// Cam files (*.Cam): the functions block, one size block per size, "END".
// Also the size block text shared with the device transfer.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/model/result.h"
#include "core/model/text_lines.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace cam {

// Which cam headers a size block carries. Files always take the File form (every
// non-blank remark wherever its cam has phases). Only the device transfer uses the
// Device form (remarks in size 1 only; an empty header for a cam without phases in size 1).
//
// The File form also keeps what the device form cannot carry: a cam ON over the whole
// revolution is the phase line " 0000 1024", and the remark of a cam without any phase
// in any size gets a header line of its own in size 1. The device accepts at most 181
// phases of one cam; the Device form callers cut there, files keep every phase.
enum class SizeTextForm { File, Device };

// The most phase lines the device takes for one cam of one size.
constexpr int kDevicePhaseLimit = 181;

// Fills p.SizeText with the lines of one cam of one size; the first empty element ends
// the list. Returns the number of phase lines. A size or cam outside the tables gives
// no lines.
int SizeToText(Program& p, int size, int cam, SizeTextForm form = SizeTextForm::File);

void WriteFunctions(const CamData& p, std::ostream& out);
void WriteSize(Program& p, int size, std::ostream& out);
// The same lines appended to out.
void AppendSize(const CamData& p, int size, std::string& out);

// The whole file as bytes (functions block, every size, "END").
std::string CamFileText(const CamData& p);

// Writes the whole file to path through a temporary file in the same folder that is
// renamed over the target, so a failed write never destroys the previous file.
Result WriteCamFile(const CamData& p, const std::string& path);
// Writes p.CamFile.
Result WriteCamFile(Program& p);

// Reads one size block from in into the tables until the block ends; the line that
// ended it stays in p.LineBuf. Returns false when the block addresses a size, cam or
// position outside the tables: the read must end there, and *stop (when given) gets
// the message that names the line and what was outside.
bool ReadSizeBlock(Program& p, int size, LineSource& in, std::string* stop = nullptr);

// How the reading of a cam file ended.
enum class CamFileRead {
    NoFile,        // the path names no file: nothing changed
    Complete,      // read to its "END" or its end
    StoppedEarly,  // ended at a line outside the tables (shown); the rest of the file was not read
    Failed,        // refused or malformed (shown); p.ReadError is set
};

// The largest cam file taken: the largest model with every phase a cam can have is about
// 12 MB.
inline constexpr std::uintmax_t kMaxCamFileBytes = 32 * 1024 * 1024;

// Reads a whole cam file into the tables, with every check and message of the format;
// sets p.ReadError. A path that names nothing changes nothing; one that cannot be read (a
// folder, a FIFO, a loop of links, a file larger than kMaxCamFileBytes) is told with its reason.
CamFileRead ReadCamFile(Program& p, const std::string& path, Prompt& prompt);
// The same from the file's bytes in memory.
CamFileRead ReadCamFileText(Program& p, std::string_view bytes, Prompt& prompt);
// The same from lines being read (the file's first line next); name is the file's path, which
// a message about an empty line names.
CamFileRead ReadCamLines(Program& p, LineSource& in, Prompt& prompt, const std::string& name = "");

// The cam and size counts of a header line ("FUNZIONI  32 - 7 "): the values of the
// first 4 and the last 3 of its last 8 characters. nullopt for a line of 8 characters
// or fewer, which carries no counts.
struct FileCounts {
    long cams;
    long sizes;
};
std::optional<FileCounts> HeaderCounts(std::string_view headerLine);

// The model the header of the cam file at path names: its cam and size counts when a
// programmer can have them (16 or 32 cams, 1..60 sizes). nullopt when the file cannot be
// read, has no "FUNZIONI" header or names other counts.
std::optional<ProgrammerModel> HeaderModel(const std::string& path);

}  // namespace cam
