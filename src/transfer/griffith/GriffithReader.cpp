#include "GriffithFormat.h"
#include "GriffithMovie.h"

#include "Database.h"
#include "FormatProbe.h"
#include "StoreError.h"
#include "XmlInput.h"

#include <QFileInfo>

namespace
{

// The XML export: <root>, a <movie> each, a child element per field.
class GriffithXmlReader : public XmlFileReader<MovieReader>
{
  public:
    explicit GriffithXmlReader(const QString &path) : XmlFileReader(path)
    {
        m_xml.requireRoot(u"root", QStringLiteral("is not a Griffith XML export."));
    }
    std::optional<MovieRow> next() override
    {
        while (!m_done && m_xml.nextChild()) {
            if (m_xml.name() != u"movie") {
                m_xml.skipElement();
                continue;
            }
            QHash<QString, QString> fields;
            while (m_xml.nextChild()) {
                const QString name = m_xml.name().toString();
                fields.insert(name, m_xml.readText());
            }
            return m_movie.rowOf(fields, QStringLiteral("movie %1").arg(++m_movies));
        }
        m_done = true; // what follows the root is never read
        return std::nullopt;
    }
    QStringList unusedColumns() const override { return m_movie.unusedColumns(); }
    QStringList notes() const override { return m_movie.notes(); }

  private:
    GriffithMovie m_movie;
    int m_movies = 0;
    bool m_done = false;
};

// The table's column names, lower case; empty when there is no such table.
QStringList columnsOf(Database &db, const QString &table)
{
    Statement info(db, QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    info.bind(1, table);
    QStringList columns;
    while (info.step())
        columns << info.text(0).toLower();
    return columns;
}

bool hasGriffithMovies(Database &db)
{
    const QStringList columns = columnsOf(db, QStringLiteral("movies"));
    return columns.contains(u"o_title") && columns.contains(u"number");
}

// Griffith's database, read-only: its movies in Griffith's numbering, with the medium's name.
class GriffithDbReader : public MovieReader
{
  public:
    explicit GriffithDbReader(const QString &path) : m_path(path)
    {
        try {
            m_db = Database::openForeign(path);
            if (!hasGriffithMovies(*m_db))
                throw TransferError{QStringLiteral("The file %1 is an SQLite database, but not "
                                                   "Griffith's: it has no movies table with "
                                                   "Griffith's columns.")
                                        .arg(path)};
            const bool media = columnsOf(*m_db, QStringLiteral("media")).contains(u"name");
            m_rows = std::make_unique<Statement>(
                *m_db, media
                           ? QStringLiteral("SELECT movies.*, media.name AS media_name FROM movies "
                                            "LEFT JOIN media ON media.medium_id = movies.medium_id "
                                            "ORDER BY movies.number")
                           : QStringLiteral("SELECT * FROM movies ORDER BY number"));
        } catch (const StoreError &error) {
            fail(error);
        }
    }
    std::optional<MovieRow> next() override
    {
        try {
            if (!m_rows->step())
                return std::nullopt;
        } catch (const StoreError &error) {
            fail(error);
        }
        QHash<QString, QString> fields;
        for (int i = 0; i < m_rows->columnCount(); ++i)
            fields.insert(m_rows->columnName(i).toLower(), m_rows->text(i));
        return m_movie.rowOf(fields, QStringLiteral("movie %1").arg(++m_movies));
    }
    QStringList unusedColumns() const override { return m_movie.unusedColumns(); }
    QStringList notes() const override { return m_movie.notes(); }

  private:
    [[noreturn]] void fail(const StoreError &error) const
    {
        throw TransferError{QStringLiteral("The Griffith database %1 cannot be read: %2")
                                .arg(m_path, error.message())};
    }

    QString m_path;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Statement> m_rows;
    GriffithMovie m_movie;
    int m_movies = 0;
};

} // namespace

std::unique_ptr<MovieReader> OpenGriffithReader(const QString &path)
{
    if (FormatProbe::isSqlite(FormatProbe::head(path)))
        return std::make_unique<GriffithDbReader>(path);
    if (FormatProbe::hasExtension(path, "db"))
        throw TransferError{
            QStringLiteral("The file %1 is not a Griffith database: it is no SQLite file.")
                .arg(path)};
    return std::make_unique<GriffithXmlReader>(path);
}

bool IsGriffith(const QString &path, const QByteArray &head)
{
    if (FormatProbe::xmlRoot(head) == u"root")
        return head.contains("<o_title>") || head.contains("<o_title/>");
    if (!FormatProbe::isSqlite(head))
        return false;
    try {
        auto db = Database::openForeign(path);
        return hasGriffithMovies(*db);
    } catch (const StoreError &) {
        return false; // damaged or locked: not recognised as Griffith's
    }
}
