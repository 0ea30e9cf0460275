// Broken and foreign files beside the program: a catalog that cannot be used is refused with
// a message naming movies.mdb, one in an odd state is still shown, a settings file is read as
// far as it makes sense, nothing hangs, and every file stays byte for byte as it was.
#include "CatalogSchema.h"
#include "Settings.h"
#include "StoreError.h"
#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>

#include <random>

namespace {

QByteArray randomBytes(int size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random());
    return bytes;
}

} // namespace

class TestBadFiles : public QObject
{
    Q_OBJECT
private slots:
    void badCatalogIsRefusedPlainly_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // a catalog made with this SQL when it is SQL
        QTest::addColumn<QString>("expected");
        const QByteArray table = QByteArray(kCatalogSchemaSql).trimmed(); // begins with a comment
        const auto row = [](const char *name, const QByteArray &bytes, const char *expected) {
            QTest::newRow(name) << bytes << QString(expected);
        };
        row("missing", {}, "was not found");
        row("folder", "folder", "is a folder");
        row("zero bytes", "", "is empty");
        row("random bytes", randomBytes(65536, 7), "format is unknown");
        row("random bytes after an SQLite header",
            QByteArray("SQLite format 3", 16) + randomBytes(8192, 9), "is damaged");
        row("access signature", QByteArray(4, '\0') + "Standard Jet DB" + randomBytes(4096, 1),
            "Microsoft Access");
        row("access 2007 signature", QByteArray(4, '\0') + "Standard ACE DB" + randomBytes(4096, 2),
            "Microsoft Access");
        row("access signature at the start", QByteArray("Standard Jet DB\0\0\0\0\0", 20), "format is unknown");
        row("access signature cut short", QByteArray(4, '\0') + "Standard Jet", "format is unknown");
        row("no Movies table", "CREATE TABLE Films (Title TEXT)", "holds no Movies table");
        row("column missing", QByteArray(table).replace("Director TEXT COLLATE NOCASE,", ""),
            "without the column Director");
        row("column of another kind", QByteArray(table).replace("Value NUMERIC", "Value TEXT"),
            "column Value is of the wrong kind");
        row("locked exclusively by another program", "exclusive", "in use by another program");
    }
    void badCatalogIsRefusedPlainly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("movies.mdb"));
        std::unique_ptr<OtherProgram> holder;
        if (bytes == "folder") {
            QDir().mkdir(path);
        } else if (bytes == "exclusive") {
            createCatalog(path);
            holder = std::make_unique<OtherProgram>(path, "BEGIN EXCLUSIVE; SELECT count(*) FROM Movies");
        } else if (bytes.contains("CREATE TABLE")) {
            QVERIFY(exec(path, bytes));
        } else if (!bytes.isNull()) {
            writeFile(path, bytes);
        }
        const QByteArray before = readFile(path);
        QElapsedTimer timer;
        timer.start();
        try {
            BoundCatalog opened(path);
            QFAIL("the file was opened as a catalog");
        } catch (const StoreError &error) {
            QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
            QVERIFY(error.message().contains(QStringLiteral("movies.mdb")));
            QVERIFY(error.message().contains(QDir::toNativeSeparators(dir.path())));
            QCOMPARE(error.kind() == StoreError::Kind::AccessFormat, expected == "Microsoft Access");
            QCOMPARE(error.kind() == StoreError::Kind::Busy, bool(holder));
        }
        QVERIFY2(timer.elapsed() < 6000, "opening hung");
        QCOMPARE(readFile(path), before);
        QCOMPARE(QFileInfo::exists(path), !bytes.isNull());
    }

    // A catalog another program is writing or reading, or a read-only one, is still shown.
    void catalogUsableDespiteItsFileState_data()
    {
        QTest::addColumn<QByteArray>("begin");
        QTest::newRow("read-only file") << QByteArray();
        QTest::newRow("another program writing") << QByteArray("BEGIN IMMEDIATE");
        QTest::newRow("another program reading") << QByteArray("BEGIN");
    }
    void catalogUsableDespiteItsFileState()
    {
        QFETCH(QByteArray, begin);
        MainWindowFixture f(titled({"Alien", "Brazil"}), {}, {}, false);
        if (begin.isNull())
            QFile::setPermissions(f.catalog(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const OtherProgram holder(f.catalog(), begin + "; SELECT count(*) FROM Movies");
        const QByteArray before = readFile(f.catalog());
        QElapsedTimer timer;
        timer.start();
        f.load();
        QVERIFY(timer.elapsed() < 3000);
        QCOMPARE(f.list().ListCount(), 2);
        QCOMPARE(readFile(f.catalog()), before);
    }

    // The window reads the lists from an odd settings file and leaves it as it was.
    void oddSettingsFileIsLeftAsItWas()
    {
        const QByteArray ini = randomBytes(256 * 1024, 3) +
                               "\n[Categories]\r\nCategoryTotal=2\r\nCategory.1=Com\xE9" "die\r\n"
                               "Category.2=" + QByteArray(1 << 20, 'x') + "\n[Ratings]\nRatingTotal=-1\n";
        MainWindowFixture f(titled({"Alien"}), ini);
        QCOMPARE(items(f.w().cboCategory()),
                 (QStringList{QStringLiteral("Comédie"), QString(MaxIniValueLength, 'x')}));
        QCOMPARE(items(f.w().cboRating()), QStringList());
        QCOMPARE(f.list().ListCount(), 1);
        QCOMPARE(readFile(f.dir.filePath("TARSEL.INI")), ini);
    }
};

QTEST_MAIN(TestBadFiles)
#include "test_bad_files.moc"
