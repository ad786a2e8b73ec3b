#include "app/device_commands.h"

#include "app/main_window.h"
#include "core/programmer_form.h"
#include "link/port_window.h"
#include "link/qt_link_runner.h"
#include "link/qt_serial_port.h"
#include "link/transfer_window.h"
#include "printing/print_window.h"
#include "qt/cp1252.h"
#include "tools/size_show_window.h"

#include <memory>

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

    // Printing: the printer chosen stays for the run, shared by the dialog and Select Printer.
    auto printer = std::make_shared<SharedPrinter>();
    window.setCommand("Pr_size", [&, printer] { ShowPrintWindow(p, prompt, printer->get(), &window); });
    window.setCommand("f_SelPr", [&, printer] { ChoosePrinter(p, prompt, printer->get(), &window); });
    // Size show: it may choose another size and cam; the chart shows them on return.
    window.setCommand("O_Rot", [&] {
        const int cam = p.CurCam;
        ShowSizeShowWindow(p, &window);
        if (p.CurCam != cam) window.editor().LeaveEditMode();
        window.Activate();
    });
}

}  // namespace cam
