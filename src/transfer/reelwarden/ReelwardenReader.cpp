#include "ReelwardenReader.h"

#include "CatalogReader.h"
#include "Database.h"
#include "StoreError.h"

#include <QFile>
#include <QFileInfo>

namespace
{

// The catalog's movies, the connection to it held as long as they are read.
class ReelwardenReader : public MovieReader
{
  public:
    explicit ReelwardenReader(std::unique_ptr<Database> db)
        : m_db(std::move(db)), m_movies(OpenCatalogReader(*m_db))
    {
    }

    std::optional<MovieRow> next() override
    {
        try {
            return m_movies->next();
        } catch (const StoreError &error) {
            throw TransferError{error.message()};
        }
    }
    qint64 bytesRead() const override { return m_movies->bytesRead(); }
    qint64 bytesTotal() const override { return m_movies->bytesTotal(); }

  private:
    std::unique_ptr<Database> m_db;
    std::unique_ptr<MovieReader> m_movies;
};

bool hasSqliteHeader(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArrayLiteral("SQLite format 3\0");
}

} // namespace

bool IsReelwardenCatalog(const QString &path)
{
    if (!hasSqliteHeader(path))
        return false;
    try {
        Database::open(path);
        return true;
    } catch (const StoreError &error) {
        return error.kind() == StoreError::Kind::Busy;
    }
}

std::unique_ptr<MovieReader> OpenReelwardenReader(const QString &path)
{
    try {
        return std::make_unique<ReelwardenReader>(Database::open(path));
    } catch (const StoreError &error) {
        throw TransferError{error.message()};
    }
}
