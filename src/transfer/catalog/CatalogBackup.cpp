#include "CatalogBackup.h"

#include "CatalogCopy.h"
#include "Database.h"
#include "ForeignFile.h"
#include "MovieRow.h"
#include "OutputTarget.h"

#include <QFile>

namespace
{

[[noreturn]] void refuse(const QString &message)
{
    throw TransferError{message};
}

void writeCopy(Database &catalog, const QString &path)
{
    const std::optional<CopyFailure> failure = CopyCatalog(catalog, path);
    if (failure && failure->busy)
        refuse(QStringLiteral("The catalog is in use by another program. Try again in a moment."));
    if (failure)
        refuse(QStringLiteral("The backup cannot be written: %1.").arg(failure->reason));
}

} // namespace

void BackupCatalog(const QString &catalogPath, const QString &target, bool replace)
{
    OutputTarget output(target, replace, catalogPath, "backup");
    std::unique_ptr<Database> catalog = Database::open(catalogPath);
    writeCopy(*catalog, output.stagingPath());
    // The copy may be read by whoever may read the catalog.
    QFile::setPermissions(output.stagingPath(),
                          QFile::permissions(catalogPath) | QFile::ReadOwner | QFile::WriteOwner);
    output.commit();
}
