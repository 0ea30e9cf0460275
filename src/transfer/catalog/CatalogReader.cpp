#include "CatalogReader.h"

#include "Database.h"
#include "Money.h"
#include "MovieColumns.h"
#include "TitleOrder.h"

#include <vector>

namespace
{

constexpr std::size_t kBatchRows = 2000;

QString columnList()
{
    QStringList names;
    for (const MovieColumnInfo &column : kMovieColumns)
        names << QStringLiteral("[%1]").arg(QLatin1String(column.name));
    return names.join(QStringLiteral(", "));
}

QString moneyText(const QVariant &stored)
{
    if (stored.typeId() == QMetaType::LongLong) {
        const qint64 whole = stored.toLongLong();
        if (whole > Money::kMaxUnits / Money::kUnitsPerWhole ||
            whole < -Money::kMaxUnits / Money::kUnitsPerWhole)
            return QString::number(whole);
        return Money::formatPlain(whole * Money::kUnitsPerWhole);
    }
    return Money::formatPlain(Money::fromDouble(stored.toDouble()));
}

std::optional<QString> exported(const QVariant &stored, ColumnKind kind)
{
    if (stored.isNull())
        return std::nullopt;
    if (stored.typeId() == QMetaType::QString || kind == ColumnKind::Text)
        return stored.toString();
    if (kind == ColumnKind::Money)
        return moneyText(stored);
    if (stored.typeId() == QMetaType::Double)
        return QString::number(stored.toDouble(), 'g', QLocale::FloatingPointShortest);
    return QString::number(stored.toLongLong());
}

class CatalogReader : public MovieReader
{
  public:
    explicit CatalogReader(Database &db)
        : m_db(db),
          m_movie(db, QStringLiteral("SELECT %1 FROM [Movies] WHERE rowid = ?").arg(columnList()))
    {
        // Movies are read in title order, all over the file: a larger page cache than the
        // default 2 MB keeps each page read once.
        db.exec(QStringLiteral("PRAGMA cache_size = -65536"));
        std::vector<RecordsetRow> rows;
        Statement titles(db, QStringLiteral("SELECT rowid, [Title] FROM [Movies]"));
        while (titles.step())
            rows.push_back({titles.integer(0), titles.isNull(1) ? QString() : titles.text(1)});
        TitleOrder order;
        for (int i : order.sortedOrder(rows))
            m_rowIds.push_back(rows[std::size_t(i)].rowId);
    }

    ~CatalogReader() override { endBatch(); }

    std::optional<MovieRow> next() override
    {
        while (m_next < m_rowIds.size()) {
            if (m_next % kBatchRows == 0) {
                endBatch();
                m_db.exec(QStringLiteral("BEGIN"));
                m_inBatch = true;
            }
            m_movie.bind(1, m_rowIds[m_next++]);
            const bool found = m_movie.step();
            std::optional<MovieRow> movie;
            if (found)
                movie = current();
            m_movie.reset();
            if (movie)
                return movie;
        }
        endBatch();
        return std::nullopt;
    }

    qint64 bytesRead() const override { return qint64(m_next); }
    qint64 bytesTotal() const override { return qint64(m_rowIds.size()); }

  private:
    // Movies are read in batches, each in a read transaction of its own: one lock and one
    // look at the file for a batch instead of for each movie, and never so long a hold that
    // a write of the catalog program has to wait.
    void endBatch()
    {
        if (m_inBatch)
            m_db.tryExec(QStringLiteral("COMMIT"));
        m_inBatch = false;
    }

    MovieRow current() const
    {
        MovieRow movie;
        for (std::size_t i = 0; i < kMovieColumns.size(); ++i)
            movie.values[i] = exported(m_movie.value(int(i)), kMovieColumns[i].kind);
        movie.where = QStringLiteral("movie %1").arg(m_next);
        return movie;
    }

    Database &m_db;
    Statement m_movie;
    bool m_inBatch = false;
    std::vector<qint64> m_rowIds;
    std::size_t m_next = 0;
};

} // namespace

std::unique_ptr<MovieReader> OpenCatalogReader(Database &db)
{
    return std::make_unique<CatalogReader>(db);
}
