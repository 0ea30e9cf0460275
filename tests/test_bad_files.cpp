// Broken and foreign files beside the program: the catalog window's load refuses a catalog it
// cannot use with a message naming movies.mdb, reads any settings file as far as it makes
// sense, never crashes or hangs, and leaves every file byte for byte as it was.
#include "BoundControls.h"
#include "ListBox.h"
#include "Look.h"
#include "MessageBox.h"
#include "Settings.h"
#include "StoreError.h"
#include "TestCatalog.h"
#include "frmTarsel.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <random>

#include <unistd.h>

namespace {

const QByteArray kSchemaWithout =
    "CREATE TABLE Movies (Title TEXT, Category TEXT, Rating TEXT, Format TEXT, Value %1, "
    "Copyright INTEGER, Hours INTEGER, Minutes INTEGER, Condition TEXT, TapePosition TEXT, "
    "StarOne TEXT, StarTwo TEXT, StarThree TEXT, StarFour TEXT, Producer TEXT %2, Comments TEXT)";

QByteArray randomBytes(int size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random());
    return bytes;
}

void makeSqlite(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    TestCatalog::exec(db, sql);
    sqlite3_close(db);
}

QStringList items(const QComboBox *box)
{
    QStringList result;
    for (int i = 0; i < box->count(); ++i)
        result << box->itemText(i);
    return result;
}

struct Window {
    QTemporaryDir dir;
    QString catalog = dir.filePath(QStringLiteral("movies.mdb"));
    QString ini = dir.filePath(QStringLiteral("TARSEL.INI"));
    std::unique_ptr<frmTarsel> window;
    QStringList messages;

    Window()
    {
        SetUpFonts();
        setIniPath(ini);
        SetMsgBoxHook([this](const QString &text, int flags) {
            messages << QStringLiteral("%1|%2").arg(flags).arg(text);
            return int(vbOK);
        });
    }
    ~Window() { SetMsgBoxHook({}); }
    // Loads the window as start-up does; the load's refusal, if any.
    std::optional<StoreError> load()
    {
        window = std::make_unique<frmTarsel>(dir.path());
        try {
            window->Load();
        } catch (const StoreError &error) {
            return error;
        }
        return std::nullopt;
    }
};

} // namespace

class TestBadFiles : public QObject
{
    Q_OBJECT
private slots:
    void badCatalogIsRefusedPlainly_data();
    void badCatalogIsRefusedPlainly();
    void catalogUsableDespiteItsFileState_data();
    void catalogUsableDespiteItsFileState();
    void oddSettingsFileIsReadSafely_data();
    void oddSettingsFileIsReadSafely();
};

void TestBadFiles::badCatalogIsRefusedPlainly_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing") << QByteArray("missing") << "was not found";
    QTest::newRow("zero bytes") << QByteArray("empty") << "is empty";
    QTest::newRow("random bytes") << QByteArray("random") << "format is unknown";
    QTest::newRow("random bytes after an SQLite header") << QByteArray("sqlite-junk") << "is damaged";
    QTest::newRow("access signature") << QByteArray("access") << "Microsoft Access";
    QTest::newRow("access 2007 signature") << QByteArray("accdb") << "Microsoft Access";
    QTest::newRow("sqlite without Movies") << QByteArray("nomovies") << "holds no Movies table";
    QTest::newRow("column missing") << QByteArray("nodirector") << "without the column Director";
    QTest::newRow("column of another kind") << QByteArray("valuetext") << "column Value is of the wrong kind";
    QTest::newRow("directory") << QByteArray("folder") << "is a folder";
    QTest::newRow("locked exclusively by another program") << QByteArray("exclusive")
                                                           << "in use by another program";
}

void TestBadFiles::badCatalogIsRefusedPlainly()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, expected);
    Window w;
    sqlite3 *holder = nullptr;
    if (setup == "empty") {
        TestCatalog::writeFile(w.catalog, {});
    } else if (setup == "random") {
        TestCatalog::writeFile(w.catalog, randomBytes(65536, 7));
    } else if (setup == "sqlite-junk") {
        TestCatalog::writeFile(w.catalog, QByteArray("SQLite format 3", 16) + randomBytes(8192, 9));
    } else if (setup == "access") {
        TestCatalog::writeFile(w.catalog, QByteArray(4, '\0') + "Standard Jet DB" + randomBytes(4096, 1));
    } else if (setup == "accdb") {
        TestCatalog::writeFile(w.catalog, QByteArray(4, '\0') + "Standard ACE DB" + randomBytes(4096, 2));
    } else if (setup == "nomovies") {
        makeSqlite(w.catalog, QStringLiteral("CREATE TABLE Films (Title TEXT)"));
    } else if (setup == "nodirector") {
        makeSqlite(w.catalog, QString::fromLatin1(kSchemaWithout).arg("NUMERIC", ""));
    } else if (setup == "valuetext") {
        makeSqlite(w.catalog, QString::fromLatin1(kSchemaWithout).arg("TEXT", ", Director TEXT"));
    } else if (setup == "folder") {
        QDir().mkdir(w.catalog);
    } else if (setup == "exclusive") {
        TestCatalog::create(w.catalog, TestCatalog::titled({"Alien"}));
        sqlite3_open(QFile::encodeName(w.catalog).constData(), &holder);
        TestCatalog::exec(holder, QStringLiteral("BEGIN EXCLUSIVE"));
    }
    const QByteArray before = TestCatalog::fileHash(w.catalog);
    QElapsedTimer timer;
    timer.start();
    const auto refusal = w.load();
    sqlite3_close(holder);
    QVERIFY2(timer.elapsed() < 6000, "loading hung");
    QVERIFY2(refusal, "the file was loaded as a catalog");
    QVERIFY2(refusal->message().contains(expected), qPrintable(refusal->message()));
    QVERIFY2(refusal->message().contains(QLatin1String("movies.mdb")), qPrintable(refusal->message()));
    QCOMPARE(refusal->kind() == StoreError::Kind::AccessFormat, setup.startsWith("acc"));
    QCOMPARE(refusal->kind() == StoreError::Kind::Busy, setup == "exclusive");
    QCOMPARE(TestCatalog::fileHash(w.catalog), before);
    QCOMPARE(QFileInfo::exists(w.catalog), setup != "missing");
    QVERIFY(w.messages.isEmpty()); // the load reports; start-up shows the box
}

void TestBadFiles::catalogUsableDespiteItsFileState_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::newRow("read-only file") << QByteArray("readonly");
    QTest::newRow("another program writing") << QByteArray("reserved");
    QTest::newRow("another program reading") << QByteArray("shared");
}

// A catalog another program is writing, or a read-only one, can still be shown.
void TestBadFiles::catalogUsableDespiteItsFileState()
{
    QFETCH(QByteArray, state);
    Window w;
    TestCatalog::create(w.catalog, TestCatalog::titled({"Alien", "Brazil"}));
    sqlite3 *holder = nullptr;
    if (state == "readonly") {
        QFile::setPermissions(w.catalog, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    } else {
        sqlite3_open(QFile::encodeName(w.catalog).constData(), &holder);
        TestCatalog::exec(holder, QLatin1String(state == "reserved" ? "BEGIN IMMEDIATE" : "BEGIN"));
        TestCatalog::scalar(w.catalog, QStringLiteral("SELECT 1")); // no lock of its own
        sqlite3_stmt *reading = nullptr;
        sqlite3_prepare_v2(holder, "SELECT * FROM Movies", -1, &reading, nullptr);
        sqlite3_step(reading);
        sqlite3_finalize(reading);
    }
    const QByteArray before = TestCatalog::fileHash(w.catalog);
    QElapsedTimer timer;
    timer.start();
    const auto refusal = w.load();
    QVERIFY2(!refusal, refusal ? qPrintable(refusal->message()) : "");
    QVERIFY(timer.elapsed() < 3000);
    QCOMPARE(w.window->lstMovies()->ListCount(), 2);
    sqlite3_close(holder);
    QCOMPARE(TestCatalog::fileHash(w.catalog), before);
}

void TestBadFiles::oddSettingsFileIsReadSafely_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("categories");
    QTest::addColumn<QStringList>("ratings");
    const QStringList none;
    const QByteArray longValue(1024 * 1024, 'x');
    QByteArray manySections;
    for (int i = 0; i < 20000; ++i)
        manySections += "[Section" + QByteArray::number(i) + "]\nKey=" + QByteArray::number(i) + "\n";
    QByteArray junk = randomBytes(256 * 1024, 3);
    QTest::newRow("binary junk") << junk << none << none;
    QTest::newRow("junk with NULs before the lists")
        << QByteArray(4096, '\0') + "\n[Ratings]\nRatingTotal=1\nRating.1=PG\n" << none
        << QStringList{"PG"};
    QTest::newRow("megabyte line")
        << "[Categories]\nCategoryTotal=2\nCategory.1=" + longValue + "\nCategory.2=Drama\n"
        << QStringList{QString(MaxIniValueLength, 'x'), "Drama"} << none;
    QTest::newRow("megabyte line without line break")
        << "[Ratings]\nRatingTotal=1\nRating.1=G\n[Junk]\n" + longValue << none << QStringList{"G"};
    QTest::newRow("thousands of sections")
        << manySections + "[Categories]\nCategoryTotal=1\nCategory.1=Horror\n"
        << QStringList{"Horror"} << none;
    QTest::newRow("negative count") << QByteArray("[Categories]\nCategoryTotal=-3\nCategory.1=A\n")
                                    << none << none;
    QTest::newRow("huge negative count")
        << QByteArray("[Categories]\nCategoryTotal=-99999999999999999999\nCategory.1=A\n") << none
        << none;
    QTest::newRow("fractional count")
        << QByteArray("[Ratings]\nRatingTotal=1.5\nRating.1=G\nRating.2=PG\nRating.3=R\n") << none
        << QStringList{"G", "PG"};
    QTest::newRow("count not a number")
        << QByteArray("[Ratings]\nRatingTotal=two\nRating.1=G\n") << none << none;
    QTest::newRow("count with exponent junk")
        << QByteArray("[Ratings]\nRatingTotal=1e999x\nRating.1=G\n") << none << none;
    QTest::newRow("duplicate sections and keys")
        << QByteArray("[Ratings]\nRatingTotal=1\nRating.1=G\nRating.1=R\n[ratings]\nRatingTotal=2\n"
                      "Rating.2=PG\n")
        << none << QStringList{"G"};
    QTest::newRow("no trailing newline") << QByteArray("[Ratings]\nRatingTotal=1\nRating.1=G")
                                         << none << QStringList{"G"};
    QTest::newRow("CRLF") << QByteArray("[Ratings]\r\nRatingTotal=2\r\nRating.1=G\r\nRating.2=R\r\n")
                          << none << QStringList{"G", "R"};
    QTest::newRow("byte-order mark")
        << QByteArray("\xEF\xBB\xBF[Categories]\nCategoryTotal=1\nCategory.1=Com\xC3\xA9" "die\n")
        << QStringList{QStringLiteral("Comédie")} << none;
    QTest::newRow("Windows-1252")
        << QByteArray("[Categories]\r\nCategoryTotal=2\r\nCategory.1=Com\xE9" "die\r\n"
                      "Category.2=\x93" "Noir\x94\r\n")
        << QStringList{QStringLiteral("Comédie"), QStringLiteral("\u201CNoir\u201D")} << none;
}

void TestBadFiles::oddSettingsFileIsReadSafely()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, categories);
    QFETCH(QStringList, ratings);
    Window w;
    TestCatalog::create(w.catalog, TestCatalog::titled({"Alien"}));
    TestCatalog::writeFile(w.ini, ini);
    const QByteArray before = TestCatalog::fileHash(w.ini);
    QElapsedTimer timer;
    timer.start();
    const auto refusal = w.load();
    QVERIFY2(!refusal, refusal ? qPrintable(refusal->message()) : "");
    QVERIFY2(timer.elapsed() < 5000, "reading the settings file took too long");
    QCOMPARE(items(w.window->cboCategory()), categories);
    QCOMPARE(items(w.window->cboRating()), ratings);
    QCOMPARE(w.window->lstMovies()->ListCount(), 1);
    QCOMPARE(TestCatalog::fileHash(w.ini), before);
}

QTEST_MAIN(TestBadFiles)
#include "test_bad_files.moc"
