// "Compare with Device" as camdesk runs it: the main window with its device commands, the
// reception behind the transfer window on a worker thread, camsim on a real pseudo-terminal,
// and the compare window naming what was changed on the device. The tables never change.
#include "core/model/file_io.h"
#include "widgets/main/device_commands.h"
#include "widgets/main/main_window.h"
#include "core/camfile/cam_file.h"
#include "widgets/compare/compare_window.h"
#include "core/model/scripted_prompt.h"
#include "widgets/editor/chart_widget.h"
#include "qt/qt_line_port.h"
#include "widgets/link/transfer_window.h"
#include "main_window_settings.h"
#include "sim_process.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <sstream>

namespace cam {
namespace {

const std::string kFile = std::string(E2E_DATA_DIR) + "/one_encoder.Cam";


struct CompareWithDeviceOverPty : ::testing::Test {
    QTemporaryDir docs;
    QtLinePort port;
    ScriptedPrompt prompt;
    Program p;

    // The device is given the file with one phase changed, as another file sent to it would.
    void SendChangedFile(const std::string& portName) {
        Program other;
        other.ComDevice = portName;
        other.WorkDir = docs.path().toStdString();
        ResizeTables(other);
        ScriptedPrompt yes(true);
        ASSERT_EQ(ReadCamFile(other, kFile, yes), CamFileRead::Complete);
        SetPhase(other, 1, 0, 0, 120);
        ASSERT_TRUE(RunSizeTransmit(other, port, yes, nullptr));
    }

    StartupSettings Settings(const std::string& portName) {
        StartupSettings s = camtest::MainWindowSettings(docs.path(), portName);
        s.askDevice = false;
        s.commandLine.file = kFile;
        return s;
    }
};

TEST_F(CompareWithDeviceOverPty, TheMenuItemNamesThePhaseChangedOnTheDevice) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    ASSERT_FALSE(sim.port().empty());
    SendChangedFile(sim.port());
    MainWindow window(p, prompt, Settings(sim.port()));
    ConnectDevice(window, p, prompt, port);
    ASSERT_TRUE(window.RunStartup());
    const std::string before = CamFileText(p);
    ASSERT_EQ(before, ReadFileBytes(kFile, 1 << 30).bytes);

    // The transfer window comes first; the compare window once the reception is done.
    QStringList listed;
    QString shownSize, shownCam;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != "Compare") return;
        poll.stop();
        auto* list = modal->findChild<QListWidget*>("LstDiff");
        for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
        list->setCurrentRow(0);
        shownSize = window.chart()->sizeCaption();
        shownCam = window.chart()->camCaption();
        modal->findChild<QPushButton*>("CmdClose")->click();
    });
    poll.start(20);
    window.action("Co_CmpDev")->trigger();
    EXPECT_EQ(listed, QStringList{"size 1, cam 1: phase 0000-0100 in A, 0000-0120 in B"});
    EXPECT_EQ(shownSize, "SIZE 01");
    EXPECT_EQ(shownCam, "CAM 01");
    EXPECT_TRUE(prompt.messages().empty()) << prompt.messages().front();
    EXPECT_EQ(CamFileText(p), before);
    EXPECT_TRUE(window.document().FileSaved());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(CompareWithDeviceOverPty, AReceptionThatEndsEarlyComparesNothing) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0", "--fault", "bad-checksum:3"});
    ASSERT_FALSE(sim.port().empty());
    p.ComDevice = sim.port();
    p.WorkDir = docs.path().toStdString();
    p.TmpFile = p.WorkDir + "/_._";
    ResizeTables(p);
    SetPhase(p, 1, 0, 100, 200);
    const std::string before = CamFileText(p);
    EXPECT_FALSE(CompareTablesWithDevice(p, port, prompt, nullptr));
    EXPECT_EQ(prompt.messages(),
              (std::vector<std::string>{"TIMEOUT SERIAL PORT ", "The reception did not end: nothing was taken from the device."}));
    EXPECT_EQ(CamFileText(p), before);
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace cam
