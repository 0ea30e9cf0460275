// reelwarden-bench-catalog PATH COUNT: writes the benchmarks' generated catalog of COUNT movies
// to PATH (which must not exist), for scripts that time the programs on it.
#include "CatalogGenerator.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <exception>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const int count = args.size() == 3 ? args[2].toInt(&ok) : 0;
    if (!ok || count < 0) {
        std::fprintf(stderr, "usage: reelwarden-bench-catalog PATH COUNT\n");
        return 2;
    }
    try {
        CatalogGenerator::write(args[1], count);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "reelwarden-bench-catalog: %s\n", error.what());
        return 1;
    }
    return 0;
}
