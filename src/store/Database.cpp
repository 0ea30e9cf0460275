#include "Database.h"

#include "AccessSignature.h"
#include "MovieColumns.h"
#include "StoreError.h"
#include "TextFold.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

int movieColumnIndex(const QString &name)
{
    for (size_t i = 0; i < kMovieColumns.size(); ++i) {
        if (name.compare(QLatin1String(kMovieColumns[i].name), Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

// ---- Statement --------------------------------------------------------------------------

Statement::Statement(Database &db, const QString &sql) : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    db.check(sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &m_stmt, nullptr),
             QStringLiteral("The statement could not be prepared"));
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

int Statement::tryBind(int index, const QVariant &value)
{
    if (value.isNull())
        return sqlite3_bind_null(m_stmt, index);
    if (value.typeId() == QMetaType::Double)
        return sqlite3_bind_double(m_stmt, index, value.toDouble());
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        return sqlite3_bind_int64(m_stmt, index, value.toLongLong());
    const QString text = value.toString();
    return sqlite3_bind_text16(m_stmt, index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

void Statement::bind(int index, const QVariant &value)
{
    m_db.check(tryBind(index, value), QStringLiteral("A value could not be bound"));
}

int Statement::tryStep()
{
    return sqlite3_step(m_stmt);
}

bool Statement::step()
{
    const int rc = tryStep();
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    m_db.check(rc, QStringLiteral("The catalog could not be read or written"));
    return false;
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString Statement::text(int column) const
{
    const auto *data = static_cast<const char16_t *>(sqlite3_column_text16(m_stmt, column));
    const int bytes = sqlite3_column_bytes16(m_stmt, column);
    return data ? QString::fromUtf16(data, bytes / 2) : QString();
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double Statement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(integer(column));
    case SQLITE_FLOAT:
        return QVariant(real(column));
    default:
        return QVariant(text(column));
    }
}

// ---- Transaction ------------------------------------------------------------------------

Transaction::Transaction(Database &db) : m_db(db)
{
    // IMMEDIATE takes the write lock now, so a second program's lock shows up here, before
    // anything has been changed, and waits for the busy timeout.
    m_db.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    if (!m_done)
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    m_db.exec(QStringLiteral("COMMIT"));
    m_done = true;
}

// ---- Database ---------------------------------------------------------------------------

namespace
{

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString folderName(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

[[noreturn]] void refuse(const QString &path, const QString &what,
                         StoreError::Kind kind = StoreError::Kind::General)
{
    throw StoreError(QStringLiteral("The catalog file %1 in the folder %2 %3")
                         .arg(fileName(path), folderName(path), what),
                     kind);
}

// Checks what can be told without SQLite, so that a file that is not a catalog is never
// handed to it.
void checkFileBeforeOpening(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        refuse(path, QStringLiteral("was not found. Reelwarden keeps its catalog beside the "
                                    "program and does not create one."));
    if (info.isDir())
        refuse(path, QStringLiteral("is a folder, not a catalog file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        refuse(path, QStringLiteral("cannot be read: %1.").arg(file.errorString()));
    const QByteArray head = file.read(100);
    if (head.isEmpty())
        refuse(path, QStringLiteral("is empty (0 bytes); it holds no catalog."));
    if (IsAccessSignature(head))
        refuse(path, QStringLiteral("is a Microsoft Access file."), StoreError::Kind::AccessFormat);
    if (!head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        refuse(path, QStringLiteral("is not a Reelwarden catalog: its format is unknown."));
}

enum class Affinity { Integer, Text, Blob, Real, Numeric };

// SQLite's rules for the affinity of a declared column type.
Affinity affinityOf(const QString &declared)
{
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT")))
        return Affinity::Integer;
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT")))
        return Affinity::Text;
    if (type.isEmpty() || type.contains(QLatin1String("BLOB")))
        return Affinity::Blob;
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
        type.contains(QLatin1String("DOUB")))
        return Affinity::Real;
    return Affinity::Numeric;
}

bool fitsKind(Affinity affinity, ColumnKind kind)
{
    if (kind == ColumnKind::Text)
        return affinity == Affinity::Text || affinity == Affinity::Blob;
    return affinity == Affinity::Integer || affinity == Affinity::Real ||
           affinity == Affinity::Numeric;
}

} // namespace

std::unique_ptr<Database> Database::open(const QString &path)
{
    checkFileBeforeOpening(path);
    sqlite3 *handle = nullptr;
    const QByteArray name = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(name.constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<Database> db(new Database(handle, path));
    if (rc != SQLITE_OK)
        refuse(path, QStringLiteral("cannot be opened: %1.").arg(db->lastErrorText()));
    sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    sqlite3_extended_result_codes(handle, 1);
    if (TextFold::install(handle) != SQLITE_OK)
        refuse(path, QStringLiteral("cannot be opened: %1.").arg(db->lastErrorText()));
    db->validateCatalog();
    return db;
}

std::unique_ptr<Database> Database::openForeign(const QString &path)
{
    sqlite3 *handle = nullptr;
    const QByteArray name = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(name.constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<Database> db(new Database(handle, path));
    if (rc != SQLITE_OK)
        throw StoreError(QStringLiteral("The file %1 cannot be opened: %2.")
                             .arg(fileName(path), db->lastErrorText()));
    sqlite3_extended_result_codes(handle, 1);
    return db;
}

std::unique_ptr<Database> Database::create(const QString &path, QString &why)
{
    sqlite3 *handle = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<Database> db(new Database(handle, path));
    if (rc != SQLITE_OK) {
        // The system's reason ("Permission denied") says more than SQLite's own.
        const int systemError = handle ? sqlite3_system_errno(handle) : ENOMEM;
        why =
            systemError ? QString::fromLocal8Bit(std::strerror(systemError)) : db->lastErrorText();
        return nullptr;
    }
    if (TextFold::install(handle) != SQLITE_OK) {
        why = db->lastErrorText();
        return nullptr;
    }
    return db;
}

Database::Database(sqlite3 *db, const QString &path) : m_db(db), m_path(path) {}

Database::~Database()
{
    sqlite3_close_v2(m_db);
}

void Database::validateCatalog()
{
    std::array<QString, kMovieColumns.size()> declared;
    try {
        Statement info(*this, QStringLiteral("PRAGMA table_info([Movies])"));
        while (info.step()) {
            const int index = movieColumnIndex(info.text(1));
            if (index >= 0 && declared[size_t(index)].isNull())
                declared[size_t(index)] = info.text(2).isNull() ? QString("") : info.text(2);
        }
        Statement rowid(*this, QStringLiteral("SELECT rowid FROM [Movies] LIMIT 0"));
        rowid.step();
    } catch (const StoreError &error) {
        if (error.kind() == StoreError::Kind::Busy)
            refuse(m_path, QStringLiteral("is in use by another program. Close it and try again."),
                   StoreError::Kind::Busy);
        const int code = sqlite3_errcode(m_db) & 0xff;
        if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
            refuse(m_path, QStringLiteral("is damaged or is not a Reelwarden catalog (%1).")
                               .arg(lastErrorText()));
        if (std::all_of(declared.begin(), declared.end(), [](auto &d) { return d.isNull(); }))
            refuse(m_path, QStringLiteral("holds no Movies table, so it is not a Reelwarden "
                                          "catalog."));
        refuse(m_path, QStringLiteral("cannot be read: %1.").arg(lastErrorText()));
    }
    if (std::all_of(declared.begin(), declared.end(), [](auto &d) { return d.isNull(); }))
        refuse(m_path, QStringLiteral("holds no Movies table, so it is not a Reelwarden catalog."));
    for (size_t i = 0; i < kMovieColumns.size(); ++i) {
        const QString column = QLatin1String(kMovieColumns[i].name);
        if (declared[i].isNull())
            refuse(m_path, QStringLiteral("has a Movies table without the column %1.").arg(column));
        if (!fitsKind(affinityOf(declared[i]), kMovieColumns[i].kind))
            refuse(
                m_path,
                QStringLiteral("has a Movies table whose column %1 is of the wrong kind (%2).")
                    .arg(column, declared[i].isEmpty() ? QStringLiteral("no type") : declared[i]));
    }
}

void Database::exec(const QString &sql)
{
    check(sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr),
          QStringLiteral("The catalog could not be read or written"));
}

std::optional<QString> Database::tryExec(const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return std::nullopt;
    const QString reason = QString::fromUtf8(message ? message : sqlite3_errmsg(m_db));
    sqlite3_free(message);
    return reason;
}

bool Database::close()
{
    sqlite3 *db = m_db;
    m_db = nullptr;
    if (sqlite3_close(db) == SQLITE_OK)
        return true;
    sqlite3_close_v2(db); // closes once whatever still holds it is finished
    return false;
}

QString Database::lastErrorText() const
{
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

qint64 Database::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

const int Database::kMisuse = SQLITE_MISUSE;

bool Database::failed(int rc)
{
    const int primary = rc & 0xff;
    return primary != SQLITE_OK && primary != SQLITE_ROW && primary != SQLITE_DONE;
}

void Database::check(int rc, const QString &what) const
{
    if (!failed(rc))
        return;
    const int primary = rc & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw StoreError(QStringLiteral("%1: the catalog is in use by another program. Try again "
                                        "in a moment.")
                             .arg(what),
                         StoreError::Kind::Busy);
    throw StoreError(QStringLiteral("%1: %2.").arg(what, reasonFor(rc)));
}

QString Database::reasonFor(int rc) const
{
    // The system's own error says more than SQLite's "disk I/O error".
    const int error = sqlite3_system_errno(m_db);
    const int primary = rc & 0xff;
    if (primary == SQLITE_FULL || error == ENOSPC || error == EFBIG || error == EDQUOT)
        return QStringLiteral("the disk is full");
    if (primary == SQLITE_READONLY || error == EPERM || error == EACCES || error == EROFS)
        return QStringLiteral("the catalog file cannot be written (it is read-only or protected)");
    if (primary == SQLITE_IOERR && error != 0)
        return QStringLiteral("the disk reported an error (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(error)));
    if (primary == SQLITE_IOERR)
        return QStringLiteral("the catalog file could not be read or written (a disk error, or "
                              "the file is protected against changes)");
    QString reason = QString::fromUtf8(sqlite3_errstr(rc));
    const QString detail = lastErrorText();
    if (!detail.isEmpty() && detail != reason)
        reason += QStringLiteral(" (%1)").arg(detail);
    return reason;
}
