// Backups without a window: which daily backups are kept, the question asked before an
// import, and another Reelwarden catalog or backup as a file to import from, also through
// reelwarden-transfer.
#include "BackupRetention.h"
#include "DailyBackup.h"
#include "Formats.h"
#include "ImportQuestion.h"
#include "TestData.h"

class TestBackups : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

  private slots:
    void retention_data() { addRows("window/daily_backups.tsv", {"days", "kept"}); }
    // The rule applied after each day's backup, as the window applies it.
    void retention()
    {
        QFETCH(QString, days);
        QFETCH(QString, kept);
        QList<QDate> folder;
        for (const QString &day : days.split(u',')) {
            const QDate today = QDate::fromString(day, Qt::ISODate);
            folder = BackupRetention::kept(folder << today, today);
        }
        QStringList names;
        for (const QDate day : folder)
            names.prepend(BackupRetention::fileName(day));
        QCOMPARE(names.join(u','), kept);
        QCOMPARE(BackupRetention::dayOf(names.first()), folder.last());
    }

    void notDailyBackupNames_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name :
             {"movies-2026-02-30.mdb", "movies-2026-1-05.mdb", "movies-2026-01-05.mdb.part",
              "Movies-2026-01-05.mdb", "notes.txt"})
            QTest::newRow(name) << QString(name);
    }
    // Only the day's backups are the rule's: other files in the folder are left alone.
    void notDailyBackupNames()
    {
        QFETCH(QString, name);
        QVERIFY(!BackupRetention::dayOf(name).isValid());
    }

    // Counts in words, lists cut after ten lines with the number left out, notes kept.
    void importQuestion()
    {
        ImportSummary trial;
        trial.added = 1;
        for (int i = 1; i <= 12; ++i)
            trial.skipped << QStringLiteral("movie %1: Alien %1").arg(i);
        trial.unusedColumns = QStringList{"Genre", "Studio"};
        trial.notes = QStringList{"2 actors beyond the fourth left out in 1 movie"};
        const QString text = ImportQuestion::text(trial, "backup.mdb");
        QVERIFY2(matches(text,
                         "Import the movies of backup.mdb into the catalog?\n\n"
                         "1 movie would be added.\n\n12 movies would be skipped, *:\n"
                         "    movie 1: Alien 1\n*    movie 10: Alien 10\n    ... and 2 more\n\n"
                         "Columns of the file that would not be used: Genre, Studio.\n\n"
                         "On the way in:\n    2 actors beyond the fourth left out in 1 movie"),
                 qPrintable(text));
        QVERIFY(!text.contains("Alien 11"));
        QVERIFY(ImportQuestion::text({}, "a.csv").endsWith("\n\nNo movie would be added."));
    }

    void formatByContent_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected"); // the format's name, empty when refused
        QTest::newRow("catalog as .mdb") << "catalog"
                                         << "movies.mdb"
                                         << ""
                                         << "reelwarden";
        QTest::newRow("backup as .bak") << "catalog"
                                        << "movies.bak"
                                        << ""
                                        << "reelwarden";
        QTest::newRow("catalog, --format csv") << "catalog"
                                               << "old.mdb"
                                               << "csv"
                                               << "csv";
        QTest::newRow("other program's movies table") << "griffith"
                                                      << "griffith.db"
                                                      << ""
                                                      << "griffith";
        QTest::newRow("other program's, as .mdb") << "griffith"
                                                  << "other.mdb"
                                                  << ""
                                                  << "mdb";
        QTest::newRow("text, no known extension") << "text"
                                                  << "notes.sqlite"
                                                  << ""
                                                  << "";
    }
    // A Reelwarden catalog is known by what it holds, whatever its name; another program's
    // SQLite file with a table of movies is not one.
    void formatByContent()
    {
        QFETCH(QString, content);
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        if (content == "catalog")
            createCatalog(path, titled({"Alien"}));
        else if (content == "griffith")
            QVERIFY(exec(path, "CREATE TABLE movies (movie_id INTEGER PRIMARY KEY, title TEXT, "
                               "o_title TEXT, director TEXT, year INTEGER, notes TEXT);"));
        else
            QVERIFY(writeFile(path, "SQLite format 3 is what this text says"));
        QString found;
        try {
            found = FormatToRead(format, path).name();
        } catch (const TransferError &) {
        }
        QCOMPARE(found, expected);
    }

    // reelwarden-transfer brings back the movies deleted since a backup, and leaves the others
    // as they are now.
    void transferRestoresFromBackup()
    {
        const QString catalog = m_dir.filePath("restore.mdb");
        QFile::remove(catalog);
        createCatalog(catalog, {{{"Title", "Alien"}, {"Value", 12.5}},
                                {{"Title", "Brazil"}, {"Director", "Gilliam"}, {"Hours", 2}},
                                {{"Title", "Heat"}}});
        const QString backup =
            m_dir.filePath("backups/" + BackupRetention::fileName(QDate(2026, 5, 1)));
        QCOMPARE(DailyBackup(catalog, QDate(2026, 5, 1)).run(), QString());
        QVERIFY(!DailyBackup(catalog, QDate(2026, 5, 1)).due());
        QVERIFY(exec(catalog, "DELETE FROM Movies WHERE Title = 'Brazil';"
                              "UPDATE Movies SET Value = 20 WHERE Title = 'Alien';"));
        const Run run = runProgram(REELWARDEN_TRANSFER, {"import", backup, "--catalog", catalog});
        QVERIFY2(run.code == 0, qPrintable(run.err));
        QCOMPARE(scalar(catalog, "SELECT group_concat(Title || '|' || ifnull(Value, '') || '|' || "
                                 "ifnull(Director, '') || '|' || ifnull(Hours, ''), ',') FROM "
                                 "(SELECT * FROM Movies ORDER BY Title)")
                     .toString(),
                 QStringLiteral("Alien|20||,Brazil||Gilliam|2,Heat|||"));
    }
};

QTEST_MAIN(TestBackups)
#include "test_backups.moc"
