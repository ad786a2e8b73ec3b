#include "widgets/main/device_commands.h"

#include "widgets/main/main_window.h"
#include "widgets/compare/compare_window.h"
#include "core/model/programmer_form.h"
#include "core/model/texts.h"
#include "widgets/firmware/flash_window.h"
#include "widgets/link/message_transfer_window.h"
#include "widgets/link/port_window.h"
#include "widgets/link/qt_link_runner.h"
#include "qt/qt_line_port.h"
#include "widgets/link/transfer_window.h"
#include "widgets/messages/message_window.h"
#include "qt/cp1252.h"

namespace cam {

void ConnectDevice(MainWindow& window, Program& p, Prompt& prompt, QtLinePort& port) {
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
