#include "DataControl.h"

#include "Database.h"
#include "Money.h"
#include "MovieColumns.h"
#include "StoreError.h"
#include "TextFold.h"

namespace
{

const QString kKeyedPrefix = QStringLiteral("SELECT rowid, [Title] FROM [Movies]");

QString displayText(const QVariant &stored, ColumnKind kind)
{
    if (stored.isNull())
        return QString("");
    switch (kind) {
    case ColumnKind::Text:
        return stored.toString();
    case ColumnKind::Money:
        if (stored.typeId() == QMetaType::QString) {
            const auto amount = Money::parse(stored.toString(), QLocale::c());
            return amount ? Money::formatDisplay(*amount) : stored.toString();
        }
        return Money::formatDisplay(Money::fromDouble(stored.toDouble()));
    case ColumnKind::Integer:
        if (stored.typeId() == QMetaType::Double && stored.toDouble() == qint64(stored.toDouble()))
            return QString::number(qint64(stored.toDouble()));
        return stored.toString();
    }
    return stored.toString();
}

bool sameValue(const QString &text, const QVariant &stored, ColumnKind kind)
{
    if (kind == ColumnKind::Text)
        return text == (stored.isNull() ? QString() : stored.toString());
    if (text.trimmed().isEmpty() || stored.isNull())
        return text.trimmed().isEmpty() && stored.isNull();
    if (kind == ColumnKind::Money) {
        const auto amount = Money::parse(text);
        if (stored.typeId() == QMetaType::QString)
            return text == stored.toString();
        return amount && *amount == Money::fromDouble(stored.toDouble());
    }
    const auto value = columnValue(text, kind);
    return value && !value->isNull() && value->toLongLong() == stored.toLongLong() &&
           stored.toDouble() == double(stored.toLongLong());
}

// The source that yields every movie in stored order: our own writes keep rows read from it
// as the source would yield them again (a new movie comes last, the rowid being the highest).
bool isWholeTable(const QString &source)
{
    return source == QLatin1String(kAllMovies);
}

} // namespace

QString columnInputError(ColumnKind kind, const QString &column)
{
    if (kind == ColumnKind::Money)
        return QStringLiteral("The value must be an amount, such as $12.50.");
    return QStringLiteral("The %1 must be a whole number, such as %2.")
        .arg(column.toLower(),
             column == QLatin1String("Copyright") ? QStringLiteral("1975") : QStringLiteral("2"));
}

std::optional<QVariant> columnValue(const QString &text, ColumnKind kind)
{
    if (text.isEmpty())
        return QVariant();
    switch (kind) {
    case ColumnKind::Text:
        return QVariant(text);
    case ColumnKind::Money: {
        const auto amount = Money::parse(text);
        if (!amount)
            return std::nullopt;
        return QVariant(Money::toDouble(*amount));
    }
    case ColumnKind::Integer: {
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty())
            return QVariant();
        bool ok = false;
        const qint64 number = trimmed.toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        return QVariant(number);
    }
    }
    return std::nullopt;
}

// ---- Recordset --------------------------------------------------------------------------

void Recordset::changed(RowChange change)
{
    change.from = m_generation;
    change.to = m_generation = ++m_issued;
    m_wholeKept = false; // the catalog changed under the kept rows
    // Only the whole table's rows are kept as the source would yield them after our write.
    if (!isWholeTable(m_owner.m_loadedSource))
        m_owner.m_loadedSource.clear();
    using Kind = RowChange::Kind;
    // The folded titles follow the change of one row instead of being counted again.
    if (m_folded && m_foldedGeneration == change.from) {
        if (change.kind == Kind::Removed || change.kind == Kind::Renamed) {
            const auto it = m_foldedTitles.find(TextFold::folded(change.oldTitle));
            if (it != m_foldedTitles.end() && --it.value() <= 0)
                m_foldedTitles.erase(it);
        }
        if (change.kind == Kind::Appended || change.kind == Kind::Renamed)
            ++m_foldedTitles[TextFold::folded(change.newTitle)];
        m_foldedGeneration = change.to;
    }
    m_lastChange = std::move(change);
}

int Recordset::foldedTitleUses(const QString &folded) const
{
    if (!m_folded || m_foldedGeneration != m_generation) {
        m_foldedTitles.clear();
        m_foldedTitles.reserve(qsizetype(m_rows.size()));
        for (const auto &row : m_rows)
            ++m_foldedTitles[TextFold::folded(row.title)];
        m_foldedGeneration = m_generation;
        m_folded = true;
    }
    return m_foldedTitles.value(folded, 0);
}

void Recordset::load()
{
    if (m_owner.rowsCurrent()) {
        m_stale = false;
        m_adding = false;
        moveTo(m_rows.empty() ? -1 : 0);
        return;
    }
    const qint64 version = m_owner.dataVersion();
    const bool whole = isWholeTable(m_owner.m_recordSource);
    if (whole && m_wholeKept && m_wholeDataVersion == version) {
        // Back to every movie, and nothing has changed since they were read.
        m_rows = std::move(m_wholeRows);
        m_wholeRows = {};
        m_wholeKept = false;
        m_generation = m_wholeGeneration;
        m_lastChange = RowChange();
        m_owner.m_loadedSource = m_owner.m_recordSource;
        m_owner.m_loadedDataVersion = version;
        m_stale = false;
        m_adding = false;
        moveTo(m_rows.empty() ? -1 : 0);
        return;
    }
    std::vector<RecordsetRow> rows = m_owner.query();
    const bool keepWhole = !whole && isWholeTable(m_owner.m_loadedSource) &&
                           m_owner.rowsCurrentFor(m_owner.m_loadedSource, version);
    m_owner.m_loadedSource = m_owner.m_recordSource;
    m_owner.m_loadedDataVersion = version;
    const bool same = !m_rows.empty() && rows.size() == m_rows.size() &&
                      std::equal(rows.begin(), rows.end(), m_rows.begin(),
                                 [](const RecordsetRow &a, const RecordsetRow &b) {
                                     return a.rowId == b.rowId && a.title == b.title;
                                 });
    if (!same) {
        if (keepWhole) {
            m_wholeRows = std::move(m_rows);
            m_wholeGeneration = m_generation;
            m_wholeDataVersion = version;
            m_wholeKept = true;
        }
        m_rows = std::move(rows);
        m_generation = ++m_issued;
        m_lastChange = RowChange();
    }
    m_stale = false;
    m_adding = false;
    moveTo(m_rows.empty() ? -1 : 0);
}

const std::vector<RecordsetRow> &Recordset::rows() const
{
    return m_rows;
}

bool Recordset::BOF() const
{
    return m_rows.empty() || m_pos < 0;
}

bool Recordset::EOF_() const
{
    return m_rows.empty() || m_pos >= int(m_rows.size());
}

bool Recordset::hasCurrentRow() const
{
    return !BOF() && !EOF_();
}

void Recordset::moveTo(int pos)
{
    m_adding = false;
    m_pos = pos;
    m_owner.loadCurrent();
    m_owner.showCurrent();
}

void Recordset::MoveFirst()
{
    if (m_rows.empty())
        throw StoreError(QStringLiteral("There is no movie to move to."));
    moveTo(0);
}

void Recordset::MoveNext()
{
    if (EOF_())
        throw StoreError(QStringLiteral("There is no further movie to move to."));
    moveTo(m_pos + 1);
}

QString Recordset::Fields(const QString &name) const
{
    if (!hasCurrentRow())
        throw StoreError(QStringLiteral("There is no current movie."));
    if (name.compare(QLatin1String("Title"), Qt::CaseInsensitive) == 0)
        return m_rows[size_t(m_pos)].title;
    const int column = movieColumnIndex(name);
    if (column < 0)
        throw StoreError(QStringLiteral("The catalog has no column %1.").arg(name));
    const QVariant &value = m_owner.m_current.at(size_t(column));
    return value.isNull() ? QString("") : value.toString();
}

void Recordset::Find(const QString &title)
{
    // A walk over the titles in memory: 100,000 of them take well under a millisecond.
    int pos = std::max(m_pos, 0);
    while (pos < int(m_rows.size()) && m_rows[size_t(pos)].title != title)
        ++pos;
    moveTo(pos);
}

void Recordset::AddNew()
{
    m_adding = true;
    m_owner.m_current.assign(kMovieColumns.size(), QVariant());
    m_owner.showCurrent();
}

int Recordset::EditMode() const
{
    if (m_adding)
        return 2;
    if (!hasCurrentRow())
        return 0;
    return m_owner.changedBindings().empty() ? 0 : 1;
}

void Recordset::Update()
{
    if (!m_adding && !hasCurrentRow())
        throw StoreError(QStringLiteral("There is no current movie to save."));
    Database &db = *m_owner.m_db;
    const auto bindings = m_adding ? m_owner.m_bindings : m_owner.changedBindings();
    if (bindings.empty())
        return;
    std::vector<QVariant> values;
    for (const auto &binding : bindings)
        values.push_back(m_owner.storedValueFor(binding, binding.field->text()));

    QStringList columns;
    for (const auto &binding : bindings)
        columns << QStringLiteral("[%1]").arg(
            QLatin1String(kMovieColumns[size_t(binding.column)].name));
    QString sql;
    if (m_adding) {
        sql = QStringLiteral("INSERT INTO [Movies] (%1) VALUES (%2)")
                  .arg(columns.join(QLatin1String(", ")),
                       QStringList(columns.size(), QStringLiteral("?")).join(QLatin1String(", ")));
    } else {
        sql = QStringLiteral("UPDATE [Movies] SET %1 = ? WHERE rowid = ?")
                  .arg(columns.join(QLatin1String(" = ?, ")));
    }
    Transaction transaction(db);
    Statement statement(db, sql);
    int index = 1;
    for (const auto &value : values)
        statement.bind(index++, value);
    if (!m_adding)
        statement.bind(index, m_rows[size_t(m_pos)].rowId);
    statement.step();
    transaction.commit();

    QString title;
    for (size_t i = 0; i < bindings.size(); ++i) {
        if (bindings[i].column == 0)
            title = values[i].isNull() ? QString("") : values[i].toString();
    }
    if (m_adding) {
        const qint64 rowId = db.lastInsertRowId();
        // Stored order is rowid order: a new row that does not come last needs the query.
        if (!m_rows.empty() && rowId < m_rows.back().rowId)
            m_owner.m_loadedSource.clear();
        m_rows.push_back({rowId, title});
        m_pos = int(m_rows.size()) - 1;
        changed({RowChange::Kind::Appended, 0, 0, QString(), title});
    } else if (m_rows[size_t(m_pos)].title != title &&
               std::any_of(bindings.begin(), bindings.end(),
                           [](auto &b) { return b.column == 0; })) {
        const QString old = m_rows[size_t(m_pos)].title;
        m_rows[size_t(m_pos)].title = title;
        changed({RowChange::Kind::Renamed, 0, 0, old, title});
    }
    m_adding = false;
    m_owner.loadCurrent();
}

void Recordset::CancelUpdate()
{
    m_adding = false;
    if (m_pos >= int(m_rows.size()))
        m_pos = int(m_rows.size());
    m_owner.loadCurrent();
    m_owner.showCurrent();
}

void Recordset::Delete()
{
    if (!hasCurrentRow())
        return;
    Database &db = *m_owner.m_db;
    Transaction transaction(db);
    Statement statement(db, QStringLiteral("DELETE FROM [Movies] WHERE rowid = ?"));
    statement.bind(1, m_rows[size_t(m_pos)].rowId);
    statement.step();
    transaction.commit();
    const QString old = m_rows[size_t(m_pos)].title;
    m_rows.erase(m_rows.begin() + m_pos);
    changed({RowChange::Kind::Removed, 0, 0, old, QString()});
}

void Recordset::Requery()
{
    m_adding = false;
    if (m_owner.m_db)
        load();
}

// ---- DataControl ------------------------------------------------------------------------

DataControl::DataControl() : m_recordset(*this) {}

DataControl::~DataControl() = default;

void DataControl::Open(const QString &path)
{
    m_db = Database::open(path);
    m_recordset.m_stale = true;
    m_recordset.m_wholeKept = false;
    m_recordset.m_wholeRows = {};
    m_loadedSource.clear();
}

void DataControl::Refresh()
{
    if (!m_db)
        throw StoreError(QStringLiteral("The catalog is not open."));
    // On failure the rows of the previous query stay, and so does the cursor.
    m_recordset.load();
}

void DataControl::bind(BoundField *field)
{
    const int column = movieColumnIndex(field->boundColumn());
    Q_ASSERT(column >= 0);
    m_bindings.push_back({field, column});
}

QString DataControl::keyedStatement() const
{
    if (!m_recordSource.startsWith(QLatin1String(kAllMovies)))
        throw StoreError(QStringLiteral("The record source must select from the Movies table."));
    return kKeyedPrefix + m_recordSource.mid(qsizetype(sizeof kAllMovies) - 1);
}

qint64 DataControl::dataVersion() const
{
    Statement statement(*m_db, QStringLiteral("PRAGMA data_version"));
    return statement.step() ? statement.integer(0) : -1;
}

bool DataControl::rowsCurrentFor(const QString &source, qint64 version) const
{
    return !m_loadedSource.isEmpty() && m_loadedSource == source && m_loadedDataVersion == version;
}

bool DataControl::rowsCurrent() const
{
    return rowsCurrentFor(m_recordSource, dataVersion());
}

std::vector<RecordsetRow> DataControl::query() const
{
    Statement statement(*m_db, keyedStatement());
    std::vector<RecordsetRow> rows;
    while (statement.step())
        rows.push_back(
            {statement.integer(0), statement.isNull(1) ? QString("") : statement.text(1)});
    return rows;
}

void DataControl::loadCurrent()
{
    m_current.assign(kMovieColumns.size(), QVariant());
    if (!m_recordset.hasCurrentRow())
        return;
    Statement statement(*m_db, QStringLiteral("SELECT * FROM [Movies] WHERE rowid = ?"));
    statement.bind(1, m_recordset.m_rows[size_t(m_recordset.m_pos)].rowId);
    if (!statement.step())
        return; // removed by another program since the query: shows as blank
    for (int i = 0; i < statement.columnCount(); ++i) {
        const int column = movieColumnIndex(statement.columnName(i));
        if (column >= 0)
            m_current[size_t(column)] = statement.value(i);
    }
}

void DataControl::showCurrent()
{
    if (m_current.size() != kMovieColumns.size())
        m_current.assign(kMovieColumns.size(), QVariant());
    for (const auto &binding : m_bindings) {
        binding.field->showValue(displayText(m_current[size_t(binding.column)],
                                             kMovieColumns[size_t(binding.column)].kind));
    }
}

std::vector<DataControl::Binding> DataControl::changedBindings() const
{
    std::vector<Binding> changed;
    for (const auto &binding : m_bindings) {
        const QVariant stored =
            binding.column < int(m_current.size()) ? m_current[size_t(binding.column)] : QVariant();
        if (!sameValue(binding.field->text(), stored, kMovieColumns[size_t(binding.column)].kind))
            changed.push_back(binding);
    }
    return changed;
}

QVariant DataControl::storedValueFor(const Binding &binding, const QString &text) const
{
    const MovieColumnInfo &column = kMovieColumns[size_t(binding.column)];
    const auto value = columnValue(text, column.kind);
    if (!value)
        throw StoreError(columnInputError(column.kind, QLatin1String(column.name)),
                         StoreError::Kind::Input);
    return *value;
}

bool DataControl::titleTaken(const QString &title, std::optional<qint64> exceptRowId) const
{
    if (!title.isEmpty() && !m_recordset.m_stale && isWholeTable(m_recordSource) && rowsCurrent()) {
        // Every movie's title is in memory: count the rows holding it.
        const QString folded = TextFold::folded(title);
        int uses = m_recordset.foldedTitleUses(folded);
        if (uses > 0 && exceptRowId) {
            const auto &rows = m_recordset.m_rows;
            const int pos = m_recordset.m_pos;
            const RecordsetRow *self = nullptr;
            if (pos >= 0 && pos < int(rows.size()) && rows[size_t(pos)].rowId == *exceptRowId)
                self = &rows[size_t(pos)];
            for (size_t i = 0; !self && i < rows.size(); ++i) {
                if (rows[i].rowId == *exceptRowId)
                    self = &rows[i];
            }
            if (self && TextFold::folded(self->title) == folded)
                --uses;
        }
        return uses > 0;
    }
    Statement statement(*m_db, QStringLiteral("SELECT 1 FROM [Movies] WHERE [Title] = ? COLLATE "
                                              "NOCASE AND rowid IS NOT ? LIMIT 1"));
    statement.bind(1, title);
    statement.bind(2, exceptRowId ? QVariant(*exceptRowId) : QVariant());
    return statement.step();
}
