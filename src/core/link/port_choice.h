// Form model of the port window (SelPort): the port list, the four speeds and the settings
// line. The window renders it; the choice goes straight into the program's ComPort,
// ComDevice and ComSpeed, as in the window.
#pragma once

#include "core/model/program.h"

#include <string>
#include <string_view>
#include <vector>

namespace cam {

// One port the system knows. name is what SetPortName takes: "COM7" or "/dev/ttyUSB0".
struct PortEntry {
    std::string caption;
    std::string name;
};

// A port of the system's list: "USB Serial Port (COM7)" on Windows; on Linux
// "ttyUSB0 FT232R USB UART (/dev/ttyUSB0)", and "ttyS0 (COM1)" for the ports that stand for COMn.
PortEntry MakePortEntry(std::string_view portName, std::string_view description, std::string_view location);

class PortChoice {
public:
    static constexpr const char* kSpeeds[] = {"2400", "9600", "19200", "38400"};

    // Selects the entry of the stored port and the entry of the stored speed.
    PortChoice(Program& p, std::vector<PortEntry> ports);

    const std::vector<PortEntry>& ports() const { return ports_; }
    int portIndex() const { return portIndex_; }    // -1: none of the list
    int speedIndex() const { return speedIndex_; }  // -1: the stored speed is not offered

    void selectPort(int index);
    void selectSpeed(int index);
    // A port typed by the user (a path, COMn, tcp://HOST:PORT or rfc2217://HOST:PORT); a
    // caption of the list selects its entry.
    void typePort(std::string_view text);
    // False for a raw TCP port: its serial server keeps its own line settings.
    bool speedApplies() const;

    // "Current Settings: COM:1, 9600baud, NO parity, 8 bits, 1stop"; a path in place of
    // "COM:" and the number for ports that are not COMn.
    std::string settingsLine() const;

private:
    int findPort() const;

    Program& p_;
    std::vector<PortEntry> ports_;
    int portIndex_ = -1;
    int speedIndex_ = -1;
};

}  // namespace cam
