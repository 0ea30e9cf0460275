#include "CatalogImport.h"

#include "Database.h"
#include "ForeignValues.h"
#include "MovieColumns.h"
#include "MovieInsert.h"
#include "StagedMovies.h"
#include "StoreError.h"
#include "TextFold.h"
#include "TitleRenamer.h"

#include <QSet>

namespace
{

constexpr int kProgressEvery = 512;

QString columnName(std::size_t column)
{
    return QLatin1String(kMovieColumns[column].name);
}

[[noreturn]] void refuse(const QString &fileName, const MovieRow &movie, std::size_t column,
                         const QString &why)
{
    throw TransferError{QStringLiteral("%1, %2, column %3: %4")
                            .arg(fileName, movie.where, columnName(column), why)};
}

// Checks a movie as Save does and brings its numbers to the form the catalog stores; a number
// that fits no column is kept in Comments, or refused when `strict`.
void normalise(MovieRow &movie, const QString &fileName, ForeignValues &values, bool strict,
               QStringList &kept)
{
    if (!movie.values[0] || movie.values[0]->isEmpty())
        refuse(fileName, movie, 0, QStringLiteral("You must enter a title."));
    for (std::size_t i = 0; i < movie.values.size(); ++i) {
        const std::optional<QString> &value = movie.values[i];
        if (value && value->size() > kMaxValueLength)
            refuse(fileName, movie, i,
                   QStringLiteral("the value is longer than the catalog takes "
                                  "(%1 characters).")
                       .arg(kMaxValueLength));
    }
    const std::vector<ForeignValues::SetAside> aside = values.read(movie);
    for (const ForeignValues::SetAside &value : aside) {
        if (strict || value.ambiguous)
            refuse(fileName, movie, std::size_t(value.column), value.reason);
        kept << QStringLiteral("%1: %2 (%3: %4)")
                    .arg(movie.where, *movie.values[0], value.label, value.text);
    }
    ForeignValues::keepInComments(movie, aside);
}

class Import
{
  public:
    Import(Database &db, const QString &fileName, const ImportOptions &options)
        : m_db(db), m_fileName(fileName), m_options(options)
    {
        Statement titles(db, QStringLiteral("SELECT [Title] FROM [Movies]"));
        while (titles.step()) {
            const QString title = titles.isNull(0) ? QString() : titles.text(0);
            m_taken.insert(TextFold::folded(title));
            m_titles.append(title);
        }
        m_catalogTitles = m_titles.size();
    }

    // Adds a movie that passed normalise().
    void add(const MovieRow &movie)
    {
        const QString &title = *movie.values[0];
        const bool duplicate = m_taken.contains(TextFold::folded(title));
        if (duplicate && !m_options.renameDuplicates) {
            m_summary.skipped << QStringLiteral("%1: %2").arg(movie.where, title);
            return;
        }
        m_taken.insert(TextFold::folded(title));
        m_titles.append(title);
        m_places.append(movie.where);
        m_rowIds.append(m_options.check ? 0 : insert(movie));
        ++m_summary.added;
    }

    // Gives the titles that came twice their numbers, in the order the file has them.
    void renameDuplicates()
    {
        QList<std::optional<QString>> titles = m_titles;
        if (RenameDuplicateTitles(titles) == 0)
            return;
        std::optional<Statement> rename;
        if (!m_options.check)
            rename.emplace(m_db, QStringLiteral("UPDATE [Movies] SET [Title] = ? WHERE rowid = ?"));
        for (qsizetype i = m_catalogTitles; i < titles.size(); ++i) {
            if (*titles[i] == *m_titles[i])
                continue;
            const qsizetype movie = i - m_catalogTitles;
            m_summary.renamed
                << QStringLiteral("%1: %2 -> %3").arg(m_places[movie], *m_titles[i], *titles[i]);
            if (rename) {
                rename->bind(1, *titles[i]);
                rename->bind(2, m_rowIds[movie]);
                rename->step();
                rename->reset();
            }
        }
    }

    ImportSummary &summary() { return m_summary; }

  private:
    qint64 insert(const MovieRow &movie)
    {
        if (!m_insert)
            m_insert.emplace(m_db);
        if (m_insert->insert(movie.values))
            m_db.check(m_insert->lastCode(), QStringLiteral("The movies could not be added"));
        return m_db.lastInsertRowId();
    }

    Database &m_db;
    const QString m_fileName;
    const ImportOptions m_options;
    QSet<QString> m_taken;                  // folded titles of the catalog and the file
    QList<std::optional<QString>> m_titles; // the catalog's titles, then the file's added ones
    qsizetype m_catalogTitles = 0;
    QStringList m_places;   // where each added movie stands in the file
    QList<qint64> m_rowIds; // and its row in the catalog
    std::optional<MovieInsert> m_insert;
    ImportSummary m_summary;
};

// Reads and checks every movie before the catalog is locked: a file that takes long to read
// never keeps the catalog window from saving. `kept` lists the values kept in Comments.
StagedMovies readAll(MovieReader &reader, const QString &fileName, const ImportOptions &options,
                     QStringList &kept, const std::function<void()> &progress)
{
    ForeignValues values(options.decimalMark != DecimalMark::Unknown ? options.decimalMark
                                                                     : reader.decimalMark(),
                         !reader.fromThisProgram());
    StagedMovies staged;
    int count = 0;
    while (std::optional<MovieRow> movie = reader.next()) {
        normalise(*movie, fileName, values, options.strict, kept);
        staged.append(*movie, fileName);
        if (progress && ++count % kProgressEvery == 0)
            progress();
    }
    return staged;
}

} // namespace

ImportSummary ImportMovies(Database &db, MovieReader &reader, const QString &fileName,
                           const ImportOptions &options, const std::function<void()> &progress)
{
    QStringList kept;
    const StagedMovies staged = readAll(reader, fileName, options, kept, progress);
    // The write lock is taken before the catalog's titles are read, so the titles checked
    // against are the ones the movies are added beside.
    std::optional<Transaction> transaction;
    if (!options.check)
        transaction.emplace(db);
    Import import(db, fileName, options);
    MovieRow movie;
    for (auto cursor = staged.cursor(); cursor.next(movie);)
        import.add(movie);
    if (options.renameDuplicates)
        import.renameDuplicates();
    if (transaction)
        transaction->commit();
    ImportSummary summary = std::move(import.summary());
    summary.keptInComments = std::move(kept);
    summary.unusedColumns = reader.unusedColumns();
    summary.notes = reader.notes();
    return summary;
}
