// Start-up settings for a main window that talks to camsim: no instance lock, no options
// file written on shut-down, the working folder in a test's own folder, the device on `port`.
#pragma once

#include "widgets/main/main_window.h"

#include <QCoreApplication>
#include <QString>

#include <string>

namespace camtest {

inline cam::StartupSettings MainWindowSettings(const QString& docs, const std::string& port) {
    cam::StartupSettings s;
    s.exeDir = QCoreApplication::applicationDirPath().toStdString();
    s.documentsDir = docs.toStdString();
    s.homeDir = docs.toStdString();
    s.singleInstance = false;
    s.writeOptions = false;
    s.commandLine.port = port;
    return s;
}

}  // namespace camtest
