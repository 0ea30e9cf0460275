// Start-up: the settings file on a first run, a catalog that cannot be opened, and an Access
// catalog converted when the user agrees.
#include "BackupRetention.h"
#include "Look.h"
#include "Main.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>

class TestStartup : public QObject
{
    Q_OBJECT
  private slots:
    void init() { SetUpFonts(); }

    // A first run writes the default settings (the settings tests check its bytes); an
    // existing file is never rewritten.
    void settingsFile()
    {
        for (const QByteArray &before :
             {QByteArray(),
              QByteArray("[Ratings]\r\nRatingTotal=1\r\nRating.1=PG\r\n; kept\r\n")}) {
            QTemporaryDir dir;
            createCatalog(dir.filePath("movies.mdb"), titled({"Brazil", "Alien"}));
            if (!before.isNull())
                QVERIFY(writeFile(dir.filePath("TARSEL.INI"), before));
            auto window = StartUp(dir.path());
            QVERIFY(window && window->isVisible());
            QVERIFY(!QApplication::overrideCursor());
            QVERIFY(!qApp->findChild<QWidget *>(QStringLiteral("frmSplash")));
            QCOMPARE(window->lstMovies()->ListIndex(), 0);
            QCOMPARE(window->cboRating()->count(), before.isNull() ? 0 : 1);
            const QByteArray after = readFile(dir.filePath("TARSEL.INI"));
            QVERIFY2(before.isNull() ? after.startsWith("[Categories]\nAudio Tapes=TRUE\n")
                                     : after == before,
                     after.constData());
            // The day's backup follows once the window is on screen.
            QTRY_VERIFY(QFileInfo::exists(
                dir.filePath("backups/" + BackupRetention::fileName(QDate::currentDate()))));
        }
    }

    // The load's message names the file and its folder; nothing is created or changed.
    void catalogThatCannotBeOpenedIsReported_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("foreign") << QByteArray("not a catalog at all");
    }
    void catalogThatCannotBeOpenedIsReported()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("movies.mdb"));
        if (!content.isNull())
            QVERIFY(writeFile(path, content));
        MessageBoxes boxes;
        QVERIFY(!StartUp(dir.path()));
        QVERIFY2(boxes.shown.size() == 1 &&
                     matches(boxes.shown[0],
                             "16|*movies.mdb*" + QDir::toNativeSeparators(dir.path()) + '*'),
                 qPrintable(boxes.shown.join('\n')));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(readFile(path), content);
    }

    void accessCatalogIsConvertedWhenTheUserAgrees_data()
    {
        QTest::addColumn<int>("answer");
        for (const int answer : {vbYes, vbNo})
            QTest::newRow(answer == vbYes ? "yes" : "no") << answer;
    }
    void accessCatalogIsConvertedWhenTheUserAgrees()
    {
        QFETCH(int, answer);
        const QString fixture = QStringLiteral(REELWARDEN_JET_FIXTURES "/movies-jet4-v2000.mdb");
        REQUIRE_FILE(fixture);
        QTemporaryDir dir;
        const QString reader = dir.filePath(QStringLiteral("reelwarden-mdb-reader"));
        QVERIFY(QFile::copy(fixture, dir.filePath("movies.mdb")));
        QVERIFY(QFile::copy(QStringLiteral(READER_PROGRAM), reader));
        QFile::setPermissions(reader, QFile::ExeOwner | QFile::ReadOwner);
        MessageBoxes boxes;
        boxes.otherwise = answer;
        int exitCode = -1;
        auto window = StartUp(dir.path(), &exitCode);
        QCOMPARE(boxes.shown.value(0),
                 QStringLiteral("36|movies.mdb was written by an earlier version of Reelwarden "
                                "(Microsoft Access format). Convert it to the current format? The "
                                "original file will be kept as movies-access.mdb."));
        QCOMPARE(exitCode, 0);
        QCOMPARE(bool(window), answer == vbYes);
        QCOMPARE(readFile(dir.filePath(answer == vbYes ? "movies-access.mdb" : "movies.mdb")),
                 readFile(fixture));
        QCOMPARE(QFileInfo::exists(dir.filePath("movies-access.mdb")), answer == vbYes);
        if (window) {
            QCOMPARE(window->lstMovies()->ListCount(), 309);
            QCOMPARE(window->txtTitle()->text(), window->lstMovies()->List(0));
            QVERIFY(!QApplication::overrideCursor());
        }
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
