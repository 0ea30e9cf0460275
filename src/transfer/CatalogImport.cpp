#include "CatalogImport.h"

#include "CatalogNumber.h"
#include "Database.h"
#include "Money.h"
#include "MovieColumns.h"
#include "MovieInsert.h"
#include "StagedMovies.h"
#include "StoreError.h"
#include "TextFold.h"
#include "TitleRenamer.h"

#include <QRegularExpression>
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

// The number as the catalog's own writes store it, in the plain form the row insert reads.
QString storedNumber(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double)
        return Money::formatPlain(Money::fromDouble(value.toDouble()));
    return QString::number(value.toLongLong());
}

// Whether a plain decimal ("-123.45") lies within the range of the earlier version's Currency
// type, -922337203685477.5808 to 922337203685477.5807; false for any other text. The one
// place that decides whether an amount fits the catalog at all.
bool withinCurrencyRange(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^(-?)0*([0-9]*)(?:\\.([0-9]*))?$"));
    const auto match = plain.match(text);
    if (!match.hasMatch() || text == u"-" || text.isEmpty())
        return false;
    const QString whole = match.captured(2);
    const QString fraction = match.captured(3);
    static const QString kLargest = QStringLiteral("922337203685477");
    if (whole.size() != kLargest.size())
        return whole.size() < kLargest.size();
    if (whole != kLargest)
        return whole < kLargest;
    const QString beyond = match.captured(1).isEmpty() ? QStringLiteral("5807") : QStringLiteral("5808");
    const QString digits = (fraction + QStringLiteral("0000")).left(4);
    static const QRegularExpression zeros(QStringLiteral("^0*$"));
    return digits < beyond || (digits == beyond && zeros.match(fraction.mid(4)).hasMatch());
}

// A plain decimal that Money::parse refuses although it lies within the Currency range, as
// the earlier version's minimum amount -922337203685477.5808 does: it is kept as the start-up
// conversion keeps it, the nearest number the catalog holds.
bool plainNumberBeyondRange(const QString &text)
{
    return withinCurrencyRange(text) &&
           !std::holds_alternative<QString>(CatalogNumberFromText(text));
}

bool isPlainNumber(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    return plain.match(text).hasMatch();
}

// Checks a movie as Save does and brings its numbers to the form the catalog stores.
void normalise(MovieRow &movie, const QString &fileName)
{
    if (!movie.values[0] || movie.values[0]->isEmpty())
        refuse(fileName, movie, 0, QStringLiteral("You must enter a title."));
    for (std::size_t i = 0; i < movie.values.size(); ++i) {
        std::optional<QString> &value = movie.values[i];
        if (value && value->size() > kMaxValueLength)
            refuse(fileName, movie, i,
                   QStringLiteral("the value is longer than the catalog takes "
                                  "(%1 characters).")
                       .arg(kMaxValueLength));
        const ColumnKind kind = kMovieColumns[i].kind;
        if (!value || kind == ColumnKind::Text)
            continue;
        const std::optional<QVariant> stored = columnValue(*value, kind);
        if (!stored && kind == ColumnKind::Money && plainNumberBeyondRange(*value))
            continue;
        if (!stored && kind == ColumnKind::Money && isPlainNumber(*value))
            refuse(fileName, movie, i,
                   QStringLiteral("the amount lies beyond what the catalog holds "
                                  "(-922337203685477.5808 to 922337203685477.5807)."));
        if (!stored)
            refuse(fileName, movie, i, columnInputError(kind, columnName(i)));
        value = stored->isNull() ? std::nullopt : std::optional(storedNumber(*stored));
    }
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
            m_insert.emplace(m_db.handle());
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
// never keeps the catalog window from saving.
StagedMovies readAll(MovieReader &reader, const QString &fileName,
                     const std::function<void()> &progress)
{
    StagedMovies staged;
    int count = 0;
    while (std::optional<MovieRow> movie = reader.next()) {
        normalise(*movie, fileName);
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
    const StagedMovies staged = readAll(reader, fileName, progress);
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
    summary.unusedColumns = reader.unusedColumns();
    summary.notes = reader.notes();
    return summary;
}
