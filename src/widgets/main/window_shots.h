// The windows that camdesk --screenshot --window NAME renders without a display, by name.
// Each subsystem adds its window to the table in window_shots.cpp.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/model/startup.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cam {

class MainWindow;

struct WindowShot {
    const char* name;  // as given to --window
    // The file of the command line is a cam file, opened by the start-up as usual; otherwise it
    // is the window's own file (a message or firmware file) and the start-up opens none.
    bool camFile;
    // The window over the started main window, its activation done, ready to be grabbed.
    std::function<std::unique_ptr<QWidget>(MainWindow& main, Program& p, Prompt& prompt, const CommandLine& cl)> make;
};

// The windows that can be rendered; "" names none.
const std::vector<WindowShot>& WindowShots();
const WindowShot* FindWindowShot(const std::string& name);

// Shows w for a screenshot, its size limits settled first.
void ShowForShot(QWidget& w);
// Renders w to a PNG of its own size. False with *error when it cannot be written.
bool SaveWindowShot(QWidget& w, const QString& path, std::string* error);
// A picture as a PNG file; false with the reason in error when it cannot be written.
bool SavePng(const QPixmap& shot, const QString& path, std::string* error);
inline constexpr int kScreenshotQuality = 80;

}  // namespace cam
