// reelwarden-transfer: import, export and backup of the catalog (see --help).
#include "TransferCommands.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return RunTransfer(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
}
