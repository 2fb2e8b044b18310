// SPDX-License-Identifier: GPL-3.0-or-later
// zadw-render-icon: turns the program's SVG icon into the PNG sizes the desktop's icon theme
// wants, at build time, so the PNGs never drift from the SVG.
// usage: zadw-render-icon IN.svg SIZE OUT.png

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    // No display during a build.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    bool sizeOk = false;
    const int size = args.size() == 4 ? args[2].toInt(&sizeOk) : 0;
    if (!sizeOk || size < 1 || size > 1024) {
        std::fprintf(stderr, "usage: zadw-render-icon IN.svg SIZE OUT.png\n");
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "zadw-render-icon: %s: not a readable SVG\n", qPrintable(args[1]));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(args[3], "PNG")) {
        std::fprintf(stderr, "zadw-render-icon: %s: cannot write\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
