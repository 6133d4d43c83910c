// Renders an SVG icon to a square PNG: iconrender ICON.svg SIZE OUT.png
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool sizeRead = false;
    const int size = arguments.size() == 4 ? arguments.at(2).toInt(&sizeRead) : 0;
    if (!sizeRead || size <= 0) {
        std::fprintf(stderr, "usage: iconrender ICON.svg SIZE OUT.png\n");
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: not a readable SVG image\n", qPrintable(arguments.at(1)));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    const QString out = arguments.at(3);
    QDir().mkpath(QFileInfo(out).absolutePath());
    if (!image.save(out, "PNG")) {
        std::fprintf(stderr, "%s: cannot be written\n", qPrintable(out));
        return 1;
    }
    return 0;
}
