#include "TestData.h"

#include "CatalogSchema.h"
#include "Database.h"
#include "MovieColumns.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <sqlite3.h>

namespace TestSupport
{

QString dataPath(const QString &name)
{
    return QStringLiteral(REELWARDEN_TEST_DATA "/") + name;
}

bool fileReady(const QString &path, const char *file, int line)
{
    const bool ready = QFileInfo(path).isFile() && QFileInfo(path).isReadable();
    if (!ready)
        QTest::qFail(qPrintable("missing or unreadable test file: " + path), file, line);
    return ready;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray unescape(const QByteArray &text)
{
    static const QByteArray from("nrt\\0"), to("\n\r\t\\", 5);
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype kind =
            text[i] == '\\' && i + 1 < text.size() ? from.indexOf(text[i + 1]) : -2;
        if (kind >= 0)
            bytes += to[kind], ++i;
        else if (text[i] == '\\' && text.mid(i + 1, 1) == "x")
            bytes += char(text.mid(i + 2, 2).toInt(nullptr, 16)), i += 3;
        else
            bytes += text[i];
    }
    return bytes;
}

bool matches(const QString &text, const QString &pattern)
{
    QStringList parts = pattern.split(u'*');
    for (QString &part : parts)
        part = QRegularExpression::escape(part);
    return QRegularExpression(QRegularExpression::anchoredPattern(parts.join(".*")),
                              QRegularExpression::DotMatchesEverythingOption)
        .match(text)
        .hasMatch();
}

void addRows(const QString &name, const QStringList &columns, bool newColumns)
{
    static QList<QByteArray> names; // the test keeps the column names' pointers
    for (const QString &column : newColumns ? columns : QStringList()) {
        names << column.toLatin1();
        if (column.endsWith(QLatin1String("Bytes")))
            QTest::addColumn<QByteArray>(names.last().constData());
        else
            QTest::addColumn<QString>(names.last().constData());
    }
    const QByteArray text =
        fileReady(dataPath(name), __FILE__, __LINE__) ? readFile(dataPath(name)) : "no rows";
    for (const QByteArray &line : text.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith("name\t")) { // a header row names the columns: they must be these
            QCOMPARE(QString::fromUtf8(line).split('\t').mid(1), columns);
            continue;
        }
        QList<QByteArray> cells =
            line.split('\t'); // a missing file gives one row: the failure is reported
        for (QByteArray &cell : cells)
            cell = unescape(cell);
        QTestData &row = QTest::newRow(cells[0].constData());
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (columns[i].endsWith(QLatin1String("Bytes")))
                row << cells.value(i + 1);
            else
                row << QString::fromUtf8(cells.value(i + 1));
        }
    }
}

QStringList withMovieColumns(QStringList columns)
{
    for (const MovieColumnInfo &column : kMovieColumns)
        columns << QLatin1String(column.name);
    return columns;
}

QList<std::optional<QString>> expectedMovie()
{
    QList<std::optional<QString>> values;
    for (const MovieColumnInfo &column : kMovieColumns) {
        const QString text = *static_cast<QString *>(QTest::qData(column.name, QMetaType::QString));
        values << (text.isEmpty()       ? std::nullopt
                   : text == u"<empty>" ? std::optional<QString>(QString(""))
                                        : std::optional<QString>(text));
    }
    return values;
}

Run runProgram(const QString &program, const QStringList &arguments, const QString &locale)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!locale.isEmpty()) {
        environment.insert(QStringLiteral("LC_ALL"), locale);
        environment.insert(QStringLiteral("LANG"), locale);
    }
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000); // false when it never started
    return {finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

bool exec(const QString &path, const QByteArray &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    const bool done = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return done;
}

void createCatalog(const QString &path, const QList<QVariantMap> &movies)
{
    exec(path, kCatalogSchemaSql);
    insert(path, movies);
}

void insert(const QString &path, const QList<QVariantMap> &movies)
{
    const auto db = Database::open(path);
    for (const QVariantMap &movie : movies) {
        const QStringList columns = movie.keys();
        Statement statement(
            *db, QStringLiteral("INSERT INTO Movies (%1) VALUES (%2)")
                     .arg(columns.join(u','), QStringList(columns.size(), "?").join(u',')));
        for (int i = 0; i < columns.size(); ++i)
            statement.bind(i + 1, movie.value(columns[i]));
        statement.step();
    }
}

QList<QVariantMap> titled(const QStringList &titles)
{
    QList<QVariantMap> movies;
    for (const QString &title : titles)
        movies.append({{QStringLiteral("Title"), title}});
    return movies;
}

QVariant scalar(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_stmt *statement = nullptr;
    QVariant result;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto *text = static_cast<const char *>(sqlite3_column_blob(statement, 0));
        switch (sqlite3_column_type(statement, 0)) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER:
            result = qint64(sqlite3_column_int64(statement, 0));
            break;
        case SQLITE_FLOAT:
            result = sqlite3_column_double(statement, 0);
            break;
        default:
            result = QString::fromUtf8(text, sqlite3_column_bytes(statement, 0));
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

OtherProgram::OtherProgram(const QString &path, const char *sql)
{
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

OtherProgram::~OtherProgram()
{
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace TestSupport

BoundCatalog::BoundCatalog(const QString &path)
{
    for (const auto &column : kMovieColumns) {
        auto field = std::make_unique<FakeField>(QLatin1String(column.name));
        data.bind(field.get());
        fields[QLatin1String(column.name)] = std::move(field);
    }
    data.Open(path);
    data.setRecordSource(QLatin1String(kAllMovies));
    data.Refresh();
}

QStringList BoundCatalog::titles()
{
    QStringList result;
    for (const auto &row : rs().rows())
        result << row.title;
    return result;
}

bool BoundCatalog::select(const QString &title)
{
    rs().MoveFirst();
    rs().Find(title);
    return !rs().EOF_();
}
