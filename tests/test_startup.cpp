// Start-up: the settings file on a first run, the splash, and a catalog that cannot be opened.
#include "Main.h"
#include "MessageBox.h"
#include "Settings.h"
#include "TestCatalog.h"
#include "Look.h"
#include "frmTarsel.h"
#include "ListBox.h"
#include "BoundControls.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void init() { SetUpFonts(); }
    void cleanup() { SetMsgBoxHook({}); }
    void firstRunWritesTheDefaultEntries();
    void existingSettingsFileIsNeverRewritten();
    void catalogThatCannotBeOpenedIsReported_data();
    void catalogThatCannotBeOpenedIsReported();
    void settingsPathAddsTheSeparator();
    void accessCatalogIsConvertedWhenTheUserAgrees_data();
    void accessCatalogIsConvertedWhenTheUserAgrees();
};

void TestStartup::firstRunWritesTheDefaultEntries()
{
    QTemporaryDir dir;
    TestCatalog::create(dir.filePath(QStringLiteral("movies.mdb")),
                        TestCatalog::titled({"Brazil", "Alien"}));
    auto window = StartUp(dir.path());
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!qApp->findChild<QWidget *>(QStringLiteral("frmSplash")));
    QCOMPARE(window->lstMovies()->ListIndex(), 0);
    QCOMPARE(window->cboCategory()->count(), 0);
    QFile ini(dir.filePath(QStringLiteral("TARSEL.INI")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(ini.readAll()).split('\n', Qt::SkipEmptyParts);
    const QStringList names = {"Audio Tapes", "Beanie Babies", "Books",       "Coins",
                               "Comic Books", "Magazines",     "Movies",      "Music CDs",
                               "PC Games",    "PC Software",   "Records",     "Sports Cards",
                               "Stamps",      "Video Games"};
    QCOMPARE(lines.size(), 15);
    QCOMPARE(lines.first().trimmed(), QStringLiteral("[Categories]"));
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(lines[i + 1].trimmed(), names[i] + QStringLiteral("=TRUE"));
}

void TestStartup::existingSettingsFileIsNeverRewritten()
{
    QTemporaryDir dir;
    TestCatalog::create(dir.filePath(QStringLiteral("movies.mdb")));
    const QString ini = dir.filePath(QStringLiteral("TARSEL.INI"));
    TestCatalog::writeFile(ini, "[Ratings]\r\nRatingTotal=1\r\nRating.1=PG\r\n; kept\r\n");
    const QByteArray before = TestCatalog::fileHash(ini);
    auto window = StartUp(dir.path());
    QVERIFY(window);
    QCOMPARE(TestCatalog::fileHash(ini), before);
    QCOMPARE(window->cboRating()->itemText(0), QStringLiteral("PG"));
}

void TestStartup::catalogThatCannotBeOpenedIsReported_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("foreign") << QByteArray("not a catalog at all");
}

void TestStartup::catalogThatCannotBeOpenedIsReported()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("movies.mdb"));
    if (!content.isNull())
        TestCatalog::writeFile(path, content);
    QStringList shown;
    SetMsgBoxHook([&](const QString &text, int flags) {
        shown << QStringLiteral("%1|%2").arg(flags).arg(text);
        return int(vbOK);
    });
    QVERIFY(!StartUp(dir.path()));
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].startsWith(QStringLiteral("16|")));
    QVERIFY(shown[0].contains(QStringLiteral("movies.mdb")));
    QVERIFY(shown[0].contains(QDir::toNativeSeparators(dir.path())));
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(QFileInfo::exists(path), !content.isNull()); // never created
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
}

void TestStartup::settingsPathAddsTheSeparator()
{
    QCOMPARE(iniPathFor(QStringLiteral("/opt/reelwarden")), QStringLiteral("/opt/reelwarden/TARSEL.INI"));
    QCOMPARE(iniPathFor(QStringLiteral("/")), QStringLiteral("//TARSEL.INI"));
}

void TestStartup::accessCatalogIsConvertedWhenTheUserAgrees_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(vbYes);
    QTest::newRow("no") << int(vbNo);
}

void TestStartup::accessCatalogIsConvertedWhenTheUserAgrees()
{
    QFETCH(int, answer);
    QTemporaryDir dir;
    const QString catalog = dir.filePath(QStringLiteral("movies.mdb"));
    QVERIFY(QFile::copy(QStringLiteral(REELWARDEN_JET_FIXTURES "/movies-jet4-v2000.mdb"), catalog));
    QVERIFY(QFile::copy(QStringLiteral(READER_PROGRAM),
                        dir.filePath(QStringLiteral("reelwarden-mdb-reader"))));
    QFile::setPermissions(dir.filePath(QStringLiteral("reelwarden-mdb-reader")),
                          QFile::ExeOwner | QFile::ReadOwner);
    const QByteArray original = TestCatalog::fileHash(catalog);
    QStringList shown;
    SetMsgBoxHook([&](const QString &text, int flags) {
        shown << QStringLiteral("%1|%2").arg(flags).arg(text);
        return answer;
    });
    int exitCode = -1;
    auto window = StartUp(dir.path(), &exitCode);
    QCOMPARE(shown.value(0),
             QStringLiteral("36|movies.mdb was written by an earlier version of Reelwarden "
                            "(Microsoft Access format). Convert it to the current format? The "
                            "original file will be kept as movies-access.mdb."));
    QCOMPARE(exitCode, 0);
    if (answer == vbNo) {
        QVERIFY(!window);
        QCOMPARE(TestCatalog::fileHash(catalog), original);
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("movies-access.mdb"))));
        return;
    }
    QVERIFY(window);
    QCOMPARE(TestCatalog::fileHash(dir.filePath(QStringLiteral("movies-access.mdb"))), original);
    QCOMPARE(window->lstMovies()->ListCount(), 309);
    QCOMPARE(window->lstMovies()->ListIndex(), 0);
    QCOMPARE(window->txtTitle()->text(), window->lstMovies()->List(0));
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
