// Import, export and backup: round trips through every format that reads and writes, files
// other programs wrote, refusals that leave the catalog byte for byte as it was, duplicate
// titles, --check and backups, through the real reelwarden-transfer where the exit status
// matters.
#include "CatalogImport.h"
#include "CatalogReader.h"
#include "Database.h"
#include "Formats.h"
#include "MovieColumns.h"
#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace
{

const QString kProgram = QStringLiteral(REELWARDEN_TRANSFER);

// Movies no file format should bend: quotes, commas, every kind of line break, tabs, control
// characters, emoji, right-to-left text, NULLs, empty texts, zero and large amounts.
QList<QVariantMap> hostileMovies()
{
    using M = QVariantMap;
    // clang-format off
    return {
        M{{"Title", "He said \"Hi\", then left"}, {"Value", 12.5}, {"Copyright", 1975},
          {"Comments", "one\r\ntwo\nthree\rfour"}, {"Category", "a,b;c\td"}},
        M{{"Title", "Amélie"}, {"Value", 0.0}, {"Hours", 0}, {"Minutes", 0}, {"Producer", ""},
          {"Condition", " padded "}, {"TapePosition", "side A\rside B"}},
        M{{"Title", "Сталкер 千と千尋 🎬"}, {"Value", 1000000.0}, {"Director", "שלום \u202Eעולם"}},
        M{{"Title", QString::fromUtf8("ctrl \x01\x1f\x7f end")}, {"Value", 123456789012.34},
          {"TapePosition", "\"\""}, {"Rating", "007"}},
        M{{"Title", "Only a title"}},
        M{{"Title", "=1+2"}, {"Value", 0.0001}, {"Copyright", 2025}, {"StarFour", "\"quoted\""}},
    };
    // clang-format on
}

// The first column of every row `sql` gives from the catalog.
QStringList query(const QString &catalog, const QString &sql)
{
    auto db = Database::open(catalog); // as the program opens it: an interrupted write rolls back
    Statement rows(*db, sql);
    QStringList result;
    while (rows.step())
        result << rows.text(0);
    return result;
}

// Every row of the catalog, every column with its stored type, sorted.
QStringList catalogRows(const QString &catalog)
{
    QStringList columns;
    for (const MovieColumn &column : kMovieColumns)
        columns << QStringLiteral("quote([%1])").arg(QLatin1String(column.name));
    QStringList rows = query(catalog, "SELECT " + columns.join(" || '|' || ") + " FROM Movies");
    rows.sort();
    return rows;
}

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run transfer(const QStringList &arguments, const QString &program = kProgram)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList titles(const QString &catalog)
{
    return query(catalog, "SELECT Title FROM Movies ORDER BY rowid");
}

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString freshCatalog(const QString &name, const QList<QVariantMap> &movies = {})
    {
        QFile::remove(path(name));
        createCatalog(path(name), movies);
        return path(name);
    }

  private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(kProgram).isExecutable(), qPrintable(kProgram + " is not built"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::newRow("csv") << "csv";
        QTest::newRow("tc") << "tc";
        QTest::newRow("xml") << "xml";
    }

    // Export, import into an empty catalog: every column of every movie as it was.
    void roundTrip()
    {
        QFETCH(QString, extension);
        const QString source = freshCatalog("source.mdb", hostileMovies());
        const QString copy = freshCatalog("copy.mdb");
        const QString file = path("movies." + extension);
        const FileFormat format = *FormatNamed({}, file);
        {
            auto db = Database::open(source);
            auto reader = OpenCatalogReader(*db);
            auto writer = OpenWriter(format, file);
            while (auto movie = reader->next())
                writer->write(*movie);
            writer->finish();
        }
        auto db = Database::open(copy);
        auto reader = OpenReader(format, file, {}, {});
        const ImportSummary summary = ImportMovies(*db, *reader, file, {});
        QCOMPARE(summary.added, int(hostileMovies().size()));
        QCOMPARE(catalogRows(copy), catalogRows(source));
    }

    void foreignFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("movies");
        QTest::addColumn<QString>("query"); // a value the import must have kept
        QTest::addColumn<QVariant>("expected");
        const QString data = QStringLiteral(REELWARDEN_TEST_DATA "/transfer/");
        const QString jet = QStringLiteral(REELWARDEN_JET_FIXTURES "/");
        const QStringList spreadsheet = {"--map", "Name=Title",     "--map", "genre=Category",
                                         "--map", "Year=Copyright", "--map", "Price=Value",
                                         "--map", "Notes=Comments"};
        QTest::newRow("spreadsheet, Windows-1252 text")
            << data + "spreadsheet-windows1252.csv" << spreadsheet << 3
            << "SELECT Comments FROM Movies WHERE Title = 'Amélie'"
            << QVariant("Prix: 12 € – «neuf»");
        QTest::newRow("spreadsheet, CRLF inside quotes and an amount with a comma")
            << data + "spreadsheet-windows1252.csv" << spreadsheet << 3
            << "SELECT Comments || '/' || Value FROM Movies WHERE Title = 'Ocean''s \"Eleven\"'"
            << QVariant("Line one\r\nLine two/1234.5");
        QTest::newRow("Access 2000") << jet + "movies-jet4-v2000.mdb" << QStringList() << 309
                                     << "SELECT Director FROM Movies WHERE Title = 'Amélie'"
                                     << QVariant("Jean-Pierre Jeunet");
        QTest::newRow("Access 2003, a long memo")
            << jet + "movies-jet4-v2003-memo.mdb" << QStringList() << 311
            << "SELECT Copyright FROM Movies WHERE Title = 'Min currency' AND "
               "Value = -922337203685477.5808"
            << QVariant(-32768);
        QTest::newRow("Access, no movies") << jet + "movies-empty-jet4.mdb" << QStringList() << 0
                                           << "SELECT count(*) FROM Movies" << QVariant(0);
        QTest::newRow("GCstar") << data + "gcstar-films.gcs" << QStringList() << 2
                                << "SELECT Copyright || '/' || Hours FROM Movies WHERE Director = "
                                   "'Marcel Carné'"
                                << QVariant("1945/3");
    }

    void foreignFiles()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, options);
        QFETCH(int, movies);
        QFETCH(QString, query);
        QFETCH(QVariant, expected);
        QVERIFY2(QFileInfo::exists(file), qPrintable(file + " is missing"));
        const QString catalog = freshCatalog("foreign.mdb");
        const Run run = transfer(QStringList{"import", file, "--catalog", catalog} + options);
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QCOMPARE(scalar(catalog, "SELECT count(*) FROM Movies").toInt(), movies);
        QCOMPARE(scalar(catalog, query).toString(), expected.toString());
    }

    void badInput_data()
    {
        addRows("transfer/bad_input.tsv", {"contentBytes", "arguments", "exitCode", "message"});
    }

    // A refusal says what is wrong and leaves the catalog byte for byte as it was.
    void badInput()
    {
        QFETCH(QByteArray, contentBytes);
        QFETCH(QString, arguments);
        QFETCH(QString, exitCode);
        QFETCH(QString, message);
        const QByteArray big = "Title,Comments\nAlien," + QByteArray(10 << 20, 'x') + "\n";
        const QByteArray content = contentBytes == "BIG"    ? big
                                   : contentBytes == "HALF" ? big.left(1 << 19) + "\nB,x\n"
                                                            : contentBytes;
        const QString catalog = freshCatalog("bad.mdb", titled({"Existing"}));
        QString file = path("input.csv");
        QFile::remove(file);
        if (content == "folder")
            QDir(m_dir.path()).mkpath(file = path("a folder.csv"));
        else if (content == "no-movies")
            file = QStringLiteral(REELWARDEN_JET_FIXTURES "/no-movies-jet4.mdb");
        else if (content != "missing")
            writeFile(file, content);
        if (arguments.contains("READONLY")) {
            if (geteuid() == 0)
                QSKIP("root may write to a read-only file");
            QFile::setPermissions(catalog, QFile::ReadOwner);
        }
        QStringList args;
        for (const QString &argument :
             (arguments.isEmpty() ? "import FILE --catalog CATALOG" : arguments).split(' '))
            args << (argument == "FILE"                                ? file
                     : argument == "CATALOG" || argument == "READONLY" ? catalog
                     : argument == "NOWHERE"                           ? path("nowhere.mdb")
                                                                       : argument);
        if (args.first() == "FULL") // no file may grow beyond 64 KiB: the disk is full
            args = QStringList{"-c", "trap '' XFSZ; ulimit -f 128; exec \"$0\" \"$@\"", kProgram} +
                   args.mid(1);
        const QByteArray before = readFile(catalog);
        const Run run = transfer(args, args.first() == "-c" ? "/bin/sh" : kProgram);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(run.code, exitCode.toInt());
        QCOMPARE(readFile(catalog), before);
        QFile::setPermissions(catalog, QFile::ReadOwner | QFile::WriteOwner);
    }

    void duplicates_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("skipped") << QStringList()
                                 << QStringList{"Alien", "Straße", "Brazil", "Alien (2)"};
        QTest::newRow("renamed") << QStringList{"--rename-duplicates"}
                                 << QStringList{"Alien",      "Straße",    "ALIEN (3)",  "Brazil",
                                                "brazil (2)", "Alien (2)", "STRASSE (2)"};
    }

    // --check says exactly what the import then does, and writes nothing.
    void duplicates()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, expected);
        const QString catalog = freshCatalog("dup.mdb", titled({"Alien", "Straße"}));
        writeFile(path("dup.csv"),
                               "Title\nALIEN\nBrazil\nbrazil\nAlien (2)\nSTRASSE\n");
        const QStringList import =
            QStringList{"import", path("dup.csv"), "--catalog", catalog} + options;
        const QByteArray before = readFile(catalog);
        const Run check = transfer(import + QStringList{"--check"});
        QCOMPARE(check.code, 0);
        QCOMPARE(readFile(catalog), before);
        const Run done = transfer(import);
        QCOMPARE(done.code, 0);
        QCOMPARE(done.out.section('\n', 1), check.out.section('\n', 1));
        QCOMPARE(titles(catalog), expected);
    }

    void killed_data()
    {
        QTest::addColumn<int>("afterMs");
        for (int ms : {40, 120, 200})
            QTest::newRow(qPrintable(QStringLiteral("after %1 ms").arg(ms))) << ms;
    }

    // An import killed at any moment leaves all of its movies or none, in a sound catalog.
    void killed()
    {
        QFETCH(int, afterMs);
        const QString catalog = freshCatalog("killed.mdb", titled({"Existing"}));
        QByteArray csv = "Title,Comments\n";
        for (int i = 0; i < 60000; ++i)
            csv += "Movie " + QByteArray::number(i) + ",\"Some comment, line " +
                   QByteArray::number(i) + "\"\n";
        writeFile(path("big.csv"), csv);
        QProcess process;
        process.start(kProgram, {"import", path("big.csv"), "--catalog", catalog});
        QVERIFY(process.waitForStarted());
        QTest::qWait(afterMs);
        process.kill();
        process.waitForFinished();
        const int count = titles(catalog).size(); // opening rolls an interrupted write back
        QVERIFY2(count == 1 || count == 60001, qPrintable(QString::number(count)));
        QCOMPARE(scalar(catalog, "PRAGMA integrity_check").toString(), "ok");
    }

    void backup_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("new file") << false << QStringList() << 0;
        QTest::newRow("existing file") << true << QStringList() << 1;
        QTest::newRow("existing file, --force") << true << QStringList{"--force"} << 0;
        QTest::newRow("the catalog itself") << true << QStringList{"--force", "SELF"} << 1;
    }

    // Backups while another connection holds the catalog open in the middle of a write.
    void backup()
    {
        QFETCH(bool, existing);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        const QString catalog = freshCatalog("open.mdb", hostileMovies());
        QString target = path("backup.mdb");
        QFile::remove(target);
        if (existing)
            writeFile(target, "keep me");
        if (options.removeAll("SELF"))
            target = catalog;
        const QByteArray before = readFile(target);
        auto open = Database::open(catalog);
        open->exec("BEGIN IMMEDIATE");
        open->exec("UPDATE Movies SET Director = 'pending' ");
        const Run run = transfer(QStringList{"backup", target, "--catalog", catalog} + options);
        open->exec("ROLLBACK");
        QVERIFY2(run.code == exitCode, qPrintable(run.err));
        if (exitCode != 0) {
            QCOMPARE(readFile(target), before);
            return;
        }
        QCOMPARE(catalogRows(target), catalogRows(catalog));
        QVERIFY(!QDir(m_dir.path()).entryList({"*.part"}).size());
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "test_transfer.moc"
