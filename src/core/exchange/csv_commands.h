// File > Export CSV... and File > Import CSV...: the tables as a CSV table and back, through
// the prompt's file dialogs and messages.
#pragma once

#include "core/camfile/file_commands.h"
#include "core/model/program.h"
#include "core/model/prompt.h"

#include <string>

namespace cam {

// Asks for a file name (".csv" added to a name without one) and writes the tables there.
// True when the file was written; a failure is shown.
bool ExportCsv(const Program& p, Prompt& prompt);

// After ConfirmDiscard, asks for a CSV table and replaces the tables with its program when no
// row is refused; otherwise every refused row is shown and the tables stay as they were. The
// imported program is unsaved and in no cam file (a Save asks for a name); rows that the phase
// rule changed are shown as notes.
FileOutcome ImportCsv(Program& p, CamDocument& doc, Prompt& prompt, const std::string& windowTitle);

// The lines of a message about rows: the first ones, then "... and N more".
std::string RowLines(const Program& p, const std::vector<std::string>& lines, std::size_t unlisted = 0);

}  // namespace cam
