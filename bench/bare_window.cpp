// The reference for camdesk's start-up: a bare Qt Widgets window of the main window's size,
// shown and saved as camdesk --screenshot saves its main window (the same PNG quality).
//   perf stat -r 10 -e task-clock build/bench/bare_window /tmp/bare.png
// against
//   perf stat -r 10 -e task-clock build/bin/camdesk --screenshot /tmp/s.png
#include "widgets/main/window_shots.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    QMainWindow w;
    w.setCentralWidget(new QLabel("bare"));
    w.resize(1024, 768);
    w.show();
    return w.grab().save(QString::fromLocal8Bit(argv[1]), "PNG", cam::kScreenshotQuality) ? 0 : 1;
}
