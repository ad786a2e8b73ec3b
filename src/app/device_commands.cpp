#include "app/device_commands.h"

#include "app/main_window.h"
#include "compare/compare_window.h"
#include "core/programmer_form.h"
#include "core/texts.h"
#include "firmware/flash_window.h"
#include "link/message_transfer_window.h"
#include "link/port_window.h"
#include "link/qt_link_runner.h"
#include "link/qt_serial_port.h"
#include "link/transfer_window.h"
#include "messages/message_window.h"
#include "qt/cp1252.h"

namespace cam {

void ConnectDevice(MainWindow& window, Program& p, Prompt& prompt, QtSerialPort& port) {
    window.identifyDevice = [&] { return IdentifyDeviceModal(p, port, prompt, &window); };
    window.portStatus = [&] { return PortStatusText(p, port.isOpen()); };
    window.setCommand("setcom", [&] { ShowPortWindow(p, prompt, &window); });
    window.setCommand("Tr_Siz",
                      [&] { RunSizeTransmit(p, port, prompt, &window, window.settings().commandLine.trace); });
    window.setCommand("Rc_Siz", [&] {
        window.ReceiveSizes([&](std::optional<int> cams) { return ReceiveProgramModal(p, port, prompt, &window, cams); });
    });
    window.setCommand("Co_CmpDev", [&] {
        if (const auto comparison = CompareTablesWithDevice(p, port, prompt, &window))
            window.ShowComparison(*comparison);
        window.Activate();
    });
    window.setCommand("Upd_Flash", [&] { RunFlashUpdate(p, port, prompt, &window); });
    window.setCommand("Al_Msg", [&] {
        ShowMessageWindow(p, prompt, port, &window);
        window.Activate();
    });
    window.setCommand("Msg_Trans", [&] { RunMsgFileTransmit(p, port, prompt, &window); });
    window.setCommand("Msg_Rec", [&] {
        // The received list is shown in the message window; a failed reception changed nothing.
        if (RunMsgReceive(p, port, prompt, &window)) ShowMessageWindow(p, prompt, port, &window);
        window.Activate();  // the title counts the device's messages
    });
}

}  // namespace cam
