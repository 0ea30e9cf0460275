// Other catalog programs' files, one table per format under tests/data/<format>/: real files
// those programs wrote, and damaged or foreign ones. Each row is read by the format's reader
// (the first movie's columns, the notes, the fields left unused), told by the probes, and
// given to the real reelwarden-transfer, which must refuse a bad file leaving the catalog byte
// for byte as it was.
#include "TestSupport.h"
#include "amc/AmcFormat.h"
#include "collectorz/CollectorzFormat.h"
#include "datacrow/DataCrowFormat.h"
#include "delicious/DeliciousFormat.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

namespace
{

struct Format {
    const char *name; // for --format, and the folder of its table
    std::unique_ptr<MovieReader> (*open)(const QString &);
    ProbeResult (*probe)(const QString &, QByteArrayView);
};

const Format kFormats[] = {
    {"amc", OpenAmcReader, ProbeAmc},
    {"collectorz", OpenCollectorzReader, ProbeCollectorz},
    {"datacrow", OpenDataCrowReader, ProbeDataCrow},
    {"delicious", OpenDeliciousReader, ProbeDelicious},
};

void addFormatRows(const QString &table)
{
    QStringList columns{"source",   "change",     "contentBytes", "movies", "refusal",
                        "imported", "recognised", "holds",        "notes",  "unused"};
    for (const MovieColumnInfo &column : kMovieColumns)
        columns << QLatin1String(column.name);
    addRows(table, columns);
}

// The file's bytes: a fixture, or the row's own, then changed as the row says: "cut N" keeps
// the first N bytes, "set AT HEX" overwrites bytes from AT, "append HEX" adds bytes.
QByteArray rowBytes(const QString &folder, const QString &source, const QString &change,
                    const QByteArray &content)
{
    QByteArray bytes = source.isEmpty() ? content : readFile(dataPath(folder + u'/' + source));
    const QStringList words = change.split(u' ', Qt::SkipEmptyParts);
    if (words.value(0) == u"cut")
        bytes.truncate(words.value(1).toInt());
    else if (words.value(0) == u"set")
        bytes.replace(words.value(1).toInt(), words.value(2).size() / 2,
                      QByteArray::fromHex(words.value(2).toLatin1()));
    else if (words.value(0) == u"append")
        bytes += QByteArray::fromHex(words.value(1).toLatin1());
    return bytes;
}

std::optional<QString> expected(const char *column)
{
    const QString text = *static_cast<QString *>(QTest::qData(column, QMetaType::QString));
    return text.isEmpty() ? std::nullopt
                          : std::optional<QString>(text == u"<empty>" ? QString() : text);
}

QString refusalOf(const Format &format, const QString &path, QList<MovieRow> &rows,
                  MovieReader *&kept, std::unique_ptr<MovieReader> &reader)
{
    try {
        reader = format.open(path);
        kept = reader.get();
        while (auto row = reader->next())
            rows << *row;
    } catch (const TransferError &error) {
        return error.message;
    }
    return {};
}

void checkReader(const Format &format, const QString &path)
{
    QFETCH(QString, movies);
    QFETCH(QString, refusal);
    QFETCH(QString, notes);
    QFETCH(QString, unused);
    QList<MovieRow> rows;
    MovieReader *reader = nullptr;
    std::unique_ptr<MovieReader> owner;
    const QString message = refusalOf(format, path, rows, reader, owner);
    if (!refusal.isEmpty()) {
        QVERIFY2(message.contains(refusal) && message.contains(path), qPrintable(message));
        return;
    }
    QVERIFY2(message.isEmpty(), qPrintable(message));
    QCOMPARE(rows.size(), movies.toInt());
    for (int i = 0; i < MovieRow::kColumnCount; ++i) {
        const char *column = kMovieColumns[std::size_t(i)].name;
        QVERIFY2(rows[0].values[i] == expected(column),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(column),
                                                         rows[0].values[i].value_or("<NULL>"))));
    }
    QCOMPARE(rows.last().where, QStringLiteral("entry %1").arg(rows.size()));
    QCOMPARE(reader->notes().join(u'\n'), notes);
    for (const QString &field : unused.split(u' ', Qt::SkipEmptyParts))
        QVERIFY2(reader->unusedColumns().contains(field),
                 qPrintable(reader->unusedColumns().join(", ")));
    QCOMPARE(reader->bytesRead(), reader->bytesTotal());
}

// Every probe looks at the file's first 4 KiB; only its own format's may take it.
void checkProbes(const Format &format, const QString &path, const QByteArray &bytes)
{
    QFETCH(QString, recognised);
    QFETCH(QString, holds);
    for (const Format &other : kFormats) {
        const ProbeResult probe = other.probe(path, bytes.left(4096));
        QVERIFY2(probe.recognised == (&other == &format && recognised == u"yes"), other.name);
        if (probe.recognised)
            QCOMPARE(probe.holds, holds);
    }
}

void checkProgram(const Format &format, const QString &path, const QString &catalog)
{
    QFETCH(QString, refusal);
    QFETCH(QString, imported);
    createCatalog(catalog, titled({"Already there"}));
    const QByteArray before = readFile(catalog);
    QProcess program;
    program.start(REELWARDEN_TRANSFER,
                  {"import", path, "--format", format.name, "--catalog", catalog});
    QVERIFY(program.waitForFinished(60000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    if (!refusal.isEmpty()) {
        QVERIFY2(program.exitCode() == 1 && err.contains(refusal), qPrintable(err));
        QCOMPARE(readFile(catalog), before);
        return;
    }
    QVERIFY2(program.exitCode() == 0, qPrintable(err));
    QCOMPARE(scalar(catalog, "SELECT count(*) FROM Movies").toInt(), 1 + imported.toInt());
}

void check(const Format &format)
{
    QFETCH(QString, source);
    QFETCH(QString, change);
    QFETCH(QByteArray, contentBytes);
    if (!source.isEmpty())
        REQUIRE_FILE(dataPath(QLatin1String(format.name) + u'/' + source));
    QTemporaryDir dir;
    const QString path = dir.filePath(source.isEmpty() ? QStringLiteral("input") : source);
    const QByteArray bytes = rowBytes(QLatin1String(format.name), source, change, contentBytes);
    QVERIFY(writeFile(path, bytes));
    // Amounts and years pass through the readers as the file writes them, whatever the locale.
    for (const char *locale : {"en_US.UTF-8", "de_DE.UTF-8"}) {
        std::setlocale(LC_ALL, locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(locale).section(u'.', 0, 0)));
        checkReader(format, path);
        if (QTest::currentTestFailed())
            return;
    }
    checkProbes(format, path, bytes);
    if (!QTest::currentTestFailed())
        checkProgram(format, path, dir.filePath("movies.mdb"));
}

} // namespace

class TestCatalogPrograms : public QObject
{
    Q_OBJECT

  private slots:
    void antMovieCatalog_data() { addFormatRows("amc/amc.tsv"); }
    void antMovieCatalog() { check(kFormats[0]); }
    void collectorz_data() { addFormatRows("collectorz/collectorz.tsv"); }
    void collectorz() { check(kFormats[1]); }
    void dataCrow_data() { addFormatRows("datacrow/datacrow.tsv"); }
    void dataCrow() { check(kFormats[2]); }
    void delicious_data() { addFormatRows("delicious/delicious.tsv"); }
    void delicious() { check(kFormats[3]); }
};

QTEST_GUILESS_MAIN(TestCatalogPrograms)
#include "test_catalog_programs.moc"
