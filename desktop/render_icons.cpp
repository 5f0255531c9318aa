// Writes the program's icon, as the window and the tray draw it, as PNG files for the
// desktop's icon theme: <directory>/<size>/org.devical.Devical.png for each size given.
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "ui/common/icons.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_icons directory size...\n");
        return 2;
    }
    const QIcon icon = devical::ui::ProgramIcon();
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString directory = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/') + QString::number(size);
        QImage image = icon.pixmap(QSize(size, size)).toImage();
        image.setDevicePixelRatio(1);
        if (image.size() != QSize(size, size) || !QDir().mkpath(directory) ||
            !image.save(directory + QStringLiteral("/org.devical.Devical.png"))) {
            std::fprintf(stderr, "render_icons: cannot write the %d pixel icon\n", size);
            return 1;
        }
    }
    return 0;
}
