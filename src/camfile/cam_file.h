// Cam files (*.Cam): the functions block, one size block per size, "END".
// Also the size block text shared with the device transfer.
#pragma once

#include "core/program.h"
#include "core/prompt.h"

#include <istream>
#include <ostream>
#include <string>

namespace cam {

// Which cam headers a size block carries. Files always take the File form (every
// non-blank remark wherever its cam has phases). Only the device transfer uses the
// Device form (remarks in size 1 only; an empty header for a cam without phases in size 1).
enum class SizeTextForm { File, Device };

// Fills p.SizeText with the lines of one cam of one size; the first empty element ends
// the list. Returns the number of phase lines.
int SizeToText(Program& p, int size, int cam, SizeTextForm form = SizeTextForm::File);

void WriteFunctions(const Program& p, std::ostream& out);
void WriteSize(Program& p, int size, std::ostream& out);

// Writes the whole file to path through a temporary file in the same folder that is
// renamed over the target, so a failed write never destroys the previous file.
// Returns "" on success, else the reason.
std::string WriteCamFile(Program& p, const std::string& path);
// Writes p.CamFile.
std::string WriteCamFile(Program& p);

// Reads one size block from in into the tables until the block ends; the line that
// ended it stays in p.LineBuf. Returns false when the block addresses a cam or a
// position outside the tables (the read must end there).
bool ReadSizeBlock(Program& p, int size, std::istream& in);

// Reads a whole cam file into the tables, with every check and message of the format;
// sets p.ReadError.
void ReadCamFile(Program& p, const std::string& path, Prompt& prompt);

}  // namespace cam
