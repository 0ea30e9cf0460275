#pragma once

#include <QString>

// Writes a consistent copy of the catalog at `catalogPath` to `target` with SQLite's online
// backup, also while the catalog program has the catalog open (it waits for a write of that
// program to end, as the program's own writes wait). The copy is made under a temporary name
// beside `target` and put in place when complete; an existing `target` is replaced only when
// `replace`, and never is the catalog itself. Throws StoreError for a catalog that cannot be
// opened, TransferError for anything else; then `target` is as it was.
void BackupCatalog(const QString &catalogPath, const QString &target, bool replace);
