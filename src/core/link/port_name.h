// Port names. The options file keeps a number for COMn ports (ComPort) and a path for the
// others (ComDevice); on Linux COMn is /dev/ttyS{n-1}.
#pragma once

#include "core/model/program.h"

#include <optional>
#include <string>
#include <string_view>

namespace cam {

// What the user reads: "COM1", or the path for a port that is not COMn. Status label,
// settings line and the "Errore su COM" title all show it.
std::string PortDisplayName(const Program& p);

// What the system opens: "COMn" on Windows, "/dev/ttyS{n-1}" elsewhere, or the path.
std::string PortSystemName(const Program& p);

// n for "COMn" (n from 1 to 256, "com4" as "COM4"), else nothing.
std::optional<long> ComNumber(std::string_view name);

// Takes a typed or listed port name: "COMn" (and, on Linux, "/dev/ttyS{n-1}") sets ComPort
// and clears ComDevice; any other name becomes ComDevice. Blanks around it are ignored; an
// empty name changes nothing and returns false.
bool SetPortName(Program& p, std::string_view name);

// A port for this run only (camdesk --port): the options file goes on keeping the stored one.
bool UsePortForThisRun(Program& p, std::string_view name);
// The port window closed: OK keeps the port in use in the options file; EXIT keeps it for
// this run only, the options file keeping what it held when the window opened (before).
void KeepPort(Program& p);
void KeepPortForThisRun(Program& p, const PortSettings& before);

}  // namespace cam
