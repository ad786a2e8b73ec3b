// Renders an SVG picture to a square PNG of the given size (the icon sizes of the desktop).
// usage: svg_to_png IN.svg SIZE OUT.png
#include "qt/command_line.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    cam::EnsureRuntimeDir();
    QGuiApplication app(argc, argv);
    const int size = argc == 4 ? std::atoi(argv[2]) : 0;
    if (size < 1 || size > 1024) {
        std::fprintf(stderr, "usage: svg_to_png IN.svg SIZE OUT.png\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "svg_to_png: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter g(&image);
    svg.render(&g);
    g.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "svg_to_png: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
