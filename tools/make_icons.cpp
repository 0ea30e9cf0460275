// Writes the program icon's files for installation into FOLDER: reelwarden-SIZE.png for each
// SIZE given, and reelwarden.svg, all drawn from the shapes the program draws its icon with.
#include "Pictures.h"

#include <QDir>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icons FOLDER SIZE...\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "make_icons: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path = folder.filePath(QStringLiteral("reelwarden-%1.png").arg(size));
        if (size <= 0 || !ProgramIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    QSaveFile svg(folder.filePath(QStringLiteral("reelwarden.svg")));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(ProgramIconSvg().toUtf8()) < 0 || !svg.commit()) {
        std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    return 0;
}
