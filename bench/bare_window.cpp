// The reference for camdesk's start-up: a bare Qt Widgets window of the main window's size,
// shown and saved as camdesk --screenshot saves its main window (the same PNG quality).
//   perf stat -r 10 -e task-clock build/bench/bare_window /tmp/bare.png
// against
//   perf stat -r 10 -e task-clock build/bin/camdesk --screenshot /tmp/s.png
// With --fonts the window draws a line in each font of the chart and its panel (the metric
// twins of Courier New and Arial, at the chart's pixel sizes and weights), which tells what
// the design's fonts alone add to a start.
#include "widgets/main/window_shots.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>

#include <cstring>

namespace {

class DesignFonts : public QWidget {
    void paintEvent(QPaintEvent*) override {
        struct Face {
            const char* family;
            int pixels;
            bool bold;
        };
        static const Face kFaces[] = {{"Liberation Mono", 12, true},  {"Liberation Mono", 11, true},
                                      {"Liberation Mono", 13, true},  {"Liberation Mono", 13, false},
                                      {"Liberation Sans", 11, false}, {"Liberation Sans", 11, true},
                                      {"Liberation Sans", 13, false}};
        QPainter g(this);
        int y = 20;
        for (const Face& f : kFaces) {
            QFont font(QString::fromLatin1(f.family));
            font.setPixelSize(f.pixels);
            font.setBold(f.bold);
            g.setFont(font);
            g.drawText(10, y += 20, QStringLiteral("SIZE 01  CAM 06  F001 0002 0017  REMARK 0123456789"));
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool fonts = argc > 2 && std::strcmp(argv[1], "--fonts") == 0;
    if (argc < 2 + int(fonts)) return 2;
    QMainWindow w;
    if (fonts)
        w.setCentralWidget(new DesignFonts);
    else
        w.setCentralWidget(new QLabel("bare"));
    w.resize(1024, 768);
    w.show();
    return w.grab().save(QString::fromLocal8Bit(argv[1 + int(fonts)]), "PNG", cam::kScreenshotQuality) ? 0 : 1;
}
