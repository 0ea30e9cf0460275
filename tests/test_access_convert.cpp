// Converting a catalog of the earlier Windows version (an Access file) into the program's own,
// always on copies of the fixtures in a temporary folder.
#include "AccessConversion.h"
#include "CatalogNumber.h"
#include "ReaderProcess.h"
#include "TitleRenamer.h"

#include "TestData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <charconv>
#include <unistd.h>

namespace
{

const QString kReader = QStringLiteral(REELWARDEN_MDB_READER);

QString fixture(const QString &name)
{
    return QStringLiteral(REELWARDEN_JET_FIXTURES "/") + name;
}

// A shell script standing in for the reader.
QString fakeReader(const QString &folder, const QByteArray &body)
{
    const QString path = QDir(folder).filePath(QStringLiteral("fake-reader"));
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// Values from "a|b|\N" (\N: NULL), or from a line of an expected-rows file (tabs between).
QList<AccessValue> values(const QByteArray &line, char separator = '|')
{
    QList<AccessValue> result;
    for (const QByteArray &cell : line.split(separator))
        result.append(cell == "\\N" ? AccessValue()
                                    : AccessValue(QString::fromUtf8(unescape(cell))));
    return result;
}

// Renames the first occurrence of a column name in a Jet 4 file's table definition.
bool renameColumn(QByteArray &file, const QString &from, const QString &to)
{
    const auto utf16 = [](const QString &text) {
        return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    };
    const qsizetype at = file.indexOf(utf16(from));
    if (at > 0)
        file.replace(at, from.size() * 2, utf16(to));
    return at > 0;
}

// Checks one stored amount against the file's exact Currency text: whole amounts are stored
// as integers, and up to 15 digits exactly.
void compareAmount(const QVariant &stored, const QString &expected, const QString &where)
{
    const QByteArray text = expected.toLatin1();
    const qint64 units = QByteArray(text).replace('.', "").toLongLong();
    QVERIFY2(stored.typeId() == (units % 10000 == 0 ? QMetaType::LongLong : QMetaType::Double),
             qPrintable(where));
    double nearest = 0;
    std::from_chars(text.begin(), text.end(), nearest);
    if (units > -1'000'000'000'000'000LL && units < 1'000'000'000'000'000LL) // 15 digits
        QCOMPARE(std::llround(stored.toDouble() * 10000), units);
    else
        QCOMPARE(stored.toDouble(), nearest);
}

} // namespace

class TestAccessConvert : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_folder = std::make_unique<QTemporaryDir>();
    QTemporaryDir m_tools;
    QString m_catalog;

    // The fixture copied into a new folder as movies.mdb.
    bool copyFixture(const QString &name)
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_catalog = m_folder->filePath(QStringLiteral("movies.mdb"));
        return fileReady(fixture(name), __FILE__, __LINE__) &&
               QFile::copy(fixture(name), m_catalog) &&
               QFile::setPermissions(m_catalog, QFile::ReadOwner | QFile::WriteOwner);
    }
    QStringList files() const
    {
        return QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

  private slots:
    // Every row and column compared with the rows another reader gives; the original is kept
    // under the first free name, which the question names, and names taken stay as they were.
    void convertsCatalog_data()
    {
        addRows("convert/catalogs.tsv", {"fixture", "rowCount", "takenNames", "kept"});
    }
    void convertsCatalog()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, takenNames);
        QFETCH(QString, kept);
        QFETCH(QString, rowCount);
        const int rows = rowCount.toInt();
        const QStringList taken = takenNames.split(u' ', Qt::SkipEmptyParts);
        const QString expectedRows = ::fixture(fixture + ".expected.tsv");
        if (rows > 0)
            REQUIRE_FILE(expectedRows);
        if (!copyFixture(fixture + ".mdb"))
            return;
        for (const QString &name : taken)
            QVERIFY(name.endsWith(u'/') ? QDir(m_folder->path()).mkdir(name)
                                        : writeFile(m_folder->filePath(name), name.toUtf8()));
        QStringList before = files();
        QVERIFY2(ConversionQuestion(m_catalog).endsWith("will be kept as " + kept + '.'),
                 qPrintable(ConversionQuestion(m_catalog)));
        const ConversionResult result = ConvertAccessCatalog(m_catalog, kReader);
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.rowsConverted, rows);
        QVERIFY(result.titlesRenamed == 0 && !result.valuesMayBeCut && result.message.isEmpty());
        QCOMPARE(result.keptOriginalAs, m_folder->filePath(kept));
        QCOMPARE(readFile(result.keptOriginalAs), readFile(::fixture(fixture + ".mdb")));
        QStringList after = before << kept;
        after.sort();
        QCOMPARE(files(), after);
        for (const QString &name : taken)
            QCOMPARE(readFile(m_folder->filePath(name)),
                     name.endsWith(u'/') ? QByteArray() : name.toUtf8());
        QCOMPARE(scalar(m_catalog, "PRAGMA integrity_check"), QVariant("ok"));
        QCOMPARE(scalar(m_catalog, "SELECT count(*) FROM Movies").toInt(), rows);
        const QList<QByteArray> lines = readFile(expectedRows).split('\n');
        const QList<QByteArray> names = lines.first().split('\t');
        for (int row = 1; row <= rows && row < lines.size(); ++row) {
            const QList<AccessValue> expected = values(lines[row], '\t');
            QCOMPARE(expected.size(), names.size());
            for (qsizetype column = 0; column < names.size(); ++column) {
                const QString name = QString::fromLatin1(names[column]);
                const QVariant stored = scalar(
                    m_catalog,
                    QStringLiteral("SELECT %1 FROM Movies WHERE ID = %2").arg(name).arg(row));
                const QString where = QStringLiteral("row %1 column %2").arg(row).arg(name);
                if (!expected[column])
                    QVERIFY2(stored.isNull(), qPrintable(where));
                else if (name == "Value")
                    compareAmount(stored, *expected[column], where);
                else if (name == "Copyright" || name == "Hours" || name == "Minutes")
                    QCOMPARE(stored, QVariant(expected[column]->toLongLong()));
                else if (!expected[column]->isEmpty() ||
                         !stored.isNull()) // libmdb shows NULL text as ""
                    QVERIFY2(stored.toString() == *expected[column], qPrintable(where));
            }
        }
        // The expected rows show NULL text as "": the converter keeps NULL and "" apart.
        if (rows > 0)
            QCOMPARE(scalar(m_catalog,
                            "SELECT group_concat(ifnull(Category, 'NULL')) FROM Movies WHERE "
                            "Title IN ('Only a title', 'Empty strings')"),
                     QVariant("NULL,"));
    }

    void failsLeavingOriginal_data()
    {
        addRows("convert/failures.tsv", {"fixture", "damage", "error", "named"});
    }
    void failsLeavingOriginal()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, damage);
        QFETCH(QString, error);
        QFETCH(QString, named);
        if (!copyFixture(fixture))
            return;
        QByteArray bytes = readFile(m_catalog);
        if (damage == "renameColumns")
            QVERIFY(renameColumn(bytes, "Category", "Cxtegory") &&
                    renameColumn(bytes, "Director", "Directox"));
        else if (damage.startsWith("truncate"))
            bytes.truncate(damage.mid(8).toInt());
        else if (damage == "garbleHeader")
            for (qsizetype i = 0x14; i < 0x800 && i < bytes.size(); ++i)
                bytes[i] = char(bytes[i] ^ 0x5a);
        else if (damage == "zeroPage2")
            bytes.replace(2 * 4096, 4096, QByteArray(4096, '\0'));
        else if (damage == "sqliteFile")
            bytes = QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\0');
        else if (damage == "folderInTheWay")
            QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("movies.mdb.converting")));
        QVERIFY(writeFile(m_catalog, bytes));
        const QString reader = damage.startsWith("reader ")
                                   ? fakeReader(m_tools.path(), damage.mid(7).toUtf8())
                               : damage == "noReader" ? m_tools.filePath("reelwarden-mdb-reader")
                                                      : kReader;
        if (damage == "readOnlyFolder" && ::geteuid() == 0)
            QSKIP("the super-user writes in read-only folders");
        if (damage == "readOnlyFolder")
            QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::ExeOwner);
        const QStringList before = files();

        const bool hangs = damage.contains("sleep");
        bool ticked = false; // the event loop runs while the reader does
        QTimer tick;         // stops with this row, so it never outlives `ticked`
        tick.setSingleShot(true);
        connect(&tick, &QTimer::timeout, this, [&ticked] { ticked = true; });
        tick.start(100);
        QElapsedTimer clock;
        clock.start();
        const ConversionResult result =
            ConvertAccessCatalog(m_catalog, reader, hangs ? 1000 : 60000);
        QVERIFY(!hangs || (ticked && clock.elapsed() < 10000));
        QFile::setPermissions(m_folder->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!result.ok && result.keptOriginalAs.isEmpty());
        const char *errors[] = {"None",           "ReaderMissing", "NotAccessFile",
                                "DamagedFile",    "TimedOut",      "NoMoviesTable",
                                "MissingColumns", "CannotWrite",   "CheckFailed"};
        QCOMPARE(QString(errors[int(result.error)]), error);
        for (const QString &part : {named, QStringLiteral("movies.mdb was left unchanged")})
            QVERIFY2(result.message.contains(part), qPrintable(result.message));
        QCOMPARE(readFile(m_catalog), bytes);
        QCOMPARE(files(), before);
    }

    void renamesDuplicateTitles_data()
    {
        addRows("convert/renames.tsv", {"titlesBytes", "renamedBytes"});
    }
    void renamesDuplicateTitles()
    {
        QFETCH(QByteArray, titlesBytes);
        QFETCH(QByteArray, renamedBytes);
        QList<AccessValue> list = values(titlesBytes);
        const QList<AccessValue> renamed = values(renamedBytes);
        int changed = 0;
        for (qsizetype i = 0; i < list.size(); ++i)
            changed += list[i] != renamed.value(i);
        QCOMPARE(RenameDuplicateTitles(list), changed);
        QCOMPARE(list, renamed);
    }

    // Through the whole conversion, with the message that says so.
    void duplicateTitlesInCatalog()
    {
        if (!copyFixture(QStringLiteral("movies-empty-jet4.mdb")))
            return;
        QByteArray rows = "REELWARDEN-MDB 1\n";
        for (const QByteArray title :
             {"RV4:Heat", "RV4:heat", "RV4:HEAT", "RV0:", "RN", "RV8:Heat (2)"})
            rows += title + QByteArray("N").repeated(16) + '\n';
        QVERIFY(writeFile(m_tools.filePath("rows"), rows + "E6\n"));
        const ConversionResult result = ConvertAccessCatalog(
            m_catalog, fakeReader(m_tools.path(), "exec cat \"$(dirname \"$0\")/rows\""));
        QVERIFY2(result.ok, qPrintable(result.message));
        QVERIFY(result.rowsConverted == 6 && result.titlesRenamed == 2);
        QVERIFY2(result.message.startsWith("2 titles appeared more than once"),
                 qPrintable(result.message));
        QCOMPARE(scalar(m_catalog, "SELECT group_concat(coalesce(Title, 'NULL'), '|') FROM Movies"),
                 QVariant("Heat|heat (3)|HEAT (4)||NULL|Heat (2)"));
    }

    void numberFromText_data() { addRows("convert/numbers.tsv", {"text", "number"}); }
    void numberFromText()
    {
        QFETCH(QString, text);
        QFETCH(QString, number);
        const CatalogNumber made = CatalogNumberFromText(text);
        const char *kinds[] = {"null", "int ", "real ", "text "};
        const QString value = made.index() == 1   ? QString::number(std::get<qint64>(made))
                              : made.index() == 2 ? QString::number(std::get<double>(made), 'g', 17)
                              : made.index() == 3 ? std::get<QString>(made)
                                                  : QString();
        QCOMPARE(kinds[made.index()] + value, number);
    }

    void readerStream_data()
    {
        addRows("convert/reader_stream.tsv", {"streamBytes", "outcome", "rowsBytes"});
    }
    void readerStream()
    {
        QFETCH(QByteArray, streamBytes);
        QFETCH(QString, outcome);
        QFETCH(QByteArray, rowsBytes);
        const QByteArray stream =
            (QTest::currentDataTag()[0] == 'n' ? "" : "REELWARDEN-MDB 1\n") + streamBytes;
        const AccessTableRead read = ParseReaderOutput(stream, 2);
        const char *outcomes[] = {"Complete", "ReaderFailed", "Malformed", "ReaderMissing",
                                  "TimedOut"};
        QCOMPARE(QString(outcomes[int(read.outcome)]), outcome);
        QList<AccessRow> expected;
        for (const QByteArray &row : rowsBytes.split(';'))
            if (!row.isEmpty())
                expected << values(row);
        QCOMPARE(read.rows, expected);
        QCOMPARE(read.valuesMayBeCut, stream.contains("RC"));
        if (read.outcome == AccessTableRead::Outcome::ReaderFailed)
            QCOMPARE(QString::number(read.readerCode) + read.detail, QStringLiteral("3Movies"));
    }

    // Columns are found by name regardless of case, in any order, and read in the C locale.
    void readsJet3Table()
    {
        const QString expectedRows = fixture("jet3-testV1997.Table1.expected.tsv");
        REQUIRE_FILE(expectedRows);
        if (!copyFixture("jet3-testV1997.mdb"))
            return;
        const auto lines = readFile(expectedRows).trimmed().split('\n');
        const QStringList columns = QString::fromLatin1(lines.first()).toLower().split(u'\t');
        const AccessTableRead read = ReadAccessTable(kReader, m_catalog, "TABLE1", columns, 60000);
        QCOMPARE(read.outcome, AccessTableRead::Outcome::Complete);
        QCOMPARE(read.rows.size(), lines.size() - 1);
        for (qsizetype row = 0; row < read.rows.size(); ++row)
            QCOMPARE(read.rows[row], values(lines[row + 1], '\t'));
        QCOMPARE(readFile(m_catalog), readFile(fixture("jet3-testV1997.mdb")));
    }
};

QTEST_GUILESS_MAIN(TestAccessConvert)
#include "test_access_convert.moc"
