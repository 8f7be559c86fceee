// Writes the program's icon into an icon theme tree, one PNG per size:
//   harvane-icons OUTDIR  ->  OUTDIR/hicolor/48x48/apps/org.harvane.Harvane.png, ...

#include "app/WarningPicture.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: harvane-icons OUTDIR\n");
        return 2;
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString folder = QDir(QString::fromLocal8Bit(argv[1]))
                                   .filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
        if (!QDir().mkpath(folder) || !appIconPicture(size).save(QDir(folder).filePath(
                                          QStringLiteral("org.harvane.Harvane.png"))))
            return 1;
    }
    return 0;
}
