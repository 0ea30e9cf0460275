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

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
