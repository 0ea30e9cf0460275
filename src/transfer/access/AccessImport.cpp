#include "AccessImport.h"

#include "AccessFailure.h"
#include "AccessFile.h"
#include "ForeignFile.h"
#include "ReaderProcess.h"

namespace
{

constexpr int kTimeoutMs = 300000;

QString failure(const AccessTableRead &read, const QString &name, const QString &readerProgram)
{
    const AccessFailureWords words{QStringLiteral("read"),
                                   QStringLiteral("reader"),
                                   QStringLiteral("%1 minutes").arg(kTimeoutMs / 60000),
                                   {}};
    return AccessFailureText(read, name, readerProgram, words);
}

class AccessReader : public MovieReader
{
  public:
    explicit AccessReader(QList<AccessRow> rows, bool maybeCut)
        : m_rows(std::move(rows)), m_maybeCut(maybeCut)
    {
    }

    std::optional<MovieRow> next() override
    {
        if (m_next >= m_rows.size())
            return std::nullopt;
        const AccessRow row = std::exchange(m_rows[m_next++], {});
        MovieRow movie;
        for (qsizetype i = 0; i < row.size() && i < MovieRow::kColumnCount; ++i)
            movie.values[std::size_t(i)] = row[i];
        movie.where = QStringLiteral("row %1").arg(m_next);
        return movie;
    }

    QStringList notes() const override
    {
        if (!m_maybeCut)
            return {};
        return {QStringLiteral("Some very long values may have been cut short by the Access "
                               "reader.")};
    }

    qint64 bytesRead() const override { return m_next; }
    qint64 bytesTotal() const override { return m_rows.size(); }
    bool fromThisProgram() const override { return true; }

  private:
    QList<AccessRow> m_rows;
    qsizetype m_next = 0;
    bool m_maybeCut = false;
};

} // namespace

std::unique_ptr<MovieReader> OpenAccessReader(const QString &path, const QString &readerProgram)
{
    QFile file(path);
    OpenForeignFile(file);
    const QString name = ForeignFileName(path);
    if (!IsAccessFile(path))
        throw TransferError{QStringLiteral("%1 is not a Microsoft Access file.").arg(name)};
    AccessTableRead read = ReadMoviesTable(readerProgram, path, kTimeoutMs);
    if (read.outcome != AccessTableRead::Outcome::Complete)
        throw TransferError{failure(read, name, readerProgram)};
    return std::make_unique<AccessReader>(std::move(read.rows), read.valuesMayBeCut);
}
