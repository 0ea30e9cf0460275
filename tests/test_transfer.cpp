// Import, export and backup: round trips through every format that reads and writes, files
// other programs wrote, refusals that leave the catalog byte for byte as it was, duplicate
// titles, --check and backups, through the real reelwarden-transfer where the exit status
// matters.
#include "CatalogImport.h"
#include "CatalogReader.h"
#include "Database.h"
#include "Formats.h"
#include "MovieColumns.h"
#include "TestData.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
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
        M{{"Title", "=HYPERLINK(\"http://x\",\"y\")"}, {"Director", "@SUM(1+1)"}},
        M{{"Title", "+cmd|' /C calc'!A0"}, {"Value", -3.5}},
        M{{"Title", "@SUM(1+1)"}, {"Comments", "\tindented"}},
        M{{"Title", "-ism, a word"}, {"Producer", "'=already quoted"}},
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
    for (const MovieColumnInfo &column : kMovieColumns)
        columns << QStringLiteral("quote([%1])").arg(QLatin1String(column.name));
    QStringList rows = query(catalog, "SELECT " + columns.join(" || '|' || ") + " FROM Movies");
    rows.sort();
    return rows;
}

Run transfer(const QStringList &arguments, const QString &program = kProgram)
{
    return runProgram(program, arguments);
}

// The large hostile files, made at run time: name -> bytes.
QByteArray generated(const QString &name)
{
    const auto many = [](const char *text, int times) { return QByteArray(text).repeated(times); };
    if (name == u"nested.gcs")
        return "<collection type=\"GCfilms\"><item>" + many("<a>", 5'000'000);
    if (name == u"title.xml")
        return "<tellico><collection type=\"3\"><entry><title>" + QByteArray(100 << 20, 'a');
    if (name == u"comment.xml")
        return "<tellico><collection type=\"3\"><!--" + QByteArray(9 << 20, 'c') + "-->";
    if (name == u"cast.xml")
        return "<tellico><collection type=\"3\"><entry><casts>" +
               many("<cast><column/></cast>", 100'001);
    QByteArray items = "<collection type=\"GCfilms\"><item title=\"T\"";
    for (int i = 0; i < 100'000; ++i)
        items += QByteArray(name == u"attributes.gcs" ? " a%1=\"\"" : "><n%1>x</n%1")
                     .replace("%1", QByteArray::number(i));
    return items + "></item></collection>";
}

// The names in a folder, hidden ones too.
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
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
        for (const char *extension : {"csv", "tc", "xml"})
            QTest::newRow(extension) << QString(extension);
    }

    // Export, import into an empty catalog: every column of every movie as it was.
    void roundTrip()
    {
        QFETCH(QString, extension);
        const QString source = freshCatalog("source.mdb", hostileMovies());
        const QString copy = freshCatalog("copy.mdb");
        const QString file = path("movies." + extension);
        const FormatRow &format = *FormatNamed({}, file);
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
        // A spreadsheet opening the export shows these cells as text instead of running them.
        const QByteArray text = readFile(file);
        for (const char *cell :
             {"\n\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",", "\n'+cmd|' /C calc'!A0,",
              "\n'@SUM(1+1),", "\"'-ism, a word\"", "''=already quoted"})
            QVERIFY2(extension != u"csv" || text.contains(cell), cell);
    }

    void foreignFiles_data()
    {
        addRows("transfer/foreign_files.tsv", {"file", "options", "movies", "query", "expected"});
    }

    void foreignFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, options);
        QFETCH(QString, movies);
        QFETCH(QString, query);
        QFETCH(QString, expected);
        REQUIRE_FILE(dataPath(file));
        const QString catalog = freshCatalog("foreign.mdb");
        const Run run = transfer(QStringList{"import", dataPath(file), "--catalog", catalog} +
                                 options.split(' ', Qt::SkipEmptyParts));
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QCOMPARE(scalar(catalog, "SELECT count(*) FROM Movies").toInt(), movies.toInt());
        QCOMPARE(scalar(catalog, query).toString(), expected);
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

    void duplicates_data() { addRows("transfer/duplicates.tsv", {"options", "expected"}); }

    // --check says exactly what the import then does, and writes nothing.
    void duplicates()
    {
        QFETCH(QString, options);
        QFETCH(QString, expected);
        const QString catalog = freshCatalog("dup.mdb", titled({"Alien", "Straße"}));
        writeFile(path("dup.csv"), "Title\nALIEN\nBrazil\nbrazil\nAlien (2)\nSTRASSE\n");
        const QStringList import = QStringList{"import", path("dup.csv"), "--catalog", catalog} +
                                   options.split(' ', Qt::SkipEmptyParts);
        const QByteArray before = readFile(catalog);
        const Run check = transfer(import + QStringList{"--check"});
        QCOMPARE(check.code, 0);
        QCOMPARE(readFile(catalog), before);
        const Run done = transfer(import);
        QCOMPARE(done.code, 0);
        QCOMPARE(done.out.section('\n', 1), check.out.section('\n', 1));
        QCOMPARE(query(catalog, "SELECT Title FROM Movies ORDER BY rowid"), expected.split(", "));
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
        // opening rolls an interrupted write back
        const int count = query(catalog, "SELECT Title FROM Movies").size();
        QVERIFY2(count == 1 || count == 60001, qPrintable(QString::number(count)));
        QCOMPARE(scalar(catalog, "PRAGMA integrity_check").toString(), "ok");
    }

    void hostileFiles_data()
    {
        addRows("transfer/hostile_files.tsv", {"file", "exitCode", "message"});
    }

    // Refused with the limit's name, in bounded memory, the catalog as it was, nothing left.
    void hostileFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, exitCode);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QString catalog = folder.filePath("movies.mdb");
        createCatalog(catalog, titled({"Existing"}));
        QString input = dataPath(file);
        if (file.startsWith("generated:")) {
            input = m_dir.filePath(file.mid(10));
            QFile::remove(input);
            QVERIFY(input.endsWith("fifo.csv") ? ::mkfifo(QFile::encodeName(input), 0600) == 0
                                               : writeFile(input, generated(file.mid(10))));
        } else {
            REQUIRE_FILE(input);
        }
        const QByteArray before = readFile(catalog);
        const QStringList import{"import", input, "--catalog", catalog};
#ifdef __SANITIZE_ADDRESS__ // the sanitizer reserves terabytes of address space
        const Run run = transfer(import);
#else
        const Run run = transfer(
            QStringList{"--as=" + QString::number(300 << 20), kProgram} + import, "prlimit");
#endif
        if (file.startsWith("generated:"))
            QFile::remove(input);
        QVERIFY2(run.err.contains(message) || run.out.contains(message), qPrintable(run.err));
        QVERIFY2(!run.err.contains("QIODevice") && !run.err.contains("QFile"), qPrintable(run.err));
        QCOMPARE(run.code, exitCode.toInt());
        if (run.code != 0)
            QCOMPARE(readFile(catalog), before);
        QCOMPARE(namesIn(folder.path()), QStringList{"movies.mdb"});
    }

    void writeTargets_data()
    {
        addRows("transfer/write_targets.tsv",
                {"existing", "options", "exitCode", "message", "after"});
    }

    // Only a regular file is ever replaced, a link never written through; nothing is left.
    void writeTargets()
    {
        QFETCH(QString, existing);
        QFETCH(QString, options);
        QFETCH(QString, exitCode);
        QFETCH(QString, message);
        QFETCH(QString, after);
        const QString catalog = freshCatalog("targets.mdb", hostileMovies());
        for (const QString extension : {"csv", "tc", "xml", "html", "mdb"}) {
            QTemporaryDir folder;
            const QString target = folder.filePath("out." + extension);
            const QString linked = folder.filePath("linked");
            writeFile(linked, "keep me");
            const bool ready =
                existing == u"file"       ? writeFile(target, "keep me")
                : existing == u"link"     ? QFile::link(linked, target)
                : existing == u"dangling" ? QFile::link(folder.filePath("none"), target)
                : existing == u"folder"   ? QDir().mkdir(target)
                : existing == u"fifo"
                    ? ::mkfifo(QFile::encodeName(target), 0600) == 0
                    : ::mknod(QFile::encodeName(target), S_IFCHR | 0600, makedev(1, 3)) == 0;
            if (!ready)
                QSKIP("this user cannot make a device");
            const QStringList names = namesIn(folder.path());
            const Run run = transfer(QStringList{extension == u"mdb" ? "backup" : "export", target,
                                                 "--catalog", catalog} +
                                     options.split(' ', Qt::SkipEmptyParts));
            QVERIFY2(run.code == exitCode.toInt() && run.err.contains(message),
                     qPrintable(run.err));
            QCOMPARE(namesIn(folder.path()), names);
            QCOMPARE(readFile(linked), QByteArray("keep me"));
            const QFileInfo now(target);
            QCOMPARE(now.isFile() && !now.isSymLink() && now.size() > 7, after == u"file");
        }
    }

    // A killed export leaves its staging file; the next run in the folder removes it.
    void killedExportLeavesNothing()
    {
        const QString catalog = freshCatalog("large.mdb");
        QVERIFY(exec(catalog, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                              "WHERE i < 30000) INSERT INTO Movies (Title, Comments) "
                              "SELECT 'Movie ' || i, printf('%.3000c', 'x') FROM n"));
        QTemporaryDir folder;
        QProcess killed;
        killed.start(kProgram, {"export", folder.filePath("a.tc"), "--catalog", catalog});
        QTRY_VERIFY_WITH_TIMEOUT(namesIn(folder.path()).size() > 0, 20000);
        killed.kill();
        killed.waitForFinished();
        QVERIFY(namesIn(folder.path()).join(' ').contains(".reelwarden-"));
        QCOMPARE(transfer({"export", folder.filePath("b.csv"), "--catalog", catalog}).code, 0);
        QCOMPARE(namesIn(folder.path()), QStringList{"b.csv"});
    }

    void backup_data()
    {
        addRows("transfer/backups.tsv", {"existing", "options", "exitCode"});
    }

    // Backups while another connection holds the catalog open in the middle of a write.
    void backup()
    {
        QFETCH(QString, existing);
        QFETCH(QString, options);
        QFETCH(QString, exitCode);
        const QString catalog = freshCatalog("open.mdb", hostileMovies());
        QString target = path("backup.mdb");
        QFile::remove(target);
        if (existing == u"yes")
            writeFile(target, "keep me");
        QStringList arguments = options.split(' ', Qt::SkipEmptyParts);
        if (arguments.removeAll("SELF"))
            target = catalog;
        const QByteArray before = readFile(target);
        auto open = Database::open(catalog);
        open->exec("BEGIN IMMEDIATE");
        open->exec("UPDATE Movies SET Director = 'pending' ");
        const Run run = transfer(QStringList{"backup", target, "--catalog", catalog} + arguments);
        open->exec("ROLLBACK");
        QVERIFY2(run.code == exitCode.toInt(), qPrintable(run.err));
        if (exitCode != u"0") {
            QCOMPARE(readFile(target), before);
            return;
        }
        QCOMPARE(catalogRows(target), catalogRows(catalog));
        QVERIFY(!QDir(m_dir.path()).entryList({"*.part"}).size());
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "test_transfer.moc"
