#include "app/device_commands.h"

#include "app/main_window.h"
#include "core/programmer_form.h"
#include "link/port_window.h"
#include "link/qt_link_runner.h"
#include "link/qt_serial_port.h"
#include "link/transfer_window.h"
#include "qt/cp1252.h"

namespace cam {

void ConnectDevice(MainWindow& window, Program& p, Prompt& prompt, QtSerialPort& port) {
    window.identifyDevice = [&] { return IdentifyDeviceModal(p, port, prompt, &window); };
    window.portStatus = [&] { return PortStatusText(p, port.isOpen()); };
    window.setCommand("setcom", [&] { ShowPortWindow(p, prompt, &window); });
    window.setCommand("Tr_Siz",
                      [&] { RunSizeTransmit(p, port, prompt, &window, window.settings().commandLine.trace); });
    window.setCommand("Rc_Siz", [&] {
        if (RunSizeReceive(p, port, prompt, &window, ToCp1252(window.windowTitle()))) window.TablesReplaced();
    });
}

}  // namespace cam
