#pragma once

#include <QString>

// After a failed write, opens the catalog once more so that SQLite rolls back what the
// failed transaction left in its journal (a full disk can keep the rollback itself from
// finishing): when this returns the catalog file is as it was before the write. Failures
// are left for the next open to meet.
void SettleCatalog(const QString &catalogPath);
