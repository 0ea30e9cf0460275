#include "CatalogSettle.h"

#include "Database.h"
#include "StoreError.h"

void SettleCatalog(const QString &catalogPath)
{
    try {
        std::unique_ptr<Database> db = Database::open(catalogPath); // reads: rolls a journal back
        db->exec(QStringLiteral("SELECT count(*) FROM [Movies]"));
    } catch (const StoreError &) {
        // the catalog cannot be opened now; its next open rolls the journal back
    }
}
