#pragma once

#include <QStringList>

// Exit codes of reelwarden-transfer.
enum TransferExit : int {
    kDone = 0,
    kRefused = 1, // nothing was written
    kWrongUsage = 2,
};

// Runs reelwarden-transfer with its arguments (the program's name first), the catalog and the
// Access reader beside the program at `programFolder` unless --catalog names another catalog.
// The summary goes to standard output, errors in plain words to standard error.
int RunTransfer(const QStringList &arguments, const QString &programFolder);
